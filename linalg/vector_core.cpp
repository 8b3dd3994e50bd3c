// TVector core: life cycle, size, elements, ranges, length, copying, filling.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/norm2.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TVectorOps<TVector>;

TVector::TVector(TComponent* AOwner) : TComponent(AOwner) { Ops::Create(*this); }

TVector::~TVector() = default;

std::string TVector::ClassName() const { return "TVector"; }

void TVector::Assign(TPersistent* Source) { Ops::Assign(*this, Source); }

void TVector::AssignTo(TPersistent* Dest) { detail::AssignToSameClass(*this, Dest); }

void TVector::SetVecSize(int32_t NE) {
  if (NE > 0 && NE != FNElem) Resize(NE);
}

bool TVector::Resize(int32_t NE) { return Ops::Resize(*this, NE); }

void TVector::MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const {
  detail::MakeValidRange(LowElem, HighElem, FNElem);
}

double TVector::CalcVecLeng() const {
  return detail::EuclideanNorm([this](auto&& Visit) {
    for (double X : FVec) Visit(X);
  });
}

void TVector::SetVecLeng(double Value) {
  const double N = CalcVecLeng();
  if (!(N > 0.0) || std::isinf(N)) return;  // a NaN or infinite norm would wipe the elements
  const double Factor = Value / N;
  if (std::isnormal(Factor) || !std::isfinite(Value))
    for (double& X : FVec) X *= Factor;
  else
    for (double& X : FVec) X = X / N * Value;  // Value / N alone overflows or loses bits to underflow
  Changed();
}

void TVector::Clone(const TVector* VecSource) { Ops::Clone(*this, VecSource); }

void TVector::CopyFrom(const TVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi, int32_t DestElem) {
  Ops::CopyFrom(*this, VecSource, SourceElemLo, SourceElemHi, DestElem);
}

void TVector::CopyToArray(TDoubleArray& DestArray, int32_t LowElem, int32_t HighElem) const {
  Ops::CopyToArray(*this, DestArray, LowElem, HighElem);
}

void TVector::CopyFromArray(const TDoubleArray& SrcArray, int32_t Elem) { Ops::CopyFromArray(*this, SrcArray, Elem); }

void TVector::Fill(double Value) { Ops::Fill(*this, Value); }

void TVector::Clear() { Ops::Clear(*this); }

void TVector::AbsVal() {
  Ops::Transform(*this, [](double X) { return std::fabs(X); });
}

void TVector::FillRandomUniform(double RangeLow, double RangeHigh) {
  FIsEmpty = false;
  Ops::Transform(*this, [&](double) { return RangeLow + Random() * (RangeHigh - RangeLow); });
}

std::string TVector::CRCofData() const { return Ops::CRCofData(*this); }

void TVector::FillRandomGauss(double Mean, double StdDev) {
  FIsEmpty = false;
  Ops::Transform(*this, [&](double) { return GRandom() * StdDev + Mean; });
}

bool TVector::IsDichotomous(double& V1, double& V2) const { return Ops::IsDichotomous(*this, V1, V2); }

}  // namespace orv
