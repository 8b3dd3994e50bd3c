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

  // ---- events ----
  void Changed() {
    if (OnChange) OnChange(this);
  }
  void SortExchange(uint8_t Kind, int32_t I1, int32_t I2, int32_t I3, int32_t I4) {
    if (OnSortExchange) OnSortExchange(this, Kind, I1, I2, I3, I4);
  }

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;

 private:
  template <class>
  friend struct detail::TVectorOps;
  using TError = EORVVectorError;

  int32_t FNElem = 1;
  bool FIsEmpty = true;
  TDoubleArray FVec;
};

}  // namespace orv
