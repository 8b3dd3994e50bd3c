// ORV_openarrays: CopyArray, CopyArrayColumn, CopyArrayRow,
// CopyVectorToArrayColumn, CopyVectorToArrayRow.
#include <algorithm>
#include <span>
#include <utility>

#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

using detail::Ix;
using detail::TBox;
using detail::TIndex;

// Cell by cell in increasing index, each read just before its target is
// written: where source and target are one array and overlap, this order
// defines the result (the overlapping copy repeats cells), so neither
// std::copy nor memmove may take its place.
template <class T>
void CopyCells(const T* From, T* To, int64_t N) {
  for (int64_t I = 0; I < N; ++I) To[I] = From[I];
}

// CopyArray. Box: the source box (nullptr for the whole source).
template <class A>
int32_t Copy(const A& Src, const TBox<detail::Rank<A>>* Box, const TIndex<detail::Rank<A>>& Off, A& Dst) {
  constexpr int N = detail::Rank<A>;
  const auto S = detail::Shape(Src), D = detail::Shape(Dst);
  if (S.Empty() || D.Empty()) return -1;
  for (int I = 0; I < N; ++I)
    if (Off[I] < 0 || Off[I] >= D.Ext[I]) return -2;
  TBox<N> B;
  if (Box != nullptr) {
    if (Box->Fit(S) != detail::bfInside) return -2;
    B = *Box;
  } else {
    for (int I = 0; I < N; ++I) B.Hi[I] = S.Ext[I] - 1;
  }
  // The whole-source forms of 1-D arrays keep the last cell of Dst out of reach.
  const int64_t Room = N == 1 && Box == nullptr ? 1 : 0;
  for (int I = 0; I < N; ++I)
    if (B.Hi[I] - B.Lo[I] + 1 + Off[I] > D.Ext[I] - Room) return -2;
  detail::ForEachRunInBox(Src, B, [&](std::span<const detail::CellOf<A>> Run, const TIndex<N>& First) {
    TIndex<N> To;
    for (int I = 0; I < N; ++I) To[I] = First[I] - B.Lo[I] + Off[I];
    CopyCells(Run.data(), detail::RunAt(Dst, To).data() + To[N - 1], std::ssize(Run));
  });
  return 0;
}

template <class A>
int32_t CopyBox(const A& Src, const TBox<detail::Rank<A>>& Box, const TIndex<detail::Rank<A>>& Off, A& Dst) {
  return Copy(Src, &Box, Off, Dst);
}

template <class A, class V>
int32_t ColumnOf(const A& X, int32_t Col, int32_t FirstRow, int32_t LastRow, V& Result) {
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (LastRow < FirstRow || FirstRow < 0 || LastRow >= S.Ext[1]) return -2;
  if (Col < 0 || Col >= S.Ext[0]) return -3;
  const auto& C = X[Ix(Col)];
  V R(C.begin() + FirstRow, C.begin() + LastRow + 1);
  Result = std::move(R);
  return 0;
}

template <class A, class V>
int32_t RowOf(const A& X, int32_t Row, int32_t FirstCol, int32_t LastCol, V& Result) {
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (LastCol < FirstCol || FirstCol < 0 || LastCol >= S.Ext[0]) return -2;
  if (Row < 0 || Row >= S.Ext[1]) return -3;
  V R(Ix(int64_t{LastCol} - FirstCol + 1));
  for (int32_t C = FirstCol; C <= LastCol; ++C) R[Ix(C - FirstCol)] = X[Ix(C)][Ix(Row)];
  Result = std::move(R);
  return 0;
}

// CopyVectorToArrayColumn (Down) and CopyVectorToArrayRow: Col and Row name
// the first target cell.
template <bool Down, class V, class A>
int32_t VectorInto(const V& X, int32_t FirstElem, int32_t LastElem, int32_t Col, int32_t Row, A& Dst) {
  const int64_t N = std::ssize(X);
  int64_t Last = LastElem;
  int32_t Result = 0;
  if (FirstElem == 0 && LastElem == 0)
    Last = N - 1;
  else if (FirstElem < 0 || FirstElem >= N || LastElem < 0 || LastElem >= N)
    Result = -1;
  const auto S = detail::Shape(Dst);
  if (S.Empty() || Col < 0 || Row < 0 || Col >= S.Ext[0] || Row >= S.Ext[1]) Result = -2;
  if (Result != 0) return Result;
  const int64_t Room = Down ? S.Ext[1] - Row : S.Ext[0] - Col;
  const int64_t Count = std::min(Last - FirstElem + 1, Room);
  for (int64_t K = 0; K < Count; ++K) {
    if constexpr (Down)
      Dst[Ix(Col)][Ix(Row + K)] = X[Ix(FirstElem + K)];
    else
      Dst[Ix(Col + K)][Ix(Row)] = X[Ix(FirstElem + K)];
  }
  return 0;
}

}  // namespace

int32_t CopyArray(const TBoolArray& Src, int32_t Off, TBoolArray& Dst) { return Copy(Src, nullptr, {Off}, Dst); }
int32_t CopyArray(const TBool2DArray& Src, int32_t OffCol, int32_t OffRow, TBool2DArray& Dst) {
  return Copy(Src, nullptr, {OffCol, OffRow}, Dst);
}
int32_t CopyArray(const TDoubleArray& Src, int32_t Off, TDoubleArray& Dst) { return Copy(Src, nullptr, {Off}, Dst); }
int32_t CopyArray(const TDoubleArray& Src, int32_t Lo, int32_t Hi, int32_t Off, TDoubleArray& Dst) {
  return CopyBox(Src, detail::CornerBox(Lo, Hi), {Off}, Dst);
}
int32_t CopyArray(const TIntArray& Src, int32_t Off, TIntArray& Dst) { return Copy(Src, nullptr, {Off}, Dst); }
int32_t CopyArray(const TIntArray& Src, int32_t Lo, int32_t Hi, int32_t Off, TIntArray& Dst) {
  return CopyBox(Src, detail::CornerBox(Lo, Hi), {Off}, Dst);
}
int32_t CopyArray(const TDouble2DArray& Src, int32_t OffCol, int32_t OffRow, TDouble2DArray& Dst) {
  return Copy(Src, nullptr, {OffCol, OffRow}, Dst);
}
int32_t CopyArray(const TDouble2DArray& Src, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi, int32_t OffCol,
                  int32_t OffRow, TDouble2DArray& Dst) {
  return CopyBox(Src, detail::CornerBox(ColLo, RowLo, ColHi, RowHi), {OffCol, OffRow}, Dst);
}
int32_t CopyArray(const TInt2DArray& Src, int32_t OffCol, int32_t OffRow, TInt2DArray& Dst) {
  return Copy(Src, nullptr, {OffCol, OffRow}, Dst);
}
int32_t CopyArray(const TInt2DArray& Src, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi, int32_t OffCol,
                  int32_t OffRow, TInt2DArray& Dst) {
  return CopyBox(Src, detail::CornerBox(ColLo, RowLo, ColHi, RowHi), {OffCol, OffRow}, Dst);
}
int32_t CopyArray(const TDouble3DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, TDouble3DArray& Dst) {
  return Copy(Src, nullptr, {Off1, Off2, Off3}, Dst);
}
int32_t CopyArray(const TDouble3DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                  int32_t Hi3, int32_t Off1, int32_t Off2, int32_t Off3, TDouble3DArray& Dst) {
  return CopyBox(Src, detail::CornerBox(Lo1, Lo2, Lo3, Hi1, Hi2, Hi3), {Off1, Off2, Off3}, Dst);
}
int32_t CopyArray(const TInt3DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, TInt3DArray& Dst) {
  return Copy(Src, nullptr, {Off1, Off2, Off3}, Dst);
}
int32_t CopyArray(const TInt3DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2, int32_t Hi3,
                  int32_t Off1, int32_t Off2, int32_t Off3, TInt3DArray& Dst) {
  return CopyBox(Src, detail::CornerBox(Lo1, Lo2, Lo3, Hi1, Hi2, Hi3), {Off1, Off2, Off3}, Dst);
}
int32_t CopyArray(const TDouble4DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4,
                  TDouble4DArray& Dst) {
  return Copy(Src, nullptr, {Off1, Off2, Off3, Off4}, Dst);
}
int32_t CopyArray(const TDouble4DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                  int32_t Hi2, int32_t Hi3, int32_t Hi4, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4,
                  TDouble4DArray& Dst) {
  return CopyBox(Src, detail::CornerBox(Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4), {Off1, Off2, Off3, Off4}, Dst);
}
int32_t CopyArray(const TInt4DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4, TInt4DArray& Dst) {
  return Copy(Src, nullptr, {Off1, Off2, Off3, Off4}, Dst);
}
int32_t CopyArray(const TInt4DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1, int32_t Hi2,
                  int32_t Hi3, int32_t Hi4, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4, TInt4DArray& Dst) {
  return CopyBox(Src, detail::CornerBox(Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4), {Off1, Off2, Off3, Off4}, Dst);
}

int32_t CopyArrayColumn(const TDouble2DArray& A, int32_t Col, int32_t FirstRow, int32_t LastRow, TDoubleArray& V) {
  return ColumnOf(A, Col, FirstRow, LastRow, V);
}
int32_t CopyArrayColumn(const TInt2DArray& A, int32_t Col, int32_t FirstRow, int32_t LastRow, TIntArray& V) {
  return ColumnOf(A, Col, FirstRow, LastRow, V);
}
int32_t CopyArrayColumn(const TBool2DArray& A, int32_t Col, int32_t FirstRow, int32_t LastRow, TBoolArray& V) {
  return ColumnOf(A, Col, FirstRow, LastRow, V);
}
int32_t CopyArrayRow(const TDouble2DArray& A, int32_t Row, int32_t FirstCol, int32_t LastCol, TDoubleArray& V) {
  return RowOf(A, Row, FirstCol, LastCol, V);
}
int32_t CopyArrayRow(const TInt2DArray& A, int32_t Row, int32_t FirstCol, int32_t LastCol, TIntArray& V) {
  return RowOf(A, Row, FirstCol, LastCol, V);
}
int32_t CopyArrayRow(const TBool2DArray& A, int32_t Row, int32_t FirstCol, int32_t LastCol, TBoolArray& V) {
  return RowOf(A, Row, FirstCol, LastCol, V);
}

int32_t CopyVectorToArrayColumn(const TDoubleArray& V, int32_t FirstElem, int32_t LastElem, int32_t Col,
                                int32_t FirstRow, TDouble2DArray& A) {
  return VectorInto<true>(V, FirstElem, LastElem, Col, FirstRow, A);
}
int32_t CopyVectorToArrayColumn(const TIntArray& V, int32_t FirstElem, int32_t LastElem, int32_t Col, int32_t FirstRow,
                                TInt2DArray& A) {
  return VectorInto<true>(V, FirstElem, LastElem, Col, FirstRow, A);
}
int32_t CopyVectorToArrayColumn(const TBoolArray& V, int32_t FirstElem, int32_t LastElem, int32_t Col, int32_t FirstRow,
                                TBool2DArray& A) {
  return VectorInto<true>(V, FirstElem, LastElem, Col, FirstRow, A);
}
int32_t CopyVectorToArrayRow(const TDoubleArray& V, int32_t FirstElem, int32_t LastElem, int32_t FirstCol, int32_t Row,
                             TDouble2DArray& A) {
  return VectorInto<false>(V, FirstElem, LastElem, FirstCol, Row, A);
}
int32_t CopyVectorToArrayRow(const TIntArray& V, int32_t FirstElem, int32_t LastElem, int32_t FirstCol, int32_t Row,
                             TInt2DArray& A) {
  return VectorInto<false>(V, FirstElem, LastElem, FirstCol, Row, A);
}
int32_t CopyVectorToArrayRow(const TBoolArray& V, int32_t FirstElem, int32_t LastElem, int32_t FirstCol, int32_t Row,
                             TBool2DArray& A) {
  return VectorInto<false>(V, FirstElem, LastElem, FirstCol, Row, A);
}

}  // namespace orv
