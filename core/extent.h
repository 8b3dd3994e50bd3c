// The one test that an allocation's element count fits the address space of
// this word size (internal; any subsystem may include it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace orv::detail {

// True when Count elements of Size bytes can be addressed in this word size
// (Count is computed in 64 bits by the caller, so it never wraps; a size_t
// of 32 bits would).
inline bool Addressable(int64_t Count, std::size_t Size) {
  return Count >= 0 && static_cast<uint64_t>(Count) <= static_cast<uint64_t>(PTRDIFF_MAX) / Size;
}

// Throws std::bad_alloc when they cannot, before any allocation is tried.
inline void CheckExtent(int64_t Count, std::size_t Size) {
  if (!Addressable(Count, Size)) throw std::bad_alloc();
}

}  // namespace orv::detail
