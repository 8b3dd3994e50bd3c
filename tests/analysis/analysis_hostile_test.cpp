// Host code that resizes, empties or moves what a routine of the curve
// fitter works on, from MathFeedBackProc, on its first, second and a middle
// call (support/hostile.h).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/hostile.h"

namespace orv {
namespace {

using test::Outcome;
using test::THostile;
using test::THostileCase;
using test::THostileOutcome;

// ---- TCurveFit ----
enum class TPolyForm { Plain, PlainAlpha, Centred, CentredAlpha };
enum class TPolyAttack { Pairs, Coeffs, Alpha };

// A fit of order 2 through 12 pairs, MathFeedBackProc (called by the
// decomposition) attacking the fitter's pairs, kArray or Alpha. kArray holds
// a cell more than the fit writes, which it keeps; so its Now, when kArray
// is attacked, is the fit into kArray as the handler left it.
THostileOutcome PolyFit(THostile& H, TPolyForm Form, TPolyAttack Attack) {
  TCurveFit F(nullptr);
  for (int32_t I = 1; I <= 12; ++I) F.EnterStatValue(I, 0.5 * I * I - 3 * I + std::sin(I));
  const auto Fit = [&](TDoubleArray& K) {
    TDoubleArray A{5};
    double Shift = 0, Q = 0;
    bool Near = false, Ok = false;
    if (Attack == TPolyAttack::Alpha) MathFeedBackProc = H.On(A);
    switch (Form) {
      case TPolyForm::Plain: Ok = F.CalcPolyFit(2, K, Q, Near); break;
      case TPolyForm::PlainAlpha: Ok = F.CalcPolyFit(2, K, A, Q, Near); break;
      case TPolyForm::Centred: Ok = F.CalcCenteredPolyFit(2, K, Shift, Q, Near); break;
      case TPolyForm::CentredAlpha: Ok = F.CalcCenteredPolyFit(2, K, A, Shift, Q, Near); break;
    }
    return Outcome(Ok, K, A, Shift, Q, Near);
  };
  TDoubleArray K{9, 9, 9, 9}, Left;
  if (Attack == TPolyAttack::Pairs) MathFeedBackProc = H.On(F);
  if (Attack == TPolyAttack::Coeffs) MathFeedBackProc = H.On(K, [&] { Left = K; });
  const std::vector<double> Got = Fit(K);
  if (Attack != TPolyAttack::Coeffs || !H.Acted()) return {Got};
  MathFeedBackProc = nullptr;
  return {Got, Fit(Left)};
}

const THostileCase CurveFitCases[] = {
    {"TCurveFit::CalcPolyFit, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::Plain, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcPolyFit with Alpha, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::PlainAlpha, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcCenteredPolyFit, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::Centred, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcCenteredPolyFit with Alpha, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::CentredAlpha, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcPolyFit with Alpha, MathFeedBackProc changes kArray",
     [](THostile& H) { return PolyFit(H, TPolyForm::PlainAlpha, TPolyAttack::Coeffs); }},
    {"TCurveFit::CalcCenteredPolyFit with Alpha, MathFeedBackProc changes Alpha",
     [](THostile& H) { return PolyFit(H, TPolyForm::CentredAlpha, TPolyAttack::Alpha); }},
};

TEST(AnalysisHostile, CurveFitSurvivesHostCodeThatChangesItsData) { test::RunHostile(CurveFitCases); }

}  // namespace
}  // namespace orv
