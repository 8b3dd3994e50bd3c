// TDataTable: statistics of the cells of a range, copying selected cells
// into a vector, and standardizing and centring columns and rows in place.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/moments.h"
#include "core/order_stats.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_univconst.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::IsCategorical;
using detail::Ix;
using detail::Ix1;

// The one range visitor of the statistics: a scale filter and a state
// predicate select the cells; a visitor calls F(value) for each of them,
// column by column, within a column row by row (core/moments.h's sequences).
struct TDataTable::TCells {
  enum class TScales { IntervalRatio, Any, AnyRounded };

  template <class Pred>
  static auto Range(const TDataTable& T, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                    TScales Scales, Pred Selects) {
    T.MakeValidColRange(LowCol, HighCol);
    T.MakeValidRowRange(LowRow, HighRow);
    return [&T, LowCol, LowRow, HighCol, HighRow, Scales, Selects](auto&& F) {
      const TMatrix& M = *T.NumericData;
      for (int32_t C = LowCol; C <= HighCol; ++C) {
        const TMScaleType Scale = T.FVType[Ix1(C)].MScaleType;
        if (Scales == TScales::IntervalRatio && Scale != stInterval && Scale != stRatio) continue;
        const bool Round = Scales == TScales::AnyRounded && IsCategorical(Scale);
        const uint8_t* St = T.FCState[Ix1(C)].data();
        // Cells beyond an adopted matrix that its host made smaller read 0.0.
        const double* X = C <= M.NrOfColumns() ? M.Mat[Ix1(C)].data() : nullptr;
        const int32_t InData = X != nullptr ? std::min(HighRow, M.NrOfRows()) : LowRow - 1;
        for (int32_t R = LowRow; R <= HighRow; ++R) {
          if (!Selects(St[Ix1(R)])) continue;
          const double V = R <= InData ? X[Ix1(R)] : 0.0;
          F(Round ? RoundHalfEven(V) : V);
        }
      }
    };
  }

  // Predicates as lambdas, not function pointers: those are called per cell.
  static constexpr auto Numeric = [](uint8_t S) { return detail::IsNumericState(S); };

  static auto Num(const TDataTable& T, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    return Range(T, LowCol, LowRow, HighCol, HighRow, TScales::IntervalRatio, Numeric);
  }

  static auto Marked(const TDataTable& T, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                     uint8_t Mask) {
    return Range(T, LowCol, LowRow, HighCol, HighRow, TScales::IntervalRatio,
                 [Mask](uint8_t S) { return detail::IsMarkedState(S, Mask); });
  }

  static int64_t Area(const TDataTable& T, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    T.MakeValidColRange(LowCol, HighCol);
    T.MakeValidRowRange(LowRow, HighRow);
    return int64_t{HighCol - LowCol + 1} * (HighRow - LowRow + 1);
  }

  // The values of a visitor in a work array with room for the range's area;
  // E is the error the routine documents for its memory.
  template <class E, class Visit>
  static std::vector<double> Collect(const TDataTable& T, int64_t Room, Visit&& Cells) {
    return detail::GuardAlloc<E>(T, detail::NoHeap, [&] {
      detail::CheckExtent(Room, sizeof(double));
      std::vector<double> A;
      A.reserve(Ix(Room));
      Cells([&](double X) { A.push_back(X); });
      return A;
    });
  }
};

namespace {

template <class Visit>
double SumOf(Visit&& Cells, int32_t& NumData, bool Squared) {
  int64_t N = 0;
  double S = 0.0;
  Cells([&](double X) {
    ++N;
    S += Squared ? X * X : X;
  });
  NumData = SatInt32(N);
  return S;
}

template <class Visit>
int32_t MeanVar(Visit&& Cells, double& Mean, double& Variance) {
  const detail::TMeanVar R = detail::MeanVarOf(Cells);
  Mean = R.Mean;
  Variance = R.N <= 2 ? 1.0 : R.Variance;  // also without values
  return SatInt32(R.N);
}

template <class Visit>
int32_t MinMax(Visit&& Cells, double& Minimum, double& Maximum) {
  int64_t N = 0;
  double Lo = uc_MaxReal, Hi = -uc_MaxReal;
  Cells([&](double X) {
    ++N;
    if (!(X >= Lo)) Lo = X;
    if (X > Hi) Hi = X;
  });
  Minimum = Lo;
  Maximum = Hi;
  return SatInt32(N);
}

bool Quartiles(std::vector<double> A, double& Q1, double& Q2, double& Q3, int32_t& NumData) {
  NumData = SatInt32(std::ssize(A));
  detail::TRankSelector<double> Rank(A);
  detail::QuartilesByRank(std::ssize(A), Rank, Q1, Q2, Q3);
  return true;
}

double Percentile(std::vector<double> A, double Prob, int32_t& NumData) {
  NumData = SatInt32(std::ssize(A));
  detail::TRankSelector<double> Rank(A);
  return detail::PercentileByRank(std::ssize(A), Prob, Rank);
}

}  // namespace

// ---- counts, sums, moments, extremes ----

int32_t TDataTable::CountNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  int64_t N = 0;
  TCells::Num(*this, LowCol, LowRow, HighCol, HighRow)([&](double) { ++N; });
  return SatInt32(N);
}

double TDataTable::SumOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 int32_t& NumData) const {
  return SumOf(TCells::Num(*this, LowCol, LowRow, HighCol, HighRow), NumData, false);
}

double TDataTable::SumOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                    uint8_t CellState, int32_t& NumData) const {
  return SumOf(TCells::Marked(*this, LowCol, LowRow, HighCol, HighRow, CellState), NumData, false);
}

double TDataTable::SumOfSquaredNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                        int32_t& NumData) const {
  return SumOf(TCells::Num(*this, LowCol, LowRow, HighCol, HighRow), NumData, true);
}

double TDataTable::SumOfSquaredMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                           uint8_t CellState, int32_t& NumData) const {
  return SumOf(TCells::Marked(*this, LowCol, LowRow, HighCol, HighRow, CellState), NumData, true);
}

int32_t TDataTable::MeanVarOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                      double& Mean, double& Variance) const {
  return MeanVar(TCells::Num(*this, LowCol, LowRow, HighCol, HighRow), Mean, Variance);
}

int32_t TDataTable::MeanVarOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                         uint8_t CellState, double& Mean, double& Variance) const {
  return MeanVar(TCells::Marked(*this, LowCol, LowRow, HighCol, HighRow, CellState), Mean, Variance);
}

int32_t TDataTable::MinMaxOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                     double& Minimum, double& Maximum) const {
  return MinMax(TCells::Num(*this, LowCol, LowRow, HighCol, HighRow), Minimum, Maximum);
}

int32_t TDataTable::MinMaxOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                        uint8_t CellState, double& Minimum, double& Maximum) const {
  return MinMax(TCells::Range(*this, LowCol, LowRow, HighCol, HighRow, TCells::TScales::Any,
                              [CellState](uint8_t S) { return detail::IsMarkedState(S, CellState); }),
                Minimum, Maximum);
}

int32_t TDataTable::MinMaxOfValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                       double& Minimum, double& Maximum) const {
  return MinMax(TCells::Range(*this, LowCol, LowRow, HighCol, HighRow, TCells::TScales::AnyRounded,
                              TCells::Numeric),
                Minimum, Maximum);
}

// ---- order statistics ----

bool TDataTable::QuartilesOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1,
                                     double& Q2, double& Q3, int32_t& NumData) const {
  return Quartiles(TCells::Collect<EORVDataTableError>(*this, TCells::Area(*this, LowCol, LowRow, HighCol, HighRow),
                                                       TCells::Num(*this, LowCol, LowRow, HighCol, HighRow)),
                   Q1, Q2, Q3, NumData);
}

bool TDataTable::QuartilesOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                        double& Q1, double& Q2, double& Q3, uint8_t CellState,
                                        int32_t& NumData) const {
  return Quartiles(
      TCells::Collect<EORVDataTableError>(*this, TCells::Area(*this, LowCol, LowRow, HighCol, HighRow),
                                          TCells::Marked(*this, LowCol, LowRow, HighCol, HighRow, CellState)),
      Q1, Q2, Q3, NumData);
}

double TDataTable::PercentileOfNumCells(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                        int32_t HighRow, int32_t& NumData) const {
  return Percentile(TCells::Collect<EORVMatrixError>(*this, TCells::Area(*this, LowCol, LowRow, HighCol, HighRow),
                                                     TCells::Num(*this, LowCol, LowRow, HighCol, HighRow)),
                    prob, NumData);
}

double TDataTable::PercentileOfMarkedCells(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                           int32_t HighRow, uint8_t CellState, int32_t& NumData) const {
  return Percentile(
      TCells::Collect<EORVMatrixError>(*this, TCells::Area(*this, LowCol, LowRow, HighCol, HighRow),
                                       TCells::Marked(*this, LowCol, LowRow, HighCol, HighRow, CellState)),
      prob, NumData);
}

// ---- geometric and harmonic mean ----

double TDataTable::GeometricMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                           int32_t& NumData) const {
  const detail::TGeometricMean R = detail::GeometricMeanOf(TCells::Num(*this, LowCol, LowRow, HighCol, HighRow));
  if (R.Negative) detail::RaiseComponentError<EORVMatrixError>(*this, "negative argument passed to GeometricMean");
  NumData = SatInt32(R.N - R.Zeros);  // zeros are not counted
  return R.Value();
}

double TDataTable::HarmonicMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                          int32_t& NumData) const {
  const detail::THarmonicMean R = detail::HarmonicMeanOf(TCells::Num(*this, LowCol, LowRow, HighCol, HighRow));
  if (R.NonPositive)
    detail::RaiseComponentError<EORVMatrixError>(*this, "negative or zero argument passed to HarmonicMean");
  NumData = SatInt32(R.N);
  return R.Value();
}

// ---- copying into a vector ----

int32_t TDataTable::CopyCellsToVector(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                      uint8_t CellState, TVector* DestVect) const {
  if (DestVect == nullptr) return 0;
  const int64_t Area = TCells::Area(*this, LowCol, LowRow, HighCol, HighRow);
  // Read before DestVect's handler could change this table.
  const std::vector<double> A = TCells::Collect<EORVDataTableError>(
      *this, Area,
      TCells::Range(*this, LowCol, LowRow, HighCol, HighRow, TCells::TScales::Any, [CellState](uint8_t S) {
        return detail::IsNumericState(S) && (CellState == 255 || (S & CellState) != 0);
      }));
  const int32_t N = SatInt32(std::ssize(A));
  // Sized to the area first, as documented, where a handler can tell.
  if (!DestVect->OnChange)
    DestVect->Resize(std::max(N, 1));
  else if (Area > 0)
    DestVect->Resize(SatInt32(Area));
  for (int32_t I = 1; I <= N; ++I) DestVect->SetVal(I, A[Ix1(I)]);
  DestVect->Resize(std::max(N, 1));
  return N;
}

// ---- standardization and centring ----

namespace {

void Put(TVector* V, int32_t I, double X) {
  if (V != nullptr) V->SetVal(I, X);
}

}  // namespace

void TDataTable::StandardizeNumCellColumns(TVector* Means, TVector* StdDevs) {
  bool Rewritten = false;
  for (int32_t C = 1; C <= FNrOfCols; ++C) {
    const TMScaleType Scale = FVType[Ix1(C)].MScaleType;
    if (Scale != stInterval && Scale != stRatio) continue;
    double Mean, Var;
    MeanVarOfNumCells(C, 1, C, FNrOfRows, Mean, Var);
    const double Sd = std::sqrt(Var);
    if (Var > 0.0) {
      Rewritten = true;
      WriteCells([&] {
        const int32_t NR = FNrOfRows;
        for (int32_t R = 1; R <= NR; ++R) {
          // Per cell through the matrix, so OnChange fires per write; a
          // handler may resize the table, so every index is checked again.
          if (!ValidCell(C, R) || !detail::IsNumericState(FCState[Ix1(C)][Ix1(R)])) continue;
          TMatrix& M = *NumericData;
          M.SetVal(C, R, (M.GetVal(C, R) - Mean) / Sd);
        }
      });
    }
    Put(Means, C, Mean);
    Put(StdDevs, C, Sd);
  }
  if (Rewritten) ChangedData();
}

void TDataTable::MeanCenterNumCellColumns(TVector* Means) {
  {
    TBulkChange Bulk(*this);
    for (int32_t C = 1; C <= FNrOfCols; ++C) {
      const TMScaleType Scale = FVType[Ix1(C)].MScaleType;
      if (Scale != stInterval && Scale != stRatio) continue;
      double Mean, Var;
      MeanVarOfNumCells(C, 1, C, FNrOfRows, Mean, Var);
      TMatrix& M = *NumericData;
      for (int32_t R = 1; R <= FNrOfRows; ++R)
        if (detail::IsNumericState(FCState[Ix1(C)][Ix1(R)])) M.SetVal(C, R, M.GetVal(C, R) - Mean);
      Put(Means, C, Mean);
    }
  }
  ChangedData();
}

namespace {

// Rows of a table with a categorical column cannot be standardized.
void RefuseCategorical(const TDataTable& T, const char* Problem) {
  for (int32_t C = 1; C <= T.NrOfColumns(); ++C)
    if (IsCategorical(T.MScaleType(C))) detail::RaiseComponentError<EORVDataTableError>(T, Problem);
}

}  // namespace

void TDataTable::StandardizeNumCellRows(TVector* Means, TVector* StdDevs) {
  RefuseCategorical(*this, "standardization of rows is not possible with nominal or ordinal variables");
  {
    TBulkChange Bulk(*this);
    for (int32_t R = 1; R <= FNrOfRows; ++R) {
      double Mean, Var;
      MeanVarOfNumCells(1, R, FNrOfCols, R, Mean, Var);
      const double Sd = std::sqrt(Var);
      TMatrix& M = *NumericData;
      if (Var > 0.0)
        for (int32_t C = 1; C <= FNrOfCols; ++C)
          if (detail::IsNumericState(FCState[Ix1(C)][Ix1(R)])) M.SetVal(C, R, (M.GetVal(C, R) - Mean) / Sd);
      Put(Means, R, Mean);
      Put(StdDevs, R, Sd);
    }
  }
  ChangedData();
}

void TDataTable::MeanCenterNumCellRows(TVector* Means) {
  RefuseCategorical(*this, "mean centering of rows is not possible with nominal or ordinal variables");
  {
    TBulkChange Bulk(*this);
    for (int32_t R = 1; R <= FNrOfRows; ++R) {
      double Mean, Var;
      MeanVarOfNumCells(1, R, FNrOfCols, R, Mean, Var);
      TMatrix& M = *NumericData;
      for (int32_t C = 1; C <= FNrOfCols; ++C)
        if (detail::IsNumericState(FCState[Ix1(C)][Ix1(R)])) M.SetVal(C, R, M.GetVal(C, R) - Mean);
      Put(Means, R, Mean);
    }
  }
  ChangedData();
}

}  // namespace orv
