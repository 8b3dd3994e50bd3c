// TKohonen: life cycle, sizes, the data copy and its standardisation, the
// weights in data units, and the application of a trained map.
#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

#include "core/storage_guard.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_kohonen.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;

namespace {

// Runs Body, which builds the storage of a change aside; any failure to get
// that storage (the owned components raise their own errors with their own,
// empty, names) becomes the map's error.
template <class F>
decltype(auto) Storage(const TKohonen& Self, F&& Body) {
  try {
    return detail::GuardAlloc<EORVMatrixError>(Self, detail::NoHeap, std::forward<F>(Body));
  } catch (const EORVError&) {
    detail::RaiseComponentError<EORVMatrixError>(Self, detail::NoHeap);
  }
}

// Nv elements of Value, reusing the vector.
void ResetVector(TVector& V, int32_t Nv, double Value) {
  V.Resize(Nv);
  V.Fill(Value);
}

// MeanVec 0.0 and StdDevVec 1.0 for the variables the map has when each is
// reset: MeanVec's OnChange may change their count.
void ResetScaling(const TKohonen& K) {
  ResetVector(*K.MeanVec(), K.NrOfInSens(), 0.0);
  ResetVector(*K.StdDevVec(), K.NrOfInSens(), 1.0);
}

}  // namespace

TKohonen::TKohonen(TComponent* AOwner) : TComponent(AOwner) {
  Storage(*this, [&] {
    FKohMat = NewMap(1, 1, 1);
    FMeanVec = std::make_unique<TVector>(nullptr);
    FStdDevVec = std::make_unique<TVector>(nullptr);
    FStdDevVec->Fill(1.0);
    FDataMat = std::make_unique<TMatrix>(nullptr);
    FDataMat->Resize(1, 1);
  });
  SetWeigtsToRandom();
}

TKohonen::~TKohonen() = default;

std::string TKohonen::ClassName() const { return "TKohonen"; }

std::unique_ptr<TMat3D> TKohonen::NewMap(int32_t Nx, int32_t Ny, int32_t Nv) const {
  return Storage(*this, [&] {
    auto M = std::make_unique<TMat3D>(nullptr);
    M->Resize(Nx, Ny, Nv);
    return M;
  });
}

void TKohonen::SetSizeX(int32_t Value) {
  if (Value <= 0) return;
  FKohMat = NewMap(Value, FSizeY, FNrInSens);
  FSizeX = Value;
}

void TKohonen::SetSizeY(int32_t Value) {
  if (Value <= 0) return;
  FKohMat = NewMap(FSizeX, Value, FNrInSens);
  FSizeY = Value;
}

void TKohonen::SetNumInsens(int32_t Value) {
  if (Value <= 0) return;
  // The two large arrays first: a failure there leaves everything as it was.
  std::unique_ptr<TMat3D> Map = NewMap(FSizeX, FSizeY, Value);
  // TrainData's OnChange may resize the grid: the map is then built again.
  const detail::TStorageGuard Grid(FSizeX, FSizeY);
  Storage(*this, [&] { FDataMat->ResizeAndClear(Value, FNrTrnObj); });
  if (!Grid.Intact()) Map = NewMap(FSizeX, FSizeY, Value);
  FKohMat = std::move(Map);
  FNrInSens = Value;
  Storage(*this, [&] { ResetScaling(*this); });
}

void TKohonen::SetTrainData(const TMatrix* Value) {
  if (Value == nullptr || Value->NrOfColumns() < 1) return;
  const int32_t Nv = Value->NrOfColumns(), Rows = Value->NrOfRows();
  std::unique_ptr<TMat3D> Map = NewMap(FSizeX, FSizeY, Nv);
  // TrainData's OnChange may resize the grid: the map is then built again.
  const detail::TStorageGuard Grid(FSizeX, FSizeY);
  if (Value != FDataMat.get()) {
    // It may also change Value or TrainData itself: the cells then come
    // from a copy taken first and go where TrainData, its extents read
    // again, has room for them.
    TDouble2DArray Copy;
    const bool Watched = static_cast<bool>(FDataMat->OnChange);
    if (Watched) Copy = Storage(*this, [&] { return TDouble2DArray(Value->Mat.begin(), Value->Mat.begin() + Nv); });
    const TDouble2DArray& Cells = Watched ? Copy : Value->Mat;
    Storage(*this, [&] { FDataMat->Resize(Nv, Rows); });
    const int32_t NC = std::min(Nv, FDataMat->NrOfColumns()), NR = std::min(Rows, FDataMat->NrOfRows());
    for (int32_t C = 0; C < NC; ++C) std::copy_n(Cells[Ix(C)].begin(), NR, FDataMat->Mat[Ix(C)].begin());
    FDataMat->Changed();
  }
  if (!Grid.Intact()) Map = NewMap(FSizeX, FSizeY, Nv);
  FKohMat = std::move(Map);
  FNrInSens = Nv;
  FNrTrnObj = Rows;
  Storage(*this, [&] { ResetScaling(*this); });
}

void TKohonen::StandardizeData() {
  const int32_t Nv = FNrInSens;
  TVector M(nullptr), S(nullptr);
  Storage(*this, [&] {
    M.Resize(Nv);
    S.Resize(Nv);
  });
  FDataMat->StandardizeColumns(&M, &S);
  for (int32_t V = 1; V <= Nv; ++V) {
    const double Mean = M.GetVal(V), Sd = S.GetVal(V);
    // StandardizeColumns leaves a column of zero variance as it is; centred,
    // it holds what ApplyIt makes of its values (their difference from the
    // mean), so a training object lies at distance 0 from its node there.
    if (Sd == 0.0 && std::isfinite(Mean) && V <= FDataMat->NrOfColumns()) {
      double* P = FDataMat->Mat[Ix(V - 1)].data();
      for (int32_t R = 0; R < FDataMat->NrOfRows(); ++R) P[R] -= Mean;
    }
    // The copy already stood for data = copy K + Mean0 (K the deviation, or
    // 1 where it is 0); now copy = (new copy) Sd + Mean, so the vectors take
    // the composition and keep converting to the original units.
    const double Mean0 = FMeanVec->GetVal(V), Sd0 = FStdDevVec->GetVal(V);
    const double K = Sd0 != 0.0 ? Sd0 : 1.0;
    FMeanVec->SetVal(V, Mean0 + K * Mean);
    FStdDevVec->SetVal(V, K * Sd);
  }
}

double TKohonen::GetWeight(int32_t Ix, int32_t Iy, int32_t Wi) const {
  return FKohMat->GetVal(Ix, Iy, Wi) * FStdDevVec->GetVal(Wi) + FMeanVec->GetVal(Wi);
}

void TKohonen::SetWeigtsToRandom() {
  for (int32_t X = 1; X <= FKohMat->NrOfColumns(); ++X)
    for (int32_t Y = 1; Y <= FKohMat->NrOfRows(); ++Y)
      for (int32_t V = 1; V <= FKohMat->NrOfLayers(); ++V) FKohMat->SetVal(X, Y, V, (Random() - 0.5) * 0.2);
}

void TKohonen::Trainit() {
  FCurStep = 1;
  SetWeigtsToRandom();
  ContinueTraining();
}

void TKohonen::ApplyIt(const TVector* InData, int32_t& BestIx, int32_t& BestIy, double& Distance) const {
  Distance = uc_MaxDouble;
  if (InData == nullptr) return;
  const TMat3D& Map = *FKohMat;
  const int32_t Nv = Map.NrOfLayers();
  std::vector<double> Z = Storage(*this, [Nv] { return std::vector<double>(Ix(Nv)); });
  for (int32_t V = 1; V <= Nv; ++V) {
    const double Sd = FStdDevVec->GetVal(V), Diff = InData->GetVal(V) - FMeanVec->GetVal(V);
    Z[Ix(V - 1)] = Sd != 0.0 ? Diff / Sd : Diff;
  }
  double Best = uc_MaxDouble;
  int32_t BX = 0, BY = 0;
  Map.VisitBlock(0, 0, 0, 0, 0, 0, [&](int32_t X, int32_t Y, std::span<const double> W) {
    double D = 0.0;
    for (int32_t V = 0; V < Nv; ++V) {
      const double T = W[Ix(V)] - Z[Ix(V)];
      D += T * T;
    }
    if (D < Best) Best = D, BX = X, BY = Y;
  });
  if (BX == 0) return;
  Distance = Best;
  BestIx = BX;
  BestIy = BY;
}

}  // namespace orv
