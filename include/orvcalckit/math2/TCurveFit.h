// Unit ORV_math2: the curve fitter TCurveFit. Included through ORV_math2.h.
#pragma once

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_stringl.h"

namespace orv {

// Input conditions met while pairs were entered (x or y at or below zero,
// x or y equal to zero).
enum TCurveFitError : uint8_t { cfeXLE0 = 0, cfeYLE0 = 1, cfeXEQ0 = 2, cfeYEQ0 = 3 };

namespace detail {
struct TCurveFitProbe;  // test access to the running sums and flags
}

// ============================================================================
// TCurveFit: a set of (x, y) pairs with running sums, descriptive statistics,
// least-squares fits, rank correlations and an ASC text file
// ============================================================================
//
// The pairs are kept in the order entered (a removal closes the gap); pair i
// is DataX(i), DataY(i), i = 1..NumData. Entering or removing a pair also
// adds or subtracts its 33 running sums (powers, products, reciprocals and
// logarithms of x and y, held in long double in every build). A value within
// 1e-30 of 0 counts as zero for the reciprocal terms, which then take
// uc_MaxReal in place of 1/0; logarithm terms are left out for values <= 0.
//
// The means, standard deviations, the correlation and the circle fit are read
// from the running sums in one pass: for data far from 0 (the spread small
// beside the mean) they lose digits to cancellation. The line, parabola and
// centred polynomial fits centre the stored pairs and are not affected;
// CalcPolyFit takes plain powers of x.
//
// Errors: the fits raise EORVMath2Error with the texts below after zeroing
// their outputs; the storage growing beyond memory raises EORVMath2Error
// 'Component "<Name>": not enough memory on heap', the fitter unchanged.
class ORV_API TCurveFit : public TComponent {
 public:
  explicit TCurveFit(TComponent* AOwner = nullptr);
  ~TCurveFit() override;
  std::string ClassName() const override;

  // ---- the pairs ----
  // Empties the set (the sums, NumData, the extremes: MinX and MinY to
  // uc_MaxReal, MaxX and MaxY to -uc_MaxReal); the storage is kept.
  void Init();
  // Adds a pair; returns the new NumData.
  int32_t EnterStatValue(double x, double y);
  // Removes pair ix (1..NumData; others are ignored). The extremes are not
  // recomputed: they stay those of every pair entered since Init.
  void RemoveStatValue(int32_t ix);
  // Exchanges x and y of every pair, the sums and the extremes.
  void FlipXY();
  int32_t NumData() const { return FNumData; }
  // Pair ix, 1..NumData; 0 otherwise.
  double DataX(int32_t ix) const { return detail::InAxis(ix, FNumData) ? FData.Mat[0][detail::Ix1(ix)] : 0.0; }
  double DataY(int32_t ix) const { return detail::InAxis(ix, FNumData) ? FData.Mat[1][detail::Ix1(ix)] : 0.0; }
  double MinX() const { return FMinX; }
  double MaxX() const { return FMaxX; }
  double MinY() const { return FMinY; }
  double MaxY() const { return FMaxY; }

  // ---- descriptive statistics ----
  // Means: 0 without pairs. Standard deviations sqrt(|(S2 - S1^2/n)/(n - 1)|):
  // 0 below three pairs. CorrCoeff: Pearson's r, 0 below three pairs or when
  // x or y does not vary.
  double MeanX() const;
  double MeanY() const;
  double MeanDiff() const;  // mean of x - y
  double StdDevX() const;
  double StdDevY() const;
  double StdDevDiff() const;
  double CorrCoeff() const;
  // All seven 0 first; the means from one pair on, the rest from three on.
  void CalcStatistics(int32_t& NumData, double& MeanX, double& MeanY, double& StdevX, double& StdevY,
                      double& MeanDiff, double& StdevDiff, double& rxy) const;
  // TMatrix.Percentile (nearest rank) and Quartiles ('weibull') over the
  // pairs' x or y; 0 and false with zeros without pairs.
  double PercentileX(double Prob) const;
  double PercentileY(double Prob) const;
  bool QuartilesX(double& q1, double& q2, double& q3) const;
  bool QuartilesY(double& q1, double& q2, double& q3) const;
  // Sample skewness and excess kurtosis (TMatrix.SkewKurtSample: 0 below four pairs).
  double SkewnessX() const;
  double SkewnessY() const;
  double KurtosisX() const;
  double KurtosisY() const;
  // Mean of the values taken as angles in degrees, in [0, 360): the
  // direction of (sum cos, sum sin); 90 or 270 when the cosines cancel and
  // 0 when both sums are 0 (no pairs).
  double MeanAngleX() const;
  double MeanAngleY() const;

  // ---- spline settings (stored for the spline routines; a setter clears
  // the cached spline state) ----
  bool SplineNatural1() const { return FNatural1; }
  void SetSplineNatural1(bool Value);
  bool SplineNaturalN() const { return FNaturalN; }
  void SetSplineNaturalN(bool Value);
  double SplineDerivY1() const { return FY1Dash; }
  void SetSplineDerivY1(double Value);
  double SplineDerivYN() const { return FYNDash; }
  void SetSplineDerivYN(double Value);
  double SplineSmoothingFactor() const { return FPSplineSmooth; }
  void SetSplineSmoothingFactor(double Value);

  // ---- fits (FitQual is R^2) ----
  // y = k x + d over the centred pairs. Below two pairs "CalcLinFit: not
  // enough data points"; all x equal "CalcLinFit: slope is infinite".
  void CalcLinFit(double& k, double& d, double& FitQual) const;
  // y = k0 + k1 x + k2 x^2 over the centred pairs. Below three pairs
  // "CalcParabolFit: not enough data points".
  void CalcParabolFit(double& k0, double& k1, double& k2, double& FitQual) const;
  // Least squares of order nOrder by SVDSolve on the design x^1..x^m, 1
  // (singular values below 1e-14 of the largest cut: NearSingular). kArray[0]
  // the constant, kArray[j] the coefficient of x^j (kArray grown to m + 1
  // cells when shorter); Alpha the two-sided p-value of each coefficient
  // (within 0..1; 0 for an exact fit). False with nothing written when nOrder is not below
  // NumData (or negative), or when the decomposition does not converge or is
  // stopped through AbortMathProc, which the fit clears first. With a
  // MathFeedBackProc assigned (the decomposition reports its steps) the fit
  // reads the pairs from a copy taken first: a handler that enters, removes
  // or clears pairs leaves the fit of the pairs as they were.
  bool CalcPolyFit(int32_t nOrder, TDoubleArray& kArray, double& FitQual, bool& NearSingular);
  bool CalcPolyFit(int32_t nOrder, TDoubleArray& kArray, TDoubleArray& Alpha, double& FitQual,
                   bool& NearSingular);
  // The same in w = (x - XShift) / s_x, s_x the standard deviation of x (1
  // when 0), on y less its mean; XShift 0 on entry means "use the mean of x"
  // and receives it. kArray[j] is the coefficient of (x - XShift)^j.
  bool CalcCenteredPolyFit(int32_t nOrder, TDoubleArray& kArray, double& XShift, double& FitQual,
                           bool& NearSingular);
  bool CalcCenteredPolyFit(int32_t nOrder, TDoubleArray& kArray, TDoubleArray& Alpha, double& XShift,
                           double& FitQual, bool& NearSingular);
  // The least-squares circle (centre dx, dy, radius r) from the running
  // sums. Below three pairs "CalcCircleFit: not enough data points"; points
  // on a line "CalcCircleFit: radius is infinite".
  void CalcCircleFit(double& r, double& dx, double& dy) const;
  // Analysis of variance of a regression with the observed values as x and
  // the estimated ones as y: NumVars regressors (and a constant when
  // IncludeConst). MSE 0 when dfres <= 0, MSR 0 when dfreg <= 0; F 0 when MSR
  // is 0, else MSR/MSE, or 1e10 when MSE is 0.
  void CalcAnovaReg(int32_t NumVars, bool IncludeConst, int32_t& dfreg, int32_t& dfres, int32_t& dftotal,
                    double& SSE, double& SSR, double& SST, double& MSE, double& MSR, double& F) const;

  // ---- rank statistics (pair counts over every two pairs, kept until the
  // pairs change) ----
  // Kendall's tau-b; p the two-sided p-value of the normal approximation
  // without tie correction, within 0..1. Below three pairs, or when x or y does not vary:
  // 0 with p = 1.
  double KendallsTau(double& p);
  // Goodman and Kruskal's gamma, (C - D)/(C + D); 0 when C + D = 0.
  double KruskalGamma();
  // Spearman's rank correlation from mid-ranks, tie-corrected; 0 below three pairs.
  double SpearmanRankCorr() const;

  // ---- ASC text file ----
  // Writes the pairs with Precision decimals: empty on success, else the
  // message of the error met creating the file; later write errors raise
  // EInOutError.
  std::string ExportAsASC(const std::string& FName, const std::string& Comment, int32_t Precision) const;
  // Replaces the pairs with those of an ASC file of two columns: 0, or the
  // code of ReadHeaderOfASC, -7 for nominal variables, -5 for an unreadable
  // row attribute, -6 for an unreadable value; on any failure the fitter is
  // as it was. A header of another column count raises EORVMath2Error
  // "TCurveFit.ImportASC: number of columns must be 2 (is actually <n>).".
  int32_t ImportASC(const std::string& FName);

 private:
  friend struct detail::TCurveFitProbe;
  // The running sums of the pairs.
  struct TSums {
    long double sumx, sumy, sumxq, sumyq, sumDiff, SumDiffq, sumxy, sumx2y, sumxy2, sumx3, sumy3, sumx4, sumy4,
        sum1byy, sum1byxy, sum1byyq, sumxbyy, sumybyx, sum1byx, sum1byxq, sumlnx, sumlnxlny, sumlnxq, sumylny,
        sumylnx, sumxlnx, sumlnxbyy, sumlnybyx, sumlny, sumlnyq, sumxlny, sumxqlny, sumyqlnx;
  };
  template <bool Add>
  void AdjustSums(double x, double y);  // adds a pair's terms, or removes them
  void Invalidate() { FSplineValid = FKendallValid = FPenSplineValid = false; }
  void GrowRows(int32_t Need);
  void CountPairs();
  double MeanAngle(int32_t Col) const;
  bool PolyFit(int32_t nOrder, bool Centred, TDoubleArray& kArray, TDoubleArray& Alpha, double& XShift,
               double& FitQual, bool& NearSingular);

  TSums S{};
  int32_t FNumData = 0;
  double FMinX = 0, FMaxX = 0, FMinY = 0, FMaxY = 0;
  bool FNatural1 = true, FNaturalN = true;
  double FY1Dash = 0, FYNDash = 0;
  uint8_t FErrIndic = 0;  // bit i set: TCurveFitError i met
  TMatrix FData;          // column 1 x, column 2 y, row i = pair i
  bool FSplineValid = false;
  double FPSplineSmooth = 0.5;
  double FPSplineFQ = 0;
  bool FPenSplineValid = false, FKendallValid = false;
  // Pair counts in 64 bits: n (n - 1) / 2 passes 32 bits from about 65,000 pairs.
  int64_t FKendallConcord = 0, FKendallDiscord = 0, FKendallTies1 = 0, FKendallTies2 = 0;
};

}  // namespace orv
