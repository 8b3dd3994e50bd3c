// TVector statistics: order statistics, the histogram and the moments.
#include "linalg/histogram.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TVectorOps<TVector>;

double TVector::Mode(int32_t LowElem, int32_t HighElem) const { return Ops::Mode(*this, LowElem, HighElem); }

bool TVector::Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const {
  return Ops::Quartiles(*this, LowElem, HighElem, Q1, Q2, Q3);
}

double TVector::Percentile(double Prob, int32_t LowElem, int32_t HighElem) const {
  return Ops::Percentile(*this, Prob, LowElem, HighElem);
}

bool TVector::Histogram(int32_t FirstElem, int32_t LastElem, double FirstBin, double LastBin, double BinWidth,
                        TIntVector* Histo, int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt) const {
  detail::TRealBins Bins;
  if (Histo == nullptr || !detail::TRealBins::Make(FirstBin, LastBin, BinWidth, Bins)) return false;
  return Ops::Histogram(*this, FirstElem, LastElem, *Histo, Bins, Underflow, Overflow, MaxCnt);
}

void TVector::MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const {
  Ops::MeanVar(*this, LowElem, HighElem, Mean, Variance);
}

double TVector::GeometricMean(int32_t LowElem, int32_t HighElem) const {
  return Ops::GeometricMean(*this, LowElem, HighElem);
}

double TVector::HarmonicMean(int32_t LowElem, int32_t HighElem) const {
  return Ops::HarmonicMean(*this, LowElem, HighElem);
}

double TVector::Sum(int32_t LowElem, int32_t HighElem) const { return Ops::Sum(*this, LowElem, HighElem); }

void TVector::SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const {
  Ops::SkewKurt(*this, LowElem, HighElem, false, Skewness, Kurtosis);
}

void TVector::SkewKurtIntern(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis,
                             int32_t& NumData) const {
  Ops::SkewKurt(*this, LowElem, HighElem, false, Skewness, Kurtosis, &NumData);
}

void TVector::SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const {
  Ops::SkewKurt(*this, LowElem, HighElem, true, Skewness, Kurtosis);
}

}  // namespace orv
