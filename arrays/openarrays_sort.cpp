// ORV_openarrays: SortArray with origin index, SortAndRemoveDuplicates,
// ShuffleArray.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <span>
#include <type_traits>
#include <utility>

#include "core/combsort.h"
#include "core/simd.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

namespace {

// Lanes of the compare-exchange kernels: keys, their exchange masks and the
// origin entries, one lane per pair.
template <class T>
struct TLanes;
template <>
struct TLanes<double> {
  using Keys = double __attribute__((vector_size(32)));
  using Mask = int64_t __attribute__((vector_size(32)));
  using Origins = int32_t __attribute__((vector_size(16)));
};
template <>
struct TLanes<int32_t> {
  using Keys = int32_t __attribute__((vector_size(32)));
  using Mask = int32_t __attribute__((vector_size(32)));
  using Origins = int32_t __attribute__((vector_size(32)));
};

// The pairs (i, i + Gap) of a comb sort pass from i = From on, several at a
// time: with Gap at least the lane count no two pairs of a step share a
// cell, so the step does what the plain loop does to them one after the
// other. Every pair is exchanged or kept by a bit select on the comparison
// of SortsAfterAscending / SortsAfterDescending, written lane-wise (NaN last,
// equal keys kept). Returns the first i not treated; see core/combsort.h.
template <class T, bool Ascending>
ORV_SIMD_INLINE int64_t ExchangeLanes(T* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
  using L = TLanes<T>;
  constexpr int64_t N = sizeof(typename L::Keys) / sizeof(T);
  if (Gap < N) return From;
  typename L::Mask Any{};
  int64_t I = From;
  for (; I + N - 1 <= Last; I += N) {
    typename L::Keys A, B;
    typename L::Origins PA, PB;
    std::memcpy(&A, V + I, sizeof A);
    std::memcpy(&B, V + I + Gap, sizeof B);
    typename L::Mask M;
    if constexpr (std::is_floating_point_v<T>)
      M = (Ascending ? ~(A <= B) : ~(A >= B)) & (B == B);
    else
      M = Ascending ? A > B : A < B;
    // Same-size vector casts keep the bits.
    const auto KA = (typename L::Mask)A, KB = (typename L::Mask)B;
    const typename L::Mask NA = (KB & M) | (KA & ~M), NB = (KA & M) | (KB & ~M);
    std::memcpy(V + I, &NA, sizeof NA);
    std::memcpy(V + I + Gap, &NB, sizeof NB);
    const auto MO = __builtin_convertvector(M, typename L::Origins);
    std::memcpy(&PA, P + I, sizeof PA);
    std::memcpy(&PB, P + I + Gap, sizeof PB);
    const typename L::Origins OA = (PB & MO) | (PA & ~MO), OB = (PA & MO) | (PB & ~MO);
    std::memcpy(P + I, &OA, sizeof OA);
    std::memcpy(P + I + Gap, &OB, sizeof OB);
    Any |= M;
  }
  for (int64_t K = 0; K < N; ++K)
    if (Any[K] != 0) Swapped = true;
  return I;
}

ORV_SIMD_KERNEL int64_t ExchangeDoublesUp(double* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last,
                                          bool& Swapped) {
  return ExchangeLanes<double, true>(V, P, Gap, From, Last, Swapped);
}
ORV_SIMD_KERNEL int64_t ExchangeDoublesDown(double* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last,
                                            bool& Swapped) {
  return ExchangeLanes<double, false>(V, P, Gap, From, Last, Swapped);
}
ORV_SIMD_KERNEL int64_t ExchangeIntsUp(int32_t* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
  return ExchangeLanes<int32_t, true>(V, P, Gap, From, Last, Swapped);
}
ORV_SIMD_KERNEL int64_t ExchangeIntsDown(int32_t* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last,
                                         bool& Swapped) {
  return ExchangeLanes<int32_t, false>(V, P, Gap, From, Last, Swapped);
}

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
  T* const V = A.data();
  int32_t* const P = I.data();
  int64_t (*Lanes)(T*, int32_t*, int64_t, int64_t, int64_t, bool&);
  if constexpr (std::is_same_v<T, double>)
    Lanes = Ascending ? ExchangeDoublesUp : ExchangeDoublesDown;
  else
    Lanes = Ascending ? ExchangeIntsUp : ExchangeIntsDown;
  detail::CombSortByKey(
      int64_t{0}, N - 1, N - 1, Ascending, [V](int64_t i) { return V[i]; },
      [V, P](int64_t i, int64_t j) {
        std::swap(V[i], V[j]);
        std::swap(P[i], P[j]);
      },
      detail::CombNoReport,
      [&](int64_t Gap, int64_t From, int64_t Last, bool& Swapped) { return Lanes(V, P, Gap, From, Last, Swapped); });
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
