// Filter design: windowed-sinc kernels (low-pass, high-pass, band-stop,
// band-pass) and Chebyshev recursive filters with their zero-phase
// application. Both follow S. W. Smith, "The Scientist and Engineer's Guide
// to Digital Signal Processing", California Technical Publishing, 1997,
// chapters 16 (windowed-sinc filters) and 20 (Chebyshev filters).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "analysis/math2_work.h"
#include "linalg/component.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

using detail::Ix;
using detail::Math2WorkArray;
using detail::RaiseMath2;
using Ops = detail::TVectorOps<TVector>;

namespace {

constexpr double Pi = std::numbers::pi;

// ---- windowed-sinc kernels ------------------------------------------------------------
enum class TBand { LowPass, HighPass, BandStop, BandPass };

void LowPassTaps(std::span<double> K, double F, int32_t Window) {
  const auto M = static_cast<int32_t>(K.size());
  const int32_t C = M / 2 + 1;
  F = std::clamp(F, 0.0, 0.5);
  const double TwoPiF = 2 * Pi * F;
  const double Den = static_cast<double>(M) + 1;
  for (int32_t P = 1; P <= M; ++P) {
    const int32_t D = P - C;
    double H = D == 0 ? TwoPiF : std::sin(TwoPiF * D) / D;
    if (Window == swHamming)
      H *= 0.54 - 0.46 * std::cos(2 * Pi * P / Den);
    else if (Window == swBlackman)
      H *= 0.42 - 0.5 * std::cos(2 * Pi * P / Den) + 0.08 * std::cos(4 * Pi * P / Den);
    K[Ix(P - 1)] = H;
  }
  double S = 0.0;
  for (const double H : K) S += H;
  if (S != 0.0)
    for (double& H : K) H /= S;
}

// Negates the taps and adds 1 at the centre: low-pass to high-pass, band-stop to band-pass.
void Invert(std::span<double> K) {
  for (double& H : K) H = -H;
  K[K.size() / 2] += 1.0;
}

// The taps of Band into K (at least one): the one routine behind every form.
void SincTaps(const char* Name, TBand Band, double F1, double F2, int32_t Window, std::span<double> K) {
  switch (Band) {
    case TBand::LowPass: LowPassTaps(K, F1, Window); return;
    case TBand::HighPass:
      LowPassTaps(K, F1, Window);
      Invert(K);
      return;
    case TBand::BandStop:
    case TBand::BandPass: {
      LowPassTaps(K, std::min(F1, F2), Window);
      std::vector<double> High = Math2WorkArray(Name, std::ssize(K));
      SincTaps(Name, TBand::HighPass, std::max(F1, F2), 0, Window, High);
      for (std::size_t P = 0; P < K.size(); ++P) K[P] += High[P];
      if (Band == TBand::BandPass) Invert(K);
      return;
    }
  }
}

TDoubleArray Taps(const char* Name, TBand Band, int32_t M, double F1, double F2, int32_t Window) {
  if (M <= 0) return {};
  std::vector<double> K = Math2WorkArray(Name, M);
  SincTaps(Name, Band, F1, F2, Window, K);
  return K;
}

void TapsInto(TDoubleArray& Kernel, const char* Name, TBand Band, int32_t M, double F1, double F2,
              int32_t Window) {
  Kernel = Taps(Name, Band, M, F1, F2, Window);
}

void TapsInto(TVector* Kernel, const char* Name, TBand Band, int32_t M, double F1, double F2, int32_t Window) {
  if (Kernel == nullptr || M <= 0) return;
  const TDoubleArray K = Taps(Name, Band, M, F1, F2, Window);
  Kernel->Resize(M);
  Ops::Put(*Kernel, K.data(), M, 1);
}

// ---- Chebyshev filters -----------------------------------------------------------------
// The cascade holds at most 20 poles in coefficient arrays of 23 entries.
constexpr int32_t MaxPoles = 20;
constexpr int32_t CoeffCount = 23;

// The two-pole stage P of NP (a0, a1, a2, b1, b2).
struct TStage {
  double A0, A1, A2, B1, B2;
};

TStage ChebStage(int32_t P, int32_t NP, bool HighPass, double FC, double PR) {
  // The pole on the unit circle, warped onto an ellipse for a ripple. A
  // ripple too small to move ES off 0 has the Butterworth poles as its limit.
  double RP = -std::cos(Pi / (NP * 2.0) + (P - 1) * Pi / NP);
  double IP = std::sin(Pi / (NP * 2.0) + (P - 1) * Pi / NP);
  if (PR != 0) {
    const double R = 100 / (100 - PR);
    const double ES = std::sqrt(R * R - 1);
    if (ES > 0) {
      const double VX = (1.0 / NP) * std::log(1 / ES + std::sqrt(1 / (ES * ES) + 1));
      double KX = (1.0 / NP) * std::log(1 / ES + std::sqrt(1 / (ES * ES) - 1));
      KX = (std::exp(KX) + std::exp(-KX)) / 2;
      RP = RP * ((std::exp(VX) - std::exp(-VX)) / 2) / KX;
      IP = IP * ((std::exp(VX) + std::exp(-VX)) / 2) / KX;
    }
  }
  // s-domain to z-domain (bilinear transform).
  const double T = 2 * std::tan(0.5);
  const double T2 = T * T;
  const double M = RP * RP + IP * IP;
  double D = 4 - 4 * RP * T + M * T2;
  const double X0 = T2 / D, X1 = 2 * T2 / D, X2 = X0;
  const double Y1 = (8 - 2 * M * T2) / D;
  const double Y2 = (-4 - 4 * RP * T - M * T2) / D;
  // Low-pass at 1 rad to low-pass or high-pass at 2 pi FC.
  const double W = 2 * Pi * FC;
  const double K = HighPass ? -std::cos(W / 2 + 0.5) / std::cos(W / 2 - 0.5) : std::sin(0.5 - W / 2) / std::sin(0.5 + W / 2);
  const double K2 = K * K;
  D = 1 + Y1 * K - Y2 * K2;
  TStage S;
  S.A0 = (X0 - X1 * K + X2 * K2) / D;
  S.A1 = (-2 * X0 * K + X1 + X1 * K2 - 2 * X2 * K) / D;
  S.A2 = (X0 * K2 - X1 * K + X2) / D;
  S.B1 = (2 * K + Y1 + Y1 * K2 - 2 * Y2 * K) / D;
  S.B2 = (-K2 - Y1 * K + Y2) / D;
  if (HighPass) {
    S.A1 = -S.A1;
    S.B1 = -S.B1;
  }
  return S;
}

// Whether the recursion y(j) = ... + sum over r = 1..NP of b(r) y(j - r),
// B[r] = b(r), is stable with room for the rounding of its coefficients.
// Stable: every root of z^NP - b(1) z^(NP-1) - ... - b(NP) lies inside the
// unit circle, by the Schur-Cohn test (I. Schur, J. Reine Angew. Math. 147,
// 1917; A. Cohn, Math. Z. 14, 1922): the step-down recursion of the
// polynomial's reflection coefficients, each of which must lie inside
// (-1, 1). In long double it decides as exact arithmetic on the double
// coefficients does (in double it errs on designs near the limit). Room: at
// the end of the pass band, S = 1 for low-pass and -1 for high-pass, where a
// low or high cut-off crowds the poles, the polynomial's value 1 - sum of
// b(r) S^r (by which the unit gain is normalised) must exceed the rounding
// the coefficients carry, 2^-52 sum of |b(r)|: else the rounding, not the
// design, decides where those poles lie and what the gain is.
bool StableWithRoom(const double* B, int32_t NP, bool HighPass) {
  long double C[CoeffCount];
  long double AtS = 1, Size = 0;
  for (int32_t R = 1; R <= NP; ++R) {
    C[R] = -static_cast<long double>(B[R]);
    AtS -= HighPass && R % 2 != 0 ? -B[R] : B[R];
    Size += std::fabs(B[R]);
  }
  if (!(std::fabs(AtS) > Size * 0x1p-52L)) return false;
  for (int32_t M = NP; M >= 1; --M) {
    const long double K = C[M];
    if (!(std::fabs(K) < 1)) return false;
    const long double D = 1 - K * K;
    long double Next[CoeffCount];
    for (int32_t I = 1; I < M; ++I) Next[I] = (C[I] - K * C[M - I]) / D;
    std::copy_n(Next + 1, M - 1, C + 1);
  }
  return true;
}

// The recursion y(j) = A0 x(j) + sum over r = 1..NP of (a(r) x(j - r) + b(r) y(j - r)).
struct TRecursion {
  double A0;
  const double* A;  // a(1..NP) at A[0..NP - 1]
  const double* B;
  int32_t NP;
};

// Forward over Xj[0..Len - 1] into Yj, then backward over Yj into Z; Xj and
// Yj readable from index -NP, Yj and Z up to Len - 1 + NP (zeros outside
// the pass). NP is Fixed when that is above 0.
template <int32_t Fixed>
void Passes(const TRecursion& Rec, int64_t Len, const double* Xj, double* Yj, double* Z) {
  const int32_t NP = Fixed > 0 ? Fixed : Rec.NP;
  const double *A = Rec.A, *B = Rec.B;
  for (int64_t J = 0; J < Len; ++J) {
    double S = Rec.A0 * Xj[J];
    for (int32_t R = 1; R <= NP; ++R) S += A[R - 1] * Xj[J - R] + B[R - 1] * Yj[J - R];
    Yj[J] = S;
  }
  for (int64_t J = Len - 1; J >= 0; --J) {
    double S = Rec.A0 * Yj[J];
    for (int32_t R = 1; R <= NP; ++R) S += A[R - 1] * Yj[J + R] + B[R - 1] * Z[J + R];
    Z[J] = S;
  }
}

}  // namespace

void CalcSincLPKernel(int32_t M, double CutOff, int32_t WindowType, TVector* Kernel) {
  TapsInto(Kernel, "CalcSincLPKernel", TBand::LowPass, M, CutOff, CutOff, WindowType);
}
void CalcSincLPKernel(int32_t M, double CutOff, int32_t WindowType, TDoubleArray& Kernel) {
  TapsInto(Kernel, "CalcSincLPKernel", TBand::LowPass, M, CutOff, CutOff, WindowType);
}
void CalcSincHPKernel(int32_t M, double CutOff, int32_t WindowType, TVector* Kernel) {
  TapsInto(Kernel, "CalcSincHPKernel", TBand::HighPass, M, CutOff, CutOff, WindowType);
}
void CalcSincHPKernel(int32_t M, double CutOff, int32_t WindowType, TDoubleArray& Kernel) {
  TapsInto(Kernel, "CalcSincHPKernel", TBand::HighPass, M, CutOff, CutOff, WindowType);
}
void CalcSincBSKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TDoubleArray& Kernel) {
  TapsInto(Kernel, "CalcSincBSKernel", TBand::BandStop, M, CutOff1, CutOff2, WindowType);
}
void CalcSincBSKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TVector* Kernel) {
  TapsInto(Kernel, "CalcSincBSKernel", TBand::BandStop, M, CutOff1, CutOff2, WindowType);
}
void CalcSincBPKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TDoubleArray& Kernel) {
  TapsInto(Kernel, "CalcSincBPKernel", TBand::BandPass, M, CutOff1, CutOff2, WindowType);
}
void CalcSincBPKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TVector* Kernel) {
  TapsInto(Kernel, "CalcSincBPKernel", TBand::BandPass, M, CutOff1, CutOff2, WindowType);
}

void CalcChebFilterCoeffs(int32_t NPoles, bool HighPass, double CutOff, double Ripple, double& A0,
                          TMatrix* Coeffs) {
  if (NPoles % 2 != 0) RaiseMath2("CalcChebFilterCoeffs: NPoles must be even");
  if (NPoles < 2 || NPoles > MaxPoles) RaiseMath2("CalcChebFilterCoeffs: NPoles out of range");
  if (!(Ripple >= 0 && Ripple <= 29)) RaiseMath2("CalcChebFilterCoeffs: invalid Ripple value");
  // At 0 and 0.5 the transform divides by zero or puts every pole on the unit circle.
  if (!(CutOff > 0 && CutOff < 0.5)) RaiseMath2("CalcChebFilterCoeffs: invalid cutoff frequency");
  if (Coeffs == nullptr) return;

  double A[CoeffCount] = {}, B[CoeffCount] = {};
  A[2] = B[2] = 1;
  for (int32_t P = 1; P <= NPoles / 2; ++P) {
    const TStage S = ChebStage(P, NPoles, HighPass, CutOff, Ripple);
    double TA[CoeffCount], TB[CoeffCount];
    std::copy_n(A, CoeffCount, TA);
    std::copy_n(B, CoeffCount, TB);
    for (int32_t I = 2; I < CoeffCount; ++I) {
      A[I] = S.A0 * TA[I] + S.A1 * TA[I - 1] + S.A2 * TA[I - 2];
      B[I] = TB[I] - S.B1 * TB[I - 1] - S.B2 * TB[I - 2];
    }
  }
  B[2] = 0;
  for (int32_t I = 0; I <= MaxPoles; ++I) {
    A[I] = A[I + 2];
    B[I] = -B[I + 2];
  }
  // Many poles near a cut-off close to 0 or 0.5: the rounding of the
  // expanded coefficients moves poles onto or past the unit circle.
  if (!StableWithRoom(B, NPoles, HighPass)) RaiseMath2("CalcChebFilterCoeffs: recursion would be unstable");
  // Unit gain at 0 (low-pass) or at 0.5 (high-pass, alternating signs).
  double SA = 0, SB = 0;
  for (int32_t I = 0; I <= MaxPoles; ++I) {
    const double Sign = HighPass && I % 2 != 0 ? -1.0 : 1.0;
    SA += A[I] * Sign;
    SB += B[I] * Sign;
  }
  const double Gain = SA / (1 - SB);
  for (int32_t I = 0; I <= MaxPoles; ++I) A[I] /= Gain;

  Coeffs->Resize(2, NPoles);
  for (int32_t R = 1; R <= NPoles; ++R) {
    Coeffs->SetVal(1, R, A[R]);
    Coeffs->SetVal(2, R, B[R]);
  }
  A0 = A[0];
}

void ChebychevFilter(const TVector* Source, int32_t FirstElem, int32_t LastElem, TVector* Dest, double A0,
                     const TMatrix* Coeffs) {
  if (Source == nullptr || Dest == nullptr || Coeffs == nullptr) return;
  const int32_t N = Source->NrOfElem();
  detail::MakeValidRange(FirstElem, LastElem, N);
  const int32_t NP = Coeffs->NrOfRows();
  const int64_t G = int64_t{NP} + 1;
  const int64_t Len = LastElem + 2 * G;  // the pass covers positions j = 1..Len
  const char* Name = "ChebychevFilter";
  std::vector<double> Ca = Math2WorkArray(Name, NP), Cb = Math2WorkArray(Name, NP);
  for (int32_t R = 1; R <= NP; ++R) {
    Ca[Ix(R - 1)] = Coeffs->GetVal(1, R);
    Cb[Ix(R - 1)] = Coeffs->GetVal(2, R);
  }

  // X[NP + G + t - 1] is source element t, for t = 1 - NP - G .. Len - G
  // (0 outside the source); Y[NP + j - 1] is y(j) and Z[j - 1] is z(j), with
  // NP zeros before Y and behind both.
  std::vector<double> X = Math2WorkArray(Name, Len + NP);
  std::vector<double> Y = Math2WorkArray(Name, Len + 2 * int64_t{NP});
  std::vector<double> Z = Math2WorkArray(Name, Len + NP);
  const int64_t Avail = std::min<int64_t>(N, Len - G);
  std::copy_n(Ops::Data(*Source), Avail, X.begin() + (NP + G));
  const TRecursion Rec{A0, Ca.data(), Cb.data(), NP};
  const auto Run = [&]<int32_t Fixed>() { Passes<Fixed>(Rec, Len, X.data() + NP, Y.data() + NP, Z.data()); };
  // The usual designs with their pole count fixed, so the sums over r unroll.
  switch (NP) {
    case 2: Run.template operator()<2>(); break;
    case 4: Run.template operator()<4>(); break;
    case 6: Run.template operator()<6>(); break;
    case 8: Run.template operator()<8>(); break;
    default: Run.template operator()<0>();
  }

  if (Dest->NrOfElem() < LastElem) Dest->Resize(LastElem);
  Ops::Put(*Dest, Z.data() + (FirstElem - 1 + G), LastElem - FirstElem + 1, FirstElem);
}

}  // namespace orv
