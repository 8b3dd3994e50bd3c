// Unit ORV_openarrays: percentiles and frequency distributions. Included
// through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// The P-th percentile (P a percentage) as the cell at sorted position
// k = Round(n * P / 100), half to even, at most n - 1 (0-based), selected by
// QuickSelect of ORV_math1 without interpolation: [1, 2, 3, 4] at 50 gives 3.
// P is clamped to 0 .. 100. The 1-D form reorders A's cells (the caller sees
// the new order). The 2-D form takes a box in corner form, clamps each bound
// into its axis (reversed bounds are not exchanged) and selects from a copy of
// the box's cells in scan order; A stays as it is.
// 0 when A is empty, ragged or has columns but no rows, when the box is
// reversed after clamping, or when the array (box) holds more than
// 2147483647 cells; otherwise a NaN P gives NaN and leaves A alone. NaN cells have no
// place in the order: with them, the result is some cell of the array,
// possibly NaN.
ORV_API double PercentileArray(double P, TDoubleArray& A);
ORV_API double PercentileArray(double P, const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi,
                               int32_t RowHi);

// Counts the cells of A (1-D: Lo .. Hi; 2-D: a box in corner form; bounds all
// 0: the whole array) into Round(|HighVal - LowVal| / BinWidth) + 1 bins of
// width BinWidth: a cell x below LowVal counts in NBelow; else x below
// HighVal + BinWidth goes to bin Floor((x - LowVal) / BinWidth) when that is
// a bin, and to NAbove otherwise; any other x (NaN too) counts in NAbove. Bin
// b covers LowVal + b * BinWidth up to, not including, LowVal + (b + 1) *
// BinWidth, so the last bin reaches past HighVal. MaxCount is the largest bin
// count. The masked form counts only cells whose Mask cell is false. Counts
// beyond 2147483647 give 2147483647.
// Codes, the first failing check wins and leaves every output as it was:
// -1 a bound negative or not below its extent (an empty or ragged A),
// -2 a high bound below its low bound, -3 LowVal >= HighVal or a NaN bound,
// -4 BinWidth <= 0 or NaN, -6 (masked) Mask's extents differ from A's (an
// empty or ragged Mask differs), -5 more than 1000 bins (also a ratio
// |HighVal - LowVal| / BinWidth that is not finite); else 0.
ORV_API int32_t FrequDistOfArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double LowVal, double HighVal,
                                 double BinWidth, TIntArray& Dist, int32_t& NBelow, int32_t& NAbove, int32_t& MaxCount);
ORV_API int32_t FrequDistOfArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                                 double LowVal, double HighVal, double BinWidth, TIntArray& Dist, int32_t& NBelow,
                                 int32_t& NAbove, int32_t& MaxCount);
ORV_API int32_t FrequDistOfArray(const TDouble2DArray& A, const TBool2DArray& Mask, int32_t ColLo, int32_t RowLo,
                                 int32_t ColHi, int32_t RowHi, double LowVal, double HighVal, double BinWidth,
                                 TIntArray& Dist, int32_t& NBelow, int32_t& NAbove, int32_t& MaxCount);

}  // namespace orv
