// The orientation of three points (internal, header-only): CcwTriangle of
// ORV_math1, inline for the loops that test it point by point (the convex
// hull).
#pragma once

#include <cstdint>

#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// 1 counter-clockwise, -1 clockwise, 0 collinear (and for NaN).
inline int32_t Orientation(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3) {
  const double C = (P2.X - P1.X) * (P3.Y - P1.Y) - (P3.X - P1.X) * (P2.Y - P1.Y);
  return C > 0 ? 1 : C < 0 ? -1 : 0;
}

}  // namespace orv::detail
