// TMatrix norms and balancing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace {

using orv::TMatrix;
using orv::test::AllRows;
using orv::test::FillRows;
using Rows = std::vector<std::vector<double>>;

TEST(MatrixNorm, FourKindsAgainstReferences) {
  // Column sum, row sum, spectral, Frobenius: for the 3 x 4 (wide) and its
  // transpose numpy.linalg.norm(A, 1 | inf | 2 | 'fro'), the others closed forms.
  const struct {
    Rows A;
    double Col, Row, Spectral, Frob;
  } Cases[] = {
      {{{1, -2, 3, 0.5}, {4, 5, -6, 2}, {-7, 8, 9, -1}}, 18, 25, 14.512168361667573, 17.03672503740082},
      {{{1, 4, -7}, {-2, 5, 8}, {3, -6, 9}, {0.5, 2, -1}}, 25, 18, 14.512168361667573, 17.03672503740082},
      {{{1, 2}, {-3, 0}}, 4, 3, std::sqrt(7 + std::sqrt(13.0)), std::sqrt(14.0)},  // A'A = [[10, 2], [2, 4]]
      {{{1, 1}, {1, 1}}, 2, 2, 2, 2},
      {{{3, 4}}, 4, 7, 5, 5},
      {{{1e200, 1e200}}, 1e200, 2e200, std::sqrt(2.0) * 1e200, std::sqrt(2.0) * 1e200},  // squares overflow
      {{{3e-200, 4e-200}}, 4e-200, 7e-200, 5e-200, 5e-200},                               // squares underflow
  };
  TMatrix M(nullptr);
  for (const auto& Cs : Cases) {
    FillRows(M, Cs.A);
    EXPECT_DOUBLE_EQ(M.Norm(orv::ntColwise), Cs.Col);
    EXPECT_DOUBLE_EQ(M.Norm(orv::ntRowwise), Cs.Row);
    EXPECT_NEAR(M.Norm(orv::ntSpectral), Cs.Spectral, 1e-15 * Cs.Spectral);
    EXPECT_DOUBLE_EQ(M.Norm(orv::ntFrobenius), Cs.Frob);
    EXPECT_EQ(M.Norm(static_cast<orv::TNormType>(9)), 0.0);
  }
  M.Resize(0, 3);
  EXPECT_EQ(M.Norm(orv::ntColwise) + M.Norm(orv::ntRowwise), 0.0);
  // A stopped decomposition raises the plain message; M stays as it was.
  orv::test::TProgressGuard Guard;
  FillRows(M, {{1, 2}, {3, 4}});
  orv::MathFeedBackProc = [](double) { orv::AbortMathProc = true; };
  orv::test::ExpectRaises<orv::EORVMatrixError>([&] { M.Norm(orv::ntSpectral); }, "near singular covariance matrix");
  EXPECT_EQ(AllRows(M), (Rows{{1, 2}, {3, 4}}));
}

TEST(MatrixBalance, SimilarityWithEvenedSums) {
  // Kept: the diagonal, the products a(i, j) a(j, i) of a diagonal
  // similarity and the characteristic polynomial, numpy.linalg.det(A - l I)
  // for l = 0, 1, 2.5. The off-diagonal sums of each row and column end
  // within 1.05^2 of each other.
  const Rows A = {{1, 100, 0.01}, {0.01, 2, 50}, {300, 0.1, 3}};
  TMatrix M(nullptr), Shift(nullptr);
  FillRows(M, A);
  ASSERT_TRUE(M.Balance());
  for (int32_t I = 1; I <= 3; ++I) {
    EXPECT_EQ(M.GetVal(I, I), A[I - 1][I - 1]);
    double R = 0, K = 0;
    for (int32_t J = 1; J <= 3; ++J) {
      EXPECT_NEAR(M.GetVal(J, I) * M.GetVal(I, J), A[I - 1][J - 1] * A[J - 1][I - 1], 1e-13 * 3e4);
      if (J != I) R += std::fabs(M.GetVal(J, I)), K += std::fabs(M.GetVal(I, J));
    }
    EXPECT_NEAR(std::log(R / K), 0.0, 2 * std::log(1.05)) << I;
  }
  for (const auto& [L, Det] : {std::pair{0.0, 1499992.0000099982}, {1.0, 1499995.0000100015}, {2.5, 1500008.8750099987}}) {
    Shift.Clone(&M);
    for (int32_t I = 1; I <= 3; ++I) Shift.SetVal(I, I, M.GetVal(I, I) - L);
    EXPECT_NEAR(Shift.Determinant(), Det, 1e-12 * Det) << L;
  }
  // Unchanged: a diagonal matrix, and a row whose off-diagonal sum is 0
  // beside a column whose sum is not (skipped, never divided by 0).
  for (const Rows& Same : {Rows{{2, 0}, {0, 3}}, Rows{{1, 1}, {0, 1}}}) {
    FillRows(M, Same);
    EXPECT_TRUE(M.Balance());
    EXPECT_EQ(AllRows(M), Same);
  }
  // NaN and infinite cells end the sweeps all the same; not square: false.
  const double Inf = std::numeric_limits<double>::infinity();
  for (const Rows& Bad : {Rows{{1, std::nan(""), 2}, {3, 1, 1e-300}, {1e300, 2, 1}}, Rows{{1, Inf}, {1e-300, 1}}}) {
    FillRows(M, Bad);
    EXPECT_TRUE(M.Balance());
  }
  M.Resize(2, 3);
  EXPECT_FALSE(M.Balance());
}

}  // namespace
