// TFastFourier: life cycle, size, the windows and the transform, derived
// spectra, extremes and lines.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>

#include "analysis/transform_size.h"
#include "core/simd.h"
#include "orvcalckit/ORV_fourier.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

namespace {

// Radix-2 decimation in time after a bit-reversal permutation (J. W. Cooley,
// J. W. Tukey, An algorithm for the machine calculation of complex Fourier
// series, Mathematics of Computation 19, 1965), the twiddles of a span by
// the trigonometric recurrence of W. H. Press et al., Numerical Recipes, 3rd
// ed., Cambridge University Press, 2007, 5.4 and 12.2.

// The twiddles of every span L = 2, 4, ..., N into T, N - 1 complex values
// interleaved: those of span L, w_L^0 .. w_L^(L/2 - 1), from complex offset
// L/2 - 1. Each span runs its own recurrence from w = 1, theta = 2 pi / L.
void FillFftTwiddles(double* T, int64_t N) {
  for (int64_t L = 2; L <= N; L *= 2) {
    const double Theta = 2 * std::numbers::pi / static_cast<double>(L);
    const double S = std::sin(0.5 * Theta);
    const double Wpr = -2.0 * S * S;
    const double Wpi = std::sin(Theta);
    double Wr = 1.0, Wi = 0.0;
    double* W = T + 2 * (L / 2 - 1);
    for (int64_t J = 0; J < L / 2; ++J) {
      W[2 * J] = Wr;
      W[2 * J + 1] = Wi;
      const double Tr = Wr;
      Wr = Wr + (Wr * Wpr - Wi * Wpi);
      Wi = Wi + (Tr * Wpi + Wi * Wpr);
    }
  }
}

// Exchanges every point with the point at its bit-reversed index. Split the
// Log index bits into a top and a bottom half of Lo bits (and one middle bit
// when Log is odd): the reversal of (a, m, b) is (rev b, m, rev a). Visiting
// a < r, b = rev r pairs each point with its partner once, without a test.
void BitReversePermute(double* X, int64_t N, int Log) {
  if (N <= 2) return;
  const int Lo = Log / 2, Mid = Log % 2;
  const int64_t S = int64_t{1} << Lo;
  int64_t Rev[int64_t{1} << 11];  // Lo <= 11 for N <= 2^23
  Rev[0] = 0;
  for (int64_t I = 1; I < S; ++I) Rev[I] = (Rev[I >> 1] >> 1) | ((I & 1) << (Lo - 1));
  for (int64_t A = 0; A < S; ++A)
    for (int64_t R = A + 1; R < S; ++R)
      for (int64_t M = 0; M <= Mid; ++M) {
        double* P = X + 2 * ((A << (Lo + Mid)) | (M << Lo) | Rev[R]);
        double* Q = X + 2 * ((R << (Lo + Mid)) | (M << Lo) | Rev[A]);
        double T[2];
        std::memcpy(T, P, sizeof T);
        std::memcpy(P, Q, sizeof T);
        std::memcpy(Q, T, sizeof T);
      }
}

// x * w for complex numbers (Wi carries the sign of the transform),
// in the order of the plain radix-2 butterfly: re = wr xr - wi xi, im = wr xi + wi xr.
ORV_SIMD_INLINE void MulTwiddle(double Wr, double Wi, double Xr, double Xi, double& Tr, double& Ti) {
  Tr = Wr * Xr - Wi * Xi;
  Ti = Wr * Xi + Wi * Xr;
}

// One butterfly of span 2h on the points P and P + h (complex indices).
ORV_SIMD_INLINE void Butterfly(double* X, int64_t P, int64_t H, double Wr, double Wi) {
  double Tr, Ti;
  MulTwiddle(Wr, Wi, X[2 * (P + H)], X[2 * (P + H) + 1], Tr, Ti);
  X[2 * (P + H)] = X[2 * P] - Tr;
  X[2 * (P + H) + 1] = X[2 * P + 1] - Ti;
  X[2 * P] += Tr;
  X[2 * P + 1] += Ti;
}

// The vector passes hold P = 1 or 2 complex points per vector (two also
// under AVX-512: a pass of span 4 has pairs of two points), in generic
// vectors of 16 P bytes that fit the registers of each instruction set.
// Every lane does what Butterfly does to its number, so the results do not
// depend on P.
template <int P>
struct TPoints {
  using V = detail::TSimdVector<double, 16 * P>;

  // The vector helpers pass their results by reference: a V return value
  // would have a different ABI in the baseline (-Wpsabi); inlined, it makes
  // no difference.
  ORV_SIMD_INLINE static void Load(V& A, const double* Q) { std::memcpy(&A, Q, sizeof A); }
  ORV_SIMD_INLINE static void Store(double* Q, const V& A) { std::memcpy(Q, &A, sizeof A); }

  // P complex products at once, the same operations as MulTwiddle lane by
  // lane: (xr wr + xi (-wi), xi wr + xr wi), SignIm = (-Sign, Sign, ...).
  template <int... I>
  ORV_SIMD_INLINE static void MulTwiddle(const double* Tw, const V& A, const V& SignIm, V& T,
                                         std::integer_sequence<int, I...>) {
    V W;
    Load(W, Tw);
    const V Wr = __builtin_shufflevector(W, W, (I & ~1)...);
    const V Wi = __builtin_shufflevector(W, W, (I | 1)...) * SignIm;
    const V As = __builtin_shufflevector(A, A, (I ^ 1)...);
    T = A * Wr + As * Wi;
  }
  ORV_SIMD_INLINE static void MulTwiddle(const double* Tw, const V& A, const V& SignIm, V& T) {
    MulTwiddle(Tw, A, SignIm, T, std::make_integer_sequence<int, 2 * P>());
  }

  // The spans L and 2L (h = L/2 >= P) in one pass: each group of four points
  // goes through both butterflies of span L and then both of span 2L while
  // it is in registers. The operations are those of the two radix-2 passes.
  ORV_SIMD_INLINE static void Radix4Pass(double* X, const double* T, int64_t N, int64_t L, const V& SignIm) {
    const int64_t H = L / 2;
    const double* TL = T + 2 * (H - 1);
    const double* T2L = T + 2 * (L - 1);
    for (int64_t B = 0; B < N; B += 2 * L) {
      double* X0 = X + 2 * B;
      double* X1 = X0 + 2 * H;
      double* X2 = X0 + 2 * L;
      double* X3 = X2 + 2 * H;
      for (int64_t J = 0; J < H; J += P) {
        const int64_t O = 2 * J;
        V A0, A1, A2, A3, T1;
        Load(A0, X0 + O);
        Load(A1, X1 + O);
        Load(A2, X2 + O);
        Load(A3, X3 + O);
        MulTwiddle(TL + O, A1, SignIm, T1);
        A1 = A0 - T1;
        A0 = A0 + T1;
        MulTwiddle(TL + O, A3, SignIm, T1);
        A3 = A2 - T1;
        A2 = A2 + T1;
        MulTwiddle(T2L + O, A2, SignIm, T1);
        Store(X2 + O, A0 - T1);
        Store(X0 + O, A0 + T1);
        MulTwiddle(T2L + O + 2 * H, A3, SignIm, T1);
        Store(X3 + O, A1 - T1);
        Store(X1 + O, A1 + T1);
      }
    }
  }

  // The spans 2 and 4 in one pass with two points per vector, a group of
  // four points in two vectors: the butterflies of span 2 take (p0, p2)
  // against (p1, p3), those of span 4 (p0, p1) against (p2, p3), each with
  // the operations of Butterfly. (With one point per vector, Radix4Pass
  // with L = 2 does it.)
  ORV_SIMD_INLINE static void FirstRadix4Pass(double* X, const double* T, int64_t N, const V& SignIm) {
    static_assert(P == 2);
    const double W2[4] = {T[0], T[1], T[0], T[1]};
    for (int64_t B = 0; B < N; B += 4) {
      double* Q = X + 2 * B;
      V V0, V1, Tw;
      Load(V0, Q);
      Load(V1, Q + 4);
      const V U = __builtin_shufflevector(V0, V1, 0, 1, 4, 5);
      MulTwiddle(W2, __builtin_shufflevector(V0, V1, 2, 3, 6, 7), SignIm, Tw);
      const V Sum = U + Tw, Dif = U - Tw;  // (p0, p2) and (p1, p3) after span 2
      const V Top = __builtin_shufflevector(Sum, Dif, 0, 1, 4, 5);
      MulTwiddle(T + 2, __builtin_shufflevector(Sum, Dif, 2, 3, 6, 7), SignIm, Tw);
      Store(Q, Top + Tw);
      Store(Q + 4, Top - Tw);
    }
  }
};

template <int Bytes>
ORV_SIMD_INLINE void ButterfliesLanes(double* X, const double* T, int64_t N, int Log, double Sign) {
  constexpr int P = Bytes >= 32 ? 2 : 1;
  using Pt = TPoints<P>;
  int64_t L = 2;
  if (Log % 2 == 1) {  // span 2 alone, the rest in pairs
    for (int64_t B = 0; B < N; B += 2) Butterfly(X, B, 1, T[0], Sign * T[1]);
    L = 4;
  }
  typename Pt::V SignIm;
  for (int K = 0; K < 2 * P; K += 2) SignIm[K] = -Sign, SignIm[K + 1] = Sign;
  if constexpr (P == 2)
    if (L == 2 && N >= 4) {
      Pt::FirstRadix4Pass(X, T, N, SignIm);
      L = 8;
    }
  for (; 2 * L <= N; L *= 4) Pt::Radix4Pass(X, T, N, L, SignIm);
}
ORV_SIMD_BY_WIDTH(void, Butterflies, (double* X, const double* T, int64_t N, int Log, double Sign),
                  (X, T, N, Log, Sign))

// In place over N complex points (X[2k] real, X[2k + 1] imaginary), Sign
// +1 or -1: X_k = sum_n x_n e^(Sign 2 pi i n k / N), without scaling. The
// span twiddles of Sign -1 are the conjugates of those in T.
void FastFourierTransform(double* X, const double* T, int64_t N, double Sign) {
  if (N <= 1) return;
  const int Log = std::countr_zero(static_cast<uint64_t>(N));
  BitReversePermute(X, N, Log);
  Butterflies(X, T, N, Log, Sign);
}

// ---- windows ------------------------------------------------------------------------

// Weight of point k = 1..N: x = k - N/2, c_m = cos(2 pi m x / N).
double WindowWeight(TFastFourierWgtWin Win, int64_t K, int64_t N) {
  const double Nd = static_cast<double>(N);
  const double X = static_cast<double>(K) - Nd / 2;
  auto C = [&](int M) { return std::cos(2 * std::numbers::pi * M * X / Nd); };
  switch (Win) {
    case fwCos2: {
      const double Cx = std::cos(std::numbers::pi * X / Nd);
      return Cx * Cx;
    }
    case fwGauss: {
      const double A = 6 * X / Nd;
      return std::exp(-A * A / 2);
    }
    case fwHamming:
      return 0.543478261 + 0.456521739 * C(1);
    case fwBlackman:
      return 0.42659 + 0.49656 * C(1) + 0.076848 * C(2);
    case fwBlkmHarris:
      return 0.35875 + 0.48829 * C(1) + 0.14128 * C(2) + 0.01168 * C(3);
    case fwBlkmNuttall:
      return 0.3635819 + 0.4891775 * C(1) + 0.1365995 * C(2) + 0.0106411 * C(3);
    default:
      return 1.0;
  }
}

}  // namespace

TFastFourier::TFastFourier(TComponent* AOwner) : TComponent(AOwner) { Allocate(256, 1.0); }

TFastFourier::~TFastFourier() = default;

std::string TFastFourier::ClassName() const { return "TFastFourier"; }

void TFastFourier::Allocate(int32_t N, double UserWeight) {
  detail::GuardAlloc<EORVFourierError>(*this, detail::NoHeap, [&] {
    TDoubleArray Data(detail::Ix(2 * int64_t{N}), 0.0);
    TDoubleArray Wgt(detail::Ix(N), UserWeight);
    TDoubleArray Twiddle(detail::Ix(2 * (int64_t{N} - 1)));
    FillFftTwiddles(Twiddle.data(), N);
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

// ---- transforms ------------------------------------------------------------------------

void TFastFourier::Transform() {
  const int64_t N = FNumData;
  double* X = FData.data();
  auto Weigh = [X](int64_t K, double W) {  // point k, counted from 1
    X[2 * (K - 1)] *= W;
    X[2 * (K - 1) + 1] *= W;
  };
  switch (FWgtWin) {
    case fwRectangle:
      break;
    case fwTriangle:
      for (int64_t B = 1; B <= N / 2; ++B) {
        const double W = 2 * static_cast<double>(B) / static_cast<double>(N);
        Weigh(B, W);
        Weigh(N - B + 1, W);
      }
      break;
    case fwUserDef:
      for (int64_t K = 1; K <= N; ++K) Weigh(K, FUserWgt[detail::Ix1(K)]);
      break;
    default:
      for (int64_t K = 1; K <= N; ++K) Weigh(K, WindowWeight(FWgtWin, K, N));
      break;
  }
  FastFourierTransform(X, FTwiddle.data(), N, +1.0);
  Invalidate();
}

void TFastFourier::InverseTransform() {
  const int64_t N = FNumData;
  FastFourierTransform(FData.data(), FTwiddle.data(), N, -1.0);
  const double Nd = static_cast<double>(N);
  for (double& V : FData) V /= Nd;
  Invalidate();
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
