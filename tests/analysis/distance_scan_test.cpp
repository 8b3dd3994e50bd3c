// The blocked distance scan of the neighbour routines and the learner against
// the plain loop over each row's columns, bit for bit, on values that test the
// vector rounding (halves, the ends of the range where 2^52 rounds, infinities,
// NaN, signed zeros), with standardised columns and every block length.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "analysis/distance_scan.h"
#include "core/simd.h"
#include "support/splitmix.h"

namespace orv {
namespace {

// Built per vector width like the library's own callers of ScanSums.
template <int Bytes>
ORV_SIMD_INLINE uint32_t KernelLanes(const detail::TScanColumn* Cols, int32_t NCols, int32_t Len, bool Manhattan,
                                     double Bound, double* Sums) {
  return Manhattan ? detail::ScanSums<true, Bytes>(Cols, NCols, 0, Len, Bound, Sums)
                   : detail::ScanSums<false, Bytes>(Cols, NCols, 0, Len, Bound, Sums);
}
ORV_SIMD_BY_WIDTH(uint32_t, Kernel,
                  (const detail::TScanColumn* Cols, int32_t NCols, int32_t Len, bool Manhattan, double Bound,
                   double* Sums),
                  (Cols, NCols, Len, Manhattan, Bound, Sums))

// The plain loop: each row's terms in column order from 0.0.
double Plain(const std::vector<detail::TScanColumn>& Cols, int32_t Row, bool Manhattan) {
  double S = 0.0;
  for (const detail::TScanColumn& C : Cols) {
    double X = C.Cells[Row];
    if (C.Round) X = RoundHalfEven(X);
    if (C.Scale) X = C.Sd != 0.0 ? (X - C.Mean) / C.Sd : X - C.Mean;
    const double D = C.Query - X;
    S += Manhattan ? std::fabs(D) : D * D;
  }
  return S;
}

bool SameBits(double A, double B) {
  return (std::isnan(A) && std::isnan(B)) || std::bit_cast<uint64_t>(A) == std::bit_cast<uint64_t>(B);
}

TEST(DistanceScan, BlocksMatchThePlainLoop) {
  constexpr double Inf = std::numeric_limits<double>::infinity(), Nan = std::numeric_limits<double>::quiet_NaN();
  const double Edge[] = {0.5,  -0.5,   1.5,  -1.5,           2.5,           -2.5,        0.49999999999999994,
                         -0.3, 0.0,    -0.0, 0x1p51 + 0.5,   -0x1p51 - 0.5, 0x1p52 - 0.5, -0x1p52 + 0.5,
                         0x1p52, 0x1p52 + 1, -0x1p53 - 2, 1e300,        -1e300,        Inf,         -Inf,
                         Nan,  4.5e-320, 7.5};
  constexpr int32_t Rows = 256;
  // Six columns: plain, rounded, standardised (Sd 0 and not), rounded and
  // standardised, and one of huge values; cells random in [-3, 3), the edge
  // values in every third row of the rounded ones.
  std::vector<std::vector<double>> Cells(6);
  for (size_t C = 0; C < Cells.size(); ++C) {
    for (const double U : test::SplitMixValues(C + 1, Rows)) Cells[C].push_back(6 * U - 3);
    for (size_t R = C; R < Rows; R += 3) Cells[C][R] = Edge[(R / 3 + C) % std::size(Edge)];
  }
  std::vector<detail::TScanColumn> Cols = {
      {Cells[0].data(), 0.25},
      {Cells[1].data(), -1.0, true},
      {Cells[2].data(), 0.5, false, true, 0.75, 2.0},
      {Cells[3].data(), -0.0, false, true, -0.0, 0.0},
      {Cells[4].data(), 3.0, true, true, 1.5, 0.3},
      {Cells[5].data(), 1e200, true},
  };
  double Sums[Rows];
  int32_t PassedOver = 0;
  for (const bool Manhattan : {false, true})
    for (const size_t NCols : {size_t{0}, size_t{1}, size_t{2}, size_t{5}, Cols.size()})
      for (const int32_t Len : {0, 1, 15, 16, 37, 255, 256})
        for (const double Bound : {HUGE_VAL, 4.0, 0.0, -0.0}) {
          const std::vector<detail::TScanColumn> Use(Cols.begin(), Cols.begin() + static_cast<std::ptrdiff_t>(NCols));
          const uint32_t Groups = Kernel(Use.data(), static_cast<int32_t>(NCols), Len, Manhattan, Bound, Sums);
          for (int32_t R = 0; R < Len; ++R) {
            const double Want = Plain(Use, R, Manhattan);
            ASSERT_TRUE(SameBits(Sums[R], Want))
                << Sums[R] << " != " << Want << ", row " << R << ", " << NCols << " columns, Manhattan " << Manhattan;
            // A group passed over holds no sum a caller would take.
            if ((Groups >> (R / 16) & 1) == 0) {
              ASSERT_FALSE(Sums[R] <= Bound) << R << ' ' << Bound;
              PassedOver += R % 16 == 0;
            }
          }
          if (Bound == HUGE_VAL && Len > 0) {
            EXPECT_EQ(Groups, (uint32_t{1} << ((Len + 15) / 16)) - 1);
          }
        }
  EXPECT_GT(PassedOver, 100);
}

}  // namespace
}  // namespace orv
