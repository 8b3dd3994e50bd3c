// TIntMatrix core: both storages, the sparse list, the switches between them,
// sizes, fills, transposition, cloning, the XML step and their events.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"
#include "support/raises.h"

namespace {

using orv::TIntMatrix;
using orv::TSpMatElemInt;
using orv::test::TChangeCounter;
using TCell = std::tuple<int32_t, int32_t, int32_t>;  // column, row, value

std::vector<TCell> List(const TIntMatrix& M) {
  std::vector<TCell> L;
  for (const TSpMatElemInt& E : M.SpMat) L.emplace_back(E.colidx, E.rowidx, E.value);
  EXPECT_EQ(std::ssize(L), M.SparseNumElem());
  return L;
}

std::string Size(const TIntMatrix& M) {
  return std::to_string(M.NrOfColumns()) + "x" + std::to_string(M.NrOfRows());
}

void Put(TIntMatrix& M, const std::vector<TCell>& Cells) {
  for (auto [C, R, V] : Cells) M.SetVal(C, R, V);
}

const std::string NoHeap = "Component \"Int1\": not enough memory on heap";

// 30 writes (overwrites and a stored 0 among them), drawn by NumPy
// (default_rng(14)); the list is scipy.sparse's: COO of the last value per
// position, tocsc(), sort_indices(), read column by column.
const std::vector<TCell> Writes = {
    {2, 5, 2},  {3, 1, 2},  {3, 6, -2}, {5, 2, 1},  {1, 5, -4}, {6, 5, 0},  {6, 4, 4},  {6, 6, -5},
    {1, 4, 2},  {6, 5, -1}, {6, 4, -4}, {2, 5, 2},  {7, 6, 3},  {3, 4, 0},  {2, 6, 5},  {4, 2, -1},
    {4, 5, 5},  {1, 1, -4}, {1, 6, -2}, {2, 1, -5}, {7, 6, -4}, {6, 5, 5},  {7, 5, 5},  {7, 2, -2},
    {5, 5, 1},  {2, 1, 4},  {4, 5, -2}, {2, 5, -3}, {7, 2, -4}, {6, 1, 2}};
const std::vector<TCell> WritesCsc = {
    {1, 1, -4}, {1, 4, 2},  {1, 5, -4}, {1, 6, -2}, {2, 1, 4},  {2, 5, -3}, {2, 6, 5},
    {3, 1, 2},  {3, 4, 0},  {3, 6, -2}, {4, 2, -1}, {4, 5, -2}, {5, 2, 1},  {5, 5, 1},
    {6, 1, 2},  {6, 4, -4}, {6, 5, 5},  {6, 6, -5}, {7, 2, -4}, {7, 5, 5},  {7, 6, -4}};
// The same, transposed: m.T.tocsc() sorted.
const std::vector<TCell> WritesCscT = {
    {1, 1, -4}, {1, 2, 4},  {1, 3, 2},  {1, 6, 2},  {2, 4, -1}, {2, 5, 1},  {2, 7, -4},
    {4, 1, 2},  {4, 3, 0},  {4, 6, -4}, {5, 1, -4}, {5, 2, -3}, {5, 4, -2}, {5, 5, 1},
    {5, 6, 5},  {5, 7, 5},  {6, 1, -2}, {6, 2, 5},  {6, 3, -2}, {6, 6, -5}, {6, 7, -4}};
// m.toarray(), as rows.
const std::vector<std::vector<double>> WritesDense = {
    {-4, 4, 2, 0, 0, 2, 0},  {0, 0, 0, -1, 1, 0, -4}, {0, 0, 0, 0, 0, 0, 0},    {2, 0, 0, 0, 0, -4, 0},
    {-4, -3, 0, -2, 1, 5, 5}, {-2, 5, -2, 0, 0, -5, -4}};

TEST(IntMatrix, DenseStartsOneByOneAndKeepsCellsInside) {
  TIntMatrix M(nullptr);
  EXPECT_EQ(M.ClassName(), "TIntMatrix");
  EXPECT_FALSE(M.IsSparse());
  EXPECT_EQ(Size(M), "1x1");
  EXPECT_EQ(M.SparseNumElem(), 0);
  ASSERT_EQ(M.Mat.size(), 1u);
  M.Resize(3, 2);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.SetElem(3, 2, -7);
  for (auto [C, R] : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {4, 1}, {1, 3}, {INT32_MIN, 1}}) {
    M.SetVal(C, R, 99);
    EXPECT_EQ(M.GetVal(C, R), 0) << C << "," << R;
  }
  EXPECT_EQ(M.Elem(3, 2), -7);
  EXPECT_EQ(Ch.Count, 1);
  M.SetNrOfColumns(-3);  // a negative count becomes 0; one cell stays stored
  EXPECT_EQ(Size(M), "0x2");
  EXPECT_EQ(M.Mat.size(), 1u);
  orv::TComponent Owner(nullptr);
  new TIntMatrix(&Owner, 5);
  EXPECT_EQ(Owner.ComponentCount(), 1);
  // The platform's Assign: an integer matrix copies itself only through Clone.
  TIntMatrix S(nullptr);
  EXPECT_THROW(M.Assign(&S), orv::EConvertError);
}

TEST(IntMatrix, SparseListKeepsOrderCountsAndEvents) {
  TIntMatrix M(nullptr, 0);
  EXPECT_TRUE(M.IsSparse());
  EXPECT_TRUE(M.Mat.empty());
  EXPECT_EQ(Size(M), "0x0");
  TChangeCounter Ch;
  Ch.Attach(M);
  M.SetVal(3, 5, 7);
  EXPECT_EQ(Size(M), "3x5");
  EXPECT_EQ(M.GetVal(2, 2), 0);
  EXPECT_EQ(M.GetVal(3, 5), 7);
  M.Fill(0);  // empties the list, keeps the counts
  Ch.Count = 0;
  Put(M, {{2, 1, 1}, {1, 3, 2}, {2, 0, 3}, {0, 2, 3}, {1, 1, 4}});
  EXPECT_EQ(List(M), (std::vector<TCell>{{1, 1, 4}, {1, 3, 2}, {2, 1, 1}}));
  EXPECT_EQ(Ch.Count, 3);  // the writes at row or column 0 are ignored silently
  M.SetVal(1, 1, 0);       // a stored 0 stays stored
  EXPECT_EQ(M.SparseNumElem(), 3);
  EXPECT_EQ(Ch.Count, 4);
  // Reads outside the bounds and at positions between the stored ones.
  for (auto [C, R] : std::vector<std::pair<int, int>>{{1, 2}, {2, 2}, {3, 1}, {0, 0}, {-1, 3}, {INT32_MAX, 1}})
    EXPECT_EQ(M.GetVal(C, R), 0) << C << "," << R;

  TIntMatrix S(nullptr, 4);
  Put(S, Writes);
  EXPECT_EQ(List(S), WritesCsc);
  EXPECT_EQ(Size(S), "7x6");
  for (auto [C, R, V] : WritesCsc) EXPECT_EQ(S.GetVal(C, R), V) << C << "," << R;
}

TEST(IntMatrix, SparseReadsAgreeWithAMapHoweverTheColumnsSpread) {
  // Columns near each other, growing at both ends, then far apart (more
  // columns than cells), then dense again; every position of the rows and
  // columns written, and their neighbours, read against a std::map.
  TIntMatrix M(nullptr, 1);
  std::map<std::pair<int32_t, int32_t>, int32_t> Model;
  std::set<int32_t> Cols, Rows;
  const auto Check = [&](const char* Stage) {
    for (int32_t C : Cols)
      for (int32_t R : Rows)
        for (int32_t Dc : {-1, 0, 1})
          for (int32_t Dr : {-1, 0, 1}) {
            const auto It = Model.find({C + Dc, R + Dr});
            ASSERT_EQ(M.GetVal(C + Dc, R + Dr), It == Model.end() ? 0 : It->second)
                << Stage << " " << C + Dc << "," << R + Dr;
          }
  };
  const auto Write = [&](int32_t C, int32_t R, int32_t V) {
    M.SetVal(C, R, V);
    Model[{C, R}] = V;
    Cols.insert(C);
    Rows.insert(R);
  };
  for (int32_t I = 0; I < 40; ++I) Write(50 + (I % 2 ? I : -I), I % 7 + 1, I + 1);
  Check("near");
  for (int32_t I = 1; I <= 20; ++I) Write(I * 100000, I % 3 + 1, -I);
  Check("far");
  for (int32_t C = 1; C <= 300; ++C) Write(C, C % 5 + 1, C);
  Check("dense again");
  M.Resize(150, 4);
  std::erase_if(Model, [](const auto& E) { return E.first.first > 150 || E.first.second > 4; });
  Check("cut");
  M.Transpose();
  std::map<std::pair<int32_t, int32_t>, int32_t> T;
  for (const auto& [P, V] : Model) T[{P.second, P.first}] = V;
  Model.swap(T);
  Cols.swap(Rows);
  Check("transposed");
}

TEST(IntMatrix, SparseResizeCutsCellsAndCountsFollowTheNextInsertion) {
  TIntMatrix M(nullptr, 3);
  Put(M, {{1, 1, 1}, {3, 1, 2}, {2, 4, 3}});
  TChangeCounter Ch;
  Ch.Attach(M);
  EXPECT_FALSE(M.Resize(10, 10));
  EXPECT_EQ(Size(M), "10x10");
  M.SetVal(3, 1, 9);  // an overwrite keeps the counts
  EXPECT_EQ(Size(M), "10x10");
  M.SetVal(2, 2, 5);  // an insertion takes the stored bounds again
  EXPECT_EQ(Size(M), "3x4");
  EXPECT_FALSE(M.Resize(2, 2));
  EXPECT_EQ(List(M), (std::vector<TCell>{{1, 1, 1}, {2, 2, 5}}));
  EXPECT_FALSE(M.ResizeAndClear(5, 5));  // a sparse matrix is never cleared
  EXPECT_EQ(M.SparseNumElem(), 2);
  EXPECT_EQ(Ch.Count, 2);  // the two writes only
  M.SetNrOfRows(-4);
  EXPECT_EQ(Size(M), "5x0");
  EXPECT_EQ(M.SparseNumElem(), 0);
}

TEST(IntMatrix, DenseResizeFiresOnRealChangeOnly) {
  TIntMatrix M(nullptr);
  M.SetName("Int1");
  orv::test::FillRows(M, {{1, 2}, {3, 4}});
  TChangeCounter Ch;
  Ch.Attach(M);
  EXPECT_FALSE(M.Resize(2, 2));
  EXPECT_FALSE(M.ResizeAndClear(2, 2));  // the current size: the cells stay
  EXPECT_EQ(Ch.Count, 0);
  EXPECT_EQ(orv::test::AllRows(M), (std::vector<std::vector<int32_t>>{{1, 2}, {3, 4}}));
  EXPECT_TRUE(M.Resize(3, 1));
  EXPECT_EQ(orv::test::AllRows(M), (std::vector<std::vector<int32_t>>{{1, 2, 0}}));
  EXPECT_TRUE(M.ResizeAndClear(3, 2));
  EXPECT_EQ(orv::test::AllRows(M), (std::vector<std::vector<int32_t>>{{0, 0, 0}, {0, 0, 0}}));
  EXPECT_EQ(Ch.Count, 3);
  orv::test::ExpectRaises<orv::EORVMatrixError>([&] { M.Resize(INT32_MAX, INT32_MAX); }, NoHeap);
  EXPECT_EQ(Size(M), "3x2");
  EXPECT_EQ(Ch.Count, 3);
}

TEST(IntMatrix, FillOfBothStorages) {
  TIntMatrix S(nullptr, 1);
  Put(S, {{2, 3, 1}, {4, 1, 2}});
  TIntMatrix D(nullptr);
  D.Resize(2, 2);
  TChangeCounter ChS, ChD;
  ChS.Attach(S);
  ChD.Attach(D);
  S.Fill(5);
  EXPECT_EQ(List(S), (std::vector<TCell>{{2, 3, 5}, {4, 1, 5}}));
  EXPECT_EQ(S.GetVal(1, 1), 0);
  S.Fill(0);
  EXPECT_EQ(S.SparseNumElem(), 0);
  EXPECT_EQ(Size(S), "4x3");
  S.SetVal(1, 1, 8);  // the bounds start afresh
  EXPECT_EQ(Size(S), "1x1");
  D.Fill(-6);
  EXPECT_EQ(orv::test::AllRows(D), (std::vector<std::vector<int32_t>>{{-6, -6}, {-6, -6}}));
  EXPECT_EQ(ChS.Count, 3);
  EXPECT_EQ(ChD.Count, 1);
}

TEST(IntMatrix, TransposeOfBothStorages) {
  TIntMatrix S(nullptr, 2);
  Put(S, {{1, 3, 1}, {2, 1, 2}});
  TChangeCounter Ch;
  Ch.Attach(S);
  EXPECT_TRUE(S.Transpose());
  EXPECT_EQ(List(S), (std::vector<TCell>{{1, 2, 2}, {3, 1, 1}}));
  EXPECT_EQ(Size(S), "3x2");
  EXPECT_EQ(Ch.Count, 1);
  TIntMatrix W(nullptr, 2);
  Put(W, Writes);
  W.Transpose();
  EXPECT_EQ(List(W), WritesCscT);
  EXPECT_EQ(Size(W), "6x7");

  TIntMatrix D(nullptr);
  orv::test::FillRows(D, {{1, 2, 3}, {4, 5, 6}});
  Ch.Attach(D);
  Ch.Count = 0;
  EXPECT_TRUE(D.Transpose());
  EXPECT_EQ(orv::test::AllRows(D), (std::vector<std::vector<int32_t>>{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_EQ(Ch.Count, 1);
  // A count of 0 still keeps one stored cell.
  D.Resize(0, 3);
  EXPECT_TRUE(D.Transpose());
  EXPECT_EQ(Size(D), "3x0");
  ASSERT_EQ(D.Mat.size(), 3u);
  EXPECT_EQ(D.Mat[0].size(), 1u);
}

TEST(IntMatrix, SwitchingStoragesRoundTripsWithoutEvents) {
  TIntMatrix M(nullptr);
  orv::test::FillRows(M, {{0, 0}, {4, 9}});
  TChangeCounter Ch;
  Ch.Attach(M);
  M.ArrayToSparse(0);
  EXPECT_TRUE(M.IsSparse());
  EXPECT_TRUE(M.Mat.empty());
  EXPECT_EQ(List(M), (std::vector<TCell>{{1, 2, 4}, {2, 2, 9}}));
  M.ArrayToSparse(3);  // already sparse: nothing
  M.SparseToArray();
  EXPECT_FALSE(M.IsSparse());
  EXPECT_TRUE(M.SpMat.empty());
  EXPECT_EQ(orv::test::AllRows(M), (std::vector<std::vector<int32_t>>{{0, 0}, {4, 9}}));
  M.SparseToArray();  // already dense: nothing
  EXPECT_EQ(Ch.Count, 0);

  // The scipy list back to its toarray(); zero rows and columns at the end
  // of a dense matrix stay as counts.
  TIntMatrix W(nullptr, 1);
  Put(W, Writes);
  W.SparseToArray();
  TIntMatrix R(nullptr);
  orv::test::FillRows(R, WritesDense);
  EXPECT_EQ(orv::test::AllRows(W), orv::test::AllRows(R));
  W.Resize(9, 8);
  W.ArrayToSparse(1);
  // csc_matrix(m.toarray()): the list without the stored 0.
  std::vector<TCell> NoZeros = WritesCsc;
  std::erase_if(NoZeros, [](const TCell& E) { return std::get<2>(E) == 0; });
  EXPECT_EQ(List(W), NoZeros);
  EXPECT_EQ(Size(W), "9x8");

  // An empty list after Resize(0, 0): a dense 0 x 0 keeps its one stored cell.
  W.Resize(0, 0);
  W.SparseToArray();
  EXPECT_EQ(Size(W), "0x0");
  ASSERT_EQ(W.Mat.size(), 1u);
  EXPECT_EQ(W.Mat[0].size(), 1u);
}

TEST(IntMatrix, SizesFromIndicesAndAllocByAreBounded) {
  // Far positions: the dense size is counted in 64 bits and refused as a
  // whole; the matrix stays sparse with its cells.
  TIntMatrix M(nullptr, 1);
  M.SetName("Int1");
  Put(M, {{INT32_MAX, 2, 1}, {3, INT32_MAX, 2}});
  EXPECT_EQ(Size(M), "2147483647x2147483647");
  orv::test::ExpectRaises<orv::EORVMatrixError>([&] { M.SparseToArray(); }, NoHeap);
  EXPECT_TRUE(M.IsSparse());
  EXPECT_EQ(List(M), (std::vector<TCell>{{3, INT32_MAX, 2}, {INT32_MAX, 2, 1}}));
  // 65536 x 65537 cells pass 2^32: a 32-bit product would wrap to a small size.
  TIntMatrix W(nullptr, 1);
  W.SetName("Int1");
  W.SetVal(65536, 65537, 1);
  if (sizeof(void*) == 4) orv::test::ExpectRaises<orv::EORVMatrixError>([&] { W.SparseToArray(); }, NoHeap);

  // The capacity grows with the cells, geometrically, whatever AllocBy says.
  TIntMatrix Huge(nullptr, 2000000000);
  EXPECT_EQ(Huge.SpMat.capacity(), 0u);
  Huge.SetVal(1, 1, 1);
  EXPECT_LE(Huge.SpMat.capacity(), 2u);
  TIntMatrix One(nullptr, 1);
  std::set<std::size_t> Capacities;
  for (int32_t I = 1; I <= 4000; ++I) {
    One.SetVal(I % 61 + 1, I, I);
    Capacities.insert(One.SpMat.capacity());
  }
  EXPECT_LT(Capacities.size(), 30u);  // a reallocation per AllocBy step would be 4000
  EXPECT_LE(One.SpMat.capacity(), 8000u);
}

TEST(IntMatrix, CloneWithinOneStorageKind) {
  TIntMatrix S(nullptr, 2), T(nullptr, 1), D(nullptr), E(nullptr);
  Put(S, {{2, 3, 4}, {1, 1, 1}});
  S.Resize(5, 5);
  orv::test::FillRows(D, {{1, 2}, {3, 4}});
  TChangeCounter ChT, ChD, ChE;
  ChT.Attach(T);
  ChD.Attach(D);
  ChE.Attach(E);
  D.Clone(&S);  // other storage kind: nothing
  D.Clone(nullptr);
  S.Clone(&E);
  EXPECT_EQ(ChD.Count, 0);
  EXPECT_EQ(S.SparseNumElem(), 2);
  T.Clone(&S);
  EXPECT_EQ(List(T), (std::vector<TCell>{{1, 1, 1}, {2, 3, 4}}));
  EXPECT_EQ(Size(T), "5x5");
  T.SetVal(4, 2, 1);  // the bounds came along: (4, 2) lies inside them
  EXPECT_EQ(Size(T), "4x3");
  EXPECT_EQ(ChT.Count, 2);
  E.Clone(&D);  // per cell, once in Resize and once at the end
  EXPECT_EQ(orv::test::AllRows(E), orv::test::AllRows(D));
  EXPECT_EQ(ChE.Count, 4 + 1 + 1);
}

TEST(IntMatrix, XmlStepWithIntegerCells) {
  using orv::TMatXmlTag;
  // (tag, attributes, content, result); both storages read the same text.
  const std::vector<std::tuple<TMatXmlTag, std::string, std::string, int>> Text = {
      {orv::xmlMatNumCols, "", "3", 0},          {orv::xmlMatNumRows, "", " 2", 0},
      {orv::xmlMatCell, "ix=\"3\" iy=\"2\"", "-17", 0}, {orv::xmlMatCell, "iy=\"1\" ix=\"1\"", "2.9e3", 0},
      {orv::xmlMatCell, "ix=\"2\"", "5", 0},     {orv::xmlMatCell, "ix=\"9\" iy=\"1\"", "99999999999", 0},
      {orv::xmlMatNumCols, "", "7", 0},          {orv::xmlMatBegin, "", "", 0},
      {orv::xmlMatEnd, "", "", 1}};
  TIntMatrix D(nullptr), S(nullptr, 1);
  for (TIntMatrix* M : {&D, &S}) {
    M->FirstCell = true;
    for (const auto& [Tag, Attr, Content, Result] : Text) EXPECT_EQ(M->ProcessXmlTag(Tag, Attr, Content), Result);
    EXPECT_EQ(M->GetVal(3, 2), -17);
    EXPECT_EQ(M->GetVal(1, 1), 2);  // the integer before the point
    EXPECT_EQ(M->GetVal(2, 1), 0);  // a cell without iy is ignored
  }
  EXPECT_EQ(Size(D), "3x2");
  EXPECT_EQ(D.GetVal(9, 1), 0);
  // The sparse matrix grows with its cells: (9, 1) saturates to 2147483647.
  EXPECT_EQ(S.GetVal(9, 1), INT32_MAX);
  EXPECT_EQ(Size(S), "9x2");
  EXPECT_EQ(D.ProcessXmlTag(orv::xmlInvalid, "", ""), -1);
  // Announced sizes beyond the limit are refused for either storage.
  for (TIntMatrix* M : {&D, &S}) {
    M->FirstCell = true;
    M->XmlCellLimit = 100;
    M->ProcessXmlTag(orv::xmlMatNumCols, "", "11");
    M->ProcessXmlTag(orv::xmlMatNumRows, "", "10");
    EXPECT_EQ(M->ProcessXmlTag(orv::xmlMatCell, "ix=\"1\" iy=\"1\"", "1"), -1);
    EXPECT_TRUE(M->FirstCell);
  }
  EXPECT_EQ(Size(D), "3x2");
}

}  // namespace
