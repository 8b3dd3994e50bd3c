// TMat4D: fills, adding a layer, searching, the block statistics and the
// checksum.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/block_stats.h"
#include "core/moments.h"
#include "core/order_stats.h"
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

namespace {

// A cell of the block drawn at random: its column, row, layer and time slot
// by Random, in this order.
double RandomCell(const TMat4D& M, const detail::TBlock4D& B) {
  const auto C = static_cast<int32_t>(B.C0 + Random(static_cast<int32_t>(B.Cols())));
  const auto R = static_cast<int32_t>(B.R0 + Random(static_cast<int32_t>(B.Rows())));
  const auto L = static_cast<int32_t>(B.L0 + Random(static_cast<int32_t>(B.Layers())));
  const auto T = static_cast<int32_t>(B.T0 + Random(static_cast<int32_t>(B.Slots())));
  return M.GetVal(C, R, L, T);
}

}  // namespace

void TMat4D::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                  int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double Value, int32_t& ColIx,
                  int32_t& RowIx, int32_t& LayerIx, int32_t& TimeSlotIx) const {
  ColIx = RowIx = LayerIx = TimeSlotIx = 0;
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  const detail::TCellPlace P = detail::GuardAlloc<EORVMatrixError>(
      *this, detail::NoHeap, [&] { return detail::NearestOf(detail::TOrderedRuns(*this, B), Value); });
  if (!P.Found()) return;
  // Positions column by column, each in RunsPerPosition runs of GatherCells cells.
  const int64_t PerPosition = TMat4DAccess::RunsPerPosition(B);
  const int64_t Position = P.Run / PerPosition;
  const int64_t Cell = P.Run % PerPosition * TMat4DAccess::GatherCells + P.Offset;
  ColIx = static_cast<int32_t>(B.C0 + Position / B.Rows());
  RowIx = static_cast<int32_t>(B.R0 + Position % B.Rows());
  LayerIx = static_cast<int32_t>(B.L0 + Cell / B.Slots());
  TimeSlotIx = static_cast<int32_t>(B.T0 + Cell % B.Slots());
}

int32_t TMat4D::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                            int32_t HighLayer, int32_t LowTimeslot, int32_t HighTimeslot, double RangeLow,
                            double RangeHigh) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeslot, HighTimeslot);
  return SatInt32(detail::CountInRangeOf(detail::RowRuns(*this, B), RangeLow, RangeHigh));
}

void TMat4D::MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                    int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Minimum,
                    double& Maximum) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  // The extremes do not depend on the order: memory order, the positions
  // reported after.
  detail::MinMaxOf<double, detail::TMinRule::Below>(detail::RowRuns(*this, B), uc_MaxReal, -uc_MaxReal, Minimum,
                                                    Maximum);
  detail::PositionProgress(B.Positions()).Entered(B.Positions());
}

void TMat4D::MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                     int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Mean,
                     double& Variance) const {
  Mean = Variance = 0.0;
  detail::ReportedOrdered(*this, {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot},
                          [&](auto Runs, const detail::TBlock4D& B) {
                            const detail::TMeanVar R = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
                              return detail::MeanVarOf(detail::CellsOf(Runs), GetVal(B.C0, B.R0, B.L0, B.T0));
                            });
                            Mean = R.Mean;
                            Variance = R.Variance;
                          });
}

double TMat4D::Sum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                   int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const {
  double S = 0.0;
  detail::ReportedOrdered(*this, {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot},
                          [&](auto Runs, const detail::TBlock4D&) {
                            S = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap,
                                                                    [&] { return detail::SumOf<double>(Runs); });
                          });
  return S;
}

double TMat4D::SquaredSum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                          int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const {
  double S = 0.0;
  detail::ReportedOrdered(*this, {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot},
                          [&](auto Runs, const detail::TBlock4D&) {
                            S = 0.0;
                            detail::GuardAlloc<EORVMatrixError>(
                                *this, detail::NoHeap, [&] { detail::CellsOf(Runs)([&S](double X) { S += X * X; }); });
                          });
  return S;
}

double TMat4D::Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                          int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  if (!std::isnan(Prob)) Prob = std::clamp(Prob, 0.0, 100.0);
  // A candidate from 15 random cells: the first that at least 7 of them
  // equal, else their smallest.
  constexpr int Samples = 15;
  double Sample[Samples];
  for (double& X : Sample) X = RandomCell(*this, B);
  double Candidate = std::numeric_limits<double>::infinity();
  for (const double X : Sample) Candidate = X < Candidate ? X : Candidate;
  for (const double X : Sample)
    if (std::count(std::begin(Sample), std::end(Sample), X) >= 7) {
      Candidate = X;
      break;
    }
  // Sorted (NaN last), the candidate's copies stand at positions Below ..
  // Below + Equal - 1: a wanted position among them needs no selection.
  int64_t Below = 0, Equal = 0;
  detail::TSelection W = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    return detail::TSelection(B.Count());
  });
  TMat4DAccess::VisitRows(*this, B, [&](std::span<const double> Run) {
    for (const double X : Run) {
      Below += X < Candidate;
      Equal += X == Candidate;
      W.Add(X);
    }
  });
  if (!std::isnan(Prob)) {
    const int64_t K = detail::NearestRank(B.Count(), Prob);
    if (Below <= K && K < Below + Equal) return Candidate;
  }
  return W.Select(Prob);
}

double TMat4D::Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                          int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                          int32_t SampleSize) const {
  const detail::TBlock4D B =
      TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  if (SampleSize == 0 || SampleSize >= B.Count())
    return Percentile(Prob, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  if (SampleSize < 0) detail::RaiseComponentError<EORVMatrixError>(*this, detail::NoHeap);
  return detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    return detail::SampledPercentileOf(Prob, SampleSize, [&] { return RandomCell(*this, B); }, false);
  });
}

// ---- checksum ----

std::string TMat4D::CRCofData() { return CRCofData(1); }

// An OnPercentDone handler that resizes the array ends the walk part way:
// the sum is then taken again over the array as it now is, without events.
std::string TMat4D::CRCofData(int32_t Sample) {
  const int32_t Asked = Sample;
  for (const bool Report : {true, false}) {
    Sample = std::clamp(Asked, 1, std::max(FNumZ / 2, 1));
    detail::TBlock4D B = TMat4DAccess::Whole(*this);
    B.L0 = Sample;
    B.L1 = FNumZ / Sample * Sample;
    B.LStep = Sample;
    const int64_t Positions = B.Positions();
    int64_t Entered = 0;
    detail::TLaneCRC<8> Crc;
    const bool Complete = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
      return TMat4DAccess::VisitOrdered(*this, B, [&](int32_t, int32_t, int64_t K0, std::span<const double> Run) {
        if (Report && K0 == 0) {
          detail::PercentSteps(Entered, Entered + 1, Positions, [this](int32_t P) { PercDone(this, P); });
          ++Entered;
        }
        for (const double X : Run) Crc.AddValue(X);
      });
    });
    if (Complete) return Crc.Text();
  }
  return {};  // not reached: the second walk calls no host code
}

}  // namespace orv
