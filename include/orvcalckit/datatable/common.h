// Unit ORV_datatable: its error class, the measurement scales, the variable
// type record and the resize event. Included through ORV_datatable.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the data table: Component "<Name>": <problem>.
class ORV_API EORVDataTableError : public EORVError {
 public:
  using EORVError::EORVError;
};

// Row and column names and nominal identifiers are UTF-8 text of at most
// DTNameLength and NominalIDLength bytes. Longer texts are cut at the last
// character boundary that fits, never inside a UTF-8 sequence.
using TDTNameStr = std::string;
using TNominalIDStr = std::string;
inline constexpr int32_t DTNameLength = 50;
inline constexpr int32_t NominalIDLength = 10;
// Identifier slots per column, numbered 1..MaxNominalIDs.
inline constexpr int32_t MaxNominalIDs = 150;

// Measurement scale of a column. Nominal and ordinal columns are categorical:
// their cells hold the slot number of an identifier.
enum TMScaleType : uint8_t { stUnknown = 0, stNominal = 1, stOrdinal = 2, stInterval = 3, stRatio = 4 };

// "Unknown", "Nominal", "Ordinal", "Interval", "Ratio"; empty for any other ordinal.
constexpr std::string_view MScaleTypeText(TMScaleType T) {
  constexpr std::string_view Texts[] = {"Unknown", "Nominal", "Ordinal", "Interval", "Ratio"};
  return T <= stRatio ? Texts[T] : std::string_view();
}

// Scale and identifiers of one column: IDs[k - 1] is the text of slot k; an
// empty identifier is a free slot. A new column is stInterval with all slots free.
struct TVTypeSpec {
  TMScaleType MScaleType = stInterval;
  std::array<TNominalIDStr, MaxNominalIDs> IDs;
};

namespace detail {
constexpr bool IsCategorical(TMScaleType T) { return T == stNominal || T == stOrdinal; }
}  // namespace detail

using TDataTableResizeEvent = std::function<void(TObject* Sender, int32_t OldColumns, int32_t OldRows,
                                                 int32_t NewColumns, int32_t NewRows)>;

}  // namespace orv
