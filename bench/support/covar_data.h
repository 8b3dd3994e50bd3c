// Data of the covariance benchmarks: the numbers every CalcCovar is measured
// on, and Eigen's centred X'X / (n - 1) as the peer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/detail/index.h"

#ifdef ORV_HAVE_EIGEN
#include <Eigen/Dense>
#endif

namespace orv::bench {

// Rows x Cols normal numbers, column by column, with a little correlation
// between neighbouring columns and columns of different scales.
inline std::vector<double> DataColumns(int32_t Rows, int32_t Cols) {
  std::mt19937_64 Gen(20240611);
  std::normal_distribution<double> Normal;
  std::vector<double> X(detail::Ix(int64_t{Rows} * Cols));
  for (int32_t C = 0; C < Cols; ++C)
    for (int32_t R = 0; R < Rows; ++R) {
      double& V = X[detail::Ix(int64_t{C} * Rows + R)];
      V = Normal(Gen) * (1 + C % 7);
      if (C > 0) V += 0.5 * X[detail::Ix(int64_t{C - 1} * Rows + R)];
    }
  return X;
}

// M := those columns (resized to Cols x Rows).
inline void Load(TMatrix& M, const std::vector<double>& X, int32_t Rows, int32_t Cols) {
  M.Resize(Cols, Rows);
  for (int32_t C = 0; C < Cols; ++C)
    std::copy_n(X.begin() + static_cast<std::ptrdiff_t>(int64_t{C} * Rows), Rows, M.Mat[detail::Ix(C)].begin());
}

#ifdef ORV_HAVE_EIGEN
inline Eigen::MatrixXd EigenCovariance(const Eigen::MatrixXd& X) {
  const Eigen::MatrixXd Centred = X.rowwise() - X.colwise().mean();
  return (Centred.adjoint() * Centred) / static_cast<double>(X.rows() - 1);
}
#endif

}  // namespace orv::bench
