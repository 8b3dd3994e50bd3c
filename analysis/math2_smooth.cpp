// Smoothing, derivative and kernel filters of vectors: moving average,
// median and triangular average, Savitzky-Golay smoothing and derivatives,
// correlation with a kernel.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/math2_work.h"
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
// The rows quoted with the method's description (w = 5, 7, 25).
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

// The frame of the six windowed routines: Value(C) is the filter value at the
// centre C points to (C[-h]..C[h] its window), called for the centres in
// increasing order.
template <class ValueFn>
void RunWindowed(const TFilterTexts& T, int32_t MinW, int32_t MaxW, const TVector* Src, int32_t First,
                 int32_t Last, TVector* Dest, int32_t W, ValueFn&& Value) {
  const auto [Lo, Hi] = CheckedRange(T, Src != nullptr && Dest != nullptr, First, Last,
                                     Src == nullptr ? 1 : Src->NrOfElem(), W);
  if (W < MinW || W > MaxW) RaiseMath2(T.Length);
  if (W % 2 == 0) RaiseMath2(T.Odd);
  const int32_t H = W / 2, L = Hi - Lo + 1;  // L >= w + 1: at least two centres
  std::vector<double> Out = Math2WorkArray(T.Name, L);
  const double* X = Ops::Data(*Src) + (Lo - 1);
  for (int32_t I = H; I < L - H; ++I) Out[Ix(I)] = Value(X + I);
  std::fill_n(Out.begin(), H, Out[Ix(H)]);
  std::fill_n(Out.end() - H, H, Out[Ix(L - H - 1)]);

  if (Dest->NrOfElem() < L) Dest->Resize(L);
  Ops::Put(*Dest, Out.data() + H, L - 2 * H, H + 1);  // the centres,
  Ops::Put(*Dest, Out.data(), H, 1);                  // the head,
  Ops::Put(*Dest, Out.data() + (L - H), H, L - H + 1);  // the tail
  Dest->Changed();
}

// The rows' value at a centre: (c0 x(i) + sum ck (x(i + k) + x(i - k))) / N.
auto GolayValue(const std::array<int32_t, GolayCols>& Row, int32_t H) {
  return [&Row, H](const double* C) {
    double S = Row[1] * C[0];
    for (int32_t K = 1; K <= H; ++K) S += Row[Ix(K + 1)] * (C[K] + C[-K]);
    return S / Row[0];
  };
}

const std::array<int32_t, GolayCols>& GolayRow(const TGolayTable& Table, int32_t W) {
  return Table[Ix(std::clamp(W, GolayMin, GolayMax) / 2 - 2)];
}

// The window of MovingMedianSmooth in ascending order, moved by one removal
// and one insertion per centre. The order is total: NaN last (as SortArray
// puts it, so element h + 1 is the Quartiles median), -0.0 before 0.0, so
// the element removed is the one that leaves the window, bit for bit.
class TSortedWindow {
 public:
  explicit TSortedWindow(int32_t H, std::vector<double>&& Storage) : FH(H), FW(std::move(Storage)) {}

  double operator()(const double* C) {
    if (!FStarted) {
      std::copy(C - FH, C + FH + 1, FW.begin());
      std::sort(FW.begin(), FW.end(), Before);
      FStarted = true;
    } else {
      Replace(C[-FH - 1], C[FH]);
    }
    return FW[Ix(FH)];
  }

 private:
  static bool Before(double A, double B) {
    if (A < B) return true;
    if (A == B) return std::signbit(A) && !std::signbit(B);
    return B != B && A == A;
  }

  void Replace(double Out, double In) {
    const auto P = std::lower_bound(FW.begin(), FW.end(), Out, Before);
    const auto Q = std::lower_bound(FW.begin(), FW.end(), In, Before);
    if (Q <= P) {
      std::move_backward(Q, P, P + 1);
      *Q = In;
    } else {
      std::move(P + 1, Q, P);
      *(Q - 1) = In;
    }
  }

  int32_t FH;
  std::vector<double> FW;
  bool FStarted = false;
};

}  // namespace

const TGolayTable GolayPoly = SmoothRows;
const TGolayTable Golay2ndDeriv = SecondDerivRows;

void MovingAverageSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                         int32_t WindowLength) {
  const int32_t H = WindowLength / 2;
  const double W = WindowLength;
  RunWindowed(MovingAverageTexts, AverageMin, AverageMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [H, W](const double* C) {
                double S = 0.0;
                for (int32_t K = -H; K <= H; ++K) S += C[K];
                return S / W;
              });
}

void MovingMedianSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                        int32_t WindowLength) {
  // The window's storage is taken after the checks, so a bad length raises
  // its own message before anything is allocated.
  std::optional<TSortedWindow> Window;
  RunWindowed(MovingMedianTexts, AverageMin, AverageMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [&](const double* C) {
                if (!Window) Window.emplace(WindowLength / 2, Math2WorkArray(MovingMedianTexts.Name, WindowLength));
                return (*Window)(C);
              });
}

void WeightedAverageSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                           int32_t WindowLength) {
  const int32_t H = WindowLength / 2;
  const double Den = (static_cast<double>(WindowLength) + 1) * (static_cast<double>(WindowLength) + 1);
  RunWindowed(WeightedAverageTexts, AverageMin, AverageMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [H, Den](const double* C) {
                double S = C[0] * (H + 1.0);
                for (int32_t K = 1; K <= H; ++K) S += (C[K] + C[-K]) * static_cast<double>(H - K + 1);
                return S * 4 / Den;
              });
}

void PolynomialSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                      int32_t WindowLength) {
  RunWindowed(PolynomialTexts, GolayMin, GolayMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              GolayValue(GolayRow(SmoothRows, WindowLength), WindowLength / 2));
}

void SecondDeriv(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                 int32_t WindowLength) {
  RunWindowed(SecondDerivTexts, GolayMin, GolayMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              GolayValue(GolayRow(SecondDerivRows, WindowLength), WindowLength / 2));
}

void FirstDeriv(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                int32_t WindowLength) {
  const int32_t H = WindowLength / 2;
  const double D = 2.0 * H * (H + 1) * (2 * H + 1) / 6;  // 2 (1^2 + ... + h^2), exact
  RunWindowed(FirstDerivTexts, GolayMin, GolayMax, SourceVec, FirstElem, LastElem, DestVec, WindowLength,
              [H, D](const double* C) {
                double S = 0.0;
                for (int32_t K = -H; K <= H; ++K) S += K * C[K];
                return S / D;
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
  const double* Kern = Ops::Data(*FilterKernel);
  for (int32_t I = 0; I < L; ++I) {
    const double* P = Padded.data() + I;
    double S = 0.0;
    for (int32_t E = 0; E < K; ++E) S += P[E] * Kern[E];
    Out[Ix(I)] = S;
  }

  DestVec->SetVecSize(N);
  Ops::Put(*DestVec, Out.data(), L, 1);
  DestVec->Changed();
}

}  // namespace orv
