// Frequency distributions into a TIntVector (internal): the bin rules of the
// real and the integer histograms and the one counting loop that the
// vectors' and the matrices' Histogram run.
//
// How to use
// ----------
// Make the bins (TRealBins::Make or TIntBins::Make; each refuses the bins it
// cannot count), then count a sequence into Histo:
//
//   TRealBins B;
//   if (Histo == nullptr || !TRealBins::Make(FirstBin, LastBin, BinWidth, B)) return false;
//   const THistoCounts C = CountHistogram(*Histo, B, [&](auto&& Add, bool Watched) {
//     for (...) Add(Value, 1);
//   });
//
// Visit(Add, Watched) calls Add(v, Repeat) for every value in the routine's
// order; Repeat > 1 stands for that many equal values in a row (the zeros of
// elements outside a vector). The total must fit an Integer. With Watched,
// Histo's OnChange handler runs between the values: read them in a way that
// stays safe when it resizes the source, and from a copy where Histo may be
// the source (its values change as they are counted). Without, nothing runs
// before Visit returns, and the source may be read directly.
//
// Every value lands in exactly one place, so Underflow + Overflow + the bins'
// counts equal the number of values: a value below FirstBin is underflow, one
// whose bin lies past the last bin is overflow (bins run from FirstBin in
// steps of BinWidth; values up to LastBin + BinWidth are taken, and the bin
// count is rounded, so the top bin's range may lie partly beyond the last
// bin). NaN is overflow for the vectors and underflow for the matrices (a
// value that is not >= FirstBin); TRealBins::Make takes which.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/intwrap.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/detail/index.h"

namespace orv::detail {

// The most bins a histogram has.
inline constexpr int32_t MaxHistoBins = 500;

// Where a histogram counts NaN.
enum class TNaNBin : uint8_t { Overflow, Underflow };

// NBins = Round(|Last - First| / Width) + 1; value v goes to bin
// Floor((v - First) / Width) + 1. Make refuses (false) a Width <= 0, bounds or
// a width that are not finite, and more than MaxHistoBins bins.
struct TRealBins {
  double First = 0.0, Top = 0.0, Width = 1.0;  // Top = Last + Width
  int32_t NBins = 0;
  int32_t NaNBin = 0;  // 0 or NBins + 1

  static bool Make(double First, double Last, double Width, TRealBins& B, TNaNBin NaN = TNaNBin::Overflow) {
    if (!(Width > 0.0) || !std::isfinite(First) || !std::isfinite(Last) || !std::isfinite(Width)) return false;
    const double Q = std::fabs(Last - First) / Width;
    if (!(Q <= MaxHistoBins)) return false;  // also an overflowing difference
    const int64_t NB = Round(Q) + 1;
    if (NB > MaxHistoBins) return false;
    const auto N = static_cast<int32_t>(NB);
    B = {First, Last + Width, Width, N, NaN == TNaNBin::Underflow ? 0 : N + 1};
    return true;
  }

  // 0 for underflow, 1..NBins, NBins + 1 for overflow. P >= 0 here, so the
  // truncating conversion is the floor.
  int32_t operator()(double V) const {
    if (V < First) return 0;
    if (!(V < Top)) return V == V ? NBins + 1 : NaNBin;
    const double P = (V - First) / Width;
    return P < NBins ? static_cast<int32_t>(P) + 1 : NBins + 1;
  }
};

// The integer histogram: a Width <= 0 counts as 1; NBins = |Last - First| div
// Width + 1; value v goes to bin (v - First) div Width + 1. All in 64 bits, so
// the bounds may span the whole Integer range. Make refuses (false) a bin
// count outside 1..MaxHistoBins.
struct TIntBins {
  int64_t First = 0, Top = 0, Width = 1;  // Top = Last + Width
  int32_t NBins = 0;

  static bool Make(int32_t First, int32_t Last, int32_t Width, TIntBins& B) {
    const int64_t W = Width <= 0 ? 1 : Width;
    const int64_t NB = std::llabs(int64_t{Last} - First) / W + 1;
    if (NB <= 0 || NB > MaxHistoBins) return false;
    B = {First, int64_t{Last} + W, W, static_cast<int32_t>(NB)};
    return true;
  }

  int32_t operator()(int32_t V) const {
    if (V < First) return 0;
    if (V >= Top) return NBins + 1;
    const int64_t P = (V - First) / Width;
    return P < NBins ? static_cast<int32_t>(P) + 1 : NBins + 1;
  }
};

struct THistoCounts {
  int32_t Underflow = 0, Overflow = 0, MaxCnt = 0;
};

// Histo is resized to the bins (when its size differs) and cleared; then every
// value is counted: a bin's count rises by one through SetVal and MaxCnt
// follows the largest count. Without an OnChange handler on Histo nobody can
// watch the single writes, so the counts are gathered first and written at
// once; with one, every count is a SetVal, in the order of the values.
template <class BinRule, class VisitFn>
THistoCounts CountHistogram(TIntVector& Histo, const BinRule& B, VisitFn&& Visit) {
  THistoCounts R;
  const int32_t NB = B.NBins;
  if (!Histo.OnChange) {
    std::vector<int64_t> C(Ix(NB + 2));
    int64_t* Tally = C.data();
    const BinRule Rule = B;
    Visit([Tally, Rule](auto V, int64_t Repeat) { Tally[Rule(V)] += Repeat; }, false);
    TIntArray Counts(Ix(NB));
    int64_t InBins = 0;
    for (int32_t I = 1; I <= NB; ++I) {
      Counts[Ix1(I)] = static_cast<int32_t>(C[Ix(I)]);
      InBins += C[Ix(I)];
      if (Counts[Ix1(I)] > R.MaxCnt) R.MaxCnt = Counts[Ix1(I)];
    }
    Histo.Resize(NB);
    Histo.CopyFromArray(Counts, 1);
    Histo.SetIsEmpty(InBins == 0);
    R.Underflow = SatInt32(C[0]);
    R.Overflow = SatInt32(C[Ix(NB + 1)]);
    return R;
  }
  Histo.Resize(NB);
  Histo.Clear();
  int64_t Under = 0, Over = 0;
  Visit(
      [&](auto V, int64_t Repeat) {
        const int32_t Bin = B(V);
        if (Bin == 0) {
          Under += Repeat;
        } else if (Bin > NB) {
          Over += Repeat;
        } else {
          for (int64_t K = 0; K < Repeat; ++K) {
            Histo.SetVal(Bin, WrapAdd(Histo.GetVal(Bin), 1));  // a handler may have set any count
            if (Histo.GetVal(Bin) > R.MaxCnt) R.MaxCnt = Histo.GetVal(Bin);
          }
        }
      },
      true);
  R.Underflow = SatInt32(Under);
  R.Overflow = SatInt32(Over);
  return R;
}

}  // namespace orv::detail
