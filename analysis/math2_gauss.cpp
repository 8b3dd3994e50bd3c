// Gaussian peaks, the Gaussian hill, the sigmoid curve and the Gaussian
// similarity kernels.
#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_math2.h"

namespace orv {


int32_t CreateGaussianPeaks(const TPeakParamsList& Peaks, TDoubleArray& Signal) {
  int32_t Res = 0;
  if (Peaks.empty()) Res = -1;
  if (Signal.size() < 3) Res = -2;
  if (Res != 0) return Res;
  for (std::size_t K = 0; K < Signal.size(); ++K) {
    const double I = static_cast<double>(K) + 1.0;
    double S = 0.0;
    for (const TGaussPeakParams& P : Peaks) {
      const double D = I - P[0];
      // Width 0: the limit, its height at its position and nothing elsewhere
      // (D / 0 is infinite there, so only D = 0 needs the case).
      S += (P[1] == 0.0 && D == 0.0) ? P[2] : P[2] * std::exp(-((D / P[1]) * (D / P[1])));
    }
    Signal[K] = S;
  }
  return 0;
}

int32_t Gauss2D(int32_t ColCentre, int32_t RowCentre, double Width, double Height, TDouble2DArray& Hill) {
  int32_t Res = 0;
  if (!(Width > 0.0)) Res = -1;
  const std::size_t Rows = Hill.empty() ? 0 : Hill[0].size();
  bool Ragged = false;
  for (const TDoubleArray& C : Hill) Ragged = Ragged || C.size() != Rows;
  if (Hill.size() < 2 || Rows < 2 || Ragged) Res = -2;
  if (Res != 0) return Res;
  const double W2 = Width * Width;
  for (std::size_t C = 0; C < Hill.size(); ++C) {
    const double Di = static_cast<double>(C) + 1.0 - ColCentre;
    for (std::size_t R = 0; R < Rows; ++R) {
      const double Dj = static_cast<double>(R) + 1.0 - RowCentre;
      Hill[C][R] = Height * std::exp(-(Di * Di + Dj * Dj) / W2);
    }
  }
  return 0;
}

int32_t CreateSigmoidArray(TDoubleArray& Curve, double Steepness, double LowLevel, double Range, int32_t Centre) {
  if (Curve.size() < 3) return -1;
  for (std::size_t K = 0; K < Curve.size(); ++K)
    Curve[K] = LowLevel + Range / (1.0 + std::exp(-Steepness * (static_cast<double>(K) + 1.0 - Centre)));
  return 0;
}

namespace {

// exp(-min(S / Width^2, 20)); S = 0 with Width 0 is the limit 1 of the
// identical vectors.
double KernelOfSquares(double S, double Width) {
  if (S == 0.0 && Width == 0.0) return 1.0;
  double A = S / (Width * Width);
  if (A > 20.0) A = 20.0;
  return std::exp(-A);
}

}  // namespace

double CalcGaussKernel(const TVector* Vec1, const TVector* Vec2, double Width) {
  if (Vec1 == nullptr || Vec2 == nullptr) return std::numeric_limits<double>::quiet_NaN();
  double S = 0.0;
  for (int32_t E = 1; E <= Vec2->NrOfElem(); ++E) {
    const double D = Vec1->GetVal(E) - Vec2->GetVal(E);
    S += D * D;
  }
  return KernelOfSquares(S, Width);
}

double CalcGaussKernelMat(const TVector* Vec, const TMatrix* Mat, int32_t Row, double Width) {
  if (Vec == nullptr || Mat == nullptr) return std::numeric_limits<double>::quiet_NaN();
  double S = 0.0;
  for (int32_t C = 1; C <= Mat->NrOfColumns(); ++C) {
    const double D = Vec->GetVal(C) - Mat->GetVal(C, Row);
    S += D * D;
  }
  return KernelOfSquares(S, Width);
}

}  // namespace orv
