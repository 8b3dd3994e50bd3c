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
#define ORV_SIMD_KERNEL __attribute__((target_clones("avx512f", "avx2", "default"), flatten))
