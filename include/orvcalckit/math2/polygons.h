// Unit ORV_math2: polygons, convex hull and great-circle distance.
// Included through ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Polygons are arrays of points indexed from 0; H is the last index. A
// polygon is closed by the edge P[H] -> P[0] where a routine says so. Every
// routine takes an empty polygon: nothing raises, and each says what it gives.

// Great-circle distance between two points of a sphere of the given radius,
// latitudes and longitudes in degrees: Radius * the central angle, as
// arccos(cos p1 cos p2 cos(l1 - l2) + sin p1 sin p2) but accurate at every
// distance (the half-angle form of the haversine, through atan2), so points
// centimetres apart on the Earth keep their digits.
ORV_API double SphereGreatCircleDist(double Radius, double Lat1, double Long1, double Lat2, double Long2);

// Removes consecutive duplicate points (exactly equal), then, decided all at
// once on the result, the middle points whose two neighbouring steps have
// equal slope (difference below 1e-10; two vertical steps count as equal), so
// a path that turns back along its line loses the turning point. The first and
// last points always stay. Returns the new length, to which Polygon is cut.
// Integer points are compared in double, so extreme coordinates cannot overflow.
ORV_API int32_t ReducePolygon(TPIntArray& Polygon);
ORV_API int32_t ReducePolygon(TPDblArray& Polygon);

// (X, Y) lies strictly inside the closed polygon (crossing test with signs):
// points on an edge or a vertex are outside, and so is every point of an
// empty polygon.
ORV_API bool PointIsInsidePolygon(double X, double Y, const TPDblArray& Polygon);

// Signed area of the closed polygon (shoelace): positive for counter-clockwise
// order, 0 for fewer than three points.
ORV_API double PolygonArea(const TPDblArray& Polygon);
// The same, and the number of pairs of edges that meet beyond the meetings of
// neighbouring edges, so a simple polygon gives 0 and a figure eight 1.
// Touching counts; two collinear edges count only when they share a point.
// Polygons of fewer than three points give 0 intersections. Only edges
// whose x ranges overlap are tested: n log n plus those pairs (n^2 / 2 at
// worst, and for a polygon with a NaN coordinate).
ORV_API double PolygonArea(const TPDblArray& Polygon, int32_t& Intersections);

// Sum of the edge lengths, with the closing edge when Closed; 0 when empty.
ORV_API double PolygonLength(const TPDblArray& Polygon, bool Closed);

// The smallest and largest coordinates, starting from P[0] and compared
// strictly (a NaN there stays); an empty polygon leaves all four unchanged.
ORV_API void OuterRectOfPolygon(const TPDblArray& Polygon, double& MinX, double& MinY, double& MaxX, double& MaxY);

// Steps := the differences P[j] - P[j - 1], j = 1..H; returns their number.
// Mode <= 0 keeps every step; Mode >= 1 drops zero steps (both differences
// exactly 0); Mode 2 then merges each run of steps of exactly equal slope dy/dx
// (2147483647 for vertical steps, so up and down merge) into one step, their
// sum. Steps is built aside, so it may be Polygon.
ORV_API int32_t ConvertToDiffPolygon(const TPDblArray& Polygon, TPDblArray& Steps, int32_t Mode);
// Polygon := Start, Start + Steps[0], ... (n steps give n + 1 points);
// returns n + 1. Polygon is built aside, so it may be Steps.
ORV_API int32_t ConvertFromDiffPolygon(const TPointDouble& Start, const TPDblArray& Steps, TPDblArray& Polygon);

// Smallest distance from P to the edges of the polygon (with the closing edge
// when Closed); a single point is its own edge. An empty polygon gives
// uc_MaxDouble; edges at NaN distance are passed over.
ORV_API double DistanceToPolygon(const TPointDouble& P, const TPDblArray& Polygon, bool Closed);

// (X, Y) lies strictly left of every directed edge of Hull, the closing edge
// first: true inside a counter-clockwise hull (Convex2DHull's), false on an
// edge, outside, for a clockwise hull and for an empty one.
ORV_API bool PointIsInsideConvexHull(double X, double Y, const TPDblArray& Hull);

// The convex hull of Points. Up to three points come back as they are.
// Otherwise the vertices counter-clockwise, without points on edges and
// without duplicates, starting at the vertex of smallest angle around the mean
// of all points measured from the downward vertical (AngleToXAxis + pi/2,
// wrapped into [0, 2 pi)). Points all equal give that point; collinear points
// their two extreme points. Points with a NaN coordinate are left out.
// O(n log n) (A. M. Andrew's monotone chain: "Another efficient algorithm for
// convex hulls in two dimensions", Information Processing Letters 9(5), 1979).
ORV_API TPDblArray Convex2DHull(const TPDblArray& Points);

}  // namespace orv
