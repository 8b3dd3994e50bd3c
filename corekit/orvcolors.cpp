// Base unit Orv_orvcolors: colour conversions.
#include "orvcorekit/Orv_orvcolors.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {

// Luma of ITU-R Recommendation BT.601.
double RGBtoGray(uint8_t R, uint8_t G, uint8_t B) { return 0.299 * R + 0.587 * G + 0.114 * B; }

// Gonzalez and Woods, "Digital Image Processing", 2nd ed., 2002, section 6.2.
void RGBtoHSI(uint8_t R, uint8_t G, uint8_t B, double& H, double& S, double& I) {
  const double r = R / 255.0, g = G / 255.0, b = B / 255.0;
  I = (r + g + b) / 3.0;
  S = I > 0 ? 1.0 - std::min({r, g, b}) / I : 0.0;
  const double Den = std::sqrt((r - g) * (r - g) + (r - b) * (g - b));
  if (Den == 0) {  // r = g = b
    H = 0;
    return;
  }
  // Rounding may push the cosine a hair outside [-1, 1].
  const double Theta = std::acos(std::clamp(((r - g) + (r - b)) / 2.0 / Den, -1.0, 1.0)) * 180.0 / std::numbers::pi;
  H = b <= g ? Theta : 360.0 - Theta;
  if (H >= 360.0) H = 0;
}

}  // namespace orv
