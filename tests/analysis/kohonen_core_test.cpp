// TKohonen: creation, the setters, the data copy, standardisation and its
// round trip through GetWeight and ApplyIt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_kohonen.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"

namespace orv {
namespace {

using test::FillRows;
using test::FillValues;
using test::MapWeights;

// ApplyIt as (BestIx, BestIy, Distance), the outputs starting at (-7, -7, 0).
std::tuple<int32_t, int32_t, double> Apply(const TKohonen& K, const TVector* In) {
  int32_t X = -7, Y = -7;
  double D = 0;
  K.ApplyIt(In, X, Y, D);
  return {X, Y, D};
}

TEST(Kohonen, CreationSettersAndDataCopy) {
  SetRandSeed(7);
  const double U = Random();
  SetRandSeed(7);
  TKohonen K;
  EXPECT_EQ(std::tuple(K.SizeX(), K.SizeY(), K.NrOfInSens(), K.NrOfTrnSteps(), K.InitialNeighbors(),
                       K.InitialAlpha(), K.Cyclic()),
            std::tuple(1, 1, 1, 200, 2, 1.0, false));
  EXPECT_EQ(MapWeights(K), std::vector<double>{(U - 0.5) * 0.2});  // the first number drawn
  // Values below 1 change nothing (0 steps would divide by zero).
  for (int32_t Bad : {0, -3, INT32_MIN}) {
    K.SetSizeX(Bad);
    K.SetSizeY(Bad);
    K.SetNrOfInSens(Bad);
    K.SetNrOfTrnSteps(Bad);
  }
  EXPECT_EQ(MapWeights(K), std::vector<double>{(U - 0.5) * 0.2});
  EXPECT_EQ(K.NrOfTrnSteps(), 200);
  // A size change rebuilds the weights as zeros; all equal, the first node
  // wins, and without StandardizeData the input is compared as it is.
  K.SetSizeX(3);
  K.SetSizeY(2);
  K.SetNrOfInSens(2);
  EXPECT_EQ(MapWeights(K), std::vector<double>(12, 0.0));
  EXPECT_EQ(K.StdDevVec()->GetVal(2), 1.0);
  TVector In;
  FillValues(In, {3.0, -4.0});
  EXPECT_EQ(Apply(K, &In), std::tuple(1, 1, 25.0));

  // TrainData := nullptr or a matrix without columns changes nothing (the
  // first used to dereference nil); a matrix is copied into the same object.
  TMatrix* Copy = K.TrainData();
  K.SetTrainData(nullptr);
  TMatrix D;
  D.Resize(0, 4);
  K.SetTrainData(&D);
  EXPECT_EQ(K.NrOfInSens(), 2);
  FillRows(D, {{1, 2, 3}, {4, 5, 6}});
  K.SetTrainData(&D);
  D.SetVal(1, 1, 99);
  K.SetTrainData(K.TrainData());  // itself
  EXPECT_EQ(K.TrainData(), Copy);
  EXPECT_EQ(K.NrOfInSens(), 3);
  EXPECT_EQ(test::AllRows(*Copy), (std::vector<std::vector<double>>{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(MapWeights(K), std::vector<double>(18, 0.0));
  // More variables: the data is replaced by zeros of the new width.
  K.SetNrOfInSens(4);
  EXPECT_EQ(test::AllRows(*Copy), (std::vector<std::vector<double>>{{0, 0, 0, 0}, {0, 0, 0, 0}}));
}

TEST(Kohonen, StandardisationRoundTrip) {
  // Column 1 spread, column 2 constant (variance 0), column 3 spread larger.
  TMatrix D;
  FillRows(D, {{1, 5, -40}, {2, 5, 10}, {4, 5, 20}, {9, 5, 70}, {-3, 5, 0}});
  TKohonen K;
  K.SetTrainData(&D);
  K.SetSizeX(3);
  K.SetSizeY(2);
  K.SetNrOfTrnSteps(60);
  // numpy mean and std(ddof=1) of the columns. The constant column is
  // centred, so that ApplyIt's difference from the mean meets the weights
  // in the same units (left at 5.0 it put every object 25 away). A second
  // call composes with the first: the vectors keep the data's units.
  const double Mean[] = {2.6, 5.0, 12.0}, Sd[] = {4.393176527297759, 0.0, 39.62322551231789};
  for (int Call = 1; Call <= 2; ++Call) {
    K.StandardizeData();
    for (int32_t V = 1; V <= 3; ++V) {
      EXPECT_NEAR(K.MeanVec()->GetVal(V), Mean[V - 1], 1e-14) << Call;
      EXPECT_NEAR(K.StdDevVec()->GetVal(V), Sd[V - 1], 1e-13) << Call;
    }
  }
  EXPECT_NEAR(K.TrainData()->GetVal(1, 4), (9 - 2.6) / Sd[0], 1e-15);
  EXPECT_EQ(K.TrainData()->GetVal(2, 4), 0.0);
  SetRandSeed(3);
  K.Trainit();
  // Every node, given back in data units, is found again at distance ~0.
  TVector In;
  for (int32_t X = 1; X <= 3; ++X)
    for (int32_t Y = 1; Y <= 2; ++Y) {
      FillValues(In, {K.Weights(X, Y, 1), K.Weights(X, Y, 2), K.Weights(X, Y, 3)});
      EXPECT_EQ(K.GetWeight(X, Y, 2), 5.0);
      EXPECT_LT(std::get<2>(Apply(K, &In)), 1e-20) << X << "," << Y;
    }
  FillValues(In, {2, 5, 10});  // a training object
  EXPECT_LT(std::get<2>(Apply(K, &In)), 0.5);
  // Nothing found (NaN), or no input: Distance uc_MaxDouble, the node untouched.
  In.SetVal(1, std::nan(""));
  EXPECT_EQ(Apply(K, &In), std::tuple(-7, -7, uc_MaxDouble));
  EXPECT_EQ(Apply(K, nullptr), std::tuple(-7, -7, uc_MaxDouble));
}

}  // namespace
}  // namespace orv
