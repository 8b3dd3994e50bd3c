// Unit ORV_kohonen: the self-organising map TKohonen.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// ============================================================================
// TKohonen: a SizeX x SizeY grid of nodes, each a weight per input variable
// ============================================================================
//
// T. Kohonen, Self-organized formation of topologically correct feature maps,
// Biological Cybernetics 43, 1982. This map's neighbourhood is the square of
// nodes within the current radius of the winner (on a cyclic grid wrapping
// around), and each such node learns with the rate alpha / (1 + sqrt(d -
// dbest)): its distance in data space, not on the grid, sets how much.
//
// The weights are kept in standardised units: those of the training data copy
// after StandardizeData (until then mean 0 and deviation 1, the data's own).
// Weights (GetWeight) and ApplyIt convert with MeanVec and StdDevVec.
//
// Training, step s = 1, 2, ... of NrOfTrnSteps = n: f = max((n - s) / n, 0),
// radius Round(f^2 (InitialNeighbors - 1) + 1), rate f^2 InitialAlpha. For
// every row of TrainData in order: the winner is the first node (x outer, y
// inner) with the smallest squared distance dbest to the row (a later node
// must be strictly nearer); every node of the square of the radius around it
// (on a cyclic grid radius at most SizeX div 2 - 1 and SizeY div 2 - 1, at
// least 0; on a flat grid clipped to the grid, and empty for a negative
// radius) moves W := W + (D - W) h, h = rate / (1 + sqrt(d - dbest)) with d
// its squared distance, the winner with h = rate. Later rows see the moves of
// earlier ones. A NaN in the data spreads to the weights of the nodes it
// moves.
//
// Changing NrOfInSens, SizeX, SizeY or TrainData sets every weight to 0.0;
// Trainit draws new ones. TrainData, MeanVec and StdDevVec are the
// component's own objects and stay the same objects for its lifetime.
//
// Errors: a setter that cannot have the storage for the weights or the data
// copy raises EORVMatrixError Component "<Name>": not enough memory on heap,
// and the component is then as it was.
class ORV_API TKohonen : public TComponent {
 public:
  // A 1 x 1 grid, one input variable, one training object of 0.0; 200 steps,
  // radius 2, rate 1.0, flat; the one weight drawn as Trainit does.
  explicit TKohonen(TComponent* AOwner = nullptr);
  ~TKohonen() override;
  std::string ClassName() const override;

  // ---- published properties ----
  const std::string& Comment() const { return FComment; }  // kept, read by nothing
  void SetComment(const std::string& Value) { FComment = Value; }
  bool Cyclic() const { return FCyclic; }
  void SetCyclic(bool Value) { FCyclic = Value; }
  double InitialAlpha() const { return FMaxAlpha; }
  void SetInitialAlpha(double Value) { FMaxAlpha = Value; }
  int32_t InitialNeighbors() const { return FMaxNeighb; }
  void SetInitialNeighbors(int32_t Value) { FMaxNeighb = Value; }
  int32_t NrOfTrnSteps() const { return FMaxSteps; }
  // Values below 1 are ignored (the step formula divides by the count).
  void SetNrOfTrnSteps(int32_t Value) {
    if (Value >= 1) FMaxSteps = Value;
  }
  int32_t NrOfInSens() const { return FNrInSens; }
  // Values <= 0 are ignored. Otherwise the weights become SizeX x SizeY x
  // Value zeros, the data copy Value x (training objects) zeros (the data is
  // lost), MeanVec Value x 0.0 and StdDevVec Value x 1.0.
  void SetNumInsens(int32_t Value);
  void SetNrOfInSens(int32_t Value) { SetNumInsens(Value); }
  int32_t SizeX() const { return FSizeX; }
  int32_t SizeY() const { return FSizeY; }
  // Values <= 0 are ignored; otherwise the grid takes the size with every
  // weight 0.0.
  void SetSizeX(int32_t Value);
  void SetSizeY(int32_t Value);
  // Fired after every training step with Round(step * 100 / NrOfTrnSteps)
  // (half to even); the handler may call AbortTraining, read Weights, or
  // change the component (the next step then works on what it left: the
  // map, its sizes and TrainData are read again after each call).
  TOnPercentDoneEvent OnFeedback;

  // ---- data ----
  // The component's copy of the training data: a column per input variable,
  // a row per training object. Training reads it as it is at each step
  // (columns beyond NrOfInSens are not used, missing ones read 0.0).
  TMatrix* TrainData() const { return FDataMat.get(); }
  // The copy := Value's cells, NrOfInSens := its columns, the weights zeros,
  // MeanVec 0.0 and StdDevVec 1.0. Later changes of Value do not reach the
  // component. nullptr, or a matrix without columns: nothing changes.
  // TrainData's OnChange (fired when its size changes, and once the cells
  // are in) may change Value, TrainData or the grid: with a handler the
  // cells come from a copy of Value taken first and go into TrainData as
  // far as its extents, read again, reach; a grid resized meanwhile gets a
  // map of its new size (in SetNrOfInSens too).
  void SetTrainData(const TMatrix* Value);
  void SetDataMat(const TMatrix* Value) { SetTrainData(Value); }
  // Per input variable the mean and standard deviation between the data's
  // units and the weights' (0.0 and 1.0 until StandardizeData).
  TVector* MeanVec() const { return FMeanVec.get(); }
  TVector* StdDevVec() const { return FStdDevVec.get(); }
  // Standardises the columns of the copy by TMatrix::StandardizeColumns and
  // records their means and deviations. A column of zero variance has its
  // mean subtracted (its deviation is recorded as 0, which ApplyIt reads as
  // centred only). Called again, the new scaling is composed with the one in
  // force, so MeanVec and StdDevVec keep converting to the original units.
  // The handlers of TrainData, MeanVec and StdDevVec (OnChange) may resize
  // them: the work goes on through their extents read again and the
  // checked accessors.
  void StandardizeData();

  // Weight Wi of node (Ix, Iy) in the data's units: the stored weight times
  // StdDevVec(Wi) plus MeanVec(Wi). Each term reads 0.0 outside its array,
  // so a node outside the grid gives MeanVec(Wi).
  double Weights(int32_t Ix, int32_t Iy, int32_t Wi) const { return GetWeight(Ix, Iy, Wi); }
  double GetWeight(int32_t Ix, int32_t Iy, int32_t Wi) const;

  // ---- training ----
  // Step 1 with new random weights, then ContinueTraining.
  void Trainit();
  // Runs steps from the current one on, at least one, while no abort is
  // requested and the step is below NrOfTrnSteps (n steps run steps 1 to
  // n - 1). After a complete training a further call runs one step with rate
  // 0, which changes nothing. Resuming after AbortTraining gives the bits of
  // an uninterrupted training.
  void ContinueTraining();
  // Training stops after the current step; safe from OnFeedback and from
  // another thread.
  void AbortTraining() { FAbort = true; }

  // The node nearest to InData (in the data's units; element v converted to
  // (InData(v) - MeanVec(v)) / StdDevVec(v), or InData(v) - MeanVec(v) where
  // the deviation is 0): Distance := the squared Euclidean distance in
  // standardised units, BestIx, BestIy := the node, the first (x outer, y
  // inner) among equals. Distance := uc_MaxDouble and BestIx, BestIy
  // untouched when no node is nearer than that (all distances NaN or
  // overflowing) or InData is nullptr.
  void ApplyIt(const TVector* InData, int32_t& BestIx, int32_t& BestIy, double& Distance) const;

 private:
  void SetWeigtsToRandom();
  void DoFeedback(int32_t Percent) {
    if (OnFeedback) OnFeedback(this, Percent);
  }
  // A new Nx x Ny x Nv array of zeros, built aside for a setter to commit.
  std::unique_ptr<TMat3D> NewMap(int32_t Nx, int32_t Ny, int32_t Nv) const;

  int32_t FMaxNeighb = 2;
  std::string FComment;
  int32_t FCurNeighb = 0;
  int32_t FMaxSteps = 200;
  int32_t FCurStep = 1;
  double FMaxAlpha = 1.0;
  double FCurAlpha = 0.0;
  std::unique_ptr<TMat3D> FKohMat;
  int32_t FSizeX = 1;
  int32_t FSizeY = 1;
  int32_t FNrInSens = 1;
  int32_t FNrTrnObj = 1;
  std::unique_ptr<TVector> FMeanVec;
  std::unique_ptr<TVector> FStdDevVec;
  bool FCyclic = false;
  std::atomic<bool> FAbort = false;
  [[maybe_unused]] bool FReserved = true;  // set, never read
  std::unique_ptr<TMatrix> FDataMat;
};

}  // namespace orv
