// The lane pass of core/combsort_lanes.h, built per vector width. The clones
// stay in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/combsort_lanes.h"

#include <cstring>
#include <type_traits>

#include "core/simd.h"

namespace orv::detail {

namespace {

// Keys, their exchange masks and the origin entries of one step, a lane per pair.
template <class T>
struct TLanes;
template <>
struct TLanes<double> {
  using Keys = double __attribute__((vector_size(32)));
  using Mask = int64_t __attribute__((vector_size(32)));
  using Origins = int32_t __attribute__((vector_size(16)));
};
template <>
struct TLanes<float> {
  using Keys = float __attribute__((vector_size(32)));
  using Mask = int32_t __attribute__((vector_size(32)));
  using Origins = int32_t __attribute__((vector_size(32)));
};
template <>
struct TLanes<int32_t> {
  using Keys = int32_t __attribute__((vector_size(32)));
  using Mask = int32_t __attribute__((vector_size(32)));
  using Origins = int32_t __attribute__((vector_size(32)));
};

template <class U, class M>
ORV_SIMD_INLINE void SelectPair(U* X, U* Y, M Swap) {
  // Same-size vector casts keep the bits.
  M A, B;
  std::memcpy(&A, X, sizeof A);
  std::memcpy(&B, Y, sizeof B);
  const M NA = (B & Swap) | (A & ~Swap), NB = (A & Swap) | (B & ~Swap);
  std::memcpy(X, &NA, sizeof NA);
  std::memcpy(Y, &NB, sizeof NB);
}

// The pairs (i, i + Gap) from i = From on, a vector of them per step: with
// Gap at least the lane count no two pairs of a step share a cell, so the
// step does what the plain loop does to them one after the other. Returns
// the first i not treated.
template <class T, bool Ascending, bool WithOrigins>
ORV_SIMD_INLINE int64_t ExchangeLanes(T* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
  using L = TLanes<T>;
  constexpr int64_t N = sizeof(typename L::Keys) / sizeof(T);
  if (Gap < N) return From;
  typename L::Mask Any{};
  int64_t I = From;
  for (; I + N - 1 <= Last; I += N) {
    typename L::Keys A, B;
    std::memcpy(&A, V + I, sizeof A);
    std::memcpy(&B, V + I + Gap, sizeof B);
    typename L::Mask M;
    if constexpr (std::is_floating_point_v<T>)
      M = (Ascending ? ~(A <= B) : ~(A >= B)) & (B == B);
    else
      M = Ascending ? A > B : A < B;
    SelectPair(V + I, V + I + Gap, M);
    if constexpr (WithOrigins) SelectPair(P + I, P + I + Gap, __builtin_convertvector(M, typename L::Origins));
    Any |= M;
  }
  for (int64_t K = 0; K < N; ++K)
    if (Any[K] != 0) Swapped = true;
  return I;
}

#define ORV_COMB_LANES(Name, T, Ascending, WithOrigins)                                                        \
  ORV_SIMD_KERNEL int64_t Name(T* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) { \
    return ExchangeLanes<T, Ascending, WithOrigins>(V, P, Gap, From, Last, Swapped);                         \
  }
ORV_COMB_LANES(DoublesUp, double, true, false)
ORV_COMB_LANES(DoublesDown, double, false, false)
ORV_COMB_LANES(DoublesUpWithOrigins, double, true, true)
ORV_COMB_LANES(DoublesDownWithOrigins, double, false, true)
ORV_COMB_LANES(SinglesUp, float, true, false)
ORV_COMB_LANES(SinglesDown, float, false, false)
ORV_COMB_LANES(SinglesUpWithOrigins, float, true, true)
ORV_COMB_LANES(SinglesDownWithOrigins, float, false, true)
ORV_COMB_LANES(IntsUp, int32_t, true, false)
ORV_COMB_LANES(IntsDown, int32_t, false, false)
ORV_COMB_LANES(IntsUpWithOrigins, int32_t, true, true)
ORV_COMB_LANES(IntsDownWithOrigins, int32_t, false, true)
#undef ORV_COMB_LANES

}  // namespace

int64_t CombLanePass(double* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  if (Origins != nullptr)
    return (Ascending ? DoublesUpWithOrigins : DoublesDownWithOrigins)(V, Origins, Gap, From, Last, Swapped);
  return (Ascending ? DoublesUp : DoublesDown)(V, Origins, Gap, From, Last, Swapped);
}

int64_t CombLanePass(float* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  if (Origins != nullptr)
    return (Ascending ? SinglesUpWithOrigins : SinglesDownWithOrigins)(V, Origins, Gap, From, Last, Swapped);
  return (Ascending ? SinglesUp : SinglesDown)(V, Origins, Gap, From, Last, Swapped);
}

int64_t CombLanePass(int32_t* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  if (Origins != nullptr)
    return (Ascending ? IntsUpWithOrigins : IntsDownWithOrigins)(V, Origins, Gap, From, Last, Swapped);
  return (Ascending ? IntsUp : IntsDown)(V, Origins, Gap, From, Last, Swapped);
}

}  // namespace orv::detail
