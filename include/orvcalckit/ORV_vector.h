// Unit ORV_vector: the vector components TVector and TIntVector. The unit's
// entry point: one header per class in vector/, and vector/common.h for what
// they share.
#pragma once

#include "orvcalckit/vector/common.h"
#include "orvcalckit/vector/TIntVector.h"
#include "orvcalckit/vector/TVector.h"
