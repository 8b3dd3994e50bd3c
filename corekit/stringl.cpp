// Base unit Orv_stringl: string utilities and number formatting.
#include "orvcorekit/Orv_stringl.h"

#include <algorithm>

#include "orvcorekit/Orv_system.h"

namespace orv {

std::string strff(double X, int32_t Width, int32_t Decimals) { return Str(X, Width, std::max(Decimals, 0)); }

}  // namespace orv
