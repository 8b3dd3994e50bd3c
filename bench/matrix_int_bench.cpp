// TIntMatrix's sparse storage on a 4000 x 4000 matrix with 160,000 cells at
// random positions: random reads, insertion in random order and the
// conversions between the storages, each beside a plain sorted vector and
// Eigen's SparseMatrix<int> on the same cells.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_matrix.h"

#ifdef ORV_HAVE_EIGEN
#include <Eigen/Dense>
#include <Eigen/Sparse>
#endif

namespace {

using namespace orv;

constexpr int32_t Side = 4000;
constexpr int32_t NCells = 160000;
constexpr int32_t NReads = 1000000;

struct TData {
  std::vector<TSpMatElemInt> Cells;               // unique positions, random order, values != 0
  std::vector<std::pair<int32_t, int32_t>> Reads;  // random positions, (column, row)
};

const TData& Data() {
  static const TData D = [] {
    TData R;
    std::mt19937_64 G(14);
    std::uniform_int_distribution<int32_t> Pos(1, Side), Val(1, 1000);
    std::set<std::pair<int32_t, int32_t>> Seen;
    while (std::ssize(R.Cells) < NCells) {
      const int32_t C = Pos(G), Rw = Pos(G);
      if (Seen.emplace(C, Rw).second) R.Cells.push_back({C, Rw, Val(G)});
    }
    for (int32_t I = 0; I < NReads; ++I) R.Reads.emplace_back(Pos(G), Pos(G));
    return R;
  }();
  return D;
}

bool Before(const TSpMatElemInt& A, const TSpMatElemInt& B) {
  return A.colidx < B.colidx || (A.colidx == B.colidx && A.rowidx < B.rowidx);
}

void MakeSparse(TIntMatrix& M) {
  for (const TSpMatElemInt& E : Data().Cells) M.SetVal(E.colidx, E.rowidx, E.value);
}

// Runs Setup untimed and Kernel timed in every iteration.
template <class SetupFn, class KernelFn>
void RunTimed(benchmark::State& St, SetupFn&& Setup, KernelFn&& Kernel) {
  for (auto _ : St) {
    Setup();
    const auto T0 = std::chrono::steady_clock::now();
    Kernel();
    const auto T1 = std::chrono::steady_clock::now();
    St.SetIterationTime(std::chrono::duration<double>(T1 - T0).count());
  }
}

// ---- random reads -------------------------------------------------------------

template <class ReadFn>
void Reads(benchmark::State& St, ReadFn&& Read) {
  for (auto _ : St) {
    int64_t S = 0;
    for (auto [C, R] : Data().Reads) S += Read(C, R);
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * NReads);
}

void BM_SparseGetVal(benchmark::State& St) {
  TIntMatrix M(nullptr, 1);
  MakeSparse(M);
  Reads(St, [&M](int32_t C, int32_t R) { return M.GetVal(C, R); });
}

void BM_DenseGetVal(benchmark::State& St) {
  TIntMatrix M(nullptr, 1);
  MakeSparse(M);
  M.SparseToArray();
  Reads(St, [&M](int32_t C, int32_t R) { return M.GetVal(C, R); });
}

void BM_PlainBinarySearch(benchmark::State& St) {
  std::vector<TSpMatElemInt> L = Data().Cells;
  std::sort(L.begin(), L.end(), Before);
  Reads(St, [&L](int32_t C, int32_t R) {
    const TSpMatElemInt Key{C, R, 0};
    const auto It = std::lower_bound(L.begin(), L.end(), Key, Before);
    return It != L.end() && It->colidx == C && It->rowidx == R ? It->value : 0;
  });
}

// ---- insertion in random order -------------------------------------------------

void BM_SparseSetVal(benchmark::State& St) {
  for (auto _ : St) {
    TIntMatrix M(nullptr, 1);
    MakeSparse(M);
    benchmark::DoNotOptimize(M.SpMat.data());
  }
  St.SetItemsProcessed(St.iterations() * NCells);
}

void BM_PlainSortedInsert(benchmark::State& St) {
  for (auto _ : St) {
    std::vector<TSpMatElemInt> L;
    for (const TSpMatElemInt& E : Data().Cells) {
      const auto It = std::lower_bound(L.begin(), L.end(), E, Before);
      if (It != L.end() && It->colidx == E.colidx && It->rowidx == E.rowidx)
        It->value = E.value;
      else
        L.insert(It, E);
    }
    benchmark::DoNotOptimize(L.data());
  }
  St.SetItemsProcessed(St.iterations() * NCells);
}

// ---- switching storages -----------------------------------------------------------

void BM_ArrayToSparse(benchmark::State& St) {
  TIntMatrix Src(nullptr, 1);
  MakeSparse(Src);
  Src.SparseToArray();
  TIntMatrix M(nullptr);
  RunTimed(St, [&] { M.SparseToArray(); M.Clone(&Src); }, [&] { M.ArrayToSparse(1); });
}

void BM_SparseToArray(benchmark::State& St) {
  TIntMatrix Src(nullptr, 1);
  MakeSparse(Src);
  TIntMatrix M(nullptr, 1);
  RunTimed(St, [&] { M.ArrayToSparse(1); M.Clone(&Src); }, [&] { M.SparseToArray(); });
}

#ifdef ORV_HAVE_EIGEN
Eigen::SparseMatrix<int> EigenSparse() {
  std::vector<Eigen::Triplet<int>> T;
  for (const TSpMatElemInt& E : Data().Cells) T.emplace_back(E.rowidx - 1, E.colidx - 1, E.value);
  Eigen::SparseMatrix<int> S(Side, Side);
  S.setFromTriplets(T.begin(), T.end());
  S.makeCompressed();
  return S;
}

void BM_EigenCoeff(benchmark::State& St) {
  const Eigen::SparseMatrix<int> S = EigenSparse();
  Reads(St, [&S](int32_t C, int32_t R) { return S.coeff(R - 1, C - 1); });
}

void BM_EigenCoeffRefReserved(benchmark::State& St) {
  for (auto _ : St) {
    Eigen::SparseMatrix<int> S(Side, Side);
    S.reserve(Eigen::VectorXi::Constant(Side, 2 * NCells / Side));
    for (const TSpMatElemInt& E : Data().Cells) S.coeffRef(E.rowidx - 1, E.colidx - 1) = E.value;
    benchmark::DoNotOptimize(S.valuePtr());
  }
  St.SetItemsProcessed(St.iterations() * NCells);
}

void BM_EigenSparseView(benchmark::State& St) {
  const Eigen::MatrixXi D = Eigen::MatrixXi(EigenSparse());
  for (auto _ : St) {
    Eigen::SparseMatrix<int> S = D.sparseView();
    benchmark::DoNotOptimize(S.valuePtr());
  }
}

void BM_EigenToDense(benchmark::State& St) {
  const Eigen::SparseMatrix<int> S = EigenSparse();
  for (auto _ : St) {
    Eigen::MatrixXi D = Eigen::MatrixXi(S);
    benchmark::DoNotOptimize(D.data());
  }
}
#endif

BENCHMARK(BM_SparseGetVal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainBinarySearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DenseGetVal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SparseSetVal)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainSortedInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArrayToSparse)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SparseToArray)->Unit(benchmark::kMillisecond)->UseManualTime();
#ifdef ORV_HAVE_EIGEN
BENCHMARK(BM_EigenCoeff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EigenCoeffRefReserved)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EigenSparseView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EigenToDense)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
