// TWavelet1D: life cycle, settings and the Daubechies stages.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "analysis/transform_size.h"
#include "orvcalckit/ORV_wavelet.h"

namespace orv {

namespace {

// The tables hold the printed decimals in the precision of Extended.
#if ORV_HAS_EXTENDED
#define ORV_EXTENDED_LITERAL(X) X##L
#else
#define ORV_EXTENDED_LITERAL(X) X
#endif

// Orthonormal Daubechies scaling filters (sum sqrt 2) of orders 1, 2 and 3.
constexpr Extended Daub1[2] = {ORV_EXTENDED_LITERAL(0.7071067811865476), ORV_EXTENDED_LITERAL(0.7071067811865476)};
constexpr Extended Daub2[4] = {ORV_EXTENDED_LITERAL(0.48296291314453416), ORV_EXTENDED_LITERAL(0.8365163037378079),
                               ORV_EXTENDED_LITERAL(0.2241438680420134), ORV_EXTENDED_LITERAL(-0.12940952255126037)};
constexpr Extended Daub3[6] = {ORV_EXTENDED_LITERAL(0.33267055295008263), ORV_EXTENDED_LITERAL(0.8068915093110925),
                               ORV_EXTENDED_LITERAL(0.45987750211849154), ORV_EXTENDED_LITERAL(-0.13501102001025458),
                               ORV_EXTENDED_LITERAL(-0.08544127388202666), ORV_EXTENDED_LITERAL(0.03522629188570953)};

#undef ORV_EXTENDED_LITERAL

// Where a stage over L values reads the index T < 0, or -1 when the term is
// left out. The remainder of the wrap is the mathematical one (C++'s % of a
// negative T is negative).
int64_t ExtendIndex(int64_t T, int64_t L, TWLSigExtMode Mode) {
  switch (Mode) {
    case wseZeroPad:
      return -1;
    case wseSymmetric:
      return (-T - 1) % L;
    default:
      return (T % L + L) % L;
  }
}

// The stage's terms in the order of the plain loops over l and j: every sum
// starts at 0 and takes its terms one by one, so the bits do not depend on
// which of the paths below computes a value.
struct TStage {
  const Extended* X;
  Extended* W;
  const Extended* Hf;
  const Extended* Gf;
  int64_t L, H, K;
  TWLSigExtMode Mode;

  // The first l whose taps all lie at t >= 0.
  int64_t Inner() const { return std::min(K - 1, H); }

  void ForwardEdge() const {
    for (int64_t Li = 0; Li < Inner(); ++Li) {
      Extended A = 0, D = 0;
      for (int64_t J = 0; J < 2 * K; ++J) {
        int64_t T = 2 * Li + 2 - 2 * K + J;
        if (T < 0) T = ExtendIndex(T, L, Mode);
        if (T < 0) continue;
        A += Hf[J] * X[T];
        D += Gf[J] * X[T];
      }
      W[Li] = A;
      W[H + Li] = D;
    }
  }

  template <int Ko>
  void ForwardInner() const {
    for (int64_t Li = Inner(); Li < H; ++Li) {
      const Extended* Xt = X + 2 * Li + 2 - 2 * Ko;
      Extended A = 0, D = 0;
      for (int J = 0; J < 2 * Ko; ++J) {
        A += Hf[J] * Xt[J];
        D += Gf[J] * Xt[J];
      }
      W[Li] = A;
      W[H + Li] = D;
    }
  }

  // The edge coefficients l < Inner() scatter into their (extended) indices
  // first; they come first in the plain loop's order, too.
  void InverseEdge() const {
    for (int64_t Li = 0; Li < Inner(); ++Li)
      for (int64_t J = 0; J < 2 * K; ++J) {
        int64_t T = 2 * Li + 2 - 2 * K + J;
        if (T < 0) T = ExtendIndex(T, L, Mode);
        if (T < 0) continue;
        W[T] += Hf[J] * X[Li];
        W[T] += Gf[J] * X[H + Li];
      }
  }

  // Value m then gathers the terms of l = q .. q + K - 1 (q = m / 2, tap
  // j = m + 2K - 2 - 2l) from l >= Inner(), in ascending l.
  void InverseGather(int64_t M) const {
    const int64_t Q = M / 2;
    Extended S = W[M];
    for (int64_t Li = std::max(Q, Inner()); Li <= std::min(Q + K - 1, H - 1); ++Li) {
      const int64_t J = M + 2 * K - 2 - 2 * Li;
      S += Hf[J] * X[Li];
      S += Gf[J] * X[H + Li];
    }
    W[M] = S;
  }

  template <int Ko>
  void InverseInner() const {
    // q from Inner() to H - Ko has all K terms at l >= Inner().
    const int64_t Q0 = Inner();
    const int64_t Q1 = H - Ko;
    for (int64_t M = 0; M < std::min(2 * Q0, L); ++M) InverseGather(M);
    for (int64_t Q = Q0; Q <= Q1; ++Q) {
      Extended S0 = W[2 * Q], S1 = W[2 * Q + 1];
      for (int I = 0; I < Ko; ++I) {
        const Extended A = X[Q + I], D = X[H + Q + I];
        const int J = 2 * Ko - 2 - 2 * I;
        S0 += Hf[J] * A;
        S0 += Gf[J] * D;
        S1 += Hf[J + 1] * A;
        S1 += Gf[J + 1] * D;
      }
      W[2 * Q] = S0;
      W[2 * Q + 1] = S1;
    }
    for (int64_t M = std::max(2 * (Q1 + 1), 2 * Q0); M < L; ++M) InverseGather(M);
  }

  template <int Ko>
  void Run(bool Inverse) const {
    if (Inverse) {
      InverseEdge();
      InverseInner<Ko>();
    } else {
      ForwardEdge();
      ForwardInner<Ko>();
    }
  }
};

}  // namespace

TWavelet1D::TWavelet1D(TComponent* AOwner) : TComponent(AOwner) {
  SetOrder(2);
  SetSize(256);
}

TWavelet1D::~TWavelet1D() = default;

std::string TWavelet1D::ClassName() const { return "TWavelet1D"; }

void TWavelet1D::SetWaveletFamily(TWaveletFamily Value) {
  if (Value == wlfDaubechies) FWaveletFam = Value;
}

void TWavelet1D::SetSignalExtMode(TWLSigExtMode Value) {
  if (Value <= wseSymmetric) FWLSigExtMode = Value;
}

void TWavelet1D::SetOrder(int32_t Value) {
  static constexpr const Extended* Tables[] = {Daub1, Daub2, Daub3};
  if (Value < 1 || Value > 3)
    detail::RaiseComponentError<EORVWaveletError>(*this, "invalid order of Daubechies wavelet family");
  const Extended* H = Tables[Value - 1];
  const int32_t Taps = 2 * Value;
  for (int32_t J = 0; J < Taps; ++J) {
    FCoeffsLP[detail::Ix(J)] = H[J];
    const Extended Mirror = H[Taps - 1 - J];
    FCoeffsHP[detail::Ix(J)] = J % 2 == 0 ? Mirror : -Mirror;
  }
  FOrder = Value;
}

void TWavelet1D::SetSize(int32_t Value) {
  detail::CheckTransformSize<EORVWaveletError>(*this, Value);
  detail::GuardAlloc<EORVWaveletError>(*this, detail::NoHeap, [&] {
    std::vector<Extended> Data(detail::Ix(Value), Extended{0});
    std::vector<Extended> Work(detail::Ix(Value));
    FData = std::move(Data);
    FWork = std::move(Work);
  });
  FNumData = Value;
}

void TWavelet1D::Clear() { std::fill(FData.begin(), FData.end(), Extended{0}); }

void TWavelet1D::Stage(int64_t L, bool Inverse) {
  std::fill_n(FWork.begin(), L, Extended{0});
  const TStage S{FData.data(), FWork.data(), FCoeffsLP.data(), FCoeffsHP.data(), L, L / 2, FOrder, FWLSigExtMode};
  switch (FOrder) {
    case 1:
      S.Run<1>(Inverse);
      break;
    case 2:
      S.Run<2>(Inverse);
      break;
    default:
      S.Run<3>(Inverse);
      break;
  }
  std::copy_n(FWork.begin(), L, FData.begin());
}

void TWavelet1D::Transform(int32_t Level) {
  const int32_t Stages = std::max(Level, 1);
  int64_t L = FNumData;
  for (int32_t S = 0; S < Stages && L > 1; ++S, L /= 2) Stage(L, false);
}

void TWavelet1D::InverseTransform(int32_t Level) {
  const int32_t Stages = std::max(Level, 1);
  int64_t L = 2;
  for (int32_t S = 0; S < Stages && L <= FNumData; ++S, L *= 2) Stage(L, true);
}

void TWavelet1D::SingleStep(bool Inverse) {
  if (FNumData > 1) Stage(FNumData, Inverse);
}

}  // namespace orv
