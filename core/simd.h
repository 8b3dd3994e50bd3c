// Kernels built once per vector width (internal).
#pragma once

// A function marked ORV_SIMD_KERNEL is compiled for AVX-512, AVX2 and the
// baseline instruction set, and the dynamic loader binds the widest one the
// processor has. Everything it calls is inlined into it, so that the generic
// vector types (double __attribute__((vector_size(N)))) of the loops map to
// the widest registers. The lane count of a loop is fixed by its vector type,
// not by the processor, and the operations are elementwise IEEE additions,
// multiplications, divisions and square roots (never contracted into FMA:
// -ffp-contract=off), so every variant gives the same bits.
//
// GCC inlines the callees through flatten. Clang refuses flatten on cloned
// functions, so there the callees that must take the clone's instruction set
// are marked ORV_SIMD_INLINE (always inlined; a function Clang does not inline
// would be built for the baseline only). Under ThreadSanitizer there are no
// clones: the loader runs the clones' resolvers before the sanitizer's runtime
// is set up, and they crash there.
//
// But GCC keeps a generic vector wider than the registers (64 bytes under
// AVX2, 32 or 64 under SSE2) in memory when it lives across loop iterations:
// each operation stores it in pieces and loads it whole, slower than scalar
// code. A kernel whose bits do not depend on the lane count (each lane a
// result of its own, summed in the same order at any width) therefore takes
// its width from the instruction set instead: ORV_SIMD_BY_WIDTH(Ret, Name,
// (Params), (Args)) defines Name for AVX-512, AVX2 and the baseline, each
// returning Name##Lanes<Bytes> Args with Bytes its register width (64, 32,
// 16); Name##Lanes is a template marked ORV_SIMD_INLINE, and
// detail::TSimdVector<E, Bytes> gives it its vector type. A lambda that
// carries vector loops is marked ORV_SIMD_LAMBDA (after its parameters).
//
// A build with ORV_SIMD_NO_CLONES defined runs the baseline's code: one
// variant, of width ORV_SIMD_BYTES (16 unless defined). Defined as 32 or 64,
// it runs the code of the wider variants on any processor (GCC lowers the
// wider vectors), which is how their lane passes and tails are tested.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORV_SIMD_NO_CLONES 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define ORV_SIMD_NO_CLONES 1
#endif

#if defined(ORV_SIMD_NO_CLONES)
#define ORV_SIMD_KERNEL
#define ORV_SIMD_INLINE inline
#define ORV_SIMD_LAMBDA
#if !defined(ORV_SIMD_BYTES)
#define ORV_SIMD_BYTES 16
#endif
#define ORV_SIMD_BY_WIDTH(Ret, Name, Params, Args) \
  Ret Name Params { return Name##Lanes<ORV_SIMD_BYTES> Args; }
#else
#if defined(__clang__)
#define ORV_SIMD_KERNEL __attribute__((target_clones("avx512f", "avx2", "default")))
#define ORV_SIMD_INLINE inline __attribute__((always_inline))
#define ORV_SIMD_LAMBDA __attribute__((always_inline))
// Clang emits no out-of-line function (a constructor, a member of
// std::vector) that only the variants of a multiversioned function with
// internal linkage call: the variants are functions of their own names, and
// Name calls the widest the processor has.
#define ORV_SIMD_BY_WIDTH(Ret, Name, Params, Args)                                                   \
  __attribute__((target("avx512f"))) Ret Name##Avx512 Params { return Name##Lanes<64> Args; }        \
  __attribute__((target("avx2"))) Ret Name##Avx2 Params { return Name##Lanes<32> Args; }             \
  Ret Name##Base Params { return Name##Lanes<16> Args; }                                            \
  Ret Name Params {                                                                                 \
    const int Bytes = ::orv::detail::SimdBytes();                                                   \
    return Bytes == 64 ? Name##Avx512 Args : Bytes == 32 ? Name##Avx2 Args : Name##Base Args;        \
  }
#else
#define ORV_SIMD_KERNEL __attribute__((target_clones("avx512f", "avx2", "default"), flatten))
#define ORV_SIMD_INLINE inline
#define ORV_SIMD_LAMBDA
#define ORV_SIMD_VARIANT(Isa) __attribute__((target(Isa), flatten))
#define ORV_SIMD_BY_WIDTH(Ret, Name, Params, Args)                            \
  ORV_SIMD_VARIANT("avx512f") Ret Name Params { return Name##Lanes<64> Args; } \
  ORV_SIMD_VARIANT("avx2") Ret Name Params { return Name##Lanes<32> Args; }    \
  ORV_SIMD_VARIANT("default") Ret Name Params { return Name##Lanes<16> Args; }
#endif
#endif

#include <cstdint>

namespace orv::detail {

#if defined(__clang__) && !defined(ORV_SIMD_NO_CLONES)
// The register width in bytes of the widest of AVX-512, AVX2 and the
// baseline that the processor has, found once.
inline int SimdBytes() {
  static const int Bytes = (__builtin_cpu_init(), __builtin_cpu_supports("avx512f")) ? 64
                           : __builtin_cpu_supports("avx2")                          ? 32
                                                                                     : 16;
  return Bytes;
}
#endif

// Bytes bytes of E as one generic vector. GCC ignores a vector_size that
// depends on an argument of a function template, not one of a class template.
template <class E, int Bytes>
struct TSimdVectorOf {
  using Type [[gnu::vector_size(Bytes)]] = E;
};
template <class E, int Bytes>
using TSimdVector = typename TSimdVectorOf<E, Bytes>::Type;

// Block.template operator()<4>(I) for I = 0, 4 L, ... while four vectors of
// L lanes fit below Count, then Block.template operator()<1>(I) while one
// does; returns where the scalar tail begins.
template <int64_t L, class F>
ORV_SIMD_INLINE int64_t ForVectorBlocks(int64_t Count, F&& Block) {
  int64_t I = 0;
  for (; I + 4 * L <= Count; I += 4 * L) Block.template operator()<4>(I);
  for (; I + L <= Count; I += L) Block.template operator()<1>(I);
  return I;
}

}  // namespace orv::detail
