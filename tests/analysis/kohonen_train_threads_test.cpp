// TKohonen training on a worker thread, stopped by the host through AbortTraining.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "orvcalckit/ORV_kohonen.h"

namespace orv {
namespace {

TEST(KohonenTrain, AHostThreadStopsTheTraining) {
  TMatrix D;
  D.Resize(3, 40);
  for (int32_t R = 1; R <= 40; ++R)
    for (int32_t V = 1; V <= 3; ++V) D.SetVal(V, R, std::cos(R * V));
  TKohonen K;
  K.SetTrainData(&D);
  K.SetSizeX(8);
  K.SetSizeY(8);
  K.SetNrOfTrnSteps(1000000);  // minutes, were the request lost
  std::atomic<int32_t> Steps{0};
  K.OnFeedback = [&](TObject*, int32_t) { ++Steps; };
  std::thread Worker([&] { K.Trainit(); });
  // Trainit clears the request when it starts; its first step tells that it has.
  while (Steps == 0) std::this_thread::yield();
  K.AbortTraining();
  Worker.join();
  EXPECT_LT(Steps, 1000000 - 1);
}

}  // namespace
}  // namespace orv
