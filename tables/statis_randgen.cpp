// TRandGen: random numbers from a tabulated density, by rejection.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "linalg/component.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

using detail::Ix;

namespace {

constexpr int32_t DefaultResolution = 500;

}  // namespace

TRandGen::TRandGen(TComponent* AOwner) : TComponent(AOwner) {
  detail::GuardAlloc<EORVStatisError>(*this, "not enough memory on heap",
                                      [&] { FDistVec.assign(DefaultResolution, 1.0); });
  FResolution = DefaultResolution;
}

TRandGen::~TRandGen() = default;

std::string TRandGen::ClassName() const { return "TRandGen"; }

void TRandGen::SetResolution(int32_t N) {
  N = std::clamp(N, 10, 4000);
  TDoubleArray Table;
  detail::GuardAlloc<EORVStatisError>(*this, "not enough memory", [&] { Table.assign(Ix(N), 1.0); });
  FDistVec = std::move(Table);
  FResolution = N;
}

double TRandGen::Probability(int32_t Idx) const {
  return detail::InAxis(Idx, FResolution) ? FDistVec[detail::Ix1(Idx)] : 0.0;
}

void TRandGen::SetProbability(int32_t Idx, double Value) {
  if (!detail::InAxis(Idx, FResolution)) return;
  FDistVec[detail::Ix1(Idx)] = std::isnan(Value) ? 0.0 : std::clamp(Value, 0.0, 1.0);
}

double TRandGen::Lambda(int32_t ix) const {
  if (ix <= 0) return FLowBorder;
  if (ix > FResolution) return FHighBorder;
  return FLowBorder + (ix - 1) * ((FHighBorder - FLowBorder) / FResolution);
}

int32_t TRandGen::IndexOfLambda(double L) const {
  if (std::isnan(L) || L < FLowBorder) return 0;
  if (L > FHighBorder) return FResolution + 1;
  // A border pair of one point, or rounding at the top, stays in range.
  const double Cell = (L - FLowBorder) * FResolution / (FHighBorder - FLowBorder);
  if (!(Cell < FResolution)) return FResolution + 1;
  return IntNeg(std::max(Cell, 0.0)) + 1;
}

void TRandGen::Normalize() {
  const auto [Min, Max] = std::minmax_element(FDistVec.begin(), FDistVec.end());
  const double Lo = *Min, Hi = *Max;
  if (Lo == Hi) return;
  for (double& v : FDistVec) v = (v - Lo) / (Hi - Lo);
}

bool TRandGen::Standardize() {
  const double Max = *std::max_element(FDistVec.begin(), FDistVec.end());
  if (!(Max > 0)) return false;
  for (double& v : FDistVec) v /= Max;
  return true;
}

template <class Density>
void TRandGen::Fill(Density&& F) {
  const double w = (FHighBorder - FLowBorder) / FResolution;
  for (int32_t k = 0; k < FResolution; ++k) {
    const double v = F(FLowBorder + k * w);
    FDistVec[Ix(k)] = std::isfinite(v) ? v : 0.0;
  }
}

void TRandGen::UniformDistri() {
  Fill([](double) { return 1.0; });
}

void TRandGen::NormalDistri(double Mean, double StdDev) {
  Fill([&](double x) { return std::exp(-0.5 * (x - Mean) * (x - Mean) / (StdDev * StdDev)); });
}

void TRandGen::WeibullDistri(double Beta, double Eta) {
  Fill([&](double x) { return WeibullDensity(x, Beta, Eta); });
}

void TRandGen::tDistri(double df) {
  Fill([&](double x) { return tDistriDensity(x, df); });
}

void TRandGen::Chi2Distri(double df) {
  Fill([&](double x) { return x < 0 ? 0.0 : Chi2DistriDensity(x, df); });
}

void TRandGen::FDistri(double df1, double df2) {
  Fill([&](double x) { return x <= 0 ? 0.0 : FDistriDensity(x, df1, df2); });
}

double TRandGen::Random() {
  const double* v = FDistVec.data();
  const int32_t Last = FResolution - 1;
  int32_t a = 0;
  double r = 0;
  for (int32_t Try = 0; Try < 100001; ++Try) {
    a = ::orv::Random(FResolution);
    r = ::orv::Random();
    const double b = a == Last ? v[a] * (1 - r) : v[a] + r * (v[a + 1] - v[a]);
    if (b >= 1 || ::orv::Random() < b) break;
  }
  return FLowBorder + (a + r) * ((FHighBorder - FLowBorder) / FResolution);
}

}  // namespace orv
