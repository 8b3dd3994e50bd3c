// Platform layer: the bitmap, as far as the library reads pictures (pixel by
// pixel; no file formats, no canvas drawing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Orv_classes.h"
#include "Orv_export.h"

namespace orv {

// A colour: red in bits 0-7, green in 8-15, blue in 16-23, as the cells of a
// 2-D Integer array that the image export writes.
using TColor = int32_t;

// A picture of Width x Height pixels, (0, 0) top left, x to the right and y
// downwards: the cells A[x][y] of an exported 2-D array and the pixels of a
// bitmap filled from them show the same picture. Created without owner and
// empty (0 x 0).
class ORVCORE_API TBitmap : public TPersistent {
 public:
  TBitmap() = default;
  std::string ClassName() const override;

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  // Negative extents count as 0; every pixel is black (0) afterwards. When
  // the pixels cannot be had std::bad_alloc is raised, the bitmap unchanged.
  void SetSize(int32_t W, int32_t H);

  // The pixel's colour; -1 (no colour) outside the picture.
  TColor Pixels(int32_t X, int32_t Y) const {
    return Inside(X, Y) ? FPixels[Offset(X, Y)] : -1;
  }
  // Keeps Color's low 24 bits; ignored outside the picture.
  void SetPixels(int32_t X, int32_t Y, TColor Color) {
    if (Inside(X, Y)) FPixels[Offset(X, Y)] = Color & 0xFFFFFF;
  }

 private:
  bool Inside(int32_t X, int32_t Y) const {
    return static_cast<uint32_t>(X) < static_cast<uint32_t>(FWidth) &&
           static_cast<uint32_t>(Y) < static_cast<uint32_t>(FHeight);
  }
  std::size_t Offset(int32_t X, int32_t Y) const {
    return static_cast<std::size_t>(Y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(X);
  }

  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::vector<TColor> FPixels;  // row by row
};

}  // namespace orv
