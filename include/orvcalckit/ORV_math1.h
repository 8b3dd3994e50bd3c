// Unit ORV_math1: scalar mathematics, number formatting, sorting and selection
// in plain arrays, random generators, compensated summation, plane geometry and
// angles.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's routines; messages begin with the routine's name.
class ORV_API EORVMath1Error : public EORVError {
 public:
  using EORVError::EORVError;
};

// ============================================================================
// Sorting, selection and exchange in plain arrays
// ============================================================================


// ============================================================================
// Random generators and compensated summation
// ============================================================================


// ============================================================================
// Scalar mathematics: functions, integers and primes, interpolation, bits
// ============================================================================


// ============================================================================
// Number formatting and conversion
// ============================================================================


// ============================================================================
// Plane geometry of points, segments, rectangles and ellipses
// ============================================================================


// ============================================================================
// Angles in degrees, minutes and seconds
// ============================================================================


}  // namespace orv
