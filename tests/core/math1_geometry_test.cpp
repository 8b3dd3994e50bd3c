// Plane geometry of points, segments, rectangles and ellipses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_math1.h"

namespace {

using orv::TPointDouble;
using orv::TRectDouble;

TEST(Geometry, EuclideanDistanceNeitherOverflowsNorUnderflows) {
  EXPECT_EQ(orv::EuclideanDistance(TPointDouble{1, 2}, TPointDouble{4, 6}), 5.0);
  EXPECT_EQ(orv::EuclideanDistance(4, 6, 1, 2), 5.0);
  EXPECT_EQ(orv::EuclideanDistance(2, 2, 2, 2), 0.0);
  // Squares of these legs leave the double range; the distances do not.
  EXPECT_DOUBLE_EQ(orv::EuclideanDistance(0, 0, 3e300, 4e300), 5e300);
  EXPECT_DOUBLE_EQ(orv::EuclideanDistance(0, 0, 3e-300, 4e-300), 5e-300);
  EXPECT_EQ(orv::EuclideanDistance(0, 0, 0, -1e308), 1e308);
}

TEST(Geometry, DistanceToSegmentUsesTheNearestPointOfTheSegment) {
  const TPointDouble A{0, 0}, B{4, 0};
  EXPECT_EQ(orv::DistanceToSegment({2, 3}, A, B), 3.0);   // above the inside
  EXPECT_EQ(orv::DistanceToSegment({-3, 4}, A, B), 5.0);  // beyond A
  EXPECT_EQ(orv::DistanceToSegment({7, -4}, A, B), 5.0);  // beyond B
  EXPECT_EQ(orv::DistanceToSegment({4, 0}, A, B), 0.0);
  EXPECT_EQ(orv::DistanceToSegment({3, 4}, A, A), 5.0);  // a point segment
  // Oblique: the foot of (0, 2) on y = x is (1, 1).
  EXPECT_DOUBLE_EQ(orv::DistanceToSegment({0, 2}, {-1, -1}, {3, 3}), std::sqrt(2.0));
}

TEST(Geometry, CcwTriangleAndSegmentsIntersect) {
  EXPECT_EQ(orv::CcwTriangle({0, 0}, {1, 0}, {0, 1}), 1);
  EXPECT_EQ(orv::CcwTriangle({0, 0}, {0, 1}, {1, 0}), -1);
  EXPECT_EQ(orv::CcwTriangle({0, 0}, {1, 1}, {3, 3}), 0);

  EXPECT_TRUE(orv::SegmentsIntersect({0, 0}, {2, 2}, {0, 2}, {2, 0}));
  EXPECT_FALSE(orv::SegmentsIntersect({0, 0}, {1, 0}, {0, 1}, {1, 1}));
  EXPECT_TRUE(orv::SegmentsIntersect({0, 0}, {1, 1}, {1, 1}, {2, 0}));   // shared end
  EXPECT_TRUE(orv::SegmentsIntersect({0, 0}, {2, 0}, {1, 0}, {1, 5}));   // T: end on the other
  EXPECT_FALSE(orv::SegmentsIntersect({0, 0}, {2, 0}, {1, 1}, {1, 5}));  // would cross if extended
  // Collinear segments count as meeting, overlapping or not.
  EXPECT_TRUE(orv::SegmentsIntersect({0, 0}, {1, 0}, {2, 0}, {3, 0}));
  EXPECT_TRUE(orv::SegmentsIntersect({0, 0}, {2, 0}, {1, 0}, {3, 0}));
}

TEST(Geometry, RectanglesAcceptCornersInAnyOrder) {
  const TRectDouble R{4, 3, 1, -1};  // corners given reversed
  EXPECT_TRUE(orv::WithinRect({2, 0}, R));
  EXPECT_TRUE(orv::WithinRect({1, 3}, R));  // corner: edges are inside
  EXPECT_FALSE(orv::WithinRect({0.5, 0}, R));
  EXPECT_FALSE(orv::WithinRect({2, 3.5}, R));

  TPointDouble P{2, 0};
  EXPECT_FALSE(orv::ConfinePointToRect(P, R));
  EXPECT_EQ(P, (TPointDouble{2, 0}));
  P = {-5, 1};
  EXPECT_TRUE(orv::ConfinePointToRect(P, R));
  EXPECT_EQ(P, (TPointDouble{1, 1}));
  P = {2, 9};
  EXPECT_TRUE(orv::ConfinePointToRect(P, R));
  EXPECT_EQ(P, (TPointDouble{2, 3}));
  P = {10, -10};
  EXPECT_TRUE(orv::ConfinePointToRect(P, R));
  EXPECT_EQ(P, (TPointDouble{4, -1}));
  // A NaN coordinate stays and does not count as a move; the other one still moves.
  P = {std::nan(""), 2};
  EXPECT_FALSE(orv::ConfinePointToRect(P, R));
  EXPECT_TRUE(std::isnan(P.X));
  P = {std::nan(""), 7};
  EXPECT_TRUE(orv::ConfinePointToRect(P, R));
  EXPECT_EQ(P.Y, 3);
}

TEST(Geometry, DistFromRectIsExactOverTheWholeIntegerRange) {
  const orv::TRect R{0, 0, 10, 10};
  for (const orv::TPoint P : {orv::TPoint{5, 5}, {0, 5}, {10, 5}, {5, 0}, {5, 10}, {0, 0}, {10, 10}})
    EXPECT_EQ(orv::DistFromRect(P, R), 0) << P.X << "," << P.Y;
  EXPECT_EQ(orv::DistFromRect({-3, -4}, R), 5);
  EXPECT_EQ(orv::DistFromRect({5, -7}, R), 7);
  EXPECT_EQ(orv::DistFromRect({5, 18}, R), 8);
  EXPECT_EQ(orv::DistFromRect({-2, 5}, R), 2);
  EXPECT_EQ(orv::DistFromRect({13, 5}, R), 3);
  EXPECT_EQ(orv::DistFromRect({11, 11}, R), 1);  // Round(Sqrt(2))
  EXPECT_EQ(orv::DistFromRect({12, 12}, R), 3);  // Round(2.83)
  // Legs above 46340 square beyond 32 bits.
  EXPECT_EQ(orv::DistFromRect({-60000, -80000}, R), 100000);
  // Sqrt(k² + k) lies just below k + 1/2 (k = 40001²): a double square root
  // rounds to the half and then up; the exact result is k.
  const int32_t K = 1600080001;
  EXPECT_EQ(orv::DistFromRect({0, 0}, {K, 40001, K + 9, 40010}), K);
  // Beyond the Integer range the result saturates.
  EXPECT_EQ(orv::DistFromRect({0, INT32_MIN}, {-10, 2000000000, 10, 2100000000}), INT32_MAX);
  EXPECT_EQ(orv::DistFromRect({INT32_MIN, INT32_MIN}, {INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX}),
            INT32_MAX);
  EXPECT_EQ(orv::DistFromRect({INT32_MIN, 0}, {2000000000, -5, 2000000001, 5}), INT32_MAX);
}

struct TEllipseCase {
  TPointDouble P;
  double Xc, Yc, A, B;
  double Dist;
  TPointDouble Nearest;
};

TEST(Geometry, DistFromEllipseFindsTheNearestPoint) {
  TPointDouble N;
  // Closed forms.
  EXPECT_EQ(orv::DistFromEllipse({3, -1}, 3, -1, 2, 2, N), 2.0);  // centre of a circle
  EXPECT_EQ(N, (TPointDouble{5, -1}));
  EXPECT_EQ(orv::DistFromEllipse({0, 5}, 0, 0, 4, 2, N), 3.0);
  EXPECT_EQ(N, (TPointDouble{0, 2}));
  EXPECT_EQ(orv::DistFromEllipse({-7, 0}, 0, 0, 4, 2, N), 3.0);
  EXPECT_EQ(N, (TPointDouble{-4, 0}));
  EXPECT_EQ(orv::DistFromEllipse({0, -5}, 0, 0, 2, 4, N), 1.0);  // A < B
  EXPECT_EQ(N, (TPointDouble{0, -4}));
  const double OnX = 4 * std::cos(0.7), OnY = 2 * std::sin(0.7);  // on the ellipse
  EXPECT_NEAR(orv::DistFromEllipse({OnX, OnY}, 0, 0, 4, 2, N), 0.0, 1e-15);
  EXPECT_NEAR(N.X, OnX, 1e-15);
  EXPECT_NEAR(N.Y, OnY, 1e-15);
  // References: the angle t of the nearest point (Xc + A cos t, Yc + B sin t)
  // located once on a numpy grid of 200001 angles, then refined with
  // scipy.optimize.brentq on the derivative of the squared distance.
  const TEllipseCase Cases[] = {
      {{3, 4}, 0, 0, 4, 2, 2.4630660170830776, {2.2203863330767235, 1.6635717997644484}},
      {{1, 0.5}, 0, 0, 4, 2, 1.4218177392122768, {1.2260007510540334, 1.903741195542014}},  // inside
      {{1, 5}, 0, 0, 2, 4, 1.23185261632121, {0.46684339857499596, 3.8895024058133445}},
      {{-2, -7}, 1, -1, 3, 5, 2.2438885197328893, {-0.46762431284859618, -5.3608354437652332}},
      // Inside on the axis: closed form (4w, 2 Sqrt(1 - w²)) with w = 1/3.
      {{1, 0}, 0, 0, 4, 2, 1.9148542155126762, {1.3333333333333333, 1.8856180831641267}},
      {{10, -3}, 2, 1, 6, 1.5, 4.2115375451753918, {7.6315705526029429, 0.48246901596043446}},
      {{0.2, 0.1}, 0, 0, 5, 3, 2.8963168630407723, {0.30673781272669504, 2.9943493932952636}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.P.X << "," << C.P.Y);
    EXPECT_NEAR(orv::DistFromEllipse(C.P, C.Xc, C.Yc, C.A, C.B, N), C.Dist, 1e-12);
    EXPECT_NEAR(N.X, C.Nearest.X, 1e-13);
    EXPECT_NEAR(N.Y, C.Nearest.Y, 1e-13);
  }
}

TEST(Geometry, DistFromEllipseHandlesDegenerateAxesAndFarPoints) {
  TPointDouble N;
  // A zero semi-axis leaves the segment between the vertices.
  EXPECT_EQ(orv::DistFromEllipse({1, 2}, 0, 0, 3, 0, N), 2.0);
  EXPECT_EQ(N, (TPointDouble{1, 0}));
  EXPECT_EQ(orv::DistFromEllipse({-5, -3}, 0, 0, 3, 0, N), std::sqrt(13.0));
  EXPECT_EQ(N, (TPointDouble{-3, 0}));
  EXPECT_EQ(orv::DistFromEllipse({4, 1}, 0, 0, 0, 2, N), 4.0);  // vertical segment
  EXPECT_EQ(N, (TPointDouble{0, 1}));
  EXPECT_EQ(orv::DistFromEllipse({3, 5}, 1, 1, 0, 0, N), std::sqrt(20.0));  // just the centre
  EXPECT_EQ(N, (TPointDouble{1, 1}));
  // The signs of the semi-axes do not change the ellipse.
  EXPECT_NEAR(orv::DistFromEllipse({3, 4}, 0, 0, -4, -2, N), 2.4630660170830776, 1e-12);
  EXPECT_NEAR(N.X, 2.2203863330767235, 1e-13);
  // Far away the bisection still ends, at the vertex direction.
  const double D = orv::DistFromEllipse({1e300, 0.5}, 0, 0, 4, 2, N);
  EXPECT_DOUBLE_EQ(D, 1e300);
  EXPECT_NEAR(N.X, 4.0, 1e-12);
  EXPECT_TRUE(std::isnan(orv::DistFromEllipse({std::nan(""), 1}, 0, 0, 4, 2, N)));
}

}  // namespace
