// Statistics that read a vector the host gave them in ascending order after
// sorting it in place through its SortElems, whose OnSortExchange runs host
// code (internal). A handler that changes the vector's size ends that sort
// (the bounds no longer hold) and leaves it unsorted: the routine then works
// on the values as the handler left them, sorted here without events.
//
//   TDoubleArray x;
//   if (!SortedInPlace(*Data)) x = SortedValues(*Data);  // else read Data
#pragma once

#include <algorithm>

#include "core/combsort.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_vector.h"

namespace orv::detail {

// Data.SortElems(true, 0, 0); false when a handler changed Data's size meanwhile.
inline bool SortedInPlace(TVector& Data) {
  const TStorageGuard Shape(ShapeOf(Data));
  Data.SortElems(true, 0, 0);
  return Shape.Intact();
}

// Data's elements ascending, NaN last, as SortElems orders them.
inline TDoubleArray SortedValues(const TVector& Data) {
  TDoubleArray x;
  Data.CopyToArray(x, 0, 0);
  std::stable_sort(x.begin(), x.end(), [](double A, double B) { return SortsAfterAscending(B, A); });
  return x;
}

}  // namespace orv::detail
