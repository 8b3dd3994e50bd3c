// TVector order: SortElems, Mirror and ShuffleElems.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_vector.h"
#include "support/components.h"

namespace orv {
namespace {

using test::FillValues;
using test::TSortRecorder;
using test::Values;

TEST(VectorSortElems, ExchangesOfTheCombSort) {
  TVector V;
  FillValues(V, {5, 1, 4, 2, 3});
  TSortRecorder Rec;
  Rec.Attach(V);
  V.SortElems(true, 0, 0);
  // By hand: gap 4 shrinks to 3: (1,4); gap 2: (3,5); gap 1: (1,2), (4,5); gap 1 again: none.
  using E = TSortRecorder::TExchange;
  EXPECT_EQ(Rec.Exchanges, (std::vector<E>{{0, 1, 4, 0, 0}, {0, 3, 5, 0, 0}, {0, 1, 2, 0, 0}, {0, 4, 5, 0, 0}}));
  EXPECT_EQ(Rec.Changes, 1);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 3, 4, 5}));

  const double NaN = std::numeric_limits<double>::quiet_NaN();
  FillValues(V, {9, NaN, 3, 1, 2, 0});
  Rec = {};
  V.SortElems(false, 5, 2);  // elements 2..5, descending, NaN last
  const std::vector<double> X = Values(V);
  EXPECT_EQ(X[0], 9);
  EXPECT_EQ((std::vector<double>{X[1], X[2], X[3]}), (std::vector<double>{3, 2, 1}));
  EXPECT_TRUE(std::isnan(X[4]));
  EXPECT_EQ(X[5], 0);

  Rec = {};
  V.SortElems(true, 3, 3);
  EXPECT_TRUE(Rec.Exchanges.empty());
  EXPECT_EQ(Rec.Changes, 0) << "one element: nothing, no event";

  // A handler that shrinks the vector ends the sort at once.
  FillValues(V, {6, 5, 4, 3, 2, 1});
  int Exchanges = 0;
  V.OnSortExchange = [&](TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
    ++Exchanges;
    V.Resize(2);
  };
  V.SortElems(true, 0, 0);
  EXPECT_EQ(Exchanges, 1);
  EXPECT_EQ(V.NrOfElem(), 2);

  // Without a handler the sort takes pairs several at a time: the same
  // exchanges as with one (pair by pair), which ties tell apart when equal
  // values differ in their bits (+0 and -0, NaN payloads).
  const double Ties[] = {0.0, -0.0, NaN, -NaN, 2.5};
  std::vector<double> In;
  for (int I = 0; I < 3000; ++I) In.push_back(I % 7 < 5 ? Ties[I % 7] : (I * 7919) % 31 - 15.5);
  for (const bool Up : {true, false}) {
    TVector Plain, Lanes;
    FillValues(Plain, In);
    FillValues(Lanes, In);
    Plain.OnSortExchange = [](TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {};
    Plain.SortElems(Up, 7, 2991);
    Lanes.SortElems(Up, 7, 2991);
    const std::vector<double> A = Values(Plain), B = Values(Lanes);
    for (size_t K = 0; K < A.size(); ++K)
      ASSERT_EQ(std::bit_cast<uint64_t>(A[K]), std::bit_cast<uint64_t>(B[K])) << Up << " element " << K + 1;
  }
}

TEST(VectorOrder, MirrorAndShuffle) {
  TVector V;
  FillValues(V, {1, 2, 3, 4});
  test::TChangeCounter Changes;
  Changes.Attach(V);
  V.Mirror();
  EXPECT_EQ(Values(V), (std::vector<double>{4, 3, 2, 1}));
  EXPECT_EQ(Changes.Count, 1);
  std::vector<double> X;
  for (int I = 1; I <= 50; ++I) X.push_back(I);
  FillValues(V, X);
  Changes.Count = 0;
  V.ShuffleElems();
  std::vector<double> Y = Values(V);
  EXPECT_NE(Y, X) << "a shuffle that leaves 50 elements in place is vanishingly rare";
  std::sort(Y.begin(), Y.end());
  EXPECT_EQ(Y, X);
  EXPECT_EQ(Changes.Count, 0);
}

}  // namespace
}  // namespace orv
