// ImportASC and LoadFromFile (both forms) of TVector and TIntVector on
// arbitrary files. The script's first byte chooses AdjustVectorSize (bit 0)
// and the starting size (bits 1-4), the next two the ranges of the round
// trip. Checked: the codes are the documented ones and both classes give the
// same code and size (they share the format); ImportASC and the automatic
// count never size a vector beyond the file's bytes, LoadFromFile keeps the
// size or takes the range line's High; a failed header leaves the vector as
// it was. Then the one-element range K..K and the range L..N away from
// element 1 of what LoadFromFile read are stored (the 26-character form,
// which holds every finite double) and loaded back into a fresh vector:
// High elements, the range's finite values (a zero may lose its sign), zeros
// below it.
#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_streams.h"

namespace {

using namespace orv;

// The largest High the program lets AdjustVectorSize take: the range line
// may ask for 2^31 - 1 elements, which libFuzzer's allocation limit would
// report, and small vectors keep the round trips fast.
constexpr int32_t SizeCap = 1 << 12;

template <class V>
void RoundTrip(const V& Src, int32_t Low, int32_t High) {
  static orv::fuzz::TScratchFile Out;
  const std::string& Name = Out.Name();
  if constexpr (std::is_same_v<V, TVector>)
    ORV_FUZZ_CHECK(Src.StoreOnFile(Low, High, -2, Name));
  else
    ORV_FUZZ_CHECK(Src.StoreOnFile(Low, High, Name));
  V Back(nullptr);
  ORV_FUZZ_CHECK(Back.LoadFromFile(Name, true));
  ORV_FUZZ_CHECK(Back.NrOfElem() == High);
  for (int32_t I = 1; I <= High; ++I) {
    const auto X = Back.GetVal(I), Y = Src.GetVal(I);
    if (I < Low)
      ORV_FUZZ_CHECK(X == 0);
    else if (std::isfinite(static_cast<double>(Y)))
      ORV_FUZZ_CHECK(X == Y);  // equal values: Str writes -0 as 0
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 3);
  if (In.Script.size() < 3) return 0;
  const auto Op = static_cast<uint8_t>(In.Script[0]);
  const auto K = static_cast<uint8_t>(In.Script[1]), L = static_cast<uint8_t>(In.Script[2]);
  bool Adjust = Op & 1;
  const int32_t Start = 1 + ((Op >> 1) & 15);
  const std::string& Name = orv::fuzz::Scratch().Hold(In.Text);
  const int64_t Bytes = static_cast<int64_t>(In.Text.size());
  const auto Bounded = [&](int32_t N) { return N <= Start || N <= Bytes; };

  TVector V(nullptr);
  TIntVector I(nullptr);
  V.Resize(Start);
  I.Resize(Start);
  std::string CV, CI;
  const int32_t Code = V.ImportASC(Name, CV);
  ORV_FUZZ_CHECK(Code <= 0 && Code >= -7 && Code != -8);
  ORV_FUZZ_CHECK(I.ImportASC(Name, CI) == Code);
  ORV_FUZZ_CHECK(V.NrOfElem() == I.NrOfElem() && Bounded(V.NrOfElem()));
  if (Code < -4) ORV_FUZZ_CHECK(Code == -7 || V.NrOfElem() >= 1);
  if (Code >= -4 && Code < 0) ORV_FUZZ_CHECK(V.NrOfElem() == Start);

  // The range line as the reader takes it.
  int32_t Low = 0, High = 0;
  bool Range = false;
  {
    TTextFile F;
    F.Reset(Name);
    Range = F.ReadInteger(Low) && F.ReadInteger(High);
  }
  if (Range && High > SizeCap) Adjust = false;
  for (int Form = 0; Form < 2; ++Form) {
    TVector W(nullptr);
    TIntVector J(nullptr);
    W.Resize(Start);
    J.Resize(Start);
    const bool Ok = Form == 0 ? W.LoadFromFile(Name, Adjust) : W.LoadFromFile(Name, Adjust, true);
    if (Form == 0) {
      ORV_FUZZ_CHECK(W.NrOfElem() == Start || (Adjust && Range && W.NrOfElem() == High));
      ORV_FUZZ_CHECK(J.LoadFromFile(Name, Adjust) == Ok);
      ORV_FUZZ_CHECK(J.NrOfElem() == W.NrOfElem());
      const int32_t N = W.NrOfElem();
      RoundTrip(W, 1 + K % N, 1 + K % N);
      RoundTrip(W, 1 + L % N, N);
      RoundTrip(J, 1 + K % N, 1 + K % N);
      RoundTrip(J, 1 + L % N, N);
    } else {
      ORV_FUZZ_CHECK(Ok);
      ORV_FUZZ_CHECK(Bounded(W.NrOfElem()));
    }
  }
  return 0;
}
