// ORV_complex: complex arithmetic in the extended type.
#include "orvcalckit/ORV_complex.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/norm2.h"

namespace orv {

Extended CpxAbs(const TComplex& z) { return detail::Norm2(z.re, z.im); }

Extended CpxAbsSqr(const TComplex& z) { return z.re * z.re + z.im * z.im; }

TComplex CpxAdd(const TComplex& z1, const TComplex& z2) { return {z1.re + z2.re, z1.im + z2.im}; }

TComplex CpxSub(const TComplex& z1, const TComplex& z2) { return {z1.re - z2.re, z1.im - z2.im}; }

TComplex CpxNeg(const TComplex& z) { return {-z.re, -z.im}; }

TComplex CpxConj(const TComplex& z) { return {z.re, -z.im}; }

TComplex CpxMult(const TComplex& z1, const TComplex& z2) {
  return {z1.re * z2.re - z1.im * z2.im, z1.re * z2.im + z1.im * z2.re};
}

namespace {

// (a + ib) / (c + id) for |d| <= |c|, c != 0 (Smith). When d/c underflows,
// the products are regrouped so that d still counts.
// Smith, "Algorithm 116: Complex division", CACM 5(8), 1962; the regrouping and the
// scaling of CpxDiv: Baudin and Smith, "A robust complex division in Scilab", 2012.
TComplex SmithDiv(Extended a, Extended b, Extended c, Extended d) {
  const Extended R = d / c;
  const Extended T = c + d * R;
  if (R != 0) return {(a + b * R) / T, (b - a * R) / T};
  if (d == 0) return {a / c, b / c};
  return {(a + d * (b / c)) / T, (b - d * (a / c)) / T};
}

}  // namespace

TComplex CpxDiv(const TComplex& z1, const TComplex& z2) {
  Extended a = z1.re, b = z1.im, c = z2.re, d = z2.im;
  if (c == 0 && d == 0) throw EORVComplexError("CpxDiv: division by zero");
  // Operands near the ends of the range are scaled by powers of two (exact)
  // so that the sums and products of Smith's method stay representable.
  using L = std::numeric_limits<Extended>;
  constexpr Extended Huge = L::max() / 2;
  constexpr Extended Tiny = L::min() * 2 / L::epsilon();
  constexpr Extended Up = 2 / (L::epsilon() * L::epsilon());
  const Extended AB = std::max(std::fabs(a), std::fabs(b));
  const Extended CD = std::max(std::fabs(c), std::fabs(d));
  Extended Scale = 1;
  if (AB >= Huge) {
    a /= 2, b /= 2;
    Scale *= 2;
  } else if (AB <= Tiny) {
    a *= Up, b *= Up;
    Scale /= Up;
  }
  if (CD >= Huge) {
    c /= 2, d /= 2;
    Scale /= 2;
  } else if (CD <= Tiny) {
    c *= Up, d *= Up;
    Scale *= Up;
  }
  TComplex Q;
  if (std::fabs(d) <= std::fabs(c)) {
    Q = SmithDiv(a, b, c, d);
  } else {
    // (a + ib) / (c + id) is the conjugate of (b + ia) / (d + ic).
    Q = SmithDiv(b, a, d, c);
    Q.im = -Q.im;
  }
  return {Q.re * Scale, Q.im * Scale};
}

bool CpxIsEqual(const TComplex& z1, const TComplex& z2) { return z1.re == z2.re && z1.im == z2.im; }

bool CpxIsNearEqual(const TComplex& z1, const TComplex& z2) {
  return std::fabs(z1.re - z2.re) < CpxNearZero && std::fabs(z1.im - z2.im) < CpxNearZero;
}

bool CpxIsZero(const TComplex& z) {
  const auto Zero = [](Extended X) { return X == 0 || std::fabs(X) < CpxNearZero; };
  return Zero(z.re) && Zero(z.im);
}

TComplexPolar ConvertRectToPolar(const TComplex& z) {
  // Adding +0 turns a negative zero into +0, so the angle stays in (-pi, pi]
  // and the origin has the angle 0.
  return {CpxAbs(z), std::atan2(z.im + Extended(0), z.re + Extended(0))};
}

TComplex ConvertPolarToRect(const TComplexPolar& p) { return {p.r * std::cos(p.phi), p.r * std::sin(p.phi)}; }

}  // namespace orv
