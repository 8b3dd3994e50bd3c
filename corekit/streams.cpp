// Base unit Orv_streams: streams, numbers on streams, the mixed binary file
// and text files.
#define _FILE_OFFSET_BITS 64  // 64-bit file offsets in the 32-bit build too
#include "orvcorekit/Orv_streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "corekit/chars.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

namespace {

constexpr int64_t FileBufSize = 64 * 1024;

// Base + Offset as a stream position: EInOutError when negative or beyond int64.
int64_t TargetPosition(int64_t Base, int64_t Offset) {
  int64_t New = 0;
  if (__builtin_add_overflow(Base, Offset, &New) || New < 0) throw EInOutError("Invalid stream position", EINVAL);
  return New;
}

int64_t BaseOf(TSeekOrigin Origin, int64_t Current, int64_t Size) {
  switch (Origin) {
    case soBeginning: return 0;
    case soCurrent: return Current;
    case soEnd: return Size;
  }
  throw EInOutError("Invalid seek origin", EINVAL);
}

}  // namespace

// ---- TStream -------------------------------------------------------------------

std::string TStream::ClassName() const { return "TStream"; }

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EInOutError("Stream read error", EIO);
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EInOutError("Stream write error", EIO);
}

// ---- TFileStream -----------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
  const bool Create = (Mode & fmCreate) == fmCreate;
  int Flags = O_CLOEXEC;
  if (Create) {
    Flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 3) {
      case fmOpenRead: Flags |= O_RDONLY; break;
      case fmOpenWrite: Flags |= O_WRONLY; break;
      case fmOpenReadWrite: Flags |= O_RDWR; break;
      default: throw EInOutError("Cannot open file \"" + FileName + "\". Invalid file mode", EINVAL);
    }
  }
  const char* What = Create ? "Cannot create file" : "Cannot open file";
  do FHandle = ::open(FileName.c_str(), Flags, 0666);
  while (FHandle < 0 && errno == EINTR);
  if (FHandle < 0) Fail(What, errno);
  struct stat St {};
  if (::fstat(FHandle, &St) != 0 || S_ISDIR(St.st_mode)) {
    const int Code = S_ISDIR(St.st_mode) ? EISDIR : errno;
    ::close(FHandle);
    FHandle = -1;
    Fail(What, Code);
  }
}

TFileStream::~TFileStream() {
  try {
    Flush();
  } catch (const EInOutError&) {
    // Nowhere to report it; writers that care call Flush themselves.
  }
  if (FHandle >= 0) ::close(FHandle);
}

std::string TFileStream::ClassName() const { return "TFileStream"; }

void TFileStream::Fail(const char* What, int Code) const {
  throw EInOutError(std::string(What) + " \"" + FFileName + "\". " + std::strerror(Code), Code);
}

namespace {

// pread and pwrite until done, the end of the file or a failure (-1).
int64_t ReadAt(int Handle, void* Buffer, int64_t Count, int64_t Offset) {
  int64_t Done = 0;
  while (Done < Count) {
    const size_t Chunk = static_cast<size_t>(std::min<int64_t>(Count - Done, 1 << 30));
    const ssize_t N = ::pread(Handle, static_cast<char*>(Buffer) + Done, Chunk, Offset + Done);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return -1;
    if (N == 0) break;
    Done += N;
  }
  return Done;
}

bool WriteAt(int Handle, const void* Buffer, int64_t Count, int64_t Offset) {
  int64_t Done = 0;
  while (Done < Count) {
    const size_t Chunk = static_cast<size_t>(std::min<int64_t>(Count - Done, 1 << 30));
    const ssize_t N = ::pwrite(Handle, static_cast<const char*>(Buffer) + Done, Chunk, Offset + Done);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Done += N;
  }
  return true;
}

}  // namespace

void TFileStream::Flush() {
  if (!FBufDirty) return;
  const int64_t Len = FBufLen;
  FBufDirty = false;  // a failed flush is reported once, not again by the destructor
  FBufLen = 0;
  if (Len > 0 && !WriteAt(FHandle, FBuf.data(), Len, FBufStart)) Fail("Cannot write file", errno ? errno : EIO);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  Flush();
  auto* Out = static_cast<uint8_t*>(Buffer);
  int64_t Done = 0;
  while (Done < Count) {
    if (FBufLen > 0 && FPos >= FBufStart && FPos < FBufStart + FBufLen) {
      const int64_t N = std::min(Count - Done, FBufStart + FBufLen - FPos);
      std::memcpy(Out + Done, FBuf.data() + (FPos - FBufStart), static_cast<size_t>(N));
      Done += N;
      FPos += N;
      continue;
    }
    if (Count - Done >= FileBufSize) {  // large reads bypass the buffer
      const int64_t N = ReadAt(FHandle, Out + Done, Count - Done, FPos);
      if (N < 0) Fail("Cannot read file", errno);
      Done += N;
      FPos += N;
      break;
    }
    FBuf.resize(static_cast<size_t>(FileBufSize));
    FBufStart = FPos;
    FBufLen = ReadAt(FHandle, FBuf.data(), FileBufSize, FPos);
    if (FBufLen < 0) {
      FBufLen = 0;
      Fail("Cannot read file", errno);
    }
    if (FBufLen == 0) break;
  }
  return Done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  if (FPos > std::numeric_limits<int64_t>::max() - Count) throw EInOutError("Invalid stream position", EINVAL);
  if (!FBufDirty || FBufStart + FBufLen != FPos || FBufLen + Count > FileBufSize) {
    Flush();
    FBufStart = FPos;
    FBufLen = 0;
  }
  if (Count >= FileBufSize) {
    if (!WriteAt(FHandle, Buffer, Count, FPos)) Fail("Cannot write file", errno ? errno : EIO);
  } else {
    FBuf.resize(static_cast<size_t>(FileBufSize));
    std::memcpy(FBuf.data() + FBufLen, Buffer, static_cast<size_t>(Count));
    FBufLen += Count;
    FBufDirty = true;
  }
  FPos += Count;
  return Count;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int64_t New = TargetPosition(BaseOf(Origin, FPos, Origin == soEnd ? Size() : 0), Offset);
  if (New != FPos) Flush();
  FPos = New;
  return FPos;
}

int64_t TFileStream::Size() {
  struct stat St {};
  if (::fstat(FHandle, &St) != 0) Fail("Cannot read file", errno);
  const int64_t OnDisk = St.st_size;
  return FBufDirty ? std::max(OnDisk, FBufStart + FBufLen) : OnDisk;
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EInOutError("Invalid stream size", EINVAL);
  Flush();
  FBufLen = 0;  // read ahead may be cut off
  if (::ftruncate(FHandle, NewSize) != 0) Fail("Cannot write file", errno);
}

// ---- TMemoryStream ----------------------------------------------------------------

std::string TMemoryStream::ClassName() const { return "TMemoryStream"; }

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  const int64_t Avail = Size() - FPos;
  if (Count <= 0 || Avail <= 0) return 0;
  const int64_t N = std::min(Count, Avail);
  std::memcpy(Buffer, FData.data() + FPos, static_cast<size_t>(N));
  FPos += N;
  return N;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  if (FPos > std::numeric_limits<int64_t>::max() - Count) throw EInOutError("Invalid stream position", EINVAL);
  if (FPos + Count > Size()) SetSize(FPos + Count);
  std::memcpy(FData.data() + FPos, Buffer, static_cast<size_t>(Count));
  FPos += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  FPos = TargetPosition(BaseOf(Origin, FPos, Size()), Offset);
  return FPos;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EInOutError("Invalid stream size", EINVAL);
  const char* Msg = "Out of memory while expanding memory stream";
  if (static_cast<uint64_t>(NewSize) > FData.max_size()) throw EInOutError(Msg, ENOMEM);
  GuardAllocation([&] { FData.resize(static_cast<size_t>(NewSize)); }, [Msg] { return EInOutError(Msg, ENOMEM); });
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPos = 0;
}

// ---- numbers on streams --------------------------------------------------------------

namespace {

constexpr int ExtBytes = 10;
constexpr uint16_t ExtExpMax = 0x7FFF;
constexpr int ExtBias = 16383;
constexpr uint64_t IntBit = uint64_t{1} << 63;

void PutLE(uint8_t* P, uint64_t V, int Bytes) {
  for (int i = 0; i < Bytes; ++i) P[i] = static_cast<uint8_t>(V >> (8 * i));
}

uint64_t GetLE(const uint8_t* P, int Bytes) {
  uint64_t V = 0;
  for (int i = 0; i < Bytes; ++i) V |= uint64_t{P[i]} << (8 * i);
  return V;
}

// A double in the 80-bit format; exact, as every double is an extended.
void EncodeExtended(double X, uint8_t* P) {
  const uint64_t D = std::bit_cast<uint64_t>(X);
  const uint16_t Sign = static_cast<uint16_t>((D >> 63) << 15);
  const int DExp = static_cast<int>((D >> 52) & 0x7FF);
  const uint64_t Frac = D & ((uint64_t{1} << 52) - 1);
  uint64_t Mant = 0;
  int Exp = 0;
  if (DExp == 0x7FF) {  // infinity or NaN (payload kept)
    Exp = ExtExpMax;
    Mant = IntBit | (Frac << 11);
  } else if (DExp != 0) {
    Exp = DExp - 1023 + ExtBias;
    Mant = IntBit | (Frac << 11);
  } else if (Frac != 0) {  // denormal double: a normal extended
    const int Shift = std::countl_zero(Frac);
    Mant = Frac << Shift;
    Exp = ExtBias + 63 - 1074 - Shift;
  }
  PutLE(P, Mant, 8);
  PutLE(P + 8, static_cast<uint16_t>(Sign | Exp), 2);
}

// The bits of the 80-bit number rounded to the nearest double (halves to
// even). Bits, not a double: the 32-bit calling convention returns a double
// through the x87, which would quiet a signalling NaN.
uint64_t DecodeExtended(const uint8_t* P) {
  constexpr uint64_t FracMask = (uint64_t{1} << 52) - 1;
  constexpr uint64_t QuietBit = uint64_t{1} << 51;
  const uint64_t Mant = GetLE(P, 8);
  const uint16_t SE = static_cast<uint16_t>(GetLE(P + 8, 2));
  const uint64_t Sign = uint64_t{(SE & 0x8000u) != 0} << 63;
  const int Exp = SE & ExtExpMax;
  const uint64_t Quiet = std::bit_cast<uint64_t>(std::numeric_limits<double>::quiet_NaN());
  if (Exp == ExtExpMax) {
    if (Mant == IntBit) return Sign | std::bit_cast<uint64_t>(std::numeric_limits<double>::infinity());
    if (!(Mant & IntBit)) return Sign | Quiet;  // pseudo-infinity or pseudo-NaN
    // The quiet bit and the high 51 bits of the payload; a signalling NaN
    // whose payload lies in the 11 bits a double lacks would read as an
    // infinity and is quieted, as the x87 does.
    uint64_t Frac = (Mant >> 11) & FracMask;
    if (Frac == 0) Frac = QuietBit;
    return Sign | (uint64_t{0x7FF} << 52) | Frac;
  }
  if (Exp != 0 && !(Mant & IntBit)) return Sign | Quiet;  // unnormal
  double R = 0;
  if (Mant != 0 && Exp != 0) {
    // Keep 53 significant bits, fewer where the result is a denormal double.
    const int E = Exp - ExtBias;  // Mant / 2^63 * 2^E
    const int Keep = E >= -1022 ? 53 : 1075 + E;
    if (Keep >= 0) {
      const int Drop = 64 - Keep;
      uint64_t Kept = Drop == 64 ? 0 : Mant >> Drop;
      const uint64_t Rest = Drop == 64 ? Mant : Mant & ((uint64_t{1} << Drop) - 1);
      const uint64_t Half = uint64_t{1} << (Drop - 1);
      if (Rest > Half || (Rest == Half && (Kept & 1))) ++Kept;
      R = std::ldexp(static_cast<double>(Kept), E - 63 + Drop);  // exact or beyond the range: infinity
    }
  }
  // Exp == 0: zero or an extended denormal, far below the smallest double.
  return Sign | std::bit_cast<uint64_t>(R);
}

bool ReadExact(TStream* S, void* Buffer, int64_t Count) { return S != nullptr && S->Read(Buffer, Count) == Count; }

}  // namespace

void WriteExtendedToStream(TStream* S, double X) {
  if (S == nullptr) return;
  uint8_t B[ExtBytes];
  EncodeExtended(X, B);
  S->WriteBuffer(B, ExtBytes);
}

bool ReadExtendedFromStream(TStream* S, double& X) {
  uint8_t B[ExtBytes];
  if (!ReadExact(S, B, ExtBytes)) return false;
  X = std::bit_cast<double>(DecodeExtended(B));
  return true;
}

#if ORV_HAS_EXTENDED
void WriteExtendedToStream(TStream* S, long double X) {
  if (S == nullptr) return;
  uint8_t B[ExtBytes];
  std::memcpy(B, &X, ExtBytes);  // the x87 format itself, little-endian
  S->WriteBuffer(B, ExtBytes);
}

bool ReadExtendedFromStream(TStream* S, long double& X) {
  uint8_t B[ExtBytes];
  if (!ReadExact(S, B, ExtBytes)) return false;
  const uint64_t Mant = GetLE(B, 8);
  const int Exp = static_cast<int>(GetLE(B + 8, 2)) & ExtExpMax;
  if (Exp != 0 && !(Mant & IntBit)) {  // encodings the FPU rejects
    X = std::numeric_limits<long double>::quiet_NaN();
    return true;
  }
  long double V = 0;
  std::memcpy(&V, B, ExtBytes);
  X = V;
  return true;
}
#endif

void WriteLongintToStream(TStream* S, int32_t X) {
  if (S == nullptr) return;
  uint8_t B[4];
  PutLE(B, static_cast<uint32_t>(X), 4);
  S->WriteBuffer(B, 4);
}

bool ReadLongintFromStream(TStream* S, int32_t& X) {
  uint8_t B[4];
  if (!ReadExact(S, B, 4)) return false;
  X = static_cast<int32_t>(static_cast<uint32_t>(GetLE(B, 4)));
  return true;
}

// ---- TMixedFStream -----------------------------------------------------------------

TMixedFStream::TMixedFStream(const std::string& FileName, uint16_t Mode) : TFileStream(FileName, Mode) {}

std::string TMixedFStream::ClassName() const { return "TMixedFStream"; }

void TMixedFStream::WriteInteger(int32_t X) { WriteLongintToStream(this, X); }

void TMixedFStream::WriteDouble(double X) {
  uint8_t B[8];
  PutLE(B, std::bit_cast<uint64_t>(X), 8);
  WriteBuffer(B, 8);
}

void TMixedFStream::WriteByte(uint8_t X) { WriteBuffer(&X, 1); }

void TMixedFStream::WriteLn(const std::string& S) {
  if (S.size() > static_cast<size_t>(INT32_MAX)) throw EInOutError("TMixedFStream.WriteLn: line too long", EFBIG);
  WriteInteger(static_cast<int32_t>(S.size()));
  WriteBuffer(S.data(), static_cast<int64_t>(S.size()));
}

int32_t TMixedFStream::ReadInteger() {
  uint8_t B[4];
  ReadBuffer(B, 4);
  return static_cast<int32_t>(static_cast<uint32_t>(GetLE(B, 4)));
}

double TMixedFStream::ReadDouble() {
  uint8_t B[8];
  ReadBuffer(B, 8);
  return std::bit_cast<double>(GetLE(B, 8));
}

uint8_t TMixedFStream::ReadByte() {
  uint8_t B = 0;
  ReadBuffer(&B, 1);
  return B;
}

std::string TMixedFStream::ReadLn(int32_t LengthWidth) {
  if (LengthWidth != 4)
    throw EInOutError("TMixedFStream.ReadLn: unsupported length width " + std::to_string(LengthWidth), EINVAL);
  const int32_t Len = ReadInteger();
  if (Len < 0) throw EInOutError("TMixedFStream.ReadLn: malformed line in \"" + FileName() + "\"", EIO);
  // Grow with the bytes actually there, not with what the length claims.
  std::string S;
  while (static_cast<int32_t>(S.size()) < Len) {
    const size_t Old = S.size();
    const size_t Chunk = std::min<size_t>(static_cast<size_t>(Len) - Old, static_cast<size_t>(FileBufSize));
    S.resize(Old + Chunk);
    ReadBuffer(S.data() + Old, static_cast<int64_t>(Chunk));
  }
  return S;
}

// ---- TTextFile ----------------------------------------------------------------------

TTextFile::TTextFile() = default;

TTextFile::~TTextFile() = default;  // the stream's destructor flushes and closes

void TTextFile::Reset(const std::string& FileName) {
  Close();
  FStream = std::make_unique<TFileStream>(FileName, fmOpenRead);
  FWriting = false;
}

void TTextFile::Rewrite(const std::string& FileName) {
  Close();
  FStream = std::make_unique<TFileStream>(FileName, fmCreate);
  FWriting = true;
}

void TTextFile::Close() {
  std::unique_ptr<TFileStream> S = std::move(FStream);  // closed even when the flush fails
  FBuf.clear();
  FBufPos = 0;
  if (S && FWriting) S->Flush();
}

bool TTextFile::Fill(int64_t Need) {
  if (static_cast<int64_t>(FBuf.size() - FBufPos) >= Need) return true;
  if (!FStream || FWriting) return false;
  FBuf.erase(0, FBufPos);
  FBufPos = 0;
  while (static_cast<int64_t>(FBuf.size()) < Need) {
    const size_t Old = FBuf.size();
    FBuf.resize(Old + static_cast<size_t>(FileBufSize));
    const int64_t N = FStream->Read(FBuf.data() + Old, FileBufSize);
    FBuf.resize(Old + static_cast<size_t>(N));
    if (N == 0) return false;
  }
  return true;
}

bool TTextFile::Eof() { return !Fill(1); }

int32_t TTextFile::PeekChar() { return Fill(1) ? static_cast<unsigned char>(FBuf[FBufPos]) : -1; }

bool TTextFile::ReadChar(char& C) {
  if (!Fill(1)) return false;
  C = FBuf[FBufPos++];
  return true;
}

bool TTextFile::LookingAt(std::string_view Text) {
  return Fill(static_cast<int64_t>(Text.size())) && std::string_view(FBuf).substr(FBufPos, Text.size()) == Text;
}

bool TTextFile::ReadLn(std::string& Line) {
  if (!Fill(1)) return false;
  std::string R;
  while (Fill(1)) {
    const size_t End = FBuf.find('\n', FBufPos);
    if (End != std::string::npos) {
      R.append(FBuf, FBufPos, End - FBufPos);
      FBufPos = End + 1;
      break;
    }
    R.append(FBuf, FBufPos);
    FBufPos = FBuf.size();
  }
  if (!R.empty() && R.back() == '\r') R.pop_back();
  Line = std::move(R);
  return true;
}

bool TTextFile::ReadWord(std::string& Word) {
  while (detail::IsSeparator(PeekChar())) ++FBufPos;
  if (Eof()) return false;
  std::string R;
  for (int32_t C = PeekChar(); C >= 0 && !detail::IsSeparator(C); C = PeekChar()) {
    R += static_cast<char>(C);
    ++FBufPos;
  }
  Word = std::move(R);
  return true;
}

bool TTextFile::ReadReal(double& X) {
  std::string W;
  return ReadWord(W) && TryStrToFloat(W, X);
}

bool TTextFile::ReadInteger(int32_t& X) {
  std::string W;
  return ReadWord(W) && TryStrToInt(W, X);
}

int64_t TTextFile::Size() { return FStream ? FStream->Size() : 0; }

int64_t TTextFile::Position() {
  if (!FStream) return 0;
  return FStream->Position() - static_cast<int64_t>(FBuf.size() - FBufPos);
}

void TTextFile::Write(std::string_view S) {
  if (!FStream || !FWriting) throw EInOutError("File not open for output", EBADF);
  FStream->WriteBuffer(S.data(), static_cast<int64_t>(S.size()));
}

void TTextFile::WriteLn(std::string_view S) {
  Write(S);
  Write("\r\n");
}

}  // namespace orv
