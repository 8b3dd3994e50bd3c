// Unit ORV_math2: 2-D arrays of doubles correlated with a square kernel, and
// the compass and Kirsch edge kernels applied that way. Included through
// ORV_math2.h. Arrays are indexed [column][row] from 0.
#pragma once

#include <array>
#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Eight 3 x 3 kernels, [direction][i][j] with i the outer (column) index.
using TKernel3x3Set = std::array<std::array<std::array<double, 3>, 3>, 8>;
// Compass kernels: -2 in the centre, a run of three -1 and five 1 around it
// that turns with the direction.
ORV_API extern const TKernel3x3Set CompassKernels;
// Kirsch kernels: 0 in the centre, three 5 and five -3 around it.
ORV_API extern const TKernel3x3Set KirschKernels;

// Result[i][j] := sum over p, q = 0..m-1 (p outer) of Data[i + p - h][j + q -
// h] Kernel[p][q], m the kernel's columns, h = m div 2: a correlation, the
// kernel not reversed. Indices beyond the data are clamped into it (the edge
// values repeat); they are only at the border cells, so the interior reads
// without clamping. Every cell of the nc x nr data is computed once, also
// for data smaller than the kernel. Result gets nc x nr cells and takes them
// only on success; it may be Data or Kernel.
// Results, the kernel's checked first, a later failing check winning over an
// earlier one: -1 a kernel column not m long; -2 m even; -3 m < 3 (so an
// empty, 1 x 1 or 2 x 2 kernel gives -3); then -4 Data without columns or
// rows, or ragged; else 0. Nothing else fails; an unallocatable Result (or,
// with Progress, record of the inputs' storage) lets std::bad_alloc through.
// Progress, when assigned: step = max(1, (nc - m)(nr - m) div 100); the
// interior cells (h <= i < nc - h, h <= j < nr - h) are counted in the order
// i outer, j inner, and each count k that is a multiple of step fires
// Progress(nullptr, k / step). The interior has more cells than the
// (nc - m)(nr - m) the step is taken from, so the percent passes 100 a
// little before the end. Should Progress resize or move Kernel or Data (or
// a column of either), the correlation is taken once more, without
// progress, on them as they then are (with the codes above).
ORV_API int32_t KernelConvolve(const TDouble2DArray& Kernel, const TDouble2DArray& Data, TDouble2DArray& Result,
                               const TOnPercentDoneEvent& Progress = {});

// KernelConvolve with kernel Direction (0..7) of CompassKernels or
// KirschKernels; -1 for any other Direction.
ORV_API int32_t ApplyCompassKernel(int32_t Direction, const TDouble2DArray& Data, TDouble2DArray& Result,
                                   const TOnPercentDoneEvent& Progress = {});
ORV_API int32_t ApplyKirschKernel(int32_t Direction, const TDouble2DArray& Data, TDouble2DArray& Result,
                                  const TOnPercentDoneEvent& Progress = {});

}  // namespace orv
