// Unit ORV_math1: angles in degrees, minutes and seconds.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "orvcalckit/ORV_math1.h"

namespace orv {

namespace {

constexpr double Pi = std::numbers::pi;

double Canonical(double x, double Full) {
  // Whole turns off by the exact remainder; Frac(x / Full) x Full would lose
  // digits (720.5 degrees would give 0.49999999999998).
  if (x > Full || x < -Full) x = std::fmod(x, Full);
  if (x > Full / 2)
    x -= Full;
  else if (x < -Full / 2)
    x += Full;
  return x;
}

double SnapToInteger(double v) {
  const double r = static_cast<double>(Round(v));
  return std::fabs(v - r) < 3e-12 ? r : v;
}

// The whole degrees with the sign of the angle, which a zero degree part would lose.
std::string DegreesText(double v) {
  const double d = Int(v);
  return d == 0 && v < 0 ? "-0" : Str(d, 1, 0);
}

}  // namespace

double AngleToXAxis(double dx, double dy) {
  double a;
  if (dx != 0) {
    a = std::atan(dy / dx);
    if (dx < 0) a += Pi;
  } else {
    a = dy > 0 ? Pi / 2 : 3 * Pi / 2;
  }
  if (a < 0) a += 2 * Pi;
  // A tiny negative angle plus 2 pi rounds to 2 pi itself; the range stays open there.
  if (a >= 2 * Pi) a = std::nextafter(2 * Pi, 0.0);
  return a;
}

double CanonicalAngleRadians(double x) { return Canonical(x, 2 * Pi); }
double CanonicalAngleDegrees(double x) { return Canonical(x, 360); }

void ConvertDegrees(double& Deg, double& Min, double& Sec, TDegreeFormat FromFormat, TDegreeFormat ToFormat) {
  auto InRange = [](double v) { return v >= 0 && v <= 60; };  // NaN is out of range
  if (!InRange(Min)) throw EORVMath1Error("ConvertDegrees: invalid range of minutes");
  if (!InRange(Sec)) throw EORVMath1Error("ConvertDegrees: invalid range of seconds");
  // The sign belongs to the whole angle: -12 deg 30' is -12.5, and -0.5 is held as -0 deg 30'.
  const double Sign = std::signbit(Deg) ? -1.0 : 1.0;
  double D = Deg;
  double M = Min;
  double S = Sec;
  const int From = FromFormat;
  const int To = ToFormat;
  if (From > 2 || To > 2) return;
  if (To == 0) {
    if (From == 1) D = Sign * (std::fabs(Int(D)) + M / 60);
    if (From == 2) D = Sign * (std::fabs(Int(D)) + Int(M) / 60 + S / 3600);
    M = 0;
    S = 0;
  } else if (To == 1) {
    if (From == 0) {
      M = Frac(std::fabs(D)) * 60;
      D = Int(D);
    }
    if (From == 2) M = M + S / 60;
    S = 0;
  } else if (From != 2) {
    const double t = From == 0 ? Frac(std::fabs(D)) * 60 : M;
    if (From == 0) D = Int(D);
    M = Int(t);
    S = Frac(std::fabs(t)) * 60;
  }
  Deg = D;
  Min = M;
  Sec = S;
}

std::string DegreeToStr(double Angle, TDegreeFormat Format, int32_t Decimals) {
  Decimals = std::clamp(Decimals, 0, 8);
  switch (static_cast<int>(Format)) {
    case 0:
      return Str(Angle, 1, Decimals) + "\u00B0";
    case 1: {
      const double v = SnapToInteger(SimpleRoundTo(Angle * 60, -Decimals) / 60);
      return DegreesText(v) + "\u00B0 " + Str(Frac(std::fabs(v)) * 60, Decimals + 3, Decimals) + "'";
    }
    case 2: {
      const double v = SnapToInteger(SimpleRoundTo(Angle * 3600, -Decimals) / 3600);
      const double m = SnapToInteger(Frac(std::fabs(v)) * 60);
      return DegreesText(v) + "\u00B0 " + Str(Int(m), 2, 0) + "' " + Str(Frac(m) * 60, Decimals + 3, Decimals) + "\"";
    }
    case 3:
      return Str(Angle, 1, Decimals);
    default:
      return "";
  }
}

void RoundDegrees(int32_t& Deg, int32_t& Min, int32_t& Sec, bool RoundUp) {
  static constexpr int32_t Steps[] = {1, 2, 3, 5, 10, 15, 20, 30, 60, 90, 180, 360};
  if (Deg < 0 || Min < 0 || Sec < 0) {
    Deg = Min = Sec = 0;
    return;
  }
  Min = std::min(Min, 59);
  Sec = std::min(Sec, 59);
  // The angle in whole seconds: exact, where a sum of fractions of degrees is not.
  const int64_t Total = int64_t{Deg} * 3600 + int64_t{Min} * 60 + Sec;
  // The step of the unit (in seconds) below or above the angle, among the first N steps.
  auto Pick = [&](int64_t Unit, int N) {
    if (RoundUp) {
      for (int i = 0; i < N; ++i)
        if (Steps[i] * Unit >= Total) return Steps[i];
      return Steps[N - 1];
    }
    int32_t r = Steps[0];
    for (int i = 0; i < N; ++i)
      if (Steps[i] * Unit <= Total) r = Steps[i];
    return r;
  };
  if (Deg >= 1) {
    Deg = Pick(3600, 12);
    Min = 0;
    Sec = 0;
  } else if (Min >= 1) {
    Sec = 0;
    Min = Pick(60, 9);
    if (Min == 60) {
      Deg = 1;
      Min = 0;
    }
  } else if (Sec >= 1) {
    Sec = Pick(1, 9);
    if (Sec == 60) {
      Min = 1;
      Sec = 0;
    }
  }
}

}  // namespace orv
