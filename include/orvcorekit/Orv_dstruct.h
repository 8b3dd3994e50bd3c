// Base unit Orv_dstruct: the bit field TBitFld and CRC-32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Orv_classes.h"
#include "Orv_export.h"

namespace orv {

// How CombineWith merges another field into this one, bit by bit.
enum TBitFldOp : uint8_t {
  bfoAnd = 0,     // this and other
  bfoOr = 1,      // this or other
  bfoXor = 2,     // this xor other
  bfoAndNot = 3   // this and not other: the other's members removed
};

// A field of Booleans numbered from 0. SetSize(S) makes the members 0..S
// usable (S + 1 of them); a new field has the one member 0. Members keep their
// value across SetSize where both sizes have them; new members are false.
// Outside 0..Size, SetBit does nothing and GetBit gives false.
class ORVCORE_API TBitFld : public TComponent {
 public:
  explicit TBitFld(TComponent* AOwner = nullptr);
  std::string ClassName() const override;

  int32_t Size() const { return FSize; }
  // A negative S counts as 0. Raises EORVError when the memory is not there.
  void SetSize(int32_t S);
  void Clear();  // every member false
  void SetBit(int32_t Ix, bool Value);
  bool GetBit(int32_t Ix) const;
  // The number of true members; INT32_MAX when all 2^31 of the largest field are.
  int32_t CountTrueBits() const;
  void Invert();  // every member of 0..Size flipped
  // The lowest member that is true; -1 when none is.
  int32_t FirstTrueBit() const;
  // Size and members of Source; nothing happens when Source is nil.
  void Clone(const TBitFld* Source);
  // Merges Other into this field over this field's members 0..Size, whose
  // size stays; members beyond Other's size count as false there. Nothing
  // happens when Other is nil or Op is none of the named operations.
  void CombineWith(const TBitFld* Other, TBitFldOp Op);

 private:
  void ClearPadding();
  int32_t FSize = 0;
  std::vector<uint64_t> FWords;  // bits beyond FSize are kept 0
};

// The CRC-32 register Crc advanced by one byte B: the standard reflected
// CRC-32 (polynomial 0xEDB88320, as in zlib, PNG and Ethernet). The caller
// starts the register at 0xFFFFFFFF and complements it at the end, so the
// result equals any standard CRC-32 of the same bytes.
ORVCORE_API uint32_t CalcNextCRC32(uint8_t B, uint32_t Crc);

}  // namespace orv
