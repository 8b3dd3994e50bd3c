// Smoothing, derivative and kernel filters of vectors: moving average,
// median and triangular average, Savitzky-Golay smoothing and derivatives,
// correlation with a kernel.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

#include "analysis/math2_work.h"
#include "core/simd.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

using detail::Ix;
using detail::Math2WorkArray;
using detail::RaiseMath2;
using Ops = detail::TVectorOps<TVector>;

namespace {

// ---- Savitzky-Golay rows ------------------------------------------------------------
// A. Savitzky, M. J. E. Golay, "Smoothing and differentiation of data by
// simplified least squares procedures", Analytical Chemistry 36(8), 1964.
// Quadratic fits over w = 2h + 1 points: the smoothing weights are
// proportional to 3h^2 + 3h - 1 - 5k^2, the second-derivative weights to
// 3k^2 - h(h + 1); each row is reduced to lowest terms.
constexpr int64_t Gcd(int64_t A, int64_t B) {
  A = A < 0 ? -A : A;
  B = B < 0 ? -B : B;
  while (B != 0) A = std::exchange(B, A % B);
  return A;
}

constexpr TGolayTable MakeGolayTable(bool SecondDerivative) {
  TGolayTable T{};
  for (int32_t R = 0; R < GolayRows; ++R) {
    const int64_t H = R + 2;
    std::array<int64_t, GolayCols> Row{};
    int64_t N = 0;
    for (int64_t K = 0; K <= H; ++K) {
      const int64_t C = SecondDerivative ? 3 * K * K - H * (H + 1) : 3 * H * H + 3 * H - 1 - 5 * K * K;
      Row[Ix(K + 1)] = C;
      // Smoothing: N is the sum of all 2h + 1 weights. Second derivative:
      // sum c_k k^2 / N = 2 over k = -h..h, so N = sum over k = 1..h of c_k k^2.
      N += SecondDerivative ? C * K * K : (K == 0 ? C : 2 * C);
    }
    Row[0] = N;
    int64_t G = 0;
    for (const int64_t V : Row) G = Gcd(G, V);
    for (int32_t J = 0; J < GolayCols; ++J) T[Ix(R)][Ix(J)] = static_cast<int32_t>(Row[Ix(J)] / G);
  }
  return T;
}

constexpr TGolayTable SmoothRows = MakeGolayTable(false);
constexpr TGolayTable SecondDerivRows = MakeGolayTable(true);

constexpr bool RowStartsWith(const std::array<int32_t, GolayCols>& Row, std::initializer_list<int32_t> Want) {
  std::size_t J = 0;
  for (const int32_t V : Want)
    if (Row[J++] != V) return false;
  for (; J < Row.size(); ++J)
    if (Row[J] != 0) return false;
  return true;
}
// The published rows of w = 5, 7 and 25.
static_assert(RowStartsWith(SmoothRows[0], {35, 17, 12, -3}));
static_assert(RowStartsWith(SmoothRows[1], {21, 7, 6, 3, -2}));
static_assert(RowStartsWith(SmoothRows[10], {5175, 467, 462, 447, 422, 387, 342, 287, 222, 147, 62, -33, -138, -253}));
static_assert(RowStartsWith(SecondDerivRows[0], {7, -2, -1, 2}));
static_assert(RowStartsWith(SecondDerivRows[1], {42, -4, -3, 0, 5}));
static_assert(RowStartsWith(SecondDerivRows[10], {26910, -52, -51, -48, -43, -36, -27, -16, -3, 12, 29, 48, 69, 92}));

// ---- the common frame -----------------------------------------------------------------
// A routine's messages, in the order of its checks.
struct TFilterTexts {
  const char* Name;
  const char* Undefined;
  const char* Range;
  const char* Length;
  const char* Odd;
};

constexpr TFilterTexts MovingAverageTexts = {
    "MovingAverageSmooth", "MovingAverageSmooth: either SourceVec or DestVec is undefined",
    "MovingAverageSmooth: specified range for smoothing is smaller than the length of the smoothing windows",
    "MovingAverageSmooth: length of smoothing window is out of range",
    "MovingAverageSmooth: length of smoothing window must be odd"};
constexpr TFilterTexts MovingMedianTexts = {
    "MovingMedianSmooth", "MovingMedianSmooth: either SourceVec or DestVec is undefined",
    "MovingMedianSmooth: specified range for smoothing is smaller than the length of the smoothing windows",
    "MovingMedianSmooth: length of smoothing window is out of range",
    "MovingMedianSmooth: length of smoothing window must be odd"};
constexpr TFilterTexts WeightedAverageTexts = {
    "WeightedAverageSmooth", "WeightedAverageSmooth: either SourceVec or DestVec is undefined",
    "WeightedAverageSmooth: specified range for smoothing is smaller than the length of the smoothing windows",
    "WeightedAverageSmooth: length of smoothing window is out of range",
    "WeightedAverageSmooth: length of smoothing window must be odd"};
constexpr TFilterTexts PolynomialTexts = {
    "PolynomialSmooth", "PolynomialSmooth: either SourceVec or DestVec is undefined",
    "PolynomialSmooth: specified range for smoothing is smaller than the length of the polynomial",
    "PolynomialSmooth: length of polynomial is out of range", "PolynomialSmooth: length of polynomial must be odd"};
constexpr TFilterTexts SecondDerivTexts = {
    "SecondDeriv", "SecondDeriv: either SourceVec or DestVec is undefined",
    "SecondDeriv: specified range for smoothing is smaller than the length of the polynomial",
    "SecondDeriv: length of polynomial is out of range", "SecondDeriv: length of polynomial must be odd"};
constexpr TFilterTexts FirstDerivTexts = {
    "FirstDeriv", "FirstDeriv: either SourceVec or DestVec is undefined",
    "FirstDeriv: specified range for calculation is smaller than the length of the polynomial",
    "FirstDeriv: length of polynomial is out of range", "FirstDeriv: length of polynomial must be odd"};
constexpr TFilterTexts KernelTexts = {
    "MovingKernelfilter", "MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined",
    "MovingKernelfilter: specified range for smoothing is smaller than the length of the kernel", nullptr, nullptr};

// The window lengths of the average family and of the polynomial family.
constexpr int32_t AverageMin = 3, AverageMax = INT32_MAX;
constexpr int32_t GolayMin = 5, GolayMax = 25;

// The element range Lo..Hi after the nil check, the clamps into 1..n and the
// range check against Width.
std::pair<int32_t, int32_t> CheckedRange(const TFilterTexts& T, bool Defined, int32_t First, int32_t Last, int32_t N,
                                         int32_t Width) {
  if (!Defined) RaiseMath2(T.Undefined);
  int32_t Lo = std::clamp(First, 1, N), Hi = std::clamp(Last, 1, N);
  if (Hi < Lo) std::swap(Lo, Hi);
  if (Hi - Lo < Width) RaiseMath2(T.Range);
  return {Lo, Hi};
}

// ---- weighted sums over sliding windows ----------------------------------------------
// The kernel keeps each output's pinned order of operations and runs across
// four vectors of outputs at once, so every lane computes what the scalar
// loop of the tail computes, bit for bit (IEEE products and sums, never
// contracted). A broadcast factor is c - 0.0, which keeps a zero's sign.
//
// Out[i] := (S * Mul) / Div, S the sum of X[i + e] C[e] from +0.0 over e =
// 0..K-1 in increasing order (a correlation) or, Symmetric, X[i] C[0] and
// then (X[i + k] + X[i - k]) C[k] for k = 1..K (X[-K] .. X[i + K] readable):
// here for the Count vectors of outputs from Out on.
template <bool Symmetric, int Bytes, int Count>
ORV_SIMD_INLINE void WindowRun(const double* X, const double* C, int64_t K, double Mul, double Div, double* Out) {
  using V = detail::TSimdVector<double, Bytes>;
  constexpr int64_t L = Bytes / sizeof(double);
  V A[Count];
  const V C0 = C[0] - V{};
  for (int B = 0; B < Count; ++B) {
    V T;  // a copy: loading into A itself sends it through memory
    std::memcpy(&T, X + B * L, sizeof T);
    A[B] = Symmetric ? T * C0 : V{};
  }
  for (int64_t E = Symmetric; E < K + Symmetric; ++E) {
    const V Ce = C[E] - V{};
    for (int B = 0; B < Count; ++B) {
      V P;
      std::memcpy(&P, X + B * L + E, sizeof P);
      if constexpr (Symmetric) {
        V M;
        std::memcpy(&M, X + B * L - E, sizeof M);
        P += M;
      }
      A[B] += P * Ce;
    }
  }
  for (int B = 0; B < Count; ++B) {
    const V S = A[B] * Mul / Div;
    std::memcpy(Out + B * L, &S, sizeof S);
  }
}
// The same for i = 0..Count-1.
template <int Bytes>
ORV_SIMD_INLINE void WindowKernelLanes(const double* X, int64_t Count, const double* C, int64_t K, bool Symmetric,
                                       double Mul, double Div, double* Out) {
  const auto Run = [&]<bool S>() ORV_SIMD_LAMBDA {
    int64_t I = detail::ForVectorBlocks<Bytes / sizeof(double)>(Count, [&]<int N>(int64_t At) ORV_SIMD_LAMBDA {
      WindowRun<S, Bytes, N>(X + At, C, K, Mul, Div, Out + At);
    });
    for (; I < Count; ++I) {
      double Sum = S ? X[I] * C[0] : 0.0;
      for (int64_t E = S; E < K + S; ++E) Sum += (S ? X[I + E] + X[I - E] : X[I + E]) * C[E];
      Out[I] = Sum * Mul / Div;
    }
  };
  Symmetric ? Run.template operator()<true>() : Run.template operator()<false>();
}
ORV_SIMD_BY_WIDTH(void, WindowKernel,
                  (const double* X, int64_t Count, const double* C, int64_t K, bool Symmetric, double Mul, double Div,
                   double* Out),
                  (X, Count, C, K, Symmetric, Mul, Div, Out))

// ---- the frame -----------------------------------------------------------------------
// The frame of the six windowed routines. Centres(X, L, H, Out) writes the
// filter values of the centres into Out[H .. L - H - 1], X[0 .. L - 1] being
// the range's elements.
template <class CentresFn>
void RunWindowed(const TFilterTexts& T, int32_t MinW, int32_t MaxW, const TVector* Src, int32_t First,
                 int32_t Last, TVector* Dest, int32_t W, CentresFn&& Centres) {
  const auto [Lo, Hi] = CheckedRange(T, Src != nullptr && Dest != nullptr, First, Last,
                                     Src == nullptr ? 1 : Src->NrOfElem(), W);
  if (W < MinW || W > MaxW) RaiseMath2(T.Length);
  if (W % 2 == 0) RaiseMath2(T.Odd);
  const int32_t H = W / 2, L = Hi - Lo + 1;  // L >= w + 1: at least two centres
  std::vector<double> Out = Math2WorkArray(T.Name, L);
  Centres(Ops::Data(*Src) + (Lo - 1), L, H, Out.data());
  std::fill_n(Out.begin(), H, Out[Ix(H)]);
  std::fill_n(Out.end() - H, H, Out[Ix(L - H - 1)]);

  if (Dest->NrOfElem() < L) Dest->Resize(L);
  Ops::Put(*Dest, Out.data() + H, L - 2 * H, H + 1);  // the centres,
  Ops::Put(*Dest, Out.data(), H, 1);                  // the head,
  Ops::Put(*Dest, Out.data() + (L - H), H, L - H + 1);  // the tail
  Dest->Changed();
}

// Centres(X, L, H, Out) of a weighted sum over the window in increasing k,
// W[k + h] the weight of x(i + k), divided by Div.
void CorrelateCentres(const double* X, int32_t L, int32_t H, const std::vector<double>& W, double Div,
                      double* Out) {
  WindowKernel(X, L - 2 * H, W.data(), std::ssize(W), false, 1.0, Div, Out + H);
}

// Centres(X, L, H, Out) of (c0 x(i) + sum over k = 1..h of ck (x(i + k) +
// x(i - k))) * Mul / Div.
void SymmetricCentres(const double* X, int32_t L, int32_t H, const std::vector<double>& C, double Mul, double Div,
                      double* Out) {
  WindowKernel(X + H, L - 2 * H, C.data(), H, true, Mul, Div, Out + H);
}

// The centres of a Savitzky-Golay table's row for the window 2h + 1 (the
// frame has checked it): c0..ch and the divisor N.
auto GolayCentres(const TGolayTable& Table) {
  return [&Table](const double* X, int32_t L, int32_t H, double* Out) {
    const auto& Row = Table[Ix(H - 2)];
    SymmetricCentres(X, L, H, std::vector<double>(Row.begin() + 1, Row.begin() + (H + 2)), 1.0, Row[0], Out);
  };
}

// The window of MovingMedianSmooth in ascending order, moved by one removal
// and one insertion per centre. It holds keys of a total order: the integers
// that order the doubles as numbers, -0.0 before 0.0, and every NaN last (as
// SortArray puts it, so element h + 1 is the Quartiles median); the element
// removed is the one that leaves the window, bit for bit. Positions are
// counts of smaller keys, without branches.
class TSortedWindow {
 public:
  explicit TSortedWindow(std::vector<int64_t>&& Storage) : FW(std::move(Storage)) {}

  void Fill(const double* X, int32_t L, int32_t H, double* Out) {
    for (int32_t J = 0; J <= 2 * H; ++J) FW[Ix(J)] = Key(X[J]);
    std::sort(FW.begin(), FW.end());
    Out[H] = Value(FW[Ix(H)]);
    for (int32_t I = H + 1; I < L - H; ++I) {
      Replace(Key(X[I - H - 1]), Key(X[I + H]));
      Out[I] = Value(FW[Ix(H)]);
    }
  }

 private:
  static int64_t Key(double X) {
    if (X != X) return INT64_MAX;
    const auto B = std::bit_cast<int64_t>(X);
    return B ^ ((B >> 63) & INT64_MAX);  // negative: larger magnitudes lower
  }
  static double Value(int64_t K) {
    if (K == INT64_MAX) return std::numeric_limits<double>::quiet_NaN();
    return std::bit_cast<double>(K ^ ((K >> 63) & INT64_MAX));
  }

  void Replace(int64_t Out, int64_t In) {
    std::size_t P = 0, Q = 0;
    for (const int64_t V : FW) {
      P += V < Out;
      Q += V < In;
    }
    const auto W = FW.begin();
    if (Q <= P) {
      std::move_backward(W + Q, W + P, W + (P + 1));
      W[Q] = In;
    } else {
      std::move(W + (P + 1), W + Q, W + P);
      W[Q - 1] = In;
    }
  }

  std::vector<int64_t> FW;
};

}  // namespace

const TGolayTable GolayPoly = SmoothRows;
const TGolayTable Golay2ndDeriv = SecondDerivRows;

void MovingAverageSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                         int32_t WindowLength) {
  // The weights are built after the checks, so a window of any length raises
  // its own message before anything is allocated.
  RunWindowed(MovingAverageTexts, AverageMin, AverageMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [](const double* X, int32_t L, int32_t H, double* Out) {
                const int32_t W = 2 * H + 1;
                std::vector<double> Ones = Math2WorkArray(MovingAverageTexts.Name, W);
                std::fill(Ones.begin(), Ones.end(), 1.0);
                CorrelateCentres(X, L, H, Ones, W, Out);
              });
}

void MovingMedianSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                        int32_t WindowLength) {
  RunWindowed(MovingMedianTexts, AverageMin, AverageMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [](const double* X, int32_t L, int32_t H, double* Out) {
                TSortedWindow(Math2WorkArray<int64_t>(MovingMedianTexts.Name, 2 * H + 1)).Fill(X, L, H, Out);
              });
}

void WeightedAverageSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                           int32_t WindowLength) {
  RunWindowed(WeightedAverageTexts, AverageMin, AverageMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [](const double* X, int32_t L, int32_t H, double* Out) {
                std::vector<double> C = Math2WorkArray(WeightedAverageTexts.Name, H + 1);
                for (int32_t K = 0; K <= H; ++K) C[Ix(K)] = H - K + 1;
                const double W1 = 2.0 * H + 2;  // w + 1
                SymmetricCentres(X, L, H, C, 4.0, W1 * W1, Out);
              });
}

void PolynomialSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                      int32_t WindowLength) {
  RunWindowed(PolynomialTexts, GolayMin, GolayMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              GolayCentres(SmoothRows));
}

void SecondDeriv(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                 int32_t WindowLength) {
  RunWindowed(SecondDerivTexts, GolayMin, GolayMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              GolayCentres(SecondDerivRows));
}

void FirstDeriv(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                int32_t WindowLength) {
  RunWindowed(FirstDerivTexts, GolayMin, GolayMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [](const double* X, int32_t L, int32_t H, double* Out) {
                std::vector<double> K;
                for (int32_t J = -H; J <= H; ++J) K.push_back(J);
                const double D = 2.0 * H * (H + 1) * (2 * H + 1) / 6;  // 2 (1^2 + ... + h^2), exact
                CorrelateCentres(X, L, H, K, D, Out);
              });
}

void MovingKernelFilter(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                        const TVector* FilterKernel) {
  const bool Defined = SourceVec != nullptr && DestVec != nullptr && FilterKernel != nullptr;
  const int32_t N = Defined ? SourceVec->NrOfElem() : 1;
  const int32_t K = Defined ? FilterKernel->NrOfElem() : 1;
  const auto [Lo, Hi] = CheckedRange(KernelTexts, Defined, FirstElem, LastElem, N, K);
  const int32_t L = Hi - Lo + 1, Before = K / 2;

  // The range with its edge values repeated Before times in front and
  // K - 1 - Before times behind: output i reads Padded[i .. i + K - 1].
  std::vector<double> Padded = Math2WorkArray(KernelTexts.Name, int64_t{L} + K - 1);
  const double* X = Ops::Data(*SourceVec) + (Lo - 1);
  std::fill_n(Padded.begin(), Before, X[0]);
  std::copy_n(X, L, Padded.begin() + Before);
  std::fill(Padded.begin() + (Before + L), Padded.end(), X[L - 1]);
  std::vector<double> Out = Math2WorkArray(KernelTexts.Name, L);
  WindowKernel(Padded.data(), L, Ops::Data(*FilterKernel), K, false, 1.0, 1.0, Out.data());

  DestVec->SetVecSize(N);
  Ops::Put(*DestVec, Out.data(), L, 1);
  DestVec->Changed();
}

}  // namespace orv
