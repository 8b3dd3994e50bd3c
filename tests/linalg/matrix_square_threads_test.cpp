// TMatrix::Square on the calling thread and over worker threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"
#include "support/progress.h"

namespace orv {
namespace {

TEST(MatrixSquare, CrossProductsOverNormOnEveryPath) {
  test::TProgressGuard Guard;
  // A.T @ A / 3 of this 6 x 4 matrix (rows x columns), NumPy 1.24.
  const double Want[4][4] = {
      {16.633680555555557, 8.604166666666666, 9.678819444444445, 17.86111111111111},
      {8.604166666666666, 14.423611111111109, 7.784722222222222, 15.680555555555555},
      {9.678819444444445, 7.784722222222222, 15.953124999999998, 13.020833333333334},
      {17.86111111111111, 15.680555555555555, 13.020833333333334, 28.729166666666668}};
  TMatrix A(nullptr), Res(nullptr);
  A.Resize(4, 6);
  for (int32_t C = 1; C <= 4; ++C)
    for (int32_t R = 1; R <= 6; ++R) A.SetVal(C, R, ((37 * C + 101 * R) % 23) / 4.0 - 1.5 + C * R / 8.0 + 1.0 / 3);
  for (const int32_t Threads : {1, 2, 3, 8, 0, -5}) {  // below 1: serial
    Res.Resize(2, 9);
    Res.Fill(7.0);
    ProcStat = 0.0;
    EXPECT_TRUE(A.Square(&Res, 3.0, Threads));
    EXPECT_EQ(ProcStat.load(), 4.0) << Threads;
    ASSERT_EQ(Res.NrOfRows(), 4);
    for (int32_t I = 1; I <= 4; ++I)
      for (int32_t J = 1; J <= 4; ++J) {
        EXPECT_NEAR(Res.Elem(I, J), Want[I - 1][J - 1], 4e-15 * Want[I - 1][J - 1]) << Threads << ": " << I << J;
        EXPECT_EQ(Res.Elem(I, J), Res.Elem(J, I));
      }
  }
  // One column with 8 workers: its sum of squares; 3 columns of 2 rows:
  // (1, 3) = (1 * 5 + 2 * -3) / 1 by hand; no rows: zeros; no columns: 0 x 0.
  A.Resize(1, 3);
  for (int32_t R = 1; R <= 3; ++R) A.SetVal(1, R, R);
  EXPECT_TRUE(A.Square(&Res, 2.0, 8));
  EXPECT_EQ(std::vector<double>({double(Res.NrOfColumns()), Res.Elem(1, 1)}), std::vector<double>({1, 7}));
  test::FillRows(A, {{1, 0, 5}, {2, 0, -3}});
  EXPECT_TRUE(A.Square(&Res, 1.0, 2));
  EXPECT_EQ(std::vector<double>({Res.Elem(1, 3), Res.Elem(3, 1), Res.Elem(2, 2)}), std::vector<double>({-1, -1, 0}));
  A.Resize(3, 0);
  EXPECT_TRUE(A.Square(&Res, 1.0, 3));
  EXPECT_EQ(Res.Elem(3, 3), 0.0);
  A.Resize(0, 4);
  EXPECT_TRUE(A.Square(&Res, 1.0, 3));
  EXPECT_EQ(Res.NrOfColumns(), 0);
  EXPECT_FALSE(A.Square(nullptr, 1.0, 3));
}

TEST(MatrixSquare, ThreadedGivesTheSerialBitsIntoItselfAndLosesNoQuickColumn) {
  test::TProgressGuard Guard;
  TMatrix A(nullptr), Serial(nullptr), Res(nullptr);
  A.Resize(37, 301);
  SetRandSeed(19);
  A.FillRandomGauss(3.0, 1e3);
  ASSERT_TRUE(A.Square(&Serial, 7.0, 1));
  for (const int32_t Threads : {2, 3, 8, 64}) {
    ASSERT_TRUE(A.Square(&Res, 7.0, Threads));
    EXPECT_TRUE(test::SameBits(Res, Serial)) << Threads;
  }
  // With a MathFeedBackProc the workers take their columns in pieces of 64
  // cells, under the gate that keeps them apart from it: the same bits.
  TMatrix Wide(nullptr), WideSerial(nullptr);
  Wide.Resize(150, 20);
  Wide.FillRandomGauss(3.0, 1e3);
  ASSERT_TRUE(Wide.Square(&WideSerial, 7.0, 1));
  MathFeedBackProc = [](double) {};
  ASSERT_TRUE(Wide.Square(&Res, 7.0, 3));
  EXPECT_TRUE(test::SameBits(Res, WideSerial));
  MathFeedBackProc = nullptr;
  int Changes = 0;
  A.OnChange = [&](TObject*) { ++Changes; };
  ASSERT_TRUE(A.Square(&A, 7.0, 3));
  EXPECT_TRUE(test::SameBits(A, Serial));
  EXPECT_EQ(Changes, 1);  // the resize
  // Workers whose column takes no time may end before the poller looks.
  A.Resize(300, 1);
  A.Fill(2.0);
  for (int Round = 0; Round < 5; ++Round) {
    Res.Fill(0.0);
    ProcStat = 0.0;
    ASSERT_TRUE(A.Square(&Res, 4.0, 2));
    int64_t Wrong = 0;
    for (int32_t I = 1; I <= 300; ++I)
      for (int32_t J = 1; J <= 300; ++J) Wrong += Res.Elem(I, J) != 1.0;
    ASSERT_EQ(std::vector<double>({double(Wrong), ProcStat.load()}), std::vector<double>({0, 300})) << Round;
  }
}

TEST(MatrixSquare, AbortProgressDefaultWorkersAndAFailingHook) {
  test::TProgressGuard Guard;
  TMatrix A(nullptr), Ref(nullptr), Res(nullptr);
  A.Resize(40, 2000);
  A.FillRandomUniform(-1.0, 1.0);
  ASSERT_TRUE(A.Square(&Ref, 1.0, 1));
  // Column I (cells (I, J) and (J, I), J >= I) whole or untouched; Done
  // whole ones.
  const auto Check = [&](int Done) {
    int Whole = 0, Mixed = 0;
    for (int32_t I = 1; I <= 40; ++I) {
      int Same = 0, Zero = 0;
      for (int32_t J = I; J <= 40; ++J) {
        Same += Res.Elem(I, J) == Ref.Elem(I, J) && Res.Elem(J, I) == Ref.Elem(I, J);
        Zero += Res.Elem(I, J) == 0.0 && Res.Elem(J, I) == 0.0;
      }
      Whole += Same == 41 - I;
      Mixed += Same != 41 - I && Zero != 41 - I;
    }
    return Whole == Done && Mixed == 0 && ProcStat.load() == Done;
  };
  // Abort set before the call: the serial path computes nothing, the
  // threaded one stops at its first pass, the first workers' columns done;
  // so the default overload shows the processor count.
  const struct {
    int32_t Threads, Processors, Done;
  } Before[] = {{1, 8, 0}, {3, 8, 3}, {-1, 1, 0}, {-1, 4, 4}};
  for (const auto& C : Before) {
    test::TProcessorCount P(C.Processors);
    Res.Resize(1, 1);
    Res.Fill(0.0);
    ProcStat = 0.0;
    AbortMathProc = true;
    EXPECT_FALSE(C.Threads < 0 ? A.Square(&Res, 1.0) : A.Square(&Res, 1.0, C.Threads));
    AbortMathProc = false;
    EXPECT_TRUE(Check(C.Done)) << C.Threads << ", " << C.Processors;
  }
  // From MathFeedBackProc at its fifth report (serial: before column 5).
  std::vector<double> Seen;
  for (const int32_t Threads : {1, 2, 5}) {
    Res.Resize(1, 1);
    Res.Fill(0.0);
    ProcStat = 0.0;
    Seen.clear();
    MathFeedBackProc = [&](double V) {
      Seen.push_back(V);
      if (Seen.size() == 5) AbortMathProc = true;
    };
    EXPECT_FALSE(A.Square(&Res, 1.0, Threads));
    AbortMathProc = false;
    const int Done = static_cast<int>(ProcStat.load());
    EXPECT_TRUE(Check(Done) && Done < 40 && (Threads > 1 || Done == 5)) << Threads << ": " << Done;
  }
  // Full runs: the serial path reports 1..40, the threaded one ends on 40.
  for (const int32_t Threads : {1, 4}) {
    Seen.clear();
    MathFeedBackProc = [&](double V) { Seen.push_back(V); };
    ProcStat = 0.0;
    ASSERT_TRUE(A.Square(&Res, 1.0, Threads));
    EXPECT_EQ(Seen.back(), 40.0);
    EXPECT_TRUE(Threads == 1 ? Seen.size() == 40 : Seen.size() >= 2);
  }
  // A raising MathFeedBackProc leaves the call with every worker ended.
  MathFeedBackProc = [](double) { throw std::runtime_error("hook"); };
  EXPECT_THROW(A.Square(&Res, 1.0, 4), std::runtime_error);
  EXPECT_THROW(A.Square(&Res, 1.0, 1), std::runtime_error);
}

}  // namespace
}  // namespace orv
