// LoadFromStream of TVector and TIntVector on arbitrary bytes. The script's
// byte chooses AdjustVectorSize (bit 0) and the starting size (bits 1-4).
// Checked: a memory stream and a file stream of the same bytes give the same
// result and vector; the vector never grows beyond what the stream can
// hold; a true result means every value was read, and they are the
// stream's numbers at their places.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_streams.h"

namespace {

using namespace orv;

template <class V>
void Check(const std::string& Bytes, bool Adjust, int32_t Start) {
  V Mem(nullptr), File(nullptr);
  Mem.Resize(Start);
  File.Resize(Start);
  TMemoryStream S;
  S.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  S.SetPosition(0);
  const bool Ok = Mem.LoadFromStream(&S, Adjust);
  TFileStream F(orv::fuzz::Scratch().Hold(Bytes), fmOpenRead);
  ORV_FUZZ_CHECK(File.LoadFromStream(&F, Adjust) == Ok);
  ORV_FUZZ_CHECK(Mem.NrOfElem() == File.NrOfElem());
  ORV_FUZZ_CHECK(Mem.NrOfElem() <= Start || Mem.NrOfElem() <= static_cast<int64_t>(Bytes.size()));
  for (int32_t I = 1; I <= Mem.NrOfElem(); ++I) {
    const auto A = Mem.GetVal(I), B = File.GetVal(I);
    ORV_FUZZ_CHECK(std::memcmp(&A, &B, sizeof A) == 0);
  }
  if (Ok && Mem.NrOfElem() > 0) {
    // Low and High lead; values follow in order.
    TMemoryStream T;
    T.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    T.SetPosition(0);
    V Again(nullptr);
    Again.Resize(Mem.NrOfElem());
    ORV_FUZZ_CHECK(Again.LoadFromStream(&T, false));
    ORV_FUZZ_CHECK(T.Position() <= T.Size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 1);
  if (In.Script.empty()) return 0;
  const auto Op = static_cast<uint8_t>(In.Script[0]);
  const bool Adjust = Op & 1;
  const int32_t Start = 1 + ((Op >> 1) & 15);
  Check<TVector>(In.Text, Adjust, Start);
  Check<TIntVector>(In.Text, Adjust, Start);
  return 0;
}
