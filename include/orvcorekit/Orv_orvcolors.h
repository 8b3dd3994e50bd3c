// Base unit Orv_orvcolors: colour conversions.
#pragma once

#include <cstdint>

#include "Orv_export.h"

namespace orv {

// The luma of a colour with components 0..255 (ITU-R BT.601 weights):
// 0.299 R + 0.587 G + 0.114 B, in 0..255, not rounded.
ORVCORE_API double RGBtoGray(uint8_t R, uint8_t G, uint8_t B);

// The textbook HSI model (Gonzalez and Woods) of a colour with components
// 0..255, taken as r, g, b = R/255, G/255, B/255:
//   I = (r + g + b) / 3                                    in 0..1
//   S = 1 - min(r, g, b) / I, and 0 for black              in 0..1
//   H = theta when b <= g, else 360 - theta, in degrees 0 <= H < 360, where
//   theta = arccos(((r - g) + (r - b)) / 2 / sqrt((r - g)^2 + (r - b)(g - b)));
//   a grey (r = g = b) has no hue: H = 0.
ORVCORE_API void RGBtoHSI(uint8_t R, uint8_t G, uint8_t B, double& H, double& S, double& I);

}  // namespace orv
