// Base unit Orv_orvcolors: colour conversions.
#pragma once

#include "Orv_export.h"

namespace orv {}  // namespace orv
