// Start and shut-down of ORV_complex, and the unit's state.
#include "core/units.h"
#include "orvcalckit/ORV_complex.h"

namespace orv {

namespace {
#if ORV_HAS_EXTENDED
constexpr Extended DefaultNearZero = 1e-15L;
#else
constexpr Extended DefaultNearZero = 1e-15;
#endif
constinit detail::TUnitStartCounter ComplexCounter;
}  // namespace

constinit Extended CpxNearZero = DefaultNearZero;

namespace detail {

void ComplexInitialization() {
  if (ComplexCounter.Enter()) CpxNearZero = DefaultNearZero;
}

void ComplexFinalization() { ComplexCounter.Leave(); }

}  // namespace detail

}  // namespace orv
