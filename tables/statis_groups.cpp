// Tests of two samples and of groups: median test, comparison of binned
// distributions, Friedman, Levene and one-way analysis of variance.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

#include "core/order_stats.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;

namespace {

// ---- groups ----------------------------------------------------------------------

// The sum and count of each group, found by label without a search: labels
// near the first one (within the count of values, at most 2048 away) index
// a table directly; others go through a hash map, in the order they first
// appear. The slot a group takes changes only the order in which the group
// terms are added up.
class TGroupSums {
 public:
  TGroupSums(int32_t FirstLabel, int32_t N) {
    const int64_t Half = std::min<int64_t>(2048, int64_t{N} + 64);
    FBase = int64_t{FirstLabel} - Half;
    FSum.assign(Ix(2 * Half), 0.0);
    FCount.assign(Ix(2 * Half), 0);
  }
  // The table's slot of Label, Slots() or more for a label beyond it.
  uint64_t SlotOf(int32_t Label) const { return static_cast<uint64_t>(int64_t{Label} - FBase); }
  uint64_t Slots() const { return FSum.size(); }
  double* Sums() { return FSum.data(); }
  int64_t* Counts() { return FCount.data(); }
  // The mean of the group of Label, which has been added.
  double Mean(int32_t Label) const {
    const uint64_t d = static_cast<uint64_t>(int64_t{Label} - FBase);
    if (d < FSum.size()) return FSum[d] / static_cast<double>(FCount[d]);
    const size_t k = Ix(FFar.find(Label)->second);
    return FFarSum[k] / static_cast<double>(FFarCount[k]);
  }
  // Calls Fn(sum, count) for every group.
  template <class F>
  void ForEach(F&& Fn) const {
    for (size_t d = 0; d < FSum.size(); ++d)
      if (FCount[d] > 0) Fn(FSum[d], FCount[d]);
    for (size_t k = 0; k < FFarSum.size(); ++k) Fn(FFarSum[k], FFarCount[k]);
  }

  // A label beyond the table.
  void AddFar(int32_t Label, double v) {
    const auto [It, New] = FFar.try_emplace(Label, static_cast<int32_t>(FFarSum.size()));
    if (New) {
      FFarSum.push_back(0);
      FFarCount.push_back(0);
    }
    FFarSum[Ix(It->second)] += v;
    ++FFarCount[Ix(It->second)];
  }

 private:
  int64_t FBase;
  std::vector<double> FSum;
  std::vector<int64_t> FCount;
  std::unordered_map<int32_t, int32_t> FFar;
  std::vector<double> FFarSum;
  std::vector<int64_t> FFarCount;
};

struct TSquares {
  double SSB, SSW, SST;
  int32_t Groups;
};

struct TRun {
  double S, Q2;
  int32_t End;
};

// Sums of the values (less Shift), of their squares and per group from
// element i on, up to the end or the first label beyond the table: a loop
// without calls, kept out of line so that S and Q2 stay in registers.
template <class ValueAt>
[[gnu::noinline]] TRun DenseRun(const TIntVector& Labels, TGroupSums& Groups, ValueAt& Value, double Shift,
                                int32_t i, TRun R) {
  const int32_t N = Labels.NrOfElem();
  double* Sum = Groups.Sums();
  int64_t* Count = Groups.Counts();
  const uint64_t Slots = Groups.Slots();
  double S = R.S, Q2 = R.Q2;
  for (; i < N; ++i) {
    const uint64_t d = Groups.SlotOf(Labels.GetVal(i + 1));
    if (d >= Slots) break;
    const double v = Value(i) - Shift;
    S += v;
    Q2 += v * v;
    Sum[d] += v;
    ++Count[d];
  }
  return {S, Q2, i};
}

// The sums of squares of a one-way layout, from sums of the values less the
// first one: S, Q2 and the group sums carry no common offset, so neither
// SSW = Q2 - G nor SSB = G - S^2 / N cancels it away. Groups holds the
// shifted sums afterwards.
template <class ValueAt>
TSquares OneWay(const TIntVector& Labels, TGroupSums& Groups, ValueAt&& Value) {
  const int32_t N = Labels.NrOfElem();
  const double Shift = Value(0);
  TRun R{0, 0, 0};
  for (;;) {
    R = DenseRun(Labels, Groups, Value, Shift, R.End, R);
    if (R.End == N) break;
    const double v = Value(R.End) - Shift;
    R.S += v;
    R.Q2 += v * v;
    Groups.AddFar(Labels.GetVal(R.End + 1), v);
    ++R.End;
  }
  const double S = R.S, Q2 = R.Q2;
  double Between = 0;
  int32_t Used = 0;
  Groups.ForEach([&](double GroupSum, int64_t n) {
    Between += GroupSum * GroupSum / static_cast<double>(n);
    ++Used;
  });
  const double Total = S * S / N;
  return {Between - Total, Q2 - Between, Q2 - Total, Used};
}

// Step 5 shared by Levene and Anova1F: F and the p-value or code.
double FTestResult(const TSquares& Q, int32_t N, double& F) {
  const int32_t g = Q.Groups;
  const double MSB = Q.SSB / (g - 1), MSW = Q.SSW / (N - g);
  if (MSW != 0) {
    F = MSB / MSW;
    return FDistriUpperTail(F, g - 1, N - g);
  }
  if (MSB != 0) {
    F = uc_MaxReal;
    return 0;
  }
  F = 0;
  return -3;
}

// The codes of both after the data's layout: -1, -2 or 0.
int32_t GroupCode(int32_t Groups, int32_t N) { return Groups <= 1 ? -1 : Groups >= N ? -2 : 0; }

bool Mismatched(const TVector* Data, const TIntVector* Groups) {
  return Data == nullptr || Groups == nullptr || Data->NrOfElem() != Groups->NrOfElem();
}

// ---- binned distributions --------------------------------------------------------

int32_t SaturatedInt(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t MedianTest(const TDoubleArray& Data1, const TDoubleArray& Data2, double& Chi2, double& p,
                   double& Chi2Yates, double& pYates, double& pFisher) {
  Chi2 = p = 0;
  pFisher = -1;
  const int64_t N1 = std::ssize(Data1), N2 = std::ssize(Data2);
  if (N1 == 0 || N2 == 0 || N1 + N2 > INT32_MAX) return -1;
  std::vector<double> All(Data1.begin(), Data1.end());
  All.insert(All.end(), Data2.begin(), Data2.end());
  detail::TRankSelector<double> Sel(All);
  double Q1, Median, Q3;
  detail::QuartilesByRank(N1 + N2, Sel, Q1, Median, Q3);
  const auto Above = [&](const TDoubleArray& D) {
    return static_cast<int32_t>(std::count_if(D.begin(), D.end(), [&](double x) { return x > Median; }));
  };
  // Columns: the samples; rows: above the median, not above.
  const int32_t a = Above(Data1), c = Above(Data2);
  const int32_t b = static_cast<int32_t>(N1) - a, d = static_cast<int32_t>(N2) - c;
  const TInt2DArray Table = {{a, b, a + b}, {c, d, c + d}, {a + c, b + d, a + b + c + d}};
  Chi2OfContTab(Table, Chi2, p);
  int32_t Result = 0;
  if (Chi2OfContTabYates(Table, Chi2Yates, pYates) != 0) {
    Chi2Yates = pYates = 0;
    Result = -2;
  }
  double Low, High, Two;
  if (FisherExactTest({{a, b}, {c, d}}, Low, High, Two) == 0) pFisher = std::min(Low, High);
  return Result;
}

int32_t PerformChi2DistComp(const TIntArray& Counts1, const TIntArray& Counts2, double& Chi2, double& p,
                            int32_t& df, int32_t& N1, int32_t& N2) {
  int32_t Result = 0;
  if (Counts1.size() != Counts2.size()) Result = -1;
  if (Counts1.empty() || Counts2.empty()) Result = -2;
  const size_t n = std::min(Counts1.size(), Counts2.size());
  int64_t Sum1 = 0, Sum2 = 0;
  for (size_t i = 0; i < n; ++i) {
    Sum1 += Counts1[i];
    Sum2 += Counts2[i];
  }
  N1 = SaturatedInt(Sum1);
  N2 = SaturatedInt(Sum2);
  if (Sum1 == 0 || Sum2 == 0) Result = -3;
  if (Result != 0) return Result;

  const double f1 = std::sqrt(static_cast<double>(Sum2) / static_cast<double>(Sum1));
  const double f2 = std::sqrt(static_cast<double>(Sum1) / static_cast<double>(Sum2));
  // A closed bin waits as Pending until the next one closes, so that a last
  // bin without second counts can still join it.
  double Sum = 0;
  int32_t Bins = 0;
  int64_t A = 0, B = 0, PendA = 0, PendB = 0;
  bool Pending = false;
  const auto Close = [&] {
    if (Pending) {
      const double Dev = static_cast<double>(PendA) * f1 - static_cast<double>(PendB) * f2;
      Sum += Dev * Dev / static_cast<double>(PendB);
      ++Bins;
    }
    PendA = A;
    PendB = B;
    Pending = true;
    A = B = 0;
  };
  for (size_t i = 0; i < n; ++i) {
    A += Counts1[i];
    B += Counts2[i];
    if (B > 5 && i + 1 < n && Counts2[i + 1] != 0) Close();
  }
  if (A + B > 0) {
    if (B == 0 && Pending) {
      PendA += A;
      PendB += B;
      A = B = 0;
    } else {
      Close();
    }
  }
  if (Pending) Close();
  Chi2 = Sum;
  df = Bins - 1;
  p = df > 0 ? Chi2DistriUpperTail(Sum, df) : 1;
  return 0;
}

double FriedmanTest(const TMatrix* Data, double& Q) {
  if (Data == nullptr) return -1;
  const int32_t k = Data->NrOfColumns(), n = Data->NrOfRows();
  if (k < 3 || n < 1) return -1;
  TVector Row(nullptr), Ranks(nullptr);
  Row.Resize(k);
  std::vector<double> R(Ix(k), 0.0);
  double T = 0;
  for (int32_t r = 1; r <= n; ++r) {
    for (int32_t j = 1; j <= k; ++j) Row.SetVal(j, Data->GetVal(j, r));
    T += CalcRanks(&Row, &Ranks);
    for (int32_t j = 1; j <= k; ++j) R[Ix(j - 1)] += Ranks.GetVal(j);
  }
  double SumSq = 0;
  for (const double Rj : R) SumSq += Rj * Rj;
  const double dn = n, dk = k;
  double Stat = 12 * SumSq / (dn * dk * (dk + 1)) - 3 * dn * (dk + 1);
  if (T > 0) {
    const double Den = dn - T / ((dk * dk - 1) * dk);
    // Every row one tie: the treatments cannot differ.
    if (Den <= 0) {
      Q = 0;
      return 1;
    }
    Stat = Stat * dn / Den;
  }
  Q = Stat;
  return Chi2DistriUpperTail(Stat, dk - 1);
}

double LeveneTest(const TVector* Data, const TIntVector* Groups, double& F) {
  if (Mismatched(Data, Groups)) return -4;
  const int32_t N = Data->NrOfElem();
  const double Shift = Data->GetVal(1);
  TGroupSums Means(Groups->GetVal(1), N);
  const TSquares Layout = OneWay(*Groups, Means, [&](int32_t i) { return Data->GetVal(i + 1); });
  if (const int32_t Code = GroupCode(Layout.Groups, N); Code != 0) return Code;
  // Deviations from the group means, formed on the shifted values as well.
  TGroupSums Dev(Groups->GetVal(1), N);
  const TSquares Q = OneWay(*Groups, Dev, [&](int32_t i) {
    return std::fabs(Data->GetVal(i + 1) - Shift - Means.Mean(Groups->GetVal(i + 1)));
  });
  return FTestResult(Q, N, F);
}

double Anova1F(const TVector* Data, const TIntVector* Groups, double& SSB, double& SSW, double& SST, int32_t& dfB,
               int32_t& dfW, int32_t& dfT, double& F) {
  if (Mismatched(Data, Groups)) return -4;
  const int32_t N = Data->NrOfElem();
  TGroupSums Sums(Groups->GetVal(1), N);
  const TSquares Q = OneWay(*Groups, Sums, [Data](int32_t i) { return Data->GetVal(i + 1); });
  if (const int32_t Code = GroupCode(Q.Groups, N); Code != 0) return Code;
  SSB = Q.SSB;
  SSW = Q.SSW;
  SST = Q.SST;
  dfB = Q.Groups - 1;
  dfW = N - Q.Groups;
  dfT = N - 1;
  return FTestResult(Q, N, F);
}

}  // namespace orv
