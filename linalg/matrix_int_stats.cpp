// TIntMatrix statistics and searching: the sparse paths, and what only
// integers have (32-bit sums, integer extremes, masked zeros).
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/intwrap.h"
#include "core/moments.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// Bounds after the range rule, 1-based and inclusive; (1, 0) on an empty axis.
struct TBlock {
  int32_t LowCol, HighCol, LowRow, HighRow;
  int64_t Count() const { return (int64_t{HighCol} - LowCol + 1) * (int64_t{HighRow} - LowRow + 1); }
};

TBlock BlockOf(const TIntMatrix& M, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
  M.MakeValidColRange(LowCol, HighCol);
  M.MakeValidRowRange(LowRow, HighRow);
  return {LowCol, HighCol, LowRow, HighRow};
}

// The block's cells of a dense matrix, column by column, as a sequence.
auto DenseCells(const TIntMatrix& M, const TBlock& B) {
  return [&M, B](auto&& F) {
    for (int32_t C = B.LowCol; C <= B.HighCol; ++C) {
      const int32_t* Col = M.Mat[Ix1(C)].data();
      for (int32_t R = B.LowRow; R <= B.HighRow; ++R) F(Col[R - 1]);
    }
  };
}

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

// As SkewKurtOf with the matrices' count threshold of 2.
detail::TSkewKurt SparseSkewKurt(const TIntMatrix& M, const TBlock& B) {
  detail::TSkewKurt R;
  R.N = B.Count();
  if (R.N < 2) return R;
  int64_t Stored;
  const double Mean = SparseMean(M, B, Stored);
  double T = 0.0, Q = 0.0, S3 = 0.0, S4 = 0.0;
  VisitStored(M, B, [&](int32_t V) {
    const double D = V - Mean;
    const double D2 = D * D;
    T += D;
    Q += D2;
    S3 += D2 * D;
    S4 += D2 * D2;
  });
  const double Zeros = static_cast<double>(R.N - Stored), M2 = Mean * Mean;
  T -= Zeros * Mean;
  Q += Zeros * M2;
  S3 -= Zeros * (M2 * Mean);
  S4 += Zeros * (M2 * M2);
  const double Nd = static_cast<double>(R.N);
  const double Var = (Q - T * T / Nd) / (Nd - 1.0);
  if (!(Var > 0.0)) return R;
  const double Sd = std::sqrt(Var);
  const double Sd2 = Sd * Sd;
  R.Scaled = true;
  R.Skewness = S3 / Nd / (Sd2 * Sd);
  R.Kurtosis = S4 / Nd / (Sd2 * Sd2) - 3.0;
  return R;
}

}  // namespace

// ---- sums ---------------------------------------------------------------------------------

int32_t TIntMatrix::Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const {
  const TBlock B = BlockOf(*this, LoC, LoR, HiC, HiR);
  int32_t S = 0;
  if (FIsSparse)
    VisitStored(*this, B, [&S](int32_t V) { S = detail::WrapAdd(S, V); });
  else
    DenseCells(*this, B)([&S](int32_t V) { S = detail::WrapAdd(S, V); });
  return S;
}

int32_t TIntMatrix::Trace() const {
  int32_t S = 0;
  if (FNCol != FNRow || FNCol <= 0) return S;
  if (FIsSparse) {
    for (const TSpMatElemInt& E : SpMat)
      if (E.colidx == E.rowidx) S = detail::WrapAdd(S, E.value);
  } else {
    for (int32_t I = 0; I < FNCol; ++I) S = detail::WrapAdd(S, Mat[Ix(I)][Ix(I)]);
  }
  return S;
}

// ---- moments ------------------------------------------------------------------------------

void TIntMatrix::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
                         double& Variance) const {
  const TBlock B = BlockOf(*this, LowCol, LowRow, HighCol, HighRow);
  const detail::TMeanVar R = FIsSparse ? SparseMeanVar(*this, B) : detail::MeanVarOf(DenseCells(*this, B));
  Mean = R.Mean;
  Variance = R.Variance;
}

void TIntMatrix::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                          double& Kurtosis) const {
  const TBlock B = BlockOf(*this, LowCol, LowRow, HighCol, HighRow);
  const detail::TSkewKurt R =
      FIsSparse ? SparseSkewKurt(*this, B) : detail::SkewKurtOf(DenseCells(*this, B), 2);
  Skewness = R.Skewness;
  Kurtosis = R.Kurtosis;
}

void TIntMatrix::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                double& Skewness, double& Kurtosis) const {
  const TBlock B = BlockOf(*this, LowCol, LowRow, HighCol, HighRow);
  detail::TSkewKurt R = FIsSparse ? SparseSkewKurt(*this, B) : detail::SkewKurtOf(DenseCells(*this, B), 2);
  detail::SkewKurtSampleCorrection(R);
  Skewness = R.Skewness;
  Kurtosis = R.Kurtosis;
}

// ---- extremes and counting ------------------------------------------------------------------

void TIntMatrix::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, int32_t& Minimum,
                        int32_t& Maximum) const {
  const TBlock B = BlockOf(*this, LowCol, LowRow, HighCol, HighRow);
  // The scan starts from the ends of the range, so that a block of
  // -2147483648 reports it; a block without a cell read keeps the start values.
  int32_t Lo = INT32_MAX, Hi = INT32_MIN;
  bool Any = false;
  const auto Take = [&](int32_t V) {
    Lo = std::min(Lo, V);
    Hi = std::max(Hi, V);
    Any = true;
  };
  if (FIsSparse)
    VisitStored(*this, B, Take);
  else
    DenseCells(*this, B)(Take);
  Minimum = Lo;
  Maximum = Any ? Hi : -INT32_MAX;
}

int32_t TIntMatrix::CountMaskedZeros(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                                     uint32_t Bitmask) const {
  if (FIsSparse) return 0;
  int64_t N = 0;
  DenseCells(*this, BlockOf(*this, LowCol, LowRow, HighCol, HighRow))(
      [&](int32_t V) { N += (static_cast<uint32_t>(V) & Bitmask) == 0; });
  return static_cast<int32_t>(std::min<int64_t>(N, INT32_MAX));
}

}  // namespace orv
