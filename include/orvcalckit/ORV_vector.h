// Unit ORV_vector: the vector components TVector and TIntVector.
#pragma once

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {}  // namespace orv
