// k-means, centre finding and agglomerative clustering of the rows of a
// TMatrix.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "analysis/agglom.h"
#include "analysis/math2_work.h"
#include "core/combsort.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

const char* const ClusterMethodID[6] = {"single linkage", "complete linkage",   "Ward's method",
                                        "average linkage", "flexible strategy", "unweighted pair group"};

namespace {

double SqrDist(const double* A, const double* B, int32_t P) {
  return detail::RowMeasure<dmSqrEuclidean>(A, B, P);
}

// The centres (row-major, K x P) as the means of their members and the
// sizes; members outside 1..K (none found, or a caller's value never
// replaced) count nowhere.
void ClusterMeans(const std::vector<double>& X, const std::vector<int32_t>& Memb, int32_t K, int32_t P,
                  std::vector<double>& Centre, std::vector<int32_t>& Count) {
  std::fill(Centre.begin(), Centre.end(), 0.0);
  std::fill(Count.begin(), Count.end(), 0);
  for (std::size_t I = 0; I < Memb.size(); ++I) {
    const int32_t M = Memb[I];
    if (M < 1 || M > K) continue;
    double* Cm = Centre.data() + Ix1(M) * Ix(P);
    const double* Xi = X.data() + I * Ix(P);
    for (int32_t C = 0; C < P; ++C) Cm[C] += Xi[C];
    ++Count[Ix1(M)];
  }
  for (int32_t J = 0; J < K; ++J) {
    if (Count[Ix(J)] == 0) continue;
    for (int32_t C = 0; C < P; ++C) Centre[Ix(int64_t{J} * P + C)] /= Count[Ix(J)];
  }
}

void PutCentres(TMatrix& Centres, const std::vector<double>& Centre, int32_t K, int32_t P) {
  for (int32_t J = 0; J < K; ++J)
    for (int32_t C = 0; C < P; ++C) Centres.Mat[Ix(C)][Ix(J)] = Centre[Ix(int64_t{J} * P + C)];
  Centres.Changed();
}

template <class Vec>
void PutInts(TIntVector& V, const Vec& Values) {
  for (std::size_t I = 0; I < Values.size(); ++I) V.SetVal(static_cast<int32_t>(I) + 1, Values[I]);
}

// Sets Data's OnCalcDistance for the length of a call.
class TDistanceHandler {
 public:
  TDistanceHandler(TMatrix& Data, const TOnCalcDistanceEvent& Handler)
      : FData(Data), FSaved(std::exchange(Data.OnCalcDistance, Handler)) {}
  ~TDistanceHandler() { FData.OnCalcDistance = std::move(FSaved); }
  TDistanceHandler(const TDistanceHandler&) = delete;
  TDistanceHandler& operator=(const TDistanceHandler&) = delete;

 private:
  TMatrix& FData;
  TOnCalcDistanceEvent FSaved;
};

// The n x n distances of AgglomClustering, row-major; similarities become
// 1 - similarity. The built-in modes measure as TMatrix.CalcDistMat does,
// through the same kernel, from a row-major copy.
detail::TBigWork DistanceArray(TMatrix& Data, TDistMode Mode) {
  constexpr const char* Name = "AgglomClustering";
  const int32_t N = Data.NrOfRows(), P = Data.NrOfColumns();
  detail::TBigWork D = detail::Math2BigWork(Name, int64_t{N} * N);
  for (int32_t I = 0; I < N; ++I) D[int64_t{I} * N + I] = 0.0;
  const auto Put = [&](int32_t I, int32_t J, double V) {
    D[int64_t{I} * N + J] = V;
    D[int64_t{J} * N + I] = V;
  };
  if (Mode == dmUser) {
    for (int32_t I = 0; I < N; ++I)
      for (int32_t J = I + 1; J < N; ++J) Put(I, J, Data.DistanceOfObjects(dmUser, I + 1, J + 1));
    return D;
  }
  const std::vector<double> X = detail::RowMajorCopy(Name, Data, 1, N);
  const bool BuiltIn = detail::WithMode(Mode, [&]<TDistMode M>() {
    for (int32_t I = 0; I < N; ++I) {
      const double* A = X.data() + Ix(int64_t{I} * P);
      for (int32_t J = I + 1; J < N; ++J) {
        const double* B = X.data() + Ix(int64_t{J} * P);
        const double V = detail::RowMeasure<M>(A, B, P);
        Put(I, J, M == dmTanimoto || M == dmDice ? 1.0 - V : V);
      }
    }
  });
  if (!BuiltIn) std::fill_n(D.get(), int64_t{N} * N, 0.0);  // an ordinal beyond the modes measures 0
  return D;
}

}  // namespace

double kMeansClustering(const TMatrix* Data, int32_t, int32_t, int32_t NClusters, TMatrix* Centres,
                        TIntVector* Memberships) {
  TIntVector Sizes(nullptr);
  return kMeansClustering(Data, 0, 0, NClusters, 0, Centres, Memberships, &Sizes);
}

double kMeansClustering(const TMatrix* Data, int32_t, int32_t, int32_t NClusters, int32_t Seed, TMatrix* Centres,
                        TIntVector* Memberships, TIntVector* ClustSize) {
  constexpr const char* Name = "kMeansClustering";
  if (Data == nullptr || Centres == nullptr || Memberships == nullptr) return -1.0;
  TIntVector OwnSizes(nullptr);
  TIntVector& Sizes = ClustSize != nullptr ? *ClustSize : OwnSizes;
  const int32_t K = NClusters;
  if (K < 1) detail::RaiseMath2("kMeansClustering: number of clusters must be at least 1");
  const int32_t N = Data->NrOfRows(), P = Data->NrOfColumns();
  if (N < K) detail::RaiseMath2("kMeansClustering: number of clusters is greater than number of objects");
  // Copied before the outputs are sized: Centres may be Data.
  const std::vector<double> X = detail::RowMajorCopy(Name, *Data, 1, N);
  if (Centres->NrOfColumns() != P || Centres->NrOfRows() != K) Centres->Resize(P, K);
  if (Memberships->NrOfElem() != N) Memberships->Resize(N);
  Sizes.Resize(K);
  // Host code (the outputs' OnChange as they are sized, MathFeedBackProc
  // each pass) may resize an output: the centres are written straight into
  // their cells, and every output must hold what is reported as done.
  const detail::TStorageGuard Outputs(detail::ShapeOf(*Centres), detail::ShapeOf(*Memberships),
                                      detail::ShapeOf(Sizes));
  if (Centres->NrOfColumns() != P || Centres->NrOfRows() != K || Memberships->NrOfElem() != N ||
      Sizes.NrOfElem() != K)
    return -1.0;

  std::vector<double> Centre = detail::Math2WorkArray(Name, int64_t{K} * P);
  std::vector<int32_t> Count(Ix(K)), Memb(Ix(N));
  if (Seed > 0) SetRandSeed(static_cast<uint64_t>(Seed));
  for (int32_t J = 0; J < K; ++J) {
    const int32_t Row = Seed > 0 ? Random(N) : J;
    std::copy_n(X.data() + Ix(int64_t{Row} * P), P, Centre.data() + Ix(int64_t{J} * P));
  }
  for (int32_t I = 0; I < N; ++I) Memb[Ix(I)] = Memberships->GetVal(I + 1);

  int32_t Pass = 0;
  bool Changed;
  do {
    ++Pass;
    IncProcStat();
    if (!Outputs.Intact()) return -1.0;
    Changed = false;
    for (int32_t I = 0; I < N; ++I) {
      const double* Xi = X.data() + Ix(int64_t{I} * P);
      double Best = DBL_MAX;
      int32_t BestJ = 0;
      for (int32_t J = 0; J < K; ++J) {
        const double D = SqrDist(Xi, Centre.data() + Ix(int64_t{J} * P), P);
        if (D < Best) {
          Best = D;
          BestJ = J + 1;
        }
      }
      if (BestJ != Memb[Ix(I)]) {
        Memb[Ix(I)] = BestJ;
        Changed = true;
      }
    }
    if (Changed) ClusterMeans(X, Memb, K, P, Centre, Count);
  } while (Changed && Pass <= 1000 && !AbortMathProc);

  if (AbortMathProc) {
    PutCentres(*Centres, Centre, K, P);
    PutInts(*Memberships, Memb);
    PutInts(Sizes, Count);
    return -1.0;
  }
  // Also when the caller's memberships were final at once: the centres are
  // then still the start rows and nothing was counted.
  ClusterMeans(X, Memb, K, P, Centre, Count);
  double Result = 0.0;
  for (int32_t I = 0; I < N; ++I) {
    const int32_t M = Memb[Ix(I)];
    Result += M == 0 ? NAN : SqrDist(X.data() + Ix(int64_t{I} * P), Centre.data() + Ix1(M) * Ix(P), P);
  }

  // Renumber by descending size.
  std::vector<int32_t> Order(Ix(K));
  for (int32_t J = 0; J < K; ++J) Order[Ix(J)] = J;
  detail::CombSortByKey(
      int32_t{0}, K - 1, K, false, [&](int32_t I) { return Count[Ix(Order[Ix(I)])]; },
      [&](int32_t I, int32_t J) { std::swap(Order[Ix(I)], Order[Ix(J)]); }, detail::CombNoReport);
  std::vector<int32_t> NewNo(Ix(K)), NewCount(Ix(K));
  std::vector<double> NewCentre(Centre.size());
  for (int32_t R = 0; R < K; ++R) {
    const int32_t Old = Order[Ix(R)];
    NewNo[Ix(Old)] = R + 1;
    NewCount[Ix(R)] = Count[Ix(Old)];
    std::copy_n(Centre.data() + Ix(int64_t{Old} * P), P, NewCentre.data() + Ix(int64_t{R} * P));
  }
  for (int32_t& M : Memb)
    if (M >= 1) M = NewNo[Ix1(M)];
  PutCentres(*Centres, NewCentre, K, P);
  PutInts(*Memberships, Memb);
  PutInts(Sizes, NewCount);
  if (Pass > 1000) detail::RaiseMath2("kMeansClustering: max. number of iterations exceeded");
  return Result;
}

int32_t kMeansEstimatedSteps(int32_t A, int32_t B, int32_t C) {
  const double Da = A, Db = B, Dc = C;
  const double V = 0.18232 * std::sqrt(Da * Db) - 108 - 0.00092427 * Da - 0.00017557 * Da * Dc +
                   0.38775 * std::sqrt(Da * Dc);
  const int32_t Steps = std::isnan(V) ? 0 : RoundInt(V);
  return Steps < 20 ? 20 : Steps;
}

void FindCenters(const TMatrix* Data, int32_t FirstRow, int32_t LastRow, int32_t NCenters, TMatrix* Centres,
                 double& MeanDist) {
  MeanDist = 0.0;
  if (Data == nullptr || Centres == nullptr || NCenters < 1 || Data->NrOfRows() < 1) return;
  const int32_t NRow = Data->NrOfRows(), P = Data->NrOfColumns();
  int32_t Lo = std::clamp(FirstRow, 1, NRow), Hi = std::clamp(LastRow, 1, NRow);
  if (Lo > Hi) std::swap(Lo, Hi);
  const int32_t Count = Hi - Lo + 1;
  const int32_t M = std::min(NCenters, Count);
  // Merging works on a copy, so Data is never changed.
  std::vector<double> X = detail::RowMajorCopy("FindCenters", *Data, Lo, Count);
  const auto Row = [&](int32_t I) { return X.data() + Ix(int64_t{I} * P); };
  std::vector<double> W(Ix(Count), 1.0);
  for (int32_t Cur = Count - 1; Cur + 1 > M; --Cur) {
    IncProcStat();
    double Best = DBL_MAX;
    int32_t Bi = -1, Bj = -1;
    for (int32_t I = 0; I < Cur; ++I)
      for (int32_t J = I + 1; J <= Cur; ++J) {
        const double D = SqrDist(Row(I), Row(J), P);
        if (D < Best) {
          Best = D;
          Bi = I;
          Bj = J;
        }
      }
    if (Bi < 0) break;  // no finite distance left to merge by
    const double Wi = W[Ix(Bi)], Wj = W[Ix(Bj)];
    for (int32_t C = 0; C < P; ++C) Row(Bi)[C] = (Wi * Row(Bi)[C] + Wj * Row(Bj)[C]) / (Wi + Wj);
    W[Ix(Bi)] = Wi + Wj;
    std::copy_n(Row(Cur), P, Row(Bj));
    W[Ix(Bj)] = W[Ix(Cur)];
  }
  for (int32_t R = 0; R < M; ++R)
    for (int32_t C = 1; C <= Centres->NrOfColumns(); ++C) Centres->SetVal(C, R + 1, C <= P ? Row(R)[C - 1] : 0.0);
  if (M < 2) return;
  double Sum = 0.0;
  for (int32_t R = 0; R < M; ++R) {
    double Best = DBL_MAX;
    for (int32_t S = 0; S < M; ++S)
      if (S != R) Best = std::min(Best, SqrDist(Row(R), Row(S), P));
    Sum += std::sqrt(Best);
  }
  MeanDist = Sum / M;
}

int32_t AgglomClustering(TObject* Sender, TMatrix* Data, TDistMode DistMode, TClusterMethod Method,
                         double FlexBeta, TIntMatrix* Dendrogram, TVector* MergeDist, TVector* NodePos,
                         const TAgglomFeedback& FeedBack, const TOnCalcDistanceEvent& OnCalcDist) {
  if (Data == nullptr || Dendrogram == nullptr || MergeDist == nullptr || NodePos == nullptr) return -1;
  TDistanceHandler Handler(*Data, OnCalcDist);
  if (FeedBack) FeedBack(Sender, ProcStat, 0.0);
  const double Beta = FlexBeta < 0.5 ? 0.5 : FlexBeta > 1 ? 1.0 : FlexBeta;
  const int32_t N = Data->NrOfRows();
  const detail::TBigWork D = DistanceArray(*Data, DistMode);

  if (N < 2) {
    // No merge: no dendrogram rows, no merge distances.
    Dendrogram->Resize(3, 0);
    MergeDist->Resize(1);
    MergeDist->Clear();
    NodePos->Resize(1);
    if (N == 1) NodePos->SetVal(1, 1.0);
    else NodePos->Clear();
    AbortMathProc = false;
    return 0;
  }
  if (MergeDist->NrOfElem() != N - 1) MergeDist->Resize(N - 1);
  if (NodePos->NrOfElem() != 2 * N - 1) NodePos->Resize(2 * N - 1);
  if (Dendrogram->NrOfRows() != N - 1 || Dendrogram->NrOfColumns() != 3) Dendrogram->Resize(3, N - 1);

  std::vector<int32_t> Id(Ix(N)), Child1(Ix(N)), Child2(Ix(N));  // merges by step, from 1
  for (int32_t K = 0; K < N; ++K) Id[Ix(K)] = K + 1;
  AbortMathProc = false;
  detail::RunMerges(
      D.get(), N, Method, Beta,
      [&](int32_t E) {
        if (AbortMathProc) return false;
        const double Stat = IncProcStat();
        if (FeedBack) FeedBack(Sender, Stat, 100.0 * E / N);
        return true;
      },
      [&](int32_t E, int32_t F, int32_t G, double Dist) {
        Child1[Ix(E)] = Id[Ix(F)];
        Child2[Ix(E)] = Id[Ix(G)];
        Dendrogram->SetVal(1, E, Id[Ix(F)]);
        Dendrogram->SetVal(2, E, Id[Ix(G)]);
        Dendrogram->SetVal(3, E, E + N);
        MergeDist->SetVal(E, Dist);
        Id[Ix(G)] = E + N;
        Id[Ix(F)] = 0;
      });
  if (AbortMathProc) {
    MergeDist->Clear();
    NodePos->Clear();
    Dendrogram->Fill(0);
    return -1;
  }

  // Drawing order: the last merge's children (first, second), every other
  // merged node in place of its second child followed by its first.
  std::vector<int32_t> Order;
  Order.reserve(Ix(N));
  std::vector<int32_t> Stack = {Child2[Ix(N - 1)], Child1[Ix(N - 1)]};
  while (!Stack.empty()) {
    const int32_t Node = Stack.back();
    Stack.pop_back();
    if (Node <= N) {
      Order.push_back(Node);
    } else {
      Stack.push_back(Child1[Ix(Node - N)]);
      Stack.push_back(Child2[Ix(Node - N)]);
    }
  }
  std::vector<double> Pos(Ix(2 * N));  // [node]
  for (std::size_t Q = 0; Q < Order.size(); ++Q) Pos[Ix(Order[Q])] = static_cast<double>(Q + 1);
  for (int32_t E = 1; E < N; ++E) Pos[Ix(E + N)] = (Pos[Ix(Child1[Ix(E)])] + Pos[Ix(Child2[Ix(E)])]) / 2;
  for (int32_t Node = 1; Node < 2 * N; ++Node) NodePos->SetVal(Node, Pos[Ix(Node)]);
  return 0;
}

}  // namespace orv
