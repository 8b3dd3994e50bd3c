// Unit ORV_wavelet: the one-dimensional discrete wavelet transform TWavelet1D.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

// Errors of TWavelet1D: Component "<Name>": <problem>.
class ORV_API EORVWaveletError : public EORVError {
 public:
  using EORVError::EORVError;
};

// How a stage reads the signal before its start (index t < 0 over a stage of
// length L): wseWrap x[t mod L], wseZeroPad 0, wseSymmetric x[(-t - 1) mod L].
enum TWLSigExtMode : uint8_t { wseWrap = 0, wseZeroPad = 1, wseSymmetric = 2 };
enum TWaveletFamily : uint8_t { wlfDaubechies = 0 };

// ============================================================================
// TWavelet1D: Daubechies wavelets of order 1 to 3, stage by stage, in place
// ============================================================================
//
// N values (N a power of two), numbered 1..N in Data, held as Extended (the
// 80-bit type in the 32-bit build). A forward stage over the first L values
// leaves the approximation coefficients in the lower half of them and the
// detail coefficients in the upper half. Stage: for l = 0..L/2 - 1 and
// j = 0..2K - 1, with t = 2l + 2 - 2K + j,
//   w[l] += h[j] x[t],  w[L/2 + l] += g[j] x[t],
// h the orthonormal Daubechies scaling filter of order K (2K taps, sum
// sqrt 2; I. Daubechies, Ten Lectures on Wavelets, SIAM, 1992, table 6.1),
// g[j] = (-1)^j h[2K - 1 - j]. The inverse stage is its transpose:
//   w[t] += h[j] x[l],  w[t] += g[j] x[L/2 + l].
// With wseWrap the inverse stage undoes the forward stage (to rounding).
// With wseZeroPad and wseSymmetric it is only the transpose of the forward
// stage, not its inverse: a signal does not come back.
class ORV_API TWavelet1D : public TComponent {
 public:
  // Daubechies of order 2, wseWrap, 256 values of 0.
  // EORVWaveletError "not enough memory on heap" when they cannot be allocated.
  explicit TWavelet1D(TComponent* AOwner = nullptr);
  ~TWavelet1D() override;
  std::string ClassName() const override;

  // ---- settings ----
  TWaveletFamily WaveletFamily() const { return FWaveletFam; }
  void SetWaveletFamily(TWaveletFamily Value);  // other ordinals are ignored
  int32_t Order() const { return FOrder; }
  // 1, 2 or 3, else EORVWaveletError "invalid order of Daubechies wavelet
  // family" (the order is then unchanged).
  void SetOrder(int32_t Value);
  int32_t Size() const { return FNumData; }
  // N := Value with every value 0, also when Value is the current size.
  // Value must be 1, 2, 4, ..., 2^23; anything else raises EORVWaveletError
  // "data length must be power of 2". When memory runs out it raises "not
  // enough memory on heap". After a raise the component is as it was.
  void SetSize(int32_t Value);
  TWLSigExtMode SignalExtMode() const { return FWLSigExtMode; }
  void SetSignalExtMode(TWLSigExtMode Value);  // ordinals beyond wseSymmetric are ignored

  // ---- values (1..N) ----
  double Data(int32_t Ix) const {
    return detail::InAxis(Ix, FNumData) ? static_cast<double>(FData[detail::Ix1(Ix)]) : 0.0;
  }
  void SetData(int32_t Ix, Extended Value) {
    if (detail::InAxis(Ix, FNumData)) FData[detail::Ix1(Ix)] = Value;
  }

  // ---- transforms ----
  // Forward stages over L = N, N/2, N/4, ..., at most Level of them (Level <= 0
  // counts as 1) while L > 1.
  void Transform(int32_t Level);
  // Inverse stages over L = 2, 4, 8, ..., at most Level of them (Level <= 0
  // counts as 1) while L <= N. It always starts at the coarsest stage, so it
  // inverts a full decomposition: after Transform(log2 N) the signal comes
  // back with InverseTransform(log2 N), while a partial decomposition,
  // Transform(Level) with Level < log2 N, is not undone by
  // InverseTransform(Level).
  void InverseTransform(int32_t Level);
  // One stage over all N values, forward or inverse; nothing when N = 1.
  void SingleStep(bool Inverse);
  void Clear();  // every value 0

 private:
  void Stage(int64_t L, bool Inverse);

  int32_t FNumData = 0;
  std::vector<Extended> FData;
  std::vector<Extended> FWork;  // a stage's output, N values
  int32_t FOrder = 0;
  std::array<Extended, 6> FCoeffsLP{};  // h, 2K of them used
  std::array<Extended, 6> FCoeffsHP{};  // g
  TWLSigExtMode FWLSigExtMode = wseWrap;
  TWaveletFamily FWaveletFam = wlfDaubechies;
};

}  // namespace orv
