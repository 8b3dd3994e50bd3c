// PseudoInverse and MahalanobisDistance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace orv {
namespace {

using Rows = std::vector<std::vector<double>>;
using test::AllRows;
using test::FillRows;

TEST(PseudoInverse, NumPyMoorePenroseAndThreshold) {
  // numpy.linalg.pinv of a tall, a wide (decomposed as if padded with a
  // zero row) and a rank-deficient matrix; then A P A = A and A P symmetric.
  const struct {
    Rows A, Want;
  } Cases[] = {
      {{{1, 2}, {3, 4}, {5, 6}},
       {{-1.3333333333333337, -0.3333333333333329, 0.6666666666666665},
        {1.0833333333333337, 0.333333333333333, -0.4166666666666665}}},
      {{{1, 0, 2}, {0, 3, 1}},
       {{0.21739130434782594, -0.043478260869565216},
        {-0.1304347826086956, 0.32608695652173914},
        {0.39130434782608664, 0.021739130434782636}}},
      {{{1, 2, 3}, {2, 4, 6}, {1, 0, 1}},
       {{-0.03333333333333385, -0.0666666666666666, 0.8333333333333338},
        {0.06666666666666708, 0.13333333333333325, -0.666666666666667},
        {0.03333333333333324, 0.06666666666666665, 0.1666666666666668}}},
  };
  TMatrix A(nullptr), P(nullptr), AP(nullptr), APA(nullptr);
  for (const auto& Cs : Cases) {
    FillRows(A, Cs.A);
    ASSERT_TRUE(PseudoInverse(&A, &P, 0.0));
    EXPECT_EQ(AllRows(A), Cs.A) << "A unchanged";
    ASSERT_EQ(AllRows(P).size(), Cs.Want.size());
    for (std::size_t R = 0; R < Cs.Want.size(); ++R)
      for (std::size_t C = 0; C < Cs.A.size(); ++C) EXPECT_NEAR(AllRows(P)[R][C], Cs.Want[R][C], 1e-14);
    ASSERT_TRUE(A.Multiply(&P, &AP));
    ASSERT_TRUE(AP.Multiply(&A, &APA));
    for (int32_t R = 1; R <= A.NrOfRows(); ++R) {
      for (int32_t C = 1; C <= A.NrOfColumns(); ++C) EXPECT_NEAR(APA.GetVal(C, R), A.GetVal(C, R), 1e-14);
      for (int32_t C = 1; C <= A.NrOfRows(); ++C) EXPECT_NEAR(AP.GetVal(C, R), AP.GetVal(R, C), 1e-14);
    }
  }
  // Thresh 0 follows the largest value: 2 * 1 * 1.2e-16 drops 1e-17, 1e-20
  // keeps it. In place.
  FillRows(A, {{1, 0}, {0, 1e-17}});
  ASSERT_TRUE(PseudoInverse(&A, &P, 0.0));
  EXPECT_EQ(AllRows(P), (Rows{{1, 0}, {0, 0}}));
  ASSERT_TRUE(PseudoInverse(&A, &A, 1e-20));
  EXPECT_EQ(AllRows(A), (Rows{{1, 0}, {0, 1e17}}));
  // Stopped: false, PInv m columns by n rows all the same.
  test::TProgressGuard Guard;
  FillRows(A, {{1, 2}, {3, 4}, {5, 6}});
  MathFeedBackProc = [](double) { AbortMathProc = true; };
  EXPECT_FALSE(PseudoInverse(&A, &P, 0.0));
  EXPECT_EQ(P.NrOfColumns() * 10 + P.NrOfRows(), 32);
  EXPECT_FALSE(PseudoInverse(nullptr, &P, 0.0));
  EXPECT_FALSE(PseudoInverse(&A, nullptr, 0.0));
}

TEST(MahalanobisDistance, ReferencesAndErrors) {
  // The identity gives the Euclidean distance; a full inverse covariance:
  // scipy.spatial.distance.mahalanobis([1, 2, 3], [0.5, -1, 2], VI).
  TVector U(nullptr), V(nullptr);
  TMatrix I(nullptr);
  test::FillValues(U, {1, 2, 3});
  test::FillValues(V, {0.5, -1, 2});
  FillRows(I, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  EXPECT_DOUBLE_EQ(MahalanobisDistance(&U, &V, &I), std::sqrt(0.25 + 9 + 1));
  FillRows(I, {{2, 0.5, 0}, {0.5, 1, 0.25}, {0, 0.25, 3}});
  EXPECT_NEAR(MahalanobisDistance(&U, &V, &I), 3.9370039370059056, 1e-15);
  EXPECT_EQ(MahalanobisDistance(nullptr, &V, &I), 0.0);
  const auto Raises = [&](const std::string& Problem) {
    test::ExpectRaises<EORVVectorError>([&] { MahalanobisDistance(&U, &V, &I); }, "MahalanobisDistance: " + Problem);
  };
  FillRows(I, {{1, -5, 0}, {-5, 1, 0}, {0, 0, 1}});  // d' I d = -4.75
  Raises("the inverse covariance matrix must be symmetric and positive definite");
  test::FillValues(V, {0.5, -1});
  Raises("dimensions of vectors do not match");
  test::FillValues(U, {1, 2});
  Raises("dimension of vectors and inverse covariance matrix do not match");
  I.Resize(2, 3);
  Raises("inverse covariance matrix is not quadratric");
}

}  // namespace
}  // namespace orv
