// Start and shut-down of ORV_matrix. The unit's only shut-down work is
// releasing its constant strings, which C++ does by itself; the entries keep
// the unit's place in the start order.
#include "core/units.h"

namespace orv::detail {

namespace {
constinit TUnitStartCounter MatrixCounter;
}

void MatrixInitialization() { MatrixCounter.Enter(); }

void MatrixFinalization() { MatrixCounter.Leave(); }

}  // namespace orv::detail
