// The cyclic Jacobi method of CalcEigVec (internal).
//
// The rotation order, the thresholds, the pass limit and the progress counts
// are fixed; only the place where the matrix lives may vary. A matrix store
// provides the cell operations the method needs:
//
//   double OffSum()                          sum of |a(r, c)| over r < c, row by row
//   double Pivot(p, q)                       a(p, q), p < q
//   void   ZeroPivot(p, q)                   a(p, q) := 0
//   void   Skip(p, q)                        pivot (p, q) visited without a rotation
//   void   Rotate(p, q, s, tau)              rotate every pair (a(p, j), a(q, j)), j not p or q
//   void   Complete()                        finish the last Rotate if it left work pending
//   void   EndLine(p)                        the visits (p, *) of a sweep are done
//
// Indices are 0-based here. Each rotation of a pair is independent of the
// others, so a store may rotate them in any order or vectorised and still
// give the same numbers as one that walks them one by one. A store may also
// put off the bulk of a rotation until Complete, as long as Pivot already
// gives the rotated value: the method examines the next pivot before it
// completes the last rotation, so that this chain of dependent divisions and
// square roots runs while the rows are being rotated.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "core/simd.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// The pair rule of a Jacobi rotation; T is double or a vector of doubles.
template <class T>
inline __attribute__((always_inline)) void RotatePairRule(T& G, T& H, double S, double Tau) {
  const T G0 = G;
  const T H0 = H;
  G = G0 - S * (H0 + G0 * Tau);
  H = H0 + S * (G0 - H0 * Tau);
}

// Rotates the pairs (X[j], Y[j]) for j in 0..N-1, in vectors of Bytes
// bytes. The lanes do what the scalar rule does, whatever their count.
template <int Bytes>
ORV_SIMD_INLINE void RotateLines(double* X, double* Y, int64_t N, double S, double Tau) {
  using V = TSimdVector<double, Bytes>;
  constexpr int64_t L = Bytes / sizeof(double);
  int64_t J = 0;
  for (; J + L <= N; J += L) {
    V G, H;
    std::memcpy(&G, X + J, sizeof G);
    std::memcpy(&H, Y + J, sizeof H);
    RotatePairRule(G, H, S, Tau);
    std::memcpy(X + J, &G, sizeof G);
    std::memcpy(Y + J, &H, sizeof H);
  }
  for (; J < N; ++J) RotatePairRule(X[J], Y[J], S, Tau);
}

// Transposes the L x L block X[0..L-1] (row k in X[k]) in place, in log2 L
// stages: at stage H, rows K and K + H (K & H = 0) exchange their blocks of
// H lanes. Indices are constants throughout, so the block stays in registers.
template <int L, int H, class V, int... I>
ORV_SIMD_INLINE void SwapLaneBlocks(V& A, V& B, std::integer_sequence<int, I...>) {
  const V Lo = __builtin_shufflevector(A, B, ((I & H) == 0 ? I : L + I - H)...);
  const V Hi = __builtin_shufflevector(A, B, ((I & H) == 0 ? I + H : L + I)...);
  A = Lo;
  B = Hi;
}
template <int L, int H, int K, class V>
ORV_SIMD_INLINE void TransposePair(V* X) {
  if constexpr ((K & H) == 0) SwapLaneBlocks<L, H>(X[K], X[K + H], std::make_integer_sequence<int, L>());
}
template <int L, int H, class V, int... K>
ORV_SIMD_INLINE void TransposeStage(V* X, std::integer_sequence<int, K...>) {
  (TransposePair<L, H, K>(X), ...);
}
template <int L, int H = 1, class V>
ORV_SIMD_INLINE void TransposeSquare(V* X) {
  if constexpr (H < L) {
    TransposeStage<L, H>(X, std::make_integer_sequence<int, L>());
    TransposeSquare<L, 2 * H>(X);
  }
}

// The symmetric matrix in both triangles of a dense row-major array of N rows
// of LD >= N cells, so that the two lines of a rotation are contiguous rows.
// The diagonal of the array stays 0 (the method keeps the diagonal in its own
// arrays), and so do the pivot cells after zeroing and the padding columns,
// which lets Rotate sweep whole rows. Its vectors are of Bytes bytes.
//
// A rotation (p, q) rewrites rows p and q; the other copies of their cells,
// columns p and q of the other rows, are brought up to date later and in bulk:
// - column p once per line (EndLine): no rotation (p, q) reads it, because
//   cell (q, p) is the pivot and is zeroed first;
// - columns q0 .. q0 + Window - 1 when the line has visited them all (or
//   ends), by a transposition of those rows. Until then a row visited in the
//   window first takes its cells in the window's columns from the window's
//   rows, which hold them up to date.
template <int Bytes>
class TDenseSymStore {
 public:
  static constexpr int Window = 16;  // a multiple of 8

  // W holds row r at W + r * LD; the cells of columns N .. LD - 1 are 0.
  TDenseSymStore(double* W, int64_t N, int64_t LD) : FW(W), FN(N), FLD(LD) {}

  ORV_SIMD_INLINE double OffSum() const {
    double Sm = 0.0;
    for (int64_t R = 0; R + 1 < FN; ++R) {
      const double* Row = FW + R * FLD;
      for (int64_t C = R + 1; C < FN; ++C) Sm += std::fabs(Row[C]);
    }
    return Sm;
  }
  double Pivot(int64_t P, int64_t Q) const { return Q == FNextQ ? FNext : FW[P * FLD + Q]; }
  void ZeroPivot(int64_t P, int64_t Q) {
    FW[P * FLD + Q] = 0.0;
    FW[Q * FLD + P] = 0.0;
  }
  ORV_SIMD_INLINE void Skip(int64_t P, int64_t Q) {
    Enter(Q);
    Leave(P);
  }
  // Rotates the one cell that the next visit, (p, q + 1), reads; the rows
  // follow in Complete.
  ORV_SIMD_INLINE void Rotate(int64_t P, int64_t Q, double S, double Tau) {
    Enter(Q);
    FNextQ = Q + 1;
    if (FNextQ < FN) {
      double G = FW[P * FLD + FNextQ];
      double H = FW[Q * FLD + FNextQ];
      RotatePairRule(G, H, S, Tau);
      FNext = G;
    }
    FP = P;
    FQ = Q;
    FS = S;
    FTau = Tau;
  }
  ORV_SIMD_INLINE void Complete() {
    if (FQ < 0) return;
    RotateLines<Bytes>(FW + FP * FLD, FW + FQ * FLD, FLD, FS, FTau);
    FQ = -1;
    FNextQ = -1;
    FDirty = true;
    Leave(FP);
  }
  ORV_SIMD_INLINE void EndLine(int64_t P) {
    Complete();
    Flush(P);
    const double* RowP = FW + P * FLD;
    for (int64_t J = 0; J < FN; ++J) FW[J * FLD + P] = RowP[J];
  }

 private:
  ORV_SIMD_INLINE void Enter(int64_t Q) {
    if (FCount == 0) FQ0 = Q;
    if (!FDirty) return;
    double* RowQ = FW + Q * FLD;
    for (int64_t K = FQ0; K < Q; ++K) RowQ[K] = FW[K * FLD + Q];
  }
  ORV_SIMD_INLINE void Leave(int64_t P) {
    if (++FCount == Window) Flush(P);
  }
  // Column q0 + k of every row := row q0 + k. Row p keeps its own cells (they
  // are newer); between two window rows the one visited later holds the cell.
  ORV_SIMD_INLINE void Flush(int64_t P) {
    const int64_t L = FCount;
    FCount = 0;
    if (!FDirty) return;
    FDirty = false;
    double* const Q0 = FW + FQ0 * FLD;  // row q0
    double KeepP[Window];
    double KeepWin[Window][Window];
    for (int64_t K = 0; K < L; ++K) {
      KeepP[K] = FW[P * FLD + FQ0 + K];
      for (int64_t I = 0; I < K; ++I) KeepWin[I][K] = Q0[K * FLD + FQ0 + I];
    }
    int64_t Off = 0;
    for (; Off + 8 <= L; Off += 8) TransposeEight(Q0 + Off * FLD, FQ0 + Off);
    if (Off < L) TransposeRows(Q0 + Off * FLD, FQ0 + Off, L - Off);
    for (int64_t K2 = 0; K2 < L; ++K2) {
      FW[P * FLD + FQ0 + K2] = KeepP[K2];
      for (int64_t I = 0; I < K2; ++I) {
        Q0[I * FLD + FQ0 + K2] = KeepWin[I][K2];
        Q0[K2 * FLD + FQ0 + I] = KeepWin[I][K2];
      }
    }
  }

  // Column Col + k of every row := row k of Rows, k < 8, by blocks of L x L
  // side by side, so that each destination line's eight cells are written
  // at once.
  ORV_SIMD_INLINE void TransposeEight(const double* Rows, int64_t Col) {
    using V = TSimdVector<double, Bytes>;
    constexpr int L = Bytes / sizeof(double);
    constexpr int Side = 8 / L;
    int64_t J = 0;
    for (; J + L <= FN; J += L) {
      V X[Side][L];
      for (int B = 0; B < Side; ++B) {
        for (int K = 0; K < L; ++K) {
          V R;  // a copy: loading into X itself sends it through memory
          std::memcpy(&R, Rows + (B * L + K) * FLD + J, sizeof R);
          X[B][K] = R;
        }
        TransposeSquare<L>(X[B]);
      }
      double* Dst = FW + J * FLD + Col;
      for (int K = 0; K < L; ++K)
        for (int B = 0; B < Side; ++B) {
          const V R = X[B][K];
          std::memcpy(Dst + K * FLD + B * L, &R, sizeof R);
        }
    }
    for (; J < FN; ++J)
      for (int64_t K = 0; K < 8; ++K) FW[J * FLD + Col + K] = Rows[K * FLD + J];
  }
  // The same for L rows, by 2 x 2 blocks.
  ORV_SIMD_INLINE void TransposeRows(const double* Rows, int64_t Col, int64_t L) {
    using V2 = double __attribute__((vector_size(16)));
    const int64_t LEven = L & ~int64_t{1};
    int64_t J = 0;
    for (; J + 2 <= FN; J += 2) {
      double* Dst0 = FW + J * FLD + Col;
      double* Dst1 = Dst0 + FLD;
      for (int64_t K = 0; K < LEven; K += 2) {
        V2 A, B;
        std::memcpy(&A, Rows + K * FLD + J, sizeof A);
        std::memcpy(&B, Rows + (K + 1) * FLD + J, sizeof B);
        const V2 Lo = __builtin_shufflevector(A, B, 0, 2);
        const V2 Hi = __builtin_shufflevector(A, B, 1, 3);
        std::memcpy(Dst0 + K, &Lo, sizeof Lo);
        std::memcpy(Dst1 + K, &Hi, sizeof Hi);
      }
      if (LEven < L) {
        Dst0[LEven] = Rows[LEven * FLD + J];
        Dst1[LEven] = Rows[LEven * FLD + J + 1];
      }
    }
    if (J < FN)
      for (int64_t K = 0; K < L; ++K) FW[J * FLD + Col + K] = Rows[K * FLD + J];
  }

  double* FW;
  int64_t FN;
  int64_t FLD;
  int64_t FP = -1, FQ = -1;  // the rotation Complete finishes
  double FS = 0.0, FTau = 0.0;
  int64_t FNextQ = -1;  // column of the pivot cell already rotated, in FNext
  double FNext = 0.0;
  int64_t FQ0 = 0;
  int FCount = 0;
  bool FDirty = false;
};

// What a visit of the pivot a(p, q) does in pass Pass: leave it (below the
// threshold), zero it (negligible beside both diagonal values), or rotate.
struct TJacobiStep {
  enum TKind { Leave, Zero, Rotate } Kind;
  double S, Tau, H;
};

inline TJacobiStep PlanJacobiStep(double Apq, double Dp, double Dq, int32_t Pass, double Tresh) {
  const double G = 200.0 * std::fabs(Apq);
  if (Pass >= 5 && std::fabs(Dp) + G == std::fabs(Dp) && std::fabs(Dq) + G == std::fabs(Dq))
    return {TJacobiStep::Zero, 0.0, 0.0, 0.0};
  if (!(std::fabs(Apq) > Tresh)) return {TJacobiStep::Leave, 0.0, 0.0, 0.0};
  const double H = Dq - Dp;
  double T;
  if (std::fabs(H) + G == std::fabs(H)) {
    T = Apq / H;
  } else {
    const double Theta = H / (2.0 * Apq);
    T = 1.0 / (std::fabs(Theta) + std::sqrt(Theta * Theta + 1.0));
    if (Theta < 0.0) T = -T;
  }
  const double C = 1.0 / std::sqrt(1.0 + T * T);
  const double S = T * C;
  return {TJacobiStep::Rotate, S, S / (1.0 + C), T * Apq};
}

// Runs the method on the store. D holds the diagonal on entry and the
// eigenvalues on return; VT receives the eigenvectors as rows of LD >= N
// elements (eigenvector p at VT[p * LD ...], followed by zeros). Returns
// false when AbortMathProc stopped it or when it did not converge within the
// pass limit; the results are those reached. The eigenvectors rotate in
// vectors of Bytes bytes.
template <int Bytes, class Store>
ORV_SIMD_INLINE bool CyclicJacobi(Store& A, int64_t N, double* D, double* VT, int64_t LD) {
  AbortMathProc = false;
  bool Result = true;
  for (int64_t I = 0; I < N * LD; ++I) VT[I] = 0.0;
  for (int64_t P = 0; P < N; ++P) VT[P * LD + P] = 1.0;
  std::vector<double> B(D, D + N);
  std::vector<double> Z(static_cast<std::size_t>(N), 0.0);

  TPassCounter Passes;
  const double NSqr = static_cast<double>(N) * static_cast<double>(N);
  int32_t Pass = 1;
  bool Finished = false;
  while (!Finished && !AbortMathProc) {
    Passes.Pass();
    const double Sm = A.OffSum();
    if (Sm == 0.0) {
      Finished = true;
    } else {
      const double Tresh = Pass <= 3 ? 0.2 * Sm / NSqr : 0.0;
      for (int64_t P = 0; P + 1 < N && !AbortMathProc; ++P) {
        // The eigenvectors of a rotation are rotated after the next pivot has
        // been examined, like the rows (see above).
        int64_t LastQ = -1;
        double LastS = 0.0, LastTau = 0.0;
        for (int64_t Q = P + 1; Q < N && !AbortMathProc; ++Q) {
          Passes.Pass();
          const TJacobiStep Step = PlanJacobiStep(A.Pivot(P, Q), D[P], D[Q], Pass, Tresh);
          A.Complete();
          if (LastQ >= 0) {
            RotateLines<Bytes>(VT + P * LD, VT + LastQ * LD, LD, LastS, LastTau);
            LastQ = -1;
          }
          if (Step.Kind == TJacobiStep::Zero) {
            A.ZeroPivot(P, Q);
            A.Skip(P, Q);
          } else if (Step.Kind == TJacobiStep::Leave) {
            A.Skip(P, Q);
          } else {
            Z[P] -= Step.H;
            Z[Q] += Step.H;
            D[P] -= Step.H;
            D[Q] += Step.H;
            A.ZeroPivot(P, Q);
            A.Rotate(P, Q, Step.S, Step.Tau);
            LastQ = Q;
            LastS = Step.S;
            LastTau = Step.Tau;
          }
        }
        if (LastQ >= 0) RotateLines<Bytes>(VT + P * LD, VT + LastQ * LD, LD, LastS, LastTau);
        A.EndLine(P);
        Passes.Flush();
      }
      for (int64_t P = 0; P < N; ++P) {
        B[P] += Z[P];
        D[P] = B[P];
        Z[P] = 0.0;
      }
    }
    ++Pass;
    if (Pass > 100) {
      Result = false;
      Finished = true;
    }
  }
  if (AbortMathProc) Result = false;
  return Result;
}

}  // namespace orv::detail
