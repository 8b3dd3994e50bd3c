// Unit ORV_math1: scalar mathematics, number formatting, sorting and selection
// in plain arrays, random generators, compensated summation, plane geometry and
// angles.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's routines; messages begin with the routine's name.
class ORV_API EORVMath1Error : public EORVError {
 public:
  using EORVError::EORVError;
};

// ============================================================================
// Sorting, selection and exchange in plain arrays
// ============================================================================
// Typed overloads take the array as a span and use 0-based positions; the
// kind-selected overloads take the first element, the element count N and a
// TVarKind (0, 1: double; 2: single; 3, 4: 32-bit integer; any other kind
// leaves the data alone) and use 1-based positions.

// Comb sort in place, shrink factor 1.3, starting from gap N. Equal values are
// never exchanged; the sort is not stable. NaN goes last in both directions.
// Each pass adds 1 to ProcStat and calls MathFeedBackProc.
ORV_API void SortArray(void* Data, int32_t N, TVarKind Kind, bool Ascending);
ORV_API void SortArray(std::span<double> Data, bool Ascending);
ORV_API void SortArray(std::span<int32_t> Data, bool Ascending);
ORV_API void SortArray(std::span<float> Data, bool Ascending);


// ============================================================================
// Random generators and compensated summation
// ============================================================================


// ============================================================================
// Scalar mathematics: functions, integers and primes, interpolation, bits
// ============================================================================


// ============================================================================
// Number formatting and conversion
// ============================================================================

// The lowest NDigits digits of Value's 32-bit pattern read as unsigned, most
// significant first. NDigits 0 counts as 1; it is capped at 8 (Hex), 11 (Octal)
// and 32 (Bin), the digits of the whole pattern.
ORV_API std::string Hex(int32_t Value, uint8_t NDigits);
ORV_API std::string Octal(int32_t Value, uint8_t NDigits);
ORV_API std::string Bin(int32_t Value, uint8_t NDigits);
// Exactly NDigits (0 counts as 1) decimal digits of |Value|, leading zeros kept,
// higher digits dropped, "-" in front of a negative Value.
ORV_API std::string Decimal(int32_t Value, uint8_t NDigits);


// ============================================================================
// Plane geometry of points, segments, rectangles and ellipses
// ============================================================================

// Rectangles of doubles may give their corners in any order.
ORV_API double EuclideanDistance(const TPointDouble& P1, const TPointDouble& P2);
ORV_API double EuclideanDistance(double x1, double y1, double x2, double y2);
// Distance from P to the segment AB (to A when A = B).
ORV_API double DistanceToSegment(const TPointDouble& P, const TPointDouble& A, const TPointDouble& B);
// 1 counter-clockwise, -1 clockwise, 0 collinear.
ORV_API int32_t CcwTriangle(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3);
// Segments P1P2 and P3P4 meet; touching counts, and so do any four collinear
// points, overlapping or not (the polygon routines rely on it).
ORV_API bool SegmentsIntersect(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3,
                               const TPointDouble& P4);
ORV_API bool WithinRect(const TPointDouble& P, const TRectDouble& R);  // edges inside
// Clamps P into R; true when P was moved.
ORV_API bool ConfinePointToRect(TPointDouble& P, const TRectDouble& R);
// Rounded distance from P to the rectangle (0 inside and on the edges);
// saturates at the largest Integer.
ORV_API int32_t DistFromRect(const TPoint& P, const TRect& R);
// Distance from P to the axis-parallel ellipse with centre (Xc, Yc) and
// semi-axes A along x and B along y; Nearest receives the nearest point of the
// ellipse. The sign of a semi-axis does not matter; a zero semi-axis makes the
// ellipse a segment (both zero: its centre).
ORV_API double DistFromEllipse(const TPointDouble& P, double Xc, double Yc, double A, double B,
                               TPointDouble& Nearest);


// ============================================================================
// Angles in degrees, minutes and seconds
// ============================================================================


}  // namespace orv
