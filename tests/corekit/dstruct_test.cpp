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

using orv::TBitFld;

std::string Bits(const TBitFld& F) {
  std::string S;
  for (int32_t i = 0; i <= F.Size(); ++i) S += F.GetBit(i) ? '1' : '0';
  return S;
}

TBitFld& Fill(TBitFld& F, const std::string& S) {
  F.SetSize(static_cast<int32_t>(S.size()) - 1);
  for (int32_t i = 0; i <= F.Size(); ++i) F.SetBit(i, S[static_cast<size_t>(i)] == '1');
  return F;
}

TEST(BitField, SizeSMakesMembersZeroToSUsable) {
  TBitFld F;
  EXPECT_EQ(F.Size(), 0);  // a new field has member 0 only
  EXPECT_EQ(Bits(F), "0");
  F.SetSize(129);          // across two word boundaries
  F.SetBit(0, true);
  F.SetBit(63, true);
  F.SetBit(64, true);
  F.SetBit(129, true);
  F.SetBit(130, true);     // outside: ignored
  F.SetBit(-1, true);
  EXPECT_FALSE(F.GetBit(130));
  EXPECT_FALSE(F.GetBit(-1));
  EXPECT_EQ(F.CountTrueBits(), 4);
  EXPECT_TRUE(F.GetBit(129));
  F.SetBit(63, false);
  EXPECT_FALSE(F.GetBit(63));
  // Shrinking drops the members beyond; growing again brings them back false.
  F.SetSize(64);
  EXPECT_EQ(F.CountTrueBits(), 2);
  F.SetSize(200);
  EXPECT_FALSE(F.GetBit(129));
  EXPECT_EQ(F.CountTrueBits(), 2);
  F.SetSize(-5);
  EXPECT_EQ(F.Size(), 0);
  EXPECT_EQ(Bits(F), "1");
  F.Clear();
  EXPECT_EQ(F.CountTrueBits(), 0);
  // The largest field, 2^31 members (256 MiB): its full count saturates, never turns negative.
  F.SetSize(INT32_MAX);
  F.Invert();
  EXPECT_EQ(F.CountTrueBits(), INT32_MAX);
}

TEST(BitField, InvertTouchesOnlyTheMembers) {
  TBitFld F;
  for (int32_t S : {0, 62, 63, 64, 100}) {
    F.SetSize(S);
    F.Clear();
    F.SetBit(1, true);
    F.Invert();
    EXPECT_EQ(F.CountTrueBits(), S == 0 ? 1 : S) << S;  // S + 1 members, one was set
    F.SetSize(S + 70);  // no member beyond S may have been switched on
    EXPECT_EQ(F.CountTrueBits(), S == 0 ? 1 : S) << S;
  }
}

TEST(BitField, FirstTrueBitIsMinusOneWhenNoneIsSet) {
  TBitFld F;
  F.SetSize(300);
  EXPECT_EQ(F.FirstTrueBit(), -1);
  F.SetBit(0, true);
  EXPECT_EQ(F.FirstTrueBit(), 0);
  F.SetBit(0, false);
  F.SetBit(300, true);
  F.SetBit(190, true);
  EXPECT_EQ(F.FirstTrueBit(), 190);
}

TEST(BitField, CloneCopiesSizeAndMembers) {
  TBitFld A, B;
  Fill(A, "0110010001");
  B.SetSize(500);
  B.SetBit(400, true);
  B.Clone(&A);
  EXPECT_EQ(Bits(B), "0110010001");
  B.Clone(nullptr);
  B.Clone(&B);
  EXPECT_EQ(Bits(B), "0110010001");
}

TEST(BitField, CombineWithKeepsTheSizeAndReadsMissingMembersAsFalse) {
  auto Combine = [](const std::string& X, const std::string& Y, orv::TBitFldOp Op) {
    TBitFld A, B;
    Fill(A, X).CombineWith(&Fill(B, Y), Op);
    return Bits(A);
  };
  EXPECT_EQ(Combine("001111", "0101", orv::bfoAnd), "000100");
  EXPECT_EQ(Combine("001111", "0101", orv::bfoOr), "011111");
  EXPECT_EQ(Combine("001111", "0101", orv::bfoXor), "011011");
  EXPECT_EQ(Combine("001111", "0101", orv::bfoAndNot), "001011");
  // A longer other field does not leak members beyond this field's size.
  TBitFld A, B;
  Fill(A, "0000");
  B.SetSize(140);
  B.Invert();
  A.CombineWith(&B, orv::bfoOr);
  EXPECT_EQ(Bits(A), "1111");
  A.SetSize(140);
  EXPECT_EQ(A.CountTrueBits(), 4);
  // Combining a field with itself; a nil field or an unknown operation changes nothing.
  Fill(A, "0110");
  A.CombineWith(&A, orv::bfoXor);
  EXPECT_EQ(Bits(A), "0000");
  Fill(A, "0110");
  A.CombineWith(nullptr, orv::bfoAnd);
  A.CombineWith(&B, static_cast<orv::TBitFldOp>(9));
  EXPECT_EQ(Bits(A), "0110");
}

}  // namespace
