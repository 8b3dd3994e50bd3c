// Data of the matrix benchmarks: every program measures the same cells.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"

#ifdef ORV_HAVE_EIGEN
#include <Eigen/Dense>
#endif

namespace orv::bench {

// Uniform cells in [0, 1) from the platform's generator, seeded afresh.
inline void FillRandom(TMatrix& M, uint64_t Seed = 1) {
  SetRandSeed(Seed);
  for (int32_t C = 1; C <= M.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= M.NrOfRows(); ++R) M.SetVal(C, R, Random());
}

// A Cols x Rows matrix of FillRandom's cells, made at the first call for
// that size and kept for the program's run.
inline const TMatrix& SharedRandom(int32_t Cols, int32_t Rows) {
  static std::map<std::pair<int32_t, int32_t>, TMatrix*> Made;
  TMatrix*& M = Made[{Cols, Rows}];
  if (M == nullptr) {
    M = new TMatrix(nullptr);
    M->Resize(Cols, Rows);
    FillRandom(*M);
  }
  return *M;
}

// The cells in one contiguous column-major vector, for the plain loops the
// kernels are measured against.
inline std::vector<double> ColumnMajor(const TMatrix& M) {
  std::vector<double> A;
  for (int32_t C = 1; C <= M.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= M.NrOfRows(); ++R) A.push_back(M.Elem(C, R));
  return A;
}

#ifdef ORV_HAVE_EIGEN
// The same cells as an Eigen matrix, for the benchmarks beside Eigen.
inline Eigen::MatrixXd EigenCopy(const TMatrix& M) {
  const std::vector<double> A = ColumnMajor(M);
  return Eigen::Map<const Eigen::MatrixXd>(A.data(), M.NrOfRows(), M.NrOfColumns());
}
#endif
// The element loops components are measured with: every cell of the
// component's first Side x Side cells, column by column, through Elem and SetElem.
template <class C>
double SumByElem(const C& M, int32_t Side) {
  double S = 0;
  for (int32_t Col = 1; Col <= Side; ++Col)
    for (int32_t R = 1; R <= Side; ++R) S += M.Elem(Col, R);
  return S;
}

template <class C>
void WriteByElem(C& M, int32_t Side) {
  for (int32_t Col = 1; Col <= Side; ++Col)
    for (int32_t R = 1; R <= Side; ++R) M.SetElem(Col, R, R * 0.5 + Col);
}

}  // namespace orv::bench
