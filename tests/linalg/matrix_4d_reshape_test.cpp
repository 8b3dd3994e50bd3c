// TMat4D: cutting, resampling, transposing and mirroring.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace {

using namespace orv;
using test::FillNamed4D;
using test::Named4D;
using test::TChangeCounter;

// The cells that differ from Want(c, r, l, t), over the whole array.
template <class F>
int64_t Mismatches(const TMat4D& A, F&& Want) {
  int64_t N = 0;
  for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= A.NrOfRows(); ++R)
      for (int32_t L = 1; L <= A.NrOfLayers(); ++L)
        for (int32_t T = 1; T <= A.NrOfTimeSlots(); ++T) N += A.Elem(C, R, L, T) != Want(C, R, L, T);
  return N;
}

auto Size(const TMat4D& A) { return std::tuple(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), A.NrOfTimeSlots()); }

TEST(Mat4DReshape, CutKeepsTheBlockAndReportsBothPasses) {
  TMat4D A(nullptr);
  FillNamed4D(A, 4, 2, 1, 1);
  A.Cut(2, 3, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(Size(A), std::tuple(2, 2, 1, 1));
  EXPECT_EQ(Mismatches(A, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(C + 1, R, L, T); }), 0);
  FillNamed4D(A, 5, 4, 3, 4);
  std::vector<int32_t> Percent;
  std::vector<double> Seen;  // cell (2, 3, 2, 2) at each step: the old array's until the second pass
  A.OnPercentDone = [&](TObject*, int32_t P) {
    Percent.push_back(P);
    Seen.push_back(A.Elem(2, 3, 2, 2));
  };
  TChangeCounter Ch;
  Ch.Attach(A);
  A.Cut(4, 2, 9, 3, 2, 3, 4, 2);  // columns 2..4, rows 3..4, layers 2..3, time slots 2..4
  EXPECT_EQ(Seen.front(), Named4D(2, 3, 2, 2));
  EXPECT_EQ(Seen.back(), 0.0);  // outside the 3 x 2 x 2 x 3 result
  EXPECT_EQ(Size(A), std::tuple(3, 2, 2, 3));
  EXPECT_EQ(Mismatches(A, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(C + 1, R + 2, L + 1, T + 1); }),
            0);
  // 2 x 6 steps: Round(m 100 / 12), half to even.
  EXPECT_EQ(Percent, (std::vector<int32_t>{8, 17, 25, 33, 42, 50, 58, 67, 75, 83, 92, 100}));
  EXPECT_EQ(Ch.Count, 1);
}

TEST(Mat4DReshape, ResampleAgainstNumPyAndItsDivisors) {
  TMat4D A(nullptr);
  FillNamed4D(A, 5, 1, 1, 1);
  A.Resample(2, 0, 1, 0, 1, 0, 1, 0, false);
  EXPECT_EQ(test::Row4D(A, 1, 1, 1), (std::vector<double>{1111, 3111, 5111}));
  FillNamed4D(A, 5, 1, 1, 1);
  A.Resample(2, 0, 1, 0, 1, 0, 1, 0, true);  // the edge block divided by the full 2
  EXPECT_EQ(test::Row4D(A, 1, 1, 1), (std::vector<double>{1611, 3611, 5111 / 2.0}));
  for (int32_t Off : {3, -1, 1}) {  // offset 1 each: columns 2 and 4
    FillNamed4D(A, 5, 1, 1, 1);
    A.Resample(2, Off, 1, 0, 1, 0, 1, 0, false);
    EXPECT_EQ(test::Row4D(A, 1, 1, 1), (std::vector<double>{2111, 4111})) << Off;
  }
  // Divisors below 1 are refused before anything changes.
  A.SetName("Rs");
  for (int32_t Div : {0, -2})
    test::ExpectRaises<EZeroDivide>([&] { A.Resample(1, 0, 1, 0, Div, 0, 1, 0, true); },
                                    "Component \"Rs\": divisor of Resample below 1");
  EXPECT_EQ(Size(A), std::tuple(2, 1, 1, 1));

  // NumPy over a (the cells ((k 7919) mod 2003) / 7 - 100 in storage order,
  // reshaped to (3, 4, 5, 6)) with divisors and offsets (4, 1), (2, -1),
  // (3, 5), (2, 0) on the columns, rows, layers, time slots:
  // a[0::2, 2::3, 1::2, 1::4] and the block sums divided by 48.
  const auto Scan = [&A] {
    A.Resize(6, 5, 4, 3);
    int64_t K = 0;
    for (int32_t T = 1; T <= 3; ++T)
      for (int32_t L = 1; L <= 4; ++L)
        for (int32_t R = 1; R <= 5; ++R)
          for (int32_t C = 1; C <= 6; ++C, ++K) A.SetVal(C, R, L, T, static_cast<double>(K * 7919 % 2003) / 7.0 - 100);
  };
  const std::vector<double> First = {154.42857142857142, 101.28571428571428, -5.0, -58.142857142857146,
                                     113.42857142857142, 60.28571428571428,  -46.0, -99.14285714285714};
  const std::vector<double> Means = {36.669642857142854, 5.122023809523809,  31.72619047619047, 8.357142857142856,
                                     11.06547619047619,  2.979166666666666, 17.53571428571429, 1.6160714285714288};
  for (bool Average : {false, true}) {
    Scan();
    std::vector<int32_t> Percent;
    A.OnPercentDone = [&](TObject*, int32_t P) { Percent.push_back(P); };
    A.Resample(4, 1, 2, -1, 3, 5, 2, 0, Average);
    A.OnPercentDone = nullptr;
    ASSERT_EQ(Size(A), std::tuple(2, 2, 1, 2));
    std::vector<double> Got;
    for (int32_t T = 1; T <= 2; ++T)
      for (int32_t R = 1; R <= 2; ++R) Got.insert(Got.end(), A.ColumnRun(R, 1, T).begin(), A.ColumnRun(R, 1, T).end());
    for (std::size_t I = 0; I < Got.size(); ++I)
      EXPECT_NEAR(Got[I], (Average ? Means : First)[I], 1e-12) << I << " average " << Average;
    EXPECT_EQ(Percent, (std::vector<int32_t>{50, 100}));  // per (time slot, layer)
  }
}

TEST(Mat4DReshape, TransposeSwapsColumnsAndRowsAndAbortsWithoutChange) {
  TMat4D A(nullptr);
  // With a progress handler through a work array, without one slice by slice
  // in place; the second shape in a tile of 8 and one of 3.
  TChangeCounter Changes;
  for (const bool Watched : {true, false})
    for (auto [X, Y, Z] : {std::tuple(3, 2, 2), std::tuple(11, 5, 2), std::tuple(2, 7, 1)}) {
      FillNamed4D(A, X, Y, Z, 3);
      std::vector<int32_t> Percent;
      A.OnPercentDone = nullptr;
      if (Watched) A.OnPercentDone = [&](TObject*, int32_t P) { Percent.push_back(P); };
      Changes.Count = 0;
      Changes.Attach(A);
      EXPECT_TRUE(A.Transpose());
      EXPECT_EQ(Size(A), std::tuple(Y, X, Z, 3));
      EXPECT_EQ(Mismatches(A, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(R, C, L, T); }), 0)
          << X << " x " << Y << " watched " << Watched;
      EXPECT_EQ(Changes.Count, 1);
      if (!Watched) continue;
      EXPECT_EQ(Percent.size(), X == 11 ? 110u : 2u * X * Y);  // 2 X Y steps, step (2 X Y) div 100
      EXPECT_EQ(Percent.back(), 100);
    }
  // Stopped in the copy: false, the array as it was, no OnChange.
  test::TProgressGuard Guard;
  FillNamed4D(A, 3, 2, 2, 3);
  A.OnPercentDone = nullptr;
  AbortMathProc = true;
  EXPECT_FALSE(A.Transpose());
  EXPECT_EQ(Mismatches(A, Named4D), 0);
  AbortMathProc = false;
  FillNamed4D(A, 3, 2, 2, 3);
  TChangeCounter Ch;
  Ch.Attach(A);
  int Events = 0;
  A.OnPercentDone = [&](TObject*, int32_t) {
    if (++Events == 2) AbortMathProc = true;
  };
  EXPECT_FALSE(A.Transpose());
  EXPECT_EQ(Events, 2);  // the first column's rows; the second column was not begun
  EXPECT_FALSE(A.Transpose());
  EXPECT_EQ(Events, 2);
  EXPECT_EQ(Size(A), std::tuple(3, 2, 2, 3));
  EXPECT_EQ(Mismatches(A, Named4D), 0);
  EXPECT_EQ(Ch.Count, 0);
}

TEST(Mat4DReshape, MirrorsReverseOneAxisAndReportProgress) {
  TMat4D A(nullptr);
  // mirror, expected cell (c, r, l, t) of a 4 x 3 x 4 x 2 array (np.flip on
  // that axis), ProcStat passes: pairs x the two outer other axes, step 1
  const struct {
    void (TMat4D::*Mirror)();
    std::function<double(int32_t, int32_t, int32_t, int32_t)> Want;
    double Passes;
  } Rows[] = {
      {&TMat4D::MirrorColumns, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(5 - C, R, L, T); }, 24},
      {&TMat4D::MirrorRows, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(C, 4 - R, L, T); }, 16},
      {&TMat4D::MirrorLayers, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(C, R, 5 - L, T); }, 24},
      {&TMat4D::MirrorTimeSlots, [](int32_t C, int32_t R, int32_t L, int32_t T) { return Named4D(C, R, L, 3 - T); }, 12},
  };
  for (const auto& M : Rows) {
    FillNamed4D(A, 4, 3, 4, 2);
    test::TPassCounter Passes;
    (A.*M.Mirror)();
    EXPECT_EQ(Mismatches(A, M.Want), 0);
    EXPECT_EQ(Passes.Passes(), M.Passes);
  }
  // On an axis of one position a mirror changes nothing but still fires.
  FillNamed4D(A, 1, 1, 1, 1);
  TChangeCounter Ch;
  Ch.Attach(A);
  for (const auto& M : Rows) (A.*M.Mirror)();
  EXPECT_EQ(Ch.Count, 4);
  // 1000 counted pairs, step Trunc(20 x 10 x 10 x 0.005) + 1 = 11: 90 passes.
  A.Resize(20, 10, 10, 2);
  test::TPassCounter Passes;
  A.MirrorColumns();
  EXPECT_EQ(Passes.Passes(), 90.0);
}

}  // namespace
