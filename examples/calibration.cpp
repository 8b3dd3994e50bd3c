// Calibration of a load cell with TCurveFit: the quadratic least-squares fit
// of the deflection on the load, the analysis of variance of that regression,
// the rank correlations, and the fit used backwards (the usage text below
// says more).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include <orvcalckit/orvcalckit.h>

#include "example_support.h"

namespace {

const char* const Usage =
    "Usage: orvcalckit_calibration\n"
    "\n"
    "Calibration of a load cell. The pairs (load, deflection) go into a TCurveFit;\n"
    "CalcPolyFit fits deflection = B0 + B1 load + B2 load^2 by least squares and\n"
    "gives each coefficient's two-sided p-value; CalcAnovaReg, on the pairs\n"
    "(observed, fitted deflection), gives the analysis of variance of the\n"
    "regression; KendallsTau, KruskalGamma and SpearmanRankCorr measure how\n"
    "monotonic the deflection is in the load. Last, the fitted curve is solved\n"
    "for the load that gives a measured deflection.\n"
    "\n"
    "The data the project carries: data/pontius.csv, the NIST StRD linear\n"
    "regression data set Pontius (40 pairs: 20 loads from 150000 to 3000000, each\n"
    "measured twice; deflection in the units of the data set), whose certified\n"
    "values the printed results can be compared with.\n"
    "\n"
    "  -h, --help     this text\n"
    "\n"
    "Exit status: 0 done; 1 the data cannot be read or fitted; 2 wrong arguments.\n";

// The load for a deflection Y on the fitted parabola: the root of
// B2 x^2 + B1 x + (B0 - Y) = 0 near -(B0 - Y) / B1, in the form that does not
// cancel when B2 is tiny (Numerical Recipes, 3rd ed., section 5.6).
double LoadOf(double Y, double B0, double B1, double B2) {
  const double C = B0 - Y;
  const double Q = -0.5 * (B1 + std::copysign(std::sqrt(B1 * B1 - 4 * B2 * C), B1));
  return C / Q;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int Exit = example::CheckArguments(argc, argv, Usage, 0); Exit >= 0) return Exit;
  example::TTable Table;
  if (!example::ReadTable(example::DataFile("pontius.csv"), 2, false, Table)) return 1;

  // x the load, y the deflection (the file holds y first, as NIST prints it).
  orv::TCurveFit Fit;
  for (const auto& Row : Table.Rows) Fit.EnterStatValue(Row[1], Row[0]);
  const int32_t N = Fit.NumData();

  orv::TDoubleArray B, Alpha;
  double R2 = 0;
  bool NearSingular = false;
  if (!Fit.CalcPolyFit(2, B, Alpha, R2, NearSingular)) {
    std::fprintf(stderr, "CalcPolyFit failed: fewer pairs than the order needs, or no convergence\n");
    return 1;
  }
  std::printf("Calibration of a load cell: data/pontius.csv (NIST StRD Pontius)\n");
  std::printf("%d pairs, load %s to %s\n\n", N, orv::strff(Fit.MinX(), 0, 0).c_str(),
              orv::strff(Fit.MaxX(), 0, 0).c_str());

  std::printf("deflection = B0 + B1 load + B2 load^2 (CalcPolyFit, order 2)\n");
  std::printf("coefficient            estimate   p-value\n");
  for (int I = 0; I <= 2; ++I) std::printf("B%d          %20.12e  %.3e\n", I, B[I], Alpha[I]);
  std::printf("R-squared   %20.12f\n", R2);
  std::printf("near singular: %s\n\n", NearSingular ? "yes" : "no");

  // The regression's analysis of variance reads observed and fitted values
  // as the pairs of a second fitter.
  orv::TCurveFit Observed;
  for (int32_t I = 1; I <= N; ++I) {
    const double X = Fit.DataX(I);
    Observed.EnterStatValue(Fit.DataY(I), B[0] + B[1] * X + B[2] * X * X);
  }
  int32_t DfReg = 0, DfRes = 0, DfTotal = 0;
  double SSE = 0, SSR = 0, SST = 0, MSE = 0, MSR = 0, F = 0;
  Observed.CalcAnovaReg(2, true, DfReg, DfRes, DfTotal, SSE, SSR, SST, MSE, MSR, F);
  std::printf("analysis of variance of the regression (CalcAnovaReg)\n");
  std::printf("source      df    sum of squares       mean square  F\n");
  std::printf("regression %3d  %16.11f  %16.11f  %.9e\n", DfReg, SSR, MSR, F);
  std::printf("residual   %3d  %16.9e  %16.9e\n", DfRes, SSE, MSE);
  std::printf("total      %3d  %16.11f\n", DfTotal, SST);
  std::printf("residual standard deviation %.9e\n\n", std::sqrt(MSE));

  double P = 0;
  const double Tau = Fit.KendallsTau(P);
  std::printf("rank correlations of deflection and load\n");
  std::printf("Kendall's tau-b        %9.6f   p %.6f (normal approximation)\n", Tau, P);
  std::printf("Goodman-Kruskal gamma  %9.6f\n", Fit.KruskalGamma());
  std::printf("Spearman's rho         %9.6f\n\n", Fit.SpearmanRankCorr());

  std::printf("the calibration used: load of a measured deflection\n");
  std::printf("deflection           load\n");
  for (const double Y : {0.5, 1.0, 1.5, 2.0}) std::printf("%10.4f  %13.2f\n", Y, LoadOf(Y, B[0], B[1], B[2]));
  return 0;
}
