// CalcEigVec on a worker thread, stopped by the host through AbortMathProc.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_matrix.h"
#include "support/progress.h"

namespace orv {
namespace {

TEST(CalcEigVec, AHostThreadStopsTheWorkerThroughTheAbortFlag) {
  test::TProgressGuard Guard;
  // Dense and symmetric, with distinct diagonal values: many sweeps of 300
  // lines each, so that the host sees progress long before the end.
  const int32_t N = 300;
  TMatrix M;
  M.Resize(N, N);
  for (int32_t C = 1; C <= N; ++C)
    for (int32_t R = 1; R <= N; ++R) M.SetVal(C, R, 1.0 / (1 + std::abs(C - R)) + (C == R ? C : 0));
  const double Start = ProcStat;
  std::atomic<bool> Done{false};
  bool Result = true;
  std::thread Worker([&] {
    Result = CalcEigVec(&M);
    Done = true;
  });
  // The method clears the flag when it starts; its first progress tells that
  // it has, so the flag set now is not lost.
  while (!Done && ProcStat == Start) std::this_thread::yield();
  AbortMathProc = true;
  Worker.join();
  EXPECT_FALSE(Result);
  EXPECT_EQ(GetEigenSize(), N) << "the results reached are kept";
}

}  // namespace
}  // namespace orv
