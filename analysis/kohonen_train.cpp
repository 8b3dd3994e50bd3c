// TKohonen: the training loop.
//
// The cost is steps x objects x nodes x variables, nearly all of it in the
// winner search. The loop therefore works on a copy of the weights that holds
// one plane per variable, the nodes side by side in the order (x, y): the
// distances of all nodes to an object build up plane by plane in vector
// registers, each node's sum still taken over the variables in order from
// 0.0, so the bits are those of the plain step (tests/support/kohonen_plain.h),
// which a test checks. Each node of a neighbourhood is visited once per
// object, so its distance from the search is the one the update must compute
// again, and the nodes of the square may be updated in any order.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "analysis/kohonen_step.h"
#include "core/simd.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_kohonen.h"

namespace orv {

using detail::Ix;

namespace {

using V8 = double __attribute__((vector_size(64)));

ORV_SIMD_INLINE void Load(V8& V, const double* P) { std::memcpy(&V, P, sizeof V); }
ORV_SIMD_INLINE void Store(double* P, const V8& V) { std::memcpy(P, &V, sizeof V); }

// D[n] := sum over v of (W[v NN + n] - X[v])^2, v in increasing order from
// 0.0, for the NN nodes; 16 nodes at a time in registers.
ORV_SIMD_KERNEL void NodeDistances(const double* W, int64_t NN, int32_t NV, const double* X, double* D) {
  int64_t N = 0;
  for (; N + 16 <= NN; N += 16) {
    V8 A = {}, B = {};
    for (int32_t V = 0; V < NV; ++V) {
      const double* P = W + V * NN + N;
      V8 Wa, Wb;
      Load(Wa, P);
      Load(Wb, P + 8);
      const V8 Xv = V8{} + X[V];
      const V8 Ta = Wa - Xv, Tb = Wb - Xv;
      A = A + Ta * Ta;
      B = B + Tb * Tb;
    }
    Store(D + N, A);
    Store(D + N + 8, B);
  }
  for (; N < NN; ++N) {
    double S = 0.0;
    for (int32_t V = 0; V < NV; ++V) {
      const double T = W[V * NN + N] - X[V];
      S += T * T;
    }
    D[N] = S;
  }
}

// The first node with the smallest distance, a later one replacing it only
// when strictly smaller: node 0 when D[0] is NaN (nothing is below it),
// otherwise the first node holding the minimum of the numbers.
ORV_SIMD_KERNEL int64_t FirstMinimum(const double* D, int64_t NN) {
  if (std::isnan(D[0])) return 0;
  double M = D[0];
  int64_t N = 0;
  if (NN >= 8) {
    V8 Mv = V8{} + M;
    for (; N + 8 <= NN; N += 8) {
      V8 Dv;
      Load(Dv, D + N);
      Mv = Dv < Mv ? Dv : Mv;
    }
    for (int L = 0; L < 8; ++L) M = Mv[L] < M ? Mv[L] : M;
  }
  for (; N < NN; ++N) M = D[N] < M ? D[N] : M;
  N = 0;
  while (D[N] != M) ++N;
  return N;
}

// The weights while a training call runs: plane v holds weight v of every node.
struct TWorkMap {
  int32_t NX = 0, NY = 0, NV = 0;
  int64_t NN = 0;
  std::vector<double> W, D, X;

  void Load(const TMat3D& Map) {
    NX = Map.NrOfColumns();
    NY = Map.NrOfRows();
    NV = Map.NrOfLayers();
    NN = int64_t{NX} * NY;
    detail::CheckExtent(NN * NV, sizeof(double));
    W.resize(Ix(NN * NV));
    D.resize(Ix(NN));
    X.resize(Ix(NV));
    for (int64_t N = 0; N < NN; ++N) {
      const double* Cells = Map.LayerRun(static_cast<int32_t>(N / NY + 1), static_cast<int32_t>(N % NY + 1)).data();
      for (int32_t V = 0; V < NV; ++V) W[Ix(V * NN + N)] = Cells[V];
    }
  }

  void Store(TMat3D& Map) const {
    for (int64_t N = 0; N < NN; ++N)
      for (int32_t V = 0; V < NV; ++V)
        Map.SetVal(static_cast<int32_t>(N / NY + 1), static_cast<int32_t>(N % NY + 1), V + 1, W[Ix(V * NN + N)]);
  }

  // One pass over the objects of Data (variable v of object r in column v,
  // 0.0 where the column is missing).
  void Step(const TMatrix& Data, detail::TKohonenSchedule S, bool Cyclic) {
    const int32_t Cols = Data.NrOfColumns();
    for (int32_t R = 0; R < Data.NrOfRows(); ++R) {
      for (int32_t V = 0; V < NV; ++V) X[Ix(V)] = V < Cols ? Data.Mat[Ix(V)][Ix(R)] : 0.0;
      NodeDistances(W.data(), NN, NV, X.data(), D.data());
      const int64_t Win = FirstMinimum(D.data(), NN);
      const double Best = D[Ix(Win)];
      const detail::TKohonenSpan SX = detail::KohonenSpan(Win / NY, S.Radius, NX, Cyclic);
      const detail::TKohonenSpan SY = detail::KohonenSpan(Win % NY, S.Radius, NY, Cyclic);
      for (int64_t I = 0; I < SX.Count; ++I)
        for (int64_t J = 0; J < SY.Count; ++J) {
          const int64_t N = SX.At(I, NX) * NY + SY.At(J, NY);
          const double H = N == Win ? S.Alpha : S.Alpha / (1.0 + std::sqrt(D[Ix(N)] - Best));
          double* P = W.data() + N;
          for (int32_t V = 0; V < NV; ++V, P += NN) *P = *P + (X[Ix(V)] - *P) * H;
        }
    }
  }
};

}  // namespace

void TKohonen::ContinueTraining() {
  FAbort = false;
  TWorkMap Work;
  const auto Reload = [&] {
    detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { Work.Load(*FKohMat); });
  };
  // Past a finished training each call counts one more step; the count
  // stops at its largest value rather than wrap.
  const auto NextStep = [this] { FCurStep += FCurStep < INT32_MAX ? 1 : 0; };
  Reload();
  do {
    const detail::TKohonenSchedule S = detail::KohonenSchedule(FCurStep, FMaxSteps, FMaxNeighb, FMaxAlpha);
    FCurNeighb = S.Radius;
    FCurAlpha = S.Alpha;
    Work.Step(*FDataMat, S, FCyclic);
    if (OnFeedback) {
      // The handler sees the current map and may change anything: the next
      // step starts from what it leaves.
      Work.Store(*FKohMat);
      DoFeedback(detail::KohonenPercent(FCurStep, FMaxSteps));
      NextStep();
      Reload();
    } else {
      NextStep();
    }
  } while (!FAbort && FCurStep < FMaxSteps);
  Work.Store(*FKohMat);
  FAbort = false;
}

}  // namespace orv
