// Nearest neighbours and estimation by the k nearest neighbours.
#include <algorithm>
#include <bit>
#include <cmath>
#include <climits>
#include <cstdint>
#include <vector>

#include "analysis/distance_scan.h"
#include "analysis/ranked_list.h"
#include "core/simd.h"
#include "linalg/svd.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// Range bounds of the neighbour routines: <= 0 is 1, beyond Count is
// Count, exchanged when reversed. False for a matrix without rows.
bool ClampRows(int32_t Count, int32_t& Lo, int32_t& Hi) {
  if (Count < 1) return false;
  Lo = std::clamp(Lo, 1, Count);
  Hi = std::clamp(Hi, 1, Count);
  if (Lo > Hi) std::swap(Lo, Hi);
  return true;
}

// The sums of squares of rows First..First+Len-1 (Len <= ScanBlock) and
// the groups of them that may hold one <= Bound (analysis/distance_scan.h).
template <int Bytes>
ORV_SIMD_INLINE uint32_t SquareSumsLanes(const detail::TScanColumn* Cols, int32_t NCols, int64_t First,
                                         int32_t Len, double Bound, double* Sums) {
  return detail::ScanSums<false, Bytes>(Cols, NCols, First, Len, Bound, Sums);
}
ORV_SIMD_BY_WIDTH(uint32_t, SquareSums,
                  (const detail::TScanColumn* Cols, int32_t NCols, int64_t First, int32_t Len, double Bound,
                   double* Sums),
                  (Cols, NCols, First, Len, Bound, Sums))

// Inserts rows 0..Count-1 of Cols (numbered From + row) into List by their
// Euclidean distance, in order, the terms Beyond added in order after the
// columns'. Most rows lie beyond the list's last entry: they are passed over
// sixteen at a time, and their square root is never taken.
void ScanRows(const std::vector<detail::TScanColumn>& Cols, int32_t Count, int32_t From,
              const std::vector<double>& Beyond, detail::TRankedList& List) {
  double Sum[detail::ScanBlock];
  const int32_t Last = List.Capacity() - 1;
  double Bound = detail::SquareBound(List.Dist(Last));
  const auto NCols = static_cast<int32_t>(Cols.size());
  for (int32_t B0 = 0; B0 < Count; B0 += detail::ScanBlock) {
    const int32_t Len = std::min(detail::ScanBlock, Count - B0);
    // Terms >= 0 (or NaN) keep a group beyond the bound beyond it, and
    // the bound only falls.
    for (uint32_t Groups = SquareSums(Cols.data(), NCols, B0, Len, Bound, Sum); Groups != 0; Groups &= Groups - 1) {
      const int32_t G0 = 16 * std::countr_zero(Groups), G1 = std::min(Len, G0 + 16);
      for (const double T : Beyond)
        for (int32_t I = G0; I < G1; ++I) Sum[I] += T;
      for (int32_t I = G0; I < G1; ++I) {
        if (!(Sum[I] <= Bound)) continue;
        if (List.Insert(std::sqrt(Sum[I]), From + B0 + I) >= 0) Bound = detail::SquareBound(List.Dist(Last));
      }
    }
  }
}

// Ranks rows Lo..Hi by their Euclidean distance to the sample (element v
// against column v, columns beyond Data read as 0), or by DistFunc.
void RankRows(const TMatrix& Data, int32_t Lo, int32_t Hi, const TVector* Sample, const TKnnDistFunc& DistFunc,
              detail::TRankedList& List) {
  if (DistFunc) {
    for (int32_t B = Lo; B <= Hi; ++B) List.Insert(DistFunc(B), B);
    return;
  }
  // Each row's terms in increasing v; sample elements beyond the columns
  // meet zeros, their squares summed in that order.
  const int32_t P = std::min(Data.NrOfColumns(), Sample->NrOfElem());
  std::vector<detail::TScanColumn> Cols;
  for (int32_t V = 1; V <= P; ++V) Cols.push_back({Data.Mat[Ix1(V)].data() + (Lo - 1), Sample->GetVal(V)});
  std::vector<double> Beyond;
  for (int32_t V = P + 1; V <= Sample->NrOfElem(); ++V) Beyond.push_back(Sample->GetVal(V) * Sample->GetVal(V));
  ScanRows(Cols, Hi - Lo + 1, Lo, Beyond, List);
}

// The value of the quadratic model of P variables at X(v), v = 1..P, terms
// as in EstimateByKNN; Term(t) (from 0) is coefficient t or the design cell.
template <class XFn, class TermFn>
void QuadTerms(int32_t P, XFn X, TermFn Term) {
  int32_t T = 0;
  Term(T++, 1.0);
  for (int32_t V = 1; V <= P; ++V) Term(T++, X(V));
  for (int32_t V = 1; V <= P; ++V) Term(T++, X(V) * X(V));
  for (int32_t I = 1; I <= P; ++I)
    for (int32_t J = I + 1; J <= P; ++J) Term(T++, X(I) * X(J));
}

double BiQuadEstimate(const TMatrix& Data, const detail::TRankedList& List, const std::vector<double>& T, int32_t K,
                      const TVector& Sample) {
  const int32_t P = Data.NrOfColumns();
  const int64_t Terms = 1 + 2 * int64_t{P} + int64_t{P} * (P - 1) / 2;
  if (Terms > INT32_MAX) return 0.0;
  const auto NTerms = static_cast<int32_t>(Terms);
  TMatrix A(nullptr);
  TVector B(nullptr), X(nullptr);
  try {
    A.Resize(NTerms, K);
    B.Resize(K);
    X.Resize(NTerms);
  } catch (const EORVError&) {
    return 0.0;  // no room for the model: no estimate, as when it fails
  }
  for (int32_t R = 0; R < K; ++R) {
    const int32_t Row = List.Obj(R);
    QuadTerms(
        P, [&](int32_t V) { return Data.GetVal(V, Row); },
        [&](int32_t Col, double V) { A.Mat[Ix(Col)][Ix(R)] = V; });
    B.SetVal(R + 1, T[Ix(R)]);
  }
  bool Zeroed = false;
  if (!detail::SVDSolve(&A, &B, &X, nullptr, Zeroed)) return 0.0;
  double Est = 0.0;
  QuadTerms(
      P, [&](int32_t V) { return Sample.GetVal(V); },
      [&](int32_t Col, double V) { Est = Col == 0 ? X.GetVal(1) : Est + X.GetVal(Col + 1) * V; });
  return Est;
}

}  // namespace

void FindNearestNeighbors(int32_t K, const TMatrix* Data, int32_t FirstRow, int32_t LastRow, const TVector* Sample,
                          TMatrix* Neighbors, const TKnnDistFunc& DistFunc) {
  if (Data == nullptr || Neighbors == nullptr || (Sample == nullptr && !DistFunc)) return;
  K = std::min({K, 100, Data->NrOfRows()});
  if (K < 1 || !ClampRows(Data->NrOfRows(), FirstRow, LastRow)) return;
  detail::TRankedList List(101);
  RankRows(*Data, FirstRow, LastRow, Sample, DistFunc, List);
  for (int32_t R = 0; R < K; ++R) {
    Neighbors->SetVal(1, R + 1, List.Obj(R));
    Neighbors->SetVal(2, R + 1, List.Dist(R));
  }
}

void MeanDistanceKNN(const TMatrix* Data, int32_t K, int32_t FirstRow, int32_t LastRow, TVector* MeanDist) {
  if (Data == nullptr || MeanDist == nullptr || !ClampRows(Data->NrOfRows(), FirstRow, LastRow)) return;
  const int32_t Count = LastRow - FirstRow + 1, P = Data->NrOfColumns();
  K = std::clamp(K, 1, std::min(50, Count));
  std::vector<detail::TScanColumn> Cols;
  for (int32_t V = 1; V <= P; ++V) Cols.push_back({Data->Mat[Ix1(V)].data() + (FirstRow - 1), 0.0});
  detail::TRankedList List(51);
  for (int32_t I = 0; I < Count; ++I) {
    for (detail::TScanColumn& C : Cols) C.Query = C.Cells[I];
    List.Reset();
    ScanRows(Cols, Count, 0, {}, List);
    double Sum = 0.0;
    for (int32_t R = 0; R < K; ++R) Sum += List.Dist(R);
    MeanDist->SetVal(FirstRow + I, Sum / K);
  }
}

void EstimateByKNN(const TMatrix* Data, const TVector* Targets, int32_t K, TKnnWMode Mode, double Param,
                   const TVector* Sample, double& Estimate, double& MeanDist) {
  Estimate = 0.0;
  MeanDist = 0.0;
  if (Data == nullptr || Targets == nullptr || Sample == nullptr) return;
  const int32_t N = Data->NrOfRows();
  K = std::min({K, 100, N});
  if (K < 1) return;
  detail::TRankedList List(101);
  RankRows(*Data, 1, N, Sample, nullptr, List);
  std::vector<double> T(Ix(K));
  double SumD = 0.0;
  for (int32_t R = 0; R < K; ++R) {
    T[Ix(R)] = Targets->GetVal(List.Obj(R));
    SumD += List.Dist(R);
  }
  const double M = SumD / K;
  MeanDist = M;
  const double Mw = M == 0.0 ? 0.001 : M;
  // Sum w t / sum w; with OnlyPositive over the positive weights alone.
  const auto Weighted = [&](bool OnlyPositive, auto Weight) {
    double Sw = 0.0, Swt = 0.0;
    for (int32_t R = 0; R < K; ++R) {
      const double W = Weight(List.Dist(R));
      if (OnlyPositive && !(W > 0.0)) continue;
      Sw += W;
      Swt += W * T[Ix(R)];
    }
    return Sw == 0.0 ? 0.0 : Swt / Sw;
  };
  switch (Mode) {
    case kwmGauss:
      Estimate = Weighted(false, [&](double D) {
        const double Z = Param * D / Mw;
        return std::exp(-(Z * Z));
      });
      break;
    case kwmAverage: {
      double S = 0.0;
      for (const double V : T) S += V;
      Estimate = S / K;
      break;
    }
    case kwmMedian: {
      TVector V(nullptr);
      V.Resize(K);
      for (int32_t R = 0; R < K; ++R) V.SetVal(R + 1, T[Ix(R)]);
      double Q1 = 0.0, Q2 = 0.0, Q3 = 0.0;
      V.Quartiles(1, K, Q1, Q2, Q3);
      Estimate = Q2;
      break;
    }
    case kwmLinear:
      Estimate = Weighted(true, [&](double D) { return 1 - D / Mw / Param; });
      break;
    case kwmBiQuad:
      Estimate = BiQuadEstimate(*Data, List, T, K, *Sample);
      break;
  }
}

}  // namespace orv
