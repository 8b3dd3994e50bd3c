// Base unit Orv_dstruct: the bit field TBitFld and CRC-32.
#pragma once

#include "Orv_export.h"

namespace orv {}  // namespace orv
