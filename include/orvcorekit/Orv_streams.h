// Base unit Orv_streams: streams, numbers on streams, text files and their
// tags. Everything read is untrusted: a short or malformed input gives the
// documented failure, never a read past the end or an allocation larger
// than the input itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Orv_classes.h"
#include "Orv_export.h"
#include "Orv_stringl.h"
#include "Orv_system.h"

namespace orv {

// ---- streams -------------------------------------------------------------------

enum TSeekOrigin : uint8_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// A sequence of bytes with a position. Failures of the medium raise
// EInOutError; reading at or past the end is no failure of Read (it moves
// fewer bytes) but is one of ReadBuffer.
class ORVCORE_API TStream : public TObject {
 public:
  std::string ClassName() const override;
  // Moves up to Count bytes and returns how many; Count <= 0 moves none.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // The new position. A position beyond the end is allowed (a write there
  // fills the gap with zeros); a negative one raises EInOutError.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual int64_t Size() = 0;
  virtual void SetSize(int64_t NewSize) = 0;  // keeps the position
  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  // All Count bytes or EInOutError "Stream read error" / "Stream write error".
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
};

// Modes of TFileStream: create (or truncate) for reading and writing, or
// open an existing file. Other bits of a mode are ignored.
inline constexpr uint16_t fmCreate = 0xFF00;
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;

// A stream over a file, buffered. Opening failures raise EInOutError with
// the system's error code. Buffered writes reach the file when the buffer
// fills, on a Seek that moves the position, SetSize, Read and Flush (Size
// counts them without writing); the destructor flushes too but cannot
// report a failure, so a writer that must know calls Flush.
class ORVCORE_API TFileStream : public TStream {
 public:
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  std::string ClassName() const override;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override;
  void SetSize(int64_t NewSize) override;
  void Flush();  // writes the buffered bytes; EInOutError on failure
  const std::string& FileName() const { return FFileName; }

 private:
  [[noreturn]] void Fail(const char* What, int Code) const;
  std::string FFileName;
  int FHandle = -1;
  int64_t FPos = 0;        // the stream's position
  std::vector<uint8_t> FBuf;
  int64_t FBufStart = 0;   // file offset of FBuf[0]
  int64_t FBufLen = 0;     // bytes of FBuf in use
  bool FBufDirty = false;  // FBuf holds bytes still to be written (else bytes read ahead)
};

// A stream in memory. Growing it beyond the memory available raises
// EInOutError "Out of memory while expanding memory stream".
class ORVCORE_API TMemoryStream : public TStream {
 public:
  std::string ClassName() const override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();  // size and position 0
  uint8_t* Memory() { return FData.data(); }

 private:
  std::vector<uint8_t> FData;
  int64_t FPos = 0;
};

// ---- numbers on streams ------------------------------------------------------------
// An extended number takes 10 bytes: the 80-bit x87 format (64-bit significand
// with its integer bit, then sign and 15-bit exponent), little-endian, in both
// builds. A double round-trips exactly in both builds, a signalling NaN and
// its payload included. Read into a double, a value a double cannot hold is
// rounded to the nearest double (halves to even), beyond the double range to
// an infinity; a NaN keeps its sign, its quiet bit and the high 51 bits of its
// payload (one whose payload lies only in the low 11 bits reads as a quiet
// NaN); an encoding the x87 does not accept (unnormal, pseudo-infinity) reads
// as a quiet NaN. The extended overloads of the 32-bit build move the 10
// bytes as they are, signalling NaNs included (the x87 loads and stores the
// 80-bit format unchanged), apart from the unaccepted encodings. (The 32-bit
// calling convention returns a double through the x87, which quiets a
// signalling NaN; the readers therefore fill a reference.) A Longint takes 4 bytes,
// little-endian two's complement. Writes raise EInOutError when the stream
// fails; a read gives false and leaves X unchanged when the stream holds
// fewer bytes. A nil stream writes nothing and reads false.
ORVCORE_API void WriteExtendedToStream(TStream* S, double X);
ORVCORE_API bool ReadExtendedFromStream(TStream* S, double& X);
#if ORV_HAS_EXTENDED
ORVCORE_API void WriteExtendedToStream(TStream* S, long double X);
ORVCORE_API bool ReadExtendedFromStream(TStream* S, long double& X);
#endif
ORVCORE_API void WriteLongintToStream(TStream* S, int32_t X);
ORVCORE_API bool ReadLongintFromStream(TStream* S, int32_t& X);

// ---- mixed binary file ---------------------------------------------------------------
// A file of items of different kinds, each read back by the reader of its
// kind in the order written: integers (4 bytes), doubles (8 bytes, IEEE),
// bytes, and lines. A line is its length in bytes (4 bytes) followed by its
// bytes; it may hold any character, line breaks included. Everything is
// little-endian. The readers raise EInOutError at the end of the file and on
// a line whose length is negative or runs past the end.
class ORVCORE_API TMixedFStream : public TFileStream {
 public:
  // Mode fmCreate ($FF00) creates the file, fmOpenRead (0) opens it to read.
  TMixedFStream(const std::string& FileName, uint16_t Mode);
  std::string ClassName() const override;

  void WriteInteger(int32_t X);
  void WriteDouble(double X);
  void WriteByte(uint8_t X);
  void WriteLn(const std::string& S);
  int32_t ReadInteger();
  double ReadDouble();
  uint8_t ReadByte();
  // LengthWidth is the width in bytes of the length in front of the line:
  // 4, the width WriteLn writes; any other width raises EInOutError.
  std::string ReadLn(int32_t LengthWidth);
};

// ---- text files ------------------------------------------------------------------------
// A text file read or written sequentially. Lines are written with CR LF and
// read with LF or CR LF; the bytes in between pass unchanged (UTF-8). Failures
// of opening, writing or closing raise EInOutError. The destructor closes a
// file left open but cannot report a write failure: a writer calls Close.
class ORVCORE_API TTextFile {
 public:
  TTextFile();
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  void Reset(const std::string& FileName);    // open an existing file for reading
  void Rewrite(const std::string& FileName);  // create or truncate it for writing
  void Close();                               // nothing when not open
  bool IsOpen() const { return FStream != nullptr; }

  // Reading. At the end (or when not open for reading) the readers give false.
  bool Eof();
  int32_t PeekChar();  // the next character as 0..255 without taking it; -1 at the end
  bool ReadChar(char& C);
  // Whether the next characters are Text; nothing is taken.
  bool LookingAt(std::string_view Text);
  // The rest of the current line without its line break; false at the end.
  bool ReadLn(std::string& Line);
  // The next word: blanks, TABs and line breaks before it are skipped, and
  // it ends before the next of them. False when only those are left.
  bool ReadWord(std::string& Word);
  // The next word as a number (TryStrToFloat, TryStrToInt). A word that is no
  // number gives false and is taken all the same, so the next read goes on
  // behind it; X is then unchanged.
  bool ReadReal(double& X);
  bool ReadInteger(int32_t& X);
  // Bytes of the file and bytes taken so far (for plausibility checks).
  int64_t Size();
  int64_t Position();

  // Writing.
  void Write(std::string_view S);
  void WriteLn(std::string_view S = {});

 private:
  bool Fill(int64_t Need);  // at least Need unread bytes in FBuf, unless the file ends
  std::unique_ptr<TFileStream> FStream;
  bool FWriting = false;
  std::string FBuf;     // read ahead
  size_t FBufPos = 0;   // next unread byte of FBuf
};

// The next tag of an XML text and the text behind it; see ReadNextTagInString
// (Orv_stringl.h) for what a tag is.
ORVCORE_API bool ReadNextTagInTextFile(TTextFile& F, TXmlTag& Tag);

}  // namespace orv
