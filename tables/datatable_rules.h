// Rules of TDataTable's cells and texts that its sources share: the state
// bits, the slot a stored value refers to, cutting names to their length,
// and silencing handlers for the length of an operation. Internal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// State bits of a cell.
inline constexpr uint8_t csNotANumber = 0x01;
inline constexpr uint8_t csEmpty = 0x02;
inline constexpr uint8_t csImputed = 0x20;
inline constexpr uint8_t csMarking1 = 0x40;
inline constexpr uint8_t csMarking2 = 0x80;

// Only numeric cells enter the statistics.
constexpr bool IsNumericState(uint8_t S) { return (S & (csNotANumber | csEmpty)) == 0; }
// A numeric cell is marked for Mask when a bit of Mask above the two
// non-numeric bits is set in its state.
constexpr bool IsMarkedState(uint8_t S, uint8_t Mask) { return IsNumericState(S) && (S & Mask & 0xFC) != 0; }

// The identifier slot a stored value of a categorical column refers to: the
// value rounded half to even when that lies in 1..MaxNominalIDs, else 0 (NaN,
// infinities and every other value). Only values inside that range reach
// the integer conversion.
inline int32_t SlotOf(double V) {
  if (!(V >= 0.5 && V <= MaxNominalIDs + 0.5)) return 0;
  return static_cast<int32_t>(Round(V));  // 0.5 rounds to 0: no slot
}

// S cut to at most MaxBytes bytes at a character boundary: a UTF-8 sequence
// that would straddle the cut is dropped whole. Bytes that are no valid
// UTF-8 there are cut at MaxBytes.
inline std::string CutText(std::string_view S, int32_t MaxBytes) {
  const std::size_t N = Ix(MaxBytes);
  if (S.size() <= N) return std::string(S);
  auto Byte = [&](std::size_t P) { return static_cast<unsigned char>(S[P]); };
  // S[N] is the first byte dropped; back up over continuation bytes (at
  // most 3 follow a lead byte) to the lead of the sequence holding it.
  std::size_t Lead = N;
  while (Lead > 0 && N - Lead < 3 && (Byte(Lead) & 0xC0) == 0x80) --Lead;
  const std::size_t Len = Byte(Lead) >= 0xF0 ? 4 : Byte(Lead) >= 0xE0 ? 3 : Byte(Lead) >= 0xC0 ? 2 : 1;
  return std::string(S.substr(0, Lead < N && Lead + Len > N ? Lead : N));
}

// Handlers set to nil for the scope of an operation and restored when it
// ends, also when an exception passes:
//   { TSilence Quiet(T.OnChange, T.OnChangeSetup); ...change... }  fire
template <class... H>
class TSilence {
 public:
  explicit TSilence(H&... Handlers) : FRefs(Handlers...), FSaved(std::move(Handlers)...) {
    ((Handlers = nullptr), ...);
  }
  ~TSilence() { FRefs = std::move(FSaved); }
  TSilence(const TSilence&) = delete;
  TSilence& operator=(const TSilence&) = delete;

 private:
  std::tuple<H&...> FRefs;
  std::tuple<H...> FSaved;
};

// The table's stamp for a TStorageGuard (core/storage_guard.h): its extents
// and the matrix it holds; then that matrix's cells and the states.
template <>
struct TStorageStamp<TDataTable> {
  static constexpr std::size_t ShapeWords = 3, StorageWords = 0;
  template <class P>
  static void Shape(const TDataTable& T, P& Put) {
    Put(T.FNrOfCols);
    Put(T.FNrOfRows);
    Put(T.NumericData);
  }
  template <class P>
  static void Storage(const TDataTable& T, P& Put) {
    if (T.NumericData != nullptr) StampOf(*T.NumericData, Put);
    StampArray(T.FCState, Put);
  }
};

}  // namespace orv::detail
