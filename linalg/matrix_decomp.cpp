// TMatrix decompositions: Crout's LU (core/crout.h), the determinant, the
// inverse, the Cholesky factor and the hat matrix of regression.
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/crout.h"
#include "core/matmul.h"
#include "linalg/component.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;
using detail::TCroutOutcome;

namespace {

std::vector<double*> ColumnPointers(TMatrix& M, int32_t N) {
  std::vector<double*> P(Ix(N));
  for (int32_t C = 0; C < N; ++C) P[Ix(C)] = M.Mat[Ix(C)].data();
  return P;
}

struct TNoStop {
  bool Continue() { return true; }
  bool Pass() { return true; }
  bool Intact() { return true; }
};

}  // namespace

bool TMatrix::LUdecomposition(TMatrix* MatL, TMatrix* MatU, int32_t& NumPerm) {
  NumPerm = 1;
  if (FNCol != FNRow || MatL == nullptr || MatU == nullptr || MatL == MatU || MatL == this || MatU == this)
    return false;
  const int32_t N = FNCol;
  detail::TCroutWork W;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { W.Allocate(N, false); });
  MatL->Resize(N, N);
  MatL->Fill(0.0);
  MatU->Clone(this);
  // Handlers ran in between and may have resized either factor.
  if (MatL->FNCol != N || MatL->FNRow != N || MatU->FNCol != N || MatU->FNRow != N) return false;
  const std::vector<double*> Cols = ColumnPointers(*MatU, N);
  TNoStop H;
  int32_t Sign = 1;
  const TCroutOutcome R = detail::CroutDecompose(Cols.data(), N, W, Sign, H);
  NumPerm = Sign;
  if (R != TCroutOutcome::Done) return false;
  if (!MatL->OnChange && !MatU->OnChange) {
    for (int32_t C = 0; C < N; ++C) {
      double* U = MatU->Mat[Ix(C)].data();
      double* L = MatL->Mat[Ix(C)].data();
      L[C] = 1.0;
      for (int32_t Rw = C + 1; Rw < N; ++Rw) {
        L[Rw] = U[Rw];
        U[Rw] = 0.0;
      }
    }
    return true;
  }
  for (int32_t C = 1; C < N; ++C) {
    MatL->SetVal(C, C, 1.0);
    for (int32_t Rw = C + 1; Rw <= N; ++Rw) {
      MatL->SetVal(C, Rw, MatU->GetVal(C, Rw));
      MatU->SetVal(C, Rw, 0.0);
    }
  }
  MatL->SetVal(N, N, 1.0);
  return true;
}

double TMatrix::Determinant() {
  TMatrix L(nullptr), U(nullptr);
  int32_t Sign = 1;
  if (!LUdecomposition(&L, &U, Sign)) return 0.0;
  double D = Sign;
  for (int32_t I = 0; I < FNCol; ++I) D *= U.Mat[Ix(I)][Ix(I)];
  return D;
}

bool TMatrix::Invert() {
  if (FNCol != FNRow || FNCol == 0) return false;
  const int32_t N = FNCol;
  detail::TCroutWork W;
  std::vector<double*> Cols;
  // Stopped, too, when a progress handler resizes the matrix or moves its cells.
  std::optional<detail::TStorageGuard<const TMatrix*>> Storage;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    W.Allocate(N, true);
    Cols = ColumnPointers(*this, N);
    Storage.emplace(*this);
  });
  detail::TCroutHostHooks H{*Storage};
  const TCroutOutcome R = detail::CroutInvert(Cols.data(), N, W, H);
  Changed();
  return R == TCroutOutcome::Done;
}

bool TMatrix::CholeskyDecomp(TMatrix* MatL) {
  if (FNCol != FNRow || MatL == nullptr) return false;
  const int32_t N = FNCol;
  const int64_t N64 = N;
  // The factor row by row (row i from column i on, the diagonal factor at
  // (i, i)), so that each row of sums runs along rows of the factor.
  std::vector<double> F = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    detail::CheckExtent(N64 * N64, sizeof(double));
    return std::vector<double>(Ix(N64 * N64));
  });
  bool Positive = true;
  for (int64_t I = 0; I < N64; ++I) {
    double* Fi = F.data() + I * N64;
    const double* Lower = Mat[Ix(I)].data();  // a(j, i), j >= i: column i of Self
    std::copy(Lower + I, Lower + N64, Fi + I);
    if (I > 0) {
      const double* Above = F.data() + (I - 1) * N64 + I;  // a(k, i) and a(k, j), k = i-1 down to 0
      detail::SubtractRowsKernel(Fi + I, N64 - I, Above, -N64, Above, -N64, I);
    }
    const double S = Fi[I];
    if (S > 0.0) {
      const double P = std::sqrt(S);
      Fi[I] = P;
      for (int64_t J = I + 1; J < N64; ++J) Fi[J] /= P;
    } else {  // not positive definite: this row of the factor is 0, never s / 0
      Positive = false;
      std::fill(Fi + I, Fi + N64, 0.0);
    }
    for (int64_t J = I + 1; J < N64; ++J) Mat[Ix(J)][Ix(I)] = Fi[J];
  }
  if (N > 1) Changed();
  MatL->Resize(N, N);
  if (!MatL->OnChange) {
    for (int64_t C = 0; C < N64; ++C) {
      double* L = MatL->Mat[Ix(C)].data();
      for (int64_t Rw = 0; Rw < N64; ++Rw) L[Rw] = Rw < C ? 0.0 : F[Ix(C * N64 + Rw)];
    }
    return Positive;
  }
  for (int32_t C = 1; C <= N; ++C) {
    const double* Fc = F.data() + Ix(C - 1) * Ix(N);
    for (int32_t Rw = 1; Rw < C; ++Rw) MatL->SetVal(C, Rw, 0.0);
    MatL->SetVal(C, C, GetVal(C, C));  // a handler may have resized Self (or MatL, which may be Self)
    for (int32_t Rw = C + 1; Rw <= N; ++Rw) MatL->SetVal(C, Rw, Fc[Rw - 1]);
    MatL->SetVal(C, C, Fc[C - 1]);
  }
  return Positive;
}

bool TMatrix::CalcHatMatrix(TMatrix* HatMat) {
  if (HatMat == nullptr) return false;
  TMatrix B(nullptr), R(nullptr), R2(nullptr);
  B.Clone(this);
  B.Transpose();
  B.Multiply(this, &R);  // X' X
  // The inversion calls MathFeedBackProc, which may change X: B and R
  // then belong to another matrix than X (X R would not even multiply).
  const auto X =
      detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [this] { return detail::TStorageGuard(*this); });
  if (!R.Invert() || !X.Intact()) return false;
  Multiply(&R, &R2);
  R2.Multiply(&B, HatMat);
  return true;
}

}  // namespace orv
