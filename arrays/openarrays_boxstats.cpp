// ORV_openarrays: MeanArray, StdDevArray.
#include "arrays/shape.h"
#include "arrays/visit.h"
#include "core/moments.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

// The statistic of the cells of box B of X, in draw order (StdDev: the
// standard deviation, else the mean).
template <bool StdDev, class A>
int32_t BoxStat(const A& X, const detail::TBox<detail::Rank<A>>& B, double& Result) {
  Result = 0.0;
  const auto S = detail::Shape(X);
  if (S.Empty()) return -1;
  if (B.Fit(S) != detail::bfInside) return -2;
  const auto Cells = [&](auto&& F) { detail::ForEachCellInDrawOrder(X, B, F); };
  double R;
  if constexpr (StdDev) {
    R = detail::TwoPassStdDevOf(Cells).StdDev;
  } else {
    double Sum = 0.0;
    Cells([&](auto V) { Sum += static_cast<double>(V); });
    R = Sum / static_cast<double>(B.Cells());
  }
  Result = R;
  return 0;
}

template <bool StdDev, class A, class... I>
int32_t Corners(const A& X, double& Result, I... Bounds) {
  return BoxStat<StdDev>(X, detail::CornerBox(Bounds...), Result);
}

}  // namespace

int32_t MeanArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double& Mean) {
  return Corners<false>(A, Mean, Lo, Hi);
}
int32_t MeanArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi, double& Mean) {
  return Corners<false>(A, Mean, ColLo, RowLo, ColHi, RowHi);
}
int32_t MeanArray(const TDouble3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2, int32_t Hi3,
                  double& Mean) {
  return Corners<false>(A, Mean, Lo1, Lo2, Lo3, Hi1, Hi2, Hi3);
}
int32_t MeanArray(const TDouble4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1, int32_t Hi2,
                  int32_t Hi3, int32_t Hi4, double& Mean) {
  return Corners<false>(A, Mean, Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4);
}
int32_t MeanArray(const TIntArray& A, int32_t Lo, int32_t Hi, double& Mean) { return Corners<false>(A, Mean, Lo, Hi); }
int32_t MeanArray(const TInt2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi, double& Mean) {
  return Corners<false>(A, Mean, ColLo, RowLo, ColHi, RowHi);
}
int32_t MeanArray(const TInt3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2, int32_t Hi3,
                  double& Mean) {
  return Corners<false>(A, Mean, Lo1, Lo2, Lo3, Hi1, Hi2, Hi3);
}
int32_t MeanArray(const TInt4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1, int32_t Hi2,
                  int32_t Hi3, int32_t Hi4, double& Mean) {
  return Corners<false>(A, Mean, Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4);
}

int32_t StdDevArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double& StdDev) {
  return Corners<true>(A, StdDev, Lo, Hi);
}
int32_t StdDevArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                    double& StdDev) {
  return Corners<true>(A, StdDev, ColLo, RowLo, ColHi, RowHi);
}
int32_t StdDevArray(const TDouble3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                    int32_t Hi3, double& StdDev) {
  return Corners<true>(A, StdDev, Lo1, Lo2, Lo3, Hi1, Hi2, Hi3);
}
int32_t StdDevArray(const TDouble4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                    int32_t Hi2, int32_t Hi3, int32_t Hi4, double& StdDev) {
  return Corners<true>(A, StdDev, Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4);
}
int32_t StdDevArray(const TIntArray& A, int32_t Lo, int32_t Hi, double& StdDev) {
  return Corners<true>(A, StdDev, Lo, Hi);
}
int32_t StdDevArray(const TInt2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi, double& StdDev) {
  return Corners<true>(A, StdDev, ColLo, RowLo, ColHi, RowHi);
}
int32_t StdDevArray(const TInt3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2, int32_t Hi3,
                    double& StdDev) {
  return Corners<true>(A, StdDev, Lo1, Lo2, Lo3, Hi1, Hi2, Hi3);
}
int32_t StdDevArray(const TInt4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1, int32_t Hi2,
                    int32_t Hi3, int32_t Hi4, double& StdDev) {
  return Corners<true>(A, StdDev, Lo1, Lo2, Lo3, Lo4, Hi1, Hi2, Hi3, Hi4);
}

}  // namespace orv
