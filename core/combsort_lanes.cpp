// The lane pass of core/combsort_lanes.h, built per vector width. The clones
// stay in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/combsort_lanes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#include "core/simd.h"

namespace orv::detail {

namespace {

// Keys, their exchange masks and the origin entries of a step of L pairs,
// a lane per pair.
template <class T, int L>
struct TLanes {
  using Bits = std::conditional_t<sizeof(T) == 8, int64_t, int32_t>;
  typedef T Keys __attribute__((vector_size(L * sizeof(T))));
  typedef Bits Mask __attribute__((vector_size(L * sizeof(T))));
  typedef int32_t Origins __attribute__((vector_size(L * sizeof(int32_t))));
};

// Vectors pass by reference here: GCC warns that a 32-byte vector passed by
// value has another ABI in the baseline clone.
template <class V>
ORV_SIMD_INLINE void Load(V& X, const void* P) {
  std::memcpy(&X, P, sizeof X);
}

template <class V>
ORV_SIMD_INLINE void Store(void* P, const V& X) {
  std::memcpy(P, &X, sizeof X);
}

// Lane-wise SortsAfterAscending / SortsAfterDescending: all ones where A
// stands behind B (NaN last, equal keys kept). GCC combines the masks of two
// comparisons of 64-byte vectors outside an AVX-512 function into a form the
// AVX-512 variant cannot take (it compares lane by lane), so there the lanes
// where B is NaN compare 0 with 0 instead: one comparison.
template <bool Ascending, class T, int L>
ORV_SIMD_INLINE void Behind(const typename TLanes<T, L>::Keys& A, const typename TLanes<T, L>::Keys& B,
                            typename TLanes<T, L>::Mask& M) {
  using K = typename TLanes<T, L>::Keys;
  if constexpr (!std::is_floating_point_v<T>) {
    M = Ascending ? A > B : A < B;
  } else if constexpr (sizeof(K) < 64) {
    M = (Ascending ? ~(A <= B) : ~(A >= B)) & (B == B);
  } else {
    const K A1 = B == B ? A : K{}, B1 = B == B ? B : K{};
    M = Ascending ? ~(A1 <= B1) : ~(A1 >= B1);
  }
}

// X := Y where Swap (lanes all ones or all zeros), bit for bit. Vectors
// take a select, not bit operations on integer casts: GCC makes those a
// select as well, and SSE2 has one for 64-bit lanes of doubles but not of
// integers, which then go lane by lane through general registers. A single
// lane stays in them: there the bit operations are what GCC does best.
template <class K, class M>
ORV_SIMD_INLINE void Select(K& X, const M& Swap, const K& Y) {
  if constexpr (sizeof(K) == sizeof(X[0]))
    X = (K)(((M)Y & Swap) | ((M)X & ~Swap));
  else
    X = Swap ? Y : X;
}

// Writes A and B, exchanged where Swap, to X and Y.
template <class U, class K, class M>
ORV_SIMD_INLINE void Exchange(U* X, U* Y, const K& A, const K& B, const M& Swap) {
  K NA = A, NB = B;
  Select(NA, Swap, B);
  Select(NB, Swap, A);
  Store(X, NA);
  Store(Y, NB);
}

// The mask of a step's origins, a 32-bit lane per pair: the low halves of
// 64-bit lanes taken by a shuffle (GCC converts them lane by lane under SSE2).
template <class T, int L, int... I>
ORV_SIMD_INLINE void OriginMask(const typename TLanes<T, L>::Mask& M, typename TLanes<T, L>::Origins& MO,
                                std::integer_sequence<int, I...>) {
  using Halves = typename TLanes<int32_t, 2 * L>::Keys;
  if constexpr (sizeof(T) == 4)
    MO = M;
  else if constexpr (L == 1)
    MO[0] = static_cast<int32_t>(M[0]);
  else
    MO = __builtin_shufflevector((Halves)M, (Halves)M, (2 * I)...);
}
template <class T, int L>
ORV_SIMD_INLINE void OriginMask(const typename TLanes<T, L>::Mask& M, typename TLanes<T, L>::Origins& MO) {
  OriginMask<T, L>(M, MO, std::make_integer_sequence<int, L>());
}

// Any := 1 where Swap: the lanes that exchanged (kept as keys, see Select).
template <class K, class M>
ORV_SIMD_INLINE void NoteLanes(K& Any, const M& Swap) {
  Select(Any, Swap, K{} + 1);
}

template <class K>
ORV_SIMD_INLINE void NoteSwaps(const K& Any, bool& Swapped) {
  for (size_t J = 0; J < sizeof(K) / sizeof(Any[0]); ++J)
    if (Any[J] != 0) Swapped = true;
}

// The pairs (i, i + Gap) from i = From on, L of them per step: with Gap at
// least L no two pairs of a step share a cell, so the step does what the
// plain loop does to them one after the other. Returns the first i not
// treated. A step reads cells that a step Gap / L before wrote; a Gap that
// is no multiple of L makes the read straddle two stores, which the
// processor cannot forward: it waits until they reach the cache.
template <class T, bool Ascending, bool WithOrigins, int L>
ORV_SIMD_INLINE int64_t StepLanes(T* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
  using Ln = TLanes<T, L>;
  typename Ln::Keys Any{};
  int64_t I = From;
  for (; I + L - 1 <= Last; I += L) {
    typename Ln::Keys A, B;
    Load(A, V + I);
    Load(B, V + I + Gap);
    typename Ln::Mask M;
    Behind<Ascending, T, L>(A, B, M);
    Exchange(V + I, V + I + Gap, A, B, M);
    if constexpr (WithOrigins) {
      typename Ln::Origins PA, PB;
      Load(PA, P + I);
      Load(PB, P + I + Gap);
      typename Ln::Origins MO;
      OriginMask<T, L>(M, MO);
      Exchange(P + I, P + I + Gap, PA, PB, MO);
    }
    NoteLanes(Any, M);
  }
  NoteSwaps(Any, Swapped);
  return I;
}

// The same for a small Gap = K L, in K vectors of L lanes: the pairs of a
// pass at gap G form G chains (i = r, r + G, r + 2G, ...) that share no
// cell, and the cells a step moves up are the next step's lower ones, so
// they stay in registers instead of a round trip through memory; the K
// vectors interleave, so no step waits for the one before.
template <class T, bool Ascending, bool WithOrigins, int G, int L>
ORV_SIMD_INLINE int64_t CarryLanes(T* V, int32_t* P, int64_t From, int64_t Last, bool& Swapped) {
  static_assert(G % L == 0);
  constexpr int K = G / L;
  using Ln = TLanes<T, L>;
  if (From + G - 1 > Last) return From;
  typename Ln::Keys Any{};
  typename Ln::Keys C[K];
  typename Ln::Origins PC[K] = {};
  for (int J = 0; J < K; ++J) {
    Load(C[J], V + From + J * L);
    if constexpr (WithOrigins) Load(PC[J], P + From + J * L);
  }
  int64_t I = From;
  for (; I + G - 1 <= Last; I += G)
    for (int J = 0; J < K; ++J) {
      typename Ln::Keys B;
      Load(B, V + I + J * L + G);
      typename Ln::Mask M;
      Behind<Ascending, T, L>(C[J], B, M);
      typename Ln::Keys Low = C[J];
      Select(Low, M, B);
      Select(B, M, C[J]);  // the one carried up
      Store(V + I + J * L, Low);
      C[J] = B;
      if constexpr (WithOrigins) {
        typename Ln::Origins MO, PB, PLow = PC[J];
        OriginMask<T, L>(M, MO);
        Load(PB, P + I + J * L + G);
        Select(PLow, MO, PB);
        Select(PB, MO, PC[J]);
        Store(P + I + J * L, PLow);
        PC[J] = PB;
      }
      NoteLanes(Any, M);
    }
  for (int J = 0; J < K; ++J) {
    Store(V + I + J * L, C[J]);
    if constexpr (WithOrigins) Store(P + I + J * L, PC[J]);
  }
  NoteSwaps(Any, Swapped);
  return I;
}

// Gap 1, after the first such pass: few pairs are out of order, and a
// group of N pairs that holds none is passed over (its cells are what the
// loop would compare: the cell below it already holds what the pair before
// left there). A group that holds one is taken pair by pair. Returns early
// where most groups hold one (the first pass at gap 1), to the loop. N is
// 32 bytes of keys at every width, in vectors of L lanes.
template <class T, bool Ascending, bool WithOrigins, int L>
ORV_SIMD_INLINE int64_t SkipOrdered(T* V, int32_t* P, int64_t From, int64_t Last, bool& Swapped) {
  constexpr int N = 32 / sizeof(T);
  using Ln = TLanes<T, L>;
  int64_t I = From;
  for (int64_t Taken = 0, Checked = 0; I + N - 1 <= Last; I += N) {
    typename Ln::Keys Out{};
    for (int J = 0; J < N; J += L) {
      typename Ln::Keys A, B;
      Load(A, V + I + J);
      Load(B, V + I + J + 1);
      typename Ln::Mask M;
      Behind<Ascending, T, L>(A, B, M);
      NoteLanes(Out, M);
    }
    bool Any = false;
    NoteSwaps(Out, Any);
    if (++Checked == 64) {
      if (Taken > 16) return I;
      Checked = Taken = 0;
    }
    if (!Any) continue;
    ++Taken;
    for (int64_t K = I; K < I + N; ++K) {
      if (!(Ascending ? SortsAfterAscending(V[K], V[K + 1]) : SortsAfterDescending(V[K], V[K + 1]))) continue;
      std::swap(V[K], V[K + 1]);
      if constexpr (WithOrigins) std::swap(P[K], P[K + 1]);
      Swapped = true;
    }
  }
  return I;
}

// A pass from From on, in vectors of at most Bytes bytes (Full lanes); a
// step of L lanes needs Gap >= L. Gaps from 8 take full vectors (8 lanes
// below Full: AVX-512 singles); below 8, lanes that divide the gap, so that
// every read meets one earlier store whole (a read that straddles two waits
// until both reach the cache), or chains.
template <class T, bool Ascending, bool WithOrigins, int Bytes>
ORV_SIMD_INLINE int64_t ExchangeLanes(T* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
  constexpr int Full = Bytes / sizeof(T);
  constexpr int Skip = std::min<int>(Full, 32 / sizeof(T));
  static_assert(Full >= 2);
  switch (Gap) {
    case 1: return SkipOrdered<T, Ascending, WithOrigins, Skip>(V, P, From, Last, Swapped);
    case 2: return CarryLanes<T, Ascending, WithOrigins, 2, 2>(V, P, From, Last, Swapped);
    case 3: return CarryLanes<T, Ascending, WithOrigins, 3, 1>(V, P, From, Last, Swapped);
    case 4: return CarryLanes<T, Ascending, WithOrigins, 4, std::min(Full, 4)>(V, P, From, Last, Swapped);
    case 5: return CarryLanes<T, Ascending, WithOrigins, 5, 1>(V, P, From, Last, Swapped);
    case 6: return StepLanes<T, Ascending, WithOrigins, 2>(V, P, Gap, From, Last, Swapped);
    case 7: return CarryLanes<T, Ascending, WithOrigins, 7, 1>(V, P, From, Last, Swapped);
  }
  if constexpr (Full > 8)
    if (Gap < Full) return StepLanes<T, Ascending, WithOrigins, 8>(V, P, Gap, From, Last, Swapped);
  return StepLanes<T, Ascending, WithOrigins, Full>(V, P, Gap, From, Last, Swapped);
}

// Either direction, with or without origins. Called directly: the 32-bit
// linker cannot take the address of a clone.
template <int Bytes, class T>
ORV_SIMD_INLINE int64_t LanePassLanes(T* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                                      bool& Swapped) {
  if (P != nullptr)
    return Ascending ? ExchangeLanes<T, true, true, Bytes>(V, P, Gap, From, Last, Swapped)
                     : ExchangeLanes<T, false, true, Bytes>(V, P, Gap, From, Last, Swapped);
  return Ascending ? ExchangeLanes<T, true, false, Bytes>(V, P, Gap, From, Last, Swapped)
                   : ExchangeLanes<T, false, false, Bytes>(V, P, Gap, From, Last, Swapped);
}
ORV_SIMD_BY_WIDTH(int64_t, LanePass,
                  (double* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last, bool& Swapped),
                  (V, P, Ascending, Gap, From, Last, Swapped))
ORV_SIMD_BY_WIDTH(int64_t, LanePass,
                  (float* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last, bool& Swapped),
                  (V, P, Ascending, Gap, From, Last, Swapped))
ORV_SIMD_BY_WIDTH(int64_t, LanePass,
                  (int32_t* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last, bool& Swapped),
                  (V, P, Ascending, Gap, From, Last, Swapped))

}  // namespace

int64_t CombLanePass(double* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  return LanePass(V, Origins, Ascending, Gap, From, Last, Swapped);
}

int64_t CombLanePass(float* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  return LanePass(V, Origins, Ascending, Gap, From, Last, Swapped);
}

int64_t CombLanePass(int32_t* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  return LanePass(V, Origins, Ascending, Gap, From, Last, Swapped);
}

}  // namespace orv::detail
