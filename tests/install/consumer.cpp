// Built against an installed copy: the headers, both libraries and the start state.
#include <orvcalckit/orvcalckit.h>

#include <cstdio>

int main() {
  const auto& Table = orv::GetPackageInfoTable();
  if (Table.Units.empty() || orv::MathFeedBackProc || orv::AbortMathProc) return 1;
  std::printf("%s\n", orv::strff(3.14159, 8, 3).c_str());
  return orv::strff(3.14159, 8, 3) == "   3.142" ? 0 : 1;
}
