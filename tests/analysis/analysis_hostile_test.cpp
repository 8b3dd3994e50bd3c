// Host code that resizes, empties or moves what a routine of the curve
// fitter, the memory-based learner or the self-organising map works on, from
// the components' events, their feedback and MathFeedBackProc, on its first,
// second and a middle call (support/hostile.h). The Fourier and wavelet
// components call no host code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_kohonen.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_membl.h"
#include "support/components.h"
#include "support/hostile.h"
#include "support/tempfiles.h"

namespace orv {
namespace {

using namespace test::hostile_names;
using test::Values;

// ---- TCurveFit ----
enum class TPolyForm { Plain, PlainAlpha, Centred, CentredAlpha };
enum class TPolyAttack { Pairs, Coeffs, Alpha };

// A fit of order 2 through 12 pairs, MathFeedBackProc (called by the
// decomposition) attacking the fitter's pairs, kArray or Alpha. kArray holds
// a cell more than the fit writes, which it keeps; so its Now, when kArray
// is attacked, is the fit into kArray as the handler left it.
THostileOutcome PolyFit(THostile& H, TPolyForm Form, TPolyAttack Attack) {
  TCurveFit F(nullptr);
  for (int32_t I = 1; I <= 12; ++I) F.EnterStatValue(I, 0.5 * I * I - 3 * I + std::sin(I));
  const auto Fit = [&](TDoubleArray& K) {
    TDoubleArray A{5};
    double Shift = 0, Q = 0;
    bool Near = false, Ok = false;
    if (Attack == TPolyAttack::Alpha) MathFeedBackProc = H.On(A);
    switch (Form) {
      case TPolyForm::Plain: Ok = F.CalcPolyFit(2, K, Q, Near); break;
      case TPolyForm::PlainAlpha: Ok = F.CalcPolyFit(2, K, A, Q, Near); break;
      case TPolyForm::Centred: Ok = F.CalcCenteredPolyFit(2, K, Shift, Q, Near); break;
      case TPolyForm::CentredAlpha: Ok = F.CalcCenteredPolyFit(2, K, A, Shift, Q, Near); break;
    }
    return Outcome(Ok, K, A, Shift, Q, Near);
  };
  TDoubleArray K{9, 9, 9, 9}, Left;
  if (Attack == TPolyAttack::Pairs) MathFeedBackProc = H.On(F);
  if (Attack == TPolyAttack::Coeffs) MathFeedBackProc = H.On(K, [&] { Left = K; });
  const std::vector<double> Got = Fit(K);
  if (Attack != TPolyAttack::Coeffs || !H.Acted()) return {Got};
  MathFeedBackProc = nullptr;
  return {Got, Fit(Left)};
}

// ---- TMemBasedLearner ----
// 30 objects, columns 1 and 2 independent, 3 and 4 targets; k = 6.
void LoadModel(TMemBasedLearner& L, TMBLLocalModel Model) {
  TDataTable& T = *L.ModelData;
  T.Resize(4, 30);
  for (int32_t R = 1; R <= 30; ++R) {
    const double X1 = std::cos(R), X2 = std::sin(2.0 * R);
    T.SetElem(1, R, X1);
    T.SetElem(2, R, X2);
    T.SetElem(3, R, 2 * X1 - X2 + 0.1 * std::cos(3.0 * R));
    T.SetElem(4, R, X1 * X2);
  }
  L.SetAllVars(mblVarIndep);
  L.SetVarType(3, mblVarTarget);
  L.SetVarType(4, mblVarTarget);
  L.SetNumNearestNb(6);
  L.SetLocalModel(Model);
}

enum class TApplyAttack { SensorByFeedback, ModelByFeedback, SensorByEvent };

// ApplyModel by regression (two decompositions: MathFeedBackProc in each),
// or OnModelApplied, the last call, attacking Sensor: then its Now is the
// undisturbed prediction with the same action applied.
THostileOutcome Apply(THostile& H, TApplyAttack Attack) {
  TMemBasedLearner L;
  LoadModel(L, mblLMRegress);
  const TDoubleArray Query{0.3, -0.2, 0, 0};
  TDoubleArray S = Query, Ref = Query;
  const int32_t RefResult = L.ApplyModel(Ref, 0, 7);
  switch (Attack) {
    case TApplyAttack::SensorByFeedback: MathFeedBackProc = H.On(S); break;
    case TApplyAttack::ModelByFeedback: MathFeedBackProc = H.On(L); break;
    case TApplyAttack::SensorByEvent: L.OnModelApplied = H.On(S); break;
  }
  const int32_t Result = L.ApplyModel(S, 0, 7);
  if (Attack != TApplyAttack::SensorByEvent) return {Outcome(Result, S)};
  H.Apply(Ref);
  return {Outcome(Result, S), Outcome(RefResult, Ref)};
}

// A stored model loaded again, the model table's events attacking it; the
// settings are read after them.
THostileOutcome Reload(THostile& H, bool Xml) {
  test::TempDir D;
  TMemBasedLearner Src;
  LoadModel(Src, mblLMMajority);
  Src.SetDistMode(mblDistManhattan);
  Src.SetScalingMode(mblStandardized);
  const std::string File = D.File("model");
  if (Xml)
    Src.StoreModelXML(File, "id");
  else
    Src.StoreModelBin(File, "id");
  TMemBasedLearner L;
  TDataTable& T = *L.ModelData;
  T.OnResize = H.On(L);
  T.OnChangeSetup = H.On(L);
  T.OnChangeNames = H.On(L);
  T.OnChangeAttrib = H.On(L);
  T.OnChangeCellState = H.On(L);
  std::string Id;
  const int32_t Result = Xml ? L.LoadModelXML(File, Id) : L.LoadModelBin(File, Id);
  return {Outcome(Result, Id == "id", L.NumNearestNb(), int{L.LocalModel()}, int{L.DistMode()}, int{L.ScalingMode()})};
}

// ---- TKohonen ----
// 3 variables (the third constant) of 20 objects.
void TrainingData(TMatrix& D) {
  D.Resize(3, 20);
  for (int32_t R = 1; R <= 20; ++R) {
    D.SetVal(1, R, std::cos(R));
    D.SetVal(2, R, std::sin(0.5 * R) + 3);
    D.SetVal(3, R, 4);
  }
}

void Prepare(TKohonen& K) {
  TMatrix D(nullptr);
  TrainingData(D);
  K.SetTrainData(&D);
  K.SetSizeX(4);
  K.SetSizeY(3);
  K.SetNrOfTrnSteps(6);
}

// The map trained from one seed, with its sizes: a map whose grid differs
// from the one its sizes state draws other weights.
std::vector<double> Trained(TKohonen& K) {
  K.OnFeedback = nullptr;
  SetRandSeed(5);
  K.Trainit();
  return Outcome(K.SizeX(), K.SizeY(), K.NrOfInSens(), test::MapWeights(K));
}

// Training or standardising a map whose handler Arm sets: what it leaves
// depends on when the handler struck, so only the sanitizers judge.
enum class TMapRoutine { Trainit, ContinueTraining, StandardizeData };
template <class F>
THostileOutcome MapRoutine(TMapRoutine Routine, F&& Arm) {
  TKohonen K;
  Prepare(K);
  Arm(K);
  if (Routine == TMapRoutine::Trainit) K.Trainit();
  if (Routine == TMapRoutine::ContinueTraining) K.ContinueTraining();
  if (Routine == TMapRoutine::StandardizeData) K.StandardizeData();
  return {Outcome(K.SizeX(), K.SizeY(), K.NrOfInSens(), Cells(*K.TrainData()), Values(*K.MeanVec()),
                  Values(*K.StdDevVec()), test::MapWeights(K))};
}

// The lengths of a matrix's storage, its columns one by one: a write past
// the columns a handler left may land in the capacity, where ASan does not see it.
std::vector<double> Storage(const TMatrix& M) {
  std::vector<double> Lengths{static_cast<double>(M.Mat.size())};
  for (const TDoubleArray& Col : M.Mat) Lengths.push_back(static_cast<double>(Col.size()));
  return Lengths;
}

// SetTrainData (SetNrOfInSens when ByCount), TrainData's OnChange attacking
// the source, TrainData or the map. Its Now: a map built afresh with the
// sizes and the data the component has now, trained alike; and, unless the
// map was attacked, the data holding the cells meant where it has room, zeros
// around.
enum class TSetterAttack { Source, Data, Map, MapFromMeanVec };
THostileOutcome SetData(THostile& H, TSetterAttack Attack, bool ByCount) {
  TKohonen K;
  Prepare(K);
  TMatrix Src(nullptr);  // of another size than the data: TrainData's resize fires OnChange
  Src.Resize(4, 24);
  for (int32_t C = 1; C <= 4; ++C)
    for (int32_t R = 1; R <= 24; ++R) Src.SetVal(C, R, std::cos(C * R));
  TMatrix& Data = *K.TrainData();
  switch (Attack) {
    case TSetterAttack::Source: Data.OnChange = H.On(Src); break;
    case TSetterAttack::Data: Data.OnChange = H.On(Data); break;
    case TSetterAttack::Map: Data.OnChange = H.On(K); break;
    case TSetterAttack::MapFromMeanVec: K.MeanVec()->OnChange = H.On(K); break;
  }
  if (ByCount)
    K.SetNrOfInSens(5);
  else
    K.SetTrainData(&Src);
  Data.OnChange = nullptr;
  K.MeanVec()->OnChange = nullptr;
  TKohonen Fresh;
  Fresh.SetSizeX(K.SizeX());
  Fresh.SetSizeY(K.SizeY());
  Fresh.SetNrOfInSens(K.NrOfInSens());
  Fresh.TrainData()->Assign(&Data);
  Fresh.SetNrOfTrnSteps(K.NrOfTrnSteps());
  TMatrix Meant(nullptr);
  Meant.Resize(Data.NrOfColumns(), Data.NrOfRows());
  if (!ByCount) Meant.CopyFrom(&Src, 1, 1, Src.NrOfColumns(), Src.NrOfRows(), 1, 1);
  const TMatrix& Now = Attack >= TSetterAttack::Map ? Data : Meant;
  const std::vector<double> Got = Outcome(Cells(Data), Storage(Data));
  return {Outcome(Got, Trained(K)), Outcome(Cells(Now), Storage(Now), Trained(Fresh))};
}

const THostileCase CurveFitCases[] = {
    {"TCurveFit::CalcPolyFit, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::Plain, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcPolyFit with Alpha, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::PlainAlpha, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcCenteredPolyFit, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::Centred, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcCenteredPolyFit with Alpha, MathFeedBackProc changes the pairs",
     [](THostile& H) { return PolyFit(H, TPolyForm::CentredAlpha, TPolyAttack::Pairs); }},
    {"TCurveFit::CalcPolyFit with Alpha, MathFeedBackProc changes kArray",
     [](THostile& H) { return PolyFit(H, TPolyForm::PlainAlpha, TPolyAttack::Coeffs); }},
    {"TCurveFit::CalcCenteredPolyFit with Alpha, MathFeedBackProc changes Alpha",
     [](THostile& H) { return PolyFit(H, TPolyForm::CentredAlpha, TPolyAttack::Alpha); }},
};

const THostileCase LearnerCases[] = {
    {"TMemBasedLearner::ApplyModel, MathFeedBackProc changes Sensor",
     [](THostile& H) { return Apply(H, TApplyAttack::SensorByFeedback); }, ResultIs(-3)},
    {"TMemBasedLearner::ApplyModel, MathFeedBackProc changes the model",
     [](THostile& H) { return Apply(H, TApplyAttack::ModelByFeedback); }, ResultIs(-3)},
    {"TMemBasedLearner::ApplyModel, OnModelApplied changes Sensor",
     [](THostile& H) { return Apply(H, TApplyAttack::SensorByEvent); }},
    {"TMemBasedLearner::LoadModelBin, the model's events change the model",
     [](THostile& H) { return Reload(H, false); }},
    {"TMemBasedLearner::LoadModelXML, the model's events change the model",
     [](THostile& H) { return Reload(H, true); }},
};

const THostileCase KohonenCases[] = {
    {"TKohonen::Trainit, OnFeedback changes TrainData",
     [](THostile& H) {
       return MapRoutine(TMapRoutine::Trainit, [&](TKohonen& K) { K.OnFeedback = H.On(*K.TrainData()); });
     },
     CheckedAccessorsOnly},
    {"TKohonen::ContinueTraining, OnFeedback changes the map",
     [](THostile& H) {
       return MapRoutine(TMapRoutine::ContinueTraining, [&](TKohonen& K) { K.OnFeedback = H.On(K); });
     },
     CheckedAccessorsOnly},
    {"TKohonen::SetTrainData, TrainData's OnChange changes the source",
     [](THostile& H) { return SetData(H, TSetterAttack::Source, false); }},
    {"TKohonen::SetTrainData, TrainData's OnChange changes TrainData",
     [](THostile& H) { return SetData(H, TSetterAttack::Data, false); }},
    {"TKohonen::SetTrainData, TrainData's OnChange changes the map",
     [](THostile& H) { return SetData(H, TSetterAttack::Map, false); }},
    {"TKohonen::SetTrainData, MeanVec's OnChange changes the map",
     [](THostile& H) { return SetData(H, TSetterAttack::MapFromMeanVec, false); }},
    {"TKohonen::SetNrOfInSens, MeanVec's OnChange changes the map",
     [](THostile& H) { return SetData(H, TSetterAttack::MapFromMeanVec, true); }},
    {"TKohonen::SetNrOfInSens, TrainData's OnChange changes TrainData",
     [](THostile& H) { return SetData(H, TSetterAttack::Data, true); }},
    {"TKohonen::SetNrOfInSens, TrainData's OnChange changes the map",
     [](THostile& H) { return SetData(H, TSetterAttack::Map, true); }},
    {"TKohonen::StandardizeData, TrainData's OnChange changes TrainData",
     [](THostile& H) {
       return MapRoutine(TMapRoutine::StandardizeData,
                         [&](TKohonen& K) { K.TrainData()->OnChange = H.On(*K.TrainData()); });
     },
     CheckedAccessorsOnly},
    {"TKohonen::StandardizeData, MeanVec's OnChange changes TrainData",
     [](THostile& H) {
       return MapRoutine(TMapRoutine::StandardizeData,
                         [&](TKohonen& K) { K.MeanVec()->OnChange = H.On(*K.TrainData()); });
     },
     CheckedAccessorsOnly},
    {"TKohonen::StandardizeData, StdDevVec's OnChange changes MeanVec or the map",
     [](THostile& H) {
       return MapRoutine(TMapRoutine::StandardizeData, [&](TKohonen& K) {
         K.StdDevVec()->OnChange = H.On(*K.MeanVec());
         K.MeanVec()->OnChange = H.On(K);
       });
     },
     CheckedAccessorsOnly},
};

TEST(AnalysisHostile, CurveFitSurvivesHostCodeThatChangesItsData) { test::RunHostile(CurveFitCases); }
TEST(AnalysisHostile, LearnerSurvivesHostCodeThatChangesItsData) { test::RunHostile(LearnerCases); }
TEST(AnalysisHostile, MapSurvivesHostCodeThatChangesItsData) { test::RunHostile(KohonenCases); }

}  // namespace
}  // namespace orv
