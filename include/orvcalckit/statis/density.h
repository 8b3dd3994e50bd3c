// Unit ORV_statis: the distribution of a sample: a percentile of an array and
// a kernel estimate of the density. Included through ORV_statis.h.
#pragma once

#include <cstdint>
#include <functional>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Value := the value that would stand at position Low + k if Data[Low..High]
// were sorted ascending, k = Round(Prob m / 100) (half to even, at most
// m - 1) for the m values of the range; QuickSelect reorders the range in
// Data. Value := 0 first; the result is 0, or -2 for Prob outside 0..100
// (NaN too), else -3 for High < Low, else -1 for Low or High outside
// 0..High(Data).
ORV_API int32_t PercentileOfArray(TDoubleArray& Data, double Prob, int32_t Low, int32_t High, double& Value);

// Progress of EstimateProbDensity: sender (always nullptr), the values and
// steps done, the percentage done.
using TProbDensityFeedback = std::function<void(void* Sender, double Done, double Percent)>;

// Gaussian kernel estimate of the density of the elements of Data, sampled at
// Steps + 1 equidistant points from Low to High into Density (resized; its
// elements written through SetVal). Data is sorted ascending in place
// (SortElems); an OnSortExchange handler that resizes Data ends that sort,
// and the values the handler left are taken, sorted aside. Steps is clamped
// into 10..10000; Factor <= 0 counts as 1, a Window below 0 as 0.
// Each value x_i gets the bandwidth Factor b_i (Factor where that is 0): b_i
// is the mean of the spacings between neighbours met by two walks from i
// over the values within Window of x_i (the one from i + 1 downwards, the other
// from i - 1 upwards; a spacing counts only between two elements, so the walks
// stop at the ends), Window / c when those spacings are all 0, Window when no
// neighbour lies within it.
// MaxIx := the first element of the largest density when that is above 0;
// MinIx := the first element of the smallest when that is below uc_MaxDouble
// (otherwise they keep their values). Feedback, when assigned, follows each
// value and each step with (nullptr, count, count / (n + Steps) x 100), so it
// ends above 100 %; it may change Data and Density, whose values are read
// before its first call and which is sized and written after its last.
// Nothing happens when Data or Density is nullptr.
ORV_API void EstimateProbDensity(TVector* Data, TVector* Density, double Low, double High, double Factor,
                                 double Window, int32_t Steps, int32_t& MinIx, int32_t& MaxIx,
                                 const TProbDensityFeedback& Feedback);

}  // namespace orv
