// CalcEigVec, the unit's eigen results and CalcPrincComp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_package.h"
#include "support/components.h"
#include "support/progress.h"

namespace orv {
namespace {

using test::FillRows;
using test::TProgressGuard;

std::vector<double> EigenVector(int32_t I) {
  std::vector<double> V;
  for (int32_t K = 1; K <= GetEigenSize(); ++K) V.push_back(GetEigenResult(I, K));
  return V;
}

// Eigenvector I equals Expected or its negative, within Tol.
void ExpectVectorUpToSign(int32_t I, const std::vector<double>& Expected, double Tol) {
  const std::vector<double> V = EigenVector(I);
  ASSERT_EQ(V.size(), Expected.size());
  const double Sign = V[0] * Expected[0] + V[1] * Expected[1] < 0 ? -1.0 : 1.0;
  for (std::size_t K = 0; K < V.size(); ++K) EXPECT_NEAR(V[K], Sign * Expected[K], Tol) << "component " << K + 1;
}

// The largest |A v - lambda v| over the eigen results, A given in full.
double Residual(const std::vector<std::vector<double>>& A) {
  const auto N = static_cast<int32_t>(A.size());
  double Worst = 0;
  for (int32_t I = 1; I <= N; ++I) {
    const std::vector<double> V = EigenVector(I);
    for (int32_t R = 0; R < N; ++R) {
      double S = 0;
      for (int32_t C = 0; C < N; ++C) S += A[R][C] * V[C];
      Worst = std::max(Worst, std::fabs(S - GetEigenResult(I, 0) * V[R]));
    }
  }
  return Worst;
}

TEST(CalcEigVec, TwoByTwoClosedForm) {
  TMatrix M;
  FillRows(M, {{2, 1}, {1, 2}});
  M.SetVal(1, 2, 7);  // the lower triangle is never read
  ASSERT_TRUE(CalcEigVec(&M));
  ASSERT_EQ(GetEigenSize(), 2);
  // One rotation, unsorted: 1 at position 1, 3 at position 2.
  EXPECT_DOUBLE_EQ(GetEigenResult(1, 0), 1.0);
  EXPECT_DOUBLE_EQ(GetEigenResult(2, 0), 3.0);
  const double H = std::numbers::sqrt2 / 2;
  ExpectVectorUpToSign(1, {H, -H}, 1e-15);
  ExpectVectorUpToSign(2, {H, H}, 1e-15);
  EXPECT_EQ(M.GetVal(2, 1), 0.0) << "the upper triangle is rotated to zero";
  EXPECT_EQ(M.GetVal(1, 2), 7.0) << "the lower triangle stays";
  EXPECT_EQ(M.GetVal(1, 1), 2.0) << "the diagonal stays";
  EXPECT_EQ(M.GetVal(2, 2), 2.0);
}

TEST(CalcEigVec, DiagonalMatrixNeedsOnePass) {
  TProgressGuard Guard;
  TMatrix M;
  FillRows(M, {{3, 0, 0}, {0, -1, 0}, {0, 0, 5}});
  int Calls = 0;
  MathFeedBackProc = [&](double) { ++Calls; };
  const double Before = ProcStat;
  ASSERT_TRUE(CalcEigVec(&M));
  EXPECT_EQ(ProcStat - Before, 1.0);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(GetEigenResult(1, 0), 3.0);
  EXPECT_EQ(GetEigenResult(2, 0), -1.0);
  EXPECT_EQ(GetEigenResult(3, 0), 5.0);
  for (int32_t I = 1; I <= 3; ++I)
    for (int32_t K = 1; K <= 3; ++K) EXPECT_EQ(GetEigenResult(I, K), I == K ? 1.0 : 0.0);
}

TEST(CalcEigVec, TridiagonalMatrixClosedForm) {
  // 2 on the diagonal, -1 beside it: eigenvalues 2 - 2 cos(k pi / (n + 1)),
  // eigenvectors sqrt(2 / (n + 1)) sin(j k pi / (n + 1)).
  constexpr int32_t N = 12;
  std::vector<std::vector<double>> A(N, std::vector<double>(N, 0.0));
  for (int32_t I = 0; I < N; ++I) {
    A[I][I] = 2;
    if (I + 1 < N) A[I][I + 1] = A[I + 1][I] = -1;
  }
  TMatrix M;
  FillRows(M, A);
  ASSERT_TRUE(CalcEigVec(&M));
  std::vector<bool> Matched(N + 1, false);
  for (int32_t I = 1; I <= N; ++I) {
    const double L = GetEigenResult(I, 0);
    // cos(k pi / 13) = 1 - L / 2 gives k.
    const auto K = static_cast<int32_t>(std::lround(std::acos(1 - L / 2) * (N + 1) / std::numbers::pi));
    ASSERT_GE(K, 1);
    ASSERT_LE(K, N);
    EXPECT_FALSE(Matched[K]);
    Matched[K] = true;
    EXPECT_NEAR(L, 2 - 2 * std::cos(K * std::numbers::pi / (N + 1)), 1e-14);
    std::vector<double> V(N);
    for (int32_t J = 0; J < N; ++J) V[J] = std::sqrt(2.0 / (N + 1)) * std::sin((J + 1) * K * std::numbers::pi / (N + 1));
    ExpectVectorUpToSign(I, V, 1e-13);
  }
  for (int32_t C = 2; C <= N; ++C)
    for (int32_t R = 1; R < C; ++R) EXPECT_EQ(M.GetVal(C, R), 0.0);
}

TEST(CalcEigVec, AgreesWithLapack) {
  // numpy.linalg.eigh (LAPACK dsyevd) of this matrix, numpy 1.24:
  const std::vector<std::vector<double>> A = {{4, 1, -2, 2, 0.5, 3},       {1, 2, 0, 1, -1, 0.25},
                                              {-2, 0, 3, -2, 1.5, 1},      {2, 1, -2, -1, 0, 2},
                                              {0.5, -1, 1.5, 0, 5, -0.75}, {3, 0.25, 1, 2, -0.75, 1}};
  const double Values[6] = {-3.397619128516308, -0.9440140469099277, 1.5976652494756662,
                            3.1577406601585105, 5.568700354688738,   8.017526911103317};
  const std::vector<std::vector<double>> Vectors = {
      {-0.16402805454219765, 0.1623756443269337, -0.38778888998737365, -0.6998598775143922, 0.14606646606666512,
       0.5340500571961498},
      {-0.6073754342416766, 0.011378688777131, -0.16882785712221457, 0.613761536879923, 0.1523949334927916,
       0.4500392450370218},
      {0.10069405746430063, -0.9002333630694245, 0.0674918570950176, -0.05775263087424481, -0.23377786894878172,
       0.3419034800215188},
      {-0.0281156398008334, -0.31609058673794627, -0.771124427794886, 0.05075498287439158, 0.2687276509774822,
       -0.4794504666238263},
      {-0.370146062157266, 0.10510925981237856, -0.2272405295887822, -0.08226212509679766, -0.8724683206495931,
       -0.17982672248809795},
      {-0.6754642769697536, -0.22830539210714007, 0.41266286391916424, -0.34758371050355286, 0.25956262980115846,
       -0.3648928947209786}};
  TMatrix M;
  FillRows(M, A);
  ASSERT_TRUE(CalcEigVec(&M));
  for (int32_t I = 1; I <= 6; ++I) {
    const double L = GetEigenResult(I, 0);
    const auto* Hit = std::min_element(Values, Values + 6, [&](double X, double Y) {
      return std::fabs(X - L) < std::fabs(Y - L);
    });
    EXPECT_NEAR(L, *Hit, 1e-13);
    ExpectVectorUpToSign(I, Vectors[static_cast<std::size_t>(Hit - Values)], 1e-13);
  }
  EXPECT_LT(Residual(A), 1e-13);
}

// A larger symmetric matrix of a smooth pattern.
std::vector<std::vector<double>> Pattern(int32_t N) {
  std::vector<std::vector<double>> A(N, std::vector<double>(N));
  for (int32_t R = 0; R < N; ++R)
    for (int32_t C = 0; C <= R; ++C) A[R][C] = A[C][R] = std::cos(0.7 * R * C + R + C) + (R == C ? 0.1 * R : 0.0);
  return A;
}

TEST(CalcEigVec, CellWritesWithHandlerGiveTheSameResults) {
  // With an OnChange handler every cell goes through the component one by
  // one; without it the method runs on a copy. Both must give the same bits.
  for (int32_t N : {1, 2, 9, 37}) {
    const auto A = Pattern(N);
    TMatrix Plain, Watched;
    FillRows(Plain, A);
    FillRows(Watched, A);
    int Writes = 0;
    Watched.OnChange = [&](TObject*) { ++Writes; };
    ASSERT_TRUE(CalcEigVec(&Plain));
    std::vector<double> First;
    for (int32_t I = 1; I <= N; ++I)
      for (int32_t K = 0; K <= N; ++K) First.push_back(GetEigenResult(I, K));
    ASSERT_TRUE(CalcEigVec(&Watched));
    std::vector<double> Second;
    for (int32_t I = 1; I <= N; ++I)
      for (int32_t K = 0; K <= N; ++K) Second.push_back(GetEigenResult(I, K));
    ASSERT_EQ(First.size(), Second.size());
    EXPECT_EQ(std::memcmp(First.data(), Second.data(), First.size() * sizeof(double)), 0) << "N = " << N;
    for (int32_t C = 1; C <= N; ++C)
      for (int32_t R = 1; R <= N; ++R) EXPECT_EQ(Plain.GetVal(C, R), Watched.GetVal(C, R));
    EXPECT_EQ(Writes > 0, N > 1);
    EXPECT_LT(Residual(A), 1e-12) << "N = " << N;
    // The eigenvectors are orthonormal.
    for (int32_t I = 1; I <= N; ++I)
      for (int32_t J = I; J <= N; ++J) {
        double Dot = 0;
        for (int32_t K = 1; K <= N; ++K) Dot += GetEigenResult(I, K) * GetEigenResult(J, K);
        EXPECT_NEAR(Dot, I == J ? 1.0 : 0.0, 1e-13);
      }
  }
}

TEST(CalcEigVec, CellsAreWrittenInTheOrderOfTheRotation) {
  // The first rotation of a 3 x 3 matrix, pivot (1, 2): the pivot cell (2, 1)
  // := 0, then the pair of cells (3, 1) and (3, 2).
  TMatrix M;
  FillRows(M, {{1, 5, 2}, {5, 3, 4}, {2, 4, 6}});
  std::vector<double> Snapshot = {M.GetVal(2, 1), M.GetVal(3, 1), M.GetVal(3, 2)};
  std::vector<int> Changed;
  M.OnChange = [&](TObject*) {
    const std::vector<double> Now = {M.GetVal(2, 1), M.GetVal(3, 1), M.GetVal(3, 2)};
    int Which = -1;
    for (int I = 0; I < 3; ++I)
      if (Now[I] != Snapshot[I]) Which = I;
    Changed.push_back(Which);
    Snapshot = Now;
  };
  ASSERT_TRUE(CalcEigVec(&M));
  ASSERT_GE(Changed.size(), 3u);
  EXPECT_EQ(Changed[0], 0);
  EXPECT_EQ(Changed[1], 1);
  EXPECT_EQ(Changed[2], 2);
  EXPECT_EQ(M.GetVal(1, 2), 5.0);
}

TEST(CalcEigVec, CellsOfMissingRowsReadZeroAndTakeNoWrites) {
  // Three columns, one row: only cells (2, 1) and (3, 1) of the upper
  // triangle exist; the diagonal reads 1, 0, 0.
  TMatrix M;
  M.Resize(3, 1);
  M.SetVal(1, 1, 1);
  M.SetVal(2, 1, 2);
  M.SetVal(3, 1, 3);
  ASSERT_TRUE(CalcEigVec(&M));
  EXPECT_EQ(M.NrOfRows(), 1);
  EXPECT_EQ(M.GetVal(2, 1), 0.0);
  EXPECT_EQ(M.GetVal(3, 1), 0.0);
  EXPECT_EQ(M.GetVal(1, 1), 1.0);
  EXPECT_EQ(GetEigenSize(), 3);
}

TEST(CalcEigVec, ResultsAreUnitStateWithTheirAccessRules) {
  EXPECT_FALSE(CalcEigVec(nullptr));
  TMatrix M;
  FillRows(M, {{2, 1}, {1, 2}});
  ASSERT_TRUE(CalcEigVec(&M));
  EXPECT_EQ(GetEigenResult(0, 0), 0.0);
  EXPECT_EQ(GetEigenResult(3, 0), 0.0);
  EXPECT_EQ(GetEigenResult(1, -1), 0.0);
  EXPECT_EQ(GetEigenResult(1, 3), 0.0);
  EXPECT_NE(GetEigenResult(1, 2), 0.0);
  // More than 10000 columns: false, the results stay.
  TMatrix Wide;
  Wide.Resize(10001, 1);
  EXPECT_FALSE(CalcEigVec(&Wide));
  EXPECT_EQ(GetEigenSize(), 2);
  EXPECT_DOUBLE_EQ(GetEigenResult(2, 0), 3.0);
  RemoveEigenMatrix();
  EXPECT_EQ(GetEigenResult(1, 0), 0.0);
  EXPECT_EQ(GetEigenResult(2, 1), 0.0);
  EXPECT_EQ(GetEigenSize(), 2) << "the size outlives the arrays";
  RemoveEigenMatrix();
  // An empty matrix: size 0, nothing to read.
  TMatrix Empty;
  Empty.Resize(0, 0);
  EXPECT_TRUE(CalcEigVec(&Empty));
  EXPECT_EQ(GetEigenSize(), 0);
  // Shut-down frees the results; start-up clears AbortMathProc.
  ASSERT_TRUE(CalcEigVec(&M));
  Finalize();
  EXPECT_EQ(GetEigenResult(1, 0), 0.0);
  AbortMathProc = true;
  Initialize();
  EXPECT_FALSE(AbortMathProc);
}

TEST(CalcEigVec, AbortAndTheSweepLimitEndWithFalseAndResultsInPlace) {
  TProgressGuard Guard;
  const auto A = Pattern(8);
  TMatrix M;
  FillRows(M, A);
  int Calls = 0;
  MathFeedBackProc = [&](double) {
    if (++Calls == 40) AbortMathProc = true;
  };
  AbortMathProc = true;  // cleared at the start
  EXPECT_FALSE(CalcEigVec(&M));
  EXPECT_EQ(Calls, 40) << "no visit after the one that set the flag";
  EXPECT_EQ(GetEigenSize(), 8);
  EXPECT_NE(GetEigenResult(8, 8), 0.0) << "partial results readable";
  // A NaN never reaches an off-diagonal sum of exactly 0: 100 sweeps, each
  // one pass and 3 visits.
  MathFeedBackProc = nullptr;
  AbortMathProc = false;
  FillRows(M, {{1, std::numeric_limits<double>::quiet_NaN(), 0}, {0, 2, 1}, {0, 1, 3}});
  const double Before = ProcStat;
  EXPECT_FALSE(CalcEigVec(&M));
  EXPECT_EQ(ProcStat - Before, 100 * (1 + 3));
}

TEST(CalcPrincComp, ScalesAndSortsTheTwoByTwoExample) {
  // Raw cross products of these columns: [[2, 1], [1, 2]].
  TMatrix D;
  FillRows(D, {{2, 2}, {2, 0}, {0, 2}, {0, 0}, {0, 0}});
  ASSERT_TRUE(CalcPrincComp(&D, 0, 0, 0, 0, 0));
  EXPECT_DOUBLE_EQ(GetEigenResult(1, 0), 0.75);
  EXPECT_DOUBLE_EQ(GetEigenResult(2, 0), 0.25);
  const double H = std::numbers::sqrt2 / 2;
  ExpectVectorUpToSign(1, {H, H}, 1e-15);
  ExpectVectorUpToSign(2, {H, -H}, 1e-15);
  ASSERT_TRUE(CalcPrincComp(&D, 0, 0, 0, 0, 0, false));
  EXPECT_DOUBLE_EQ(GetEigenResult(1, 0), 3.0);
  EXPECT_DOUBLE_EQ(GetEigenResult(2, 0), 1.0);
  ExpectVectorUpToSign(1, {H, H}, 1e-15);
  EXPECT_EQ(D.GetVal(1, 1), 2.0) << "the data stay";
}

TEST(CalcPrincComp, CorrelationComponentsAgreeWithLapack) {
  TMatrix D;
  FillRows(D, {{2.5, 2.4, 1.2, 0.5},
               {0.5, 0.7, 3.1, 1.5},
               {2.2, 2.9, 0.8, 0.9},
               {1.9, 2.2, 1.5, 1.1},
               {3.1, 3.0, 0.2, 0.3},
               {2.3, 2.7, 1.9, 1.7},
               {2.0, 1.6, 2.2, 0.4},
               {1.0, 1.1, 2.8, 1.9},
               {1.5, 1.6, 2.5, 0.8},
               {1.1, 0.9, 3.0, 1.3}});
  // numpy.linalg.eigh(numpy.corrcoef(data, rowvar=False)), descending, numpy 1.24.
  const double Values[4] = {3.2871608383955104, 0.6031974473907056, 0.08230171814287748, 0.0273399960709059};
  const std::vector<std::vector<double>> Vectors = {
      {-0.5376481285913128, -0.5147434686024213, 0.5340841922041774, 0.400908626735592},
      {-0.08649286347473333, -0.43459092208860517, 0.15665183327628981, -0.8826720331682056},
      {0.6884550976338271, 0.05616288404359637, 0.7223439411247352, 0.03308382865219454},
      {0.4790438945777282, -0.7368959373108452, -0.4104065173570878, 0.243038711223952}};
  ASSERT_TRUE(CalcPrincComp(&D, 0, 0, 0, 0, 2, false));
  for (int32_t I = 1; I <= 4; ++I) {
    EXPECT_NEAR(GetEigenResult(I, 0), Values[I - 1], 1e-13);
    ExpectVectorUpToSign(I, Vectors[I - 1], 1e-12);
  }
  // Normalized: shares of the trace 4.
  ASSERT_TRUE(CalcPrincComp(&D, 0, 0, 0, 0, 2));
  for (int32_t I = 1; I <= 4; ++I) EXPECT_NEAR(GetEigenResult(I, 0), Values[I - 1] / 4, 1e-14);
  // numpy.cov eigenvalues, descending: columns 1..4 with scaling 1.
  ASSERT_TRUE(CalcPrincComp(&D, 1, 4, 1, 10, 1, false));
  EXPECT_NEAR(GetEigenResult(1, 0), 2.302007634398767, 1e-13);
  EXPECT_NEAR(GetEigenResult(4, 0), 0.0180706278612604, 1e-13);
}

TEST(CalcPrincComp, PositiveValuesComeFirstWithTheirVectors) {
  // Scaling 4 gives a zero diagonal: eigenvalues of both signs.
  TMatrix D, C;
  FillRows(D, {{1, 4, 2, 8}, {3, 1, 5, 2}, {2, 2, 7, 1}, {6, 3, 1, 1}, {0, 5, 3, 4}});
  C.Resize(4, 4);
  ASSERT_TRUE(CalcCovar(&D, &C, 0, 0, 0, 0, 4));
  std::vector<std::vector<double>> A(4, std::vector<double>(4));
  for (int32_t R = 0; R < 4; ++R)
    for (int32_t Col = 0; Col < 4; ++Col) A[R][Col] = C.GetVal(Col + 1, R + 1);
  ASSERT_TRUE(CalcPrincComp(&D, 0, 0, 0, 0, 4, false));
  int32_t Positives = 0;
  while (Positives < 4 && GetEigenResult(Positives + 1, 0) > 0) ++Positives;
  ASSERT_GE(Positives, 1);
  ASSERT_LT(Positives, 4);
  for (int32_t I = Positives + 1; I <= 4; ++I) EXPECT_LE(GetEigenResult(I, 0), 0.0);
  for (int32_t I = 1; I < Positives; ++I) EXPECT_GT(GetEigenResult(I, 0), GetEigenResult(I + 1, 0));
  EXPECT_LT(Residual(A), 1e-12) << "each vector moved with its value";
}

TEST(CalcPrincComp, FailsWhenAStepFails) {
  TMatrix D;
  FillRows(D, {{1, 2}, {2, 1}, {3, 5}});
  EXPECT_FALSE(CalcPrincComp(nullptr, 0, 0, 0, 0, 1));
  EXPECT_FALSE(CalcPrincComp(&D, 2, 1, 0, 0, 1)) << "reversed columns";
  EXPECT_FALSE(CalcPrincComp(&D, 1, 2, 3, 3, 1)) << "one row";
  EXPECT_FALSE(CalcPrincComp(&D, 1, 10001, 0, 0, 1)) << "beyond what CalcEigVec takes";
}

}  // namespace
}  // namespace orv
