// Data of the array benchmarks: every program measures the same cells.
#pragma once

#include <cstdint>
#include <vector>

#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

#ifdef ORV_HAVE_EIGEN
#include <Eigen/Dense>
#endif

namespace orv::bench {

// Uniform cells in [Low, High) from the platform's generator, seeded afresh.
inline TDoubleArray RandomCells(int64_t N, double Low, double High, uint64_t Seed = 1) {
  SetRandSeed(Seed);
  TDoubleArray A(static_cast<std::size_t>(N));
  for (double& X : A) X = Low + (High - Low) * Random();
  return A;
}

// Cols columns of Rows such cells.
inline TDouble2DArray RandomGrid(int32_t Cols, int32_t Rows, double Low, double High) {
  TDouble2DArray G;
  for (int32_t C = 0; C < Cols; ++C) G.push_back(RandomCells(Rows, Low, High, 1 + static_cast<uint64_t>(C)));
  return G;
}

#ifdef ORV_HAVE_EIGEN
// The matrix of a 2-D array, a(r, c) = A[c][r].
inline Eigen::MatrixXd EigenOf(const TDouble2DArray& A) {
  Eigen::MatrixXd E(static_cast<Eigen::Index>(A[0].size()), static_cast<Eigen::Index>(A.size()));
  for (std::size_t C = 0; C < A.size(); ++C)
    for (std::size_t R = 0; R < A[C].size(); ++R)
      E(static_cast<Eigen::Index>(R), static_cast<Eigen::Index>(C)) = A[C][R];
  return E;
}
#endif

}  // namespace orv::bench
