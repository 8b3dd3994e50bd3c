// TMatrix row and column profiles, normalisation and the threshold mask.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"

namespace orv {
namespace {

using test::AllRows;
using test::Column;
using test::FillRows;
using test::FillValues;
using test::Row;
using test::Values;
using TRows = std::vector<std::vector<double>>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// Five objects of four variables, as written (row by row).
const TRows Data = {
    {2.5, 3.1, 4.7, 1.2}, {9.8, 5.5, 6.1, 0.3}, {7.7, 2.2, 8.4, 3.3}, {1.1, 6.6, 2.9, 5.2}, {4.4, 0.9, 7.3, 6.8}};

// Within Tol; infinities and NaN exactly.
void ExpectNear(const TRows& Got, const TRows& Want, double Tol) {
  ASSERT_EQ(Got.size(), Want.size());
  for (std::size_t R = 0; R < Got.size(); ++R) {
    ASSERT_EQ(Got[R].size(), Want[R].size());
    for (std::size_t C = 0; C < Want[R].size(); ++C) {
      const double G = Got[R][C], W = Want[R][C];
      if (std::isfinite(W))
        EXPECT_NEAR(G, W, Tol) << R << "," << C;
      else
        EXPECT_TRUE(G == W || (std::isnan(G) && std::isnan(W))) << R << "," << C << ": " << G;
    }
  }
}

TEST(MatrixProfile, LineValuesAgainstNumPy) {
  TMatrix M(nullptr);
  FillRows(M, Data);
  M.OnChange = [](TObject*) { ADD_FAILURE() << "the matrix is not changed"; };
  TVector V(nullptr);
  // a.mean(0), a.mean(1), a.min(0), a.max(1), a.sum(0), a.sum(1): sums of
  // up to 8 values run in order in NumPy too, so the bits agree.
  const struct { int Kind, Dim, Op; std::vector<double> Want; } Rows[] = {
      {0, dimColumns, 0, {5.1, 3.6599999999999993, 5.880000000000001, 3.3600000000000003}},
      {0, dimRows, 0, {2.875, 5.425, 5.4, 3.95, 4.8500000000000005}},
      {1, orColumns, eoMinimum, {1.1, 0.9, 2.9, 0.3}},
      {1, 7, eoMinimum, {1.1, 0.9, 2.9, 0.3}},  // any ordinal but 0 is per column
      {1, orRows, eoMaximum, {4.7, 9.8, 8.4, 6.6, 7.3}},
      {1, orColumns, eoSum, {25.5, 18.299999999999997, 29.400000000000002, 16.8}},
      {1, orRows, eoSum, {11.5, 21.7, 21.6, 15.8, 19.400000000000002}},
      {1, orColumns, eoMean, {5.1, 3.6599999999999993, 5.880000000000001, 3.3600000000000003}}};
  for (const auto& R : Rows) {
    if (R.Kind == 0)
      M.MeanVec(TDims(R.Dim), &V);
    else
      M.EdgeVector(TOrientation(R.Dim), TEdgeOp(R.Op), &V);
    EXPECT_EQ(Values(V), R.Want) << R.Kind << " " << R.Dim << " " << R.Op;
  }
  // Other TDims and TEdgeOp values, and nil vectors, do nothing.
  FillValues(V, {9});
  M.MeanVec(TDims(2), &V);
  M.EdgeVector(orRows, TEdgeOp(4), &V);
  M.MeanVec(dimRows, nullptr);
  M.EdgeVector(orRows, eoSum, nullptr);
  EXPECT_EQ(Values(V), std::vector<double>({9}));

  // Start values, NaN by the comparisons, means of lines without cells 0.0.
  M.OnChange = nullptr;
  FillRows(M, {{NaN, 3}, {1, NaN}});
  M.EdgeVector(orColumns, eoMinimum, &V);
  EXPECT_EQ(V.GetVal(1), 1.0);
  EXPECT_TRUE(std::isnan(V.GetVal(2)));
  M.EdgeVector(orColumns, eoMaximum, &V);
  EXPECT_EQ(Values(V), std::vector<double>({1, 3}));
  // Long columns, where the extremes may be taken lane by lane: the result
  // is still the running rule's, NaN and the sign of a zero extreme included.
  const struct { std::vector<double> Col; double Min, Max; } Lines[] = {
      {{5, 3, NaN, 8, 1, 9, 2, 7, 6}, 1, 9},
      {{4, 0.0, 3, -0.0, 2, 1, 5, 6, 7}, 0.0, 7},
      {{4, -0.0, 3, 2, 0.0, 1, 5, 6, 7}, -0.0, 7},
      {{-4, -0.0, -3, -2, 0.0, -1, -5, -6, -7}, -7, -0.0},
      {{Inf, Inf, Inf, Inf, Inf}, uc_MaxDouble, Inf},
      {{1, 2, 3, 4, 5, 6, 7, NaN}, NaN, 7}};
  for (const auto& L : Lines) {
    M.Resize(1, static_cast<int32_t>(L.Col.size()));
    for (int32_t R = 1; R <= M.NrOfRows(); ++R) M.SetVal(1, R, L.Col[detail::Ix1(R)]);
    M.EdgeVector(orColumns, eoMinimum, &V);
    const double Min = V.GetVal(1);
    M.EdgeVector(orColumns, eoMaximum, &V);
    const double Max = V.GetVal(1);
    EXPECT_TRUE(Min == L.Min || (std::isnan(Min) && std::isnan(L.Min))) << Min;
    EXPECT_EQ(std::signbit(Min), std::signbit(L.Min)) << L.Col[1];
    EXPECT_EQ(Max, L.Max);
    EXPECT_EQ(std::signbit(Max), std::signbit(L.Max)) << L.Col[1];
  }
  M.Resize(3, 0);
  M.EdgeVector(orColumns, eoMean, &V);
  EXPECT_EQ(Values(V), std::vector<double>(3, 0.0));
  M.EdgeVector(orColumns, eoMinimum, &V);
  EXPECT_EQ(Values(V), std::vector<double>(3, uc_MaxDouble));
  M.MeanVec(dimColumns, &V);
  EXPECT_EQ(Values(V), std::vector<double>(3, 0.0));
}

TEST(MatrixProfile, CentringAndStandardising) {
  TMatrix M(nullptr);
  test::TChangeCounter Changes;
  Changes.Attach(M);
  TVector Mu(nullptr), Sd(nullptr);
  // a - a.mean(0), a - a.mean(1)[:, None]
  FillRows(M, Data);
  M.MeanCenterColumns(&Mu);
  ExpectNear(AllRows(M),
             {{-2.6, -0.56, -1.18, -2.16}, {4.7, 1.84, 0.22, -3.06}, {2.6, -1.46, 2.52, -0.06},
              {-4, 2.94, -2.98, 1.84}, {-0.7, -2.76, 1.42, 3.44}},
             1e-14);
  EXPECT_EQ(Values(Mu), std::vector<double>({5.1, 3.6599999999999993, 5.880000000000001, 3.3600000000000003}));
  FillRows(M, Data);
  M.MeanCenterRows(&Mu);
  ExpectNear(AllRows(M),
             {{-0.375, 0.225, 1.825, -1.675}, {4.375, 0.075, 0.675, -5.125}, {2.3, -3.2, 3, -2.1},
              {-2.85, 2.65, -1.05, 1.25}, {-0.45, -3.95, 2.45, 1.95}},
             1e-14);
  EXPECT_EQ(Mu.NrOfElem(), 5);

  // (a - a.mean(0)) / a.std(0, ddof=1), and per row.
  FillValues(Sd, std::vector<double>(4, 0.0));
  FillRows(M, Data);
  M.StandardizeColumns(&Mu, &Sd);
  ExpectNear(AllRows(M),
             {{-0.72041788, -0.23828709, -0.54592199, -0.79874098}, {1.30229386, 0.78294328, 0.10178207, -1.13154972},
              {0.72041788, -0.62124847, 1.16586731, -0.02218725}, {-1.1083352, 1.2510072, -1.37868435, 0.68040898},
              {-0.19395866, -1.17441492, 0.65695697, 1.27206896}},
             5e-9);
  ExpectNear({Values(Sd)}, {{3.609016486523718, 2.350106380570888, 2.1614809737770075, 2.704255905050408}}, 1e-14);
  FillValues(Sd, std::vector<double>(5, 0.0));
  FillRows(M, Data);
  M.StandardizeRows(nullptr, &Sd);
  ExpectNear(AllRows(M),
             {{-0.25821164, 0.15492698, 1.25662999, -1.15334533}, {1.1188868, 0.01918092, 0.17262825, -1.31069596},
              {0.74052411, -1.03029441, 0.96590101, -0.6761307}, {-1.16969741, 1.08761338, -0.43094115, 0.51302518},
              {-0.15401689, -1.35192604, 0.83853641, 0.66740653}},
             5e-9);
  ExpectNear({Values(Sd)}, {{1.452297031142964, 3.910136400007891, 3.1059083480789753, 2.4365275838099323,
                             2.92175746198528}},
             1e-14);

  // Two rows (variance 1.0 by definition) give -1 and 1 and deviation 1.
  FillRows(M, {{1}, {3}});
  M.StandardizeColumns(&Mu, &Sd);
  EXPECT_EQ(Column(M, 1), std::vector<double>({-1, 1}));
  EXPECT_EQ(Values(Sd)[0], 1.0);
  // A constant column stays and reports its mean; a column with an infinite
  // or NaN cell stays; vectors are not resized (elements 1 and 2 only).
  FillRows(M, {{5, 1, 7}, {5, NaN, Inf}, {5, 2, 1}});
  FillValues(Mu, {-1, -1});
  FillValues(Sd, {-1, -1, -1, -1, -1});
  Changes.Count = 0;
  M.StandardizeColumns(&Mu, &Sd);
  EXPECT_EQ(Changes.Count, 1);
  ExpectNear(AllRows(M), {{5, 1, 7}, {5, NaN, Inf}, {5, 2, 1}}, 0);
  EXPECT_EQ(Mu.GetVal(1), 5.0);
  EXPECT_TRUE(std::isnan(Mu.GetVal(2)));
  EXPECT_EQ(Mu.NrOfElem(), 2);
  EXPECT_EQ(Sd.GetVal(1), 0.0);
  EXPECT_EQ(Sd.GetVal(4), -1.0);
  // One event also without columns.
  M.Resize(0, 3);
  Changes.Count = 0;
  M.StandardizeColumns(nullptr, nullptr);
  M.MeanCenterColumns(nullptr);
  M.QNormalizeRows(25, nullptr, nullptr);
  EXPECT_EQ(Changes.Count, 3);
}

TEST(MatrixProfile, QuantileNormalising) {
  TMatrix M(nullptr);
  TVector Med(nullptr), Diff(nullptr);
  FillValues(Med, std::vector<double>(4, 0.0));
  FillValues(Diff, std::vector<double>(5, 0.0));
  // Per line m = sorted(x)[min(round(n * 50 / 100), n - 1)], q likewise at
  // 25 %, d = |m - q|: (x - m) / d.
  FillRows(M, Data);
  M.QNormalizeColumns(25, &Med, &Diff);
  ExpectNear(AllRows(M),
             {{-1, 0, -1, -1}, {2.84210526, 2.66666667, 0, -1.42857143}, {1.73684211, -1, 1.64285714, 0},
              {-1.73684211, 3.88888889, -2.28571429, 0.9047619}, {0, -2.44444444, 0.85714286, 1.66666667}},
             5e-9);
  EXPECT_EQ(Values(Med), std::vector<double>({4.4, 3.1, 6.1, 3.3}));
  ExpectNear({Values(Diff)}, {{1.9000000000000004, 0.8999999999999999, 1.3999999999999995, 2.0999999999999996, 0}},
             1e-15);
  FillRows(M, Data);
  M.QNormalizeRows(25, &Med, nullptr);
  ExpectNear(AllRows(M),
             {{-1, 0, 2.66666667, -3.16666667}, {6.16666667, -1, 0, -9.66666667}, {0, -1.25, 0.15909091, -1},
              {-1.7826087, 0.60869565, -1, 0}, {-1, -2.45833333, 0.20833333, 0}},
             5e-9);
  EXPECT_EQ(Values(Med), std::vector<double>({3.1, 6.1, 7.7, 5.2}));  // not resized
  // A constant column (d = 0) stays and reports its median.
  FillRows(M, {{2, 1}, {2, 5}, {2, 9}});
  M.QNormalizeColumns(0, &Med, &Diff);
  EXPECT_EQ(Column(M, 1), std::vector<double>({2, 2, 2}));
  EXPECT_EQ(Column(M, 2), std::vector<double>({-1, -0.5, 0}));  // m = 9: the rank of 1.5 rounds to 2
  EXPECT_EQ(Values(Med)[0], 2.0);
  EXPECT_EQ(Values(Diff)[0], 0.0);
}

TEST(MatrixProfile, Dichotomize) {
  TMatrix M(nullptr);
  FillRows(M, {{1, 5}, {3, 2}, {4, NaN}});
  M.OnChange = [](TObject*) { ADD_FAILURE() << "the matrix is not changed"; };
  TBool2DArray B{{true}};
  EXPECT_EQ(M.Dichotomize(3, B), 2);  // a cell equal to the threshold is not above it
  ASSERT_EQ(B.size(), 2u);
  EXPECT_EQ(std::vector<bool>(B[0].begin(), B[0].end()), std::vector<bool>({false, false, true}));
  EXPECT_EQ(std::vector<bool>(B[1].begin(), B[1].end()), std::vector<bool>({true, false, false}));
  M.OnChange = nullptr;
  M.Resize(0, 2);
  EXPECT_EQ(M.Dichotomize(0, B), 0);
  EXPECT_TRUE(B.empty());
}

}  // namespace
}  // namespace orv
