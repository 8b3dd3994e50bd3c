// SaveArrayAsImg beside the same writer fed a prepared row-major RGB buffer
// (libpng, libjpeg with the same settings; for BMP one fwrite of the prepared
// file bytes): what the gather of cells from the columns and the row
// callbacks add to the encoder's own time.
#include <png.h>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"

namespace orv {
namespace {

// Arguments: columns, rows, Scale.
void Sizes(benchmark::internal::Benchmark* B) { B->Args({1000, 1000, 1})->Args({250, 250, 4}); }

const std::string& Scratch(const char* Ext) {
  static std::string Names[3];
  std::string& N = Names[Ext[1] == 'b' ? 0 : Ext[1] == 'p' ? 1 : 2];
  if (N.empty()) N = "/tmp/orv_image_bench_" + std::to_string(::getpid()) + Ext;
  return N;
}

// A smooth picture with a fine pattern, so that the encoders work as on a real one.
TInt2DArray Picture(int Cols, int Rows) {
  TInt2DArray A(Cols, TIntArray(Rows));
  for (int C = 0; C < Cols; ++C)
    for (int R = 0; R < Rows; ++R)
      A[C][R] = (C * 255 / Cols) | ((R * 255 / Rows) << 8) | (((C ^ R) & 15) << 18);
  return A;
}

// Row-major RGB rows of Stride bytes, Scale x Scale pixels per cell.
std::vector<uint8_t> Prepared(const TInt2DArray& A, int Scale, size_t Stride, bool Bgr) {
  const size_t W = A.size() * Scale, H = A[0].size() * Scale;
  std::vector<uint8_t> P(Stride * H);
  for (size_t Y = 0; Y < H; ++Y)
    for (size_t X = 0; X < W; ++X) {
      const auto V = static_cast<uint32_t>(A[X / Scale][Y / Scale]);
      uint8_t* Q = &P[Y * Stride + X * 3];
      Q[Bgr ? 2 : 0] = static_cast<uint8_t>(V);
      Q[1] = static_cast<uint8_t>(V >> 8);
      Q[Bgr ? 0 : 2] = static_cast<uint8_t>(V >> 16);
    }
  return P;
}

void Save(benchmark::State& S, const char* Ext) {
  const TInt2DArray A = Picture(static_cast<int>(S.range(0)), static_cast<int>(S.range(1)));
  const auto Scale = static_cast<int32_t>(S.range(2));
  for (auto _ : S) benchmark::DoNotOptimize(SaveArrayAsImg(Scratch(Ext), A, Scale));
  std::remove(Scratch(Ext).c_str());
}
void BM_SaveArrayAsImg_Bmp(benchmark::State& S) { Save(S, ".bmp"); }
void BM_SaveArrayAsImg_Png(benchmark::State& S) { Save(S, ".png"); }
void BM_SaveArrayAsImg_Jpg(benchmark::State& S) { Save(S, ".jpg"); }

void BM_Prepared_Bmp_fwrite(benchmark::State& S) {
  const TInt2DArray A = Picture(static_cast<int>(S.range(0)), static_cast<int>(S.range(1)));
  const int Scale = static_cast<int>(S.range(2));
  const size_t W = A.size() * Scale, Stride = (W * 3 + 3) / 4 * 4;
  std::vector<uint8_t> File(54, 0);
  const std::vector<uint8_t> Px = Prepared(A, Scale, Stride, true);  // bottom-up order makes no difference here
  File.insert(File.end(), Px.begin(), Px.end());
  for (auto _ : S) {
    FILE* F = std::fopen(Scratch(".bmp").c_str(), "wb");
    std::fwrite(File.data(), 1, File.size(), F);
    std::fclose(F);
  }
  std::remove(Scratch(".bmp").c_str());
}

void BM_Prepared_Png_libpng(benchmark::State& S) {
  const TInt2DArray A = Picture(static_cast<int>(S.range(0)), static_cast<int>(S.range(1)));
  const int Scale = static_cast<int>(S.range(2));
  const auto W = static_cast<uint32_t>(A.size() * Scale), H = static_cast<uint32_t>(A[0].size() * Scale);
  const std::vector<uint8_t> Px = Prepared(A, Scale, size_t{W} * 3, false);
  for (auto _ : S) {
    FILE* F = std::fopen(Scratch(".png").c_str(), "wb");
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    png_init_io(Png, F);
    png_set_IHDR(Png, Info, W, H, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(Png, Info);
    for (uint32_t Y = 0; Y < H; ++Y) png_write_row(Png, &Px[size_t{Y} * W * 3]);
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    std::fclose(F);
  }
  std::remove(Scratch(".png").c_str());
}

void BM_Prepared_Jpg_libjpeg(benchmark::State& S) {
  const TInt2DArray A = Picture(static_cast<int>(S.range(0)), static_cast<int>(S.range(1)));
  const int Scale = static_cast<int>(S.range(2));
  const auto W = static_cast<uint32_t>(A.size() * Scale), H = static_cast<uint32_t>(A[0].size() * Scale);
  std::vector<uint8_t> Px = Prepared(A, Scale, size_t{W} * 3, false);
  for (auto _ : S) {
    FILE* F = std::fopen(Scratch(".jpg").c_str(), "wb");
    jpeg_compress_struct C{};
    jpeg_error_mgr Err{};
    C.err = jpeg_std_error(&Err);
    jpeg_create_compress(&C);
    jpeg_stdio_dest(&C, F);
    C.image_width = W;
    C.image_height = H;
    C.input_components = 3;
    C.in_color_space = JCS_RGB;
    jpeg_set_defaults(&C);
    jpeg_set_quality(&C, 75, TRUE);
    jpeg_start_compress(&C, TRUE);
    while (C.next_scanline < H) {
      JSAMPROW Row = &Px[size_t{C.next_scanline} * W * 3];
      jpeg_write_scanlines(&C, &Row, 1);
    }
    jpeg_finish_compress(&C);
    jpeg_destroy_compress(&C);
    std::fclose(F);
  }
  std::remove(Scratch(".jpg").c_str());
}

BENCHMARK(BM_SaveArrayAsImg_Bmp)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Prepared_Bmp_fwrite)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveArrayAsImg_Png)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Prepared_Png_libpng)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveArrayAsImg_Jpg)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Prepared_Jpg_libjpeg)->Apply(Sizes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv
