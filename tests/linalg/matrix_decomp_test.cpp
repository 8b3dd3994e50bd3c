// TMatrix LU decomposition, determinant, inverse, Cholesky factor and hat
// matrix: the textbook loops' bits, NumPy references, failures and events.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"
#include "support/progress.h"

namespace {

using orv::TMatrix;
using orv::test::AllRows;
using orv::test::FillRows;
using orv::test::TChangeCounter;
using Rows = std::vector<std::vector<double>>;
using Grid = std::vector<std::vector<double>>;  // [column][row]

// Cells of random sign and magnitude, so that any other order of the sums
// changes bits.
void FillHard(TMatrix& M, int32_t N) {
  M.Resize(N, N);
  for (int32_t C = 1; C <= N; ++C)
    for (int32_t R = 1; R <= N; ++R) M.SetVal(C, R, (orv::Random() - 0.5) * std::ldexp(1.0, orv::Random(21) - 10));
}

// Crout's method and the substitutions literally in the order the method
// pins, cell by cell, on a[column][row]. False on a zero row or tiny pivot.
bool TextbookCrout(Grid& a, std::vector<int64_t>& Perm) {
  const auto N = static_cast<int64_t>(a.size());
  std::vector<double> Scale(N);
  for (int64_t I = 0; I < N; ++I) {
    double Big = 0;
    for (int64_t J = 0; J < N; ++J) Big = std::fabs(a[J][I]) > Big ? std::fabs(a[J][I]) : Big;
    if (Big == 0) return false;
    Scale[I] = 1 / Big;
  }
  bool Ok = true;
  Perm.assign(N, 0);
  for (int64_t J = 0; J < N; ++J) {
    for (int64_t I = 0; I < J; ++I) {
      double S = a[J][I];
      for (int64_t K = 0; K < I; ++K) S -= a[K][I] * a[J][K];
      a[J][I] = S;
    }
    double Big = 0;
    int64_t IMax = J;
    for (int64_t I = J; I < N; ++I) {
      double S = a[J][I];
      for (int64_t K = 0; K < J; ++K) S -= a[K][I] * a[J][K];
      a[J][I] = S;
      if (Scale[I] * std::fabs(S) >= Big) Big = Scale[I] * std::fabs(S), IMax = I;
    }
    if (IMax != J) {
      for (int64_t K = 0; K < N; ++K) std::swap(a[K][IMax], a[K][J]);
      Scale[IMax] = Scale[J];
    }
    Perm[J] = IMax;
    if (std::fabs(a[J][J]) < 1e-100) a[J][J] = 1e-100, Ok = false;
    for (int64_t I = J + 1; I < N; ++I) a[J][I] /= a[J][J];
  }
  return Ok;
}

Grid TextbookInverse(const Grid& a, const std::vector<int64_t>& Perm) {
  const auto N = static_cast<int64_t>(a.size());
  Grid Y(N, std::vector<double>(N));
  for (int64_t J = 0; J < N; ++J) {
    std::vector<double> B(N);
    B[J] = 1;
    int64_t I0 = -1;
    for (int64_t I = 0; I < N; ++I) {
      double S = B[Perm[I]];
      B[Perm[I]] = B[I];
      if (I0 >= 0)
        for (int64_t K = I0; K < I; ++K) S -= a[K][I] * B[K];
      else if (S != 0)
        I0 = I;
      B[I] = S;
    }
    for (int64_t I = N - 1; I >= 0; --I) {
      double S = B[I];
      for (int64_t K = I + 1; K < N; ++K) S -= a[K][I] * B[K];
      B[I] = S / a[I][I];
    }
    Y[J] = B;
  }
  return Y;
}

int CountDifferentBits(const TMatrix& M, const Grid& Want) {
  int Wrong = 0;
  for (int32_t C = 1; C <= M.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= M.NrOfRows(); ++R)
      Wrong += std::memcmp(&M.Mat[C - 1][R - 1], &Want[C - 1][R - 1], sizeof(double)) != 0;
  return Wrong;
}

TEST(MatrixInvert, BlockedKernelsGiveTheTextbookBits) {
  orv::SetRandSeed(16);
  // Sizes around the elimination's panel (24 columns), its row blocks (96),
  // the kernel's inner panel (256) and the solution's blocks (32).
  for (const int32_t N : {1, 2, 5, 23, 25, 33, 97, 130, 300}) {
    TMatrix M(nullptr), L(nullptr), U(nullptr);
    FillHard(M, N);
    Grid A = M.Mat;
    std::vector<int64_t> Perm;
    ASSERT_TRUE(TextbookCrout(A, Perm)) << N;
    int32_t Sign = 0;
    ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign)) << N;
    TMatrix Factors(nullptr);  // L and U combined again
    Factors.Clone(&U);
    for (int32_t C = 1; C <= N; ++C)
      for (int32_t R = C + 1; R <= N; ++R) Factors.SetVal(C, R, L.GetVal(C, R));
    EXPECT_EQ(CountDifferentBits(Factors, A), 0) << "factors, n = " << N;
    ASSERT_TRUE(M.Invert()) << N;
    EXPECT_EQ(CountDifferentBits(M, TextbookInverse(A, Perm)), 0) << "inverse, n = " << N;
  }
}

TEST(MatrixInvert, NumPyReferencesAndDeterminants) {
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
      {{{0, 1, 2}, {1, 0, 3}, {4, -3, 8}}, {{-4.5, 7.0, -1.5}, {-2.0, 4.0, -1.0}, {1.5, -2.0, 0.5}}, -2.0},
      {{{0.25}}, {{4}}, 0.25},
  };
  for (const auto& Cs : Cases) {
    TMatrix M(nullptr);
    FillRows(M, Cs.A);
    EXPECT_NEAR(M.Determinant(), Cs.Det, 1e-14 * std::fabs(Cs.Det));
    ASSERT_TRUE(M.Invert());
    const Rows Got = AllRows(M);
    for (std::size_t R = 0; R < Got.size(); ++R)
      for (std::size_t C = 0; C < Got.size(); ++C) EXPECT_NEAR(Got[R][C], Cs.Inverse[R][C], 1e-14) << R << C;
  }
  TMatrix Empty(nullptr);
  Empty.Resize(0, 0);
  EXPECT_EQ(Empty.Determinant(), 1.0) << "the empty product";
  Empty.Resize(2, 3);
  EXPECT_EQ(Empty.Determinant(), 0.0) << "not square";
}

TEST(MatrixInvert, FailuresKeepWhatTheMethodLeaves) {
  orv::test::TProgressGuard Guard;
  TChangeCounter Changes;
  TMatrix M(nullptr);
  Changes.Attach(M);
  // A zero row: false, unchanged, OnChange all the same.
  FillRows(M, {{1, 2}, {0, 0}});
  Changes.Count = 0;
  EXPECT_FALSE(M.Invert());
  EXPECT_EQ(AllRows(M), (Rows{{1, 2}, {0, 0}}));
  EXPECT_EQ(Changes.Count, 1);
  // Two equal rows: the pivot of the second column falls to 1e-100.
  FillRows(M, {{1, 2}, {1, 2}});
  EXPECT_FALSE(M.Invert());
  EXPECT_EQ(AllRows(M), (Rows{{1, 2}, {1, 1e-100}}));
  // 1e-120 alone: the floor replaces it.
  FillRows(M, {{1e-120}});
  EXPECT_FALSE(M.Invert());
  EXPECT_EQ(M.GetVal(1, 1), 1e-100);
  // A NaN or an overflow gives no pivot row or no finite pivot: false, no crash.
  for (const Rows& Bad : {Rows{{std::nan(""), 1}, {std::nan(""), 2}}, Rows{{1, 1}, {1e308, -1e308}},
                          Rows{{1, 0}, {std::numeric_limits<double>::infinity(), 1}}}) {
    FillRows(M, Bad);
    EXPECT_FALSE(M.Invert());
    EXPECT_EQ(M.Determinant(), 0.0);
  }
  // Not square or without columns: false and no event.
  M.Resize(2, 3);
  const int Before = Changes.Count;
  EXPECT_FALSE(M.Invert());
  M.Resize(0, 0);
  EXPECT_FALSE(M.Invert());
  EXPECT_EQ(Changes.Count, Before + 1) << "only the Resize";
}

TEST(MatrixInvert, ProgressAndAbort) {
  const Rows A = {{4, 7, 2}, {3, 6, 1}, {2, 5, 3}};
  TMatrix M(nullptr);
  {
    orv::test::TPassCounter Passes;
    FillRows(M, A);
    ASSERT_TRUE(M.Invert());
    EXPECT_EQ(Passes.Passes(), 6.0) << "2n";
    EXPECT_EQ(Passes.Seen.size(), 6u);
  }
  orv::test::TProgressGuard Guard;
  // Stopped in the elimination (pass 2): false, Self holds the factors so
  // far, not the input. Stopped in the solution (pass 5): the complete
  // factors, as a failed inversion of the same matrix leaves them... which
  // the LU decomposition shows.
  TMatrix L(nullptr), U(nullptr);
  int32_t Sign = 0;
  FillRows(M, A);
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  for (const double StopAt : {2.0, 5.0}) {
    FillRows(M, A);
    const double Start = orv::ProcStat;
    orv::MathFeedBackProc = [&](double P) {
      if (P - Start == StopAt) orv::AbortMathProc = true;
    };
    EXPECT_FALSE(M.Invert());
    EXPECT_EQ(orv::ProcStat - Start, StopAt);
    if (StopAt == 5.0) {
      for (int32_t C = 1; C <= 3; ++C)
        for (int32_t R = 1; R <= 3; ++R) EXPECT_EQ(M.GetVal(C, R), R > C ? L.GetVal(C, R) : U.GetVal(C, R)) << C << R;
    }
    orv::AbortMathProc = false;
  }
  // Already set: nothing changes, no pass counted.
  FillRows(M, A);
  orv::AbortMathProc = true;
  const double Start = orv::ProcStat;
  EXPECT_FALSE(M.Invert());
  EXPECT_EQ(orv::ProcStat, Start);
  EXPECT_EQ(AllRows(M), A);
  orv::AbortMathProc = false;
  // A feedback that resizes the matrix stops the work instead of crashing.
  orv::MathFeedBackProc = [&](double) { M.Resize(5, 5); };
  FillRows(M, A);
  EXPECT_FALSE(M.Invert());
}

TEST(MatrixLU, FactorsReproduceTheExchangedRows) {
  // The method's example: the exchanged identity.
  TMatrix M(nullptr), L(nullptr), U(nullptr);
  int32_t Sign = 0;
  FillRows(M, {{0, 1}, {1, 0}});
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  EXPECT_EQ(Sign, -1);
  EXPECT_EQ(AllRows(L), (Rows{{1, 0}, {0, 1}}));
  EXPECT_EQ(AllRows(U), (Rows{{1, 0}, {0, 1}}));
  EXPECT_EQ(M.Determinant(), -1.0);
  // A random 6 x 6: L unit lower, U upper, L U = A with some rows exchanged
  // (LAPACK pivots differently, so the products are compared, not factors).
  orv::SetRandSeed(4);
  FillHard(M, 6);
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  TMatrix P(nullptr);
  ASSERT_TRUE(L.Multiply(&U, &P));
  std::vector<bool> Used(6);
  for (int32_t R = 1; R <= 6; ++R) {
    EXPECT_EQ(L.GetVal(R, R), 1.0);
    for (int32_t C = R + 1; C <= 6; ++C) EXPECT_EQ(L.GetVal(C, R), 0.0);
    for (int32_t C = 1; C < R; ++C) EXPECT_EQ(U.GetVal(C, R), 0.0);
    int32_t Match = 0;
    for (int32_t Src = 1; Src <= 6 && Match == 0; ++Src) {
      bool Same = !Used[Src - 1];
      for (int32_t C = 1; C <= 6; ++C) Same = Same && std::fabs(P.GetVal(C, R) - M.GetVal(C, Src)) < 1e-12 * 1024;
      if (Same) Match = Src;
    }
    ASSERT_NE(Match, 0) << "row " << R << " of L U is no row of A";
    Used[Match - 1] = true;
  }
  // Refused: the factors one matrix, or Self; nothing changes.
  FillRows(L, {{7}});
  EXPECT_FALSE(M.LUdecomposition(&L, &L, Sign));
  EXPECT_FALSE(M.LUdecomposition(&M, &U, Sign));
  EXPECT_FALSE(M.LUdecomposition(&L, &M, Sign));
  EXPECT_FALSE(M.LUdecomposition(nullptr, &U, Sign));
  EXPECT_EQ(AllRows(L), (Rows{{7}}));
  // A zero row: false, L all zeros, U the unsplit factors.
  FillRows(M, {{1, 2}, {0, 0}});
  EXPECT_FALSE(M.LUdecomposition(&L, &U, Sign));
  EXPECT_EQ(AllRows(L), (Rows{{0, 0}, {0, 0}}));
  EXPECT_EQ(M.Determinant(), 0.0);
  // A handler that resizes a factor while it is being filled: false, no crash.
  FillRows(M, {{1, 2}, {3, 4}});
  U.OnChange = [&U](orv::TObject*) { U.Resize(1, 1); };
  EXPECT_FALSE(M.LUdecomposition(&L, &U, Sign));
}

TEST(MatrixCholesky, FactorAndFailures) {
  // The method's example, and numpy.linalg.cholesky of a 4 x 4.
  TMatrix M(nullptr), L(nullptr);
  FillRows(M, {{4, 2}, {2, 5}});
  FillRows(L, {{9, 9}, {9, 9}});  // a reused factor: its upper cells become 0
  ASSERT_TRUE(M.CholeskyDecomp(&L));
  EXPECT_EQ(AllRows(L), (Rows{{2, 0}, {1, 2}}));
  EXPECT_EQ(AllRows(M), (Rows{{4, 1}, {2, 5}})) << "the factor, transposed, above the diagonal";
  FillRows(M, {{5, 1, 2, 0.5}, {1, 6, 1, 1}, {2, 1, 7, 2}, {0.5, 1, 2, 8}});
  ASSERT_TRUE(M.CholeskyDecomp(&L));
  const Rows Want = {{2.23606797749979, 0.0, 0.0, 0.0},
                     {0.4472135954999579, 2.4083189157584592, 0.0, 0.0},
                     {0.8944271909999159, 0.24913643956121995, 2.4774848202325597, 0.0},
                     {0.22360679774997896, 0.37370465934182984, 0.6889634752893915, 2.7084449703295377}};
  const Rows Got = AllRows(L);
  for (std::size_t R = 0; R < 4; ++R)
    for (std::size_t C = 0; C < 4; ++C) EXPECT_NEAR(Got[R][C], Want[R][C], 1e-15) << R << C;
  // In place: MatL may be Self.
  ASSERT_TRUE(M.CholeskyDecomp(&M));
  EXPECT_EQ(AllRows(M), Got);
  // Not positive definite: false, the row of the zero pivot 0, nothing infinite.
  FillRows(M, {{1, 2, 0}, {2, 1, 3}, {0, 3, 4}});
  EXPECT_FALSE(M.CholeskyDecomp(&L));
  for (const auto& R : AllRows(L))
    for (double X : R) EXPECT_TRUE(std::isfinite(X));
  FillRows(M, {{std::nan(""), 0}, {0, 1}});
  EXPECT_FALSE(M.CholeskyDecomp(&L)) << "a NaN is no positive sum";
  FillRows(M, {{0, 0}, {0, 1}});  // semidefinite: L L' still gives it back
  EXPECT_FALSE(M.CholeskyDecomp(&L));
  EXPECT_EQ(AllRows(L), (Rows{{0, 0}, {0, 1}}));
  EXPECT_FALSE(M.CholeskyDecomp(nullptr));
  M.Resize(2, 3);
  EXPECT_FALSE(M.CholeskyDecomp(&L));
}

TEST(MatrixCholesky, RowKernelGivesTheTextbookBits) {
  orv::SetRandSeed(5);
  for (const int32_t N : {1, 7, 8, 9, 33, 70}) {
    TMatrix B(nullptr), M(nullptr), L(nullptr);
    FillHard(B, N);
    B.TransposeAndMultiply(&B, &M);  // B'B, positive definite
    Grid a = M.Mat;                  // the textbook method on a[column][row]
    for (int64_t I = 0; I < N; ++I)
      for (int64_t J = I; J < N; ++J) {
        double S = a[I][J];
        for (int64_t K = I - 1; K >= 0; --K) S -= a[I][K] * a[J][K];
        if (J == I)
          a[I][I] = std::sqrt(S);  // the diagonal factor, kept apart below
        else
          a[J][I] = S / a[I][I];
      }
    ASSERT_TRUE(M.CholeskyDecomp(&L));
    int Wrong = 0;
    for (int32_t C = 1; C <= N; ++C)
      for (int32_t R = C; R <= N; ++R) Wrong += L.GetVal(C, R) != (R == C ? a[C - 1][C - 1] : a[R - 1][C - 1]);
    EXPECT_EQ(Wrong, 0) << N;
  }
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
  // Dependent columns: X'X is singular; HatMat untouched. nullptr: false.
  FillRows(X, {{1, 2}, {2, 4}, {3, 6}});
  FillRows(H, {{5}});
  EXPECT_FALSE(X.CalcHatMatrix(&H));
  EXPECT_EQ(AllRows(H), (Rows{{5}}));
  EXPECT_FALSE(X.CalcHatMatrix(nullptr));
}

}  // namespace
