// TWavelet1D: stages against PyWavelets and closed forms, reconstruction
// under wrap, the inverse stage as the transpose under the other extensions,
// settings and their errors.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "orvcalckit/ORV_wavelet.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::ExpectRaises;

void Fill(TWavelet1D& W, const std::vector<double>& X) {
  W.SetSize(static_cast<int32_t>(X.size()));
  for (int32_t I = 1; I <= W.Size(); ++I) W.SetData(I, X[detail::Ix1(I)]);
}

std::vector<double> Values(const TWavelet1D& W) {
  std::vector<double> V;
  for (int32_t I = 1; I <= W.Size(); ++I) V.push_back(W.Data(I));
  return V;
}

// Deterministic values in [-1, 1).
std::vector<double> Signal(int32_t N, uint32_t Seed) {
  std::vector<double> X;
  for (int32_t I = 0; I < N; ++I) {
    Seed = Seed * 1664525u + 1013904223u;
    X.push_back(static_cast<double>(Seed >> 8) / 8388608.0 - 1.0);
  }
  return X;
}

TEST(Wavelet1D, StagesAgainstPyWaveletsAndClosedForms) {
  // One wrap stage of order K equals
  // pywt.dwt(numpy.roll(x, K - 1), 'dbK', mode='periodization') (PyWavelets 1.1.1).
  const std::vector<double> X = {0.5, -1.25, 2.0, 3.5, -0.75, 1.0, 0.25, -2.5};
  const struct {
    int32_t Order;
    double Want[8];
  } Rows[] = {
      {1, {-0.5303300858899107, 3.8890872965260117, 0.17677669529663687, -1.590990257669732, 1.2374368670764582,
           -1.0606601717798212, -1.2374368670764584, 1.9445436482630059}},
      {2, {-1.6967161938483044, -0.8088095159453775, 3.596215465788626, 0.8538538922680616, 1.5499690827667902,
           0.198137485246633, -2.153672724197458, 1.2894496326672193}},
      {3, {0.9231320183556395, -1.5829491351322167, -0.29575542866550286, 2.900116193705086, 1.9942465011045591,
           0.7519808392062436, -2.9066209287783105, 1.0442770649506916}},
  };
  TWavelet1D W;
  for (const auto& R : Rows) {
    W.SetOrder(R.Order);
    Fill(W, X);
    W.SingleStep(false);
    for (int32_t I = 1; I <= 8; ++I) EXPECT_NEAR(W.Data(I), R.Want[I - 1], 1e-15) << "order " << R.Order << ", " << I;
  }

  // The edge under the other extensions, order 2 on (1, 2, 3, 4): the first
  // coefficients read x[-2], x[-1] as x[1], x[0] (symmetric) or leave them out
  // (zero pad). By hand from h = (1 + r3, 3 + r3, 3 - r3, 1 - r3) / (4 r2).
  const double R3 = std::sqrt(3.0), Q = 4 * std::numbers::sqrt2;
  const struct {
    TWLSigExtMode Mode;
    double A0, D0;
  } Edges[] = {{wseSymmetric, 10 / Q, -2 * R3 / Q}, {wseZeroPad, (5 - 3 * R3) / Q, (1 - R3) / Q}};
  W.SetOrder(2);
  for (const auto& E : Edges) {
    W.SetSignalExtMode(E.Mode);
    Fill(W, {1, 2, 3, 4});
    W.SingleStep(false);
    EXPECT_NEAR(W.Data(1), E.A0, 1e-15) << int{E.Mode};
    EXPECT_NEAR(W.Data(3), E.D0, 1e-15) << int{E.Mode};
  }
  W.SetSignalExtMode(wseWrap);

  // Haar on (1, 3): (4, -2) / sqrt 2, and back.
  W.SetOrder(1);
  Fill(W, {1, 3});
  W.Transform(1);
  EXPECT_NEAR(W.Data(1), 2 * std::numbers::sqrt2, 1e-15);
  EXPECT_NEAR(W.Data(2), -std::numbers::sqrt2, 1e-15);
  W.InverseTransform(1);
  EXPECT_NEAR(W.Data(1), 1.0, 1e-15);
  EXPECT_NEAR(W.Data(2), 3.0, 1e-15);

  // A constant under wrap: details 0, approximations the constant times sqrt 2
  // per stage; order 3 over four values wraps further than one period.
  for (int32_t Order : {2, 3}) {
    W.SetOrder(Order);
    Fill(W, std::vector<double>(4, 2.5));
    W.Transform(0);  // counts as 1
    for (int32_t I = 1; I <= 2; ++I) EXPECT_NEAR(W.Data(I), 2.5 * std::numbers::sqrt2, 1e-14) << Order;
    for (int32_t I = 3; I <= 4; ++I) EXPECT_NEAR(W.Data(I), 0.0, 1e-15) << Order;
    Fill(W, std::vector<double>(4, 2.5));
    W.Transform(5);  // stops after L = 2
    EXPECT_NEAR(W.Data(1), 5.0, 1e-14) << Order;
    for (int32_t I = 2; I <= 4; ++I) EXPECT_NEAR(W.Data(I), 0.0, 1e-14) << Order;
  }
}

TEST(Wavelet1D, WrapDecompositionKeepsEnergyAndRestoresSignal) {
  TWavelet1D W;
  for (int32_t Order = 1; Order <= 3; ++Order)
    for (int32_t N : {2, 8, 64}) {
      const std::vector<double> X = Signal(N, 7u + static_cast<uint32_t>(N));
      W.SetOrder(Order);
      Fill(W, X);
      const int32_t Levels = std::countr_zero(static_cast<uint32_t>(N));
      W.Transform(Levels);
      double Before = 0, After = 0;
      for (int32_t I = 0; I < N; ++I) {
        Before += X[detail::Ix(I)] * X[detail::Ix(I)];
        After += W.Data(I + 1) * W.Data(I + 1);
      }
      EXPECT_NEAR(After, Before, 1e-13 * Before) << "order " << Order << ", N " << N;
      W.InverseTransform(Levels);
      for (int32_t I = 1; I <= N; ++I)
        EXPECT_NEAR(W.Data(I), X[detail::Ix1(I)], 1e-14) << "order " << Order << ", N " << N << ", " << I;
    }
}

// Under zero padding and symmetric extension the inverse stage is the
// transpose of the forward stage: <F x, y> = <x, I y>.
TEST(Wavelet1D, InverseStageIsTransposeUnderEveryExtension) {
  TWavelet1D W;
  for (TWLSigExtMode Mode : {wseWrap, wseZeroPad, wseSymmetric})
    for (int32_t Order = 1; Order <= 3; ++Order)
      for (int32_t N : {2, 4, 32}) {
        const std::vector<double> X = Signal(N, 11u), Y = Signal(N, 23u);
        W.SetOrder(Order);
        W.SetSignalExtMode(Mode);
        Fill(W, X);
        W.SingleStep(false);
        const std::vector<double> FX = Values(W);
        Fill(W, Y);
        W.SingleStep(true);
        const std::vector<double> IY = Values(W);
        double A = 0, B = 0;
        for (int32_t I = 0; I < N; ++I) {
          A += FX[detail::Ix(I)] * Y[detail::Ix(I)];
          B += X[detail::Ix(I)] * IY[detail::Ix(I)];
        }
        EXPECT_NEAR(A, B, 1e-14 * N) << "mode " << int{Mode} << ", order " << Order << ", N " << N;
      }
  W.SetSignalExtMode(static_cast<TWLSigExtMode>(3));
  EXPECT_EQ(W.SignalExtMode(), wseSymmetric);
}

TEST(Wavelet1D, SettingsAndErrors) {
  TWavelet1D W;
  EXPECT_EQ(W.Size(), 256);
  EXPECT_EQ(W.Order(), 2);
  EXPECT_EQ(W.SignalExtMode(), wseWrap);
  EXPECT_EQ(W.WaveletFamily(), wlfDaubechies);
  W.SetName("W1");
  for (int32_t Order : {0, 4, -1, INT32_MIN}) {
    ExpectRaises<EORVWaveletError>([&] { W.SetOrder(Order); },
                                   "Component \"W1\": invalid order of Daubechies wavelet family");
    EXPECT_EQ(W.Order(), 2);
  }
  // One value: no transform touches it; outside 1..N reads 0, writes are ignored.
  Fill(W, {4.0});
  W.Transform(3);
  W.InverseTransform(3);
  W.SingleStep(false);
  W.SingleStep(true);
  EXPECT_EQ(W.Data(1), 4.0);
  W.SetData(2, 1.0);
  W.SetData(0, 1.0);
  EXPECT_EQ(W.Data(2), 0.0);
  EXPECT_EQ(W.Data(0), 0.0);
  W.Clear();
  EXPECT_EQ(W.Data(1), 0.0);
}

}  // namespace
}  // namespace orv
