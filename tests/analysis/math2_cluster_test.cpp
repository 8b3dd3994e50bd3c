// k-means, centre finding and agglomerative clustering against SciPy and
// scikit-learn, the worked example, and the fast merge search against the
// plain one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "analysis/agglom.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_system.h"
#include "support/agglom_plain.h"
#include "support/components.h"
#include "support/iris.h"
#include "support/progress.h"
#include "support/raises.h"
#include "support/splitmix.h"

namespace orv {
namespace {

struct TAgglomResult {
  int32_t Code = 0;
  std::vector<std::vector<int32_t>> Dendro;
  std::vector<double> Dist, Pos;
  bool DistEmpty = false;
};

TAgglomResult Agglom(TMatrix& Data, TDistMode Mode, TClusterMethod Method, double Beta = 0.5,
                     const TAgglomFeedback& FeedBack = nullptr, const TOnCalcDistanceEvent& OnDist = nullptr) {
  TIntMatrix Dendro(nullptr);
  TVector Dist(nullptr), Pos(nullptr);
  TAgglomResult R;
  R.Code = AgglomClustering(nullptr, &Data, Mode, Method, Beta, &Dendro, &Dist, &Pos, FeedBack, OnDist);
  for (int32_t E = 1; E <= Dendro.NrOfRows(); ++E) R.Dendro.push_back(test::Row(Dendro, E));
  R.Dist = test::Values(Dist);
  R.Pos = test::Values(Pos);
  R.DistEmpty = Dist.IsEmpty();
  return R;
}

void IrisMatrix(TMatrix& M) {
  M.Resize(4, test::IrisRows);
  for (int32_t R = 0; R < test::IrisRows; ++R)
    for (int32_t C = 0; C < 4; ++C) M.SetVal(C + 1, R + 1, test::Iris[detail::Ix(R)][detail::Ix(C)]);
}

// scipy.cluster.hierarchy.linkage(X, method) for X = the 12 x 3 values of
// SplitMixValues(1, 36); rows (node, node, height), nodes from 1, ward's
// heights squared. SciPy lists the smaller node first.
struct TLinkRow {
  int32_t A, B;
  double H;
};
const struct {
  const char* Name;
  TDistMode Mode;
  TClusterMethod Method;
  TLinkRow Z[11];
} SciPyLinkage[] = {
    {"single", dmEuclidean, cmSingleLink,
     {{5, 11, 0.15850458239982088}, {9, 12, 0.25594388007578522}, {13, 14, 0.29269925813419906},
      {2, 15, 0.30142909509176397}, {3, 16, 0.30760719526942687}, {4, 17, 0.33930849037424216},
      {6, 18, 0.34653931946958305}, {1, 19, 0.38620595781310729}, {7, 20, 0.45318157972992867},
      {8, 21, 0.48843463562422679}, {10, 22, 0.53679807761469467}}},
    {"complete", dmEuclidean, cmCompleteLink,
     {{5, 11, 0.15850458239982088}, {9, 12, 0.25594388007578522}, {2, 6, 0.34653931946958305},
      {3, 4, 0.3513320559637817}, {1, 15, 0.44038473447912407}, {13, 16, 0.44846098522362088},
      {8, 14, 0.63000021559537533}, {7, 18, 0.73089111635351778}, {10, 17, 0.83312362971335008},
      {19, 20, 1.0283822245779535}, {21, 22, 1.2553186965394307}}},
    {"average", dmEuclidean, cmUpgma,
     {{5, 11, 0.15850458239982088}, {9, 12, 0.25594388007578522}, {2, 6, 0.34653931946958305},
      {3, 4, 0.3513320559637817}, {13, 16, 0.373699022427887}, {1, 15, 0.41329534614611568},
      {14, 17, 0.52700147504508454}, {18, 19, 0.58814722412233755}, {10, 20, 0.70342514359394726},
      {7, 8, 0.71728910300765125}, {21, 22, 0.78225037826494881}}},
    {"weighted", dmEuclidean, cmAvgLink,
     {{5, 11, 0.15850458239982088}, {9, 12, 0.25594388007578522}, {2, 6, 0.34653931946958305},
      {3, 4, 0.3513320559637817}, {13, 16, 0.373699022427887}, {1, 15, 0.41329534614611568},
      {14, 17, 0.52700147504508454}, {18, 19, 0.61850756001146689}, {10, 20, 0.69249469170518885},
      {7, 8, 0.71728910300765125}, {21, 22, 1.0021998321069823}}},
    {"ward", dmSqrEuclidean, cmWard,
     {{5, 11, 0.025123702641741606}, {9, 12, 0.065507269748247929}, {2, 6, 0.12008949993844174},
      {3, 4, 0.12343421354773783}, {1, 15, 0.1886993374955783}, {13, 16, 0.21092382472485835},
      {7, 18, 0.4362545895159079}, {8, 14, 0.47748366078985333}, {10, 17, 0.67154480412203121},
      {19, 20, 1.0243445259517927}, {21, 22, 1.4407301981934999}}},
};

TEST(AgglomClustering, MatchesSciPyLinkage) {
  TMatrix X(nullptr);
  test::FillSplitMix(X, 1, 12, 3);
  for (const auto& Ref : SciPyLinkage) {
    const TAgglomResult R = Agglom(X, Ref.Mode, Ref.Method);
    ASSERT_EQ(R.Code, 0) << Ref.Name;
    ASSERT_EQ(R.Dendro.size(), 11u) << Ref.Name;
    for (int32_t E = 0; E < 11; ++E) {
      const auto& Row = R.Dendro[detail::Ix(E)];
      EXPECT_EQ(std::min(Row[0], Row[1]), Ref.Z[E].A) << Ref.Name << " step " << E + 1;
      EXPECT_EQ(std::max(Row[0], Row[1]), Ref.Z[E].B) << Ref.Name << " step " << E + 1;
      EXPECT_EQ(Row[2], E + 13);
      EXPECT_NEAR(R.Dist[detail::Ix(E)], Ref.Z[E].H, 1e-14 * Ref.Z[E].H) << Ref.Name << " step " << E + 1;
    }
  }
  // Flexible with beta 0.5 (and below, clamped to it) is the weighted average, bit for bit.
  const TAgglomResult Avg = Agglom(X, dmEuclidean, cmAvgLink);
  for (const double Beta : {0.5, 0.1, -3.0}) {
    const TAgglomResult Flex = Agglom(X, dmEuclidean, cmFlexLink, Beta);
    EXPECT_EQ(Flex.Dendro, Avg.Dendro) << Beta;
    EXPECT_EQ(Flex.Dist, Avg.Dist) << Beta;
  }
}

TEST(AgglomClustering, IrisHeightsMatchSciPy) {
  // linkage(iris, method): the sum of the 149 heights and the last four
  // (ward's squared); the order of tied merges may differ, these may not.
  const struct {
    TDistMode Mode;
    TClusterMethod Method;
    double Sum, Last[4];
  } Rows[] = {
      {dmEuclidean, cmSingleLink, 43.523779638298748,
       {0.64807406984078619, 0.73484692283495345, 0.81853527718724495, 1.6401219466856727}},
      {dmEuclidean, cmCompleteLink, 87.528246312255135,
       {2.4289915602982242, 3.2109188716004646, 4.0249223594996213, 7.0851958335673411}},
      {dmEuclidean, cmUpgma, 65.212809283226377,
       {1.3809937393292773, 1.7855664820227883, 1.9636140862746496, 4.0626826861180287}},
      {dmEuclidean, cmAvgLink, 67.733747113083453,
       {1.4696786131819262, 1.4806589999819564, 2.6297946023903735, 4.4972825084922103}},
      {dmSqrEuclidean, cmWard, 1362.7411999999999,
       {23.500277777777772, 40.952407641700383, 151.2997430555555, 1052.8472000000002}},
  };
  TMatrix X(nullptr);
  IrisMatrix(X);
  for (const auto& Ref : Rows) {
    const TAgglomResult R = Agglom(X, Ref.Mode, Ref.Method);
    ASSERT_EQ(R.Dist.size(), 149u);
    double Sum = 0.0;
    for (const double D : R.Dist) Sum += D;
    EXPECT_NEAR(Sum, Ref.Sum, 1e-12 * Ref.Sum) << ClusterMethodID[Ref.Method];
    for (int32_t I = 0; I < 4; ++I)
      EXPECT_NEAR(R.Dist[detail::Ix(145 + I)], Ref.Last[I], 1e-12 * Ref.Last[I]) << ClusterMethodID[Ref.Method];
  }
}

TEST(AgglomClustering, WorkedExampleAndFewRows) {
  TMatrix X(nullptr);
  test::FillRows(X, {{0}, {1}, {3}});
  test::TPassCounter Passes;
  std::vector<double> Percent;
  const TAgglomResult R =
      Agglom(X, dmEuclidean, cmSingleLink, 0.5, [&](TObject*, double, double P) { Percent.push_back(P); });
  EXPECT_EQ(R.Code, 0);
  EXPECT_EQ(R.Dendro, (std::vector<std::vector<int32_t>>{{1, 2, 4}, {4, 3, 5}}));
  EXPECT_EQ(R.Dist, (std::vector<double>{1, 2}));
  EXPECT_EQ(R.Pos, (std::vector<double>{2, 1, 3, 1.5, 2.25}));
  EXPECT_EQ(Percent, (std::vector<double>{0, 100.0 / 3, 200.0 / 3}));
  EXPECT_EQ(Passes.Passes(), 2.0);

  // One row: no merge, nothing read beyond it; no rows at all.
  test::FillRows(X, {{5, 6}});
  const TAgglomResult One = Agglom(X, dmEuclidean, cmWard);
  EXPECT_EQ(One.Code, 0);
  EXPECT_TRUE(One.Dendro.empty());
  EXPECT_TRUE(One.DistEmpty);
  EXPECT_EQ(One.Pos, (std::vector<double>{1}));
  X.Resize(2, 0);
  EXPECT_EQ(Agglom(X, dmEuclidean, cmWard).Code, 0);
  // An ordinal beyond the distance modes measures 0 everywhere.
  test::FillRows(X, {{0}, {1}, {3}});
  EXPECT_EQ(Agglom(X, TDistMode(9), cmSingleLink).Dist, (std::vector<double>{0, 0}));
}

TEST(AgglomClustering, SimilaritiesMergeMostSimilarFirst) {
  // Rows (1, 0), (0, 1), (0.9, 0.1): rows 1 and 3 are the most similar.
  // Tanimoto 0.9 / (1 + 0.82 - 0.9), Dice 1.8 / 1.82, as distances 1 - s.
  TMatrix X(nullptr);
  test::FillRows(X, {{1, 0}, {0, 1}, {0.9, 0.1}});
  for (const auto& [Mode, First] : {std::pair{dmTanimoto, 1 - 0.9 / 0.92}, std::pair{dmDice, 1 - 1.8 / 1.82}}) {
    const TAgglomResult R = Agglom(X, Mode, cmSingleLink);
    EXPECT_EQ(R.Dendro[0], (std::vector<int32_t>{1, 3, 4})) << int(Mode);
    EXPECT_DOUBLE_EQ(R.Dist[0], First) << int(Mode);
    EXPECT_LT(R.Dist[0], R.Dist[1]);
  }
}

TEST(AgglomClustering, UserDistanceAbortAndHandlerRestored) {
  TMatrix X(nullptr);
  test::FillRows(X, {{0}, {10}, {11}, {30}});
  bool OwnCalled = false;
  X.OnCalcDistance = [&](TObject*, int32_t, int32_t, double&) { OwnCalled = true; };
  // The host's distance: |row numbers| apart, so rows 1 and 2 merge first.
  const TAgglomResult R = Agglom(X, dmUser, cmCompleteLink, 0.5, nullptr,
                                 [](TObject*, int32_t A, int32_t B, double& D) { D = std::abs(A - B) * 1.5; });
  EXPECT_EQ(R.Dendro[0], (std::vector<int32_t>{1, 2, 5}));
  EXPECT_EQ(R.Dist, (std::vector<double>{1.5, 1.5, 4.5}));  // then rows 3 and 4
  double D = 0;
  X.OnCalcDistance(nullptr, 1, 2, D);
  EXPECT_TRUE(OwnCalled) << "the host's handler is back";

  OwnCalled = false;
  EXPECT_THROW(Agglom(X, dmUser, cmWard, 0.5, nullptr,
                      [](TObject*, int32_t, int32_t, double&) { throw std::runtime_error("host"); }),
               std::runtime_error);
  X.OnCalcDistance(nullptr, 1, 2, D);
  EXPECT_TRUE(OwnCalled) << "restored after a throw";

  // Stopped in step 2: -1, outputs cleared. A flag set before the call is cleared first.
  test::TProgressGuard Guard;
  AbortMathProc = true;
  const TAgglomResult Stopped = Agglom(X, dmEuclidean, cmWard, 0.5, [](TObject*, double, double P) {
    if (P > 40) AbortMathProc = true;
  });
  EXPECT_EQ(Stopped.Code, -1);
  EXPECT_EQ(Stopped.Dendro, std::vector<std::vector<int32_t>>(3, std::vector<int32_t>(3, 0)));
  EXPECT_EQ(Stopped.Dist, std::vector<double>(3, 0.0));
  EXPECT_EQ(Stopped.Pos, std::vector<double>(7, 0.0));
}

TEST(AgglomClustering, FastSearchEqualsPlainScanBitForBit) {
  // Points on a 5 x 5 grid (city-block distances tie often, zeros of both signs),
  // random in general position, and with a row of NaN (no pair below
  // uc_MaxReal at the end).
  const auto Run = [](bool Plain, std::vector<double> D, int32_t N, TClusterMethod M, double Beta) {
    std::vector<double> Out;
    const auto Step = [&](int32_t, int32_t F, int32_t G, double Dist) {
      Out.insert(Out.end(), {double(F), double(G), Dist});
    };
    const auto Go = [](int32_t) { return true; };
    if (Plain)
      test::RunPlainMerges(D.data(), N, M, Beta, Go, Step);
    else
      detail::RunMerges(D.data(), N, M, Beta, Go, Step);
    return Out;
  };
  // A host's distances may be negative: (1, 3) merges first, after which
  // row 0 ties its old minimum +0 at slot 1 with -0.0 at slot 2, which then
  // merges at -0.0 as the plain scan finds it.
  const std::vector<double> Hand = {0, +0.0, -0.0, 5, +0.0, 0, 9, -1, -0.0, 9, 0, 7, 5, -1, 7, 0};
  EXPECT_EQ(Run(false, Hand, 4, cmSingleLink, 0.5), (std::vector<double>{1, 3, -1, 0, 2, -0.0, 2, 3, 0}));
  EXPECT_TRUE(std::signbit(Run(false, Hand, 4, cmSingleLink, 0.5)[5]));

  const std::vector<double> U = test::SplitMixValues(5, 400);
  for (const int Data : {0, 1, 2}) {
    const int32_t N = 120;
    std::vector<double> D(N * N);
    for (int32_t I = 0; I < N; ++I)
      for (int32_t J = 0; J < N; ++J) {
        double V;
        if (Data == 0)
          V = std::abs(I % 5 - J % 5) + std::abs(I / 5 % 5 - J / 5 % 5);
        else
          V = std::abs(U[I % 400] - U[J % 400]) + std::abs(U[(I + 7) % 400] - U[(J + 7) % 400]);
        if (V == 0 && (I + J) % 2 == 1) V = -0.0;  // equal to 0, other bits
        if (Data == 2 && (I == 17 || J == 17) && I != J) V = std::nan("");
        D[I * N + J] = V;
      }
    for (int M = cmSingleLink; M <= cmUpgma; ++M)
      for (const double Beta : {0.5, 0.8}) {
        const auto Fast = Run(false, D, N, TClusterMethod(M), Beta);
        const auto Plain = Run(true, D, N, TClusterMethod(M), Beta);
        ASSERT_EQ(Fast.size(), Plain.size());
        EXPECT_EQ(std::memcmp(Fast.data(), Plain.data(), Fast.size() * sizeof(double)), 0)
            << "data " << Data << ", method " << ClusterMethodID[M] << ", beta " << Beta;
      }
  }
}

// ---------------------------------------------------------------------------

TEST(kMeansClustering, MatchesScikitLearnOnIris) {
  // Iris with rows 1, 51, 101 moved to the front; KMeans(3, init=X[:3],
  // n_init=1, algorithm='lloyd', tol=0).fit(X): inertia_, and per cluster by
  // descending size its size and cluster_centers_.
  TMatrix X(nullptr), Centres(nullptr);
  IrisMatrix(X);
  TMatrix Orig(nullptr);
  Orig.Assign(&X);
  for (int32_t R = 1, Next = 4; R <= 150; ++R) {
    const bool IsFront = R == 1 || R == 51 || R == 101;
    const int32_t To = IsFront ? (R == 1 ? 1 : R == 51 ? 2 : 3) : Next++;
    for (int32_t C = 1; C <= 4; ++C) X.SetVal(C, To, Orig.GetVal(C, R));
  }
  TIntVector Memb(nullptr), Sizes(nullptr);
  const double Inertia = kMeansClustering(&X, 0, 0, 3, 0, &Centres, &Memb, &Sizes);
  EXPECT_NEAR(Inertia, 78.85144142614601, 1e-12);
  EXPECT_EQ(test::Values(Sizes), (std::vector<int32_t>{62, 50, 38}));
  const double Want[3][4] = {{5.9016129032258062, 2.7483870967741937, 4.3935483870967742, 1.4338709677419355},
                             {5.0060000000000002, 3.4279999999999999, 1.4620000000000002, 0.24600000000000055},
                             {6.8499999999999996, 3.0736842105263156, 5.7421052631578942, 2.0710526315789473}};
  for (int32_t J = 0; J < 3; ++J)
    for (int32_t C = 0; C < 4; ++C) EXPECT_NEAR(Centres.GetVal(C + 1, J + 1), Want[J][C], 1e-13);
  // The setosa flowers (now rows 1 and 4..52) form cluster 2.
  for (const int32_t R : {1, 4, 52}) EXPECT_EQ(Memb.GetVal(R), 2) << R;

  // The second form with the same start rows gives the same.
  TMatrix C2(nullptr);
  TIntVector M2(nullptr);
  EXPECT_EQ(kMeansClustering(&X, 7, 9, 3, &C2, &M2), Inertia);
}

TEST(kMeansClustering, EdgesAndFaults) {
  TMatrix X(nullptr), Centres(nullptr);
  TIntVector Memb(nullptr), Sizes(nullptr);
  // Two groups around 0 and 10; memberships that are final already: centres
  // and sizes still come from them (not the start rows, not zero counts).
  test::FillRows(X, {{0}, {10}, {1}, {11}, {2}});
  Memb.Resize(5);
  const int32_t Start[] = {1, 2, 1, 2, 1};
  for (int32_t I = 0; I < 5; ++I) Memb.SetVal(I + 1, Start[I]);
  test::TPassCounter Passes;
  EXPECT_DOUBLE_EQ(kMeansClustering(&X, 0, 0, 2, 0, &Centres, &Memb, &Sizes), 2.0 + 0.5);
  EXPECT_EQ(Passes.Passes(), 1.0);
  EXPECT_EQ(test::Values(Sizes), (std::vector<int32_t>{3, 2}));
  EXPECT_EQ(test::Column(Centres, 1), (std::vector<double>{1, 10.5}));

  // The centres may be the data matrix itself.
  TMatrix Y(nullptr);
  Y.Assign(&X);
  EXPECT_DOUBLE_EQ(kMeansClustering(&Y, 0, 0, 2, &Y, &Memb), 2.5);
  EXPECT_EQ(test::Column(Y, 1), (std::vector<double>{1, 10.5}));

  // A seed draws the start rows from the global generator, seeded with it.
  EXPECT_NEAR(kMeansClustering(&X, 0, 0, 1, 5, &Centres, &Memb, &Sizes), 110.8, 1e-12);  // around the mean 4.8
  EXPECT_EQ(RandSeed(), 5u);

  // k = n: every object its own cluster, result 0.
  EXPECT_EQ(kMeansClustering(&X, 0, 0, 5, &Centres, &Memb), 0.0);
  EXPECT_EQ(Centres.NrOfRows(), 5);

  // A NaN row has no nearest centre: membership 0, in no cluster, result NaN.
  test::FillRows(X, {{0}, {10}, {NAN}, {11}});
  EXPECT_TRUE(std::isnan(kMeansClustering(&X, 0, 0, 2, 0, &Centres, &Memb, &Sizes)));
  EXPECT_EQ(test::Values(Memb), (std::vector<int32_t>{2, 1, 0, 1}));
  EXPECT_EQ(test::Values(Sizes), (std::vector<int32_t>{2, 1}));

  // Stopped: -1, not renumbered; the flag stays set.
  test::FillRows(X, {{0}, {10}, {1}, {11}, {2}});
  AbortMathProc = true;
  EXPECT_EQ(kMeansClustering(&X, 0, 0, 2, &Centres, &Memb), -1.0);
  EXPECT_TRUE(AbortMathProc);
  AbortMathProc = false;

  test::ExpectRaises<EORVMath2Error>([&] { kMeansClustering(&X, 0, 0, 0, &Centres, &Memb); },
                                     "kMeansClustering: number of clusters must be at least 1");
  test::ExpectRaises<EORVMath2Error>([&] { kMeansClustering(&X, 0, 0, 6, &Centres, &Memb); },
                                     "kMeansClustering: number of clusters is greater than number of objects");
  EXPECT_EQ(kMeansClustering(nullptr, 0, 0, 2, &Centres, &Memb), -1.0);
}

TEST(kMeansClustering, EstimatedSteps) {
  // The formula in double (numpy, round half to even), at least 20.
  const struct { int32_t A, B, C, Want; } Rows[] = {
      {1000, 1000, 10, 110},      {100000, 100000, 5, 18218}, {50000, 2000, 3, 1793},
      {200000, 300000, 1, 44505}, {10, 10, 10, 20},           {-5, 3, 2, 20},
  };
  for (const auto& R : Rows) EXPECT_EQ(kMeansEstimatedSteps(R.A, R.B, R.C), R.Want) << R.A << ' ' << R.B;
}

TEST(FindCenters, MergesClosestPairsAtAnyScale) {
  // Rows 0, 1, 3, 10 to two centres: (0, 1) -> 0.5 (weight 2), 10 moves up;
  // then (0.5, 3) -> 4/3; centres 4/3 and 10, mean distance 26/3. Scaled by
  // 1e5 the closest pair is 1e10 apart (the largest double starts the search).
  for (const double Scale : {1.0, 1e5}) {
    TMatrix X(nullptr), Centres(nullptr);
    test::FillRows(X, {{0 * Scale}, {1 * Scale}, {3 * Scale}, {10 * Scale}});
    Centres.Resize(1, 2);
    double Mean = -1;
    FindCenters(&X, 1, 4, 2, &Centres, Mean);
    EXPECT_NEAR(Centres.GetVal(1, 1), 4.0 / 3 * Scale, 1e-15 * Scale);
    EXPECT_EQ(Centres.GetVal(1, 2), 10 * Scale);
    EXPECT_NEAR(Mean, 26.0 / 3 * Scale, 1e-14 * Scale);
    EXPECT_EQ(test::Column(X, 1), (std::vector<double>{0, Scale, 3 * Scale, 10 * Scale}));
  }
  // m = rows of the range: the rows themselves; m = 1: mean distance 0; m < 1: nothing.
  TMatrix X(nullptr), Centres(nullptr);
  test::FillRows(X, {{1, 2}, {4, 6}, {7, 8}});
  Centres.Resize(2, 3);
  double Mean = -1;
  FindCenters(&X, 3, 2, 2, &Centres, Mean);  // reversed range
  EXPECT_EQ(test::AllRows(Centres), (std::vector<std::vector<double>>{{4, 6}, {7, 8}, {0, 0}}));
  EXPECT_NEAR(Mean, std::sqrt(13.0), 1e-15);
  FindCenters(&X, 1, 3, 1, &Centres, Mean);
  EXPECT_EQ(Mean, 0.0);
  Centres.Fill(-1);
  FindCenters(&X, 1, 3, 0, &Centres, Mean);
  EXPECT_EQ(Centres.GetVal(1, 1), -1.0);
  EXPECT_EQ(Mean, 0.0);
  // No pair closer than the largest double (NaN): the merging stops there.
  test::FillRows(X, {{NAN}, {1}, {2}});
  FindCenters(&X, 1, 3, 1, &Centres, Mean);
  EXPECT_TRUE(std::isnan(Centres.GetVal(1, 1)));
}

}  // namespace
}  // namespace orv
