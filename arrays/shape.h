// The shape rules that every family of ORV_openarrays shares (internal,
// header-only): rank and cell type of the dynamic arrays, their extents read
// through element 0, the ragged rule, and the two forms of a box. The visitors
// that walk arrays and boxes are in arrays/visit.h, the cell conversions and
// wrapping integer operations in arrays/convert.h. See docs/DESIGN.md,
// "Array routines".
//
// How a family uses it
// --------------------
//   const auto S = detail::Shape(A);        // extents through element 0, ragged or not
//   if (S.Empty()) return -1;               // empty at any level, or ragged
//   if (S.Empty(3)) return -1;              // a family that tests only three levels
//   const auto B = detail::PairBox(Lo1, Hi1, Lo2, Hi2);   // or CornerBox(Lo1, Lo2, Hi1, Hi2)
//   switch (B.Fit(S)) { ... }               // bfInside, bfReversed or bfOutside
//   detail::WholeBox(S)                      // the box of all cells (rectangular arrays)
//
// - Extents are int64_t: Ext[0] is the length of A, Ext[1] of A[0], Ext[2] of
//   A[0][0], Ext[3] of A[0][0][0]. A level below an empty one has no element 0
//   to read through; its extent is 0, so it is empty too.
// - Ragged: some sub-array differs in length from element 0 of its level (at
//   any level). Every routine treats a ragged array as empty: it gives the
//   result of an empty array and writes nothing. Shape() finds out with one
//   pass over the sub-array lengths, never over the cells. A family whose
//   empty result is a success says what a ragged input gets instead.
// - Which levels count is the family's: Empty() tests all, Empty(L) the first
//   L (CountValues of 3-D and 4-D arrays tests three). EmptyLevel() names the
//   first empty level. Routines that report an index or a position also test
//   Indexable(): an array with a level beyond 2147483647 cells counts as empty.
// - A box holds, per dimension (dimension 1 first), an inclusive range of
//   int64_t indices. CornerBox reads the corner form (all low indices, then all
//   high ones), PairBox the pair form (low and high per dimension). Fit tells
//   whether it lies in the array: bfOutside when a bound is negative or not
//   below its extent (that wins), else bfReversed when a high bound is below
//   its low bound, else bfInside. Each family maps these to its own codes in
//   its own order.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace orv::detail {

// ---- rank and cell type ----------------------------------------------------------
// TIntArray 1, TInt2DArray 2, ...; a std::string is a cell, so TStrArray is 1-D.
template <class T>
struct TArrayRank : std::integral_constant<int, 0> {};
template <class T>
struct TArrayRank<std::vector<T>> : std::integral_constant<int, 1 + TArrayRank<T>::value> {};
template <class A>
inline constexpr int Rank = TArrayRank<std::remove_cvref_t<A>>::value;

template <class T>
struct TArrayCell {
  using type = T;
};
template <class T>
struct TArrayCell<std::vector<T>> : TArrayCell<T> {};
// The cell type of an array: double for TDouble3DArray.
template <class A>
using CellOf = typename TArrayCell<std::remove_cvref_t<A>>::type;

// One index per dimension, dimension 1 first.
template <int N>
using TIndex = std::array<int64_t, N>;

// ---- extents and the ragged rule -----------------------------------------------------
template <int N>
struct TShape {
  TIndex<N> Ext{};      // lengths through element 0; 0 below an empty level
  bool Ragged = false;  // some sub-array differs in length from element 0 of its level

  // The first of the first Levels levels (counted from 1) of length 0; 0 when none is.
  constexpr int EmptyLevel(int Levels = N) const {
    for (int L = 0; L < Levels && L < N; ++L)
      if (Ext[L] == 0) return L + 1;
    return 0;
  }
  // Empty at one of the first Levels levels, or ragged.
  constexpr bool Empty(int Levels = N) const { return Ragged || EmptyLevel(Levels) != 0; }
  // Every cell has an Integer index: routines that report indices or
  // positions treat an array beyond that as empty.
  constexpr bool Indexable() const {
    for (int64_t E : Ext)
      if (E > INT32_MAX) return false;
    return true;
  }
  // The number of cells of a rectangular array.
  constexpr int64_t Cells() const {
    int64_t C = 1;
    for (int64_t E : Ext) C *= E;
    return C;
  }
};

namespace shape_impl {

template <int Level, int N, class V>
void ReadExtents(const V& X, TIndex<N>& Ext) {
  Ext[Level] = static_cast<int64_t>(X.size());
  if constexpr (Level + 1 < N)
    if (!X.empty()) ReadExtents<Level + 1, N>(X.front(), Ext);
}

// Every sub-array below X (X at depth Level) is as long as element 0 of its level.
template <int Level, int N, class V>
bool SameLengths(const V& X, const TIndex<N>& Ext) {
  if constexpr (Level + 1 < N) {
    for (const auto& Sub : X)
      if (static_cast<int64_t>(Sub.size()) != Ext[Level + 1] || !SameLengths<Level + 1, N>(Sub, Ext)) return false;
  }
  return true;
}

}  // namespace shape_impl

template <class A>
TShape<Rank<A>> Shape(const A& X) {
  constexpr int N = Rank<A>;
  static_assert(N >= 1, "Shape takes a dynamic array");
  TShape<N> S;
  shape_impl::ReadExtents<0, N>(X, S.Ext);
  S.Ragged = !shape_impl::SameLengths<0, N>(X, S.Ext);
  return S;
}

// ---- boxes -------------------------------------------------------------------------------
enum TBoxFit : uint8_t { bfInside, bfReversed, bfOutside };

template <int N>
struct TBox {
  TIndex<N> Lo{}, Hi{};

  constexpr TBoxFit Fit(const TShape<N>& S) const {
    for (int D = 0; D < N; ++D)
      if (Lo[D] < 0 || Lo[D] >= S.Ext[D] || Hi[D] < 0 || Hi[D] >= S.Ext[D]) return bfOutside;
    for (int D = 0; D < N; ++D)
      if (Hi[D] < Lo[D]) return bfReversed;
    return bfInside;
  }
  // The number of cells of a box that lies inside an array (bfInside).
  constexpr int64_t Cells() const {
    int64_t C = 1;
    for (int D = 0; D < N; ++D) C *= Hi[D] - Lo[D] + 1;
    return C;
  }
};

// The box of every cell of a rectangular array of that shape.
template <int N>
constexpr TBox<N> WholeBox(const TShape<N>& S) {
  TBox<N> B;
  for (int D = 0; D < N; ++D) B.Hi[D] = S.Ext[D] - 1;
  return B;
}

namespace shape_impl {

template <bool Pairs, std::integral... I>
constexpr TBox<sizeof...(I) / 2> ReadBox(I... Bounds) {
  static_assert(sizeof...(I) % 2 == 0 && sizeof...(I) >= 2);
  constexpr int N = sizeof...(I) / 2;
  const int64_t B[] = {static_cast<int64_t>(Bounds)...};
  TBox<N> Box;
  for (int D = 0; D < N; ++D) {
    Box.Lo[D] = B[Pairs ? 2 * D : D];
    Box.Hi[D] = B[Pairs ? 2 * D + 1 : N + D];
  }
  return Box;
}

}  // namespace shape_impl

// Corner form: Lo1, ..., LoN, Hi1, ..., HiN.
template <std::integral... I>
constexpr TBox<sizeof...(I) / 2> CornerBox(I... Bounds) {
  return shape_impl::ReadBox<false>(Bounds...);
}

// Pair form: Lo1, Hi1, ..., LoN, HiN.
template <std::integral... I>
constexpr TBox<sizeof...(I) / 2> PairBox(I... Bounds) {
  return shape_impl::ReadBox<true>(Bounds...);
}

}  // namespace orv::detail
