// Unit ORV_math2: the bracket balance of an expression. Included through
// ORV_math2.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "orvcalckit/ORV_export.h"

namespace orv {

// Walks Expression (UTF-8) counting "(" as +1 and ")" as -1. A ")" that
// would take the count below 0 stops the walk: the result is minus its
// position in characters counted from 1 (a character being a code point,
// so "ä)" gives -2). Otherwise the final count: 0 when balanced, else the
// number of brackets left open.
ORV_API int32_t CheckParanthInExp(std::string_view Expression);

}  // namespace orv
