// TFastFourier: life cycle, size, derived spectra, extremes and lines.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "analysis/fourier_fft.h"
#include "analysis/transform_size.h"
#include "orvcalckit/ORV_fourier.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

TFastFourier::TFastFourier(TComponent* AOwner) : TComponent(AOwner) { Allocate(256, 1.0); }

TFastFourier::~TFastFourier() = default;

std::string TFastFourier::ClassName() const { return "TFastFourier"; }

void TFastFourier::Allocate(int32_t N, double UserWeight) {
  detail::GuardAlloc<EORVFourierError>(*this, detail::NoHeap, [&] {
    TDoubleArray Data(detail::Ix(2 * int64_t{N}), 0.0);
    TDoubleArray Wgt(detail::Ix(N), UserWeight);
    TDoubleArray Twiddle(detail::Ix(2 * (int64_t{N} - 1)));
    detail::FillFftTwiddles(Twiddle.data(), N);
    FData = std::move(Data);
    FUserWgt = std::move(Wgt);
    FTwiddle = std::move(Twiddle);
  });
  FNumData = N;
  Invalidate();
}

void TFastFourier::SetSpectrumSize(int32_t Size) {
  detail::CheckTransformSize<EORVFourierError>(*this, Size);
  Allocate(Size, 0.0);
}

void TFastFourier::SetWeightingWindow(TFastFourierWgtWin Value) {
  if (Value <= fwUserDef) FWgtWin = Value;
}

// ---- derived spectra -------------------------------------------------------------------

double TFastFourier::PowerSum(int64_t Line) const {
  const double* X = FData.data();
  const int64_t M = FNumData - Line;
  const double P = X[2 * Line] * X[2 * Line] + X[2 * Line + 1] * X[2 * Line + 1];
  if (Line == 0) return P;
  return P + X[2 * M] * X[2 * M] + X[2 * M + 1] * X[2 * M + 1];
}

double TFastFourier::MagnitudeSum(int64_t Line) const {
  const double* X = FData.data();
  if (Line == 0) return std::sqrt(X[0] * X[0] + X[1] * X[1]);
  const int64_t M = FNumData - Line;
  const double Re = X[2 * Line] + X[2 * M];
  const double Im = X[2 * Line + 1] - X[2 * M + 1];
  return std::sqrt(Re * Re + Im * Im);
}

double TFastFourier::PowerSpec(int32_t Ix) const {
  if (Ix < 0 || Ix > FNumData / 2) return 0.0;
  return PowerSum(Ix) / FNumData;
}

double TFastFourier::Magnitude(int32_t Ix) const {
  if (Ix < 0 || Ix > FNumData / 2) return 0.0;
  return MagnitudeSum(Ix) / FNumData;
}

double TFastFourier::FourSerCosCoeff(int32_t Ix) const {
  if (Ix < 0 || Ix > FNumData / 2) return 0.0;
  const double Re = FData[detail::Ix(2 * Ix)];
  if (Ix == 0) return Re / FNumData;
  return (Re + FData[detail::Ix(2 * (FNumData - Ix))]) / FNumData;
}

double TFastFourier::FourSerSinCoeff(int32_t Ix) const {
  if (Ix < 1 || Ix > FNumData / 2) return 0.0;
  return (FData[detail::Ix(2 * Ix + 1)] - FData[detail::Ix(2 * (FNumData - Ix) + 1)]) / FNumData;
}

double TFastFourier::Phase(int32_t Ix) const {
  if (Ix < 1 || Ix > FNumData / 2) return 0.0;
  const double Re = FData[detail::Ix(2 * Ix)];
  const double Im = FData[detail::Ix(2 * Ix + 1)];
  if (Re == 0.0) return Im <= 0.0 ? -std::numbers::pi / 2 : std::numbers::pi / 2;
  return std::atan(Im / Re);
}

// ---- extremes ------------------------------------------------------------------------------

void TFastFourier::ValidateMaxValues() const {
  if (FMaxValuesValid) return;
  double MaxR = -uc_MaxDouble, MaxI = -uc_MaxDouble, MinR = uc_MaxDouble, MinI = uc_MaxDouble;
  for (int64_t K = 0; K < FNumData; ++K) {
    const double Re = FData[detail::Ix(2 * K)], Im = FData[detail::Ix(2 * K + 1)];
    if (Re > MaxR) MaxR = Re;
    if (Re < MinR) MinR = Re;
    if (Im > MaxI) MaxI = Im;
    if (Im < MinI) MinI = Im;
  }
  double MaxP = 0.0, MaxM = 0.0;
  for (int64_t L = 1; L < FNumData / 2; ++L)
    if (const double P = PowerSum(L); P > MaxP) MaxP = P;
  for (int64_t L = 1; L <= FNumData / 2; ++L)
    if (const double M = MagnitudeSum(L); M > MaxM) MaxM = M;
  FMaxReal = MaxR;
  FMaxImag = MaxI;
  FMinReal = MinR;
  FMinImag = MinI;
  FMaxPower = MaxP / FNumData;
  FMaxMagni = MaxM / FNumData;
  FMaxValuesValid = true;
}

double TFastFourier::RealMax() const {
  ValidateMaxValues();
  return FMaxReal;
}
double TFastFourier::ImagMax() const {
  ValidateMaxValues();
  return FMaxImag;
}
double TFastFourier::RealMin() const {
  ValidateMaxValues();
  return FMinReal;
}
double TFastFourier::ImagMin() const {
  ValidateMaxValues();
  return FMinImag;
}
double TFastFourier::PowerMax() const {
  ValidateMaxValues();
  return FMaxPower;
}
double TFastFourier::MagniMax() const {
  ValidateMaxValues();
  return FMaxMagni;
}

// ---- clearing ------------------------------------------------------------------------------

void TFastFourier::Clear() {
  std::fill(FData.begin(), FData.end(), 0.0);
  Invalidate();
}

void TFastFourier::ClearReal() {
  for (std::size_t K = 0; K < FData.size(); K += 2) FData[K] = 0.0;
  Invalidate();
}

void TFastFourier::ClearImag() {
  for (std::size_t K = 1; K < FData.size(); K += 2) FData[K] = 0.0;
  Invalidate();
}

// ---- lines and frequencies ---------------------------------------------------------------

double TFastFourier::FreqOfLine(int32_t Ix, double SampleTime) const {
  if (Ix < 1 || Ix > FNumData / 2) return 0.0;
  return Ix / SampleTime / FNumData;
}

int32_t TFastFourier::LineOfFreq(double F, double SampleTime) const {
  const int64_t Line = Round(FNumData * F * SampleTime);
  return Line >= 1 && Line <= FNumData / 2 ? static_cast<int32_t>(Line) : 0;
}

double TFastFourier::RMS(int32_t FirstIx, int32_t LastIx) const {
  const int32_t Top = FNumData / 2;
  int32_t Lo = std::clamp(FirstIx, 0, Top);
  int32_t Hi = std::clamp(LastIx, 0, Top);
  if (Hi < Lo) std::swap(Lo, Hi);
  double Sum = 0.0;
  for (int64_t L = Lo; L <= Hi; ++L) Sum += PowerSum(L);
  return std::sqrt(Sum) / FNumData;
}

}  // namespace orv
