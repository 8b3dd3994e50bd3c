// TMatrix line profiles of a 2000 x 2000 matrix beside Eigen on the same
// numbers (single thread): MeanVec per column and per row beside colwise()
// and rowwise() mean(), EdgeVector's minimum per row and per column beside
// minCoeff(), StandardizeColumns beside Eigen's centred and scaled copy, and
// the plain loops in the pinned summation order. Run them interleaved on a
// loaded machine:
//   matrix_profile_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace {

using namespace orv;

constexpr int32_t Side = 2000;

const TMatrix& Big() { return bench::SharedRandom(Side, Side); }

// range(0): 0 one value per column, 1 one per row.
void BM_MeanVec(benchmark::State& St) {
  TVector V(nullptr);
  const TDims Dim = St.range(0) == 0 ? dimColumns : dimRows;
  for (auto _ : St) {
    Big().MeanVec(Dim, &V);
    benchmark::ClobberMemory();
  }
}
void BM_EdgeVectorMin(benchmark::State& St) {
  TVector V(nullptr);
  const TOrientation Orient = St.range(0) == 0 ? orColumns : orRows;
  for (auto _ : St) {
    Big().EdgeVector(Orient, eoMinimum, &V);
    benchmark::ClobberMemory();
  }
}
// The sums in the pinned order: each column top down; each row left to right.
void BM_MeanPlainLoop(benchmark::State& St) {
  std::vector<double> Out(Side);
  for (auto _ : St) {
    if (St.range(0) == 0) {
      for (int32_t C = 0; C < Side; ++C) {
        const double* X = Big().Mat[std::size_t(C)].data();
        double S = 0;
        for (int32_t R = 0; R < Side; ++R) S += X[R];
        Out[std::size_t(C)] = S / Side;
      }
    } else {
      std::fill(Out.begin(), Out.end(), 0.0);
      for (int32_t C = 0; C < Side; ++C) {
        const double* X = Big().Mat[std::size_t(C)].data();
        for (int32_t R = 0; R < Side; ++R) Out[std::size_t(R)] += X[R];
      }
      for (double& X : Out) X /= Side;
    }
    benchmark::DoNotOptimize(Out.data());
  }
}

// In place: after the first call the cells stay standardised, at the same cost.
void BM_StandardizeColumns(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Clone(&Big());
  TVector Mu(nullptr), Sd(nullptr);
  Mu.Resize(Side);
  Sd.Resize(Side);
  for (auto _ : St) {
    M.StandardizeColumns(&Mu, &Sd);
    benchmark::ClobberMemory();
  }
}
void BM_StandardizePlainLoop(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Clone(&Big());
  for (auto _ : St) {
    for (int32_t C = 0; C < Side; ++C) {
      double* X = M.Mat[std::size_t(C)].data();
      double S = 0, Q = 0;
      for (int32_t R = 0; R < Side; ++R) {
        S += X[R];
        Q += X[R] * X[R];
      }
      const double Mean = S / Side, Sd = std::sqrt((Q - S * S / Side) / (Side - 1));
      for (int32_t R = 0; R < Side; ++R) X[R] = (X[R] - Mean) / Sd;
    }
    benchmark::ClobberMemory();
  }
}

#ifdef ORV_HAVE_EIGEN
const Eigen::MatrixXd& EigenBig() {
  static const Eigen::MatrixXd E = bench::EigenCopy(Big());
  return E;
}
// range(1): 0 the means, 1 the minima.
void BM_Eigen(benchmark::State& St) {
  Eigen::VectorXd Out;
  const bool PerColumn = St.range(0) == 0, Min = St.range(1) == 1;
  for (auto _ : St) {
    if (PerColumn && Min)
      Out = EigenBig().colwise().minCoeff().transpose();
    else if (PerColumn)
      Out = EigenBig().colwise().mean().transpose();
    else if (Min)
      Out = EigenBig().rowwise().minCoeff();
    else
      Out = EigenBig().rowwise().mean();
    benchmark::DoNotOptimize(Out.data());
  }
}
void BM_EigenStandardize(benchmark::State& St) {
  Eigen::MatrixXd Out;
  for (auto _ : St) {
    const Eigen::RowVectorXd Mean = EigenBig().colwise().mean();
    const Eigen::MatrixXd Centred = EigenBig().rowwise() - Mean;
    const Eigen::RowVectorXd Sd = (Centred.colwise().squaredNorm() / (Side - 1)).cwiseSqrt();
    Out = Centred.array().rowwise() / Sd.array();
    benchmark::DoNotOptimize(Out.data());
  }
}
#endif

#define ORV_BOTH_AXES Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_MeanVec)->ORV_BOTH_AXES;
BENCHMARK(BM_MeanPlainLoop)->ORV_BOTH_AXES;
BENCHMARK(BM_EdgeVectorMin)->ORV_BOTH_AXES;
BENCHMARK(BM_StandardizeColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardizePlainLoop)->Unit(benchmark::kMillisecond);
#ifdef ORV_HAVE_EIGEN
BENCHMARK(BM_Eigen)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EigenStandardize)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
