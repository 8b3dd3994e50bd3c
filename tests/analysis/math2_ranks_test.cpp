// CalcRanks: mid-ranks and the tie term.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"

namespace orv {
namespace {

using test::FillValues;
using test::Values;

TEST(CalcRanks, MidRanksAndTieTerm) {
  TVector Src, Dst;
  FillValues(Src, {3, 1, 3, 2});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 6.0);
  EXPECT_EQ(Values(Dst), (std::vector<double>{3.5, 1, 3.5, 2}));
  // No ties: plain ranks, tie term 0.
  FillValues(Src, {0.5, -2, 10, 7});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 0.0);
  EXPECT_EQ(Values(Dst), (std::vector<double>{2, 1, 4, 3}));
  // Groups of 3 and 2: 3 * 8 + 2 * 3; -0 and 0 are equal.
  FillValues(Src, {5, 0.0, 5, 9, -0.0, 5});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 30.0);
  EXPECT_EQ(Values(Dst), (std::vector<double>{4, 1.5, 4, 6, 1.5, 4}));
  // A single element.
  FillValues(Src, {42});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 0.0);
  EXPECT_EQ(Values(Dst), (std::vector<double>{1}));
}

TEST(CalcRanks, DestinationMayBeTheSourceAndNaNRanksLast) {
  TVector V;
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  FillValues(V, {2, NaN, 1, NaN, 2});
  int Changes = 0;
  V.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_EQ(CalcRanks(&V, &V), 6.0);
  EXPECT_EQ(Values(V), (std::vector<double>{2.5, 4, 1, 5, 2.5}));
  EXPECT_EQ(Changes, 5) << "one OnChange per element, no resize";
  TVector Dst;
  EXPECT_EQ(CalcRanks(nullptr, &Dst), 0.0);
  EXPECT_EQ(CalcRanks(&V, nullptr), 0.0);
  EXPECT_EQ(Dst.NrOfElem(), 1);
}

}  // namespace
}  // namespace orv
