// The package table and the load and unload hooks. This file is linked last:
// its hook object is therefore constructed after, and destroyed before, the
// state of every unit.
#include "orvcalckit/ORV_package.h"

#include "core/units.h"

namespace orv {

namespace {

constexpr TPackageUnitEntry Units[] = {
    {"ORV_math1", detail::Math1Initialization, detail::Math1Finalization},
    {"ORV_complex", detail::ComplexInitialization, detail::ComplexFinalization},
    {"ORV_matrix", detail::MatrixInitialization, detail::MatrixFinalization},
    {"ORV_datatable", detail::DatatableInitialization, detail::DatatableFinalization},
    {"ORV_math2", detail::Math2Initialization, detail::Math2Finalization},
    {"ORV_membl", detail::MemblInitialization, detail::MemblFinalization},
    {"ORV_kohonen", detail::KohonenInitialization, detail::KohonenFinalization},
};

constexpr const char* Requires[] = {"libstdc++", "orvcorekit_rt"};

constexpr TPackageInfoTable InfoTable{Units, Requires};

}  // namespace

const TPackageInfoTable& GetPackageInfoTable() { return InfoTable; }

void Initialize() {
  for (const auto& U : InfoTable.Units)
    if (U.Init) U.Init();
}

void Finalize() {
  for (auto It = InfoTable.Units.rbegin(); It != InfoTable.Units.rend(); ++It)
    if (It->FInit) It->FInit();
}

namespace {

struct TLoadHook {
  TLoadHook() { Initialize(); }
  ~TLoadHook() { Finalize(); }
} LoadHook;

}  // namespace

}  // namespace orv
