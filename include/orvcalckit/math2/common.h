// Unit ORV_math2: what its topics share. Included through ORV_math2.h.
#pragma once

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's routines; messages begin with the routine's name.
class ORV_API EORVMath2Error : public EORVError {
 public:
  using EORVError::EORVError;
};

}  // namespace orv
