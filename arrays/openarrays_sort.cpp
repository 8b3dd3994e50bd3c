// ORV_openarrays: SortArray with origin index, SortAndRemoveDuplicates,
// ShuffleArray.
#include <algorithm>
#include <numeric>
#include <span>
#include <utility>

#include "core/combsort_lanes.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

namespace {

template <class T>
int32_t SortWithOrigin(bool Ascending, std::vector<T>& A, TIntArray& Idx) {
  const int64_t N = std::ssize(A);
  if (N > INT32_MAX) {
    Idx = TIntArray();
    return -1;
  }
  TIntArray I(detail::Ix(N));
  std::iota(I.begin(), I.end(), 1);
  if (N < 2) {
    Idx = std::move(I);
    return -1;
  }
  detail::CombSortValues(A.data(), I.data(), N, N - 1, Ascending, detail::CombNoReport);
  Idx = std::move(I);
  return 0;
}

// Sattolo, "An algorithm to generate a random cyclic permutation", Inf.
// Process. Lett. 22(6), 1986.
template <class T>
int32_t Shuffle(std::vector<T>& A) {
  const int64_t N = std::ssize(A);
  if (N < 2 || N > INT32_MAX) return -1;
  T* const V = A.data();
  for (int32_t K = static_cast<int32_t>(N - 1); K >= 1; --K) std::swap(V[K], V[Random(K)]);
  return 0;
}

}  // namespace

int32_t SortArray(bool Ascending, TDoubleArray& A, TIntArray& Idx) { return SortWithOrigin(Ascending, A, Idx); }
int32_t SortArray(bool Ascending, TIntArray& A, TIntArray& Idx) { return SortWithOrigin(Ascending, A, Idx); }

int32_t SortAndRemoveDuplicates(TIntArray& A, bool Ascending) {
  const int64_t N = std::ssize(A);
  if (N < 2) return -1;
  TIntArray W = A;
  SortArray(std::span<int32_t>(W), Ascending);
  W.erase(std::unique(W.begin(), W.end()), W.end());
  const int64_t Removed = N - std::ssize(W);
  A = std::move(W);
  return SatInt32(Removed);
}

int32_t ShuffleArray(TIntArray& A) { return Shuffle(A); }
int32_t ShuffleArray(TDoubleArray& A) { return Shuffle(A); }

}  // namespace orv
