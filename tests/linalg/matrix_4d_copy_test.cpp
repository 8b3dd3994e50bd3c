// TMat4D: the copies into and out of the array; the free routines between
// 3-D arrays, matrices and 2-D arrays.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace {

using namespace orv;
using test::FillNamed4D;
using test::Named4D;
using test::TChangeCounter;

TEST(Mat4DCopy, CopyFromReadsTheSourceAsItWas) {
  TMat4D A(nullptr);
  A.Resize(5, 1, 1, 1);
  // source columns, target column, result (a copy from the unchanged array)
  const struct {
    int32_t Lo, Hi, Dest;
    std::vector<double> Want;
  } Rows[] = {
      {1, 3, 2, {1, 1, 2, 3, 5}}, {2, 4, 1, {2, 3, 4, 4, 5}}, {3, 1, 4, {1, 2, 3, 1, 2}},  // reversed: clamped, cut
      {0, 0, 0, {2, 3, 4, 5, 5}},  // the whole axis; column 0 is outside
  };
  for (const auto& R : Rows) {
    for (int32_t C = 1; C <= 5; ++C) A.SetVal(C, 1, 1, 1, C);
    A.CopyFrom(&A, R.Lo, R.Hi, 0, 0, 0, 0, 0, 0, R.Dest, 1, 1, 1);
    EXPECT_EQ(test::Row4D(A, 1, 1, 1), R.Want) << R.Lo << ".." << R.Hi << " to " << R.Dest;
  }
  TMat4D S(nullptr);
  FillNamed4D(S, 3, 3, 2, 2);
  A.Resize(3, 3, 2, 2);
  A.Fill(0.0);
  TChangeCounter Ch;
  Ch.Attach(A);
  test::TPassCounter Passes;
  A.CopyFrom(&S, 0, 0, 2, 3, 2, 9, 2, 2, 2, 1, 1, 2);  // rows 2..3, layer 2, time slot 2 to (2, 1, 1, 2)
  EXPECT_EQ(Passes.Passes(), 6.0);  // 3 x 2 source positions
  EXPECT_EQ(Ch.Count, 1);
  EXPECT_EQ(std::tuple(A.Elem(2, 1, 1, 2), A.Elem(3, 2, 1, 2), A.Elem(1, 1, 1, 2)), std::tuple(1222.0, 2322.0, 0.0));
  EXPECT_EQ(A.Sum(0, 0, 0, 0, 0, 0, 0, 0), 1222 + 1322 + 2222 + 2322);
  A.CopyFrom(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1);
  EXPECT_EQ(Ch.Count, 1);
}

TEST(Mat4DCopy, CopiesOutOfTheArray) {
  TMat4D A(nullptr);
  A.SetName("Out");
  FillNamed4D(A, 4, 3, 3, 2);
  TDouble3DArray D3 = {{{9}}};
  EXPECT_EQ(A.CopyTimeSlotToArray(D3, 0, 0, 0, 0, 0, 0, 3), -1);
  EXPECT_EQ(D3, (TDouble3DArray{{{9}}}));
  EXPECT_EQ(A.CopyTimeSlotToArray(D3, 2, 3, 3, 3, 3, 2, 2), 0);  // [column][row][layer]
  EXPECT_EQ(D3, (TDouble3DArray{{{2322, 2332}}, {{3322, 3332}}}));
  TMat3D M3(nullptr);
  A.CopyTimeSlotToMat3D(&M3, 2, 3, 3, 3, 3, 2, 2);
  EXPECT_EQ(std::tuple(M3.NrOfColumns(), M3.NrOfRows(), M3.NrOfLayers(), M3.Elem(2, 1, 2)), std::tuple(2, 1, 2, 3332.0));
  test::ExpectRaises<EORVMatrixError>([&] { A.CopyTimeSlotToMat3D(&M3, 0, 0, 0, 0, 0, 0, 0); },
                                      "Component \"Out\": specified time slot beyond data range");
  // Layer copies: codes and messages, the layer's before the time slot's.
  TMatrix M(nullptr);
  for (auto [L, T, Code, Message] : {std::tuple(0, 3, -2, "specified layer beyond data range"),
                                     std::tuple(4, 1, -1, "specified layer beyond data range"),
                                     std::tuple(1, 0, -2, "specified time slot beyond data range")}) {
    TDouble2DArray D2 = {{1}};
    EXPECT_EQ(A.CopyLayerToArray(D2, 0, 0, 0, 0, L, T), Code);
    EXPECT_EQ(D2, (TDouble2DArray{{1}}));
    const int32_t Layer = L, Slot = T;  // clang 14 cannot capture a structured binding
    test::ExpectRaises<EORVMatrixError>([&] { A.CopyLayerToMatrix(&M, 0, 0, 0, 0, Layer, Slot); },
                                        std::string("Component \"Out\": ") + Message);
  }
  TDouble2DArray D2;
  EXPECT_EQ(A.CopyLayerToArray(D2, 4, 3, 0, 2, 2, 1), 0);
  EXPECT_EQ(D2, (TDouble2DArray{{3121, 3221}, {4121, 4221}}));
  TChangeCounter Ch;
  Ch.Attach(M);
  A.CopyLayerToMatrix(&M, 4, 3, 0, 2, 2, 1);
  EXPECT_EQ(test::AllRows(M), (std::vector<std::vector<double>>{{3121, 4121}, {3221, 4221}}));
  EXPECT_EQ(Ch.Count, 1 + 4);  // the resize and every cell
  // Pixels: -1 column, -2 row, -3 time slot, the later code winning.
  TVector V(nullptr);
  for (auto [C, R, T, Code] : {std::tuple(1, 0, 0, -3), std::tuple(0, 1, 1, -1), std::tuple(5, 4, 1, -2),
                               std::tuple(4, 3, 2, 0)}) {
    TDoubleArray D1 = {7};
    EXPECT_EQ(A.CopyPixelTo1DArray(D1, C, R, T), Code);
    EXPECT_EQ(A.CopyPixelToVector(&V, C, R, T), Code);
    EXPECT_EQ(D1, Code == 0 ? TDoubleArray({4312, 4322, 4332}) : TDoubleArray({7}));
  }
  EXPECT_EQ(test::Values(V), (std::vector<double>{4312, 4322, 4332}));
}

TEST(Mat4DCopy, CopiesIntoTheArray) {
  TMat4D A(nullptr);
  A.SetName("In");
  A.Resize(3, 2, 4, 2);
  // Each column of a ragged array over its own length; targets outside dropped.
  EXPECT_EQ(A.CopyArrayToLayer({{1, 2, 3}, {4}, {}, {5}}, 2, 1, 2, 2), 0);
  EXPECT_EQ(std::tuple(A.Elem(2, 1, 2, 2), A.Elem(2, 2, 2, 2), A.Elem(3, 1, 2, 2), A.Elem(3, 2, 2, 2)),
            std::tuple(1.0, 2.0, 4.0, 0.0));
  EXPECT_EQ(A.CopyArrayToLayer({{9}}, 1, 1, 5, 3), -2);
  EXPECT_EQ(A.CopyArrayToLayer({{9}}, 1, 1, 0, 1), -1);
  // A vector of 5 from layer 3 of 4 layers: elements 1 and 2 to layers 3 and 4.
  TVector V(nullptr);
  test::FillValues(V, {10, 20, 30, 40, 50});
  // column, row, first layer, time slot, code (the later one wins)
  for (auto [C, R, L, T, Code] : {std::tuple(0, 1, 1, 1, -1), std::tuple(1, 3, 1, 1, -2), std::tuple(1, 1, 5, 1, -3),
                                  std::tuple(9, 9, 9, 0, -4), std::tuple(3, 2, 3, 1, 0)}) {
    EXPECT_EQ(A.CopyVectorToPixel(&V, C, R, L, T), Code);
    EXPECT_EQ(A.Copy1DArrayToPixel({-1, -2}, C, R, L, T == 1 ? 2 : T), Code);
  }
  EXPECT_EQ(std::tuple(A.Elem(3, 2, 2, 1), A.Elem(3, 2, 3, 1), A.Elem(3, 2, 4, 1), A.Elem(3, 2, 4, 2)),
            std::tuple(0.0, 10.0, 20.0, -2.0));
  EXPECT_EQ(A.CopyVectorToPixel(nullptr, 1, 1, 1, 1), 0);

  // Source bounds are taken within the source: its columns 3..4 reach this
  // array although it has 3 columns; 0, 0 is the whole axis.
  TMatrix S(nullptr);
  test::FillRows(S, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  A.Fill(0.0);
  A.CopyMatrixToLayer(&S, 3, 9, 0, 0, 1, 1, 1, 1);
  EXPECT_EQ(test::Row4D(A, 1, 1, 1), (std::vector<double>{3, 4, 0}));
  EXPECT_EQ(test::Row4D(A, 2, 1, 1), (std::vector<double>{7, 8, 0}));
  test::ExpectRaises<EORVMatrixError>([&] { A.CopyMatrixToLayer(&S, 0, 0, 0, 0, 5, 3, 1, 1); },
                                      "Component \"In\": specified layer beyond data range");
  test::ExpectRaises<EORVMatrixError>([&] { A.CopyMatrixToLayer(&S, 0, 0, 0, 0, 1, 3, 1, 1); },
                                      "Component \"In\": specified time slot beyond data range");
  TMat3D M3(nullptr);
  M3.Resize(4, 1, 2);
  M3.SetVal(4, 1, 2, 42.0);
  A.CopyMat3DToTimeSlot(&M3, 2, 9, 0, 0, 2, 2, 2, 1, 2, 4);  // source (4, 1, 2) to (3, 2, 4, 2)
  EXPECT_EQ(A.Elem(3, 2, 4, 2), 42.0);
  test::ExpectRaises<EORVMatrixError>([&] { A.CopyMat3DToTimeSlot(&M3, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1); },
                                      "Component \"In\": specified time slot beyond data range");

  // From a 3-D array, 0-based source bounds as given.
  const TDouble3DArray Src = {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}};  // [column][row][layer]
  // source bounds (column, row, layer pairs), time slot, target, code (the later one wins)
  const struct {
    TDouble3DArray In;
    int32_t B[6], T, C, R, L, Code;
  } Rows[] = {
      {Src, {0, 0, 0, 0, 0, 0}, 1, 2, 1, 3, 0},    {{}, {0, 0, 0, 0, 0, 0}, 1, 1, 1, 1, -1},
      {{{{1}}, {}}, {0, 0, 0, 0, 0, 0}, 1, 1, 1, 1, -2},  // columns of different lengths
      {{{{1}, {1, 2}}}, {0, 0, 0, 0, 0, 0}, 1, 1, 1, 1, -3},  // rows of different lengths
      {Src, {0, 2, 0, 0, 0, 0}, 1, 1, 1, 1, -1},   {Src, {0, 0, 1, 2, 0, 0}, 1, 1, 1, 1, -2},
      {Src, {0, 0, 0, 0, -1, 0}, 1, 1, 1, 1, -3},  {{}, {0, 0, 0, 0, 0, 0}, 3, 1, 1, 1, -4},
      {Src, {0, 0, 0, 0, 0, 0}, 1, 4, 1, 1, -5},   {Src, {0, 0, 0, 0, 0, 0}, 1, 1, 0, 1, -6},
      {Src, {0, 0, 0, 0, 0, 0}, 0, 0, 0, 5, -7},   {Src, {1, 0, 0, 0, 0, 0}, 1, 1, 1, 1, 0},  // reversed: nothing
  };
  for (const auto& K : Rows) {
    A.Fill(0.0);
    EXPECT_EQ(A.CopyArrayToTimeSlot(K.In, K.B[0], K.B[1], K.B[2], K.B[3], K.B[4], K.B[5], K.T, K.C, K.R, K.L), K.Code)
        << "row " << (&K - Rows);
    EXPECT_EQ(A.Sum(0, 0, 0, 0, 0, 0, 0, 0), K.Code == 0 && K.B[0] == 0 ? 36.0 : 0.0);
  }
  A.CopyArrayToTimeSlot(Src, 0, 0, 0, 0, 0, 0, 1, 2, 1, 3);  // layers 3, 4; column 3 and row 2 reached
  EXPECT_EQ(std::tuple(A.Elem(2, 1, 3, 1), A.Elem(3, 2, 4, 1), A.Elem(2, 2, 4, 1)), std::tuple(1.0, 8.0, 4.0));
}

TEST(Mat4DCopy, FreeRoutinesStayInsideTheirArrays) {
  const TDouble3DArray Src = {{{1, 2}, {3, 4}}, {{5, 6}, {7}}};  // [column][row][layer], ragged at [1][1]
  // bounds (columns, rows), layer, result [column][row]: cells outside read 0.0
  const struct {
    int32_t C1, C2, R1, R2, Layer;
    TDouble2DArray Want;
  } Rows[] = {
      {0, 1, 0, 1, 1, {{2, 4}, {6, 0}}},    {-1, 0, 1, 2, 0, {{0, 0}, {3, 0}}},
      {1, 0, 0, 1, 0, {}},                  {0, 0, 1, 0, 0, {}},  // reversed: empty
      {0, 0, 0, 0, 5, {{0}}},               {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN, {{0}}},
  };
  TMatrix M(nullptr);
  for (const auto& R : Rows) {
    TDouble2DArray D = {{9, 9}};
    CopyArr3DLayerToArr2D(Src, D, R.C1, R.C2, R.R1, R.R2, R.Layer);
    EXPECT_EQ(D, R.Want) << R.C1 << " " << R.R1 << " " << R.Layer;
    CopyArr3DLayerToMatrix(Src, &M, R.C1, R.C2, R.R1, R.R2, R.Layer);
    EXPECT_EQ(std::tuple(M.NrOfColumns(), M.NrOfRows()),
              std::tuple(static_cast<int32_t>(R.Want.size()), R.Want.empty() ? 0 : static_cast<int32_t>(R.Want[0].size())));
    if (!R.Want.empty()) {
      EXPECT_EQ(test::Column(M, static_cast<int32_t>(R.Want.size())), R.Want.back());
    }
  }
  test::ExpectRaises<EORVMatrixError>([&] { CopyArr3DLayerToMatrix(Src, &M, INT32_MIN, INT32_MAX, 0, 0, 0); },
                                      "CopyArr3DLayerToMatrix: not enough memory on heap");
  test::FillRows(M, {{1, 2}, {3, 4}});
  TDouble2DArray D;
  CopyMatrixToArray(&M, D, 2, 3, 0, 2);
  EXPECT_EQ(D, (TDouble2DArray{{0, 2, 4}, {0, 0, 0}}));
  CopyMatrixToArray(nullptr, D, 1, 1, 1, 1);
  EXPECT_EQ(D.size(), 2u);
}

}  // namespace
