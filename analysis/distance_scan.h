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
// so call ScanSums<Manhattan, Bytes> from a kernel of the using source built
// by ORV_SIMD_BY_WIDTH (a variant keeps internal linkage, core/simd.h): every
// variant gives the same bits.
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

// The 16 rows of a group in vectors of Bytes bytes, the register width of
// each instruction set (GCC keeps a wider vector in memory).
template <int Bytes>
struct TGroup {
  using V = TSimdVector<double, Bytes>;
  using M = TSimdVector<int64_t, Bytes>;
  static constexpr int L = Bytes / sizeof(double);
  static constexpr int Count = 16 / L;
  V X[Count];

  ORV_SIMD_INLINE void Load(const double* P) {
    for (int K = 0; K < Count; ++K) {
      V T;  // a copy: loading into the array itself sends it through memory
      std::memcpy(&T, P + K * L, sizeof T);
      X[K] = T;
    }
  }
  ORV_SIMD_INLINE void Store(double* P) const {
    for (int K = 0; K < Count; ++K) {
      const V T = X[K];
      std::memcpy(P + K * L, &T, sizeof T);
    }
  }

  // RoundHalfEven up to the sign of a zero (which a term's square or
  // absolute value drops): below 2^52 in magnitude, adding and taking back
  // 2^52 (with the sign of x) rounds to an integer, halves to even; from
  // 2^52 on, and for infinities and NaN, x stays as it is.
  ORV_SIMD_INLINE static void RoundHalfEven(V& X) {
    const V Big = V{} + 0x1p52;
    const V C = X < V{} ? -Big : Big;
    const V R = (X + C) - C;
    X = (V)((M)X & (M{} + INT64_MAX)) < Big ? R : X;
  }

  // Adds the terms of column C for the 16 rows from P.
  template <bool Manhattan>
  ORV_SIMD_INLINE void AddColumn(const TScanColumn& C, const double* P) {
    TGroup Y;
    Y.Load(P);
    if (C.Round)
      for (V& T : Y.X) RoundHalfEven(T);
    if (C.Scale) {
      for (V& T : Y.X) T -= C.Mean;
      if (C.Sd != 0.0)
        for (V& T : Y.X) T /= C.Sd;
    }
    for (int K = 0; K < Count; ++K) {
      const V T = C.Query - Y.X[K];
      if constexpr (Manhattan)
        X[K] += (V)((M)T & (M{} + INT64_MAX));
      else
        X[K] += T * T;
    }
  }

  // True when each lane of the sums is above Bound (not NaN, not -0.0) or
  // NaN with its sign set: the sign of Bound - x is set exactly when x >
  // Bound, and a sum that is NaN stays NaN. Bitwise (no comparison).
  ORV_SIMD_INLINE bool AllAbove(double Bound) const {
    M All = (M)(Bound - X[0]);
    for (int K = 1; K < Count; ++K) All &= (M)(Bound - X[K]);
    int64_t H = All[0];
    for (int K = 1; K < L; ++K) H &= All[K];
    return H < 0;
  }
};

}  // namespace scan

// Sums[i] := the sum over the NCols columns of the terms of row First + i,
// i = 0..Len-1 (a caller's block, Len <= ScanBlock), in vectors of Bytes
// bytes. Returns the groups of 16 rows (bit g: rows 16 g .. 16 g + 15, the
// last group perhaps shorter) that may hold a sum <= Bound: the others hold
// none (every group when Bound is HUGE_VAL).
template <bool Manhattan, int Bytes>
ORV_SIMD_INLINE uint32_t ScanSums(const TScanColumn* Cols, int32_t NCols, int64_t First, int32_t Len, double Bound,
                                  double* Sums) {
  const double B = Bound + 0.0;  // -0.0 to +0.0
  const bool Bounded = Bound < HUGE_VAL;
  uint32_t Groups = 0;
  int32_t I = 0;
  for (; I + 16 <= Len; I += 16) {
    scan::TGroup<Bytes> S{};
    for (int32_t C = 0; C < NCols; ++C) S.template AddColumn<Manhattan>(Cols[C], Cols[C].Cells + First + I);
    S.Store(Sums + I);
    Groups |= uint32_t{!Bounded || !S.AllAbove(B)} << (I / 16);
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
