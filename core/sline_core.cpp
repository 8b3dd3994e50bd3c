// ORV_sline: the straight line A·x + B·y + C = 0.
#include "orvcalckit/ORV_sline.h"

#include <cmath>
#include <numbers>

#include "core/norm2.h"

namespace orv {

namespace {

constexpr double SubstDivisor = 1e-100;

// The coordinate w of the point on Pv·v + Pw·w + C = 0 at v.
double Solve(double v, double Pv, double C, double Pw) { return (-v * Pv - C) / Pw; }

const TSLine& Other(const TSLine* OtherLine) {
  if (!OtherLine) throw EORVSLineError("other line is missing");
  return *OtherLine;
}

}  // namespace

TSLine::TSLine(TComponent* AOwner) : TComponent(AOwner) {}

TSLine::~TSLine() = default;

std::string TSLine::ClassName() const { return "TSLine"; }

void TSLine::SetParA(double x) {
  if (x == 0 && FParB == 0) throw EORVSLineError("parameter A and B must not both be zero");
  FParA = x;
}

void TSLine::SetParB(double x) {
  if (x == 0 && FParA == 0) throw EORVSLineError("parameter A and B must not both be zero");
  FParB = x;
}

void TSLine::SetParC(double x) { FParC = x; }

double TSLine::Direction() const {
  using std::numbers::pi;
  double a;
  if (FParB != 0)
    a = std::atan(-FParA / FParB);
  else
    a = FParA <= 0 ? pi / 2 : -pi / 2;
  // (B, -A) points into the left half-plane exactly when B < 0; B = 0 is a
  // vertical direction, up for A < 0 and down for A > 0.
  if (FParB < 0) return a + pi;
  if (FParA <= 0) return a + 0.0;  // no negative zero for A = 0
  return a + 2 * pi;
}

double TSLine::Slope() const {
  if (FParB == 0) throw EORVSLineError("slope is infinite");
  return -FParA / FParB;
}

double TSLine::Intercept() const {
  if (FParB == 0) throw EORVSLineError("cannot calculate intercept (line is parallel to y axis)");
  return -FParC / FParB;
}

bool TSLine::LineFrom2Points(double P1X, double P1Y, double P2X, double P2Y) {
  if (P1X == P2X && P1Y == P2Y) return false;
  FParA = P1Y - P2Y;
  FParB = P2X - P1X;
  FParC = P1X * P2Y - P2X * P1Y;
  return true;
}

void TSLine::LineThroughPoint(double px, double py, double angle) {
  FParA = -std::sin(angle);
  FParB = std::cos(angle);
  FParC = -FParA * px - FParB * py;
}

void TSLine::LineFromSlopeIcpt(double k, double d) {
  FParA = k;
  FParB = -1;
  FParC = d;
}

// Both read the other line before writing: it may be this one.
void TSLine::NormalLine(double px, double py, const TSLine* OtherLine) {
  const TSLine& L = Other(OtherLine);
  const double A = -L.FParB;
  const double B = L.FParA;
  FParA = A;
  FParB = B;
  FParC = -A * px - B * py;
}

void TSLine::ParallelLine(double px, double py, const TSLine* OtherLine) {
  const TSLine& L = Other(OtherLine);
  const double A = L.FParA;
  const double B = L.FParB;
  FParA = A;
  FParB = B;
  FParC = -A * px - B * py;
}

bool TSLine::InterSection(const TSLine* OtherLine, double& x, double& y) const {
  const TSLine& L = Other(OtherLine);
  const double Det = FParA * L.FParB - L.FParA * FParB;
  if (Det == 0) return false;
  x = (FParB * L.FParC - L.FParB * FParC) / Det;
  y = (L.FParA * FParC - FParA * L.FParC) / Det;
  return true;
}

double TSLine::AngleBetweenLines(const TSLine* OtherLine) const {
  const TSLine& L = Other(OtherLine);
  const double S = FParA * L.FParA + FParB * L.FParB;
  if (S == 0) return std::numbers::pi / 2;
  return std::fabs(std::atan((FParA * L.FParB - L.FParA * FParB) / S));
}

double TSLine::Distance(double px, double py) const {
  return (FParA * px + FParB * py + FParC) / detail::Norm2(FParA, FParB);
}

void TSLine::CalcKDForm(double& k, double& d) const {
  if (FParB == 0) throw EORVSLineError("cannot convert to k-d-form if ParB is zero");
  k = -FParA / FParB;
  d = -FParC / FParB;
}

double TSLine::CalcX(double y) const {
  if (FParA == 0 && !FSubstInf) throw EORVSLineError("cannot calculate x");
  return Solve(y, FParB, FParC, FParA == 0 ? SubstDivisor : FParA);
}

double TSLine::CalcY(double x) const {
  if (FParB == 0 && !FSubstInf) throw EORVSLineError("cannot calculate y");
  return Solve(x, FParA, FParC, FParB == 0 ? SubstDivisor : FParB);
}

bool TSLine::ClipBox(double bllx, double blly, double burx, double bury, double& x1, double& y1, double& x2,
                     double& y2) const {
  // An edge parallel to the line is skipped rather than tried with a
  // substitute divisor: the line meets it only when it runs along it, and then
  // the two crossing edges find its corners, while the substitute would report
  // a point in the middle of the edge as an end.
  struct THit {
    double X, Y;
  } Hits[4];
  int N = 0;
  if (FParB != 0) {
    for (const double Ex : {bllx, burx}) {
      const double Y = Solve(Ex, FParA, FParC, FParB);
      if (blly <= Y && Y <= bury) Hits[N++] = {Ex, Y};
    }
  }
  if (FParA != 0) {
    for (const double Ey : {blly, bury}) {
      const double X = Solve(Ey, FParB, FParC, FParA);
      if (bllx <= X && X <= burx) Hits[N++] = {X, Ey};
    }
  }
  if (N == 0) return false;
  // A corner is found by two edges, possibly a rounding apart: of the hits,
  // which all lie on the line, the two farthest apart are the ends.
  int First = 0, Second = 0;
  double Widest = -1;
  for (int I = 0; I < N; ++I)
    for (int J = I + 1; J < N; ++J) {
      const double W = std::fabs(Hits[J].X - Hits[I].X) + std::fabs(Hits[J].Y - Hits[I].Y);
      if (W > Widest) {
        Widest = W;
        First = I;
        Second = J;
      }
    }
  x1 = Hits[First].X;
  y1 = Hits[First].Y;
  x2 = Hits[Second].X;
  y2 = Hits[Second].Y;
  return true;
}

}  // namespace orv
