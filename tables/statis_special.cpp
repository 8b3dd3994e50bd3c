// The gamma, beta and error functions and binomial coefficients.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_statis.h"
#include "tables/probability.h"
#include "tables/statis_binomial.h"
#include "tables/statis_gamma.h"
#include "tables/statis_tails.h"

namespace orv {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double FullBetaLimit = 1e8;

// Continued fraction of the incomplete beta function (the even and odd steps
// of the recurrence in Numerical Recipes, W. H. Press et al., Cambridge
// University Press, 1986, section 6.3, without Lentz's method). Change and
// Before: the relative changes of its last two steps, Change below 1e-8
// when it settled.
double BetaFraction(double x, double a, double b, int64_t MaxIter, double& Change, double& Before) {
  double am = 1, bm = 1, az = 1;
  double bz = 1 - (a + b) * x / (a + 1);
  Change = Before = std::numeric_limits<double>::infinity();
  for (int64_t m = 1; m <= MaxIter; ++m) {
    const double em = static_cast<double>(m), tem = em + em;
    double d = em * (b - em) * x / ((a - 1 + tem) * (a + tem));
    const double ap = az + d * am;
    const double bp = bz + d * bm;
    d = -(a + em) * (a + b + em) * x / ((a + tem) * (a + 1 + tem));
    const double app = ap + d * az;
    const double bpp = bp + d * bz;
    const double aold = az;
    am = ap / bpp;
    bm = bp / bpp;
    az = app / bpp;
    bz = 1;
    Before = Change;
    Change = std::fabs(az - aold) / std::fabs(az);
    if (std::fabs(az - aold) < 1e-8 * std::fabs(az)) break;
  }
  return az;
}

// I_x(a, b) by the documented iterations, and whether they vouch for it to
// PinnedTolerance (the fraction settled, and what it still lacks and the
// power factor's rounding, in the result's share, below it); 0 < x < 1.
double PinnedBeta(double x, double a, double b, bool& Reached) {
  using detail::LanczosLnGamma;
  const double LnX = std::log(x), Ln1X = std::log(1 - x);
  const double Lab = LanczosLnGamma(a + b), La = LanczosLnGamma(a), Lb = LanczosLnGamma(b);
  const double bt = std::exp(Lab - La - Lb + a * LnX + b * Ln1X);
  const bool Lower = x < (a + 1) / (a + b + 2);
  Reached = true;
  // The fraction is finite; where its factor underflows the result is exact.
  if (bt == 0) return Lower ? 0 : 1;
  const int64_t MaxIter = std::max<int64_t>(100, detail::StepBound(0, std::max(a, b)));
  double Change = 0, Before = 0;
  const double Rounding = detail::ExponentError({Lab, La, Lb, a * LnX, b * Ln1X});
  if (Lower) {
    const double I = bt * BetaFraction(x, a, b, MaxIter, Change, Before) / a;
    Reached = Change < 1e-8 && detail::FractionLeft(Change, Before) + Rounding <= detail::PinnedTolerance;
    return I;
  }
  const double J = bt * BetaFraction(1 - x, b, a, MaxIter, Change, Before) / b, I = 1 - J;
  Reached = Change < 1e-8 && (detail::FractionLeft(Change, Before) + Rounding) * J <= detail::PinnedTolerance * I;
  return I;
}

}  // namespace

double LnGamma(double x) {
  if (x <= 0) return 0;
  if (std::isinf(x)) return x;
  return detail::LanczosLnGamma(x);
}

double IncompleteGamma(double x, double a) {
  const detail::TGammaTails T = detail::PinnedGammaTails(x, a);
  // Where the documented iterations cannot promise their accuracy (a near
  // x above about 1000), the full-precision function; NaN where that cannot
  // settle either.
  return detail::ClampProbability(T.Reached ? T.P : detail::FullGammaTails(a, x).Lower);
}

double IncompleteBeta(double x, double a, double b) {
  if (std::isnan(x) || !(a > 0 && b > 0) || std::isinf(a) || std::isinf(b)) return NaN;
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  bool Reached = true;
  const double I = PinnedBeta(x, a, b, Reached);
  if (Reached) return detail::ClampProbability(I);
  // The full-precision function loses digits to the rounding of x in its
  // fraction beyond shapes of FullBetaLimit: NaN there.
  if (a + b > FullBetaLimit) return NaN;
  return detail::ClampProbability(detail::FullBetaTails(detail::TBetaShape(a, b), x, 1 - x).Lower);
}

double LnBeta(double a, double b) {
  if (a < 0 || b < 0) return 0;
  return LnGamma(a) + LnGamma(b) - LnGamma(a + b);
}

double Erf(double x) {
  const double P = detail::PinnedGammaTails(x * x, 0.5).P;
  return x < 0 ? -P : P;
}

// erfc by the Chebyshev fit of Numerical Recipes (W. H. Press et al.,
// Cambridge University Press, 1986, section 6.2, erfcc).
double ErfApprox(double x) {
  const double t = 1 / (1 + 0.5 * std::fabs(x));
  const double e =
      t * std::exp(-x * x - 1.26551223 +
                   t * (1.00002368 +
                        t * (0.37409196 +
                             t * (0.09678418 +
                                  t * (-0.18628806 +
                                       t * (0.27886807 +
                                            t * (-1.13520398 + t * (1.48851587 + t * (-0.82215223 + t * 0.17087277)))))))));
  return x >= 0 ? 1 - e : 1 - (2 - e);
}

double LnBinomCoeff(int32_t n, int32_t k) {
  if (n < 0 || k < 0 || n < k) return -1;
  using detail::LanczosLnGamma;
  return LanczosLnGamma(n + 1.0) - LanczosLnGamma(k + 1.0) - LanczosLnGamma(static_cast<double>(n - k) + 1);
}

int32_t BinomCoeff(int32_t n, int32_t k) {
  if (n < 0 || k < 0 || n < k) return 0;
  // Exact, not rounded from exp(LnBinomCoeff): that is off by one already
  // at C(55302, 2), and for k = 1 from n = 8904495.
  return static_cast<int32_t>(std::min<int64_t>(detail::Binomial<int64_t>(n, k, INT32_MAX), INT32_MAX));
}

}  // namespace orv
