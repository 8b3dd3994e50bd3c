// ORV_openarrays: PercentileArray, FrequDistOfArray.
#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

#include "arrays/shape.h"
#include "arrays/visit.h"
#include "core/order_stats.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

namespace {

using detail::TBox;

// The cell at the nearest rank of P among the n = W.size() cells (1 ..
// 2147483647). QuickSelect, not TSelection: the 1-D form's caller sees the
// order that QuickSelect leaves behind.
double SelectPercentile(std::span<double> W, double P) {
  const int64_t N = std::ssize(W);
  return QuickSelect(W, static_cast<int32_t>(detail::NearestRank(N, std::clamp(P, 0.0, 100.0))), 0,
                     static_cast<int32_t>(N - 1));
}

// The most bins a frequency distribution has.
constexpr double MaxBins = 1000;

// The bins and the counts of one distribution.
class THistogram {
 public:
  THistogram(double LowVal, double HighVal, double BinWidth, int64_t Bins)
      : FLow(LowVal),
        FTop(HighVal + BinWidth),
        FWidth(BinWidth),
        FBins(static_cast<double>(Bins)),
        FDist(detail::Ix(Bins)) {
    // Cleared explicitly: the zero start belongs to the routine, not to how
    // the array happens to be allocated.
    FillArray(FDist, 0);
  }

  void Add(std::span<const double> Run) {
    for (const double X : Run) Add(X);
  }
  void Add(std::span<const double> Run, const TBool* Skip) {
    for (std::size_t I = 0; I < Run.size(); ++I)
      if (!Skip[I]) Add(Run[I]);
  }

  void Deliver(TIntArray& Dist, int32_t& NBelow, int32_t& NAbove, int32_t& MaxCount) {
    const int32_t Max = *std::max_element(FDist.begin(), FDist.end());
    Dist = std::move(FDist);
    NBelow = SatInt32(FBelow);
    NAbove = SatInt32(FAbove);
    MaxCount = Max;
  }

 private:
  void Add(double X) {
    if (X < FLow) {
      ++FBelow;
    } else if (X < FTop) {
      // X - FLow >= 0 and the bins are few: the floor is range-checked in
      // double before it becomes an index, so no conversion can overflow.
      const double B = std::floor((X - FLow) / FWidth);
      if (B < FBins) {
        int32_t& C = FDist[detail::Ix(static_cast<int64_t>(B))];
        C += static_cast<int32_t>(C != INT32_MAX);
      } else {
        ++FAbove;
      }
    } else {
      ++FAbove;
    }
  }

  double FLow, FTop, FWidth, FBins;
  TIntArray FDist;
  int64_t FBelow = 0, FAbove = 0;
};

template <class A>
int32_t FrequDist(const A& X, const TBool2DArray* Mask, TBox<detail::Rank<A>> B, double LowVal, double HighVal,
                  double BinWidth, TIntArray& Dist, int32_t& NBelow, int32_t& NAbove, int32_t& MaxCount) {
  constexpr int N = detail::Rank<A>;
  const auto S = detail::Shape(X);
  const auto Fit = B.Fit(S);
  if (S.Ragged || Fit == detail::bfOutside) return -1;
  if (Fit == detail::bfReversed) return -2;
  if (!(LowVal < HighVal)) return -3;
  if (!(BinWidth > 0)) return -4;
  if constexpr (N == 2)
    if (Mask != nullptr) {
      const auto M = detail::Shape(*Mask);
      if (M.Ragged || M.Ext != S.Ext) return -6;
    }
  // Tested in double: a ratio beyond the Integers (a tiny width, an infinite
  // bound) must not reach an integer conversion.
  const double Bins = RoundHalfEven(std::fabs(HighVal - LowVal) / BinWidth) + 1;
  if (!(Bins <= MaxBins)) return -5;

  if (B.Lo == detail::TIndex<N>{} && B.Hi == detail::TIndex<N>{})
    for (int D = 0; D < N; ++D) B.Hi[D] = S.Ext[D] - 1;
  THistogram H(LowVal, HighVal, BinWidth, Trunc(Bins));
  const auto Unmasked = [&H](std::span<const double> Run, const auto&) { H.Add(Run); };
  if constexpr (N == 2) {
    if (Mask != nullptr)
      detail::ForEachRunInBox(X, B, [&H, Mask](std::span<const double> Run, const detail::TIndex<2>& First) {
        H.Add(Run, (*Mask)[detail::Ix(First[0])].data() + First[1]);
      });
    else
      detail::ForEachRunInBox(X, B, Unmasked);
  } else {
    detail::ForEachRunInBox(X, B, Unmasked);
  }
  H.Deliver(Dist, NBelow, NAbove, MaxCount);
  return 0;
}

}  // namespace

double PercentileArray(double P, TDoubleArray& A) {
  if (A.empty() || std::ssize(A) > INT32_MAX) return 0;
  if (std::isnan(P)) return P;  // no rank: nothing is selected or reordered
  return SelectPercentile(A, P);
}

double PercentileArray(double P, const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi) {
  const auto S = detail::Shape(A);
  if (S.Empty()) return 0;
  const auto Col = [&S](int32_t I) { return std::clamp<int64_t>(I, 0, S.Ext[0] - 1); };
  const auto Row = [&S](int32_t I) { return std::clamp<int64_t>(I, 0, S.Ext[1] - 1); };
  const auto B = detail::CornerBox(Col(ColLo), Row(RowLo), Col(ColHi), Row(RowHi));
  if (B.Fit(S) != detail::bfInside || B.Cells() > INT32_MAX) return 0;
  if (std::isnan(P)) return P;
  TDoubleArray W;
  W.reserve(detail::Ix(B.Cells()));
  detail::ForEachRunInBox(
      A, B, [&W](std::span<const double> Run, const auto&) { W.insert(W.end(), Run.begin(), Run.end()); });
  return SelectPercentile(W, P);
}

int32_t FrequDistOfArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double LowVal, double HighVal, double BinWidth,
                         TIntArray& Dist, int32_t& NBelow, int32_t& NAbove, int32_t& MaxCount) {
  return FrequDist(A, nullptr, detail::PairBox(Lo, Hi), LowVal, HighVal, BinWidth, Dist, NBelow, NAbove, MaxCount);
}

int32_t FrequDistOfArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                         double LowVal, double HighVal, double BinWidth, TIntArray& Dist, int32_t& NBelow,
                         int32_t& NAbove, int32_t& MaxCount) {
  return FrequDist(A, nullptr, detail::CornerBox(ColLo, RowLo, ColHi, RowHi), LowVal, HighVal, BinWidth, Dist, NBelow,
                   NAbove, MaxCount);
}

int32_t FrequDistOfArray(const TDouble2DArray& A, const TBool2DArray& Mask, int32_t ColLo, int32_t RowLo, int32_t ColHi,
                         int32_t RowHi, double LowVal, double HighVal, double BinWidth, TIntArray& Dist,
                         int32_t& NBelow, int32_t& NAbove, int32_t& MaxCount) {
  return FrequDist(A, &Mask, detail::CornerBox(ColLo, RowLo, ColHi, RowHi), LowVal, HighVal, BinWidth, Dist, NBelow,
                   NAbove, MaxCount);
}

}  // namespace orv
