// ORV_openarrays: FillArray, FillArrayRix, FillDiagArray, FillRandomNormal,
// FillRandomUniform.
#include <algorithm>
#include <cmath>
#include <span>
#include <type_traits>

#include "arrays/convert.h"
#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

using detail::CellOf;
using detail::Rank;
using detail::TBox;
using detail::TIndex;
using detail::TShape;

template <class A>
int32_t FillWhole(A& X, CellOf<A> Value) {
  if (detail::Shape(X).Empty()) return -1;
  detail::ForEachRun(X, [Value](auto Run, const auto&) { std::fill(Run.begin(), Run.end(), Value); });
  return 0;
}

template <class A>
int32_t FillBox(A& X, CellOf<A> Value, const TBox<Rank<A>>& B) {
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (B.Fit(S) != detail::bfInside) return -2;
  detail::ForEachRunInBox(X, B, [Value](auto Run, const auto&) { std::fill(Run.begin(), Run.end(), Value); });
  return 0;
}

// What one step of each index adds to the running index of FillArrayRix.
template <int N>
TIndex<N> RixSteps(const TShape<N>& S) {
  if constexpr (N == 1)
    return {1};
  else if constexpr (N == 2)
    return {S.Ext[1], 1};
  else
    return {1, S.Ext[0], S.Ext[0] * S.Ext[1]};
}

// Run[i] := K + i * Step, counted in U: 32 bits, where every index fits,
// vectorise with their conversion to double, which 64 bits do not. The count
// wraps unsigned after the last cell, whose value it no longer writes.
template <class U, class T>
void RunningIndex(std::span<T> Run, int64_t K, int64_t Step) {
  U I = static_cast<U>(K);
  const U D = static_cast<U>(Step);
  for (T& C : Run) {
    C = static_cast<T>(static_cast<std::make_signed_t<U>>(I));
    I += D;
  }
}

template <class A>
int32_t FillRix(A& X) {
  using T = CellOf<A>;
  constexpr int N = Rank<A>;
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (std::is_same_v<T, int32_t> && S.Cells() - 1 > INT32_MAX) return -2;
  const TIndex<N> Step = RixSteps(S);
  const bool Narrow = S.Cells() - 1 <= INT32_MAX;  // always for Integers: checked above
  detail::ForEachRun(X, [&Step, Narrow](std::span<T> Run, const TIndex<N>& First) {
    int64_t K = 0;
    for (int D = 0; D < N; ++D) K += First[D] * Step[D];
    if (Narrow)
      RunningIndex<uint32_t>(Run, K, Step[N - 1]);
    else
      RunningIndex<uint64_t>(Run, K, Step[N - 1]);
  });
  return 0;
}

template <class A>
int32_t FillDiag(A& X, CellOf<A> Value) {
  using T = CellOf<A>;
  constexpr int N = Rank<A>;
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  for (int D = 1; D < N; ++D)
    if (S.Ext[D] != S.Ext[0]) return -2;
  detail::ForEachRun(X, [Value](auto Run, const TIndex<N>& First) {
    std::fill(Run.begin(), Run.end(), T(0));
    // A run holds a diagonal cell when its outer indices are all equal.
    if (std::all_of(First.begin(), First.end() - 1, [&First](int64_t I) { return I == First[0]; }))
      Run[detail::Ix(First[0])] = Value;
  });
  return 0;
}

// The random fills: Next() for each cell in draw order.
template <class A, class F>
void FillDrawn(A& X, const TShape<Rank<A>>& S, F Next) {
  detail::ForEachCellInDrawOrder(X, detail::WholeBox(S), [&Next](CellOf<A>& C) { C = Next(); });
}

template <class A>
int32_t FillNormal(A& X, double Mean, double StdDev) {
  Randomize();
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  // NaN passes StdDev < 0, and a NaN or infinite parameter fills no normal sample.
  if (!(StdDev >= 0) || !std::isfinite(Mean) || !std::isfinite(StdDev)) return -2;
  FillDrawn(X, S, [Mean, StdDev] { return RandomGauss(Mean, StdDev); });
  return 0;
}

template <class A>
int32_t FillUniform(A& X, double Low, double High) {
  Randomize();
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (!(Low <= High) || !std::isfinite(Low) || !std::isfinite(High)) return -2;
  // At half scale when High - Low overflows; the plain formula's bits otherwise.
  const double Scale = detail::SpanScale(Low, High), Unscale = 1 / Scale;
  const double L = Low * Scale, Span = High * Scale - L;
  FillDrawn(X, S, [L, Span, Unscale] { return (L + Span * Random()) * Unscale; });
  return 0;
}

template <class A>
int32_t FillUniform(A& X, int32_t Low, int32_t High) {
  Randomize();
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (Low > High) return -2;
  // In double: the span of two Integers may exceed the Integer range, and
  // Low + Span * u may round up to High, which only equal bounds may give.
  // Clamped to Top in double, the value converts within the Integer range
  // (TruncInt, a call per cell, doubles the fill's time).
  const double L = Low, Span = static_cast<double>(High) - L, Top = Low < High ? High - 1.0 : L;
  FillDrawn(X, S, [L, Span, Top] { return static_cast<int32_t>(std::min(std::floor(L + Span * Random()), Top)); });
  return 0;
}

}  // namespace

int32_t FillArray(TBoolArray& A, bool Value) { return FillWhole(A, Value); }
int32_t FillArray(TBool2DArray& A, bool Value) { return FillWhole(A, Value); }
int32_t FillArray(TIntArray& A, int32_t Value) { return FillWhole(A, Value); }
int32_t FillArray(TInt2DArray& A, int32_t Value) { return FillWhole(A, Value); }
int32_t FillArray(TInt3DArray& A, int32_t Value) { return FillWhole(A, Value); }
int32_t FillArray(TInt4DArray& A, int32_t Value) { return FillWhole(A, Value); }
int32_t FillArray(TDoubleArray& A, double Value) { return FillWhole(A, Value); }
int32_t FillArray(TDouble2DArray& A, double Value) { return FillWhole(A, Value); }
int32_t FillArray(TDouble3DArray& A, double Value) { return FillWhole(A, Value); }
int32_t FillArray(TDouble4DArray& A, double Value) { return FillWhole(A, Value); }

int32_t FillArray(TIntArray& A, int32_t Value, int32_t Lo, int32_t Hi) {
  return FillBox(A, Value, detail::CornerBox(Lo, Hi));
}
int32_t FillArray(TInt2DArray& A, int32_t Value, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi) {
  return FillBox(A, Value, detail::CornerBox(ColLo, RowLo, ColHi, RowHi));
}
int32_t FillArray(TInt3DArray& A, int32_t Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                  int32_t Hi3) {
  return FillBox(A, Value, detail::CornerBox(Lo1, Lo2, Lo3, Hi1, Hi2, Hi3));
}
int32_t FillArray(TInt4DArray& A, int32_t Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                  int32_t Hi2, int32_t Hi3, int32_t Hi4) {
  return FillBox(A, Value, detail::CornerBox(Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4));
}
int32_t FillArray(TDoubleArray& A, double Value, int32_t Lo, int32_t Hi) {
  return FillBox(A, Value, detail::CornerBox(Lo, Hi));
}
int32_t FillArray(TDouble2DArray& A, double Value, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi) {
  return FillBox(A, Value, detail::CornerBox(ColLo, RowLo, ColHi, RowHi));
}
int32_t FillArray(TDouble3DArray& A, double Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                  int32_t Hi3) {
  return FillBox(A, Value, detail::CornerBox(Lo1, Lo2, Lo3, Hi1, Hi2, Hi3));
}
int32_t FillArray(TDouble4DArray& A, double Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                  int32_t Hi2, int32_t Hi3, int32_t Hi4) {
  return FillBox(A, Value, detail::CornerBox(Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4));
}

int32_t FillArrayRix(TIntArray& A) { return FillRix(A); }
int32_t FillArrayRix(TInt2DArray& A) { return FillRix(A); }
int32_t FillArrayRix(TInt3DArray& A) { return FillRix(A); }
int32_t FillArrayRix(TDoubleArray& A) { return FillRix(A); }
int32_t FillArrayRix(TDouble2DArray& A) { return FillRix(A); }
int32_t FillArrayRix(TDouble3DArray& A) { return FillRix(A); }

int32_t FillDiagArray(TInt2DArray& A, int32_t Value) { return FillDiag(A, Value); }
int32_t FillDiagArray(TInt3DArray& A, int32_t Value) { return FillDiag(A, Value); }
int32_t FillDiagArray(TInt4DArray& A, int32_t Value) { return FillDiag(A, Value); }
int32_t FillDiagArray(TDouble2DArray& A, double Value) { return FillDiag(A, Value); }
int32_t FillDiagArray(TDouble3DArray& A, double Value) { return FillDiag(A, Value); }
int32_t FillDiagArray(TDouble4DArray& A, double Value) { return FillDiag(A, Value); }

int32_t FillRandomNormal(TDoubleArray& A, double Mean, double StdDev) { return FillNormal(A, Mean, StdDev); }
int32_t FillRandomNormal(TDouble2DArray& A, double Mean, double StdDev) { return FillNormal(A, Mean, StdDev); }
int32_t FillRandomNormal(TDouble3DArray& A, double Mean, double StdDev) { return FillNormal(A, Mean, StdDev); }
int32_t FillRandomNormal(TDouble4DArray& A, double Mean, double StdDev) { return FillNormal(A, Mean, StdDev); }

int32_t FillRandomUniform(TDoubleArray& A, double RangeLow, double RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TDouble2DArray& A, double RangeLow, double RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TDouble3DArray& A, double RangeLow, double RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TDouble4DArray& A, double RangeLow, double RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TIntArray& A, int32_t RangeLow, int32_t RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TInt2DArray& A, int32_t RangeLow, int32_t RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TInt3DArray& A, int32_t RangeLow, int32_t RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}
int32_t FillRandomUniform(TInt4DArray& A, int32_t RangeLow, int32_t RangeHigh) {
  return FillUniform(A, RangeLow, RangeHigh);
}

}  // namespace orv
