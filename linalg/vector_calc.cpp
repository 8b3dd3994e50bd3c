// TVector computations: integration, products and distances, searching,
// extremes, element-wise arithmetic and normalising.
#include <cmath>
#include <limits>
#include <utility>

#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TVectorOps<TVector>;

double TVector::Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const {
  if (std::isnan(BoundLow) || std::isnan(BoundHigh)) return std::numeric_limits<double>::quiet_NaN();
  const double N = FNElem;
  const auto Clamp = [N](double B) { return B < 1.0 ? 1.0 : B > N ? N : B; };
  double Lo = Clamp(BoundLow), Hi = Clamp(BoundHigh);
  if (Lo > Hi) std::swap(Lo, Hi);
  const double W = Hi - Lo;
  const int32_t D = TruncInt(std::ceil(Lo)), E = TruncInt(std::floor(Hi));  // the samples inside
  const int32_t H = E - D + 1;                                              // 0 or more
  const auto X = [this](int32_t I) { return FVec[detail::Ix1(I)]; };
  const auto F = [&](double At) {  // the straight line between the neighbouring samples
    const int32_t I = TruncInt(std::floor(At));
    return detail::LinearBetween(X(I), I < FNElem ? X(I + 1) : X(I), At - I);
  };
  // The end pieces; one of width 0 (a bound on a sample) is 0, also beside an infinite sample.
  const auto Ends = [&] {
    const auto Piece = [](double A, double B, double Width) { return Width == 0.0 ? 0.0 : (A + B) / 2.0 * Width; };
    return Piece(F(Lo), X(D), D - Lo) + Piece(X(E), F(Hi), Hi - E);
  };
  const auto Trapezoidal = [&] {
    if (H == 0) return (F(Lo) + F(Hi)) / 2.0 * W;
    double S = Ends();
    for (int32_t I = D; I < E; ++I) S += (X(I) + X(I + 1)) / 2.0;
    return S;
  };
  switch (Method) {
    case imSimple: {
      if (H == 0) {
        const int32_t I = TruncInt(std::floor(Lo));
        return (X(I) + X(I + 1)) / 2.0 * W;
      }
      double S = 0.0;
      for (int32_t I = D; I <= E; ++I) S += X(I);
      return S / H * W;
    }
    case imTrapezoidal:
      return Trapezoidal();
    case imSimpson: {
      if (H <= 2) return Trapezoidal();
      double Rule;
      switch (H) {
        case 3:  // Simpson
          Rule = (X(D) + 4.0 * X(D + 1) + X(D + 2)) / 3.0;
          break;
        case 4:  // Simpson's 3/8
          Rule = 3.0 / 8.0 * (X(D) + 3.0 * X(D + 1) + 3.0 * X(D + 2) + X(D + 3));
          break;
        case 5:  // Boole
          Rule = 2.0 / 45.0 * (7.0 * X(D) + 32.0 * X(D + 1) + 12.0 * X(D + 2) + 32.0 * X(D + 3) + 7.0 * X(D + 4));
          break;
        default:  // the extended rule of Press et al., "Numerical Recipes", 2nd ed., eq. 4.1.14, 1992
          Rule = 3.0 / 8.0 * X(D) + 7.0 / 6.0 * X(D + 1) + 23.0 / 24.0 * X(D + 2);
          for (int32_t I = D + 3; I <= E - 3; ++I) Rule += X(I);
          Rule += 23.0 / 24.0 * X(E - 2) + 7.0 / 6.0 * X(E - 1) + 3.0 / 8.0 * X(E);
      }
      return Ends() + Rule;
    }
  }
  return 0.0;
}

double TVector::PearsonCorrCoeff(const TVector* OtherVec) const { return Ops::Pearson(*this, OtherVec); }

double TVector::Correlate(const TVector* OtherVec, int32_t ElemShift) const {
  return Ops::Correlate(*this, OtherVec, -int64_t{ElemShift}, 2);
}

double TVector::DotProduct(const TVector* OtherVec) const { return Ops::DotProduct(*this, OtherVec); }

double TVector::EuclideanDistance(const TVector* OtherVec) const { return Ops::EuclideanDistance(*this, OtherVec); }

int32_t TVector::FindInSortedVector(bool Ascending, double Value) const {
  return Ops::FindInSorted(*this, Ascending, Value);
}

int32_t TVector::Find(int32_t LowElem, int32_t HighElem, double Value) const {
  return Ops::FindNearest(*this, LowElem, HighElem, Value);
}

void TVector::MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum) const {
  Ops::MinMax(*this, LowElem, HighElem, 1.7e308, -1.7e308, Minimum, Maximum);
}

void TVector::MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum, int32_t& MinIx,
                     int32_t& MaxIx) const {
  Ops::MinMax(*this, LowElem, HighElem, 1.7e308, -1.7e308, Minimum, Maximum, MinIx, MaxIx);
}

void TVector::Add(const TVector* OtherVec) { Ops::AddOrSubtract(*this, OtherVec, false); }

void TVector::Subtract(const TVector* OtherVec) { Ops::AddOrSubtract(*this, OtherVec, true); }

void TVector::SMult(double Scalar) { Ops::SMult(*this, Scalar); }

void TVector::Standardize(double& Mean, double& StdDev) {
  double Variance;
  Ops::MeanVar(*this, 0, 0, Mean, Variance);
  StdDev = std::sqrt(Variance);
  if (!(StdDev > 0.0) || !std::isfinite(StdDev) || !std::isfinite(Mean)) return;
  for (int32_t I = 0; I < FNElem; ++I) FVec[detail::Ix(I)] = (FVec[detail::Ix(I)] - Mean) / StdDev;
}

double TVector::MeanCenter() {
  double Mean, Variance;
  Ops::MeanVar(*this, 0, 0, Mean, Variance);
  if (!std::isfinite(Mean)) return Mean;
  for (int32_t I = 0; I < FNElem; ++I) FVec[detail::Ix(I)] -= Mean;
  return Mean;
}

void TVector::QNormalize(double RefQuant, double& Median, double& QuantDiff) {
  // The sorts report to MathFeedBackProc, whose host code may resize the
  // vector: the two percentiles then describe different vectors.
  const detail::TStorageGuard Shape(detail::ShapeOf(*this));
  Median = Percentile(50.0, 0, 0);
  QuantDiff = std::fabs(Median - Percentile(RefQuant, 0, 0));
  if (!(QuantDiff > 0.0) || !std::isfinite(QuantDiff) || !Shape.Intact()) return;
  for (int32_t I = 0; I < FNElem; ++I) FVec[detail::Ix(I)] = (FVec[detail::Ix(I)] - Median) / QuantDiff;
}

}  // namespace orv
