// Frequency tables: 2 x 2 probabilities, Fisher's exact test, chi-square
// tests, the adjusted Rand index and lambda.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_univconst.h"
#include "tables/conttab.h"
#include "tables/probability.h"

namespace orv {

namespace {

using TTable = detail::TContTabRef<const TInt2DArray>;

bool Is2x2(const TInt2DArray& T) { return T.size() == 2 && T[0].size() == 2 && T[1].size() == 2; }

// The probability of the table (a, b, c, d) under its margins, the sum in
// the documented order; cells non-negative, N <= 1000.
double Prob2x2(int32_t a, int32_t b, int32_t c, int32_t d) {
  const double* F = uc_LnFactorial;
  const int32_t N = a + b + c + d;
  return std::exp(F[a + c] + F[b + d] + F[a + b] + F[c + d] - F[a] - F[b] - F[c] - F[d] - F[N]);
}

// The check of both 2 x 2 routines: -1, -3 before -2, or 0.
int32_t Check2x2(const TInt2DArray& T) {
  if (!Is2x2(T)) return -1;
  if (std::min({T[0][0], T[0][1], T[1][0], T[1][1]}) < 0) return -3;
  const int64_t N = int64_t{T[0][0]} + T[0][1] + T[1][0] + T[1][1];
  return N > uc_LnFactorialMax ? -2 : 0;
}

// At least one inner cell, every column as long as the first.
bool HasInnerCells(const TInt2DArray& T) { return TTable::Shaped(T) && T.size() >= 2 && T.front().size() >= 2; }

double Pairs(int64_t n) { return static_cast<double>(n) * static_cast<double>(n - 1) / 2; }

}  // namespace

int32_t Prob2x2Contingency(const TInt2DArray& Table, double& p) {
  p = 0;
  const int32_t Code = Check2x2(Table);
  if (Code != 0) return Code;
  p = detail::ClampProbability(Prob2x2(Table[0][0], Table[0][1], Table[1][0], Table[1][1]));
  return 0;
}

int32_t FisherExactTest(const TInt2DArray& Table, double& pLow, double& pHigh, double& pTwoSided) {
  pLow = pHigh = pTwoSided = 0;
  const int32_t Code = Check2x2(Table);
  if (Code != 0) return Code;
  const int32_t a = Table[0][0], b = Table[0][1], c = Table[1][0], d = Table[1][1];
  const int32_t R1 = a + c, C1 = a + b, N = a + b + c + d;
  const double p0 = Prob2x2(a, b, c, d);
  // Every table with these margins, by its cell a' (the others follow).
  double Low = 0, High = 0, TwoSided = 0;
  for (int32_t ai = std::max(0, R1 + C1 - N), Last = std::min(R1, C1); ai <= Last; ++ai) {
    const double pi = Prob2x2(ai, C1 - ai, R1 - ai, N - R1 - C1 + ai);
    if (ai <= a) Low += pi;
    if (ai >= a) High += pi;
    if (pi <= p0) TwoSided += pi;
  }
  // Sums of rounded terms: {{0, 5}, {7, 0}} alone gives pHigh 1 + 3e-15.
  pLow = detail::ClampProbability(Low);
  pHigh = detail::ClampProbability(High);
  pTwoSided = detail::ClampProbability(TwoSided);
  return 0;
}

int32_t Chi2OfContTab(const TInt2DArray& Table, double& Chi2, double& p) {
  Chi2 = p = 0;
  if (!TTable::Shaped(Table) || Table.size() < 3 || Table.front().size() < 3) return -1;
  const TTable T(Table);
  const double Grand = T.GrandTotal();
  double Sum = 0;
  for (int32_t i = 0; i < T.Cols(); ++i) {
    for (int32_t j = 0; j < T.Rows(); ++j) {
      const double E = T.ColTotal(i) / Grand * T.RowTotal(j);
      if (!(E > 0)) continue;  // also 0 / 0 of an empty table
      const double Dev = T.Cell(i, j) - E;
      Sum += Dev * Dev / E;
    }
  }
  Chi2 = Sum;
  p = Chi2DistriUpperTail(Sum, static_cast<double>(T.Cols() - 1) * (T.Rows() - 1));
  return 0;
}

int32_t Chi2OfContTabYates(const TInt2DArray& Table, double& Chi2, double& p) {
  Chi2 = p = 0;
  if (Table.size() != 3 || Table[0].size() != 3 || Table[1].size() != 3 || Table[2].size() != 3) return -1;
  const TTable T(Table);
  const int64_t ad = int64_t{T.Cell(0, 0)} * T.Cell(1, 1), bc = int64_t{T.Cell(0, 1)} * T.Cell(1, 0);
  // |ad - bc| reaches 2^63 only with negative cells; double holds it.
  const double Diff = std::fabs(static_cast<double>(ad) - static_cast<double>(bc));
  const double N = T.GrandTotal();
  // Corrected by at most |ad - bc|: the correction never turns a small
  // deviation into a larger one.
  const double Corrected = std::max(Diff - N / 2, 0.0);
  Chi2 = Corrected * Corrected * N;
  const double D = static_cast<double>(T.ColTotal(0)) * T.ColTotal(1) * T.RowTotal(0) * T.RowTotal(1);
  if (D == 0) return -2;
  Chi2 /= D;
  p = Chi2DistriUpperTail(Chi2, 1);
  return 0;
}

double AdjustedRandIx(const TInt2DArray& Table) {
  if (!HasInnerCells(Table)) return std::numeric_limits<double>::quiet_NaN();
  const TTable T(Table);
  double S = 0, A = 0, B = 0;
  for (int32_t i = 0; i < T.Cols(); ++i)
    for (int32_t j = 0; j < T.Rows(); ++j) S += Pairs(T.Cell(i, j));
  for (int32_t j = 0; j < T.Rows(); ++j) A += Pairs(T.RowTotal(j));
  for (int32_t i = 0; i < T.Cols(); ++i) B += Pairs(T.ColTotal(i));
  const double P = Pairs(T.GrandTotal());
  if (P == 0) return 1;
  const double E = A * B / P;
  const double Den = (A + B) / 2 - E;
  return Den == 0 ? 1 : (S - E) / Den;
}

int32_t Lambda(const TInt2DArray& Table, double& LambdaRows, double& LambdaCols) {
  LambdaRows = LambdaCols = 0;
  if (!HasInnerCells(Table)) return -1;
  const TTable T(Table);
  constexpr int64_t None = std::numeric_limits<int64_t>::min();
  // Over the lines of one direction: whether each sums to its total, the
  // sum of their largest cells, the largest total and the sum of all.
  struct TLines {
    bool Consistent = true;
    int64_t SumOfMax = 0, MaxTotal = None, Sum = 0;
  };
  const auto Scan = [](int32_t Lines, int32_t Cells, auto&& Cell, auto&& Total) {
    TLines L;
    for (int32_t o = 0; o < Lines; ++o) {
      int64_t Sum = 0, Max = None;
      for (int32_t i = 0; i < Cells; ++i) {
        Sum += Cell(o, i);
        Max = std::max<int64_t>(Max, Cell(o, i));
      }
      L.Consistent = L.Consistent && Sum == Total(o);
      L.SumOfMax += Max;
      L.MaxTotal = std::max<int64_t>(L.MaxTotal, Total(o));
      L.Sum += Sum;
    }
    return L;
  };
  const TLines Cols = Scan(
      T.Cols(), T.Rows(), [&](int32_t c, int32_t r) { return T.Cell(c, r); }, [&](int32_t c) { return T.ColTotal(c); });
  const TLines Rows = Scan(
      T.Rows(), T.Cols(), [&](int32_t r, int32_t c) { return T.Cell(c, r); }, [&](int32_t r) { return T.RowTotal(r); });
  const int64_t N = T.GrandTotal();
  if (!Cols.Consistent || !Rows.Consistent || Cols.Sum != N) return -1;
  // All items in one category leave nothing to predict: no reduction of error.
  if (N != Rows.MaxTotal)
    LambdaRows = static_cast<double>(Cols.SumOfMax - Rows.MaxTotal) / static_cast<double>(N - Rows.MaxTotal);
  if (N != Cols.MaxTotal)
    LambdaCols = static_cast<double>(Rows.SumOfMax - Cols.MaxTotal) / static_cast<double>(N - Cols.MaxTotal);
  return 0;
}

}  // namespace orv
