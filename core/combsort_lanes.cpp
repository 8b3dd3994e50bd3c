// The lane pass of core/combsort_lanes.h, built per vector width. The clones
// stay in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/combsort_lanes.h"

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

// The lanes of a full vector: 32 bytes, an AVX2 register.
template <class T>
constexpr int FullLanes = 32 / sizeof(T);

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
// stands behind B (NaN last, equal keys kept).
template <bool Ascending, class T, int L>
ORV_SIMD_INLINE void Behind(const typename TLanes<T, L>::Keys& A, const typename TLanes<T, L>::Keys& B,
                            typename TLanes<T, L>::Mask& M) {
  if constexpr (std::is_floating_point_v<T>)
    M = (Ascending ? ~(A <= B) : ~(A >= B)) & (B == B);
  else
    M = Ascending ? A > B : A < B;
}

// X := Y where Swap, bit for bit (same-size vector casts keep the bits).
template <class K, class M>
ORV_SIMD_INLINE void Select(K& X, const M& Swap, const K& Y) {
  X = (K)(((M)Y & Swap) | ((M)X & ~Swap));
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

template <class M>
ORV_SIMD_INLINE void NoteSwaps(const M& Any, bool& Swapped) {
  for (size_t K = 0; K < sizeof(M) / sizeof(Any[0]); ++K)
    if (Any[K] != 0) Swapped = true;
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
  typename Ln::Mask Any{};
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
      Exchange(P + I, P + I + Gap, PA, PB, __builtin_convertvector(M, typename Ln::Origins));
    }
    Any |= M;
  }
  NoteSwaps(Any, Swapped);
  return I;
}

// The same for Gap = L: the cells a step moves up are the next step's lower
// ones, so they stay in a register instead of a round trip through memory,
// and the pass runs as fast as the comparison and the select.
template <class T, bool Ascending, bool WithOrigins, int L>
ORV_SIMD_INLINE int64_t CarryLanes(T* V, int32_t* P, int64_t From, int64_t Last, bool& Swapped) {
  using Ln = TLanes<T, L>;
  if (From + L - 1 > Last) return From;
  typename Ln::Mask Any{};
  typename Ln::Keys C;
  typename Ln::Origins PC{};
  Load(C, V + From);
  if constexpr (WithOrigins) Load(PC, P + From);
  int64_t I = From;
  for (; I + L - 1 <= Last; I += L) {
    typename Ln::Keys B;
    Load(B, V + I + L);
    typename Ln::Mask M;
    Behind<Ascending, T, L>(C, B, M);
    typename Ln::Keys Low = C;
    Select(Low, M, B);
    Select(B, M, C);  // the one carried up
    Store(V + I, Low);
    C = B;
    if constexpr (WithOrigins) {
      const auto MO = __builtin_convertvector(M, typename Ln::Origins);
      typename Ln::Origins PB, PLow = PC;
      Load(PB, P + I + L);
      Select(PLow, MO, PB);
      Select(PB, MO, PC);
      Store(P + I, PLow);
      PC = PB;
    }
    Any |= M;
  }
  Store(V + I, C);
  if constexpr (WithOrigins) Store(P + I, PC);
  NoteSwaps(Any, Swapped);
  return I;
}

// The same for an odd Gap of 3 to 7, one pair at a time: the pairs of a
// pass at gap G form G chains (i = r, r + G, r + 2G, ...) that share no
// cell; each chain's carried cell stays in a register, and the G chains
// interleave, so no step waits for the one before.
template <class T, bool Ascending, bool WithOrigins, int G>
ORV_SIMD_INLINE int64_t CarryChains(T* V, int32_t* P, int64_t From, int64_t Last, bool& Swapped) {
  using Ln = TLanes<T, 1>;
  if (From + G - 1 > Last) return From;
  typename Ln::Mask Any{};
  typename Ln::Keys C[G];
  typename Ln::Origins PC[G] = {};
  for (int K = 0; K < G; ++K) {
    Load(C[K], V + From + K);
    if constexpr (WithOrigins) Load(PC[K], P + From + K);
  }
  int64_t I = From;
  for (; I + G - 1 <= Last; I += G)
    for (int K = 0; K < G; ++K) {
      typename Ln::Keys B;
      Load(B, V + I + K + G);
      typename Ln::Mask M;
      Behind<Ascending, T, 1>(C[K], B, M);
      typename Ln::Keys Low = C[K];
      Select(Low, M, B);
      Select(B, M, C[K]);
      Store(V + I + K, Low);
      C[K] = B;
      if constexpr (WithOrigins) {
        const auto MO = __builtin_convertvector(M, typename Ln::Origins);
        typename Ln::Origins PB, PLow = PC[K];
        Load(PB, P + I + K + G);
        Select(PLow, MO, PB);
        Select(PB, MO, PC[K]);
        Store(P + I + K, PLow);
        PC[K] = PB;
      }
      Any |= M;
    }
  for (int K = 0; K < G; ++K) {
    Store(V + I + K, C[K]);
    if constexpr (WithOrigins) Store(P + I + K, PC[K]);
  }
  NoteSwaps(Any, Swapped);
  return I;
}

// Gap 1, after the first such pass: few pairs are out of order, and a
// vector of pairs that holds none is passed over (its cells are what the
// loop would compare: the cell below it already holds what the pair before
// left there). A vector that holds one is taken pair by pair. Returns early
// where most vectors hold one (the first pass at gap 1), to the loop.
template <class T, bool Ascending, bool WithOrigins>
ORV_SIMD_INLINE int64_t SkipOrdered(T* V, int32_t* P, int64_t From, int64_t Last, bool& Swapped) {
  constexpr int N = FullLanes<T>;
  using Ln = TLanes<T, N>;
  int64_t I = From;
  for (int64_t Taken = 0, Checked = 0; I + N - 1 <= Last; I += N) {
    typename Ln::Keys A, B;
    Load(A, V + I);
    Load(B, V + I + 1);
    typename Ln::Mask M;
    Behind<Ascending, T, N>(A, B, M);
    bool Any = false;
    NoteSwaps(M, Any);
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

// A pass from From on: full vectors for gaps from 8 on; below, lanes that
// divide the gap (so that every read meets one earlier store whole) or
// chains.
template <class T, bool Ascending, bool WithOrigins>
ORV_SIMD_INLINE int64_t ExchangeLanes(T* V, int32_t* P, int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
  switch (Gap) {
    case 1: return SkipOrdered<T, Ascending, WithOrigins>(V, P, From, Last, Swapped);
    case 2: return CarryLanes<T, Ascending, WithOrigins, 2>(V, P, From, Last, Swapped);
    case 3: return CarryChains<T, Ascending, WithOrigins, 3>(V, P, From, Last, Swapped);
    case 4: return CarryLanes<T, Ascending, WithOrigins, 4>(V, P, From, Last, Swapped);
    case 5: return CarryChains<T, Ascending, WithOrigins, 5>(V, P, From, Last, Swapped);
    case 6: return StepLanes<T, Ascending, WithOrigins, 2>(V, P, Gap, From, Last, Swapped);
    case 7: return CarryChains<T, Ascending, WithOrigins, 7>(V, P, From, Last, Swapped);
  }
  return StepLanes<T, Ascending, WithOrigins, FullLanes<T>>(V, P, Gap, From, Last, Swapped);
}

// Either direction, with or without origins.
template <class T>
ORV_SIMD_INLINE int64_t AnyLanes(T* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                                 bool& Swapped) {
  if (P != nullptr)
    return Ascending ? ExchangeLanes<T, true, true>(V, P, Gap, From, Last, Swapped)
                     : ExchangeLanes<T, false, true>(V, P, Gap, From, Last, Swapped);
  return Ascending ? ExchangeLanes<T, true, false>(V, P, Gap, From, Last, Swapped)
                   : ExchangeLanes<T, false, false>(V, P, Gap, From, Last, Swapped);
}

// Called directly: the 32-bit linker cannot take the address of a clone.
ORV_SIMD_KERNEL int64_t DoubleLanes(double* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                                    bool& Swapped) {
  return AnyLanes(V, P, Ascending, Gap, From, Last, Swapped);
}
ORV_SIMD_KERNEL int64_t SingleLanes(float* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                                    bool& Swapped) {
  return AnyLanes(V, P, Ascending, Gap, From, Last, Swapped);
}
ORV_SIMD_KERNEL int64_t IntLanes(int32_t* V, int32_t* P, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                                 bool& Swapped) {
  return AnyLanes(V, P, Ascending, Gap, From, Last, Swapped);
}

}  // namespace

int64_t CombLanePass(double* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  return DoubleLanes(V, Origins, Ascending, Gap, From, Last, Swapped);
}

int64_t CombLanePass(float* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  return SingleLanes(V, Origins, Ascending, Gap, From, Last, Swapped);
}

int64_t CombLanePass(int32_t* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped) {
  return IntLanes(V, Origins, Ascending, Gap, From, Last, Swapped);
}

}  // namespace orv::detail
