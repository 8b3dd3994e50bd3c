// The product kernels of core/matmul.h, built per vector width. The clones
// stay in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/matmul.h"

#include "core/simd.h"

namespace orv::detail {

namespace {

ORV_SIMD_KERNEL void BlockF64(const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC,
                              int64_t KC, bool First) {
  TMatMulCode<double>::Block(Ap, Bp, C, LD, MC, NC, KC, First);
}

ORV_SIMD_KERNEL void MatVecF64(int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y) {
  TMatMulCode<double>::MatVec(M, K, Cols, X, Y);
}

ORV_SIMD_KERNEL void MatTVecF64(int64_t N, int64_t K, const double* const* Cols, const double* X, double* Y) {
  TMatMulCode<double>::MatTVec(N, K, Cols, X, Y);
}

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

}  // namespace orv::detail
