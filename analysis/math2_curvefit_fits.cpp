// TCurveFit: line, parabola, polynomial and circle fits, and the analysis of
// variance of a regression.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "linalg/component.h"
#include "linalg/svd.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_system.h"
#include "tables/probability.h"

namespace orv {

namespace {

// Sums over the pairs centred on their means.
struct TCentred {
  double xm = 0, ym = 0;
  double Su = 0, Sv = 0, Suu = 0, Svv = 0, Suv = 0, Suuv = 0, Su3 = 0, Su4 = 0;
};

TCentred CentredSums(const TMatrix& M, int32_t N) {
  TCentred C;
  double Var = 0;
  M.MeanVar(1, 1, 1, N, C.xm, Var);
  M.MeanVar(2, 1, 2, N, C.ym, Var);
  const double* X = M.Mat[0].data();
  const double* Y = M.Mat[1].data();
  for (int32_t I = 0; I < N; ++I) {
    const double u = X[I] - C.xm, v = Y[I] - C.ym, uu = u * u;
    C.Su += u;
    C.Sv += v;
    C.Suu += uu;
    C.Svv += v * v;
    C.Suv += u * v;
    C.Suuv += uu * v;
    C.Su3 += uu * u;
    C.Su4 += uu * uu;
  }
  return C;
}

}  // namespace

void TCurveFit::CalcLinFit(double& k, double& d, double& FitQual) const {
  k = d = FitQual = 0.0;
  const int32_t N = FNumData;
  if (N <= 1) throw EORVMath2Error("CalcLinFit: not enough data points");
  const TCentred C = CentredSums(FData, N);
  const double n = N;
  const double D = n * C.Suu - C.Su * C.Su;
  if (D == 0) throw EORVMath2Error("CalcLinFit: slope is infinite");
  const double kk = (n * C.Suv - C.Su * C.Sv) / D;
  // The intercept of the centred data enters R^2: the back-transformed one
  // would cancel against the means and keep only a few digits for x far from 0.
  const double dc = (C.Suu * C.Sv - C.Su * C.Suv) / D;
  const double Sres = C.Svv - C.Sv * C.Sv / n;
  k = kk;
  d = dc - kk * C.xm + C.ym;
  FitQual = Sres == 0 ? 1.0 : (C.Sv * dc + kk * C.Suv - C.Sv * C.Sv / n) / Sres;
}

void TCurveFit::CalcParabolFit(double& k0, double& k1, double& k2, double& FitQual) const {
  k0 = k1 = k2 = FitQual = 0.0;
  const int32_t N = FNumData;
  if (N < 3) throw EORVMath2Error("CalcParabolFit: not enough data points");
  const TCentred C = CentredSums(FData, N);
  const double n = N;
  const double c = n * C.Suu - C.Su * C.Su;
  const double dd = n * C.Suuv - C.Suu * C.Sv;
  const double e = n * C.Su3 - C.Suu * C.Su;
  const double f = n * C.Suv - C.Su * C.Sv;
  const double g = n * C.Su4 - C.Suu * C.Suu;
  const double a2 = e * e == c * g ? 0.0 : (c * dd - e * f) / (c * g - e * e);
  const double a1 = c == 0 ? 0.0 : (f - e * a2) / c;
  const double a0 = (C.Sv - a1 * C.Su - a2 * C.Suu) / n;
  k2 = a2;
  k1 = a1 - 2 * a2 * C.xm;
  k0 = C.xm * C.xm * a2 + a0 - C.xm * a1 + C.ym;
  const double Sres = C.Svv - C.Sv * C.Sv / n;
  FitQual = Sres == 0 ? 1.0 : (C.Sv * a0 + a1 * C.Suv + a2 * C.Suuv - C.Sv * C.Sv / n) / Sres;
}

bool TCurveFit::CalcPolyFit(int32_t nOrder, TDoubleArray& kArray, double& FitQual, bool& NearSingular) {
  TDoubleArray Alpha;
  double XShift = 0;
  return PolyFit(nOrder, false, kArray, Alpha, XShift, FitQual, NearSingular);
}

bool TCurveFit::CalcPolyFit(int32_t nOrder, TDoubleArray& kArray, TDoubleArray& Alpha, double& FitQual,
                            bool& NearSingular) {
  double XShift = 0;
  return PolyFit(nOrder, false, kArray, Alpha, XShift, FitQual, NearSingular);
}

bool TCurveFit::CalcCenteredPolyFit(int32_t nOrder, TDoubleArray& kArray, double& XShift, double& FitQual,
                                    bool& NearSingular) {
  TDoubleArray Alpha;
  return PolyFit(nOrder, true, kArray, Alpha, XShift, FitQual, NearSingular);
}

bool TCurveFit::CalcCenteredPolyFit(int32_t nOrder, TDoubleArray& kArray, TDoubleArray& Alpha, double& XShift,
                                    double& FitQual, bool& NearSingular) {
  return PolyFit(nOrder, true, kArray, Alpha, XShift, FitQual, NearSingular);
}

// One body for both forms: the centred one fits y - mean(y) on powers of
// w = (x - XShift) / s_x and maps the coefficients back to powers of x - XShift.
bool TCurveFit::PolyFit(int32_t nOrder, bool Centred, TDoubleArray& kArray, TDoubleArray& Alpha, double& XShift,
                        double& FitQual, bool& NearSingular) {
  const int32_t N = FNumData, m = nOrder;
  if (m < 0 || m >= N) return false;
  AbortMathProc = false;
  const double* X = FData.Mat[0].data();
  const double* Y = FData.Mat[1].data();
  // MathFeedBackProc, which the decomposition calls, may enter, remove or
  // clear pairs (and entering moves the storage): the fit then reads the
  // pairs from a copy taken first.
  std::vector<double> Pairs;
  if (MathFeedBackProc) {
    detail::GuardAlloc<EORVMath2Error>(*this, "not enough memory on heap", [&] {
      Pairs.reserve(2 * detail::Ix(N));
      Pairs.insert(Pairs.end(), X, X + N);
      Pairs.insert(Pairs.end(), Y, Y + N);
    });
    X = Pairs.data();
    Y = X + N;
  }
  double Shift = 0.0, Scale = 1.0, YMean = 0.0;
  if (Centred) {
    double XMean = 0, XVar = 0, YVar = 0;
    FData.MeanVar(1, 1, 1, N, XMean, XVar);
    FData.MeanVar(2, 1, 2, N, YMean, YVar);
    Shift = XShift == 0 ? XMean : XShift;
    Scale = std::sqrt(XVar);
    if (Scale == 0) Scale = 1.0;
  }
  TMatrix A(nullptr);
  TVector B(nullptr), Sol(nullptr), StdErr(nullptr);
  A.Resize(m + 1, N);
  B.Resize(N);
  Sol.Resize(m + 1);
  StdErr.Resize(m + 1);
  for (int32_t I = 0; I < N; ++I) {
    const double w = Centred ? (X[I] - Shift) / Scale : X[I];
    double P = 1.0;
    for (int32_t J = 0; J < m; ++J) {
      P *= w;
      A.Mat[detail::Ix(J)][detail::Ix(I)] = P;
    }
    A.Mat[detail::Ix(m)][detail::Ix(I)] = 1.0;
    B.SetVal(I + 1, Centred ? Y[I] - YMean : Y[I]);
  }
  bool Zeroed = false;
  if (!detail::SVDSolve(&A, &B, &Sol, &StdErr, Zeroed)) return false;
  const auto s = [&](int32_t J) { return Sol.GetVal(J); };  // J = 1..m + 1
  double Sy = 0, Syy = 0, Sf = 0, Sff = 0, Syf = 0, SSres = 0;
  for (int32_t I = 0; I < N; ++I) {
    const double w = Centred ? (X[I] - Shift) / Scale : X[I];
    double f = s(m + 1), P = 1.0;
    for (int32_t J = 1; J <= m; ++J) {
      P *= w;
      f += s(J) * P;
    }
    const double v = Centred ? Y[I] - YMean : Y[I];
    const double r = Centred ? f + YMean - Y[I] : f - Y[I];
    Sy += v;
    Syy += v * v;
    Sf += f;
    Sff += f * f;
    Syf += v * f;
    SSres += r * r;
  }
  const int32_t Dof = N - m - 1;
  const double Sigma = Dof > 0 ? std::sqrt(SSres / Dof) : 0.0;
  double R = 0.0;
  if (Syy > 0 && Sff > 0) {
    const double n = N;
    const double Qy = Syy - Sy * Sy / n, Qf = Sff - Sf * Sf / n;
    if (Qy != 0 && Qf != 0) R = (Syf - Sy * Sf / n) / std::sqrt(std::fabs(Qy * Qf));
  }
  TDoubleArray K(kArray), P(detail::Ix(m + 1));
  if (K.size() < P.size()) K.resize(P.size());
  const auto PValue = [&](double Coef, double c) {
    if (Sigma == 0 || c == 0) return 0.0;
    return detail::ClampProbability(2.0 * tDistriUpperTail(std::fabs(Coef / Sigma / c), Dof));
  };
  double ScalePow = 1.0;
  for (int32_t J = 1; J <= m; ++J) {
    ScalePow *= Scale;
    K[detail::Ix(J)] = Centred ? s(J) / ScalePow : s(J);
    P[detail::Ix(J)] = PValue(s(J), StdErr.GetVal(J));
  }
  K[0] = Centred ? s(m + 1) + YMean : s(m + 1);
  P[0] = PValue(s(m + 1), StdErr.GetVal(m + 1));
  kArray = std::move(K);
  Alpha = std::move(P);
  if (Centred) XShift = Shift;
  FitQual = R * R;
  NearSingular = Zeroed;
  return true;
}

// The algebraic least-squares circle from the moments of the points (I. Kasa,
// "A circle fitting procedure and its error analysis", IEEE Trans. Instrum.
// Meas. 25(1), 1976).
void TCurveFit::CalcCircleFit(double& r, double& dx, double& dy) const {
  r = dx = dy = 0.0;
  if (FNumData <= 2) throw EORVMath2Error("CalcCircleFit: not enough data points");
  const long double n = FNumData;
  const long double t = S.sumy * S.sumy - n * S.sumyq;
  const long double m = S.sumx * S.sumx - n * S.sumxq;
  const long double s = n * S.sumxy - S.sumx * S.sumy;
  const long double u = t * m - s * s;
  if (u == 0) throw EORVMath2Error("CalcCircleFit: radius is infinite");
  const long double Sq = S.sumxq + S.sumyq;
  const long double B = Sq * S.sumy - n * (S.sumx2y + S.sumy3);
  const long double C = Sq * S.sumx - n * (S.sumxy2 + S.sumx3);
  const long double cx = (s * B + t * C) / 2 / u;
  const long double cy = (s * C + m * B) / 2 / u;
  const long double R2 = (Sq - 2 * (S.sumx * cx + S.sumy * cy) + n * (cx * cx + cy * cy)) / n;
  dx = static_cast<double>(cx);
  dy = static_cast<double>(cy);
  r = R2 < 0 ? 0.0 : static_cast<double>(std::sqrt(R2));  // rounding can leave an exact fit just below 0
}

void TCurveFit::CalcAnovaReg(int32_t NumVars, bool IncludeConst, int32_t& dfreg, int32_t& dfres, int32_t& dftotal,
                             double& SSE, double& SSR, double& SST, double& MSE, double& MSR, double& F) const {
  const long double n = FNumData;
  dfreg = NumVars;
  const long double Mean = IncludeConst && FNumData > 0 ? S.sumx / n : 0.0L;
  dftotal = IncludeConst ? FNumData - 1 : FNumData;
  dfres = static_cast<int32_t>(std::clamp<int64_t>(int64_t{dftotal} - dfreg, INT32_MIN, INT32_MAX));
  SSE = static_cast<double>(S.SumDiffq);
  SSR = static_cast<double>(S.sumyq - 2 * Mean * S.sumy + n * Mean * Mean);
  SST = static_cast<double>(S.sumxq - 2 * Mean * S.sumx + n * Mean * Mean);
  MSE = dfres > 0 ? SSE / dfres : 0.0;
  MSR = dfreg > 0 ? SSR / dfreg : 0.0;
  F = MSR == 0 ? 0.0 : MSE != 0 ? MSR / MSE : 1e10;
}

}  // namespace orv
