// ORV_openarrays: FillArrayMasked, RemoveRow, RemoveColumn,
// DistanceOfObjects, CalcHatMatrix.
#include <vector>

#include "arrays/shape.h"
#include "core/distance.h"
#include "core/matmul.h"
#include "core/storage_guard.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

using detail::Ix;

namespace {

// Mask's place in FillArrayMasked once A passed: -1 ragged or of other
// extents, 1 empty (and not ragged), 0 fitting.
int32_t MaskFit(const TBool2DArray& Mask, const detail::TShape<2>& SA) {
  const auto SM = detail::Shape(Mask);
  if (SM.Ragged) return -1;
  if (SM.EmptyLevel() != 0) return 1;
  return SM.Ext == SA.Ext ? 0 : -1;
}

template <class T>
void FillOpen(std::vector<std::vector<T>>& A, T Value, const TBool2DArray* Mask) {
  for (std::size_t C = 0; C < A.size(); ++C)
    for (std::size_t R = 0; R < A[C].size(); ++R)
      if (Mask == nullptr || !(*Mask)[C][R]) A[C][R] = Value;
}

template <class T>
bool DropRow(std::vector<std::vector<T>>& A, int32_t Row) {
  const auto S = detail::Shape(A);
  if (S.Ragged || S.Ext[0] == 0 || Row < 0 || Row >= S.Ext[1]) return false;
  for (auto& Col : A) Col.erase(Col.begin() + Row);
  return true;
}

template <class T>
bool DropColumn(std::vector<std::vector<T>>& A, int32_t Col) {
  const auto S = detail::Shape(A);
  if (S.Ragged || Col < 0 || Col >= S.Ext[0]) return false;
  A.erase(A.begin() + Col);
  return true;
}

std::vector<const double*> ColumnsOf(const TDouble2DArray& A) {
  std::vector<const double*> P(A.size());
  for (std::size_t C = 0; C < A.size(); ++C) P[C] = A[C].data();
  return P;
}

std::vector<const double*> ColumnsOf(const detail::TProduct<double>& P) {
  std::vector<const double*> Cols(Ix(P.N));
  for (int64_t C = 0; C < P.N; ++C) Cols[Ix(C)] = P.Cells.data() + C * P.LD;
  return Cols;
}

TDouble2DArray ToArray(const detail::TProduct<double>& P) {
  TDouble2DArray A(Ix(P.N));
  for (int64_t C = 0; C < P.N; ++C) {
    const double* Src = P.Cells.data() + C * P.LD;
    A[Ix(C)].assign(Src, Src + P.M);
  }
  return A;
}

}  // namespace

int32_t FillArrayMasked(TDouble2DArray& A, double Value, const TBool2DArray& Mask) {
  const auto S = detail::Shape(A);
  if (S.Empty()) return -2;
  const int32_t Fit = MaskFit(Mask, S);
  if (Fit < 0) return -1;
  FillOpen(A, Value, Fit == 0 ? &Mask : nullptr);
  return 0;
}

int32_t FillArrayMasked(TInt2DArray& A, int32_t Value, const TBool2DArray& Mask) {
  const auto S = detail::Shape(A);
  if (S.Empty()) return -2;
  const int32_t Fit = MaskFit(Mask, S);
  if (Fit > 0) return -2;
  if (Fit < 0) return -1;
  FillOpen(A, Value, &Mask);
  return 0;
}

bool RemoveRow(TDouble2DArray& A, int32_t Row) { return DropRow(A, Row); }
bool RemoveRow(TInt2DArray& A, int32_t Row) { return DropRow(A, Row); }
bool RemoveColumn(TDouble2DArray& A, int32_t Col) { return DropColumn(A, Col); }
bool RemoveColumn(TInt2DArray& A, int32_t Col) { return DropColumn(A, Col); }

int32_t DistanceOfObjects(const TDouble2DArray& A, TDistMode Mode, int32_t Obj1, int32_t Obj2, int32_t LoVar,
                          int32_t HiVar, double& Dist) {
  const auto S = detail::Shape(A);
  const int64_t NCol = S.Ragged ? 0 : S.Ext[0], NRow = S.Ragged ? 0 : S.Ext[1];
  const auto Outside = [](int64_t I, int64_t N) { return I < 0 || I >= N; };
  int32_t Code = 0;
  if (!detail::WithMode(Mode, []<TDistMode>() {})) Code = -1;
  if (Outside(Obj1, NRow) || Outside(Obj2, NRow)) Code = -2;
  if (Outside(LoVar, NCol) || Outside(HiVar, NCol)) Code = -3;
  if (HiVar < LoVar) Code = -4;
  Dist = 0.0;
  if (Code != 0) return Code;
  const auto X = [&](int64_t C) { return A[Ix(LoVar + C)][Ix(Obj1)]; };
  const auto Y = [&](int64_t C) { return A[Ix(LoVar + C)][Ix(Obj2)]; };
  double D = 0.0;
  detail::WithMode(Mode, [&]<TDistMode M>() { D = detail::Measure<M>(int64_t{HiVar} - LoVar + 1, X, Y); });
  Dist = D;
  return 0;
}

int32_t CalcHatMatrix(const TDouble2DArray& X, TDouble2DArray& H) {
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  const int64_t P = S.Ext[0], N = S.Ext[1];
  const std::vector<const double*> XCols = ColumnsOf(X);
  // X' X, read through the transposed factor: the same products, in the
  // same order, as from a transposed copy.
  TDouble2DArray Inv = ToArray(detail::MatMul<double>(P, P, N, {XCols.data(), true}, {XCols.data(), false}));
  // The inversion calls MathFeedBackProc, which may resize or move X: XCols
  // then point into freed storage, and X'X belongs to another X.
  const detail::TStorageGuard Cols(X);
  if (const int32_t R = InvertArray(Inv); R != 0) return R;
  if (!Cols.Intact()) return -3;
  const std::vector<const double*> InvCols = ColumnsOf(Inv);
  const auto Q = detail::MatMul<double>(N, P, P, {XCols.data(), false}, {InvCols.data(), false});
  const std::vector<const double*> QCols = ColumnsOf(Q);
  H = ToArray(detail::MatMul<double>(N, N, P, {QCols.data(), false}, {XCols.data(), true}));
  return 0;
}

}  // namespace orv
