// The runs tests of a Boolean sequence and of a series split at its median.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "orvcalckit/detail/index.h"
#include "tables/probability.h"
#include "tables/statis_binomial.h"

namespace orv {

namespace {

// P(R <= Runs) for N1 <= N2 (both >= 1) as the count of arrangements with
// r = 2..Runs runs over C(N1 + N2, N1): r = 2s gives 2 C(N1-1, s-1)
// C(N2-1, s-1), r = 2s + 1 gives C(N1-1, s) C(N2-1, s-1) + C(N1-1, s-1)
// C(N2-1, s) (F. S. Swed and C. Eisenhart, "Tables for testing randomness of
// grouping in a sequence of alternatives", Annals of Mathematical Statistics
// 14(1), 1943). Every count lies below C(N1 + N2, N1).
template <class T>
double RunsProbability(int64_t N1, int64_t N2, int64_t Runs, T Total) {
  // A[j] = C(N1 - 1, j), B[j] = C(N2 - 1, j) for j = 0..N1.
  std::vector<T> A(detail::Ix(N1 + 1)), B(detail::Ix(N1 + 1));
  for (int64_t j = 0; j <= N1; ++j) {
    A[detail::Ix(j)] = detail::Binomial<T>(N1 - 1, j, Total);
    B[detail::Ix(j)] = detail::Binomial<T>(N2 - 1, j, Total);
  }
  T Count = 0;
  for (int64_t r = 2; r <= Runs; ++r) {
    const int64_t s = r / 2;
    if (r % 2 == 0)
      Count += 2 * A[detail::Ix(s - 1)] * B[detail::Ix(s - 1)];
    else
      Count += A[detail::Ix(s)] * B[detail::Ix(s - 1)] + A[detail::Ix(s - 1)] * B[detail::Ix(s)];
  }
  return static_cast<double>(Count) / static_cast<double>(Total);
}

}  // namespace

double ExactRunsTest(int32_t N1, int32_t N2, int32_t Runs) {
  if (N1 < 0 || N2 < 0) return 0;
  if (N1 == 0 || N2 == 0) return Runs >= 1 ? 1 : 0;
  if (Runs < 2) return 0;
  if (N1 > N2) std::swap(N1, N2);
  const int64_t N = int64_t{N1} + N2;
  // No more than 2 N1 + 1 runs are possible: the rest of the sum is 0.
  const int64_t R = std::min<int64_t>(Runs, 2 * int64_t{N1} + 1);
  // Below 2^56 no count, and no partial product of a binomial, passes 2^63.
  constexpr int64_t ExactLimit = int64_t{1} << 56;
  const int64_t Exact = detail::Binomial<int64_t>(N, N1, ExactLimit);
  // Beyond 2^56 the counts are summed in double: (100, 100, 157) gives 1 + 2.4e-15.
  if (Exact <= ExactLimit) return detail::ClampProbability(RunsProbability<int64_t>(N1, N2, R, Exact));
  constexpr double Huge = std::numeric_limits<double>::max();
  const double Total = detail::Binomial<double>(N, N1, Huge);
  if (!(Total <= Huge)) return -1;
  return detail::ClampProbability(RunsProbability<double>(N1, N2, R, Total));
}

bool RunsTest(const TBitFld* Bits, double& P) {
  if (Bits == nullptr) return false;
  int64_t N1 = 0, Runs = 1;
  const int32_t S = Bits->Size();
  bool Prev = Bits->GetBit(0);
  for (int32_t i = 0;; ++i) {
    const bool b = Bits->GetBit(i);
    N1 += b;
    Runs += b != Prev;
    Prev = b;
    if (i == S) break;
  }
  const int64_t N2 = int64_t{S} + 1 - N1;
  if (N1 == 0 || N2 == 0) {
    P = 1;
    return false;
  }
  if (N1 > 25 || N2 > 25) {
    // The moments of the number of runs (A. Wald and J. Wolfowitz, "On a test
    // whether two samples are from the same population", Annals of
    // Mathematical Statistics 11(2), 1940).
    const double p2 = 2.0 * static_cast<double>(N1) * static_cast<double>(N2);
    const double n = static_cast<double>(N1 + N2);
    const double Sigma = std::sqrt(p2 * (p2 - n) / (n * n * (n - 1)));
    const double z = (static_cast<double>(Runs) - p2 / n - 1) / Sigma;
    // The upper tail as the lower one of -z, without the cancellation of 1 - Phi(z).
    P = nDistriIntegral(z <= 0 ? z : -z);
  } else {
    P = ExactRunsTest(static_cast<int32_t>(N1), static_cast<int32_t>(N2), static_cast<int32_t>(Runs));
  }
  return P < 0.05;
}

bool RunsTestSerial(const TVector* Data, double& P) {
  P = -1;
  if (Data == nullptr) return false;
  double Q1 = 0, Median = 0, Q3 = 0;
  // The sort inside Quartiles reports to MathFeedBackProc, which may change
  // Data: the series is then read as it was, from a copy taken first.
  TDoubleArray Was;
  try {
    if (MathFeedBackProc) Data->CopyToArray(Was, 0, 0);
    if (!Data->Quartiles(0, 0, Q1, Median, Q3)) return false;
  } catch (const EORVVectorError&) {
    return false;  // no room for the copies
  }
  const int32_t n = Was.empty() ? Data->NrOfElem() : static_cast<int32_t>(Was.size());
  TBitFld Bits;
  Bits.SetSize(n - 1);
  for (int32_t i = 1; i <= n; ++i) Bits.SetBit(i - 1, (Was.empty() ? Data->GetVal(i) : Was[detail::Ix1(i)]) > Median);
  return RunsTest(&Bits, P);
}

}  // namespace orv
