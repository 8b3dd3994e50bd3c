// Unit ORV_math2: analysis routines (covariance, eigenvectors, principal components, ...).
#pragma once

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {}  // namespace orv
