// Loads the library and shows its start state.
#include <orvcalckit/orvcalckit.h>

#include <cstdio>

int main() {
  const auto& Table = orv::GetPackageInfoTable();
  std::printf("orvcalckit_rt loaded; units in start order:\n");
  for (const auto& U : Table.Units)
    std::printf("  %-14s start work: %-3s shut-down work: %s\n", U.Name, U.Init ? "yes" : "no",
                U.FInit ? "yes" : "no");
  std::printf("requires:");
  for (const char* R : Table.Requires) std::printf(" %s", R);
  std::printf("\nProcStat = %s, MathFeedBackProc %s, AbortMathProc %s\n", orv::strff(orv::ProcStat, 1, 1).c_str(),
              orv::MathFeedBackProc ? "assigned" : "nil", orv::AbortMathProc ? "true" : "false");
  return 0;
}
