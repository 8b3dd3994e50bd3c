// 32-bit Integer arithmetic that wraps around on overflow, as the platform's
// Integer does (internal, header-only). Routines documented to form sums,
// products or differences "in 32 bits" (the integer vector's and integer
// matrix's Sum, DotProduct, Add, SMult, ...) compute through these, so the
// result is the same in both builds and no signed overflow is undefined.
// Give them int32_t; any other type gets the plain operation, so a template
// over the element type writes WrapAdd(S, X) once for doubles and integers.
#pragma once

#include <cstdint>
#include <type_traits>

namespace orv::detail {

template <class T>
constexpr T WrapAdd(T A, T B) {
  if constexpr (std::is_same_v<T, int32_t>)
    return static_cast<int32_t>(static_cast<uint32_t>(A) + static_cast<uint32_t>(B));
  else
    return A + B;
}

template <class T>
constexpr T WrapSub(T A, T B) {
  if constexpr (std::is_same_v<T, int32_t>)
    return static_cast<int32_t>(static_cast<uint32_t>(A) - static_cast<uint32_t>(B));
  else
    return A - B;
}

template <class T>
constexpr T WrapMul(T A, T B) {
  if constexpr (std::is_same_v<T, int32_t>)
    return static_cast<int32_t>(static_cast<uint32_t>(A) * static_cast<uint32_t>(B));
  else
    return A * B;
}

template <class T>
constexpr T WrapNeg(T A) {
  if constexpr (std::is_same_v<T, int32_t>)
    return static_cast<int32_t>(0u - static_cast<uint32_t>(A));
  else
    return -A;
}

// |A|, where |-2147483648| wraps to itself.
template <class T>
constexpr T WrapAbs(T A) {
  return A < 0 ? WrapNeg(A) : A;
}

}  // namespace orv::detail
