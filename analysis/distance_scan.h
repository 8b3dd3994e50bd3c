// Distances from one query to consecutive rows of a matrix stored by columns
// (internal, header-only): the scan of the neighbour routines of ORV_math2
// and of the memory-based learner.
//
// The rows lie side by side in each column, so a block of rows is measured
// one column at a time into one sum per row, 16 rows in vector registers.
// Each row still takes its terms in column order from 0.0, so every sum has
// the bits of the plain loop
//   double S = 0.0;
//   for (int32_t C = 0; C < NCols; ++C) S += ScanTerm(Cols[C], Cols[C].Cells[Row], Manhattan);
// which a test checks. The vector code uses elementwise IEEE operations only,
// so call ScanSums from an ORV_SIMD_KERNEL of the using source (a clone keeps
// internal linkage, core/simd.h): every clone gives the same bits.
//
// A caller that takes only the rows whose sum is <= a bound that never rises
// (a ranked list: SquareBound) learns which groups of 16 rows it may pass
// over. Leaving a group early, once its partial sums are all beyond the
// bound, would keep the results (terms are >= 0) but cost more in
// mispredicted branches than it saved in reads (measured on 10^5 rows of
// ten uniform columns: few groups of 16 are all beyond after a few columns).
//
// The kernel reads through plain pointers and raises nothing: a caller that
// runs host code between blocks checks its columns again there.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/simd.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// One column of a scan.
struct TScanColumn {
  const double* Cells;  // the column's cell of the scan's row 0
  double Query;         // the query's value in this column
  bool Round = false;   // cells read rounded half to even (categorical)
  bool Scale = false;   // cells read as (x - Mean) / Sd, or x - Mean where Sd is 0
  double Mean = 0.0, Sd = 0.0;
};

// X standardised as the column says.
inline double ScanScale(const TScanColumn& C, double X) {
  return !C.Scale ? X : C.Sd != 0.0 ? (X - C.Mean) / C.Sd : X - C.Mean;
}

// The term of a cell: (Query - x)^2, or |Query - x| for Manhattan, x as read.
inline double ScanTerm(const TScanColumn& C, double X, bool Manhattan) {
  const double D = C.Query - ScanScale(C, C.Round ? RoundHalfEven(X) : X);
  return Manhattan ? std::fabs(D) : D * D;
}

// The rows a caller measures at a time: their sums stay in the first-level cache.
constexpr int32_t ScanBlock = 256;

// A sum of squares s whose rounded square root is <= B is <= this bound:
// sqrt(s) <= B rounds from below B + ulp / 2, so s lies below the square of
// the next double above B and, being a double, not above its rounding
// (infinite where it overflows). Rejects no row a ranked list would take.
// The next double above a finite B >= 0 is the one of the next bit pattern.
inline double SquareBound(double B) {
  const double Up = B >= 0.0 && B < HUGE_VAL ? std::bit_cast<double>(std::bit_cast<uint64_t>(B) + 1)
                                             : std::nextafter(B, HUGE_VAL);
  return Up * Up;
}

namespace scan {

// 16 rows as four vectors of four lanes: GCC keeps vectors up to the
// processor's width in registers, wider ones it may not.
using V4 = double __attribute__((vector_size(32)));
using M4 = int64_t __attribute__((vector_size(32)));
using V2 = double __attribute__((vector_size(16)));
using M2 = int64_t __attribute__((vector_size(16)));

// Vectors go by reference: a vector wider than the baseline's registers by
// value would change the calling convention between the clones (-Wpsabi).
ORV_SIMD_INLINE void Load(V4& V, const double* P) { std::memcpy(&V, P, sizeof V); }
ORV_SIMD_INLINE void Store(double* P, const V4& V) { std::memcpy(P, &V, sizeof V); }
ORV_SIMD_INLINE void Splat(V4& V, double S) { V = V4{S, S, S, S}; }
ORV_SIMD_INLINE void Abs(V4& X) { X = (V4)((M4)X & (M4{} + INT64_MAX)); }

// Comparisons go two lanes at a time: GCC takes a comparison of vectors
// wider than the processor's apart lane by lane, but one of 16 bytes stays
// a vector instruction on every clone.
ORV_SIMD_INLINE void RoundHalfEven(V2& X) {
  const V2 Big = {0x1p52, 0x1p52};
  const V2 C = X < V2{} ? -Big : Big;
  const V2 R = (X + C) - C;
  X = (V2)((M2)X & (M2{} + INT64_MAX)) < Big ? R : X;
}

// RoundHalfEven up to the sign of a zero (which a term's square or absolute
// value drops): below 2^52 in magnitude, adding and taking back 2^52 (with
// the sign of x) rounds to an integer, halves to even; from 2^52 on, and for
// infinities and NaN, x stays as it is.
ORV_SIMD_INLINE void RoundHalfEven(V4& X) {
  V2 P[2];
  std::memcpy(P, &X, sizeof X);
  RoundHalfEven(P[0]);
  RoundHalfEven(P[1]);
  std::memcpy(&X, P, sizeof X);
}

// Four vectors: the 16 rows of a group. Written out lane group by lane
// group, so that they stay in registers.
struct TQuad {
  V4 A = {}, B = {}, C = {}, D = {};
};

ORV_SIMD_INLINE void Load(TQuad& X, const double* P) {
  Load(X.A, P);
  Load(X.B, P + 4);
  Load(X.C, P + 8);
  Load(X.D, P + 12);
}

// Adds the terms of column C for the 16 rows from P to Sums.
template <bool Manhattan>
ORV_SIMD_INLINE void AddColumn(TQuad& Sums, const TScanColumn& C, const double* P) {
  TQuad X;
  V4 T = {};
  Load(X, P);
  if (C.Round) {
    RoundHalfEven(X.A);
    RoundHalfEven(X.B);
    RoundHalfEven(X.C);
    RoundHalfEven(X.D);
  }
  if (C.Scale) {
    Splat(T, C.Mean);
    X = {X.A - T, X.B - T, X.C - T, X.D - T};
    if (C.Sd != 0.0) {
      Splat(T, C.Sd);
      X = {X.A / T, X.B / T, X.C / T, X.D / T};
    }
  }
  Splat(T, C.Query);
  X = {T - X.A, T - X.B, T - X.C, T - X.D};
  if constexpr (Manhattan) {
    Abs(X.A);
    Abs(X.B);
    Abs(X.C);
    Abs(X.D);
    Sums = {Sums.A + X.A, Sums.B + X.B, Sums.C + X.C, Sums.D + X.D};
  } else {
    Sums = {Sums.A + X.A * X.A, Sums.B + X.B * X.B, Sums.C + X.C * X.C, Sums.D + X.D * X.D};
  }
}

// True when each lane of the sums is above Bound (not NaN, not -0.0) or
// NaN with its sign set: the sign of Bound - x is set exactly when x >
// Bound, and a sum that is NaN stays NaN. Bitwise (no comparison, see above).
ORV_SIMD_INLINE bool AllAbove(const TQuad& S, const V4& Bound) {
  const M4 M = (M4)(Bound - S.A) & (M4)(Bound - S.B) & (M4)(Bound - S.C) & (M4)(Bound - S.D);
  const M2 H = __builtin_shufflevector(M, M, 0, 1) & __builtin_shufflevector(M, M, 2, 3);
  return (H[0] & H[1]) < 0;
}

}  // namespace scan

// Sums[i] := the sum over the NCols columns of the terms of row First + i,
// i = 0..Len-1 (a caller's block, Len <= ScanBlock). Returns the groups of
// 16 rows (bit g: rows 16 g .. 16 g + 15, the last group perhaps shorter)
// that may hold a sum <= Bound: the others hold none (every group when
// Bound is HUGE_VAL).
template <bool Manhattan>
ORV_SIMD_INLINE uint32_t ScanSums(const TScanColumn* Cols, int32_t NCols, int64_t First, int32_t Len, double Bound,
                                  double* Sums) {
  using scan::V4;
  V4 Bv = {};
  scan::Splat(Bv, Bound + 0.0);  // -0.0 to +0.0
  const bool Bounded = Bound < HUGE_VAL;
  uint32_t Groups = 0;
  int32_t I = 0;
  for (; I + 16 <= Len; I += 16) {
    scan::TQuad S;
    for (int32_t C = 0; C < NCols; ++C) scan::AddColumn<Manhattan>(S, Cols[C], Cols[C].Cells + First + I);
    scan::Store(Sums + I, S.A);
    scan::Store(Sums + I + 4, S.B);
    scan::Store(Sums + I + 8, S.C);
    scan::Store(Sums + I + 12, S.D);
    Groups |= uint32_t{!Bounded || !scan::AllAbove(S, Bv)} << (I / 16);
  }
  if (I < Len) Groups |= uint32_t{1} << (I / 16);
  for (; I < Len; ++I) {
    double S = 0.0;
    for (int32_t C = 0; C < NCols; ++C) S += ScanTerm(Cols[C], Cols[C].Cells[First + I], Manhattan);
    Sums[I] = S;
  }
  return Groups;
}

}  // namespace orv::detail
