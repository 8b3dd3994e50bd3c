// Matrix and matrix-vector products over arrays of columns, every result bit
// fixed by one summation order (internal; the matrix components and the
// array routines share it, so it depends on nothing above core/).
//
// The order: each result cell is the sum of its products over the inner
// index i = 0, 1, ... in increasing order, starting from +0.0, exactly as the
// plain loop
//     s = 0; for (i = 0; i < K; ++i) s += a(r, i) * b(i, c);
// gives it without contraction into FMA (-ffp-contract=off). So -0.0 products
// sum to +0.0, and the result does not depend on the vector width.
//
// The kernels keep that chain per cell and win their speed across cells:
// - MatMul packs panels of op(A) (MR rows, 64 bytes) and op(B) (NR columns)
//   in blocks of KC inner indices and runs an MR x NR register block of
//   accumulators (the column form: result column c += op(B)(i, c) x column
//   i of op(A), i increasing); the MR cells of a column are one vector under
//   AVX-512 and two under AVX2, and under SSE2 the two halves of the panel
//   take one pass each, two vectors per column. A block of KC inner
//   indices goes on from the partial sums left in C by the block before, so
//   splitting the inner range changes no bit. Transposed factors are read
//   through the packing only.
// - MatVecKernel adds the columns, four at a time, into the result vector.
// - MatTVecKernel takes eight columns (sixteen 32-bit ones under AVX-512)
//   at once: it loads a vector of rows of each, multiplies them by x,
//   transposes the products in registers, a vector's width of columns at a
//   time, and adds them row after row to one accumulator lane per column.
// - SubtractRowsKernel is the other order, that of substitutions: cells that
//   start from their own value and lose their products one by one, Acc[c] -=
//   Coef[t] * Row_t[c] for t = 0, 1, ...; it holds four vectors of cells in
//   registers while the rows stream past.
//
// Use: describe each factor as an array of column pointers (TMatFactor);
//     TProduct<double> P = MatMul<double>(M, N, K, {ACols, false}, {BCols, true});
//     P.At(c, r)   // 0-based, column c of the M x N result
//     MatVecKernel(M, K, ACols, X, Y);   // Y := A x X, A of M rows, K columns
// Allocation failures surface as std::bad_alloc (callers turn them into
// their own error). Extents and counts are int64_t; nothing is checked
// against the factors, whose columns must hold what the extents say.
//
// Element types: the bodies (TMatMulCode) are templates over the element
// type E; each E needs the three entry points declared below, which
// core/matmul.cpp builds per vector width (ORV_SIMD_BY_WIDTH). double and
// uint32_t have them: a 32-bit integer product that wraps around computes
// in uint32_t (signed overflow would be undefined) and reads its int32_t
// columns as uint32_t. Its sums may take any order; the double ones may not.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/extent.h"
#include "core/simd.h"
#include "orvcalckit/detail/index.h"

namespace orv::detail {

// One factor of a product as an array of columns: Cols[x][y] is the cell of
// column x, row y. Not transposed, op(X)(r, i) = Cols[i][r]; transposed,
// op(X)(r, i) = Cols[r][i].
template <class E>
struct TMatFactor {
  const E* const* Cols;
  bool Transposed;
};

// A product's M x N cells, column c at Cells.data() + c * LD; the padding
// beyond M and N belongs to the kernel.
template <class E>
struct TProduct {
  int64_t M = 0, N = 0, LD = 0;
  std::vector<E> Cells;
  E At(int64_t C, int64_t R) const { return Cells[Ix(C * LD + R)]; }
};

template <class E>
struct TMatMulShape {
  static constexpr int64_t MR = 64 / static_cast<int64_t>(sizeof(E));  // rows per register block: 64 bytes
  static constexpr int64_t NR = 6;                                     // columns per register block
  static constexpr int64_t KC = 256;                                   // inner indices per packed panel
  static constexpr int64_t MC = 12 * MR;                               // rows per packed block of op(A)
  static constexpr int64_t NC = 256 * NR;                              // columns per packed block of op(B)
};

// ---- entry points, built per vector width (core/matmul.cpp) ----------------------

// C += the MC x NC block of Ap x Bp over KC inner indices (First: C := it).
// Ap: MC / MR panels of KC x MR cells, [k * MR + r]; Bp: NC / NR panels of
// KC x NR, [k * NR + j]; C column-major with leading dimension LD.
void MatMulBlock(const double* Ap, const double* Bp, double* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                 bool First);
// Y[r] := sum over c < K of X[c] * Cols[c][r], for r < M.
void MatVecKernel(int64_t M, int64_t K, const double* const* Cols, const double* X, double* Y);
// Y[c] := sum over r < K of X[r] * Cols[c][r], for c < N.
void MatTVecKernel(int64_t N, int64_t K, const double* const* Cols, const double* X, double* Y);
// For c < Width and t = 0, 1, ..., Count - 1 in this order: Acc[c] -=
// Coef[t * CoefStride] * Rows[t * RowStride + c]. Strides may be negative
// (a sum in decreasing index); Acc must not overlap what is read.
// The same three for 32-bit integers wrapping modulo 2^32.
void MatMulBlock(const uint32_t* Ap, const uint32_t* Bp, uint32_t* C, int64_t LD, int64_t MC, int64_t NC, int64_t KC,
                 bool First);
void MatVecKernel(int64_t M, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y);
void MatTVecKernel(int64_t N, int64_t K, const uint32_t* const* Cols, const uint32_t* X, uint32_t* Y);
void SubtractRowsKernel(double* Acc, int64_t Width, const double* Rows, int64_t RowStride, const double* Coef,
                        int64_t CoefStride, int64_t Count);

// ---- kernel bodies, inlined into the entry points ----------------------------------

// Bytes is the register width of the instruction set the body is built for
// (ORV_SIMD_BY_WIDTH): a vector wider than the registers would live in
// memory.
template <class E, int Bytes>
struct TMatMulCode {
  using S = TMatMulShape<E>;
  using V = TSimdVector<E, Bytes>;
  static constexpr int64_t L = Bytes / static_cast<int64_t>(sizeof(E));
  // The MR rows of a panel are Parts vectors; a register block holds Pass
  // of them per column (NR x Pass accumulators), so narrower registers run
  // a panel in passes.
  static constexpr int64_t Parts = S::MR / L, Pass = Parts < 2 ? Parts : 2;

  static ORV_SIMD_INLINE void Block(const E* Ap, const E* Bp, E* C, int64_t LD, int64_t MC,
                                                  int64_t NC, int64_t KC, bool First) {
    constexpr int64_t MR = S::MR, NR = S::NR;
    for (int64_t J = 0; J < NC; J += NR)
      for (int64_t I = 0; I < MC; I += MR)
        for (int64_t P0 = 0; P0 < Parts; P0 += Pass) {
          const E* A = Ap + I * KC + P0 * L;
          const E* B = Bp + J * KC;
          E* Out = C + J * LD + I + P0 * L;
          V Acc[NR][Pass];
          for (int64_t X = 0; X < NR; ++X)
            for (int64_t P = 0; P < Pass; ++P) {
              V T = {};  // loaded through a copy: into Acc itself it would go through memory
              if (!First) std::memcpy(&T, Out + X * LD + P * L, sizeof T);
              Acc[X][P] = T;
            }
          for (int64_t K = 0; K < KC; ++K) {
            V Va[Pass];
            for (int64_t P = 0; P < Pass; ++P) {
              V T;
              std::memcpy(&T, A + K * MR + P * L, sizeof T);
              Va[P] = T;
            }
            const E* Bk = B + K * NR;
            for (int64_t X = 0; X < NR; ++X)
              for (int64_t P = 0; P < Pass; ++P) Acc[X][P] += Va[P] * Bk[X];
          }
          for (int64_t X = 0; X < NR; ++X)
            for (int64_t P = 0; P < Pass; ++P) {
              const V T = Acc[X][P];
              std::memcpy(Out + X * LD + P * L, &T, sizeof T);
            }
        }
  }

  static ORV_SIMD_INLINE void MatVec(int64_t M, int64_t K, const E* const* Cols, const E* X, E* Y) {
    std::fill_n(Y, M, E{});
    const int64_t Body = M / L * L;
    int64_t C = 0;
    for (; C + 4 <= K; C += 4) {
      const E* A0 = Cols[C];
      const E* A1 = Cols[C + 1];
      const E* A2 = Cols[C + 2];
      const E* A3 = Cols[C + 3];
      const E X0 = X[C], X1 = X[C + 1], X2 = X[C + 2], X3 = X[C + 3];
      for (int64_t R = 0; R < Body; R += L) {
        V Y0, V0, V1, V2, V3;
        std::memcpy(&Y0, Y + R, sizeof(V));
        std::memcpy(&V0, A0 + R, sizeof(V));
        std::memcpy(&V1, A1 + R, sizeof(V));
        std::memcpy(&V2, A2 + R, sizeof(V));
        std::memcpy(&V3, A3 + R, sizeof(V));
        Y0 += X0 * V0;
        Y0 += X1 * V1;
        Y0 += X2 * V2;
        Y0 += X3 * V3;
        std::memcpy(Y + R, &Y0, sizeof(V));
      }
      for (int64_t R = Body; R < M; ++R) {
        E S0 = Y[R];
        S0 += X0 * A0[R];
        S0 += X1 * A1[R];
        S0 += X2 * A2[R];
        S0 += X3 * A3[R];
        Y[R] = S0;
      }
    }
    for (; C < K; ++C) {
      const E* A0 = Cols[C];
      const E X0 = X[C];
      for (int64_t R = 0; R < Body; R += L) {
        V Y0, V0;
        std::memcpy(&Y0, Y + R, sizeof(V));
        std::memcpy(&V0, A0 + R, sizeof(V));
        Y0 += X0 * V0;
        std::memcpy(Y + R, &Y0, sizeof(V));
      }
      for (int64_t R = Body; R < M; ++R) Y[R] += X0 * A0[R];
    }
  }
};

// The transposed product: W columns at a time, one per lane (the last
// columns padded with repeats of the last, computed, not stored); L rows of
// each are loaded, multiplied by x, transposed in registers L columns at a
// time and added row after row to the lanes.
template <class E, int Bytes>
struct TMatTVecCode {
  using V = TSimdVector<E, Bytes>;
  static constexpr int64_t L = Bytes / static_cast<int64_t>(sizeof(E));
  // Groups of L columns side by side, at least eight columns in all: each
  // group's lanes add one row after another, so the groups overlap those
  // chains of additions.
  static constexpr int64_t Groups = L < 8 ? 8 / L : 1, W = Groups * L;

  // Lane M of the merge of X and Y that takes the lanes whose bit B is Hi,
  // those of X to the lanes with bit B clear and those of Y to the others.
  static constexpr int Pick(int64_t B, bool Hi, int64_t M) {
    const int64_t Base = M / (2 * B) * 2 * B + (Hi ? B : 0), Off = M % (2 * B);
    return static_cast<int>(Off < B ? Base + Off : L + Base + Off - B);
  }
  template <int64_t B, bool Hi, std::size_t... M>
  static ORV_SIMD_INLINE void Merge(const V& X, const V& Y, V& Out, std::index_sequence<M...>) {
    Out = __builtin_shufflevector(X, Y, Pick(B, Hi, M)...);
  }
  // Lane k of P[j] to lane j of P[k]: stage B swaps bit B of the vector's
  // index with bit B of the lane's.
  template <int64_t B = 1>
  static ORV_SIMD_INLINE void Transpose(V (&P)[L]) {
    if constexpr (B < L) {
      constexpr auto Lanes = std::make_index_sequence<L>();
      for (int64_t I = 0; I < L; ++I)
        if ((I & B) == 0) {
          V Lo, Hi;
          Merge<B, false>(P[I], P[I + B], Lo, Lanes);
          Merge<B, true>(P[I], P[I + B], Hi, Lanes);
          P[I] = Lo;
          P[I + B] = Hi;
        }
      Transpose<2 * B>(P);
    }
  }

  static ORV_SIMD_INLINE void MatTVec(int64_t N, int64_t K, const E* const* Cols, const E* X, E* Y) {
    const int64_t Body = K / L * L;
    for (int64_t C0 = 0; C0 < N; C0 += W) {
      const E* A[W];
      for (int64_t J = 0; J < W; ++J) A[J] = Cols[std::min(C0 + J, N - 1)];
      V Acc[Groups];
      for (V& S : Acc) S = V{};
      for (int64_t R = 0; R < Body; R += L) {
        V Xv;
        std::memcpy(&Xv, X + R, sizeof(V));
        for (int64_t G = 0; G < Groups; ++G) {
          V P[L];
          for (int64_t J = 0; J < L; ++J) {
            V T;  // a copy: loading into P itself sends it through memory
            std::memcpy(&T, A[G * L + J] + R, sizeof(V));
            P[J] = Xv * T;
          }
          // P[j][k] = x[R + k] * a_j[R + k]; transposed, P[k][j] holds it,
          // and the rows are added in order k = 0..L-1.
          Transpose(P);
          for (int64_t J = 0; J < L; ++J) Acc[G] += P[J];
        }
      }
      E Sum[W];
      for (int64_t G = 0; G < Groups; ++G) {
        const V S = Acc[G];
        std::memcpy(Sum + G * L, &S, sizeof(V));
      }
      for (int64_t R = Body; R < K; ++R)
        for (int64_t J = 0; J < W; ++J) Sum[J] += X[R] * A[J][R];
      for (int64_t J = 0; J < W && C0 + J < N; ++J) Y[C0 + J] = Sum[J];
    }
  }
};

// ---- the substitution order -----------------------------------------------------------

template <class E, int Bytes>
struct TSubtractRowsCode {
  using V = TSimdVector<E, Bytes>;
  static constexpr int64_t L = Bytes / static_cast<int64_t>(sizeof(E));

  // NV vectors of cells in registers.
  template <int NV>
  static ORV_SIMD_INLINE void Run(E* Acc, const E* Rows, int64_t RS, const E* Coef, int64_t CS, int64_t Count) {
    V A[NV];
    for (int64_t X = 0; X < NV; ++X) {
      V T;  // a copy: loading into A itself sends it through memory
      std::memcpy(&T, Acc + X * L, sizeof T);
      A[X] = T;
    }
    for (int64_t T = 0; T < Count; ++T) {
      const E F = Coef[T * CS];
      const E* R = Rows + T * RS;
      for (int64_t X = 0; X < NV; ++X) {
        V Rv;
        std::memcpy(&Rv, R + X * L, sizeof(V));
        A[X] -= F * Rv;
      }
    }
    for (int64_t X = 0; X < NV; ++X) {
      const V T = A[X];
      std::memcpy(Acc + X * L, &T, sizeof T);
    }
  }

  // Four vectors of cells at a time, then one vector, then single cells.
  static ORV_SIMD_INLINE void SubtractRows(E* Acc, int64_t Width, const E* Rows, int64_t RS, const E* Coef,
                                           int64_t CS, int64_t Count) {
    int64_t C = ForVectorBlocks<L>(Width, [&]<int NV>(int64_t At) ORV_SIMD_LAMBDA {
      Run<NV>(Acc + At, Rows + At, RS, Coef, CS, Count);
    });
    for (; C < Width; ++C) {
      E S = Acc[C];
      for (int64_t T = 0; T < Count; ++T) S -= Coef[T * CS] * Rows[T * RS + C];
      Acc[C] = S;
    }
  }
};

// ---- packing and the product --------------------------------------------------------

// Packs lines L0..L0+Lines-1 (zero from Extent on), inner indices
// P0..P0+KC-1, into panels of W lines, [k * W + l]. The lines are the rows
// of op(A) (W = MR) or the columns of op(B) (W = NR); Across says that a
// line index runs along a stored column (Cols[P0 + k][line]), else each line
// is a stored column (Cols[line][P0 + k]).
template <int64_t W, class E>
void Pack(const E* const* Cols, bool Across, int64_t Extent, int64_t L0, int64_t Lines, int64_t P0, int64_t KC,
          E* Out) {
  for (int64_t I = 0; I < Lines; I += W, Out += W * KC) {
    const int64_t Valid = std::clamp<int64_t>(Extent - L0 - I, 0, W);
    if (Across) {
      for (int64_t K = 0; K < KC; ++K) {
        std::copy_n(Cols[P0 + K] + L0 + I, Valid, Out + K * W);
        std::fill(Out + K * W + Valid, Out + (K + 1) * W, E{});
      }
      continue;
    }
    for (int64_t L = 0; L < W; ++L) {
      const E* Src = L < Valid ? Cols[L0 + I + L] + P0 : nullptr;
      for (int64_t K = 0; K < KC; ++K) Out[K * W + L] = Src ? Src[K] : E{};
    }
  }
}

// op(A) (M x K) times op(B) (K x N).
template <class E>
TProduct<E> MatMul(int64_t M, int64_t N, int64_t K, TMatFactor<E> A, TMatFactor<E> B) {
  using S = TMatMulShape<E>;
  TProduct<E> P;
  P.M = M;
  P.N = N;
  P.LD = (M + S::MR - 1) / S::MR * S::MR;
  const int64_t NPad = (N + S::NR - 1) / S::NR * S::NR;
  CheckExtent(P.LD * NPad, sizeof(E));
  P.Cells.resize(Ix(P.LD * NPad));  // zero: the sum of no products
  if (M == 0 || N == 0 || K == 0) return P;
  const int64_t MCMax = std::min(S::MC, P.LD), NCMax = std::min(S::NC, NPad), KCMax = std::min(S::KC, K);
  std::vector<E> Ap(Ix(MCMax * KCMax)), Bp(Ix(NCMax * KCMax));
  for (int64_t C0 = 0; C0 < NPad; C0 += S::NC) {
    const int64_t NC = std::min(S::NC, NPad - C0);
    for (int64_t P0 = 0; P0 < K; P0 += S::KC) {
      const int64_t KC = std::min(S::KC, K - P0);
      Pack<S::NR>(B.Cols, B.Transposed, N, C0, NC, P0, KC, Bp.data());
      for (int64_t R0 = 0; R0 < P.LD; R0 += S::MC) {
        const int64_t MC = std::min(S::MC, P.LD - R0);
        Pack<S::MR>(A.Cols, !A.Transposed, M, R0, MC, P0, KC, Ap.data());
        MatMulBlock(Ap.data(), Bp.data(), P.Cells.data() + C0 * P.LD + R0, P.LD, MC, NC, KC, P0 == 0);
      }
    }
  }
  return P;
}

}  // namespace orv::detail
