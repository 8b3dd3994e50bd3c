// Cell conversions between the element types of ORV_openarrays and the
// wrapping arithmetic of its Integer cells (internal, header-only). No cell is
// ever converted with a plain cast: a double out of the target's range makes
// that undefined.
//
//   DoubleToInt(X)      clamp into [-2147483648, 2147483647] (NaN: 2147483647),
//                       then round half to even: 2.5 -> 2, 3.5 -> 4, -0.5 -> 0
//   DoubleToSingle(X)   round to the nearest single; beyond the single range
//                       +-infinity, the IEEE overflow result; NaN stays NaN
//   ConvertCell<To>(X)  the conversion of a cell into type To: the two above,
//                       exact otherwise (Integer and single to double, same type)
//   WrapAdd, WrapSub, WrapMul, WrapNeg, WrapAbs (core/intwrap.h, included)
//                       32-bit results modulo 2^32, as the Integer
//                       arithmetic wraps: WrapAbs(-2147483648) = -2147483648
//   SpanScale(Lo, Hi)   1, or 0.5 when Hi - Lo of two finite bounds overflows:
//                       a routine that maps onto or from [Lo, Hi] computes
//                       (Lo * s + (Hi * s - Lo * s) * t) / s, which is its
//                       plain formula bit for bit when s is 1, and stays
//                       finite inside the range when it is 0.5 (halving and
//                       doubling such large values are exact)
//
// DoubleToInt differs from RoundInt (Orv_system.h) only for NaN, which
// RoundInt maps to 0.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/intwrap.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

inline int32_t DoubleToInt(double X) {
  if (X != X) return INT32_MAX;
  return static_cast<int32_t>(Round(std::clamp(X, -2147483648.0, 2147483647.0)));
}

inline float DoubleToSingle(double X) {
  // FLT_MAX plus half its last step, 2^128 - 2^103: from here on a value
  // rounds to infinity (the tie goes to the even neighbour, which is 2^128).
  constexpr double Overflow = 0x1.ffffffp127;
  if (X > FLT_MAX || X < -FLT_MAX) {
    const float Edge = std::fabs(X) >= Overflow ? std::numeric_limits<float>::infinity() : FLT_MAX;
    return X > 0 ? Edge : -Edge;
  }
  return static_cast<float>(X);
}

template <class To, class From>
To ConvertCell(From X) {
  if constexpr (std::is_same_v<To, From>)
    return X;
  else if constexpr (std::is_same_v<To, int32_t> && std::is_same_v<From, double>)
    return DoubleToInt(X);
  else if constexpr (std::is_same_v<To, float> && std::is_same_v<From, double>)
    return DoubleToSingle(X);
  else {
    static_assert(std::is_same_v<To, double> && (std::is_same_v<From, int32_t> || std::is_same_v<From, float>),
                  "no such cell conversion");
    return static_cast<double>(X);
  }
}

inline double SpanScale(double Lo, double Hi) { return std::isfinite(Hi - Lo) ? 1.0 : 0.5; }

}  // namespace orv::detail
