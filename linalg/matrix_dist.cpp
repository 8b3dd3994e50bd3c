// Distances and similarities between the rows of a TMatrix.
#include <cmath>
#include <vector>

#include "core/distance.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;
using detail::Ix1;
using detail::Measure;
using detail::WithMode;

namespace {

// The pairs in the pinned order: (i, i) := 0 before the row's pairs (i, j),
// j > i, each written at (i, j) and (j, i); finally (n, n) := 0 (none for n = 0).
template <class DistFn, class PutFn>
void ForEachPair(int32_t N, DistFn&& Dist, PutFn&& Put) {
  for (int32_t I = 1; I < N; ++I) {
    Put(I, I, 0.0);
    for (int32_t J = I + 1; J <= N; ++J) {
      const double D = Dist(I, J);
      Put(I, J, D);
      Put(J, I, D);
    }
  }
  if (N >= 1) Put(N, N, 0.0);
}

}  // namespace

double TMatrix::DistanceOfObjects(TDistMode Mode, int32_t Obj1, int32_t Obj2) {
  if (Mode == dmUser) {
    double Distance = 0.0;
    if (OnCalcDistance) OnCalcDistance(this, Obj1, Obj2, Distance);
    return Distance;
  }
  // A row outside the matrix reads as zeros.
  const bool In1 = detail::InAxis(Obj1, FNRow), In2 = detail::InAxis(Obj2, FNRow);
  const std::size_t R1 = In1 ? Ix1(Obj1) : 0;
  const std::size_t R2 = In2 ? Ix1(Obj2) : 0;
  const auto X = [&](int64_t C) { return In1 ? Mat[Ix(C)][R1] : 0.0; };
  const auto Y = [&](int64_t C) { return In2 ? Mat[Ix(C)][R2] : 0.0; };
  double Result = 0.0;
  WithMode(Mode, [&]<TDistMode M>() { Result = Measure<M>(FNCol, X, Y); });
  return Result;
}

int32_t TMatrix::CalcDistMat(TDistMode Mode, TMatrix* DMat) {
  const int32_t N = FNRow;
  if (DMat == nullptr || DMat->FNCol != N) return -2;
  if (DMat->FNRow != DMat->FNCol) return -1;

  if (Mode != dmUser && !DMat->OnChange) {
    // Nothing outside can watch: measure from a row-major copy (which also
    // keeps the source intact when DMat is this matrix) and write directly.
    const int32_t M = FNCol;
    std::vector<double> Rows = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
      detail::CheckExtent(int64_t{N} * M, sizeof(double));
      std::vector<double> R(Ix(N) * Ix(M));
      for (int32_t C = 0; C < M; ++C) {
        const double* Col = Mat[Ix(C)].data();
        for (int32_t I = 0; I < N; ++I) R[Ix(I) * M + C] = Col[I];
      }
      return R;
    });
    TDouble2DArray& D = DMat->Mat;
    const auto Put = [&D](int32_t I, int32_t J, double V) {
      D[Ix1(I)][Ix1(J)] = V;
    };
    const auto Run = [&]<TDistMode Md>() {
      ForEachPair(
          N,
          [&](int32_t I, int32_t J) {
            const double* A = Rows.data() + Ix1(I) * M;
            const double* B = Rows.data() + Ix1(J) * M;
            return Measure<Md>(M, [A](int64_t C) { return A[C]; }, [B](int64_t C) { return B[C]; });
          },
          Put);
    };
    if (!WithMode(Mode, Run)) ForEachPair(N, [](int32_t, int32_t) { return 0.0; }, Put);
    return 0;
  }

  // Handlers may watch (and even change) both matrices: measure and write
  // cell by cell in the documented order, through the checked accessors.
  const auto Put = [DMat](int32_t I, int32_t J, double V) { DMat->SetVal(I, J, V); };
  const auto Dist = [&](int32_t I, int32_t J) { return DistanceOfObjects(Mode, I, J); };
  if (DMat != this) {
    ForEachPair(N, Dist, Put);
    return 0;
  }
  // DMat is the source: take every measure before the first write.
  std::vector<double> Pairs = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    detail::CheckExtent(int64_t{N} * (N - 1) / 2, sizeof(double));
    std::vector<double> P;
    P.reserve(Ix(int64_t{N} * (N - 1) / 2));
    return P;
  });
  ForEachPair(N, Dist, [&](int32_t I, int32_t J, double V) {
    if (I < J) Pairs.push_back(V);
  });
  std::size_t Next = 0;
  ForEachPair(N, [&](int32_t, int32_t) { return Pairs[Next++]; }, Put);
  return 0;
}

}  // namespace orv
