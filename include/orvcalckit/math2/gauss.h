// Unit ORV_math2: Gaussian peaks, a Gaussian hill, a sigmoid curve and the
// Gaussian similarity of two vectors. Included through ORV_math2.h.
// The array routines follow the dynamic-array conventions (index from 0,
// status results, nothing raised).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// A peak: its position (in sample numbers counted from 1), width and height.
using TGaussPeakParams = std::array<double, 3>;
using TPeakParamsList = std::vector<TGaussPeakParams>;

// Sample i = 1..n of Signal (element i - 1) := sum over the peaks, in list
// order, of height exp(-((i - position) / width)^2); Signal keeps its length.
// A peak of width 0 is its height at the sample equal to its position and 0
// elsewhere (the limit, where the formula gives 0/0 at the peak).
// Results: -1 no peaks; -2 (wins over -1) Signal shorter than 3; else 0.
// Nothing is written unless the result is 0.
ORV_API int32_t CreateGaussianPeaks(const TPeakParamsList& Peaks, TDoubleArray& Signal);

// Hill[i - 1][j - 1] := Height exp(-((i - ColCentre)^2 + (j - RowCentre)^2) /
// Width^2) for every cell; the array keeps its size.
// Results: -1 Width not above 0 (NaN included); -2 (wins over -1) fewer than
// 2 columns, column 0 shorter than 2, or columns of different lengths
// (ragged arrays count as empty); else 0. Nothing is written unless 0.
ORV_API int32_t Gauss2D(int32_t ColCentre, int32_t RowCentre, double Width, double Height, TDouble2DArray& Hill);

// Element i - 1 (i = 1..n) of Curve := LowLevel + Range / (1 + exp(-Steepness
// (i - Centre))); writes the caller's cells, the length stays.
// Results: -1 Curve shorter than 3 (nothing written); else 0.
ORV_API int32_t CreateSigmoidArray(TDoubleArray& Curve, double Steepness, double LowLevel, double Range,
                                   int32_t Centre);

// exp(-min(s / Width^2, 20)), s the sum over the elements e = 1..NrOfElem of
// Vec2 of (Vec1[e] - Vec2[e])^2 in increasing e (elements beyond Vec1 read
// as 0). So the value lies in [exp(-20), 1]; identical vectors give 1, also
// for Width 0 (the limit), which gives exp(-20) for any others. NaN in a
// cell or Width gives NaN; a nullptr vector gives NaN.
ORV_API double CalcGaussKernel(const TVector* Vec1, const TVector* Vec2, double Width);

// The same with s := sum over the columns c = 1..NrOfColumns of Mat of
// (Vec[c] - Mat[c, Row])^2 (cells outside Vec or Mat read as 0).
ORV_API double CalcGaussKernelMat(const TVector* Vec, const TMatrix* Mat, int32_t Row, double Width);

}  // namespace orv
