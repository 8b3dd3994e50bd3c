// Unit ORV_statis: TRandGen, random numbers from a tabulated density.
// Included through ORV_statis.h.
#pragma once

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Draws numbers from LowBorder..HighBorder whose density follows a table of
// Resolution relative values. Cell i (1..Resolution) starts at
// Lambda(i) = LowBorder + (i - 1) w, w = (HighBorder - LowBorder) /
// Resolution, and holds the density there; between cell starts it is
// linear, across the last cell it falls to 0. A value of 1 or more is taken
// as certain, so scale the table to at most 1 (Standardize, Normalize)
// before drawing. The borders only move the abscissas: fill the table again
// after changing them.
class ORV_API TRandGen : public TComponent {
 public:
  // 500 cells of 1.0 (uniform), borders 0. EORVStatisError
  // Component "<Name>": not enough memory on heap when they cannot be held.
  explicit TRandGen(TComponent* AOwner = nullptr);
  ~TRandGen() override;
  std::string ClassName() const override;

  double LowBorder() const { return FLowBorder; }
  void SetLowBorder(double Value) { FLowBorder = Value; }
  double HighBorder() const { return FHighBorder; }
  void SetHighBorder(double Value) { FHighBorder = Value; }
  int32_t Resolution() const { return FResolution; }
  // Clamped into 10..4000; the table becomes that many cells of 1.0, the
  // old one discarded (also at an equal count). EORVStatisError
  // Component "<Name>": not enough memory (the table then unchanged).
  void SetResolution(int32_t N);

  // Cell Idx (1..Resolution), 0 outside; a write is clamped into 0..1 (NaN
  // to 0) and ignored outside.
  double Probability(int32_t Idx) const;
  void SetProbability(int32_t Idx, double Value);
  // LowBorder for ix <= 0, HighBorder for ix > Resolution, else the start of
  // cell ix.
  double Lambda(int32_t ix) const;
  // The cell whose span holds Lambda, Floor((Lambda - LowBorder)
  // Resolution / (HighBorder - LowBorder)) + 1, so HighBorder itself gives
  // Resolution + 1; 0 below LowBorder (and for NaN), Resolution + 1 above
  // HighBorder. Never beyond 0..Resolution + 1.
  int32_t IndexOfLambda(double Lambda) const;

  // Maps the cells onto 0..1 linearly; nothing when all are equal.
  void Normalize();
  // Divides the cells by the largest; false (nothing changes) when that is 0.
  bool Standardize();

  // The table from a shape, each cell from the density at its start. A
  // density that is no finite number there (the chi-square density at 0 for
  // df < 2, a normal shape of s = 0 at its mean, parameters out of range)
  // leaves the cell 0.
  void UniformDistri();                          // 1.0 everywhere
  void NormalDistri(double Mean, double StdDev);  // exp(-0.5 (x - m)^2 / s^2)
  void WeibullDistri(double Beta, double Eta);    // WeibullDensity
  void tDistri(double df);                       // tDistriDensity
  void Chi2Distri(double df);                    // Chi2DistriDensity, 0 below 0
  void FDistri(double df1, double df2);          // FDistriDensity, 0 at and below 0

  // One number: a cell a := Random(Resolution) and an offset r := Random()
  // from the platform's generator, accepted when the density b there is 1
  // or more or (only then drawn) Random() < b; LowBorder + (a + r) w. After
  // 100001 rejections (a table of zeros) the last candidate.
  double Random();

 private:
  double FLowBorder = 0;
  double FHighBorder = 0;
  int32_t FResolution = 0;
  TDoubleArray FDistVec;

  template <class Density>
  void Fill(Density&& F);
};

}  // namespace orv
