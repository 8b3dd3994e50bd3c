// TMat4D: size, cells, events, addresses, copying between arrays, XML step.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace {

using namespace orv;
using test::FillNamed4D;
using test::TChangeCounter;


auto Size(const TMat4D& A) { return std::tuple(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), A.NrOfTimeSlots()); }

TEST(Mat4D, SizeRulesKeepTheOverlapAndNeverReachZero) {
  TMat4D A(nullptr);
  A.SetName("Tesseract");
  EXPECT_EQ(A.Elem(1, 1, 1, 1), 0.0);
  TChangeCounter Ch;
  Ch.Attach(A);
  FillNamed4D(A, 2, 2, 1, 1);
  EXPECT_TRUE(A.Resize(2, 2, 0, 1));  // refused: nothing changes
  EXPECT_TRUE(A.Resize(2, 2, 1, 1));
  EXPECT_EQ(Ch.Count, 1);
  A.Resize(3, 3, 2, 1);
  for (int32_t C = 1; C <= 3; ++C)
    for (int32_t R = 1; R <= 3; ++R)
      for (int32_t L = 1; L <= 2; ++L)
        EXPECT_EQ(A.Elem(C, R, L, 1), C <= 2 && R <= 2 && L == 1 ? 1000 * C + 100 * R + 11 : 0.0) << C << R << L;
  A.SetNrOfTimeSlots(3);
  A.SetNrOfLayers(0);
  A.SetNrOfRows(-4);
  A.SetNrOfColumns(2);
  EXPECT_EQ(Size(A), std::tuple(2, 1, 1, 3));
  EXPECT_EQ(A.Elem(2, 1, 1, 1), 2111.0);
  EXPECT_EQ(A.MemoryConsumed(), 2.0 * 3 * 8 / 1048576);
  const int Changes = Ch.Count;
  // Outside reads 0 and writes nothing; SetVal fires nothing.
  for (auto [C, R, L, T] : std::vector<std::tuple<int, int, int, int>>{
           {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 0, 1}, {1, 1, 1, 0}, {3, 1, 1, 1}, {1, 2, 1, 1}, {1, 1, 2, 1},
           {1, 1, 1, 4}, {INT32_MIN, 1, 1, 1}, {1, 1, 1, INT32_MAX}}) {
    A.SetVal(C, R, L, T, 5.0);
    EXPECT_EQ(A.GetVal(C, R, L, T), 0.0);
  }
  A.SetElem(1, 1, 1, 3, 7.5);
  EXPECT_EQ(A.Elem(1, 1, 1, 3), 7.5);
  EXPECT_EQ(A.ColumnRun(1, 1, 3).size(), 2u);
  EXPECT_TRUE(A.ColumnRun(2, 1, 1).empty());
  EXPECT_EQ(Ch.Count, Changes);
  for (int32_t L : {INT32_MAX, 64})  // cell counts beyond 64 bits and beyond the address space
    test::ExpectRaises<EORVMatrixError>([&] { A.Resize(INT32_MAX, INT32_MAX, L, 2); },
                                        "Component \"Tesseract\": not enough memory on heap");
  EXPECT_EQ(Size(A), std::tuple(2, 1, 1, 3));
  EXPECT_EQ(A.Elem(1, 1, 1, 3), 7.5);
  EXPECT_EQ(Ch.Count, Changes);
}

TEST(Mat4D, EventCountsOfResizeCloneAndAssign) {
  TMat4D A(nullptr), Src(nullptr);
  FillNamed4D(Src, 2, 3, 2, 2);
  A.Resize(2, 3, 2, 2);
  TChangeCounter Ch;
  Ch.Attach(A);
  // routine, OnChange calls it adds
  const std::vector<std::pair<std::function<void()>, int>> Steps = {
      {[&] { A.Clone(&Src); }, 1},
      {[&] { A.Clone(&A); }, 1},
      {[&] { A.Clone(nullptr); }, 0},
      {[&] { A.ResizeAndClear(2, 3, 2, 2); }, 1},  // same size: still cleared
      {[&] { Src.SetNrOfLayers(3); A.Clone(&Src); }, 2},  // plus Resize's
      {[&] { A.ResizeAndClear(1, 3, 2, 2); }, 2},
  };
  for (std::size_t I = 0; I < Steps.size(); ++I) {
    const int Before = Ch.Count;
    if (I == 3) A.SetVal(2, 3, 2, 2, 1.0);
    Steps[I].first();
    EXPECT_EQ(Ch.Count - Before, Steps[I].second) << "step " << I;
    if (I == 3) {
      EXPECT_EQ(A.Elem(2, 3, 2, 2), 0.0);
    }
  }
  {
    // Clone reports its source's (column, row) positions: 6 of them, step 1.
    test::TPassCounter Passes;
    A.Clone(&Src);
    EXPECT_EQ(Passes.Passes(), 6.0);
  }
  EXPECT_EQ(A.Elem(2, 3, 2, 2), 2322.0);
  // A handler that shrinks the target inside Clone's Resize: the cells both hold are copied.
  TMat4D T(nullptr);
  T.OnChange = [&T](TObject*) { T.SetNrOfRows(1); };
  T.Clone(&Src);
  EXPECT_EQ(Size(T), std::tuple(2, 1, 3, 2));
  EXPECT_EQ(T.Elem(2, 1, 2, 2), 2122.0);

  // Assign takes sizes, cells, DataID and the three handlers, fires nothing.
  Src.SetDataID("run 7");
  int Changes = 0, Percent = 0, Reads = 0;
  Src.OnChange = [&](TObject*) { ++Changes; };
  Src.OnPercentDone = [&](TObject*, int32_t) { ++Percent; };
  Src.OnReadElement = [&](TObject*, int32_t, int32_t, int32_t, int32_t, double) { ++Reads; };
  TMat4D D(nullptr);
  D.Assign(&Src);
  Src.AssignTo(&A);
  EXPECT_EQ(Changes, 0);
  for (TMat4D* M : {&D, &A}) {
    EXPECT_EQ(Size(*M), std::tuple(2, 3, 3, 2));
    EXPECT_EQ(M->Elem(2, 3, 2, 2), 2322.0);
    EXPECT_EQ(M->DataID(), "run 7");
    M->OnChange(M);
    M->OnPercentDone(M, 1);
    M->OnReadElement(M, 1, 1, 1, 1, 0.0);
  }
  EXPECT_EQ(std::tuple(Changes, Percent, Reads), std::tuple(2, 2, 2));
  TMatrix M(nullptr);
  test::ExpectRaises<EConvertError>([&] { D.Assign(&M); }, "Cannot assign a TMatrix to a TMat4D");
  test::ExpectRaises<EConvertError>([&] { D.AssignTo(&M); }, "Cannot assign a TMat4D to a TMatrix");
}

TEST(Mat4D, LinearAddressesWithinATimeSlot) {
  TMat4D A(nullptr);
  A.Resize(4, 3, 5, 2);
  // (ix, iy, il), address: np.ravel_multi_index((iy-1, ix-1, il-1), (3, 4, 5)); -1 outside
  const struct {
    int32_t X, Y, L, Addr;
  } Rows[] = {{2, 3, 4, 48}, {1, 1, 1, 0}, {4, 3, 5, 59}, {4, 1, 2, 16}, {1, 2, 1, 20},
              {5, 1, 1, -1}, {0, 1, 1, -1}, {1, 4, 1, -1}, {1, 1, 6, -1}, {1, 1, INT32_MIN, -1}};
  for (const auto& R : Rows) {
    EXPECT_EQ(A.Lin3DAddr(R.X, R.Y, R.L), R.Addr) << R.X << R.Y << R.L;
    int32_t X = -7, Y = -7, L = -7;
    if (R.Addr < 0) continue;
    EXPECT_TRUE(A.ConvertLinTo3DAddr(R.Addr, X, Y, L));
    EXPECT_EQ(std::tuple(X, Y, L), std::tuple(R.X, R.Y, R.L));
  }
  for (int32_t Addr : {-1, 60, INT32_MAX, INT32_MIN}) {
    int32_t X = -7, Y = -7, L = -7;
    EXPECT_FALSE(A.ConvertLinTo3DAddr(Addr, X, Y, L));
    EXPECT_EQ(std::tuple(X, Y, L), std::tuple(-7, -7, -7));
  }
}

TEST(Mat4D, XmlStepSizesOnTheFirstCellAndRefusesBadCounts) {
  TMat4D A(nullptr);
  A.SetName("Xml4");
  const auto Announce = [&](int32_t C, int32_t R, int32_t L, int32_t T) {
    A.FirstCell = true;
    EXPECT_EQ(A.ProcessXmlTag(xmlMatBegin, "", ""), 0);
    EXPECT_EQ(A.ProcessXmlTag(xmlMatNumCols, "", std::to_string(C)), 0);
    EXPECT_EQ(A.ProcessXmlTag(xmlMatNumRows, "", std::to_string(R)), 0);
    EXPECT_EQ(A.ProcessXmlTag(xmlMatNumLayers, "", std::to_string(L)), 0);
    EXPECT_EQ(A.ProcessXmlTag(xmlMatNumTimeSlots, "", std::to_string(T)), 0);
  };
  Announce(3, 2, 0, 4);  // an announced 0 becomes 1
  EXPECT_EQ(Size(A), std::tuple(1, 1, 1, 1));
  EXPECT_EQ(A.ProcessXmlTag(xmlMatCell, "ix=\"3\" iy=\"2\" il=\"1\" it=\"4\"", "2.5e1"), 0);
  EXPECT_EQ(A.ProcessXmlTag(xmlMatCell, "ix=\"1\" iy=\"1\" it=\"1\"", "9"), 0);  // no il: no cell
  EXPECT_EQ(A.ProcessXmlTag(xmlMatCell, "it=\"2\" il=\"1\" iy=\"1\" ix=\"2\"", "-1.5"), 0);
  EXPECT_EQ(A.ProcessXmlTag(xmlMatCell, "ix=\"4\" iy=\"1\" il=\"1\" it=\"1\"", "9"), 0);  // outside: ignored
  EXPECT_EQ(A.ProcessXmlTag(xmlMatEnd, "", ""), 1);
  EXPECT_EQ(A.ProcessXmlTag(xmlInvalid, "", ""), -1);
  EXPECT_EQ(Size(A), std::tuple(3, 2, 1, 4));
  EXPECT_EQ(A.Elem(3, 2, 1, 4) + A.Elem(2, 1, 1, 2) + A.Elem(1, 1, 1, 1), 23.5);
  // A negative count, or more cells than the limit, are refused; counts that
  // this word size cannot address at all raise before allocating.
  Announce(-1, 2, 2, 2);
  EXPECT_EQ(A.ProcessXmlTag(xmlMatCell, "ix=\"1\" iy=\"1\" il=\"1\" it=\"1\"", "1"), -1);
  A.XmlCellLimit = 100;
  Announce(5, 5, 3, 2);
  EXPECT_EQ(A.ProcessXmlTag(xmlMatCell, "ix=\"1\" iy=\"1\" il=\"1\" it=\"1\"", "1"), -1);
  Announce(INT32_MAX, INT32_MAX, INT32_MAX, 2);
  test::ExpectRaises<EORVMatrixError>(
      [&] { A.ProcessXmlTag(xmlMatCell, "ix=\"1\" iy=\"1\" il=\"1\" it=\"1\"", "1"); },
      "Component \"Xml4\": not enough memory on heap");
  EXPECT_EQ(Size(A), std::tuple(3, 2, 1, 4));
  EXPECT_EQ(A.Elem(3, 2, 1, 4), 25.0);
}

}  // namespace
