// TIntMatrix arithmetic: scalar and element-wise operations, matrix and
// matrix-vector products, all wrapping around modulo 2^32 (kernels in
// core/matmul.h, computing in uint32_t).
#include "core/intwrap.h"
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TMatrixOps<TIntMatrix>;
using Kind = detail::TMatrixKind<TIntMatrix>;

void TIntMatrix::SMult(int32_t Scalar) {
  Ops::Transform(*this, [Scalar](int32_t X) { return detail::WrapMul(X, Scalar); });
}

void TIntMatrix::SAdd(int32_t Scalar) {
  Ops::Transform(*this, [Scalar](int32_t X) { return detail::WrapAdd(X, Scalar); });
}

bool TIntMatrix::Add(const TIntMatrix* MatB) {
  if (MatB == nullptr || !MatB->FIsSparse) return Ops::Combine(*this, MatB, Kind::Add);
  // The bounds hold every stored cell, so within Self's size each has a cell to add to.
  if (FIsSparse || MatB->FSparseHighCol > FNCol || MatB->FSparseHighRow > FNRow) return false;
  for (const TSpMatElemInt& E : MatB->SpMat) {
    int32_t& X = Mat[detail::Ix1(E.colidx)][detail::Ix1(E.rowidx)];
    X = detail::WrapAdd(X, E.value);
  }
  Changed();
  return true;
}

bool TIntMatrix::Subtract(const TIntMatrix* MatB) { return Ops::Combine(*this, MatB, Kind::Sub); }

bool TIntMatrix::EMult(const TIntMatrix* MatB, TIntMatrix* MatRes) { return Ops::EMult(*this, MatB, MatRes); }

bool TIntMatrix::Multiply(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  return Ops::Product(*this, MatB, MatRes, false, false);
}

bool TIntMatrix::MultiplyTransposed(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  return Ops::Product(*this, MatB, MatRes, false, true);
}

bool TIntMatrix::TransposeAndMultiply(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  return Ops::Product(*this, MatB, MatRes, true, false);
}

bool TIntMatrix::Multiply(const TIntVector* VecB, TIntVector* VecRes) {
  return Ops::VecProduct(*this, VecB, VecRes, false);
}

bool TIntMatrix::TransposeAndMultiply(const TIntVector* VecB, TIntVector* VecRes) {
  return Ops::VecProduct(*this, VecB, VecRes, true);
}

}  // namespace orv
