// CalcCovar: the covariance-type matrices of the columns of a TMatrix.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/progress.h"
#include "core/simd.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

namespace {

// Sums over the rows r of x_a[r] * x_b[r] (Diff false) or (x_a[r] - x_b[r])^2
// (Diff true) for a in [A0, A0 + 4) and every b <= a, b < M, into
// Out[(a - A0) * M + b]. Each sum runs in four lanes over the rows (lane i
// takes the rows r = i mod 4), then lanes 0 + 1 and 2 + 3, then the two.
template <bool Diff>
ORV_SIMD_INLINE void CrossSums4(const double* const* X, int64_t M, int64_t Rows, int64_t A0, double* Out) {
  using V4 = double __attribute__((vector_size(32)));
  const int64_t NA = std::min<int64_t>(4, M - A0);
  const double* XA[4];
  for (int64_t I = 0; I < 4; ++I) XA[I] = X[A0 + std::min(I, NA - 1)];
  const int64_t Body = Rows & ~int64_t{3};
  for (int64_t B = 0; B < A0 + NA; B += 2) {
    const double* XB[2] = {X[B], X[std::min(B + 1, A0 + NA - 1)]};
    V4 Acc[4][2] = {};
    for (int64_t R = 0; R < Body; R += 4) {
      V4 Va[4], Vb[2];
      for (int I = 0; I < 4; ++I) std::memcpy(&Va[I], XA[I] + R, sizeof(V4));
      for (int J = 0; J < 2; ++J) std::memcpy(&Vb[J], XB[J] + R, sizeof(V4));
      for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 2; ++J) {
          if constexpr (Diff) {
            const V4 D = Va[I] - Vb[J];
            Acc[I][J] += D * D;
          } else {
            Acc[I][J] += Va[I] * Vb[J];
          }
        }
    }
    for (int64_t I = 0; I < NA; ++I)
      for (int64_t J = 0; J < 2 && B + J <= A0 + I; ++J) {
        double Lane[4];
        std::memcpy(Lane, &Acc[I][J], sizeof Lane);
        for (int64_t R = Body; R < Rows; ++R) {
          const double Xa = XA[I][R], Xb = XB[J][R];
          Lane[R - Body] += Diff ? (Xa - Xb) * (Xa - Xb) : Xa * Xb;
        }
        Out[I * M + B + J] = (Lane[0] + Lane[1]) + (Lane[2] + Lane[3]);
      }
  }
}

ORV_SIMD_KERNEL void CrossSums(const double* const* X, int64_t M, int64_t Rows, int64_t A0, bool Diff,
                               double* Out) {
  if (Diff)
    CrossSums4<true>(X, M, Rows, A0, Out);
  else
    CrossSums4<false>(X, M, Rows, A0, Out);
}

}  // namespace

bool CalcCovar(const TMatrix* Data, TMatrix* Covar, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
               int32_t Scaling) {
  AbortMathProc = false;
  if (Data == nullptr || Covar == nullptr) return false;
  if (LoCol == 0 && HiCol == 0) {
    LoCol = 1;
    HiCol = Data->NrOfColumns();
  }
  if (LoRow == 0 && HiRow == 0) {
    LoRow = 1;
    HiRow = Data->NrOfRows();
  }
  const int64_t M = static_cast<int64_t>(HiCol) - LoCol + 1;
  const int64_t N = static_cast<int64_t>(HiRow) - LoRow + 1;
  // A reversed column range has nothing to compute, and fewer than two rows
  // leave the divisor n - 1 at 0 or below.
  if (M < 1 || N < 2) return false;
  if (Covar->NrOfColumns() < M || Covar->NrOfRows() < M) return false;

  // The rows and the columns a in [AIn, AEnd) of the range inside Data. The
  // other cells read as 0, so the columns outside (also when centred, their
  // mean being 0) share one column of zeros and take no room per column.
  const int64_t R0 = std::max<int64_t>(LoRow, 1);
  const int64_t R1 = std::min<int64_t>(HiRow, Data->NrOfRows());
  const int64_t Rows = std::max<int64_t>(R1 - R0 + 1, 0);
  const int64_t Outside = N - Rows;
  const int64_t AIn = std::clamp<int64_t>(1 - static_cast<int64_t>(LoCol), 0, M);
  const int64_t AEnd =
      Rows > 0 ? std::clamp<int64_t>(static_cast<int64_t>(Data->NrOfColumns()) - LoCol + 1, AIn, M) : AIn;
  const bool Centred = Scaling >= 1 && Scaling <= 3;
  const bool Computed = Centred || Scaling == 0 || Scaling == 4;

  detail::TPassCounter Passes;
  std::vector<const double*> X(static_cast<std::size_t>(M), nullptr);
  std::vector<double> Zeros;
  std::vector<double> Copy;  // the columns inside Data, when they cannot be read in place
  std::vector<double> Mean(static_cast<std::size_t>(M), 0.0), Var(static_cast<std::size_t>(M), 0.0);
  if (Computed) {
    if (AIn > 0 || AEnd < M) Zeros.assign(static_cast<std::size_t>(Rows), 0.0);
    for (int64_t A = 0; A < M; ++A)
      X[static_cast<std::size_t>(A)] =
          A >= AIn && A < AEnd ? Data->Mat[static_cast<std::size_t>(LoCol + A - 1)].data() + (R0 - 1) : Zeros.data();
    // Covar's writes may reach Data (the same matrix, or a handler of Covar or
    // the progress hook that changes it): then the sums read a copy. The
    // centred scalings read a centred copy anyway.
    if (Centred || Covar == Data || Covar->OnChange || MathFeedBackProc) {
      Copy.resize(static_cast<std::size_t>((AEnd - AIn) * Rows));
      for (int64_t A = AIn; A < AEnd; ++A) {
        double* Col = Copy.data() + (A - AIn) * Rows;
        std::copy_n(X[static_cast<std::size_t>(A)], Rows, Col);
        X[static_cast<std::size_t>(A)] = Col;
      }
    }
  }
  if (Scaling > 0) {
    if (Centred) {
      const auto Nd = static_cast<double>(N);
      for (int64_t A = AIn; A < AEnd; ++A) {
        double* Col = Copy.data() + (A - AIn) * Rows;
        double Sum = 0.0, SumSq = 0.0;
        bool Constant = true;
        for (int64_t R = 0; R < Rows; ++R) {
          Sum += Col[R];
          SumSq += Col[R] * Col[R];
          Constant = Constant && Col[R] == Col[0];
        }
        // The one-pass variance can come out a little below 0 for a column of
        // equal values (0.1 three times gives -1.7e-18), and the mean sum / n
        // can miss the common value; a constant column is centred exactly.
        const double V = (SumSq - Sum * Sum / Nd) / (Nd - 1.0);
        Var[static_cast<std::size_t>(A)] = V > 0.0 ? V : 0.0;
        double Mn = Sum / Nd;
        if (Constant && (Outside == 0 || Col[0] == 0.0)) Mn = Col[0];
        Mean[static_cast<std::size_t>(A)] = Mn;
        for (int64_t R = 0; R < Rows; ++R) Col[R] -= Mn;
      }
    }
    for (int64_t R = 0; R < N; ++R) Passes.Pass();
  }

  // Row a of Covar, computed four rows at a time, written when its turn comes.
  const auto N1 = static_cast<double>(N - 1);
  std::vector<double> Sums(static_cast<std::size_t>(4 * M), 0.0);
  // Straight into the cells when nothing can watch the writes or resize Covar.
  const bool Direct = !Covar->OnChange && !MathFeedBackProc;
  for (int64_t A = 0; A < M; ++A) {
    if (AbortMathProc) break;
    if (Computed && A % 4 == 0) CrossSums(X.data(), M, Rows, A, Scaling == 4, Sums.data());
    const double* S = Sums.data() + (A % 4) * M;
    for (int64_t B = 0; B <= A; ++B) {
      Passes.Pass(static_cast<double>(N));
      double V = 0.0;
      if (Computed) {
        double Sab = S[B];
        const double Ma = Mean[static_cast<std::size_t>(A)], Mb = Mean[static_cast<std::size_t>(B)];
        if (Centred && Outside > 0) Sab += static_cast<double>(Outside) * (Ma * Mb);
        if (Scaling == 2 || Scaling == 3) {
          double F = std::sqrt(Var[static_cast<std::size_t>(A)] * Var[static_cast<std::size_t>(B)]);
          if (F == 0.0) F = 1e-38;
          V = Sab / F / N1;
          if (Scaling == 3) V = V * V;
          if (Scaling == 2 && A == B) V = 1.0;
        } else {
          V = Sab / N1;
        }
      }
      if (Direct) {
        Covar->Mat[static_cast<std::size_t>(B)][static_cast<std::size_t>(A)] = V;
        Covar->Mat[static_cast<std::size_t>(A)][static_cast<std::size_t>(B)] = V;
      } else {
        Covar->SetVal(static_cast<int32_t>(B + 1), static_cast<int32_t>(A + 1), V);
        Covar->SetVal(static_cast<int32_t>(A + 1), static_cast<int32_t>(B + 1), V);
      }
    }
    Passes.Flush();
  }
  return !AbortMathProc;
}

double CalcFishQ(double Mean1, double Mean2, double StdDev1, double StdDev2) {
  double Den = StdDev1 * StdDev1 + StdDev2 * StdDev2;
  if (Den < 1e-6) Den = 1e-6;
  return (Mean1 - Mean2) * (Mean1 - Mean2) / Den;
}

}  // namespace orv
