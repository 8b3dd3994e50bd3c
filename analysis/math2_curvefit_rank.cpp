// TCurveFit: Kendall's tau, Goodman and Kruskal's gamma, Spearman's rank
// correlation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "analysis/math2_curvefit_pairs.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_univconst.h"
#include "tables/probability.h"

namespace orv {

void TCurveFit::CountPairs() {
  if (FKendallValid) return;
  const std::span<const double> X(FData.Mat[0].data(), detail::Ix(FNumData));
  const std::span<const double> Y(FData.Mat[1].data(), detail::Ix(FNumData));
  detail::TPairCounts P;
  if (FNumData > 2) P = detail::CountPairs(X, Y);
  FKendallConcord = P.Concord;
  FKendallDiscord = P.Discord;
  FKendallTies1 = P.TiesY;
  FKendallTies2 = P.TiesX;
  FKendallValid = true;
}

double TCurveFit::KendallsTau(double& p) {
  CountPairs();
  const double C = static_cast<double>(FKendallConcord), D = static_cast<double>(FKendallDiscord);
  // In double: the product of two pair counts passes 64 bits from about 80,000 pairs.
  const double Den = std::sqrt((C + D + static_cast<double>(FKendallTies1)) * (C + D + static_cast<double>(FKendallTies2)));
  if (Den == 0) {
    p = 1.0;  // nothing to rank against: no evidence of association
    return 0.0;
  }
  const double n = FNumData;
  const double Tau = (C - D) / Den;
  const double Sigma = std::sqrt((4 * n + 10) / (9 * n * (n - 1)));
  // ErfApprox(0) is -3e-8, not 0: without the bound p would pass 1.
  p = detail::ClampProbability(1.0 - ErfApprox(std::fabs(Tau / Sigma) / uc_sqrt2));
  return Tau;
}

double TCurveFit::KruskalGamma() {
  CountPairs();
  const double C = static_cast<double>(FKendallConcord), D = static_cast<double>(FKendallDiscord);
  return C + D == 0 ? 0.0 : (C - D) / (C + D);
}

double TCurveFit::SpearmanRankCorr() const {
  const int32_t N = FNumData;
  if (N < 3) return 0.0;
  TVector Rx(nullptr), Ry(nullptr);
  Rx.Resize(N);
  Ry.Resize(N);
  for (int32_t I = 1; I <= N; ++I) {
    Rx.SetVal(I, DataX(I));
    Ry.SetVal(I, DataY(I));
  }
  // Mid-ranks of equal values (exact equality), NaN last each on its own.
  const double Tx = CalcRanks(&Rx, &Rx) / 12, Ty = CalcRanks(&Ry, &Ry) / 12;
  TKahanSum Dsum(nullptr);
  for (int32_t I = 1; I <= N; ++I) {
    const double Dr = Rx.GetVal(I) - Ry.GetVal(I);
    Dsum.Add(Dr * Dr);
  }
  const double n = N;
  const double w = n * (n * n - 1);  // in double: n^3 passes 32 bits from about 1,300 pairs
  if (Tx != 0 || Ty != 0) {
    if (12 * Ty == w || 12 * Tx == w) return 0.0;
    return (w - 6 * (Dsum.Sum + Tx + Ty)) / std::sqrt((w - 12 * Tx) * (w - 12 * Ty));
  }
  return 1 - 6 * Dsum.Sum / w;
}

}  // namespace orv
