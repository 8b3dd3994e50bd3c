// TIntMatrix arithmetic and products: wrap-around against NumPy int32, the
// kernels against a plain wrapping loop, events, operands as results, and
// what a sparse matrix takes part in.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"

namespace {

using orv::TIntMatrix;
using orv::TIntVector;
using orv::test::AllRows;
using orv::test::FillRows;
using orv::test::FillValues;
using orv::test::TChangeCounter;
using orv::test::Values;
using Rows = std::vector<std::vector<int32_t>>;
using Ints = std::vector<int32_t>;

int32_t RandomInt() {
  const auto High = static_cast<uint32_t>(orv::Random(65536));
  return static_cast<int32_t>(High << 16 | static_cast<uint32_t>(orv::Random(65536)));
}

void FillRandom(TIntMatrix& M, int32_t Cols, int32_t Rws) {
  M.Resize(Cols, Rws);
  for (int32_t C = 1; C <= Cols; ++C)
    for (int32_t R = 1; R <= Rws; ++R) M.SetVal(C, R, RandomInt());
}

TEST(IntMatrixProduct, KernelsGiveThePlainWrappingLoopsCells) {
  orv::SetRandSeed(152);
  const struct { int32_t M, N, K; } Shapes[] = {{1, 1, 1}, {7, 1, 33}, {1, 7, 7}, {33, 257, 7}, {257, 33, 257},
                                                {257, 257, 257}, {9, 1537, 3}};
  for (const auto& S : Shapes)
    for (int Form = 0; Form < 5; ++Form) {
      const orv::test::TProductForm F{Form};
      const bool TA = F.TransA(), TB = F.TransB(), Vec = F.Vec();
      TIntMatrix A(nullptr), B(nullptr), Res(nullptr);
      TIntVector X(nullptr), Y(nullptr);
      FillRandom(A, TA ? S.M : S.K, TA ? S.K : S.M);
      FillRandom(B, TB ? S.K : S.N, TB ? S.N : S.K);
      X.Resize(S.K);
      for (int32_t I = 1; I <= S.K; ++I) X.SetVal(I, RandomInt());
      ASSERT_TRUE(F.Run(A, B, Res, X, Y));
      int Wrong = 0;
      for (int32_t C = 1; C <= (Vec ? 1 : S.N); ++C)
        for (int32_t R = 1; R <= S.M; ++R) {
          uint32_t Sum = 0;
          for (int32_t I = 1; I <= S.K; ++I)
            Sum += static_cast<uint32_t>(Vec ? X.GetVal(I) : TB ? B.GetVal(I, C) : B.GetVal(C, I)) *
                   static_cast<uint32_t>(TA ? A.GetVal(R, I) : A.GetVal(I, R));
          Wrong += static_cast<uint32_t>(Vec ? Y.GetVal(R) : Res.GetVal(C, R)) != Sum;
        }
      EXPECT_EQ(Wrong, 0) << "form " << Form << ", " << S.M << " x " << S.N << " x " << S.K;
      EXPECT_EQ(Vec ? Y.NrOfElem() : Res.NrOfRows(), S.M);
    }
}

TEST(IntMatrixProduct, WrapAroundAsNumPyInt32) {
  // numpy 1.24, int32 arrays (rows as written): A = [[2000000000, -7, 65536],
  // [123456789, 2147483647, -2147483648]], B = [[3, -65536], [100000, 5],
  // [65536, 2]], x = [3, -1, 70000], y = [-5, 40000]; A@B, A@A.T, A.T@A,
  // A*A, A@x, A.T@y, C = A*3 + 2147483000, C - A, then (C - A) * 2.
  TIntMatrix A(nullptr), B(nullptr), R(nullptr);
  FillRows(A, {{2000000000, -7, 65536}, {123456789, 2147483647, -2147483648.0}});
  FillRows(B, {{3, -65536}, {100000, 5}, {65536, 2}});
  ASSERT_TRUE(A.Multiply(&B, &R));
  EXPECT_EQ(AllRows(R), (Rows{{1704332704, 1812070365}, {370270367, -1293221893}}));
  ASSERT_TRUE(A.MultiplyTransposed(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{-1651507151, -890690553}, {-890690553, -1757895750}}));
  ASSERT_TRUE(A.TransposeAndMultiply(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{885564345, 908928747, 335544320},
                              {908928747, 50, 2147024896},
                              {335544320, 2147024896, 0}}));
  ASSERT_TRUE(A.EMult(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{-1651507200, 49, 0}, {-1757895751, 1, 0}}));
  TIntVector X(nullptr), Y(nullptr);
  FillValues(X, {3, -1, 70000});
  ASSERT_TRUE(A.Multiply(&X, &Y));
  EXPECT_EQ(Values(Y), (Ints{1997585415, -1777113280}));
  FillValues(X, {-5, 40000});
  ASSERT_TRUE(A.TransposeAndMultiply(&X, &Y));
  EXPECT_EQ(Values(Y), (Ints{1944071488, -39965, -327680}));
  TIntMatrix C(nullptr);
  C.Clone(&A);
  C.SMult(3);
  C.SAdd(2147483000);
  EXPECT_EQ(AllRows(C), (Rows{{-442451592, 2147482979, -2147287688}, {-1777113929, -651, -648}}));
  ASSERT_TRUE(C.Subtract(&A));
  ASSERT_TRUE(C.Add(&C));
  EXPECT_EQ(AllRows(C), (Rows{{-589935888, -1324, 260848}, {493825860, -1300, -1296}}));
  // Columns (1, 2) and (3, 4) times (1, 1) give (4, 6), VecB unchanged.
  TIntMatrix S(nullptr);
  FillRows(S, {{1, 3}, {2, 4}});
  FillValues(X, {1, 1});
  ASSERT_TRUE(S.Multiply(&X, &Y));
  EXPECT_EQ(Values(Y), (Ints{4, 6}));
  EXPECT_EQ(Values(X), (Ints{1, 1}));
}

TEST(IntMatrixProduct, FailuresChangeNothingSuccessesFirePerCellThenSelf) {
  TIntMatrix A(nullptr), B(nullptr), Res(nullptr);
  FillRows(A, {{1, 2}, {3, 4}});
  FillRows(B, {{1}, {2}, {3}});
  FillRows(Res, {{9, 9, 9}});
  TIntVector V3(nullptr), VR(nullptr);
  FillValues(V3, {1, 2, 3});
  TChangeCounter ChA, ChRes, ChV;
  ChA.Attach(A);
  ChRes.Attach(Res);
  ChV.Attach(VR);
  const TIntMatrix* NoM = nullptr;
  EXPECT_FALSE(A.Multiply(&B, &Res));
  EXPECT_FALSE(A.MultiplyTransposed(&B, &Res));
  EXPECT_FALSE(A.TransposeAndMultiply(&B, &Res));
  EXPECT_FALSE(A.EMult(&B, &Res));
  EXPECT_FALSE(A.Subtract(&B));
  EXPECT_FALSE(A.Add(&B));
  EXPECT_FALSE(A.Add(NoM));
  EXPECT_FALSE(A.Multiply(&A, nullptr));
  EXPECT_FALSE(A.Multiply(&V3, &VR));
  EXPECT_FALSE(A.TransposeAndMultiply(&V3, &VR));
  EXPECT_EQ(ChA.Count + ChRes.Count + ChV.Count, 0);
  EXPECT_EQ(AllRows(Res), (Rows{{9, 9, 9}}));
  ASSERT_TRUE(A.Multiply(&A, &Res));  // 3 x 1 -> 2 x 2: a resize, four cells
  EXPECT_EQ(ChRes.Count, 1 + 4);
  EXPECT_EQ(ChA.Count, 1);
  ASSERT_TRUE(B.TransposeAndMultiply(&V3, &VR));  // one element: no resize, one write
  EXPECT_EQ(Values(VR), (Ints{14}));
  EXPECT_EQ(ChV.Count, 1);
  // A result that is an operand gets the product of the operands as they were,
  // also when its handler watches every cell.
  for (bool Watched : {false, true}) {
    TIntMatrix P(nullptr), Q(nullptr);
    FillRows(P, {{1, 2}, {3, 4}});
    FillRows(Q, {{5, 6}, {7, 8}});
    std::vector<int32_t> Seen;
    if (Watched) P.OnChange = [&](orv::TObject*) { Seen.push_back(P.GetVal(1, 1)); };
    ASSERT_TRUE(P.Multiply(&Q, &P));
    EXPECT_EQ(AllRows(P), (Rows{{19, 22}, {43, 50}}));  // numpy: [[1,2],[3,4]] @ [[5,6],[7,8]]
    ASSERT_TRUE(P.EMult(&P, &Q));
    EXPECT_EQ(AllRows(Q), (Rows{{361, 484}, {1849, 2500}}));
    if (Watched) {
      EXPECT_EQ(Seen.front(), 19);
    }
  }
}

TEST(IntMatrixSparse, AddTakesASparseMatBWithinSelfEverythingElseLeavesSparseAlone) {
  TIntMatrix Sp(nullptr, 1), Self(nullptr), Small(nullptr);
  Sp.SetVal(2, 3, 5);
  Self.Resize(4, 4);
  Self.Fill(1);
  Small.Resize(2, 2);
  TChangeCounter Ch;
  Ch.Attach(Self);
  ASSERT_TRUE(Self.Add(&Sp));
  EXPECT_EQ(Self.GetVal(2, 3), 6);
  EXPECT_EQ(Self.CountValues(0, 0, 0, 0, 1, 1), 15);
  EXPECT_EQ(Ch.Count, 1);
  EXPECT_FALSE(Small.Add(&Sp));  // (2, 3) lies outside 2 x 2
  EXPECT_FALSE(Sp.Add(&Self));
  // Dense-only operations on a sparse Self or MatB: false, or nothing, and
  // the sparse list as it was (the missing dense storage never read).
  TIntMatrix Res(nullptr);
  TIntVector V(nullptr), VR(nullptr);
  FillValues(V, {1, 1, 1});
  TChangeCounter ChSp, ChRes;
  ChSp.Attach(Sp);
  ChRes.Attach(Res);
  Sp.Resize(3, 3);  // sparse: counts only
  Self.Resize(3, 3);
  EXPECT_FALSE(Sp.Subtract(&Self));
  EXPECT_FALSE(Self.Subtract(&Sp));
  EXPECT_FALSE(Sp.EMult(&Self, &Res));
  EXPECT_FALSE(Self.EMult(&Sp, &Res));
  EXPECT_FALSE(Sp.Multiply(&Self, &Res));
  EXPECT_FALSE(Self.MultiplyTransposed(&Sp, &Res));
  EXPECT_FALSE(Sp.TransposeAndMultiply(&Self, &Res));
  EXPECT_FALSE(Sp.Multiply(&V, &VR));
  EXPECT_FALSE(Sp.TransposeAndMultiply(&V, &VR));
  EXPECT_FALSE(Sp.RemoveColumn(1));
  EXPECT_FALSE(Sp.RemoveRow(1));
  Sp.SMult(2);
  Sp.SAdd(2);
  Sp.Fill(1, 3, 1, 3, 7);
  Sp.FillDiag(7);
  Sp.SortRows(1, true, 0, 0, 0, 0);
  Sp.SortCols(1, false, 0, 0, 0, 0);
  Sp.MirrorColumns();
  Sp.MirrorRows();
  Sp.ExchangeColumns(1, 2);
  Sp.ExchangeRows(1, 3);
  orv::TInt2DArray Arr{{4}};
  Sp.CopyToArray(Arr, 0, 0, 0, 0);
  EXPECT_EQ(Arr, (orv::TInt2DArray{{4}}));
  EXPECT_EQ(ChSp.Count + ChRes.Count, 0);
  EXPECT_EQ(VR.NrOfElem(), 1);
  ASSERT_EQ(Sp.SparseNumElem(), 1);
  EXPECT_EQ(Sp.GetVal(2, 3), 5);
  EXPECT_TRUE(Sp.Mat.empty());
  // A sparse result stores every cell, zeros included.
  TIntMatrix SpRes(nullptr, 1), Z(nullptr);
  FillRows(Z, {{0, 1}, {0, 0}});
  ASSERT_TRUE(Z.Multiply(&Z, &SpRes));
  EXPECT_TRUE(SpRes.IsSparse());
  EXPECT_EQ(SpRes.SparseNumElem(), 4);
  EXPECT_EQ(AllRows(SpRes), (Rows{{0, 0}, {0, 0}}));
}

}  // namespace
