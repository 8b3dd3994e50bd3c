// TIntMatrix statistics and searching. The dense paths are the matrices'
// block statistics (linalg/matrix_stats.h) over int32_t cells; here are the
// sparse paths and what only integers have (masked zeros).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "core/block_stats.h"
#include "core/intwrap.h"
#include "core/moments.h"
#include "linalg/matrix_stats.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

namespace {

using Stats = detail::TMatrixStats<TIntMatrix>;
using TBlock = Stats::TBlock;

// The stored cells of a sparse matrix that lie in the block, in list order.
template <class F>
void VisitStored(const TIntMatrix& M, const TBlock& B, F&& Visit) {
  if (B.Count() == 0) return;
  const auto& L = M.SpMat;
  auto It = std::lower_bound(L.begin(), L.end(), B.LowCol,
                             [](const TSpMatElemInt& E, int32_t Col) { return E.colidx < Col; });
  for (; It != L.end() && It->colidx <= B.HighCol; ++It)
    if (It->rowidx >= B.LowRow && It->rowidx <= B.HighRow) Visit(It->value);
}

// The same as runs of one cell, for the block kernels.
auto StoredRuns(const TIntMatrix& M, const TBlock& B) {
  return [&M, B](auto&& F) {
    VisitStored(M, B, [&F](const int32_t& V) { F(std::span<const int32_t>(&V, 1)); });
  };
}

// ---- the moments of a sparse block ------------------------------------------------
// Every position of the block counts, one not stored as 0. The positions can
// be far more than a dense matrix could hold (counts up to 2^31 - 1 each), so
// the zeros enter as a count times their term rather than one by one; the
// deviations from the mean are summed, which is the one-pass formula of the
// dense path in exact arithmetic. Mean = sum / n with the sum exact in 64 bits.

double SparseMean(const TIntMatrix& M, const TBlock& B, int64_t& Stored) {
  int64_t S = 0;
  Stored = 0;
  VisitStored(M, B, [&](int32_t V) {
    S += V;
    ++Stored;
  });
  return static_cast<double>(S) / static_cast<double>(B.Count());
}

detail::TMeanVar SparseMeanVar(const TIntMatrix& M, const TBlock& B) {
  detail::TMeanVar R;
  R.N = B.Count();
  if (R.N == 0) return R;
  int64_t Stored;
  R.Mean = SparseMean(M, B, Stored);
  if (R.N < 3) {
    R.Variance = 1.0;
    return R;
  }
  double Q = 0.0;
  VisitStored(M, B, [&](int32_t V) {
    const double D = V - R.Mean;
    Q += D * D;
  });
  Q += static_cast<double>(R.N - Stored) * (R.Mean * R.Mean);
  R.Variance = Q / static_cast<double>(R.N - 1);
  return R;
}

// As SkewKurtOf with the matrices' count threshold of 2 (one cell has no
// deviation: its raw sums are 0).
detail::TSkewKurt SparseSkewKurt(const TIntMatrix& M, const TBlock& B) {
  detail::TSkewKurt R;
  R.N = B.Count();
  if (R.N < 2) return R;
  int64_t Stored;
  const double Mean = SparseMean(M, B, Stored);
  detail::TDeviationSums D;
  VisitStored(M, B, [&](int32_t V) { D.Add(V - Mean); });
  D.AddRepeated(-Mean, static_cast<double>(R.N - Stored));
  D.Scale(R);
  return R;
}

void SkewKurtOfBlock(const TIntMatrix& M, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR, bool Sample,
                     double& Skewness, double& Kurtosis) {
  if (!M.IsSparse()) {
    Stats::SkewKurt(M, LoC, LoR, HiC, HiR, Sample, Skewness, Kurtosis);
    return;
  }
  detail::TSkewKurt R = SparseSkewKurt(M, Stats::Block(M, LoC, LoR, HiC, HiR));
  if (Sample) detail::SkewKurtSampleCorrection(R, detail::TCorrectionOrder::LeftToRight);
  Skewness = R.Skewness;
  Kurtosis = R.Kurtosis;
}

}  // namespace

// ---- sums and moments ----------------------------------------------------------------------

int32_t TIntMatrix::Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const {
  if (!FIsSparse) return Stats::Sum(*this, LoC, LoR, HiC, HiR);
  return detail::SumOf<int32_t>(StoredRuns(*this, Stats::Block(*this, LoC, LoR, HiC, HiR)));
}

int32_t TIntMatrix::Trace() const {
  if (!FIsSparse) return Stats::Trace(*this);
  int32_t S = 0;
  // The shape, as for a dense matrix: the bounds of the stored cells are
  // square for lists that are not (cells (1, 1) and (2, 2) of a 2 x 3 matrix).
  if (FNCol != FNRow || FNCol <= 0) return S;
  for (const TSpMatElemInt& E : SpMat)
    if (E.colidx == E.rowidx) S = detail::WrapAdd(S, E.value);
  return S;
}

void TIntMatrix::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
                         double& Variance) const {
  if (!FIsSparse) {
    Stats::MeanVar(*this, LowCol, LowRow, HighCol, HighRow, Mean, Variance);
    return;
  }
  const detail::TMeanVar R = SparseMeanVar(*this, Stats::Block(*this, LowCol, LowRow, HighCol, HighRow));
  Mean = R.Mean;
  Variance = R.Variance;
}

double TIntMatrix::GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  return Stats::GeometricMean(*this, LowCol, LowRow, HighCol, HighRow);
}

double TIntMatrix::HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  return Stats::HarmonicMean(*this, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                          double& Kurtosis) const {
  SkewKurtOfBlock(*this, LowCol, LowRow, HighCol, HighRow, false, Skewness, Kurtosis);
}

void TIntMatrix::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                double& Skewness, double& Kurtosis) const {
  SkewKurtOfBlock(*this, LowCol, LowRow, HighCol, HighRow, true, Skewness, Kurtosis);
}

// ---- extremes and order statistics ----------------------------------------------------------

void TIntMatrix::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, int32_t& Minimum,
                        int32_t& Maximum) const {
  // The kernel scans from the ends of the range, so that a block of
  // -2147483648 reports it; a block without a cell read (sparse: without a
  // stored cell) keeps the start values.
  constexpr int32_t StartMin = INT32_MAX, StartMax = -INT32_MAX;
  if (!FIsSparse) {
    Stats::MinMax(*this, LowCol, LowRow, HighCol, HighRow, StartMin, StartMax, Minimum, Maximum);
    return;
  }
  detail::MinMaxOf<int32_t>(StoredRuns(*this, Stats::Block(*this, LowCol, LowRow, HighCol, HighRow)), StartMin,
                            StartMax, Minimum, Maximum);
}

bool TIntMatrix::Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1, double& Q2,
                           double& Q3) const {
  return Stats::Quartiles(*this, LowCol, LowRow, HighCol, HighRow, Q1, Q2, Q3);
}

double TIntMatrix::Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  return Stats::Percentile(*this, Prob, LowCol, LowRow, HighCol, HighRow);
}

double TIntMatrix::Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              int32_t SampleSize) const {
  return Stats::Percentile(*this, Prob, LowCol, LowRow, HighCol, HighRow, SampleSize);
}

// ---- counting and searching -----------------------------------------------------------------

int32_t TIntMatrix::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t RangeLow,
                                int32_t RangeHigh) const {
  return Stats::CountValues(*this, LowCol, HighCol, LowRow, HighRow, RangeLow, RangeHigh);
}

int32_t TIntMatrix::CountMaskedZeros(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                                     uint32_t Bitmask) const {
  if (FIsSparse) return 0;
  int64_t N = 0;
  Stats::Cells(*this, Stats::Block(*this, LowCol, LowRow, HighCol, HighRow))(
      [&](int32_t V) { N += (static_cast<uint32_t>(V) & Bitmask) == 0; });
  return SatInt32(N);
}

void TIntMatrix::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t Value,
                      int32_t& ColIx, int32_t& RowIx) const {
  Stats::Find(*this, LowCol, HighCol, LowRow, HighRow, Value, ColIx, RowIx);
}

int32_t TIntMatrix::FindInSortedColumn(int32_t Col, bool ColIsAscending, int32_t Value) const {
  return Stats::FindInSortedColumn(*this, Col, ColIsAscending, Value);
}

std::string TIntMatrix::CRCofData() const {
  // A checksum of no cells would pass for that of an empty dense matrix.
  if (FIsSparse) return {};
  return Stats::CRCofData(*this);
}

// ---- line profiles ------------------------------------------------------------------------

void TIntMatrix::MeanVec(TDims Dim, TVector* Means) const { Stats::MeanVec(*this, Dim, Means); }

void TIntMatrix::EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const {
  Stats::EdgeVector(*this, Orient, EdgeOp, DestVec);
}

int32_t TIntMatrix::Dichotomize(int32_t Threshold, TBool2DArray& ResultArray) const {
  return Stats::Dichotomize(*this, Threshold, ResultArray);
}

}  // namespace orv
