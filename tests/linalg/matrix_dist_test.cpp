// Distances and similarities between TMatrix rows.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using namespace orv;

using test::FillRows;

const std::vector<std::vector<double>> Data = {
    {1.0, 2.0, -1.0, 0.5}, {0.0, 3.0, 2.0, -1.5}, {2.5, -1.0, 0.0, 4.0}, {1.0, 1.0, 1.0, 1.0}};

// Pairs (i, j) of Data with Tanimoto, city block, Euclidean, squared
// Euclidean and Dice; computed once with NumPy and SciPy
// (scipy.spatial.distance.cityblock/euclidean/sqeuclidean; x@y etc.).
const std::vector<std::tuple<int, int, double, double, double, double, double>> Ref = {
    {1, 2, 0.1780821917808219, 7.0, 3.872983346207417, 15.0, 0.3023255813953488},
    {1, 3, 0.09259259259259259, 9.0, 4.949747468305833, 24.5, 0.1694915254237288},
    {1, 4, 0.3225806451612903, 3.5, 2.29128784747792, 5.25, 0.4878048780487805},
    {2, 3, -0.18947368421052632, 14.0, 7.516648189186454, 56.5, -0.4675324675324675},
    {2, 4, 0.2222222222222222, 6.5, 3.5, 12.25, 0.36363636363636365},
    {3, 4, 0.25287356321839083, 7.5, 4.031128874149275, 16.25, 0.4036697247706422}};

double Pick(const std::tuple<int, int, double, double, double, double, double>& T, int Mode) {
  switch (Mode) {
    case 0: return std::get<2>(T);
    case 1: return std::get<3>(T);
    case 2: return std::get<4>(T);
    case 3: return std::get<5>(T);
    default: return std::get<6>(T);
  }
}

TEST(MatrixDistance, MeasuresAgainstReference) {
  TMatrix M(nullptr);
  FillRows(M, Data);
  for (const auto& T : Ref)
    for (int Mode = 0; Mode <= 4; ++Mode) {
      const double Want = Pick(T, Mode);
      EXPECT_DOUBLE_EQ(M.DistanceOfObjects(TDistMode(Mode), std::get<0>(T), std::get<1>(T)), Want) << Mode;
      EXPECT_DOUBLE_EQ(M.DistanceOfObjects(TDistMode(Mode), std::get<1>(T), std::get<0>(T)), Want) << Mode;
    }
  // Unit rows (1, 0) and (0, 1).
  FillRows(M, {{1, 0}, {0, 1}});
  EXPECT_EQ(M.DistanceOfObjects(dmCityBlock, 1, 2), 2.0);
  EXPECT_EQ(M.DistanceOfObjects(dmEuclidean, 1, 2), std::sqrt(2.0));
  EXPECT_EQ(M.DistanceOfObjects(dmSqrEuclidean, 1, 2), 2.0);
  EXPECT_EQ(M.DistanceOfObjects(dmTanimoto, 1, 2), 0.0);
  EXPECT_EQ(M.DistanceOfObjects(dmDice, 1, 2), 0.0);
  // Identical non-zero rows.
  FillRows(M, {{1, -2, 3}, {1, -2, 3}});
  EXPECT_EQ(M.DistanceOfObjects(dmTanimoto, 1, 2), 1.0);
  EXPECT_EQ(M.DistanceOfObjects(dmDice, 1, 2), 1.0);
  for (auto Mode : {dmCityBlock, dmEuclidean, dmSqrEuclidean}) EXPECT_EQ(M.DistanceOfObjects(Mode, 1, 2), 0.0);
  // Other ordinals measure nothing.
  EXPECT_EQ(M.DistanceOfObjects(TDistMode(6), 1, 2), 0.0);
  EXPECT_EQ(M.DistanceOfObjects(TDistMode(255), 1, 2), 0.0);
}

TEST(MatrixDistance, RowsOutsideReadAsZeros) {
  TMatrix M(nullptr);
  FillRows(M, {{3, 4}});
  EXPECT_EQ(M.DistanceOfObjects(dmEuclidean, 1, 0), 5.0);
  EXPECT_EQ(M.DistanceOfObjects(dmCityBlock, 2, 1), 7.0);
  EXPECT_EQ(M.DistanceOfObjects(dmEuclidean, -7, INT32_MAX), 0.0);
  EXPECT_EQ(M.DistanceOfObjects(dmTanimoto, 1, 5), 0.0);
}

TEST(MatrixDistance, ZeroDenominatorsOfSimilarities) {
  TMatrix M(nullptr);
  FillRows(M, {{0, 0, 0}, {0, 0, 0}, {1, 0, 2}, {1e-200, -1e-200, 0}, {1e-200, -1e-200, 0}, {-1e-200, 1e-200, 0}});
  for (auto Mode : {dmTanimoto, dmDice}) {
    EXPECT_EQ(M.DistanceOfObjects(Mode, 1, 2), 1.0) << int(Mode);  // two all-zero rows are equal
    EXPECT_EQ(M.DistanceOfObjects(Mode, 1, 3), 0.0) << int(Mode);  // zero against non-zero
    EXPECT_EQ(M.DistanceOfObjects(Mode, 4, 5), 1.0) << int(Mode);  // squares underflow, rows equal
    EXPECT_EQ(M.DistanceOfObjects(Mode, 4, 6), 0.0) << int(Mode);  // squares underflow, rows differ
    EXPECT_EQ(M.DistanceOfObjects(Mode, 1, 9), 1.0) << int(Mode);  // a row outside is zero too
  }
  // No column at all: every row is empty and equal.
  M.Resize(0, 2);
  EXPECT_EQ(M.DistanceOfObjects(dmTanimoto, 1, 2), 1.0);
  EXPECT_EQ(M.DistanceOfObjects(dmEuclidean, 1, 2), 0.0);
}

TEST(MatrixDistance, UserModeAsksTheHost) {
  TMatrix M(nullptr);
  FillRows(M, Data);
  EXPECT_EQ(M.DistanceOfObjects(dmUser, 1, 2), 0.0);
  M.OnCalcDistance = [&](TObject* S, int32_t R1, int32_t R2, double& D) {
    EXPECT_EQ(S, &M);
    EXPECT_EQ(D, 0.0);
    D = 7;
    if (R1 == 99) D = R2;
  };
  EXPECT_EQ(M.DistanceOfObjects(dmUser, 1, 2), 7.0);
  EXPECT_EQ(M.DistanceOfObjects(dmUser, 99, -4), -4.0);  // any rows go to the host
}

TEST(MatrixDistance, DistMatSizeChecksLeaveTargetUnchanged) {
  TMatrix M(nullptr), D(nullptr);
  FillRows(M, Data);
  int Changes = 0;
  D.OnChange = [&](TObject*) { ++Changes; };
  D.Resize(3, 3);
  D.Fill(5);
  Changes = 0;
  EXPECT_EQ(M.CalcDistMat(dmEuclidean, &D), -2);
  D.Resize(3, 4);
  D.Fill(5);
  Changes = 0;
  EXPECT_EQ(M.CalcDistMat(dmEuclidean, &D), -2);  // both faults: -2
  D.Resize(4, 3);
  D.Fill(5);
  Changes = 0;
  EXPECT_EQ(M.CalcDistMat(dmEuclidean, &D), -1);
  EXPECT_EQ(Changes, 0);
  for (int C = 1; C <= 4; ++C)
    for (int R = 1; R <= 3; ++R) EXPECT_EQ(D.Elem(C, R), 5.0);
  EXPECT_EQ(M.CalcDistMat(dmEuclidean, nullptr), -2);
  D.Resize(4, 4);
  EXPECT_EQ(M.CalcDistMat(dmEuclidean, &D), 0);
  // An empty source fills an empty target.
  TMatrix E(nullptr), ED(nullptr);
  E.Resize(3, 0);
  ED.Resize(0, 0);
  EXPECT_EQ(E.CalcDistMat(dmCityBlock, &ED), 0);
  EXPECT_EQ(E.CalcDistMat(dmUser, &ED), 0);
}

TEST(MatrixDistance, DistMatIsSymmetricWithZeroDiagonalInEveryPath) {
  TMatrix M(nullptr);
  FillRows(M, Data);
  for (int Mode = 0; Mode <= 4; ++Mode)
    for (bool Watched : {false, true}) {
      TMatrix D(nullptr);
      D.Resize(4, 4);
      D.Fill(9);
      int Changes = 0;
      if (Watched) D.OnChange = [&](TObject*) { ++Changes; };
      ASSERT_EQ(M.CalcDistMat(TDistMode(Mode), &D), 0);
      if (Watched) {
        EXPECT_EQ(Changes, 16);  // one per cell written
      }
      for (int I = 1; I <= 4; ++I) EXPECT_EQ(D.Elem(I, I), 0.0);
      for (const auto& T : Ref) {
        EXPECT_DOUBLE_EQ(D.Elem(std::get<0>(T), std::get<1>(T)), Pick(T, Mode)) << Mode;
        EXPECT_DOUBLE_EQ(D.Elem(std::get<1>(T), std::get<0>(T)), Pick(T, Mode)) << Mode;
      }
    }
  // Unknown modes give zeros.
  TMatrix D(nullptr);
  D.Resize(4, 4);
  D.Fill(9);
  EXPECT_EQ(M.CalcDistMat(TDistMode(17), &D), 0);
  for (int C = 1; C <= 4; ++C)
    for (int R = 1; R <= 4; ++R) EXPECT_EQ(D.Elem(C, R), 0.0);
}

TEST(MatrixDistance, DistMatOrderOfHandlerCallsAndWrites) {
  TMatrix M(nullptr), D(nullptr);
  M.Resize(2, 3);
  D.Resize(3, 3);
  std::vector<std::tuple<char, int, int>> Log;
  M.OnCalcDistance = [&](TObject*, int32_t A, int32_t B, double& Dist) {
    Log.emplace_back('d', A, B);
    Dist = 10 * A + B;
  };
  // Find the cell each write changed by comparing with the previous state.
  std::vector<double> Prev(9, -1);
  D.Fill(-1);
  D.OnChange = [&](TObject*) {
    for (int C = 1; C <= 3; ++C)
      for (int R = 1; R <= 3; ++R) {
        double& P = Prev[size_t((C - 1) * 3 + R - 1)];
        if (D.Elem(C, R) != P) {
          Log.emplace_back('w', C, R);
          P = D.Elem(C, R);
        }
      }
  };
  ASSERT_EQ(M.CalcDistMat(dmUser, &D), 0);
  const std::vector<std::tuple<char, int, int>> Want = {
      {'w', 1, 1}, {'d', 1, 2}, {'w', 1, 2}, {'w', 2, 1}, {'d', 1, 3}, {'w', 1, 3}, {'w', 3, 1},
      {'w', 2, 2}, {'d', 2, 3}, {'w', 2, 3}, {'w', 3, 2}, {'w', 3, 3}};
  EXPECT_EQ(Log, Want);
  EXPECT_EQ(D.Elem(3, 2), 23.0);
}

TEST(MatrixDistance, DistMatIntoTheSourceItselfUsesTheOriginalRows) {
  const std::vector<std::vector<double>> Square = {
      {1, 2, 0, 4}, {0, 3, 2, 1}, {2, 1, 0, 4}, {1, 1, 1, 1}};
  for (int Mode = 0; Mode <= 5; ++Mode)
    for (bool Watched : {false, true}) {
      TMatrix Ref(nullptr), D(nullptr), Self(nullptr);
      FillRows(Ref, Square);
      FillRows(Self, Square);
      D.Resize(4, 4);
      const auto Host = [](TMatrix& On) {
        On.OnCalcDistance = [&On](TObject*, int32_t A, int32_t B, double& Dist) {
          Dist = On.Elem(1, A) + On.Elem(4, B);  // reads the source while measuring
        };
      };
      Host(Ref);
      Host(Self);
      ASSERT_EQ(Ref.CalcDistMat(TDistMode(Mode), &D), 0);
      int Changes = 0;
      if (Watched) Self.OnChange = [&](TObject*) { ++Changes; };
      ASSERT_EQ(Self.CalcDistMat(TDistMode(Mode), &Self), 0);
      if (Watched) {
        EXPECT_EQ(Changes, 16);
      }
      for (int C = 1; C <= 4; ++C)
        for (int R = 1; R <= 4; ++R) EXPECT_EQ(Self.Elem(C, R), D.Elem(C, R)) << Mode << " " << C << "," << R;
    }
}

TEST(MatrixDistance, HandlerThatResizesTheTargetCannotBreakTheWrites) {
  TMatrix M(nullptr), D(nullptr);
  FillRows(M, Data);
  D.Resize(4, 4);
  M.OnCalcDistance = [&](TObject*, int32_t, int32_t, double& Dist) {
    D.Resize(1, 1);
    Dist = 1;
  };
  EXPECT_EQ(M.CalcDistMat(dmUser, &D), 0);
  EXPECT_EQ(D.NrOfColumns(), 1);
}

}  // namespace
