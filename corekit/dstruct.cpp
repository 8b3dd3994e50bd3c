// Base unit Orv_dstruct: the bit field TBitFld and CRC-32.
#include "orvcorekit/Orv_dstruct.h"

#include <array>

namespace orv {

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
