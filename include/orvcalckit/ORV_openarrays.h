// Unit ORV_openarrays: routines over the dynamic arrays of one to four
// dimensions. The unit's entry point: one header per topic in openarrays/,
// and openarrays/common.h for the conventions they share.
#pragma once

#include "orvcalckit/openarrays/common.h"
#include "orvcalckit/openarrays/boolean.h"
#include "orvcalckit/openarrays/cellwise.h"
#include "orvcalckit/openarrays/clone.h"
#include "orvcalckit/openarrays/extremes.h"
#include "orvcalckit/openarrays/fill.h"
#include "orvcalckit/openarrays/floodfill.h"
#include "orvcalckit/openarrays/image.h"
#include "orvcalckit/openarrays/search.h"
