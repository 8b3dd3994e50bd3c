// Unit ORV_math2: nearest neighbours and estimation by the k nearest
// neighbours over the rows of a TMatrix (one row per object). Included
// through ORV_math2.h.
#pragma once

#include <cstdint>
#include <functional>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// How EstimateByKNN combines the targets of the neighbours.
enum TKnnWMode : uint8_t { kwmGauss = 0, kwmAverage = 1, kwmMedian = 2, kwmLinear = 3, kwmBiQuad = 4 };

// The distance of row Row to the sample, supplied by the caller.
using TKnnDistFunc = std::function<double(int32_t Row)>;

// The k nearest rows of FirstRow..LastRow (each <= 0 taken as 1, above
// NrOfRows as NrOfRows, exchanged when reversed) to the sample: the distance
// of row b is DistFunc(b), or without one (empty) the Euclidean distance
// between Sample and row b over Sample's elements (element v against
// column v, columns beyond Data read as 0). The rows are ranked in a list of
// 101 (ascending; of equal distances the later row comes first; NaN is not
// ranked). k is taken as at most 100 and at most NrOfRows; row r of
// Neighbors (r = 1..k, not resized: 2 columns, k rows) := (row number,
// distance) through SetVal, places the range did not fill as (0,
// uc_MaxReal). k < 1, Data or Neighbors nullptr, or no sample and no
// DistFunc: nothing written.
ORV_API void FindNearestNeighbors(int32_t K, const TMatrix* Data, int32_t FirstRow, int32_t LastRow,
                                  const TVector* Sample, TMatrix* Neighbors, const TKnnDistFunc& DistFunc);

// For every row i of FirstRow..LastRow (clamped as above): element i of
// MeanDist (not resized) := the mean of the k smallest Euclidean distances
// (all columns) from row i to the rows of the range, row i itself (at 0)
// included. k is taken as 1 when below, and as at most 50 and at most the
// rows of the range. nullptr: nothing. With an OnChange handler on MeanDist
// (called at each write) the rows are read from a copy taken first, so the
// handler may change Data; EORVMath2Error "MeanDistanceKNN: not enough
// memory" when the copy cannot be had.
ORV_API void MeanDistanceKNN(const TMatrix* Data, int32_t K, int32_t FirstRow, int32_t LastRow, TVector* MeanDist);

// The target of Sample estimated from the Targets (element = row) of its k
// nearest rows of Data (Euclidean, k at most 100 and at most NrOfRows).
// MeanDist := m, the mean of their distances; for the weights m = 0 counts
// as 0.001. With d_r and t_r the distance and target of neighbour r, P =
// Param:
//   kwmGauss   sum w t / sum w, w = exp(-(P d / m)^2) (0 when every w is 0)
//   kwmAverage sum t / k
//   kwmMedian  the median (TVector.Quartiles) of the k targets
//   kwmLinear  sum w t / sum w over the w = 1 - d / m / P > 0 (0 when none)
//   kwmBiQuad  the local quadratic model fitted to the neighbours by
//              least squares (terms 1, x_1..x_p, x_1^2..x_p^2, x_i x_j for
//              i < j; the minimum-norm solution when the neighbours are
//              fewer than the terms) and evaluated at the sample; 0 when the
//              singular value decomposition fails.
// k < 1, no rows or a nullptr: estimate 0 and MeanDist 0. Raises nothing.
ORV_API void EstimateByKNN(const TMatrix* Data, const TVector* Targets, int32_t K, TKnnWMode Mode, double Param,
                           const TVector* Sample, double& Estimate, double& MeanDist);

}  // namespace orv
