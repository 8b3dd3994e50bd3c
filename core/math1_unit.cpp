// Start and shut-down of ORV_math1.
#include "core/units.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

namespace {
constinit TUnitStartCounter Math1Counter;
}

void Math1Initialization() {
  if (!Math1Counter.Enter()) return;
  Math1RandomStart();
  MathFeedBackProc = nullptr;
}

void Math1Finalization() { Math1Counter.Leave(); }

}  // namespace orv::detail
