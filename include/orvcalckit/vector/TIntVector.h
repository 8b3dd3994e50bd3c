// Unit ORV_vector: the integer vector component TIntVector. Included through
// ORV_vector.h.
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
// TIntVector: vector of 32-bit integers, elements numbered 1..NrOfElem (at least 1)
// ============================================================================
//
// The core and the computations of TVector with Integer elements; where a
// member is not described here it behaves as TVector's. Integer arithmetic
// wraps around on overflow (Sum, DotProduct, Correlate, Add, Subtract, SMult,
// AbsVal of -2147483648); lengths, distances, moments and order statistics
// are computed in double, so they are right for any element values.
class ORV_API TIntVector : public TComponent {
 public:
  // One element, 0, IsEmpty. EORVVectorError "not enough memory on heap"
  // when even that cannot be allocated.
  explicit TIntVector(TComponent* AOwner = nullptr);
  ~TIntVector() override;
  std::string ClassName() const override;

  // Copies size, IsEmpty, elements and both handlers of another TIntVector
  // (not the name) and fires nothing; other sources raise EConvertError.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;

  // ---- size ----
  int32_t NrOfElem() const { return FNElem; }
  void SetNrOfElem(int32_t NE) { SetIntVecSize(NE); }
  void SetIntVecSize(int32_t NE);  // Resize(NE) only when NE > 0 and NE differs
  // As TVector::Resize: new elements 0, OnChange, EORVVectorError "not
  // enough memory" (the vector then unchanged).
  bool Resize(int32_t NE);

  // ---- elements ----
  int32_t GetVal(int32_t Elem) const { return detail::InAxis(Elem, FNElem) ? FVec[detail::Ix1(Elem)] : 0; }
  void SetVal(int32_t Elem, int32_t Value) {
    if (!detail::InAxis(Elem, FNElem)) return;
    FVec[detail::Ix1(Elem)] = Value;
    FIsEmpty = false;
    if (OnChange) [[unlikely]]
      OnChange(this);
  }
  int32_t Elem(int32_t I) const { return GetVal(I); }
  void SetElem(int32_t I, int32_t Value) { SetVal(I, Value); }
  bool IsEmpty() const { return FIsEmpty; }
  void SetIsEmpty(bool Value) { FIsEmpty = Value; }

  // (0, 0) is 1..NrOfElem; other bounds are clamped into 1..NrOfElem and
  // exchanged when reversed.
  void MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const;

  // Euclidean norm sqrt(sum x^2), the squares formed and summed in double.
  // Read-only.
  double CalcVecLeng() const;
  double Leng() const { return CalcVecLeng(); }

  // ---- copying (as TVector) ----
  void Clone(const TIntVector* VecSource);
  void CopyFrom(const TIntVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi, int32_t DestElem);
  void CopyToArray(TIntArray& DestArray, int32_t LowElem, int32_t HighElem) const;
  void CopyFromArray(const TIntArray& SrcArray, int32_t Elem);  // from a copy when watched

  // ---- filling (each fires OnChange once) ----
  void Fill(int32_t Value);  // IsEmpty becomes false
  void Clear();              // every element 0; IsEmpty becomes true
  void AbsVal();             // IsEmpty untouched; -2147483648 stays

  // ---- inspection ----
  // Checksum of the elements: four CRC-32 registers, byte k of every element
  // (little-endian) into register k, printed as 32 hexadecimal digits.
  std::string CRCofData() const;
  bool IsDichotomous(int32_t& V1, int32_t& V2) const;

  // ---- products, correlation, distance ----
  // Sum of x(i) y(i) in Integer arithmetic; 0 for nullptr; EORVVectorError
  // "vectors have different dimensions" when the sizes differ.
  int32_t DotProduct(const TIntVector* OtherVec) const;
  // Sum of x(i) y(i + ElemShift) for i = 1..N, y read as 0 outside its
  // elements, in Integer arithmetic (note the shift runs the other way than
  // TVector::Correlate's); 0 for nullptr.
  int32_t Correlate(const TIntVector* OtherVec, int32_t ElemShift) const;
  double PearsonCorrCoeff(const TIntVector* OtherVec) const;  // as TVector's, in double
  // sqrt(sum (x - y)^2) in double; 0.0 for nullptr; EORVVectorError
  // "EuclideanDistance: dimensions of vectors do not match" when the sizes differ.
  double EuclideanDistance(const TIntVector* OtherVec) const;

  // ---- arithmetic (Integer, then OnChange) ----
  void Add(const TIntVector* OtherVec);
  void Subtract(const TIntVector* OtherVec);
  void SMult(int32_t Scalar);

  // ---- searching and extremes ----
  // The first element of the range with the smallest |x - Value|.
  int32_t Find(int32_t LowElem, int32_t HighElem, int32_t Value) const;
  // The first element of the range equal to Value; 0 when there is none.
  int32_t FindExact(int32_t LowElem, int32_t HighElem, int32_t Value) const;
  int32_t FindInSortedVector(bool Ascending, int32_t Value) const;
  // The smallest and largest element of the range with their first indices.
  void MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum) const;
  void MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum, int32_t& MinIx,
              int32_t& MaxIx) const;

  // ---- order (as TVector) ----
  void SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast);
  void Mirror();
  void ShuffleElems();

  // ---- statistics (as TVector, in double) ----
  int32_t Sum(int32_t LowElem, int32_t HighElem) const;  // Integer arithmetic
  int32_t Mode(int32_t LowElem, int32_t HighElem) const;
  bool Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const;
  double Percentile(double Prob, int32_t LowElem, int32_t HighElem) const;
  void MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const;
  double GeometricMean(int32_t LowElem, int32_t HighElem) const;
  double HarmonicMean(int32_t LowElem, int32_t HighElem) const;
  void SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  void SkewKurtIntern(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis,
                      int32_t& NumData) const;
  void SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;

  // ---- frequency distribution ----
  // As TVector::Histogram with integer bins: a BinWidth <= 0 counts as 1;
  // |LastBin - FirstBin| div BinWidth + 1 bins; a value below FirstBin is
  // Underflow; else, below LastBin + BinWidth, it counts in bin (v - FirstBin)
  // div BinWidth + 1, unless that lies past the last bin: Overflow, as larger
  // values are (all in 64 bits: no bound wraps). More than 500 bins raise
  // EORVVectorError with the message Component "<Name>.Histogram": invalid
  // number of bins. False, with nothing changed, when Histo is nullptr or more
  // elements than an Integer counts are asked for. Histo may be this vector:
  // the values it held are counted.
  bool Histogram(int32_t FirstElem, int32_t LastElem, int32_t FirstBin, int32_t LastBin, int32_t BinWidth,
                 TIntVector* Histo, int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt);

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
  // Binary form: Low, High, then elements Low..High, each number written as a Longint (4 bytes).
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
  // The ASC file: comment (or "Exported by ORV TIntVector component: " and FName),
  // "1\t;nr. of columns", "N\t;nr. of rows", the flag line, one value a line
  // (in decimal), CR LF. -1 when the file cannot be created; later write errors
  // raise EInOutError (the file closed).
  int32_t ExportAsASC(const std::string& FName, const std::string& Comment) const;
  // Reads an ASC file of one column: 0; -8 no file; -7 more than one
  // column; the code of ReadHeaderOfASC (ascBadCounts also for no rows),
  // the vector untouched; -5 an unreadable row attribute, -6 an unreadable
  // value: the vector is cut to the bad element (which keeps its value).
  // "NAN" and "###" read as 0.
  int32_t ImportASC(const std::string& FName, std::string& Comment);
  // The plain text file: "First Last", then one value a line in decimal.
  // Reversed bounds are exchanged, First below 1 taken as 1, Last above N
  // as N, so 0, 0 writes "1 0" alone.
  // False when the file cannot be created or a write fails.
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, const std::string& FileName) const;
  // Reads "Low High" and then one number for each element Low..High (one
  // that cannot be read is skipped, its element kept); with AdjustVectorSize
  // the vector first takes High elements. False when the file cannot be
  // read, its range line is unreadable, the rest of the file is too short
  // for the range (a value and a separator each) or High is beyond what this
  // word size can address (nothing changed then), or the vector is shorter
  // than High. OnChange at the end.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);

 private:
  template <class>
  friend struct detail::TVectorOps;
  template <class>
  friend struct detail::TStorageStamp;
  using TError = EORVVectorError;

  int32_t FNElem = 1;
  TIntArray FVec;
  bool FIsEmpty = true;
};

}  // namespace orv
