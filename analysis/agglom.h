// The merge loop of AgglomClustering (internal, header-only) and its search
// of the closest pair.
//
//   std::vector<double> D(n * n);      // row-major, symmetric; the diagonal is not read
//   RunMerges(D.data(), n, Method, Beta,
//             [&](int32_t e) { return true; },                        // before step e; false stops
//             [&](int32_t e, int32_t f, int32_t g, double Dist) {});  // slots 0-based, f < g
//
// Each step merges the live pair f < g of the smallest D[f, g], the first in
// the order f up, g up, by strict less-than from uc_MaxReal (where no pair
// lies below it, the first two live slots); slot g takes the merged cluster
// with the Lance-Williams distances of the method, slot f dies. D is
// overwritten.
//
// RunMergesWith takes the search as a parameter (the members of
// TRowMinSearch below), so that a test and the benchmark can run the plain
// search, which scans every live pair in each step (O(n^3) in all), through
// the same loop (tests/support/agglom_plain.h). TRowMinSearch remembers each
// live row's first strict minimum over its partners g > f and takes the
// first strict minimum of those, which is the same pair.
// After a merge only row g is scanned again, and the rows whose remembered
// partner was f or g where the new D[i, g] does not settle the minimum
// (single linkage never grows a distance, so it never needs one); any other
// row i < g sees just one new value, D[i, g], which replaces its minimum
// when smaller, or when equal and g comes first. The scans ask whether a
// slot lives only where its entry would become the minimum, so they run
// over whole rows at the speed of a plain loop. Both give the same merges
// bit for bit (tests/analysis/math2_cluster_test.cpp).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv::detail {

// Calls Fn.template operator()<Method>() for the six methods (cmSingleLink
// for ordinals beyond them).
template <class F>
void WithClusterMethod(TClusterMethod M, F&& Fn) {
  switch (M) {
    case cmCompleteLink: Fn.template operator()<cmCompleteLink>(); return;
    case cmWard: Fn.template operator()<cmWard>(); return;
    case cmAvgLink: Fn.template operator()<cmAvgLink>(); return;
    case cmFlexLink: Fn.template operator()<cmFlexLink>(); return;
    case cmUpgma: Fn.template operator()<cmUpgma>(); return;
    default: Fn.template operator()<cmSingleLink>(); return;
  }
}

// The distance of slot i to the cluster merged from f and g (sizes S*).
template <TClusterMethod M>
inline double LanceWilliams(double Dfi, double Dgi, double Dfg, double Sf, double Sg, double Si, double Beta) {
  if constexpr (M == cmSingleLink) return Dfi < Dgi ? Dfi : Dgi;
  else if constexpr (M == cmCompleteLink) return Dfi > Dgi ? Dfi : Dgi;
  else if constexpr (M == cmWard) return ((Sf + Si) * Dfi + (Sg + Si) * Dgi - Si * Dfg) / (Sf + Sg + Si);
  else if constexpr (M == cmAvgLink) return (Dfi + Dgi) / 2;
  else if constexpr (M == cmFlexLink) return Beta * (Dfi + Dgi) + (1 - 2 * Beta) * Dfg;
  else return (Sf * Dfi + Sg * Dgi) / (Sf + Sg);
}

// The slots of the merge loop as a search sees them: D row-major with N
// columns, the live slots ascending, and a flag per slot.
struct TMergeSlots {
  double* D;
  int32_t N;
  std::vector<int32_t> Live;
  std::vector<char> Alive;
  double& At(int32_t I, int32_t J) const { return D[int64_t{I} * N + J]; }
};

// The pair a search found: F < 0 where no live pair lies below uc_MaxReal.
struct TClosestPair {
  int32_t F = -1, G = -1;
  double Best = uc_MaxReal;
};

// The fast search: the first strict minimum of each live row i over its
// partners j > i, kept up to date after each merge.
class TRowMinSearch {
 public:
  void Start(const TMergeSlots& S) {
    RowMin.assign(Ix(S.N), uc_MaxReal);
    RowAt.assign(Ix(S.N), -1);
    for (int32_t I = 0; I < S.N; ++I) Rescan(S, I);
  }

  TClosestPair Find(const TMergeSlots& S) const {
    TClosestPair P;
    for (const int32_t I : S.Live)
      if (RowMin[Ix(I)] < P.Best) {
        P.Best = RowMin[Ix(I)];
        P.F = I;
      }
    if (P.F >= 0) P.G = RowAt[Ix(P.F)];
    return P;
  }

  // After slot g took the merged cluster and slot f died.
  void Merged(const TMergeSlots& S, int32_t F, int32_t G) {
    for (const int32_t I : S.Live) {
      if (I > G) break;
      if (I == G) {
        Rescan(S, I);
        continue;
      }
      const int32_t Partner = RowAt[Ix(I)];
      const double V = S.At(G, I), Min = RowMin[Ix(I)];  // = D[i, g], read along row g
      // Partner f or g: the other entries of the row stay >= Min, and
      // those before g > Min when g was the partner. A larger value
      // needs the whole row again.
      const bool Partnered = Partner == F || Partner == G;
      if (V < Min || (V == Min && (Partnered ? Partner == G : G < Partner))) {
        RowMin[Ix(I)] = V;
        RowAt[Ix(I)] = G;
      } else if (Partner == F && V == Min) {
        // Entries between f and g may tie with g; none lies below Min.
        const double* Row = S.D + int64_t{I} * S.N;
        int32_t J = F + 1;
        while (!(Row[J] == Min && S.Alive[Ix(J)])) ++J;  // stops at g at the latest
        RowMin[Ix(I)] = Row[J];  // its own bits (-0.0 equals 0.0)
        RowAt[Ix(I)] = J;
      } else if (Partnered) {
        Rescan(S, I);
      }
    }
  }

 private:
  std::vector<double> RowMin;
  std::vector<int32_t> RowAt;

  void Rescan(const TMergeSlots& S, int32_t I) {
    const double* Row = S.D + int64_t{I} * S.N;
    double Best = uc_MaxReal;
    int32_t BestAt = -1;
    for (int32_t J = I + 1; J < S.N; ++J)
      if (Row[J] < Best && S.Alive[Ix(J)]) {
        Best = Row[J];
        BestAt = J;
      }
    RowMin[Ix(I)] = Best;
    RowAt[Ix(I)] = BestAt;
  }
};

template <class SearchT, class BeforeFn, class StepFn>
void RunMergesWith(SearchT& Search, double* D, int32_t N, TClusterMethod Method, double Beta, BeforeFn&& Before,
                   StepFn&& Step) {
  if (N < 2) return;
  TMergeSlots S{D, N, std::vector<int32_t>(Ix(N)), std::vector<char>(Ix(N), 1)};
  std::vector<double> Size(Ix(N), 1.0);
  for (int32_t I = 0; I < N; ++I) S.Live[Ix(I)] = I;
  Search.Start(S);

  WithClusterMethod(Method, [&]<TClusterMethod M>() {
    for (int32_t E = 1; E < N; ++E) {
      if (!Before(E)) return;
      auto [F, G, Best] = Search.Find(std::as_const(S));
      if (F < 0) {  // no pair below uc_MaxReal (infinite or NaN distances)
        F = S.Live[0];
        G = S.Live[1];
        Best = S.At(F, G);
      }

      const double Dfg = S.At(F, G), Sf = Size[Ix(F)], Sg = Size[Ix(G)];
      for (const int32_t I : S.Live) {
        if (I == F || I == G) continue;
        const double Dfi = S.At(F, I), Dgi = S.At(G, I);
        if constexpr (M == cmSingleLink || M == cmCompleteLink) {
          // The result is one of the two: where it is D[g, i] already, the
          // column write (a new cache line and page each) is saved.
          if (M == cmSingleLink ? !(Dfi < Dgi) : !(Dfi > Dgi)) continue;
        }
        const double V = LanceWilliams<M>(Dfi, Dgi, Dfg, Sf, Sg, Size[Ix(I)], Beta);
        S.At(G, I) = V;
        S.At(I, G) = V;
      }
      Size[Ix(G)] = Sf + Sg;
      Size[Ix(F)] = 0.0;
      S.Alive[Ix(F)] = 0;
      std::erase(S.Live, F);
      Search.Merged(std::as_const(S), F, G);
      Step(E, F, G, Best);
    }
  });
}

template <class BeforeFn, class StepFn>
void RunMerges(double* D, int32_t N, TClusterMethod Method, double Beta, BeforeFn&& Before, StepFn&& Step) {
  TRowMinSearch Search;
  RunMergesWith(Search, D, N, Method, Beta, std::forward<BeforeFn>(Before), std::forward<StepFn>(Step));
}

}  // namespace orv::detail
