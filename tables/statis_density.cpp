// The distribution of a sample: a percentile of an array and a kernel
// estimate of the density.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_univconst.h"
#include "tables/statis_sorted.h"

namespace orv {

namespace {

// The first j in [Lo, Hi] for which Inside(j) holds, where Inside is false
// below some point and true from there (Hi + 1 when it never holds).
template <class F>
int64_t FirstInside(int64_t Lo, int64_t Hi, F Inside) {
  while (Lo <= Hi) {
    const int64_t Mid = Lo + (Hi - Lo) / 2;
    if (Inside(Mid))
      Hi = Mid - 1;
    else
      Lo = Mid + 1;
  }
  return Lo;
}

// The local bandwidth of x[i] (sorted ascending): the mean spacing met by
// the two walks from i. The spacings a walk adds up between elements a and b
// telescope to x[b] - x[a]; the walks' ends are found by bisection, so the
// cost does not grow with the number of values within the window.
double Bandwidth(const TDoubleArray& x, int64_t i, double Window) {
  const auto n = static_cast<int64_t>(x.size());
  const double xi = x[detail::Ix(i)];
  auto Within = [&](int64_t j) { return std::fabs(x[detail::Ix(j)] - xi) < Window; };
  double g = 0;
  int64_t c = 0;
  // From i + 1 downwards, each step j adding x[j] - x[j - 1] while j >= 1.
  if (i + 1 <= n - 1 && Within(i + 1)) {
    const int64_t L = FirstInside(1, i, Within);
    g += x[detail::Ix(i + 1)] - x[detail::Ix(L - 1)];
    c += i + 2 - L;
  }
  // From i - 1 upwards, each step j adding x[j + 1] - x[j] while j <= n - 2.
  if (i - 1 >= 0 && i - 1 <= n - 2 && Within(i - 1)) {
    const int64_t U = FirstInside(i, n - 2, [&](int64_t j) { return !Within(j); }) - 1;
    g += x[detail::Ix(U + 1)] - x[detail::Ix(i - 1)];
    c += U - i + 2;
  }
  if (c == 0) return Window;
  return g == 0 ? Window / static_cast<double>(c) : g / static_cast<double>(c);
}

}  // namespace

int32_t PercentileOfArray(TDoubleArray& Data, double Prob, int32_t Low, int32_t High, double& Value) {
  Value = 0;
  if (!(Prob >= 0 && Prob <= 100)) return -2;
  if (High < Low) return -3;
  if (Low < 0 || High >= static_cast<int64_t>(Data.size())) return -1;
  const int64_t m = int64_t{High} - Low + 1;
  const int64_t k = std::min(Round(Prob * static_cast<double>(m) / 100), m - 1);
  Value = QuickSelect(Data, static_cast<int32_t>(Low + k), Low, High);
  return 0;
}

void EstimateProbDensity(TVector* Data, TVector* Density, double Low, double High, double Factor, double Window,
                         int32_t Steps, int32_t& MinIx, int32_t& MaxIx, const TProbDensityFeedback& Feedback) {
  if (Data == nullptr || Density == nullptr) return;
  Steps = std::clamp(Steps, 10, 10000);
  if (Factor <= 0) Factor = 1;
  if (Window < 0) Window = 0;
  // The bandwidths need the values in order: when a handler's resize ended
  // the sort, they are those Data now holds, sorted here.
  TDoubleArray x;
  if (detail::SortedInPlace(*Data))
    Data->CopyToArray(x, 0, 0);
  else
    x = detail::SortedValues(*Data);
  const auto n = static_cast<int64_t>(x.size());
  const double Total = static_cast<double>(n + Steps);
  double Done = 0;
  auto Report = [&] {
    Done += 1;
    if (Feedback) Feedback(nullptr, Done, Done / Total * 100);
  };

  TDoubleArray H(detail::Ix(n)), InvH(detail::Ix(n));
  for (int64_t i = 0; i < n; ++i) {
    double h = Factor * Bandwidth(x, i, Window);
    if (h == 0) h = Factor;
    H[detail::Ix(i)] = h;
    InvH[detail::Ix(i)] = 1 / h;
    Report();
  }

  // A term whose value lies more than 40 bandwidths from x is exactly 0
  // (exp(-800) underflows), so the sum may leave it out without changing a
  // bit. The values go in blocks, each with its extent and the reach of its
  // widest kernel: a block out of reach holds only such terms. A NaN never
  // compares as out of reach.
  constexpr int64_t BlockSize = 32;
  const int64_t Blocks = (n + BlockSize - 1) / BlockSize;
  TDoubleArray BlockLo(detail::Ix(Blocks), uc_MaxDouble), BlockHi(detail::Ix(Blocks), -uc_MaxDouble),
      BlockReach(detail::Ix(Blocks), 0.0);
  for (int64_t i = 0; i < n; ++i) {
    const auto b = detail::Ix(i / BlockSize);
    const double xi = x[detail::Ix(i)];
    BlockLo[b] = std::isnan(xi) ? xi : std::fmin(BlockLo[b], xi);
    BlockHi[b] = std::isnan(xi) ? xi : std::fmax(BlockHi[b], xi);
    BlockReach[b] = std::isnan(H[detail::Ix(i)]) ? H[detail::Ix(i)] : std::fmax(BlockReach[b], 40 * H[detail::Ix(i)]);
  }
  TDoubleArray D(detail::Ix(Steps) + 1);
  for (int32_t s = 0; s <= Steps; ++s) {
    const double xs = Low + s * (High - Low) / Steps;
    double Sum = 0;
    for (int64_t b = 0; b < Blocks; ++b) {
      const double R = BlockReach[detail::Ix(b)];
      if (xs - BlockHi[detail::Ix(b)] > R || BlockLo[detail::Ix(b)] - xs > R) continue;
      for (int64_t i = b * BlockSize; i < std::min(n, (b + 1) * BlockSize); ++i) {
        const double u = (xs - x[detail::Ix(i)]) / H[detail::Ix(i)];
        Sum += InvH[detail::Ix(i)] * std::exp(-0.5 * (u * u));
      }
    }
    D[detail::Ix(s)] = Sum * uc_sqrt2pitom1 / static_cast<double>(n);
    Report();
  }

  double Max = 0, Min = uc_MaxDouble;
  for (int32_t s = 0; s <= Steps; ++s) {
    const double v = D[detail::Ix(s)];
    if (v > Max) {
      Max = v;
      MaxIx = s + 1;
    }
    if (v < Min) {
      Min = v;
      MinIx = s + 1;
    }
  }
  Density->Resize(Steps + 1);
  Density->CopyFromArray(D, 1);
}

}  // namespace orv
