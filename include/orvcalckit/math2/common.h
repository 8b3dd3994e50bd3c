// Unit ORV_math2: what its topics share. Included through ORV_math2.h.
#pragma once

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Host code that a free routine of the unit calls while it works (an
// output's OnChange, MathFeedBackProc, a feedback, distance or progress
// function passed in) may resize, refill or reassign the routine's inputs
// and outputs. Unless its comment says otherwise, the routine then finishes
// on its inputs as it read them (each read in one go between two calls of
// host code, or from a copy taken before them), and writes its outputs
// through the checked accessors (SetVal), so that an output resized
// meanwhile takes the cells that still fit.

// Errors of the unit's routines; messages begin with the routine's name.
class ORV_API EORVMath2Error : public EORVError {
 public:
  using EORVError::EORVError;
};

}  // namespace orv
