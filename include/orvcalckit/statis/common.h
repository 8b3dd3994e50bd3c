// Unit ORV_statis: what its topics share (error class, significance levels).
// Included through ORV_statis.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's routines; messages begin with the routine's name.
class ORV_API EORVStatisError : public EORVError {
 public:
  using EORVError::EORVError;
};

// The significance levels 0.20, 0.15, 0.10, 0.05 and 0.01 of the
// Kolmogorov-Smirnov tables. A parameter of this type may carry any ordinal;
// the routines say what the others give.
enum TSignifLevel : uint8_t { Dot20 = 0, Dot15 = 1, Dot10 = 2, Dot05 = 3, Dot01 = 4 };

// The significance levels 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2
// and 0.5 of the Dean-Dixon table; likewise any ordinal may come.
enum TSignifLevelEx : uint8_t {
  Dot001 = 0, Dot002 = 1, Dot005 = 2, Dot010 = 3, Dot020 = 4, Dot050 = 5, Dot100 = 6, Dot200 = 7, Dot500 = 8
};

}  // namespace orv
