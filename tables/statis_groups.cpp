// Tests of two samples and of groups: median test, comparison of binned
// distributions, Friedman, Levene and one-way analysis of variance.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <vector>

#include "core/order_stats.h"
#include "core/simd.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;

namespace {

// ---- groups ----------------------------------------------------------------------

// Labels near the first one (within the count of values, at most 2048 away)
// index a table directly; the others go through a hash map.
struct TLabelWindow {
  TLabelWindow(int32_t FirstLabel, int32_t N)
      : Half(std::min<int64_t>(2048, int64_t{N} + 64)), Base(int64_t{FirstLabel} - Half) {}
  // The table's slot of Label, Size() or more for a label beyond it.
  uint64_t SlotOf(int32_t Label) const { return static_cast<uint64_t>(int64_t{Label} - Base); }
  std::size_t Size() const { return Ix(2 * Half); }
  int64_t Half, Base;
};

// The sum and count of each group, found by label without a search. The
// slot a group takes changes only the order in which the group terms are
// added up.
class TGroupSums {
 public:
  TGroupSums(int32_t FirstLabel, int32_t N) : FWindow(FirstLabel, N) {
    FSum.assign(FWindow.Size(), 0.0);
    FCount.assign(FWindow.Size(), 0);
  }
  uint64_t SlotOf(int32_t Label) const { return FWindow.SlotOf(Label); }
  uint64_t Slots() const { return FSum.size(); }
  double* Sums() { return FSum.data(); }
  int64_t* Counts() { return FCount.data(); }
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
  TLabelWindow FWindow;
  std::vector<double> FSum;
  std::vector<int64_t> FCount;
  std::unordered_map<int32_t, int32_t> FFar;
  std::vector<double> FFarSum;
  std::vector<int64_t> FFarCount;
};

// Groups numbered 0, 1, ... in the order in which their labels first appear.
class TGroupIds {
 public:
  TGroupIds(int32_t FirstLabel, int32_t N) : FWindow(FirstLabel, N), FNear(FWindow.Size(), -1) {}
  // The number of Label's group: Count(), a new group, for a label not seen before.
  int32_t Add(int32_t Label) {
    const uint64_t d = FWindow.SlotOf(Label);
    int32_t& Id = d < FNear.size() ? FNear[d] : FFar.try_emplace(Label, -1).first->second;
    if (Id < 0) Id = FCount++;
    return Id;
  }
  int32_t Count() const { return FCount; }

  // The table alone, for loops that keep it in registers: the number of a
  // near label's group, -1 for other labels and those not seen yet. Stays
  // valid while Add numbers further groups.
  struct TNear {
    const int32_t* Ids;
    TLabelWindow Window;
    int32_t operator()(int32_t Label) const {
      const uint64_t d = Window.SlotOf(Label);
      return d < Window.Size() ? Ids[d] : -1;
    }
  };
  TNear Near() const { return {FNear.data(), FWindow}; }

 private:
  TLabelWindow FWindow;
  std::vector<int32_t> FNear;
  std::unordered_map<int32_t, int32_t> FFar;
  int32_t FCount = 0;
};

// Two running sums per group in four banks, element i adding into bank
// i mod 4: values of one group that follow each other (the usual layout)
// then form four chains of additions instead of one, and a block of four
// takes one vector addition per sum with the bits of four scalar ones.
struct TBankedSums {
  double A[4] = {}, B[4] = {}, E[4] = {};  // E: what A lost, where A is compensated
  static double Total(const double (&X)[4]) { return (X[0] + X[1]) + (X[2] + X[3]); }
};

// S += V with Kahan's compensation E ("Further remarks on reducing
// truncation errors", CACM 8(1), 1965): the sum of deviations from a value
// that may lie far from their mean grows large beside what it must resolve.
// T is double or a vector of them.
template <class T>
ORV_SIMD_INLINE void KahanAdd(T& S, T& E, const T& V) {
  const T Y = V - E;
  const T U = S + Y;
  E = (U - S) - Y;
  S = U;
}

// What Levene's test keeps per group.
struct TLeveneGroup {
  double Count, Mean, C;  // the values, their mean (less Shift), the z of the first one
  int32_t First;          // its first element
};

// A pass of Levene's test over the values X with labels L into the banked
// sums of each group. First pass (Deviations false): A sums x - Shift, B
// counts. Second: A sums v = |x - Shift - mean| - c, B sums v^2.
template <bool Deviations>
struct TLevenePass {
  const double* X;
  const int32_t* L;
  double Shift;
  TBankedSums* S;
  const TLeveneGroup* R;

  ORV_SIMD_INLINE void Add(int32_t i, int32_t g, int32_t k) const {
    if constexpr (Deviations) {
      const double v = std::fabs(X[i] - Shift - R[g].Mean) - R[g].C;
      KahanAdd(S[g].A[k], S[g].E[k], v);
      S[g].B[k] += v * v;
    } else {
      S[g].A[k] += X[i] - Shift;
      S[g].B[k] += 1.0;
    }
  }

  // Whole blocks of four from i (a multiple of 4) on while their labels are
  // known near ones; returns the first block not taken. A run of blocks of
  // one label goes in vectors, lane k doing what element i + k does alone:
  // the four banks in one vector, or in two of Bytes bytes.
  // Run on a copy, so that the stores into S leave the fields in registers.
  template <int Bytes>
  ORV_SIMD_INLINE static int32_t Blocks(const TLevenePass P, int32_t i, int32_t N, const TGroupIds::TNear Near) {
    constexpr int VB = Bytes < 32 ? Bytes : 32;
    using TLanes = detail::TSimdVector<double, VB>;
    using TBits = detail::TSimdVector<int64_t, VB>;
    constexpr int W = VB / sizeof(double);  // banks per vector
    constexpr int H = 4 / W;                // vectors
    const int32_t* L = P.L;
    for (; i <= N - 4; i += 4) {
      const int32_t g[4] = {Near(L[i]), Near(L[i + 1]), Near(L[i + 2]), Near(L[i + 3])};
      if ((g[0] | g[1] | g[2] | g[3]) < 0) break;
      if (g[0] != g[1] || g[0] != g[2] || g[0] != g[3]) {
        for (int32_t k = 0; k < 4; ++k) P.Add(i + k, g[k], k);
        continue;
      }
      TBankedSums& S = P.S[g[0]];
      const TLeveneGroup R = P.R[g[0]];
      const int32_t Label = L[i];
      TLanes A[H], B[H], E[H];
      for (int K = 0; K < H; ++K) {
        TLanes T;  // copies: loading into an array sends it through memory
        std::memcpy(&T, S.A + K * W, sizeof T);
        A[K] = T;
        std::memcpy(&T, S.B + K * W, sizeof T);
        B[K] = T;
        std::memcpy(&T, S.E + K * W, sizeof T);
        E[K] = T;
      }
      do {
        for (int K = 0; K < H; ++K) {
          TLanes v;
          std::memcpy(&v, P.X + i + K * W, sizeof v);
          if constexpr (Deviations) {
            v = (TLanes)((TBits)(v - P.Shift - R.Mean) & std::numeric_limits<int64_t>::max()) - R.C;
            KahanAdd(A[K], E[K], v);
            B[K] += v * v;
          } else {
            A[K] += v - P.Shift;
            B[K] += 1.0;
          }
        }
        i += 4;
      } while (i <= N - 4 && L[i] == Label && L[i + 1] == Label && L[i + 2] == Label && L[i + 3] == Label);
      i -= 4;
      for (int K = 0; K < H; ++K) {
        TLanes T = A[K];
        std::memcpy(S.A + K * W, &T, sizeof T);
        T = B[K];
        std::memcpy(S.B + K * W, &T, sizeof T);
        T = E[K];
        std::memcpy(S.E + K * W, &T, sizeof T);
      }
    }
    return i;
  }
};

// The blocks of either pass, built per vector width.
template <int Bytes, bool Deviations>
ORV_SIMD_INLINE int32_t LeveneBlocksLanes(const TLevenePass<Deviations> P, int32_t i, int32_t N,
                                          const TGroupIds::TNear Near) {
  return TLevenePass<Deviations>::template Blocks<Bytes>(P, i, N, Near);
}
ORV_SIMD_BY_WIDTH(int32_t, LeveneBlocks,
                  (const TLevenePass<false> P, int32_t i, int32_t N, const TGroupIds::TNear Near), (P, i, N, Near))
ORV_SIMD_BY_WIDTH(int32_t, LeveneBlocks,
                  (const TLevenePass<true> P, int32_t i, int32_t N, const TGroupIds::TNear Near), (P, i, N, Near))

// Both passes of Levene's test in element order; the first numbers the
// groups as their labels appear (Sums and Groups grow).
template <bool Deviations>
void LevenePass(const double* X, const int32_t* L, int32_t N, double Shift, TGroupIds& Ids,
                std::vector<TBankedSums>& Sums, std::vector<TLeveneGroup>& Groups) {
  const auto Pass = [&] { return TLevenePass<Deviations>{X, L, Shift, Sums.data(), Groups.data()}; };
  for (int32_t i = 0; i < N; ++i) {
    if (i % 4 == 0) i = LeveneBlocks(Pass(), i, N, Ids.Near());
    if (i == N) break;
    const int32_t g = Ids.Add(L[i]);
    if (g == std::ssize(Sums)) {
      Sums.emplace_back();
      Groups.push_back({0, 0, 0, i});
    }
    Pass().Add(i, g, i % 4);
  }
}

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

// Two passes: the group sums and counts give the means, then the
// deviations z = |x - mean| are summed per group. The sums of squares come
// from the group terms: SSW = sum over the groups of Q - T^2 / n, with T and
// Q the sums of z - c and its square, c the z of the group's first value (so
// a group of equal deviations adds exactly 0), and SSB = sum n (zg - z)^2
// over the group means zg of z around the mean z of all values; the raw
// sum_z^2 - (sum z)^2 / N cancels most digits away, z being positive.
double LeveneTest(const TVector* Data, const TIntVector* Groups, double& F) {
  if (Mismatched(Data, Groups)) return -4;
  const int32_t N = Data->NrOfElem();
  const double* X = detail::TVectorOps<TVector>::Data(*Data);
  const int32_t* L = detail::TVectorOps<TIntVector>::Data(*Groups);
  const double Shift = X[0];  // the means of shifted values, as in Anova1F
  TGroupIds Ids(L[0], N);
  std::vector<TBankedSums> Sums;
  std::vector<TLeveneGroup> Group;
  LevenePass<false>(X, L, N, Shift, Ids, Sums, Group);
  const int32_t G = Ids.Count();
  if (const int32_t Code = GroupCode(G, N); Code != 0) return Code;
  for (int32_t g = 0; g < G; ++g) {
    TBankedSums& S = Sums[Ix(g)];
    TLeveneGroup& R = Group[Ix(g)];
    R.Count = TBankedSums::Total(S.B);
    R.Mean = TBankedSums::Total(S.A) / R.Count;
    R.C = std::fabs(X[R.First] - Shift - R.Mean);
    S = TBankedSums();
  }
  LevenePass<true>(X, L, N, Shift, Ids, Sums, Group);
  // SSW: the group terms Q - T^2 / n, T and Q the sums of z - c and of its
  // square. SSB: sum n (zg - z)^2 over the group means zg of z.
  double SSW = 0, Total = 0;
  for (int32_t g = 0; g < G; ++g) {
    TLeveneGroup& R = Group[Ix(g)];
    const TBankedSums& S = Sums[Ix(g)];
    const double T = TBankedSums::Total(S.A) - TBankedSums::Total(S.E), Q = TBankedSums::Total(S.B);
    SSW += std::max(0.0, Q - T * T / R.Count);
    R.C += T / R.Count;  // now the group's mean z
    Total += R.Count * R.C;
  }
  const double Z = Total / N;
  double SSB = 0;
  for (const TLeveneGroup& R : Group) SSB += R.Count * ((R.C - Z) * (R.C - Z));
  return FTestResult({SSB, SSW, 0.0, G}, N, F);
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
