// The signal lengths of the transform components TFastFourier and TWavelet1D
// (internal): both index their halves by shifts, so a length must be a power
// of two, and both stop at 2^23 points.
#pragma once

#include <cstdint>
#include <string_view>

#include "linalg/component.h"

namespace orv::detail {

inline constexpr int32_t MaxTransformSize = int32_t{1} << 23;

// 1, 2, 4, ..., 2^23 and nothing else: a value with one of its low 24 bits
// set is not enough (2^24 + 1 and -2^31 + 1 have one, too).
constexpr bool IsTransformSize(int32_t Size) {
  return Size >= 1 && Size <= MaxTransformSize && (Size & (Size - 1)) == 0;
}

inline constexpr std::string_view NotPowerOf2 = "data length must be power of 2";

// Raises E "data length must be power of 2" for any other size.
template <class E>
void CheckTransformSize(const TComponent& C, int32_t Size) {
  if (!IsTransformSize(Size)) RaiseComponentError<E>(C, NotPowerOf2);
}

}  // namespace orv::detail
