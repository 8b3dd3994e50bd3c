// CalcCovar: the five scalings, ranges, failures, progress, abort and the
// order of the cell writes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"
#include "support/progress.h"

namespace orv {
namespace {

using test::FillRows;
using test::TProgressGuard;

// x = 1..5, y = 2x, z = 6 - x: mean 3, 6, 3; variance 2.5, 10, 2.5;
// covariances 5, -2.5, -5; correlations 1, -1, -1 (all exact in binary).
void FillXYZ(TMatrix& M) {
  FillRows(M, {{1, 2, 5}, {2, 4, 4}, {3, 6, 3}, {4, 8, 2}, {5, 10, 1}});
}

void ExpectCells(const TMatrix& C, const std::vector<std::vector<double>>& Expected) {
  for (std::size_t A = 0; A < Expected.size(); ++A)
    for (std::size_t B = 0; B < Expected.size(); ++B)
      EXPECT_EQ(C.GetVal(static_cast<int32_t>(B + 1), static_cast<int32_t>(A + 1)), Expected[A][B])
          << "cell " << B + 1 << ", " << A + 1;
}

TEST(CalcCovar, FiveScalingsOnDataWithKnownAnswers) {
  TMatrix D, C;
  FillXYZ(D);
  C.Resize(3, 3);
  // Raw cross products: sum x*y / (n - 1), sums 55, 110, 35, 220, 70, 55.
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 0));
  ExpectCells(C, {{13.75, 27.5, 8.75}, {27.5, 55, 17.5}, {8.75, 17.5, 13.75}});
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 1));
  ExpectCells(C, {{2.5, 5, -2.5}, {5, 10, -5}, {-2.5, -5, 2.5}});
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 2));
  ExpectCells(C, {{1, 1, -1}, {1, 1, -1}, {-1, -1, 1}});
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 3));
  ExpectCells(C, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
  // sum (x - y)^2 / (n - 1): sums 55, 40, 135 off the diagonal.
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 4));
  ExpectCells(C, {{0, 13.75, 10}, {13.75, 0, 33.75}, {10, 33.75, 0}});
  for (int32_t Other : {5, -1, 1000}) {
    ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, Other));
    ExpectCells(C, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
  }
}

TEST(CalcCovar, CorrelationOfAConstantColumnIsZero) {
  // 0.1 is not representable: the one-pass variance of 0.1, 0.1, 0.1 comes
  // out as -1.7e-18 and its mean as 0.10000000000000002.
  TMatrix D, C;
  FillRows(D, {{0.1, 1, 7}, {0.1, 2, 7}, {0.1, 4, 7}});
  C.Resize(3, 3);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 2));
  EXPECT_EQ(C.GetVal(1, 1), 1.0);
  EXPECT_EQ(C.GetVal(3, 3), 1.0);
  EXPECT_EQ(C.GetVal(2, 1), 0.0);
  EXPECT_EQ(C.GetVal(1, 2), 0.0);
  EXPECT_EQ(C.GetVal(3, 1), 0.0);
  EXPECT_EQ(C.GetVal(3, 2), 0.0);
  EXPECT_EQ(C.GetVal(2, 2), 1.0);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 3));
  EXPECT_EQ(C.GetVal(1, 1), 0.0);
  EXPECT_EQ(C.GetVal(2, 1), 0.0);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 1));
  EXPECT_EQ(C.GetVal(1, 1), 0.0);
  EXPECT_EQ(C.GetVal(1, 2), 0.0);
  // Variance of 1, 2, 4: 7/3.
  EXPECT_DOUBLE_EQ(C.GetVal(2, 2), 7.0 / 3.0);
}

TEST(CalcCovar, RangesAreUsedAsGivenAndCellsOutsideReadZero) {
  TMatrix D, C;
  FillXYZ(D);
  C.Resize(4, 4);
  C.Fill(-9);
  // Rows 2..4 of x and y: x = 2, 3, 4 (variance 1), y = 4, 6, 8 (variance 4).
  ASSERT_TRUE(CalcCovar(&D, &C, 1, 2, 2, 4, 1));
  ExpectCells(C, {{1, 2}, {2, 4}});
  EXPECT_EQ(C.GetVal(3, 1), -9.0) << "only the first m x m cells are written";
  EXPECT_EQ(C.GetVal(1, 3), -9.0);
  // Columns 0..1: column 0 lies outside and reads 0; rows 4..7 of x are
  // 4, 5, 0, 0: mean 2.25, sum of squared deviations 20.75.
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 1, 4, 7, 1));
  ExpectCells(C, {{0, 0}, {0, 20.75 / 3}});
  // Raw cross products of rows 4..7 of x and y: (4*8 + 5*10) / 3.
  ASSERT_TRUE(CalcCovar(&D, &C, 1, 2, 4, 7, 0));
  ExpectCells(C, {{41.0 / 3, 82.0 / 3}, {82.0 / 3, 164.0 / 3}});
  // Every row outside: all cells read 0.
  ASSERT_TRUE(CalcCovar(&D, &C, 1, 2, -3, -1, 2));
  ExpectCells(C, {{1, 0}, {0, 1}});
  // Columns 0..4: x, y and z between two columns outside, also on the copy
  // that an OnChange handler of Covar asks for.
  TMatrix Wide;
  Wide.Resize(5, 5);
  ASSERT_TRUE(CalcCovar(&D, &Wide, 0, 4, 0, 0, 1));
  ExpectCells(Wide, {{0, 0, 0, 0, 0}, {0, 2.5, 5, -2.5, 0}, {0, 5, 10, -5, 0}, {0, -2.5, -5, 2.5, 0}, {0, 0, 0, 0, 0}});
  Wide.OnChange = [](TObject*) {};
  // sum (x - 0)^2 / 4 beside a column outside: 55, 220, 55 over 4.
  ASSERT_TRUE(CalcCovar(&D, &Wide, 0, 4, 0, 0, 4));
  ExpectCells(Wide, {{0, 13.75, 55, 13.75, 0},
                     {13.75, 0, 13.75, 10, 13.75},
                     {55, 13.75, 0, 33.75, 55},
                     {13.75, 10, 33.75, 0, 13.75},
                     {0, 13.75, 55, 13.75, 0}});
}

TEST(CalcCovar, FailsWithNothingWrittenWhenThereIsNothingSoundToCompute) {
  TMatrix D, C;
  FillXYZ(D);
  C.Resize(3, 3);
  C.Fill(-9);
  const auto Untouched = [&] {
    for (int32_t Col = 1; Col <= 3; ++Col)
      for (int32_t Row = 1; Row <= 3; ++Row)
        if (C.GetVal(Col, Row) != -9.0) return false;
    return true;
  };
  EXPECT_FALSE(CalcCovar(nullptr, &C, 0, 0, 0, 0, 1));
  EXPECT_FALSE(CalcCovar(&D, nullptr, 0, 0, 0, 0, 1));
  EXPECT_FALSE(CalcCovar(&D, &C, 3, 1, 0, 0, 1)) << "reversed column range";
  EXPECT_FALSE(CalcCovar(&D, &C, 1, 3, 2, 2, 1)) << "one row: n - 1 = 0";
  EXPECT_FALSE(CalcCovar(&D, &C, 1, 3, 4, 2, 0)) << "reversed row range";
  TMatrix Small;
  Small.Resize(2, 3);
  EXPECT_FALSE(CalcCovar(&D, &Small, 0, 0, 0, 0, 1)) << "Covar narrower than m";
  Small.Resize(3, 2);
  EXPECT_FALSE(CalcCovar(&D, &Small, 0, 0, 0, 0, 1)) << "Covar shorter than m";
  TMatrix Empty;
  Empty.Resize(0, 5);
  EXPECT_FALSE(CalcCovar(&Empty, &C, 0, 0, 0, 0, 1)) << "no columns";
  EXPECT_TRUE(Untouched());
}

TEST(CalcCovar, CovarMayBeTheDataMatrix) {
  TMatrix D, Separate;
  FillXYZ(D);
  Separate.Resize(3, 3);
  ASSERT_TRUE(CalcCovar(&D, &Separate, 0, 0, 0, 0, 1));
  ASSERT_TRUE(CalcCovar(&D, &D, 0, 0, 0, 0, 1));
  for (int32_t Col = 1; Col <= 3; ++Col)
    for (int32_t Row = 1; Row <= 3; ++Row) EXPECT_EQ(D.GetVal(Col, Row), Separate.GetVal(Col, Row));
  EXPECT_EQ(D.GetVal(1, 4), 4.0) << "rows below the m x m block keep their data";
  FillXYZ(D);
  ASSERT_TRUE(CalcCovar(&D, &D, 0, 0, 0, 0, 4));
  EXPECT_EQ(D.GetVal(3, 2), 33.75);
}

TEST(CalcCovar, WritesEachCellPairInTurnWithOnChange) {
  TMatrix D, C;
  FillXYZ(D);
  C.Resize(2, 2);
  C.Fill(std::numeric_limits<double>::quiet_NaN());
  // Which cell each write made finite (0, 0 when none was new).
  std::vector<std::pair<int32_t, int32_t>> Seen;
  std::vector<bool> Finite(4, false);
  C.OnChange = [&](TObject*) {
    std::pair<int32_t, int32_t> New{0, 0};
    for (int32_t Col = 1; Col <= 2; ++Col)
      for (int32_t Row = 1; Row <= 2; ++Row) {
        const std::size_t I = static_cast<std::size_t>((Col - 1) * 2 + Row - 1);
        if (!Finite[I] && std::isfinite(C.GetVal(Col, Row))) {
          Finite[I] = true;
          New = {Col, Row};
        }
      }
    Seen.push_back(New);
  };
  ASSERT_TRUE(CalcCovar(&D, &C, 1, 2, 0, 0, 1));
  const std::vector<std::pair<int32_t, int32_t>> Expected = {{1, 1}, {0, 0}, {1, 2}, {2, 1}, {2, 2}, {0, 0}};
  EXPECT_EQ(Seen, Expected);
  EXPECT_EQ(C.GetVal(2, 1), 5.0);
}

TEST(CalcCovar, ProgressCountsRowsAndCellPairs) {
  TProgressGuard Guard;
  TMatrix D, C;
  FillXYZ(D);
  C.Resize(3, 3);
  int Calls = 0;
  double Last = 0;
  MathFeedBackProc = [&](double P) {
    ++Calls;
    Last = P;
  };
  double Before = ProcStat;
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 1));
  // n = 5 row passes, then n for each of the 6 cell pairs.
  EXPECT_EQ(ProcStat - Before, 5 + 5 * 6);
  EXPECT_EQ(Calls, 5 + 6);
  EXPECT_EQ(Last, ProcStat);
  Calls = 0;
  Before = ProcStat;
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 0));
  EXPECT_EQ(ProcStat - Before, 5 * 6);
  EXPECT_EQ(Calls, 6);
  // Without a hook the same counts arrive.
  MathFeedBackProc = nullptr;
  Before = ProcStat;
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 4));
  EXPECT_EQ(ProcStat - Before, 5 + 5 * 6);
}

TEST(CalcCovar, AbortStopsBeforeTheNextRowAndIsClearedAtStart) {
  TProgressGuard Guard;
  TMatrix D, C;
  FillXYZ(D);
  C.Resize(3, 3);
  C.Fill(-9);
  int Calls = 0;
  // Raw cross products: the second report comes with cell pair (2, 1).
  MathFeedBackProc = [&](double) {
    if (++Calls == 2) AbortMathProc = true;
  };
  EXPECT_FALSE(CalcCovar(&D, &C, 0, 0, 0, 0, 0));
  EXPECT_EQ(Calls, 3) << "row 2 of Covar is finished, row 3 not started";
  EXPECT_EQ(C.GetVal(2, 2), 55.0);
  EXPECT_EQ(C.GetVal(1, 2), 27.5);
  EXPECT_EQ(C.GetVal(3, 1), -9.0);
  EXPECT_EQ(C.GetVal(1, 3), -9.0);
  EXPECT_EQ(C.GetVal(3, 3), -9.0);
  MathFeedBackProc = nullptr;
  AbortMathProc = true;
  EXPECT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 0));
  EXPECT_EQ(C.GetVal(3, 3), 13.75);
}

TEST(CalcCovar, LargerDataAgreesWithTheTwoPassFormula) {
  // 1000 x 7 values of a smooth pattern, covariance and correlation checked
  // against sums of centred products in long double.
  constexpr int32_t NR = 1000, NC = 7;
  TMatrix D, C;
  D.Resize(NC, NR);
  for (int32_t Col = 1; Col <= NC; ++Col)
    for (int32_t Row = 1; Row <= NR; ++Row)
      D.SetVal(Col, Row, std::sin(0.37 * Row * Col) * (Col + 1) + 0.01 * Row + Col * 100);
  C.Resize(NC, NC);
  long double Mean[NC] = {};
  for (int32_t Col = 0; Col < NC; ++Col) {
    for (int32_t Row = 1; Row <= NR; ++Row) Mean[Col] += D.GetVal(Col + 1, Row);
    Mean[Col] /= NR;
  }
  const auto Cov = [&](int32_t A, int32_t B) {
    long double S = 0;
    for (int32_t Row = 1; Row <= NR; ++Row)
      S += (D.GetVal(A + 1, Row) - Mean[A]) * (D.GetVal(B + 1, Row) - Mean[B]);
    return static_cast<double>(S / (NR - 1));
  };
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 1));
  for (int32_t A = 0; A < NC; ++A)
    for (int32_t B = 0; B < NC; ++B) EXPECT_NEAR(C.GetVal(B + 1, A + 1), Cov(A, B), 1e-12 * std::fabs(Cov(A, A)));
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 2));
  for (int32_t A = 0; A < NC; ++A)
    for (int32_t B = 0; B < NC; ++B)
      EXPECT_NEAR(C.GetVal(B + 1, A + 1), Cov(A, B) / std::sqrt(Cov(A, A) * Cov(B, B)), 1e-9);
}

TEST(CalcCovar, SumsInFourLanesAtEveryVectorWidth) {
  // Each sum runs in four lanes over the rows (lane i the rows i mod 4), then
  // (lane 0 + lane 1) + (lane 2 + lane 3): the bits of that loop whatever
  // the vector width of the kernel. 6 columns (a block of four and one of
  // two), 23 rows (three left over), values of all magnitudes.
  constexpr int32_t NR = 23, NC = 6;
  TMatrix D, C;
  D.Resize(NC, NR);
  for (int32_t Col = 1; Col <= NC; ++Col)
    for (int32_t Row = 1; Row <= NR; ++Row)
      D.SetVal(Col, Row, std::sin(1.7 * Row + Col) * std::exp(0.6 * Col * (Row % 5)));
  C.Resize(NC, NC);
  for (const int32_t Scaling : {0, 4}) {
    ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, Scaling));
    for (int32_t A = 1; A <= NC; ++A)
      for (int32_t B = 1; B <= A; ++B) {
        double Lane[4] = {};
        for (int32_t R = 1; R <= NR; ++R) {
          const double X = D.GetVal(A, R), Y = D.GetVal(B, R);
          Lane[(R - 1) % 4] += Scaling == 0 ? X * Y : (X - Y) * (X - Y);
        }
        EXPECT_EQ(C.GetVal(B, A), ((Lane[0] + Lane[1]) + (Lane[2] + Lane[3])) / (NR - 1)) << A << ", " << B;
      }
  }
}

TEST(CalcCovar, ColumnThatVariesLittleBesideItsSizeKeepsItsCorrelation) {
  // 1e8, 1e8, 1e8 + 2^-26 beside 1, 2, 3: the correlation of (0, 0, 1) with
  // (1, 2, 3), sqrt(3) / 2. Unshifted sums gave 7.45e29.
  const double Big = 1e8, Next = std::nextafter(1e8, 2e8);
  TMatrix D, C;
  FillRows(D, {{Big, 1}, {Big, 2}, {Next, 3}});
  C.Resize(2, 2);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCorrelation));
  EXPECT_NEAR(C.GetVal(2, 1), std::sqrt(3.0) / 2, 2e-16);
  EXPECT_EQ(C.GetVal(1, 1), 1.0);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csSquaredCorrelation));
  EXPECT_NEAR(C.GetVal(1, 2), 0.75, 4e-16);
  EXPECT_NEAR(C.GetVal(1, 1), 1.0, 4e-16);
  EXPECT_LE(C.GetVal(1, 1), 1.0);
  // Covariance: (0, 0, d) beside (1, 2, 3), d = 2^-26, gives d / 2.
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCovariance));
  EXPECT_DOUBLE_EQ(C.GetVal(2, 1), 0x1p-27);
  // The principal components of that correlation matrix: (1 +- r) / 2 normalised.
  ASSERT_TRUE(CalcPrincComp(&D, 0, 0, 0, 0, csCorrelation));
  EXPECT_NEAR(GetEigenResult(1, 0), (1 + std::sqrt(3.0) / 2) / 2, 1e-15);
  EXPECT_NEAR(GetEigenResult(2, 0), (1 - std::sqrt(3.0) / 2) / 2, 1e-15);
}

TEST(CalcCovar, CorrelationAgreesWithNumPyAtAnyOffsetAndScale) {
  // x = 1e8 + k 2^-20, y ordinary, z = -1e12 + k' 2^-8, all exact. Reference:
  // numpy.corrcoef and numpy.cov of the columns without their offsets
  // (k 2^-20, y, k' 2^-8; shifts change neither), confirmed in exact
  // fractions. Scaling by 2^-340 makes the product of two variances
  // underflow, by 2^400 overflow; the correlations stay.
  const double K[] = {3, 1, 4, 1, 5, 9}, Y[] = {2.5, 3.25, 1.0, 7.5, 0.5, 4.0}, K2[] = {2, 7, 1, 8, 2, 8};
  const double Rxy = -0.2950132166411046, Rxz = -0.0066924450472418, Ryz = 0.8175402193215456;
  const double Cov[3][3] = {{8.1551358258972566e-12, -2.1219253540039063e-06, -2.4835268656412936e-10},
                            {-2.1219253540039063e-06, 6.34375, 2.6757812500000002e-02},
                            {-2.4835268656412936e-10, 2.6757812500000002e-02, 1.6886393229166666e-04}};
  for (const double Scale : {1.0, 0x1p-340, 0x1p400}) {
    SCOPED_TRACE(Scale);
    TMatrix D, C;
    D.Resize(3, 6);
    for (int32_t Row = 0; Row < 6; ++Row) {
      D.SetVal(1, Row + 1, (1e8 + K[Row] * 0x1p-20) * Scale);
      D.SetVal(2, Row + 1, Y[Row] * Scale);
      D.SetVal(3, Row + 1, (-1e12 + K2[Row] * 0x1p-8) * Scale);
    }
    C.Resize(3, 3);
    ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCorrelation));
    EXPECT_NEAR(C.GetVal(1, 2), Rxy, 1e-14);
    EXPECT_NEAR(C.GetVal(1, 3), Rxz, 1e-14);
    EXPECT_NEAR(C.GetVal(2, 3), Ryz, 1e-14);
    EXPECT_EQ(C.GetVal(3, 2), C.GetVal(2, 3));
    ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csSquaredCorrelation));
    EXPECT_NEAR(C.GetVal(1, 2), Rxy * Rxy, 1e-14);
    EXPECT_NEAR(C.GetVal(2, 3), Ryz * Ryz, 1e-14);
    if (Scale != 1.0) continue;
    ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCovariance));
    for (int32_t A = 0; A < 3; ++A)
      for (int32_t B = 0; B < 3; ++B)
        EXPECT_NEAR(C.GetVal(B + 1, A + 1), Cov[A][B], 1e-13 * std::fabs(Cov[A][B])) << A << ", " << B;
  }
}

TEST(CalcCovar, CorrelationsStayWithinTheirBounds) {
  // Columns that are exact or near multiples of each other, on offsets up to
  // 1e15, where rounding alone decides whether r lands on, below or above 1.
  uint64_t Seed = 12345;
  const auto Next = [&] {  // an LCG is enough to vary the digits
    Seed = Seed * 6364136223846793005u + 1442695040888963407u;
    return static_cast<double>(Seed >> 11) * 0x1p-53;
  };
  TMatrix D, C;
  for (int Trial = 0; Trial < 200; ++Trial) {
    const int32_t Rows = 3 + Trial % 17;
    const double Offset = std::pow(10.0, Trial % 16);
    D.Resize(4, Rows);
    for (int32_t Row = 1; Row <= Rows; ++Row) {
      const double X = Next();
      D.SetVal(1, Row, Offset + X);
      D.SetVal(2, Row, -3 * (Offset + X));
      D.SetVal(3, Row, 0.1 * X + 1e-9 * Next());
      D.SetVal(4, Row, Offset * Offset + X);
    }
    C.Resize(4, 4);
    for (int32_t Scaling : {csCorrelation, csSquaredCorrelation}) {
      ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, Scaling));
      for (int32_t A = 1; A <= 4; ++A)
        for (int32_t B = 1; B <= 4; ++B) {
          const double R = C.GetVal(A, B);
          if (Scaling == csCorrelation) {
            EXPECT_TRUE(R >= -1 && R <= 1) << R << " trial " << Trial;
            if (A == B) {
              EXPECT_EQ(R, 1.0);
            }
          } else {
            EXPECT_TRUE(R >= 0 && R <= 1) << R << " trial " << Trial;
          }
        }
      // Every column varies (the tenths of X are far above the offsets' rounding).
      if (Scaling == csSquaredCorrelation) {
        for (int32_t A = 1; A <= 3; ++A) EXPECT_NEAR(C.GetVal(A, A), 1.0, 1e-14) << A << " trial " << Trial;
      }
    }
  }
}

TEST(CalcCovar, OverflowingSumsGiveNaNCorrelationsNotPlausibleOnes) {
  // The squares of 1e200 overflow: the variance of column 1 is infinite,
  // which would make its correlations 0 (or +-1 once bounded).
  TMatrix D, C;
  FillRows(D, {{1e200, 1, 2}, {-1e200, 2, 4}, {3e200, 3, 7}});
  C.Resize(3, 3);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCorrelation));
  EXPECT_TRUE(std::isnan(C.GetVal(2, 1)));
  EXPECT_TRUE(std::isnan(C.GetVal(1, 3)));
  EXPECT_EQ(C.GetVal(1, 1), 1.0);
  // 1, 2, 3 against 2, 4, 7: cross sum 5, sums of squared deviations 2 and 114 / 9.
  EXPECT_NEAR(C.GetVal(2, 3), 15 / std::sqrt(228.0), 1e-15);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csSquaredCorrelation));
  EXPECT_TRUE(std::isnan(C.GetVal(1, 1)));
  EXPECT_TRUE(std::isnan(C.GetVal(3, 1)));
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCovariance));
  EXPECT_EQ(C.GetVal(1, 1), HUGE_VAL);
  // 0 and then 99 times 1.5e152 beside 1..100: the square of the sum
  // overflows, the sum of squares (2.2e306) does not. The correlation is that
  // of 0, 1, ..., 1 with 1..100, sqrt(3 / 101) (closed form; numpy.corrcoef
  // gives 0.1723454968864279).
  D.Resize(2, 100);
  for (int32_t Row = 1; Row <= 100; ++Row) {
    D.SetVal(1, Row, Row == 1 ? 0.0 : 1.5e152);
    D.SetVal(2, Row, Row);
  }
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, csCorrelation));
  EXPECT_NEAR(C.GetVal(1, 2), std::sqrt(3.0 / 101), 5e-14);  // the one-pass variance cancels 1 : 100
}

TEST(CalcFishQ, SeparationRatioWithItsFloor) {
  EXPECT_DOUBLE_EQ(CalcFishQ(5, 2, 1, 2), 9.0 / 5.0);
  EXPECT_DOUBLE_EQ(CalcFishQ(2, 5, 2, 1), 9.0 / 5.0);
  EXPECT_DOUBLE_EQ(CalcFishQ(1, 1, 3, 4), 0.0);
  EXPECT_DOUBLE_EQ(CalcFishQ(3, 1, 0, 0), 4.0 / 1e-6);
  EXPECT_DOUBLE_EQ(CalcFishQ(3, 1, 1e-4, 0), 4.0 / 1e-6) << "1e-8 is below the floor";
}

}  // namespace
}  // namespace orv
