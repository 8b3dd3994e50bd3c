// ORV_openarrays: CountTrueCellsOfArray, the Boolean InvertArray,
// IsDichotomous, DichotomizeArray, DiscretizeArray.
#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

#include "arrays/convert.h"
#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

template <class A>
int32_t CountTrue(const A& X) {
  if (detail::Shape(X).Empty()) return -1;
  int64_t N = 0;
  detail::ForEachRun(X, [&N](auto Run, const auto&) {
    for (const TBool C : Run) N += static_cast<bool>(C);
  });
  return SatInt32(N);
}

template <class A>
int32_t Invert(A& X) {
  if (detail::Shape(X).Empty()) return -1;
  detail::ForEachRun(X, [](auto Run, const auto&) {
    for (TBool& C : Run) C = !C;
  });
  return 0;
}

// The values are found in locals and written once: V1 or V2 may be a cell of A.
template <class T>
bool Dichotomous(const std::vector<T>& A, T& V1, T& V2) {
  if (A.size() < 2) {
    V1 = V2 = 0;
    return false;
  }
  T Lo = A[0], Hi = Lo;
  bool Answer = true;
  auto It = std::find_if(A.begin() + 1, A.end(), [Lo](T X) { return X != Lo; });
  if (It != A.end()) {
    Hi = *It;
    Answer = std::all_of(It + 1, A.end(), [Lo, Hi](T X) { return X == Lo || X == Hi; });
  }
  if (std::is_floating_point_v<T> && Lo == Hi) Answer = false;
  if (Lo > Hi) std::swap(Lo, Hi);
  V1 = Lo;
  V2 = Hi;
  return Answer;
}

template <class A, class F>
int32_t Dichotomize(const A& X, F Test, TBool2DArray& B) {
  if (detail::Shape(X).Empty()) return -1;
  B = detail::MapCells<TBool2DArray>(X, [&Test](auto C) { return TBool(Test(C)); });
  return 0;
}

template <class A, class T>
int32_t Above(const A& X, T Threshold, TBool2DArray& B) {
  return Dichotomize(X, [Threshold](T C) { return C > Threshold; }, B);
}

template <class A, class T>
int32_t Within(const A& X, T Low, T High, TBool2DArray& B) {
  if (Low > High) std::swap(Low, High);
  return Dichotomize(X, [Low, High](T C) { return Low <= C && C <= High; }, B);
}

}  // namespace

int32_t CountTrueCellsOfArray(const TBoolArray& A) { return CountTrue(A); }
int32_t CountTrueCellsOfArray(const TBool2DArray& A) { return CountTrue(A); }

int32_t InvertArray(TBoolArray& A) { return Invert(A); }
int32_t InvertArray(TBool2DArray& A) { return Invert(A); }

bool IsDichotomous(const TDoubleArray& A, double& V1, double& V2) { return Dichotomous(A, V1, V2); }
bool IsDichotomous(const TIntArray& A, int32_t& V1, int32_t& V2) { return Dichotomous(A, V1, V2); }

int32_t DichotomizeArray(const TDouble2DArray& A, double Threshold, TBool2DArray& B) {
  return Above(A, Threshold, B);
}
int32_t DichotomizeArray(const TDouble2DArray& A, double Bound1, double Bound2, TBool2DArray& B) {
  return Within(A, Bound1, Bound2, B);
}
int32_t DichotomizeArray(const TInt2DArray& A, int32_t Threshold, TBool2DArray& B) {
  return Above(A, Threshold, B);
}
int32_t DichotomizeArray(const TInt2DArray& A, int32_t Bound1, int32_t Bound2, TBool2DArray& B) {
  return Within(A, Bound1, Bound2, B);
}

int32_t DiscretizeArray(TDouble2DArray& A, int32_t NrLevels, double XLow, double XHigh, double YLow,
                        double YHigh) {
  // A NaN bound would pass XLow >= XHigh; an infinite X bound makes every bin
  // infinite, an infinite Y bound every level between infinite or NaN.
  if (!(XLow < XHigh) || !std::isfinite(XLow) || !std::isfinite(XHigh) || !std::isfinite(YLow) ||
      !std::isfinite(YHigh))
    return -2;
  if (NrLevels < 3) return -1;
  // The level stays a double: a NaN cell gives a NaN level, never an integer conversion.
  const double XS = detail::SpanScale(XLow, XHigh), YS = detail::SpanScale(YLow, YHigh);
  const double XL = XLow * XS, W = (XHigh * XS - XL) / (NrLevels - 2);
  const double YL = YLow * YS, Step = (YHigh * YS - YL) / (NrLevels - 1);
  // Every cell maps by itself, so a ragged A is walked as it is.
  detail::ForEachRun(A, [=](std::span<double> Run, const auto&) {
    for (double& X : Run) {
      if (X <= XLow)
        X = YLow;
      else if (X >= XHigh)
        X = YHigh;
      else
        X = (YL + (std::floor((X * XS - XL) / W) + 1) * Step) / YS;
    }
  });
  return 0;
}

}  // namespace orv
