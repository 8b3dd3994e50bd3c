// Binomial coefficients from their factors, exact in integers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace orv::detail {

// C(a, j) (0 unless 0 <= j <= a), by C(a, i) = C(a, i - 1) (a - i + 1) / i for
// i = 1..min(j, a - j): every partial result is itself a binomial
// coefficient, so with T an integer type each division is exact. The
// partials grow, so the loop stops at the first one above Limit (or at a
// product beyond the range of T) and returns a value above Limit.
template <class T>
T Binomial(int64_t a, int64_t j, T Limit) {
  if (j < 0 || j > a) return 0;
  const int64_t J = std::min(j, a - j);
  T C = 1;
  for (int64_t i = 1; i <= J; ++i) {
    T Product;
    if constexpr (std::is_integral_v<T>) {
      if (__builtin_mul_overflow(C, static_cast<T>(a - i + 1), &Product)) return Limit + 1;
    } else {
      Product = C * static_cast<T>(a - i + 1);
    }
    C = Product / static_cast<T>(i);
    if (C > Limit) return C;
  }
  return C;
}

}  // namespace orv::detail
