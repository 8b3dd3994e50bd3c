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

TEST(MatrixProfile, LinesCentredAndScaledAgainstNumPy) {
  // Per line (column, or row) the location and spread that the routine
  // reports, and every cell must become (a - location) / spread: NumPy
  // a.mean(axis), a.std(axis, ddof=1); for the quantiles the nearest ranks
  // m = sorted(x)[min(round(n * 50 / 100), n - 1)] and d = |m - the 25 % rank|.
  using TRun = void (*)(TMatrix&, TVector*, TVector*);
  const std::vector<double> ColMean{5.1, 3.6599999999999993, 5.880000000000001, 3.3600000000000003},
      RowMean{2.875, 5.425, 5.4, 3.95, 4.8500000000000005};
  const struct { bool ByRow; TRun Run; std::vector<double> Loc, Spread; } Cases[] = {
      {false, [](TMatrix& M, TVector* L, TVector*) { M.MeanCenterColumns(L); }, ColMean, {}},
      {true, [](TMatrix& M, TVector* L, TVector*) { M.MeanCenterRows(L); }, RowMean, {}},
      {false, [](TMatrix& M, TVector* L, TVector* S) { M.StandardizeColumns(L, S); }, ColMean,
       {3.609016486523718, 2.350106380570888, 2.1614809737770075, 2.704255905050408}},
      {true, [](TMatrix& M, TVector* L, TVector* S) { M.StandardizeRows(L, S); }, RowMean,
       {1.452297031142964, 3.910136400007891, 3.1059083480789753, 2.4365275838099323, 2.92175746198528}},
      {false, [](TMatrix& M, TVector* L, TVector* S) { M.QNormalizeColumns(25, L, S); }, {4.4, 3.1, 6.1, 3.3},
       {1.9000000000000004, 0.8999999999999999, 1.3999999999999995, 2.0999999999999996}},
      {true, [](TMatrix& M, TVector* L, TVector* S) { M.QNormalizeRows(25, L, S); }, {3.1, 6.1, 7.7, 5.2, 6.8},
       {0.6000000000000001, 0.5999999999999996, 4.4, 2.3000000000000003, 2.3999999999999995}}};
  TMatrix M(nullptr);
  TVector L(nullptr), S(nullptr);
  for (const auto& C : Cases) {
    const std::size_t Lines = C.Loc.size();
    FillRows(M, Data);
    FillValues(L, std::vector<double>(Lines, 0.0));
    FillValues(S, std::vector<double>(Lines, 0.0));
    C.Run(M, &L, &S);
    for (std::size_t I = 0; I < Lines; ++I) {
      EXPECT_NEAR(L.GetVal(int32_t(I + 1)), C.Loc[I], 1e-14) << I;
      if (!C.Spread.empty()) {
        EXPECT_NEAR(S.GetVal(int32_t(I + 1)), C.Spread[I], 1e-14) << I;
      }
    }
    for (std::size_t R = 0; R < Data.size(); ++R)
      for (std::size_t Col = 0; Col < Data[R].size(); ++Col) {
        const std::size_t I = C.ByRow ? R : Col;
        const double Want = (Data[R][Col] - C.Loc[I]) / (C.Spread.empty() ? 1.0 : C.Spread[I]);
        EXPECT_NEAR(M.GetVal(int32_t(Col + 1), int32_t(R + 1)), Want, 1e-13) << R << "," << Col;
      }
  }
}

TEST(MatrixProfile, LinesLeftAloneAndVectorsNotResized) {
  TMatrix M(nullptr);
  test::TChangeCounter Changes;
  Changes.Attach(M);
  TVector Mu(nullptr), Sd(nullptr), Med(nullptr), Diff(nullptr);
  // Two rows (variance 1.0 by definition) give -1 and 1 and deviation 1.
  FillRows(M, {{1}, {3}});
  M.StandardizeColumns(&Mu, &Sd);
  EXPECT_EQ(Column(M, 1), std::vector<double>({-1, 1}));
  EXPECT_EQ(Sd.GetVal(1), 1.0);
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
  // The same for the quantiles (d = 0 in column 1); the nearest rank of 1.5
  // rounds to 2, so column 2's median is 9.
  FillRows(M, {{2, 1}, {2, 5}, {2, 9}});
  M.QNormalizeColumns(0, &Med, &Diff);
  EXPECT_EQ(AllRows(M), TRows({{2, -1}, {2, -0.5}, {2, 0}}));
  EXPECT_EQ(Med.GetVal(1), 2.0);
  EXPECT_EQ(Diff.GetVal(1), 0.0);
  // One event also without columns.
  M.Resize(0, 3);
  Changes.Count = 0;
  M.StandardizeColumns(nullptr, nullptr);
  M.MeanCenterColumns(nullptr);
  M.QNormalizeRows(25, nullptr, nullptr);
  EXPECT_EQ(Changes.Count, 3);
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
