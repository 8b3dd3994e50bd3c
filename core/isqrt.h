// Integer square root (internal).
#pragma once

#include <cmath>
#include <cstdint>

#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// Largest r with r * r <= m, for m below 2^63. The double root is within one of
// it; the two loops make it exact.
inline uint64_t ISqrt(uint64_t m) {
  uint64_t r = static_cast<uint64_t>(Trunc(std::sqrt(static_cast<double>(m))));
  while (r > 0 && r * r > m) --r;
  while ((r + 1) * (r + 1) <= m) ++r;
  return r;
}

}  // namespace orv::detail
