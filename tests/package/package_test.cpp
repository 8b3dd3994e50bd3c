// Loading and unloading the library through the dynamic loader: the start
// work runs at load, once, however often Initialize and Finalize are called.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvcalckit/ORV_package.h"
#include "orvcorekit/Orv_orvbase.h"

namespace {

template <class F>
F Entry(void* Lib, const char* Mangled) {
  // The entry points are C++ functions in namespace orv; dlsym needs their
  // Itanium-mangled names.
  void* P = dlsym(Lib, Mangled);
  EXPECT_NE(P, nullptr) << Mangled;
  return reinterpret_cast<F>(P);
}

TEST(PackageLoad, StartWorkRunsOncePerLoad) {
  orv::MathFeedBackProc = [](double) {};
  orv::AbortMathProc = true;
  void* Lib = dlopen(ORV_CALCKIT_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(Lib, nullptr) << dlerror();
  EXPECT_FALSE(orv::MathFeedBackProc) << "start work clears the feedback hook";
  EXPECT_FALSE(orv::AbortMathProc) << "start work of ORV_math2 clears the abort flag";
  auto* NearZero = static_cast<orv::Extended*>(dlsym(Lib, "_ZN3orv11CpxNearZeroE"));
  ASSERT_NE(NearZero, nullptr);
  EXPECT_EQ(*NearZero, orv::Extended(1e-15L));

  auto Init = Entry<void (*)()>(Lib, "_ZN3orv10InitializeEv");
  auto Fin = Entry<void (*)()>(Lib, "_ZN3orv8FinalizeEv");
  orv::MathFeedBackProc = [](double) {};
  *NearZero = 0;
  Init();  // already started: nothing runs
  EXPECT_TRUE(orv::MathFeedBackProc);
  EXPECT_EQ(*NearZero, 0);
  Fin();   // undoes the second Initialize only
  Fin();   // the real shut-down
  Fin();   // one too many: nothing runs
  Init();  // balances the extra Finalize
  EXPECT_TRUE(orv::MathFeedBackProc);
  Init();  // a start again
  EXPECT_FALSE(orv::MathFeedBackProc);
  EXPECT_EQ(*NearZero, orv::Extended(1e-15L));
  EXPECT_EQ(dlclose(Lib), 0);
}

TEST(PackageLoad, TableListsUnitsInStartOrder) {
  void* Lib = dlopen(ORV_CALCKIT_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(Lib, nullptr) << dlerror();
  auto Table = Entry<const orv::TPackageInfoTable& (*)()>(Lib, "_ZN3orv19GetPackageInfoTableEv");
  const orv::TPackageInfoTable& T = Table();
  const std::vector<std::string> StartOrder = {"ORV_math1", "ORV_complex", "ORV_matrix", "ORV_datatable",
                                               "ORV_math2", "ORV_membl",   "ORV_kohonen"};
  std::vector<std::string> Listed;
  for (const auto& U : T.Units) {
    ASSERT_NE(U.Name, nullptr);
    for (const auto& S : StartOrder)
      if (S == U.Name) Listed.push_back(S);
  }
  ASSERT_FALSE(Listed.empty());
  size_t Pos = 0;
  for (const auto& L : Listed) {
    while (Pos < StartOrder.size() && StartOrder[Pos] != L) ++Pos;
    EXPECT_LT(Pos, StartOrder.size()) << L << " is out of order";
  }
  bool NeedsBase = false;
  for (const char* R : T.Requires) NeedsBase |= std::string(R) == "orvcorekit_rt";
  EXPECT_TRUE(NeedsBase);
  EXPECT_EQ(dlclose(Lib), 0);
}

}  // namespace
