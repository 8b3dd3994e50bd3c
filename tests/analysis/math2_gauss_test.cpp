// Gaussian peaks, the Gaussian hill, the sigmoid curve, Gaussian kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"

namespace orv {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(GaussianArrays, ClosedForms) {
  // Peaks: height exp(-((i - position) / width)^2) at sample i = element
  // i - 1, summed; width 0 is the limit (its height at its position only).
  TDoubleArray S(10, 9.0);
  ASSERT_EQ(CreateGaussianPeaks({{5, 2, 1}}, S), 0);
  EXPECT_EQ(S.size(), 10u);
  EXPECT_EQ(S[4], 1.0);
  EXPECT_DOUBLE_EQ(S[2], std::exp(-1.0));
  EXPECT_DOUBLE_EQ(S[6], std::exp(-1.0));
  S.assign(5, 0.0);
  ASSERT_EQ(CreateGaussianPeaks({{2, 1, 3}, {4, 2, 1}, {3, 0, 10}, {1.5, 0, 100}}, S), 0);
  EXPECT_DOUBLE_EQ(S[2], 3 * std::exp(-1.0) + std::exp(-0.25) + 10);
  EXPECT_DOUBLE_EQ(S[0], 3 * std::exp(-1.0) + std::exp(-2.25));
  // Hill: Height exp(-((i - ci)^2 + (j - cj)^2) / w^2) at [i - 1][j - 1];
  // centres far away give 0, not NaN.
  TDouble2DArray H(3, TDoubleArray(4));
  ASSERT_EQ(Gauss2D(2, 3, 2.0, 5.0, H), 0);
  EXPECT_EQ(H[1][2], 5.0);
  EXPECT_DOUBLE_EQ(H[0][0], 5 * std::exp(-5.0 / 4));
  EXPECT_DOUBLE_EQ(H[2][3], 5 * std::exp(-2.0 / 4));
  ASSERT_EQ(Gauss2D(INT32_MIN, INT32_MAX, 1.0, 1.0, H), 0);
  EXPECT_EQ(H[0][0], 0.0);
  // Sigmoid: low + range / (1 + exp(-s (i - centre))); s = 0 gives the middle.
  TDoubleArray C(5, 9.0);
  ASSERT_EQ(CreateSigmoidArray(C, 0.0, 2.0, 4.0, 3), 0);
  EXPECT_EQ(C, TDoubleArray(5, 4.0));
  ASSERT_EQ(CreateSigmoidArray(C, 2.0, -1.0, 3.0, 3), 0);
  EXPECT_EQ(C[2], 0.5);
  EXPECT_DOUBLE_EQ(C[0], -1 + 3 / (1 + std::exp(4.0)));
  ASSERT_EQ(CreateSigmoidArray(C, 1000.0, 1.0, 2.0, 3), 0);
  EXPECT_EQ(C.front(), 1.0);
  EXPECT_EQ(C.back(), 3.0);
}

TEST(GaussianArrays, CodesLeaveTheArrays) {
  // Peaks: -1 no peaks, -2 fewer than 3 samples (winning).
  const struct {
    TPeakParamsList Peaks;
    std::size_t N;
    int32_t Want;
  } Peaks[] = {{{}, 5, -1}, {{{1, 1, 1}}, 2, -2}, {{}, 2, -2}, {{{1, 1, 1}}, 0, -2}};
  for (const auto& R : Peaks) {
    TDoubleArray T(R.N, 7.0);
    EXPECT_EQ(CreateGaussianPeaks(R.Peaks, T), R.Want) << R.N;
    EXPECT_EQ(T, TDoubleArray(R.N, 7.0));
  }
  // Hill: -1 width not above 0, -2 (winning) smaller than 2 x 2 or ragged.
  TDouble2DArray Ragged(3, TDoubleArray(4, 7.0));
  Ragged[1].resize(2);  // a shorter column would be overrun
  const struct {
    double Width;
    TDouble2DArray A;
    int32_t Want;
  } Hills[] = {{0.0, TDouble2DArray(3, TDoubleArray(3, 7.0)), -1}, {-1.0, TDouble2DArray(3, TDoubleArray(3, 7.0)), -1},
               {NaN, TDouble2DArray(3, TDoubleArray(3, 7.0)), -1}, {1.0, TDouble2DArray(1, TDoubleArray(3, 7.0)), -2},
               {1.0, TDouble2DArray(3, TDoubleArray(1, 7.0)), -2}, {0.0, TDouble2DArray(), -2},
               {1.0, Ragged, -2}};
  for (const auto& R : Hills) {
    TDouble2DArray A = R.A;
    EXPECT_EQ(Gauss2D(1, 1, R.Width, 1.0, A), R.Want) << R.Width;
    EXPECT_EQ(A, R.A);
  }
  TDoubleArray Short(2, 7.0);
  EXPECT_EQ(CreateSigmoidArray(Short, 1.0, 0.0, 1.0, 1), -1);
  EXPECT_EQ(Short, TDoubleArray(2, 7.0));
}

TEST(CalcGaussKernel, ClosedFormsLimitsAndBounds) {
  TVector A(nullptr), B(nullptr), Long(nullptr), Short(nullptr);
  test::FillValues(A, {1, 2, 3});
  test::FillValues(B, {1, 2, 4});
  test::FillValues(Long, {1, 2, 4, 100});
  test::FillValues(Short, {1, 2});
  TMatrix M(nullptr);
  test::FillRows(M, {{9, 9, 9}, {1, 2, 4}});
  // exp(-min(s / w^2, 20)), s summed over Vec2's elements (Vec1's missing
  // ones read as 0), or over the matrix's columns.
  const struct {
    const char* Case;
    double Got, Want;
  } Rows[] = {
      {"s = 1, w = 2", CalcGaussKernel(&A, &B, 2.0), std::exp(-0.25)},
      {"identical", CalcGaussKernel(&A, &A, 0.5), 1.0},
      {"far apart", CalcGaussKernel(&A, &B, 1e-3), std::exp(-20.0)},
      {"identical, width 0", CalcGaussKernel(&A, &A, 0.0), 1.0},
      {"different, width 0", CalcGaussKernel(&A, &B, 0.0), std::exp(-20.0)},
      {"Vec1 longer", CalcGaussKernel(&Long, &B, 1.0), 1.0},
      {"Vec1 shorter", CalcGaussKernel(&Short, &B, 4.0), std::exp(-1.0)},
      {"matrix row 2", CalcGaussKernelMat(&A, &M, 2, 2.0), std::exp(-0.25)},
      {"matrix row 2, width 0", CalcGaussKernelMat(&B, &M, 2, 0.0), 1.0},
      {"matrix row 1", CalcGaussKernelMat(&A, &M, 1, 10.0), std::exp(-(64 + 49 + 36) / 100.0)},
  };
  for (const auto& R : Rows) EXPECT_DOUBLE_EQ(R.Got, R.Want) << R.Case;
  EXPECT_TRUE(std::isnan(CalcGaussKernel(&A, &B, NaN)));
  EXPECT_TRUE(std::isnan(CalcGaussKernel(nullptr, &B, 1.0)));
  EXPECT_TRUE(std::isnan(CalcGaussKernelMat(&A, nullptr, 1, 1.0)));
}

}  // namespace
}  // namespace orv
