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

// The group of each element of Groups, numbered from 0 in the order of first
// appearance. Labels within a span of a few times the count are looked up in
// a table, others in a hash map: never a search through the groups.
struct TGrouping {
  std::vector<int32_t> Of;  // group of element i (0-based)
  int32_t Count = 0;        // groups
};

TGrouping GroupsOf(const TIntVector& Groups) {
  const int32_t N = Groups.NrOfElem();
  TGrouping R;
  R.Of.resize(Ix(N));
  int32_t Min = Groups.GetVal(1), Max = Min;
  for (int32_t i = 2; i <= N; ++i) {
    Min = std::min(Min, Groups.GetVal(i));
    Max = std::max(Max, Groups.GetVal(i));
  }
  const int64_t Span = int64_t{Max} - Min + 1;
  if (Span <= 4 * int64_t{N} + 1024) {
    std::vector<int32_t> Slot(Ix(Span), -1);
    for (int32_t i = 1; i <= N; ++i) {
      int32_t& S = Slot[Ix(int64_t{Groups.GetVal(i)} - Min)];
      if (S < 0) S = R.Count++;
      R.Of[Ix(i - 1)] = S;
    }
  } else {
    std::unordered_map<int32_t, int32_t> Slot;
    for (int32_t i = 1; i <= N; ++i) {
      const auto [It, New] = Slot.try_emplace(Groups.GetVal(i), R.Count);
      if (New) ++R.Count;
      R.Of[Ix(i - 1)] = It->second;
    }
  }
  return R;
}

struct TSquares {
  double SSB, SSW, SST;
};

// The sums of squares of a one-way layout, from sums of the values less the
// first one: S, Q2 and the group sums carry no common offset, so neither
// SSW = Q2 - G nor SSB = G - S^2 / N cancels it away.
template <class ValueAt>
TSquares OneWay(int32_t N, const TGrouping& G, ValueAt&& Value) {
  std::vector<double> Sum(Ix(G.Count), 0.0);
  std::vector<int64_t> Count(Ix(G.Count), 0);
  const double Shift = Value(0);
  double S = 0, Q2 = 0;
  for (int32_t i = 0; i < N; ++i) {
    const double v = Value(i) - Shift;
    const int32_t g = G.Of[Ix(i)];
    S += v;
    Q2 += v * v;
    Sum[Ix(g)] += v;
    ++Count[Ix(g)];
  }
  double Between = 0;
  for (int32_t g = 0; g < G.Count; ++g) Between += Sum[Ix(g)] * Sum[Ix(g)] / static_cast<double>(Count[Ix(g)]);
  const double Total = S * S / N;
  return {Between - Total, Q2 - Between, Q2 - Total};
}

// Step 5 shared by Levene and Anova1F: F and the p-value or code.
double FTestResult(const TSquares& Q, int32_t g, int32_t N, double& F) {
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

// The checks of both: -4, -1, -2, or 0 with the grouping.
int32_t PrepareGroups(const TVector* Data, const TIntVector* Groups, TGrouping& G) {
  if (Data == nullptr || Groups == nullptr || Data->NrOfElem() != Groups->NrOfElem()) return -4;
  G = GroupsOf(*Groups);
  if (G.Count <= 1) return -1;
  if (G.Count >= Data->NrOfElem()) return -2;
  return 0;
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
  TGrouping G;
  const int32_t Code = PrepareGroups(Data, Groups, G);
  if (Code != 0) return Code;
  const int32_t N = Data->NrOfElem();
  // Group means from sums shifted by the first value, as in OneWay.
  std::vector<double> Sum(Ix(G.Count), 0.0);
  std::vector<int64_t> Count(Ix(G.Count), 0);
  const double Shift = Data->GetVal(1);
  for (int32_t i = 0; i < N; ++i) {
    Sum[Ix(G.Of[Ix(i)])] += Data->GetVal(i + 1) - Shift;
    ++Count[Ix(G.Of[Ix(i)])];
  }
  for (int32_t g = 0; g < G.Count; ++g) Sum[Ix(g)] /= static_cast<double>(Count[Ix(g)]);
  const TSquares Q = OneWay(N, G, [&](int32_t i) {
    return std::fabs(Data->GetVal(i + 1) - Shift - Sum[Ix(G.Of[Ix(i)])]);
  });
  return FTestResult(Q, G.Count, N, F);
}

double Anova1F(const TVector* Data, const TIntVector* Groups, double& SSB, double& SSW, double& SST, int32_t& dfB,
               int32_t& dfW, int32_t& dfT, double& F) {
  TGrouping G;
  const int32_t Code = PrepareGroups(Data, Groups, G);
  if (Code != 0) return Code;
  const int32_t N = Data->NrOfElem();
  const TSquares Q = OneWay(N, G, [&](int32_t i) { return Data->GetVal(i + 1); });
  SSB = Q.SSB;
  SSW = Q.SSW;
  SST = Q.SST;
  dfB = G.Count - 1;
  dfW = N - G.Count;
  dfT = N - 1;
  return FTestResult(Q, G.Count, N, F);
}

}  // namespace orv
