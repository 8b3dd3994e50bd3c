// Polygons, convex hull and great-circle distance.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "core/orientation.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

namespace {

constexpr double Pi = std::numbers::pi;

// Counts reported as Integer; only a polygon beyond 2^31 points could reach the limit.
int32_t CountResult(std::size_t N) {
  return N > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                           : static_cast<int32_t>(N);
}

template <class TPt>
double Xof(const TPt& P) {
  return static_cast<double>(P.X);
}
template <class TPt>
double Yof(const TPt& P) {
  return static_cast<double>(P.Y);
}

template <class TPt>
int32_t ReduceOf(std::vector<TPt>& P) {
  // Consecutive duplicates: equal to the previous point is equal to the last
  // one kept, since a removed point equals that one.
  std::size_t N = 0;
  for (std::size_t I = 0; I < P.size(); ++I)
    if (N == 0 || !(P[I] == P[N - 1])) P[N++] = P[I];
  P.resize(N);
  if (N < 3) return CountResult(N);
  // All collinear middle points are found before any goes, so each is judged
  // by its neighbours in the compacted array.
  std::vector<uint8_t> Drop(N, 0);
  for (std::size_t K = 1; K + 1 < N; ++K) {
    const double Dx1 = Xof(P[K - 1]) - Xof(P[K]);
    const double Dy1 = Yof(P[K - 1]) - Yof(P[K]);
    const double Dx2 = Xof(P[K]) - Xof(P[K + 1]);
    const double Dy2 = Yof(P[K]) - Yof(P[K + 1]);
    if (Dx1 == 0)
      Drop[K] = Dx2 == 0;
    else if (Dx2 == 0)
      Drop[K] = Dy2 == 0;
    else
      Drop[K] = std::fabs(Dy1 / Dx1 - Dy2 / Dx2) < 1e-10;
  }
  std::size_t M = 0;
  for (std::size_t I = 0; I < N; ++I)
    if (!Drop[I]) P[M++] = P[I];
  P.resize(M);
  return CountResult(M);
}

// One edge's factor of the signed crossing test: +1 no crossing, -1 a
// crossing of the ray from Q, 0 when Q lies on the edge.
int EdgeFactor(const TPointDouble& Q, TPointDouble B, TPointDouble C) {
  if (Q.Y == B.Y && Q.Y == C.Y)
    return (B.X <= Q.X && Q.X <= C.X) || (C.X <= Q.X && Q.X <= B.X) ? 0 : 1;
  if (B.Y > C.Y) std::swap(B, C);
  if (Q == B) return 0;
  if (Q.Y <= B.Y || Q.Y > C.Y) return 1;
  const double Delta = (B.X - Q.X) * (C.Y - Q.Y) - (B.Y - Q.Y) * (C.X - Q.X);
  return Delta > 0 ? -1 : Delta < 0 ? 1 : 0;
}

// SegmentsIntersect (inline here) takes any four collinear points as
// meeting; collinear segments meet exactly when their bounding boxes
// overlap, and segments that meet always have overlapping boxes, so the box
// test mends the one case.
bool EdgesMeet(const TPointDouble& A, const TPointDouble& B, const TPointDouble& C, const TPointDouble& D) {
  const bool Boxes = std::max(A.X, B.X) >= std::min(C.X, D.X) && std::max(C.X, D.X) >= std::min(A.X, B.X) &&
                     std::max(A.Y, B.Y) >= std::min(C.Y, D.Y) && std::max(C.Y, D.Y) >= std::min(A.Y, B.Y);
  return Boxes && detail::SegmentsMeet(A, B, C, D);
}

// Pairs of edges that meet, less the edge count: 0 for a simple polygon.
// Edge K runs from P[K] to P[K + 1], edge H closes the polygon; a pair is
// always tested with the lower edge first, in the order of the plain pairwise
// loop. Edges whose x ranges are apart cannot meet, so a sweep over the edges
// sorted by their left end tests only the pairs that overlap in x: the same
// count without the n^2 / 2 tests of a long contour. NaN coordinates have no
// order, so a polygon with one takes the pairwise loop.
int64_t CountMeetingEdges(const TPDblArray& P) {
  const std::size_t N = P.size();
  // Fewer than three points bound no area and have no edges that could cross.
  if (N < 3) return 0;
  const std::size_t H = N - 1;
  auto To = [&](std::size_t K) -> const TPointDouble& { return P[K == H ? 0 : K + 1]; };
  auto Meet = [&](std::size_t K, std::size_t L) { return EdgesMeet(P[K], To(K), P[L], To(L)); };
  int64_t Count = -static_cast<int64_t>(N);
  const bool HasNaN =
      std::any_of(P.begin(), P.end(), [](const TPointDouble& Q) { return std::isnan(Q.X) || std::isnan(Q.Y); });
  if (HasNaN) {
    for (std::size_t K = 0; K < H; ++K)
      for (std::size_t L = K + 1; L <= H; ++L) Count += Meet(K, L);
    return Count;
  }
  struct TSpan {
    double Lo, Hi;
    std::size_t K;
  };
  std::vector<TSpan> S(N);
  for (std::size_t K = 0; K < N; ++K) S[K] = {std::min(P[K].X, To(K).X), std::max(P[K].X, To(K).X), K};
  std::sort(S.begin(), S.end(), [](const TSpan& A, const TSpan& B) { return A.Lo < B.Lo; });
  for (std::size_t A = 0; A < N; ++A)
    for (std::size_t B = A + 1; B < N && S[B].Lo <= S[A].Hi; ++B)
      Count += Meet(std::min(S[A].K, S[B].K), std::max(S[A].K, S[B].K));
  return Count;
}

// P in increasing x, equal x in increasing y: what std::sort with that
// comparison gives. Points that are equal go down to the first of their run
// afterwards, so the order within a run matters only where equal points
// differ in their bits, for +0.0 and -0.0; those are left to std::sort on the
// whole array, as are points whose x spread no scale can take apart. The
// others go into buckets of about 16 by x (a bucket number that never falls
// as x grows), and std::sort orders each bucket: the same order, with far
// fewer comparisons, each bucket in the first-level cache.
void SortLexicographic(TPDblArray& P) {
  const auto Less = [](const TPointDouble& A, const TPointDouble& B) {
    return A.X < B.X || (A.X == B.X && A.Y < B.Y);
  };
  double Lo = HUGE_VAL, Hi = -HUGE_VAL;
  bool NegativeZero = false;
  for (const TPointDouble& Q : P) {
    Lo = std::min(Lo, Q.X);
    Hi = std::max(Hi, Q.X);
    NegativeZero |= (Q.X == 0.0 && std::signbit(Q.X)) || (Q.Y == 0.0 && std::signbit(Q.Y));
  }
  const std::size_t Buckets = P.size() / 16;
  const double Scale = static_cast<double>(Buckets) / (Hi - Lo);
  if (NegativeZero || Buckets < 64 || !std::isfinite(Scale) || !(Scale > 0.0)) {
    std::sort(P.begin(), P.end(), Less);
    return;
  }
  const auto Bucket = [&](double X) {
    return std::min(static_cast<std::size_t>((X - Lo) * Scale), Buckets - 1);  // 0 <= (X - Lo) * Scale
  };
  std::vector<std::size_t> Start(Buckets + 1, 0);
  for (const TPointDouble& Q : P) ++Start[Bucket(Q.X) + 1];
  if (*std::max_element(Start.begin(), Start.end()) > P.size() / 4) {  // x bunched: buckets gain nothing
    std::sort(P.begin(), P.end(), Less);
    return;
  }
  for (std::size_t B = 1; B <= Buckets; ++B) Start[B] += Start[B - 1];
  TPDblArray Sorted(P.size());
  std::vector<std::size_t> Next(Start.begin(), Start.end() - 1);
  for (const TPointDouble& Q : P) Sorted[Next[Bucket(Q.X)]++] = Q;
  for (std::size_t B = 0; B < Buckets; ++B)
    std::sort(Sorted.begin() + static_cast<std::ptrdiff_t>(Start[B]),
              Sorted.begin() + static_cast<std::ptrdiff_t>(Start[B + 1]), Less);
  P.swap(Sorted);
}

// The angle that orders the hull's start: around the mean, from the downward
// vertical, in [0, 2 pi).
double StartAngle(const TPointDouble& P, double MeanX, double MeanY) {
  const double A = AngleToXAxis(P.X - MeanX, P.Y - MeanY) + Pi / 2;
  return A >= 2 * Pi ? A - 2 * Pi : A;
}

}  // namespace

double SphereGreatCircleDist(double Radius, double Lat1, double Long1, double Lat2, double Long2) {
  // With d = the half difference and s = the half sum of the latitudes and
  // l = the half difference of the longitudes, sin^2 and cos^2 of half the
  // central angle are sums of squares without cancellation:
  // sin^2 = (sin d cos l)^2 + (cos s sin l)^2, cos^2 = (cos d cos l)^2 + (sin s sin l)^2.
  // Differences are taken in degrees, where close points subtract exactly.
  const double ToRad = Pi / 180;
  const double D = (Lat2 - Lat1) * ToRad / 2;
  const double S = (Lat1 + Lat2) * ToRad / 2;
  const double L = (Long1 - Long2) * ToRad / 2;
  const double SinL = std::sin(L), CosL = std::cos(L);
  const double SinHalf = std::hypot(std::sin(D) * CosL, std::cos(S) * SinL);
  const double CosHalf = std::hypot(std::cos(D) * CosL, std::sin(S) * SinL);
  return Radius * (2 * std::atan2(SinHalf, CosHalf));
}

int32_t ReducePolygon(TPIntArray& Polygon) { return ReduceOf(Polygon); }
int32_t ReducePolygon(TPDblArray& Polygon) { return ReduceOf(Polygon); }

bool PointIsInsidePolygon(double X, double Y, const TPDblArray& Polygon) {
  if (Polygon.empty()) return false;
  const TPointDouble Q{X, Y};
  int T = -1;
  const std::size_t H = Polygon.size() - 1;
  T *= EdgeFactor(Q, Polygon[H], Polygon[0]);
  for (std::size_t I = 1; I <= H && T != 0; ++I) T *= EdgeFactor(Q, Polygon[I - 1], Polygon[I]);
  return T == 1;
}

double PolygonArea(const TPDblArray& Polygon) {
  if (Polygon.empty()) return 0.0;
  const auto& P = Polygon;
  const std::size_t H = P.size() - 1;
  double Sum = (P[H].X - P[0].X) * (P[H].Y + P[0].Y);
  for (std::size_t I = 0; I < H; ++I) Sum += (P[I].X - P[I + 1].X) * (P[I].Y + P[I + 1].Y);
  return Sum / 2;
}

double PolygonArea(const TPDblArray& Polygon, int32_t& Intersections) {
  const int64_t Count = CountMeetingEdges(Polygon);
  Intersections = static_cast<int32_t>(std::min<int64_t>(Count, std::numeric_limits<int32_t>::max()));
  return PolygonArea(Polygon);
}

double PolygonLength(const TPDblArray& Polygon, bool Closed) {
  if (Polygon.empty()) return 0.0;
  const auto& P = Polygon;
  const std::size_t H = P.size() - 1;
  double Sum = 0.0;
  for (std::size_t I = 0; I < H; ++I) Sum += EuclideanDistance(P[I + 1], P[I]);
  if (Closed) Sum += EuclideanDistance(P[0], P[H]);
  return Sum;
}

void OuterRectOfPolygon(const TPDblArray& Polygon, double& MinX, double& MinY, double& MaxX, double& MaxY) {
  if (Polygon.empty()) return;
  // Collected aside: an output may alias a point's coordinate.
  double X0 = Polygon[0].X, Y0 = Polygon[0].Y, X1 = X0, Y1 = Y0;
  for (std::size_t I = 1; I < Polygon.size(); ++I) {
    const TPointDouble& Q = Polygon[I];
    if (Q.X < X0) X0 = Q.X;
    if (Q.X > X1) X1 = Q.X;
    if (Q.Y < Y0) Y0 = Q.Y;
    if (Q.Y > Y1) Y1 = Q.Y;
  }
  MinX = X0;
  MinY = Y0;
  MaxX = X1;
  MaxY = Y1;
}

int32_t ConvertToDiffPolygon(const TPDblArray& Polygon, TPDblArray& Steps, int32_t Mode) {
  TPDblArray S;
  if (Polygon.size() > 1) S.reserve(Polygon.size() - 1);
  for (std::size_t J = 1; J < Polygon.size(); ++J) {
    const TPointDouble D{Polygon[J].X - Polygon[J - 1].X, Polygon[J].Y - Polygon[J - 1].Y};
    if (Mode >= 1 && D.X == 0 && D.Y == 0) continue;
    S.push_back(D);
  }
  if (Mode == 2 && !S.empty()) {
    // Vertical steps share one slope, so up and down merge; a run keeps the
    // slope of its first step, which every step of it has exactly.
    auto Slope = [](const TPointDouble& D) { return D.X == 0 ? 2147483647.0 : D.Y / D.X; };
    std::size_t M = 0;
    double RunSlope = Slope(S[0]);
    for (std::size_t I = 1; I < S.size(); ++I) {
      const double Sl = Slope(S[I]);
      if (Sl == RunSlope) {
        S[M].X += S[I].X;
        S[M].Y += S[I].Y;
      } else {
        S[++M] = S[I];
        RunSlope = Sl;
      }
    }
    S.resize(M + 1);
  }
  const int32_t Count = CountResult(S.size());
  Steps = std::move(S);
  return Count;
}

int32_t ConvertFromDiffPolygon(const TPointDouble& Start, const TPDblArray& Steps, TPDblArray& Polygon) {
  TPDblArray P;
  P.reserve(Steps.size() + 1);
  P.push_back(Start);
  for (const TPointDouble& D : Steps) P.push_back({P.back().X + D.X, P.back().Y + D.Y});
  const int32_t Count = CountResult(P.size());
  Polygon = std::move(P);
  return Count;
}

double DistanceToPolygon(const TPointDouble& P, const TPDblArray& Polygon, bool Closed) {
  if (Polygon.empty()) return uc_MaxDouble;
  const std::size_t H = Polygon.size() - 1;
  // An open path of one point has no segment, yet its distance is plainly
  // the distance to that point, as for the closed one.
  if (H == 0) return DistanceToSegment(P, Polygon[0], Polygon[0]);
  double Best = uc_MaxDouble;
  for (std::size_t I = 0; I < H; ++I) {
    const double D = DistanceToSegment(P, Polygon[I], Polygon[I + 1]);
    if (D < Best) Best = D;
  }
  if (Closed) {
    const double D = DistanceToSegment(P, Polygon[H], Polygon[0]);
    if (D < Best) Best = D;
  }
  return Best;
}

bool PointIsInsideConvexHull(double X, double Y, const TPDblArray& Hull) {
  if (Hull.empty()) return false;
  auto LeftOf = [X, Y](const TPointDouble& A, const TPointDouble& B) {
    return (B.X - A.X) * (Y - A.Y) - (B.Y - A.Y) * (X - A.X) > 0;
  };
  const std::size_t H = Hull.size() - 1;
  if (!LeftOf(Hull[H], Hull[0])) return false;
  for (std::size_t I = 0; I < H; ++I)
    if (!LeftOf(Hull[I], Hull[I + 1])) return false;
  return true;
}

TPDblArray Convex2DHull(const TPDblArray& Points) {
  if (Points.size() <= 3) return Points;
  TPDblArray P;
  P.reserve(Points.size());
  double SumX = 0.0, SumY = 0.0;
  for (const TPointDouble& Q : Points) {
    if (std::isnan(Q.X) || std::isnan(Q.Y)) continue;
    P.push_back(Q);
    SumX += Q.X;
    SumY += Q.Y;
  }
  if (P.empty()) return P;
  const double MeanX = SumX / static_cast<double>(P.size());
  const double MeanY = SumY / static_cast<double>(P.size());
  SortLexicographic(P);
  P.erase(std::unique(P.begin(), P.end()), P.end());
  TPDblArray Hull;
  if (P.size() <= 2) {
    Hull = std::move(P);
  } else {
    // Lower chain left to right, then upper chain right to left: counter-
    // clockwise; a point making no left turn (also a collinear one) goes.
    Hull.reserve(P.size() + 1);
    const auto NoLeftTurn = [&Hull](const TPointDouble& Q) {
      return detail::Orientation(Hull[Hull.size() - 2], Hull.back(), Q) <= 0;
    };
    for (const TPointDouble& Q : P) {
      while (Hull.size() >= 2 && NoLeftTurn(Q)) Hull.pop_back();
      Hull.push_back(Q);
    }
    for (std::size_t I = P.size() - 1, Lower = Hull.size() + 1; I-- > 0;) {
      while (Hull.size() >= Lower && NoLeftTurn(P[I])) Hull.pop_back();
      Hull.push_back(P[I]);
    }
    Hull.pop_back();  // the last point closes the chain at the first
  }
  std::size_t First = 0;
  double FirstAngle = StartAngle(Hull[0], MeanX, MeanY);
  for (std::size_t I = 1; I < Hull.size(); ++I) {
    const double A = StartAngle(Hull[I], MeanX, MeanY);
    if (A < FirstAngle) {
      First = I;
      FirstAngle = A;
    }
  }
  std::rotate(Hull.begin(), Hull.begin() + static_cast<std::ptrdiff_t>(First), Hull.end());
  return Hull;
}

}  // namespace orv
