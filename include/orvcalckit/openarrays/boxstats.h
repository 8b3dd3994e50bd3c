// Unit ORV_openarrays: mean and standard deviation over boxes. Included
// through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// The arithmetic mean (MeanArray) or the sample standard deviation
// (StdDevArray) of the cells of an inclusive box in corner form (all low
// indices, dimension 1 first, then all high ones), Integer cells read as
// doubles. The result is 0 before any check. -1 when A is empty at any
// level or ragged; -2 when a bound is negative or not below its extent, or a
// high bound is below its low bound; 0 with the statistic.
// The cells are taken in draw order: 1-D by index, 2-D column by column;
// 3-D for each third index, for each first, the second fastest; 4-D for
// each fourth index, then as 3-D. The mean is their sum from 0.0 in that
// order over the number of cells. The standard deviation takes two passes,
// sqrt(sum (x - mean)^2 / (n - 1)), and is 0 for a box of one cell.
ORV_API int32_t MeanArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double& Mean);
ORV_API int32_t MeanArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                          double& Mean);
ORV_API int32_t MeanArray(const TDouble3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                          int32_t Hi3, double& Mean);
ORV_API int32_t MeanArray(const TDouble4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                          int32_t Hi2, int32_t Hi3, int32_t Hi4, double& Mean);
ORV_API int32_t MeanArray(const TIntArray& A, int32_t Lo, int32_t Hi, double& Mean);
ORV_API int32_t MeanArray(const TInt2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                          double& Mean);
ORV_API int32_t MeanArray(const TInt3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                          int32_t Hi3, double& Mean);
ORV_API int32_t MeanArray(const TInt4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                          int32_t Hi2, int32_t Hi3, int32_t Hi4, double& Mean);

ORV_API int32_t StdDevArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double& StdDev);
ORV_API int32_t StdDevArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                            double& StdDev);
ORV_API int32_t StdDevArray(const TDouble3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                            int32_t Hi3, double& StdDev);
ORV_API int32_t StdDevArray(const TDouble4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                            int32_t Hi2, int32_t Hi3, int32_t Hi4, double& StdDev);
ORV_API int32_t StdDevArray(const TIntArray& A, int32_t Lo, int32_t Hi, double& StdDev);
ORV_API int32_t StdDevArray(const TInt2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                            double& StdDev);
ORV_API int32_t StdDevArray(const TInt3DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                            int32_t Hi3, double& StdDev);
ORV_API int32_t StdDevArray(const TInt4DArray& A, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                            int32_t Hi2, int32_t Hi3, int32_t Hi4, double& StdDev);

}  // namespace orv
