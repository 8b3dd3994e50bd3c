// TVector computations: integration, products and distances, searching,
// extremes, element-wise arithmetic and normalising.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::FillValues;
using test::Values;

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// f(1), ..., f(N).
std::vector<double> Samples(int N, double (*F)(double)) {
  std::vector<double> V;
  for (int I = 1; I <= N; ++I) V.push_back(F(I));
  return V;
}

TEST(VectorIntegrate, RulesAgainstClosedForms) {
  const auto Cube = [](double X) { return X * X * X; };
  const auto Fifth = [](double X) { return X * X * X * X * X; };
  const auto Line = [](double X) { return 2 * X + 1; };
  // Polynomials of the rule's degree at integer bounds, the line 2x + 1 at
  // fractional ones (end pieces are trapezoids: exact for lines); closed-form
  // integrals. The last rows are the examples of the rules' description.
  const struct {
    std::vector<double> X;
    double Lo, Hi;
    TIntegMethod M;
    double Want;
  } Rows[] = {
      {Samples(3, Cube), 1, 3, imSimpson, 20.0},           // Simpson, h = 3
      {Samples(4, Cube), 1, 4, imSimpson, 63.75},          // 3/8 rule
      {Samples(5, Fifth), 1, 5, imSimpson, 2604.0},        // Boole: exact to degree 5
      {Samples(6, Cube), 1, 6, imSimpson, 323.75},         // extended rule, no middle sample
      {Samples(8, Cube), 1, 8, imSimpson, 1023.75},        // extended rule
      {Samples(8, Line), 1.5, 7.25, imSimpson, 56.0625},   // x^2 + x between the bounds
      {Samples(8, Line), 7.25, 1.5, imTrapezoidal, 56.0625},
      {Samples(8, Line), 1.5, 4.5, imSimpson, 21.0},
      {Samples(8, Line), 1.25, 5.5, imSimpson, 32.9375},
      {Samples(8, Line), -3, 20, imTrapezoidal, 70.0},     // clamped to 1..8
      {Samples(8, Line), 2.25, 2.75, imSimpson, 3.0},      // no sample inside
      {{1, 2, 3}, 1, 3, imSimple, 4.0},
      {{1, 2, 3}, 1, 3, imTrapezoidal, 4.0},
      {{1, 2, 3}, 1, 3, imSimpson, 4.0},
      {{1, 2, 3}, 1.5, 1.75, imSimple, 0.375},
      {{1, 2, 3}, 1.5, 1.75, imTrapezoidal, 0.40625},
      {{1, 2, 3}, 1.75, 1.5, imSimpson, 0.40625},
      {{5}, 0, 9, imSimpson, 0.0},
      {{1, 2, 3}, 1, 3, TIntegMethod(7), 0.0},
  };
  TVector V;
  for (const auto& R : Rows) {
    FillValues(V, R.X);
    EXPECT_DOUBLE_EQ(V.Integrate(R.Lo, R.Hi, R.M), R.Want) << R.X.size() << " samples, " << R.Lo << ".." << R.Hi
                                                           << ", method " << int(R.M);
  }
  FillValues(V, {1, 2, 3});
  EXPECT_TRUE(std::isnan(V.Integrate(NaN, 2, imSimple)));
  FillValues(V, {1, Inf, 3});
  for (auto M : {imTrapezoidal, imSimpson})
    EXPECT_EQ(V.Integrate(2, 3, M), Inf) << "no 0 * Inf from an end piece of width 0, method " << int(M);
}

TEST(VectorProducts, CorrelationDotProductAndDistance) {
  TVector A, B, C;
  A.SetName("Vector1");
  // Values near 1e9: the textbook sums of squares cancel to 0.015; NumPy's corrcoef gives this.
  FillValues(A, {1e9 + 0.1, 1e9 + 0.2, 1e9 + 0.4, 1e9 + 0.3, 1e9 + 0.7, 1e9 + 0.5});
  FillValues(B, {2.0, 4.1, 7.9, 6.2, 14.1, 9.8});
  EXPECT_NEAR(A.PearsonCorrCoeff(&B), 0.9994299558847325, 1e-9);
  FillValues(A, {1, 2, 3, 4});
  FillValues(B, {2, 4, 6, 8.000000000000002});
  EXPECT_EQ(A.PearsonCorrCoeff(&B), 1.0) << "bounded: the sums give 1.0000000000000002";
  // Sums of squares near 5e-200, whose product underflows to 0: r of
  // (1, 2, 3, 4) and (1, 3, 2, 4) is 4 / 5 by hand, not the bound 1.
  FillValues(A, {1e-100, 2e-100, 3e-100, 4e-100});
  FillValues(C, {1e-100, 3e-100, 2e-100, 4e-100});
  EXPECT_NEAR(A.PearsonCorrCoeff(&C), 0.8, 1e-15);
  // A sum of squares that overflows (4.5e308): NaN, not a plausible 0.
  FillValues(C, {0, 1.5e154, -1.5e154, 0});
  EXPECT_TRUE(std::isnan(A.PearsonCorrCoeff(&C)));
  FillValues(A, {1, 2, 3, 4});
  FillValues(C, {7, 7, 7, 7});
  EXPECT_EQ(A.PearsonCorrCoeff(&C), 0.0) << "constant";
  EXPECT_EQ(A.PearsonCorrCoeff(nullptr), 0.0);
  C.Resize(3);
  EXPECT_EQ(A.PearsonCorrCoeff(&C), 0.0) << "sizes differ";

  // x = 1, 2, 3, 4 and y = 2, 4, 6, 8: sum x(i) y(i - shift) over the overlap, by hand.
  FillValues(B, {2, 4, 6, 8});
  const struct { int32_t Shift; double Want; } Shifts[] = {{0, 60}, {1, 40}, {-1, 40}, {2, 22}, {3, 0}, {-3, 0},
                                                          {INT32_MIN, 0}, {INT32_MAX, 0}};
  for (const auto& S : Shifts) EXPECT_EQ(A.Correlate(&B, S.Shift), S.Want) << "shift " << S.Shift;
  EXPECT_EQ(A.Correlate(nullptr, 0), 0.0);

  EXPECT_EQ(A.DotProduct(&B), 60.0);
  EXPECT_EQ(A.DotProduct(nullptr), 0.0);
  EXPECT_EQ(A.EuclideanDistance(&B), std::sqrt(30.0));
  EXPECT_EQ(A.EuclideanDistance(nullptr), 0.0);
  test::ExpectRaises<EORVVectorError>([&] { A.DotProduct(&C); },
                                      "Component \"Vector1\": vectors have different dimensions");
  test::ExpectRaises<EORVVectorError>([&] { A.EuclideanDistance(&C); },
                                      "EuclideanDistance: dimensions of vectors do not match");
}

TEST(VectorSearch, NearestElements) {
  TVector V;
  FillValues(V, {1, 2, 3});
  const struct { bool Asc; std::vector<double> X; double Value; int32_t Want; } Rows[] = {
      {true, {1, 2, 3}, 2.4, 2},        // the example of the search's description
      {true, {1, 3, 5, 7}, 4, 3},       // tie between 3 and 5: the higher index
      {true, {1, 3, 5, 7}, 5, 3},       // exact hit at a probe
      {true, {1, 3, 5, 7}, -9, 1},
      {true, {1, 3, 5, 7}, 99, 4},
      {false, {7, 5, 3, 1}, 4.9, 2},
      {false, {7, 5, 3, 1}, 0.2, 4},
      {true, {4}, 9, 1},
  };
  for (const auto& R : Rows) {
    FillValues(V, R.X);
    EXPECT_EQ(V.FindInSortedVector(R.Asc, R.Value), R.Want) << "value " << R.Value;
  }
  FillValues(V, {5, 1, 3, 1, 2});
  EXPECT_EQ(V.Find(0, 0, 1.4), 2) << "the first of two equally near";
  EXPECT_EQ(V.Find(5, 3, 1.4), 4) << "reversed range";
  EXPECT_EQ(V.Find(0, 0, NaN), 0);
  FillValues(V, {Inf, -Inf});
  EXPECT_EQ(V.Find(0, 0, 0), 0) << "no distance below the largest double";
}

TEST(VectorSearch, MinMaxReportsValuesOfTheRange) {
  // Values at or beyond the start values 1.7e308 / -1.7e308 used to be missed.
  const double Big = 1.75e308;
  const struct { std::vector<double> X; double Min, Max; int32_t MinIx, MaxIx; } Rows[] = {
      {{5, -3, 5, -3}, -3, 5, 2, 1},
      {{Big, Big}, Big, Big, 1, 1},
      {{-Big, Inf, -Inf, Inf}, -Inf, Inf, 3, 2},
      {{NaN, 4, NaN, 2}, 2, 4, 4, 2},
      {{NaN, NaN}, 1.7e308, -1.7e308, 0, 0},
  };
  TVector V;
  for (const auto& R : Rows) {
    FillValues(V, R.X);
    double Min, Max;
    int32_t MinIx, MaxIx;
    V.MinMax(0, 0, Min, Max, MinIx, MaxIx);
    EXPECT_TRUE(Min == R.Min && Max == R.Max && MinIx == R.MinIx && MaxIx == R.MaxIx)
        << Min << " " << Max << " " << MinIx << " " << MaxIx;
  }
}

TEST(VectorArithmetic, ElementwiseAndNormalising) {
  TVector A, B;
  A.SetName("A");
  FillValues(A, {1, 2, 3});
  FillValues(B, {10, 20, 30});
  test::TChangeCounter Changes;
  Changes.Attach(A);
  A.Add(&B);
  A.Subtract(nullptr);
  A.SMult(0.5);
  EXPECT_EQ(Values(A), (std::vector<double>{5.5, 11, 16.5}));
  A.Subtract(&B);
  EXPECT_EQ(Values(A), (std::vector<double>{-4.5, -9, -13.5}));
  EXPECT_EQ(Changes.Count, 3);
  B.Resize(2);
  test::ExpectRaises<EORVVectorError>([&] { A.Add(&B); }, "Component \"A\": vectors have different dimensions");

  // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, sample sd sqrt(32 / 7); median 4.5 and
  // percentile 75 5.5 from numpy.percentile.
  const std::vector<double> X{2, 4, 4, 4, 5, 5, 7, 9};
  FillValues(A, X);
  A.OnChange = [](TObject*) { ADD_FAILURE() << "normalising fires nothing"; };
  double Mean, Sd, Median, QDiff;
  A.Standardize(Mean, Sd);
  EXPECT_EQ(Mean, 5.0);
  EXPECT_DOUBLE_EQ(Sd, std::sqrt(32.0 / 7));
  EXPECT_DOUBLE_EQ(A.GetVal(8), 4 / std::sqrt(32.0 / 7));
  A.OnChange = nullptr;
  A.CopyFromArray(X, 1);
  EXPECT_EQ(A.MeanCenter(), 5.0);
  EXPECT_EQ(Values(A), (std::vector<double>{-3, -1, -1, -1, 0, 0, 2, 4}));
  A.CopyFromArray(X, 1);
  A.QNormalize(75, Median, QDiff);
  EXPECT_EQ(Median, 4.5);
  EXPECT_EQ(QDiff, 1.0);
  EXPECT_EQ(Values(A), (std::vector<double>{-2.5, -0.5, -0.5, -0.5, 0.5, 0.5, 2.5, 4.5}));

  // A NaN or an infinity would turn every element into NaN: the vector stays.
  for (double Bad : {NaN, Inf}) {
    const std::vector<double> X{1, Bad, 3, 4};
    FillValues(A, X);
    A.Standardize(Mean, Sd);
    EXPECT_TRUE(!std::isfinite(Mean) || !std::isfinite(Sd));
    A.MeanCenter();
    A.QNormalize(100, Median, QDiff);
    const std::vector<double> Now = Values(A);
    for (std::size_t I = 0; I < X.size(); ++I)
      EXPECT_TRUE(Now[I] == X[I] || (std::isnan(Now[I]) && std::isnan(X[I]))) << "element " << I + 1;
  }
}

}  // namespace
}  // namespace orv
