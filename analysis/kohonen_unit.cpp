// Start and shut-down of ORV_kohonen. The unit's only shut-down work is
// releasing its constant strings, which C++ does by itself; the entries keep
// the unit's place in the start order.
#include "core/units.h"

namespace orv::detail {

namespace {
constinit TUnitStartCounter KohonenCounter;
}

void KohonenInitialization() { KohonenCounter.Enter(); }

void KohonenFinalization() { KohonenCounter.Leave(); }

}  // namespace orv::detail
