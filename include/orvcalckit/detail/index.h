// Index arithmetic shared by the public headers and the library's sources
// (inline helpers, not API). The library counts and indexes in signed
// integers (int32_t, int64_t for products); the standard containers take
// std::size_t offsets.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>

namespace orv::detail {

// True when Index addresses an element of an axis of Count elements numbered
// from 1. One unsigned comparison covers both ends: 0 and negative indices
// wrap to values above any count.
constexpr bool InAxis(int32_t Index, int32_t Count) {
  return static_cast<uint32_t>(Index) - 1u < static_cast<uint32_t>(Count);
}

// The offset of a 0-based index I >= 0: V[Ix(I)], V[Ix(R * N + C)].
template <std::integral T>
constexpr std::size_t Ix(T I) {
  return static_cast<std::size_t>(I);
}

// The offset of a 1-based index I >= 1: V[Ix1(I)] is element I.
template <std::integral T>
constexpr std::size_t Ix1(T I) {
  return static_cast<std::size_t>(I - 1);
}

}  // namespace orv::detail
