// The one test that an allocation's element count fits the address space of
// this word size (internal; any subsystem may include it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace orv::detail {

// Throws std::bad_alloc when Count elements of Size bytes cannot be addressed
// in this word size, before any allocation is tried (Count is computed in 64
// bits by the caller, so it never wraps; a size_t of 32 bits would).
inline void CheckExtent(int64_t Count, std::size_t Size) {
  if (Count < 0 || static_cast<uint64_t>(Count) > static_cast<uint64_t>(PTRDIFF_MAX) / Size)
    throw std::bad_alloc();
}

}  // namespace orv::detail
