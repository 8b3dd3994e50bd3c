// TMat3D block statistics: extremes, mean and variance with progress, and
// the percentiles, on the kernels of the matrices' statistics.
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "core/block_stats.h"
#include "core/moments.h"
#include "core/order_stats.h"
#include "linalg/component.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

namespace {

// A block after the range rule (every axis of a TMat3D holds a cell).
struct TBlock3D {
  int32_t LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer;
  int64_t Positions() const { return (int64_t{HighCol} - LowCol + 1) * (int64_t{HighRow} - LowRow + 1); }
  int64_t Count() const { return Positions() * (int64_t{HighLayer} - LowLayer + 1); }
};

TBlock3D Block(const TMat3D& M, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
               int32_t HighLayer) {
  M.MakeValidColRange(LowCol, HighCol);
  M.MakeValidRowRange(LowRow, HighRow);
  M.MakeValidLayerRange(LowLayer, HighLayer);
  return {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer};
}

// The block's runs for core/block_stats.h, one per (column, row) position:
// its layers. With Report, the positions are counted as they are entered,
// and ProcStat grows by 1 whenever the count reaches a multiple of
// Trunc(positions / 100) + 1, in the first pass over the block only (a
// kernel may read it twice). MathFeedBackProc may change the array there:
// from then on no run is handed out (the one in hand may lie in freed
// storage), and Changed() tells the routine to compute again.
class TRuns3D {
 public:
  TRuns3D(const TMat3D& M, const TBlock3D& B, bool Report)
      : FM(M), FB(B), FReport(Report), FPositions(B.Positions()), FStep(FPositions / 100 + 1), FStorage(M) {}

  template <class F>
  void operator()(F&& Fn) const {
    FM.VisitBlock(FB.LowCol, FB.HighCol, FB.LowRow, FB.HighRow, FB.LowLayer, FB.HighLayer,
                  [&](int32_t, int32_t, std::span<const double> Run) {
                    if (FChanged) return;
                    if (FReport && ++FEntered <= FPositions && FEntered % FStep == 0) {
                      IncProcStat();
                      FChanged = !FStorage.Intact();
                      if (FChanged) return;
                    }
                    Fn(Run);
                  });
  }
  bool Changed() const { return FChanged; }

 private:
  const TMat3D& FM;
  TBlock3D FB;
  bool FReport;
  int64_t FPositions, FStep;
  mutable int64_t FEntered = 0;
  detail::TStorageGuard<const TMat3D*> FStorage;
  mutable bool FChanged = false;
};

// Compute(Runs, Block) with progress reports; when MathFeedBackProc changed
// the array meanwhile, once more on the block as the array now is, without
// reports, so that the result belongs to one array.
template <class F>
void ReportedOverBlock(const TMat3D& M, const std::array<int32_t, 6>& Bounds, F&& Compute) {
  for (const bool Report : {true, false}) {
    const TBlock3D B = Block(M, Bounds[0], Bounds[1], Bounds[2], Bounds[3], Bounds[4], Bounds[5]);
    const TRuns3D Runs(M, B, Report);
    Compute(std::cref(Runs), B);
    if (!Runs.Changed()) return;
  }
}

}  // namespace

void TMat3D::MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                    int32_t HighLayer, double& Minimum, double& Maximum) const {
  ReportedOverBlock(*this, {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer}, [&](auto Runs, const TBlock3D&) {
    detail::MinMaxOf<double>(Runs, uc_MaxReal, -uc_MaxReal, Minimum, Maximum);
  });
}

void TMat3D::MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                     int32_t HighLayer, double& Mean, double& Variance) const {
  ReportedOverBlock(*this, {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer}, [&](auto Runs, const TBlock3D& B) {
    const detail::TMeanVar R = detail::MeanVarOf(detail::CellsOf(Runs), GetVal(B.LowCol, B.LowRow, B.LowLayer));
    Mean = R.Mean;
    Variance = R.Variance;
  });
}

double TMat3D::Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                          int32_t LowLayer, int32_t HighLayer) const {
  const TBlock3D B = Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer);
  detail::TSelection W =
      detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return detail::TSelection(B.Count()); });
  const TRuns3D Runs(*this, B, false);
  detail::CellsOf(std::cref(Runs))([&W](double X) { W.Add(X); });
  return W.Select(Prob);
}

double TMat3D::Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                          int32_t LowLayer, int32_t HighLayer, int32_t SampleSize) const {
  const TBlock3D B = Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer);
  if (SampleSize <= 0 || SampleSize >= B.Count())
    return Percentile(Prob, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer);
  const auto Draw = [&] {
    const int32_t C = B.LowCol + Random(B.HighCol - B.LowCol + 1);
    const int32_t R = B.LowRow + Random(B.HighRow - B.LowRow + 1);
    const int32_t L = B.LowLayer + Random(B.HighLayer - B.LowLayer + 1);
    return GetVal(C, R, L);
  };
  return detail::GuardAlloc<EORVMatrixError>(
      *this, detail::NoHeap, [&] { return detail::SampledPercentileOf(Prob, SampleSize, Draw, false); });
}

}  // namespace orv
