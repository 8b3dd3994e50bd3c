// TMatrix::Square on the calling thread and over worker threads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_classes.h"
#include "support/components.h"
#include "support/progress.h"

namespace orv {
namespace {

// Cell (c, r) of a matrix of the given size; the formula the NumPy
// references below were computed from.
void FillFormula(TMatrix& A, int32_t Cols, int32_t Rows) {
  A.Resize(Cols, Rows);
  for (int32_t C = 1; C <= Cols; ++C)
    for (int32_t R = 1; R <= Rows; ++R)
      A.SetVal(C, R, ((37 * C + 101 * R) % 23) / 4.0 - 1.5 + C * R / 8.0 + 1.0 / 3);
}

TEST(MatrixSquare, CrossProductsOverNormOnEveryPath) {
  test::TProgressGuard Guard;
  // A.T @ A / 3 of the 6 x 4 matrix of FillFormula (rows x columns), NumPy 1.24.
  const double Want[4][4] = {
      {16.633680555555557, 8.604166666666666, 9.678819444444445, 17.86111111111111},
      {8.604166666666666, 14.423611111111109, 7.784722222222222, 15.680555555555555},
      {9.678819444444445, 7.784722222222222, 15.953124999999998, 13.020833333333334},
      {17.86111111111111, 15.680555555555555, 13.020833333333334, 28.729166666666668}};
  TMatrix A(nullptr);
  FillFormula(A, 4, 6);
  TMatrix Res(nullptr);
  for (const int32_t Threads : {1, 2, 3, 8, 0, -5}) {
    Res.Resize(2, 9);
    Res.Fill(7.0);
    ProcStat = 0.0;
    EXPECT_TRUE(A.Square(&Res, 3.0, Threads));
    EXPECT_EQ(ProcStat.load(), 4.0) << Threads;
    ASSERT_EQ(Res.NrOfColumns(), 4);
    ASSERT_EQ(Res.NrOfRows(), 4);
    for (int32_t I = 1; I <= 4; ++I)
      for (int32_t J = 1; J <= 4; ++J) {
        EXPECT_NEAR(Res.Elem(I, J), Want[I - 1][J - 1], 4e-15 * Want[I - 1][J - 1]) << Threads << ": " << I << J;
        EXPECT_EQ(Res.Elem(I, J), Res.Elem(J, I));
      }
  }
  // One column with 8 workers: its sum of squares; 3 columns of 2 rows:
  // (1, 3) = (A(1,1) A(3,1) + A(1,2) A(3,2)) / Norm, by hand.
  TMatrix B(nullptr);
  B.Resize(1, 3);
  for (int32_t R = 1; R <= 3; ++R) B.SetVal(1, R, R);
  EXPECT_TRUE(B.Square(&Res, 2.0, 8));
  EXPECT_EQ(std::vector<double>({double(Res.NrOfColumns()), Res.Elem(1, 1)}), std::vector<double>({1, 7}));
  B.Resize(3, 2);
  B.SetVal(1, 1, 1), B.SetVal(1, 2, 2), B.SetVal(3, 1, 5), B.SetVal(3, 2, -3);
  EXPECT_TRUE(B.Square(&Res, 1.0, 2));
  EXPECT_EQ(Res.Elem(1, 3), -1.0);
  EXPECT_EQ(Res.Elem(3, 1), -1.0);
  EXPECT_EQ(Res.Elem(2, 2), 0.0);
  // No rows: zeros; no columns: 0 x 0; no result matrix: false.
  B.Resize(3, 0);
  EXPECT_TRUE(B.Square(&Res, 1.0, 3));
  EXPECT_EQ(Res.Elem(3, 3), 0.0);
  B.Resize(0, 4);
  EXPECT_TRUE(B.Square(&Res, 1.0, 3));
  EXPECT_EQ(Res.NrOfColumns(), 0);
  EXPECT_FALSE(B.Square(nullptr, 1.0, 3));
}

// Workers whose column takes no time at all may end before the poller has
// looked at them: no column may be lost for that.
TEST(MatrixSquare, QuickWorkersLoseNoColumn) {
  test::TProgressGuard Guard;
  TMatrix A(nullptr), Res(nullptr);
  A.Resize(300, 1);
  A.Fill(2.0);
  for (int Round = 0; Round < 5; ++Round) {
    Res.Resize(1, 1);
    Res.Fill(0.0);
    ProcStat = 0.0;
    ASSERT_TRUE(A.Square(&Res, 4.0, 2));
    int64_t Wrong = 0;
    for (int32_t I = 1; I <= 300; ++I)
      for (int32_t J = 1; J <= 300; ++J) Wrong += Res.Elem(I, J) != 1.0;
    ASSERT_EQ(Wrong, 0) << Round;
    ASSERT_EQ(ProcStat.load(), 300.0);
  }
}

TEST(MatrixSquare, ThreadedGivesTheSerialBitsAlsoIntoItself) {
  test::TProgressGuard Guard;
  TMatrix A(nullptr);
  A.Resize(37, 301);
  SetRandSeed(19);
  A.FillRandomGauss(3.0, 1e3);
  TMatrix Serial(nullptr), Res(nullptr);
  ASSERT_TRUE(A.Square(&Serial, 7.0, 1));
  for (const int32_t Threads : {2, 3, 8, 64}) {
    ASSERT_TRUE(A.Square(&Res, 7.0, Threads));
    EXPECT_TRUE(test::SameBits(Res, Serial)) << Threads;
  }
  TMatrix Self(nullptr);
  Self.Assign(&A);
  int Changes = 0;
  Self.OnChange = [&](TObject*) { ++Changes; };
  ASSERT_TRUE(Self.Square(&Self, 7.0, 3));
  EXPECT_TRUE(test::SameBits(Self, Serial));
  EXPECT_EQ(Changes, 1);  // the resize
}

// Whether column I of the result (cells (I, J), J >= I) is the reference or
// untouched (0).
int CompleteColumns(const TMatrix& Res, const TMatrix& Ref, bool& Mixed) {
  int Complete = 0;
  for (int32_t I = 1; I <= Ref.NrOfColumns(); ++I) {
    int Same = 0, Zero = 0;
    for (int32_t J = I; J <= Ref.NrOfColumns(); ++J) {
      Same += Res.Elem(I, J) == Ref.Elem(I, J) && Res.Elem(J, I) == Ref.Elem(I, J);
      Zero += Res.Elem(I, J) == 0.0 && Res.Elem(J, I) == 0.0;
    }
    const int N = Ref.NrOfColumns() - I + 1;
    Complete += Same == N;
    Mixed = Mixed || (Same != N && Zero != N);
  }
  return Complete;
}

TEST(MatrixSquare, AbortAndProgress) {
  test::TProgressGuard Guard;
  TMatrix A(nullptr), Ref(nullptr), Res(nullptr);
  A.Resize(40, 2000);
  A.FillRandomUniform(-1.0, 1.0);
  ASSERT_TRUE(A.Square(&Ref, 1.0, 1));
  // Set before the call: the serial path computes nothing, the threaded one
  // stops at its first pass after the first workers' columns.
  for (const int32_t Threads : {1, 3}) {
    Res.Resize(1, 1);
    Res.Fill(0.0);
    ProcStat = 0.0;
    AbortMathProc = true;
    EXPECT_FALSE(A.Square(&Res, 1.0, Threads));
    AbortMathProc = false;
    bool Mixed = false;
    const int Done = CompleteColumns(Res, Ref, Mixed);
    EXPECT_EQ(Done, Threads == 1 ? 0 : 3);
    EXPECT_EQ(ProcStat.load(), Done);
    EXPECT_FALSE(Mixed);
  }
  // From MathFeedBackProc at the fifth report: finished columns whole, the
  // rest zero, and the count in ProcStat. A full serial run reports 1..40.
  for (const int32_t Threads : {1, 2, 5}) {
    Res.Resize(1, 1);
    Res.Fill(0.0);
    ProcStat = 0.0;
    std::vector<double> Seen;
    MathFeedBackProc = [&](double V) {
      Seen.push_back(V);
      if (Seen.size() == 5) AbortMathProc = true;
    };
    EXPECT_FALSE(A.Square(&Res, 1.0, Threads));
    AbortMathProc = false;
    bool Mixed = false;
    const int Done = CompleteColumns(Res, Ref, Mixed);
    EXPECT_EQ(ProcStat.load(), Done) << Threads;
    EXPECT_LT(Done, 40);
    EXPECT_FALSE(Mixed);
  }
  std::vector<double> Seen;
  MathFeedBackProc = [&](double V) { Seen.push_back(V); };
  ProcStat = 0.0;
  ASSERT_TRUE(A.Square(&Res, 1.0, 1));
  ASSERT_EQ(Seen.size(), 40u);
  EXPECT_EQ(Seen.back(), 40.0);
  Seen.clear();
  ProcStat = 0.0;
  ASSERT_TRUE(A.Square(&Res, 1.0, 4));
  EXPECT_EQ(Seen.back(), 40.0);  // the report at the end
  EXPECT_GE(Seen.size(), 2u);
}

TEST(MatrixSquare, DefaultWorkersAreTheProcessorCountAndAFailingHookEndsTheCall) {
  test::TProgressGuard Guard;
  TMatrix A(nullptr), Res(nullptr);
  A.Resize(12, 500);
  A.FillRandomUniform(0.0, 1.0);
  // Told apart by an abort before the call: k workers have run.
  for (const int32_t Processors : {1, 4}) {
    test::TProcessorCount P(Processors);
    ProcStat = 0.0;
    AbortMathProc = true;
    EXPECT_FALSE(A.Square(&Res, 1.0));
    AbortMathProc = false;
    EXPECT_EQ(ProcStat.load(), Processors == 1 ? 0.0 : 4.0);
  }
  // A raising MathFeedBackProc leaves the call with every worker ended.
  MathFeedBackProc = [](double) { throw std::runtime_error("hook"); };
  EXPECT_THROW(A.Square(&Res, 1.0, 4), std::runtime_error);
  EXPECT_THROW(A.Square(&Res, 1.0, 1), std::runtime_error);
}

}  // namespace
}  // namespace orv
