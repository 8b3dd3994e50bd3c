// The product kernels of core/matmul.h, built per vector width. The clones
// stay in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/matmul.h"

#include "core/simd.h"

namespace orv::detail {

namespace {

template <int Bytes>
ORV_SIMD_INLINE void BlockF64Lanes(const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC,
                                   int64_t KC, bool First) {
  TMatMulCode<double, Bytes>::Block(Ap, Bp, C, LD, MC, NC, KC, First);
}
ORV_SIMD_BY_WIDTH(void, BlockF64,
                  (const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                   bool First),
                  (Ap, Bp, C, LD, MC, NC, KC, First))

template <int Bytes>
ORV_SIMD_INLINE void MatVecF64Lanes(int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y) {
  TMatMulCode<double, Bytes>::MatVec(M, K, Cols, X, Y);
}
ORV_SIMD_BY_WIDTH(void, MatVecF64, (int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y),
                  (M, K, Cols, X, Y))

ORV_SIMD_KERNEL void MatTVecF64(int64_t N, int64_t K, const double* const* Cols, const double* X, double* Y) {
  TMatTVecCode<double>::MatTVec(N, K, Cols, X, Y);
}

template <int Bytes>
ORV_SIMD_INLINE void BlockU32Lanes(const uint32_t* Ap, const uint32_t* Bp, uint32_t* C, int64_t LD, int64_t MC,
                                   int64_t NC, int64_t KC, bool First) {
  TMatMulCode<uint32_t, Bytes>::Block(Ap, Bp, C, LD, MC, NC, KC, First);
}
ORV_SIMD_BY_WIDTH(void, BlockU32,
                  (const uint32_t* Ap, const uint32_t* Bp, uint32_t* C, int64_t LD, int64_t MC, int64_t NC,
                   int64_t KC, bool First),
                  (Ap, Bp, C, LD, MC, NC, KC, First))

template <int Bytes>
ORV_SIMD_INLINE void MatVecU32Lanes(int64_t M, int64_t K, const uint32_t* const* Cols, const uint32_t* X,
                                    uint32_t* Y) {
  TMatMulCode<uint32_t, Bytes>::MatVec(M, K, Cols, X, Y);
}
ORV_SIMD_BY_WIDTH(void, MatVecU32,
                  (int64_t M, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y),
                  (M, K, Cols, X, Y))

ORV_SIMD_KERNEL void MatTVecU32(int64_t N, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y) {
  TMatTVecCode<uint32_t>::MatTVec(N, K, Cols, X, Y);
}

template <int Bytes>
ORV_SIMD_INLINE void SubtractRowsF64Lanes(double* Acc, int64_t Width, const double* Rows, int64_t RS,
                                          const double* Coef, int64_t CS, int64_t Count) {
  TSubtractRowsCode<double, Bytes>::SubtractRows(Acc, Width, Rows, RS, Coef, CS, Count);
}
ORV_SIMD_BY_WIDTH(void, SubtractRowsF64,
                  (double* Acc, int64_t Width, const double* Rows, int64_t RS, const double* Coef, int64_t CS,
                   int64_t Count),
                  (Acc, Width, Rows, RS, Coef, CS, Count))

}  // namespace

void MatMulBlock(const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                 bool First) {
  BlockF64(Ap, Bp, C, LD, MC, NC, KC, First);
}

void MatVecKernel(int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y) {
  MatVecF64(M, K, Cols, X, Y);
}

void MatTVecKernel(int64_t N, int64_t K, const double* const* Cols, const double* X, double* Y) {
  MatTVecF64(N, K, Cols, X, Y);
}

void MatMulBlock(const uint32_t* Ap, const uint32_t* Bp, uint32_t* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                 bool First) {
  BlockU32(Ap, Bp, C, LD, MC, NC, KC, First);
}

void MatVecKernel(int64_t M, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y) {
  MatVecU32(M, K, Cols, X, Y);
}

void MatTVecKernel(int64_t N, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y) {
  MatTVecU32(N, K, Cols, X, Y);
}

void SubtractRowsKernel(double* Acc, int64_t Width, const double* Rows, int64_t RowStride, const double* Coef,
                        int64_t CoefStride, int64_t Count) {
  SubtractRowsF64(Acc, Width, Rows, RowStride, Coef, CoefStride, Count);
}

}  // namespace orv::detail
