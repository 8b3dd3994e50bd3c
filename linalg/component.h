// Machinery shared by the data components (TVector, TIntVector, TMatrix,
// TIntMatrix, TMat3D, TMat4D, TDataTable): the range rule, the message form
// of component errors, allocation guards, event firing and resizing of
// column-major storage with kept overlap. Internal; see docs/DESIGN.md,
// "Component machinery".
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <cstdint>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "core/extent.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_dstruct.h"

namespace orv::detail {

// ---- range rule -----------------------------------------------------------------
// Bounds (0, 0) mean the whole axis 1..Count; other bounds are clamped into
// 1..Count and exchanged when reversed. An axis of length 0 has no cell to
// clamp to: any bounds then give Low = 1, High = 0, a range visiting nothing.
inline void MakeValidRange(int32_t& Low, int32_t& High, int32_t Count) {
  if (Count <= 0) {
    Low = 1;
    High = 0;
    return;
  }
  if (Low == 0 && High == 0) {
    Low = 1;
    High = Count;
    return;
  }
  Low = std::clamp(Low, 1, Count);
  High = std::clamp(High, 1, Count);
  if (High < Low) std::swap(Low, High);
}

// ---- errors -----------------------------------------------------------------------
// The problem every data component reports when its storage cannot be had.
inline constexpr std::string_view NoHeap = "not enough memory on heap";

// Component "<Name>": <Problem>. NameText is the component's name, or what a
// routine prints in its place (e.g. the name with ".Histogram" appended).
inline std::string ComponentMessage(std::string_view NameText, std::string_view Problem) {
  std::string S;
  S.reserve(NameText.size() + Problem.size() + 14);
  S.append("Component \"").append(NameText).append("\": ").append(Problem);
  return S;
}

template <class E>
[[noreturn]] void RaiseComponentError(const TComponent& C, std::string_view Problem) {
  throw E(ComponentMessage(C.Name(), Problem));
}

// Runs Body; an allocation failure inside it becomes the component's error E
// with the given problem. Body must leave the component unchanged when it
// throws (build aside, then commit).
template <class E, class F>
decltype(auto) GuardAlloc(const TComponent& C, std::string_view Problem, F&& Body) {
  return GuardAllocation(std::forward<F>(Body), [&] { return E(ComponentMessage(C.Name(), Problem)); });
}

// The cells of an array with the given extents, saturating at INT64_MAX (which
// CheckExtent refuses): a product of three or four 32-bit extents can pass 64 bits.
template <std::size_t N>
int64_t CellCount(const std::array<int32_t, N>& Extents) {
  int64_t Cells = 1;
  for (int32_t E : Extents) {
    if (E <= 0) return 0;
    if (Cells > INT64_MAX / E) return INT64_MAX;
    Cells *= E;
  }
  return Cells;
}

// ---- copying ---------------------------------------------------------------------
// AssignTo of a component class C: Dest takes Self's data when Self is of
// Dest's class; otherwise the platform's error.
template <class C>
void AssignToSameClass(C& Self, TPersistent* Dest) {
  if (auto* D = dynamic_cast<C*>(Dest); D != nullptr && typeid(*D) == typeid(C)) {
    D->Assign(&Self);
    return;
  }
  Self.TComponent::AssignTo(Dest);
}

// ---- events -------------------------------------------------------------------------
// Fires a handler when assigned: with no handler the cost is one branch.
template <class Event, class... Args>
inline void Fire(const Event& Handler, Args&&... A) {
  if (Handler) [[unlikely]]
    Handler(std::forward<Args>(A)...);
}

// ---- storage ----------------------------------------------------------------------------
// A component that resizes several arrays at once prepares each aside and
// commits them together, so that an allocation failure in any of them leaves
// every array as it was. The constructors do every allocation and may throw;
// Commit() cannot fail (kept items move into reserved capacity, cut items go).

// A per-item array (names, attributes, ...) taking Count items; item i
// (0-based) of the added ones is MakeItem(i).
template <class T>
class TPendingItems {
 public:
  template <class Make>
  TPendingItems(std::vector<T>& V, int32_t Count, Make&& MakeItem) : FV(V), FN(Ix(Count)) {
    CheckExtent(Count, sizeof(T));
    if (FN <= V.size()) return;
    FAdded.reserve(FN - V.size());
    for (std::size_t I = V.size(); I < FN; ++I) FAdded.push_back(MakeItem(I));
    V.reserve(FN);  // strong guarantee: V keeps its items when this fails
  }
  void Commit() noexcept {
    if (FN <= FV.size()) {
      FV.resize(FN);  // shrinking allocates nothing
      return;
    }
    for (T& X : FAdded) FV.push_back(std::move(X));
  }

 private:
  std::vector<T>& FV;
  std::size_t FN;
  std::vector<T> FAdded;
};

// A grid of columns ([column][row]) taking Cols x Rows cells: cells of the
// overlap keep their values, new cells are T(). When the row count stays,
// only the added columns are allocated; otherwise the new grid is built aside.
template <class T>
class TPendingGrid {
 public:
  TPendingGrid(std::vector<std::vector<T>>& G, int32_t Cols, int32_t Rows) : FG(G) {
    CheckExtent(int64_t{Cols} * Rows, sizeof(T));
    CheckExtent(Cols, sizeof(std::vector<T>));
    const std::size_t NC = Ix(Cols);
    const std::size_t NR = Ix(Rows);
    if (!G.empty() && G.front().size() == NR) {
      FSameRows.emplace(G, Cols, [NR](std::size_t) { return std::vector<T>(NR); });
      return;
    }
    // Columns that a caller reserved ahead (a list growing row by row) take
    // the new rows in place: nothing to allocate, so nothing can fail.
    FInPlaceRows = !G.empty() && G.size() == NC && NR > G.front().size();
    for (std::size_t C = 0; FInPlaceRows && C < NC; ++C) FInPlaceRows = G[C].capacity() >= NR;
    if (FInPlaceRows) {
      FRows = NR;
      return;
    }
    FNew.resize(NC);
    for (std::size_t C = 0; C < NC; ++C) {
      FNew[C].resize(NR);
      if (C < G.size()) std::copy_n(G[C].begin(), std::min(NR, G[C].size()), FNew[C].begin());
    }
  }
  void Commit() noexcept {
    if (FSameRows)
      FSameRows->Commit();
    else if (FInPlaceRows)
      for (auto& Col : FG) Col.resize(FRows);
    else
      FG.swap(FNew);
  }

 private:
  std::vector<std::vector<T>>& FG;
  std::optional<TPendingItems<std::vector<T>>> FSameRows;
  std::vector<std::vector<T>> FNew;
  bool FInPlaceRows = false;
  std::size_t FRows = 0;
};

// Resizes a grid of Cols columns by Rows rows at once, with the strong guarantee.
template <class T>
void ResizeGrid(std::vector<std::vector<T>>& G, int32_t Cols, int32_t Rows) {
  TPendingGrid<T>(G, Cols, Rows).Commit();
}

// Resizes a dense array stored in one piece, its extents Old and New listed
// from the slowest axis to the fastest (TMat3D: columns, rows, layers); cells
// inside both extents keep their values, new cells are T(). Strong guarantee:
// on an allocation failure the array is unchanged.
template <class T, std::size_t N>
void ResizeDense(std::vector<T>& A, const std::array<int32_t, N>& Old, const std::array<int32_t, N>& New) {
  static_assert(N >= 1);
  const int64_t Cells = CellCount(New);
  CheckExtent(Cells, sizeof(T));
  std::vector<T> B(Ix(Cells));
  std::array<int32_t, N> Keep;
  for (std::size_t K = 0; K < N; ++K) Keep[K] = std::min(Old[K], New[K]);
  if (CellCount(Keep) > 0) {
    // Strides of both layouts; the overlap is copied in runs along the fastest axis.
    std::array<std::size_t, N> SOld, SNew;
    SOld[N - 1] = SNew[N - 1] = 1;
    for (std::size_t K = N - 1; K > 0; --K) {
      SOld[K - 1] = SOld[K] * Ix(Old[K]);
      SNew[K - 1] = SNew[K] * Ix(New[K]);
    }
    std::array<int32_t, N> I{};  // position on the outer axes 0..N-2
    for (;;) {
      std::size_t From = 0, To = 0;
      for (std::size_t K = 0; K + 1 < N; ++K) {
        From += Ix(I[K]) * SOld[K];
        To += Ix(I[K]) * SNew[K];
      }
      std::copy_n(A.begin() + static_cast<std::ptrdiff_t>(From), Keep[N - 1], B.begin() + static_cast<std::ptrdiff_t>(To));
      std::size_t K = N - 1;
      while (K > 0 && ++I[K - 1] == Keep[K - 1]) I[--K] = 0;
      if (K == 0) break;
    }
  }
  A.swap(B);
}

// ---- checksum text -----------------------------------------------------------------
// Lanes CRC-32 registers side by side, each started at 0xFFFFFFFF. A byte at
// position p goes to register p mod Lanes; a value's bytes, in memory order
// (little-endian), go to registers 0, 1, ... Text() complements the registers
// and prints them as Hex(register, 8), register 0 first: 8 * Lanes digits.
static_assert(std::endian::native == std::endian::little, "checksums read values in little-endian order");

template <int Lanes>
class TLaneCRC {
 public:
  TLaneCRC() { FReg.fill(0xFFFFFFFFu); }

  void AddByte(int64_t Position, uint8_t B) {
    uint32_t& R = FReg[Ix(Position % Lanes)];
    R = CalcNextCRC32(B, R);
  }

  template <class T>
  void AddValue(const T& Value) {
    static_assert(sizeof(T) == Lanes && std::is_trivially_copyable_v<T>);
    uint8_t Bytes[Lanes];
    std::memcpy(Bytes, &Value, Lanes);
    for (int J = 0; J < Lanes; ++J) FReg[Ix(J)] = CalcNextCRC32(Bytes[J], FReg[Ix(J)]);
  }

  std::string Text() const {
    std::string S;
    S.reserve(8 * Lanes);
    for (uint32_t R : FReg) S += Hex(static_cast<int32_t>(R ^ 0xFFFFFFFFu), 8);
    return S;
  }

 private:
  std::array<uint32_t, Lanes> FReg;
};

}  // namespace orv::detail
