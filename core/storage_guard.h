// Noticing that host code changed the storage a routine relies on
// (internal, header-only, layer-neutral: every subsystem uses this one
// mechanism). The rule it serves is in docs/DESIGN.md, "Component
// machinery", Events: host code called during a routine (an event,
// MathFeedBackProc, a feedback argument) may resize, empty, refill or
// reassign what the routine works on, and the routine checks after each
// call that what it relies on is still there.
//
// How a routine uses it
// ---------------------
// Before the first call of host code, name what the routine relies on:
//     TStorageGuard G(Self, Src, TopLevel(Grid), Count);
// and after each call of host code ask
//     if (!G.Intact()) ...  // (a) finish on a copy or again, (b) checked
//                           // accessors, (c) the documented failure
// G.Record() takes the stamp afresh: after the routine resized something
// itself, or took its pointers again. A routine that goes on when only
// the storage moved, but stops when a size changed, keeps two guards
// (ShapeOf(Self) in one, the storage in the other).
//
// What may be watched, each by reference (pass variables, never values;
// the guard holds no copy, and what it watches must outlive it, which the
// rule demands of host code anyway):
// - a std::vector<T>: its data pointer and size; a vector of vectors (a
//   2-D to 4-D dynamic array): the same for every level, i.e. for every
//   sub-array: O(sub-arrays), fine once per pass, too much once per cell;
// - TopLevel(V): the outer vector's data pointer and size only;
// - ItemOf(V, I): the outer vector, and element I's data pointer and size
//   while I < size (a matrix's key column, without every other column);
// - an int32_t or int64_t variable: its value (an extent kept aside);
// - a data component (TVector, TIntVector, TMatrix, TIntMatrix, TMat3D,
//   TMat4D, TDataTable): its extents, its storage kind and the addresses
//   of its storage (TStorageStamp below; the matrices' columns one by one,
//   O(columns)); the stamps are declared in linalg/storage_stamps.h and
//   tables/datatable_rules.h, which a routine includes;
// - ShapeOf(C): the component's extents and storage kind only, O(1).
//
// Intact() reads every stamp again from the roots named here, never
// through a pointer kept from before, so asking is safe whatever host code
// did, and allocates nothing (stamps of a varying number of words beyond 8
// live in a vector taken by the constructor and Record; the constructor
// may then raise std::bad_alloc, which a routine maps to its memory error
// as for any other storage). With no handler assigned a routine need not
// ask at all: the extra compare belongs on the path where host code runs.
//
// A component's stamp is TStorageStamp<C> (orvcalckit/detail/storage_stamp.h,
// which C befriends), with
//     static constexpr std::size_t ShapeWords = ..., StorageWords = ...;
//     template <class P> static void Shape(const C&, P& Put);    // extents, kind
//     template <class P> static void Storage(const C&, P& Put);  // addresses, sizes
// calling Put(x) for integers and pointers x (StampArray for a dynamic
// array), ShapeWords and StorageWords times (StorageWords 0 where the number
// varies, as with the columns of a matrix). A guard whose stamps all have
// a fixed number of words keeps them in place, and Intact() is a few
// compares laid out in line: cheap enough after every event of a sort.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "orvcalckit/detail/storage_stamp.h"

namespace orv::detail {

// ---- what may be watched besides variables ----------------------------------------
template <class T>
struct TTopLevel {
  const std::vector<T>& V;
};
template <class T>
TTopLevel<T> TopLevel(const std::vector<T>& V) {
  return {V};
}

template <class T>
struct TItemOf {
  const std::vector<T>& V;
  std::size_t I;
};
template <class T, std::integral I>
TItemOf<T> ItemOf(const std::vector<T>& V, I Index) {
  return {V, static_cast<std::size_t>(Index)};
}

template <class C>
struct TShapeOf {
  const C& X;
};
template <class C>
TShapeOf<C> ShapeOf(const C& X) {
  return {X};
}

// ---- stamps ---------------------------------------------------------------------------
template <class T>
inline constexpr bool IsStdVector = false;
template <class T, class A>
inline constexpr bool IsStdVector<std::vector<T, A>> = true;

// A dynamic array of any dimension: data pointer and size of every level.
template <class T, class P>
void StampArray(const std::vector<T>& V, P& Put) {
  Put(V.data());
  Put(V.size());
  if constexpr (IsStdVector<T>)
    for (const T& Item : V) StampArray(Item, Put);
}

template <class T, class P>
void StampOf(const T& X, P& Put) {
  if constexpr (std::is_integral_v<T>) {
    Put(X);
  } else if constexpr (IsStdVector<T>) {
    StampArray(X, Put);
  } else {
    TStorageStamp<T>::Shape(X, Put);
    TStorageStamp<T>::Storage(X, Put);
  }
}
template <class T, class P>
void StampOf(const TTopLevel<T>& W, P& Put) {
  Put(W.V.data());
  Put(W.V.size());
}
template <class T, class P>
void StampOf(const TItemOf<T>& W, P& Put) {
  Put(W.V.data());
  Put(W.V.size());
  const bool Has = W.I < W.V.size();  // four words either way: a fixed stamp
  Put(Has ? W.V[W.I].data() : nullptr);
  Put(Has ? W.V[W.I].size() : 0);
}
template <class C, class P>
void StampOf(const TShapeOf<C>& W, P& Put) {
  TStorageStamp<C>::Shape(W.X, Put);
}

// The words of a watched thing's stamp when their number is fixed, else 0.
// A component's stamp declares ShapeWords and StorageWords (0: it varies,
// as the columns of a matrix).
template <class T>
constexpr std::size_t FixedStampWords() {
  if constexpr (std::is_integral_v<T>) {
    return 1;
  } else if constexpr (IsStdVector<T>) {
    return IsStdVector<typename T::value_type> ? 0 : 2;
  } else {
    using S = TStorageStamp<T>;
    return S::StorageWords == 0 ? 0 : S::ShapeWords + S::StorageWords;
  }
}
template <class T>
constexpr std::size_t FixedStampWords(const TTopLevel<T>*) {
  return 2;
}
template <class T>
constexpr std::size_t FixedStampWords(const TItemOf<T>*) {
  return 4;
}
template <class C>
constexpr std::size_t FixedStampWords(const TShapeOf<C>*) {
  return TStorageStamp<C>::ShapeWords;
}
template <class T>
constexpr std::size_t FixedStampWords(const T* const*) {
  return FixedStampWords<T>();
}

template <class X>
uint64_t StampWord(X Value) {
  if constexpr (std::is_pointer_v<X> || std::is_null_pointer_v<X>)
    return reinterpret_cast<std::uintptr_t>(static_cast<const void*>(Value));
  else
    return static_cast<uint64_t>(Value);
}

template <class T>
inline constexpr bool IsWatchWrapper = false;
template <class T>
inline constexpr bool IsWatchWrapper<TTopLevel<T>> = true;
template <class T>
inline constexpr bool IsWatchWrapper<TItemOf<T>> = true;
template <class T>
inline constexpr bool IsWatchWrapper<TShapeOf<T>> = true;

// How the guard holds a watched thing: a wrapper by value, a variable by address.
template <class A>
using TWatchHeld = std::conditional_t<IsWatchWrapper<std::remove_cvref_t<A>>, std::remove_cvref_t<A>,
                                      const std::remove_reference_t<A>*>;

// The words of the stamps: in an array when their number is fixed (Intact
// then builds the stamp afresh and compares, a few instructions laid out in
// line); otherwise the first 8 in place and the rest in a vector, compared
// as they are read, so that a change stops the reading.
template <std::size_t N>
using TFixedWords = std::array<uint64_t, N>;

class TStampWords {
 public:
  void Clear() {
    FN = 0;
    FMore.clear();
  }
  void Push(uint64_t W) {
    if (FN < Inline)
      FInline[FN] = W;
    else
      FMore.push_back(W);
    ++FN;
  }
  bool Same(std::size_t I, uint64_t W) const { return I < FN && (I < Inline ? FInline[I] : FMore[I - Inline]) == W; }
  std::size_t Size() const { return FN; }

 private:
  static constexpr std::size_t Inline = 8;
  std::array<uint64_t, Inline> FInline{};
  std::vector<uint64_t> FMore;
  std::size_t FN = 0;
};

// ---- the guard -------------------------------------------------------------------------
// The words of all stamps of a guard holding W... when each is fixed, else 0.
template <class... W>
constexpr std::size_t FixedGuardWords() {
  std::size_t Sum = 0;
  for (const std::size_t N : {std::size_t{1}, FixedStampWords(static_cast<const W*>(nullptr))...}) {
    if (N == 0) return 0;
    Sum += N;
  }
  return Sum - 1;
}

template <class... W>
class TStorageGuard {
 public:
  template <class... A>
  explicit TStorageGuard(A&&... Watched) : FWatched(Hold(std::forward<A>(Watched))...) {
    static_assert(((std::is_lvalue_reference_v<A> || IsWatchWrapper<std::remove_cvref_t<A>>) && ...),
                  "the guard reads what it watches again: pass variables, not values");
    Record();
  }

  void Record() {
    if constexpr (Fixed > 0) {
      FWords = Now();
    } else {
      FWords.Clear();
      auto Put = [this](auto X) { FWords.Push(StampWord(X)); };
      std::apply([&](const auto&... H) { (StampOf(Deref(H), Put), ...); }, FWatched);
    }
  }

  // Everything watched has the extents and storage it had at the last Record.
  bool Intact() const {
    if constexpr (Fixed > 0) {
      const TFixedWords<Fixed> Words = Now();
      uint64_t Differ = 0;  // no branch per word: the loop unrolls into a few instructions
      for (std::size_t I = 0; I < Fixed; ++I) Differ |= Words[I] ^ FWords[I];
      return Differ == 0;
    } else {
      std::size_t I = 0;
      bool Same = true;
      auto Put = [&](auto X) {
        Same = Same && FWords.Same(I, StampWord(X));
        ++I;
      };
      const auto StillSame = [&](const auto& H) {
        StampOf(Deref(H), Put);
        return Same;
      };
      std::apply([&](const auto&... H) { (void)(StillSame(H) && ...); }, FWatched);
      return Same && I == FWords.Size();
    }
  }

 private:
  template <class A>
  static auto Hold(A&& X) {
    if constexpr (IsWatchWrapper<std::remove_cvref_t<A>>)
      return std::remove_cvref_t<A>(X);
    else
      return &std::as_const(X);
  }
  template <class H>
  static const auto& Deref(const H& Held) {
    if constexpr (std::is_pointer_v<H>)
      return *Held;
    else
      return Held;
  }

  static constexpr std::size_t Fixed = FixedGuardWords<W...>();

  // The stamp as it is now, when its words are fixed.
  TFixedWords<Fixed> Now() const {
    TFixedWords<Fixed> Words;
    std::size_t I = 0;
    auto Put = [&](auto X) { Words[I++] = StampWord(X); };
    std::apply([&](const auto&... H) { (StampOf(Deref(H), Put), ...); }, FWatched);
    return Words;
  }

  std::tuple<W...> FWatched;
  std::conditional_t<(Fixed > 0), TFixedWords<Fixed>, TStampWords> FWords;
};

template <class... A>
TStorageGuard(A&&...) -> TStorageGuard<TWatchHeld<A>...>;

}  // namespace orv::detail
