// TMemBasedLearner: life cycle, settings, distances, predictions, the
// neighbours of the model objects and their contingency table.
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/distance_scan.h"
#include "analysis/ranked_list.h"
#include "core/simd.h"
#include "linalg/svd.h"
#include "tables/datatable_rules.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_membl.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

constexpr int32_t ListSize = 100;  // entries of the neighbour list

}  // namespace

// Per model column: mean and sample variance (MeanVar: 1.0 for up to two
// rows), minimum and maximum, over every stored value.
struct TMemBasedLearner::TStats {
  std::vector<double> Mean, Var, Min, Max;
  int32_t Cols = -1, Rows = -1;  // the model's size when computed
  bool Stale = true;
};

namespace {

// The sums of the terms of objects First + 1 .. First + Len (Len <= ScanBlock).
template <int Bytes>
ORV_SIMD_INLINE void ObjectSumsLanes(const detail::TScanColumn* Cols, int32_t NCols, int64_t First, int32_t Len,
                                     bool Manhattan, double* Sums) {
  if (Manhattan)
    detail::ScanSums<true, Bytes>(Cols, NCols, First, Len, HUGE_VAL, Sums);
  else
    detail::ScanSums<false, Bytes>(Cols, NCols, First, Len, HUGE_VAL, Sums);
}
ORV_SIMD_BY_WIDTH(void, ObjectSums,
                  (const detail::TScanColumn* Cols, int32_t NCols, int64_t First, int32_t Len, bool Manhattan,
                   double* Sums),
                  (Cols, NCols, First, Len, Manhattan, Sums))

}  // namespace

// The distance of CalcDist with the independent columns looked up once: a
// query is set (and scaled) once and measured against many objects.
struct TMemBasedLearner::TDistKernel {
  std::vector<detail::TScanColumn> Cols;  // cells of objects 1..Rows: rounded when categorical
  std::vector<int32_t> Index;             // the column number of each entry of Cols
  std::vector<TDoubleArray> Padded;       // columns of a matrix smaller than the table
  int32_t Rows;
  bool Manhattan;

  explicit TDistKernel(TMemBasedLearner& L)
      : Rows(L.ModelData->NrOfRows()), Manhattan(L.FDistMode == mblDistManhattan) {
    const TDataTable& T = *L.ModelData;
    const TMatrix& M = *T.NumericData;
    const bool Scaled = L.FScalingMode == mblStandardized;
    const TStats* S = Scaled ? &L.Stats() : nullptr;
    for (int32_t C = 1; C <= T.NrOfColumns(); ++C) {
      if (T.ColAttrib(C) != mblVarIndep) continue;
      detail::TScanColumn Col{nullptr, 0.0, detail::IsCategorical(T.MScaleType(C)), Scaled};
      if (C <= M.NrOfColumns() && Rows <= M.NrOfRows()) {
        Col.Cells = M.Mat[Ix1(C)].data();
      } else {  // a host resized an adopted matrix: what it lacks reads 0.0
        TDoubleArray& P = Padded.emplace_back(Ix(Rows), 0.0);
        for (int32_t R = 1; R <= Rows; ++R) P[Ix1(R)] = M.GetVal(C, R);
        Col.Cells = P.data();
      }
      if (S) {
        Col.Mean = S->Mean[Ix1(C)];
        Col.Sd = std::sqrt(S->Var[Ix1(C)]);
      }
      Cols.push_back(Col);
      Index.push_back(C);
    }
  }

  // The query is scaled, never rounded.
  void SetQuery(const TDoubleArray& Sensor) {
    for (size_t J = 0; J < Cols.size(); ++J) Cols[J].Query = detail::ScanScale(Cols[J], Sensor[Ix1(Index[J])]);
  }
  double Distance(double Sum) const { return Manhattan ? Sum : std::sqrt(Sum); }
  // Fn(obj, distance) for obj = 1..N (N <= Rows) except Skip, in order.
  template <class F>
  void ForEachObject(int32_t N, int32_t Skip, F&& Fn) const {
    double Sum[detail::ScanBlock];
    for (int32_t First = 0; First < N; First += detail::ScanBlock) {
      const int32_t Len = std::min(detail::ScanBlock, N - First);
      ObjectSums(Cols.data(), static_cast<int32_t>(Cols.size()), First, Len, Manhattan, Sum);
      for (int32_t I = 0; I < Len; ++I)
        if (First + I + 1 != Skip) Fn(First + I + 1, Distance(Sum[I]));
    }
  }
  // Any object; one outside the model reads 0.0 in every column.
  double Measure(int32_t Obj) const {
    double Sum = 0.0;
    for (const detail::TScanColumn& C : Cols)
      Sum += detail::ScanTerm(C, Obj >= 1 && Obj <= Rows ? C.Cells[Ix1(Obj)] : 0.0, Manhattan);
    return Distance(Sum);
  }
};

TMemBasedLearner::TMemBasedLearner(TComponent* AOwner) : TComponent(AOwner), FStats(std::make_unique<TStats>()) {
  auto Model = std::make_unique<TDataTable>(nullptr);
  ModelData = Model.release();
  WireModel();
}

TMemBasedLearner::~TMemBasedLearner() { delete ModelData; }

std::string TMemBasedLearner::ClassName() const { return "TMemBasedLearner"; }

void TMemBasedLearner::WireModel() {
  ModelData->OnChange = [this](TObject* Sender) { DataTableChanged(Sender); };
  ModelData->OnPercentDone = [this](TObject* Sender, int32_t Percent) { PercDone(Sender, Percent); };
}

void TMemBasedLearner::DataTableChanged(TObject*) { FStats->Stale = true; }

void TMemBasedLearner::PercDone(TObject*, int32_t Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

const TMemBasedLearner::TStats& TMemBasedLearner::Stats() {
  TStats& S = *FStats;
  const TMatrix& M = *ModelData->NumericData;
  const int32_t C = ModelData->NrOfColumns();
  // Resizing the table fires no OnChange, so the size is compared as well.
  if (!S.Stale && S.Cols == C && S.Rows == M.NrOfRows()) return S;
  TStats New;
  New.Mean.resize(Ix(C));
  New.Var.resize(Ix(C));
  New.Min.resize(Ix(C));
  New.Max.resize(Ix(C));
  for (int32_t Col = 1; Col <= C; ++Col) {
    M.MeanVar(Col, 0, Col, 0, New.Mean[Ix1(Col)], New.Var[Ix1(Col)]);
    M.MinMax(Col, 0, Col, 0, New.Min[Ix1(Col)], New.Max[Ix1(Col)]);
  }
  New.Cols = C;
  New.Rows = M.NrOfRows();
  New.Stale = false;
  S = std::move(New);
  return S;
}

// ---- settings ----

void TMemBasedLearner::SetNumNearestNb(int32_t Value) {
  FNumNearestNb = std::max(std::min({Value, ModelData->NrOfRows(), ListSize}), 1);
}

void TMemBasedLearner::SetLocalModel(TMBLLocalModel Value) {
  if (Value <= mblLMRegress) FLocModel = Value;
}

void TMemBasedLearner::SetDistMode(TMBLDistMode Value) {
  if (Value <= mblDistMahalanobis) FDistMode = Value;
}

void TMemBasedLearner::SetScalingMode(TMBLScalingMode Value) {
  if (Value <= mblStandardized) FScalingMode = Value;
}

TMBLVarType TMemBasedLearner::VarType(int32_t Ix) const {
  if (!detail::InAxis(Ix, ModelData->NrOfColumns())) return mblVarIgnore;
  return static_cast<TMBLVarType>(ModelData->ColAttrib(Ix));
}

void TMemBasedLearner::SetVarType(int32_t Ix, TMBLVarType Value) { ModelData->SetColAttrib(Ix, Value); }

void TMemBasedLearner::SetAllVars(TMBLVarType Value) { ModelData->SetColAttributes(Value); }

int32_t TMemBasedLearner::CountIndependentVars() const {
  int32_t N = 0;
  for (int32_t C = 1; C <= ModelData->NrOfColumns(); ++C) N += ModelData->ColAttrib(C) == mblVarIndep;
  return N;
}

int32_t TMemBasedLearner::CountTargetVars() const {
  int32_t N = 0;
  for (int32_t C = 1; C <= ModelData->NrOfColumns(); ++C) N += ModelData->ColAttrib(C) == mblVarTarget;
  return N;
}

// ---- prediction ----

double TMemBasedLearner::CalcDist(const TDoubleArray& Sensor, int32_t obj) {
  if (static_cast<int64_t>(Sensor.size()) < ModelData->NrOfColumns()) return -1.0;
  TDistKernel K(*this);
  K.SetQuery(Sensor);
  return K.Measure(obj);
}

namespace {

// The neighbours of a query as ApplyModel's local models read them.
struct TNeighbours {
  const TDataTable& T;
  const detail::TRankedList& List;
  int32_t K;
  double Target(int32_t Col, int32_t J) const { return T.Elem(Col, List.Obj(J)); }  // J 0-based

  double Mean(int32_t Col, int32_t Count) const {
    double Sum = 0.0;
    for (int32_t J = 0; J < Count; ++J) Sum += Target(Col, J);
    return Sum / Count;
  }
  // The limit of the Gauss weights for sigma -> 0: the neighbours at the
  // smallest distance share the weight.
  double Nearest(int32_t Col) const {
    int32_t Count = 1;
    while (Count < K && List.Dist(Count) == List.Dist(0)) ++Count;
    return Mean(Col, Count);
  }
  double Gauss(int32_t Col, double Sigma) const {
    if (Sigma == 0.0) return Nearest(Col);
    double SumW = 0.0, SumWV = 0.0;
    for (int32_t J = 0; J < K; ++J) {
      const double Z = List.Dist(J) / Sigma;
      const double W = std::exp(-(Z * Z));
      SumW += W;
      SumWV += W * Target(Col, J);
    }
    return SumW == 0.0 ? Nearest(Col) : SumWV / SumW;
  }
  double Majority(int32_t Col, double S) const {
    if (S == 0.0) return T.Elem(Col, 1);
    int32_t Best = 0, BestCount = -1;
    for (int32_t I = 0; I < K; ++I) {
      const double VI = Target(Col, I);
      int32_t Count = 0;
      for (int32_t J = 0; J < K; ++J) Count += std::fabs(VI - Target(Col, J)) < S;
      if (Count > BestCount) {
        Best = I;
        BestCount = Count;
      }
    }
    return Target(Col, Best);
  }
  // Least squares through the neighbours over the independent columns Indep
  // and a constant (the last coefficient), by the SVD, evaluated at Query
  // (the query's values of Indep); fewer neighbours than coefficients give
  // the minimum-norm solution. False for a near-singular or failed fit; a
  // failed one gives the mean.
  bool Regress(int32_t Col, const std::vector<int32_t>& Indep, const TDoubleArray& Query, double& Value) const {
    const auto P = static_cast<int32_t>(Indep.size());
    TMatrix A(nullptr);
    TVector B(nullptr), X(nullptr);
    A.Resize(P + 1, K);
    B.Resize(K);
    X.Resize(P + 1);
    for (int32_t R = 1; R <= K; ++R) {
      for (int32_t J = 1; J <= P; ++J) A.Mat[Ix1(J)][Ix1(R)] = T.Elem(Indep[Ix1(J)], List.Obj(R - 1));
      A.Mat[Ix(P)][Ix1(R)] = 1.0;
      B.SetVal(R, Target(Col, R - 1));
    }
    bool Zeroed = false;
    if (!detail::SVDSolve(&A, &B, &X, nullptr, Zeroed)) {
      Value = Mean(Col, K);
      return false;
    }
    double V = X.GetVal(P + 1);
    for (int32_t J = 1; J <= P; ++J) V += X.GetVal(J) * Query[Ix1(J)];
    Value = V;
    return !Zeroed;
  }
};

}  // namespace

int32_t TMemBasedLearner::ApplyModel(TDoubleArray& Sensor, int32_t ExcludeObj, int32_t Tag) {
  const TDataTable& T = *ModelData;
  const int32_t N = T.NrOfRows();
  if (static_cast<int64_t>(Sensor.size()) != T.NrOfColumns()) {
    std::fill(Sensor.begin(), Sensor.end(), 0.0);
    return -3;
  }
  // A stored model may carry any k; the list holds 100.
  const int32_t K = std::clamp(FNumNearestNb, 1, ListSize);
  const bool Spread = K < N && FLocModel == mblLMWgtGauss;
  detail::TRankedList List(ListSize);
  std::optional<TCurveFit> Distances;  // sigma of the Gauss weights: its StdDevX
  if (Spread) Distances.emplace(nullptr);
  {
    TDistKernel Kernel(*this);
    Kernel.SetQuery(Sensor);
    Kernel.ForEachObject(N, ExcludeObj, [&](int32_t I, double D) {
      List.Insert(D, I);
      if (Spread) Distances->EnterStatValue(D, 1.0);
    });
  }
  int32_t Result = 0;
  if (K >= N) {
    std::fill(Sensor.begin(), Sensor.end(), 0.0);
    Result = -2;
  } else {
    const TNeighbours Nb{T, List, K};
    const double Sigma = Spread ? Distances->StdDevX() : 0.0;
    const TMBLLocalModel Model = FLocModel;
    std::vector<int32_t> Indep;
    TDoubleArray Query;
    if (Model == mblLMRegress)
      for (int32_t C = 1; C <= T.NrOfColumns(); ++C)
        if (T.ColAttrib(C) == mblVarIndep) {
          Indep.push_back(C);
          Query.push_back(Sensor[Ix1(C)]);
        }
    // MathFeedBackProc, which the regressions' decompositions call, may
    // change Sensor or the model: the query is read before, and a Sensor
    // resized or replaced, or a model resized, ends the call with -3.
    const detail::TStorageGuard Watch(Sensor, detail::ShapeOf(T));
    for (int32_t C = 1; C <= T.NrOfColumns(); ++C) {
      if (T.ColAttrib(C) != mblVarTarget) continue;
      double V = 0.0;
      switch (Model) {
        case mblLMAverage: V = Nb.Mean(C, K); break;
        case mblLMWgtGauss: V = Nb.Gauss(C, Sigma); break;
        case mblLMMajority: V = Nb.Majority(C, std::sqrt(Stats().Var[Ix1(C)])); break;
        case mblLMRegress:
          if (!Nb.Regress(C, Indep, Query, V)) Result = -1;
          if (!Watch.Intact()) {
            std::fill(Sensor.begin(), Sensor.end(), 0.0);
            return -3;
          }
          break;
      }
      Sensor[Ix1(C)] = V;
    }
  }
  if (OnModelApplied) {
    TIntArray Nix(Ix(ListSize));
    TDoubleArray Dist(Ix(ListSize));
    for (int32_t R = 0; R < ListSize; ++R) {
      Nix[Ix(R)] = List.Obj(R);
      Dist[Ix(R)] = List.Dist(R);
    }
    OnModelApplied(this, Tag, Nix, Dist, Result);
  }
  return Result;
}

// ---- neighbours of the model objects ----

void TMemBasedLearner::CalcNNOfModelData() {
  const int32_t N = ModelData->NrOfRows();
  TInt2DArray List(Ix(ListSize), TIntArray(Ix(N)));
  TDouble2DArray Dist(Ix(ListSize), TDoubleArray(Ix(N)));
  TDistKernel Kernel(*this);
  detail::TRankedList L(ListSize);
  TDoubleArray Row;
  for (int32_t I = 1; I <= N; ++I) {
    ModelData->CopyDataRowToArray(I, Row);
    Kernel.SetQuery(Row);
    L.Reset();
    Kernel.ForEachObject(N, 0, [&L](int32_t A, double D) { L.Insert(D, A); });
    for (int32_t R = 0; R < ListSize; ++R) {
      List[Ix(R)][Ix1(I)] = L.Obj(R);
      Dist[Ix(R)][Ix1(I)] = L.Dist(R);
    }
  }
  FNNList = std::move(List);
  FNNDist = std::move(Dist);
  FNNObjects = N;
}

int32_t TMemBasedLearner::kNNOfModelData(int32_t k, int32_t obj) const {
  if (!detail::InAxis(k, ListSize) || !detail::InAxis(obj, FNNObjects)) return -1;
  return FNNList[Ix1(k)][Ix1(obj)];
}

double TMemBasedLearner::kNNDistOfModelData(int32_t k, int32_t obj) const {
  if (!detail::InAxis(k, ListSize) || !detail::InAxis(obj, FNNObjects)) return -1.0;
  return FNNDist[Ix1(k)][Ix1(obj)];
}

int32_t TMemBasedLearner::CalcContingencyTable(int32_t VarIx, int32_t NumNb, TInt2DArray& ContTab) {
  const TDataTable& T = *ModelData;
  const int32_t N = T.NrOfRows();
  if (VarIx < 0 || VarIx > T.NrOfColumns()) return -1;
  if (!detail::IsCategorical(T.MScaleType(VarIx))) return -2;
  double Lo = 0.0, Hi = 0.0;
  if (T.MinMaxOfValidCells(VarIx, 0, VarIx, 0, Lo, Hi) == 0) return -3;
  const int64_t A = Round(Lo), B = Round(Hi);
  const double Span = static_cast<double>(B) - static_cast<double>(A) + 1.0;  // no overflow
  if (Span > 100.0 || Span < 2.0) return -3;
  if (A < 1) return -4;
  if (NumNb < 1 || NumNb > std::min(ListSize - 1, N - 1)) return -5;
  const auto Cats = static_cast<int32_t>(B - A + 1);
  CalcNNOfModelData();
  TInt2DArray Tab(Ix(Cats + 1), TIntArray(Ix(Cats + 1), 0));
  const auto Category = [&](int32_t Obj, int32_t& Cat) {
    const double V = T.Elem(VarIx, Obj);
    if (!(V >= static_cast<double>(A) && V <= static_cast<double>(B))) return false;
    Cat = static_cast<int32_t>(Round(V) - A);
    return true;
  };
  for (int32_t R = 2; R <= NumNb + 1; ++R)
    for (int32_t J = 1; J <= N; ++J) {
      int32_t Own = 0, Nb = 0;
      if (Category(J, Own) && Category(FNNList[Ix1(R)][Ix1(J)], Nb)) ++Tab[Ix(Own)][Ix(Nb)];
    }
  // Margins: the row totals into the last column, the column totals into the last row.
  TInt2DArray Core(Tab.begin(), Tab.end() - 1);
  for (TIntArray& Col : Core) Col.pop_back();
  TDoubleArray PerRow, PerCol;
  EdgeVector(Core, orRows, eoSum, PerRow);
  EdgeVector(Core, orColumns, eoSum, PerCol);
  double Total = 0.0;
  for (int32_t I = 0; I < Cats; ++I) {
    Tab[Ix(I)][Ix(Cats)] = RoundInt(PerCol[Ix(I)]);
    Tab[Ix(Cats)][Ix(I)] = RoundInt(PerRow[Ix(I)]);
    Total += PerRow[Ix(I)];
  }
  Tab[Ix(Cats)][Ix(Cats)] = RoundInt(Total);
  ContTab = std::move(Tab);
  return 0;
}

}  // namespace orv
