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
  EXPECT_EQ(B.Pixels(0, 0), -1);
  B.SetSize(3, 2);
  EXPECT_EQ(B.Pixels(2, 1), 0);  // a new size is black
  // The export's cell encoding with its low 24 bits; x and y not exchanged.
  B.SetPixels(2, 1, 0x0000FF);
  B.SetPixels(0, 1, 0x7FFFFFFF);
  EXPECT_EQ(B.Pixels(2, 1), 0x0000FF);
  EXPECT_EQ(B.Pixels(0, 1), 0xFFFFFF);
  EXPECT_EQ(B.Pixels(1, 1), 0);
  for (const auto& [X, Y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {INT32_MIN, INT32_MIN}}) {
    B.SetPixels(X, Y, 5);
    EXPECT_EQ(B.Pixels(X, Y), -1) << X << ", " << Y;
  }
  B.SetSize(-4, 7);
  EXPECT_EQ(std::pair(B.Width(), B.Height()), std::pair(0, 7));
  B.SetSize(2, 2);
  EXPECT_THROW(B.SetSize(INT32_MAX, INT32_MAX), std::bad_alloc);
  EXPECT_EQ(std::pair(B.Width(), B.Height()), std::pair(2, 2));
}

}  // namespace
}  // namespace orv
