// Polygons, convex hull and great-circle distance.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/hull_plain.h"
#include "support/iris.h"

namespace orv {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const TPDblArray Square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
// Concave: a U open to the top, its two top edges on one line.
const TPDblArray UShape = {{0, 0}, {3, 0}, {3, 2}, {2, 2}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};

TEST(SphereGreatCircleDist, AccurateAtEveryDistance) {
  // Radius, lat/long 1 and 2 in degrees; references: the haversine formula
  // with mpmath at 40 digits on the exact doubles (7 cm: the arccos form gives 0).
  const struct { double R, La1, Lo1, La2, Lo2, Want; } Rows[] = {
      {6371008.8, 48.2082, 16.3738, 48.2082006, 16.3738003, 0.070323402829955941877},
      {6371008.8, 48.2082, 16.3738, 48.2082, 16.37381, 0.74103267310751736168},
      {6371008.8, 48.2082, 16.3738, 40.7128, -74.0060, 6796338.1344141945678},
      {6371008.8, -33.8688, 151.2093, 51.5074, -0.1278, 16993956.932816536281},
      {1, 0, 0, 0, 90, std::numbers::pi / 2},
      {1, 30, 40, -30, -140, std::numbers::pi},
      {1, 30, 40, -30.000001, -140, 3.1415926361365007006},
      {1, 90, 0, -90, 0, std::numbers::pi},
      {2, 10, 20, 10.000000000001, 20, 3.4909688255624173501e-14},
      {1, 12.5, -7.25, 12.5, -7.25, 0}};
  for (const auto& R : Rows) {
    EXPECT_NEAR(SphereGreatCircleDist(R.R, R.La1, R.Lo1, R.La2, R.Lo2), R.Want, 4e-15 * R.Want)
        << R.La1 << " " << R.Lo1 << " " << R.La2 << " " << R.Lo2;
    EXPECT_NEAR(SphereGreatCircleDist(R.R, R.La2, R.Lo2, R.La1, R.Lo1), R.Want, 4e-15 * R.Want);
  }
  EXPECT_TRUE(std::isnan(SphereGreatCircleDist(1, NaN, 0, 0, 0)));
}

TEST(ReducePolygon, DuplicatesCollinearAndTurnBackPointsGo) {
  TPDblArray D = {{0, 0}, {0, 0}, {1, 1}, {2, 2}, {2, 0}};
  EXPECT_EQ(ReducePolygon(D), 3);
  EXPECT_EQ(D, (TPDblArray{{0, 0}, {2, 2}, {2, 0}}));
  // Vertical runs and a path turning back along its line; the ends stay.
  D = {{0, 0}, {0, 1}, {0, 3}, {0, 2}, {1, 2}, {1, 2}};
  EXPECT_EQ(ReducePolygon(D), 3);
  EXPECT_EQ(D, (TPDblArray{{0, 0}, {0, 2}, {1, 2}}));
  // Integer points: differences of extreme coordinates do not overflow.
  const int32_t Lo = std::numeric_limits<int32_t>::min(), Hi = std::numeric_limits<int32_t>::max();
  TPIntArray I = {{Hi, 5}, {Lo, 5}, {Hi, 5}, {Hi, 5}, {0, 0}};
  EXPECT_EQ(ReducePolygon(I), 3);
  EXPECT_EQ(I, (TPIntArray{{Hi, 5}, {Hi, 5}, {0, 0}}));
  TPIntArray Empty;
  EXPECT_EQ(ReducePolygon(Empty), 0);
}

TEST(Polygons, AreaLengthAndContainment) {
  // Areas by the shoelace formula and lengths by hand.
  const struct { TPDblArray P; double Area, Open, Closed; } Rows[] = {
      {Square, 1, 3, 4},
      {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}, -1, 3, 4},
      {UShape, 5, 10, 12},
      {{{0, 0}, {4, 0}, {0, 3}}, 6, 9, 12},
      {{{1, 1}}, 0, 0, 0},
      {{}, 0, 0, 0}};
  for (const auto& R : Rows) {
    EXPECT_EQ(PolygonArea(R.P), R.Area) << R.P.size();
    EXPECT_EQ(PolygonLength(R.P, false), R.Open) << R.P.size();
    EXPECT_EQ(PolygonLength(R.P, true), R.Closed) << R.P.size();
  }
  // Inside strictly; vertices and edge points are outside, so is the notch.
  const struct { double X, Y; bool Square, U; } Pts[] = {
      {0.5, 0.5, true, true}, {1.5, 0.5, false, true}, {1.5, 1.5, false, false}, {0, 0, false, false},
      {1, 0.5, false, true},  {0.5, 0, false, false},  {2, 1.5, false, false},   {0.5, 1.5, false, true},
      {-1, 0.5, false, false}, {NaN, 0.5, false, false}};
  for (const auto& Q : Pts) {
    EXPECT_EQ(PointIsInsidePolygon(Q.X, Q.Y, Square), Q.Square) << Q.X << ", " << Q.Y;
    EXPECT_EQ(PointIsInsidePolygon(Q.X, Q.Y, UShape), Q.U) << Q.X << ", " << Q.Y;
    EXPECT_EQ(PointIsInsideConvexHull(Q.X, Q.Y, Square), Q.Square) << Q.X << ", " << Q.Y;
  }
  EXPECT_FALSE(PointIsInsidePolygon(0, 0, {}));
  EXPECT_FALSE(PointIsInsideConvexHull(0, 0, {}));
  EXPECT_FALSE(PointIsInsideConvexHull(0.5, 0.5, {{0, 1}, {1, 1}, {1, 0}, {0, 0}})) << "clockwise";
}

// Splitmix64 (Steele, Lea, Flood, "Fast splittable pseudorandom number
// generators", OOPSLA 2014), so the reference run can draw the same points.
struct TSplitMix {
  uint64_t S;
  double Next() {
    uint64_t Z = (S += 0x9E3779B97F4A7C15u);
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9u;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBu;
    return static_cast<double>((Z ^ (Z >> 31)) >> 11) * 0x1p-53;
  }
};

TEST(PolygonArea, CountsSelfIntersections) {
  const struct { TPDblArray P; int32_t Want; const char* What; } Rows[] = {
      {Square, 0, "simple"},
      {UShape, 0, "collinear top edges apart"},
      {{{0, 0}, {1, 1}, {1, 0}, {0, 1}}, 1, "figure eight"},
      {{{0, 0}, {4, 0}, {4, 1}, {2, 0}, {0, 1}}, 2, "a vertex touching an edge"},
      {{{0, 0}, {3, 0}, {3, 1}, {2, 0}, {1, 0}, {0, 1}}, 3, "collinear edges overlapping"},
      {{{0, 0}, {2, 0}, {1, 2}, {0, 1}, {2, 1}}, 2, "pentagram-like"},
      {{{0, 0}, {1, 1}}, 0, "two points"},
      {{}, 0, "empty"}};
  for (const auto& R : Rows) {
    int32_t N = -99;
    PolygonArea(R.P, N);
    EXPECT_EQ(N, R.Want) << R.What;
  }
  // 300 random vertices in [-50, 50)^2 (x, y, x, ... from seed 777): pairs
  // meeting counted with exact rational predicates in Python (fractions).
  TSplitMix G{777};
  TPDblArray P(300);
  for (auto& Q : P) Q = {G.Next() * 100 - 50, G.Next() * 100 - 50};
  int32_t N = 0;
  PolygonArea(P, N);
  EXPECT_EQ(N, 10075);
}

TEST(Polygons, RectStepsAndDistance) {
  double X0 = 7, Y0 = 7, X1 = 7, Y1 = 7;
  OuterRectOfPolygon({}, X0, Y0, X1, Y1);
  EXPECT_EQ((std::vector<double>{X0, Y0, X1, Y1}), (std::vector<double>{7, 7, 7, 7}));
  OuterRectOfPolygon({{2, -1}, {-3, 4}, {0, 9}}, X0, Y0, X1, Y1);
  EXPECT_EQ((std::vector<double>{X0, Y0, X1, Y1}), (std::vector<double>{-3, -1, 2, 9}));

  const TPDblArray P = {{0, 0}, {1, 1}, {1, 1}, {2, 2}, {2, 3}, {2, 1}};
  const struct { int32_t Mode; TPDblArray Want; } Steps[] = {
      {0, {{1, 1}, {0, 0}, {1, 1}, {0, 1}, {0, -2}}},
      {1, {{1, 1}, {1, 1}, {0, 1}, {0, -2}}},
      {2, {{2, 2}, {0, -1}}},
      {3, {{1, 1}, {1, 1}, {0, 1}, {0, -2}}}};
  for (const auto& R : Steps) {
    TPDblArray S = {{9, 9}};
    EXPECT_EQ(ConvertToDiffPolygon(P, S, R.Mode), static_cast<int32_t>(R.Want.size())) << R.Mode;
    EXPECT_EQ(S, R.Want) << R.Mode;
  }
  TPDblArray S = {{0, 0}, {1, 1}, {2, 2}, {2, 3}};
  EXPECT_EQ(ConvertToDiffPolygon(S, S, 2), 2);
  EXPECT_EQ(ConvertFromDiffPolygon({0, 0}, S, S), 3);
  EXPECT_EQ(S, (TPDblArray{{0, 0}, {2, 2}, {2, 3}}));
  EXPECT_EQ(ConvertToDiffPolygon({}, S, 1), 0);
  EXPECT_TRUE(S.empty());
  EXPECT_EQ(ConvertFromDiffPolygon({5, 6}, {}, S), 1);
  EXPECT_EQ(S, (TPDblArray{{5, 6}}));

  // Distances by hand: to the open path, then also to its closing edge.
  EXPECT_EQ(DistanceToPolygon({0.5, 0.25}, Square, false), 0.25);
  EXPECT_EQ(DistanceToPolygon({-2, 0.5}, Square, false), std::sqrt(4.25));
  EXPECT_EQ(DistanceToPolygon({-2, 0.5}, Square, true), 2);
  EXPECT_EQ(DistanceToPolygon({-2, 0.5}, {{1, 0.5}}, false), 3);
  EXPECT_EQ(DistanceToPolygon({0, 0}, {}, true), uc_MaxDouble);
}

TEST(Convex2DHull, CounterClockwiseFromTheFirstAngle) {
  const struct { TPDblArray P, Want; const char* What; } Rows[] = {
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5, 0.5}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}, "square and centre"},
      // The intercept test of the marker scan lost all of this elongated set.
      {{{0, 0}, {100, 0}, {0, 1}, {1.9, 0.17}, {3.5, 0.04}}, {{100, 0}, {0, 1}, {0, 0}}, "elongated"},
      {{{0, 0}, {2, 0}, {2, 2}, {0, 2}, {1, 0}, {2, 1}, {2, 2}, {0, 0}}, {{2, 0}, {2, 2}, {0, 2}, {0, 0}},
       "edge points and duplicates"},
      {{{0, 0}, {1, 0}, {0, 1}, {-1, 0}, {0, -1}}, {{0, -1}, {1, 0}, {0, 1}, {-1, 0}}, "angle 2 pi wraps to 0"},
      {{{2, 3}, {2, 3}, {2, 3}, {2, 3}}, {{2, 3}}, "all equal"},
      {{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {1, 1}}, {{3, 3}, {0, 0}}, "collinear"},
      {{{0, 0}, {NaN, 1}, {4, 0}, {0, 4}, {1, NaN}}, {{4, 0}, {0, 4}, {0, 0}}, "NaN points left out"},
      {{{0, 0}, {0, 0}, {1, 1}}, {{0, 0}, {0, 0}, {1, 1}}, "three points as they are"},
      {{}, {}, "empty"}};
  for (const auto& R : Rows) EXPECT_EQ(Convex2DHull(R.P), R.Want) << R.What;
}

TEST(Convex2DHull, AgreesWithQhull) {
  // 2000 points uniform in [-50, 50)^2 (x, y, x, ... from seed 12345); the
  // vertices by scipy.spatial.ConvexHull, rotated to the start vertex.
  TSplitMix G{12345};
  TPDblArray P(2000);
  for (auto& Q : P) Q = {G.Next() * 100 - 50, G.Next() * 100 - 50};
  const int Want[] = {259,  1636, 1245, 686,  1537, 372,  1481, 1296, 293,  213,  246,  1018, 1759, 972,
                      1700, 193,  1834, 583,  1025, 632,  1508, 589,  520,  1019, 354,  1335, 1133};
  TPDblArray W;
  for (int I : Want) W.push_back(P[detail::Ix(I)]);
  EXPECT_EQ(Convex2DHull(P), W);
  for (const auto& Q : P) EXPECT_EQ(PointIsInsideConvexHull(Q.X, Q.Y, W), PointIsInsidePolygon(Q.X, Q.Y, W));

  // Iris petal length and width: duplicates galore; scipy.spatial.ConvexHull.
  // (1.4, 0.1), (6.0, 2.5) and (1.3, 0.4) lie on hull edges in decimal
  // (checked with fractions), so in binary they may go either way.
  TPDblArray Petals;
  for (const auto& F : test::Iris) Petals.push_back({F[2], F[3]});
  TPDblArray Hull;
  for (const auto& Q : Convex2DHull(Petals))
    if (!(Q == TPointDouble{1.4, 0.1} || Q == TPointDouble{6.0, 2.5} || Q == TPointDouble{1.3, 0.4}))
      Hull.push_back(Q);
  EXPECT_EQ(Hull, (TPDblArray{{5.6, 1.4}, {6.7, 2.0}, {6.9, 2.3}, {6.1, 2.5}, {5.7, 2.5}, {5.1, 2.4},
                              {1.6, 0.6}, {1.0, 0.2}, {1.1, 0.1}, {1.5, 0.1}, {1.9, 0.2}}));
}

// The hull as the library built it before its sort went by buckets: one
// std::sort through a function pointer, the chain over CcwTriangle, the
// start at the smallest angle around the mean.
bool ReferenceLess(const TPointDouble& A, const TPointDouble& B) { return A.X < B.X || (A.X == B.X && A.Y < B.Y); }

TPDblArray ReferenceHull(const TPDblArray& Points) {
  if (Points.size() <= 3) return Points;
  TPDblArray P;
  double SumX = 0.0, SumY = 0.0;
  for (const TPointDouble& Q : Points) {
    if (std::isnan(Q.X) || std::isnan(Q.Y)) continue;
    P.push_back(Q);
    SumX += Q.X;
    SumY += Q.Y;
  }
  if (P.empty()) return P;
  const double MeanX = SumX / static_cast<double>(P.size()), MeanY = SumY / static_cast<double>(P.size());
  std::sort(P.begin(), P.end(), ReferenceLess);
  P.erase(std::unique(P.begin(), P.end()), P.end());
  TPDblArray Hull = P.size() <= 2 ? P : test::MonotoneChain(P, CcwTriangle);
  const auto Angle = [&](const TPointDouble& Q) {
    const double A = AngleToXAxis(Q.X - MeanX, Q.Y - MeanY) + std::numbers::pi / 2;
    return A >= 2 * std::numbers::pi ? A - 2 * std::numbers::pi : A;
  };
  std::size_t First = 0;
  for (std::size_t I = 1; I < Hull.size(); ++I)
    if (Angle(Hull[I]) < Angle(Hull[First])) First = I;
  std::rotate(Hull.begin(), Hull.begin() + static_cast<std::ptrdiff_t>(First), Hull.end());
  return Hull;
}

TEST(Convex2DHull, SameBitsAsTheReferenceOnRandomAndDegenerateSets) {
  TSplitMix G{2024};
  const auto U = [&G](double Lo, double Hi) { return Lo + (Hi - Lo) * G.Next(); };
  std::vector<TPDblArray> Sets(9);
  for (int I = 0; I < 20000; ++I) {
    Sets[0].push_back({U(-1e6, 1e6), U(-1e6, 1e6)});
    // A 41 x 41 grid, every point about four times: collinear edges, runs of equal x.
    Sets[1].push_back({std::floor(U(0, 41)), std::floor(U(0, 41))});
    const double A = U(0, 2 * std::numbers::pi);
    Sets[2].push_back({std::cos(A), std::sin(A)});  // all on the hull
    const double T = U(-1, 1);
    Sets[3].push_back({3 * T, 0.1 * T});                     // one line
    Sets[4].push_back({3 * T, 0.1 * T + T * 1e-17 * U(-1, 1)});  // nearly
    // Nearly all x in one spot, a few far; a diamond whose vertices come
    // with zeros of both signs (which copy stays is the sort's affair); an
    // infinite and a NaN coordinate; tiny values.
    Sets[5].push_back({I % 100 ? 1 + 1e-12 * U(0, 1) : U(-5, 5), U(-1, 1)});
    const double Z = I % 8 < 4 ? 0.0 : -0.0, W = U(-0.45, 0.45), V[] = {1, -1};
    Sets[6].push_back(I % 2 ? TPointDouble{W, 0.45 - std::fabs(W)} : I % 4 ? TPointDouble{Z, V[I / 16 % 2]}
                                                                          : TPointDouble{V[I / 16 % 2], Z});
    Sets[7].push_back({I == 77 ? HUGE_VAL : U(-1, 1), I == 78 ? NaN : U(-1, 1)});
    Sets[8].push_back({U(-1, 1) * 1e-300, U(-1, 1) * 1e-300});
  }
  const char* Names[] = {"random", "grid", "circle", "line", "nearly a line", "bunched", "signed zeros", "infinite",
                         "tiny"};
  for (std::size_t S = 0; S < Sets.size(); ++S) {
    const TPDblArray Want = ReferenceHull(Sets[S]), Got = Convex2DHull(Sets[S]);
    ASSERT_EQ(Got.size(), Want.size()) << Names[S];
    for (std::size_t I = 0; I < Got.size(); ++I) {
      ASSERT_EQ(std::bit_cast<uint64_t>(Got[I].X), std::bit_cast<uint64_t>(Want[I].X)) << Names[S] << ' ' << I;
      ASSERT_EQ(std::bit_cast<uint64_t>(Got[I].Y), std::bit_cast<uint64_t>(Want[I].Y)) << Names[S] << ' ' << I;
    }
  }
}

}  // namespace
}  // namespace orv
