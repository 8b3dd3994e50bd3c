// ORV_openarrays: CloneArray, CloneAndReverseArray, EqualArrays.
#include <algorithm>
#include <utility>

#include "arrays/convert.h"
#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

template <class DstArray>
constexpr auto ToCellOf = [](auto X) { return detail::ConvertCell<detail::CellOf<DstArray>>(X); };

// The new array is complete before Dst takes it, so Src may be Dst and a
// failed allocation leaves Dst as it was.
template <class DstArray, class SrcArray>
int32_t Clone(const SrcArray& Src, DstArray& Dst) {
  if (detail::Shape(Src).Empty()) return -1;
  Dst = detail::MapCells<DstArray>(Src, ToCellOf<DstArray>);
  return 0;
}

template <class DstArray, class SrcArray>
int32_t CloneReversed(const SrcArray& Src, DstArray& Dst) {
  if (Src.empty()) return -1;
  DstArray R(Src.size());
  std::transform(Src.rbegin(), Src.rend(), R.begin(), ToCellOf<DstArray>);
  Dst = std::move(R);
  return 0;
}

}  // namespace

int32_t CloneArray(const TBoolArray& Src, TBoolArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TBool2DArray& Src, TBool2DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TSingleArray& Src, TDoubleArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDoubleArray& Src, TSingleArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDoubleArray& Src, TDoubleArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDouble2DArray& Src, TDouble2DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDouble3DArray& Src, TDouble3DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDouble4DArray& Src, TDouble4DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TIntArray& Src, TIntArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TInt2DArray& Src, TInt2DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TInt3DArray& Src, TInt3DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TInt4DArray& Src, TInt4DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDoubleArray& Src, TIntArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDouble2DArray& Src, TInt2DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDouble3DArray& Src, TInt3DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TDouble4DArray& Src, TInt4DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TIntArray& Src, TDoubleArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TInt2DArray& Src, TDouble2DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TInt3DArray& Src, TDouble3DArray& Dst) { return Clone(Src, Dst); }
int32_t CloneArray(const TInt4DArray& Src, TDouble4DArray& Dst) { return Clone(Src, Dst); }

int32_t CloneAndReverseArray(const TBoolArray& Src, TBoolArray& Dst) { return CloneReversed(Src, Dst); }
int32_t CloneAndReverseArray(const TIntArray& Src, TIntArray& Dst) { return CloneReversed(Src, Dst); }
int32_t CloneAndReverseArray(const TDoubleArray& Src, TDoubleArray& Dst) { return CloneReversed(Src, Dst); }
int32_t CloneAndReverseArray(const TSingleArray& Src, TDoubleArray& Dst) { return CloneReversed(Src, Dst); }
int32_t CloneAndReverseArray(const TDoubleArray& Src, TSingleArray& Dst) { return CloneReversed(Src, Dst); }
int32_t CloneAndReverseArray(const TDoubleArray& Src, TIntArray& Dst) { return CloneReversed(Src, Dst); }
int32_t CloneAndReverseArray(const TIntArray& Src, TDoubleArray& Dst) { return CloneReversed(Src, Dst); }

// The vectors' own comparison is exactly the rule: lengths first, then the
// elements in order, level by level, so nothing is read through an element 0
// that does not exist and ragged arrays compare sub-array by sub-array.
bool EqualArrays(const TIntArray& A, const TIntArray& B) { return A == B; }
bool EqualArrays(const TInt2DArray& A, const TInt2DArray& B) { return A == B; }
bool EqualArrays(const TInt3DArray& A, const TInt3DArray& B) { return A == B; }
bool EqualArrays(const TInt4DArray& A, const TInt4DArray& B) { return A == B; }

}  // namespace orv
