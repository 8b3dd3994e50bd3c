// ImportASC and LoadFromFile (both forms) of TVector and TIntVector on
// arbitrary files. The script's byte chooses AdjustVectorSize (bit 0) and
// the starting size (bits 1-4). Checked: the codes are the documented ones
// and both classes give the same code and size (they share the format); a
// vector is never sized beyond the file's bytes; a failed header leaves the
// vector as it was.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_vector.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace orv;
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 1);
  if (In.Script.empty()) return 0;
  const auto Op = static_cast<uint8_t>(In.Script[0]);
  const bool Adjust = Op & 1;
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

  for (int Form = 0; Form < 2; ++Form) {
    TVector W(nullptr);
    TIntVector J(nullptr);
    W.Resize(Start);
    J.Resize(Start);
    const bool Ok = Form == 0 ? W.LoadFromFile(Name, Adjust) : W.LoadFromFile(Name, Adjust, true);
    ORV_FUZZ_CHECK(Bounded(W.NrOfElem()));
    if (Form == 0) {
      ORV_FUZZ_CHECK(J.LoadFromFile(Name, Adjust) == Ok);
      ORV_FUZZ_CHECK(J.NrOfElem() == W.NrOfElem());
    } else {
      ORV_FUZZ_CHECK(Ok);
    }
  }
  return 0;
}
