// Unit ORV_sline: straight lines in the plane (TSLine).
#pragma once

#include <string>

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Derives from the plain Exception, not from EORVError.
class ORV_API EORVSLineError : public Exception {
 public:
  using Exception::Exception;
};

// The line A·x + B·y + C = 0; A and B are never both zero. A new line is
// y = 0 (A = 0, B = 1, C = 0). A failed call raises EORVSLineError and leaves
// the line as it was.
class ORV_API TSLine : public TComponent {
 public:
  explicit TSLine(TComponent* AOwner);
  ~TSLine() override;
  std::string ClassName() const override;

  double ParA() const { return FParA; }
  double ParB() const { return FParB; }
  double ParC() const { return FParC; }
  void SetParA(double x);  // raises when A and B would both be zero
  void SetParB(double x);
  void SetParC(double x);
  // When true, CalcX and CalcY divide by 1e-100 instead of raising on a zero divisor.
  bool SubstituteInf() const { return FSubstInf; }
  void SetSubstituteInf(bool Value) { FSubstInf = Value; }

  // Angle of the direction vector (B, -A) in [0, 2 pi).
  double Direction() const;
  double Slope() const;      // -A/B; raises for B = 0
  double Intercept() const;  // -C/B; raises for B = 0

  // False, and no change, when the two points coincide.
  bool LineFrom2Points(double P1X, double P1Y, double P2X, double P2Y);
  void LineThroughPoint(double px, double py, double angle);  // angle in radians from the x axis
  void LineFromSlopeIcpt(double k, double d);                 // y = k·x + d
  // Lines through (px, py) perpendicular and parallel to OtherLine, which may
  // be this line. A missing OtherLine raises in these and the two below.
  void NormalLine(double px, double py, const TSLine* OtherLine);
  void ParallelLine(double px, double py, const TSLine* OtherLine);
  // False, leaving x and y unchanged, for parallel lines.
  bool InterSection(const TSLine* OtherLine, double& x, double& y) const;
  double AngleBetweenLines(const TSLine* OtherLine) const;  // in [0, pi/2]
  // Signed distance; the sign tells the side of the line.
  double Distance(double px, double py) const;
  void CalcKDForm(double& k, double& d) const;  // raises for B = 0
  double CalcX(double y) const;
  double CalcY(double x) const;
  // Where the line crosses the box with lower left corner (bllx, blly) and
  // upper right corner (burx, bury): true when it meets the box. (x1, y1) and
  // (x2, y2) receive the two ends of the chord in the order the left, right,
  // bottom and top edges find them; a line that touches the box in one point
  // returns it in both. Outputs are unchanged when the line misses the box.
  bool ClipBox(double bllx, double blly, double burx, double bury, double& x1, double& y1, double& x2,
               double& y2) const;

 private:
  double FParA = 0;
  double FParB = 1.0;
  double FParC = 0;
  bool FSubstInf = false;
};

}  // namespace orv
