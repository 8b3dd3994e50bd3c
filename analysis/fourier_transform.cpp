// TFastFourier: the weighting windows and the transform.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>

#include "analysis/fourier_fft.h"
#include "core/simd.h"
#include "orvcalckit/ORV_fourier.h"

namespace orv {

namespace detail {

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

namespace {

// Reverses the order of the Log low bits of I.
inline int64_t BitReverse(int64_t I, int Log) {
  uint64_t R = 0;
  auto U = static_cast<uint64_t>(I);
  for (int B = 0; B < Log; ++B, U >>= 1) R = (R << 1) | (U & 1);
  return static_cast<int64_t>(R);
}

void BitReversePermute(double* X, int64_t N, int Log) {
  if (N <= 2) return;
  // Sweeps the upper half of the reversed indices with a table of the
  // reversals of the lower bits, so each index costs a lookup, not a loop.
  const int Lo = Log / 2;
  const int Hi = Log - Lo;
  int64_t LoRev[1 << 12];
  for (int64_t I = 0; I < (int64_t{1} << Lo); ++I) LoRev[I] = BitReverse(I, Lo);
  for (int64_t A = 0; A < (int64_t{1} << Hi); ++A) {
    const int64_t RevA = BitReverse(A, Hi);  // the low Hi bits of the reversal
    for (int64_t B = 0; B < (int64_t{1} << Lo); ++B) {
      const int64_t I = (A << Lo) | B;
      const int64_t J = (LoRev[B] << Hi) | RevA;
      if (I < J) {
        std::swap(X[2 * I], X[2 * J]);
        std::swap(X[2 * I + 1], X[2 * J + 1]);
      }
    }
  }
}

// x * w for complex numbers, w's imaginary part multiplied by Sign (exact),
// in the order of the plain radix-2 butterfly: re = wr xr - wi xi, im = wr xi + wi xr.
inline void MulTwiddle(double Wr, double Wi, double Xr, double Xi, double& Tr, double& Ti) {
  Tr = Wr * Xr - Wi * Xi;
  Ti = Wr * Xi + Wi * Xr;
}

// One butterfly of span 2h on the points P and P + h (complex indices).
inline void Butterfly(double* X, int64_t P, int64_t H, double Wr, double Wi) {
  double Tr, Ti;
  MulTwiddle(Wr, Wi, X[2 * (P + H)], X[2 * (P + H) + 1], Tr, Ti);
  X[2 * (P + H)] = X[2 * P] - Tr;
  X[2 * (P + H) + 1] = X[2 * P + 1] - Ti;
  X[2 * P] += Tr;
  X[2 * P + 1] += Ti;
}

using V4 = double __attribute__((vector_size(32)));  // two complex points

// The vector helpers pass their results by reference: a V4 return value
// would have a different ABI in the baseline clone (-Wpsabi); inlined, it
// makes no difference.
inline void Load(V4& V, const double* P) { std::memcpy(&V, P, sizeof V); }
inline void Store(double* P, const V4& V) { std::memcpy(P, &V, sizeof V); }

// Two complex products at once, the same operations as MulTwiddle lane by
// lane: (xr wr + xi (-wi), xi wr + xr wi), SignIm = (-Sign, Sign, -Sign, Sign).
inline void MulTwiddle(const double* Tw, const V4& A, const V4& SignIm, V4& T) {
  V4 W;
  Load(W, Tw);
  const V4 Wr = __builtin_shufflevector(W, W, 0, 0, 2, 2);
  const V4 Wi = __builtin_shufflevector(W, W, 1, 1, 3, 3) * SignIm;
  const V4 As = __builtin_shufflevector(A, A, 1, 0, 3, 2);
  T = A * Wr + As * Wi;
}

// The spans L and 2L (h = L/2 >= 2) in one pass: each group of four points
// goes through both butterflies of span L and then both of span 2L while it
// is in registers. The operations are those of the two radix-2 passes.
void Radix4Pass(double* X, const double* T, int64_t N, int64_t L, const V4& SignIm) {
  const int64_t H = L / 2;
  const double* TL = T + 2 * (H - 1);
  const double* T2L = T + 2 * (L - 1);
  for (int64_t B = 0; B < N; B += 2 * L) {
    double* X0 = X + 2 * B;
    double* X1 = X0 + 2 * H;
    double* X2 = X0 + 2 * L;
    double* X3 = X2 + 2 * H;
    for (int64_t J = 0; J < H; J += 2) {
      const int64_t O = 2 * J;
      V4 A0, A1, A2, A3, T1;
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

// The spans 2 and 4 in one pass, point by point.
void FirstRadix4Pass(double* X, const double* T, int64_t N, double Sign) {
  const double W2r = T[0], W2i = Sign * T[1];
  const double W40r = T[2], W40i = Sign * T[3], W41r = T[4], W41i = Sign * T[5];
  for (int64_t B = 0; B < N; B += 4) {
    Butterfly(X, B, 1, W2r, W2i);
    Butterfly(X, B + 2, 1, W2r, W2i);
    Butterfly(X, B, 2, W40r, W40i);
    Butterfly(X, B + 1, 2, W41r, W41i);
  }
}

ORV_SIMD_KERNEL void Butterflies(double* X, const double* T, int64_t N, int Log, double Sign) {
  int64_t L = 2;
  if (Log % 2 == 1) {  // span 2 alone, the rest in pairs
    for (int64_t B = 0; B < N; B += 2) Butterfly(X, B, 1, T[0], Sign * T[1]);
    L = 4;
  } else if (N >= 4) {
    FirstRadix4Pass(X, T, N, Sign);
    L = 8;
  }
  const V4 SignIm = {-Sign, Sign, -Sign, Sign};
  for (; 2 * L <= N; L *= 4) Radix4Pass(X, T, N, L, SignIm);
}

}  // namespace

void FastFourierTransform(double* X, const double* T, int64_t N, double Sign) {
  if (N <= 1) return;
  const int Log = std::countr_zero(static_cast<uint64_t>(N));
  BitReversePermute(X, N, Log);
  Butterflies(X, T, N, Log, Sign);
}

}  // namespace detail

// ---- windows ------------------------------------------------------------------------

namespace {

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
  detail::FastFourierTransform(X, FTwiddle.data(), N, +1.0);
  Invalidate();
}

void TFastFourier::InverseTransform() {
  const int64_t N = FNumData;
  detail::FastFourierTransform(FData.data(), FTwiddle.data(), N, -1.0);
  const double Nd = static_cast<double>(N);
  for (double& V : FData) V /= Nd;
  Invalidate();
}

}  // namespace orv
