// Unit ORV_fourier: the fast Fourier transform component TFastFourier.
#pragma once

#include <cstdint>
#include <string>

#include "ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of TFastFourier: Component "<Name>": <problem>.
class ORV_API EORVFourierError : public EORVError {
 public:
  using EORVError::EORVError;
};

// The weighting windows of TFastFourier::Transform, ordinals as stored.
enum TFastFourierWgtWin : uint8_t {
  fwRectangle = 0,
  fwTriangle = 1,
  fwCos2 = 2,
  fwGauss = 3,
  fwHamming = 4,
  fwBlackman = 5,
  fwBlkmHarris = 6,
  fwBlkmNuttall = 7,
  fwUserDef = 8
};

// ============================================================================
// TFastFourier: N complex points, a weighting window and a radix-2 FFT
// ============================================================================
//
// The points are numbered 1..N in RealSpec, ImagSpec and WgtFunction, the
// spectral lines 0..N/2 (or 1..N/2) in the derived spectra; reading outside
// gives 0, writing there is ignored.
//
// Conventions a user must know, kept as the component always had them:
// - The forward transform has the sign +1: line k is sum_n x_n e^(+2 pi i n k / N),
//   numpy.fft.ifft(x) * N. InverseTransform uses e^(-2 pi i n k / N) and divides by N.
// - Transform multiplies the window into the points themselves, so a second
//   Transform of the same points windows them again.
// - The user-defined weights are 1 after construction, but 0 after every
//   SetSpectrumSize: with fwUserDef they must be written before a Transform.
// - The derived spectra fold line N - l onto line l. At l = N/2 that is the
//   Nyquist line itself, so PowerSpec, Magnitude, FourSerCosCoeff and RMS
//   count it twice.
// - Phase is arctan(im / re) of the line alone: in (-pi/2, pi/2], without
//   the quadrant.
// - PowerMax is the largest PowerSpec over lines 1..N/2 - 1, MagniMax the
//   largest Magnitude over lines 1..N/2 (the Nyquist line included).
//
// The twiddles of each span come from the trigonometric recurrence
// w := w + w (-2 sin^2(theta / 2) + i sin theta), computed once per size.
// The lines lie within 1e-14 of the largest line of a direct DFT (measured
// 1.5e-15 at N = 4096).
//
// The extremes are cached and recomputed on the first read after a change,
// so even reading them changes the component: one component must not be
// used from two threads at once.
class ORV_API TFastFourier : public TComponent {
 public:
  // 256 points of 0, fwRectangle, every user weight 1.0.
  // EORVFourierError "not enough memory on heap" when that cannot be allocated.
  explicit TFastFourier(TComponent* AOwner = nullptr);
  ~TFastFourier() override;
  std::string ClassName() const override;

  // ---- size and window ----
  int32_t SpectrumSize() const { return FNumData; }
  // N := Size with every point and every user weight 0, also when Size is
  // the current size. Size must be 1, 2, 4, ..., 2^23; anything else raises
  // EORVFourierError "data length must be power of 2". When memory runs out
  // it raises "not enough memory on heap". After a raise the component is
  // as it was.
  void SetSpectrumSize(int32_t Size);
  TFastFourierWgtWin WeightingWindow() const { return FWgtWin; }
  void SetWeightingWindow(TFastFourierWgtWin Value);  // ordinals beyond fwUserDef are ignored

  // ---- points (1..N) ----
  double RealSpec(int32_t Ix) const { return detail::InAxis(Ix, FNumData) ? FData[detail::Ix(2 * (Ix - 1))] : 0.0; }
  double ImagSpec(int32_t Ix) const { return detail::InAxis(Ix, FNumData) ? FData[detail::Ix(2 * Ix - 1)] : 0.0; }
  void SetRealSpec(int32_t Ix, double Value) {
    if (!detail::InAxis(Ix, FNumData)) return;
    FData[detail::Ix(2 * (Ix - 1))] = Value;
    FMaxValuesValid = false;
  }
  void SetImagSpec(int32_t Ix, double Value) {
    if (!detail::InAxis(Ix, FNumData)) return;
    FData[detail::Ix(2 * Ix - 1)] = Value;
    FMaxValuesValid = false;
  }
  // The weights of fwUserDef, point Ix multiplied by weight Ix.
  double WgtFunction(int32_t Ix) const { return detail::InAxis(Ix, FNumData) ? FUserWgt[detail::Ix1(Ix)] : 0.0; }
  void SetWgtFunction(int32_t Ix, double Value) {
    if (detail::InAxis(Ix, FNumData)) FUserWgt[detail::Ix1(Ix)] = Value;
  }

  // ---- derived spectra (re_l, im_l the point l + 1 after Transform) ----
  // (re_l^2 + im_l^2 + re_(N-l)^2 + im_(N-l)^2) / N for l = 1..N/2; line 0
  // alone: (re_0^2 + im_0^2) / N.
  double PowerSpec(int32_t Ix) const;
  // sqrt((re_l + re_(N-l))^2 + (im_l - im_(N-l))^2) / N, l = 1..N/2;
  // sqrt(re_0^2 + im_0^2) / N at l = 0.
  double Magnitude(int32_t Ix) const;
  // (re_l + re_(N-l)) / N for l = 1..N/2, re_0 / N at l = 0.
  double FourSerCosCoeff(int32_t Ix) const;
  // (im_l - im_(N-l)) / N for l = 1..N/2.
  double FourSerSinCoeff(int32_t Ix) const;
  // arctan(im_l / re_l), l = 1..N/2; where re_l = 0: -pi/2 when im_l <= 0, else pi/2.
  double Phase(int32_t Ix) const;

  // ---- extremes, recomputed on the first read after a change ----
  // Over all N points, from -/+uc_MaxDouble (NaN points never count).
  double RealMax() const;
  double ImagMax() const;
  double RealMin() const;
  double ImagMin() const;
  double PowerMax() const;  // over PowerSpec 1..N/2 - 1, at least 0
  double MagniMax() const;  // over Magnitude 1..N/2, at least 0

  // ---- clearing and transforms ----
  void Clear();      // every point 0
  void ClearReal();  // the real parts 0
  void ClearImag();  // the imaginary parts 0
  // Windows the points in place (see the class comment), then transforms
  // them with the sign +1.
  void Transform();
  // Transforms with the sign -1, no window, and divides every point by N:
  // after Transform with fwRectangle, the signal again.
  void InverseTransform();

  // ---- lines and frequencies ----
  // Ix / SampleTime / N for Ix = 1..N/2, else 0.
  double FreqOfLine(int32_t Ix, double SampleTime) const;
  // Round(N * F * SampleTime) (half to even) when that lies in 1..N/2, else 0.
  int32_t LineOfFreq(double F, double SampleTime) const;
  // sqrt of the sum of the power sums (PowerSpec * N) over lines
  // FirstIx..LastIx, divided by N; both bounds clamped into 0..N/2 and
  // exchanged when reversed.
  double RMS(int32_t FirstIx, int32_t LastIx) const;

  // The points, point k (0-based) at 2k (real) and 2k + 1 (imaginary). A
  // caller may read and write the values but must keep the size 2N. The
  // extremes do not see such writes until the next setter, Clear or
  // transform.
  TDoubleArray FData;

 private:
  // N points of 0 and N user weights UserWeight, built aside and committed.
  void Allocate(int32_t N, double UserWeight);
  double PowerSum(int64_t Line) const;      // PowerSpec * N
  double MagnitudeSum(int64_t Line) const;  // Magnitude * N
  void ValidateMaxValues() const;
  void Invalidate() { FMaxValuesValid = false; }

  int32_t FNumData = 0;
  TFastFourierWgtWin FWgtWin = fwRectangle;
  mutable bool FMaxValuesValid = false;
  mutable double FMaxReal = 0, FMaxImag = 0, FMinReal = 0, FMinImag = 0;
  mutable double FMaxPower = 0, FMaxMagni = 0;
  TDoubleArray FUserWgt;
  // The twiddles of every span L = 2, 4, ..., N from the recurrence, L/2 of
  // them from complex offset L/2 - 1, interleaved like FData.
  TDoubleArray FTwiddle;
};

}  // namespace orv
