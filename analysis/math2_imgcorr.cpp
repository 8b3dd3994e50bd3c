// The correlation of two image regions.
#include <cstdint>

#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_orvcolors.h"

namespace orv {

namespace {

// A region with pixels lies inside its bitmap.
bool Fits(const TBitmap* Img, const TRect& R) {
  if (R.Right < R.Left || R.Bottom < R.Top) return true;
  const int32_t W = Img ? Img->Width() : 0, H = Img ? Img->Height() : 0;
  return R.Left >= 0 && R.Top >= 0 && R.Right < W && R.Bottom < H;
}

double ValueOf(TColor C, TImgCompareMode Mode) {
  const auto R = static_cast<uint8_t>(C & 0xFF), G = static_cast<uint8_t>((C >> 8) & 0xFF),
             B = static_cast<uint8_t>((C >> 16) & 0xFF);
  double H = 0, S = 0, I = 0;
  switch (Mode) {
    case icmRed: return R;
    case icmBlue: return B;
    case icmGreen: return G;
    case icmGrayValues: return RGBtoGray(R, G, B);
    default: break;
  }
  RGBtoHSI(R, G, B, H, S, I);
  return Mode == icmHue ? H : Mode == icmLightness ? I : S;
}

}  // namespace

double CalcImgCorrelation(const TBitmap* Img1, const TBitmap* Img2, const TRect& Rgn1, const TRect& Rgn2,
                          TImgCompareMode Mode) {
  // Widths in 64 bits: Right - Left of Integers may pass their range.
  if (int64_t{Rgn1.Right} - Rgn1.Left != int64_t{Rgn2.Right} - Rgn2.Left ||
      int64_t{Rgn1.Bottom} - Rgn1.Top != int64_t{Rgn2.Bottom} - Rgn2.Top)
    throw EORVMath2Error("image ranges to compare are not of equal size");
  if (!Fits(Img1, Rgn1) || !Fits(Img2, Rgn2)) throw EORVMath2Error("image ranges to compare exceed the image size");
  if (Mode > icmGrayValues) throw EORVMath2Error("unknown image compare mode");
  TCurveFit Fit(nullptr);
  // A region reversed in one axis has no pixels, however wide the other.
  if (Rgn1.Right >= Rgn1.Left && Rgn1.Bottom >= Rgn1.Top) {
    // Both regions lie inside their bitmaps here, so the offsets fit.
    const int32_t Dx = Rgn2.Left - Rgn1.Left, Dy = Rgn2.Top - Rgn1.Top;
    for (int32_t X = Rgn1.Left; X <= Rgn1.Right; ++X)
      for (int32_t Y = Rgn1.Top; Y <= Rgn1.Bottom; ++Y)
        Fit.EnterStatValue(ValueOf(Img1->Pixels(X, Y), Mode), ValueOf(Img2->Pixels(X + Dx, Y + Dy), Mode));
  }
  int32_t N = 0;
  double MeanX = 0, MeanY = 0, StdDevX = 0, StdDevY = 0, MeanDiff = 0, StdDevDiff = 0, Rxy = 0;
  Fit.CalcStatistics(N, MeanX, MeanY, StdDevX, StdDevY, MeanDiff, StdDevDiff, Rxy);
  return Rxy;
}

}  // namespace orv
