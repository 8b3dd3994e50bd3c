// ORV_openarrays: MaxArray, MinArray, MinMaxArray.
#include <span>

#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

using detail::TIndex;

// The start and empty values of the searches over cells of type T.
template <class T>
struct TBounds;
template <>
struct TBounds<int32_t> {
  static constexpr int32_t High = INT32_MAX, Low = INT32_MIN;
};
template <>
struct TBounds<double> {
  static constexpr double High = uc_MaxDouble, Low = -uc_MaxDouble;
};
template <>
struct TBounds<float> {  // searched in double
  static constexpr double High = uc_MaxSingle, Low = -uc_MaxSingle;
};

template <bool Largest, class T>
constexpr bool Beyond(T X, T Best) {
  if constexpr (Largest)
    return X > Best;
  else
    return X < Best;
}

// MaxArray and MinArray; At, when given, takes the position of the extreme.
template <bool Largest, class A>
detail::CellOf<A> Extreme(const A& X, TIndex<detail::Rank<A>>* At) {
  using T = detail::CellOf<A>;
  const auto S = detail::Shape(X);
  if (S.Empty() || (At != nullptr && !S.Indexable())) return Largest ? TBounds<T>::Low : TBounds<T>::High;
  T Best = detail::FirstCell(X);
  if (At == nullptr) {
    detail::ForEachRun(X, [&](auto Run, const auto&) {
      for (const T V : Run)
        if (Beyond<Largest>(V, Best)) Best = V;
    });
  } else {
    TIndex<detail::Rank<A>> BestAt{};
    detail::ForEachCell(X, [&](const T V, const auto& I) {
      if (Beyond<Largest>(V, Best)) {
        Best = V;
        BestAt = I;
      }
    });
    *At = BestAt;
  }
  return Best;
}

template <class T, class Cell>
void Widen(std::span<const Cell> Run, T& Min, T& Max) {
  for (const T V : Run) {
    if (V < Min) Min = V;
    if (V > Max) Max = V;
  }
}

// Whole-array MinMaxArray: from the first cell, in locals, so that the outputs
// (which the compiler must assume may alias the cells) are written once.
template <class A, class T>
int32_t MinMaxWhole(const A& X, T& Min, T& Max) {
  using Cell = detail::CellOf<A>;
  Min = TBounds<Cell>::High;
  Max = TBounds<Cell>::Low;
  if (detail::Shape(X).Empty()) return -1;
  T Lo = detail::FirstCell(X), Hi = Lo;
  detail::ForEachRun(X, [&](auto Run, const auto&) { Widen<T>(Run, Lo, Hi); });
  Min = Lo;
  Max = Hi;
  return 0;
}

template <class T>
int32_t MinMaxSpan(std::span<const T> X, T& Min, T& Max) {
  Min = TBounds<T>::High;
  Max = TBounds<T>::Low;
  if (X.empty()) return -1;
  T Lo = X.front(), Hi = Lo;
  Widen<T>(X, Lo, Hi);
  Min = Lo;
  Max = Hi;
  return 0;
}

// Range and box forms: from the start values, with positions.
template <class A, class T, int N = detail::Rank<A>>
int32_t MinMaxBox(const A& X, const detail::TBox<detail::Rank<A>>& B, T& Min, T& Max,
                  TIndex<detail::Rank<A>>& MinAt, TIndex<detail::Rank<A>>& MaxAt) {
  Min = TBounds<T>::High;
  Max = TBounds<T>::Low;
  MinAt = MaxAt = {};
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (B.Fit(S) == detail::bfOutside) return -2;
  T Lo = TBounds<T>::High, Hi = TBounds<T>::Low;
  detail::ForEachCellInBox(X, B, [&](const T V, const TIndex<N>& I) {
    if (V < Lo) {
      Lo = V;
      MinAt = I;
    }
    if (V > Hi) {
      Hi = V;
      MaxAt = I;
    }
  });
  Min = Lo;
  Max = Hi;
  return 0;
}

// A position inside an array whose bounds were Integers.
constexpr int32_t ToPos(int64_t I) { return static_cast<int32_t>(I); }

template <class T>
int32_t MinMaxRange(const std::vector<T>& A, int32_t Lo, int32_t Hi, T& Min, T& Max, int32_t& MinPos,
                    int32_t& MaxPos) {
  TIndex<1> MinAt, MaxAt;
  const int32_t R = MinMaxBox(A, detail::CornerBox(Lo, Hi), Min, Max, MinAt, MaxAt);
  MinPos = ToPos(MinAt[0]);
  MaxPos = ToPos(MaxAt[0]);
  return R;
}

template <class T>
int32_t MinMaxCorners(const std::vector<std::vector<T>>& A, int32_t ColLo, int32_t RowLo, int32_t ColHi,
                      int32_t RowHi, T& Min, T& Max, int32_t& MinCol, int32_t& MinRow, int32_t& MaxCol,
                      int32_t& MaxRow) {
  TIndex<2> MinAt, MaxAt;
  const int32_t R = MinMaxBox(A, detail::CornerBox(ColLo, RowLo, ColHi, RowHi), Min, Max, MinAt, MaxAt);
  MinCol = ToPos(MinAt[0]);
  MinRow = ToPos(MinAt[1]);
  MaxCol = ToPos(MaxAt[0]);
  MaxRow = ToPos(MaxAt[1]);
  return R;
}

template <bool Largest>
int32_t ExtremeAt(const TIntArray& A, int32_t& P) {
  TIndex<1> At{-1};
  const int32_t V = Extreme<Largest>(A, &At);
  if (At[0] >= 0) P = ToPos(At[0]);
  return V;
}

template <bool Largest>
int32_t ExtremeAt(const TInt2DArray& A, int32_t& Col, int32_t& Row) {
  TIndex<2> At{-1, -1};
  const int32_t V = Extreme<Largest>(A, &At);
  if (At[0] >= 0) {
    Col = ToPos(At[0]);
    Row = ToPos(At[1]);
  }
  return V;
}

}  // namespace

int32_t MaxArray(const TIntArray& A) { return Extreme<true>(A, nullptr); }
int32_t MaxArray(const TInt2DArray& A) { return Extreme<true>(A, nullptr); }
int32_t MaxArray(const TInt3DArray& A) { return Extreme<true>(A, nullptr); }
int32_t MaxArray(const TInt4DArray& A) { return Extreme<true>(A, nullptr); }
double MaxArray(const TDoubleArray& A) { return Extreme<true>(A, nullptr); }
double MaxArray(const TDouble2DArray& A) { return Extreme<true>(A, nullptr); }
double MaxArray(const TDouble3DArray& A) { return Extreme<true>(A, nullptr); }
double MaxArray(const TDouble4DArray& A) { return Extreme<true>(A, nullptr); }
int32_t MinArray(const TIntArray& A) { return Extreme<false>(A, nullptr); }
int32_t MinArray(const TInt2DArray& A) { return Extreme<false>(A, nullptr); }
int32_t MinArray(const TInt3DArray& A) { return Extreme<false>(A, nullptr); }
int32_t MinArray(const TInt4DArray& A) { return Extreme<false>(A, nullptr); }
double MinArray(const TDoubleArray& A) { return Extreme<false>(A, nullptr); }
double MinArray(const TDouble2DArray& A) { return Extreme<false>(A, nullptr); }
double MinArray(const TDouble3DArray& A) { return Extreme<false>(A, nullptr); }
double MinArray(const TDouble4DArray& A) { return Extreme<false>(A, nullptr); }

int32_t MaxArray(const TIntArray& A, int32_t& Pos) { return ExtremeAt<true>(A, Pos); }
int32_t MaxArray(const TInt2DArray& A, int32_t& Col, int32_t& Row) { return ExtremeAt<true>(A, Col, Row); }
int32_t MinArray(const TIntArray& A, int32_t& Pos) { return ExtremeAt<false>(A, Pos); }
int32_t MinArray(const TInt2DArray& A, int32_t& Col, int32_t& Row) { return ExtremeAt<false>(A, Col, Row); }

int32_t MinMaxArray(const TSingleArray& A, double& Min, double& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TDoubleArray& A, double& Min, double& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TDouble2DArray& A, double& Min, double& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TDouble3DArray& A, double& Min, double& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TDouble4DArray& A, double& Min, double& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(std::span<const double> A, double& Min, double& Max) { return MinMaxSpan(A, Min, Max); }
int32_t MinMaxArray(const TIntArray& A, int32_t& Min, int32_t& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TInt2DArray& A, int32_t& Min, int32_t& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TInt3DArray& A, int32_t& Min, int32_t& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(const TInt4DArray& A, int32_t& Min, int32_t& Max) { return MinMaxWhole(A, Min, Max); }
int32_t MinMaxArray(std::span<const int32_t> A, int32_t& Min, int32_t& Max) { return MinMaxSpan(A, Min, Max); }

int32_t MinMaxArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double& Min, double& Max, int32_t& MinPos,
                    int32_t& MaxPos) {
  return MinMaxRange(A, Lo, Hi, Min, Max, MinPos, MaxPos);
}
int32_t MinMaxArray(const TIntArray& A, int32_t Lo, int32_t Hi, int32_t& Min, int32_t& Max, int32_t& MinPos,
                    int32_t& MaxPos) {
  return MinMaxRange(A, Lo, Hi, Min, Max, MinPos, MaxPos);
}
int32_t MinMaxArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                    double& Min, double& Max, int32_t& MinCol, int32_t& MinRow, int32_t& MaxCol, int32_t& MaxRow) {
  return MinMaxCorners(A, ColLo, RowLo, ColHi, RowHi, Min, Max, MinCol, MinRow, MaxCol, MaxRow);
}
int32_t MinMaxArray(const TInt2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi, int32_t& Min,
                    int32_t& Max, int32_t& MinCol, int32_t& MinRow, int32_t& MaxCol, int32_t& MaxRow) {
  return MinMaxCorners(A, ColLo, RowLo, ColHi, RowHi, Min, Max, MinCol, MinRow, MaxCol, MaxRow);
}

}  // namespace orv
