// The singular value decomposition (internal, linalg/svd.h): NumPy values,
// reconstruction and orthogonality, progress and abort; least squares on the
// NIST Longley data.
#include "linalg/svd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/components.h"
#include "support/progress.h"

namespace orv {
namespace {

using Rows = std::vector<std::vector<double>>;
using detail::Ix1;

// The largest error of U diag(W) V' = A, V'V = I and (m >= n) U'U = I.
double Worst(const Rows& A, const TMatrix& U, const TMatrix& V, const TVector& W) {
  const auto M = static_cast<int32_t>(A.size()), N = static_cast<int32_t>(A[0].size());
  double E = 0, Top = 1e-300;
  for (int32_t K = 1; K <= N; ++K) Top = std::max(Top, W.GetVal(K));
  for (int32_t I = 1; I <= std::max(M, N); ++I)
    for (int32_t J = 1; J <= N; ++J) {
      double S = 0, Sv = 0, Su = 0;
      for (int32_t K = 1; K <= N; ++K) S += U.GetVal(K, I) * W.GetVal(K) * V.GetVal(K, J);
      for (int32_t K = 1; K <= N; ++K) Sv += V.GetVal(I, K) * V.GetVal(J, K);
      for (int32_t K = 1; K <= M; ++K) Su += U.GetVal(I, K) * U.GetVal(J, K);
      if (I <= M) E = std::max(E, std::fabs(S - A[Ix1(I)][Ix1(J)]) / Top);
      if (I <= N) E = std::max({E, std::fabs(Sv - (I == J)), M >= N ? std::fabs(Su - (I == J)) : 0.0});
    }
  return E;
}

TEST(CalcSVD, AgainstNumPyWithItsIdentities) {
  // Sorted values from numpy.linalg.svd(A, compute_uv=False); a wide matrix
  // decomposes as if padded with zero rows, so its extra values are 0.
  const struct {
    Rows A;
    std::vector<double> Want;
  } Cases[] = {
      {{{3, 0}, {0, -2}}, {3, 2}},  // closed form: the sign goes into V
      {{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}, {-1, 0.5, 2}}, {17.453925186009013, 2.136419423191797, 0.21495964600171694}},
      {{{3, 1, 2}, {-1, 4, 0.5}}, {4.266373286060542, 3.6122097093038437, 0}},
      {{{1, 2, 3}, {2, 4, 6}, {1, 0, 1}}, {8.435448515787048, 0.9182637624920782, 0}},
      {{{0, 0}, {0, 0}, {0, 0}}, {0, 0}},
      // Far from 1 the shift's squares would overflow or underflow: the
      // matrix is decomposed scaled by a power of 2.
      {{{3e200, 0}, {0, -2e200}}, {3e200, 2e200}},
      {{{1e-200, 2e-200}, {4e-200, 5e-200}}, {6.7678289356323695e-200, 0.44327361529561016e-200}},
  };
  for (const auto& Cs : Cases) {
    TMatrix U(nullptr), V(nullptr);
    TVector W(nullptr);
    test::FillRows(U, Cs.A);
    ASSERT_TRUE(detail::CalcSVD(&U, &V, &W));
    std::vector<double> Got = test::Values(W);
    EXPECT_TRUE(std::all_of(Got.begin(), Got.end(), [](double X) { return X >= 0; }));
    std::sort(Got.rbegin(), Got.rend());
    for (std::size_t J = 0; J < Got.size(); ++J) EXPECT_NEAR(Got[J], Cs.Want[J], 1e-14 * Cs.Want[0]) << J;
    EXPECT_LT(Worst(Cs.A, U, V, W), 2e-15 * 8);
  }
  // Random matrices across the kernels' blocks, tall, square and wide; the
  // matrices fire OnChange once at the end (V also when it is resized).
  SetRandSeed(3);
  for (const auto& [M, N] : std::vector<std::pair<int32_t, int32_t>>{{60, 40}, {40, 40}, {25, 70}}) {
    Rows A(detail::Ix(M), std::vector<double>(detail::Ix(N)));
    for (auto& R : A)
      for (double& X : R) X = Random() - 0.5;
    TMatrix U(nullptr), V(nullptr);
    TVector W(nullptr);
    test::FillRows(U, A);
    test::TChangeCounter UChanges, VChanges;
    UChanges.Attach(U);
    VChanges.Attach(V);
    ASSERT_TRUE(detail::CalcSVD(&U, &V, &W));
    EXPECT_EQ(UChanges.Count, 1);
    EXPECT_EQ(VChanges.Count, 2);
    EXPECT_LT(Worst(A, U, V, W), 1e-13) << M << " x " << N;
  }
}

TEST(CalcSVD, ProgressAbortAndHelpers) {
  test::TPassCounter Passes;
  const Rows A = {{1, 2, 3}, {4, 5, 6}, {7, 8, 10}, {-1, 0.5, 2}};
  TMatrix U(nullptr), V(nullptr);
  TVector W(nullptr);
  test::FillRows(U, A);
  ASSERT_TRUE(detail::CalcSVD(&U, &V, &W));
  EXPECT_EQ(Passes.Passes(), 12.0) << "one per step of each of four phases";
  for (const double StopAt : {1.0, 7.0, 12.0}) {  // an abort from the feedback stops at that pass
    test::FillRows(U, A);
    const double Start = ProcStat;
    MathFeedBackProc = [&](double P) { AbortMathProc = P - Start == StopAt; };
    EXPECT_FALSE(detail::CalcSVD(&U, &V, &W)) << StopAt;
    EXPECT_EQ(ProcStat - Start, StopAt);
  }
  AbortMathProc = false;
  MathFeedBackProc = [&](double) { U.Resize(2, 2); };  // resized under the work: stopped, no crash
  EXPECT_FALSE(detail::CalcSVD(&U, &V, &W));
  EXPECT_FALSE(detail::CalcSVD(&U, &U, &W));
  EXPECT_FALSE(detail::CalcSVD(nullptr, &V, &W));
  // Sign transfer: 0 and -0.0 count as positive.
  EXPECT_EQ(detail::SignTransfer(-3, -0.0), 3);
  EXPECT_EQ(detail::SignTransfer(3, -1e-300), -3);
  EXPECT_EQ(detail::LargerOf(-1, 2), 2);
}

TEST(SVDSolve, MinimumNormAndNistLongley) {
  // Two equal columns: numpy.linalg.lstsq(A, b, rcond=None)[0], the minimum
  // norm solution.
  TMatrix A(nullptr);
  TVector B(nullptr), X(nullptr), Se(nullptr);
  test::FillRows(A, {{1, 1, 2}, {1, 1, 3}, {1, 1, 5}, {1, 1, 7}});
  test::FillValues(B, {1, 2, 2, 4});
  X.Resize(3);
  bool Zeroed = false;
  ASSERT_TRUE(detail::SVDSolve(&A, &B, &X, nullptr, Zeroed));
  EXPECT_TRUE(Zeroed);
  const double Want[] = {0.008474576271186394, 0.008474576271186418, 0.525423728813559};
  for (int32_t J = 1; J <= 3; ++J) EXPECT_NEAR(X.GetVal(J), Want[J - 1], 1e-14) << J;
  // NIST StRD Longley (employment on six predictors and an intercept):
  // certified coefficients and standard deviations, the residual standard
  // deviation 304.854073561965.
  const double Data[16][7] = {
      {60323, 83, 234289, 2356, 1590, 107608, 1947},    {61122, 88.5, 259426, 2325, 1456, 108632, 1948},
      {60171, 88.2, 258054, 3682, 1616, 109773, 1949},  {61187, 89.5, 284599, 3351, 1650, 110929, 1950},
      {63221, 96.2, 328975, 2099, 3099, 112075, 1951},  {63639, 98.1, 346999, 1932, 3594, 113270, 1952},
      {64989, 99, 365385, 1870, 3547, 115094, 1953},    {63761, 100, 363112, 3578, 3350, 116219, 1954},
      {66019, 101.2, 397469, 2904, 3048, 117388, 1955}, {67857, 104.6, 419180, 2822, 2857, 118734, 1956},
      {68169, 108.4, 442769, 2936, 2798, 120445, 1957}, {66513, 110.8, 444546, 4681, 2637, 121950, 1958},
      {68655, 112.6, 482704, 3813, 2552, 123366, 1959}, {69564, 114.2, 502601, 3931, 2514, 125368, 1960},
      {69331, 115.7, 518173, 4806, 2572, 127852, 1961}, {70551, 116.9, 554894, 4007, 2827, 130081, 1962}};
  const double Coef[7] = {-3482258.63459582, 15.0618722713733,  -0.358191792925910E-01, -2.02022980381683,
                          -1.03322686717359, -0.511041056535807E-01, 1829.15146461355};
  const double Sd[7] = {890420.383607373,  84.9149257747669,  0.334910077722432E-01, 0.488399681651699,
                        0.214274163161675, 0.226073200069370, 455.478499142212};
  A.Resize(7, 16);
  B.Resize(16);
  for (int32_t R = 1; R <= 16; ++R) {
    B.SetVal(R, Data[R - 1][0]);
    A.SetVal(1, R, 1.0);
    for (int32_t C = 2; C <= 7; ++C) A.SetVal(C, R, Data[R - 1][C - 1]);
  }
  X.Resize(7);
  Se.Resize(7);
  ASSERT_TRUE(detail::SVDSolve(&A, &B, &X, &Se, Zeroed));
  EXPECT_FALSE(Zeroed);
  for (int32_t J = 1; J <= 7; ++J) {
    EXPECT_NEAR(X.GetVal(J), Coef[J - 1], 1e-6 * std::fabs(Coef[J - 1])) << J;
    EXPECT_NEAR(Se.GetVal(J) * 304.854073561965, Sd[J - 1], 1e-6 * Sd[J - 1]) << J;
  }
}

}  // namespace
}  // namespace orv
