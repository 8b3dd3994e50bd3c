// TMatrix core: size, cells, ranges, copying and the events they fire.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/raises.h"

namespace {

using orv::TMatrix;

using orv::test::TChangeCounter;

TEST(MatrixCore, NewMatrixIsOneByOneZeroWithDefaults) {
  TMatrix M(nullptr);
  EXPECT_EQ(M.ClassName(), "TMatrix");
  EXPECT_EQ(M.NrOfColumns(), 1);
  EXPECT_EQ(M.NrOfRows(), 1);
  EXPECT_EQ(M.Elem(1, 1), 0.0);
  EXPECT_EQ(M.DataID(), "");
  EXPECT_EQ(M.Precision(1), 15);
  EXPECT_EQ(M.Precision(2), -1);
  EXPECT_FALSE(M.FirstCell);
  ASSERT_EQ(M.Mat.size(), 1u);
  ASSERT_EQ(M.Mat[0].size(), 1u);
}

TEST(MatrixCore, OwnerDestroysMatrix) {
  orv::TComponent Owner(nullptr);
  auto* M = new TMatrix(&Owner);
  EXPECT_EQ(Owner.ComponentCount(), 1);
  EXPECT_EQ(Owner.Components(0), M);
}

TEST(MatrixCore, ElementAccessOutsideReadsZeroAndIgnoresWrites) {
  TMatrix M(nullptr);
  M.Resize(3, 2);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.SetElem(3, 2, 7.5);
  M.SetVal(1, 1, -1.0);
  EXPECT_EQ(Ch.Count, 2);
  EXPECT_EQ(M.GetVal(3, 2), 7.5);
  EXPECT_EQ(M.Mat[2][1], 7.5);
  EXPECT_EQ(M.Elem(1, 1), -1.0);
  for (auto [C, R] : std::vector<std::pair<int, int>>{
           {0, 1}, {1, 0}, {4, 1}, {1, 3}, {-1, -1}, {INT32_MIN, 1}, {1, INT32_MAX}}) {
    M.SetVal(C, R, 99.0);
    EXPECT_EQ(M.GetVal(C, R), 0.0) << C << "," << R;
  }
  EXPECT_EQ(Ch.Count, 2);  // ignored writes fire nothing
}

TEST(MatrixCore, ZeroAxisKeepsOneStoredCellButNoValidCell) {
  TMatrix M(nullptr);
  M.SetElem(1, 1, 4.0);
  M.SetNCols(-3);
  EXPECT_EQ(M.NrOfColumns(), 0);
  EXPECT_EQ(M.NrOfRows(), 1);
  ASSERT_EQ(M.Mat.size(), 1u);
  ASSERT_EQ(M.Mat[0].size(), 1u);
  EXPECT_EQ(M.Elem(1, 1), 0.0);
  M.SetElem(1, 1, 5.0);
  EXPECT_EQ(M.Mat[0][0], 4.0);  // the write was ignored
  M.SetNRows(-1);
  EXPECT_EQ(M.NrOfRows(), 0);
  M.Resize(-4, -4);
  EXPECT_EQ(M.NrOfColumns(), 0);
  EXPECT_EQ(M.NrOfRows(), 0);
  M.SetNrOfColumns(2);
  M.SetNrOfRows(1);
  EXPECT_EQ(M.Elem(1, 1), 4.0);  // the stored cell is back in the valid range
  EXPECT_EQ(M.Elem(2, 1), 0.0);
}

TEST(MatrixCore, ResizeKeepsOverlapZeroesNewCellsAndFiresOnRealChangeOnly) {
  TMatrix M(nullptr);
  M.Resize(2, 2);
  M.SetVal(1, 1, 1);
  M.SetVal(2, 1, 2);
  M.SetVal(1, 2, 3);
  M.SetVal(2, 2, 4);
  TChangeCounter Ch;
  Ch.Attach(M);
  EXPECT_TRUE(M.Resize(2, 2));
  EXPECT_EQ(Ch.Count, 0);
  EXPECT_TRUE(M.Resize(3, 3));
  EXPECT_EQ(Ch.Count, 1);
  const double Grown[3][3] = {{1, 3, 0}, {2, 4, 0}, {0, 0, 0}};  // [col][row]
  for (int C = 1; C <= 3; ++C)
    for (int R = 1; R <= 3; ++R) EXPECT_EQ(M.Elem(C, R), Grown[C - 1][R - 1]) << C << "," << R;
  M.SetVal(3, 3, 9);
  EXPECT_TRUE(M.Resize(4, 3));  // columns only
  EXPECT_EQ(M.Elem(3, 3), 9.0);
  EXPECT_EQ(M.Elem(4, 3), 0.0);
  EXPECT_TRUE(M.Resize(1, 2));  // shrink keeps the overlap
  EXPECT_EQ(M.Elem(1, 1), 1.0);
  EXPECT_EQ(M.Elem(1, 2), 3.0);
  EXPECT_EQ(M.Elem(2, 1), 0.0);
  EXPECT_TRUE(M.Resize(2, 2));  // cut cells come back as zeros
  EXPECT_EQ(M.Elem(2, 2), 0.0);
  ASSERT_EQ(M.Mat.size(), 2u);
  EXPECT_EQ(M.Mat[1].size(), 2u);
  EXPECT_EQ(Ch.Count, 5);
}

TEST(MatrixCore, ResizeFailureRaisesAndLeavesMatrixUnchanged) {
  TMatrix M(nullptr);
  M.SetName("Matrix1");
  M.Resize(2, 3);
  M.SetVal(2, 3, 6.0);
  TChangeCounter Ch;
  Ch.Attach(M);
  orv::test::ExpectRaises<orv::EORVMatrixError>([&] { M.Resize(INT32_MAX, INT32_MAX); },
                                                 "Component \"Matrix1\": not enough memory on heap");
  EXPECT_EQ(M.NrOfColumns(), 2);
  EXPECT_EQ(M.NrOfRows(), 3);
  EXPECT_EQ(M.Elem(2, 3), 6.0);
  EXPECT_EQ(Ch.Count, 0);
}

TEST(MatrixCore, ResizeAndClearAndFillFireOnceEach) {
  TMatrix M(nullptr);
  M.Resize(2, 2);
  M.SetVal(1, 1, 5);
  TChangeCounter Ch;
  Ch.Attach(M);
  EXPECT_TRUE(M.ResizeAndClear(2, 2));  // same size: clears, one event from the fill
  EXPECT_EQ(M.Elem(1, 1), 0.0);
  EXPECT_EQ(Ch.Count, 1);
  EXPECT_TRUE(M.ResizeAndClear(3, 1));
  EXPECT_EQ(Ch.Count, 3);
  M.Fill(2.5);
  EXPECT_EQ(Ch.Count, 4);
  for (int C = 1; C <= 3; ++C) EXPECT_EQ(M.Elem(C, 1), 2.5);
  M.SetNrOfColumns(0);
  Ch.Count = 0;
  M.Fill(7.0);  // no valid cell, still one event
  EXPECT_EQ(Ch.Count, 1);
  EXPECT_EQ(M.Mat[0][0], 2.5);
}

TEST(MatrixCore, RangeRuleWholeAxisClampSwapAndEmptyAxis) {
  TMatrix M(nullptr);
  M.Resize(5, 3);
  auto Col = [&](int Lo, int Hi) {
    M.MakeValidColRange(Lo, Hi);
    return std::pair(Lo, Hi);
  };
  auto Row = [&](int Lo, int Hi) {
    M.MakeValidRowRange(Lo, Hi);
    return std::pair(Lo, Hi);
  };
  EXPECT_EQ(Col(0, 0), std::pair(1, 5));
  EXPECT_EQ(Col(7, -2), std::pair(1, 5));
  EXPECT_EQ(Col(4, 2), std::pair(2, 4));
  EXPECT_EQ(Col(0, 3), std::pair(1, 3));
  EXPECT_EQ(Col(6, 9), std::pair(5, 5));
  EXPECT_EQ(Col(INT32_MIN, INT32_MAX), std::pair(1, 5));
  EXPECT_EQ(Row(0, 0), std::pair(1, 3));
  EXPECT_EQ(Row(3, 1), std::pair(1, 3));
  // An empty axis gives a range that covers no cell, whatever the bounds.
  M.Resize(0, 3);
  for (auto [Lo, Hi] : std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {-5, 5}, {3, 2}}) {
    auto [L, H] = Col(Lo, Hi);
    EXPECT_GT(L, H) << Lo << "," << Hi;
    EXPECT_GE(L, 1);
  }
  EXPECT_EQ(Row(0, 0), std::pair(1, 3));
}

TEST(MatrixCore, PrecisionClampsAndSelectsSlot) {
  TMatrix M(nullptr);
  M.SetPrecision(0, 30);
  EXPECT_EQ(M.Precision(1), 25);
  M.SetPrecision(7, -5);
  EXPECT_EQ(M.Precision(2), -1);
  M.SetFPrecis(-3, 4);
  EXPECT_EQ(M.GetFPrecis(1), 4);
  EXPECT_EQ(M.GetFPrecis(99), -1);
}

TEST(MatrixCore, AssignCopiesDataAndHandlersButNotPercentDoneNorName) {
  TMatrix Src(nullptr), Dst(nullptr);
  Src.SetName("Src");
  Dst.SetName("Dst");
  Src.Resize(2, 3);
  Src.SetVal(2, 3, 8.0);
  Src.SetVal(1, 1, -2.0);
  Src.SetDataID("wine");
  Src.SetPrecision(1, 7);
  Src.SetPrecision(2, 3);
  int SrcChanges = 0, SrcPercent = 0, DstPercent = 0, Exch = 0;
  double DistCalls = 0;
  Src.OnChange = [&](orv::TObject*) { ++SrcChanges; };
  Src.OnSortExchange = [&](orv::TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) { ++Exch; };
  Src.OnCalcDistance = [&](orv::TObject*, int32_t, int32_t, double&) { ++DistCalls; };
  Src.OnPercentDone = [&](orv::TObject*, int32_t) { ++SrcPercent; };
  Dst.OnPercentDone = [&](orv::TObject*, int32_t) { ++DstPercent; };
  Dst.Resize(4, 4);
  Dst.Assign(&Src);
  EXPECT_EQ(SrcChanges, 0);  // fires nothing
  EXPECT_EQ(Dst.NrOfColumns(), 2);
  EXPECT_EQ(Dst.NrOfRows(), 3);
  EXPECT_EQ(Dst.Mat.size(), 2u);
  EXPECT_EQ(Dst.Mat[0].size(), 3u);
  EXPECT_EQ(Dst.Elem(2, 3), 8.0);
  EXPECT_EQ(Dst.Elem(1, 1), -2.0);
  EXPECT_EQ(Dst.DataID(), "wine");
  EXPECT_EQ(Dst.Precision(1), 7);
  EXPECT_EQ(Dst.Precision(2), 3);
  EXPECT_EQ(Dst.Name(), "Dst");
  ASSERT_TRUE(Dst.OnChange);
  ASSERT_TRUE(Dst.OnSortExchange);
  ASSERT_TRUE(Dst.OnCalcDistance);
  Dst.SetVal(1, 1, 0.0);
  EXPECT_EQ(SrcChanges, 1);  // the handler came along
  ASSERT_TRUE(Dst.OnPercentDone);
  Dst.OnPercentDone(&Dst, 5);
  EXPECT_EQ(DstPercent, 1);
  EXPECT_EQ(SrcPercent, 0);
  // Copies are independent.
  EXPECT_EQ(Src.Elem(1, 1), -2.0);
  // Empty axes travel too.
  Src.Resize(0, 2);
  Dst.Assign(&Src);
  EXPECT_EQ(Dst.NrOfColumns(), 0);
  EXPECT_EQ(Dst.Mat.size(), 1u);
  // Self-assignment keeps everything.
  Dst.Assign(&Dst);
  EXPECT_EQ(Dst.NrOfRows(), 2);
}

TEST(MatrixCore, AssignFromOtherClassesRaisesConvertError) {
  TMatrix M(nullptr);
  orv::TComponent Other(nullptr);
  EXPECT_THROW(M.Assign(&Other), orv::EConvertError);
  EXPECT_THROW(M.Assign(nullptr), orv::EConvertError);
  EXPECT_THROW(Other.Assign(&M), orv::EConvertError);  // a matrix copies only into a matrix
  TMatrix N(nullptr);
  N.SetVal(1, 1, 3.0);
  M.AssignTo(&N);  // N takes our data
  EXPECT_EQ(N.Elem(1, 1), 0.0);
}

TEST(MatrixCore, CloneFiresPerCellAndOnceAtEndAndCopiesOnlySizeAndCells) {
  TMatrix Src(nullptr), Dst(nullptr);
  Src.Resize(3, 2);
  for (int C = 1; C <= 3; ++C)
    for (int R = 1; R <= 2; ++R) Src.SetVal(C, R, 10 * C + R);
  Src.SetDataID("src");
  Src.OnSortExchange = [](orv::TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {};
  // Each event sees one more cell written: the growth of the sum names it.
  std::vector<double> Sums;
  Dst.Resize(3, 2);  // same size as the source: no Resize event below
  Dst.OnChange = [&](orv::TObject*) {
    double S = 0;
    for (int C = 1; C <= 3; ++C)
      for (int R = 1; R <= 2; ++R) S += Dst.Elem(C, R);
    Sums.push_back(S);
  };
  Dst.Clone(&Src);
  ASSERT_EQ(Sums.size(), 7u);  // 6 cells + 1
  const std::vector<double> Order = {11, 12, 21, 22, 31, 32};  // column by column
  double Prev = 0;
  for (size_t I = 0; I < 6; ++I) {
    EXPECT_EQ(Sums[I] - Prev, Order[I]) << I;
    Prev = Sums[I];
  }
  EXPECT_EQ(Sums[6], Sums[5]);
  EXPECT_EQ(Dst.DataID(), "");
  EXPECT_FALSE(Dst.OnSortExchange);
  // Of another size: one more event from Resize.
  int Count = 0;
  Dst.OnChange = [&](orv::TObject*) { ++Count; };
  Dst.Resize(1, 1);
  Count = 0;
  Dst.Clone(&Src);
  EXPECT_EQ(Count, 1 + 6 + 1);
  Dst.Clone(nullptr);
  EXPECT_EQ(Count, 8);
  // Without a handler the copy is the same.
  TMatrix Plain(nullptr);
  Plain.Clone(&Src);
  for (int C = 1; C <= 3; ++C)
    for (int R = 1; R <= 2; ++R) EXPECT_EQ(Plain.Elem(C, R), 10 * C + R);
  // Cloning itself keeps the cells and still fires.
  Count = 0;
  Dst.Clone(&Dst);
  EXPECT_EQ(Count, 7);
  EXPECT_EQ(Dst.Elem(3, 2), 32.0);
}

TEST(MatrixCore, CloneSurvivesHandlerThatShrinksTheTarget) {
  TMatrix Src(nullptr), Dst(nullptr);
  Src.Resize(4, 4);
  Src.Fill(1.0);
  bool Shrunk = false;
  Dst.OnChange = [&](orv::TObject*) {
    if (!Shrunk && Dst.NrOfColumns() == 4 && Dst.Elem(1, 2) == 1.0) {
      Shrunk = true;
      Dst.Resize(1, 1);
    }
  };
  Dst.Clone(&Src);
  EXPECT_TRUE(Shrunk);
  EXPECT_EQ(Dst.NrOfColumns(), 1);
  EXPECT_EQ(Dst.Elem(1, 1), 1.0);
}

}  // namespace
