// TMatrix row and column profiles: line means and extremes into vectors,
// centring, standardising and quantile normalisation in place, and the mask
// of cells above a threshold.
#include <cmath>
#include <vector>

#include "core/moments.h"
#include "core/order_stats.h"
#include "linalg/matrix_stats.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using detail::Ix;
using Stats = detail::TMatrixStats<TMatrix>;

namespace {

// A line's location and spread, as reported, and whether the line is
// rescaled by them.
struct TScale {
  double Shift = 0.0, Scale = 1.0;
  bool Use = false;
};

// Mean and deviation of a line by MeanVar; used where the variance is above
// 0 and both are finite (an infinite or NaN cell would turn the whole line
// into NaN or zeros).
TScale Standard(const detail::TMeanVar& R) {
  const double Sd = std::sqrt(R.Variance);
  return {R.Mean, Sd, R.Variance > 0.0 && std::isfinite(R.Mean) && std::isfinite(Sd)};
}

// Median m and d = |m - the RefQuant percentile| of the values in W (nearest
// ranks); used where d > 0 and both are finite.
TScale Quantile(detail::TSelection& W, double RefQuant) {
  const double Q = W.Select(RefQuant);
  const double M = W.Select(50.0);
  const double D = std::fabs(M - Q);
  return {M, D, D > 0.0 && std::isfinite(M) && std::isfinite(D)};
}

std::vector<TScale> LineScales(const TMatrix& Self, int32_t N) {
  return detail::GuardAlloc<EORVMatrixError>(Self, detail::NoHeap, [N] { return std::vector<TScale>(Ix(N)); });
}

// Element i of Shifts and of Scales := line i's values, line by line in that
// order as SetVal takes them (elements beyond a vector's size are not
// written; the vectors are not resized); either may be nullptr. Then the
// matrix's OnChange.
void Report(TMatrix& Self, const std::vector<TScale>& S, TVector* Shifts, TVector* Scales) {
  for (std::size_t I = 0; I < S.size() && (Shifts != nullptr || Scales != nullptr); ++I) {
    const auto E = static_cast<int32_t>(I + 1);
    if (Shifts != nullptr) Shifts->SetVal(E, S[I].Shift);
    if (Scales != nullptr) Scales->SetVal(E, S[I].Scale);
  }
  Self.Changed();
}

// Per column, ScaleOf(column) and then, where used, every cell := (cell -
// Shift) / Scale, column by column so that each is still in the cache when
// it is rescaled.
template <class ScaleFn>
void ScaleColumns(TMatrix& Self, TVector* Shifts, TVector* Scales, ScaleFn&& ScaleOf) {
  const int32_t NC = Self.NrOfColumns(), NR = Self.NrOfRows();
  std::vector<TScale> S = LineScales(Self, NC);
  for (int32_t C = 0; C < NC; ++C) {
    double* P = Self.Mat[Ix(C)].data();
    const TScale L = S[Ix(C)] = ScaleOf(P, NR);
    if (L.Use)
      for (int32_t R = 0; R < NR; ++R) P[R] = (P[R] - L.Shift) / L.Scale;
  }
  Report(Self, S, Shifts, Scales);
}

// The same per row, with the rows' scales S found beforehand.
void ScaleRows(TMatrix& Self, TVector* Shifts, TVector* Scales, const std::vector<TScale>& S) {
  const int32_t NC = Self.NrOfColumns(), NR = Self.NrOfRows();
  // Rows left alone take (cell - 0) / 1, which gives every cell back bit for
  // bit (-0.0 and NaN included), so the loop over the rows needs no branch.
  std::vector<double> Sh = detail::GuardAlloc<EORVMatrixError>(Self, detail::NoHeap,
                                                               [NR] { return std::vector<double>(2 * Ix(NR)); });
  double* Shift = Sh.data();
  double* Scale = Sh.data() + NR;
  for (int32_t R = 0; R < NR; ++R) {
    Shift[R] = S[Ix(R)].Use ? S[Ix(R)].Shift : 0.0;
    Scale[R] = S[Ix(R)].Use ? S[Ix(R)].Scale : 1.0;
  }
  for (int32_t C = 0; C < NC; ++C) {
    double* P = Self.Mat[Ix(C)].data();
    for (int32_t R = 0; R < NR; ++R) P[R] = (P[R] - Shift[R]) / Scale[R];
  }
  Report(Self, S, Shifts, Scales);
}

detail::TSelection Selection(const TMatrix& Self, int32_t N) {
  return detail::GuardAlloc<EORVMatrixError>(Self, detail::NoHeap, [N] { return detail::TSelection(N); });
}

}  // namespace

void TMatrix::MeanVec(TDims Dim, TVector* Means) const { Stats::MeanVec(*this, Dim, Means); }

void TMatrix::EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const {
  Stats::EdgeVector(*this, Orient, EdgeOp, DestVec);
}

int32_t TMatrix::Dichotomize(double Threshold, TBool2DArray& ResultArray) const {
  return Stats::Dichotomize(*this, Threshold, ResultArray);
}

namespace {

// Every cell less its line's mean (the sum from 0.0 in order / the cells, as
// MeanVar takes it); Means, when given, sized to the lines and given the means.
void MeanCenter(TMatrix& Self, bool PerRow, TVector* Means) {
  if (Means != nullptr) Means->SetNrOfElem(PerRow ? Self.NrOfRows() : Self.NrOfColumns());
  const std::vector<double> M = Stats::LineValues<Stats::TSum>(Self, PerRow, true);
  const int32_t NR = Self.NrOfRows();
  for (int32_t C = 0; C < Self.NrOfColumns(); ++C) {
    double* P = Self.Mat[Ix(C)].data();
    if (PerRow)
      for (int32_t R = 0; R < NR; ++R) P[R] -= M[Ix(R)];
    else
      for (int32_t R = 0; R < NR; ++R) P[R] -= M[Ix(C)];
  }
  if (Means != nullptr) detail::TVectorOps<TVector>::Put(*Means, M.data(), std::ssize(M), 1);
  Self.Changed();
}

}  // namespace

void TMatrix::MeanCenterColumns(TVector* Means) { MeanCenter(*this, false, Means); }

void TMatrix::MeanCenterRows(TVector* Means) { MeanCenter(*this, true, Means); }

void TMatrix::StandardizeColumns(TVector* Means, TVector* StdDevs) {
  ScaleColumns(*this, Means, StdDevs,
               [](const double* P, int32_t N) { return Standard(detail::MeanVarOf(detail::SpanSequence(P, N))); });
}

void TMatrix::StandardizeRows(TVector* Means, TVector* StdDevs) {
  std::vector<TScale> S = LineScales(*this, FNRow);
  std::vector<detail::TMeanVarSums> Sums = detail::GuardAlloc<EORVMatrixError>(
      *this, detail::NoHeap, [&] { return std::vector<detail::TMeanVarSums>(Ix(FNRow)); });
  for (int32_t C = 0; C < FNCol; ++C) {
    const double* P = Mat[Ix(C)].data();
    for (int32_t R = 0; R < FNRow; ++R) Sums[Ix(R)].Add(P[R]);
  }
  for (int32_t R = 0; R < FNRow; ++R) S[Ix(R)] = Standard(Sums[Ix(R)].Result());
  ScaleRows(*this, Means, StdDevs, S);
}

void TMatrix::QNormalizeColumns(double RefQuant, TVector* Medians, TVector* QuantDiffs) {
  detail::TSelection W = Selection(*this, FNRow);
  ScaleColumns(*this, Medians, QuantDiffs, [&](const double* P, int32_t N) {
    W.Reset();
    for (int32_t R = 0; R < N; ++R) W.Add(P[R]);
    return Quantile(W, RefQuant);
  });
}

void TMatrix::QNormalizeRows(double RefQuant, TVector* Medians, TVector* QuantDiffs) {
  detail::TSelection W = Selection(*this, FNCol);
  std::vector<TScale> S = LineScales(*this, FNRow);
  for (int32_t R = 0; R < FNRow; ++R) {
    W.Reset();
    for (int32_t C = 0; C < FNCol; ++C) W.Add(Mat[Ix(C)][Ix(R)]);
    S[Ix(R)] = Quantile(W, RefQuant);
  }
  ScaleRows(*this, Medians, QuantDiffs, S);
}

}  // namespace orv
