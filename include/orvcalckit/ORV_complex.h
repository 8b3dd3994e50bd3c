// Unit ORV_complex: complex numbers.
#pragma once

#include "ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

class ORV_API EORVComplexError : public EORVError {
 public:
  using EORVError::EORVError;
};

struct TComplex {
  Extended re = 0;
  Extended im = 0;
};

struct TComplexPolar {
  Extended r = 0;    // modulus
  Extended phi = 0;  // angle in radians
};

inline constexpr TComplex COMPLEX_0{0, 0};
inline constexpr TComplex COMPLEX_1{1, 0};

// Tolerance of CpxIsNearEqual and CpxIsZero; 1e-15 after load. Shared by all
// callers and not synchronised: change it only while no other thread uses it.
ORV_API extern Extended CpxNearZero;

// Inline: a routine taking Extended by value would be spelled differently in
// the two builds' exported symbols.
constexpr TComplex Cpx(Extended re, Extended im) { return {re, im}; }

ORV_API Extended CpxAbs(const TComplex& z);     // modulus, without overflow for large parts
ORV_API Extended CpxAbsSqr(const TComplex& z);  // re² + im²
ORV_API TComplex CpxAdd(const TComplex& z1, const TComplex& z2);
ORV_API TComplex CpxSub(const TComplex& z1, const TComplex& z2);
ORV_API TComplex CpxNeg(const TComplex& z);
ORV_API TComplex CpxConj(const TComplex& z);
ORV_API TComplex CpxMult(const TComplex& z1, const TComplex& z2);
// z1 / z2, scaled so that neither tiny nor huge divisors overflow or vanish;
// only z2 = 0 raises EORVComplexError "CpxDiv: division by zero".
ORV_API TComplex CpxDiv(const TComplex& z1, const TComplex& z2);
ORV_API bool CpxIsEqual(const TComplex& z1, const TComplex& z2);      // exact
ORV_API bool CpxIsNearEqual(const TComplex& z1, const TComplex& z2);  // each part differs by < CpxNearZero
ORV_API bool CpxIsZero(const TComplex& z);                            // each part below CpxNearZero or 0
// Modulus and angle in (-pi, pi].
ORV_API TComplexPolar ConvertRectToPolar(const TComplex& z);
ORV_API TComplex ConvertPolarToRect(const TComplexPolar& p);

}  // namespace orv
