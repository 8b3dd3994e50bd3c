// The orientation of three points and the segment test built on it
// (internal, header-only): CcwTriangle and SegmentsIntersect of ORV_math1,
// inline for the loops that test them point by point (the convex hull, the
// self-intersections of a polygon).
#pragma once

#include <cstdint>

#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// 1 counter-clockwise, -1 clockwise, 0 collinear (and for NaN).
inline int32_t Orientation(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3) {
  const double C = (P2.X - P1.X) * (P3.Y - P1.Y) - (P3.X - P1.X) * (P2.Y - P1.Y);
  return C > 0 ? 1 : C < 0 ? -1 : 0;
}

// The segments P1 P2 and P3 P4 meet, touching included (and any four
// collinear points).
inline bool SegmentsMeet(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3,
                         const TPointDouble& P4) {
  if (Orientation(P1, P2, P3) * Orientation(P1, P2, P4) > 0) return false;
  return Orientation(P3, P4, P1) * Orientation(P3, P4, P2) <= 0;
}

}  // namespace orv::detail
