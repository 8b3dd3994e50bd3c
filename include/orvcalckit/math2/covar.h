// Unit ORV_math2: covariance-type matrices of columns. Included through ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// The Scaling codes of CalcCovar and CalcPrincComp; a Scaling parameter is a
// plain integer, so any other value may be passed as well.
enum TCovarScaling : int32_t {
  csCrossProducts = 0,       // sum of x*y / (n - 1)
  csCovariance = 1,          // columns centred on their means
  csCorrelation = 2,         // diagonal exactly 1.0; a column of zero variance: 0
  csSquaredCorrelation = 3,  // its square; the diagonal within rounding of 1 (0 for a constant column)
  csSquaredDistance = 4      // sum of (x - y)^2 / (n - 1)
};

// The covariance-type matrix of columns LoCol..HiCol over rows LoRow..HiRow of
// Data into the first m x m cells of Covar (m = HiCol - LoCol + 1), written
// cell (b, a) then (a, b) for a = 1..m, b = 1..a (OnChange of Covar per write).
// Bounds (0, 0) mean the whole axis; other bounds are used as given, and cells
// outside Data read as 0. Scaling is one of TCovarScaling (n rows); any other
// value gives 0 in every cell.
// The means and the variances of the centred scalings come from one pass over
// the values shifted by the column's first value, variance (sum of squares -
// sum * mean) / (n - 1), taken as 0 when rounding makes it negative; the
// deviations x - mean are taken from the same shifted values, so a column
// that varies little beside its size keeps its digits. Correlations lie in
// [-1, 1], squared ones in [0, 1]; where a sum overflows the double range the
// correlation is NaN (the forced diagonal of csCorrelation excepted).
// Clears AbortMathProc first; false, with nothing written, when Data or Covar
// is nullptr, Covar has fewer than m columns or rows, the column range is
// reversed (m < 1) or it has fewer than two rows; false too when AbortMathProc
// stopped it (the rows of Covar done so far are written). Covar may be Data.
// Progress: n passes for the column sums (scalings above 0), then n per cell
// pair; AbortMathProc is tested before each row a of Covar.
ORV_API bool CalcCovar(const TMatrix* Data, TMatrix* Covar, int32_t LoCol, int32_t HiCol, int32_t LoRow,
                       int32_t HiRow, int32_t Scaling);

}  // namespace orv
