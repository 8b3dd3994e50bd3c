// TMatrix LU decomposition, determinant, inverse, Cholesky factor and hat
// matrix: the textbook loops' bits, NumPy references, failures and events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"
#include "support/crout.h"
#include "support/progress.h"

namespace {

using orv::TMatrix;
using orv::test::AllRows;
using orv::test::FillRows;
using Rows = std::vector<std::vector<double>>;
using Grid = orv::test::TGrid;
using orv::test::CroutTextbook;

// Cells of random sign and magnitude: any other order of the sums changes bits.
void FillHard(TMatrix& M, int32_t N) {
  M.Resize(N, N);
  for (int32_t C = 1; C <= N; ++C)
    for (int32_t R = 1; R <= N; ++R) M.SetVal(C, R, (orv::Random() - 0.5) * std::ldexp(1.0, orv::Random(21) - 10));
}

TEST(MatrixInvert, BlockedKernelsGiveTheTextbookBits) {
  orv::SetRandSeed(16);
  // Around the elimination's panels (24 columns) and row blocks (96), the
  // kernel's inner panel (256) and the solution's blocks (32).
  for (const int32_t N : {1, 2, 23, 25, 33, 97, 130, 300}) {
    TMatrix M(nullptr), L(nullptr), U(nullptr);
    FillHard(M, N);
    Grid Factors = M.Mat, Inverse = M.Mat;
    CroutTextbook(Factors, false);
    CroutTextbook(Inverse, true);
    int32_t Sign = 0;
    ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign)) << N;
    int Wrong = 0;
    for (int32_t C = 1; C <= N; ++C)
      for (int32_t R = 1; R <= N; ++R) Wrong += (R > C ? L : U).GetVal(C, R) != Factors[C - 1][R - 1];
    ASSERT_TRUE(M.Invert()) << N;
    EXPECT_EQ(M.Mat, Inverse) << N;
    EXPECT_EQ(Wrong, 0) << N;
  }
}

TEST(MatrixInvert, NumPyReferencesAndFailures) {
  // numpy.linalg.inv and numpy.linalg.det; the second needs a row exchange.
  const struct {
    Rows A, Inverse;
    double Det;
  } Cases[] = {
      {{{4, 7, 2}, {3, 6, 1}, {2, 5, 3}},
       {{1.4444444444444442, -1.222222222222222, -0.5555555555555556},
        {-0.7777777777777777, 0.8888888888888888, 0.22222222222222224},
        {0.3333333333333333, -0.6666666666666666, 0.3333333333333333}},
       8.999999999999998},
      {{{0, 1, 2}, {1, 0, 3}, {4, -3, 8}}, {{-4.5, 7, -1.5}, {-2, 4, -1}, {1.5, -2, 0.5}}, -2.0},
  };
  TMatrix M(nullptr);
  for (const auto& Cs : Cases) {
    FillRows(M, Cs.A);
    EXPECT_NEAR(M.Determinant(), Cs.Det, 1e-14 * std::fabs(Cs.Det));
    ASSERT_TRUE(M.Invert());
    for (int32_t R = 1; R <= 3; ++R)
      for (int32_t C = 1; C <= 3; ++C) EXPECT_NEAR(M.GetVal(C, R), Cs.Inverse[R - 1][C - 1], 1e-14);
  }
  // False, OnChange all the same: a zero row leaves Self; a tiny pivot
  // (equal rows, 1e-120) leaves the factors with 1e-100; a NaN, an infinity
  // or an overflow gives no finite pivot (and the determinant 0).
  orv::test::TChangeCounter Changes;
  Changes.Attach(M);
  const double Inf = std::numeric_limits<double>::infinity();
  const struct {
    Rows A, After;
  } Bad[] = {{{{1, 2}, {0, 0}}, {{1, 2}, {0, 0}}},
             {{{1, 2}, {1, 2}}, {{1, 2}, {1, 1e-100}}},
             {{{1e-120}}, {{1e-100}}},
             {{{std::nan(""), 1}, {std::nan(""), 2}}, {}},
             {{{1, 1}, {1e308, -1e308}}, {}},
             {{{1, 0}, {Inf, 1}}, {}}};
  for (const auto& B : Bad) {
    FillRows(M, B.A);
    EXPECT_EQ(M.Determinant(), 0.0);
    Changes.Count = 0;
    EXPECT_FALSE(M.Invert());
    EXPECT_EQ(Changes.Count, 1);
    EXPECT_TRUE(B.After.empty() || AllRows(M) == B.After);
  }
  // Not square or without columns: false and no event; 0 x 0 has determinant 1.
  M.Resize(0, 0);
  EXPECT_EQ(M.Determinant(), 1.0);
  M.Resize(2, 3);
  Changes.Count = 0;
  EXPECT_FALSE(M.Invert());
  EXPECT_EQ(M.Determinant(), 0.0);
  EXPECT_EQ(Changes.Count, 0);
}

TEST(MatrixInvert, ProgressAndAbort) {
  const Rows A = {{4, 7, 2}, {3, 6, 1}, {2, 5, 3}};
  TMatrix M(nullptr), L(nullptr), U(nullptr);
  {
    orv::test::TPassCounter Passes;
    FillRows(M, A);
    ASSERT_TRUE(M.Invert());
    EXPECT_EQ(Passes.Passes(), 6.0) << "2n";
    EXPECT_EQ(Passes.Seen.size(), 6u);
  }
  orv::test::TProgressGuard Guard;
  // Stopped before the start (nothing changes), at pass 2 (elimination) or
  // 5 (solution: Self holds the complete factors, as LU gives them).
  int32_t Sign = 0;
  FillRows(M, A);
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  for (const double StopAt : {0.0, 2.0, 5.0}) {
    FillRows(M, A);
    const double Start = orv::ProcStat;
    orv::AbortMathProc = StopAt == 0;
    orv::MathFeedBackProc = [&](double P) { orv::AbortMathProc = P - Start == StopAt; };
    EXPECT_FALSE(M.Invert());
    EXPECT_EQ(orv::ProcStat - Start, StopAt);
    EXPECT_TRUE(StopAt != 0 || AllRows(M) == A);
  }
  for (int32_t C = 1; C <= 3; ++C)
    for (int32_t R = 1; R <= 3; ++R) EXPECT_EQ(M.GetVal(C, R), (R > C ? L : U).GetVal(C, R));
  // Stopped at every pass of a one-panel and a two-panel matrix (24 columns
  // a panel): before the start nothing changes; in the elimination the
  // factors so far and the later columns with the rows exchanged so far, as
  // the column-by-column method leaves them; in the solution the factors.
  orv::SetRandSeed(25);
  for (const int32_t N : {5, 30})
    for (int32_t StopAt = 0; StopAt <= 2 * N; ++StopAt) {
      FillHard(M, N);
      Grid Want = M.Mat;
      if (StopAt > 0) CroutTextbook(Want, false, StopAt - 1);
      const double Start = orv::ProcStat;
      orv::AbortMathProc = StopAt == 0;
      orv::MathFeedBackProc = [&](double P) { orv::AbortMathProc = P - Start == StopAt; };
      EXPECT_FALSE(M.Invert());
      EXPECT_EQ(M.Mat, Want) << N << " x " << N << ", stopped at pass " << StopAt;
    }
  orv::AbortMathProc = false;
  // Resized under the work, in the elimination or in the solution: stopped,
  // and the released columns are not written (ASan watches).
  for (const double ResizeAt : {1.0, 5.0}) {
    FillRows(M, A);
    const double Start = orv::ProcStat;
    orv::MathFeedBackProc = [&](double P) {
      if (P - Start == ResizeAt) M.Resize(5, 5);
    };
    EXPECT_FALSE(M.Invert());
    EXPECT_EQ(M.NrOfColumns(), 5);
  }
}

TEST(MatrixLU, FactorsAndRefusals) {
  // The exchanged identity: NumPerm -1, L = U = I, determinant -1.
  TMatrix M(nullptr), L(nullptr), U(nullptr), P(nullptr);
  int32_t Sign = 0;
  FillRows(M, {{0, 1}, {1, 0}});
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  EXPECT_EQ(Sign, -1);
  EXPECT_EQ(AllRows(L), (Rows{{1, 0}, {0, 1}}));
  EXPECT_EQ(AllRows(U), (Rows{{1, 0}, {0, 1}}));
  EXPECT_EQ(M.Determinant(), -1.0);
  // P A = L U (LAPACK pivots differently, so products are compared): the
  // rows of L U, sorted, are those of A.
  FillRows(M, {{2, -1, 0.5}, {4, 3, -2}, {-6, 1, 7}});
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  ASSERT_TRUE(L.Multiply(&U, &P));
  Rows Got = AllRows(P), Want = AllRows(M);
  std::sort(Got.begin(), Got.end());
  std::sort(Want.begin(), Want.end());
  for (std::size_t R = 0; R < 3; ++R)
    for (std::size_t C = 0; C < 3; ++C) EXPECT_NEAR(Got[R][C], Want[R][C], 1e-14);
  // Refused, nothing changed: factors that are one matrix or Self, nullptr.
  FillRows(L, {{7}});
  EXPECT_FALSE(M.LUdecomposition(&L, &L, Sign));
  EXPECT_FALSE(M.LUdecomposition(&M, &U, Sign));
  EXPECT_FALSE(M.LUdecomposition(&L, &M, Sign));
  EXPECT_FALSE(M.LUdecomposition(nullptr, &U, Sign));
  EXPECT_EQ(AllRows(L), (Rows{{7}}));
  // A zero row: L stays all zeros. A handler resizing a factor: false.
  FillRows(M, {{1, 2}, {0, 0}});
  EXPECT_FALSE(M.LUdecomposition(&L, &U, Sign));
  EXPECT_EQ(AllRows(L), (Rows{{0, 0}, {0, 0}}));
  U.OnChange = [&U](orv::TObject*) { U.Resize(1, 1); };
  EXPECT_FALSE(M.LUdecomposition(&L, &U, Sign));
}

TEST(MatrixCholesky, FactorBitsAndFailures) {
  // The method's example with a reused MatL (its upper cells become 0); the
  // factor, transposed, stays above Self's diagonal.
  TMatrix M(nullptr), L(nullptr);
  FillRows(M, {{4, 2}, {2, 5}});
  FillRows(L, {{9, 9}, {9, 9}});
  ASSERT_TRUE(M.CholeskyDecomp(&L));
  EXPECT_EQ(AllRows(L), (Rows{{2, 0}, {1, 2}}));
  EXPECT_EQ(AllRows(M), (Rows{{4, 1}, {2, 5}}));
  // numpy.linalg.cholesky, also with MatL = Self.
  FillRows(M, {{5, 1, 2, 0.5}, {1, 6, 1, 1}, {2, 1, 7, 2}, {0.5, 1, 2, 8}});
  ASSERT_TRUE(M.CholeskyDecomp(&M));
  const Rows Want = {{2.23606797749979, 0, 0, 0},
                     {0.4472135954999579, 2.4083189157584592, 0, 0},
                     {0.8944271909999159, 0.24913643956121995, 2.4774848202325597, 0},
                     {0.22360679774997896, 0.37370465934182984, 0.6889634752893915, 2.7084449703295377}};
  for (int32_t R = 1; R <= 4; ++R)
    for (int32_t C = 1; C <= 4; ++C) EXPECT_NEAR(M.GetVal(C, R), Want[R - 1][C - 1], 1e-15);
  // The row kernel against the textbook sums (k = i-1 down to 1) bit for bit,
  // around its 8- and 32-cell blocks.
  orv::SetRandSeed(5);
  for (const int32_t N : {7, 9, 33, 70}) {
    TMatrix B(nullptr);
    FillHard(B, N);
    B.TransposeAndMultiply(&B, &M);
    Grid a = M.Mat;
    for (int64_t I = 0; I < N; ++I)
      for (int64_t J = I; J < N; ++J) {
        double S = a[I][J];
        for (int64_t K = I - 1; K >= 0; --K) S -= a[I][K] * a[J][K];
        (J == I ? a[I][I] : a[J][I]) = J == I ? std::sqrt(S) : S / a[I][I];
      }
    ASSERT_TRUE(M.CholeskyDecomp(&L));
    int Wrong = 0;
    for (int32_t C = 1; C <= N; ++C)
      for (int32_t R = C; R <= N; ++R) Wrong += L.GetVal(C, R) != (R == C ? a[C - 1][C - 1] : a[R - 1][C - 1]);
    EXPECT_EQ(Wrong, 0) << N;
  }
  // Not positive definite (also a NaN): false, that row of the factor 0,
  // never a division by it; a semidefinite matrix still gives L L' = Self.
  for (const Rows& NotPd : {Rows{{1, 2, 0}, {2, 1, 3}, {0, 3, 4}}, Rows{{std::nan(""), 0}, {0, 1}}}) {
    FillRows(M, NotPd);
    EXPECT_FALSE(M.CholeskyDecomp(&L));
    for (const auto& R : AllRows(L))
      for (double X : R) EXPECT_FALSE(std::isinf(X));
  }
  FillRows(M, {{0, 0}, {0, 1}});
  EXPECT_FALSE(M.CholeskyDecomp(&L));
  EXPECT_EQ(AllRows(L), (Rows{{0, 0}, {0, 1}}));
  EXPECT_FALSE(M.CholeskyDecomp(nullptr));
  M.Resize(2, 3);
  EXPECT_FALSE(M.CholeskyDecomp(&L));
}

TEST(MatrixHat, ProjectionOntoTheColumns) {
  // X pinv(X) from NumPy; symmetric and idempotent.
  TMatrix X(nullptr), H(nullptr), HH(nullptr);
  FillRows(X, {{1, 2}, {1, 3}, {1, 5}, {1, 7.5}});
  ASSERT_TRUE(X.CalcHatMatrix(&H));
  const Rows Want = {{0.568904593639576, 0.43462897526501765, 0.16607773851590096, -0.16961130742049468},
                     {0.43462897526501776, 0.3568904593639576, 0.2014134275618374, 0.007067137809187329},
                     {0.16607773851590124, 0.20141342756183755, 0.27208480565371024, 0.36042402826855113},
                     {-0.16961130742049435, 0.00706713780918744, 0.36042402826855124, 0.8021201413427561}};
  ASSERT_TRUE(H.Multiply(&H, &HH));
  for (int32_t R = 1; R <= 4; ++R)
    for (int32_t C = 1; C <= 4; ++C) {
      EXPECT_NEAR(H.GetVal(C, R), Want[R - 1][C - 1], 1e-14);
      EXPECT_NEAR(H.GetVal(C, R), H.GetVal(R, C), 1e-14);
      EXPECT_NEAR(HH.GetVal(C, R), H.GetVal(C, R), 1e-14);
    }
  // Dependent columns: X'X singular, HatMat untouched. nullptr: false.
  FillRows(X, {{1, 2}, {2, 4}, {3, 6}});
  FillRows(H, {{5}});
  EXPECT_FALSE(X.CalcHatMatrix(&H));
  EXPECT_EQ(AllRows(H), (Rows{{5}}));
  EXPECT_FALSE(X.CalcHatMatrix(nullptr));
}

}  // namespace
