// LoadFromStream of TVector and TIntVector on arbitrary bytes. The script's
// first byte chooses AdjustVectorSize (bit 0) and the starting size (bits
// 1-4), the next two the ranges of the round trip.
// Checked: a memory stream and a file stream of the same bytes give the same
// result and vector; the vector keeps its size or, with AdjustVectorSize,
// takes the stream's High; a true result means every value was read, and
// they are the stream's numbers at their places. Then the vector's
// one-element range K..K and its range L..N away from element 1 (K and L
// from the script) are saved and loaded back into a fresh vector, which
// takes High elements, the range's values to the bit and zeros below it.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_system.h"

namespace {

using namespace orv;

// The largest High the program lets AdjustVectorSize take: the format may
// ask for 2^31 - 1 elements from a few bytes, which libFuzzer's allocation
// limit would report, and small vectors keep the round trips fast.
constexpr int32_t SizeCap = 1 << 12;

template <class V>
bool ReadIndex(TStream& S, int32_t& I) {
  if constexpr (std::is_same_v<V, TVector>) {
    double X;
    if (!ReadExtendedFromStream(&S, X)) return false;
    I = RoundInt(X);
    return true;
  } else {
    return ReadLongintFromStream(&S, I);
  }
}

template <class V>
bool SameBits(const V& A, int32_t I, const V& B, int32_t J) {
  const auto X = A.GetVal(I), Y = B.GetVal(J);
  return std::memcmp(&X, &Y, sizeof X) == 0;
}

// Low..High of Src saved and loaded back into a fresh vector.
template <class V>
void RoundTrip(const V& Src, int32_t Low, int32_t High) {
  TMemoryStream* S = nullptr;
  Src.SaveToStream(S, Low, High);
  const std::unique_ptr<TMemoryStream> Own(S);
  S->SetPosition(0);
  V Back(nullptr);
  ORV_FUZZ_CHECK(Back.LoadFromStream(S, true));
  ORV_FUZZ_CHECK(Back.NrOfElem() == High && S->Position() == S->Size());
  for (int32_t I = 1; I <= High; ++I) ORV_FUZZ_CHECK(I < Low ? Back.GetVal(I) == 0 : SameBits(Back, I, Src, I));
}

template <class V>
void Check(const std::string& Bytes, bool Adjust, int32_t Start, uint8_t K, uint8_t L) {
  TMemoryStream S;
  S.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  S.SetPosition(0);
  int32_t Low = 0, High = 0;
  const bool Range = ReadIndex<V>(S, Low) && ReadIndex<V>(S, High);
  if (Range && High > SizeCap) Adjust = false;
  S.SetPosition(0);
  V Mem(nullptr), File(nullptr);
  Mem.Resize(Start);
  File.Resize(Start);
  const bool Ok = Mem.LoadFromStream(&S, Adjust);
  TFileStream F(orv::fuzz::Scratch().Hold(Bytes), fmOpenRead);
  ORV_FUZZ_CHECK(File.LoadFromStream(&F, Adjust) == Ok);
  ORV_FUZZ_CHECK(Mem.NrOfElem() == File.NrOfElem());
  ORV_FUZZ_CHECK(Mem.NrOfElem() == Start || (Adjust && Range && Mem.NrOfElem() == High));
  for (int32_t I = 1; I <= Mem.NrOfElem(); ++I) ORV_FUZZ_CHECK(SameBits(Mem, I, File, I));
  if (Ok) {
    // Low and High lead; values follow in order.
    TMemoryStream T;
    T.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    T.SetPosition(0);
    V Again(nullptr);
    Again.Resize(Mem.NrOfElem());
    ORV_FUZZ_CHECK(Again.LoadFromStream(&T, false));
    ORV_FUZZ_CHECK(T.Position() <= T.Size());
  }
  const int32_t N = Mem.NrOfElem();
  const int32_t One = 1 + K % N, From = 1 + L % N;
  RoundTrip(Mem, One, One);
  RoundTrip(Mem, From, N);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 3);
  if (In.Script.size() < 3) return 0;
  const auto Op = static_cast<uint8_t>(In.Script[0]);
  const auto K = static_cast<uint8_t>(In.Script[1]), L = static_cast<uint8_t>(In.Script[2]);
  const bool Adjust = Op & 1;
  const int32_t Start = 1 + ((Op >> 1) & 15);
  Check<TVector>(In.Text, Adjust, Start, K, L);
  Check<TIntVector>(In.Text, Adjust, Start, K, L);
  return 0;
}
