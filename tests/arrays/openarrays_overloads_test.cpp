// Every overload of the families called once with the argument types of its
// family, so that a missing or ambiguous overload fails the build; each call
// on arrays of one cell (holding 1 where the value matters).
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
  TIntArray Idx;
  const int32_t Sorts[] = {SortArray(true, D1, Idx), SortArray(true, I1, Idx), SortAndRemoveDuplicates(I1, true),
                           ShuffleArray(I1), ShuffleArray(D1)};
  for (int32_t C : Sorts) EXPECT_EQ(C, -1);
  EXPECT_EQ(PercentileArray(50.0, D1), 1.0);
  EXPECT_EQ(PercentileArray(50.0, D2, 0, 0, 0, 0), 1.0);
  TIntArray Dist;
  const int32_t Histograms[] = {FrequDistOfArray(D1, 0, 0, 0.0, 1.0, 1.0, Dist, P, Q, R),
                                FrequDistOfArray(D2, 0, 0, 0, 0, 0.0, 1.0, 1.0, Dist, P, Q, R),
                                FrequDistOfArray(D2, TBool2DArray{{false}}, 0, 0, 0, 0, 0.0, 1.0, 1.0, Dist, P, Q, R)};
  for (int32_t C : Histograms) EXPECT_EQ(C, 0);

  const int32_t Copies[] = {
      CopyArray(B1, 0, B1) + 2, CopyArray(B2, 0, 0, B2), CopyArray(D1, 0, D1) + 2, CopyArray(D1, 0, 0, 0, D1),
      CopyArray(I1, 0, I1) + 2, CopyArray(I1, 0, 0, 0, I1), CopyArray(D2, 0, 0, D2),
      CopyArray(D2, 0, 0, 0, 0, 0, 0, D2), CopyArray(I2, 0, 0, I2), CopyArray(I2, 0, 0, 0, 0, 0, 0, I2),
      CopyArray(D3, 0, 0, 0, D3), CopyArray(D3, 0, 0, 0, 0, 0, 0, 0, 0, 0, D3), CopyArray(I3, 0, 0, 0, I3),
      CopyArray(I3, 0, 0, 0, 0, 0, 0, 0, 0, 0, I3), CopyArray(D4, 0, 0, 0, 0, D4),
      CopyArray(D4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, D4), CopyArray(I4, 0, 0, 0, 0, I4),
      CopyArray(I4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, I4), CopyArrayColumn(D2, 0, 0, 0, D1),
      CopyArrayColumn(I2, 0, 0, 0, I1), CopyArrayColumn(B2, 0, 0, 0, B1), CopyArrayRow(D2, 0, 0, 0, D1),
      CopyArrayRow(I2, 0, 0, 0, I1), CopyArrayRow(B2, 0, 0, 0, B1), CopyVectorToArrayColumn(D1, 0, 0, 0, 0, D2),
      CopyVectorToArrayColumn(I1, 0, 0, 0, 0, I2), CopyVectorToArrayColumn(B1, 0, 0, 0, 0, B2),
      CopyVectorToArrayRow(D1, 0, 0, 0, 0, D2), CopyVectorToArrayRow(I1, 0, 0, 0, 0, I2),
      CopyVectorToArrayRow(B1, 0, 0, 0, 0, B2)};
  for (int32_t C : Copies) EXPECT_EQ(C, 0);  // the whole 1-D forms refuse the exact fit: -2

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

TEST(OpenArraysOverloads, ArithmeticAndMatrixFamilies) {
  TDoubleArray D1 = {1};
  TDouble2DArray D2 = {{1}};
  TDouble3DArray D3 = {{{1}}};
  TDouble4DArray D4 = {{{{1}}}};
  TIntArray I1 = {1};
  TInt2DArray I2 = {{1}};
  TInt3DArray I3 = {{{1}}};
  TInt4DArray I4 = {{{{1}}}};
  TBool2DArray B2 = {{false}};
  const int32_t Arith[] = {
      MultiplyArraysElemw(D1, D1, D1), MultiplyArraysElemw(D2, D2, D2), MultiplyArraysElemw(I1, I1, I1),
      MultiplyArraysElemw(I2, I2, I2), MultiplyArrayByScalar(D1, 1.0, D1), MultiplyArrayByScalar(D2, 1.0, D2),
      MultiplyArrayByScalar(D3, 1.0, D3), MultiplyArrayByScalar(D4, 1.0, D4), MultiplyArrayByScalar(I1, 1, I1),
      MultiplyArrayByScalar(I2, 1, I2), MultiplyArrayByScalar(I3, 1, I3), MultiplyArrayByScalar(I4, 1, I4),
      MultiplyArrayByScalar(D1, 1.0), MultiplyArrayByScalar(D2, 1.0), MultiplyArrayByScalar(D3, 1.0),
      MultiplyArrayByScalar(D4, 1.0), MultiplyArrayByScalar(I1, 1), MultiplyArrayByScalar(I2, 1),
      MultiplyArrayByScalar(I3, 1), MultiplyArrayByScalar(I4, 1), AddArrays(D1, D1, D1), AddArrays(D2, D2, D2),
      AddArrays(D3, D3, D3), AddArrays(D4, D4, D4), AddArrays(I1, I1, I1), AddArrays(I2, I2, I2),
      AddArrays(I3, I3, I3), AddArrays(I4, I4, I4), AddScalarToArray(D1, 1.0, D1), AddScalarToArray(D2, 1.0, D2),
      AddScalarToArray(D3, 1.0, D3), AddScalarToArray(D4, 1.0, D4), AddScalarToArray(I1, 1, I1),
      AddScalarToArray(I2, 1, I2), AddScalarToArray(I3, 1, I3), AddScalarToArray(I4, 1, I4), IncArray(D1, 1.0),
      IncArray(D2, 1.0), IncArray(D3, 1.0), IncArray(D4, 1.0), IncArray(I1, 1), IncArray(I2, 1), IncArray(I3, 1),
      IncArray(I4, 1), SubtractArrays(D1, D1, D1), SubtractArrays(D2, D2, D2), SubtractArrays(D3, D3, D3),
      SubtractArrays(D4, D4, D4), SubtractArrays(I1, I1, I1), SubtractArrays(I2, I2, I2),
      SubtractArrays(I3, I3, I3), SubtractArrays(I4, I4, I4)};
  for (int32_t C : Arith) EXPECT_EQ(C, 0);
  EXPECT_EQ(SumOfSquaredDiffs(D1, D1) + SumOfSquaredDiffs(D1, D2, 0), 0.0);

  double T;
  int32_t IT;
  D2 = {{2}};
  const int32_t Matrix[] = {InvertArray(D2),   TransposeArray(D2),          TransposeArray(I2),
                            TransposeArray(B2), TraceOfArray(D2, T),        TraceOfArray(I2, IT),
                            FillArrayMasked(D2, 1.0, B2), FillArrayMasked(I2, 1, B2),
                            DistanceOfObjects(D2, dmEuclidean, 0, 0, 0, 0, T), CalcHatMatrix(D2, D2)};
  for (int32_t C : Matrix) EXPECT_EQ(C, 0);
  EXPECT_TRUE(RemoveRow(D2, 0) && RemoveColumn(D2, 0) && RemoveRow(I2, 0) && RemoveColumn(I2, 0));

  D2 = {{1}};
  I2 = {{1}};
  double M[16];
  const int32_t Box[] = {MeanArray(D1, 0, 0, M[0]),
                         MeanArray(D2, 0, 0, 0, 0, M[1]),
                         MeanArray(D3, 0, 0, 0, 0, 0, 0, M[2]),
                         MeanArray(D4, 0, 0, 0, 0, 0, 0, 0, 0, M[3]),
                         MeanArray(I1, 0, 0, M[4]),
                         MeanArray(I2, 0, 0, 0, 0, M[5]),
                         MeanArray(I3, 0, 0, 0, 0, 0, 0, M[6]),
                         MeanArray(I4, 0, 0, 0, 0, 0, 0, 0, 0, M[7]),
                         StdDevArray(D1, 0, 0, M[8]),
                         StdDevArray(D2, 0, 0, 0, 0, M[9]),
                         StdDevArray(D3, 0, 0, 0, 0, 0, 0, M[10]),
                         StdDevArray(D4, 0, 0, 0, 0, 0, 0, 0, 0, M[11]),
                         StdDevArray(I1, 0, 0, M[12]),
                         StdDevArray(I2, 0, 0, 0, 0, M[13]),
                         StdDevArray(I3, 0, 0, 0, 0, 0, 0, M[14]),
                         StdDevArray(I4, 0, 0, 0, 0, 0, 0, 0, 0, M[15])};
  for (int32_t C : Box) EXPECT_EQ(C, 0);
}

}  // namespace
}  // namespace orv
