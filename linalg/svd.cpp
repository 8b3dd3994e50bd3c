// The Golub-Reinsch singular value decomposition and the least-squares
// solver built on it (linalg/svd.h).
#include "linalg/svd.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/matmul.h"
#include "core/norm2.h"
#include "core/simd.h"
#include "linalg/component.h"
#include "linalg/storage_stamps.h"
#include "linalg/vector_ops.h"

namespace orv::detail {

namespace {

// Y[r] += F * X[r], r < N.
ORV_SIMD_KERNEL void Axpy(int64_t N, double F, const double* X, double* Y) {
  for (int64_t R = 0; R < N; ++R) Y[R] += F * X[R];
}

// The plane rotation of two columns: x := x c + y s, y := y c - x s.
ORV_SIMD_KERNEL void Rotate(int64_t N, double* X, double* Y, double C, double S) {
  for (int64_t R = 0; R < N; ++R) {
    const double A = X[R];
    const double B = Y[R];
    X[R] = A * C + B * S;
    Y[R] = B * C - A * S;
  }
}

// The decomposition of an m x n matrix held as columns: a(r, c) = A[c][r],
// v(r, c) = V[c][r]; W and E (the superdiagonal) of n values.
class TGolubReinsch {
 public:
  TGolubReinsch(TMatrix& AM, TMatrix& VM, int64_t M, int64_t N)
      : W(Ix(N)), FA(AM), FV(VM), FShapes(ShapeOf(AM), ShapeOf(VM)), M(M), N(N), A(Ix(N)), V(Ix(N)), E(Ix(N)),
        Sums(Ix(std::max(M, N))), Line(Ix(N)), Ptr(Ix(N)) {}

  bool Run() {
    Converged = true;
    return Bidiagonalise() && AccumulateRight() && AccumulateLeft() && Diagonalise() && Converged;
  }

  std::vector<double> W;

 private:
  double& a(int64_t R, int64_t C) { return A[Ix(C)][Ix(R)]; }
  double& v(int64_t R, int64_t C) { return V[Ix(C)][Ix(R)]; }

  // One step of a phase: the pass, the feedback call and the abort test.
  // The feedback runs host code that may resize the matrices: the column
  // pointers are taken afresh, and a new shape stops the work.
  bool Step() {
    IncProcStat();
    if (AbortMathProc) return false;
    if (!FShapes.Intact()) return false;
    for (int64_t C = 0; C < N; ++C) {
      A[Ix(C)] = FA.Mat[Ix(C)].data();
      V[Ix(C)] = FV.Mat[Ix(C)].data();
    }
    return true;
  }

  // Columns J0 .. N-1 of X from row R0 on, as the kernels take them.
  const double* const* From(const std::vector<double*>& X, int64_t J0, int64_t R0) {
    for (int64_t J = J0; J < N; ++J) Ptr[Ix(J)] = X[Ix(J)] + R0;
    return Ptr.data() + J0;
  }

  bool Bidiagonalise() {
    double G = 0.0, Scale = 0.0;
    for (int64_t I = 0; I < N; ++I) {
      if (!Step()) return false;
      const int64_t L = I + 1;
      E[Ix(I)] = Scale * G;
      G = Scale = 0.0;
      double S = 0.0;
      if (I < M) {  // the column part, rows I..M-1
        double* Ci = A[Ix(I)];
        for (int64_t R = I; R < M; ++R) Scale += std::fabs(Ci[R]);
        if (Scale != 0.0) {
          for (int64_t R = I; R < M; ++R) {
            Ci[R] /= Scale;
            S += Ci[R] * Ci[R];
          }
          const double F = Ci[I];
          G = -SignTransfer(std::sqrt(S), F);
          const double H = F * G - S;
          Ci[I] = F - G;
          if (L < N) {
            MatTVecKernel(N - L, M - I, From(A, L, I), Ci + I, Sums.data());
            for (int64_t J = L; J < N; ++J) Axpy(M - I, Sums[Ix(J - L)] / H, Ci + I, A[Ix(J)] + I);
          }
          for (int64_t R = I; R < M; ++R) Ci[R] *= Scale;
        }
      }
      W[Ix(I)] = Scale * G;
      G = S = Scale = 0.0;
      if (I < M && I != N - 1) {  // the row part, columns L..N-1
        for (int64_t K = L; K < N; ++K) Scale += std::fabs(a(I, K));
        if (Scale != 0.0) {
          for (int64_t K = L; K < N; ++K) {
            a(I, K) /= Scale;
            S += a(I, K) * a(I, K);
          }
          const double F = a(I, L);
          G = -SignTransfer(std::sqrt(S), F);
          const double H = F * G - S;
          a(I, L) = F - G;
          for (int64_t K = L; K < N; ++K) {
            E[Ix(K)] = a(I, K) / H;
            Line[Ix(K)] = a(I, K);
          }
          if (L < M) {
            MatVecKernel(M - L, N - L, From(A, L, L), Line.data() + L, Sums.data());
            for (int64_t K = L; K < N; ++K) Axpy(M - L, E[Ix(K)], Sums.data(), A[Ix(K)] + L);
          }
          for (int64_t K = L; K < N; ++K) a(I, K) *= Scale;
        }
      }
      ANorm = LargerOf(ANorm, std::fabs(W[Ix(I)]) + std::fabs(E[Ix(I)]));
    }
    return true;
  }

  bool AccumulateRight() {
    double G = 0.0;
    int64_t L = N;
    for (int64_t I = N - 1; I >= 0; --I) {
      if (!Step()) return false;
      if (I < N - 1) {
        if (G != 0.0) {
          for (int64_t J = L; J < N; ++J) {
            v(J, I) = (a(I, J) / a(I, L)) / G;  // two divisions: no underflow
            Line[Ix(J)] = a(I, J);
          }
          MatTVecKernel(N - L, N - L, From(V, L, L), Line.data() + L, Sums.data());
          for (int64_t J = L; J < N; ++J) Axpy(N - L, Sums[Ix(J - L)], V[Ix(I)] + L, V[Ix(J)] + L);
        }
        for (int64_t J = L; J < N; ++J) v(I, J) = v(J, I) = 0.0;
      }
      v(I, I) = 1.0;
      G = E[Ix(I)];
      L = I;
    }
    return true;
  }

  bool AccumulateLeft() {
    for (int64_t I = N - 1; I >= 0; --I) {
      if (!Step()) return false;
      if (I >= M) continue;  // a padding row: nothing of it is stored
      const int64_t L = I + 1;
      double G = W[Ix(I)];
      for (int64_t J = L; J < N; ++J) a(I, J) = 0.0;
      double* Ci = A[Ix(I)];
      if (G != 0.0) {
        G = 1.0 / G;
        if (L < N) {
          MatTVecKernel(N - L, M - L, From(A, L, L), Ci + L, Sums.data());
          for (int64_t J = L; J < N; ++J) Axpy(M - I, (Sums[Ix(J - L)] / Ci[I]) * G, Ci + I, A[Ix(J)] + I);
        }
        for (int64_t R = I; R < M; ++R) Ci[R] *= G;
      } else {
        for (int64_t R = I; R < M; ++R) Ci[R] = 0.0;
      }
      Ci[I] += 1.0;
    }
    return true;
  }

  bool Negligible(double X) const { return std::fabs(X) + ANorm == ANorm; }

  bool Diagonalise() {
    for (int64_t K = N - 1; K >= 0; --K) {
      if (!Step()) return false;
      for (int Its = 1; Its <= 30; ++Its) {
        // The largest L <= K whose superdiagonal element (always so for L =
        // 0) or whose preceding singular value is negligible.
        bool Cancel = true;
        int64_t L = K;
        for (; L >= 0; --L) {
          if (L == 0 || Negligible(E[Ix(L)])) {
            Cancel = false;
            break;
          }
          if (Negligible(W[Ix(L - 1)])) break;
        }
        if (Cancel) CancelSuperdiagonal(L, K);
        const double Z = W[Ix(K)];
        if (L == K) {
          if (Z < 0.0) {
            W[Ix(K)] = -Z;
            double* Vk = V[Ix(K)];
            for (int64_t R = 0; R < N; ++R) Vk[R] = -Vk[R];
          }
          break;
        }
        if (Its == 30) Converged = false;
        QRStep(L, K);
      }
    }
    return true;
  }

  // W(L-1) is negligible: rotations of the columns L-1 and L..K of A zero
  // the superdiagonal elements L..K.
  void CancelSuperdiagonal(int64_t L, int64_t K) {
    const int64_t Nm = L - 1;
    double C = 0.0, S = 1.0;
    for (int64_t I = L; I <= K; ++I) {
      const double F = S * E[Ix(I)];
      E[Ix(I)] = C * E[Ix(I)];
      if (Negligible(F)) break;
      const double G = W[Ix(I)];
      double H = Norm2(F, G);
      W[Ix(I)] = H;
      H = 1.0 / H;
      C = G * H;
      S = -F * H;
      Rotate(M, A[Ix(Nm)], A[Ix(I)], C, S);
    }
  }

  // One implicitly shifted QR sweep over L..K, the shift from the bottom
  // 2 x 2 minor, applied to V and A.
  void QRStep(int64_t L, int64_t K) {
    double X = W[Ix(L)];
    const int64_t Nm = K - 1;
    double Y = W[Ix(Nm)];
    double Z = W[Ix(K)];
    double G = E[Ix(Nm)];
    double H = E[Ix(K)];
    double F = ((Y - Z) * (Y + Z) + (G - H) * (G + H)) / (2.0 * H * Y);
    G = Norm2(F, 1.0);
    F = ((X - Z) * (X + Z) + H * ((Y / (F + SignTransfer(G, F))) - H)) / X;
    double C = 1.0, S = 1.0;
    for (int64_t J = L; J <= Nm; ++J) {
      const int64_t I = J + 1;
      G = E[Ix(I)];
      Y = W[Ix(I)];
      H = S * G;
      G = C * G;
      Z = Norm2(F, H);
      E[Ix(J)] = Z;
      if (Z != 0.0) {  // else F = H = 0: the rotation of nothing is the identity
        C = F / Z;
        S = H / Z;
      } else {
        C = 1.0;
        S = 0.0;
      }
      F = X * C + G * S;
      G = G * C - X * S;
      H = Y * S;
      Y *= C;
      Rotate(N, V[Ix(J)], V[Ix(I)], C, S);
      Z = Norm2(F, H);
      W[Ix(J)] = Z;
      if (Z != 0.0) {
        Z = 1.0 / Z;
        C = F * Z;
        S = H * Z;
      }
      F = C * G + S * Y;
      X = C * Y - S * G;
      Rotate(M, A[Ix(J)], A[Ix(I)], C, S);
    }
    E[Ix(L)] = 0.0;
    E[Ix(K)] = F;
    W[Ix(K)] = X;
  }

  TMatrix& FA;
  TMatrix& FV;
  TStorageGuard<TShapeOf<TMatrix>, TShapeOf<TMatrix>> FShapes;  // taken when the sizes were checked
  const int64_t M, N;
  std::vector<double*> A, V;
  std::vector<double> E, Sums, Line;
  std::vector<const double*> Ptr;
  double ANorm = 0.0;
  bool Converged = true;
};

}  // namespace

bool CalcSVD(TMatrix* A, TMatrix* V, TVector* W) {
  if (A == nullptr || V == nullptr || W == nullptr || A == V) return false;
  const int32_t N = A->NrOfColumns();
  if (V->NrOfColumns() != N || V->NrOfRows() != N) V->Resize(N, N);
  if (W->NrOfElem() != N) W->Resize(N);
  const int32_t M = A->NrOfRows();  // after the handlers of V and W
  if (A->NrOfColumns() != N || V->NrOfColumns() != N || V->NrOfRows() != N) return false;
  TGolubReinsch G = GuardAlloc<EORVMatrixError>(*A, NoHeap, [&] { return TGolubReinsch(*A, *V, M, N); });
  // The shift's squares overflow beyond about 1e154 and underflow below
  // 1e-154: a matrix whose largest cell lies outside a safe range is
  // decomposed scaled by a power of 2 (exact), W scaled back at the end.
  double Big = 0.0;
  for (int32_t C = 0; C < N; ++C)
    for (int32_t R = 0; R < M; ++R) Big = std::max(Big, std::fabs(A->Mat[Ix(C)][Ix(R)]));
  int Exp = 0;
  if (std::isfinite(Big) && (Big > 0x1p460 || (Big > 0.0 && Big < 0x1p-460))) {
    std::frexp(Big, &Exp);
    for (int32_t C = 0; C < N; ++C)
      for (double& X : A->Mat[Ix(C)]) X = std::ldexp(X, -Exp);
  }
  const bool Ok = G.Run();
  if (Exp != 0)
    for (double& X : G.W) X = std::ldexp(X, Exp);
  TVectorOps<TVector>::Put(*W, G.W.data(), N, 1);
  A->Changed();
  V->Changed();
  return Ok;
}

bool SVDBackSubst(const TMatrix* U, const TMatrix* V, const TVector* W, TVector* StdErr, TVector* X,
                  const TVector* B) {
  if (U == nullptr || V == nullptr || W == nullptr || X == nullptr || B == nullptr) return false;
  const int32_t N = U->NrOfColumns(), M = U->NrOfRows();
  if (V->NrOfColumns() < N || V->NrOfRows() < N) return false;
  std::vector<double> Bv(Ix(M)), T(Ix(N)), Xv(Ix(N));
  std::vector<const double*> Cols(Ix(N));
  for (int32_t R = 0; R < M; ++R) Bv[Ix(R)] = B->GetVal(R + 1);
  for (int32_t J = 0; J < N; ++J) Cols[Ix(J)] = U->Mat[Ix(J)].data();
  MatTVecKernel(N, M, Cols.data(), Bv.data(), T.data());
  for (int32_t J = 0; J < N; ++J) {
    const double Wj = W->GetVal(J + 1);
    T[Ix(J)] = Wj != 0.0 ? T[Ix(J)] / Wj : 0.0;
    Cols[Ix(J)] = V->Mat[Ix(J)].data();
  }
  MatVecKernel(N, N, Cols.data(), T.data(), Xv.data());
  if (StdErr != nullptr) {
    std::vector<double> Se(Ix(N));
    for (int32_t R = 0; R < N; ++R) {
      double S = 0.0;
      for (int32_t J = 0; J < N; ++J) {
        const double Wj = W->GetVal(J + 1);
        const double Vjr = V->Mat[Ix(J)][Ix(R)];
        S += Vjr * Vjr * (Wj != 0.0 ? 1.0 / (Wj * Wj) : 0.0);
      }
      Se[Ix(R)] = std::sqrt(S);
    }
    TVectorOps<TVector>::Put(*StdErr, Se.data(), N, 1);
  }
  TVectorOps<TVector>::Put(*X, Xv.data(), N, 1);
  return true;
}

bool SVDSolve(TMatrix* A, const TVector* B, TVector* X, TVector* StdErr, bool& Zeroed) {
  Zeroed = false;
  if (A == nullptr || B == nullptr || X == nullptr) return false;
  TMatrix V(nullptr);
  TVector W(nullptr);
  if (!CalcSVD(A, &V, &W)) return false;
  const int32_t N = A->NrOfColumns();
  double WMax = 0.0;
  for (int32_t J = 1; J <= N; ++J) WMax = LargerOf(WMax, W.GetVal(J));
  const double Thresh = WMax * 1e-14;
  for (int32_t J = 1; J <= N; ++J)
    if (!(W.GetVal(J) >= Thresh)) {
      W.SetVal(J, 0.0);
      Zeroed = true;
    }
  return SVDBackSubst(A, &V, &W, StdErr, X, B);
}

}  // namespace orv::detail
