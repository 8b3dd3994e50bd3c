// Progress globals, Boolean arrays and the numeric constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/raises.h"

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

TEST(BoolArrays, CellsAreAddressableBytesThatReadAndWriteLikeBool) {
  orv::TBool2DArray A(2, orv::TBoolArray(3));
  EXPECT_EQ(std::count(A[1].begin(), A[1].end(), true), 0);  // new cells are false
  A[1][2] = true;
  orv::TBool& Cell = A[0][1];  // a reference, not a proxy
  Cell = A[1][2];
  EXPECT_TRUE(A[0][1]);
  A[0][1] = !A[0][1];
  std::swap(A[0][0], A[1][2]);
  EXPECT_EQ(std::count(A[0].begin(), A[0].end(), true), 1);
  const unsigned char Bytes[3] = {1, 0, 0};
  EXPECT_EQ(std::memcmp(A[0].data(), Bytes, 3), 0);
  EXPECT_EQ(A[1], (orv::TBoolArray{false, false, false}));
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
  orv::test::ExpectRaises<orv::Exception>([] { throw orv::EORVError("Component \"V\": not enough memory on heap"); },
                                          "Component \"V\": not enough memory on heap");
  EXPECT_EQ(orv::EORVError("no memory").Message(), "no memory");
}

}  // namespace
