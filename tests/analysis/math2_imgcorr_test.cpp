// The correlation of two image regions.
#include <gtest/gtest.h>

#include <cstdint>

#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_graphics.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::ExpectRaises;

// A W x H bitmap of hashed colours; the reference below repeats the hash in
// Python.
TBitmap Hashed(int32_t W, int32_t H, uint32_t Seed) {
  TBitmap B;
  B.SetSize(W, H);
  for (int32_t X = 0; X < W; ++X)
    for (int32_t Y = 0; Y < H; ++Y) {
      const uint32_t Hash = (static_cast<uint32_t>(X) * 73856093u) ^ (static_cast<uint32_t>(Y) * 19349663u) ^
                            (Seed * 83492791u);
      B.SetPixels(X, Y, static_cast<TColor>((Hash * 2654435761u) >> 8));
    }
  return B;
}

TEST(CalcImgCorrelation, AgainstCorrcoefOfTheChannels) {
  const TBitmap A = Hashed(7, 6, 1), B = Hashed(7, 6, 2);
  // numpy.corrcoef of the 12 pairs of region (1, 1)-(4, 3) of A and
  // (0, 2)-(3, 4) of B, right and bottom included; hue, saturation and
  // intensity by the textbook HSI formulas, grey by the BT.601 weights.
  const double Want[7] = {-0.14703645605241708, 0.17843143137648387, -0.10538898694704048, 0.14533462818324247,
                          -0.21044322536505722, -0.63264006291790975, -0.19526580068500307};
  const TRect R1{1, 1, 4, 3}, R2{0, 2, 3, 4};
  for (int32_t M = 0; M < 7; ++M) {
    const auto Mode = static_cast<TImgCompareMode>(M);
    EXPECT_NEAR(CalcImgCorrelation(&A, &B, R1, R2, Mode), Want[M], 1e-12) << "mode " << M;
    EXPECT_NEAR(CalcImgCorrelation(&A, &A, R1, R1, Mode), 1.0, 1e-12) << "mode " << M;
  }
  // The whole picture, edges included; fewer than 3 pixels and reversed
  // regions give 0.
  EXPECT_NEAR(CalcImgCorrelation(&A, &A, {0, 0, 6, 5}, {0, 0, 6, 5}, icmGrayValues), 1.0, 1e-12);
  EXPECT_EQ(CalcImgCorrelation(&A, &B, {0, 0, 1, 0}, {5, 5, 6, 5}, icmRed), 0.0);
  EXPECT_EQ(CalcImgCorrelation(&A, &B, {3, 3, 2, 2}, {9, 9, 8, 8}, icmRed), 0.0);
  EXPECT_EQ(CalcImgCorrelation(nullptr, nullptr, {3, 3, 2, 2}, {9, 9, 8, 8}, icmRed), 0.0);
  EXPECT_EQ(CalcImgCorrelation(&A, &B, {INT32_MIN, 3, INT32_MAX, 2}, {INT32_MIN, 5, INT32_MAX, 4}, icmRed), 0.0);
}

TEST(CalcImgCorrelation, Raises) {
  const TBitmap A = Hashed(7, 6, 1);
  const char* Unequal = "image ranges to compare are not of equal size";
  const char* Outside = "image ranges to compare exceed the image size";
  const struct {
    const TBitmap *I1, *I2;
    TRect R1, R2;
    int32_t Mode;
    const char* Text;
  } Rows[] = {
      {&A, &A, {0, 0, 2, 2}, {0, 0, 3, 2}, 0, Unequal},
      {&A, &A, {0, 0, 2, 2}, {0, 0, 2, 1}, 0, Unequal},
      {&A, &A, {INT32_MIN, 0, INT32_MAX, 0}, {0, 0, -1, 0}, 0, Unequal},  // widths wrap in 32 bits
      {&A, &A, {0, 0, 7, 1}, {0, 0, 7, 1}, 0, Outside},                   // right edge is pixel 7 of 0..6
      {&A, &A, {0, 0, 1, 1}, {5, 5, 6, 6}, 0, Outside},  // bottom edge is row 6 of 0..5
      {&A, &A, {-1, 0, 1, 1}, {0, 0, 2, 1}, 0, Outside},
      {&A, nullptr, {0, 0, 1, 1}, {0, 0, 1, 1}, 0, Outside},
      {&A, &A, {0, 0, 7, 1}, {0, 0, 6, 1}, 0, Unequal},  // sizes first
      {&A, &A, {0, 0, 2, 2}, {0, 0, 2, 2}, 7, "unknown image compare mode"},
  };
  for (const auto& R : Rows)
    ExpectRaises<EORVMath2Error>(
        [&] { CalcImgCorrelation(R.I1, R.I2, R.R1, R.R2, static_cast<TImgCompareMode>(R.Mode)); }, R.Text);
}

}  // namespace
}  // namespace orv
