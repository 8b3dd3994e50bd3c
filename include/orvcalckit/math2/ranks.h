// Unit ORV_math2: ranks of vector elements. Included through ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// Mid-ranks of the elements of Src into Dst (resized to Src's size; OnChange
// per element): equal values share the mean of their ranks, NaN values rank
// last, each on its own. Returns the tie term, the sum of t^3 - t over the
// groups of t >= 2 equal values (0 without ties). Src may be Dst. nullptr: 0,
// nothing changed.
ORV_API double CalcRanks(const TVector* Src, TVector* Dst);

}  // namespace orv
