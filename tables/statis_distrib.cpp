// The normal, Weibull and hypergeometric distributions, the Fisher transform
// and the confidence interval of a mean.
#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_statis.h"
#include "tables/probability.h"
#include "tables/statis_gamma.h"

namespace orv {

namespace {

double NormalIntegral(double x) {
  const detail::TGammaTails T = detail::PinnedGammaTails(x * x / 2, 0.5);
  return detail::ClampProbability(x > 0 ? 0.5 * (1 + T.P) : 0.5 * T.Q);
}

// The root of nDistriIntegral(z) = p for 0 < p <= 0.5 by bisection around
// the start value of Abramowitz and Stegun (Handbook of Mathematical
// Functions, 1964, 26.2.23). The bracket is wider than that value's error
// (4.5e-4) everywhere.
double LowerQuantile(double p) {
  const double t = std::sqrt(-2 * std::log(p));
  const double r =
      t - (2.515517 + 0.802853 * t + 0.010328 * t * t) / (1 + 1.432788 * t + 0.189269 * t * t + 0.001308 * t * t * t);
  const double z0 = p >= 0.5 ? r : -r;
  const double w = 0.1 * std::fmax(std::fabs(z0), 0.1);
  double lo = z0 - w, hi = z0 + w;
  // From a bracket of at most 8 wide, 64 halvings reach adjacent doubles.
  for (int Halvings = 0;; ++Halvings) {
    const double m = (lo + hi) / 2;
    const double F = NormalIntegral(m);
    if (std::fabs(F - p) / p < 1e-8 || Halvings == 100 || m == lo || m == hi) return m;
    if (F > p)
      hi = m;
    else
      lo = m;
  }
}

}  // namespace

double nDistriDensity(double x) { return 0.3989422804014327 * std::exp(-x * x / 2); }

double nDistriIntegral(double x) { return NormalIntegral(x); }

double nDistriQuantile(double p) {
  if (std::isnan(p)) return p;
  if (p <= 0 || p >= 1) return 0;
  // 1 - p is exact above 0.5; the lower tail has the relative resolution.
  return p > 0.5 ? -LowerQuantile(1 - p) : LowerQuantile(p);
}

double WeibullDensity(double x, double beta, double eta) {
  if (std::isnan(x) || std::isnan(beta) || std::isnan(eta)) return std::numeric_limits<double>::quiet_NaN();
  if (!(x > 0 && eta > 0 && beta > 0)) return 0;
  const double z = beta * std::log(x / eta);
  const double f = beta / std::exp(beta * std::log(eta)) * std::exp((beta - 1) * std::log(x)) * std::exp(-std::exp(z));
  if (std::isfinite(f)) return f;
  if (!std::isfinite(x) || !std::isfinite(beta) || !std::isfinite(eta)) return 0;
  // eta^beta or x^(beta - 1) alone left the range: (beta / x) (x / eta)^beta e^-(x / eta)^beta.
  return std::exp(std::log(beta) - std::log(x) + z - std::exp(z));
}

double HyperGeoDistriDensity(double p, int32_t npop, int32_t nsample, int32_t k) {
  if (!(p >= 0 && p <= 1)) throw EORVStatisError("HyperGeoDistriDensity: probability p must be between 0.0 and 1.0");
  if (npop <= 0) throw EORVStatisError("HyperGeoDistriDensity: npop must be greater than 0");
  if (npop < nsample) throw EORVStatisError("HyperGeoDistriDensity: nsample must not be greater than npop");
  if (nsample <= 0) throw EORVStatisError("HyperGeoDistriDensity: nsample must not be less than 1");
  const auto m = static_cast<int32_t>(Round(p * npop));
  if (k < 0 || k > m || k > nsample || int64_t{k} < int64_t{nsample} + m - npop) return 0;
  // ln Gamma is good to 3e-10: a certain k comes out as exp(1e-10) without the bound.
  return detail::ClampProbability(
      std::exp(LnBinomCoeff(m, k) + LnBinomCoeff(npop - m, nsample - k) - LnBinomCoeff(npop, nsample)));
}

double CalcFishQ(double Mean1, double Mean2, double StdDev1, double StdDev2) {
  double Den = StdDev1 * StdDev1 + StdDev2 * StdDev2;
  if (Den < 1e-6) Den = 1e-6;
  return (Mean1 - Mean2) * (Mean1 - Mean2) / Den;
}

double FisherTransform(double r) {
  if (!(r > -1 && r < 1)) throw EORVStatisError("FisherTransform: argument out of range");
  return 0.5 * std::log((1 + r) / (1 - r));
}

double FisherTransformInv(double z) {
  const double e = std::exp(2 * z);
  if (std::isinf(e)) return 1;
  return (e - 1) / (e + 1);
}

double ConfidenceInterval(double alpha, double s, int32_t n) {
  if (n <= 0) return -1;
  return nDistriQuantile(1 - alpha / 2) * s / std::sqrt(static_cast<double>(n));
}

}  // namespace orv
