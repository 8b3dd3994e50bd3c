// Unit ORV_math2: windowed-sinc kernels and Chebyshev recursive filters.
// Included through ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Frequencies are fractions of the sampling rate, 0 to 0.5.

// ============================================================================
// Windowed-sinc kernels
// ============================================================================
//
// A kernel of M taps, position p = 1..M (array index p - 1), centre
// c = M div 2 + 1. The low-pass tap is sin(2 pi f (p - c)) / (p - c), 2 pi f
// at the centre, times the window, and the taps are divided by their sum
// unless it is 0 (cut-off 0: all taps 0). The window is symmetric about
// (M + 1) / 2 with the denominator M + 1, so for an even M its centre and the
// sinc's differ by half a tap. The cut-off is clamped into 0..0.5 (a NaN
// one gives NaN taps).
// High-pass: the low-pass negated, plus 1 at c. Band-stop (cut-offs in either
// order): low-pass at the smaller plus high-pass at the larger. Band-pass:
// the band-stop negated, plus 1 at c.
// The TDoubleArray forms give M taps (none for M <= 0); the TVector forms
// resize the vector to M and write it as SetVal does (no final OnChange);
// M <= 0 or nullptr leaves it as it is. Nothing is raised but
// "<Routine>: not enough memory" (EORVMath2Error) for an M beyond the memory.

// The WindowType codes; any other value is the rectangular window.
enum TSincWindow : int32_t {
  swRectangular = 0,
  swHamming = 1,   // 0.54 - 0.46 cos(2 pi p / (M + 1))
  swBlackman = 2,  // 0.42 - 0.5 cos(2 pi p / (M + 1)) + 0.08 cos(4 pi p / (M + 1))
};

ORV_API void CalcSincLPKernel(int32_t M, double CutOff, int32_t WindowType, TVector* Kernel);
ORV_API void CalcSincLPKernel(int32_t M, double CutOff, int32_t WindowType, TDoubleArray& Kernel);
ORV_API void CalcSincHPKernel(int32_t M, double CutOff, int32_t WindowType, TVector* Kernel);
ORV_API void CalcSincHPKernel(int32_t M, double CutOff, int32_t WindowType, TDoubleArray& Kernel);
ORV_API void CalcSincBSKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TDoubleArray& Kernel);
ORV_API void CalcSincBSKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TVector* Kernel);
ORV_API void CalcSincBPKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TDoubleArray& Kernel);
ORV_API void CalcSincBPKernel(int32_t M, double CutOff1, double CutOff2, int32_t WindowType, TVector* Kernel);

// ============================================================================
// Chebyshev recursive filters
// ============================================================================

// The recursion coefficients of a Chebyshev low-pass or high-pass filter of
// NPoles poles (a cascade of NPoles / 2 two-pole stages) with a pass-band
// ripple of Ripple percent; Ripple 0 (or one too small to tell from 0) gives
// the Butterworth filter. The gain is 1 at frequency 0 (low-pass) or 0.5
// (high-pass); the pass band runs between 1 and 100 / (100 - Ripple).
// A0 := a0; Coeffs is resized to 2 columns and NPoles rows, row r holding
// a(r) and b(r) (written as SetVal does), so that
//   y(j) = a0 x(j) + sum over r of (a(r) x(j - r) + b(r) y(j - r)).
// Raised (EORVMath2Error), in this order, before anything is written:
// "CalcChebFilterCoeffs: NPoles must be even", "CalcChebFilterCoeffs: NPoles
// out of range" (unless 2 <= NPoles <= 20), "CalcChebFilterCoeffs: invalid
// Ripple value" (unless 0 <= Ripple <= 29), "CalcChebFilterCoeffs: invalid
// cutoff frequency" (unless 0 < CutOff < 0.5), and "CalcChebFilterCoeffs:
// recursion would be unstable" when the coefficients, as rounded, put a pole
// on or outside the unit circle (Schur-Cohn test) or come within their own
// rounding of it at the end of the pass band (1 - sum of b(r) S^r, S = 1
// low-pass and -1 high-pass, not above 2^-52 sum of |b(r)|): too many poles
// for a cut-off near 0 or 0.5 (at most 10 poles at 0.01, 18 at 0.05 without
// ripple, fewer with it). A nullptr Coeffs: A0 and everything else stay,
// and no design is made.
ORV_API void CalcChebFilterCoeffs(int32_t NPoles, bool HighPass, double CutOff, double Ripple, double& A0,
                                  TMatrix* Coeffs);

// Zero-phase filtering of Source by the recursion of A0 and Coeffs (NP rows:
// a(r) in column 1, b(r) in column 2; g = NP + 1): forward from element 1
// over the source read as 0 outside its elements, y(j) = A0 x(j - g) + sum
// over r = 1..NP of (a(r) x(j - r - g) + b(r) y(j - r)) for j = 1..Last + 2g,
// then backward, z(j) = A0 y(j) + sum of (a(r) y(j + r) + b(r) z(j + r)) for
// j = Last + 2g down to 1, sums in increasing r. Dest elements First..Last :=
// z(element + g): the same values as with First = 1, whatever First is.
// First and Last follow the range rule of Source ((0, 0) is the whole
// vector); Dest grows to Last elements when shorter, elements outside
// First..Last keep their values, and the values are written as SetVal does
// (no final OnChange). Dest may be Source. A nullptr vector or matrix: nothing.
// "ChebychevFilter: not enough memory" (EORVMath2Error) when the work space
// cannot be had.
ORV_API void ChebychevFilter(const TVector* Source, int32_t FirstElem, int32_t LastElem, TVector* Dest, double A0,
                             const TMatrix* Coeffs);

}  // namespace orv
