// The regularized incomplete gamma function with both of its tails, for the
// routines that need the upper one without the cancellation of 1 - P.
#pragma once

namespace orv::detail {

struct TGammaTails {
  double P;  // lower: P(a, x)
  double Q;  // upper: 1 - P(a, x), formed without the subtraction where the
             // continued fraction gives it directly
};

// Both tails of IncompleteGamma(x, a), with its edge rules.
TGammaTails GammaTails(double x, double a);

}  // namespace orv::detail
