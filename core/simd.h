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
#elif defined(__clang__)
#define ORV_SIMD_KERNEL __attribute__((target_clones("avx512f", "avx2", "default")))
#define ORV_SIMD_INLINE inline __attribute__((always_inline))
#else
#define ORV_SIMD_KERNEL __attribute__((target_clones("avx512f", "avx2", "default"), flatten))
#define ORV_SIMD_INLINE inline
#endif
