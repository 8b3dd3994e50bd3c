// The distribution of the one-sample Kolmogorov-Smirnov statistic and the
// Lilliefors approximation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_statis.h"
#include "tables/probability.h"

namespace orv {

namespace {

// The significance level of each TSignifLevel.
constexpr double KSLevels[5] = {0.20, 0.15, 0.10, 0.05, 0.01};

// Critical values of the one-sample statistic for n = 1..20, one column per
// TSignifLevel.
constexpr double KSCritical[20][5] = {
    {0.900, 0.925, 0.950, 0.975, 0.995},  //
    {0.684, 0.726, 0.776, 0.842, 0.929},  //
    {0.565, 0.597, 0.642, 0.708, 0.828},  //
    {0.494, 0.525, 0.564, 0.624, 0.733},  //
    {0.446, 0.474, 0.510, 0.565, 0.669},  //
    {0.410, 0.436, 0.470, 0.521, 0.618},  //
    {0.381, 0.405, 0.438, 0.486, 0.577},  //
    {0.358, 0.381, 0.411, 0.457, 0.543},  //
    {0.339, 0.360, 0.388, 0.432, 0.514},  //
    {0.322, 0.342, 0.368, 0.410, 0.490},  //
    {0.307, 0.326, 0.352, 0.391, 0.468},  //
    {0.295, 0.313, 0.338, 0.375, 0.450},  //
    {0.284, 0.302, 0.325, 0.361, 0.433},  //
    {0.274, 0.292, 0.314, 0.349, 0.418},  //
    {0.266, 0.283, 0.304, 0.338, 0.404},  //
    {0.258, 0.274, 0.295, 0.328, 0.392},  //
    {0.250, 0.266, 0.286, 0.318, 0.381},  //
    {0.244, 0.259, 0.278, 0.309, 0.371},  //
    {0.237, 0.252, 0.272, 0.301, 0.363},  //
    {0.231, 0.246, 0.264, 0.294, 0.356}};

// c / sqrt(n) above n = 20.
constexpr double KSAsymptotic[5] = {1.073, 1.138, 1.224, 1.358, 1.628};

// The Lilliefors quantile's polynomials in 1 - alpha, constant term first.
constexpr double LillieforsP1[7] = {6.32207539843126,  -17.1398870006148, 38.42812675101057, -45.93241384693391,
                                    7.88697700041829,  29.79317711037858, -18.48090137098585};
constexpr double LillieforsP2[7] = {12.940399038404,   -53.458334259532, 186.923866119699, -410.582178349305,
                                    517.377862566267, -343.581476222384, 92.123451358715};

// The bounds of the exact method: its cost grows with the cube of the matrix
// order and, in the final product, with n. Orders above the bound need
// n d > 200, so n > 10000; there, as above the bound on n, the Pelz-Good
// series is within 1e-10 of the exact value.
constexpr int32_t MaxMatrixOrder = 401;
constexpr int32_t MaxMatrixN = 100000;

bool ValidLevel(TSignifLevel Level) { return Level <= Dot01; }

// V := H^p with the decimal exponent e of its scale, by recursive squaring;
// whenever cell (m div 2, m div 2) passes 1e140 (none for m = 1, whose power
// never grows) the matrix is scaled down by 1e-140.
void Power(TMatrix& H, int32_t p, TMatrix& V, int32_t& e) {
  if (p == 1) {
    V.Assign(&H);
    e = 0;
    return;
  }
  Power(H, p / 2, V, e);
  V.Multiply(&V, &V);
  e *= 2;
  if (p % 2 == 1) H.Multiply(&V, &V);
  const int32_t c = H.NrOfColumns() / 2;
  if (V.GetVal(c, c) > 1e140) {
    V.SMult(1e-140);
    e += 140;
  }
}

// P(D_n < d) by Durbin's matrix in the form of G. Marsaglia, W. W. Tsang and
// J. Wang, "Evaluating Kolmogorov's distribution", Journal of Statistical
// Software 8(18), 2003. k = Trunc(n d) + 1 gives the order m = 2k - 1.
double DurbinMatrix(int32_t n, double d, int32_t k) {
  const int32_t m = 2 * k - 1;
  const double h = k - n * d;
  // H[i, j] (row i, column j from 1) is cell (j, i).
  TMatrix H;
  H.Resize(m, m);
  for (int32_t j = 1; j <= m; ++j)
    for (int32_t i = std::max(j - 1, 1); i <= m; ++i) H.Mat[detail::Ix1(j)][detail::Ix1(i)] = 1;
  auto At = [&](int32_t i, int32_t j) -> double& { return H.Mat[detail::Ix1(j)][detail::Ix1(i)]; };
  for (int32_t i = 1; i <= m; ++i) {
    At(i, 1) -= std::pow(h, i);
    At(m, i) -= std::pow(h, m - i + 1);
  }
  if (2 * h - 1 > 0) At(m, 1) += std::pow(2 * h - 1, m);
  // Each cell with i - j + 1 = g > 0 is divided by 1, 2, .., g in turn, so
  // no factorial is ever formed; the cells that held 1 share one chain.
  TDoubleArray Chain(detail::Ix(m) + 1, 1.0);
  for (int32_t g = 1; g <= m; ++g) Chain[detail::Ix(g)] = Chain[detail::Ix(g - 1)] / g;
  auto DivideStepwise = [](double& x, int32_t g) {
    for (int32_t f = 1; f <= g; ++f) x /= f;
  };
  for (int32_t j = 1; j <= m; ++j)
    for (int32_t i = j; i <= m; ++i) {
      if (j == 1 || i == m)
        DivideStepwise(At(i, j), i - j + 1);
      else
        At(i, j) = Chain[detail::Ix(i - j + 1)];
    }
  TMatrix V;
  int32_t e = 0;
  Power(H, n, V, e);
  double v = V.GetVal(k, k);
  for (int32_t i = 1; i <= n; ++i) {
    v = v * i / n;
    if (v < 1e-140) {
      v *= 1e140;
      e -= 140;
    }
  }
  return v * std::pow(10.0, e);
}

// P(D_n < d) for large n by the expansion of W. Pelz and I. J. Good,
// "Approximating the lower tail-areas of the Kolmogorov-Smirnov one-sample
// statistic", Journal of the Royal Statistical Society B 38(2), 1976, as
// arranged by R. Simard and P. L'Ecuyer, "Computing the two-sided
// Kolmogorov-Smirnov distribution", Journal of Statistical Software 39(11),
// 2011: K0 + K1 / sqrt(n) + K2 / n + K3 / n^1.5 in z = d sqrt(n).
double PelzGood(int32_t n, double d) {
  constexpr double Pi2 = std::numbers::pi * std::numbers::pi, Pi4 = Pi2 * Pi2, Pi6 = Pi4 * Pi2;
  const double Sqrt2Pi = std::sqrt(2 * std::numbers::pi);
  const double z = d * std::sqrt(static_cast<double>(n));
  const double z2 = z * z, z4 = z2 * z2, z6 = z4 * z2;
  const double qlog = -Pi2 / (8 * z2);
  if (qlog < std::log(std::numeric_limits<double>::min())) return 0;
  const double q = std::exp(qlog);
  // The sums over the odd m = 2k - 1 of c(m) q^(m^2) by Horner's scheme in
  // q^(8k), the exponents' differences.
  const auto MaxK = static_cast<int32_t>(std::ceil(16 * z / std::numbers::pi));
  double K[4] = {0, 0, 0, 0};
  for (int32_t k = MaxK; k >= 1; --k) {
    const double m2 = static_cast<double>(2 * k - 1) * (2 * k - 1), m4 = m2 * m2, m6 = m4 * m2;
    const double qk = std::pow(q, 8.0 * k);
    const double c[4] = {1, -z2 + Pi2 / 4 * m2,
                         6 * z6 + 2 * z4 + (2 * z4 - 5 * z2) * Pi2 / 4 * m2 + Pi4 * (1 - 2 * z2) / 16 * m4,
                         -30 * z6 - 90 * z6 * z2 + Pi2 * (135 * z4 - 96 * z6) / 4 * m2 +
                             Pi4 * (-60 * z2 + 212 * z4) / 16 * m4 + Pi6 * (5 - 30 * z2) / 64 * m6};
    for (int t = 0; t < 4; ++t) K[t] = K[t] * qk + c[t];
  }
  const double Den[4] = {z, 6 * z4, 72 * z6 * z, 6480 * z6 * z4};
  for (int t = 0; t < 4; ++t) K[t] = K[t] * q * Sqrt2Pi / Den[t];
  // The terms over all k of K2 and K3.
  const double q2 = std::exp(-Pi2 / (2 * z2));
  double S2 = 0, S3 = 0;
  for (int32_t k = MaxK; k >= 1; --k) {
    const double k2 = static_cast<double>(k) * k;
    const double w = k2 * std::pow(q2, k2);
    S2 += w;
    S3 += (3 * z2 - Pi2 * k2) * w;
  }
  K[2] += S2 * Pi2 * Sqrt2Pi / (-36 * z2 * z);
  K[3] += S3 * Pi2 * Sqrt2Pi / (216 * z6);
  const double Sqrtn = std::sqrt(static_cast<double>(n));
  return K[0] + K[1] / Sqrtn + K[2] / n + K[3] / (n * Sqrtn);
}

}  // namespace

double KSPValue(int32_t n, double d) {
  if (std::isnan(d)) return d;
  if (n <= 0) return -1;
  if (d <= 0) return 1;
  if (d >= 1) return 0;
  const double s = n * d * d;
  if (s > 7.24 || (s > 3.76 && n > 99)) {
    const double Rate = 2.000071 + 0.331 / std::sqrt(static_cast<double>(n)) + 1.409 / n;
    return detail::ClampProbability(2 * std::exp(-Rate * s));
  }
  const int64_t k = Trunc(n * d) + 1;
  if (2 * k - 1 > MaxMatrixOrder || n > MaxMatrixN) return detail::ClampProbability(1 - PelzGood(n, d));
  return detail::ClampProbability(1 - DurbinMatrix(n, d, static_cast<int32_t>(k)));
}

double KolmogSmir1SampleTestStat(int32_t n, TSignifLevel level) {
  if (n <= 0 || !ValidLevel(level)) return -1;
  if (n <= 20) return KSCritical[n - 1][level];
  return KSAsymptotic[level] / std::sqrt(static_cast<double>(n));
}

double KSQuantile(int32_t n, TSignifLevel level) {
  double d = KolmogSmir1SampleTestStat(n, level);
  if (d < 0) return d;
  for (int Iteration = 0; Iteration < 1000; ++Iteration) {
    const double v = KSPValue(n, d) - KSLevels[level];
    if (std::fabs(v) <= 1e-4) break;
    d = (v + 1) * d;
  }
  return d;
}

// G. E. Dallal and L. Wilkinson, "An analytic approximation to the
// distribution of Lilliefors's test statistic for normality", The American
// Statistician 40(4), 1986.
double LillieforsPValue(int32_t n, double d) {
  if (n < 6) return -1;
  double nn = n;
  if (n > 100) {
    d = d * std::pow(nn / 100, 0.49);
    nn = 100;
  }
  const double e = -7.01256 * d * d * (nn + 2.78019) + 2.99587 * d * std::sqrt(nn + 2.78019) - 0.122119 +
                   0.97498 / std::sqrt(nn) + 1.67997 / nn;
  return detail::ClampProbability(std::exp(std::min(e, 0.0)));
}

double LillieforsQuantile(int32_t n, double alpha) {
  const double u = 1 - alpha;
  return 1 / std::sqrt(n * Polynomial(LillieforsP1, 6, u) + Polynomial(LillieforsP2, 6, u));
}

}  // namespace orv
