// CalcRanks: mid-ranks and the tie term.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "orvcalckit/ORV_math2.h"

namespace orv {
namespace {

void Fill(TVector& V, const std::vector<double>& Values) {
  V.Resize(static_cast<int32_t>(Values.size()));
  for (std::size_t I = 0; I < Values.size(); ++I) V.SetVal(static_cast<int32_t>(I + 1), Values[I]);
}

std::vector<double> Elements(const TVector& V) {
  std::vector<double> R;
  for (int32_t I = 1; I <= V.NrOfElem(); ++I) R.push_back(V.GetVal(I));
  return R;
}

TEST(CalcRanks, MidRanksAndTieTerm) {
  TVector Src, Dst;
  Fill(Src, {3, 1, 3, 2});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 6.0);
  EXPECT_EQ(Elements(Dst), (std::vector<double>{3.5, 1, 3.5, 2}));
  // No ties: plain ranks, tie term 0.
  Fill(Src, {0.5, -2, 10, 7});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 0.0);
  EXPECT_EQ(Elements(Dst), (std::vector<double>{2, 1, 4, 3}));
  // Groups of 3 and 2: 3 * 8 + 2 * 3; -0 and 0 are equal.
  Fill(Src, {5, 0.0, 5, 9, -0.0, 5});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 30.0);
  EXPECT_EQ(Elements(Dst), (std::vector<double>{4, 1.5, 4, 6, 1.5, 4}));
  // A single element.
  Fill(Src, {42});
  EXPECT_EQ(CalcRanks(&Src, &Dst), 0.0);
  EXPECT_EQ(Elements(Dst), (std::vector<double>{1}));
}

TEST(CalcRanks, DestinationMayBeTheSourceAndNaNRanksLast) {
  TVector V;
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  Fill(V, {2, NaN, 1, NaN, 2});
  int Changes = 0;
  V.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_EQ(CalcRanks(&V, &V), 6.0);
  EXPECT_EQ(Elements(V), (std::vector<double>{2.5, 4, 1, 5, 2.5}));
  EXPECT_EQ(Changes, 5) << "one OnChange per element, no resize";
  TVector Dst;
  EXPECT_EQ(CalcRanks(nullptr, &Dst), 0.0);
  EXPECT_EQ(CalcRanks(&V, nullptr), 0.0);
  EXPECT_EQ(Dst.NrOfElem(), 1);
}

}  // namespace
}  // namespace orv
