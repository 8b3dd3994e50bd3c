// TMat4D::Transpose on a worker thread, stopped by the host through
// AbortMathProc while it transposes slice by slice in place.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "orvcalckit/ORV_matrix.h"
#include "support/progress.h"

namespace orv {
namespace {

double Named(int32_t C, int32_t R, int32_t L, int32_t T) { return 1e6 * C + 1e4 * R + 100 * L + T; }

TEST(Mat4DTranspose, AStopFromTheHostLeavesTheArrayWholeOrTransposed) {
  test::TProgressGuard Guard;
  constexpr int32_t X = 40, Y = 30, Z = 50, T = 20;  // 1000 slices
  TMat4D A(nullptr);
  for (const int Micros : {0, 20, 200, 1000, 5000}) {
    A.Resize(X, Y, Z, T);
    for (int32_t C = 1; C <= X; ++C)
      for (int32_t R = 1; R <= Y; ++R)
        for (int32_t L = 1; L <= Z; ++L)
          for (int32_t S = 1; S <= T; ++S) A.SetVal(C, R, L, S, Named(C, R, L, S));
    AbortMathProc = false;
    bool Result = false;
    std::thread Worker([&] { Result = A.Transpose(); });
    std::this_thread::sleep_for(std::chrono::microseconds(Micros));
    AbortMathProc = true;
    Worker.join();
    // Stopped: every slice back in its old shape; else all transposed.
    const bool Swapped = Result;
    EXPECT_EQ(A.NrOfColumns(), Swapped ? Y : X) << Micros;
    int64_t Wrong = 0;
    for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
      for (int32_t R = 1; R <= A.NrOfRows(); ++R)
        for (int32_t L = 1; L <= Z; ++L)
          for (int32_t S = 1; S <= T; ++S)
            Wrong += A.Elem(C, R, L, S) != (Swapped ? Named(R, C, L, S) : Named(C, R, L, S));
    EXPECT_EQ(Wrong, 0) << Micros << " us, result " << Result;
  }
}

}  // namespace
}  // namespace orv
