// The straight-line component TSLine.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <type_traits>
#include <utility>

#include "support/raises.h"
#include "orvcalckit/ORV_sline.h"

namespace {

using orv::TSLine;
using std::numbers::pi;

void ExpectLine(const TSLine& L, double A, double B, double C) {
  EXPECT_DOUBLE_EQ(L.ParA(), A);
  EXPECT_DOUBLE_EQ(L.ParB(), B);
  EXPECT_DOUBLE_EQ(L.ParC(), C);
}

template <class F>
void ExpectError(F&& Call, const std::string& Msg) {
  orv::test::ExpectRaises<orv::EORVSLineError>(std::forward<F>(Call), Msg);
}

TEST(SLine, NewLineIsTheXAxis) {
  TSLine L(nullptr);
  ExpectLine(L, 0, 1, 0);
  EXPECT_EQ(L.ClassName(), "TSLine");
  EXPECT_FALSE(L.SubstituteInf());
  EXPECT_EQ(L.Slope(), 0);
  EXPECT_EQ(L.Intercept(), 0);
  EXPECT_EQ(L.Direction(), 0);
  EXPECT_FALSE(std::signbit(L.Direction()));
  EXPECT_EQ(L.CalcY(123.0), 0);
  ExpectError([&] { L.CalcX(1); }, "cannot calculate x");
  L.SetSubstituteInf(true);
  EXPECT_EQ(L.CalcX(1), -1e100);
  // The error class stands outside the library's EORVError family.
  static_assert(std::is_base_of_v<orv::Exception, orv::EORVSLineError>);
  static_assert(!std::is_base_of_v<orv::EORVError, orv::EORVSLineError>);

  auto* Owner = new orv::TComponent(nullptr);
  auto* Owned = new TSLine(Owner);
  EXPECT_EQ(Owner->ComponentCount(), 1);
  EXPECT_EQ(Owner->Components(0), Owned);
  delete Owner;  // deletes the line with it
}

TEST(SLine, SettersKeepAAndBFromBothBecomingZero) {
  TSLine L(nullptr);
  ExpectError([&] { L.SetParB(0); }, "parameter A and B must not both be zero");
  ExpectLine(L, 0, 1, 0);
  L.SetParA(2);
  L.SetParB(0);
  L.SetParC(-4);
  ExpectLine(L, 2, 0, -4);
  ExpectError([&] { L.SetParA(0); }, "parameter A and B must not both be zero");
  ExpectLine(L, 2, 0, -4);
  // Vertical: everything that divides by B refuses, the line unchanged.
  double K = 7, D = 8;
  ExpectError([&] { L.CalcKDForm(K, D); }, "cannot convert to k-d-form if ParB is zero");
  EXPECT_EQ(K, 7);
  EXPECT_EQ(D, 8);
  ExpectError([&] { L.Slope(); }, "slope is infinite");
  ExpectError([&] { L.Intercept(); }, "cannot calculate intercept (line is parallel to y axis)");
  ExpectError([&] { L.CalcY(1); }, "cannot calculate y");
  EXPECT_EQ(L.CalcX(5), 2);
  L.SetSubstituteInf(true);
  EXPECT_EQ(L.CalcY(1), 2e100);  // (-1·2 + 4) / 1e-100
}

TEST(SLine, Constructions) {
  TSLine L(nullptr);
  EXPECT_TRUE(L.LineFrom2Points(0, 0, 1, 1));
  ExpectLine(L, -1, 1, 0);
  EXPECT_EQ(L.Slope(), 1);
  EXPECT_FALSE(L.LineFrom2Points(3, 4, 3, 4));
  ExpectLine(L, -1, 1, 0);
  EXPECT_TRUE(L.LineFrom2Points(1, 5, 1, -2));  // vertical x = 1
  EXPECT_EQ(L.CalcX(100), 1);

  L.LineThroughPoint(1, 0, pi / 4);  // y = x - 1
  EXPECT_NEAR(L.CalcY(3), 2, 1e-15);
  EXPECT_NEAR(L.Slope(), 1, 1e-15);

  L.LineFromSlopeIcpt(2, 3);
  ExpectLine(L, 2, -1, 3);
  EXPECT_EQ(L.CalcY(1), 5);
  EXPECT_EQ(L.CalcX(5), 1);
  double K = 0, D = 0;
  L.CalcKDForm(K, D);
  EXPECT_EQ(K, 2);
  EXPECT_EQ(D, 3);
  EXPECT_EQ(L.Intercept(), 3);
}

TEST(SLine, NormalAndParallelLinesMayUseThemselvesAsSource) {
  TSLine L(nullptr), M(nullptr);
  L.LineFromSlopeIcpt(2, 1);  // 2x - y + 1 = 0
  M.NormalLine(1, 3, &L);
  ExpectLine(M, 1, 2, -7);  // x + 2y - 7 = 0
  L.NormalLine(1, 3, &L);
  ExpectLine(L, 1, 2, -7);
  L.LineFromSlopeIcpt(2, 1);
  L.ParallelLine(0, 5, &L);
  ExpectLine(L, 2, -1, 5);
  M.ParallelLine(1, 1, &L);
  ExpectLine(M, 2, -1, -1);

  double X = 9, Y = 9;
  ExpectError([&] { M.NormalLine(0, 0, nullptr); }, "other line is missing");
  ExpectError([&] { M.ParallelLine(0, 0, nullptr); }, "other line is missing");
  ExpectError([&] { M.InterSection(nullptr, X, Y); }, "other line is missing");
  ExpectError([&] { M.AngleBetweenLines(nullptr); }, "other line is missing");
  ExpectLine(M, 2, -1, -1);
  EXPECT_EQ(X, 9);
}

TEST(SLine, IntersectionAndAngle) {
  TSLine L(nullptr), M(nullptr);
  L.LineFromSlopeIcpt(1, 0);
  M.LineFromSlopeIcpt(-1, 2);
  double X = 0, Y = 0;
  EXPECT_TRUE(L.InterSection(&M, X, Y));
  EXPECT_EQ(X, 1);
  EXPECT_EQ(Y, 1);
  EXPECT_EQ(L.AngleBetweenLines(&M), pi / 2);

  M.LineFromSlopeIcpt(1, 5);  // parallel
  X = Y = 7;
  EXPECT_FALSE(L.InterSection(&M, X, Y));
  EXPECT_EQ(X, 7);
  EXPECT_EQ(Y, 7);
  EXPECT_FALSE(L.InterSection(&L, X, Y));
  EXPECT_EQ(L.AngleBetweenLines(&M), 0);

  M.LineFromSlopeIcpt(0, 5);
  EXPECT_DOUBLE_EQ(L.AngleBetweenLines(&M), pi / 4);
  EXPECT_DOUBLE_EQ(M.AngleBetweenLines(&L), pi / 4);
  M.LineFromSlopeIcpt(-std::sqrt(3.0), 0);  // 120 degrees against 45: 75, reported as its acute 75
  EXPECT_NEAR(L.AngleBetweenLines(&M), 75 * pi / 180, 1e-15);
}

TEST(SLine, SignedDistance) {
  TSLine L(nullptr);
  EXPECT_EQ(L.Distance(3, 2), 2);
  EXPECT_EQ(L.Distance(3, -2), -2);
  L.LineFrom2Points(0, 0, 1, 1);  // -x + y = 0: above is positive
  EXPECT_NEAR(L.Distance(0, 2), std::sqrt(2.0), 1e-15);
  // Parameters whose squares overflow.
  L.SetParA(1e200);
  L.SetParB(0);
  L.SetParC(-3e200);
  EXPECT_DOUBLE_EQ(L.Distance(5, 7), 2);
}

TEST(SLine, DirectionIsTheAngleOfBMinusA) {
  struct TCase {
    double A, B, Dir;
  };
  const TCase Cases[] = {
      {0, 1, 0},                // the examples of the definition
      {-1, 0, pi / 2},
      {0, -1, pi},
      {1, 0, 3 * pi / 2},       // straight down
      {-1, 1, pi / 4},          // direction (1, 1)
      {-1, -1, 3 * pi / 4},     // (-1, 1)
      {1, -1, 5 * pi / 4},      // (-1, -1)
      {1, 1, 7 * pi / 4},       // (1, -1)
      {-2, 0.5, std::atan2(2.0, 0.5)},
  };
  TSLine L(nullptr);
  for (const auto& C : Cases) {
    L.SetParA(1);  // A and B never both zero on the way
    L.SetParB(C.B);
    L.SetParA(C.A);
    EXPECT_DOUBLE_EQ(L.Direction(), C.Dir) << C.A << "," << C.B;
    EXPECT_GE(L.Direction(), 0);
    EXPECT_LT(L.Direction(), 2 * pi);
  }
}

TEST(SLine, ClipBoxReturnsTheChord) {
  TSLine L(nullptr);
  L.SetParC(-0.5);  // y = 0.5
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  EXPECT_TRUE(L.ClipBox(0, 0, 1, 1, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, 0);
  EXPECT_EQ(Y1, 0.5);
  EXPECT_EQ(X2, 1);
  EXPECT_EQ(Y2, 0.5);
  EXPECT_FALSE(L.SubstituteInf());
  L.SetSubstituteInf(true);
  EXPECT_TRUE(L.ClipBox(0, 0, 1, 1, X1, Y1, X2, Y2));
  EXPECT_TRUE(L.SubstituteInf());

  // A miss leaves the outputs alone.
  X1 = Y1 = X2 = Y2 = 9;
  EXPECT_FALSE(L.ClipBox(0, 1, 1, 2, X1, Y1, X2, Y2));
  EXPECT_EQ(X1 + Y1 + X2 + Y2, 36);

  // Oblique: y = 2x - 1 enters at the bottom and leaves at the top.
  L.LineFromSlopeIcpt(2, -1);
  EXPECT_TRUE(L.ClipBox(0, 0, 2, 2, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, 0.5);
  EXPECT_EQ(Y1, 0);
  EXPECT_EQ(X2, 1.5);
  EXPECT_EQ(Y2, 2);

  // A diagonal meets each corner through two edges: the two corners once each.
  L.LineFrom2Points(0, 0, 1, 1);
  EXPECT_TRUE(L.ClipBox(0, 0, 4, 4, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, 0);
  EXPECT_EQ(Y1, 0);
  EXPECT_EQ(X2, 4);
  EXPECT_EQ(Y2, 4);

  // Touching a single corner gives that point twice.
  L.LineFromSlopeIcpt(1, 4);
  EXPECT_TRUE(L.ClipBox(0, 0, 4, 4, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, 0);
  EXPECT_EQ(Y1, 4);
  EXPECT_EQ(X2, 0);
  EXPECT_EQ(Y2, 4);
}

TEST(SLine, ClipBoxAlongAnEdgeReturnsTheWholeEdge) {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TSLine L(nullptr);
  L.LineFrom2Points(-2, -5, -2, 5);  // the left edge x = -2
  EXPECT_TRUE(L.ClipBox(-2, -3, 2, 3, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, -2);
  EXPECT_EQ(Y1, -3);
  EXPECT_EQ(X2, -2);
  EXPECT_EQ(Y2, 3);
  L.LineFrom2Points(0, -3, 1, -3);  // the bottom edge y = -3
  EXPECT_TRUE(L.ClipBox(-2, -3, 2, 3, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, -2);
  EXPECT_EQ(Y1, -3);
  EXPECT_EQ(X2, 2);
  EXPECT_EQ(Y2, -3);
  L.LineFrom2Points(0, -9, 0, 9);  // x = 0 through the middle
  EXPECT_TRUE(L.ClipBox(-2, -3, 2, 3, X1, Y1, X2, Y2));
  EXPECT_EQ(X1, 0);
  EXPECT_EQ(Y1, -3);
  EXPECT_EQ(X2, 0);
  EXPECT_EQ(Y2, 3);
}

}  // namespace
