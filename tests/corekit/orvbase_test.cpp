// Progress globals and the numeric constants.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

TEST(Progress, IncProcStatAddsAndReportsTheNewValue) {
  orv::ProcStat = 10.0;
  std::vector<double> Seen;
  orv::MathFeedBackProc = [&](double V) { Seen.push_back(V); };
  EXPECT_EQ(orv::IncProcStat(), 11.0);
  orv::IncProcStat(2.5);
  orv::IncProcStat(1.0, false);
  orv::MathFeedBackProc = nullptr;
  orv::IncProcStat();  // no handler: nothing to call
  EXPECT_EQ(Seen, (std::vector<double>{11.0, 13.5}));
  EXPECT_EQ(orv::ProcStat.load(), 15.5);
}

TEST(Constants, LnFactorialMatchesIndependentValues) {
  EXPECT_EQ(orv::uc_LnFactorial[0], 0.0);
  EXPECT_EQ(orv::uc_LnFactorial[1], 0.0);
  EXPECT_DOUBLE_EQ(orv::uc_LnFactorial[10], std::log(3628800.0));
  // ln(1000!) = 5912.128178488163348878... (published tables of log-factorials)
  EXPECT_DOUBLE_EQ(orv::uc_LnFactorial[1000], 5912.128178488163);
  for (int n = 2; n <= orv::uc_LnFactorialMax; ++n) {
    const double Ref = std::lgamma(n + 1.0);
    EXPECT_NEAR(orv::uc_LnFactorial[n], Ref, 4e-16 * Ref) << "n = " << n;
  }
  EXPECT_DOUBLE_EQ(orv::uc_sqrt2pitom1, 1.0 / std::sqrt(2.0 * M_PI));
  EXPECT_EQ(orv::uc_sqrt2 * orv::uc_sqrt2, 2.0000000000000004);  // the nearest double of sqrt 2
  EXPECT_EQ(orv::uc_MaxReal, orv::uc_MaxDouble);
}

TEST(Errors, UnitErrorsDeriveFromTheBaseClasses) {
  try {
    throw orv::EORVError("Component \"V\": not enough memory on heap");
  } catch (const orv::Exception& E) {
    EXPECT_EQ(E.Message(), "Component \"V\": not enough memory on heap");
  }
}

}  // namespace
