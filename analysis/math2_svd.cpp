// The pseudo-inverse by the singular value decomposition (linalg/svd.h) and
// the Mahalanobis distance.
#include <cmath>
#include <cstdint>

#include "linalg/svd.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

bool PseudoInverse(const TMatrix* A, TMatrix* PInv, double Thresh) {
  if (A == nullptr || PInv == nullptr) return false;
  const int32_t N = A->NrOfColumns(), M = A->NrOfRows();
  TMatrix U(nullptr), V(nullptr);
  TVector W(nullptr);
  U.Clone(A);
  PInv->Resize(M, N);
  const bool Ok = detail::CalcSVD(&U, &V, &W);
  if (Ok) {
    if (Thresh == 0.0) {
      double WMax = 0.0;
      for (int32_t J = 1; J <= N; ++J) WMax = detail::LargerOf(WMax, W.GetVal(J));
      Thresh = std::max(N, M) * WMax * 1.2e-16;
    }
    for (int32_t J = 0; J < N; ++J) {
      const double Wj = W.GetVal(J + 1);
      for (double& X : V.Mat[static_cast<std::size_t>(J)]) X = std::fabs(Wj) > Thresh ? X / Wj : 0.0;
    }
    U.Transpose();
  }
  V.Multiply(&U, PInv);
  return Ok;
}

double MahalanobisDistance(const TVector* Vec1, const TVector* Vec2, const TMatrix* InvCov) {
  if (Vec1 == nullptr || Vec2 == nullptr || InvCov == nullptr) return 0.0;
  const int32_t N = Vec1->NrOfElem();
  if (Vec2->NrOfElem() != N) throw EORVVectorError("MahalanobisDistance: dimensions of vectors do not match");
  if (InvCov->NrOfColumns() != InvCov->NrOfRows())
    throw EORVVectorError("MahalanobisDistance: inverse covariance matrix is not quadratric");
  if (InvCov->NrOfColumns() != N)
    throw EORVVectorError("MahalanobisDistance: dimension of vectors and inverse covariance matrix do not match");
  double D = 0.0;
  for (int32_t I = 1; I <= N; ++I) {
    double S = 0.0;
    for (int32_t J = 1; J <= N; ++J) S += InvCov->GetVal(J, I) * (Vec1->GetVal(J) - Vec2->GetVal(J));
    D += (Vec1->GetVal(I) - Vec2->GetVal(I)) * S;
  }
  if (D < 0.0)
    throw EORVVectorError("MahalanobisDistance: the inverse covariance matrix must be symmetric and positive definite");
  return std::sqrt(D);
}

}  // namespace orv
