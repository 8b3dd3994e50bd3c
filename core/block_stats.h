// Statistics over blocks of cells (internal, header-only): sum, extremes,
// counting, the nearest cell and the sampled percentile, written once for
// every component whose block statistics share these definitions (the real
// and the integer matrix, the 3-D and 4-D arrays). The moments and the
// nearest-rank selection over the same blocks are those of core/moments.h
// and core/order_stats.h, fed through CellsOf.
//
// How to use
// ----------
// A kernel reads a block as runs: a callable Runs(F) that calls F(Run) for
// each run of the block's cells, in the component's visiting order. A run is
// a std::span<const T> of cells that follow each other in that order (or any
// type with size() and operator[], for cells a stride apart). A TMatrix block
// is one run per column (rows LowRow..HighRow), a TMat3D block one run per
// (column, row) position (layers LowLayer..HighLayer). Runs may do the
// component's own work between runs, such as counting positions for
// progress.
//
//   const auto Runs = [&](auto&& F) {
//     for (int32_t C = LowCol; C <= HighCol; ++C)
//       F(std::span<const double>(M.Mat[Ix1(C)].data() + (LowRow - 1), Ix(HighRow - LowRow + 1)));
//   };
//   double Min, Max;
//   MinMaxOf(Runs, uc_MaxReal, -uc_MaxReal, Min, Max);
//   const TMeanVar R = MeanVarOf(CellsOf(Runs));
//
// Cells may be of any arithmetic type; distances and percentiles are formed
// in double. The kernels never raise; SampledPercentileOf allocates its
// sample (std::bad_alloc: wrap it in the component's allocation guard).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "core/intwrap.h"
#include "core/order_stats.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv::detail {

// The cells of the block as a sequence: Visit(F) calls F(x) per cell, in order.
template <class RunsFn>
auto CellsOf(RunsFn Runs) {
  return [Runs](auto&& F) {
    Runs([&](const auto& Run) {
      const int64_t N = std::ssize(Run);
      for (int64_t K = 0; K < N; ++K) F(Run[Ix(K)]);
    });
  };
}

// The cells added in order from 0; Integer cells wrap around.
template <class T, class RunsFn>
T SumOf(RunsFn&& Runs) {
  T S{};
  CellsOf(Runs)([&](T X) { S = WrapAdd(S, X); });
  return S;
}

// How a cell replaces the running minimum: when it is not >= the minimum (the
// matrices, the 3-D array: a NaN takes the place, and the next number takes
// it back) or when it is below it (NaN never does).
enum class TMinRule : uint8_t { NotAtLeast, Below };

// The extremes of the block: a cell replaces Max when it is > Max, and Min as
// Rule says. Min and Max are StartMin and StartMax for a block without
// cells; otherwise the scan starts from the ends of T's range (infinities for
// reals), so a block of cells at or beyond the start values reports them, and
// an extreme that no cell reached (every cell NaN) is its start value.
template <class T, TMinRule Rule = TMinRule::NotAtLeast, class RunsFn>
void MinMaxOf(RunsFn&& Runs, T StartMin, T StartMax, T& Min, T& Max) {
  using L = std::numeric_limits<T>;
  constexpr T Top = L::has_infinity ? L::infinity() : L::max();
  constexpr T Bottom = L::has_infinity ? -L::infinity() : L::lowest();
  T Lo = Top, Hi = Bottom;
  int64_t N = 0;
  Runs([&](const auto& Run) {
    const int64_t Len = std::ssize(Run);
    N += Len;
    for (int64_t K = 0; K < Len; ++K) {
      const T X = Run[Ix(K)];
      if constexpr (Rule == TMinRule::NotAtLeast)
        Lo = !(X >= Lo) ? X : Lo;
      else
        Lo = X < Lo ? X : Lo;
      Hi = X > Hi ? X : Hi;
    }
  });
  if (N == 0) {
    Min = StartMin;
    Max = StartMax;
    return;
  }
  if constexpr (L::has_infinity)
    if (Hi == Bottom || Lo == Top) {  // no number raised (lowered) it: was it a cell?
      bool SeenBottom = false, SeenTop = false;
      CellsOf(Runs)([&](T X) {
        SeenBottom = SeenBottom || X == Bottom;
        SeenTop = SeenTop || X == Top;
      });
      if (Hi == Bottom && !SeenBottom) Hi = StartMax;
      if (Lo == Top && !SeenTop) Lo = StartMin;
    }
  Min = Lo;
  Max = Hi;
}

// The number of cells v with v >= RangeLow and v not > RangeHigh (NaN counts
// nowhere).
template <class RunsFn, class V>
int64_t CountInRangeOf(RunsFn&& Runs, V RangeLow, V RangeHigh) {
  int64_t Count = 0;
  CellsOf(Runs)([&](auto X) { Count += X >= RangeLow && !(X > RangeHigh); });
  return Count;
}

// A cell's place in the block: its run and its offset in the run, both
// counted from 0; -1 and -1 for none.
struct TCellPlace {
  int64_t Run = -1, Offset = -1;
  bool Found() const { return Run >= 0; }
};

// The first cell, in order, with the smallest |cell - Value| below
// uc_MaxDouble: a later cell must be strictly nearer. None when every
// distance is infinite or NaN.
template <class RunsFn, class V>
TCellPlace NearestOf(RunsFn&& Runs, V Value) {
  TCellPlace Best;
  double BestD = uc_MaxDouble;
  const double Target = static_cast<double>(Value);
  int64_t RunIx = 0;
  Runs([&](const auto& Run) {
    const int64_t Len = std::ssize(Run);
    for (int64_t K = 0; K < Len; ++K) {
      const double D = std::fabs(static_cast<double>(Run[Ix(K)]) - Target);
      if (D < BestD) {
        BestD = D;
        Best = {RunIx, K};
      }
    }
    ++RunIx;
  });
  return Best;
}

// The percentile Prob (clamped into 0..100) of SampleSize > 0 cells drawn
// with replacement: reseeds the platform's generator from the clock
// (Randomize), then Draw() gives one cell per sample (the component draws
// its indices in its documented order). The value at the nearest rank of the
// sample (TSelection). With ZeroShortcut (the matrices), the result is 0.0
// without a selection when Prob / 100 lies strictly between the fraction of
// negative cells drawn and that of negative or zero ones: the rank then falls
// on a zero.
template <class DrawFn>
double SampledPercentileOf(double Prob, int64_t SampleSize, DrawFn&& Draw, bool ZeroShortcut) {
  if (!std::isnan(Prob)) Prob = std::clamp(Prob, 0.0, 100.0);
  TSelection Sample(SampleSize);
  Randomize();
  int64_t Negative = 0, Zero = 0;
  for (int64_t I = 0; I < SampleSize; ++I) {
    const double X = static_cast<double>(Draw());
    Negative += X < 0.0;
    Zero += X == 0.0;
    Sample.Add(X);
  }
  if (ZeroShortcut) {
    const double P = Prob / 100.0, Nd = static_cast<double>(SampleSize);
    if (P > static_cast<double>(Negative) / Nd && P < static_cast<double>(Negative + Zero) / Nd) return 0.0;
  }
  return Sample.Select(Prob);
}

// The extreme of one line P[0..N-1] by a running comparison from Start, in
// order: for the minimum a value replaces the running one when running <=
// value does not hold (so a NaN does, and the next number takes its place
// back), for the maximum (Max) when running < value. Taken lane-parallel
// where that gives the same bits (no NaN, an extreme other than zero), else
// value by value.
double LineExtreme(const double* P, int64_t N, double Start, bool Max);

}  // namespace orv::detail
