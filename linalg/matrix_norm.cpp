// TMatrix norms and balancing.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/norm2.h"
#include "linalg/component.h"
#include "linalg/svd.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using detail::Ix;

bool TMatrix::Balance() {
  if (FNCol != FNRow) return false;
  const int32_t N = FNCol;
  // Sweeps normally end after a handful; the limit only guards against a
  // matrix whose scaling keeps drifting.
  constexpr int MaxSweeps = 1000;
  for (int Sweep = 0; Sweep < MaxSweeps; ++Sweep) {
    double C = 0.0;
    for (int32_t I = 0; I < N; ++I) {
      double R = 0.0, K = 0.0;
      for (int32_t J = 0; J < N; ++J)
        if (J != I) R += std::fabs(Mat[Ix(J)][Ix(I)]);
      const std::vector<double>& Col = Mat[Ix(I)];
      for (int32_t J = 0; J < N; ++J)
        if (J != I) K += std::fabs(Col[Ix(J)]);
      // A zero or unbounded sum has no finite factor that evens it out.
      if (!(K > 0.0 && R > 0.0 && std::isfinite(K) && std::isfinite(R))) continue;
      const double F = std::sqrt(R / K);
      if (!(F > 0.0 && std::isfinite(F))) continue;
      for (int32_t J = 0; J < N; ++J)
        if (J != I) {
          Mat[Ix(J)][Ix(I)] /= F;
          Mat[Ix(I)][Ix(J)] *= F;
        }
      if (F > C) C = F;
    }
    if (C < 1.05) break;
  }
  return true;
}

double TMatrix::Norm(TNormType nt) {
  const int32_t NC = FNCol, NR = FNRow;
  switch (nt) {
    case ntColwise: {
      double Best = 0.0;
      for (int32_t C = 0; C < NC; ++C) {
        double S = 0.0;
        for (int32_t R = 0; R < NR; ++R) S += std::fabs(Mat[Ix(C)][Ix(R)]);
        if (S > Best) Best = S;
      }
      return Best;
    }
    case ntRowwise: {
      std::vector<double> S = detail::GuardAlloc<EORVMatrixError>(
          *this, detail::NoHeap, [&] { return std::vector<double>(Ix(NR)); });
      for (int32_t C = 0; C < NC; ++C)
        for (int32_t R = 0; R < NR; ++R) S[Ix(R)] += std::fabs(Mat[Ix(C)][Ix(R)]);
      double Best = 0.0;
      for (double X : S)
        if (X > Best) Best = X;
      return NC > 0 ? Best : 0.0;
    }
    case ntSpectral: {
      TMatrix U(nullptr), V(nullptr);
      TVector W(nullptr);
      U.Clone(this);
      if (!detail::CalcSVD(&U, &V, &W)) throw EORVMatrixError("near singular covariance matrix");
      double Best = 0.0;
      for (int32_t J = 1; J <= NC; ++J) Best = detail::LargerOf(Best, W.GetVal(J));
      return Best;
    }
    case ntFrobenius:
      return detail::EuclideanNorm([this, NC, NR](auto&& Visit) {
        for (int32_t R = 0; R < NR; ++R)
          for (int32_t C = 0; C < NC; ++C) Visit(Mat[Ix(C)][Ix(R)]);
      });
    default:
      return 0.0;
  }
}

}  // namespace orv
