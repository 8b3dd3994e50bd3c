// Unit ORV_complex: complex numbers.
#pragma once

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {}  // namespace orv
