// The block statistics, searching and line profiles of the matrix
// components, written once over the component (TMatrix, and TIntMatrix with
// its int32_t cells). Internal.
//
// The kernels are those of core/moments.h, core/order_stats.h and
// core/block_stats.h, fed the block's columns as runs (Runs); what is the
// matrices' own (bound order, start values, messages, the order in which
// Quartiles copies, the zero shortcut of the sampled percentile) lives here.
//
// Instantiating them for another matrix component M: TMatrixKind<M> of
// linalg/matrix_ops.h names the cell type and the error class, and Dense(m)
// (false while a sparse matrix has no dense Mat: every member here then gives
// its start values, and the component runs its sparse paths itself). M must
// offer NrOfColumns, NrOfRows, Mat ([column][row]), GetVal,
// MakeValidColRange, MakeValidRowRange, Changed and its TComponent name.
//
// None of the statistics fires an event. The profiles that write the matrix
// compute every line's values first and write Mat directly, then fire
// OnChange once; vectors they fill are written afterwards as SetVal does, so
// a handler of a vector sees the whole result.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/block_stats.h"
#include "core/moments.h"
#include "core/order_stats.h"
#include "linalg/component.h"
#include "linalg/histogram.h"
#include "linalg/matrix_ops.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv::detail {

template <class M>
struct TMatrixStats {
  using K = TMatrixKind<M>;
  using T = typename K::TElem;
  using TError = typename K::TError;

  // ---- blocks ----------------------------------------------------------------------
  // Bounds after the range rule, 1-based and inclusive; (1, 0) on an empty axis.
  struct TBlock {
    int32_t LowCol, HighCol, LowRow, HighRow;
    int64_t Cols() const { return int64_t{HighCol} - LowCol + 1; }
    int64_t Rows() const { return int64_t{HighRow} - LowRow + 1; }
    int64_t Count() const { return Cols() * Rows(); }
  };

  static TBlock Block(const M& S, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    S.MakeValidColRange(LowCol, HighCol);
    S.MakeValidRowRange(LowRow, HighRow);
    return {LowCol, HighCol, LowRow, HighRow};
  }

  // The block's columns as runs of its rows.
  static auto Runs(const M& S, const TBlock& B) {
    return [&S, B](auto&& F) {
      for (int32_t C = B.LowCol; C <= B.HighCol; ++C)
        F(std::span<const T>(S.Mat[Ix1(C)].data() + (B.LowRow - 1), Ix(B.Rows())));
    };
  }

  static auto Cells(const M& S, const TBlock& B) { return CellsOf(Runs(S, B)); }

  // ---- sums and moments ----------------------------------------------------------------
  static T Sum(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) {
    if (!K::Dense(S)) return T{};
    return SumOf<T>(Runs(S, Block(S, LoC, LoR, HiC, HiR)));
  }

  static T Trace(const M& S) {
    const int32_t N = S.NrOfColumns();
    T Sum{};
    if (!K::Dense(S) || N != S.NrOfRows()) return Sum;
    for (int32_t I = 0; I < N; ++I) Sum = WrapAdd(Sum, S.Mat[Ix(I)][Ix(I)]);
    return Sum;
  }

  static void MeanVar(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR, double& Mean,
                      double& Variance) {
    Mean = Variance = 0.0;
    if (!K::Dense(S)) return;
    const TBlock B = Block(S, LoC, LoR, HiC, HiR);
    const double First = B.Count() > 0 ? static_cast<double>(S.Mat[Ix1(B.LowCol)][Ix1(B.LowRow)]) : 0.0;
    const TMeanVar R = MeanVarOf(Cells(S, B), First);
    Mean = R.Mean;
    Variance = R.Variance;
  }

  // exp(sum ln x / rows / columns), in that order.
  static double GeometricMean(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) {
    if (!K::Dense(S)) return 0.0;
    const TBlock B = Block(S, LoC, LoR, HiC, HiR);
    const TGeometricMean R = GeometricMeanOf(Cells(S, B));
    if (R.Negative) RaiseComponentError<TError>(S, "negative argument passed to GeometricMean");
    if (R.Zero || R.N == 0) return 0.0;
    return std::exp(R.LogSum / static_cast<double>(B.Rows()) / static_cast<double>(B.Cols()));
  }

  static double HarmonicMean(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) {
    if (!K::Dense(S)) return 0.0;
    const THarmonicMean R = HarmonicMeanOf(Cells(S, Block(S, LoC, LoR, HiC, HiR)));
    if (R.NonPositive) RaiseComponentError<TError>(S, "negative or zero argument passed to HarmonicMean");
    return R.Value();
  }

  // Formed from 2 cells on, the raw sums below; Sample adds the correction in
  // the matrices' order of operations.
  static void SkewKurt(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR, bool Sample,
                       double& Skewness, double& Kurtosis) {
    Skewness = Kurtosis = 0.0;
    if (!K::Dense(S)) return;
    TSkewKurt R = SkewKurtOf(Cells(S, Block(S, LoC, LoR, HiC, HiR)), 2, TFewValues::RawSums);
    if (Sample) SkewKurtSampleCorrection(R, TCorrectionOrder::LeftToRight);
    Skewness = R.Skewness;
    Kurtosis = R.Kurtosis;
  }

  static void MinMax(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR, T StartMin, T StartMax,
                     T& Minimum, T& Maximum) {
    Minimum = StartMin;
    Maximum = StartMax;
    if (!K::Dense(S)) return;
    MinMaxOf<T>(Runs(S, Block(S, LoC, LoR, HiC, HiR)), StartMin, StartMax, Minimum, Maximum);
  }

  // ---- order statistics ------------------------------------------------------------------
  // The copy runs row by row, which fixes the passes the comb sort reports.
  static bool Quartiles(const M& S, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR, double& Q1, double& Q2,
                        double& Q3) {
    Q1 = Q2 = Q3 = 0.0;
    if (!K::Dense(S)) return false;
    const TBlock B = Block(S, LoC, LoR, HiC, HiR);
    const auto RowByRow = [&S, B](auto&& F) {
      for (int32_t R = B.LowRow; R <= B.HighRow; ++R)
        for (int32_t C = B.LowCol; C <= B.HighCol; ++C) F(S.Mat[Ix1(C)][Ix1(R)]);
    };
    const std::vector<T> A = GuardAlloc<TError>(S, NoHeap, [&] {
      CheckExtent(B.Count(), sizeof(T));
      return SortedCopy<T>(B.Count(), RowByRow);
    });
    return InterpolatedQuartiles<T>(A, Q1, Q2, Q3);
  }

  static double Percentile(const M& S, double Prob, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) {
    if (!K::Dense(S)) return 0.0;
    const TBlock B = Block(S, LoC, LoR, HiC, HiR);
    if (B.Count() == 0) return 0.0;
    TSelection W = GuardAlloc<TError>(S, NoHeap, [&] { return TSelection(B.Count()); });
    Cells(S, B)([&W](T X) { W.Add(static_cast<double>(X)); });
    return W.Select(Prob);
  }

  static double Percentile(const M& S, double Prob, int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR,
                           int32_t SampleSize) {
    if (!K::Dense(S)) return 0.0;
    const TBlock B = Block(S, LoC, LoR, HiC, HiR);
    if (SampleSize <= 0 || SampleSize >= B.Count()) return Percentile(S, Prob, LoC, LoR, HiC, HiR);
    const auto Cols = static_cast<int32_t>(B.Cols()), Rows = static_cast<int32_t>(B.Rows());
    const auto Draw = [&] {
      const int32_t C = B.LowCol + Random(Cols);
      const int32_t R = B.LowRow + Random(Rows);
      return S.Mat[Ix1(C)][Ix1(R)];
    };
    return GuardAlloc<TError>(S, NoHeap, [&] { return SampledPercentileOf(Prob, SampleSize, Draw, true); });
  }

  // ---- counting ---------------------------------------------------------------------------
  template <class V>
  static int32_t CountValues(const M& S, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                             V RangeLow, V RangeHigh) {
    if (!K::Dense(S)) return 0;
    return SatInt32(CountInRangeOf(Runs(S, Block(S, LowCol, LowRow, HighCol, HighRow)), RangeLow, RangeHigh));
  }

  // With a handler on Histo the cells are read through GetVal between its
  // events, which a handler that resizes the matrix cannot lead astray.
  template <class BinRule>
  static bool Histogram(const M& S, int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, TIntVector& Histo,
                        const BinRule& Bins, int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt) {
    if (!K::Dense(S)) return false;
    const TBlock B = Block(S, LoX, LoY, HiX, HiY);
    if (B.Count() > INT32_MAX) return false;
    const THistoCounts C = CountHistogram(Histo, Bins, [&](auto&& Add, bool Watched) {
      if (!Watched) {
        Cells(S, B)([&Add](T X) { Add(X, 1); });
        return;
      }
      for (int32_t Col = B.LowCol; Col <= B.HighCol; ++Col)
        for (int32_t Row = B.LowRow; Row <= B.HighRow; ++Row) Add(S.GetVal(Col, Row), 1);
    });
    Underflow = C.Underflow;
    Overflow = C.Overflow;
    MaxCnt = C.MaxCnt;
    return true;
  }

  // ---- searching --------------------------------------------------------------------------
  template <class V>
  static void Find(const M& S, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, V Value,
                   int32_t& ColIx, int32_t& RowIx) {
    ColIx = RowIx = 0;
    if (!K::Dense(S)) return;
    const TBlock B = Block(S, LowCol, LowRow, HighCol, HighRow);
    const TCellPlace P = NearestOf(Runs(S, B), Value);
    if (!P.Found()) return;
    ColIx = B.LowCol + static_cast<int32_t>(P.Run);
    RowIx = B.LowRow + static_cast<int32_t>(P.Offset);
  }

  static int32_t FindInSortedColumn(const M& S, int32_t Col, bool Ascending, T Value) {
    if (!K::Dense(S) || !InAxis(Col, S.NrOfColumns()) || S.NrOfRows() <= 0) return 0;
    const T* X = S.Mat[Ix1(Col)].data();
    return FindInSortedOf(S.NrOfRows(), Ascending, Value, [X](int32_t R) { return X[R - 1]; });
  }

  static std::string CRCofData(const M& S) {
    TLaneCRC<sizeof(T)> Crc;
    if (K::Dense(S))
      for (int32_t C = 0; C < S.NrOfColumns(); ++C)
        for (int32_t R = 0; R < S.NrOfRows(); ++R) Crc.AddValue(S.Mat[Ix(C)][Ix(R)]);
    return Crc.Text();
  }

  // ---- line profiles ---------------------------------------------------------------------------
  // Reductions of a line in order from a start value.
  // Extreme: the rule of LineExtreme (core/block_stats.h), Max its direction.
  struct TSum {
    static constexpr double Start = 0.0;
    static constexpr bool Extreme = false, Max = false;
    double operator()(double A, double X) const { return A + X; }
  };
  struct TMin {
    static constexpr double Start = uc_MaxDouble;
    static constexpr bool Extreme = true, Max = false;
    double operator()(double A, double X) const { return !(A <= X) ? X : A; }
  };
  struct TMax {
    static constexpr double Start = -uc_MaxDouble;
    static constexpr bool Extreme = true, Max = true;
    double operator()(double A, double X) const { return A < X ? X : A; }
  };

  // Out[c] := Op over column c's rows, in order. Each column is a serial chain;
  // eight run side by side (extremes of real cells go to LineExtreme).
  template <class Op>
  static void ReduceColumns(const M& S, Op Reduce, double* Out) {
    constexpr int32_t Lanes = 8;
    const int32_t NC = S.NrOfColumns(), NR = S.NrOfRows();
    if constexpr (Op::Extreme && std::is_same_v<T, double>) {
      for (int32_t C = 0; C < NC; ++C) Out[C] = LineExtreme(S.Mat[Ix(C)].data(), NR, Op::Start, Op::Max);
      return;
    }
    int32_t C = 0;
    for (; C + Lanes <= NC; C += Lanes) {
      const T* P[Lanes];
      double A[Lanes];
      for (int32_t J = 0; J < Lanes; ++J) {
        P[J] = S.Mat[Ix(C + J)].data();
        A[J] = Op::Start;
      }
      for (int32_t R = 0; R < NR; ++R)
        for (int32_t J = 0; J < Lanes; ++J) A[J] = Reduce(A[J], static_cast<double>(P[J][R]));
      for (int32_t J = 0; J < Lanes; ++J) Out[C + J] = A[J];
    }
    for (; C < NC; ++C) {
      const T* P = S.Mat[Ix(C)].data();
      double A = Op::Start;
      for (int32_t R = 0; R < NR; ++R) A = Reduce(A, static_cast<double>(P[R]));
      Out[C] = A;
    }
  }

  // Out[r] := Op over row r's columns, in order.
  template <class Op>
  static void ReduceRows(const M& S, Op Reduce, double* Out) {
    const int32_t NC = S.NrOfColumns(), NR = S.NrOfRows();
    std::fill_n(Out, NR, Op::Start);
    for (int32_t C = 0; C < NC; ++C) {
      const T* P = S.Mat[Ix(C)].data();
      for (int32_t R = 0; R < NR; ++R) Out[R] = Reduce(Out[R], static_cast<double>(P[R]));
    }
  }

  // One value per line: PerRow, Op over each row, else over each column;
  // Mean divides by the line's cells (0.0 without).
  template <class Op>
  static std::vector<double> LineValues(const M& S, bool PerRow, bool Mean) {
    const int32_t N = PerRow ? S.NrOfRows() : S.NrOfColumns();
    const int32_t Len = PerRow ? S.NrOfColumns() : S.NrOfRows();
    std::vector<double> V = GuardAlloc<TError>(S, NoHeap, [&] { return std::vector<double>(Ix(N)); });
    if (PerRow)
      ReduceRows(S, Op{}, V.data());
    else
      ReduceColumns(S, Op{}, V.data());
    if (Mean)
      for (double& X : V) X = Len > 0 ? X / Len : 0.0;
    return V;
  }

  // LineValues into Dest, sized through NrOfElem and written as SetVal does.
  template <class Op>
  static void LineProfile(const M& S, bool PerRow, bool Mean, TVector& Dest) {
    const std::vector<double> V = LineValues<Op>(S, PerRow, Mean);
    const auto N = static_cast<int32_t>(V.size());
    Dest.SetNrOfElem(N);
    TVectorOps<TVector>::Put(Dest, V.data(), N, 1);
  }

  static void MeanVec(const M& S, TDims Dim, TVector* Means) {
    if (Means == nullptr || (Dim != dimColumns && Dim != dimRows) || !K::Dense(S)) return;
    LineProfile<TSum>(S, Dim == dimRows, true, *Means);
  }

  static void EdgeVector(const M& S, TOrientation Orient, TEdgeOp EdgeOp, TVector* Dest) {
    if (Dest == nullptr || !K::Dense(S)) return;
    const bool PerRow = Orient == orRows;
    switch (EdgeOp) {
      case eoMinimum: LineProfile<TMin>(S, PerRow, false, *Dest); break;
      case eoMaximum: LineProfile<TMax>(S, PerRow, false, *Dest); break;
      case eoSum: LineProfile<TSum>(S, PerRow, false, *Dest); break;
      case eoMean: LineProfile<TSum>(S, PerRow, true, *Dest); break;
    }
  }

  // Without dense storage the result is empty (a sparse matrix may count
  // 2^31 - 1 columns that no storage backs).
  template <class V>
  static int32_t Dichotomize(const M& S, V Threshold, TBool2DArray& Result) {
    const bool Dense = K::Dense(S);
    const int32_t NC = Dense ? S.NrOfColumns() : 0, NR = Dense ? S.NrOfRows() : 0;
    int64_t Count = 0;
    TBool2DArray A = GuardAlloc<TError>(S, NoHeap, [&] {
      CheckExtent(int64_t{NC} * NR, sizeof(TBool));
      TBool2DArray Out(Ix(NC), TBoolArray(Ix(NR)));
      for (int32_t C = 0; C < NC && NR > 0; ++C) {
        const T* P = S.Mat[Ix(C)].data();
        TBool* D = Out[Ix(C)].data();
        for (int32_t R = 0; R < NR; ++R) {
          const bool Above = P[R] > Threshold;
          D[R] = Above;
          Count += Above;
        }
      }
      return Out;
    });
    Result = std::move(A);
    return SatInt32(Count);
  }
};

}  // namespace orv::detail
