// The block-file readers, on files written here byte by byte: value k (from
// 0, in file order) is k itself, so numpy.fromfile(f, offset=4096)
// .reshape(T, L, R, C)[t-1, l-1, r-1, c-1] is the closed form
// ((t-1) L + (l-1)) R C + (r-1) C + (c-1) that the tests compare with.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <cmath>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/tempfiles.h"

namespace {

using namespace orv;

struct TSpec {
  int32_t C, R, L, T;
  int32_t Format = 1;
  std::string ID = "demo";  // single bytes (Latin-1)
  int64_t Values = -1;      // values written; -1: C R L T
};

// The bytes of a block file: header record, values padded to whole records.
std::string BlockBytes(const TSpec& S) {
  std::string B(4096, '\0');
  const auto Put = [&B](size_t At, int32_t V) { std::memcpy(&B[At], &V, 4); };  // the test hosts are little-endian
  Put(0, S.C), Put(4, S.R), Put(8, S.L), Put(12, S.T), Put(272, S.Format);
  B[16] = static_cast<char>(S.ID.size());
  std::memcpy(&B[17], S.ID.data(), S.ID.size());
  const int64_t N = S.Values >= 0 ? S.Values : int64_t{S.C} * S.R * S.L * S.T;
  for (int64_t K = 0; K < N; ++K) {
    const double V = static_cast<double>(K);
    B.append(reinterpret_cast<const char*>(&V), 8);
  }
  B.resize((B.size() + 4095) / 4096 * 4096, '\0');
  return B;
}

std::string Write(const test::TempDir& D, const std::string& Bytes, const std::string& Name = "f.bin") {
  std::ofstream(D.File(Name), std::ios::binary) << Bytes;
  return D.File(Name);
}

double At(const TSpec& S, int32_t c, int32_t r, int32_t l, int32_t t) {
  return static_cast<double>(((int64_t{t} - 1) * S.L + (l - 1)) * S.R * S.C + int64_t{r - 1} * S.C + (c - 1));
}

TEST(BlockFile, HeaderReadersTellTheKindsApartAndAlwaysHandBack) {
  test::TempDir D;
  // Layers, slots, format -> matrix, int matrix, 3-D, 4-D: the kind table.
  const struct { int32_t L, T, F; bool M, I, A3, A4; } Rows[] = {
      {0, 0, 1, true, false, false, false}, {0, 0, 2, false, true, false, false},
      {2, 0, 1, false, false, true, false}, {2, 4, 1, false, false, false, true},
      {2, 4, 2, false, false, false, false}, {-1, 0, 1, false, false, false, false},
      {0, 3, 1, false, false, false, false}};
  for (const auto& R : Rows) {
    const std::string F = Write(D, BlockBytes({7, 5, R.L, R.T, R.F, "x", 0}));
    int32_t C = 0, Rw = 0, L = 9, T = 9, Fm = 0;
    std::string ID;
    EXPECT_EQ(TMatrix::ReadBinaryHeader(F, C, Rw, ID, Fm), R.M) << R.L << " " << R.T << " " << R.F;
    EXPECT_EQ(TIntMatrix::ReadBinaryHeader(F, C, Rw, ID, Fm), R.I);
    EXPECT_EQ(TMat3D::ReadBinaryHeader(F, C, Rw, L, T, ID, Fm), R.A3);
    EXPECT_EQ(TMat4D::ReadBinaryHeader(F, C, Rw, L, T, ID, Fm), R.A4);
    EXPECT_EQ(std::tuple(C, Rw, L, T, ID, Fm), std::tuple(7, 5, R.L, R.T, std::string("x"), R.F));
  }
  // DataID: 255 single bytes, the high ones as UTF-8; length 0 gives "".
  std::string Long(255, 'a');
  Long[0] = '\xE9', Long[254] = '\xFF';
  int32_t C, Rw, Fm;
  std::string ID;
  TMatrix::ReadBinaryHeader(Write(D, BlockBytes({1, 1, 0, 0, 1, Long, 0})), C, Rw, ID, Fm);
  EXPECT_EQ(ID, "\xC3\xA9" + std::string(253, 'a') + "\xC3\xBF");
  TMatrix::ReadBinaryHeader(Write(D, BlockBytes({1, 1, 0, 0, 1, "", 0})), C, Rw, ID, Fm);
  EXPECT_EQ(ID, "");
  // Missing, a directory, shorter than the header: raised, outputs untouched.
  const std::string Short = Write(D, BlockBytes({1, 1, 0, 0, 1, "q", 0}).substr(0, 4095), "short.bin");
  for (const std::string& Bad : {D.File("none.bin"), D.Path(), Short}) {
    C = -7;
    EXPECT_THROW(TMatrix::ReadBinaryHeader(Bad, C, Rw, ID, Fm), EInOutError) << Bad;
    EXPECT_THROW(TMat4D::ReadBinaryHeader(Bad, C, Rw, Fm, Fm, ID, Fm), EInOutError) << Bad;
    EXPECT_EQ(C, -7);
  }
}

std::string Percent(int64_t P) { return std::string(1, '%').append(std::to_string(P)); }

struct TWalk {
  std::vector<std::string> Events;
  void Attach(TMat4D& A) {
    A.OnReadElement = [this](TObject*, int32_t x, int32_t y, int32_t l, int32_t t, double v) {
      Events.push_back(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(l) + "," +
                       std::to_string(t) + "=" + std::to_string(static_cast<int64_t>(v)));
    };
    A.OnPercentDone = [this](TObject*, int32_t P) { Events.push_back(Percent(P)); };
  }
};

TEST(BlockFile, ReadBinaryWalksTheChosenSlotsInFileOrder) {
  test::TempDir D;
  const TSpec S{2, 3, 2, 4};
  const std::string F = Write(D, BlockBytes(S));
  TMat4D A(nullptr);
  TWalk W;
  W.Attach(A);
  // Slots 3..9 of 4: slots 3 and 4 as it = 1, 2, from value 24 on.
  EXPECT_EQ(A.ReadBinary(F, 3, 9), 0);
  std::vector<std::string> Want;
  for (int32_t t = 3, d = 1; t <= 4; ++t)
    for (int32_t l = 1; l <= 2; ++l)
      for (int32_t r = 1; r <= 3; ++r)
        for (int32_t c = 1; c <= 2; ++c, ++d) {
          // 24 values: step 1, Round(d 100 / 24) half to even (d = 3: 12.5 -> 12).
          Want.push_back(Percent(static_cast<int64_t>(std::nearbyint(d * 100.0 / 24))));
          Want.push_back(std::to_string(c) + "," + std::to_string(r) + "," + std::to_string(l) + "," +
                         std::to_string(t - 2) + "=" + std::to_string(static_cast<int64_t>(At(S, c, r, l, t))));
        }
  EXPECT_EQ(W.Events, Want);
  EXPECT_EQ(W.Events[4], "%12");
  // Start or end below 1: every slot; beyond the file: -1; end before start: nothing.
  const struct { int32_t Start, End, Code; size_t Values; } Rows[] = {
      {0, 2, 0, 48}, {2, 0, 0, 48}, {5, 9, -1, 0}, {3, 2, 0, 0}, {4, 4, 0, 12}, {1, 1, 0, 12}};
  for (const auto& R : Rows) {
    W.Events.clear();
    EXPECT_EQ(A.ReadBinary(F, R.Start, R.End), R.Code) << R.Start << ".." << R.End;
    EXPECT_EQ(W.Events.size(), 2 * R.Values) << R.Start << ".." << R.End;
  }
  // 50 values: OnPercentDone 2, 4, ... 100, one per value.
  const std::string F50 = Write(D, BlockBytes({5, 5, 2, 1}), "f50.bin");
  W.Events.clear();
  A.OnReadElement = nullptr;
  A.ReadBinary(F50, 0, 0);
  ASSERT_EQ(W.Events.size(), 50u);
  EXPECT_EQ(W.Events.front(), "%2");
  EXPECT_EQ(W.Events.back(), "%100");
  EXPECT_EQ(A.NrOfColumns(), 1);
}

TEST(BlockFile, TruncatedOrLyingFilesFailWithNothingChangedOrFired) {
  test::TempDir D;
  // 16 x 16 x 3 x 2: 1536 values in three whole value records, cut every 509
  // bytes (inside every record, at varying offsets).
  const TSpec S{16, 16, 3, 2};
  const std::string Full = BlockBytes(S);
  ASSERT_EQ(Full.size(), 4u * 4096);
  TMat4D A(nullptr);
  A.Resize(16, 16, 3, 2);
  A.Fill(-1);
  TWalk W;
  W.Attach(A);
  TDouble2DArray Arr(16, TDoubleArray(16, 1.0));
  for (size_t Cut = 0; Cut < Full.size(); Cut += 509) {
    const std::string F = Write(D, Full.substr(0, Cut));
    if (Cut < 4096) {
      EXPECT_THROW(A.ReadBinary(F, 0, 0), EInOutError);
    } else {
      // Layers 1..3 of slot 1 lie in records 1..2 (layer 3 starts at byte 0 of
      // record 2); slot 2 in records 2..3 (layer 2 across the edge of 3).
      const int32_t WholeRecords = static_cast<int32_t>(Cut / 4096) - 1;
      const int32_t Have = WholeRecords >= 2 ? 3 : WholeRecords >= 1 ? 2 : 0;  // layers of slot 1 held
      W.Events.clear();
      EXPECT_THROW(A.ReadBinary(F, 0, 0), EInOutError) << Cut;
      EXPECT_TRUE(W.Events.empty()) << Cut;
      EXPECT_EQ(A.ReadLayer(F, 3, 1), Have >= 3 ? 0 : -4) << Cut;
      EXPECT_EQ(Read4DLayer(F, 2, 2, Arr), -3) << Cut;
      EXPECT_EQ(Read4DLayerAndAccumulate(F, 2, 2, Arr), -4) << Cut;
    }
  }
  EXPECT_EQ(A.Elem(5, 5, 2, 2), -1.0);
  EXPECT_EQ(Arr[3][3], 1.0);
  // Lying counts: products beyond 2^31 and 2^63 values, zero and negative.
  const TSpec Lies[] = {{65536, 65536, 4, 4}, {2147483647, 2147483647, 2147483647, 2147483647},
                        {0, 5, 1, 1},         {-4, -4, 1, 1}, {3, -2, 1, 1}};
  for (const TSpec& L : Lies) {
    TSpec Small = L;
    Small.Values = 600;
    const std::string F = Write(D, BlockBytes(Small));
    W.Events.clear();
    EXPECT_EQ(Read4DLayer(F, 1, 1, Arr), -3) << L.C << " " << L.R;
    EXPECT_EQ(Arr.size(), 16u);
    EXPECT_EQ(Read4DLayerAndAccumulate(F, 1, 1, Arr), -3);
    TDouble2DArray Empty;
    EXPECT_EQ(Read4DLayerAndAccumulate(F, 1, 1, Empty), L.C == 0 ? -4 : -3) << L.C;
    if (L.C > 0 && L.R > 0)
      EXPECT_THROW(A.ReadBinary(F, 4, 4), EInOutError);
    else
      EXPECT_EQ(A.ReadBinary(F, 0, 0), 0);
    EXPECT_TRUE(W.Events.empty());
  }
}

TEST(BlockFile, ReadLayerStoresOneLayerWithItsCodes) {
  test::TempDir D;
  const TSpec S{16, 16, 3, 2};
  const std::string F = Write(D, BlockBytes(S));
  TMat4D A(nullptr);
  A.Resize(16, 16, 3, 2);
  A.Fill(-1);
  int32_t Changes = 0, Percents = 0;
  A.OnChange = [&](TObject*) { ++Changes; };
  A.OnPercentDone = [&](TObject*, int32_t) { ++Percents; };
  // Layer 2 of slot 2 starts at value (3 + 1) x 256 = 1024, record 3 byte 0;
  // layer 3 of slot 1 at 512; layer 2 of slot 1 at 256, inside record 1.
  for (const auto& [l, t] : {std::pair{2, 2}, {3, 1}, {2, 1}}) {
    EXPECT_EQ(A.ReadLayer(F, l, t), 0);
    for (int32_t r = 1; r <= 16; r += 5)
      for (int32_t c = 1; c <= 16; c += 3) EXPECT_EQ(A.Elem(c, r, l, t), At(S, c, r, l, t)) << c << r << l << t;
  }
  EXPECT_EQ(A.Elem(1, 1, 1, 1), -1.0);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Percents, 3 * 128);  // 256 values: step 2
  // Codes, the later winning; the array's own counts bound the slot and layer.
  TMat4D Small(nullptr);
  Small.Resize(16, 16, 2, 1);
  TMat4D Wide(nullptr);
  Wide.Resize(17, 16, 3, 2);
  const struct { TMat4D* M; int32_t L, T, Code; } Rows[] = {
      {&A, 1, 0, -1}, {&A, 1, 3, -1}, {&A, 0, 1, -2}, {&A, 4, 1, -2}, {&A, 0, 9, -2},
      {&Small, 1, 2, -1},  // a slot the file has but the array has not
      {&Small, 3, 1, -2}, {&Wide, 1, 1, -3}, {&Wide, 9, 9, -3}};
  for (const auto& R : Rows) EXPECT_EQ(R.M->ReadLayer(F, R.L, R.T), R.Code) << R.L << " " << R.T;
  EXPECT_EQ(A.ReadLayer(D.File("none.bin"), 1, 1), -4);
  EXPECT_EQ(A.ReadLayer(D.Path(), 1, 1), -4);
}

TEST(BlockFile, FreeLayerReadersReplaceOrAdd) {
  test::TempDir D;
  const TSpec S{2, 3, 2, 4};
  const std::string F = Write(D, BlockBytes(S));
  TDouble2DArray Arr;
  EXPECT_EQ(Read4DLayer(F, 2, 3, Arr), 0);
  ASSERT_EQ(Arr.size(), 2u);
  for (int32_t c = 1; c <= 2; ++c) {
    ASSERT_EQ(Arr[c - 1].size(), 3u);
    for (int32_t r = 1; r <= 3; ++r) EXPECT_EQ(Arr[c - 1][r - 1], At(S, c, r, 2, 3));
  }
  EXPECT_EQ(Read4DLayerAndAccumulate(F, 1, 1, Arr), 0);
  EXPECT_EQ(Arr[1][2], At(S, 2, 3, 2, 3) + At(S, 2, 3, 1, 1));
  const TDouble2DArray Kept = Arr;
  TDouble2DArray Ragged{{0, 0, 0}, {0, 0}};
  // Read4DLayer: -1 slot, -2 layer (wins); accumulate: -1 layer, -2 slot, -3 size.
  const struct { int32_t L, T, Plain, Acc; TDouble2DArray* Dest; } Rows[] = {
      {1, 5, -1, -2, &Arr}, {3, 1, -2, -1, &Arr}, {3, 5, -2, -2, &Arr}, {0, 0, -2, -2, &Arr},
      {1, 1, 0, -3, &Ragged}, {3, 0, -2, -3, &Ragged}};
  for (const auto& R : Rows) {
    TDouble2DArray Copy = *R.Dest;
    EXPECT_EQ(Read4DLayerAndAccumulate(F, R.L, R.T, Copy), R.Acc) << R.L << " " << R.T;
    EXPECT_EQ(Copy, *R.Dest);
    if (R.Dest == &Arr) {
      EXPECT_EQ(Read4DLayer(F, R.L, R.T, Copy), R.Plain);
      EXPECT_EQ(Copy, Kept);
    }
  }
  EXPECT_EQ(Read4DLayer(D.File("none.bin"), 1, 1, Arr), -3);
  EXPECT_EQ(Read4DLayerAndAccumulate(D.Path(), 1, 1, Arr), -4);
  EXPECT_EQ(Arr, Kept);
}

}  // namespace
