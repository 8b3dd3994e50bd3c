// The special functions and the normal distribution written as plainly as
// their published methods state them (the series and fractions of Numerical
// Recipes, the bisection from the rational start value): the yardstick of the
// library's versions, which must stay within 10 % of these.
#pragma once

#include <cmath>

namespace orv::bench {

inline double PlainLnGamma(double x) {
  static const double c[6] = {76.18009173, -86.50532033, 24.01409822, -1.231739516, 0.00120858003, -5.36382e-6};
  if (x <= 0) return 0;
  double ser = 1;
  for (int i = 0; i < 6; ++i) ser += c[i] / (x + i);
  return (x - 0.5) * std::log(x + 4.5) - x - 4.5 + std::log(2.5066282746310007 * ser);
}

inline double PlainIncompleteGamma(double x, double a) {
  if (x <= 0 || a <= 0) return 0;
  const double g = std::exp(a * std::log(x) - x - PlainLnGamma(a));
  if (x < a + 1) {
    double ap = a, term = 1 / a, sum = term;
    do {
      ap += 1;
      term = term * x / ap;
      sum += term;
    } while (std::fabs(term) >= std::fabs(sum) * 1e-8);
    return g * sum;
  }
  double gold = 0, a0 = 1, a1 = x, b0 = 0, b1 = 1, fac = 1, value = 0;
  for (int i = 1; i <= 99; ++i) {
    a0 = (a1 + a0 * (i - a)) * fac;
    b0 = (b1 + b0 * (i - a)) * fac;
    a1 = x * a0 + i * fac * a1;
    b1 = x * b0 + i * fac * b1;
    if (a1 != 0) {
      fac = 1 / a1;
      value = b1 * fac;
      if (std::fabs((value - gold) / value) < 1e-8) break;
      gold = value;
    }
  }
  return 1 - g * value;
}

inline double PlainBetaFraction(double x, double a, double b) {
  double am = 1, bm = 1, az = 1, bz = 1 - (a + b) * x / (a + 1);
  for (int m = 1; m <= 100; ++m) {
    double d = m * (b - m) * x / ((a - 1 + 2 * m) * (a + 2 * m));
    const double ap = az + d * am, bp = bz + d * bm;
    d = -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 1 + 2 * m));
    const double app = ap + d * az, bpp = bp + d * bz, aold = az;
    am = ap / bpp;
    bm = bp / bpp;
    az = app / bpp;
    bz = 1;
    if (std::fabs(az - aold) < 1e-8 * std::fabs(az)) break;
  }
  return az;
}

inline double PlainIncompleteBeta(double x, double a, double b) {
  if (x < 0) return 0;
  if (x > 1) return 1;
  const double bt = x == 0 || x == 1 ? 0
                                     : std::exp(PlainLnGamma(a + b) - PlainLnGamma(a) - PlainLnGamma(b) +
                                                a * std::log(x) + b * std::log(1 - x));
  if (x < (a + 1) / (a + b + 2)) return bt * PlainBetaFraction(x, a, b) / a;
  return 1 - bt * PlainBetaFraction(1 - x, b, a) / b;
}

inline double PlainErf(double x) {
  const double P = PlainIncompleteGamma(x * x, 0.5);
  return x < 0 ? -P : P;
}

inline double PlainNormalIntegral(double x) {
  const double P = PlainIncompleteGamma(x * x / 2, 0.5);
  return x > 0 ? 0.5 * (1 + P) : 0.5 * (1 - P);
}

inline double PlainNormalQuantile(double p) {
  if (p <= 0 || p >= 1) return 0;
  const double q = std::fmax(p, 1 - p);
  const double t = std::sqrt(-2 * std::log(1 - q));
  double z = t - (2.515517 + 0.802853 * t + 0.010328 * t * t) /
                     (1 + 1.432788 * t + 0.189269 * t * t + 0.001308 * t * t * t);
  if (p < 0.5) z = -z;
  const double w = 0.1 * std::fmax(std::fabs(z), 0.1);
  double lo = z - w, hi = z + w, m = z;
  for (int k = 0; k < 200; ++k) {
    m = (lo + hi) / 2;
    const double F = PlainNormalIntegral(m);
    if (std::fabs(F - p) / p < 1e-8) break;
    (F > p ? hi : lo) = m;
  }
  return m;
}

}  // namespace orv::bench
