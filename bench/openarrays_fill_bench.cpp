// FillRandomUniform and FillRandomNormal on 10^6 cells (a TDoubleArray, a
// 100 x 100 x 100 TDouble3DArray in draw order, a TIntArray), beside a plain
// loop over the same cells in the same order drawing from Random() (and
// RandomGauss), and, for information, std::mt19937_64 with the <random>
// distributions. The fills reseed at entry, which costs next to nothing.
// Also the plain fills beside plain loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble3DArray;
using orv::TDoubleArray;
using orv::TIntArray;

constexpr int32_t N = 1000000, Side = 100;

TDoubleArray& Cells() {
  static TDoubleArray A(N);
  return A;
}
TDouble3DArray& Cube() {
  static TDouble3DArray A(Side, orv::TDouble2DArray(Side, TDoubleArray(Side)));
  return A;
}
TIntArray& Ints() {
  static TIntArray A(N);
  return A;
}

void Done(benchmark::State& S, const void* P) {
  benchmark::DoNotOptimize(P);
  benchmark::ClobberMemory();
  S.SetItemsProcessed(S.iterations() * N);
}

void BM_FillRandomUniform(benchmark::State& S) {
  for (auto _ : S) orv::FillRandomUniform(Cells(), -1.0, 3.0);
  Done(S, Cells().data());
}
void BM_PlainUniform(benchmark::State& S) {
  for (auto _ : S)
    for (double& X : Cells()) X = -1.0 + 4.0 * orv::Random();
  Done(S, Cells().data());
}
void BM_Mt19937Uniform(benchmark::State& S) {
  std::mt19937_64 Gen(1);
  std::uniform_real_distribution<double> U(-1.0, 3.0);
  for (auto _ : S)
    for (double& X : Cells()) X = U(Gen);
  Done(S, Cells().data());
}

void BM_FillRandomUniform3D(benchmark::State& S) {
  for (auto _ : S) orv::FillRandomUniform(Cube(), -1.0, 3.0);
  Done(S, &Cube());
}
void BM_PlainUniform3D(benchmark::State& S) {
  for (auto _ : S) {
    TDouble3DArray& A = Cube();
    for (int32_t K = 0; K < Side; ++K)
      for (int32_t I = 0; I < Side; ++I)
        for (int32_t J = 0; J < Side; ++J) A[I][J][K] = -1.0 + 4.0 * orv::Random();
  }
  Done(S, &Cube());
}

void BM_FillRandomUniformInt(benchmark::State& S) {
  for (auto _ : S) orv::FillRandomUniform(Ints(), -1000, 1000);
  Done(S, Ints().data());
}
void BM_PlainUniformInt(benchmark::State& S) {
  for (auto _ : S)
    for (int32_t& X : Ints()) X = static_cast<int32_t>(std::floor(-1000.0 + 2000.0 * orv::Random()));
  Done(S, Ints().data());
}
void BM_Mt19937UniformInt(benchmark::State& S) {
  std::mt19937_64 Gen(1);
  std::uniform_int_distribution<int32_t> U(-1000, 999);
  for (auto _ : S)
    for (int32_t& X : Ints()) X = U(Gen);
  Done(S, Ints().data());
}

void BM_FillRandomNormal(benchmark::State& S) {
  for (auto _ : S) orv::FillRandomNormal(Cells(), 5.0, 2.0);
  Done(S, Cells().data());
}
void BM_PlainNormal(benchmark::State& S) {
  for (auto _ : S)
    for (double& X : Cells()) X = orv::RandomGauss(5.0, 2.0);
  Done(S, Cells().data());
}
void BM_Mt19937Normal(benchmark::State& S) {
  std::mt19937_64 Gen(1);
  std::normal_distribution<double> G(5.0, 2.0);
  for (auto _ : S)
    for (double& X : Cells()) X = G(Gen);
  Done(S, Cells().data());
}

void BM_FillRandomNormal3D(benchmark::State& S) {
  for (auto _ : S) orv::FillRandomNormal(Cube(), 5.0, 2.0);
  Done(S, &Cube());
}
void BM_PlainNormal3D(benchmark::State& S) {
  for (auto _ : S) {
    TDouble3DArray& A = Cube();
    for (int32_t K = 0; K < Side; ++K)
      for (int32_t I = 0; I < Side; ++I)
        for (int32_t J = 0; J < Side; ++J) A[I][J][K] = orv::RandomGauss(5.0, 2.0);
  }
  Done(S, &Cube());
}

// FillArray whole and over a box, FillArrayRix of a 3-D array (the first
// index fastest), beside plain loops.
void BM_FillArray(benchmark::State& S) {
  for (auto _ : S) orv::FillArray(Cube(), 2.5);
  Done(S, &Cube());
}
void BM_PlainFill(benchmark::State& S) {
  for (auto _ : S)
    for (auto& P : Cube())
      for (auto& Q : P)
        for (double& X : Q) X = 2.5;
  Done(S, &Cube());
}
void BM_FillArrayBox(benchmark::State& S) {
  for (auto _ : S) orv::FillArray(Cube(), 1.5, 0, 0, 10, Side - 1, Side - 1, Side - 11);
  benchmark::DoNotOptimize(&Cube());
  benchmark::ClobberMemory();
  S.SetItemsProcessed(S.iterations() * Side * Side * (Side - 20));
}
void BM_PlainFillBox(benchmark::State& S) {
  for (auto _ : S)
    for (auto& P : Cube())
      for (auto& Q : P)
        for (int32_t K = 10; K <= Side - 11; ++K) Q[K] = 1.5;
  benchmark::DoNotOptimize(&Cube());
  benchmark::ClobberMemory();
  S.SetItemsProcessed(S.iterations() * Side * Side * (Side - 20));
}
void BM_FillArrayRix(benchmark::State& S) {
  for (auto _ : S) orv::FillArrayRix(Cube());
  Done(S, &Cube());
}
void BM_PlainRix(benchmark::State& S) {
  for (auto _ : S) {
    TDouble3DArray& A = Cube();
    for (int32_t I = 0; I < Side; ++I)
      for (int32_t J = 0; J < Side; ++J)
        for (int32_t K = 0; K < Side; ++K) A[I][J][K] = I + (J + K * Side) * Side;
  }
  Done(S, &Cube());
}

BENCHMARK(BM_FillArray)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillArrayBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainFillBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillArrayRix)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainRix)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRandomUniform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainUniform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mt19937Uniform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRandomUniform3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainUniform3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRandomUniformInt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainUniformInt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mt19937UniformInt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRandomNormal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainNormal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mt19937Normal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRandomNormal3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainNormal3D)->Unit(benchmark::kMillisecond);

}  // namespace
