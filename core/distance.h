// Distances and similarities between two rows of numbers (internal,
// header-only, layer-neutral): TMatrix's row distances and the 2-D array
// routine DistanceOfObjects compute them here, so both give the same bits.
//
//   double D = Measure<dmEuclidean>(NCol, X, Y);   // X(c), Y(c): the cells, c = 0..NCol-1
//   WithMode(Mode, [&]<TDistMode M>() { D = Measure<M>(NCol, X, Y); });
//
// Sums run over c in increasing order from 0.0. Tanimoto and Dice with a
// zero denominator (both rows zero, or too small to square): 1.0 when the
// rows are equal over the range, else 0.0.
#pragma once

#include <cmath>
#include <cstdint>

#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// The measure of mode Mode between two rows of NCol cells, read through X(c)
// and Y(c) for c = 0..NCol-1 in that order.
template <TDistMode Mode, class RowX, class RowY>
double Measure(int64_t NCol, RowX X, RowY Y) {
  if constexpr (Mode == dmTanimoto || Mode == dmDice) {
    double Sxy = 0.0, Sxx = 0.0, Syy = 0.0;
    for (int64_t C = 0; C < NCol; ++C) {
      const double A = X(C), B = Y(C);
      Sxy += A * B;
      Sxx += A * A;
      Syy += B * B;
    }
    const double Denom = Mode == dmTanimoto ? Sxx + Syy - Sxy : Sxx + Syy;
    if (Denom == 0.0) {
      // 0/0: rows that are all zero (or too small to square). Equal rows are
      // as similar as rows can be; unequal ones share nothing measurable.
      for (int64_t C = 0; C < NCol; ++C)
        if (X(C) != Y(C)) return 0.0;
      return 1.0;
    }
    return Mode == dmTanimoto ? Sxy / Denom : 2 * Sxy / Denom;
  } else if constexpr (Mode == dmCityBlock) {
    double S = 0.0;
    for (int64_t C = 0; C < NCol; ++C) S += std::fabs(X(C) - Y(C));
    return S;
  } else {
    static_assert(Mode == dmEuclidean || Mode == dmSqrEuclidean, "no built-in measure");
    double S = 0.0;
    for (int64_t C = 0; C < NCol; ++C) {
      const double D = X(C) - Y(C);
      S += D * D;
    }
    return Mode == dmEuclidean ? std::sqrt(S) : S;
  }
}

// Calls Fn.template operator()<Mode>() for the built-in modes; false for
// others (dmUser, or an ordinal beyond the enumeration).
template <class F>
bool WithMode(TDistMode Mode, F&& Fn) {
  switch (Mode) {
    case dmTanimoto:
      Fn.template operator()<dmTanimoto>();
      return true;
    case dmCityBlock:
      Fn.template operator()<dmCityBlock>();
      return true;
    case dmEuclidean:
      Fn.template operator()<dmEuclidean>();
      return true;
    case dmSqrEuclidean:
      Fn.template operator()<dmSqrEuclidean>();
      return true;
    case dmDice:
      Fn.template operator()<dmDice>();
      return true;
    default:
      return false;
  }
}

}  // namespace orv::detail
