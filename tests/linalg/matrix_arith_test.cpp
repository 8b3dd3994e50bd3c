// TMatrix arithmetic and products: the plain loop's bits, NumPy references,
// the failure rule, events and results that are operands.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using orv::TVector;
using orv::test::AllRows;
using orv::test::FillRows;
using orv::test::FillValues;
using orv::test::TChangeCounter;
using orv::test::Values;
using Rows = std::vector<std::vector<double>>;

// Cells of random sign and magnitude (2^-30 to 2^30), so that any other
// order of the sums changes bits; row 1 and column 1 hold Edge. With -0.0 in
// the first factor and a positive Edge in the second, the first result cell
// sums only -0.0 products, which the plain loop turns into +0.0.
void FillHard(TMatrix& M, int32_t Cols, int32_t Rws, double Edge) {
  M.Resize(Cols, Rws);
  for (int32_t C = 1; C <= Cols; ++C)
    for (int32_t R = 1; R <= Rws; ++R)
      M.SetVal(C, R, C == 1 || R == 1 ? Edge : (orv::Random() - 0.5) * std::ldexp(1.0, orv::Random(61) - 30));
}

TEST(MatrixProduct, KernelGivesThePlainLoopsBitsForEveryForm) {
  orv::SetRandSeed(15);
  // Result rows, result columns, inner extent: odd sizes, a sum split at the
  // 256-index panel, and a result wider than one packed block of columns.
  const struct { int32_t M, N, K; } Shapes[] = {{1, 1, 1},      {7, 1, 33},      {1, 7, 7},  {33, 257, 7},
                                                {257, 33, 257}, {257, 257, 257}, {9, 1537, 3}};
  for (const auto& S : Shapes)
    for (int Form = 0; Form < 5; ++Form) {
      const orv::test::TProductForm F{Form};
      const bool TA = F.TransA(), TB = F.TransB(), Vec = F.Vec();
      TMatrix A(nullptr), B(nullptr), Res(nullptr);
      TVector X(nullptr), Y(nullptr);
      FillHard(A, TA ? S.M : S.K, TA ? S.K : S.M, -0.0);
      FillHard(B, TB ? S.K : S.N, TB ? S.N : S.K, 0.75);
      X.Resize(S.K);
      for (int32_t I = 1; I <= S.K; ++I) X.SetVal(I, orv::Random() * 1e6);
      ASSERT_TRUE(F.Run(A, B, Res, X, Y));
      int Wrong = 0;
      for (int32_t C = 1; C <= (Vec ? 1 : S.N); ++C)
        for (int32_t R = 1; R <= S.M; ++R) {
          double Sum = 0;
          for (int32_t I = 1; I <= S.K; ++I)
            Sum += Vec ? X.GetVal(I) * (TA ? A.GetVal(R, I) : A.GetVal(I, R))
                       : (TA ? A.GetVal(R, I) : A.GetVal(I, R)) * (TB ? B.GetVal(I, C) : B.GetVal(C, I));
          Wrong += std::bit_cast<uint64_t>(Vec ? Y.GetVal(R) : Res.GetVal(C, R)) != std::bit_cast<uint64_t>(Sum);
        }
      EXPECT_EQ(Wrong, 0) << "form " << Form << ", " << S.M << " x " << S.N << " x " << S.K;
      EXPECT_EQ(Vec ? Y.NrOfElem() : Res.NrOfRows(), S.M);
    }
}

TEST(MatrixProduct, ExamplesAgainstNumPy) {
  // Rows from numpy 1.24: A = [[1,2,3],[4,5,6]], B = [[7,8],[9,10],[11,12]],
  // C = [[0.5,-1.25],[2,3],[-4,0.125]], D = [[2,4],[-1,0.5],[8,-2]]:
  // A@B, A@A.T, A.T@A, C*D, (2C - 1 - D) * 2.
  TMatrix A(nullptr), B(nullptr), R(nullptr);
  FillRows(A, {{1, 2, 3}, {4, 5, 6}});
  FillRows(B, {{7, 8}, {9, 10}, {11, 12}});
  ASSERT_TRUE(A.Multiply(&B, &R));
  EXPECT_EQ(AllRows(R), (Rows{{58, 64}, {139, 154}}));
  ASSERT_TRUE(A.MultiplyTransposed(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{14, 32}, {32, 77}}));
  ASSERT_TRUE(A.TransposeAndMultiply(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{17, 22, 27}, {22, 29, 36}, {27, 36, 45}}));
  TMatrix C(nullptr), D(nullptr);
  FillRows(C, {{0.5, -1.25}, {2, 3}, {-4, 0.125}});
  FillRows(D, {{2, 4}, {-1, 0.5}, {8, -2}});
  ASSERT_TRUE(C.EMult(&D, &R));
  EXPECT_EQ(AllRows(R), (Rows{{1, -5}, {-2, 1.5}, {-32, -0.25}}));
  C.SMult(2);
  C.SAdd(-1);
  ASSERT_TRUE(C.Subtract(&D));
  ASSERT_TRUE(C.Add(&C));
  EXPECT_EQ(AllRows(C), (Rows{{-4, -15}, {8, 9}, {-34, 2.5}}));
  // Columns (1, 2) and (3, 4) times (1, 1) give (4, 6), VecB unchanged; transposed (3, 7).
  TMatrix S(nullptr);
  FillRows(S, {{1, 3}, {2, 4}});
  TVector X(nullptr), Y(nullptr);
  FillValues(X, {1, 1});
  ASSERT_TRUE(S.Multiply(&X, &Y));
  EXPECT_EQ(Values(Y), (std::vector<double>{4, 6}));
  EXPECT_EQ(Values(X), (std::vector<double>{1, 1}));
  ASSERT_TRUE(S.TransposeAndMultiply(&X, &Y));
  EXPECT_EQ(Values(Y), (std::vector<double>{3, 7}));
}

TEST(MatrixProduct, UnfitArgumentsChangeAndFireNothingElseEventsPerCellThenSelf) {
  TMatrix A(nullptr), B(nullptr), Res(nullptr), Wide(nullptr);
  FillRows(A, {{1, 2}, {3, 4}});  // 2 x 2
  FillRows(B, {{1}, {2}, {3}});   // 1 column, 3 rows
  FillRows(Res, {{9, 9, 9}});
  FillRows(Wide, {{1, 2, 3}, {4, 5, 6}});
  TVector V2(nullptr), V3(nullptr), VR(nullptr);
  FillValues(V2, {1, 2});
  FillValues(V3, {1, 2, 3});
  TChangeCounter ChA, ChB, ChRes, ChV;
  ChA.Attach(A);
  ChB.Attach(B);
  ChRes.Attach(Res);
  ChV.Attach(VR);
  const TMatrix* NoM = nullptr;
  const TVector* NoV = nullptr;
  EXPECT_FALSE(A.Multiply(&B, &Res));            // 2 columns, 3 rows
  EXPECT_FALSE(A.MultiplyTransposed(&B, &Res));  // 2 and 1 columns
  EXPECT_FALSE(A.TransposeAndMultiply(&B, &Res));
  EXPECT_FALSE(A.EMult(&B, &Res));
  EXPECT_FALSE(A.Add(&Wide));
  EXPECT_FALSE(A.Subtract(&B));
  EXPECT_FALSE(A.Multiply(NoM, &Res));
  EXPECT_FALSE(A.Multiply(&A, nullptr));
  EXPECT_FALSE(A.EMult(NoM, &Res));
  EXPECT_FALSE(A.Add(NoM));
  EXPECT_FALSE(Wide.Multiply(&V2, &VR));  // 3 columns, 2 elements
  EXPECT_FALSE(Wide.TransposeAndMultiply(&V3, &VR));
  EXPECT_FALSE(A.Multiply(NoV, &VR));
  EXPECT_FALSE(A.TransposeAndMultiply(&V2, nullptr));
  EXPECT_EQ(ChA.Count + ChB.Count + ChRes.Count + ChV.Count, 0);
  EXPECT_EQ(AllRows(Res), (Rows{{9, 9, 9}}));
  EXPECT_EQ(VR.NrOfElem(), 1);
  // Events of successful calls: a resize, each result cell, then Self once.
  ASSERT_TRUE(Wide.MultiplyTransposed(&Wide, &Res));  // 3 x 1 -> 2 x 2
  EXPECT_EQ(ChRes.Count, 1 + 4);
  ASSERT_TRUE(A.EMult(&A, &Res));  // same size: cells only
  EXPECT_EQ(ChRes.Count, 5 + 4);
  EXPECT_EQ(ChA.Count, 1);
  A.SMult(2);
  A.SAdd(2);
  EXPECT_TRUE(A.Add(&A));
  EXPECT_EQ(ChA.Count, 4);
  ASSERT_TRUE(Wide.Multiply(&V3, &VR));  // resized to 2, two elements
  EXPECT_EQ(ChV.Count, 3);
}

TEST(MatrixProduct, ResultMayBeAnOperandAndHandlersSeeFinishedCells) {
  orv::SetRandSeed(3);
  TMatrix A0(nullptr), B0(nullptr);
  FillHard(A0, 5, 5, 1);
  FillHard(B0, 5, 5, 2);
  using TProductFn = bool (TMatrix::*)(const TMatrix*, TMatrix*);
  for (TProductFn Fn : {static_cast<TProductFn>(&TMatrix::Multiply), &TMatrix::MultiplyTransposed,
                        &TMatrix::TransposeAndMultiply, &TMatrix::EMult})
    for (bool Watched : {false, true})
      for (bool IntoSelf : {true, false}) {
        TMatrix Want(nullptr), A(nullptr), B(nullptr);
        (A0.*Fn)(&B0, &Want);
        A.Clone(&A0);
        B.Clone(&B0);
        TMatrix& Res = IntoSelf ? A : B;
        std::vector<double> Seen;
        if (Watched) Res.OnChange = [&](orv::TObject*) { Seen.push_back(Res.GetVal(1, 1)); };
        ASSERT_TRUE((A.*Fn)(&B, &Res));
        EXPECT_EQ(AllRows(Res), AllRows(Want));
        EXPECT_EQ(Seen.empty() ? Want.GetVal(1, 1) : Seen.front(), Want.GetVal(1, 1));  // a finished cell
      }
  TVector X(nullptr), Want(nullptr);
  FillValues(X, {1, -2, 3, 0.5, 7});
  ASSERT_TRUE(A0.Multiply(&X, &Want));
  ASSERT_TRUE(A0.Multiply(&X, &X));  // VecRes is VecB
  EXPECT_EQ(Values(X), Values(Want));
}

}  // namespace
