// Unit ORV_sline: straight lines in the plane (TSLine).
#pragma once

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {}  // namespace orv
