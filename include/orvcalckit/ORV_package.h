// The package entry points: the table of units with their start and shut-down
// work, and the calls that run it. Loading the shared library runs Initialize,
// unloading runs Finalize; a host may call both again, and each unit's work
// still runs once per load.
#pragma once

#include <cstdint>
#include <span>

#include "ORV_export.h"

namespace orv {

using TUnitProc = void (*)();

struct TPackageUnitEntry {
  const char* Name;      // the unit, e.g. "ORV_math1"
  TUnitProc Init;        // start work; nullptr when the unit has none
  TUnitProc FInit;       // shut-down work; nullptr when the unit has none
};

struct TPackageInfoTable {
  std::span<const TPackageUnitEntry> Units;  // in start order
  std::span<const char* const> Requires;     // the packages this one needs loaded first
};

ORV_API const TPackageInfoTable& GetPackageInfoTable();
ORV_API void Initialize();  // start entries in table order
ORV_API void Finalize();    // shut-down entries in reverse order

}  // namespace orv
