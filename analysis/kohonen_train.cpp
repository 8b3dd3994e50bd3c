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

// The winner search in vectors of L = Bytes / 8 nodes: D[n] := sum over v
// of (W[v NN + n] - X[v])^2, v in increasing order from 0.0. The winner is
// the first node with the smallest distance, a later one replacing it only
// when strictly smaller (so node 0 when D[0] is NaN: nothing is below it).
// Each lane keeps the first of its own minima; of the lanes' equal minima
// the lowest node is the first.
template <int Bytes>
struct TWinnerLanes {
  using V = detail::TSimdVector<double, Bytes>;
  using I = detail::TSimdVector<int64_t, Bytes>;
  static constexpr int64_t L = Bytes / sizeof(double);
  const double *W, *X;
  int64_t NN;
  int32_t NV;
  double* D;
  V Min[4] = {};  // per lane the smallest distance, +inf until one is below it,
  I At[4] = {};   // and its node (node 0 until then)
  I Lane = {};

  // The Count vectors of nodes from N, side by side in registers.
  template <int Count>
  ORV_SIMD_INLINE void Run(int64_t N) {
    V A[Count];
    for (V& S : A) S = V{};
    for (int32_t Var = 0; Var < NV; ++Var) {
      const double* P = W + Var * NN + N;
      const double Xv = X[Var];
      for (int B = 0; B < Count; ++B) {
        V T;
        std::memcpy(&T, P + B * L, sizeof T);
        T -= Xv;
        A[B] += T * T;
      }
    }
    for (int B = 0; B < Count; ++B) {
      const V S = A[B];  // a copy: storing A itself sends it through memory
      std::memcpy(D + N + B * L, &S, sizeof S);
      const auto Less = S < Min[B];
      Min[B] = Less ? S : Min[B];
      At[B] = Less ? Lane + (N + B * L) : At[B];
    }
  }

  ORV_SIMD_INLINE int64_t Search() {
    for (V& M : Min) M = HUGE_VAL - V{};
    for (int64_t K = 0; K < L; ++K) Lane[K] = K;
    const int64_t Body = detail::ForVectorBlocks<L>(NN, [&]<int Count>(int64_t N) ORV_SIMD_LAMBDA { Run<Count>(N); });
    int64_t N = Body;
    for (; N < NN; ++N) {
      double S = 0.0;
      for (int32_t Var = 0; Var < NV; ++Var) {
        const double T = W[Var * NN + N] - X[Var];
        S += T * T;
      }
      D[N] = S;
    }
    double Best = D[0];
    int64_t Win = 0;
    for (int B = 0; B < 4; ++B)
      for (int64_t K = 0; K < L; ++K)
        if (Min[B][K] < Best || (Min[B][K] == Best && At[B][K] < Win)) Best = Min[B][K], Win = At[B][K];
    for (N = Body; N < NN; ++N)
      if (D[N] < Best) Best = D[N], Win = N;
    return Win;
  }
};
template <int Bytes>
ORV_SIMD_INLINE int64_t WinnerSearchLanes(const double* W, int64_t NN, int32_t NV, const double* X, double* D) {
  TWinnerLanes<Bytes> S{W, X, NN, NV, D};
  return S.Search();
}
ORV_SIMD_BY_WIDTH(int64_t, WinnerSearch, (const double* W, int64_t NN, int32_t NV, const double* X, double* D),
                  (W, NN, NV, X, D))

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
      const int64_t Win = WinnerSearch(W.data(), NN, NV, X.data(), D.data());
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
