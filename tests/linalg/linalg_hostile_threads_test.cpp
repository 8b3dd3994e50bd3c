// Host code that resizes what the threaded routines of ORV_matrix work on,
// from MathFeedBackProc on the calling thread and from events the workers
// fire, while the workers run (support/hostile.h; the serial paths are in
// linalg_hostile_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"
#include "support/hostile.h"
#include "support/progress.h"

namespace orv {
namespace {

using namespace test::hostile_names;

void Fill(TMatrix& X, int32_t NC, int32_t NR) {
  X.Resize(NC, NR);
  for (int32_t C = 1; C <= NC; ++C)
    for (int32_t R = 1; R <= NR; ++R) X.SetVal(C, R, (7 * C + 3 * R) % 11 + 1);
}

// Every cell of Got (Cells: columns, rows, then the cells) is the
// undisturbed one at its place, or 0: a stopped routine leaves zeros where
// it wrote nothing, a destination resized by the host zeros in new cells.
bool EachCellAsUndisturbedOrZero(const std::vector<double>& Got, const std::vector<double>& Undisturbed) {
  const auto NC = static_cast<int32_t>(Got[0]), NR = static_cast<int32_t>(Got[1]);
  const auto UC = static_cast<int32_t>(Undisturbed[0]), UR = static_cast<int32_t>(Undisturbed[1]);
  for (int32_t C = 0; C < NC; ++C)
    for (int32_t R = 0; R < NR; ++R) {
      const double V = Got[2 + static_cast<std::size_t>(C * NR + R)];
      if (V != 0.0 && (C >= UC || R >= UR || V != Undisturbed[2 + static_cast<std::size_t>(C * UR + R)])) return false;
    }
  return true;
}

// Square over 3 workers, MathFeedBackProc attacking the source or the result.
THostileOutcome SquareOutcome(THostile& H, bool IntoItself, bool AttackSource) {
  test::TProcessorCount P(4);
  TMatrix A(nullptr), Res(nullptr), Ref(nullptr);
  Fill(A, 8, 6);
  A.Square(&Ref, 2.0, 3);
  TMatrix& Target = IntoItself ? A : Res;
  MathFeedBackProc = H.On(AttackSource ? A : Target);
  const bool Ok = A.Square(&Target, 2.0, 3);
  if (AttackSource) return {Outcome(Ok, Cells(Target))};
  H.Apply(Ref);  // the last feedback call comes after the result is whole
  return {Outcome(Ok, Cells(Target)), Outcome(Ok, Cells(Ref))};
}

// The mean of the layers over 4 workers into D, the handler on D's OnChange
// or MathFeedBackProc, attacking the array or D.
THostileOutcome MeanOfLayers(THostile& H, bool FromEvent, bool AttackArray) {
  test::TProcessorCount P(4);
  TMat4D A(nullptr);
  test::FillNamed4D(A, 12, 5, 3, 2);
  TMatrix D(nullptr);
  const TNotifyEvent Handler = AttackArray ? TNotifyEvent(H.On(A)) : TNotifyEvent(H.On(D));
  if (FromEvent)
    D.OnChange = Handler;
  else
    MathFeedBackProc = [Handler](double) { Handler(nullptr); };
  A.MeanOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, 4);
  return {Cells(D)};
}

const THostileCase Cases[] = {
    {"TMatrix::Square over workers, MathFeedBackProc resizes the result",
     [](THostile& H) { return SquareOutcome(H, false, false); }, ResultIs(0)},
    {"TMatrix::Square over workers, MathFeedBackProc resizes the source",
     [](THostile& H) { return SquareOutcome(H, false, true); }, ResultIs(0)},
    {"TMatrix::Square over workers into itself, MathFeedBackProc resizes it",
     [](THostile& H) { return SquareOutcome(H, true, true); }, ResultIs(0)},
    {"TMat4D::MeanOfLayersToMatrix over workers, DestMat's OnChange resizes the array",
     [](THostile& H) { return MeanOfLayers(H, true, true); }, EachCellAsUndisturbedOrZero},
    {"TMat4D::MeanOfLayersToMatrix over workers, MathFeedBackProc resizes the array",
     [](THostile& H) { return MeanOfLayers(H, false, true); }, EachCellAsUndisturbedOrZero},
    {"TMat4D::MeanOfLayersToMatrix over workers, MathFeedBackProc resizes DestMat",
     [](THostile& H) { return MeanOfLayers(H, false, false); }, EachCellAsUndisturbedOrZero},
    {"TMat4D::MeanOfLayersToMatrix over workers, DestMat's OnChange resizes DestMat",
     [](THostile& H) { return MeanOfLayers(H, true, false); }, EachCellAsUndisturbedOrZero},
};

TEST(LinalgHostileThreads, WorkersAndHostCodeThatChangesTheirData) { test::RunHostile(Cases); }

}  // namespace
}  // namespace orv
