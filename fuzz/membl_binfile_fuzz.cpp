// TMemBasedLearner::LoadModelBin on arbitrary bytes: the result is 0, -1 or
// -2; a refused file leaves the learner as it was; an accepted one sizes the
// model by what the file holds (9 bytes a cell at least), its model serves
// ApplyModel and the contingency table, and it reads back the same after
// StoreModelBin.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_membl.h"

namespace {

using namespace orv;

struct TState {
  std::string Comment, ModelName, TableComment;
  int32_t K, Cols, Rows, Dist, Scaling, Local;
  bool operator==(const TState&) const = default;
};

TState StateOf(const TMemBasedLearner& L) {
  const TDataTable& T = *L.ModelData;
  return {L.Comment(), L.ModelName(), T.Comment(),  L.NumNearestNb(), T.NrOfColumns(), T.NrOfRows(),
          L.DistMode(), L.ScalingMode(), L.LocalModel()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string& Name = fuzz::Scratch().Hold(std::string_view(reinterpret_cast<const char*>(Data), Size));
  TMemBasedLearner L;
  L.SetComment("before");
  const TState Before = StateOf(L);
  std::string Id = "kept";
  const int32_t R = L.LoadModelBin(Name, Id);
  ORV_FUZZ_CHECK(R == 0 || R == -1 || R == -2);
  if (R != 0) {
    ORV_FUZZ_CHECK(StateOf(L) == Before && Id == "kept");
    return 0;
  }
  const TDataTable& T = *L.ModelData;
  ORV_FUZZ_CHECK(int64_t{T.NrOfColumns()} * T.NrOfRows() * 9 <= static_cast<int64_t>(Size));
  if (int64_t{T.NrOfColumns()} * T.NrOfRows() <= 4096) {
    TDoubleArray Sensor(static_cast<size_t>(T.NrOfColumns()), 0.5);
    const int32_t A = L.ApplyModel(Sensor, 2, 0);
    ORV_FUZZ_CHECK(A >= -2 && A <= 0);
    if (T.NrOfRows() <= 64)
      for (int32_t C = 0; C <= T.NrOfColumns() + 1; ++C) {
        TInt2DArray Tab;
        const int32_t Code = L.CalcContingencyTable(C, 1, Tab);
        ORV_FUZZ_CHECK(Code <= 0 && Code >= -5);
        if (Code == 0) ORV_FUZZ_CHECK(Tab.back().back() <= T.NrOfRows());
      }
  }
  const TState Read = StateOf(L);
  const std::string Out = Name + ".out";
  L.StoreModelBin(Out, Id);
  TMemBasedLearner Again;
  std::string Id2;
  ORV_FUZZ_CHECK(Again.LoadModelBin(Out, Id2) == 0);
  std::remove(Out.c_str());
  ORV_FUZZ_CHECK(Id2 == Id);
  ORV_FUZZ_CHECK(StateOf(Again) == Read);
  return 0;
}
