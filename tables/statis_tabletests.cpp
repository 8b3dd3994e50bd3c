// The table-driven tests: Dean-Dixon, Grubbs, Durbin-Watson,
// Kolmogorov-Smirnov and Lilliefors normality, Wilcoxon signed rank.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"
#include "tables/statis_sorted.h"
#include "tables/statis_tabletests_data.h"

namespace orv {

namespace {

constexpr int32_t DixonFirst = 3, DixonLast = 100;
constexpr int32_t DWFirst = 6, DWTable = 100, DWLast = 2000, DWMaxK = 20;
constexpr int32_t WilFirst = 8, WilTable = 100, WilLast = 1000000;

// Dixon's ratios r10, r11, r21 and r22 (W. J. Dixon, "Processing data for
// outliers", Biometrics 9, 1953) of the lowest and the highest of the sorted
// values x[0..n-1].
double Ratio(double Gap, double Range) { return Range == 0 ? 0.0 : Gap / Range; }

void DixonRatios(const std::vector<double>& x, double& Low, double& High) {
  const std::size_t n = x.size();
  const double x1 = x[0], x2 = x[1], xn = x[n - 1], xn1 = x[n - 2];
  if (n <= 7) {
    Low = Ratio(x2 - x1, xn - x1);
    High = Ratio(xn - xn1, xn - x1);
  } else if (n <= 10) {
    Low = Ratio(x2 - x1, xn1 - x1);
    High = Ratio(xn - xn1, xn - x2);
  } else if (n <= 13) {
    Low = Ratio(x[2] - x1, xn1 - x1);
    High = Ratio(xn - x[n - 3], xn - x2);
  } else {
    Low = Ratio(x[2] - x1, x[n - 3] - x1);
    High = Ratio(xn - x[n - 3], xn - x[2]);
  }
}

// The first element of Data equal to Value (1-based), 0 when none is.
int32_t FirstEqual(const TVector& Data, double Value) {
  for (int32_t i = 1; i <= Data.NrOfElem(); ++i)
    if (Data.GetVal(i) == Value) return i;
  return 0;
}

// The normal 5 % point, solved once.
double NormalFivePercent() {
  static const double z = nDistriQuantile(0.05);
  return z;
}

// D of the n sorted values X(1), ..., X(n) against the standard normal
// distribution function.
template <class ValueFn>
double KSStatistic(int32_t n, ValueFn&& X) {
  double D = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const double x = X(i);
    if (std::isnan(x)) return x;
    const double F = nDistriIntegral(x);
    D = std::max({D, std::fabs(static_cast<double>(i) / n - F), std::fabs(static_cast<double>(i - 1) / n - F)});
  }
  return D;
}

}  // namespace

double DeanDixonCriticalValues(int32_t n, TSignifLevelEx level) {
  if (n < DixonFirst || n > DixonLast || level > Dot500) return -1;
  return detail::DeanDixonTable[detail::Ix(n - DixonFirst)][level];
}

int32_t DeanDixonTest(const TVector* Data, TSignifLevelEx level, double& Q) {
  Q = 0;
  if (Data == nullptr) return 0;
  const int32_t n = Data->NrOfElem();
  if (n <= 2) throw EORVStatisError("DeanDixonTest: number of data points is too low");
  if (n > DixonLast) throw EORVStatisError("DeanDixonTest: number of data points is too high");
  if (level > Dot500) throw EORVStatisError("DeanDixonTest: invalid level of significance");
  std::vector<double> x(detail::Ix(n));
  for (int32_t i = 1; i <= n; ++i) {
    x[detail::Ix1(i)] = Data->GetVal(i);
    if (!std::isfinite(x[detail::Ix1(i)])) {
      Q = std::numeric_limits<double>::quiet_NaN();
      return 0;
    }
  }
  std::sort(x.begin(), x.end());  // finite values: a private copy, no events to report
  double Low, High;
  DixonRatios(x, Low, High);
  const bool HighSuspect = High > Low;
  Q = HighSuspect ? High : Low;
  if (!(Q > DeanDixonCriticalValues(n, level))) return 0;
  return FirstEqual(*Data, HighSuspect ? x.back() : x.front());
}

bool DurbinWatsonCrit5pct(int32_t n, int32_t k, double& dL, double& dU) {
  if (k < 1 || k > DWMaxK || n < 5 || n > DWLast || int64_t{n} - k < 5) return false;
  const std::size_t K = detail::Ix(k - 1);
  if (n <= DWTable) {
    dL = detail::DurbinWatsonLower[detail::Ix(n - DWFirst)][K];
    dU = detail::DurbinWatsonUpper[detail::Ix(n - DWFirst)][K];
    return true;
  }
  const double Base = 2 + NormalFivePercent() * std::sqrt(4.0 / n);
  if (n <= 200) {
    dL = Base + Polynomial(detail::DurbinWatsonLowerPoly1[K], 6, n - 150.0);
    dU = Base + Polynomial(detail::DurbinWatsonUpperPoly1[K], 6, n - 150.0);
  } else if (n <= 500) {
    dL = Base + Polynomial(detail::DurbinWatsonLowerPoly2[K], 6, n - 350.0);
    dU = Base + Polynomial(detail::DurbinWatsonUpperPoly2[K], 6, n - 350.0);
  } else {
    const auto& L = detail::DurbinWatsonLowerPair[K];
    const auto& U = detail::DurbinWatsonUpperPair[K];
    dL = Base + 1 / (n * L[1] + L[0]);
    dU = Base + 1 / (n * U[1] + U[0]);
  }
  return true;
}

double DurbinWatson(const TDoubleArray& Residuals) {
  const std::size_t n = Residuals.size();
  if (n < 3) return 2.0;
  auto Sums = [&](double Scale) {
    double D = 0, S = Residuals[0] * Scale * (Residuals[0] * Scale);
    for (std::size_t i = 1; i < n; ++i) {
      const double e = Residuals[i] * Scale, d = e - Residuals[i - 1] * Scale;
      D += d * d;
      S += e * e;
    }
    return std::pair{D, S};
  };
  auto [D, S] = Sums(1.0);
  if (!(S >= std::numeric_limits<double>::min() && std::isfinite(D) && std::isfinite(S))) {
    // Squares that underflow or overflow: the ratio is the same for
    // residuals scaled by a power of two that brings the largest near 1.
    double Largest = 0;
    for (double e : Residuals) Largest = std::max(Largest, std::fabs(e));
    if (Largest > 0 && std::isfinite(Largest)) std::tie(D, S) = Sums(std::ldexp(1.0, -std::ilogb(Largest)));
  }
  return S == 0 ? 0.0 : D / S;
}

double GrubbsCriticalValues(int32_t n, double alpha, bool TwoSided) {
  if (!(alpha > 0 && alpha < 1) || n <= 2) return -1;
  const double df = n - 2.0;
  // The upper point by symmetry: 1 - alpha / (d n) would lose the digits of
  // a small tail.
  const double t = -tDistriQuantile(alpha / ((TwoSided ? 2.0 : 1.0) * n), df);
  return (n - 1.0) / std::sqrt(static_cast<double>(n)) * std::sqrt(t * t / (df + t * t));
}

int32_t GrubbsTest(const TVector* Data, double alpha, double& G) {
  G = 0;
  if (!(alpha > 0 && alpha < 1)) throw EORVStatisError("GrubbsTest: invalid level of significance");
  if (Data == nullptr) return 0;
  const int32_t n = Data->NrOfElem();
  if (n <= 3) throw EORVStatisError("GrubbsTest: number of data points is too low");
  double Mean, Variance;
  Data->MeanVar(1, n, Mean, Variance);
  const double s = std::sqrt(Variance);
  if (!(s > 0 && std::isfinite(s) && std::isfinite(Mean))) return 0;
  int32_t At = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const double g = std::fabs(Data->GetVal(i) - Mean) / s;
    if (g > G) {
      G = g;
      At = i;
    }
  }
  return G > GrubbsCriticalValues(n, alpha, true) ? At : 0;
}

double PerformKSNormalityTest(TVector* Data, bool Sorted) {
  if (Data == nullptr) return -1;
  if (Sorted || detail::SortedInPlace(*Data))
    return KSStatistic(Data->NrOfElem(), [&](int32_t i) { return Data->GetVal(i); });
  // A handler's resize ended the sort: the values it left, sorted here.
  const TDoubleArray x = detail::SortedValues(*Data);
  return KSStatistic(static_cast<int32_t>(x.size()), [&](int32_t i) { return x[detail::Ix1(i)]; });
}

double PerformLillieforsTest(TVector* Data, bool Sorted) {
  if (Data == nullptr) return -1;
  double Mean, StdDev;
  Data->Standardize(Mean, StdDev);
  // Standardize has left such a vector as it was: D of unscaled values means nothing.
  if (!(StdDev > 0 && std::isfinite(StdDev) && std::isfinite(Mean))) return std::numeric_limits<double>::quiet_NaN();
  return PerformKSNormalityTest(Data, Sorted);
}

int32_t WilcoxonSRQuantile(int32_t n, double alpha, bool TwoSided) {
  if (n < WilFirst || n > WilLast || !(alpha >= 4.99999e-4 && alpha <= 0.20000001)) return -1;
  const double a = TwoSided ? alpha : 2 * alpha;
  double Value;
  if (n <= WilTable) {
    const int Count = n == 8 ? 3 : n <= 10 ? 4 : 5;
    TCurveFit Fit(nullptr);
    for (int j = 0; j < Count; ++j)
      Fit.EnterStatValue(std::log(detail::WilcoxonLevels[j]), detail::WilcoxonTable[detail::Ix(n - WilFirst)][j]);
    double k0, k1, k2, FitQual;
    Fit.CalcParabolFit(k0, k1, k2, FitQual);
    const double la = std::log(a);
    Value = std::max(0.0, RoundHalfEven(k2 * la * la + k1 * la + k0));
  } else {
    const double z = -nDistriQuantile(a / 2);
    const double N = n;
    Value = RoundHalfEven(N * (N + 1) / 4 - z * std::sqrt(N * (N + 1) * (2 * N + 1) / 24));
  }
  // From about n = 92,800 the normal value passes the Integer range.
  if (!(Value <= std::numeric_limits<int32_t>::max())) return -1;
  return static_cast<int32_t>(Round(Value));
}

}  // namespace orv
