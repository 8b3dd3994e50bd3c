// TMatrix arithmetic: scalar and element-wise operations, matrix and
// matrix-vector products (kernels in core/matmul.h).
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TMatrixOps<TMatrix>;
using Kind = detail::TMatrixKind<TMatrix>;

void TMatrix::SMult(double Scalar) {
  Ops::Transform(*this, [Scalar](double X) { return X * Scalar; });
}

void TMatrix::SAdd(double Scalar) {
  Ops::Transform(*this, [Scalar](double X) { return X + Scalar; });
}

bool TMatrix::Add(const TMatrix* MatB) { return Ops::Combine(*this, MatB, Kind::Add); }

bool TMatrix::Subtract(const TMatrix* MatB) { return Ops::Combine(*this, MatB, Kind::Sub); }

bool TMatrix::EMult(const TMatrix* MatB, TMatrix* MatRes) { return Ops::EMult(*this, MatB, MatRes); }

bool TMatrix::Multiply(const TMatrix* MatB, TMatrix* MatRes) { return Ops::Product(*this, MatB, MatRes, false, false); }

bool TMatrix::MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes) {
  return Ops::Product(*this, MatB, MatRes, false, true);
}

bool TMatrix::TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes) {
  return Ops::Product(*this, MatB, MatRes, true, false);
}

bool TMatrix::Multiply(const TVector* VecB, TVector* VecRes) { return Ops::VecProduct(*this, VecB, VecRes, false); }

bool TMatrix::TransposeAndMultiply(const TVector* VecB, TVector* VecRes) {
  return Ops::VecProduct(*this, VecB, VecRes, true);
}

}  // namespace orv
