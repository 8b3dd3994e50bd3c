// TMatrix arithmetic and products: the pinned summation order bit for bit,
// NumPy references, the failure rule, events and aliased results.
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
using orv::test::FillRows;
using orv::test::FillValues;
using orv::test::Row;
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

uint64_t Bits(double X) { return std::isnan(X) ? 1 : std::bit_cast<uint64_t>(X); }

// The three forms: op(A)(r, i) and op(B)(i, c) read as the interface states them.
enum TForm { fmMultiply, fmMultTransposed, fmTransposeMult };

TEST(MatrixProduct, KernelGivesThePlainLoopsBitsForEveryForm) {
  orv::SetRandSeed(15);
  // Result rows, result columns, inner extent: odd sizes, a sum split at the
  // 256-index panel, and a result wider than one packed block of columns.
  const struct { int32_t M, N, K; } Shapes[] = {{1, 1, 1},      {7, 1, 33},    {1, 7, 7},   {33, 257, 7},
                                                {257, 33, 257}, {257, 257, 257}, {9, 1537, 3}};
  for (const auto& S : Shapes)
    for (TForm F : {fmMultiply, fmMultTransposed, fmTransposeMult}) {
      TMatrix A(nullptr), B(nullptr), Res(nullptr);
      const bool TA = F == fmTransposeMult, TB = F == fmMultTransposed;
      FillHard(A, TA ? S.M : S.K, TA ? S.K : S.M, -0.0);
      FillHard(B, TB ? S.K : S.N, TB ? S.N : S.K, 0.75);
      const bool Ok = F == fmMultiply         ? A.Multiply(&B, &Res)
                      : F == fmMultTransposed ? A.MultiplyTransposed(&B, &Res)
                                              : A.TransposeAndMultiply(&B, &Res);
      ASSERT_TRUE(Ok);
      ASSERT_EQ(Res.NrOfColumns(), S.N);
      ASSERT_EQ(Res.NrOfRows(), S.M);
      int Wrong = 0;
      for (int32_t C = 1; C <= S.N; ++C)
        for (int32_t R = 1; R <= S.M; ++R) {
          double Sum = 0;
          for (int32_t I = 1; I <= S.K; ++I)
            Sum += (TA ? A.GetVal(R, I) : A.GetVal(I, R)) * (TB ? B.GetVal(I, C) : B.GetVal(C, I));
          Wrong += Bits(Res.GetVal(C, R)) != Bits(Sum);
        }
      EXPECT_EQ(Wrong, 0) << "form " << F << ", " << S.M << " x " << S.N << " x " << S.K;
    }
  // Matrix-vector products alike: rows x columns of Self.
  for (const auto& S : Shapes)
    for (bool Trans : {false, true}) {
      TMatrix A(nullptr);
      FillHard(A, S.K, S.M, -0.0);
      TVector X(nullptr), Y(nullptr);
      std::vector<double> Xs;
      for (int32_t I = 0; I < (Trans ? S.M : S.K); ++I) Xs.push_back(orv::Random() * 1e6);
      FillValues(X, Xs);
      ASSERT_TRUE(Trans ? A.TransposeAndMultiply(&X, &Y) : A.Multiply(&X, &Y));
      const int32_t N = Trans ? S.K : S.M;
      ASSERT_EQ(Y.NrOfElem(), N);
      int Wrong = 0;
      for (int32_t E = 1; E <= N; ++E) {
        double Sum = 0;
        for (int32_t I = 1; I <= static_cast<int32_t>(Xs.size()); ++I)
          Sum += X.GetVal(I) * (Trans ? A.GetVal(E, I) : A.GetVal(I, E));
        Wrong += Bits(Y.GetVal(E)) != Bits(Sum);
      }
      EXPECT_EQ(Wrong, 0) << (Trans ? "transposed " : "") << S.M << " x " << S.K;
    }
}

TEST(MatrixProduct, ExamplesAgainstNumPy) {
  // A = [[1,2,3],[4,5,6]], B = [[7,8],[9,10],[11,12]]; A@B, A@A.T, A.T@A (numpy 1.24).
  TMatrix A(nullptr), B(nullptr), R(nullptr);
  FillRows(A, {{1, 2, 3}, {4, 5, 6}});
  FillRows(B, {{7, 8}, {9, 10}, {11, 12}});
  const auto AllRows = [](const TMatrix& M) {
    Rows V;
    for (int32_t I = 1; I <= M.NrOfRows(); ++I) V.push_back(Row(M, I));
    return V;
  };
  ASSERT_TRUE(A.Multiply(&B, &R));
  EXPECT_EQ(AllRows(R), (Rows{{58, 64}, {139, 154}}));
  ASSERT_TRUE(A.MultiplyTransposed(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{14, 32}, {32, 77}}));
  ASSERT_TRUE(A.TransposeAndMultiply(&A, &R));
  EXPECT_EQ(AllRows(R), (Rows{{17, 22, 27}, {22, 29, 36}, {27, 36, 45}}));
  // C * D element-wise, C = [[0.5,-1.25],[2,3],[-4,0.125]], D = [[2,4],[-1,0.5],[8,-2]].
  TMatrix C(nullptr), D(nullptr);
  FillRows(C, {{0.5, -1.25}, {2, 3}, {-4, 0.125}});
  FillRows(D, {{2, 4}, {-1, 0.5}, {8, -2}});
  ASSERT_TRUE(C.EMult(&D, &R));
  EXPECT_EQ(AllRows(R), (Rows{{1, -5}, {-2, 1.5}, {-32, -0.25}}));
  // Columns (1, 2) and (3, 4) times (1, 1) gives (4, 6), VecB unchanged; transposed (3, 7).
  TMatrix S(nullptr);
  FillRows(S, {{1, 3}, {2, 4}});
  TVector X(nullptr), Y(nullptr);
  FillValues(X, {1, 1});
  ASSERT_TRUE(S.Multiply(&X, &Y));
  EXPECT_EQ(Values(Y), (std::vector<double>{4, 6}));
  EXPECT_EQ(Values(X), (std::vector<double>{1, 1}));
  ASSERT_TRUE(S.TransposeAndMultiply(&X, &Y));
  EXPECT_EQ(Values(Y), (std::vector<double>{3, 7}));
  // Scalar and matrix sums.
  C.SMult(2);
  C.SAdd(-1);
  EXPECT_EQ(AllRows(C), (Rows{{0, -3.5}, {3, 5}, {-9, -0.75}}));
  ASSERT_TRUE(C.Subtract(&D));
  ASSERT_TRUE(C.Add(&C));
  EXPECT_EQ(AllRows(C), (Rows{{-4, -15}, {8, 9}, {-34, 2.5}}));
}

TEST(MatrixProduct, UnfitArgumentsChangeAndFireNothing) {
  TMatrix A(nullptr), B(nullptr), Res(nullptr), Wide(nullptr);
  FillRows(A, {{1, 2}, {3, 4}});    // 2 x 2
  FillRows(B, {{1}, {2}, {3}});     // 1 column, 3 rows
  FillRows(Res, {{9, 9, 9}});       // 3 x 1
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
  EXPECT_EQ(Row(Res, 1), (std::vector<double>{9, 9, 9}));
  EXPECT_EQ(VR.NrOfElem(), 1);
}

TEST(MatrixProduct, EventsPerResultCellThenSelfOnce) {
  TMatrix A(nullptr), B(nullptr), Res(nullptr);
  FillRows(A, {{1, 2, 3}, {4, 5, 6}});
  FillRows(B, {{1, 0}, {0, 1}, {1, 1}});
  TChangeCounter ChA, ChRes;
  ChA.Attach(A);
  ChRes.Attach(Res);
  ASSERT_TRUE(A.Multiply(&B, &Res));  // 1 x 1 -> 2 x 2: one resize, four cells
  EXPECT_EQ(ChRes.Count, 5);
  EXPECT_EQ(ChA.Count, 1);
  ASSERT_TRUE(A.EMult(&A, &Res));  // 3 x 2 with a resize
  EXPECT_EQ(ChRes.Count, 5 + 1 + 6);
  EXPECT_EQ(ChA.Count, 2);
  for (auto Op : {&TMatrix::SMult, &TMatrix::SAdd}) (A.*Op)(2);
  EXPECT_TRUE(A.Add(&A));
  EXPECT_EQ(ChA.Count, 5);
  TVector X(nullptr), Y(nullptr);
  FillValues(X, {1, 1, 1});
  TChangeCounter ChY;
  ChY.Attach(Y);
  ASSERT_TRUE(A.Multiply(&X, &Y));  // resized to 2, two elements
  EXPECT_EQ(ChY.Count, 3);
  EXPECT_EQ(ChA.Count, 6);
}

TEST(MatrixProduct, ResultMayBeAnOperandAndHandlersSeeFinishedCells) {
  // Each form into a fresh matrix, into Self and into MatB (with and without
  // a handler) must give the same cells.
  orv::SetRandSeed(3);
  TMatrix A0(nullptr), B0(nullptr);
  FillHard(A0, 5, 5, 1);
  FillHard(B0, 5, 5, 2);
  using TProductFn = bool (TMatrix::*)(const TMatrix*, TMatrix*);
  for (TProductFn Fn : {static_cast<TProductFn>(&TMatrix::Multiply), &TMatrix::MultiplyTransposed,
                        &TMatrix::TransposeAndMultiply, &TMatrix::EMult})
    for (bool Watched : {false, true})
      for (int Into : {0, 1}) {  // 0: Self, 1: MatB
        TMatrix Want(nullptr), A(nullptr), B(nullptr);
        (A0.*Fn)(&B0, &Want);
        A.Clone(&A0);
        B.Clone(&B0);
        TMatrix& Res = Into == 0 ? A : B;
        std::vector<double> Seen;
        if (Watched) Res.OnChange = [&](orv::TObject*) { Seen.push_back(Res.GetVal(1, 1)); };
        ASSERT_TRUE((A.*Fn)(&B, &Res));
        for (int32_t C = 1; C <= 5; ++C) EXPECT_EQ(orv::test::Column(Res, C), orv::test::Column(Want, C));
        if (Watched) {
          EXPECT_EQ(Seen.front(), Want.GetVal(1, 1));  // the first write is a finished cell
        }
      }
  // VecRes may be VecB.
  TVector X(nullptr), Want(nullptr);
  FillValues(X, {1, -2, 3, 0.5, 7});
  ASSERT_TRUE(A0.Multiply(&X, &Want));
  ASSERT_TRUE(A0.Multiply(&X, &X));
  EXPECT_EQ(Values(X), Values(Want));
}

}  // namespace
