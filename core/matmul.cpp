// The product kernels of core/matmul.h, built per vector width. The clones
// stay in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/matmul.h"

#include "core/simd.h"

namespace orv::detail {

namespace {

template <int Bytes, class E>
ORV_SIMD_INLINE void BlockLanes(const E* Ap, const E* Bp, E* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                                bool First) {
  TMatMulCode<E, Bytes>::Block(Ap, Bp, C, LD, MC, NC, KC, First);
}
template <int Bytes, class E>
ORV_SIMD_INLINE void MatVecLanes(int64_t M, int64_t K, const E* const* Cols, const E* X, E* Y) {
  TMatMulCode<E, Bytes>::MatVec(M, K, Cols, X, Y);
}
template <int Bytes, class E>
ORV_SIMD_INLINE void MatTVecLanes(int64_t N, int64_t K, const E* const* Cols, const E* X, E* Y) {
  TMatTVecCode<E, Bytes>::MatTVec(N, K, Cols, X, Y);
}
template <int Bytes>
ORV_SIMD_INLINE void SubtractRowsLanes(double* Acc, int64_t Width, const double* Rows, int64_t RS,
                                       const double* Coef, int64_t CS, int64_t Count) {
  TSubtractRowsCode<double, Bytes>::SubtractRows(Acc, Width, Rows, RS, Coef, CS, Count);
}

ORV_SIMD_BY_WIDTH(void, Block,
                  (const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                   bool First),
                  (Ap, Bp, C, LD, MC, NC, KC, First))
ORV_SIMD_BY_WIDTH(void, Block,
                  (const uint32_t* Ap, const uint32_t* Bp, uint32_t* C, int64_t LD, int64_t MC, int64_t NC,
                   int64_t KC, bool First),
                  (Ap, Bp, C, LD, MC, NC, KC, First))
ORV_SIMD_BY_WIDTH(void, MatVec, (int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y),
                  (M, K, Cols, X, Y))
ORV_SIMD_BY_WIDTH(void, MatVec, (int64_t M, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y),
                  (M, K, Cols, X, Y))
ORV_SIMD_BY_WIDTH(void, MatTVec, (int64_t N, int64_t K, const double* const* Cols, const double* X, double* Y),
                  (N, K, Cols, X, Y))
ORV_SIMD_BY_WIDTH(void, MatTVec,
                  (int64_t N, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y),
                  (N, K, Cols, X, Y))
ORV_SIMD_BY_WIDTH(void, SubtractRows,
                  (double* Acc, int64_t Width, const double* Rows, int64_t RS, const double* Coef, int64_t CS,
                   int64_t Count),
                  (Acc, Width, Rows, RS, Coef, CS, Count))

}  // namespace

void MatMulBlock(const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                 bool First) {
  Block(Ap, Bp, C, LD, MC, NC, KC, First);
}

void MatVecKernel(int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y) {
  MatVec(M, K, Cols, X, Y);
}

void MatTVecKernel(int64_t N, int64_t K, const double* const* Cols, const double* X, double* Y) {
  MatTVec(N, K, Cols, X, Y);
}

void MatMulBlock(const uint32_t* Ap, const uint32_t* Bp, uint32_t* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                 bool First) {
  Block(Ap, Bp, C, LD, MC, NC, KC, First);
}

void MatVecKernel(int64_t M, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y) {
  MatVec(M, K, Cols, X, Y);
}

void MatTVecKernel(int64_t N, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y) {
  MatTVec(N, K, Cols, X, Y);
}

void SubtractRowsKernel(double* Acc, int64_t Width, const double* Rows, int64_t RowStride, const double* Coef,
                        int64_t CoefStride, int64_t Count) {
  SubtractRows(Acc, Width, Rows, RowStride, Coef, CoefStride, Count);
}

}  // namespace orv::detail
