// TIntVector: the integer vector, its core and its computations.
#include <cmath>

#include "linalg/histogram.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TVectorOps<TIntVector>;

TIntVector::TIntVector(TComponent* AOwner) : TComponent(AOwner) { Ops::Create(*this); }

TIntVector::~TIntVector() = default;

std::string TIntVector::ClassName() const { return "TIntVector"; }

void TIntVector::Assign(TPersistent* Source) { Ops::Assign(*this, Source); }

void TIntVector::AssignTo(TPersistent* Dest) { detail::AssignToSameClass(*this, Dest); }

void TIntVector::SetIntVecSize(int32_t NE) {
  if (NE > 0 && NE != FNElem) Resize(NE);
}

bool TIntVector::Resize(int32_t NE) { return Ops::Resize(*this, NE); }

void TIntVector::MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const {
  detail::MakeValidRange(LowElem, HighElem, FNElem);
}

double TIntVector::CalcVecLeng() const {
  // A square of 32 bits would wrap beyond 46340; in double every square is exact.
  double S = 0.0;
  for (int32_t X : FVec) S += static_cast<double>(X) * static_cast<double>(X);
  return std::sqrt(S);
}

void TIntVector::Clone(const TIntVector* VecSource) { Ops::Clone(*this, VecSource); }

void TIntVector::CopyFrom(const TIntVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi,
                          int32_t DestElem) {
  Ops::CopyFrom(*this, VecSource, SourceElemLo, SourceElemHi, DestElem);
}

void TIntVector::CopyToArray(TIntArray& DestArray, int32_t LowElem, int32_t HighElem) const {
  Ops::CopyToArray(*this, DestArray, LowElem, HighElem);
}

void TIntVector::CopyFromArray(const TIntArray& SrcArray, int32_t Elem) { Ops::CopyFromArray(*this, SrcArray, Elem); }

void TIntVector::Fill(int32_t Value) { Ops::Fill(*this, Value); }

void TIntVector::Clear() { Ops::Clear(*this); }

void TIntVector::AbsVal() {
  Ops::Transform(*this, [](int32_t X) { return detail::WrapAbs(X); });
}

std::string TIntVector::CRCofData() const { return Ops::CRCofData(*this); }

bool TIntVector::IsDichotomous(int32_t& V1, int32_t& V2) const { return Ops::IsDichotomous(*this, V1, V2); }

int32_t TIntVector::DotProduct(const TIntVector* OtherVec) const { return Ops::DotProduct(*this, OtherVec); }

int32_t TIntVector::Correlate(const TIntVector* OtherVec, int32_t ElemShift) const {
  return Ops::Correlate(*this, OtherVec, ElemShift, 1);
}

double TIntVector::PearsonCorrCoeff(const TIntVector* OtherVec) const { return Ops::Pearson(*this, OtherVec); }

double TIntVector::EuclideanDistance(const TIntVector* OtherVec) const {
  return Ops::EuclideanDistance(*this, OtherVec);
}

void TIntVector::Add(const TIntVector* OtherVec) { Ops::AddOrSubtract(*this, OtherVec, false); }

void TIntVector::Subtract(const TIntVector* OtherVec) { Ops::AddOrSubtract(*this, OtherVec, true); }

void TIntVector::SMult(int32_t Scalar) { Ops::SMult(*this, Scalar); }

int32_t TIntVector::Find(int32_t LowElem, int32_t HighElem, int32_t Value) const {
  return Ops::FindNearest(*this, LowElem, HighElem, Value);
}

int32_t TIntVector::FindExact(int32_t LowElem, int32_t HighElem, int32_t Value) const {
  return Ops::FindExact(*this, LowElem, HighElem, Value);
}

int32_t TIntVector::FindInSortedVector(bool Ascending, int32_t Value) const {
  return Ops::FindInSorted(*this, Ascending, Value);
}

void TIntVector::MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum) const {
  Ops::MinMax(*this, LowElem, HighElem, 2147483647, -2147483647, Minimum, Maximum);
}

void TIntVector::MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum, int32_t& MinIx,
                        int32_t& MaxIx) const {
  Ops::MinMax(*this, LowElem, HighElem, 2147483647, -2147483647, Minimum, Maximum, MinIx, MaxIx);
}

void TIntVector::SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast) {
  Ops::SortElems(*this, Ascending, RangeFirst, RangeLast);
}

void TIntVector::Mirror() { Ops::Mirror(*this); }

void TIntVector::ShuffleElems() { Ops::Shuffle(*this); }

int32_t TIntVector::Sum(int32_t LowElem, int32_t HighElem) const { return Ops::Sum(*this, LowElem, HighElem); }

int32_t TIntVector::Mode(int32_t LowElem, int32_t HighElem) const { return Ops::Mode(*this, LowElem, HighElem); }

bool TIntVector::Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const {
  return Ops::Quartiles(*this, LowElem, HighElem, Q1, Q2, Q3);
}

double TIntVector::Percentile(double Prob, int32_t LowElem, int32_t HighElem) const {
  return Ops::Percentile(*this, Prob, LowElem, HighElem);
}

void TIntVector::MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const {
  Ops::MeanVar(*this, LowElem, HighElem, Mean, Variance);
}

double TIntVector::GeometricMean(int32_t LowElem, int32_t HighElem) const {
  return Ops::GeometricMean(*this, LowElem, HighElem);
}

double TIntVector::HarmonicMean(int32_t LowElem, int32_t HighElem) const {
  return Ops::HarmonicMean(*this, LowElem, HighElem);
}

void TIntVector::SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const {
  Ops::SkewKurt(*this, LowElem, HighElem, false, Skewness, Kurtosis);
}

void TIntVector::SkewKurtIntern(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis,
                                int32_t& NumData) const {
  Ops::SkewKurt(*this, LowElem, HighElem, false, Skewness, Kurtosis, &NumData);
}

void TIntVector::SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const {
  Ops::SkewKurt(*this, LowElem, HighElem, true, Skewness, Kurtosis);
}

bool TIntVector::Histogram(int32_t FirstElem, int32_t LastElem, int32_t FirstBin, int32_t LastBin, int32_t BinWidth,
                           TIntVector* Histo, int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt) {
  if (Histo == nullptr) return false;
  detail::TIntBins Bins;
  if (!detail::TIntBins::Make(FirstBin, LastBin, BinWidth, Bins))
    throw EORVVectorError(detail::ComponentMessage(Name() + ".Histogram", "invalid number of bins"));
  return Ops::Histogram(*this, FirstElem, LastElem, *Histo, Bins, Underflow, Overflow, MaxCnt);
}

}  // namespace orv

