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

// The 4-D array of the TMat4D benchmarks: 256 x 256 x 16 x 8 cells (8.4
// million), uniform in [-1, 1) drawn in the array's order after seed 1; and
// the same cells in one vector in the array's storage order ([time slot]
// [layer][row][column]), for the plain loops.
constexpr int32_t Mat4DCols = 256, Mat4DRows = 256, Mat4DLayers = 16, Mat4DSlots = 8;

inline const TMat4D& SharedRandom4D() {
  static const TMat4D* A = [] {
    auto* P = new TMat4D(nullptr);
    P->Resize(Mat4DCols, Mat4DRows, Mat4DLayers, Mat4DSlots);
    SetRandSeed(1);
    P->FillRandomUniform(-1, 1);
    return P;
  }();
  return *A;
}

inline std::vector<double> StorageOrder(const TMat4D& A) {
  std::vector<double> V;
  for (int32_t T = 1; T <= A.NrOfTimeSlots(); ++T)
    for (int32_t L = 1; L <= A.NrOfLayers(); ++L)
      for (int32_t R = 1; R <= A.NrOfRows(); ++R) {
        const auto Run = A.ColumnRun(R, L, T);
        V.insert(V.end(), Run.begin(), Run.end());
      }
  return V;
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
