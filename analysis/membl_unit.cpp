// Start and shut-down of ORV_membl: the start clears the abort flag; the
// shut-down would only release constant strings, which C++ does by itself.
#include "core/units.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

namespace {
constinit TUnitStartCounter MemblCounter;
}

void MemblInitialization() {
  if (MemblCounter.Enter()) AbortMathProc = false;
}

void MemblFinalization() { MemblCounter.Leave(); }

}  // namespace orv::detail
