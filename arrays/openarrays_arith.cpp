// ORV_openarrays: MultiplyArraysElemw, MultiplyArrayByScalar, AddArrays,
// AddScalarToArray, IncArray, SubtractArrays, SumOfSquaredDiffs.
#include "arrays/convert.h"
#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

using detail::CellOf;

// The cell operations; Integers wrap around (core/intwrap.h).
struct TMul {
  template <class T>
  T operator()(T X, T Y) const {
    return detail::WrapMul(X, Y);
  }
};
struct TAdd {
  template <class T>
  T operator()(T X, T Y) const {
    return detail::WrapAdd(X, Y);
  }
};
struct TSub {
  template <class T>
  T operator()(T X, T Y) const {
    return detail::WrapSub(X, Y);
  }
};

// C := Op(A, B) cell by cell.
template <class Op, class A>
int32_t Binary(const A& X, const A& Y, A& Out) {
  const auto Sx = detail::Shape(X), Sy = detail::Shape(Y);
  if (Sx.Empty() || Sy.Empty()) return -1;
  if (Sx.Ext != Sy.Ext) return -2;
  using T = CellOf<A>;
  Out = detail::MapCells<A>(X, Y, [](T P, T Q) { return Op{}(P, Q); });
  return 0;
}

// B := Op(A, Scalar).
template <class Op, class A>
int32_t WithScalar(const A& X, CellOf<A> Scalar, A& Out) {
  if (detail::Shape(X).Empty()) return -1;
  using T = CellOf<A>;
  Out = detail::MapCells<A>(X, [Scalar](T P) { return Op{}(P, Scalar); });
  return 0;
}

// A := Op(A, Scalar) in place.
template <class Op, class A>
int32_t InPlace(A& X, CellOf<A> Scalar) {
  if (detail::Shape(X).Empty()) return -1;
  detail::ForEachRun(X, [Scalar](auto Run, const auto&) {
    for (auto& C : Run) C = Op{}(C, Scalar);
  });
  return 0;
}

double SquaredDiffs(const TDoubleArray& A, const TDoubleArray& B) {
  double S = 0.0;
  for (std::size_t I = 0; I < A.size(); ++I) {
    const double D = A[I] - B[I];
    S += D * D;
  }
  return S;
}

}  // namespace

int32_t MultiplyArraysElemw(const TDoubleArray& A, const TDoubleArray& B, TDoubleArray& C) {
  return Binary<TMul>(A, B, C);
}
int32_t MultiplyArraysElemw(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) {
  return Binary<TMul>(A, B, C);
}
int32_t MultiplyArraysElemw(const TIntArray& A, const TIntArray& B, TIntArray& C) { return Binary<TMul>(A, B, C); }
int32_t MultiplyArraysElemw(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C) {
  return Binary<TMul>(A, B, C);
}

int32_t MultiplyArrayByScalar(const TDoubleArray& A, double F, TDoubleArray& B) { return WithScalar<TMul>(A, F, B); }
int32_t MultiplyArrayByScalar(const TDouble2DArray& A, double F, TDouble2DArray& B) {
  return WithScalar<TMul>(A, F, B);
}
int32_t MultiplyArrayByScalar(const TDouble3DArray& A, double F, TDouble3DArray& B) {
  return WithScalar<TMul>(A, F, B);
}
int32_t MultiplyArrayByScalar(const TDouble4DArray& A, double F, TDouble4DArray& B) {
  return WithScalar<TMul>(A, F, B);
}
int32_t MultiplyArrayByScalar(const TIntArray& A, int32_t F, TIntArray& B) { return WithScalar<TMul>(A, F, B); }
int32_t MultiplyArrayByScalar(const TInt2DArray& A, int32_t F, TInt2DArray& B) { return WithScalar<TMul>(A, F, B); }
int32_t MultiplyArrayByScalar(const TInt3DArray& A, int32_t F, TInt3DArray& B) { return WithScalar<TMul>(A, F, B); }
int32_t MultiplyArrayByScalar(const TInt4DArray& A, int32_t F, TInt4DArray& B) { return WithScalar<TMul>(A, F, B); }
int32_t MultiplyArrayByScalar(TDoubleArray& A, double F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TDouble2DArray& A, double F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TDouble3DArray& A, double F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TDouble4DArray& A, double F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TIntArray& A, int32_t F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TInt2DArray& A, int32_t F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TInt3DArray& A, int32_t F) { return InPlace<TMul>(A, F); }
int32_t MultiplyArrayByScalar(TInt4DArray& A, int32_t F) { return InPlace<TMul>(A, F); }

int32_t AddArrays(const TDoubleArray& A, const TDoubleArray& B, TDoubleArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TDouble3DArray& A, const TDouble3DArray& B, TDouble3DArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TDouble4DArray& A, const TDouble4DArray& B, TDouble4DArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TIntArray& A, const TIntArray& B, TIntArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TInt3DArray& A, const TInt3DArray& B, TInt3DArray& C) { return Binary<TAdd>(A, B, C); }
int32_t AddArrays(const TInt4DArray& A, const TInt4DArray& B, TInt4DArray& C) { return Binary<TAdd>(A, B, C); }

int32_t AddScalarToArray(const TDoubleArray& A, double V, TDoubleArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TDouble2DArray& A, double V, TDouble2DArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TDouble3DArray& A, double V, TDouble3DArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TDouble4DArray& A, double V, TDouble4DArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TIntArray& A, int32_t V, TIntArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TInt2DArray& A, int32_t V, TInt2DArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TInt3DArray& A, int32_t V, TInt3DArray& B) { return WithScalar<TAdd>(A, V, B); }
int32_t AddScalarToArray(const TInt4DArray& A, int32_t V, TInt4DArray& B) { return WithScalar<TAdd>(A, V, B); }

int32_t IncArray(TDoubleArray& A, double V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TDouble2DArray& A, double V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TDouble3DArray& A, double V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TDouble4DArray& A, double V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TIntArray& A, int32_t V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TInt2DArray& A, int32_t V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TInt3DArray& A, int32_t V) { return InPlace<TAdd>(A, V); }
int32_t IncArray(TInt4DArray& A, int32_t V) { return InPlace<TAdd>(A, V); }

int32_t SubtractArrays(const TDoubleArray& A, const TDoubleArray& B, TDoubleArray& C) { return Binary<TSub>(A, B, C); }
int32_t SubtractArrays(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) {
  return Binary<TSub>(A, B, C);
}
int32_t SubtractArrays(const TDouble3DArray& A, const TDouble3DArray& B, TDouble3DArray& C) {
  return Binary<TSub>(A, B, C);
}
int32_t SubtractArrays(const TDouble4DArray& A, const TDouble4DArray& B, TDouble4DArray& C) {
  return Binary<TSub>(A, B, C);
}
int32_t SubtractArrays(const TIntArray& A, const TIntArray& B, TIntArray& C) { return Binary<TSub>(A, B, C); }
int32_t SubtractArrays(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C) { return Binary<TSub>(A, B, C); }
int32_t SubtractArrays(const TInt3DArray& A, const TInt3DArray& B, TInt3DArray& C) { return Binary<TSub>(A, B, C); }
int32_t SubtractArrays(const TInt4DArray& A, const TInt4DArray& B, TInt4DArray& C) { return Binary<TSub>(A, B, C); }

double SumOfSquaredDiffs(const TDoubleArray& A, const TDoubleArray& B) {
  if (A.empty() || B.empty()) return -1.0;
  if (A.size() != B.size()) return -2.0;
  return SquaredDiffs(A, B);
}

double SumOfSquaredDiffs(const TDoubleArray& A, const TDouble2DArray& B, int32_t Col) {
  const auto S = detail::Shape(B);
  if (A.empty() || S.Empty()) return -1.0;
  if (static_cast<int64_t>(A.size()) != S.Ext[1]) return -2.0;
  if (Col < 0 || Col >= S.Ext[0]) return -3.0;
  return SquaredDiffs(A, B[detail::Ix(Col)]);
}

}  // namespace orv
