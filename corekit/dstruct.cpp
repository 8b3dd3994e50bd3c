// Base unit Orv_dstruct: the bit field TBitFld and CRC-32.
#include "orvcorekit/Orv_dstruct.h"

#include <algorithm>
#include <array>
#include <bit>
#include <new>

#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// ---- TBitFld ---------------------------------------------------------------------

namespace {

constexpr size_t WordsFor(int32_t Size) { return static_cast<size_t>(Size) / 64 + 1; }

}  // namespace

TBitFld::TBitFld(TComponent* AOwner) : TComponent(AOwner), FWords(1, 0) {}

std::string TBitFld::ClassName() const { return "TBitFld"; }

void TBitFld::SetSize(int32_t S) {
  S = std::max(S, 0);
  GuardAllocation([&] { FWords.resize(WordsFor(S), 0); },
                  [S] { return EORVError("TBitFld: not enough memory for " + std::to_string(int64_t{S} + 1) + " bits"); });
  FSize = S;
  ClearPadding();
}

void TBitFld::ClearPadding() {
  const int Used = FSize % 64 + 1;  // members in the last word
  if (Used < 64) FWords.back() &= (uint64_t{1} << Used) - 1;
}

void TBitFld::Clear() { std::fill(FWords.begin(), FWords.end(), 0); }

void TBitFld::SetBit(int32_t Ix, bool Value) {
  if (Ix < 0 || Ix > FSize) return;
  const uint64_t Mask = uint64_t{1} << (Ix % 64);
  uint64_t& W = FWords[static_cast<size_t>(Ix) / 64];
  W = Value ? W | Mask : W & ~Mask;
}

bool TBitFld::GetBit(int32_t Ix) const {
  if (Ix < 0 || Ix > FSize) return false;
  return (FWords[static_cast<size_t>(Ix) / 64] >> (Ix % 64)) & 1u;
}

int32_t TBitFld::CountTrueBits() const {
  int64_t N = 0;
  for (uint64_t W : FWords) N += std::popcount(W);
  return SatInt32(N);
}

void TBitFld::Invert() {
  for (uint64_t& W : FWords) W = ~W;
  ClearPadding();
}

int32_t TBitFld::FirstTrueBit() const {
  for (size_t i = 0; i < FWords.size(); ++i)
    if (FWords[i] != 0) return static_cast<int32_t>(i * 64 + static_cast<size_t>(std::countr_zero(FWords[i])));
  return -1;
}

void TBitFld::Clone(const TBitFld* Source) {
  if (Source == nullptr || Source == this) return;
  FWords = Source->FWords;
  FSize = Source->FSize;
}

void TBitFld::CombineWith(const TBitFld* Other, TBitFldOp Op) {
  if (Other == nullptr || Op > bfoAndNot) return;
  const std::vector<uint64_t>& O = Other->FWords;  // may be ours: each word is read before it is written
  for (size_t i = 0; i < FWords.size(); ++i) {
    const uint64_t B = i < O.size() ? O[i] : 0;
    uint64_t& A = FWords[i];
    switch (Op) {
      case bfoAnd: A &= B; break;
      case bfoOr: A |= B; break;
      case bfoXor: A ^= B; break;
      case bfoAndNot: A &= ~B; break;
    }
  }
  ClearPadding();
}

// ---- CRC-32 ------------------------------------------------------------------------
// The reflected CRC-32 of ISO/IEC 3309 and ITU-T V.42 (polynomial 0x04C11DB7).

namespace {

constexpr std::array<uint32_t, 256> MakeCRC32Table() {
  std::array<uint32_t, 256> T{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    T[n] = c;
  }
  return T;
}

constexpr std::array<uint32_t, 256> CRC32Table = MakeCRC32Table();

}  // namespace

uint32_t CalcNextCRC32(uint8_t B, uint32_t Crc) { return CRC32Table[(Crc ^ B) & 0xFFu] ^ (Crc >> 8); }

}  // namespace orv
