// Colour conversions.
#include <gtest/gtest.h>

#include "orvcorekit/Orv_orvcolors.h"

namespace {

TEST(Colors, GrayUsesTheLumaWeights) {
  EXPECT_DOUBLE_EQ(orv::RGBtoGray(255, 0, 0), 76.245);
  EXPECT_DOUBLE_EQ(orv::RGBtoGray(0, 255, 0), 149.685);
  EXPECT_DOUBLE_EQ(orv::RGBtoGray(0, 0, 255), 29.07);
  EXPECT_DOUBLE_EQ(orv::RGBtoGray(255, 255, 255), 255.0);
  EXPECT_EQ(orv::RGBtoGray(0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(orv::RGBtoGray(100, 100, 100), 100.0);
}

TEST(Colors, HsiOfPrimariesSecondariesAndGreys) {
  struct Case {
    uint8_t R, G, B;
    double H, S, I;
  };
  // Hues of the colour circle; S = 1 - 3 min / (r + g + b); I the mean.
  const Case Cases[] = {
      {255, 0, 0, 0, 1, 1.0 / 3},     {255, 255, 0, 60, 1, 2.0 / 3},  {0, 255, 0, 120, 1, 1.0 / 3},
      {0, 255, 255, 180, 1, 2.0 / 3}, {0, 0, 255, 240, 1, 1.0 / 3},   {255, 0, 255, 300, 1, 2.0 / 3},
      {255, 255, 255, 0, 0, 1},       {0, 0, 0, 0, 0, 0},             {51, 51, 51, 0, 0, 0.2},
      // theta = arccos(0.5 (0.2 + 0.4) / sqrt(0.04 + 0.08)) = arccos(0.866025...) = 30 degrees
      {255, 204, 153, 30, 1 - 0.6 / 0.8, 0.8}};
  for (const Case& C : Cases) {
    double H = -1, S = -1, I = -1;
    orv::RGBtoHSI(C.R, C.G, C.B, H, S, I);
    EXPECT_NEAR(H, C.H, 1e-6) << int(C.R) << "," << int(C.G) << "," << int(C.B);
    EXPECT_NEAR(S, C.S, 1e-12);
    EXPECT_NEAR(I, C.I, 1e-12);
  }
  // A hue never reaches 360.
  double H, S, I;
  orv::RGBtoHSI(255, 0, 1, H, S, I);
  EXPECT_GT(H, 359);
  EXPECT_LT(H, 360);
}

}  // namespace
