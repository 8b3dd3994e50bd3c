// Host code that resizes, empties or moves what a free routine of ORV_math2
// works on (its data, its outputs), from the outputs' OnChange, from
// MathFeedBackProc and from the feedback, distance and progress functions
// it is given, on their first, second and a middle call
// (support/hostile.h). The routines without host code (polygons, Gaussian
// peaks and kernels, MahalanobisDistance, the image correlation, the bracket
// check) have no row. TCurveFit and the other components of the folder:
// analysis_hostile_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"
#include "support/hostile.h"
#include "support/splitmix.h"

namespace orv {
namespace {

using namespace test::hostile_names;
using test::Values;

// 10 objects of 3 variables in two groups.
void Objects(TMatrix& X) {
  test::FillRows(X, {{1, 2, 1}, {2, 1, 1}, {1, 1, 2}, {2, 2, 2}, {1.5, 1, 1},
                     {9, 8, 9}, {8, 9, 8}, {9, 9, 9}, {8, 8, 9}, {9, 8.5, 8}});
}

// The unit's eigen results of size N.
std::vector<double> EigenResults(int32_t N) {
  std::vector<double> R;
  for (int32_t I = 1; I <= N; ++I)
    for (int32_t J = 0; J <= N; ++J) R.push_back(GetEigenResult(I, J));
  return R;
}

// k-means of Objects into two clusters.
struct TKMeans {
  TMatrix Data{nullptr}, Centres{nullptr};
  TIntVector Memb{nullptr}, Sizes{nullptr};
  TKMeans() { Objects(Data); }
  std::vector<double> Run() {
    const double R = kMeansClustering(&Data, 0, 0, 2, 0, &Centres, &Memb, &Sizes);
    return Outcome(R, Cells(Centres), Values(Memb), Values(Sizes));
  }
};

// Agglomerative clustering of Objects (Ward), FeedBack and OnCalcDist as given.
struct TAgglom {
  TMatrix Data{nullptr};
  TIntMatrix Dendrogram{nullptr};
  TVector MergeDist{nullptr}, NodePos{nullptr};
  TAgglom() { Objects(Data); }
  std::vector<double> Run(TDistMode Mode, const TAgglomFeedback& FeedBack, const TOnCalcDistanceEvent& OnCalcDist) {
    const int32_t R = AgglomClustering(nullptr, &Data, Mode, cmWard, 0.5, &Dendrogram, &MergeDist, &NodePos, FeedBack,
                                       OnCalcDist);
    return Outcome(R, Cells(Dendrogram), Values(MergeDist), Values(NodePos));
  }
};

// The neighbours of a sample among 12 objects of 2 variables, and their targets.
struct TKnn {
  TMatrix Data{nullptr}, Neighbors{nullptr};
  TVector Targets{nullptr}, Sample{nullptr}, MeanDist{nullptr};
  TKnn() {
    test::FillSplitMix(Data, 3, 12, 2);
    test::FillValues(Targets, test::SplitMixValues(4, 12));
    test::FillValues(Sample, {0.4, 0.6});
    Neighbors.Resize(2, 5);
    MeanDist.Resize(12);
  }
  std::vector<double> Estimate(TKnnWMode Mode) {
    double Est, Mean;
    EstimateByKNN(&Data, &Targets, 8, Mode, 1.0, &Sample, Est, Mean);
    return Outcome(Est, Mean);
  }
};

// A 12 x 10 array, its correlation with a 3 x 3 kernel, Progress as given.
struct TConvolve {
  TDouble2DArray Kernel{{1, 2, 1}, {0, 0, 0}, {-1, -2, -1}}, Data, Result;
  TConvolve() {
    for (int32_t C = 0; C < 12; ++C) Data.push_back(test::SplitMixValues(static_cast<uint64_t>(C), 10));
  }
  std::vector<double> Run(const TOnPercentDoneEvent& Progress) {
    const int32_t Code = KernelConvolve(Kernel, Data, Result, Progress);
    std::vector<double> Out{static_cast<double>(Code)};
    for (const TDoubleArray& Col : Result) Out.insert(Out.end(), Col.begin(), Col.end());
    return Out;
  }
};

// A vector of 30 values with a trend.
void Signal(TVector& V) {
  std::vector<double> X = test::SplitMixValues(9, 30);
  for (std::size_t I = 0; I < X.size(); ++I) X[I] += 0.1 * static_cast<double>(I);
  test::FillValues(V, X);
}

const THostileCase ClusterCases[] = {
    {"kMeansClustering, MathFeedBackProc resizes Centres",
     [](THostile& H) {
       TKMeans K;
       MathFeedBackProc = H.On(K.Centres);
       return THostileOutcome{K.Run()};
     },
     ResultIs(-1)},
    {"kMeansClustering, MathFeedBackProc resizes Memberships",
     [](THostile& H) {
       TKMeans K;
       MathFeedBackProc = H.On(K.Memb);
       return THostileOutcome{K.Run()};
     },
     ResultIs(-1)},
    {"kMeansClustering, MathFeedBackProc resizes Data",
     [](THostile& H) {
       TKMeans K;
       MathFeedBackProc = H.On(K.Data);
       return THostileOutcome{K.Run()};
     }},
    {"kMeansClustering, Centres' OnChange resizes Centres as they are sized or after they are written",
     [](THostile& H) {
       TKMeans K, Ref;
       const std::vector<double> Written = Ref.Run();
       H.Apply(Ref.Centres);
       K.Centres.OnChange = H.On(K.Centres);
       return THostileOutcome{K.Run(), Outcome(Written[0], Cells(Ref.Centres), Values(Ref.Memb), Values(Ref.Sizes))};
     },
     ResultIs(-1)},
    {"FindCenters, MathFeedBackProc resizes Data",
     [](THostile& H) {
       TMatrix Data(nullptr), Centres(nullptr);
       Objects(Data);
       Centres.Resize(3, 3);
       MathFeedBackProc = H.On(Data);
       double MeanDist;
       FindCenters(&Data, 1, 10, 3, &Centres, MeanDist);
       return THostileOutcome{Outcome(MeanDist, Cells(Centres))};
     }},
    {"FindCenters, MathFeedBackProc resizes Centres",
     [](THostile& H) {
       TMatrix Data(nullptr), Centres(nullptr);
       Objects(Data);
       Centres.Resize(3, 3);
       MathFeedBackProc = H.On(Centres);
       double MeanDist;
       FindCenters(&Data, 1, 10, 3, &Centres, MeanDist);
       return THostileOutcome{Outcome(MeanDist, Cells(Centres))};
     },
     CheckedAccessorsOnly},
    {"AgglomClustering, FeedBack resizes Data before or after it is read",
     [](THostile& H) {
       TAgglom A, Now;
       const std::vector<double> Got = A.Run(dmEuclidean, H.On(A.Data), nullptr);
       Now.Data.Assign(&A.Data);
       return THostileOutcome{Got, Now.Run(dmEuclidean, nullptr, nullptr)};
     }},
    {"AgglomClustering, OnCalcDist resizes Data",
     [](THostile& H) {
       TAgglom A;
       const auto Attack = H.On(A.Data);
       return THostileOutcome{A.Run(dmUser, nullptr, [&](TObject* S, int32_t I, int32_t J, double& D) {
         Attack(S);
         D = std::fabs(I - 4.5) * std::fabs(J - 5.5);
       })};
     }},
    {"AgglomClustering, FeedBack resizes the dendrogram, the merge distances and the node positions",
     [](THostile& H) {
       TAgglom A;
       auto Outputs = Targets(A.Dendrogram, A.MergeDist, A.NodePos);
       return THostileOutcome{A.Run(dmEuclidean, H.On(Outputs), nullptr)};
     },
     CheckedAccessorsOnly},
};

const THostileCase NeighbourCases[] = {
    {"FindNearestNeighbors, DistFunc resizes Data",
     [](THostile& H) {
       TKnn X;
       const auto Attack = H.On(X.Data);
       FindNearestNeighbors(5, &X.Data, 1, 12, nullptr, &X.Neighbors, [&](int32_t Row) {
         Attack();
         return std::fabs(Row - 6.5);
       });
       return THostileOutcome{Cells(X.Neighbors)};
     }},
    {"FindNearestNeighbors, Neighbors' OnChange resizes Data and Sample",
     [](THostile& H) {
       TKnn X;
       auto Inputs = Targets(X.Data, X.Sample);
       X.Neighbors.OnChange = H.On(Inputs);
       FindNearestNeighbors(5, &X.Data, 1, 12, &X.Sample, &X.Neighbors, nullptr);
       X.Neighbors.OnChange = nullptr;
       return THostileOutcome{Cells(X.Neighbors)};
     }},
    {"MeanDistanceKNN, MeanDist's OnChange resizes or moves Data",
     [](THostile& H) {
       TKnn X;
       X.MeanDist.OnChange = H.On(X.Data);
       MeanDistanceKNN(&X.Data, 3, 1, 12, &X.MeanDist);
       return THostileOutcome{Values(X.MeanDist)};
     }},
    {"EstimateByKNN, local model, MathFeedBackProc resizes the sample",
     [](THostile& H) {
       TKnn X;
       MathFeedBackProc = H.On(X.Sample);
       return THostileOutcome{X.Estimate(kwmBiQuad)};
     }},
    {"EstimateByKNN, local model, MathFeedBackProc resizes Data and Targets",
     [](THostile& H) {
       TKnn X;
       auto Inputs = Targets(X.Data, X.Targets);
       MathFeedBackProc = H.On(Inputs);
       return THostileOutcome{X.Estimate(kwmBiQuad)};
     }},
    {"EstimateByKNN, median, MathFeedBackProc resizes Data, Targets and the sample",
     [](THostile& H) {
       TKnn X;
       auto Inputs = Targets(X.Data, X.Targets, X.Sample);
       MathFeedBackProc = H.On(Inputs);
       return THostileOutcome{X.Estimate(kwmMedian)};
     }},
};

const THostileCase MatrixCases[] = {
    {"CalcCovar, correlation, MathFeedBackProc resizes Data",
     [](THostile& H) {
       TMatrix Data(nullptr), Covar(nullptr);
       Objects(Data);
       Covar.Resize(3, 3);
       MathFeedBackProc = H.On(Data);
       const bool Ok = CalcCovar(&Data, &Covar, 0, 0, 0, 0, csCorrelation);
       return THostileOutcome{Outcome(Ok, Cells(Covar))};
     }},
    {"CalcCovar, cross products, Covar's OnChange resizes Data",
     [](THostile& H) {
       TMatrix Data(nullptr), Covar(nullptr);
       Objects(Data);
       Covar.Resize(3, 3);
       Covar.OnChange = H.On(Data);
       const bool Ok = CalcCovar(&Data, &Covar, 0, 0, 0, 0, csCrossProducts);
       return THostileOutcome{Outcome(Ok, Cells(Covar))};
     }},
    {"CalcCovar, MathFeedBackProc resizes Covar",
     [](THostile& H) {
       TMatrix Data(nullptr), Covar(nullptr);
       Objects(Data);
       Covar.Resize(3, 3);
       MathFeedBackProc = H.On(Covar);
       const bool Ok = CalcCovar(&Data, &Covar, 0, 0, 0, 0, csCovariance);
       return THostileOutcome{Outcome(Ok, Cells(Covar))};
     },
     CheckedAccessorsOnly},
    {"CalcEigVec, MathFeedBackProc resizes or moves the matrix",
     [](THostile& H) {
       TMatrix A(nullptr);
       test::FillRows(A, {{4, 1, 2, 0.5}, {1, 3, 0, 1}, {2, 0, 5, 1.5}, {0.5, 1, 1.5, 2}});
       MathFeedBackProc = H.On(A);
       const bool Ok = CalcEigVec(&A);
       return THostileOutcome{Outcome(Ok, EigenResults(4))};
     }},
    {"CalcEigVec, its OnChange resizes the matrix",
     [](THostile& H) {
       TMatrix A(nullptr);
       test::FillRows(A, {{4, 1, 2, 0.5}, {1, 3, 0, 1}, {2, 0, 5, 1.5}, {0.5, 1, 1.5, 2}});
       A.OnChange = H.On(A);
       const bool Ok = CalcEigVec(&A);
       return THostileOutcome{Outcome(Ok, EigenResults(4), Cells(A))};
     },
     CheckedAccessorsOnly},
    {"CalcPrincComp, MathFeedBackProc resizes Data",
     [](THostile& H) {
       TMatrix Data(nullptr);
       Objects(Data);
       MathFeedBackProc = H.On(Data);
       const bool Ok = CalcPrincComp(&Data, 0, 0, 0, 0, csCovariance);
       return THostileOutcome{Outcome(Ok, EigenResults(3))};
     }},
    {"PseudoInverse, MathFeedBackProc resizes A and the result",
     [](THostile& H) {
       TMatrix A(nullptr), PInv(nullptr);
       Objects(A);
       auto Both = Targets(A, PInv);
       MathFeedBackProc = H.On(Both);
       const bool Ok = PseudoInverse(&A, &PInv, 0.0);
       return THostileOutcome{Outcome(Ok, Cells(PInv))};
     }},
    {"CalcRanks, Dst's OnChange resizes Src",
     [](THostile& H) {
       TVector Src(nullptr), Dst(nullptr);
       test::FillValues(Src, {3, 1, 4, 1, 5, 9, 2, 6, 5, 3});
       Dst.OnChange = H.On(Src);
       const double Ties = CalcRanks(&Src, &Dst);
       Dst.OnChange = nullptr;
       return THostileOutcome{Outcome(Ties, Values(Dst))};
     }},
};

const THostileCase FilterCases[] = {
    {"MovingMedianSmooth, Dest's OnChange resizes Source",
     [](THostile& H) {
       TVector Src(nullptr), Dest(nullptr);
       Signal(Src);
       Dest.OnChange = H.On(Src);
       MovingMedianSmooth(&Src, 1, 30, &Dest, 5);
       return THostileOutcome{Values(Dest)};
     }},
    {"PolynomialSmooth, Dest's OnChange resizes Dest",
     [](THostile& H) {
       TVector Src(nullptr), Dest(nullptr);
       Signal(Src);
       Dest.OnChange = H.On(Dest);
       PolynomialSmooth(&Src, 1, 30, &Dest, 7);
       return THostileOutcome{Values(Dest)};
     },
     CheckedAccessorsOnly},
    {"MovingKernelFilter, Dest's OnChange resizes Source and the kernel",
     [](THostile& H) {
       TVector Src(nullptr), Dest(nullptr), Kernel(nullptr);
       Signal(Src);
       test::FillValues(Kernel, {0.25, 0.5, 0.25});
       auto Inputs = Targets(Src, Kernel);
       Dest.OnChange = H.On(Inputs);
       MovingKernelFilter(&Src, 1, 30, &Dest, &Kernel);
       return THostileOutcome{Values(Dest)};
     }},
    {"CalcSincLPKernel, the kernel's OnChange resizes the kernel",
     [](THostile& H) {
       TVector Kernel(nullptr);
       Kernel.OnChange = H.On(Kernel);
       CalcSincLPKernel(21, 0.1, 1, &Kernel);
       return THostileOutcome{Values(Kernel)};
     },
     CheckedAccessorsOnly},
    {"CalcChebFilterCoeffs, the coefficients' OnChange resizes them",
     [](THostile& H) {
       TMatrix Coeffs(nullptr);
       Coeffs.OnChange = H.On(Coeffs);
       double A0;
       CalcChebFilterCoeffs(4, false, 0.1, 0.5, A0, &Coeffs);
       return THostileOutcome{Outcome(A0, Cells(Coeffs))};
     },
     CheckedAccessorsOnly},
    {"ChebychevFilter, Dest's OnChange resizes Source and the coefficients",
     [](THostile& H) {
       TVector Src(nullptr), Dest(nullptr);
       TMatrix Coeffs(nullptr);
       Signal(Src);
       double A0;
       CalcChebFilterCoeffs(4, false, 0.1, 0.5, A0, &Coeffs);
       auto Inputs = Targets(Src, Coeffs);
       Dest.OnChange = H.On(Inputs);
       ChebychevFilter(&Src, 1, 30, &Dest, A0, &Coeffs);
       return THostileOutcome{Values(Dest)};
     }},
    {"KernelConvolve, Progress resizes or moves Data",
     [](THostile& H) {
       TConvolve X, Now;
       const std::vector<double> Got = X.Run(H.On(X.Data));
       Now.Data = X.Data;
       return THostileOutcome{Got, Now.Run(nullptr)};
     }},
    {"KernelConvolve, Progress resizes or moves the kernel",
     [](THostile& H) {
       TConvolve X, Now;
       const std::vector<double> Got = X.Run(H.On(X.Kernel));
       Now.Kernel = X.Kernel;
       return THostileOutcome{Got, Now.Run(nullptr)};
     }},
    {"KernelConvolve, Progress resizes or moves the result",
     [](THostile& H) {
       TConvolve X;
       return THostileOutcome{X.Run(H.On(X.Result))};
     }},
};

TEST(Math2Hostile, ClusteringSurvivesHostCodeThatChangesItsData) { test::RunHostile(ClusterCases); }
TEST(Math2Hostile, NeighbourSearchSurvivesHostCodeThatChangesItsData) { test::RunHostile(NeighbourCases); }
TEST(Math2Hostile, MatrixRoutinesSurviveHostCodeThatChangesTheirData) { test::RunHostile(MatrixCases); }
TEST(Math2Hostile, FiltersSurviveHostCodeThatChangesTheirData) { test::RunHostile(FilterCases); }

}  // namespace
}  // namespace orv
