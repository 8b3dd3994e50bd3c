// ORV_math1: plane geometry of points, segments, rectangles and ellipses.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/isqrt.h"
#include "core/norm2.h"
#include "core/orientation.h"
#include "orvcalckit/ORV_math1.h"

namespace orv {

using detail::Norm2;

double EuclideanDistance(const TPointDouble& P1, const TPointDouble& P2) {
  return Norm2(P1.X - P2.X, P1.Y - P2.Y);
}

double EuclideanDistance(double x1, double y1, double x2, double y2) { return Norm2(x1 - x2, y1 - y2); }

double DistanceToSegment(const TPointDouble& P, const TPointDouble& A, const TPointDouble& B) {
  const double Dx = B.X - A.X;
  const double Dy = B.Y - A.Y;
  const double Len2 = Dx * Dx + Dy * Dy;
  const double T = Len2 > 0 ? ((P.X - A.X) * Dx + (P.Y - A.Y) * Dy) / Len2 : -1.0;
  if (T < 0) return EuclideanDistance(P, A);
  if (T > 1) return EuclideanDistance(P, B);
  return EuclideanDistance(P.X, P.Y, A.X + T * Dx, A.Y + T * Dy);
}

int32_t CcwTriangle(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3) {
  return detail::Orientation(P1, P2, P3);
}

bool SegmentsIntersect(const TPointDouble& P1, const TPointDouble& P2, const TPointDouble& P3,
                       const TPointDouble& P4) {
  return detail::SegmentsMeet(P1, P2, P3, P4);
}

bool WithinRect(const TPointDouble& P, const TRectDouble& R) {
  return WithinBounds(P.X, R.Left, R.Right) && WithinBounds(P.Y, R.Top, R.Bottom);
}

namespace {

// Round(Sqrt(N)) exactly: the square root of an integer is never a half.
int64_t RoundSqrt(uint64_t N) {
  const uint64_t K = detail::ISqrt(N);
  return static_cast<int64_t>(N - K * K > K ? K + 1 : K);
}

}  // namespace

bool ConfinePointToRect(TPointDouble& P, const TRectDouble& R) {
  const TPointDouble Old = P;
  P.X = ConfineValue(P.X, R.Left, R.Right);
  P.Y = ConfineValue(P.Y, R.Top, R.Bottom);
  // A NaN coordinate is left as it is and does not count as moved.
  return !(P.X == Old.X || std::isnan(Old.X)) || !(P.Y == Old.Y || std::isnan(Old.Y));
}

int32_t DistFromRect(const TPoint& P, const TRect& R) {
  // Differences of two Integers need 33 bits, their squares 64.
  const int64_t X = P.X, Y = P.Y, L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  if (L < X && X < Rt) return SatInt32(Y < T ? T - Y : Y > B ? Y - B : 0);
  if (T < Y && Y < B) return SatInt32(X < L ? L - X : X > Rt ? X - Rt : 0);
  // Beyond a corner. A leg above the Integer range makes that corner's
  // distance saturate anyway; the others square to below 2^63.
  const int64_t Corners[4][2] = {{L, T}, {Rt, T}, {L, B}, {Rt, B}};
  bool Found = false;
  uint64_t Best = 0;
  for (const auto& C : Corners) {
    const auto Dx = static_cast<uint64_t>(X > C[0] ? X - C[0] : C[0] - X);
    const auto Dy = static_cast<uint64_t>(Y > C[1] ? Y - C[1] : C[1] - Y);
    if (Dx > INT32_MAX || Dy > INT32_MAX) continue;
    const uint64_t N = Dx * Dx + Dy * Dy;
    if (!Found || N < Best) Best = N;
    Found = true;
  }
  return Found ? SatInt32(RoundSqrt(Best)) : INT32_MAX;
}

namespace {

// Nearest point (Nx, Ny) of the ellipse with semi-axes a >= b >= 0 to (x, y)
// with x, y >= 0; returns the distance. The root of F is bracketed and halved
// until the bracket cannot shrink any further.
// Eberly, "Distance from a point to an ellipse, an ellipsoid, or a hyperellipsoid", 2013.
double NearestInQuadrant(double a, double b, double x, double y, double& Nx, double& Ny) {
  if (y == 0) {
    if (a * x >= a * a - b * b) {
      Nx = a;
      Ny = 0;
      return std::fabs(x - a);
    }
    const double W = a * x / (a * a - b * b);
    Nx = a * W;
    Ny = b * std::sqrt(1 - W * W);
    return Norm2(x - Nx, y - Ny);
  }
  if (x == 0) {
    Nx = 0;
    Ny = b;
    return std::fabs(y - b);
  }
  if (b == 0) {  // flat: the segment from (-a, 0) to (a, 0)
    Nx = std::min(x, a);
    Ny = 0;
    return Norm2(x - Nx, y);
  }
  const double Z0 = x / a;
  const double Z1 = y / b;
  const double G = Z0 * Z0 + Z1 * Z1 - 1;
  if (G == 0) {
    Nx = x;
    Ny = y;
    return 0;
  }
  const double Q = a / b;
  const double R = Q * Q;
  const double RZ0 = R * Z0;
  double Lo = Z1 - 1;
  double Hi = G > 0 ? Norm2(RZ0, Z1) - 1 : 0;
  double S = 0;
  for (int I = 0; I < 1075; ++I) {
    S = (Lo + Hi) / 2;
    if (S == Lo || S == Hi) break;
    const double T0 = RZ0 / (S + R);
    const double T1 = Z1 / (S + 1);
    const double F = T0 * T0 + T1 * T1 - 1;
    if (F > 0)
      Lo = S;
    else if (F < 0)
      Hi = S;
    else
      break;
  }
  Nx = R * x / (R + S);
  Ny = y / (S + 1);
  return Norm2(x - Nx, y - Ny);
}

}  // namespace

double DistFromEllipse(const TPointDouble& P, double Xc, double Yc, double A, double B, TPointDouble& Nearest) {
  // (x/A)² + (y/B)² = 1 does not see the signs of the semi-axes.
  double a = std::fabs(A);
  double b = std::fabs(B);
  const double U = P.X - Xc;
  const double V = P.Y - Yc;
  double x = std::fabs(U);
  double y = std::fabs(V);
  const bool Swapped = a < b;
  if (Swapped) {
    ExChange(x, y);
    ExChange(a, b);
  }
  double Nx = 0;
  double Ny = 0;
  const double D = NearestInQuadrant(a, b, x, y, Nx, Ny);
  if (Swapped) ExChange(Nx, Ny);
  if (U < 0) Nx = -Nx;
  if (V < 0) Ny = -Ny;
  Nearest = {Nx + Xc, Ny + Yc};
  return D;
}

}  // namespace orv
