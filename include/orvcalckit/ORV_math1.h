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
// Each pass adds 1 to ProcStat and calls MathFeedBackProc, which may change
// the values but must neither free nor move the storage Data points into:
// the routine holds a pointer and cannot see whose storage it is.
ORV_API void SortArray(void* Data, int32_t N, TVarKind Kind, bool Ascending);
ORV_API void SortArray(std::span<double> Data, bool Ascending);
ORV_API void SortArray(std::span<int32_t> Data, bool Ascending);
ORV_API void SortArray(std::span<float> Data, bool Ascending);

// Ordered insertion into a full, sorted array: the value goes before the first
// element that is >= Value (ascending) or <= Value (descending), the last
// element drops out. Not inserted when Value lies beyond the last element, or
// equals the element found and AllowEqual is false, or the array is empty.
// Returns the position of the new value: 1-based or 0 (kind-selected),
// 0-based or -1 (typed). Value points to one element of the kind.
ORV_API int32_t SortIntoArray(void* Data, int32_t N, TVarKind Kind, const void* Value, bool Ascending,
                              bool AllowEqual);
ORV_API int32_t SortIntoArray(std::span<double> Data, double Value, bool Ascending, bool AllowEqual);
ORV_API int32_t SortIntoArray(std::span<float> Data, float Value, bool Ascending, bool AllowEqual);
ORV_API int32_t SortIntoArray(std::span<int32_t> Data, int32_t Value, bool Ascending, bool AllowEqual);

// Writes Value at a position of a full array, moving the elements behind it up
// by one; the last element drops out. Nothing happens outside 1..N (Position)
// or 0..High (Index).
ORV_API void InsertIntoArray(void* Data, int32_t N, TVarKind Kind, const void* Value, int32_t Position);
ORV_API void InsertIntoArray(std::span<double> Data, double Value, int32_t Index);
ORV_API void InsertIntoArray(std::span<float> Data, float Value, int32_t Index);
ORV_API void InsertIntoArray(std::span<int32_t> Data, int32_t Value, int32_t Index);

// The value that would stand at index K if Data[Low..High] were sorted
// ascending; reorders Data[Low..High] (partitions around the middle element;
// the ties of a pivot that is the least value of its range, NaN ties with
// NaN, leave the range together, so many equal values cost no extra passes;
// an order on which the middle pivot would take quadratic time has its rest
// selected by introselect, NaN behind every number: same value, another
// order left behind).
// 0 without touching the data when the range is empty, K lies outside it or
// the range does not lie within the array.
ORV_API double QuickSelect(std::span<double> Data, int32_t K, int32_t Low, int32_t High);

// Exchanges A and B when A >= B (Ascending) or A < B (descending); true when
// exchanged, so equal values count as exchanged when ascending only.
ORV_API bool SortSwap(double& A, double& B, bool Ascending);

// Exchange of two variables; the untyped form swaps Size bytes in order.
ORV_API void ExChange(void* A, void* B, uint16_t Size);
ORV_API void ExChange(int32_t& A, int32_t& B);
ORV_API void ExChange(uint8_t& A, uint8_t& B);
ORV_API void ExChange(float& A, float& B);
ORV_API void ExChange(double& A, double& B);
#if ORV_HAS_EXTENDED
ORV_API void ExChange(Extended& A, Extended& B);
#endif
ORV_API void ExChange(std::string& A, std::string& B);
ORV_API void ExChange(bool& A, bool& B);
ORV_API void ExChange(char& A, char& B);
ORV_API void ExChange(uint16_t& A, uint16_t& B);
ORV_API void ExChange(int8_t& A, int8_t& B);
ORV_API void ExChange(uint32_t& A, uint32_t& B);
ORV_API void ExChange(int64_t& A, int64_t& B);


// ============================================================================
// Random generators and compensated summation
// ============================================================================
// The generators keep unit-level state shared by all callers and are not
// synchronised; the library's start work sets it (see Initialize).

// Combined multiplicative congruential generator, uniform in [0, 1). A nonzero
// Seed restarts it first (seeds that are multiples of 990923 zero the state,
// and it returns 0 until the next restart); 0 continues the sequence.
ORV_API double LongRand(int32_t Seed);
// Standard normal values by Marsaglia's polar method from the platform's
// uniform generator; every second call returns the cached partner value.
ORV_API double GRandom();
// Cauchy-distributed: Location + Scale * tan(pi * (Random - 0.5)).
ORV_API double CRandom(double Location, double Scale);
// True with the given probability: always true from 1 up (without a draw),
// never true at 0 or below.
ORV_API bool BRandom(double Probability);

// Kahan's compensated summation: Sum carries the running total, the hidden
// compensation the low-order part that plain addition would lose.
class ORV_API TKahanSum : public TComponent {
 public:
  explicit TKahanSum(TComponent* AOwner = nullptr);
  std::string ClassName() const override;
  void Reset();  // Sum and the compensation to 0
  void Add(double ANumber);

 private:
  double cps = 0;

 public:
  double Sum = 0;
};


// ============================================================================
// Scalar mathematics: functions, integers and primes, interpolation, bits
// ============================================================================

// ---- functions of one value ----
// Decimal and binary logarithms; x <= 0 raises EMathError "logarithm: invalid argument".
ORV_API double lg(double x);
ORV_API double ld(double x);
// Hyperbolic sine, cosine and tangent.
ORV_API double sinh(double x);
ORV_API double cosh(double x);
ORV_API double tgh(double x);
// Tangent and cotangent; a zero denominator raises EMathError "tangens overflow"
// or "cotangens overflow".
ORV_API double tg(double x);
ORV_API double cot(double x);
// -1 for x < 0, else 1 (also for 0).
ORV_API double Signum(double x);
// Ceiling and floor as Integer, saturated; NaN gives 0.
ORV_API int32_t IntPos(double x);
ORV_API int32_t IntNeg(double x);
// x moved onto the series +-{1, 2, 5} x 10^k: to the nearest member, upwards
// (towards +infinity) or downwards. 0 gives 0.
ORV_API double Round125(double x);
ORV_API double RoundPos125(double x);
ORV_API double RoundNeg125(double x);

// ---- functions of several values ----
// The remainder of x by y with the sign of x, exact. y = 0 raises EZeroDivide,
// a non-finite argument EInvalidOp.
ORV_API double modr(double x, double y);
// Sigmoid a x tanh((s / a)(x - x0)) through x0 with slope s and limits +-a.
ORV_API double Squash(double x, double x0, double s, double a);
// Lower edge of the bin of width BinWidth (bins aligned on Origin) that holds x;
// Offset receives x minus that edge. BinWidth = 0 raises EZeroDivide, a
// non-finite argument EInvalidOp, a bin number beyond the double range EOverflow.
ORV_API double HistoBinRef(double x, double Origin, double BinWidth, double& Offset);
// Sum of c[i] x^i, i = 0..Order. Order outside 0..high index raises
// EORVMath1Error "Polynomial: invalid order of polynomial".
ORV_API double Polynomial(std::span<const double> Coefficients, int32_t Order, double x);
// Sum of c[i] (b - a)^i, i = 0..Order; same failure as Polynomial.
ORV_API double CenteredPolynomial(std::span<const double> Coefficients, int32_t Order, double a, double b);
// Linear interpolation in values sampled at equidistant abscissae from XFirst to
// XLast; beyond them the end segments are extended. Fewer than 2 values raise
// EORVMath1Error "InterpolTable: pivot array must contain at least 2 values",
// XFirst = XLast "InterpolTable: specified range of pivot array is zero".
ORV_API double InterpolTable(double x, double XFirst, double XLast, std::span<const double> Table);
ORV_API double InterpolTable(double x, double XFirst, double XLast, std::span<const int32_t> Table);
// Linear interpolation in (x, y) pivots: Table[0] the strictly monotonic x
// values, Table[1] the y values. Outside the open pivot range (end pivots
// included) the result is 0, or the end segment extended when Extrapolate.
// EORVMath1Error "InterpolXYTable: pivot array must contain at least 2 rows"
// for fewer than 2 pivots, "InterpolXYTable: pivot array must contain 2
// columns" for a table without exactly 2 columns or a short y column.
ORV_API double InterpolXYTable(double x, const TDouble2DArray& Table, bool Extrapolate);
// Bilinear interpolation in a rectangle cell with corner values z1..z4.
ORV_API double InterpolZofXYRect(double z1, double z2, double z3, double z4, double t, double u);
// min(B1, B2) <= x <= max(B1, B2), optionally widened by Margin on both sides.
ORV_API bool WithinBounds(double x, double Bound1, double Bound2);
ORV_API bool WithinBounds(double x, double Bound1, double Bound2, double Margin);
// x clamped into [min(B1, B2), max(B1, B2)].
ORV_API double ConfineValue(double x, double Bound1, double Bound2);
ORV_API float ConfineValue(float x, float Bound1, float Bound2);
ORV_API int32_t ConfineValue(int32_t x, int32_t Bound1, int32_t Bound2);
// Round(x) limited to Low, then to High (High wins when Low > High).
ORV_API int64_t RoundLimit(double x, int64_t Low, int64_t High);

// ---- integers and primes ----
// Product of the integers from min(a, b) to max(a, b): 0 when the smaller is 0,
// -2 when it is negative, -1 when the product exceeds the Int64 range.
ORV_API int64_t ProductConsecInts(int32_t a, int32_t b);
// n! for 0 <= n <= 1000. n < 0 raises "Factorial: negative argument"; n > 1000,
// or a result beyond the range of Extended, "Factorial: argument too big".
ORV_API Extended Factorial(int32_t n);
// True when no integer 2..sqrt(|n|) divides n (so 0, 1, -1 and the negatives
// of primes count as prime).
ORV_API bool IsPrime(int32_t n);
// The i-th prime, 1 <= i <= 4792 (2 ... 46337); 0 otherwise.
ORV_API int32_t ListOfPrimes(int32_t i);
// Prime factors of n in ascending order with multiplicity; empty for n < 2.
ORV_API TIntArray FindPrimeFactors(int32_t n);
// Numerator / Denominator reduced to lowest terms, signs kept; nothing happens
// when either magnitude is below 2.
ORV_API void CancelFraction(int32_t& Numerator, int32_t& Denominator);

// ---- bits and byte order ----
ORV_API bool CheckPowerOfTwo(uint32_t x);  // true also for 0
ORV_API uint8_t BitReversal(uint8_t b);
ORV_API int32_t CountBits(uint8_t b);
ORV_API uint8_t DecodeBit(int32_t n);    // 1 shl n for n in 0..7, else 0
ORV_API uint32_t DecodeLong(int32_t n);  // 1 shl n for n in 0..31, else 0
ORV_API int32_t EncodeLong(uint32_t x);  // index of the lowest 1 bit; 31 for 0
ORV_API uint16_t GrayCode(uint16_t w);
// The bytes of x in reverse order.
ORV_API double ConvertEndian(double x);
ORV_API float ConvertEndian(float x);
ORV_API uint16_t ConvertEndian(uint16_t x);
ORV_API int32_t ConvertEndian(int32_t x);


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

// Value in engineering notation with a prefix letter ("a" 10^-18 ... "T" 10^12).
// Digits (clamped into -9..9) gives the significant digits by its magnitude;
// when <= -2 the letter takes the place of the decimal point ("12k3").
ORV_API std::string EEngStr(double Value, int32_t Digits);
// " 0.dddd" (Digits clamped into 2..15 significant digits), "E", the exponent's
// sign and at least two exponent digits, padded on the left to Width (clamped
// into 8..40; never cut).
ORV_API std::string MakeEFormat(double Value, int32_t Width, int32_t Digits);
// Str(Value : Width : Decimals); Decimals = -2 gives the scientific form with a
// two-digit exponent in Width characters, all "*" when the exponent needs more.
ORV_API std::string strf(double Value, int32_t Width, int32_t Decimals);
// The IEEE bit pattern, most significant byte first, two upper-case digits a
// byte: 16 digits for double, 8 for single, 20 for the 80-bit extended.
ORV_API std::string FPNumToHex(double Value);
ORV_API std::string FPNumToHex(float Value);
// The number whose bit pattern Text spells in 16 (8, 20) hexadecimal digits of
// either case; any other text raises EORVError "HexToDouble: invalid hex string "
// followed by the text in double quotes (likewise HexToSingle, HexToExtended).
ORV_API double HexToDouble(const std::string& Text);
ORV_API float HexToSingle(const std::string& Text);
#if ORV_HAS_EXTENDED
ORV_API std::string FPNumToHex(long double Value);
ORV_API long double HexToExtended(const std::string& Text);
#endif
// Roman numeral of 1..29999 (thousands as repeated "M"); "" outside.
ORV_API std::string Roman(int32_t Value);
// The decimal integer Text spells (a sign and blanks around it allowed, as
// TryStrToInt takes it), or Default when it is empty, malformed or beyond the
// Integer range.
ORV_API int32_t StrToIntDefault(const std::string& Text, int32_t Default);
// Ticks of an axis from Low to High with about |NTick| intervals (NTick = 0:
// unit steps): Step is +-{1, 2, 5} x 10^k in the direction of the axis, First the
// first multiple of Step not more than a thousandth of a step short of Low, NMinor
// the minor intervals per step. Low = High (or a non-finite or unrepresentable
// range) gives First = Low, Step = 0, NMinor = 1. Computed in Extended; the
// double overload rounds the results.
ORV_API void CalcScalePars(int32_t NTick, double Low, double High, double& First, double& Step, uint16_t& NMinor);
#if ORV_HAS_EXTENDED
ORV_API void CalcScalePars(int32_t NTick, long double Low, long double High, long double& First, long double& Step,
                           uint16_t& NMinor);
#endif


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

// Angle of the vector (dx, dy) against the x axis in radians, in [0, 2 pi);
// (0, 0) gives 3 pi / 2.
ORV_API double AngleToXAxis(double dx, double dy);
// The angle reduced into [-pi, pi] (radians) or [-180, 180] (degrees).
ORV_API double CanonicalAngleRadians(double x);
ORV_API double CanonicalAngleDegrees(double x);
// Converts in place between decimal degrees (form 0), degrees and decimal
// minutes (1) and degrees, minutes and decimal seconds (2). The sign of the
// angle is carried by Deg, also as -0 for an angle between -1 and 0 degrees;
// Min and Sec are magnitudes in 0..60, else EORVMath1Error "ConvertDegrees:
// invalid range of minutes" (then "... of seconds") with the variables unchanged.
// Other pairs of forms change nothing.
ORV_API void ConvertDegrees(double& Deg, double& Min, double& Sec, TDegreeFormat FromFormat, TDegreeFormat ToFormat);
// The angle (decimal degrees) as text: "12.5°", "12° 30'", "12° 30' 45.0\"" or
// the plain number (forms 0 to 3; "" for other ordinals), Decimals (0..8) on the
// last part.
ORV_API std::string DegreeToStr(double Angle, TDegreeFormat Format, int32_t Decimals);
// Moves a whole-number angle onto the steps 1, 2, 3, 5, 10, 15, 20, 30, 60, 90,
// 180, 360 of its largest non-zero unit, downwards or upwards (RoundUp). Any
// negative part gives 0 0 0; minutes and seconds above 59 count as 59.
ORV_API void RoundDegrees(int32_t& Deg, int32_t& Min, int32_t& Sec, bool RoundUp);


}  // namespace orv
