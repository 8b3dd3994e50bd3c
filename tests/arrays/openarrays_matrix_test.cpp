// InvertArray, TransposeArray, TraceOfArray and CalcHatMatrix: NumPy and
// closed-form references, the failures and what they leave, progress and
// abort, and the bits of TMatrix's routines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcorekit/Orv_system.h"
#include "support/crout.h"
#include "support/progress.h"

namespace orv {
namespace {

using Rows = std::vector<std::vector<double>>;

// The array of a matrix written row by row: A[c][r] = Rows[r][c].
TDouble2DArray FromRows(const Rows& R) {
  TDouble2DArray A(R.empty() ? 0 : R[0].size(), TDoubleArray(R.size()));
  for (std::size_t r = 0; r < R.size(); ++r)
    for (std::size_t c = 0; c < R[r].size(); ++c) A[c][r] = R[r][c];
  return A;
}

TDouble2DArray RandomSquare(int32_t N) {
  TDouble2DArray A(N, TDoubleArray(N));
  for (auto& Col : A)
    for (double& X : Col) X = (Random() - 0.5) * std::ldexp(1.0, Random(21) - 10);
  return A;
}

bool SameBits(const TDouble2DArray& A, const TDouble2DArray& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t c = 0; c < A.size(); ++c)
    if (A[c].size() != B[c].size() || std::memcmp(A[c].data(), B[c].data(), A[c].size() * sizeof(double)) != 0)
      return false;
  return true;
}

void ToMatrix(const TDouble2DArray& A, TMatrix& M) {
  M.Resize(static_cast<int32_t>(A.size()), static_cast<int32_t>(A[0].size()));
  M.Mat = A;
}

TEST(InvertArray, AgainstNumPyAndTheIdentity) {
  // numpy.linalg.inv (LAPACK getri); a(0, 0) = 0 forces a row exchange.
  TDouble2DArray A = FromRows({{0, 2, 1, 3, 1, 4},
                               {5, 1, 0, 2, 3, 1},
                               {1, 4, 2, 0, 1, 2},
                               {3, 0, 1, 4, 2, 1},
                               {2, 3, 5, 1, 0, 1},
                               {1, 1, 2, 3, 4, 0}});
  const TDouble2DArray Want = FromRows({{-0.04500978473581213, 0.19765166340508808, -0.05479452054794527,
                                         0.011741682974559731, 0.08023483365949122, -0.12915851272015655},
                                        {-0.42270058708414865, -0.4481409001956946, 0.8767123287671232,
                                         0.7407045009784733, -0.35518590998043054, -0.1477495107632093},
                                        {0.21330724070450088, 0.19373776908023477, -0.47945205479452047,
                                         -0.468688845401174, 0.38062622309197647, 0.1555772994129158},
                                        {-0.2602739726027396, -0.4657534246575342, 0.46575342465753417,
                                         0.828767123287671, -0.2534246575342466, -0.1164383561643835},
                                        {0.20547945205479443, 0.31506849315068486, -0.31506849315068486,
                                         -0.5753424657534245, 0.0684931506849315, 0.32876712328767116},
                                        {0.5518590998043051, 0.44618395303326797, -0.5890410958904108,
                                         -0.7309197651663402, 0.25538160469667315, 0.04011741682974553}});
  ASSERT_EQ(InvertArray(A), 0);
  for (int c = 0; c < 6; ++c)
    for (int r = 0; r < 6; ++r) EXPECT_NEAR(A[c][r], Want[c][r], 1e-15) << c << ", " << r;

  // A random 50 x 50 times its inverse is the identity; the inverse has
  // the bits of TMatrix::Invert on the same cells.
  SetRandSeed(23);
  const TDouble2DArray B = RandomSquare(50);
  TDouble2DArray Inv = B;
  ASSERT_EQ(InvertArray(Inv), 0);
  double Worst = 0;
  for (int c = 0; c < 50; ++c)
    for (int r = 0; r < 50; ++r) {
      double S = 0;
      for (int k = 0; k < 50; ++k) S += B[k][r] * Inv[c][k];
      Worst = std::max(Worst, std::fabs(S - (r == c)));
    }
  EXPECT_LT(Worst, 1e-9);
  TMatrix M(nullptr);
  ToMatrix(B, M);
  ASSERT_TRUE(M.Invert());
  EXPECT_EQ(M.Mat, Inv);
}

TEST(InvertArray, FailuresAndWhatTheyLeave) {
  const double NaN = std::nan(""), Inf = std::numeric_limits<double>::infinity();
  // Rows as written; After: what A holds (as written, bit for bit; empty: not
  // checked). Origins: the 1 x 1 cases and the zero row are the routine's
  // own definition; {{1, 1e300}, {0, 1e-10}} has finite factors (itself)
  // and the inverse cell -1e310; the cells that are not finite are found
  // before anything is written.
  const struct {
    Rows A;
    int32_t Want;
    Rows After;
  } Cases[] = {
      {{{4}}, 0, {{0.25}}},
      {{{0}}, -3, {{0}}},
      {{{1e-120}}, -3, {{1e-100}}},
      {{{1, 2, 3}, {0, 0, 0}, {4, 5, 6}}, -3, {{1, 2, 3}, {0, 0, 0}, {4, 5, 6}}},
      {{{1, 2}, {1, 2}}, -3, {{1, 2}, {1, 1e-100}}},
      {{{NaN, NaN}, {NaN, NaN}}, -2, {{NaN, NaN}, {NaN, NaN}}},
      {{{1, 0}, {Inf, 1}}, -2, {{1, 0}, {Inf, 1}}},
      {{{1, 1e300}, {0, 1e-10}}, -2, {{1, 1e300}, {0, 1e-10}}},
      {{{1, 1}, {1e308, -1e308}}, -2, {}},
  };
  for (const auto& C : Cases) {
    TDouble2DArray A = FromRows(C.A);
    EXPECT_EQ(InvertArray(A), C.Want) << C.A[0][0];
    if (!C.After.empty()) {
      EXPECT_TRUE(SameBits(A, FromRows(C.After))) << C.A[0][0];
    }
  }
  // Not square, empty, without rows, ragged: -1 and nothing written.
  for (TDouble2DArray A :
       {TDouble2DArray{{1, 2, 3}, {4, 5, 6}}, TDouble2DArray{}, TDouble2DArray{{}, {}}, TDouble2DArray{{1, 2}, {3}}}) {
    const TDouble2DArray Before = A;
    EXPECT_EQ(InvertArray(A), -1);
    EXPECT_EQ(A, Before);
  }
}

TEST(InvertArray, ProgressAndAbort) {
  const Rows A = {{2, 1, 1}, {4, -6, 0}, {-2, 7, 2}};
  {
    test::TPassCounter Passes;
    TDouble2DArray X = FromRows({{4}});
    ASSERT_EQ(InvertArray(X), 0);
    EXPECT_EQ(Passes.Passes(), 2.0);
  }
  // The complete factors, as TMatrix's LU gives them (rows exchanged).
  TMatrix M(nullptr), L(nullptr), U(nullptr);
  ToMatrix(FromRows(A), M);
  int32_t Sign = 0;
  ASSERT_TRUE(M.LUdecomposition(&L, &U, Sign));
  TDouble2DArray Factors = U.Mat;
  for (int c = 0; c < 3; ++c)
    for (int r = c + 1; r < 3; ++r) Factors[c][r] = L.Mat[c][r];
  test::TProgressGuard Guard;
  // Stopped at once (abort already set), before the first column, in the
  // first and the last pass of the solution.
  const struct {
    double StopAt;
    bool Factored;
  } Stops[] = {{0, false}, {1, false}, {4, true}, {6, true}};
  for (const auto& S : Stops) {
    TDouble2DArray X = FromRows(A);
    const double Start = ProcStat;
    AbortMathProc = S.StopAt == 0;
    MathFeedBackProc = [&](double P) { AbortMathProc = P - Start == S.StopAt; };
    EXPECT_EQ(InvertArray(X), -3) << S.StopAt;
    EXPECT_EQ(ProcStat - Start, S.StopAt);
    EXPECT_EQ(X, S.Factored ? Factors : FromRows(A)) << S.StopAt;
  }
  // Stopped at every pass of a one-panel and a two-panel array (24 columns
  // a panel): what the column-by-column method leaves there.
  SetRandSeed(44);
  for (const int32_t N : {4, 27})
    for (int32_t StopAt = 1; StopAt <= 2 * N; ++StopAt) {
      TDouble2DArray X = RandomSquare(N), Want = X;
      test::CroutTextbook(Want, false, StopAt - 1);
      const double Start = ProcStat;
      AbortMathProc = false;
      MathFeedBackProc = [&](double P) { AbortMathProc = P - Start == StopAt; };
      EXPECT_EQ(InvertArray(X), -3);
      EXPECT_TRUE(SameBits(X, Want)) << N << " x " << N << ", stopped at pass " << StopAt;
    }
  // A host that resizes the array under the work stops it; the released
  // columns are not written (ASan watches).
  AbortMathProc = false;
  TDouble2DArray X = FromRows(A);
  const double Start = ProcStat;
  MathFeedBackProc = [&](double P) {
    if (P - Start == 5) X.assign(4, TDoubleArray(7, 1.0));
  };
  EXPECT_EQ(InvertArray(X), -3);
  EXPECT_EQ(X, TDouble2DArray(4, TDoubleArray(7, 1.0)));
}

TEST(TransposeAndTrace, ShapesCodesAndWrapping) {
  TDouble2DArray A = {{1, 2, 3}, {4, 5, 6}};  // two columns of three rows
  double T = 9;
  EXPECT_EQ(TraceOfArray(A, T), -2);
  EXPECT_EQ(T, 0.0);
  EXPECT_EQ(TraceOfArray(TDouble2DArray{{1.5, 9}, {9, 2.25}}, T) + T, 3.75);
  EXPECT_EQ(InvertArray(A), -1);
  ASSERT_EQ(TransposeArray(A), 0);
  EXPECT_EQ(A, (TDouble2DArray{{1, 4}, {2, 5}, {3, 6}}));
  TBool2DArray B = {{true, false}};
  ASSERT_EQ(TransposeArray(B), 0);
  EXPECT_EQ(B, (TBool2DArray{{true}, {false}}));
  TInt2DArray I = {{2147483647, 7}, {9, 1}};
  int32_t IT = 5;
  ASSERT_EQ(TraceOfArray(I, IT), 0);
  EXPECT_EQ(IT, -2147483648) << "wraps";
  ASSERT_EQ(TransposeArray(I), 0);
  EXPECT_EQ(I, (TInt2DArray{{2147483647, 9}, {7, 1}}));
  // Empty, without rows or ragged: -1, unchanged.
  for (TInt2DArray E : {TInt2DArray{}, TInt2DArray{{}}, TInt2DArray{{1, 2}, {3}}}) {
    const TInt2DArray Before = E;
    IT = 5;
    EXPECT_EQ(TransposeArray(E), -1);
    EXPECT_EQ(E, Before);
    EXPECT_EQ(TraceOfArray(E, IT), -1);
    EXPECT_EQ(IT, 0);
  }
}

TEST(CalcHatMatrix, ClosedFormsAndTheMatrixBits) {
  // A column of ones: every cell 1/n.
  TDouble2DArray H;
  ASSERT_EQ(CalcHatMatrix(TDouble2DArray{TDoubleArray(4, 1.0)}, H), 0);
  EXPECT_EQ(H, TDouble2DArray(4, TDoubleArray(4, 0.25)));
  // The quadratic on x = 0..4: the 5-point least-squares smoother of
  // Savitzky and Golay (Anal. Chem. 36, 1964), in 35ths; symmetric,
  // idempotent, trace 3.
  TDouble2DArray X = {{1, 1, 1, 1, 1}, {0, 1, 2, 3, 4}, {0, 1, 4, 9, 16}};
  const double W[5][5] = {
      {31, 9, -3, -5, 3}, {9, 13, 12, 6, -5}, {-3, 12, 17, 12, -3}, {-5, 6, 12, 13, 9}, {3, -5, -3, 9, 31}};
  ASSERT_EQ(CalcHatMatrix(X, H), 0);
  ASSERT_EQ(H.size(), 5u);
  double Trace = 0;
  for (int c = 0; c < 5; ++c) {
    Trace += H[c][c];
    for (int r = 0; r < 5; ++r) {
      EXPECT_NEAR(H[c][r], W[r][c] / 35, 1e-13);
      double HH = 0;
      for (int k = 0; k < 5; ++k) HH += H[k][r] * H[c][k];
      EXPECT_NEAR(HH, H[c][r], 1e-13);
    }
  }
  EXPECT_NEAR(Trace, 3.0, 1e-13);
  // Bit for bit TMatrix::CalcHatMatrix, on random data; H may be X.
  SetRandSeed(7);
  TDouble2DArray R(4, TDoubleArray(60));
  for (auto& Col : R)
    for (double& V : Col) V = Random() * 10 - 3;
  TMatrix MX(nullptr), MH(nullptr);
  ToMatrix(R, MX);
  ASSERT_TRUE(MX.CalcHatMatrix(&MH));
  ASSERT_EQ(CalcHatMatrix(R, R), 0);
  EXPECT_EQ(R, MH.Mat);
  // Codes: empty or ragged -1, dependent columns -3, an abort -3; H untouched.
  const TDouble2DArray Keep = {{5}};
  test::TProgressGuard Guard;
  const struct {
    TDouble2DArray X;
    bool Abort;
    int32_t Want;
  } Bad[] = {{{}, false, -1},
             {{{1, 2}, {3}}, false, -1},
             {{{1, 2, 3}, {2, 4, 6}}, false, -3},
             {{{1, 2, 3}, {2, 4, 7}}, true, -3},
             {{{1, 2, 3}, {2, std::nan(""), 7}}, false, -2}};
  for (const auto& B : Bad) {
    H = Keep;
    AbortMathProc = B.Abort;
    EXPECT_EQ(CalcHatMatrix(B.X, H), B.Want);
    EXPECT_EQ(H, Keep);
  }
}

}  // namespace
}  // namespace orv
