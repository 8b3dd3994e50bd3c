// Platform layer: the bitmap.
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "orvcorekit/Orv_graphics.h"

namespace orv {

std::string TBitmap::ClassName() const { return "TBitmap"; }

void TBitmap::SetSize(int32_t W, int32_t H) {
  W = W < 0 ? 0 : W;
  H = H < 0 ? 0 : H;
  const int64_t Count = int64_t{W} * H;
  // 2^31 x 2^31 pixels pass the 64-bit size_t but no address space.
  if (static_cast<uint64_t>(Count) > static_cast<uint64_t>(PTRDIFF_MAX) / sizeof(TColor)) throw std::bad_alloc();
  std::vector<TColor> Pixels(static_cast<std::size_t>(Count));
  FPixels.swap(Pixels);
  FWidth = W;
  FHeight = H;
}

}  // namespace orv
