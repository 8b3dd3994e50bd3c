// Walks over the cells of the dynamic arrays of ORV_openarrays (internal,
// header-only), in scan order: dimension 1 slowest, the innermost fastest
// (column by column, and within a column row by row), or in draw order.
//
//   ForEachRun(A, Fn)             Fn(Run, First) for each innermost sub-array
//   ForEachRunInBox(A, Box, Fn)   the same over the part of each run inside Box
//   ForEachCell(A, Fn)            Fn(Cell) or Fn(Cell, At) for each cell
//   ForEachCellInBox(A, Box, Fn)  the same over the cells inside Box
//   ForEachCellInDrawOrder(A, Box, Fn)
//                                 the same in draw order (below)
//   FirstCell(A)                  A[0], A[0][0], ... of an array not empty
//   MapCells<Dst>(Src, Fn)        a new array of Src's shape, each cell Fn(source cell)
//
// - Draw order is the order in which the random fills hand out the numbers of
//   the generator's sequence and the box statistics sum their cells: 1-D and
//   2-D the scan order; 3-D for each third index, for each first index, the
//   second index fastest; 4-D for each fourth index, for each third, for each
//   first, the second fastest. Its inner loop runs across sub-arrays, so it
//   is slower than scan order on large 3-D and 4-D arrays; use it only where
//   the order is pinned. WholeBox(Shape(A)) (arrays/shape.h) walks every cell.
// - Run is a std::span over the cells of one innermost sub-array (span<const T>
//   when A is const), First the index of its first cell, At the index of the
//   cell (TIndex<N> of arrays/shape.h, dimension 1 first; valid during the
//   call only). The cell visitors pass At only when Fn takes two arguments,
//   so a walk without positions pays nothing for them.
// - Fn may return bool: false stops the walk and the visitor returns false;
//   otherwise (and for Fn returning void) the visitor returns true.
// - The whole-array visitors and MapCells follow the sub-arrays as they are,
//   so they never leave an array, ragged or not; a family still applies the
//   ragged rule (arrays/shape.h) before it walks. The box visitors index
//   through the box: give them a box that Fit() found bfInside (a reversed one
//   visits nothing; an outside one is undefined).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <type_traits>
#include <utility>

#include "arrays/shape.h"
#include "orvcalckit/detail/index.h"

namespace orv::detail {

namespace visit_impl {

// Calls Fn; its bool result, or true when it returns nothing.
template <class F, class... Args>
constexpr bool Continue(F& Fn, Args&&... A) {
  if constexpr (std::is_same_v<std::invoke_result_t<F&, Args...>, bool>) {
    return std::invoke(Fn, std::forward<Args>(A)...);
  } else {
    std::invoke(Fn, std::forward<Args>(A)...);
    return true;
  }
}

template <int Level, int N, class V, class F>
bool Runs(V& X, TIndex<N>& At, F& Fn) {
  if constexpr (Level + 1 == N) {
    At[Level] = 0;
    return Continue(Fn, std::span(X), std::as_const(At));
  } else {
    int64_t I = 0;
    for (auto& Sub : X) {
      At[Level] = I++;
      if (!Runs<Level + 1, N>(Sub, At, Fn)) return false;
    }
    return true;
  }
}

template <int Level, int N, class V, class F>
bool RunsInBox(V& X, const TBox<N>& B, TIndex<N>& At, F& Fn) {
  if constexpr (Level + 1 == N) {
    At[Level] = B.Lo[Level];
    return Continue(Fn, std::span(X).subspan(Ix(B.Lo[Level]), Ix(B.Hi[Level] - B.Lo[Level] + 1)),
                    std::as_const(At));
  } else {
    for (int64_t I = B.Lo[Level]; I <= B.Hi[Level]; ++I) {
      At[Level] = I;
      if (!RunsInBox<Level + 1, N>(X[Ix(I)], B, At, Fn)) return false;
    }
    return true;
  }
}

template <int Level, int N, class V>
auto& CellAt(V& X, const TIndex<N>& At) {
  if constexpr (Level + 1 == N)
    return X[Ix(At[Level])];
  else
    return CellAt<Level + 1, N>(X[Ix(At[Level])], At);
}

// 3-D and 4-D: the outer steps run the fourth index, then the third, and set
// them in At; the last two run dimension 1, then dimension 2 fastest, with
// the sub-array of dimension 1 held, so a cell costs the indexing of the
// levels below it.
template <int Step, int N, class V, class F>
bool Draw(V& X, const TBox<N>& B, TIndex<N>& At, F& Fn) {
  static_assert(N == 3 || N == 4, "scan order below 3-D; draw order is defined up to 4-D");
  if constexpr (Step + 2 < N) {
    constexpr int D = N - 1 - Step;
    for (At[D] = B.Lo[D]; At[D] <= B.Hi[D]; ++At[D])
      if (!Draw<Step + 1, N>(X, B, At, Fn)) return false;
  } else {
    for (int64_t I = B.Lo[0]; I <= B.Hi[0]; ++I) {
      auto& Sub = X[Ix(I)];
      At[0] = I;
      for (int64_t J = B.Lo[1]; J <= B.Hi[1]; ++J) {
        auto& C = CellAt<2, N>(Sub[Ix(J)], At);
        if constexpr (std::is_invocable_v<F&, decltype(C), const TIndex<N>&>) {
          At[1] = J;
          if (!Continue(Fn, C, std::as_const(At))) return false;
        } else if (!Continue(Fn, C)) {
          return false;
        }
      }
    }
  }
  return true;
}

template <int N, class T, class F>
bool Cells(std::span<T> Run, const TIndex<N>& First, F& Fn) {
  if constexpr (std::is_invocable_v<F&, T&, const TIndex<N>&>) {
    TIndex<N> At = First;
    for (T& C : Run) {
      if (!Continue(Fn, C, std::as_const(At))) return false;
      ++At[N - 1];
    }
  } else {
    for (T& C : Run)
      if (!Continue(Fn, C)) return false;
  }
  return true;
}

}  // namespace visit_impl

template <class A, class F>
bool ForEachRun(A& X, F&& Fn) {
  constexpr int N = Rank<A>;
  TIndex<N> At{};
  return visit_impl::Runs<0, N>(X, At, Fn);
}

template <class A, class F>
bool ForEachRunInBox(A& X, const TBox<Rank<A>>& B, F&& Fn) {
  constexpr int N = Rank<A>;
  for (int D = 0; D < N; ++D)
    if (B.Hi[D] < B.Lo[D]) return true;
  TIndex<N> At{};
  return visit_impl::RunsInBox<0, N>(X, B, At, Fn);
}

template <class A, class F>
bool ForEachCell(A& X, F&& Fn) {
  constexpr int N = Rank<A>;
  return ForEachRun(X, [&Fn](auto Run, const TIndex<N>& First) { return visit_impl::Cells<N>(Run, First, Fn); });
}

template <class A, class F>
bool ForEachCellInBox(A& X, const TBox<Rank<A>>& B, F&& Fn) {
  constexpr int N = Rank<A>;
  return ForEachRunInBox(X, B,
                         [&Fn](auto Run, const TIndex<N>& First) { return visit_impl::Cells<N>(Run, First, Fn); });
}

template <class A, class F>
bool ForEachCellInDrawOrder(A& X, const TBox<Rank<A>>& B, F&& Fn) {
  constexpr int N = Rank<A>;
  if constexpr (N <= 2) {
    return ForEachCellInBox(X, B, Fn);
  } else {
    for (int D = 0; D < N; ++D)
      if (B.Hi[D] < B.Lo[D]) return true;
    TIndex<N> At{};
    return visit_impl::Draw<0, N>(X, B, At, Fn);
  }
}

template <class A>
auto& FirstCell(A& X) {
  if constexpr (Rank<A> == 1)
    return X.front();
  else
    return FirstCell(X.front());
}

template <class Dst, class Src, class F>
Dst MapCells(const Src& S, F&& Fn) {
  static_assert(Rank<Dst> == Rank<Src>);
  Dst D(S.size());
  if constexpr (Rank<Src> == 1) {
    std::transform(S.begin(), S.end(), D.begin(), std::ref(Fn));
  } else {
    for (std::size_t I = 0; I < S.size(); ++I) D[I] = MapCells<typename Dst::value_type>(S[I], Fn);
  }
  return D;
}

}  // namespace orv::detail
