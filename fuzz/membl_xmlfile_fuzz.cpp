// TMemBasedLearner::LoadModelXML on arbitrary text: the result is 0 or -1,
// or EConvertError for a numnnb that is no integer; without model data read
// the model stays as it was; a model read is no larger than its text allows
// (two characters a cell) and reads back with the same size, names and
// settings after StoreModelXML.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_membl.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"

namespace {

using namespace orv;

struct TState {
  std::string Comment, ModelName;
  int32_t K, Cols, Rows, Dist, Scaling, Local;
  bool operator==(const TState&) const = default;
};

TState StateOf(const TMemBasedLearner& L) {
  const TDataTable& T = *L.ModelData;
  return {L.Comment(), L.ModelName(), L.NumNearestNb(), T.NrOfColumns(), T.NrOfRows(),
          L.DistMode(), L.ScalingMode(), L.LocalModel()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string& Name = fuzz::Scratch().Hold(std::string_view(reinterpret_cast<const char*>(Data), Size));
  TMemBasedLearner L;
  std::string Id = "kept";
  int32_t R = 0;
  try {
    R = L.LoadModelXML(Name, Id);
  } catch (const EConvertError&) {
    return 0;
  }
  ORV_FUZZ_CHECK(R == 0 || R == -1);
  const TDataTable& T = *L.ModelData;
  if (R != 0) {
    ORV_FUZZ_CHECK(T.NrOfColumns() == 1 && T.NrOfRows() == 1);
    return 0;
  }
  ORV_FUZZ_CHECK(int64_t{T.NrOfColumns()} * T.NrOfRows() * 2 <= static_cast<int64_t>(Size));
  const TState Read = StateOf(L);
  const std::string Out = Name + ".out";
  L.StoreModelXML(Out, Id);
  TMemBasedLearner Again;
  std::string Id2;
  ORV_FUZZ_CHECK(Again.LoadModelXML(Out, Id2) == 0);
  std::remove(Out.c_str());
  ORV_FUZZ_CHECK(Id2 == Id);
  ORV_FUZZ_CHECK(StateOf(Again) == Read);
  for (int32_t C = 1; C <= T.NrOfColumns(); ++C)
    ORV_FUZZ_CHECK(Again.ModelData->ColName(C) == StripLTBlanks(T.ColName(C)));
  return 0;
}
