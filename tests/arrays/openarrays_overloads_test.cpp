// Every overload of the clone, extreme, search, count, fill, flood fill,
// Boolean and cellwise families called once with the argument types of its
// family, so that a missing or ambiguous overload fails the build; each call
// on arrays of one cell holding 1.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "orvcalckit/ORV_openarrays.h"

namespace orv {
namespace {

TEST(OpenArraysOverloads, EachResolvesWithItsArgumentTypes) {
  TBoolArray B1 = {true};
  TBool2DArray B2 = {{true}};
  TSingleArray S1 = {1};
  TDoubleArray D1 = {1};
  TDouble2DArray D2 = {{1}};
  TDouble3DArray D3 = {{{1}}};
  TDouble4DArray D4 = {{{{1}}}};
  TIntArray I1 = {1};
  TInt2DArray I2 = {{1}};
  TInt3DArray I3 = {{{1}}};
  TInt4DArray I4 = {{{{1}}}};
  TStrArray Str = {"a"};
  double Dn, Dx;
  int32_t In, Ix, P, Q, R, T;

  const int32_t Clones[] = {
      CloneArray(B1, B1), CloneArray(B2, B2), CloneArray(S1, D1), CloneArray(D1, S1), CloneArray(D1, D1),
      CloneArray(D2, D2), CloneArray(D3, D3), CloneArray(D4, D4), CloneArray(I1, I1), CloneArray(I2, I2),
      CloneArray(I3, I3), CloneArray(I4, I4), CloneArray(D1, I1), CloneArray(D2, I2), CloneArray(D3, I3),
      CloneArray(D4, I4), CloneArray(I1, D1), CloneArray(I2, D2), CloneArray(I3, D3), CloneArray(I4, D4),
      CloneAndReverseArray(B1, B1), CloneAndReverseArray(I1, I1), CloneAndReverseArray(D1, D1),
      CloneAndReverseArray(S1, D1), CloneAndReverseArray(D1, S1), CloneAndReverseArray(D1, I1),
      CloneAndReverseArray(I1, D1)};
  for (int32_t C : Clones) EXPECT_EQ(C, 0);
  EXPECT_TRUE(EqualArrays(I1, I1) && EqualArrays(I2, I2) && EqualArrays(I3, I3) && EqualArrays(I4, I4));

  const double Values[] = {MaxArray(D1), MaxArray(D2), MaxArray(D3), MaxArray(D4),
                           MinArray(D1), MinArray(D2), MinArray(D3), MinArray(D4)};
  for (double V : Values) EXPECT_EQ(V, 1.0);
  const int32_t IntValues[] = {MaxArray(I1),    MaxArray(I2),       MaxArray(I3), MaxArray(I4), MinArray(I1),
                               MinArray(I2),    MinArray(I3),       MinArray(I4), MaxArray(I1, P),
                               MaxArray(I2, P, Q), MinArray(I1, P), MinArray(I2, P, Q)};
  for (int32_t V : IntValues) EXPECT_EQ(V, 1);

  const std::array<double, 1> Open = {1};
  const std::array<int32_t, 1> OpenInt = {1};
  const int32_t MinMax[] = {MinMaxArray(S1, Dn, Dx),      MinMaxArray(D1, Dn, Dx),    MinMaxArray(D2, Dn, Dx),
                            MinMaxArray(D3, Dn, Dx),      MinMaxArray(D4, Dn, Dx),    MinMaxArray(Open, Dn, Dx),
                            MinMaxArray(I1, In, Ix),      MinMaxArray(I2, In, Ix),    MinMaxArray(I3, In, Ix),
                            MinMaxArray(I4, In, Ix),      MinMaxArray(OpenInt, In, Ix),
                            MinMaxArray(D1, 0, 0, Dn, Dx, P, Q),                      MinMaxArray(I1, 0, 0, In, Ix, P, Q),
                            MinMaxArray(D2, 0, 0, 0, 0, Dn, Dx, P, Q, R, T),
                            MinMaxArray(I2, 0, 0, 0, 0, In, Ix, P, Q, R, T)};
  for (int32_t C : MinMax) EXPECT_EQ(C, 0);

  const int32_t Found[] = {FindInArray(1, I1), FindInArray(std::string("a"), Str, false, false),
                           FindInArray("A", Str, true, true), FindInSortedArray(1.0, D1, true)};
  for (int32_t F : Found) EXPECT_EQ(F, 0);
  const int32_t Counts[] = {CountValues(D1, 0, 0, 0.0, 1.0),          CountValues(D2, 0, 0, 0, 0, 0.0, 1.0),
                            CountValues(D3, 0, 0, 0, 0, 0, 0, 0.0, 1.0), CountValues(D4, 0, 0, 0, 0, 0, 0, 0, 0, 0.0, 1.0),
                            CountValues(I1, 0, 0, 0, 1),                 CountValues(I2, 0, 0, 0, 0, 0, 1),
                            CountValues(I3, 0, 0, 0, 0, 0, 0, 0, 1),     CountValues(I4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1)};
  for (int32_t C : Counts) EXPECT_EQ(C, 1);

  const int32_t Fills[] = {
      FillArray(B1, true), FillArray(B2, true), FillArray(I1, 1), FillArray(I2, 1), FillArray(I3, 1),
      FillArray(I4, 1), FillArray(D1, 1.0), FillArray(D2, 1.0), FillArray(D3, 1.0), FillArray(D4, 1.0),
      FillArray(I1, 1, 0, 0), FillArray(I2, 1, 0, 0, 0, 0), FillArray(I3, 1, 0, 0, 0, 0, 0, 0),
      FillArray(I4, 1, 0, 0, 0, 0, 0, 0, 0, 0), FillArray(D1, 1.0, 0, 0), FillArray(D2, 1.0, 0, 0, 0, 0),
      FillArray(D3, 1.0, 0, 0, 0, 0, 0, 0), FillArray(D4, 1.0, 0, 0, 0, 0, 0, 0, 0, 0),
      FillDiagArray(I2, 1), FillDiagArray(I3, 1), FillDiagArray(I4, 1), FillDiagArray(D2, 1.0),
      FillDiagArray(D3, 1.0), FillDiagArray(D4, 1.0),
      FillRandomNormal(D1, 1, 0), FillRandomNormal(D2, 1, 0), FillRandomNormal(D3, 1, 0), FillRandomNormal(D4, 1, 0),
      FillRandomUniform(D1, 1.0, 1.0), FillRandomUniform(D2, 1.0, 1.0), FillRandomUniform(D3, 1.0, 1.0),
      FillRandomUniform(D4, 1.0, 1.0), FillRandomUniform(I1, 1, 1), FillRandomUniform(I2, 1, 1),
      FillRandomUniform(I3, 1, 1), FillRandomUniform(I4, 1, 1),
      AbsValArray(D1), AbsValArray(D2), AbsValArray(D3), AbsValArray(D4), AbsValArray(I1), AbsValArray(I2),
      AbsValArray(I3), AbsValArray(I4), FlipDimArray(D1, 1), FlipDimArray(D2, 2), FlipDimArray(D3, 3),
      FlipDimArray(D4, 4), FlipDimArray(I1, 1), FlipDimArray(I2, 2), FlipDimArray(I3, 3), FlipDimArray(I4, 4),
      BoolToNumArray(B1, 0, 1, I1), BoolToNumArray(B1, 0.0, 1.0, D1), BoolToNumArray(B2, 0, 1, I2),
      BoolToNumArray(B2, 0.0, 1.0, D2), EdgeVector(I2, orRows, eoMean, D1), EdgeVector(D2, orColumns, eoSum, D1),
      DichotomizeArray(D2, 0.0, B2), DichotomizeArray(D2, 1.0, 1.0, B2), DichotomizeArray(I2, 0, B2),
      DichotomizeArray(I2, 1, 1, B2), DiscretizeArray(D2, 3, 0, 2, 0, 2)};
  for (int32_t C : Fills) EXPECT_EQ(C, 0);
  TIntArray R1 = {1};
  TDoubleArray RD = {1};
  TInt3DArray R3 = {{{1}}};
  TDouble3DArray RD3 = {{{1}}};
  EXPECT_EQ(FillArrayRix(R1) + FillArrayRix(I2) + FillArrayRix(R3) + FillArrayRix(RD) + FillArrayRix(D2) +
                FillArrayRix(RD3),
            0);
  EXPECT_EQ(FloodFillArray(0, 0, 2, I2, P, Q, R, T) + FloodFillArray(0, 0, 0.0, 2.0, D2, P, Q, R, T), 2);
  EXPECT_EQ(CountTrueCellsOfArray(B1) + CountTrueCellsOfArray(B2), 2);
  EXPECT_EQ(InvertArray(B1) + InvertArray(B2), 0);
  double DV1, DV2;
  int32_t IV1, IV2;
  EXPECT_FALSE(IsDichotomous(D1, DV1, DV2) || IsDichotomous(I1, IV1, IV2));
}

}  // namespace
}  // namespace orv
