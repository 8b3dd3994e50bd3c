// Base unit Orv_stringl: string utilities and number formatting.
#pragma once

#include <cstdint>
#include <string>

#include "Orv_export.h"

namespace orv {

// X in fixed point with Decimals decimals (negative counts as 0), padded with
// blanks on the left to Width; never cut.
ORVCORE_API std::string strff(double X, int32_t Width, int32_t Decimals);

}  // namespace orv
