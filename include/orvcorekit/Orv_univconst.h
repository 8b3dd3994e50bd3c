// Base unit Orv_univconst: numeric constants.
#pragma once

#include <cfloat>
#include <cstdint>

#include "Orv_export.h"

namespace orv {

inline constexpr double uc_MaxDouble = DBL_MAX;
inline constexpr double uc_MaxReal = DBL_MAX;
inline constexpr float uc_MaxSingle = FLT_MAX;
inline constexpr int64_t uc_MaxInt64 = INT64_MAX;
inline constexpr double uc_sqrt2 = 1.4142135623730950488;
inline constexpr double uc_sqrt2pitom1 = 0.39894228040143267794;  // 1 / sqrt(2 pi)

// ln(n!) for n = 0..1000 to full double precision.
inline constexpr int uc_LnFactorialMax = 1000;
ORVCORE_API extern const double uc_LnFactorial[1001];

}  // namespace orv
