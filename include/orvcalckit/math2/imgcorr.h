// Unit ORV_math2: the correlation of two image regions. Included through
// ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_graphics.h"

namespace orv {

// What CalcImgCorrelation compares of two pixels.
enum TImgCompareMode : uint8_t {
  icmRed = 0,
  icmBlue = 1,
  icmGreen = 2,
  icmHue = 3,        // H of RGBtoHSI, degrees
  icmLightness = 4,  // I of RGBtoHSI
  icmSaturation = 5,  // S of RGBtoHSI
  icmGrayValues = 6  // RGBtoGray
};

// The correlation coefficient (TCurveFit's CalcStatistics) of the pairs
// (value of pixel (x, y) of Img1, value of pixel (x + dx, y + dy) of Img2),
// (x, y) walking Rgn1 with its right and bottom edges included, x outer;
// dx, dy the offset of Rgn2's top left corner from Rgn1's. So fewer than 3
// pixels give 0, as does a region of constant values; a reversed region
// (Right < Left or Bottom < Top) has no pixels.
// Raises EORVMath2Error, in this order:
//   "image ranges to compare are not of equal size" when Right - Left or
//   Bottom - Top differ between the regions;
//   "image ranges to compare exceed the image size" when a region with
//   pixels reaches outside its bitmap (a nullptr bitmap has none);
//   "unknown image compare mode" for a Mode outside 0..6.
ORV_API double CalcImgCorrelation(const TBitmap* Img1, const TBitmap* Img2, const TRect& Rgn1, const TRect& Rgn2,
                                  TImgCompareMode Mode);

}  // namespace orv
