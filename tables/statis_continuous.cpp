// Student's t, chi-square and F distributions.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "orvcalckit/ORV_statis.h"
#include "tables/probability.h"
#include "tables/statis_tails.h"

namespace orv {

namespace {

using detail::TBetaShape;
using detail::TTails;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

bool BadDf(double df) { return !(df > 0) || std::isinf(df); }

// Student's t as a beta variable: x = df / (df + t^2), y = t^2 / (df + t^2)
// (both without cancellation, t^2 beyond the double range included);
// P(|T| > |t|) = I_x(df/2, 1/2).
struct TStudent {
  TBetaShape Shape;
  explicit TStudent(double df) : Shape(df / 2, 0.5) {}
  // -ln B(a, 1/2) = ln(Scale (c/a)^a (c/b)^b), c = a + 1/2.
  double LnInvB() const { return std::log(Shape.Scale * std::sqrt(2 * Shape.a + 1)) + Shape.a * std::log1p(0.5 / Shape.a); }
  // Upper tail of |t| (Lower of the result) and its complement, the mass
  // between 0 and |t| (Upper), both halved, and the density at t (Power).
  TTails Halves(double t) const {
    const double df = 2 * Shape.a, at = std::fabs(t);
    if (at > 1e150) {
      // x = df / t^2 may lie below the double range: the leading term
      // x^a / (a B(a, 1/2)) of I_x, exact to the last digit here, in logs.
      const double a = Shape.a;
      const double LnPower = a * (std::log(df) - 2 * std::log(at)) + LnInvB();
      const double Tail = std::exp(LnPower) / a;
      return {Tail / 2, 0.5 - Tail / 2, std::exp(LnPower) / at};
    }
    const double den = df + at * at;
    const double x = df / den, y = at * at / den;
    const TTails B = detail::FullBetaTails(Shape, x, y);
    // d I_x / dt = -2 x^a y^b / (B t), so the density is Power / |t|.
    return {B.Lower / 2, B.Upper / 2, at > 0 ? B.Power / at : NaN};
  }
};

// The F distribution as a beta variable: u = d1 x / (d1 x + d2), v = 1 - u.
void FToBeta(double x, double df1, double df2, double& u, double& v) {
  const double s = df1 * x;
  if (s > df2) {
    const double r = df2 / s;
    u = 1 / (1 + r);
    v = r / (1 + r);
  } else {
    const double r = s / df2;
    u = r / (1 + r);
    v = 1 / (1 + r);
  }
}

// Both tails of the F distribution, with the edge rules of its routines.
TTails FTails(double x, double df1, double df2) {
  if (std::isnan(x) || BadDf(df1) || BadDf(df2)) return {NaN, NaN, NaN};
  if (x <= 0) return {0, 1, 0};
  double u, v;
  FToBeta(x, df1, df2, u, v);
  return detail::FullBetaTails(TBetaShape(df1 / 2, df2 / 2), u, v);
}

// The density of a variable whose density behaves as x^(a - 1) at 0, a the
// half degrees of freedom: what it gives at x = 0.
double DensityAtZero(double a, double AtA1) { return a < 1 ? Inf : a == 1 ? AtA1 : 0; }

}  // namespace

double tDistriDensity(double t, double df) {
  if (std::isnan(t) || BadDf(df)) return NaN;
  if (std::isinf(t)) return 0;
  const double a = df / 2;
  // 1 / (sqrt(df) B(a, 1/2)) = Scale (c/a)^a (c/b)^b / sqrt(df), c = a + 1/2.
  const TBetaShape S(a, 0.5);
  const double c = a + 0.5;
  const double Norm = S.Scale * std::sqrt(2 * c / df) * std::exp(a * std::log1p(0.5 / a));
  const double at = std::fabs(t);
  if (at > 1e150) return Norm * std::exp(-c * (2 * std::log(at) - std::log(df) + std::log1p(df / at / at)));
  // Beyond t^2 = df the power keeps its digits where exp(-c log1p) would
  // amplify the rounding of a large exponent.
  const double L = at * at / df;
  return Norm * (L > 1 ? std::pow(1 + L, -c) : std::exp(-c * std::log1p(L)));
}

double tDistriIntegral(double t, double df) {
  if (std::isnan(t) || BadDf(df)) return NaN;
  const TTails H = TStudent(df).Halves(t);
  return detail::ClampProbability(t < 0 ? H.Lower : 0.5 + H.Upper);
}

double tDistriUpperTail(double t, double df) { return tDistriIntegral(-t, df); }

double tDistriQuantile(double p, double df) {
  if (std::isnan(p) || BadDf(df) || p < 0 || p > 1) return NaN;
  if (p == 0) return -Inf;
  if (p == 1) return Inf;
  if (p == 0.5) return 0;
  // The upper tail q = P(T > t) of the positive t, exact also above 0.5.
  const double q = p < 0.5 ? p : 1 - p;
  const double Sign = p < 0.5 ? -1 : 1;
  const TStudent Dist(df);

  // Start: the asymptote of the tail, P(T > t) ~ df^(df/2 - 1) t^-df / B,
  // where it is close, else the Cornish-Fisher expansion of the normal
  // quantile (Abramowitz and Stegun, 26.7.5) from the rational estimate of
  // 26.2.23; exact for df = 1 and 2.
  double t;
  if (df == 1) {
    t = 1 / std::tan(std::numbers::pi * q);
  } else if (df == 2) {
    t = (1 - 2 * q) / std::sqrt(2 * q * (1 - q));
  } else {
    const double Tail = std::exp(0.5 * std::log(df) - (std::log(q) + std::log(df) - Dist.LnInvB()) / df);
    if ((df + 1) * df < 0.2 * Tail * Tail) {
      t = Tail;
    } else {
      const double w = std::sqrt(-2 * std::log(q));
      const double z = w - (2.515517 + w * (0.802853 + w * 0.010328)) /
                               (1 + w * (1.432788 + w * (0.189269 + w * 0.001308)));
      const double z2 = z * z;
      t = z + z * (z2 + 1) / (4 * df) + z * ((5 * z2 + 16) * z2 + 3) / (96 * df * df) +
          z * (((3 * z2 + 19) * z2 + 17) * z2 - 15) / (384 * df * df * df);
      t = std::min(std::max(t, 1e-300), Tail);
    }
  }
  if (!(t > 0)) t = std::numeric_limits<double>::min();
  if (std::isinf(t)) return Sign * Inf;

  // Halley's method on the nearer tail: on its logarithm out in the tail,
  // on the mass between 0 and t (0.5 - q is exact there) near the centre.
  const double Centre = 0.5 - q;
  const bool InLogs = q < 0.25;
  double Lo = 0, Hi = Inf;
  for (int Step = 0; Step < 200; ++Step) {
    const TTails H = Dist.Halves(t);
    double Next;
    bool Stepped = false;
    if (InLogs && H.Lower == 0) {  // beyond the double range of the tail
      Hi = t;
      Next = NaN;
    } else {
      const double r = InLogs ? std::log(H.Lower / q) : Centre - H.Upper;
      if (r == 0) break;
      (r > 0 ? Lo : Hi) = t;
      // Halley's step: the Newton step over 1 + step g'' / (2 g'), with
      // g''/g' = f'/f = -(df + 1) t / (df + t^2) for the mass and that plus
      // f / tail for the logarithm of the tail.
      const double Newton = (InLogs ? r * H.Lower : r) / H.Power;
      const double Curve = -(df + 1) * t / (df + t * t) + (InLogs ? H.Power / H.Lower : 0);
      Next = t + Newton / (1 + Newton * Curve / 2);
      if (Next == t) break;  // below the rounding of t: converged
    }
    if (Next > Lo && Next < Hi) {
      Stepped = true;
    } else {
      if (std::isinf(Hi)) {
        Next = 2 * t;
      } else {
        Next = Lo > 0 && Hi > 4 * Lo ? std::sqrt(Lo * Hi) : Lo + (Hi - Lo) / 2;
      }
    }
    if (std::isinf(Next)) return Sign * Inf;
    // The steps converge cubically: one of 1e-9 leaves an error far below
    // the rounding of the tails.
    const bool Done = Stepped && std::fabs(Next - t) <= 1e-9 * Next;
    t = Next;
    if (Done || (Hi < Inf && Hi - Lo <= 2e-16 * Hi)) break;
  }
  return Sign * t;
}

double Chi2DistriDensity(double x, double df) {
  if (std::isnan(x) || BadDf(df)) return NaN;
  if (x < 0 || std::isinf(x)) return 0;
  const double a = df / 2;
  if (x == 0) return DensityAtZero(a, 0.5);
  return detail::GammaPower(a, x / 2) / x;
}

double Chi2DistriIntegral(double x, double df) {
  if (std::isnan(x) || BadDf(df)) return NaN;
  return detail::ClampProbability(detail::FullGammaTails(df / 2, x / 2).Lower);
}

double Chi2DistriUpperTail(double x, double df) {
  if (std::isnan(x) || BadDf(df)) return NaN;
  return detail::ClampProbability(detail::FullGammaTails(df / 2, x / 2).Upper);
}

double FDistriDensity(double x, double df1, double df2) {
  if (std::isnan(x) || BadDf(df1) || BadDf(df2)) return NaN;
  if (x < 0 || std::isinf(x)) return 0;
  if (x == 0) return DensityAtZero(df1 / 2, 1);
  double u, v;
  FToBeta(x, df1, df2, u, v);
  // d I_u / dx = u^a v^b / (B x) with u = d1 x / (d1 x + d2).
  return TBetaShape(df1 / 2, df2 / 2).Power(u, v) / x;
}

double FDistriIntegral(double x, double df1, double df2) {
  return detail::ClampProbability(FTails(x, df1, df2).Lower);
}

double FDistriUpperTail(double x, double df1, double df2) {
  return detail::ClampProbability(FTails(x, df1, df2).Upper);
}

}  // namespace orv
