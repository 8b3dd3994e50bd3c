// Streams, numbers on streams, the mixed binary file and text files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "orvcorekit/Orv_filesys.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/tempfiles.h"

namespace {

using orv::EInOutError;
using orv::TFileStream;
using orv::TMemoryStream;
using orv::TMixedFStream;
using orv::TTextFile;
using Bytes = std::vector<uint8_t>;

Bytes Contents(TMemoryStream& M) { return Bytes(M.Memory(), M.Memory() + M.Size()); }

TEST(MemoryStream, ReadWriteSeekFollowThePosition) {
  TMemoryStream M;
  M.WriteBuffer("abcdef", 6);
  EXPECT_EQ(M.Position(), 6);
  EXPECT_EQ(M.Seek(-2, orv::soEnd), 4);
  char Buf[8] = {};
  EXPECT_EQ(M.Read(Buf, 8), 2);  // only what is there
  EXPECT_EQ(std::string(Buf, 2), "ef");
  EXPECT_EQ(M.Read(Buf, 8), 0);
  // A write beyond the end fills the gap with zeros.
  M.SetPosition(8);
  M.WriteBuffer("x", 1);
  EXPECT_EQ(Contents(M), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 0, 0, 'x'}));
  M.SetSize(3);
  EXPECT_EQ(M.Position(), 9);  // the position stays
  EXPECT_EQ(M.Read(Buf, 1), 0);
  M.SetPosition(1);
  EXPECT_THROW(M.ReadBuffer(Buf, 3), EInOutError);  // two bytes left
  EXPECT_THROW(M.Seek(-1, orv::soBeginning), EInOutError);
  EXPECT_THROW(M.Seek(std::numeric_limits<int64_t>::max(), orv::soCurrent), EInOutError);
  EXPECT_THROW(M.SetSize(-1), EInOutError);
  EXPECT_EQ(M.Read(Buf, -5), 0);
  M.Clear();
  EXPECT_EQ(M.Size(), 0);
  EXPECT_EQ(M.Position(), 0);
}

TEST(MemoryStream, GrowingBeyondMemoryRaisesInOutError) {
  TMemoryStream M;
#ifndef __SANITIZE_ADDRESS__  // its allocator aborts on such requests instead of throwing
  M.SetPosition(std::numeric_limits<int64_t>::max() / 2);
  EXPECT_THROW(M.WriteBuffer("x", 1), EInOutError);
  EXPECT_THROW(M.SetSize(std::numeric_limits<int64_t>::max()), EInOutError);
#endif
  M.SetPosition(std::numeric_limits<int64_t>::max());
  EXPECT_THROW(M.WriteBuffer("x", 1), EInOutError);
  EXPECT_EQ(M.Size(), 0);
}

// The buffered file stream must behave exactly like the memory stream under
// any mix of reads, writes, seeks and resizes.
TEST(FileStream, BehavesLikeTheMemoryStreamUnderRandomOperations) {
  orv::test::TempDir Dir;
  std::mt19937 Rng(12345);
  TFileStream F(Dir.File("random.bin"), orv::fmCreate);
  TMemoryStream M;
  std::vector<uint8_t> Data(200000), A(200000), B(200000);
  for (auto& X : Data) X = static_cast<uint8_t>(Rng());
  for (int Step = 0; Step < 3000; ++Step) {
    const int Op = static_cast<int>(Rng() % 10);
    const int64_t Len = Rng() % 8 == 0 ? Rng() % 150000 : Rng() % 300;  // some beyond the buffer
    const int64_t Off = static_cast<int64_t>(Rng() % 120000);
    if (Op < 4) {
      ASSERT_EQ(F.Write(Data.data(), Len), M.Write(Data.data(), Len));
    } else if (Op < 7) {
      const int64_t NF = F.Read(A.data(), Len), NM = M.Read(B.data(), Len);
      ASSERT_EQ(NF, NM) << Step;
      ASSERT_EQ(0, std::memcmp(A.data(), B.data(), static_cast<size_t>(NF))) << Step;
    } else if (Op < 9) {
      ASSERT_EQ(F.Seek(Off, orv::soBeginning), M.Seek(Off, orv::soBeginning));
    } else if (Rng() % 4 == 0) {
      F.SetSize(Off);
      M.SetSize(Off);
    }
    ASSERT_EQ(F.Size(), M.Size()) << Step;
    ASSERT_EQ(F.Position(), M.Position()) << Step;
  }
  F.Flush();
  std::ifstream In(Dir.File("random.bin"), std::ios::binary);
  const Bytes OnDisk((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  EXPECT_EQ(OnDisk, Contents(M));
}

TEST(FileStream, OpeningFailuresRaiseWithTheSystemCode) {
  orv::test::TempDir Dir;
  try {
    TFileStream F(Dir.File("missing.bin"), orv::fmOpenRead);
    FAIL();
  } catch (const EInOutError& E) {
    EXPECT_EQ(E.ErrorCode, ENOENT);
    EXPECT_NE(std::string(E.what()).find("Cannot open file \"" + Dir.File("missing.bin") + "\""), std::string::npos);
  }
  try {
    TFileStream F(Dir.Path(), orv::fmOpenRead);
    FAIL();
  } catch (const EInOutError& E) {
    EXPECT_EQ(E.ErrorCode, EISDIR);
  }
  EXPECT_THROW(TFileStream(Dir.File("no/such/dir.bin"), orv::fmCreate), EInOutError);
  EXPECT_THROW(TFileStream(Dir.File("x.bin"), 3), EInOutError);
  {
    TFileStream W(Dir.File("x.bin"), orv::fmCreate);
    W.WriteBuffer("abc", 3);
  }  // the destructor writes the buffer
  TFileStream R(Dir.File("x.bin"), orv::fmOpenRead);
  EXPECT_EQ(R.Size(), 3);
  R.Write("z", 1);  // buffered: the failure shows on Flush
  EXPECT_THROW(R.Flush(), EInOutError);
  R.Flush();  // reported once
}

TEST(FileStream, DiskFullIsReportedByFlush) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TFileStream F("/dev/full", orv::fmOpenWrite);
  F.WriteBuffer("abc", 3);
  try {
    F.Flush();
    FAIL();
  } catch (const EInOutError& E) {
    EXPECT_EQ(E.ErrorCode, ENOSPC);
  }
  std::vector<char> Big(1 << 17);
  EXPECT_THROW(F.WriteBuffer(Big.data(), static_cast<int64_t>(Big.size())), EInOutError);  // unbuffered
}

// ---- numbers on streams ----

using Ext = std::array<uint8_t, 10>;

Ext WrittenExtended(double X) {
  TMemoryStream M;
  orv::WriteExtendedToStream(&M, X);
  Ext R{};
  EXPECT_EQ(M.Size(), 10);
  std::memcpy(R.data(), M.Memory(), 10);
  return R;
}

// The bits of the double read, never a double returned by value: the 32-bit
// calling convention returns it through the x87, which quiets a signalling NaN.
uint64_t ReadBackBits(const Ext& B) {
  TMemoryStream M;
  M.WriteBuffer(B.data(), 10);
  M.SetPosition(0);
  double X = -12345;
  EXPECT_TRUE(orv::ReadExtendedFromStream(&M, X));
  return std::bit_cast<uint64_t>(X);
}

double ReadBackExtended(const Ext& B) { return std::bit_cast<double>(ReadBackBits(B)); }

// Byte patterns from numpy.longdouble (80-bit x87 on x86-64), .tobytes()[:10].
TEST(StreamNumbers, ExtendedIsTheTenByteX87FormatInBothBuilds) {
  EXPECT_EQ(WrittenExtended(1.0), (Ext{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  EXPECT_EQ(WrittenExtended(-2.5), (Ext{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}));
  EXPECT_EQ(WrittenExtended(std::numbers::pi), (Ext{0x00, 0xC0, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}));
  EXPECT_EQ(WrittenExtended(4.9406564584124654e-324), (Ext{0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B}));
  EXPECT_EQ(WrittenExtended(1.7976931348623157e308), (Ext{0, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x43}));
  EXPECT_EQ(WrittenExtended(HUGE_VAL), (Ext{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}));
  EXPECT_EQ(WrittenExtended(-0.0), (Ext{0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
  // Every double comes back exactly, the sign of zero and NaN included.
  for (double X : {0.0, -0.0, 1.0, -1.0 / 3, std::numbers::pi, 1e-310, -4.9406564584124654e-324, 2.2250738585072014e-308,
                   1.7976931348623157e308, -HUGE_VAL, 123456789.125}) {
    const double Y = ReadBackExtended(WrittenExtended(X));
    EXPECT_EQ(std::bit_cast<uint64_t>(Y), std::bit_cast<uint64_t>(X)) << X;
  }
  const double NaN = std::bit_cast<double>(uint64_t{0x7FF8000000012345});
  EXPECT_EQ(std::bit_cast<uint64_t>(ReadBackExtended(WrittenExtended(NaN))), 0x7FF8000000012345u);
}

TEST(StreamNumbers, NaNKeepsSignQuietBitAndPayload) {
  // x87 NaN: exponent 7FFF, integer bit set, bit 62 the quiet bit, the
  // double's 52 fraction bits at bits 62..11.
  struct TCase {
    uint64_t Double;
    Ext Bytes;
  };
  const TCase Cases[] = {
      {0x7FF0000000000001, {0, 0x08, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},           // signalling, payload 1
      {0xFFF4000000000000, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0xFF, 0xFF}},              // signalling, negative
      {0x7FF7FFFFFFFFFFFF, {0, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xBF, 0xFF, 0x7F}},  // signalling, full payload
      {0x7FF8000000000000, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}},              // the default quiet NaN
      {0xFFF8000000012345, {0, 0x28, 0x1A, 0x09, 0, 0, 0, 0xC0, 0xFF, 0xFF}},     // quiet, negative, payload
  };
  for (const TCase& C : Cases) {
    TMemoryStream M;
    double X = 0;
    std::memcpy(&X, &C.Double, sizeof X);
    orv::WriteExtendedToStream(&M, X);
    ASSERT_EQ(M.Size(), 10);
    Ext Written{};
    std::memcpy(Written.data(), M.Memory(), 10);
    EXPECT_EQ(Written, C.Bytes) << std::hex << C.Double;
    EXPECT_EQ(ReadBackBits(C.Bytes), C.Double) << std::hex << C.Double;
  }
  // A signalling NaN whose payload lies only in the 11 bits a double lacks
  // would read as an infinity: it reads as the quiet NaN of its sign.
  EXPECT_EQ(ReadBackBits({0x01, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}), 0xFFF8000000000000u);
  EXPECT_EQ(ReadBackBits({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}), 0x7FF0000000000000u);  // infinity stays
}

TEST(StreamNumbers, ExtendedReadIntoDoubleRoundsToNearestEven) {
  // pi and 1/3 to 64 bits (numpy.longdouble) give the nearest doubles.
  EXPECT_EQ(ReadBackExtended({0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}), std::numbers::pi);
  EXPECT_EQ(ReadBackExtended({0xAB, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xFD, 0x3F}), 1.0 / 3);
  // 1 + 2^-53 lies halfway between 1 and 1 + 2^-52: even is 1.
  EXPECT_EQ(ReadBackExtended({0, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0);
  // 1 + 3 * 2^-53 lies halfway between 1 + 2^-52 and 1 + 2^-51: even is the latter.
  EXPECT_EQ(ReadBackExtended({0, 0x0C, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0 + 0x1p-51);
  // Just above the halfway point rounds up.
  EXPECT_EQ(ReadBackExtended({1, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0 + 0x1p-52);
  // Into the denormal doubles: 2^-1075 is halfway between 0 and 2^-1074; 1.5 * 2^-1075 is above it.
  EXPECT_EQ(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCC, 0x3B}), 0.0);
  EXPECT_EQ(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xCC, 0x3B}), 4.9406564584124654e-324);
  EXPECT_EQ(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xCC, 0xBB}), -4.9406564584124654e-324);
  // 2.5 * 2^-1074 lies halfway between the denormals 2 and 3 * 2^-1074: even is 2.
  EXPECT_EQ(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0xA0, 0xCE, 0x3B}), 2 * 4.9406564584124654e-324);
  // 1.5 * 2^-1070 is the denormal 24 * 2^-1074, exact.
  EXPECT_EQ(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xD1, 0x3B}), 24 * 4.9406564584124654e-324);
  // Beyond the double range: infinity, also when the rounding carries over.
  EXPECT_EQ(ReadBackExtended({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}), HUGE_VAL);
  EXPECT_EQ(ReadBackExtended({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x43}), HUGE_VAL);
  EXPECT_EQ(ReadBackExtended({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xC3}), -HUGE_VAL);
  // Extended denormals are far below every double.
  EXPECT_EQ(ReadBackExtended({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0.0);
  // Encodings the x87 refuses: unnormal, pseudo-infinity.
  EXPECT_TRUE(std::isnan(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F})));
  EXPECT_TRUE(std::isnan(ReadBackExtended({0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F})));
}

#if ORV_HAS_EXTENDED
TEST(StreamNumbers, ExtendedOverloadKeepsAllSixtyFourBits) {
  const long double Pi = 3.14159265358979323846264338327950288L;
  TMemoryStream M;
  orv::WriteExtendedToStream(&M, Pi);
  orv::WriteExtendedToStream(&M, static_cast<long double>(0.1));  // same bytes as the double writer's
  orv::WriteExtendedToStream(&M, 0.1);
  const Bytes B = Contents(M);
  EXPECT_EQ(Bytes(B.begin(), B.begin() + 10), (Bytes{0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}));
  EXPECT_EQ(Bytes(B.begin() + 10, B.begin() + 20), Bytes(B.begin() + 20, B.end()));
  M.SetPosition(0);
  long double X = 0;
  ASSERT_TRUE(orv::ReadExtendedFromStream(&M, X));
  EXPECT_EQ(X, Pi);
  M.SetPosition(0);
  M.WriteBuffer("\0\0\0\0\0\0\0\x40\xFF\x3F", 10);  // unnormal
  M.SetPosition(0);
  ASSERT_TRUE(orv::ReadExtendedFromStream(&M, X));
  EXPECT_TRUE(std::isnan(X));
}
#endif

#if ORV_HAS_EXTENDED
TEST(StreamNumbers, ExtendedOverloadKeepsSignallingNaNs) {
  // An x87 signalling NaN with a payload only in the low bits, and one that
  // came from a double: the 80-bit loads and stores leave both as they are.
  for (const Ext& Pattern :
       {Ext{0x01, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, Ext{0, 0x08, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}}) {
    TMemoryStream M;
    M.WriteBuffer(Pattern.data(), 10);
    M.SetPosition(0);
    long double X = 0;
    ASSERT_TRUE(orv::ReadExtendedFromStream(&M, X));
    orv::WriteExtendedToStream(&M, X);
    const Bytes B = Contents(M);
    EXPECT_EQ(Bytes(B.begin() + 10, B.end()), Bytes(Pattern.begin(), Pattern.end()));
  }
}
#endif

TEST(StreamNumbers, LongintIsFourBytesLittleEndian) {
  TMemoryStream M;
  orv::WriteLongintToStream(&M, 0x12345678);
  orv::WriteLongintToStream(&M, -2);
  orv::WriteLongintToStream(&M, INT32_MIN);
  EXPECT_EQ(Contents(M), (Bytes{0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80}));
  M.SetPosition(0);
  int32_t A = 0, B = 0, C = 0;
  EXPECT_TRUE(orv::ReadLongintFromStream(&M, A) && orv::ReadLongintFromStream(&M, B) &&
              orv::ReadLongintFromStream(&M, C));
  EXPECT_EQ(A, 0x12345678);
  EXPECT_EQ(B, -2);
  EXPECT_EQ(C, INT32_MIN);
}

TEST(StreamNumbers, ShortStreamOrNilGivesFalseAndKeepsTheValue) {
  TMemoryStream M;
  M.WriteBuffer("123456789", 9);  // one byte short of an extended
  M.SetPosition(0);
  double X = 7;
  EXPECT_FALSE(orv::ReadExtendedFromStream(&M, X));
  EXPECT_EQ(X, 7);
  M.SetPosition(6);
  int32_t I = 7;
  EXPECT_FALSE(orv::ReadLongintFromStream(&M, I));
  EXPECT_EQ(I, 7);
  EXPECT_FALSE(orv::ReadExtendedFromStream(nullptr, X));
  EXPECT_FALSE(orv::ReadLongintFromStream(nullptr, I));
  orv::WriteExtendedToStream(nullptr, 1.0);
  orv::WriteLongintToStream(nullptr, 1);
}

// ---- the mixed binary file ----

using namespace std::string_literals;
const std::string AnyBytes = "two\r\nlines \xC3\xA9\0end"s;  // line breaks, UTF-8 and a NUL

void WriteSample(const std::string& Name, const std::string& Long) {
  TMixedFStream W(Name, orv::fmCreate);
  W.WriteInteger(-7);
  W.WriteLn("TMemBasedLearner/Kovrant");
  W.WriteDouble(-0.1);
  W.WriteByte(0xC3);
  W.WriteLn("");
  W.WriteLn(AnyBytes);
  W.WriteLn(Long);
  W.WriteDouble(std::numeric_limits<double>::denorm_min());
  W.Flush();
}

void ReadSample(const std::string& Name, const std::string& Long) {
  TMixedFStream R(Name, orv::fmOpenRead);
  EXPECT_EQ(R.ReadInteger(), -7);
  EXPECT_EQ(R.ReadLn(4), "TMemBasedLearner/Kovrant");
  EXPECT_EQ(R.ReadDouble(), -0.1);
  EXPECT_EQ(R.ReadByte(), 0xC3);
  EXPECT_EQ(R.ReadLn(4), "");
  EXPECT_EQ(R.ReadLn(4), AnyBytes);
  EXPECT_EQ(R.ReadLn(4), Long);
  EXPECT_EQ(R.ReadDouble(), std::numeric_limits<double>::denorm_min());
  EXPECT_THROW(R.ReadByte(), EInOutError);  // at the end
}

TEST(MixedFStream, ReaderGetsBackWhatTheWriterWrote) {
  orv::test::TempDir Dir;
  const std::string Long(200000, 'q');  // longer than the buffers
  WriteSample(Dir.File("m.bin"), Long);
  ReadSample(Dir.File("m.bin"), Long);
  // The layout: little-endian integer, length-prefixed line.
  std::ifstream In(Dir.File("m.bin"), std::ios::binary);
  char Head[8];
  In.read(Head, 8);
  EXPECT_EQ(std::string(Head, 8), std::string("\xF9\xFF\xFF\xFF\x18\0\0\0", 8));
  TMixedFStream R(Dir.File("m.bin"), orv::fmOpenRead);
  EXPECT_THROW(R.ReadLn(2), EInOutError);
}

TEST(MixedFStream, TruncatedOrCorruptedFileRaisesInOutError) {
  orv::test::TempDir Dir;
  const std::string Name = Dir.File("m.bin");
  WriteSample(Name, std::string(300, 'q'));
  std::ifstream In(Name, std::ios::binary);
  const std::string Full((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  In.close();
  // Every cut short of the whole file fails with EInOutError somewhere, never worse.
  for (size_t Cut = 0; Cut < Full.size(); ++Cut) {
    std::ofstream(Name, std::ios::binary | std::ios::trunc).write(Full.data(), static_cast<std::streamsize>(Cut));
    EXPECT_THROW(ReadSample(Name, std::string(300, 'q')), EInOutError) << Cut;
  }
  // A line length that is negative or far beyond the file raises before any allocation.
  for (const char* Len : {"\xFF\xFF\xFF\xFF", "\xFF\xFF\xFF\x7F", "\x05\0\0\0"}) {
    std::ofstream(Name, std::ios::binary | std::ios::trunc).write(Len, 4).write("abc", 3);
    TMixedFStream R(Name, orv::fmOpenRead);
    EXPECT_THROW(R.ReadLn(4), EInOutError);
  }
}

// ---- text files ----

void WriteRaw(const std::string& Name, const std::string& Text) {
  std::ofstream(Name, std::ios::binary | std::ios::trunc) << Text;
}

std::string ReadRaw(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
}

TEST(TextFile, WritesCrLfAndReadsLfOrCrLf) {
  orv::test::TempDir Dir;
  const std::string Name = Dir.File("t.txt");
  TTextFile F;
  F.Rewrite(Name);
  F.Write("a\tb");
  F.WriteLn();
  F.WriteLn("\xC3\xA9t\xC3\xA9");
  F.Close();
  EXPECT_EQ(ReadRaw(Name), "a\tb\r\n\xC3\xA9t\xC3\xA9\r\n");
  WriteRaw(Name, "one\r\ntwo\n\nlast\r");
  F.Reset(Name);
  std::string L;
  std::vector<std::string> Lines;
  while (F.ReadLn(L)) Lines.push_back(L);
  EXPECT_EQ(Lines, (std::vector<std::string>{"one", "two", "", "last"}));
  EXPECT_TRUE(F.Eof());
  EXPECT_EQ(F.PeekChar(), -1);
  EXPECT_THROW(F.Write("x"), EInOutError);  // opened for reading
  F.Close();
  EXPECT_FALSE(F.ReadLn(L));
  EXPECT_THROW(F.Reset(Dir.File("missing.txt")), EInOutError);
  EXPECT_FALSE(F.IsOpen());
}

TEST(TextFile, WordsAndNumbersAreSeparatedByAnyWhiteSpace) {
  orv::test::TempDir Dir;
  const std::string Name = Dir.File("w.txt");
  WriteRaw(Name, "  3 4\r\n1.5\tabc\n-2e3  7x 12\n\n");
  TTextFile F;
  F.Reset(Name);
  int32_t Lo = 0, Hi = 0;
  ASSERT_TRUE(F.ReadInteger(Lo) && F.ReadInteger(Hi));
  EXPECT_EQ(Lo, 3);
  EXPECT_EQ(Hi, 4);
  double X = 0;
  EXPECT_TRUE(F.ReadReal(X));
  EXPECT_EQ(X, 1.5);
  EXPECT_FALSE(F.ReadReal(X));  // "abc" is taken, X kept
  EXPECT_EQ(X, 1.5);
  EXPECT_TRUE(F.ReadReal(X));
  EXPECT_EQ(X, -2000);
  std::string W;
  EXPECT_TRUE(orv::ReadNextWordInTextFile(F, W));
  EXPECT_EQ(W, "7x");
  EXPECT_EQ(F.Position(), 23);
  EXPECT_EQ(F.Size(), 28);
  EXPECT_TRUE(F.ReadInteger(Lo));
  EXPECT_EQ(Lo, 12);
  EXPECT_FALSE(orv::ReadNextWordInTextFile(F, W));  // only line breaks left
  EXPECT_EQ(W, "7x");
}

}  // namespace
