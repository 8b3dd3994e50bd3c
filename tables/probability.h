// The bound of every probability the library hands out (internal; the
// statistics of ORV_statis and ORV_math2 include it).
//
// A probability formed from rounded terms (a sum of table probabilities, one
// minus a tail, a ratio of counts summed in double, the exponential of a sum
// of logarithms) may come out a few units in the last place beyond 1 or
// below 0. Every routine that returns a probability or a p-value passes it
// through ClampProbability where it forms it; a routine that only passes on
// another's (a p-value from Chi2DistriUpperTail) needs no second call. Codes
// that are not probabilities (-1 for bad arguments) never go through it.
#pragma once

namespace orv::detail {

// P within [0, 1]; NaN stays NaN.
inline double ClampProbability(double P) { return P > 1 ? 1.0 : P < 0 ? 0.0 : P; }

}  // namespace orv::detail
