// TIntVector: the core with integers, 32-bit arithmetic that wraps, the
// computations in double, and the integer histogram.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::Values;
using TInts = std::vector<int32_t>;

void Fill(TIntVector& V, const TInts& X) {
  V.Resize(static_cast<int32_t>(X.size()));
  V.CopyFromArray(X, 1);
}

TEST(IntVectorCore, LifeCycleAndChecksum) {
  TIntVector V;
  EXPECT_EQ(V.ClassName(), "TIntVector");
  EXPECT_EQ(V.NrOfElem(), 1);
  EXPECT_TRUE(V.IsEmpty());
  EXPECT_EQ(V.CRCofData().size(), 32u);
  // Four CRC-32 registers of one zero byte each: zlib.crc32(b'\0') = 0xD202EF8D.
  EXPECT_EQ(V.CRCofData(), "D202EF8DD202EF8DD202EF8DD202EF8D");
  Fill(V, {3, -1, INT32_MIN});
  V.AbsVal();
  EXPECT_EQ(Values(V), (TInts{3, 1, INT32_MIN})) << "as NumPy int32 abs";
  EXPECT_DOUBLE_EQ(V.Leng(), std::sqrt(10.0 + 4611686018427387904.0)) << "squares in double";
  TIntVector W;
  W.Assign(&V);
  EXPECT_EQ(Values(W), Values(V));
  TVector Real;
  EXPECT_THROW(W.Assign(&Real), EConvertError);
  EXPECT_THROW(Real.Assign(&W), EConvertError);
}

TEST(IntVectorArithmetic, WrapsLikeNumPyInt32) {
  // References: NumPy int32 arrays (sum, a*b summed, +, -, *3, correlate by slices).
  const TInts X{2147483647, 5, INT32_MIN, 46341, -70000}, Y{3, -7, 2, 46341, 70000};
  TIntVector A, B;
  Fill(A, X);
  Fill(B, Y);
  EXPECT_EQ(A.Sum(0, 0), -23655);
  EXPECT_EQ(A.DotProduct(&B), -605028109);
  EXPECT_EQ(A.Correlate(&B, 1), -1051097279);  // x(i) y(i + 1)
  EXPECT_EQ(A.Correlate(&B, -2), 2147019261);
  EXPECT_EQ(A.Correlate(&B, 4), -70000);  // one pair: 2147483647 * 70000 in int32
  EXPECT_EQ(A.Correlate(&B, 5), 0);
  EXPECT_EQ(A.Correlate(nullptr, 0), 0);
  A.Add(&B);
  EXPECT_EQ(Values(A), (TInts{-2147483646, -2, -2147483646, 92682, 0}));
  Fill(A, X);
  A.Subtract(&B);
  EXPECT_EQ(Values(A), (TInts{2147483644, 12, 2147483646, 0, -140000}));
  Fill(A, X);
  A.SMult(3);
  EXPECT_EQ(Values(A), (TInts{2147483645, 15, INT32_MIN, 139023, -210000}));

  // Lengths, distances, moments and order statistics in double (NumPy float64).
  Fill(A, X);
  EXPECT_DOUBLE_EQ(A.EuclideanDistance(&B), 3037000501.788704);
  double Mean, Var, Q1, Q2, Q3;
  A.MeanVar(0, 0, Mean, Var);
  EXPECT_EQ(Mean, -4731.0);
  EXPECT_DOUBLE_EQ(Var, 2.3058430098738463e+18);
  EXPECT_DOUBLE_EQ(A.Percentile(10, 0, 0), -1288518188.8);
  EXPECT_DOUBLE_EQ(A.Percentile(90, 0, 0), 1288508724.6000001);
  EXPECT_TRUE(A.Quartiles(0, 0, Q1, Q2, Q3));
  EXPECT_EQ(Q1, -1073776824.0);
  EXPECT_EQ(Q2, 5.0);
  EXPECT_EQ(Q3, 1073764994.0);

  // The example of the shift: 1, 2, 3 with 4, 5, 6 and ElemShift 1.
  Fill(A, {1, 2, 3});
  Fill(B, {4, 5, 6});
  EXPECT_EQ(A.Correlate(&B, 1), 17);
  B.Resize(2);
  A.SetName("Ints");
  test::ExpectRaises<EORVVectorError>([&] { A.DotProduct(&B); },
                                      "Component \"Ints\": vectors have different dimensions");
  test::ExpectRaises<EORVVectorError>([&] { A.EuclideanDistance(&B); },
                                      "EuclideanDistance: dimensions of vectors do not match");
  EXPECT_EQ(A.PearsonCorrCoeff(nullptr), 0.0);
  EXPECT_EQ(A.EuclideanDistance(nullptr), 0.0);
}

TEST(IntVectorSearch, FindMinMaxAndSort) {
  TIntVector V;
  Fill(V, {3, 7, 7});
  EXPECT_EQ(V.FindExact(0, 0, 7), 2);
  EXPECT_EQ(V.FindExact(0, 0, 5), 0);
  EXPECT_EQ(V.Find(0, 0, 5), 1) << "3 and 7 equally near: the first";
  EXPECT_EQ(V.FindInSortedVector(true, 6), 2);
  Fill(V, {INT32_MIN, 0, INT32_MAX});
  EXPECT_EQ(V.Find(0, 0, INT32_MAX - 1), 3);
  EXPECT_EQ(V.FindInSortedVector(true, INT32_MIN + 1), 1);

  int32_t Min, Max, MinIx, MaxIx;
  Fill(V, {5, -3, 5});
  V.MinMax(0, 0, Min, Max, MinIx, MaxIx);
  EXPECT_EQ((TInts{Min, Max, MinIx, MaxIx}), (TInts{-3, 5, 2, 1}));
  Fill(V, {INT32_MIN, INT32_MIN});  // below the start value -2147483647 of the maximum
  V.MinMax(0, 0, Min, Max, MinIx, MaxIx);
  EXPECT_EQ((TInts{Min, Max, MinIx, MaxIx}), (TInts{INT32_MIN, INT32_MIN, 1, 1}));

  Fill(V, {4, 1, 3, 1, 2});
  test::TSortRecorder Rec;
  Rec.Attach(V);
  V.SortElems(false, 0, 0);
  EXPECT_EQ(Values(V), (TInts{4, 3, 2, 1, 1}));
  EXPECT_FALSE(Rec.Exchanges.empty());
  EXPECT_EQ(Rec.Changes, 1);
  EXPECT_EQ(V.Mode(0, 0), 1);
}

TEST(IntVectorHistogram, BinsInSixtyFourBits) {
  TIntVector V, H;
  V.SetName("Ints");
  int32_t U, O, M;
  // The bins, then Underflow, Overflow and MaxCnt.
  const struct { TInts X; int32_t First, Last, Width; TInts Want; } Rows[] = {
      // 0..5 by 2: 3 bins; 6 lies below Last + Width, but its bin 4 does not exist: overflow, like 7
      {{-1, 0, 1, 2, 5, 6, 7}, 0, 5, 2, {2, 1, 1, 1, 2, 2}},
      // a width <= 0 counts as 1: 10 bins for 0..9
      {{-1, 0, 1, 2, 5, 6, 7}, 0, 9, 0, {1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 0, 1}},
      // bounds and widths whose sums and differences leave 32 bits
      {{INT32_MIN, -1, 0, INT32_MAX}, INT32_MIN, INT32_MAX, INT32_MAX, {1, 2, 1, 0, 0, 2}},
      {{INT32_MIN, -1, 0, INT32_MAX}, INT32_MAX - 1, INT32_MAX, 1, {0, 1, 3, 0, 1}},
  };
  for (const auto& R : Rows) {
    Fill(V, R.X);
    ASSERT_TRUE(V.Histogram(1, V.NrOfElem(), R.First, R.Last, R.Width, &H, U, O, M));
    TInts Got = Values(H);
    Got.insert(Got.end(), {U, O, M});
    EXPECT_EQ(Got, R.Want) << R.First << ".." << R.Last << " by " << R.Width;
  }
  test::ExpectRaises<EORVVectorError>([&] { V.Histogram(0, 0, 0, 600, 1, &H, U, O, M); },
                                      "Component \"Ints.Histogram\": invalid number of bins");
  EXPECT_FALSE(V.Histogram(0, 0, 0, 600, 1, nullptr, U, O, M));

  // Histo may be the vector itself: it counts the values it held, watched or not.
  for (bool Watched : {false, true}) {
    Fill(V, {1, 2, 2, 3, 9});
    int Events = 0;
    if (Watched) V.OnChange = [&](TObject*) { ++Events; };
    ASSERT_TRUE(V.Histogram(1, 5, 1, 3, 1, &V, U, O, M));
    EXPECT_EQ(Values(V), (TInts{1, 2, 1})) << "watched " << Watched;
    EXPECT_EQ((TInts{U, O, M}), (TInts{0, 1, 2}));
    EXPECT_EQ(Events, Watched ? 2 + 4 : 0) << "Resize, Clear, then one per count";
    V.OnChange = nullptr;
  }
}

}  // namespace
}  // namespace orv
