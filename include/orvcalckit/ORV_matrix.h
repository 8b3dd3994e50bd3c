// Unit ORV_matrix: the matrix component TMatrix.
#pragma once

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {}  // namespace orv
