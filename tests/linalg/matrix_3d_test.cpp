// TMat3D: size, cells, events, fills, search, layer copies and checksum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/components.h"
#include "support/raises.h"

namespace {

using namespace orv;
using test::TChangeCounter;

// Cell (c, r, l) := 100 c + 10 r + l, a value that names its cell.
void FillNamed(TMat3D& A, int32_t Nc, int32_t Nr, int32_t Nl) {
  A.Resize(Nc, Nr, Nl);
  for (int32_t C = 1; C <= Nc; ++C)
    for (int32_t R = 1; R <= Nr; ++R)
      for (int32_t L = 1; L <= Nl; ++L) A.SetVal(C, R, L, 100 * C + 10 * R + L);
}

auto Size(const TMat3D& A) { return std::tuple(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers()); }

TEST(Mat3D, SizeRulesKeepTheOverlapAndNeverReachZero) {
  TMat3D A(nullptr);
  A.SetName("Cube");
  TChangeCounter Ch;
  Ch.Attach(A);
  FillNamed(A, 2, 3, 4);
  EXPECT_TRUE(A.Resize(2, 0, 3));  // refused: nothing changes
  EXPECT_TRUE(A.Resize(2, 3, 4));
  A.Resize(3, 2, 5);  // every axis at once
  for (int32_t C = 1; C <= 3; ++C)
    for (int32_t R = 1; R <= 2; ++R)
      for (int32_t L = 1; L <= 5; ++L)
        EXPECT_EQ(A.Elem(C, R, L), C <= 2 && L <= 4 ? 100 * C + 10 * R + L : 0.0) << C << R << L;
  A.SetNLayers(0);
  A.SetNrOfRows(-4);
  EXPECT_EQ(Size(A), std::tuple(3, 1, 1));
  EXPECT_EQ(A.Elem(2, 1, 1), 211.0);
  EXPECT_EQ(Ch.Count, 4);
  // Outside reads 0 and writes nothing; SetVal fires nothing.
  for (auto [C, R, L] : std::vector<std::tuple<int, int, int>>{
           {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {4, 1, 1}, {1, 2, 1}, {1, 1, 2}, {INT32_MIN, 1, 1}, {1, 1, INT32_MAX}}) {
    A.SetVal(C, R, L, 5.0);
    EXPECT_EQ(A.GetVal(C, R, L), 0.0);
  }
  EXPECT_EQ(Ch.Count, 4);
  for (int32_t L : {INT32_MAX, 2})  // cell counts beyond 64 bits and beyond the address space
    test::ExpectRaises<EORVMatrixError>([&] { A.Resize(INT32_MAX, INT32_MAX, L); },
                                        "Component \"Cube\": not enough memory on heap");
  EXPECT_EQ(Size(A), std::tuple(3, 1, 1));
  EXPECT_EQ(A.Elem(2, 1, 1), 211.0);
  TMat3D B(nullptr);
  test::ExpectRaises<EConvertError>([&] { B.Assign(&A); }, "Cannot assign a TMat3D to a TMat3D");
}

TEST(Mat3D, EventCountsOfFillsAndClone) {
  TMat3D A(nullptr), Src(nullptr);
  FillNamed(Src, 2, 2, 2);
  A.Resize(2, 2, 2);
  TChangeCounter Ch;
  Ch.Attach(A);
  // routine, OnChange calls it adds
  const std::vector<std::pair<std::function<void()>, int>> Steps = {
      {[&] { A.Fill(0.0); }, 0},         {[&] { A.Fill(5.0); }, 0},
      {[&] { A.FillDiag(1.0); }, 1},     {[&] { A.FillRandomUniform(0, 1); }, 1},
      {[&] { A.FillRandomGauss(0, 1); }, 1},
      {[&] { A.Clone(&Src); }, 1},       {[&] { A.Clone(&A); }, 1},
      {[&] { Src.SetNLayers(3); A.Clone(&Src); }, 2},  // plus Resize's
      {[&] { A.Clone(nullptr); }, 0},
      {[&] { A.ResizeAndClear(2, 2, 3); }, 0},  // same size: only Fill, which fires nothing
      {[&] { A.ResizeAndClear(1, 2, 3); }, 1},
  };
  for (std::size_t I = 0; I < Steps.size(); ++I) {
    const int Before = Ch.Count;
    Steps[I].first();
    EXPECT_EQ(Ch.Count - Before, Steps[I].second) << "step " << I;
  }
  EXPECT_EQ(A.Elem(1, 2, 2), 0.0);
  A.Clone(&Src);
  EXPECT_EQ(A.Elem(2, 1, 2), 212.0);
  A.Fill(-0.0);  // a cleared array holds +0.0
  EXPECT_FALSE(std::signbit(A.Elem(1, 1, 1)));
  // A handler that shrinks the target inside Clone's Resize: the cells both hold are copied.
  TMat3D T(nullptr);
  T.OnChange = [&T](TObject*) { T.SetNRows(1); };
  T.Clone(&Src);
  EXPECT_EQ(Size(T), std::tuple(2, 1, 3));
  EXPECT_EQ(T.Elem(2, 1, 2), 212.0);
}

TEST(Mat3D, FillsDrawInColumnRowLayerOrder) {
  TMat3D A(nullptr);
  A.Resize(3, 2, 4);
  SetRandSeed(7);
  A.FillRandomUniform(2.0, 5.0);
  SetRandSeed(7);
  for (int32_t C = 1; C <= 3; ++C)
    for (int32_t R = 1; R <= 2; ++R)
      for (int32_t L = 1; L <= 4; ++L) EXPECT_EQ(A.Elem(C, R, L), 2.0 + Random() * 3.0) << C << R << L;
  A.FillRandomGauss(-1.5, 0.0);
  EXPECT_EQ(A.Elem(3, 2, 4), -1.5);
  A.FillDiag(4.0);
  EXPECT_EQ(A.Elem(1, 1, 1) + A.Elem(2, 2, 2) + A.Elem(3, 2, 3), 4.0 + 4.0 - 1.5);
}

TEST(Mat3D, FindTakesTheFirstNearestCellOfTheClampedBlock) {
  TMat3D A(nullptr);
  FillNamed(A, 3, 3, 3);
  A.SetVal(3, 1, 1, 222.0);  // ties with (2, 2, 2), which comes first
  A.SetVal(1, 3, 3, std::nan(""));
  // bounds (low, high) per axis, value, expected indices
  const struct {
    int32_t B[6];
    double Value;
    int32_t C, R, L;
  } Rows[] = {
      {{0, 0, 0, 0, 0, 0}, 222.0, 2, 2, 2},  {{3, 2, 0, 0, 0, 0}, 222.0, 2, 2, 2},  // reversed bounds
      {{3, 3, 0, 0, 0, 0}, 222.0, 3, 1, 1},  {{0, 0, 0, 0, 0, 0}, 112.5, 1, 1, 2},  // a tie: the first
      {{0, 0, 0, 0, 2, 9}, 111.0, 1, 1, 2},  {{-5, 1, 7, 99, 3, 3}, 0.0, 0, 0, 0},  // only the NaN cell
      {{0, 0, 0, 0, 0, 0}, std::nan(""), 0, 0, 0},
      {{0, 0, 0, 0, 0, 0}, std::numeric_limits<double>::infinity(), 0, 0, 0},
  };
  for (const auto& R : Rows) {
    int32_t C = -1, Rw = -1, L = -1;
    A.Find(R.B[0], R.B[1], R.B[2], R.B[3], R.B[4], R.B[5], R.Value, C, Rw, L);
    EXPECT_EQ(std::tuple(C, Rw, L), std::tuple(R.C, R.R, R.L)) << "value " << R.Value << ", low col " << R.B[0];
  }
}

TEST(Mat3D, LayerCopiesToAndFromMatrices) {
  TMat3D A(nullptr);
  A.SetName("Cube");
  FillNamed(A, 4, 3, 2);
  // Out of the layer, once directly and once through a watching handler.
  TMatrix M(nullptr), W(nullptr);
  TChangeCounter Ch;
  Ch.Attach(W);
  A.CopyLayerToMatrix(&M, 4, 2, 0, 0, 2);  // columns 2..4, all rows, layer 2
  A.CopyLayerToMatrix(&W, 4, 2, 0, 0, 2);
  EXPECT_EQ(Ch.Count, 1 + 9);  // the resize and every cell
  for (TMatrix* D : {&M, &W}) {
    EXPECT_EQ(test::Row(*D, 1), (std::vector<double>{212, 312, 412}));
    EXPECT_EQ(test::Row(*D, 3), (std::vector<double>{232, 332, 432}));
  }
  for (int32_t Layer : {0, 3, -1}) {
    test::ExpectRaises<EORVMatrixError>([&] { A.CopyLayerToMatrix(&M, 0, 0, 0, 0, Layer); },
                                        "Component \"Cube\": specified layer beyond data range");
    test::ExpectRaises<EORVMatrixError>([&] { A.CopyMatrixToLayer(&M, 1, 1, 1, 1, Layer, 1, 1); },
                                        "Component \"Cube\": specified layer beyond data range");
  }
  A.CopyLayerToMatrix(nullptr, 0, 0, 0, 0, 9);
  A.CopyMatrixToLayer(nullptr, 0, 0, 0, 0, 9, 1, 1);

  // Into layer 1: source bounds as given, targets outside dropped.
  TMatrix S(nullptr);
  test::FillRows(S, {{1, 2, 3}, {4, 5, 6}});
  TChangeCounter ChA;
  ChA.Attach(A);
  constexpr int32_t Min = INT32_MIN, Max = INT32_MAX;
  // source bounds, target corner, expected rows 1 and 2 of the layer
  const struct {
    int32_t C1, C2, R1, R2, Col, Row;
    std::vector<double> Row1, Row2;
  } Cases[] = {
      {1, 3, 1, 2, 1, 1, {1, 2, 3, 411}, {4, 5, 6, 421}},
      {1, 3, 1, 2, 0, 1, {2, 3, 311, 411}, {5, 6, 321, 421}},  // LayLowCol 0 skips source column 1
      {0, 4, 1, 1, 1, 1, {0, 1, 2, 3}, {121, 221, 321, 421}},  // outside SrcMat reads 0.0
      {3, 1, 1, 2, 1, 1, {111, 211, 311, 411}, {121, 221, 321, 421}},  // reversed: nothing
      {1, Max, 1, Max, 2, 2, {111, 211, 311, 411}, {121, 1, 2, 3}},  // no walk over 2^31 cells
      {Min, Max, Min, Max, Min, Min, {1, 2, 3, 0}, {4, 5, 6, 0}},
  };
  for (const auto& K : Cases) {
    FillNamed(A, 4, 3, 2);
    A.CopyMatrixToLayer(&S, K.C1, K.C2, K.R1, K.R2, 1, K.Col, K.Row);
    std::vector<double> R1, R2;
    for (int32_t C = 1; C <= 4; ++C) {
      R1.push_back(A.Elem(C, 1, 1));
      R2.push_back(A.Elem(C, 2, 1));
    }
    EXPECT_EQ(std::tuple(R1, R2, A.Elem(1, 1, 2)), std::tuple(K.Row1, K.Row2, 112.0)) << K.C1 << ".." << K.C2;
  }
  EXPECT_EQ(ChA.Count, 0);  // no event, also from the same-size Resize
}

TEST(Mat3D, CRCofDataAndBlockVisitsFollowColumnRowLayer) {
  TMat3D A(nullptr);
  // zlib.crc32 of byte k of struct.pack('<d', v) over the cells, k = 0..7,
  // printed '%08X' each: a single 0.0, then 100 c + 10 r + l + 0.5 for c in
  // 1..2, r in 1..3, l in 1..2 (layer fastest).
  EXPECT_EQ(A.CRCofData(), "D202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8D");
  FillNamed(A, 2, 3, 2);
  std::vector<double> Seen;
  A.VisitBlock(0, 0, 0, 0, 0, 0, [&](int32_t C, int32_t R, std::span<const double> Run) {
    for (std::size_t L = 0; L < Run.size(); ++L) A.SetVal(C, R, static_cast<int32_t>(L) + 1, Run[L] + 0.5);
  });
  EXPECT_EQ(A.CRCofData(), "7BD5C66F7BD5C66F7BD5C66F7BD5C66F7BD5C66F80D38BC22A8B99928AC0520E");
  A.VisitBlock(2, 2, 3, 2, 2, 2, [&](int32_t C, int32_t R, std::span<const double> Run) {
    Seen.insert(Seen.end(), Run.begin(), Run.end());
    Seen.push_back(C * 10 + R);
  });
  EXPECT_EQ(Seen, (std::vector<double>{222.5, 22, 232.5, 23}));
  EXPECT_TRUE(A.LayerRun(3, 1).empty());
}

}  // namespace
