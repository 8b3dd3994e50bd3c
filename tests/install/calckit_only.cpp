// Calls the library alone, so that, linked --as-needed, its one dependency of
// ours is liborvcalckit_rt: the base library must then be found through the
// installed library's own run path.
#include <orvcalckit/orvcalckit.h>

int main() { return orv::GetPackageInfoTable().Units.empty() ? 1 : 0; }
