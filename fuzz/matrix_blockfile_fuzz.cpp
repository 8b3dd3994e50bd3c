// The block-file readers on arbitrary files. The input is a script of six
// bytes (layer, time slot, first and last slot of the walk, a cut of 0 to
// 65535 bytes), then up to 280 header bytes (placed at the file's start,
// the rest of the header record zero) and the value bytes (from byte 4096
// on, padded to whole records, then the cut taken off the end).
// Checked: the header readers hand back the header's fields and agree on the
// kind; a walk hands out exactly the values at their positions in the file,
// all of them or none (a file that cannot hold them raises first); the layer
// readers store exactly the layer's values or change nothing, and adding a
// layer to zeros gives what reading it gives.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_sysutils.h"

namespace {

using namespace orv;

int32_t Int32At(const std::string& B, size_t At) {
  int32_t V;
  std::memcpy(&V, B.data() + At, 4);  // the fuzz hosts are little-endian
  return V;
}

// The bits of value K of the file, or false when the file has no whole record for it.
bool ValueBits(const std::string& B, int64_t K, uint64_t& Bits) {
  const int64_t Record = 1 + K / 512;
  if ((Record + 1) * 4096 > static_cast<int64_t>(B.size())) return false;
  std::memcpy(&Bits, B.data() + 4096 + 8 * K, 8);
  return true;
}

uint64_t BitsOf(double X) {
  uint64_t U;
  std::memcpy(&U, &X, 8);
  return U;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 6);
  if (In.Script.size() < 6) return 0;
  const auto S = [&](size_t I) { return static_cast<int8_t>(In.Script[I]); };
  const int32_t Layer = S(0), Slot = S(1), Start = S(2), End = S(3);
  const size_t Cut = static_cast<uint8_t>(In.Script[4]) | size_t{static_cast<uint8_t>(In.Script[5])} << 8;

  std::string B(4096, '\0');
  const std::string_view Text(In.Text);
  const size_t HeadLen = std::min<size_t>(Text.size(), 280);
  std::memcpy(B.data(), Text.data(), HeadLen);
  B.append(Text.substr(HeadLen));
  B.resize((B.size() + 4095) / 4096 * 4096, '\0');
  B.resize(B.size() - std::min(Cut, B.size()));
  const std::string& FName = orv::fuzz::Scratch().Hold(B);

  // Header readers.
  const bool HasHeader = B.size() >= 4096;
  int32_t C = 0, R = 0, L = 0, T = 0, F = 0;
  std::string ID;
  try {
    const bool Is4D = TMat4D::ReadBinaryHeader(FName, C, R, L, T, ID, F);
    ORV_FUZZ_CHECK(HasHeader);
    ORV_FUZZ_CHECK(C == Int32At(B, 0) && R == Int32At(B, 4) && L == Int32At(B, 8) && T == Int32At(B, 12));
    ORV_FUZZ_CHECK(F == Int32At(B, 272));
    ORV_FUZZ_CHECK(Is4D == (L > 0 && T > 0 && F == 1));
    int32_t C2, R2, F2, L2, T2;
    std::string ID2;
    ORV_FUZZ_CHECK(TMatrix::ReadBinaryHeader(FName, C2, R2, ID2, F2) == (L == 0 && T == 0 && F == 1));
    ORV_FUZZ_CHECK(TIntMatrix::ReadBinaryHeader(FName, C2, R2, ID2, F2) == (L == 0 && T == 0 && F == 2));
    ORV_FUZZ_CHECK(TMat3D::ReadBinaryHeader(FName, C2, R2, L2, T2, ID2, F2) == (L > 0 && T == 0 && F == 1));
    ORV_FUZZ_CHECK(ID2 == ID && ID.size() >= static_cast<uint8_t>(B[16]));
  } catch (const EInOutError&) {
    ORV_FUZZ_CHECK(!HasHeader);
    return 0;
  }

  // The walk.
  TMat4D A(nullptr);
  int64_t Events = 0, First = -1;
  bool Ordered = true;
  A.OnReadElement = [&](TObject*, int32_t, int32_t, int32_t, int32_t, double V) {
    if (First < 0) {
      const int64_t Slot1 = (Start >= 1 && End >= 1) ? Start : 1;
      First = (Slot1 - 1) * int64_t{C} * R * L;
    }
    uint64_t Bits = 0;
    Ordered = Ordered && ValueBits(B, First + Events, Bits) && Bits == BitsOf(V);
    ++Events;
  };
  try {
    const int32_t Code = A.ReadBinary(FName, Start, End);
    ORV_FUZZ_CHECK(Code == (Start > T ? -1 : 0));
    ORV_FUZZ_CHECK(Ordered);
  } catch (const EInOutError&) {
    ORV_FUZZ_CHECK(Events == 0);
  }

  // The layer readers: an array of the file's size when that is small.
  const bool Small = C > 0 && R > 0 && L > 0 && T > 0 && int64_t{C} * R <= 4096 && int64_t{C} * R * L <= 4096 &&
                     int64_t{C} * R * L * T <= 4096;
  if (Small) A.Resize(C, R, L, T);
  A.Fill(7.0);
  const int32_t Code = A.ReadLayer(FName, Layer, Slot);
  TDouble2DArray Plain{{1.0}}, Sum;
  const int32_t PlainCode = Read4DLayer(FName, Layer, Slot, Plain);
  if (PlainCode == 0) {
    ORV_FUZZ_CHECK(static_cast<int64_t>(Plain.size()) == C);
    const int64_t K0 = ((int64_t{Slot} - 1) * L + (Layer - 1)) * C * R;
    for (int32_t c = 0; c < C; ++c) {
      ORV_FUZZ_CHECK(static_cast<int64_t>(Plain[c].size()) == R);
      for (int32_t r = 0; r < R; ++r) {
        uint64_t Bits = 0;
        ORV_FUZZ_CHECK(ValueBits(B, K0 + int64_t{r} * C + c, Bits) && Bits == BitsOf(Plain[c][r]));
        if (Code == 0) ORV_FUZZ_CHECK(BitsOf(A.Elem(c + 1, r + 1, Layer, Slot)) == Bits);
      }
    }
    Sum.assign(Plain.size(), TDoubleArray(static_cast<size_t>(R), 0.0));
    ORV_FUZZ_CHECK(Read4DLayerAndAccumulate(FName, Layer, Slot, Sum) == 0);
    for (size_t c = 0; c < Sum.size(); ++c)
      for (size_t r = 0; r < Sum[c].size(); ++r)
        ORV_FUZZ_CHECK(Sum[c][r] == Plain[c][r] || (Sum[c][r] != Sum[c][r] && Plain[c][r] != Plain[c][r]));
  } else {
    ORV_FUZZ_CHECK(PlainCode >= -3 && PlainCode < 0 && Plain == TDouble2DArray{{1.0}});
    ORV_FUZZ_CHECK(Code != 0);  // what ReadLayer could read, Read4DLayer can
  }
  if (Code != 0) {
    ORV_FUZZ_CHECK(Code >= -4);
    bool Untouched = true;
    for (int32_t t = 1; t <= A.NrOfTimeSlots(); ++t)
      for (int32_t l = 1; l <= A.NrOfLayers(); ++l)
        for (int32_t r = 1; r <= A.NrOfRows(); ++r)
          for (int32_t c = 1; c <= A.NrOfColumns(); ++c) Untouched = Untouched && A.Elem(c, r, l, t) == 7.0;
    ORV_FUZZ_CHECK(Untouched);
  }
  return 0;
}
