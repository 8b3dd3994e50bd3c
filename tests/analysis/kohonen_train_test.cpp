// TKohonen training: closed forms of one node, the neighbourhood, the bits
// of the plain step, stopping and resuming, the feedback, and the order a
// chain finds on a segment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "analysis/kohonen_step.h"
#include "orvcalckit/ORV_kohonen.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"
#include "support/kohonen_plain.h"

namespace orv {
namespace {

// A map of NX x NY nodes over Rows objects of NV variables.
struct TSetup {
  int32_t NX, NY, NV, Rows;
  bool Cyclic;
};

// The data copy of a setup: variable v of object r from a fixed formula.
void Configure(TKohonen& K, const TSetup& S) {
  TMatrix D;
  D.Resize(S.NV, S.Rows);
  for (int32_t R = 1; R <= S.Rows; ++R)
    for (int32_t V = 1; V <= S.NV; ++V) D.SetVal(V, R, std::sin(1.7 * R + 0.9 * V * V) + 0.1 * V);
  K.SetTrainData(&D);
  K.SetSizeX(S.NX);
  K.SetSizeY(S.NY);
  K.SetCyclic(S.Cyclic);
}

// The weights of Trainit after SetRandSeed(Seed): (u - 0.5) 0.2 in the order
// x, y, variable (node-major, as the plain step keeps them).
std::vector<double> InitialWeights(uint64_t Seed, int64_t Count) {
  SetRandSeed(Seed);
  std::vector<double> W;
  for (int64_t I = 0; I < Count; ++I) W.push_back((Random() - 0.5) * 0.2);
  return W;
}

// Equal, or both NaN.
bool Same(double A, double B) { return A == B || (std::isnan(A) && std::isnan(B)); }

// Stops the training after every Every-th step.
void StopEvery(TKohonen& K, int32_t Every) {
  K.OnFeedback = [&K, Every, N = 0](TObject*, int32_t) mutable {
    if (++N % Every == 0) K.AbortTraining();
  };
}

TEST(KohonenTrain, OneNodeClosedForm) {
  // One node, one variable, one object 1.0, rate f^2: after step s the weight
  // is 1 - (1 - w0) prod (1 - f_s^2), f_s = (n - s) / n.
  TMatrix D;
  D.SetVal(1, 1, 1.0);
  TKohonen K;
  K.SetTrainData(&D);
  K.SetNrOfTrnSteps(8);
  StopEvery(K, 1);
  const double W0 = InitialWeights(11, 1)[0];
  SetRandSeed(11);
  K.Trainit();
  const double F1 = 7.0 / 8, F2 = 6.0 / 8;
  EXPECT_DOUBLE_EQ(K.GetWeight(1, 1, 1), 1 - (1 - W0) * (1 - F1 * F1));
  K.ContinueTraining();
  EXPECT_DOUBLE_EQ(K.GetWeight(1, 1, 1), 1 - (1 - W0) * (1 - F1 * F1) * (1 - F2 * F2));

  // Finished: further calls run steps with rate 0 and change nothing (before,
  // f < 0 made the rate grow again).
  K.OnFeedback = nullptr;
  K.ContinueTraining();
  const double Done = K.GetWeight(1, 1, 1);
  std::vector<int32_t> Percents;
  K.OnFeedback = [&](TObject*, int32_t P) { Percents.push_back(P); };
  for (int I = 0; I < 5; ++I) K.ContinueTraining();
  EXPECT_EQ(K.GetWeight(1, 1, 1), Done);
  EXPECT_EQ(Percents, (std::vector<int32_t>{100, 112, 125, 138, 150}));  // steps 8..12 of 8, half to even
}

TEST(KohonenTrain, NeighbourhoodOfOneStep) {
  // One object placed next to node (WX, WY), so that node wins; step 1 of 200
  // has radius 2, which a cyclic 4 x 4 grid limits to 1 and a 2 x 2 grid to 0.
  // The nodes changed must be the square of the columns WantX and the rows
  // WantY (wrapping on a cyclic grid, clipped on a flat one).
  const struct {
    int32_t N;
    bool Cyclic;
    int32_t Neighbors, WX, WY;
    std::vector<int> WantX, WantY;
  } Rows[] = {
      {2, true, 2, 2, 1, {2}, {1}},
      {2, true, 2, 1, 2, {1}, {2}},
      {4, true, 2, 1, 1, {4, 1, 2}, {4, 1, 2}},
      {4, true, 2, 4, 3, {3, 4, 1}, {2, 3, 4}},
      {4, false, 2, 1, 1, {1, 2, 3}, {1, 2, 3}},
      // Radius near the integer limits: the whole grid, or on a flat grid no
      // node at all (a negative radius), on a cyclic one the winner.
      {4, false, INT32_MAX, 2, 3, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {5, true, INT32_MAX, 5, 5, {4, 5, 1}, {4, 5, 1}},
      {4, false, INT32_MIN, 2, 3, {}, {}},
      {4, true, INT32_MIN, 2, 3, {2}, {3}},
  };
  for (const auto& Row : Rows)
    for (uint64_t Seed : {1u, 2u, 99u}) {
      const std::vector<double> W0 = InitialWeights(Seed, int64_t{Row.N} * Row.N * 2);
      TMatrix D;
      D.Resize(2, 1);
      const std::size_t Win = (static_cast<std::size_t>(Row.WX - 1) * Row.N + (Row.WY - 1)) * 2;
      D.SetVal(1, 1, W0[Win] + 1e-6);
      D.SetVal(2, 1, W0[Win + 1] - 1e-6);
      TKohonen K;
      K.SetTrainData(&D);
      K.SetSizeX(Row.N);
      K.SetSizeY(Row.N);
      K.SetCyclic(Row.Cyclic);
      K.SetInitialNeighbors(Row.Neighbors);
      StopEvery(K, 1);
      SetRandSeed(Seed);
      K.Trainit();
      std::set<std::pair<int, int>> Changed;
      for (int32_t X = 1; X <= Row.N; ++X)
        for (int32_t Y = 1; Y <= Row.N; ++Y) {
          const std::size_t I = (static_cast<std::size_t>(X - 1) * Row.N + (Y - 1)) * 2;
          if (K.GetWeight(X, Y, 1) != W0[I] || K.GetWeight(X, Y, 2) != W0[I + 1]) Changed.insert({X, Y});
        }
      std::set<std::pair<int, int>> Want;
      for (int X : Row.WantX)
        for (int Y : Row.WantY) Want.insert({X, Y});
      EXPECT_EQ(Changed, Want) << Row.N << (Row.Cyclic ? " cyclic" : " flat") << ", seed " << Seed;
    }
}

TEST(KohonenTrain, SameBitsAsThePlainStep) {
  // Node counts below, at and above the vector blocks of every width, one to
  // ten variables, flat and cyclic; equal rows make ties; NaN data must
  // spread the same way. Trained from the zeros of a new map, every node
  // ties with every other until it moves, and the first must win; data of
  // 1e160 overflows every distance to infinity, where node 0 wins.
  const TSetup Setups[] = {{1, 1, 1, 3, false}, {3, 1, 2, 7, true},   {5, 7, 3, 20, false}, {4, 4, 1, 9, true},
                           {6, 5, 10, 15, true}, {20, 20, 10, 40, false}, {9, 2, 4, 12, false}};
  for (const TSetup& S : Setups)
    for (const std::string Case : {"", "NaN", "zeros", "overflow"}) {
      TKohonen K;
      Configure(K, S);
      TMatrix& D = *K.TrainData();
      if (S.Rows > 4) {  // a repeated object
        for (int32_t V = 1; V <= S.NV; ++V) D.SetVal(V, 4, D.GetVal(V, 2));
      }
      if (Case == "NaN") D.SetVal(S.NV, 2, std::nan(""));
      if (Case == "overflow") D.SetVal(1, 1, 1e160);
      K.SetNrOfTrnSteps(12);
      K.SetInitialNeighbors(3);
      K.SetInitialAlpha(0.8);
      const int64_t Count = int64_t{S.NX} * S.NY * S.NV;
      test::TKohonenPlainMap M{S.NX, S.NY, S.NV, S.Cyclic,
                               Case == "zeros" ? std::vector<double>(Count) : InitialWeights(5, Count)};
      for (int32_t Step = 1; Step < 12; ++Step)
        test::KohonenPlainStep(M, detail::KohonenSchedule(Step, 12, 3, 0.8), D.Mat, S.Rows);
      SetRandSeed(5);
      Case == "zeros" ? K.ContinueTraining() : K.Trainit();
      const std::vector<double> W = test::MapWeights(K);
      int Differ = 0;
      for (std::size_t I = 0; I < W.size(); ++I) Differ += !Same(W[I], M.W[I]);
      EXPECT_EQ(Differ, 0) << S.NX << "x" << S.NY << "x" << S.NV << " " << Case;
    }
}

TEST(KohonenTrain, StoppingResumingAndFeedback) {
  const TSetup S{6, 4, 3, 25, true};
  TKohonen Whole;
  Configure(Whole, S);
  std::vector<int32_t> Percents;
  Whole.OnFeedback = [&](TObject*, int32_t P) { Percents.push_back(P); };
  SetRandSeed(21);
  Whole.Trainit();
  // Once per step 1..199, Round(s / 2) half to even: 0.5 -> 0, 1 -> 1, 1.5 -> 2, ..., 99.5 -> 100.
  ASSERT_EQ(Percents.size(), 199u);
  for (int32_t Step = 1; Step <= 199; ++Step)
    EXPECT_EQ(Percents[Step - 1], static_cast<int32_t>(std::nearbyint(Step / 2.0))) << Step;
  EXPECT_EQ(Percents.back(), 100);

  // A second training of the same seed, and one stopped every 20 steps and
  // resumed, give the same bits.
  TKohonen Again, Chunked;
  Configure(Again, S);
  Configure(Chunked, S);
  SetRandSeed(21);
  Again.Trainit();
  StopEvery(Chunked, 20);
  SetRandSeed(21);
  Chunked.Trainit();
  for (int Chunk = 2; Chunk <= 10; ++Chunk) Chunked.ContinueTraining();
  EXPECT_EQ(test::MapWeights(Again), test::MapWeights(Whole));
  EXPECT_EQ(test::MapWeights(Chunked), test::MapWeights(Whole));

  // A handler that resizes the map mid-training: the next steps train the
  // new zeros, nothing is read beyond the arrays.
  TKohonen Resized;
  Configure(Resized, S);
  Resized.OnFeedback = [&](TObject*, int32_t P) {
    if (P == 5) Resized.SetSizeX(2);
    if (P == 10) Resized.SetNrOfInSens(5);
  };
  Resized.Trainit();
  EXPECT_EQ(Resized.SizeX(), 2);
  EXPECT_EQ(Resized.NrOfInSens(), 5);
  EXPECT_EQ(Resized.GetWeight(2, 4, 5), 0.0);  // zeros trained on the zero data left behind
}

TEST(KohonenTrain, ChainOrdersAlongASegment) {
  // 60 points along the segment from (0, 0) to (3, 1); a 10 x 1 chain. The
  // quantisation error (mean ApplyIt distance) falls over the chunks of a
  // training stopped after steps 10 and 70, and then holds: the radius never
  // falls below 1, so the last steps pull neighbours together as much as
  // they spread them (a trial run: 1.97 untrained, 0.0436, 0.0258, 0.0272 at
  // the end; 10 nodes evenly on the standardised segment of length 4.9 would
  // give 0.49^2 / 12 = 0.020). The chain's first weights end monotone.
  TMatrix D;
  D.Resize(2, 60);
  for (int32_t R = 1; R <= 60; ++R) {
    const double T = std::fmod(R * 0.618034, 1.0);  // the points in scattered order
    D.SetVal(1, R, 3 * T);
    D.SetVal(2, R, T);
  }
  TKohonen K;
  K.SetTrainData(&D);
  K.SetSizeX(10);
  K.StandardizeData();
  const auto Error = [&] {
    double Sum = 0;
    TVector In;
    for (int32_t R = 1; R <= 60; ++R) {
      test::FillValues(In, test::Row(D, R));
      int32_t BX = 0, BY = 0;
      double Dist = 0;
      K.ApplyIt(&In, BX, BY, Dist);
      Sum += Dist;
    }
    return Sum / 60;
  };
  std::vector<double> Errors = {Error()};
  K.OnFeedback = [&K, Step = 0](TObject*, int32_t) mutable {
    if (++Step == 10 || Step == 70) K.AbortTraining();
  };
  SetRandSeed(4);
  for (int Chunk = 0; Chunk < 3; ++Chunk) {
    Chunk == 0 ? K.Trainit() : K.ContinueTraining();
    Errors.push_back(Error());
  }
  EXPECT_GT(Errors[0], 1.5);
  EXPECT_LT(Errors[1], 0.5 * Errors[0]);
  EXPECT_LT(Errors[2], 0.8 * Errors[1]);
  EXPECT_LT(Errors[3], 1.1 * Errors[2]);
  EXPECT_LT(Errors[3], 0.035);
  std::vector<double> First;
  for (int32_t X = 1; X <= 10; ++X) First.push_back(K.GetWeight(X, 1, 1));
  EXPECT_TRUE(std::is_sorted(First.begin(), First.end(), std::less<>()) ||
              std::is_sorted(First.begin(), First.end(), std::greater<>()));
  EXPECT_EQ(std::set<double>(First.begin(), First.end()).size(), 10u);  // strictly
}

}  // namespace
}  // namespace orv
