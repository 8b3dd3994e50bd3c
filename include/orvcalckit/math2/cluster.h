// Unit ORV_math2: k-means, centre finding and agglomerative clustering of
// the rows of a TMatrix (one row per object, one column per variable).
// Included through ORV_math2.h.
#pragma once

#include <cstdint>
#include <functional>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// The update rules of AgglomClustering (Lance-Williams form). cmAvgLink is
// the weighted pair-group average (WPGMA, SciPy's "weighted"), cmUpgma the
// unweighted one (UPGMA, SciPy's "average").
enum TClusterMethod : uint8_t {
  cmSingleLink = 0,
  cmCompleteLink = 1,
  cmWard = 2,
  cmAvgLink = 3,
  cmFlexLink = 4,
  cmUpgma = 5
};

// The names of the methods, indexed by TClusterMethod.
ORV_API extern const char* const ClusterMethodID[6];

// Called by AgglomClustering with its Sender, ProcStat and the percentage done.
using TAgglomFeedback = std::function<void(TObject* Sender, double ProcStat, double Percent)>;

// k-means (Lloyd) of the n rows of Data into k clusters; the form without a
// seed is the seeded one with Seed 0 and a cluster-size vector of its own.
// Centres are resized to NrOfColumns x k and Memberships to n (each only
// when they differ), ClustSize to k. Start centres: with Seed > 0 the random
// seed is set to it and centre j is row Random(n) + 1 (a row may be drawn
// twice); otherwise row j. Each pass (ProcStat + 1 with the feedback call)
// assigns every object to the centre of the smallest squared Euclidean
// distance (ties to the lower number; 0 when no distance is below the
// largest double, e.g. NaN data: such an object belongs to no cluster) and
// recomputes the centres as the means of their members after a pass that
// changed a membership (an empty cluster's centre is 0). The memberships are
// not cleared first: a vector that holds the final assignment ends at pass 1.
// The passes go on while a membership changes, up to pass 1001, and while
// AbortMathProc is clear. Then the centres and sizes are those of the final
// memberships, and the clusters are renumbered by descending size (the
// library's comb sort; ties as it leaves them), centres moved along.
// Result: the sum over the objects of the squared distance to their centre
// (NaN when an object has membership 0). Stopped by AbortMathProc (which is
// not cleared): -1.0, the outputs as the stopped pass left them, not
// renumbered. EORVMath2Error "kMeansClustering: number of clusters must be
// at least 1" (k < 1), "kMeansClustering: number of clusters is greater than
// number of objects", and after the renumbering when pass 1001 was reached
// "kMeansClustering: max. number of iterations exceeded". nullptr among
// Data, Centres, Memberships: -1.0, nothing changed. The two Integers after
// Data are not used.
// Host code: the objects are read from a copy taken before the outputs are
// sized, so it may change Data. Should it resize Centres, Memberships or
// ClustSize (their OnChange as they are sized, MathFeedBackProc at each
// pass), the result is -1.0 and no cell is written. At the end the centres
// are written (one OnChange), then the memberships and the sizes through
// SetVal: a handler resizing an output there leaves the cells that fit.
ORV_API double kMeansClustering(const TMatrix* Data, int32_t Unused1, int32_t Unused2, int32_t NClusters,
                                TMatrix* Centres, TIntVector* Memberships);
ORV_API double kMeansClustering(const TMatrix* Data, int32_t Unused1, int32_t Unused2, int32_t NClusters,
                                int32_t Seed, TMatrix* Centres, TIntVector* Memberships, TIntVector* ClustSize);

// The number of k-means passes to expect: Round(0.18232 sqrt(a b) - 108 -
// 0.00092427 a - 0.00017557 a c + 0.38775 sqrt(a c)), products in double,
// and at least 20 (also where a square root is of a negative number).
ORV_API int32_t kMeansEstimatedSteps(int32_t A, int32_t B, int32_t C);

// Reduces the rows FirstRow..LastRow of Data (clamped into 1..NrOfRows,
// exchanged when reversed) to m centres: while more than m rows remain
// (ProcStat + 1 with the feedback call per merge), the closest pair i < j by
// squared Euclidean distance over all columns (first pair found, strict
// less-than from the largest double) becomes their weighted mean in row i,
// which takes the sum of both weights, and the last remaining row moves
// into row j. Where no pair lies closer than the largest double (NaN or
// infinite values) the merging stops. Centre r := row r of what remains
// (r = 1..m, at most the rows of the range) through SetVal, columns as
// Centres has them (not resized). MeanDist := the mean over those centres of
// the distance to the nearest other centre (0 for one centre). The work is
// done on a copy: Data is not changed. m < 1, an empty range or nullptr:
// nothing computed, Centres untouched, MeanDist 0.
ORV_API void FindCenters(const TMatrix* Data, int32_t FirstRow, int32_t LastRow, int32_t NCenters, TMatrix* Centres,
                         double& MeanDist);

// Agglomerative clustering of the n rows of Data. Distances in DistMode as
// TMatrix.DistanceOfObjects measures them (dmUser through OnCalcDist, set as
// Data's OnCalcDistance for the call and restored after it, also when
// something throws); the similarities dmTanimoto and dmDice are turned into
// the distance 1 - similarity, so the most similar pair merges first and the
// merge distances are reported in that form. FlexBeta is clamped into
// 0.5..1. Step e (e = 1..n - 1, ProcStat + 1 and FeedBack(Sender, ProcStat,
// 100 e / n) first, ended when AbortMathProc is set) merges the live pair
// f < g of the smallest distance (the first in the order f up, g up, by
// strict less-than from uc_MaxReal; where none is below it, the first two
// live slots), the merged cluster takes slot g with the Lance-Williams
// distances of Method. Dendrogram (3 x n - 1): row e = the two merged nodes
// and e + n (leaves 1..n, merged nodes n + 1..2n - 1); MergeDist (n - 1):
// the distance of step e; NodePos (2n - 1): a leaf's place in the drawing
// order, a merged node the mean of its children's. With fewer than two rows
// there is no merge: a 3 x 0 dendrogram, MergeDist one element cleared
// (IsEmpty; a vector has at least one), NodePos 1 for a single leaf.
// AbortMathProc is cleared at the start; stopped: -1, MergeDist and NodePos
// cleared, the dendrogram filled with 0. Otherwise 0. FeedBack is also called
// once with percentage 0 at the start. EORVMath2Error "AgglomClustering: not
// enough memory" when the n x n distances cannot be had. nullptr among
// Data and the outputs: -1, nothing changed.
ORV_API int32_t AgglomClustering(TObject* Sender, TMatrix* Data, TDistMode DistMode, TClusterMethod Method,
                                 double FlexBeta, TIntMatrix* Dendrogram, TVector* MergeDist, TVector* NodePos,
                                 const TAgglomFeedback& FeedBack, const TOnCalcDistanceEvent& OnCalcDist);

}  // namespace orv
