// SaveArrayAsImg: the BMP bytes read by hand, PNG and JPEG decoded with libpng
// and libjpeg, the result codes and the failures of the file.
#include <png.h>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "orvcorekit/Orv_sysutils.h"
#include "tests/support/tempfiles.h"

namespace orv {
namespace {

std::vector<uint8_t> Bytes(const std::string& Name) {
  std::ifstream F(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>()};
}
uint32_t LE(const std::vector<uint8_t>& B, size_t At, int N) {
  uint32_t V = 0;
  for (int I = N - 1; I >= 0; --I) V = V << 8 | B[At + I];
  return V;
}
// A BMP pixel (blue, green, red) as a colour value (red in the low byte).
uint32_t Bgr(const std::vector<uint8_t>& B, size_t At) { return B[At + 2] | B[At + 1] << 8 | B[At] << 16; }

// Cells with distinct colours; the top byte is set where Noise says, to show
// that only the low 24 bits count.
TInt2DArray Colours(int Cols, int Rows, bool Noise = false) {
  TInt2DArray A(Cols, TIntArray(Rows));
  for (int C = 0; C < Cols; ++C)
    for (int R = 0; R < Rows; ++R)
      A[C][R] = static_cast<int32_t>((C * 37 + 11) % 256 | ((R * 53 + 7) % 256) << 8 | ((C * R * 29 + 3) % 256) << 16 |
                                     (Noise && (C + R) % 2 ? 0xA5u << 24 : 0u));
  return A;
}

struct TRgbImage {
  uint32_t Width = 0, Height = 0;
  std::vector<uint8_t> Px;  // R, G, B, rows from the top
  uint32_t At(uint32_t X, uint32_t Y) const {
    const uint8_t* P = &Px[(size_t{Y} * Width + X) * 3];
    return P[0] | P[1] << 8 | P[2] << 16;
  }
};

TRgbImage ReadPng(const std::string& Name) {
  png_image Img{};
  Img.version = PNG_IMAGE_VERSION;
  TRgbImage Out;
  if (!png_image_begin_read_from_file(&Img, Name.c_str())) return Out;
  Img.format = PNG_FORMAT_RGB;
  Out.Px.resize(PNG_IMAGE_SIZE(Img));
  if (png_image_finish_read(&Img, nullptr, Out.Px.data(), 0, nullptr)) {
    Out.Width = Img.width;
    Out.Height = Img.height;
  }
  return Out;
}

TRgbImage ReadJpeg(const std::string& Name) {
  TRgbImage Out;
  FILE* F = std::fopen(Name.c_str(), "rb");
  if (!F) return Out;
  jpeg_decompress_struct D{};
  jpeg_error_mgr Err{};
  D.err = jpeg_std_error(&Err);  // a broken file ends the test program: acceptable here
  jpeg_create_decompress(&D);
  jpeg_stdio_src(&D, F);
  jpeg_read_header(&D, TRUE);
  D.out_color_space = JCS_RGB;
  jpeg_start_decompress(&D);
  Out.Width = D.output_width;
  Out.Height = D.output_height;
  Out.Px.resize(size_t{Out.Width} * Out.Height * 3);
  while (D.output_scanline < D.output_height) {
    JSAMPROW Row = &Out.Px[size_t{D.output_scanline} * Out.Width * 3];
    jpeg_read_scanlines(&D, &Row, 1);
  }
  jpeg_finish_decompress(&D);
  jpeg_destroy_decompress(&D);
  std::fclose(F);
  return Out;
}

TEST(SaveArrayAsImg, BmpBytes) {
  test::TempDir Dir;
  // 3 x 2 cells at Scale 4: 12 x 8 pixels, rows of 36 bytes, bottom-up.
  const TInt2DArray A = Colours(3, 2, true);
  const std::string Name = Dir.File("a.bmp");
  ASSERT_EQ(SaveArrayAsImg(Name, A, 4), 0);
  const auto B = Bytes(Name);
  ASSERT_EQ(B.size(), 54u + 36 * 8);
  EXPECT_EQ(B[0], 'B');
  EXPECT_EQ(B[1], 'M');
  const struct {
    size_t At;
    int N;
    uint32_t Value;
  } Fields[] = {{2, 4, 342}, {6, 4, 0}, {10, 4, 54}, {14, 4, 40}, {18, 4, 12}, {22, 4, 8},
                {26, 2, 1},  {28, 2, 24}, {30, 4, 0}, {34, 4, 288}, {46, 4, 0}, {50, 4, 0}};
  for (const auto& F : Fields) EXPECT_EQ(LE(B, F.At, F.N), F.Value) << "offset " << F.At;
  // Pixel (5, 7), the bottom row, is the first row of the file: cell [1][1] in B, G, R.
  const size_t P = 54 + 5 * 3;
  EXPECT_EQ(Bgr(B, P), static_cast<uint32_t>(A[1][1]) & 0xFFFFFF);
  for (uint32_t Y = 0; Y < 8; ++Y)
    for (uint32_t X = 0; X < 12; ++X) {
      const size_t Q = 54 + (7 - Y) * 36 + X * 3;
      ASSERT_EQ(Bgr(B, Q), static_cast<uint32_t>(A[X / 4][Y / 4]) & 0xFFFFFF);
    }

  // A width of 5 pixels: rows of 15 bytes padded with one 0 to 16.
  const TInt2DArray W = Colours(5, 2);
  ASSERT_EQ(SaveArrayAsImg(Dir.File("w.BMP"), W, 1), 0);
  const auto C = Bytes(Dir.File("w.BMP"));
  ASSERT_EQ(C.size(), 54u + 16 * 2);
  EXPECT_EQ(LE(C, 34, 4), 32u);
  EXPECT_EQ(C[54 + 15], 0);
  EXPECT_EQ(C[54 + 16 + 15], 0);
  EXPECT_EQ(Bgr(C, 54 + 16 + 12), static_cast<uint32_t>(W[4][0]));  // top row last in the file
}

TEST(SaveArrayAsImg, PngPixelsExact) {
  test::TempDir Dir;
  // 37 rows cross the 16-row bands the cells are gathered in.
  const TInt2DArray A = Colours(23, 37, true);
  for (const int Scale : {1, 3}) {
    const std::string Name = Dir.File(std::to_string(Scale) + ".PNG");
    ASSERT_EQ(SaveArrayAsImg(Name, A, Scale), 0);
    const TRgbImage Img = ReadPng(Name);
    ASSERT_EQ(Img.Width, 23u * Scale);
    ASSERT_EQ(Img.Height, 37u * Scale);
    for (uint32_t Y = 0; Y < Img.Height; ++Y)
      for (uint32_t X = 0; X < Img.Width; ++X)
        ASSERT_EQ(Img.At(X, Y), static_cast<uint32_t>(A[X / Scale][Y / Scale]) & 0xFFFFFF) << X << "," << Y;
  }
}

TEST(SaveArrayAsImg, JpegCellCentres) {
  test::TempDir Dir;
  // Colours constant over 2 x 2 cells: the encoder halves the chroma
  // resolution, so only neighbours of different colours blur strongly.
  const TInt2DArray Base = Colours(5, 9);
  TInt2DArray A(10, TIntArray(18));
  for (int C = 0; C < 10; ++C)
    for (int R = 0; R < 18; ++R) A[C][R] = Base[C / 2][R / 2];
  const std::string Name = Dir.File("j.jpg");
  ASSERT_EQ(SaveArrayAsImg(Name, A, 8), 0);
  const TRgbImage Img = ReadJpeg(Name);
  ASSERT_EQ(Img.Width, 80u);
  ASSERT_EQ(Img.Height, 144u);
  for (int C = 0; C < 10; ++C)
    for (int R = 0; R < 18; ++R) {
      const uint32_t Got = Img.At(C * 8 + 4, R * 8 + 4), Want = static_cast<uint32_t>(A[C][R]);
      for (int Ch = 0; Ch < 3; ++Ch)
        EXPECT_NEAR(static_cast<int>(Got >> 8 * Ch & 0xFF), static_cast<int>(Want >> 8 * Ch & 0xFF), 8)
            << "cell " << C << "," << R << " channel " << Ch;
    }
}

TEST(SaveArrayAsImg, ResultCodes) {
  test::TempDir Dir;
  const TInt2DArray Good = Colours(2, 2);
  TInt2DArray Ragged = Colours(3, 2);
  Ragged[2].pop_back();
  const TInt2DArray TallJpeg(1, TIntArray(6551));  // 65510 pixels high at Scale 10
  const struct {
    const char* Name;
    const TInt2DArray& A;
    int32_t Scale, Expected;
  } Cases[] = {
      {"a.png", Good, 0, -2},         {"a.png", Good, 11, -2},
      {"a.gif", Good, 0, -1},         {"a.jpeg", Good, 1, -1},  // a bad extension wins over a bad Scale
      {"a.", Good, 1, -1},            {"", Good, 0, -2},
      {"a.png", {}, 1, -3},           {"a.png", TInt2DArray(2), 1, -3},  // no columns; column 0 without rows
      {"a.bmp", Ragged, 1, -3},       {"", {}, 1, -3},
      {"a.jpg", TallJpeg, 10, -3},    {"", Good, 1, -4},
      {"noext", Good, 1, -1},         {"d.png/noext", Good, 1, -1},  // the point of a folder is no extension
      {"noext", TInt2DArray(2), 1, -3},
  };
  for (const auto& C : Cases) {
    const std::string Name = C.Name[0] ? Dir.File(C.Name) : "";
    EXPECT_EQ(SaveArrayAsImg(Name, C.A, C.Scale), C.Expected) << '"' << C.Name << "\" scale " << C.Scale;
    EXPECT_TRUE(std::filesystem::is_empty(Dir.Path())) << C.Name;
  }
  // Below 65500 pixels the tall JPEG is fine.
  EXPECT_EQ(SaveArrayAsImg(Dir.File("t.jpg"), TallJpeg, 9), 0);
  EXPECT_EQ(ReadJpeg(Dir.File("t.jpg")).Height, 58959u);
  // A BMP file reaches 4 GiB: 10 x 1431656 cells at Scale 10 give rows of
  // 300 bytes, 14316560 of them. (64-bit only: the array takes 57 MB.)
  if constexpr (sizeof(void*) == 8) {
    const TInt2DArray Big(10, TIntArray(1431656));
    EXPECT_EQ(SaveArrayAsImg(Dir.File("big.bmp"), Big, 10), -3);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("big.bmp")));
  }
}

TEST(SaveArrayAsImg, FileFailuresRaiseAndLeaveNothing) {
  test::TempDir Dir;
  const TInt2DArray A = Colours(200, 300);
  for (const char* Ext : {".bmp", ".png", ".jpg"}) {
    SCOPED_TRACE(Ext);
    try {
      SaveArrayAsImg(Dir.File(std::string("missing/a") + Ext), A, 1);
      ADD_FAILURE() << "no exception";
    } catch (const EInOutError& E) {
      EXPECT_EQ(E.ErrorCode, ENOENT);
    }
    // A write that fails midway: the picture is larger than a file buffer.
    const std::string Link = Dir.File(std::string("full") + Ext);
    ASSERT_EQ(::symlink("/dev/full", Link.c_str()), 0);
    try {
      SaveArrayAsImg(Link, A, 4);
      ADD_FAILURE() << "no exception";
    } catch (const EInOutError& E) {
      EXPECT_EQ(E.ErrorCode, ENOSPC);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(Link)));
  }
  EXPECT_TRUE(std::filesystem::is_empty(Dir.Path()));
}

}  // namespace
}  // namespace orv
