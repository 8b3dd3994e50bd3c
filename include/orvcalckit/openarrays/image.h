// Unit ORV_openarrays: a 2-D array of colours written as a picture. Included
// through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include <string>

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Writes A as a picture in which every cell is a square of Scale x Scale
// pixels: column index to the right, row index downwards, the cell's low 24
// bits its colour (red in bits 0-7, green 8-15, blue 16-23; higher bits are
// ignored). The format follows FName's extension, the text from the last
// point of the last path component ('/' separates them), letters A-Z taken as
// a-z: ".bmp" a 24-bit Windows bitmap, ".png" an 8-bit RGB PNG at libpng's
// default compression, ".jpg" a JPEG of quality 75 (libjpeg's defaults).
// Memory stays proportional to the picture's width, whatever Scale.
//
// Results, in the order they are checked:
//   -2  Scale below 1 or above 10;
//   -1  an extension that is none of ".bmp", ".png", ".jpg" (".jpeg" too);
//       it wins over -2;
//   -3  A empty (no columns, or column 0 without rows) or ragged, or the
//       picture larger than its format holds (JPEG: 65500 pixels per side;
//       PNG: 2147483647; BMP: 2147483647 per side and a file below 4 GiB);
//   -4  FName empty: the picture would go to a clipboard, and this system
//       has none;
//   -1  FName without an extension;
//    0  the file was written.
// Nothing is written unless the result is 0. A file that cannot be created or
// written raises EInOutError (ErrorCode the errno), as does a failure inside
// libpng or libjpeg (their message, ErrorCode 0); a file left incomplete by a
// failure is removed first.
ORV_API int32_t SaveArrayAsImg(const std::string& FName, const TInt2DArray& A, int32_t Scale);

}  // namespace orv
