// TCurveFit: the pairs, their running sums and the descriptive statistics.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "linalg/component.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

namespace {
constexpr int32_t kGrowRows = 1000;
constexpr long double kZeroRecip = 1e-30L;  // at most this counts as zero for 1/x
constexpr uint8_t Bit(TCurveFitError E) { return static_cast<uint8_t>(1u << E); }
}  // namespace

TCurveFit::TCurveFit(TComponent* AOwner) : TComponent(AOwner) {
  FData.Resize(2, kGrowRows);
  Init();
}

TCurveFit::~TCurveFit() = default;

std::string TCurveFit::ClassName() const { return "TCurveFit"; }

void TCurveFit::Init() {
  S = TSums{};
  FNumData = 0;
  FPSplineFQ = 0;
  FData.Fill(0.0);
  FMinX = FMinY = uc_MaxReal;
  FMaxX = FMaxY = -uc_MaxReal;
  FErrIndic = 0;
}

// The storage grows by kGrowRows rows as the pairs arrive; the columns'
// capacity grows geometrically underneath, so that the steps copy nothing
// and entering n pairs stays linear.
void TCurveFit::GrowRows(int32_t Need) {
  if (Need <= FData.NrOfRows()) return;
  const int64_t Rows = int64_t{FData.NrOfRows()} + kGrowRows;
  detail::GuardAlloc<EORVMath2Error>(*this, "not enough memory on heap", [&] {
    detail::CheckExtent(Rows * 2, sizeof(double));
    if (Rows > INT32_MAX) throw std::length_error("rows");
    for (auto& Col : FData.Mat)
      if (Col.capacity() < static_cast<std::size_t>(Rows)) Col.reserve(std::max<std::size_t>(Col.capacity() * 2, detail::Ix(Rows)));
    FData.Resize(2, static_cast<int32_t>(Rows));
  });
}

// Adds (Add) or subtracts one term; a template so that entering, the hot
// path, carries no sign factor.
template <bool Add>
inline void Acc(long double& Sum, long double Term) {
  if constexpr (Add)
    Sum += Term;
  else
    Sum -= Term;
}

template <bool Add>
void TCurveFit::AdjustSums(double xd, double yd) {
  const long double x = xd, y = yd;
  constexpr long double M = uc_MaxReal;
  uint8_t Flags = 0;
  if constexpr (Add) {
    if (xd < FMinX) FMinX = xd;
    if (yd < FMinY) FMinY = yd;
    if (xd > FMaxX) FMaxX = xd;
    if (yd > FMaxY) FMaxY = yd;
  }
  const long double d = x - y;
  Acc<Add>(S.sumx, x);
  Acc<Add>(S.sumy, y);
  Acc<Add>(S.sumxq, x * x);
  Acc<Add>(S.sumyq, y * y);
  Acc<Add>(S.sumDiff, d);
  Acc<Add>(S.SumDiffq, d * d);
  Acc<Add>(S.sumxy, x * y);
  Acc<Add>(S.sumx2y, x * x * y);
  Acc<Add>(S.sumxy2, x * y * y);
  Acc<Add>(S.sumx3, x * x * x);
  Acc<Add>(S.sumy3, y * y * y);
  Acc<Add>(S.sumx4, x * x * x * x);
  Acc<Add>(S.sumy4, y * y * y * y);
  const bool XZero = std::fabs(x) <= kZeroRecip, YZero = std::fabs(y) <= kZeroRecip;
  if (YZero) {
    Flags |= Bit(cfeYEQ0);
    Acc<Add>(S.sum1byy, M);
    Acc<Add>(S.sum1byyq, M * M);
    Acc<Add>(S.sumxbyy, x * M);
    if (XZero) {
      Acc<Add>(S.sum1byxy, M);
      Flags |= Bit(cfeXEQ0);
    } else {
      Acc<Add>(S.sum1byxy, M / x);
    }
  } else {
    Acc<Add>(S.sum1byy, 1.0L / y);
    Acc<Add>(S.sum1byyq, 1.0L / (y * y));
    Acc<Add>(S.sumxbyy, x / y);
    if (XZero) {
      Acc<Add>(S.sum1byxy, M / y);
      Flags |= Bit(cfeXEQ0);
    } else {
      Acc<Add>(S.sum1byxy, 1.0L / x / y);
    }
  }
  if (XZero) {
    Flags |= Bit(cfeXEQ0);
    Acc<Add>(S.sum1byx, M);
    Acc<Add>(S.sum1byxq, M * M);
    Acc<Add>(S.sumybyx, y * M);
  } else {
    Acc<Add>(S.sum1byx, 1.0L / x);
    Acc<Add>(S.sum1byxq, 1.0L / (x * x));
    Acc<Add>(S.sumybyx, y / x);
  }
  const long double K = y > 0 ? std::log(y) : 0.0L;  // taken once: two sums of step 4 and 5 use it
  if (!(x > 0)) {
    if (x <= 0) Flags |= Bit(cfeXLE0);
  } else {
    const long double L = std::log(x);
    Acc<Add>(S.sumlnx, L);
    Acc<Add>(S.sumlnxq, L * L);
    Acc<Add>(S.sumylnx, y * L);
    Acc<Add>(S.sumxlnx, x * L);
    Acc<Add>(S.sumyqlnx, y * y * L);
    if (y != 0)
      Acc<Add>(S.sumlnxbyy, L / y);
    else
      Flags |= Bit(cfeYEQ0);
    if (y > 0)
      Acc<Add>(S.sumlnxlny, L * K);
    else
      Flags |= Bit(cfeYLE0);
  }
  if (!(y > 0)) {
    if (y <= 0) Flags |= Bit(cfeYLE0);
  } else {
    Acc<Add>(S.sumlny, K);
    Acc<Add>(S.sumylny, y * K);
    Acc<Add>(S.sumlnyq, K * K);
    Acc<Add>(S.sumxlny, x * K);
    Acc<Add>(S.sumxqlny, x * x * K);
    if (x != 0)
      Acc<Add>(S.sumlnybyx, K / x);
    else
      Flags |= Bit(cfeXEQ0);
  }
  if constexpr (Add) FErrIndic |= Flags;
}

template void TCurveFit::AdjustSums<true>(double, double);  // also for ImportASC

int32_t TCurveFit::EnterStatValue(double x, double y) {
  if (FNumData == INT32_MAX) detail::RaiseComponentError<EORVMath2Error>(*this, "not enough memory on heap");
  GrowRows(FNumData + 1);  // before any change, so a failure leaves the fitter as it was
  AdjustSums<true>(x, y);
  ++FNumData;
  FData.Mat[0][detail::Ix1(FNumData)] = x;
  FData.Mat[1][detail::Ix1(FNumData)] = y;
  Invalidate();
  return FNumData;
}

void TCurveFit::RemoveStatValue(int32_t ix) {
  if (detail::InAxis(ix, FNumData)) {
    AdjustSums<false>(FData.Mat[0][detail::Ix1(ix)], FData.Mat[1][detail::Ix1(ix)]);
    for (auto& Col : FData.Mat)
      std::move(Col.begin() + ix, Col.begin() + FNumData, Col.begin() + (ix - 1));
    --FNumData;
  }
  Invalidate();
}

void TCurveFit::FlipXY() {
  std::swap(FMinX, FMinY);
  std::swap(FMaxX, FMaxY);
  S.sumDiff = -S.sumDiff;
  std::swap(S.sumx, S.sumy);
  std::swap(S.sumxq, S.sumyq);
  std::swap(S.sumx2y, S.sumxy2);
  std::swap(S.sumx3, S.sumy3);
  std::swap(S.sumx4, S.sumy4);
  std::swap(S.sum1byy, S.sum1byx);
  std::swap(S.sum1byyq, S.sum1byxq);
  std::swap(S.sumxbyy, S.sumybyx);
  std::swap(S.sumlnx, S.sumlny);
  std::swap(S.sumlnxq, S.sumlnyq);
  std::swap(S.sumylnx, S.sumxlny);
  std::swap(S.sumxlnx, S.sumylny);
  std::swap(S.sumlnxbyy, S.sumlnybyx);
  std::swap(S.sumxqlny, S.sumyqlnx);
  FData.Mat[0].swap(FData.Mat[1]);  // every row, as an exchange per row would
}

// ---- descriptive statistics ----

double TCurveFit::MeanX() const { return FNumData > 0 ? static_cast<double>(S.sumx / FNumData) : 0.0; }
double TCurveFit::MeanY() const { return FNumData > 0 ? static_cast<double>(S.sumy / FNumData) : 0.0; }
double TCurveFit::MeanDiff() const { return FNumData > 0 ? static_cast<double>(S.sumDiff / FNumData) : 0.0; }

namespace {
// Below three pairs 0 (not below two).
double StdDevOf(int32_t N, long double S1, long double S2) {
  if (N < 3) return 0.0;
  const long double n = N;
  return static_cast<double>(std::sqrt(std::fabs((S2 - S1 * S1 / n) / (n - 1))));
}
}  // namespace

double TCurveFit::StdDevX() const { return StdDevOf(FNumData, S.sumx, S.sumxq); }
double TCurveFit::StdDevY() const { return StdDevOf(FNumData, S.sumy, S.sumyq); }
double TCurveFit::StdDevDiff() const { return StdDevOf(FNumData, S.sumDiff, S.SumDiffq); }

double TCurveFit::CorrCoeff() const {
  if (FNumData <= 2 || S.sumxq <= 0 || S.sumyq <= 0) return 0.0;
  const long double n = FNumData;
  const double Sxx = static_cast<double>(S.sumxq - S.sumx * S.sumx / n);
  const double Syy = static_cast<double>(S.sumyq - S.sumy * S.sumy / n);
  if (Sxx == 0 || Syy == 0) return 0.0;
  return static_cast<double>((S.sumxy - S.sumx * S.sumy / n) / std::sqrt(std::fabs(static_cast<long double>(Sxx) * Syy)));
}

void TCurveFit::CalcStatistics(int32_t& NumData, double& MeanX, double& MeanY, double& StdevX, double& StdevY,
                               double& MeanDiff, double& StdevDiff, double& rxy) const {
  MeanX = MeanY = StdevX = StdevY = MeanDiff = StdevDiff = rxy = 0.0;
  NumData = FNumData;
  if (FNumData > 0) {
    MeanX = this->MeanX();
    MeanY = this->MeanY();
    MeanDiff = this->MeanDiff();
  }
  if (FNumData > 2) {
    StdevX = StdDevX();
    StdevY = StdDevY();
    StdevDiff = StdDevDiff();
    rxy = CorrCoeff();
  }
}

// Without pairs the block (c, 1, c, 0) would clamp to row 1, which still
// holds whatever was stored there: the empty results instead.
double TCurveFit::PercentileX(double Prob) const { return FNumData > 0 ? FData.Percentile(Prob, 1, 1, 1, FNumData) : 0.0; }
double TCurveFit::PercentileY(double Prob) const { return FNumData > 0 ? FData.Percentile(Prob, 2, 1, 2, FNumData) : 0.0; }

bool TCurveFit::QuartilesX(double& q1, double& q2, double& q3) const {
  if (FNumData > 0) return FData.Quartiles(1, 1, 1, FNumData, q1, q2, q3);
  q1 = q2 = q3 = 0.0;
  return false;
}

bool TCurveFit::QuartilesY(double& q1, double& q2, double& q3) const {
  if (FNumData > 0) return FData.Quartiles(2, 1, 2, FNumData, q1, q2, q3);
  q1 = q2 = q3 = 0.0;
  return false;
}

namespace {
std::pair<double, double> SkewKurtOfColumn(const TMatrix& M, int32_t Col, int32_t N) {
  double Skew = 0.0, Kurt = 0.0;
  if (N > 0) M.SkewKurtSample(Col, 1, Col, N, Skew, Kurt);
  return {Skew, Kurt};
}
}  // namespace

double TCurveFit::SkewnessX() const { return SkewKurtOfColumn(FData, 1, FNumData).first; }
double TCurveFit::SkewnessY() const { return SkewKurtOfColumn(FData, 2, FNumData).first; }
double TCurveFit::KurtosisX() const { return SkewKurtOfColumn(FData, 1, FNumData).second; }
double TCurveFit::KurtosisY() const { return SkewKurtOfColumn(FData, 2, FNumData).second; }

double TCurveFit::MeanAngle(int32_t Col) const {
  constexpr double ToRad = std::numbers::pi / 180.0;
  double Sn = 0.0, Cs = 0.0;
  for (int32_t I = 0; I < FNumData; ++I) {
    const double V = FData.Mat[detail::Ix1(Col)][detail::Ix(I)] * ToRad;
    Sn += std::sin(V);
    Cs += std::cos(V);
  }
  if (Cs == 0.0) return Sn > 0.0 ? 90.0 : Sn < 0.0 ? 270.0 : 0.0;
  const double A = std::atan(Sn / Cs) / ToRad;
  if (Cs < 0.0) return A + 180.0;
  if (Sn < 0.0) return A + 360.0;
  return A;
}

double TCurveFit::MeanAngleX() const { return MeanAngle(1); }
double TCurveFit::MeanAngleY() const { return MeanAngle(2); }

// ---- spline settings ----

void TCurveFit::SetSplineNatural1(bool Value) {
  FNatural1 = Value;
  FSplineValid = false;
}
void TCurveFit::SetSplineNaturalN(bool Value) {
  FNaturalN = Value;
  FSplineValid = false;
}
void TCurveFit::SetSplineDerivY1(double Value) {
  FY1Dash = Value;
  FSplineValid = false;
}
void TCurveFit::SetSplineDerivYN(double Value) {
  FYNDash = Value;
  FSplineValid = false;
}
void TCurveFit::SetSplineSmoothingFactor(double Value) {
  FPSplineSmooth = Value;
  FPenSplineValid = false;
}

}  // namespace orv
