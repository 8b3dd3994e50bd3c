// The kernels of Crout's elimination and of the inverse (core/crout.h).
#include "core/crout.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/matmul.h"
#include "core/simd.h"

namespace orv::detail {

namespace {

using S = TMatMulShape<double>;

ORV_SIMD_KERNEL void Axpys(double* const* A, int64_t N, int64_t J, int64_t K0) {
  double* Cj = A[J];
  for (int64_t K = K0; K < J; ++K) {
    const double X = Cj[K];
    const double* Lk = A[K];
    for (int64_t I = K + 1; I < N; ++I) Cj[I] -= Lk[I] * X;
  }
}

// Rows R0 .. R1 - 1 of the panel (multiples of the kernel's row block, or
// R1 = LD) lose the products of factor columns 0 .. K - 1: the product
// kernel continuing from the cells (First false) on the negated panel rows.
void SubtractProducts(const double* const* A, int64_t N, TCroutWork& W, int64_t NC, int64_t R0, int64_t R1,
                      int64_t K) {
  for (int64_t P0 = 0; P0 < K; P0 += S::KC) {
    const int64_t KC = std::min(S::KC, K - P0);
    Pack<S::NR>(W.PanelCols.data(), false, NC, 0, NC, P0, KC, W.Bp.data());
    for (int64_t X = 0; X < NC * KC; ++X) W.Bp[Ix(X)] = -W.Bp[Ix(X)];
    for (int64_t Rb = R0; Rb < R1; Rb += S::MC) {
      const int64_t MC = std::min(S::MC, R1 - Rb);
      Pack<S::MR>(A, true, N, Rb, MC, P0, KC, W.Ap.data());
      MatMulBlock(W.Ap.data(), W.Bp.data(), W.Panel.data() + Rb, W.LD, MC, NC, KC, false);
    }
  }
}

}  // namespace

void TCroutWork::Allocate(int64_t N, bool ForInverse) {
  LD = (N + S::MR - 1) / S::MR * S::MR;
  constexpr int64_t NC = (CroutPanel + S::NR - 1) / S::NR * S::NR;
  CheckExtent(LD * NC, sizeof(double));
  Perm.assign(Ix(N), 0);
  Scale.assign(Ix(N), 0.0);
  Panel.assign(Ix(LD * NC), 0.0);
  PanelSaved.assign(Ix(LD * NC), 0.0);
  PanelCols.resize(Ix(NC));
  for (int64_t C = 0; C < NC; ++C) PanelCols[Ix(C)] = Panel.data() + C * LD;
  Ap.assign(Ix(S::MC * S::KC), 0.0);
  Bp.assign(Ix(NC * S::KC), 0.0);
  if (!ForInverse) return;
  CheckExtent(N * N, sizeof(double));
  CheckExtent(N * CroutSolveWidth, sizeof(double));
  Rows.assign(Ix(N * N), 0.0);
  Solved.assign(Ix(N * CroutSolveWidth), 0.0);
  Target.assign(Ix(N), 0);
}

void CroutColumnUpdate(double* const* A, int64_t N, int64_t J, int64_t K0) { Axpys(A, N, J, K0); }

void CroutPanelUpdate(double* const* A, int64_t N, int64_t J0, int64_t Width, TCroutWork& W) {
  if (J0 == 0) return;
  const int64_t NC = (Width + S::NR - 1) / S::NR * S::NR;
  for (int64_t C = 0; C < NC; ++C) {
    double* Col = W.Panel.data() + C * W.LD;
    if (C < Width)
      std::copy_n(A[J0 + C], N, Col);
    else
      std::fill_n(Col, W.LD, 0.0);
  }
  std::copy(W.Panel.begin(), W.Panel.end(), W.PanelSaved.begin());
  // Rows above J0 (the upper factor), by blocks: each block first loses the
  // products of the rows above it, then its own triangle in increasing k.
  for (int64_t I0 = 0; I0 < J0; I0 += S::MC) {
    const int64_t I1 = std::min(J0, I0 + S::MC);
    if (I0 > 0) SubtractProducts(A, N, W, NC, I0, I1, I0);
    for (int64_t K = I0; K + 1 < I1; ++K) {
      const double* Lk = A[K];
      for (int64_t C = 0; C < Width; ++C) {
        double* Col = W.Panel.data() + C * W.LD;
        const double X = Col[K];
        for (int64_t I = K + 1; I < I1; ++I) Col[I] -= Lk[I] * X;
      }
    }
  }
  // Rows from J0 on: every factor column left of the panel.
  SubtractProducts(A, N, W, NC, J0, W.LD, J0);
  for (int64_t C = 0; C < Width; ++C) std::copy_n(W.Panel.data() + C * W.LD, N, A[J0 + C]);
}

void CroutPanelRestore(double* const* A, int64_t N, int64_t J0, int64_t J, int64_t J1, const TCroutWork& W) {
  // The first panel has no factors to its left: its update wrote nothing
  // (and saved nothing), so its columns hold their cells already.
  if (J0 == 0) return;
  for (int64_t C = J; C < J1; ++C) {
    double* Col = A[C];
    std::copy_n(W.PanelSaved.data() + (C - J0) * W.LD, N, Col);
    for (int64_t K = J0; K < J; ++K) std::swap(Col[W.Perm[Ix(K)]], Col[K]);
  }
}

bool CroutSolveBlock(int64_t N, int64_t Q0, int64_t Width, TCroutWork& W, double* const* A) {
  const double* F = W.Rows.data();
  double* Y = W.Solved.data();  // N rows of Width cells
  std::fill_n(Y, N * Width, 0.0);
  for (int64_t B = 0; B < Width; ++B) Y[(Q0 + B) * Width + B] = 1.0;
  // Above Q0 every column is zero: the products start at row Q0.
  for (int64_t I = Q0 + 1; I < N; ++I)
    SubtractRowsKernel(Y + I * Width, Width, Y + Q0 * Width, Width, F + I * N + Q0, 1, I - Q0);
  for (int64_t I = N - 1; I >= 0; --I) {
    double* Yi = Y + I * Width;
    SubtractRowsKernel(Yi, Width, Yi + Width, Width, F + I * N + I + 1, 1, N - 1 - I);
    const double D = F[I * N + I];
    for (int64_t B = 0; B < Width; ++B) Yi[B] /= D;
  }
  if (!AllFinite(Y, N * Width)) return false;
  for (int64_t B = 0; B < Width; ++B) {
    double* Col = A[W.Target[Ix(Q0 + B)]];
    for (int64_t R = 0; R < N; ++R) Col[R] = Y[R * Width + B];
  }
  return true;
}

}  // namespace orv::detail
