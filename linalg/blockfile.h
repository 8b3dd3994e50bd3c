// The block file of matrices, 3-D and 4-D arrays (internal): 4096-byte
// records, record 0 the header, then the values as little-endian doubles,
// 512 to a record, value k at byte 4096 + 8 k. Every reader of the file goes
// through TBlockFile, which opens it read-only, decodes the header and
// refuses (EInOutError, before anything is sized or fired) a request whose
// records the file does not hold in full. Index products are checked in
// int64_t, so a lying header can neither overflow them nor size anything.
#pragma once

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv::detail {

inline constexpr int64_t BlockRecordBytes = 4096;
inline constexpr int64_t BlockRecordValues = 512;

struct TBlockHeader {
  int32_t Cols = 0, Rows = 0, Layers = 0, Slots = 0;
  std::string DataID;  // UTF-8
  int32_t Format = 0;
};

// A * B, or -1 when either is negative or the product leaves int64_t.
inline int64_t CheckedProduct(int64_t A, int64_t B) {
  int64_t P = 0;
  if (A < 0 || B < 0 || __builtin_mul_overflow(A, B, &P)) return -1;
  return P;
}

class TBlockFile {
 public:
  // Opens the file and reads record 0; EInOutError when either fails.
  explicit TBlockFile(const std::string& FileName) : FStream(FileName, fmOpenRead) {
    uint8_t Rec[BlockRecordBytes];
    FStream.ReadBuffer(Rec, BlockRecordBytes);
    FHeader.Cols = Int32At(Rec, 0);
    FHeader.Rows = Int32At(Rec, 4);
    FHeader.Layers = Int32At(Rec, 8);
    FHeader.Slots = Int32At(Rec, 12);
    // The identifier is single-byte text (Latin-1): bytes 128..255 become
    // two-byte UTF-8 sequences.
    const uint8_t Len = Rec[16];
    FHeader.DataID.reserve(2 * Len);
    for (int I = 0; I < Len; ++I) {
      const uint8_t C = Rec[17 + I];
      if (C < 0x80) {
        FHeader.DataID.push_back(static_cast<char>(C));
      } else {
        FHeader.DataID.push_back(static_cast<char>(0xC0 | (C >> 6)));
        FHeader.DataID.push_back(static_cast<char>(0x80 | (C & 0x3F)));
      }
    }
    FHeader.Format = Int32At(Rec, 272);
    FSize = FStream.Size();
  }

  const TBlockHeader& Header() const { return FHeader; }

  // Whether the file holds every whole record that values First ..
  // First + Count - 1 lie in (-1 for either argument: never).
  bool Holds(int64_t First, int64_t Count) const {
    if (First < 0 || Count < 0) return false;
    if (Count == 0) return true;
    if (First > INT64_MAX - Count) return false;
    const int64_t LastRecord = 1 + (First + Count - 1) / BlockRecordValues;
    return LastRecord < FSize / BlockRecordBytes;
  }

  // Values First .. First + Count - 1 (the file must hold them), handed to
  // Fn(std::span<const double>) in order, many records per read.
  template <class Fn>
  void Read(int64_t First, int64_t Count, Fn&& Each) {
    if (!Holds(First, Count)) Truncated();
    if (Count == 0) return;
    FStream.Seek(BlockRecordBytes + First * 8, soBeginning);
    std::vector<double> Chunk(static_cast<size_t>(std::min(Count, ChunkValues)));
    while (Count > 0) {
      const int64_t N = std::min(Count, ChunkValues);
      FStream.ReadBuffer(Chunk.data(), N * 8);
      if constexpr (std::endian::native == std::endian::big) {
        for (int64_t I = 0; I < N; ++I) Chunk[static_cast<size_t>(I)] = SwapDouble(Chunk[static_cast<size_t>(I)]);
      }
      Each(std::span<const double>(Chunk.data(), static_cast<size_t>(N)));
      Count -= N;
    }
  }

  // Values First .. First + Count - 1 into Out (Count of them).
  void ReadInto(int64_t First, int64_t Count, double* Out) {
    Read(First, Count, [&Out](std::span<const double> Run) {
      std::memcpy(Out, Run.data(), Run.size_bytes());
      Out += Run.size();
    });
  }

  // The failure of a request the file cannot serve: what a read of the
  // missing record would raise.
  [[noreturn]] static void Truncated() { throw EInOutError("Stream read error", EIO); }

 private:
  static constexpr int64_t ChunkValues = 128 * BlockRecordValues;  // 512 KiB a read

  static int32_t Int32At(const uint8_t* P, int Off) {
    const uint32_t U = uint32_t{P[Off]} | uint32_t{P[Off + 1]} << 8 | uint32_t{P[Off + 2]} << 16 |
                       uint32_t{P[Off + 3]} << 24;
    return static_cast<int32_t>(U);
  }
  static double SwapDouble(double X) {
    uint64_t U;
    std::memcpy(&U, &X, 8);
    U = __builtin_bswap64(U);
    std::memcpy(&X, &U, 8);
    return X;
  }

  TFileStream FStream;
  TBlockHeader FHeader;
  int64_t FSize = 0;
};

}  // namespace orv::detail
