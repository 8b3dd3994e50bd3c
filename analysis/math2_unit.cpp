// Start and shut-down of ORV_math2: the shut-down releases the eigen results.
#include "core/units.h"
#include "orvcalckit/ORV_math2.h"

namespace orv::detail {

namespace {
constinit TUnitStartCounter Math2Counter;
}

void Math2Initialization() {
  if (Math2Counter.Enter()) AbortMathProc = false;
}

void Math2Finalization() {
  if (Math2Counter.Leave()) RemoveEigenMatrix();
}

}  // namespace orv::detail
