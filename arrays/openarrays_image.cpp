// ORV_openarrays: SaveArrayAsImg. BMP is written here; PNG and JPEG go
// through libpng and libjpeg, whose errors leave by longjmp (libpng) or would
// end the process (libjpeg's default handler). Both are therefore driven from
// functions that hold no C++ object across the library calls: an error jumps
// back there, the library state is destroyed, and the failure is raised only
// after the library call has returned. Bytes reach the file through
// TFileStream, whose failures are caught in the write callbacks and carried
// past the C frames the same way.
#include <png.h>
// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "arrays/shape.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

namespace {

enum class TImgFormat { None, Bmp, Png, Jpg, Unknown };

// The extension: from the last point of the last path component on.
TImgFormat FormatOf(std::string_view FName) {
  const auto Slash = FName.rfind('/');
  const auto Name = Slash == std::string_view::npos ? FName : FName.substr(Slash + 1);
  const auto Point = Name.rfind('.');
  if (Point == std::string_view::npos) return TImgFormat::None;
  const auto Ext = Name.substr(Point);
  if (SameText(Ext, ".bmp")) return TImgFormat::Bmp;
  if (SameText(Ext, ".png")) return TImgFormat::Png;
  if (SameText(Ext, ".jpg")) return TImgFormat::Jpg;
  return TImgFormat::Unknown;
}

constexpr int64_t BmpHeaderSize = 14 + 40;
constexpr int64_t BmpStride(int64_t Width) { return (Width * 3 + 3) / 4 * 4; }

// Whether a Width x Height picture fits the format's fields.
bool Fits(TImgFormat F, int64_t Width, int64_t Height) {
  switch (F) {
    case TImgFormat::Jpg: return Width <= JPEG_MAX_DIMENSION && Height <= JPEG_MAX_DIMENSION;
    case TImgFormat::Png: return Width <= PNG_UINT_31_MAX && Height <= PNG_UINT_31_MAX;
    case TImgFormat::Bmp:
      return Width <= INT32_MAX && Height <= (int64_t{UINT32_MAX} - BmpHeaderSize) / BmpStride(Width);
    default: return true;
  }
}

// The pixel rows of the picture, made from the columns of A a band of cell
// rows at a time: each column is read along a run of rows (contiguous in
// memory) instead of one cell per output row, which matters once the columns
// outgrow the cache. A pixel row depends only on its cell row, so one row of
// the band serves all Scale pixel rows of a cell. The buffer is allocated up
// front; Row never allocates and never throws.
class TPixelRows {
 public:
  // Rows of Stride bytes (Stride >= 3 x Width; the rest stays 0), pixels in
  // R, G, B order or, with Bgr, in B, G, R order.
  TPixelRows(const TInt2DArray& A, int32_t Scale, int64_t Stride, bool Bgr)
      : FA(A), FScale(Scale), FCellRows(static_cast<int64_t>(A[0].size())), FBgr(Bgr) {
    // A band of up to MaxBand cell rows within 1 MiB.
    FBand = std::clamp<int64_t>((int64_t{1} << 20) / Stride, 1, MaxBand);
    FPitch = Stride + 4;
    if (static_cast<uint64_t>(FPitch) * static_cast<uint64_t>(FBand) > PTRDIFF_MAX) throw std::bad_alloc();
    FBuf.assign(static_cast<size_t>(FPitch * FBand), 0);
  }

  // The pixels of the picture's row Y (from the top).
  const uint8_t* Row(int64_t Y) noexcept {
    const int64_t R = Y / FScale;
    if (R < FFirst || R >= FFirst + FCount) Gather(R / FBand * FBand);
    return FBuf.data() + (R - FFirst) * FPitch;
  }

 private:
  void Gather(int64_t First) noexcept {
    FFirst = First;
    FCount = std::min(FBand, FCellRows - First);
    if (FBgr)
      GatherAs<2, 0>();
    else
      GatherAs<0, 2>();
  }
  // Red at byte RedAt of a pixel, blue at BlueAt. A tile of 16 columns of
  // the band at a time: each column gives one run of rows that stays in the
  // cache while the rows of the band take their pixels from it, so neither
  // side strides through memory. A pixel goes out as one 4-byte store whose
  // fourth byte the next pixel overwrites (rows keep a spare byte for it).
  template <int RedAt, int BlueAt>
  void GatherAs() noexcept {
    static_assert(std::endian::native == std::endian::little);
    constexpr int64_t Tile = 16;
    const auto Cols = static_cast<int64_t>(FA.size());
    const int32_t* Runs[Tile];
    for (int64_t C0 = 0; C0 < Cols; C0 += Tile) {
      const int64_t NC = std::min(Tile, Cols - C0);
      for (int64_t C = 0; C < NC; ++C) Runs[C] = FA[static_cast<size_t>(C0 + C)].data() + FFirst;
      // The next tile's runs are requested now: separate columns defeat the
      // hardware's stream detection, and their latencies would add up.
      for (int64_t C = C0 + Tile; C < std::min(C0 + 2 * Tile, Cols); ++C) {
        const char* Run = reinterpret_cast<const char*>(FA[static_cast<size_t>(C)].data() + FFirst);
        for (int64_t B = 0; B < FCount * 4; B += 64) __builtin_prefetch(Run + B);
      }
      for (int64_t K = 0; K < FCount; ++K) {
        uint8_t* Out = FBuf.data() + K * FPitch + C0 * FScale * 3;
        for (int64_t C = 0; C < NC; ++C) {
          const auto V = static_cast<uint32_t>(Runs[C][K]);
          const uint32_t Px = (V & 0xFF) << (8 * RedAt) | (V & 0xFF00) | (V >> 16 & 0xFF) << (8 * BlueAt);
          for (int32_t S = 0; S < FScale; ++S, Out += 3) std::memcpy(Out, &Px, 4);
        }
      }
    }
  }

  // Runs of 64 rows: four cache lines of a column read one after another.
  static constexpr int64_t MaxBand = 64;
  const TInt2DArray& FA;
  const int32_t FScale;
  const int64_t FCellRows;
  const bool FBgr;
  int64_t FPitch = 0;  // of the rows in FBuf: Stride and a spare word
  int64_t FBand = 1, FFirst = 0, FCount = 0;
  std::vector<uint8_t> FBuf;
};

void PutLE(uint8_t* P, uint32_t V, int Bytes) {
  for (int I = 0; I < Bytes; ++I) P[I] = static_cast<uint8_t>(V >> (8 * I));
}

void WriteBmp(TFileStream& F, TPixelRows& Rows, int64_t Width, int64_t Height) {
  const int64_t Stride = BmpStride(Width), Image = Stride * Height;
  std::array<uint8_t, BmpHeaderSize> H{};
  H[0] = 'B';
  H[1] = 'M';
  PutLE(&H[2], static_cast<uint32_t>(BmpHeaderSize + Image), 4);  // file size
  PutLE(&H[10], BmpHeaderSize, 4);                                // offset of the pixels
  PutLE(&H[14], 40, 4);                                           // size of the info header
  PutLE(&H[18], static_cast<uint32_t>(Width), 4);
  PutLE(&H[22], static_cast<uint32_t>(Height), 4);  // positive: rows bottom-up
  PutLE(&H[26], 1, 2);                              // planes
  PutLE(&H[28], 24, 2);                             // bits per pixel
  PutLE(&H[34], static_cast<uint32_t>(Image), 4);   // compression 0 (none) before it
  F.WriteBuffer(H.data(), BmpHeaderSize);
  for (int64_t Y = Height - 1; Y >= 0; --Y) F.WriteBuffer(Rows.Row(Y), Stride);
}

// ---- PNG ---------------------------------------------------------------------------
struct TPngJob {
  TFileStream* F;
  TPixelRows* Rows;
  uint32_t Width, Height;
  std::exception_ptr Raised;  // a failure of the stream, carried past libpng
  char Msg[256];              // libpng's message
};

void PngError(png_structp Png, png_const_charp Msg) {
  auto* J = static_cast<TPngJob*>(png_get_error_ptr(Png));
  std::snprintf(J->Msg, sizeof J->Msg, "%s", Msg);
  png_longjmp(Png, 1);
}
void PngWarning(png_structp, png_const_charp) {}

void PngWrite(png_structp Png, png_bytep Data, size_t Count) {
  auto* J = static_cast<TPngJob*>(png_get_io_ptr(Png));
  try {
    J->F->WriteBuffer(Data, static_cast<int64_t>(Count));
  } catch (...) {
    J->Raised = std::current_exception();
  }
  if (J->Raised) png_error(Png, "write failed");
}
void PngFlush(png_structp) {}

// False when libpng failed; J says why.
bool EncodePng(TPngJob& J) {
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &J, PngError, PngWarning);
  png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
  if (!Info) {
    png_destroy_write_struct(&Png, nullptr);
    std::snprintf(J.Msg, sizeof J.Msg, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_write_struct(&Png, &Info);
    return false;
  }
  png_set_write_fn(Png, &J, PngWrite, PngFlush);
  png_set_user_limits(Png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_set_IHDR(Png, Info, J.Width, J.Height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(Png, Info);
  for (uint32_t Y = 0; Y < J.Height; ++Y) png_write_row(Png, J.Rows->Row(Y));
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  return true;
}

// ---- JPEG --------------------------------------------------------------------------
struct TJpegJob {
  jpeg_compress_struct Cinfo;
  jpeg_error_mgr Err;
  jpeg_destination_mgr Dest;
  std::jmp_buf Jump;
  TFileStream* F;
  TPixelRows* Rows;
  uint32_t Width, Height;
  uint8_t* Out;  // the destination buffer
  size_t OutSize;
  std::exception_ptr Raised;
  char Msg[JMSG_LENGTH_MAX];
};

TJpegJob& JobOf(j_common_ptr C) { return *static_cast<TJpegJob*>(C->client_data); }

void JpegError(j_common_ptr C) {
  auto& J = JobOf(C);
  (*C->err->format_message)(C, J.Msg);
  std::longjmp(J.Jump, 1);
}
void JpegMessage(j_common_ptr) {}  // warnings and traces stay off stderr

void JpegInit(j_compress_ptr C) {
  auto& J = JobOf(reinterpret_cast<j_common_ptr>(C));
  C->dest->next_output_byte = J.Out;
  C->dest->free_in_buffer = J.OutSize;
}
// Writes Count bytes of the buffer; a stream failure leaves through the jump.
void JpegFlushBytes(j_compress_ptr C, size_t Count) {
  auto& J = JobOf(reinterpret_cast<j_common_ptr>(C));
  try {
    J.F->WriteBuffer(J.Out, static_cast<int64_t>(Count));
  } catch (...) {
    J.Raised = std::current_exception();
  }
  if (J.Raised) std::longjmp(J.Jump, 1);
  C->dest->next_output_byte = J.Out;
  C->dest->free_in_buffer = J.OutSize;
}
boolean JpegEmpty(j_compress_ptr C) {
  JpegFlushBytes(C, JobOf(reinterpret_cast<j_common_ptr>(C)).OutSize);
  return TRUE;
}
void JpegTerm(j_compress_ptr C) {
  JpegFlushBytes(C, JobOf(reinterpret_cast<j_common_ptr>(C)).OutSize - C->dest->free_in_buffer);
}

bool EncodeJpeg(TJpegJob& J) {
  J.Cinfo.err = jpeg_std_error(&J.Err);
  J.Err.error_exit = JpegError;
  J.Err.output_message = JpegMessage;
  J.Cinfo.client_data = &J;
  if (setjmp(J.Jump)) {
    jpeg_destroy_compress(&J.Cinfo);
    return false;
  }
  jpeg_create_compress(&J.Cinfo);
  J.Dest.init_destination = JpegInit;
  J.Dest.empty_output_buffer = JpegEmpty;
  J.Dest.term_destination = JpegTerm;
  J.Cinfo.dest = &J.Dest;
  J.Cinfo.image_width = J.Width;
  J.Cinfo.image_height = J.Height;
  J.Cinfo.input_components = 3;
  J.Cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&J.Cinfo);
  jpeg_set_quality(&J.Cinfo, 75, TRUE);
  jpeg_start_compress(&J.Cinfo, TRUE);
  while (J.Cinfo.next_scanline < J.Height) {
    // libjpeg takes rows as non-const but only reads them.
    JSAMPROW Row = const_cast<JSAMPROW>(J.Rows->Row(J.Cinfo.next_scanline));
    jpeg_write_scanlines(&J.Cinfo, &Row, 1);
  }
  jpeg_finish_compress(&J.Cinfo);
  jpeg_destroy_compress(&J.Cinfo);
  return true;
}

[[noreturn]] void LibraryFailed(const std::string& FName, const std::exception_ptr& Raised, const char* Msg) {
  if (Raised) std::rethrow_exception(Raised);
  throw EInOutError("Cannot write image file \"" + FName + "\". " + Msg, 0);
}

void WriteImage(const std::string& FName, TImgFormat Format, const TInt2DArray& A, int32_t Scale,
                int64_t Width, int64_t Height) {
  TPixelRows Rows(A, Scale, Format == TImgFormat::Bmp ? BmpStride(Width) : Width * 3, Format == TImgFormat::Bmp);
  auto F = std::make_unique<TFileStream>(FName, fmCreate);
  try {
    if (Format == TImgFormat::Bmp) {
      WriteBmp(*F, Rows, Width, Height);
    } else if (Format == TImgFormat::Png) {
      TPngJob J{F.get(), &Rows, static_cast<uint32_t>(Width), static_cast<uint32_t>(Height), nullptr, {}};
      if (!EncodePng(J)) LibraryFailed(FName, J.Raised, J.Msg);
    } else {
      std::vector<uint8_t> Out(size_t{1} << 16);
      auto J = std::make_unique<TJpegJob>();
      J->F = F.get();
      J->Rows = &Rows;
      J->Width = static_cast<uint32_t>(Width);
      J->Height = static_cast<uint32_t>(Height);
      J->Out = Out.data();
      J->OutSize = Out.size();
      if (!EncodeJpeg(*J)) LibraryFailed(FName, J->Raised, J->Msg);
    }
    F->Flush();
  } catch (...) {
    F.reset();
    std::remove(FName.c_str());  // no truncated picture behind
    throw;
  }
}

}  // namespace

int32_t SaveArrayAsImg(const std::string& FName, const TInt2DArray& A, int32_t Scale) {
  int32_t Result = Scale < 1 || Scale > 10 ? -2 : 0;
  const TImgFormat Format = FormatOf(FName);
  if (Format == TImgFormat::Unknown) Result = -1;
  if (Result != 0) return Result;
  if (detail::Shape(A).Empty()) return -3;
  const int64_t Width = static_cast<int64_t>(A.size()) * Scale, Height = static_cast<int64_t>(A[0].size()) * Scale;
  if (!Fits(Format, Width, Height)) return -3;
  if (FName.empty()) return -4;
  if (Format == TImgFormat::None) return -1;
  WriteImage(FName, Format, A, Scale, Width, Height);
  return 0;
}

}  // namespace orv
