// ORV_openarrays: FlipDimArray, AbsValArray, BoolToNumArray.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "arrays/convert.h"
#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

// Reverses the level Depth below X. Above the cells this exchanges whole
// sub-arrays, which no caller can tell from exchanging their cells one by one.
template <class V>
void ReverseLevel(V& X, int32_t Depth) {
  if (Depth == 0) {
    std::reverse(X.begin(), X.end());
  } else if constexpr (detail::Rank<V> > 1) {
    for (auto& Sub : X) ReverseLevel(Sub, Depth - 1);
  }
}

template <class A>
int32_t Flip(A& X, int32_t Dim) {
  if (detail::Shape(X).Empty()) return -1;
  if (Dim < 1 || Dim > detail::Rank<A>) return -2;
  ReverseLevel(X, Dim - 1);
  return 0;
}

template <class A>
int32_t Abs(A& X) {
  using T = detail::CellOf<A>;
  if (detail::Shape(X).Empty()) return -1;
  detail::ForEachRun(X, [](auto Run, const auto&) {
    for (T& C : Run) {
      if constexpr (std::is_floating_point_v<T>)
        C = std::fabs(C);
      else
        C = detail::WrapAbs(C);
    }
  });
  return 0;
}

template <class B, class R, class T>
int32_t BoolToNum(const B& Src, T FalseVal, T TrueVal, R& Dst) {
  if (detail::Shape(Src).Empty()) return -1;
  Dst = detail::MapCells<R>(Src, [FalseVal, TrueVal](TBool C) { return C ? TrueVal : FalseVal; });
  return 0;
}

}  // namespace

int32_t FlipDimArray(TDoubleArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TDouble2DArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TDouble3DArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TDouble4DArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TIntArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TInt2DArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TInt3DArray& A, int32_t Dim) { return Flip(A, Dim); }
int32_t FlipDimArray(TInt4DArray& A, int32_t Dim) { return Flip(A, Dim); }

int32_t AbsValArray(TDoubleArray& A) { return Abs(A); }
int32_t AbsValArray(TDouble2DArray& A) { return Abs(A); }
int32_t AbsValArray(TDouble3DArray& A) { return Abs(A); }
int32_t AbsValArray(TDouble4DArray& A) { return Abs(A); }
int32_t AbsValArray(TIntArray& A) { return Abs(A); }
int32_t AbsValArray(TInt2DArray& A) { return Abs(A); }
int32_t AbsValArray(TInt3DArray& A) { return Abs(A); }
int32_t AbsValArray(TInt4DArray& A) { return Abs(A); }

int32_t BoolToNumArray(const TBoolArray& B, int32_t FalseVal, int32_t TrueVal, TIntArray& R) {
  return BoolToNum(B, FalseVal, TrueVal, R);
}
int32_t BoolToNumArray(const TBoolArray& B, double FalseVal, double TrueVal, TDoubleArray& R) {
  return BoolToNum(B, FalseVal, TrueVal, R);
}
int32_t BoolToNumArray(const TBool2DArray& B, int32_t FalseVal, int32_t TrueVal, TInt2DArray& R) {
  return BoolToNum(B, FalseVal, TrueVal, R);
}
int32_t BoolToNumArray(const TBool2DArray& B, double FalseVal, double TrueVal, TDouble2DArray& R) {
  return BoolToNum(B, FalseVal, TrueVal, R);
}

}  // namespace orv
