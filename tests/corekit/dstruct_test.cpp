// Bit field and CRC-32.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "orvcorekit/Orv_dstruct.h"

namespace {

uint32_t CRC32Of(const std::string& S) {
  uint32_t R = 0xFFFFFFFFu;
  for (unsigned char c : S) R = orv::CalcNextCRC32(c, R);
  return R ^ 0xFFFFFFFFu;
}

// Check values of the standard CRC-32 (zlib.crc32 / binascii.crc32 give the same).
TEST(CRC32, MatchesTheStandardCheckValues) {
  EXPECT_EQ(CRC32Of("123456789"), 0xCBF43926u);
  EXPECT_EQ(CRC32Of(""), 0x00000000u);
  EXPECT_EQ(CRC32Of("a"), 0xE8B7BE43u);
  EXPECT_EQ(CRC32Of("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
  EXPECT_EQ(CRC32Of(std::string(32, '\0')), 0x190A55ADu);
  EXPECT_EQ(CRC32Of(std::string(32, '\xFF')), 0xFF6CAB0Bu);
  // One step of the bitwise definition from the all-ones register with byte 0.
  EXPECT_EQ(orv::CalcNextCRC32(0, 0xFFFFFFFFu), 0x2DFD1072u);
}

}  // namespace
