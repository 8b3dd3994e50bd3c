// CopyArray and the column and row copies between 1-D and 2-D arrays.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;

// The sum of cell k * (k + 1) over the cells in scan order (NumPy:
// (d.ravel() * (np.arange(d.size) + 1)).sum()), which moves with any misplaced cell.
template <class A>
int64_t ScanSum(const A& X) {
  int64_t K = 0, S = 0;
  auto Walk = [&](auto& Self, const auto& Sub) -> void {
    if constexpr (requires { Sub.front().size(); })
      for (const auto& Inner : Sub) Self(Self, Inner);
    else
      for (const auto V : Sub) S += static_cast<int64_t>(V) * ++K;
  };
  Walk(Walk, X);
  return S;
}

TEST(CopyArray, CodesAndFitsOfEachForm) {
  const TDoubleArray Three = {1, 2, 3};
  const TDouble2DArray Two = {{1, 2}, {3, 4}};
  const TDouble2DArray Src32 = {{1, 2}, {3, 4}, {5, 6}};
  const TDoubleArray Five(5, 0.0);
  const TDouble2DArray Nine(3, TDoubleArray(3, 0.0));
  auto D1 = [&](auto... Args) {
    TDoubleArray D = Five;
    return CopyArray(Args..., D);
  };
  auto D2 = [&](const TDouble2DArray& Src, auto... Args) {
    TDouble2DArray D = Nine;
    return CopyArray(Src, Args..., D);
  };
  // The family's examples, then the rest of the codes.
  EXPECT_EQ((TIntArray{D1(Three, 1), D1(Three, 2), D1(Three, 0, 2, 2), D2(Two, 1, 1), D2(Two, 2, 1),
                       D2(Src32, 1, 0, 2, 1, 0, 0), D2(Src32, 1, 0, 3, 1, 0, 0)}),
            (TIntArray{0, -2, 0, 0, -2, 0, -2}));
  EXPECT_EQ((TIntArray{D1(Three, -1), D1(Three, 5), D1(Three, 2, 1, 0), D1(Three, 0, 3, 0), D1(Three, 0, 2, 3),
                       D1(TDoubleArray{}, 0), D2(TDouble2DArray{{}}, 0, 0), D2(TDouble2DArray{{1}, {2, 3}}, 0, 0),
                       D2(Two, 0, 3), D2(Src32, 0, 1, 2, 1, 1, 1)}),
            (TIntArray{-2, -2, -2, -2, -2, -1, -1, -1, -2, -2}));
  TDouble2DArray Empty;
  EXPECT_EQ(CopyArray(Two, 0, 0, Empty), -1);
  TDouble2DArray D = {{0, 0}, {0, 0}};
  EXPECT_EQ(CopyArray(Src32, 1, 0, 2, 1, 0, 0, D), 0);
  EXPECT_EQ(D, (TDouble2DArray{{3, 4}, {5, 6}}));
  TIntArray Fails = {1, 2, 3, 4, 5};
  EXPECT_EQ(CopyArray(TIntArray{9, 9}, 4, 4, 0, Fails), -2);
  EXPECT_EQ(Fails, (TIntArray{1, 2, 3, 4, 5})) << "a failing call changes nothing";
}

// src = np.arange(1, n + 1).reshape(extents), dst the negatives of its own
// extents; dst[off : off + m, ...] = src[lo : hi + 1, ...]; reference ScanSum(dst).
template <class T>
void ExpectSlicing() {
  auto Src = [](auto... E) { return ScanArray<T>([](int64_t K) { return K + 1; }, E...); };
  auto Dst = [](auto... E) { return ScanArray<T>([](int64_t K) { return -(K + 1); }, E...); };
  auto Sum = [](auto D, auto Copy) {
    EXPECT_EQ(Copy(D), 0);
    return ScanSum(D);
  };
  const int64_t Got[] = {
      Sum(Dst(6, 7), [&](auto& D) { return CopyArray(Src(5, 4), 1, 0, 3, 2, 2, 4, D); }),
      Sum(Dst(6, 7), [&](auto& D) { return CopyArray(Src(5, 4), 1, 3, D); }),
      Sum(Dst(4, 5, 6), [&](auto& D) { return CopyArray(Src(3, 4, 5), 0, 1, 1, 2, 3, 4, 1, 0, 2, D); }),
      Sum(Dst(4, 5, 6), [&](auto& D) { return CopyArray(Src(3, 4, 5), 1, 1, 1, D); }),
      Sum(Dst(3, 4, 5, 6), [&](auto& D) { return CopyArray(Src(2, 3, 4, 5), 0, 1, 0, 2, 1, 2, 3, 4, 1, 2, 1, 3, D); }),
      Sum(Dst(3, 4, 5, 6), [&](auto& D) { return CopyArray(Src(2, 3, 4, 5), 1, 1, 1, 1, D); })};
  const int64_t Want[] = {-16120, -2845, -281594, 1000, -10761836, -4908420};
  for (std::size_t I = 0; I < std::size(Want); ++I) EXPECT_EQ(Got[I], Want[I]) << "case " << I;

  // One array as source and target: the increasing order repeats cells.
  std::vector<T> A = {1, 2, 3, 4, 5};
  EXPECT_EQ(CopyArray(A, 0, 2, 1, A), 0);
  EXPECT_EQ(A, (std::vector<T>{1, 1, 1, 1, 5}));
  // 2-D in scan order: (0,0)->(1,1), (0,1)->(1,2), (1,0)->(2,1), then (1,1),
  // already overwritten with 1, -> (2,2).
  std::vector<std::vector<T>> G = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  EXPECT_EQ(CopyArray(G, 0, 0, 1, 1, 1, 1, G), 0);
  EXPECT_EQ(G, (std::vector<std::vector<T>>{{1, 2, 3}, {4, 1, 2}, {7, 4, 1}}));
}

TEST(CopyArray, CellsLandWhereSlicingPutsThemAndOverlapsFollowTheScanOrder) {
  ExpectSlicing<int32_t>();
  ExpectSlicing<double>();
  TBoolArray B(4);
  EXPECT_EQ(CopyArray(TBoolArray{true, false}, 1, B), 0);
  EXPECT_EQ(B, (TBoolArray{false, true, false, false}));
  TBool2DArray B2(2, TBoolArray(3));
  EXPECT_EQ(CopyArray(TBool2DArray{{true, true}}, 1, 1, B2), 0);
  EXPECT_EQ(B2, (TBool2DArray{{false, false, false}, {false, true, true}}));
}

TEST(ColumnAndRowCopies, CodesInTheirOrderAndTheCellsCopied) {
  // Three columns of four rows, cell [c][r] = 10 c + r.
  const TInt2DArray A = {{0, 1, 2, 3}, {10, 11, 12, 13}, {20, 21, 22, 23}};
  TIntArray V = {-1};
  // Col or Row, first, last: CopyArrayColumn and CopyArrayRow codes.
  const int32_t Rows[][5] = {{1, 1, 4, -2, -2}, {1, 1, 0, -2, -2},  {3, 0, 2, -3, 0},  {4, 0, 2, -3, -3},
                             {4, 0, 3, -3, -2}, {-1, 0, 0, -3, -3}, {1, -1, 0, -2, -2}};
  for (const auto& R : Rows) {
    TIntArray W = V;
    EXPECT_EQ(CopyArrayColumn(A, R[0], R[1], R[2], V), R[3]) << R[0] << R[1] << R[2];
    EXPECT_EQ(CopyArrayRow(A, R[0], R[1], R[2], W), R[4]) << R[0] << R[1] << R[2];
  }
  EXPECT_EQ(V, TIntArray{-1}) << "failures leave V alone";
  EXPECT_EQ(CopyArrayColumn(A, 1, 1, 2, V), 0);
  EXPECT_EQ(V, (TIntArray{11, 12}));
  EXPECT_EQ(CopyArrayRow(A, 3, 0, 2, V), 0);
  EXPECT_EQ(V, (TIntArray{3, 13, 23}));
  const TInt2DArray Bad[] = {{}, {{}, {}}, {{1, 2}, {3}}};
  for (const auto& B : Bad) EXPECT_EQ(CopyArrayColumn(B, 0, 0, 0, V) + CopyArrayRow(B, 0, 0, 0, V), -2);

  // V into a column (row) of a copy of A: FirstElem, LastElem, Col (FirstCol), FirstRow (Row), code,
  // ScanSum after, 0 for unchanged (NumPy: the slice assignment, then the sum as above).
  const TIntArray Five = {1, 2, 3, 4, 5};
  const int32_t Into[][7] = {{0, 0, 1, 2, 0, 1067, 935}, {7, 0, -1, 0, -2, 0, 0},     {7, 0, 0, 0, -1, 0, 0},
                             {3, 1, 0, 0, 0, 0, 0},      {1, 2, 0, 3, 0, 1228, 1148}, {0, 0, 3, 0, -2, 0, 0},
                             {0, 0, 0, 4, -2, 0, 0},     {0, 5, 0, 0, -1, 0, 0}};
  for (const auto& R : Into) {
    TInt2DArray C = A, D = A;
    EXPECT_EQ(CopyVectorToArrayColumn(Five, R[0], R[1], R[2], R[3], C), R[4]) << R[0] << R[1] << R[2] << R[3];
    EXPECT_EQ(CopyVectorToArrayRow(Five, R[0], R[1], R[2], R[3], D), R[4]) << R[0] << R[1] << R[2] << R[3];
    EXPECT_EQ(ScanSum(C), R[5] ? R[5] : ScanSum(A)) << R[0] << R[1] << R[2] << R[3];
    EXPECT_EQ(ScanSum(D), R[6] ? R[6] : ScanSum(A)) << R[0] << R[1] << R[2] << R[3];
  }
  TInt2DArray C = A;
  EXPECT_EQ(CopyVectorToArrayColumn(TIntArray{}, 0, 0, 0, 0, C), 0);
  EXPECT_EQ(C, A);
  TBool2DArray Flags(2, TBoolArray(2));
  EXPECT_EQ(CopyVectorToArrayRow(TBoolArray{true, true, true}, 0, 0, 0, 1, Flags), 0);
  EXPECT_EQ(Flags, (TBool2DArray{{false, true}, {false, true}}));
}

}  // namespace
}  // namespace orv
