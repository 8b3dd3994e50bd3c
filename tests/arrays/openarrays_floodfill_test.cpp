// FloodFillArray and EdgeVector.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

using V = std::vector<int32_t>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// The reference: breadth-first search over the four edge neighbours. In
// marks the region of Open cells around the seed; Want holds the count,
// MaxRow, MinRow, MinCol and MaxCol.
struct TRegion {
  std::vector<std::vector<bool>> In;
  V Want;
};
TRegion LabelRegion(const TDouble2DArray& Grid, int32_t X, int32_t Y, bool (*Open)(double)) {
  const int32_t NC = static_cast<int32_t>(Grid.size()), NR = static_cast<int32_t>(Grid[0].size());
  TRegion G{std::vector<std::vector<bool>>(NC, std::vector<bool>(NR)), {0, Y, Y, X, X}};
  std::deque<std::pair<int32_t, int32_t>> Queue{{X, Y}};
  G.In[X][Y] = true;
  for (; !Queue.empty(); Queue.pop_front()) {
    const auto [C, R] = Queue.front();
    G.Want = {G.Want[0] + 1, std::max(G.Want[1], R), std::min(G.Want[2], R), std::min(G.Want[3], C),
              std::max(G.Want[4], C)};
    for (const auto& [NCol, NRow] : {std::pair{C - 1, R}, {C + 1, R}, {C, R - 1}, {C, R + 1}})
      if (NCol >= 0 && NCol < NC && NRow >= 0 && NRow < NR && !G.In[NCol][NRow] && Open(Grid[NCol][NRow])) {
        G.In[NCol][NRow] = true;
        Queue.push_back({NCol, NRow});
      }
  }
  return G;
}

template <class A, class... T>
V Fill(A& Grid, T... Args) {
  V B(4, -9);
  const int32_t Count = FloodFillArray(Args..., Grid, B[0], B[1], B[2], B[3]);
  return {Count, B[0], B[1], B[2], B[3]};
}

TEST(FloodFillArray, FillsTheFourConnectedRegionOfTheReference) {
  // A maze of 300 x 200 cells: open (1 + noise) with probability 0.62, just
  // above the square lattice's site percolation threshold (0.5927), so that
  // regions wind and branch; walls 5.
  SetRandSeed(2024);
  const auto Maze =
      test::ScanArray<double>([](int64_t) { return Random() < 0.62 ? 1 + 0.01 * Random() : 5.0; }, 300, 200);
  TInt2DArray IMaze(Maze.size());
  for (std::size_t C = 0; C < Maze.size(); ++C)
    for (double X : Maze[C]) IMaze[C].push_back(X < 2 ? 0 : 1);
  const V Seeds[] = {{150, 100}, {0, 0}, {299, 199}, {17, 3}};  // all open; {0, 0} in a region of 3
  for (const auto& S : Seeds) {
    const TRegion G = LabelRegion(Maze, S[0], S[1], [](double X) { return X < 2; });
    auto I = IMaze;
    EXPECT_EQ(Fill(I, S[0], S[1], 7), G.Want);
    for (std::size_t C = 0; C < I.size(); ++C)
      for (std::size_t R = 0; R < I[C].size(); ++R) ASSERT_EQ(I[C][R], G.In[C][R] ? 7 : IMaze[C][R]) << C << ", " << R;
    // Doubles within 0.5 of the seed's; NewValue outside the tolerance or
    // inside it (the seed's own value among them) fills the region once.
    for (const double New : {9.0, Maze[S[0]][S[1]], 1.004, -Inf}) {
      auto D = Maze;
      EXPECT_EQ(Fill(D, S[0], S[1], -0.5, New), G.Want) << "new value " << New;
      for (std::size_t C = 0; C < D.size(); ++C)
        for (std::size_t R = 0; R < D[C].size(); ++R) ASSERT_EQ(D[C][R], G.In[C][R] ? New : Maze[C][R]);
    }
  }
  // A serpentine corridor through 301 x 301 cells; a full 4000 x 4000 region,
  // far beyond what a recursive fill survives.
  TInt2DArray Snake(301, TIntArray(301, 0));
  for (int32_t C = 1; C < 301; C += 2)
    for (int32_t R = 0; R < 301; ++R) Snake[C][R] = C % 4 == 1 ? R != 300 : R != 0;
  EXPECT_EQ(Fill(Snake, 300, 300, 2), V({151 * 301 + 150, 300, 0, 0, 300}));
  TInt2DArray Big(4000, TIntArray(4000, 0));
  EXPECT_EQ(Fill(Big, 1234, 2345, 1), V({16000000, 3999, 0, 0, 3999}));
  EXPECT_EQ(Big[3999][0] + Big[0][3999], 2);
}

TEST(FloodFillArray, SmallCasesCodesAndUntouchedFailures) {
  TInt2DArray A(3, TIntArray(3, 0)), Diag = {{1, 0, 1}, {0, 1, 0}, {1, 0, 1}}, Ragged = {{0, 0}, {0}};
  EXPECT_EQ(Fill(A, 1, 1, 5), V({9, 2, 0, 0, 2}));
  EXPECT_EQ(Fill(Diag, 1, 1, 3), V({1, 1, 1, 1, 1}));  // diagonal neighbours stay
  EXPECT_EQ(Diag, (TInt2DArray{{1, 0, 1}, {0, 3, 0}, {1, 0, 1}}));
  const V Fails[] = {{-1, 0, 8}, {3, 0, 8}, {0, -1, 8}, {0, 3, 8}, {INT32_MIN, INT32_MAX, 8}, {1, 1, 3}};
  for (const auto& F : Fails) EXPECT_EQ(Fill(Diag, F[0], F[1], F[2]), V({F[2] == 3 ? -2 : -1, -9, -9, -9, -9}));
  EXPECT_EQ(Fill(Ragged, 0, 0, 1)[0], -1);
  EXPECT_TRUE(Diag == (TInt2DArray{{1, 0, 1}, {0, 3, 0}, {1, 0, 1}}) && Ragged == (TInt2DArray{{0, 0}, {0}}));
  // Doubles: Tol 0 is equality; a seed that does not match itself gives 0.
  TDouble2DArray D = {{1, 1.5, 1}, {1 + 1e-12, 2, 1}}, F = {{Inf, Inf, 1}};
  EXPECT_EQ(Fill(D, 0, 0, 0.0, 4.0), V({1, 0, 0, 0, 0}));
  EXPECT_EQ(D, (TDouble2DArray{{4, 1.5, 1}, {1 + 1e-12, 2, 1}}));
  EXPECT_EQ(Fill(F, 0, 1, 1e300, 0.0)[0], 2);
  const double NoMatch[][2] = {{NaN, 0}, {1, NaN}, {Inf, Inf}, {-Inf, -Inf}};
  for (const auto& N : NoMatch) {
    TDouble2DArray E = {{N[0], 1}};
    EXPECT_EQ(Fill(E, 0, 0, N[1], 3.0), V({0, -9, -9, -9, -9})) << N[0] << " +- " << N[1];
    EXPECT_EQ(E[0][1], 1);
  }
}

TEST(EdgeVector, ReducesRowsOrColumnsInDouble) {
  // Two columns of four rows: every line by hand. NaN cells are passed over by
  // the minimum and maximum; a line of +infinity has the minimum uc_MaxDouble.
  const TInt2DArray I = {{3, -2, 7, 0}, {1, 1, INT32_MAX, -8}};
  const TDouble2DArray D = {{NaN, 1.5, Inf, Inf}, {2, -0.5, Inf, -Inf}};
  const struct {
    TOrientation Orient;
    TEdgeOp Op;
    TDoubleArray WantI, WantD;
  } Rows[] = {
      {orRows, eoMinimum, {1, -2, 7, -8}, {2, -0.5, uc_MaxDouble, -Inf}},
      {orRows, eoMaximum, {3, 1, 2147483647, 0}, {2, 1.5, Inf, Inf}},
      {orRows, eoSum, {4, -1, 2147483654.0, -8}, {NaN, 1, Inf, NaN}},
      {orRows, eoMean, {2, -0.5, 1073741827, -4}, {NaN, 0.5, Inf, NaN}},
      {orColumns, eoMinimum, {-2, -8}, {1.5, -Inf}},
      {static_cast<TOrientation>(7), eoMaximum, {7, 2147483647}, {Inf, Inf}},
      {orColumns, eoSum, {8, 2147483641.0}, {NaN, NaN}},
      {orColumns, eoMean, {2, 536870910.25}, {NaN, NaN}},
  };
  for (const auto& R : Rows) {
    TDoubleArray VI, VD;
    EXPECT_EQ(EdgeVector(I, R.Orient, R.Op, VI) + EdgeVector(D, R.Orient, R.Op, VD), 0);
    EXPECT_EQ(VI, R.WantI) << "orientation " << int{R.Orient} << ", op " << int{R.Op};
    for (std::size_t K = 0; K < R.WantD.size(); ++K)
      EXPECT_TRUE(VD.at(K) == R.WantD[K] || (std::isnan(VD[K]) && std::isnan(R.WantD[K]))) << int{R.Op} << K;
  }
  const TDouble2DArray Shapes[] = {{}, {{}}, {{}, {}}, {{1, 2}, {3}}, {{1}, {2, 3}}, {{}, {4}}};
  TDoubleArray Out = {9};
  for (const auto& S : Shapes) EXPECT_EQ(EdgeVector(S, orRows, eoSum, Out), -1) << S.size() << " columns";
  EXPECT_EQ(EdgeVector(TInt2DArray{}, orColumns, static_cast<TEdgeOp>(4), Out), -1);
  EXPECT_EQ(EdgeVector(I, orColumns, static_cast<TEdgeOp>(4), Out), -2);
  EXPECT_EQ(Out, TDoubleArray{9});
}

}  // namespace
}  // namespace orv
