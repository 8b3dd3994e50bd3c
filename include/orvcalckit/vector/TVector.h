// Unit ORV_vector: the vector component TVector. Included through ORV_vector.h.
#pragma once

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/vector/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

class TStream;
class TMemoryStream;
class TFileStream;

// ============================================================================
// TVector: vector of doubles, elements numbered 1..NrOfElem (at least 1)
// ============================================================================
//
// Reading outside 1..NrOfElem gives 0.0, writing there is ignored. OnChange
// fires after every change (element writes per element); OnSortExchange
// reports the exchanges of a sort with the kind byte 0. IsEmpty marks a vector
// that no element write has touched since creation or Clear.
class ORV_API TVector : public TComponent {
 public:
  // One element, 0.0, IsEmpty. EORVVectorError "not enough memory on heap"
  // when even that cannot be allocated.
  explicit TVector(TComponent* AOwner = nullptr);
  ~TVector() override;
  std::string ClassName() const override;

  // Copies size, IsEmpty, elements and both handlers of another TVector (not
  // the name) and fires nothing; other sources raise EConvertError.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;

  // ---- size ----
  int32_t NrOfElem() const { return FNElem; }
  void SetNrOfElem(int32_t NE) { SetVecSize(NE); }
  void SetVecSize(int32_t NE);  // Resize(NE) only when NE > 0 and NE differs
  // NE = N: true, nothing changes; NE <= 0: false, nothing changes; else the
  // vector takes NE elements (kept as far as they reach, new ones 0.0), fires
  // OnChange and returns true. EORVVectorError "not enough memory" when the
  // storage cannot be obtained (the vector is then unchanged).
  bool Resize(int32_t NE);

  // ---- elements ----
  double GetVal(int32_t Elem) const { return detail::InAxis(Elem, FNElem) ? FVec[detail::Ix1(Elem)] : 0.0; }
  void SetVal(int32_t Elem, double Value) {
    if (!detail::InAxis(Elem, FNElem)) return;
    FVec[detail::Ix1(Elem)] = Value;
    FIsEmpty = false;
    if (OnChange) [[unlikely]]
      OnChange(this);
  }
  double Elem(int32_t I) const { return GetVal(I); }
  void SetElem(int32_t I, double Value) { SetVal(I, Value); }
  bool IsEmpty() const { return FIsEmpty; }
  void SetIsEmpty(bool Value) { FIsEmpty = Value; }

  // (0, 0) is 1..NrOfElem; other bounds are clamped into 1..NrOfElem and
  // exchanged when reversed.
  void MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const;

  // ---- length ----
  // Euclidean norm sqrt(sum x^2), summed in element order; where the plain sum
  // of squares overflows or underflows the norm is computed with scaling.
  double CalcVecLeng() const;
  // Scales the vector to the norm Value and fires OnChange; nothing happens
  // when the norm is 0 or not finite.
  void SetVecLeng(double Value);
  double Leng() const { return CalcVecLeng(); }
  void SetLeng(double Value) { SetVecLeng(Value); }

  // ---- copying ----
  // Size and elements of VecSource through SetVal (OnChange per element, once
  // in Resize when the size changes, once at the end). nullptr: nothing.
  void Clone(const TVector* VecSource);
  // Source elements SourceElemLo..SourceElemHi (each clamped into the source,
  // exchanged when reversed) to DestElem, DestElem + 1, ... through SetVal;
  // positions outside this vector are dropped; OnChange once more at the end.
  // The source may be this vector, also overlapping: the stretch is copied as
  // it was before the first write.
  void CopyFrom(const TVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi, int32_t DestElem);
  // DestArray := elements LowElem..HighElem (range rule), DestArray[0] being LowElem.
  void CopyToArray(TDoubleArray& DestArray, int32_t LowElem, int32_t HighElem) const;
  // Element Elem + k := SrcArray[k] through SetVal; positions outside dropped.
  // With an OnChange handler the values come from a copy of SrcArray taken
  // first, so a handler that changes SrcArray changes nothing written.
  void CopyFromArray(const TDoubleArray& SrcArray, int32_t Elem);

  // ---- filling (each fires OnChange once) ----
  void Fill(double Value);  // IsEmpty becomes false
  void Clear();             // every element 0.0; IsEmpty becomes true
  void AbsVal();            // IsEmpty untouched
  // RangeLow + Random() * (RangeHigh - RangeLow) per element, in order.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  // GRandom() * StdDev + Mean per element, in order.
  void FillRandomGauss(double Mean, double StdDev);

  // ---- inspection ----
  // Checksum of the elements: eight CRC-32 registers, byte k of every element
  // (little-endian) into register k, printed as 64 hexadecimal digits.
  std::string CRCofData() const;
  // True when the vector holds at most two distinct values (a constant vector
  // too, with v1 = v2): v1 is element 1, v2 the first element that differs
  // from it. Fewer than two elements: false with v1 = v2 = 0.
  bool IsDichotomous(double& V1, double& V2) const;

  // ==== computations ======================================================
  // Ranges (LowElem, HighElem) follow MakeValidElemRange: (0, 0) is the whole
  // vector. None of these fires an event unless it says so. Mode, Quartiles,
  // Percentile (and QNormalize through it) order a copy of the range with
  // SortArray, so ProcStat grows by that sort's passes; a copy that cannot be
  // allocated raises EORVVectorError "not enough memory on heap".

  // ---- integration ----
  // The integral of the samples taken at the abscissae 1..N, from BoundLow to
  // BoundHigh (each clamped into 1..N, exchanged when reversed). Between
  // samples the function is the straight line through them, and the stretches
  // from a bound to the nearest sample inside are trapezoids. imSimple: the
  // mean of the samples inside times the width (of the two enclosing samples
  // when none lies inside); imTrapezoidal: trapezoids; imSimpson over h
  // samples inside: h = 3 Simpson's rule, h = 4 Simpson's 3/8 rule, h = 5
  // Boole's rule, h >= 6 the extended rule of weights 3/8, 7/6, 23/24, 1, ...,
  // 1, 23/24, 7/6, 3/8; fewer samples as imTrapezoidal. A NaN bound gives NaN,
  // another method ordinal 0.0.
  double Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const;

  // ---- products, correlation, distance ----
  // Pearson's correlation coefficient, in [-1, 1]; 0.0 when OtherVec is
  // nullptr, the sizes differ, N < 2 or either vector is constant. The sums
  // run over the values less each vector's first element (exactly the same
  // coefficient, without the cancellation that data far from 0 suffer); NaN
  // where one of them overflows the double range.
  double PearsonCorrCoeff(const TVector* OtherVec) const;
  // Sum of x(i) y(i - ElemShift) over the i where both exist, in increasing i;
  // 0.0 for nullptr or fewer than two such pairs.
  double Correlate(const TVector* OtherVec, int32_t ElemShift) const;
  // Sum of x(i) y(i); 0.0 for nullptr; EORVVectorError "vectors have
  // different dimensions" when the sizes differ.
  double DotProduct(const TVector* OtherVec) const;
  // sqrt(sum (x(i) - y(i))^2); 0.0 for nullptr; EORVVectorError
  // "EuclideanDistance: dimensions of vectors do not match" (no component
  // name) when the sizes differ.
  double EuclideanDistance(const TVector* OtherVec) const;

  // ---- searching and extremes ----
  // Binary search in a vector sorted ascending or descending: an exact hit at
  // a probe gives its index; else the nearer of the two bracketing elements,
  // the higher index on a tie.
  int32_t FindInSortedVector(bool Ascending, double Value) const;
  // The first element of the range nearest to Value; 0 when no distance is
  // below the largest double (NaN or infinite distances only).
  int32_t Find(int32_t LowElem, int32_t HighElem, double Value) const;
  // The smallest and largest number of the range and their first indices. A
  // range without a number (all NaN) gives 1.7e308, -1.7e308 and indices 0.
  void MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum) const;
  void MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum, int32_t& MinIx,
              int32_t& MaxIx) const;

  // ---- arithmetic ----
  // x(i) := x(i) +- y(i), then OnChange; nullptr: nothing; EORVVectorError
  // "vectors have different dimensions" when the sizes differ.
  void Add(const TVector* OtherVec);
  void Subtract(const TVector* OtherVec);
  void SMult(double Scalar);  // x(i) := x(i) * Scalar, then OnChange

  // ---- normalising (no OnChange) ----
  // Mean and standard deviation of the whole vector by MeanVar (so StdDev 1
  // for fewer than three elements); then x := (x - Mean) / StdDev, unless
  // StdDev is not above 0 or Mean or StdDev is not finite (a NaN or infinite
  // element would turn every element into NaN): the vector then stays.
  void Standardize(double& Mean, double& StdDev);
  // x := x - mean over the whole vector; returns the mean. A mean that is not
  // finite leaves the vector as it is.
  double MeanCenter();
  // Median := Percentile(50), QuantDiff := |Median - Percentile(RefQuant)|
  // over the whole vector (two sorts); x := (x - Median) / QuantDiff unless
  // QuantDiff is not above 0 or not finite, or MathFeedBackProc resized the
  // vector during the sorts (the percentiles then describe two vectors).
  void QNormalize(double RefQuant, double& Median, double& QuantDiff);

  // ---- order ----
  // Comb sort of RangeFirst..RangeLast (range rule; fewer than two elements:
  // nothing, no event) from the gap RangeLast - RangeFirst, NaN last in both
  // directions. Each exchange fires OnSortExchange(Self, 0, i, i + gap, 0, 0);
  // OnChange fires once at the end. A handler that resizes the vector ends
  // the sort. No progress report.
  void SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast);
  void Mirror();  // reverses the elements, then OnChange
  // Reseeds the platform generator from the clock (Randomize), then N times
  // exchanges two elements drawn uniformly (possibly the same). No OnChange.
  void ShuffleElems();

  // ---- order statistics ----
  // The value of the first longest run of equal values in the sorted range
  // (the smallest value when all differ).
  double Mode(int32_t LowElem, int32_t HighElem) const;
  // The quartiles of the range at the positions (n + 1) p, p = 1/4, 1/2, 3/4,
  // of the sorted values, interpolated, the first or last value where the
  // position lies outside (numpy.percentile method 'weibull'); one value:
  // itself three times. True.
  bool Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const;
  // The Prob percentile (Prob clamped into 0..100) of the range, interpolated
  // at the position Prob (n - 1) / 100 of the sorted values (numpy.percentile
  // method 'linear'). A NaN Prob gives NaN.
  double Percentile(double Prob, int32_t LowElem, int32_t HighElem) const;

  // ---- frequency distribution ----
  // Counts elements FirstElem..LastElem (taken as given: LastElem < FirstElem
  // counts nothing, indices outside 1..N read 0) into Histo, which gets
  // Round(|LastBin - FirstBin| / BinWidth) + 1 bins (resized when its size
  // differs, cleared). A value below FirstBin is Underflow; else, below
  // LastBin + BinWidth, it raises the count of bin Floor((v - FirstBin) /
  // BinWidth) + 1 through Histo's SetVal, and MaxCnt follows the largest
  // count; a value whose bin lies past the last one, a larger value and NaN
  // are Overflow. Underflow + Overflow + the counts = the elements read.
  // False, with nothing changed, when Histo is nullptr, BinWidth is not above
  // 0, a bin parameter is not finite, more than 500 bins would be needed, or
  // more elements than an Integer counts are asked for.
  bool Histogram(int32_t FirstElem, int32_t LastElem, double FirstBin, double LastBin, double BinWidth,
                 TIntVector* Histo, int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt) const;

  // ---- moments ----
  // Mean := sum / n; Variance := 1.0 for fewer than three values (the
  // defined value, not an estimate), else the sample variance (sum d^2 -
  // (sum d)^2 / n) / (n - 1) over d = x - x(LowElem), 0.0 where rounding makes
  // it negative. One pass.
  void MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const;
  // exp(sum ln x / n); 0.0 when an element is 0. EORVVectorError "negative
  // argument passed to GeometricMean" when an element is negative (all are
  // scanned, so also behind a zero).
  double GeometricMean(int32_t LowElem, int32_t HighElem) const;
  // n / sum (1 / x); EORVVectorError "negative or zero argument passed to
  // HarmonicMean" when an element is <= 0.
  double HarmonicMean(int32_t LowElem, int32_t HighElem) const;
  double Sum(int32_t LowElem, int32_t HighElem) const;  // from 0.0 in element order
  // With m the mean, d = x - m and s = sqrt((sum d^2 - (sum d)^2 / n) / (n - 1)):
  // Skewness := sum d^3 / n / s^3, Kurtosis := sum d^4 / n / s^4 - 3 (excess).
  // Both 0.0 for fewer than 4 values or s = 0.
  void SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  // SkewKurt, and the number of values in NumData.
  void SkewKurtIntern(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis,
                      int32_t& NumData) const;
  // SkewKurt with the bias correction of the sample statistics:
  // Kurtosis := (K + 3) n^2 (n + 1) / ((n - 1)(n - 2)(n - 3)) - 3 (n - 1)^2 / ((n - 2)(n - 3)),
  // Skewness := S n^2 / ((n - 1)(n - 2)) (scipy.stats kurtosis and skew with
  // bias=False). Both 0.0 for fewer than 4 values or s = 0.
  void SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;

  // ---- events ----
  void Changed() {
    if (OnChange) OnChange(this);
  }
  void SortExchange(uint8_t Kind, int32_t I1, int32_t I2, int32_t I3, int32_t I4) {
    if (OnSortExchange) OnSortExchange(this, Kind, I1, I2, I3, I4);
  }

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;

  // ---- streams and files ----
  // Binary form: Low, High, then elements Low..High, each number written as an extended number (10 bytes).
  // The range (LowElem, HighElem) is made valid first. A nil memory stream is
  // replaced by a new one that the caller owns; a nil file stream writes
  // nothing. Stream failures raise EInOutError.
  void SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const;
  void SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const;
  // Reads the binary form; with AdjustVectorSize the vector first takes High
  // elements (a range away from element 1 loads into a fresh vector). False
  // for a nil stream, an unreadable range, a range whose values the rest of
  // the stream cannot hold or a High beyond what this word size can address
  // (nothing changed then), or a vector shorter than High. Values go through
  // SetVal; OnChange once more at the end.
  bool LoadFromStream(TStream* InStream, bool AdjustVectorSize);
  // The ASC file: comment (or "Exported by ORV TVector component: " and FName),
  // "1\t;nr. of columns", "N\t;nr. of rows", the flag line, one value a line
  // (strff(value, 12, Precision)), CR LF. -1 when the file cannot be created; later write errors
  // raise EInOutError (the file closed).
  int32_t ExportAsASC(const std::string& FName, int32_t Precision, const std::string& Comment) const;
  // Reads an ASC file of one column: 0; -8 no file; -7 more than one
  // column; the code of ReadHeaderOfASC (ascBadCounts also for no rows),
  // the vector untouched; -5 an unreadable row attribute, -6 an unreadable
  // value: the vector is cut to the bad element (which keeps its value).
  // "NAN" and "###" read as 0.
  int32_t ImportASC(const std::string& FName, std::string& Comment);
  // The plain text file: "First Last", then one value a line: Str(value :
  // w : Precision), Precision below -2 taken as 2, above 20 as 20; w 1, or
  // 13 and 26 for the scientific forms -1 and -2. The range is made valid.
  // False when the file cannot be created or a write fails.
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, int32_t Precision, const std::string& FileName) const;
  // Reads "Low High" and then one number for each element Low..High (one
  // that cannot be read is skipped, its element kept); with AdjustVectorSize
  // the vector first takes High elements. False when the file cannot be
  // read, its range line is unreadable, the rest of the file is too short
  // for the range (a value and a separator each) or High is beyond what this
  // word size can address (nothing changed then), or the vector is shorter
  // than High. OnChange at the end.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);
  // AutoDetect: a file without the range line; its values are the lines
  // holding a digit (StringContains "//dig"), whose count the vector takes
  // with AdjustVectorSize; then one number is read for each element.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect);

 private:
  template <class>
  friend struct detail::TVectorOps;
  template <class>
  friend struct detail::TStorageStamp;
  using TError = EORVVectorError;

  int32_t FNElem = 1;
  bool FIsEmpty = true;
  TDoubleArray FVec;
};

}  // namespace orv
