// TMat4D: fills, adding a layer, searching, the block statistics and the
// checksum.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/moments.h"
#include "linalg/component.h"
#include "linalg/matrix_4d.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;
using detail::Ix1;
using detail::TMat4DAccess;

// ---- fills ----

void TMat4D::Fill(double Value) {
  std::fill(FCells.begin(), FCells.end(), Value);
  Changed();
}

void TMat4D::FillDiag(double Value) {
  const int32_t N = std::min({FNumX, FNumY, FNumZ, FNumT});
  for (int32_t I = 1; I <= N; ++I) FCells[Offset(I, I, I, I)] = Value;
  Changed();
}

void TMat4D::FillLayer(int32_t Layer, double Value) {
  if (!detail::InAxis(Layer, FNumZ)) return;
  for (int32_t T = 1; T <= FNumT; ++T)
    std::fill_n(FCells.begin() + static_cast<std::ptrdiff_t>(Offset(1, 1, Layer, T)), int64_t{FNumX} * FNumY,
                Value);
}

int32_t TMat4D::FillLayer(int32_t Layer, int32_t TimeSlot, int32_t Mode, double Par1, double Par2) {
  int32_t Code = 0;
  if (!detail::InAxis(Layer, FNumZ)) Code = -1;
  if (!detail::InAxis(TimeSlot, FNumT)) Code = -2;
  if (Mode < 0 || Mode > 2) Code = -3;
  if (Code != 0) return Code;
  for (int32_t C = 1; C <= FNumX; ++C)
    for (int32_t R = 1; R <= FNumY; ++R) {
      double& Cell = FCells[Offset(C, R, Layer, TimeSlot)];
      switch (Mode) {
        case 0: Cell = Par1; break;
        case 1: Cell = Par1 + Random() * (Par2 - Par1); break;
        default: Cell = Par1 + Par2 * GRandom(); break;
      }
    }
  Changed();
  return 0;
}

void TMat4D::FillRandomUniform(double RangeLow, double RangeHigh) {
  TMat4DAccess::FillOrdered(*this, [&] { return RangeLow + Random() * (RangeHigh - RangeLow); });
  Changed();
}

void TMat4D::FillRandomGauss(double Mean, double StdDev) {
  TMat4DAccess::FillOrdered(*this, [&] { return GRandom() * StdDev + Mean; });
  Changed();
}

int32_t TMat4D::AccumulateLayer(int32_t Layer, int32_t TimeSlot, const TDouble2DArray& Src) {
  int32_t Code = 0;
  // Every column counts: a ragged source would be read beyond its end.
  if (std::ssize(Src) != FNumX ||
      std::any_of(Src.begin(), Src.end(), [this](const TDoubleArray& Col) { return std::ssize(Col) != FNumY; }))
    Code = -1;
  if (!detail::InAxis(Layer, FNumZ)) Code = -2;
  if (!detail::InAxis(TimeSlot, FNumT)) Code = -3;
  if (Code != 0) return Code;
  for (int32_t R = 1; R <= FNumY; ++R) {
    double* Row = FCells.data() + Offset(1, R, Layer, TimeSlot);
    for (int32_t C = 0; C < FNumX; ++C) Row[C] += Src[Ix(C)][Ix1(R)];
  }
  return 0;
}

// ---- searching and block statistics ----

void TMat4D::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                  int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double Value, int32_t& ColIx,
                  int32_t& RowIx, int32_t& LayerIx, int32_t& TimeSlotIx) const {
  ColIx = RowIx = LayerIx = TimeSlotIx = 0;
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  double Nearest = uc_MaxDouble;
  int32_t Col = 0, Row = 0;
  int64_t Cell = -1;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    TMat4DAccess::VisitOrdered(*this, B, [&](int32_t C, int32_t R, int64_t K0, std::span<const double> Run) {
      for (std::size_t K = 0; K < Run.size(); ++K)
        if (const double D = std::fabs(Run[K] - Value); D < Nearest) {
          Nearest = D;
          Col = C;
          Row = R;
          Cell = K0 + static_cast<int64_t>(K);
        }
    });
  });
  if (Cell < 0) return;
  ColIx = Col;
  RowIx = Row;
  LayerIx = static_cast<int32_t>(B.L0 + Cell / B.Slots());
  TimeSlotIx = static_cast<int32_t>(B.T0 + Cell % B.Slots());
}

int32_t TMat4D::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                            int32_t HighLayer, int32_t LowTimeslot, int32_t HighTimeslot, double RangeLow,
                            double RangeHigh) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeslot, HighTimeslot);
  int64_t Count = 0;
  TMat4DAccess::VisitRows(*this, B, [&](std::span<const double> Run) {
    for (const double X : Run) Count += X >= RangeLow && X <= RangeHigh;
  });
  return static_cast<int32_t>(std::min<int64_t>(Count, INT32_MAX));
}

void TMat4D::MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                    int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Minimum,
                    double& Maximum) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  // From the infinities, so that infinite cells are reported as they are;
  // an extreme no cell reached (every cell NaN) is the documented start value.
  constexpr double Inf = std::numeric_limits<double>::infinity();
  double Lo = Inf, Hi = -Inf;
  TMat4DAccess::VisitRows(*this, B, [&](std::span<const double> Run) {
    for (const double X : Run) {
      Lo = X < Lo ? X : Lo;
      Hi = X > Hi ? X : Hi;
    }
  });
  const bool Number = Lo <= Hi;  // some cell was no NaN
  Minimum = Number ? Lo : uc_MaxReal;
  Maximum = Number ? Hi : -uc_MaxReal;
  detail::PositionProgress(B.Positions()).Entered(B.Positions());
}

namespace {

// The cells of a block in the documented order, as a sequence of core/moments.h,
// counting the positions for progress as they are entered.
auto OrderedCells(const TMat4D& M, const detail::TBlock4D& B, detail::TStepProgress& Progress) {
  return [&M, B, &Progress](auto&& F) {
    TMat4DAccess::VisitOrdered(M, B, [&](int32_t, int32_t, int64_t K0, std::span<const double> Run) {
      if (K0 == 0) Progress.Enter();
      for (const double X : Run) F(X);
    });
  };
}

}  // namespace

void TMat4D::MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                     int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Mean,
                     double& Variance) const {
  Mean = Variance = 0.0;
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  detail::TStepProgress Progress = detail::PositionProgress(B.Positions());
  const detail::TMeanVar R = detail::GuardAlloc<EORVMatrixError>(
      *this, detail::NoHeap, [&] { return detail::MeanVarOf(OrderedCells(*this, B, Progress)); });
  Mean = R.Mean;
  Variance = R.Variance;
}

double TMat4D::Sum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                   int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  detail::TStepProgress Progress = detail::PositionProgress(B.Positions());
  double S = 0.0;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap,
                                      [&] { OrderedCells(*this, B, Progress)([&S](double X) { S += X; }); });
  return S;
}

double TMat4D::SquaredSum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                          int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  detail::TStepProgress Progress = detail::PositionProgress(B.Positions());
  double S = 0.0;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap,
                                      [&] { OrderedCells(*this, B, Progress)([&S](double X) { S += X * X; }); });
  return S;
}

// ---- checksum ----

std::string TMat4D::CRCofData() { return CRCofData(1); }

std::string TMat4D::CRCofData(int32_t Sample) {
  if (Sample > FNumZ / 2) Sample = FNumZ / 2;
  if (Sample < 1) Sample = 1;
  detail::TBlock4D B = TMat4DAccess::Whole(*this);
  B.L0 = Sample;
  B.L1 = FNumZ / Sample * Sample;
  B.LStep = Sample;
  const int64_t Positions = B.Positions();
  int64_t Entered = 0;
  detail::TLaneCRC<8> Crc;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    TMat4DAccess::VisitOrdered(*this, B, [&](int32_t, int32_t, int64_t K0, std::span<const double> Run) {
      if (K0 == 0) {
        detail::PercentSteps(Entered, Entered + 1, Positions, [this](int32_t P) { PercDone(this, P); });
        ++Entered;
      }
      for (const double X : Run) Crc.AddValue(X);
    });
  });
  return Crc.Text();
}

}  // namespace orv
