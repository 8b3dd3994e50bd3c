// TCurveFit.ImportASC on arbitrary bytes: one of its codes or the column
// count error; on failure the fitter as it was, on success the header's
// number of pairs (never more than the file has bytes), which an export
// writes and an import reads back.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_math2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string S = orv::fuzz::SplitInput(Data, Size, 0).Text;
  orv::TCurveFit F;
  F.EnterStatValue(-3.5, 8.25);
  int32_t Code = 0;
  try {
    Code = F.ImportASC(orv::fuzz::Scratch().Hold(S));
  } catch (const orv::EORVMath2Error& E) {
    ORV_FUZZ_CHECK(std::strncmp(E.what(), "TCurveFit.ImportASC: number of columns must be 2", 48) == 0);
    Code = 1;
  }
  ORV_FUZZ_CHECK(Code >= -7 && Code <= 1 && Code != -1);
  if (Code != 0) {
    ORV_FUZZ_CHECK(F.NumData() == 1 && F.DataX(1) == -3.5 && F.DataY(1) == 8.25 && F.MeanX() == -3.5);
    return 0;
  }
  const int32_t N = F.NumData();
  ORV_FUZZ_CHECK(N >= 0 && static_cast<size_t>(N) <= S.size());
  if (N > 20000) return 0;  // the round trip below writes the pairs in full
  const std::string& Name = orv::fuzz::Scratch().Hold("");
  ORV_FUZZ_CHECK(F.ExportAsASC(Name, "", 3).empty());
  orv::TCurveFit G;
  ORV_FUZZ_CHECK(G.ImportASC(Name) == 0 && G.NumData() == N);
  return 0;
}
