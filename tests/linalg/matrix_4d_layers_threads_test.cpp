// The layer statistics of TMat4D on the calling thread and over workers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <thread>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"
#include "support/progress.h"

namespace orv {
namespace {

using TStatFn = void (TMat4D::*)(TMatrix*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t);
const TStatFn Stats[] = {&TMat4D::MeanOfLayersToMatrix, &TMat4D::MaximumOfLayersToMatrix,
                         &TMat4D::MinimumOfLayersToMatrix, &TMat4D::StdDevOfLayersToMatrix};

TEST(Mat4DLayers, StatisticsAgreeWithNumPyAndEveryPathGivesTheSameBits) {
  test::TProcessorCount P(8);
  TMat4D A(nullptr);
  A.Resize(5, 3, 4, 3);
  for (int32_t c = 1; c <= 5; ++c)
    for (int32_t r = 1; r <= 3; ++r)
      for (int32_t l = 1; l <= 4; ++l)
        for (int32_t t = 1; t <= 3; ++t)
          A.SetVal(c, r, l, t, ((37 * c + 101 * r + 53 * l + 17 * t) % 23) / 4.0 - 1.5 + c * r / 8.0 + l / 3.0);
  // a[0:2, 1:4, 0:3, 1:4].mean/max/min/std(axis=(0, 1)) of the same cells
  // as a [t][l][r][c] array, NumPy 1.24, as [row][column].
  const double Want[4][3][3] = {
      {{2.4166666666666665, 3.1666666666666665, 2.9583333333333335},
       {3.0, 2.9166666666666665, 3.791666666666666},
       {2.625, 3.6249999999999996, 3.6666666666666665}},
      {{4.916666666666667, 5.458333333333333, 4.916666666666667},
       {5.833333333333333, 5.416666666666667, 6.083333333333333},
       {4.75, 6.458333333333333, 6.166666666666667}},
      {{-0.25, 1.2083333333333333, 0.6666666666666666},
       {0.16666666666666663, 0.25, 1.8333333333333333},
       {0.5, 0.7916666666666666, 1.0}},
      {{1.6784307044467548, 1.617861814819749, 1.617861814819749},
       {1.8590369868613479, 1.6784307044467548, 1.617861814819749},
       {1.5159262539475353, 1.8590369868613479, 1.678430704446755}}};
  TMatrix D(nullptr), Serial(nullptr);
  for (int S = 0; S < 4; ++S)
    for (const int32_t Threads : {1, 2, 3, 8}) {
      (A.*Stats[S])(&D, 4, 2, 0, 0, 4, 2, 1, 2, Threads);  // bounds reversed in two axes
      ASSERT_EQ(std::vector<int32_t>({D.NrOfColumns(), D.NrOfRows()}), std::vector<int32_t>({3, 3}));
      for (int32_t C = 1; C <= 3; ++C)
        for (int32_t R = 1; R <= 3; ++R)
          EXPECT_NEAR(D.Elem(C, R), Want[S][R - 1][C - 1], 2e-15 * std::fabs(Want[S][R - 1][C - 1]))
              << "statistic " << S << ", " << Threads << " threads, cell " << C << "," << R;
    }
  // Bit for bit over the whole array and over 3 columns (fewer than the workers).
  A.Resize(37, 23, 5, 3);
  SetRandSeed(19);
  A.FillRandomGauss(1e4, 3.0);
  A.SetVal(3, 4, 2, 2, std::numeric_limits<double>::quiet_NaN());
  for (const int32_t Lo : {0, 30})
    for (int S = 0; S < 4; ++S) {
      (A.*Stats[S])(&Serial, Lo, Lo ? 32 : 0, 0, 0, 0, 0, 0, 0, 1);
      for (const int32_t Threads : {2, 3, 8}) {
        (A.*Stats[S])(&D, Lo, Lo ? 32 : 0, 0, 0, 0, 0, 0, 0, Threads);
        EXPECT_TRUE(test::SameBits(D, Serial)) << "statistic " << S << ", " << Threads << " threads";
      }
    }
}

TEST(Mat4DLayers, EdgeValues) {
  test::TProcessorCount P(4);
  const double Inf = std::numeric_limits<double>::infinity(), NaN = std::numeric_limits<double>::quiet_NaN();
  // Statistic of two layers of one position (closed forms; the shifted row:
  // d / 2 for d = (1e9 + 0.3) - (1e9 + 0.1) in doubles, NumPy's two-pass std
  // gives 0.0999999642372309); a single layer has no spread.
  const struct {
    int Stat;
    double L1, L2, Want;
  } Rows[] = {{3, 1.0, 3.0, 1.0},       {3, 1e9 + 0.1, 1e9 + 0.3, 0.09999996423721313},
              {3, 8.5, 8.5, 0.0},       {1, -5.0, -5.0, -5.0},
              {2, 7.0, 7.0, 7.0},       {1, -Inf, -Inf, -uc_MaxReal},
              {2, Inf, Inf, uc_MaxReal}, {1, NaN, 2.0, 2.0},
              {2, 4.0, NaN, 4.0},       {0, 1e308, 1e308, Inf}};
  TMat4D A(nullptr);
  TMatrix D(nullptr);
  for (const auto& R : Rows)
    for (const int32_t Threads : {1, 4}) {
      A.Resize(2, 1, 2, 1);
      A.SetVal(1, 1, 1, 1, R.L1);
      A.SetVal(1, 1, 2, 1, R.L2);
      (A.*Stats[R.Stat])(&D, 0, 0, 0, 0, 0, 0, 0, 0, Threads);
      EXPECT_EQ(D.Elem(1, 1), R.Want) << "statistic " << R.Stat << " of " << R.L1 << ", " << R.L2;
      A.StdDevOfLayersToMatrix(&D, 0, 0, 0, 0, 1, 1, 0, 0, Threads);
      EXPECT_EQ(D.Elem(2, 1), 0.0);
    }
  A.MeanOfLayersToMatrix(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 2);
  A.MeanOfLayersToMatrix(nullptr, 0, 0, 0, 0, 0, 0, 0, 0);
}

TEST(Mat4DLayers, ProgressOfBothPathsAndTheClampOfTheWorkers) {
  test::TProgressGuard Guard;
  TMat4D A(nullptr);
  TMatrix D(nullptr);
  std::vector<double> Seen;
  // Serial: P (column, row) pairs add P div (Trunc(P / 100) + 1); threaded:
  // 100 / columns per column; NThreads below 1 or one processor: serial.
  const struct {
    int32_t Cols, Rows, Threads, Processors;
    double Grows;
  } Cases[] = {{10, 5, 1, 8, 50}, {100, 100, 1, 8, 99}, {10, 5, 0, 8, 50}, {10, 5, -3, 8, 50},
               {10, 5, 8, 1, 50}, {10, 5, 4, 8, 100}, {7, 3, 3, 2, 100},  {1, 9, 4, 8, 100}};
  for (const auto& C : Cases) {
    test::TProcessorCount P(C.Processors);
    A.Resize(C.Cols, C.Rows, 2, 2);
    ProcStat = 0.0;
    Seen.clear();
    MathFeedBackProc = [&](double V) { Seen.push_back(V); };
    AbortMathProc = true;  // never looked at
    A.MeanOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, C.Threads);
    EXPECT_NEAR(ProcStat.load(), C.Grows, 1e-12) << C.Cols << " x " << C.Rows << ", " << C.Threads;
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), ProcStat.load());
  }
}

TEST(Mat4DLayers, HandlerCallsOneAtATimeTheirFailureAndTwoHostThreads) {
  test::TProcessorCount P(8);
  TMat4D A(nullptr), B(nullptr);
  A.Resize(41, 13, 3, 2);
  A.FillRandomUniform(0.0, 1.0);
  TMatrix D(nullptr);
  int Calls = 0;  // deliberately not atomic: the calls must not overlap
  for (const int32_t Threads : {1, 3, 8}) {
    D.OnChange = nullptr;
    D.Resize(1, 1);
    Calls = 0;
    D.OnChange = [&](TObject*) { ++Calls; };
    A.StdDevOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, Threads);
    EXPECT_EQ(Calls, 1 + 1 + 41 * 13) << Threads;  // Resize, Fill, one per cell
    D.OnChange = [&](TObject*) {
      if (++Calls == 600) throw std::runtime_error("handler");
    };
    EXPECT_THROW(A.MinimumOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, Threads), std::runtime_error);
  }
  // Each call has its own lock.
  B.Resize(17, 11, 2, 5);
  B.FillRandomUniform(5.0, 9.0);
  TMatrix RefA(nullptr), RefB(nullptr), DB(nullptr);
  A.MeanOfLayersToMatrix(&RefA, 0, 0, 0, 0, 0, 0, 0, 0, 1);
  B.StdDevOfLayersToMatrix(&RefB, 0, 0, 0, 0, 0, 0, 0, 0, 1);
  D.OnChange = nullptr;
  for (int Round = 0; Round < 20; ++Round) {
    std::thread Other([&] { B.StdDevOfLayersToMatrix(&DB, 0, 0, 0, 0, 0, 0, 0, 0, 4); });
    A.MeanOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, 4);
    Other.join();
    ASSERT_TRUE(test::SameBits(D, RefA) && test::SameBits(DB, RefB)) << Round;
  }
}

}  // namespace
}  // namespace orv
