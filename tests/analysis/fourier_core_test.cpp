// TFastFourier: the lines against NumPy and a direct DFT, the windows against
// SciPy, the derived spectra, extremes and lines from their definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "orvcalckit/ORV_fourier.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {
namespace {

void Fill(TFastFourier& F, const std::vector<std::complex<double>>& X) {
  F.SetSpectrumSize(static_cast<int32_t>(X.size()));
  for (int32_t K = 1; K <= F.SpectrumSize(); ++K) {
    F.SetRealSpec(K, X[detail::Ix1(K)].real());
    F.SetImagSpec(K, X[detail::Ix1(K)].imag());
  }
}

TEST(FastFourier, LinesAgainstNumPyAndDirectDft) {
  // numpy.fft.ifft(x) * 8 (the sign +1), NumPy 1.24.
  const std::vector<std::complex<double>> X = {{1.5, 0.5}, {-0.25, 1.0}, {3.0, -1.5}, {0.5, 0.0},
                                               {-2.0, 2.25}, {0.75, -0.5}, {0.0, 0.25}, {1.25, -1.0}};
  const std::complex<double> Want[] = {{4.75, 1.0},
                                       {3.305456351736994, 0.36611652351681545},
                                       {-5.0, 2.75},
                                       {0.15900974233026766, -6.340990257669732},
                                       {0.25, 2.0},
                                       {7.194543648263005, 2.1338834764831844},
                                       {-2.0, 5.25},
                                       {3.3409902576697323, -3.159009742330268}};
  TFastFourier F;
  Fill(F, X);
  F.Transform();
  for (int32_t K = 0; K < 8; ++K) {
    EXPECT_NEAR(F.RealSpec(K + 1), Want[K].real(), 1e-14) << "line " << K;
    EXPECT_NEAR(F.ImagSpec(K + 1), Want[K].imag(), 1e-14) << "line " << K;
  }

  // N = 4096: within 1e-14 of the largest line of a direct DFT in long
  // double, and back again.
  constexpr int32_t N = 4096;
  std::vector<std::complex<double>> Y(N);
  for (int32_t K = 0; K < N; ++K) Y[detail::Ix(K)] = {std::sin(K * 0.37) + 0.25 * (K % 7), std::cos(K * K * 1e-4)};
  Fill(F, Y);
  F.Transform();
  std::vector<std::complex<long double>> E(N);
  const long double Pi = 3.141592653589793238462643383279502884L;
  for (int32_t M = 0; M < N; ++M) E[detail::Ix(M)] = std::polar(1.0L, 2 * Pi * M / N);
  double Worst = 0, Largest = 0;
  for (int64_t K = 0; K < N; ++K) {
    std::complex<long double> S = 0;
    for (int64_t M = 0; M < N; ++M) S += std::complex<long double>(Y[detail::Ix(M)]) * E[detail::Ix(M * K % N)];
    const std::complex<double> Line(F.RealSpec(static_cast<int32_t>(K + 1)), F.ImagSpec(static_cast<int32_t>(K + 1)));
    Worst = std::max(Worst, std::abs(Line - std::complex<double>(S)));
    Largest = std::max(Largest, static_cast<double>(std::abs(S)));
  }
  EXPECT_LT(Worst, 1e-14 * Largest);
  F.InverseTransform();
  for (int32_t K = 0; K < N; K += 97) {
    EXPECT_NEAR(F.RealSpec(K + 1), Y[detail::Ix(K)].real(), 1e-14) << K;
    EXPECT_NEAR(F.ImagSpec(K + 1), Y[detail::Ix(K)].imag(), 1e-14) << K;
  }

  // The smallest sizes: one point stays, two points give sum and difference.
  Fill(F, {{3, -1}});
  F.Transform();
  EXPECT_EQ(F.RealSpec(1), 3.0);
  Fill(F, {{3, -1}, {1, 2}});
  F.Transform();
  EXPECT_EQ(std::complex<double>(F.RealSpec(1), F.ImagSpec(1)), std::complex<double>(4, 1));
  EXPECT_EQ(std::complex<double>(F.RealSpec(2), F.ImagSpec(2)), std::complex<double>(2, -3));
}

// The radix-2 transform as written: bit reversal, then the spans 2, 4, ...,
// N, each with the butterfly x_q = x_p - w x_q, x_p = x_p + w x_q (re = wr xr -
// wi xi, im = wr xi + wi xr) and its twiddles from the recurrence of Press et
// al. (w = 1, then w += w (cos theta - 1) + i w sin theta), Sign the sign
// of the exponent.
std::vector<std::complex<double>> PlainRadix2(std::vector<std::complex<double>> X, double Sign) {
  const auto N = static_cast<int64_t>(X.size());
  for (int64_t I = 1, J = 0; I < N; ++I) {
    int64_t Bit = N >> 1;
    for (; J & Bit; Bit >>= 1) J ^= Bit;
    J |= Bit;
    if (I < J) std::swap(X[detail::Ix(I)], X[detail::Ix(J)]);
  }
  for (int64_t L = 2; L <= N; L *= 2) {
    const double Theta = 2 * std::numbers::pi / static_cast<double>(L);
    const double S = std::sin(0.5 * Theta), Wpr = -2.0 * S * S, Wpi = std::sin(Theta);
    double Wr = 1.0, Wi = 0.0;
    for (int64_t J = 0; J < L / 2; ++J) {
      for (int64_t B = J; B < N; B += L) {
        const std::complex<double> P = X[detail::Ix(B)], Q = X[detail::Ix(B + L / 2)];
        const double Tr = Wr * Q.real() - Sign * Wi * Q.imag(), Ti = Wr * Q.imag() + Sign * Wi * Q.real();
        X[detail::Ix(B + L / 2)] = {P.real() - Tr, P.imag() - Ti};
        X[detail::Ix(B)] = {P.real() + Tr, P.imag() + Ti};
      }
      const double Tr = Wr;
      Wr = Wr + (Wr * Wpr - Wi * Wpi);
      Wi = Wi + (Tr * Wpi + Wi * Wpr);
    }
  }
  return X;
}

TEST(FastFourier, TransformHasTheBitsOfThePlainRadix2Loop) {
  // The transform takes two spans per pass in vectors of one or two points
  // (per instruction set): the bits must be those of the loop as written,
  // both ways, for an odd and an even number of spans.
  for (const int32_t N : {4, 8, 32, 256, 2048}) {
    std::vector<std::complex<double>> X(static_cast<size_t>(N));
    for (int32_t K = 0; K < N; ++K) X[detail::Ix(K)] = {std::sin(K * 0.37) * (K % 9 + 1), std::cos(K * 1.3) - 0.5};
    TFastFourier F;
    Fill(F, X);
    F.Transform();
    const auto Want = PlainRadix2(X, 1.0);
    for (int32_t K = 0; K < N; ++K)
      ASSERT_EQ(std::complex<double>(F.RealSpec(K + 1), F.ImagSpec(K + 1)), Want[detail::Ix(K)]) << N << ", " << K;
    Fill(F, X);
    F.InverseTransform();
    const auto Back = PlainRadix2(X, -1.0);
    for (int32_t K = 0; K < N; ++K)
      ASSERT_EQ(std::complex<double>(F.RealSpec(K + 1), F.ImagSpec(K + 1)), Back[detail::Ix(K)] / double(N)) << K;
  }
}

// Each window read back by transforming a constant 1 and inverting: point k
// carries the weight of SciPy's periodic window (sym=False) at k mod N. Those
// are symmetric about N/2, so the first five of the eight values say all.
TEST(FastFourier, WindowsAgainstSciPy) {
  const struct {
    TFastFourierWgtWin Win;
    double Tol;
    double Want[5];
  } Rows[] = {
      // scipy.signal.windows (SciPy 1.10), each (8, ..., sym=False)[:5]: hann, gaussian(8, 8/6),
      // blackmanharris, nuttall, general_hamming(8, 25/46), general_cosine(8, [7938, 9240, 1430] / 18608).
      {fwCos2, 1e-15, {0.0, 0.14644660940672627, 0.5, 0.8535533905932738, 1.0}},
      {fwGauss, 1e-15, {0.011108996538242308, 0.07955950871822769, 0.32465246735834974, 0.7548396019890073, 1.0}},
      {fwBlkmHarris, 1e-15,
       {6.0000000000001025e-05, 0.021735837018679628, 0.21747000000000008, 0.6957641629813205, 1.0}},
      {fwBlkmNuttall, 1e-15,
       {0.0003628000000000381, 0.025205566515401824, 0.22698240000000006, 0.7019582334845982, 1.0}},
      {fwHamming, 1e-9, {0.08695652173913038, 0.22066864337135872, 0.5434782608695652, 0.8662878783677718, 1.0}},
      // The rounded Blackman constants differ from the exact ones by 2.0e-6 together.
      {fwBlackman, 2e-6, {0.006878761822871851, 0.07546933264382526, 0.34974204643164236, 0.7777120946992531, 1.0}},
  };
  for (const auto& R : Rows) {
    TFastFourier F;
    Fill(F, std::vector<std::complex<double>>(8, {1.0, 1.0}));
    F.SetWeightingWindow(R.Win);
    EXPECT_EQ(F.WeightingWindow(), R.Win);
    F.Transform();
    F.InverseTransform();
    for (int32_t K = 1; K <= 8; ++K) {
      const double W = R.Want[std::min(K % 8, 8 - K % 8)];
      EXPECT_NEAR(F.RealSpec(K), W, R.Tol + 1e-15) << "window " << int{R.Win} << ", point " << K;
      EXPECT_NEAR(F.ImagSpec(K), W, R.Tol + 1e-15) << "window " << int{R.Win} << ", point " << K;
    }
  }

  // The triangle by point (points b and N - b + 1 get 2b / N); a second
  // Transform windows again.
  TFastFourier F;
  Fill(F, std::vector<std::complex<double>>(8, {1.0, 0.0}));
  F.SetWeightingWindow(fwTriangle);
  F.Transform();
  F.InverseTransform();
  const double Triangle[] = {0.25, 0.5, 0.75, 1.0, 1.0, 0.75, 0.5, 0.25};
  for (int32_t K = 1; K <= 8; ++K) EXPECT_NEAR(F.RealSpec(K), Triangle[K - 1], 1e-15) << K;
  F.Transform();
  F.InverseTransform();
  EXPECT_NEAR(F.RealSpec(1), 0.0625, 1e-15);
  F.SetWeightingWindow(static_cast<TFastFourierWgtWin>(9));  // ignored
  EXPECT_EQ(F.WeightingWindow(), fwTriangle);

  // User weights: 1 after construction (a unit impulse gives lines of 1), 0
  // after SetSpectrumSize.
  TFastFourier U;
  U.SetWeightingWindow(fwUserDef);
  U.SetRealSpec(1, 1.0);
  U.Transform();
  EXPECT_EQ(U.RealSpec(256), 1.0);
  Fill(U, std::vector<std::complex<double>>(8, {1.0, 0.0}));
  U.Transform();
  EXPECT_EQ(U.PowerSpec(0), 0.0);
}

// x_n = 3 + 2 cos(2 pi 2n/16) + 0.5 sin(2 pi 3n/16) + cos(2 pi 5n/16 + 3 pi/4) + 1.5 cos(pi n):
// with the sign +1 the lines are 48 (0), 16 (2 and 14), 4i (3), -4i (13),
// 8 e^(-3 pi i/4) (5), its conjugate (11) and 24 (8).
TEST(FastFourier, DerivedSpectraOfKnownCosines) {
  std::vector<std::complex<double>> X(16);
  for (int N = 0; N < 16; ++N) {
    const double A = 2 * std::numbers::pi * N / 16;
    X[detail::Ix(N)] = 3 + 2 * std::cos(2 * A) + 0.5 * std::sin(3 * A) + std::cos(5 * A + 0.75 * std::numbers::pi) +
                       1.5 * std::cos(std::numbers::pi * N);
  }
  TFastFourier F;
  Fill(F, X);
  F.Transform();
  const struct {
    int32_t Line;
    double Power, Magnitude, Cos, Sin;
  } Rows[] = {
      {0, 144, 3, 3, 0},       // PowerSpec 48^2/16; FourSerSinCoeff has no line 0
      {2, 32, 2, 2, 0},        // (16^2 + 16^2)/16
      {3, 2, 0.5, 0, 0.5},     // sine amplitude 0.5
      {5, 8, 1, -std::numbers::sqrt2 / 2, -std::numbers::sqrt2 / 2},
      {8, 72, 3, 3, 0},        // the Nyquist line counted twice: amplitude 1.5 read as 3
      {1, 0, 0, 0, 0},         // no signal
      {9, 0, 0, 0, 0},         // beyond N/2
      {-1, 0, 0, 0, 0},
  };
  for (const auto& R : Rows) {
    EXPECT_NEAR(F.PowerSpec(R.Line), R.Power, 1e-13) << R.Line;
    EXPECT_NEAR(F.Magnitude(R.Line), R.Magnitude, 1e-14) << R.Line;
    EXPECT_NEAR(F.FourSerCosCoeff(R.Line), R.Cos, 1e-14) << R.Line;
    EXPECT_NEAR(F.FourSerSinCoeff(R.Line), R.Sin, 1e-14) << R.Line;
  }
  // Phase without the quadrant: the line of 5 has the angle -3 pi/4, read as pi/4.
  EXPECT_NEAR(F.Phase(5), std::numbers::pi / 4, 1e-14);
  EXPECT_NEAR(F.Phase(2), 0.0, 1e-15);
  EXPECT_EQ(F.Phase(0), 0.0);
  // PowerMax leaves the Nyquist line out (72), MagniMax takes it (3).
  EXPECT_NEAR(F.PowerMax(), 32, 1e-13);
  EXPECT_NEAR(F.MagniMax(), 3, 1e-14);
  // RMS over 0..8: sqrt(2304 + 512 + 32 + 128 + 1152) / 16, the Nyquist line twice.
  EXPECT_NEAR(F.RMS(0, 8), std::sqrt(4128.0) / 16, 1e-14);
  EXPECT_NEAR(F.RMS(100, -5), std::sqrt(4128.0) / 16, 1e-14);
  EXPECT_NEAR(F.RMS(8, 2), std::sqrt(1824.0) / 16, 1e-14);
  EXPECT_NEAR(F.RMS(3, 3), std::sqrt(32.0) / 16, 1e-14);
}

TEST(FastFourier, ExtremesFollowEveryChange) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  TFastFourier F;
  Fill(F, {{1, -2}, {-3, 4}, {NaN, 0.5}, {2, -1}});
  EXPECT_EQ(F.RealMax(), 2.0);  // NaN never counts
  EXPECT_EQ(F.RealMin(), -3.0);
  EXPECT_EQ(F.ImagMax(), 4.0);
  EXPECT_EQ(F.ImagMin(), -2.0);
  F.SetRealSpec(1, 10);
  EXPECT_EQ(F.RealMax(), 10.0);
  F.ClearImag();
  EXPECT_EQ(F.ImagMax(), 0.0);
  F.ClearReal();
  EXPECT_EQ(F.RealMin(), 0.0);
  for (int32_t K = 1; K <= 4; ++K) F.SetRealSpec(K, NaN);
  EXPECT_EQ(F.RealMax(), -uc_MaxDouble);  // all NaN: the starting values stay
  EXPECT_EQ(F.RealMin(), uc_MaxDouble);
  F.Clear();
  EXPECT_EQ(F.RealMin(), 0.0);
  // After a transform: a constant 1 gives line 0 = 4, the rest 0.
  Fill(F, {{1, 0}, {1, 0}, {1, 0}, {1, 0}});
  EXPECT_EQ(F.RealMax(), 1.0);
  F.Transform();
  EXPECT_EQ(F.RealMax(), 4.0);
  EXPECT_EQ(F.PowerMax(), 0.0);
  // Outside the points: 0, writes ignored.
  F.SetRealSpec(0, 5);
  F.SetImagSpec(5, 5);
  F.SetWgtFunction(5, 5);
  EXPECT_EQ(F.RealSpec(0) + F.ImagSpec(5) + F.WgtFunction(5), 0.0);
  EXPECT_EQ(F.RealMax(), 4.0);
}

TEST(FastFourier, LinesAndFrequencies) {
  TFastFourier F;
  F.SetSpectrumSize(16);
  const struct {
    int32_t Line;
    double SampleTime, Freq;
  } Freqs[] = {{1, 0.001, 62.5}, {8, 0.5, 1.0}, {0, 0.5, 0.0}, {9, 0.5, 0.0}, {-1, 0.5, 0.0}};
  for (const auto& R : Freqs) EXPECT_DOUBLE_EQ(F.FreqOfLine(R.Line, R.SampleTime), R.Freq) << R.Line;
  const struct {
    double Freq, SampleTime;
    int32_t Line;
  } Lines[] = {
      {62.5, 0.001, 1}, {2.5, 0.0625, 2},  // 16 * 2.5 * 0.0625 = 2.5: half to even
      {3.5, 0.0625, 4}, {0.4, 0.0625, 0},  {8.4, 0.0625, 8}, {8.6, 0.0625, 0},
      {-1, 0.0625, 0},  {std::numeric_limits<double>::quiet_NaN(), 1, 0}, {1e300, 1e300, 0},
  };
  for (const auto& R : Lines) EXPECT_EQ(F.LineOfFreq(R.Freq, R.SampleTime), R.Line) << R.Freq;
}

}  // namespace
}  // namespace orv
