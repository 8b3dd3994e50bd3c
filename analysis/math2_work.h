// Work space and errors of the ORV_math2 routines (internal).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/extent.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv::detail {

[[noreturn]] inline void RaiseMath2(const char* Text) { throw EORVMath2Error(Text); }

// Count zeros of work space for the routine Name; EORVMath2Error
// "<Name>: not enough memory" when they cannot be had.
template <class T = double>
std::vector<T> Math2WorkArray(std::string_view Name, int64_t Count) {
  return GuardAllocation(
      [&] {
        CheckExtent(Count, sizeof(T));
        return std::vector<T>(Ix(Count));
      },
      [&] { return EORVMath2Error(std::string(Name) + ": not enough memory"); });
}

}  // namespace orv::detail
