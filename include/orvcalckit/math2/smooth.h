// Unit ORV_math2: smoothing, derivative and kernel filters of vectors.
// Included through ORV_math2.h.
#pragma once

#include <array>
#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// ============================================================================
// Windowed filters
// ============================================================================
//
// The six windowed routines filter elements FirstElem..LastElem of SourceVec
// into DestVec element 1, 2, ...; WindowLength is w = 2h + 1.
// - The bounds are clamped into 1..n (n = SourceVec's NrOfElem; no (0, 0)
//   rule) and exchanged when reversed: Lo..Hi, L = Hi - Lo + 1 elements.
// - Raised (EORVMath2Error, in this order, nothing written before): a nullptr
//   vector ("<Routine>: either SourceVec or DestVec is undefined"); Hi - Lo <
//   w, so a range of exactly w elements is refused ("...: specified range for
//   smoothing is smaller than ..."); w outside its range ("... is out of
//   range"); an even w ("... must be odd"). The texts name the window "the
//   length of the smoothing window(s)" for the three averages and "the length
//   of the polynomial" for the other three ("range for calculation" in
//   FirstDeriv).
// - Element i of the source gives DestVec element i - Lo + 1 for the centres
//   i = Lo + h .. Hi - h; the h elements at each end repeat the nearest
//   centre's value. DestVec grows to L elements when it is shorter (never
//   shrinks; elements beyond L keep their values).
// - All values are computed before the first write, so DestVec may be
//   SourceVec. Without an OnChange handler they go straight into DestVec;
//   with one through SetVal (centres first, then the head, then the tail),
//   and OnChange fires once more at the end.
// - "not enough memory" (EORVMath2Error) when the work space cannot be had.
//
// NaN and infinities enter the sums as IEEE arithmetic says; the
// median orders NaN above every number.

// (Sum over k = -h..h of x(i + k)) / w. w odd, at least 3.
ORV_API void MovingAverageSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                                 int32_t WindowLength);
// The median of x(i - h) .. x(i + h), element h + 1 of the window in
// ascending order (NaN last): the Quartiles median of the window, exactly one
// of its elements. Of equal zeros -0.0 orders first. w odd, at least 3.
ORV_API void MovingMedianSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                                int32_t WindowLength);
// Triangular weights: (x(i) (h + 1) + sum over k = 1..h of (x(i + k) +
// x(i - k)) (h - k + 1)) * 4 / (w + 1)^2. w odd, at least 3.
ORV_API void WeightedAverageSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                                   int32_t WindowLength);
// Quadratic Savitzky-Golay smoothing with the row of GolayPoly:
// (c0 x(i) + sum over k = 1..h of ck (x(i + k) + x(i - k))) / N. w odd, 5..25.
ORV_API void PolynomialSmooth(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                              int32_t WindowLength);
// The same form with the row of Golay2ndDeriv: the second derivative per
// unit step squared. w odd, 5..25.
ORV_API void SecondDeriv(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                         int32_t WindowLength);
// (Sum over k = -h..h of k x(i + k)) / D, D = 2 (1^2 + ... + h^2): the
// least-squares slope per unit step (the centre's 0 x(i) included, so a
// non-finite centre gives NaN). w odd, 5..25.
ORV_API void FirstDeriv(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                        int32_t WindowLength);

// Correlation with FilterKernel (K elements, not reversed): element i of
// Lo..Hi gives DestVec element i - Lo + 1 := sum over e = 1..K of
// x(j) FilterKernel(e), j = i + e - 1 - K div 2 clamped into Lo..Hi (the edge
// values repeat), summed in increasing e. An even K takes one more element
// after the centre than before it. DestVec gets n elements (SetVecSize) and
// fires OnChange once more at the end; values are computed before DestVec
// changes, so any of the three vectors may be the same one. Raises
// "MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined"
// for a nullptr and "MovingKernelfilter: specified range for smoothing is
// smaller than the length of the kernel" when Hi - Lo < K.
ORV_API void MovingKernelFilter(const TVector* SourceVec, int32_t FirstElem, int32_t LastElem, TVector* DestVec,
                                const TVector* FilterKernel);

// Savitzky-Golay rows of the quadratic smoothing (GolayPoly) and second
// derivative (Golay2ndDeriv) in lowest integer terms: row (w - 5) / 2 for the
// window w = 5, 7, ..., 25 holds the divisor N, then c0..ch, then zeros.
// Smoothing weights are proportional to 3h^2 + 3h - 1 - 5k^2 and sum to N;
// second-derivative weights to 3k^2 - h(h + 1), and the samples k^2 give 2.
inline constexpr int32_t GolayRows = 11;
inline constexpr int32_t GolayCols = 14;
using TGolayTable = std::array<std::array<int32_t, GolayCols>, GolayRows>;
ORV_API extern const TGolayTable GolayPoly;
ORV_API extern const TGolayTable Golay2ndDeriv;

}  // namespace orv
