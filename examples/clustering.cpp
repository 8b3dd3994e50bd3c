// Clustering of the iris flowers with k-means and with agglomerative
// clustering, each compared with the species (the usage text below says more).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <orvcalckit/orvcalckit.h>

#include "example_support.h"

namespace {

const char* const Usage =
    "Usage: orvcalckit_clustering\n"
    "\n"
    "Clustering of the iris flowers into three groups by their four measurements,\n"
    "without looking at the species, then compared with the species:\n"
    "- kMeansClustering (k-means, Lloyd's method) started from the first three\n"
    "  flowers: the centres, the sum of squared distances and the passes it took;\n"
    "- AgglomClustering with Ward's method on squared Euclidean distances: the\n"
    "  dendrogram cut where three clusters remain, and the last merges.\n"
    "For each, a table of clusters against species and the adjusted Rand index\n"
    "(AdjustedRandIx: 1 for a partition equal to the species, about 0 for a\n"
    "random one).\n"
    "\n"
    "The data the project carries: data/iris.csv, 150 flowers of three species\n"
    "(50 each), sepal and petal length and width in cm (R. A. Fisher, 1936; UCI\n"
    "Machine Learning Repository).\n"
    "\n"
    "  -h, --help     this text\n"
    "\n"
    "Exit status: 0 done; 1 the data cannot be read or clustered; 2 wrong arguments.\n";

constexpr int32_t K = 3;

// Prints the table of clusters (1..K) against classes (1..Names.size()) and
// its adjusted Rand index (AdjustedRandIx reads the table with its margins,
// [class][cluster]: one more column of cluster sizes, one more row of class
// totals).
void Compare(const std::vector<int32_t>& Cluster, const std::vector<int32_t>& Class,
             const std::vector<std::string>& Names) {
  const std::size_t NClass = Names.size();
  orv::TInt2DArray Table(NClass + 1, orv::TIntArray(K + 1, 0));
  for (std::size_t I = 0; I < Cluster.size(); ++I) {
    const auto C = static_cast<std::size_t>(Cluster[I] - 1), J = static_cast<std::size_t>(Class[I] - 1);
    ++Table[J][C];
    ++Table[NClass][C];
    ++Table[J][K];
    ++Table[NClass][K];
  }
  std::printf("cluster  size");
  for (const auto& Name : Names) std::printf(" %11s", Name.c_str());
  std::printf("\n");
  for (std::size_t C = 0; C < K; ++C) {
    std::printf("%7zu %5d", C + 1, Table[NClass][C]);
    for (std::size_t J = 0; J < NClass; ++J) std::printf(" %11d", Table[J][C]);
    std::printf("\n");
  }
  std::printf("adjusted Rand index %.4f\n", orv::AdjustedRandIx(Table));
}

// The clusters that remain after the first N - K merges of a dendrogram,
// numbered in the order of their first object.
std::vector<int32_t> CutDendrogram(const orv::TIntMatrix& Dendrogram, int32_t N) {
  std::vector<int32_t> Parent(static_cast<std::size_t>(2 * N), 0);  // node 1..2N-1 -> the node it merged into
  for (int32_t E = 1; E <= N - K; ++E) {
    Parent[static_cast<std::size_t>(Dendrogram.GetVal(1, E))] = Dendrogram.GetVal(3, E);
    Parent[static_cast<std::size_t>(Dendrogram.GetVal(2, E))] = Dendrogram.GetVal(3, E);
  }
  std::vector<int32_t> Number(static_cast<std::size_t>(2 * N), 0), Cluster;
  int32_t Next = 0;
  for (int32_t Leaf = 1; Leaf <= N; ++Leaf) {
    int32_t Node = Leaf;
    while (Parent[static_cast<std::size_t>(Node)] != 0) Node = Parent[static_cast<std::size_t>(Node)];
    int32_t& No = Number[static_cast<std::size_t>(Node)];
    if (No == 0) No = ++Next;
    Cluster.push_back(No);
  }
  return Cluster;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int Exit = example::CheckArguments(argc, argv, Usage, 0); Exit >= 0) return Exit;
  example::TTable Table;
  if (!example::ReadTable(example::DataFile("iris.csv"), 4, true, Table)) return 1;
  orv::TMatrix Data(nullptr);
  example::FillMatrix(Table, Data);
  const int32_t N = Data.NrOfRows();
  // The species, numbered in the order they first appear.
  std::vector<std::string> Species;
  std::vector<int32_t> Class;
  for (const auto& Label : Table.Labels) {
    std::size_t J = 0;
    while (J < Species.size() && Species[J] != Label) ++J;
    if (J == Species.size()) Species.push_back(Label);
    Class.push_back(static_cast<int32_t>(J + 1));
  }
  if (Species.size() != K) {
    std::fprintf(stderr, "data/iris.csv: %zu species where %d are expected\n", Species.size(), K);
    return 1;
  }
  std::printf("Clustering of the iris flowers (data/iris.csv): %d flowers, %d measurements, %zu species\n\n", N,
              Data.NrOfColumns(), Species.size());

  // Seed 0: the first K rows are the start centres, so the run repeats.
  orv::TMatrix Centres(nullptr);
  orv::TIntVector Members(nullptr), Sizes(nullptr);
  const double Start = orv::ProcStat;
  const double Sse = orv::kMeansClustering(&Data, 0, 0, K, 0, &Centres, &Members, &Sizes);
  std::printf("k-means (kMeansClustering), %d clusters, started from the first %d flowers\n", K, K);
  std::printf("%s passes, sum of squared distances to the centres %.4f\n",
              orv::strff(orv::ProcStat - Start, 0, 0).c_str(), Sse);
  std::printf("centre ");
  for (int32_t V = 1; V <= Data.NrOfColumns(); ++V)
    std::printf(" %12s", Table.Names[static_cast<std::size_t>(V - 1)].c_str());
  std::printf("\n");
  for (int32_t C = 1; C <= K; ++C) {
    std::printf("%6d ", C);
    for (int32_t V = 1; V <= Data.NrOfColumns(); ++V) std::printf(" %12.4f", Centres.GetVal(V, C));
    std::printf("\n");
  }
  std::vector<int32_t> Cluster;
  for (int32_t I = 1; I <= N; ++I) Cluster.push_back(Members.GetVal(I));
  Compare(Cluster, Class, Species);

  orv::TIntMatrix Dendrogram(nullptr);
  orv::TVector MergeDist(nullptr), NodePos(nullptr);
  if (orv::AgglomClustering(nullptr, &Data, orv::dmSqrEuclidean, orv::cmWard, 0.5, &Dendrogram, &MergeDist, &NodePos,
                            nullptr, nullptr) != 0) {
    std::fprintf(stderr, "AgglomClustering was stopped\n");
    return 1;
  }
  // On squared Euclidean distances the Lance-Williams update of Ward's method
  // gives each merge's distance as twice the growth of the within-cluster
  // sum of squares.
  std::printf("\nagglomerative clustering (AgglomClustering), %s on squared Euclidean distances\n",
              orv::ClusterMethodID[orv::cmWard]);
  // The flowers under each node: a leaf holds one, merged node N + E those of
  // the two nodes of row E.
  std::vector<int32_t> Size(static_cast<std::size_t>(2 * N), 1);
  for (int32_t E = 1; E <= N - 1; ++E)
    Size[static_cast<std::size_t>(N + E)] = Size[static_cast<std::size_t>(Dendrogram.GetVal(1, E))] +
                                            Size[static_cast<std::size_t>(Dendrogram.GetVal(2, E))];
  std::printf("the last merges  step  merge distance  flowers merged\n");
  for (int32_t E = N - K - 1; E <= N - 1; ++E) {
    const int32_t A = Size[static_cast<std::size_t>(Dendrogram.GetVal(1, E))];
    const int32_t B = Size[static_cast<std::size_t>(Dendrogram.GetVal(2, E))];
    std::printf("%22d %15.4f  %3d + %3d\n", E, MergeDist.GetVal(E), A < B ? A : B, A < B ? B : A);
  }
  std::printf("cut into %d clusters, numbered in the order of their first flower\n", K);
  Compare(CutDendrogram(Dendrogram, N), Class, Species);
  return 0;
}
