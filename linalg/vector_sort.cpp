// TVector order: sorting, mirroring and shuffling the elements.
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TVectorOps<TVector>;

void TVector::SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast) {
  Ops::SortElems(*this, Ascending, RangeFirst, RangeLast);
}

void TVector::Mirror() { Ops::Mirror(*this); }

void TVector::ShuffleElems() { Ops::Shuffle(*this); }

}  // namespace orv
