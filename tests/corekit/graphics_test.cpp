// The bitmap of the platform layer.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <utility>

#include "orvcorekit/Orv_graphics.h"

namespace orv {
namespace {

TEST(TBitmap, PixelsInsideAndOutside) {
  TBitmap B;
  EXPECT_EQ(B.Width(), 0);
  EXPECT_EQ(B.Pixels(0, 0), -1);
  B.SetSize(3, 2);
  EXPECT_EQ(B.Width(), 3);
  EXPECT_EQ(B.Height(), 2);
  EXPECT_EQ(B.Pixels(2, 1), 0);  // a new size is black
  // The export's cell encoding, low 24 bits kept: 0x7F000000 gives white.
  B.SetPixels(2, 1, 0x0000FF);
  B.SetPixels(0, 1, 0x7FFFFFFF);
  B.SetPixels(1, 0, -1);
  EXPECT_EQ(B.Pixels(2, 1), 0x0000FF);
  EXPECT_EQ(B.Pixels(0, 1), 0xFFFFFF);
  EXPECT_EQ(B.Pixels(1, 0), 0xFFFFFF);
  EXPECT_EQ(B.Pixels(1, 1), 0);  // x and y not exchanged
  // Outside: -1, writes ignored.
  for (const auto& [X, Y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {INT32_MIN, INT32_MIN}}) {
    B.SetPixels(X, Y, 5);
    EXPECT_EQ(B.Pixels(X, Y), -1) << X << ", " << Y;
  }
  B.SetSize(-4, 7);
  EXPECT_EQ(B.Width(), 0);
  EXPECT_EQ(B.Height(), 7);
  B.SetSize(2, 2);
  EXPECT_THROW(B.SetSize(INT32_MAX, INT32_MAX), std::bad_alloc);
  EXPECT_EQ(B.Width(), 2);
  EXPECT_EQ(B.Pixels(1, 1), 0);
  EXPECT_EQ(B.ClassName(), "TBitmap");
}

}  // namespace
}  // namespace orv
