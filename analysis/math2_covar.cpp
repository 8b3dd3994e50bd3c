// CalcCovar: the covariance-type matrices of the columns of a TMatrix.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "core/moments.h"
#include "core/progress.h"
#include "core/simd.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

namespace {

// Sums over the rows r of x_a[r] * x_b[r] (Diff false) or (x_a[r] - x_b[r])^2
// (Diff true) for a in [A0, A0 + 4) and every b <= a, b < M, into
// Out[(a - A0) * M + b]. Each sum runs in four lanes over the rows (lane i
// takes the rows r = i mod 4), then lanes 0 + 1 and 2 + 3, then the two.
// The four lanes are one vector, or two where the registers hold two
// doubles (each a column b at a time, so that the accumulators fit them).
template <bool Diff, int Bytes>
ORV_SIMD_INLINE void CrossSumsOf(const double* const* X, int64_t M, int64_t Rows, int64_t A0, double* Out) {
  constexpr int VB = Bytes < 32 ? Bytes : 32;
  using V = detail::TSimdVector<double, VB>;
  constexpr int W = VB / sizeof(double);  // lanes per vector
  constexpr int H = 4 / W;                // vectors per sum
  constexpr int NB = H == 1 ? 2 : 1;      // columns b at a time
  const int64_t NA = std::min<int64_t>(4, M - A0);
  const double* XA[4];
  for (int64_t I = 0; I < 4; ++I) XA[I] = X[A0 + std::min(I, NA - 1)];
  const int64_t Body = Rows & ~int64_t{3};
  for (int64_t B = 0; B < A0 + NA; B += NB) {
    const double* XB[NB];
    for (int J = 0; J < NB; ++J) XB[J] = X[std::min(B + J, A0 + NA - 1)];
    V Acc[4][NB][H] = {};
    for (int64_t R = 0; R < Body; R += 4)
      for (int K = 0; K < H; ++K) {
        V Vb[NB];
        for (int J = 0; J < NB; ++J) {
          V T;  // a copy: loading into an array sends it through memory
          std::memcpy(&T, XB[J] + R + K * W, sizeof T);
          Vb[J] = T;
        }
        for (int I = 0; I < 4; ++I) {
          V Va;
          std::memcpy(&Va, XA[I] + R + K * W, sizeof Va);
          for (int J = 0; J < NB; ++J) {
            if constexpr (Diff) {
              const V D = Va - Vb[J];
              Acc[I][J][K] += D * D;
            } else {
              Acc[I][J][K] += Va * Vb[J];
            }
          }
        }
      }
    double Lane[4][NB][4];
    for (int I = 0; I < 4; ++I)
      for (int J = 0; J < NB; ++J)
        for (int K = 0; K < H; ++K) {
          const V S = Acc[I][J][K];
          std::memcpy(&Lane[I][J][K * W], &S, sizeof S);
        }
    for (int64_t I = 0; I < NA; ++I)
      for (int64_t J = 0; J < NB && B + J <= A0 + I; ++J) {
        double* L = Lane[I][J];
        for (int64_t R = Body; R < Rows; ++R) {
          const double Xa = XA[I][R], Xb = XB[J][R];
          L[R - Body] += Diff ? (Xa - Xb) * (Xa - Xb) : Xa * Xb;
        }
        Out[I * M + B + J] = (L[0] + L[1]) + (L[2] + L[3]);
      }
  }
}
template <int Bytes>
ORV_SIMD_INLINE void CrossSumsLanes(const double* const* X, int64_t M, int64_t Rows, int64_t A0, bool Diff,
                                    double* Out) {
  if (Diff)
    CrossSumsOf<true, Bytes>(X, M, Rows, A0, Out);
  else
    CrossSumsOf<false, Bytes>(X, M, Rows, A0, Out);
}
ORV_SIMD_BY_WIDTH(void, CrossSums,
                  (const double* const* X, int64_t M, int64_t Rows, int64_t A0, bool Diff, double* Out),
                  (X, M, Rows, A0, Diff, Out))

bool IsCentred(int32_t Scaling) {
  return Scaling == csCovariance || Scaling == csCorrelation || Scaling == csSquaredCorrelation;
}
bool IsCorrelation(int32_t Scaling) { return Scaling == csCorrelation || Scaling == csSquaredCorrelation; }
bool IsKnown(int32_t Scaling) { return Scaling >= csCrossProducts && Scaling <= csSquaredDistance; }

// The columns of the range as the kernel reads them (X points into Data, into
// Copy or to Zeros; moving a TColumns keeps these). Cells outside Data read
// as 0, so the columns outside (also when centred, their mean being 0) share
// one column of zeros and take no room per column; the rows outside are
// counted, not stored.
struct TColumns {
  int64_t M = 0;                 // columns of the range
  int64_t N = 0;                 // rows of the range
  int64_t Rows = 0;              // of which inside Data
  int64_t AIn = 0, AEnd = 0;     // the columns a in [AIn, AEnd) lie inside Data
  std::vector<const double*> X;  // Rows values of each column
  std::vector<double> Zeros;
  std::vector<double> Copy;  // the columns inside, when not read in place

  int64_t Outside() const { return N - Rows; }
  double* Copied(int64_t A) { return Copy.data() + (A - AIn) * Rows; }
};

TColumns Gather(const TMatrix& Data, int64_t LoCol, int64_t M, int64_t LoRow, int64_t N, bool MustCopy) {
  TColumns C;
  C.M = M;
  C.N = N;
  const int64_t R0 = std::max<int64_t>(LoRow, 1);
  const int64_t R1 = std::min<int64_t>(LoRow + N - 1, Data.NrOfRows());
  C.Rows = std::max<int64_t>(R1 - R0 + 1, 0);
  C.AIn = std::clamp<int64_t>(1 - LoCol, 0, M);
  C.AEnd = C.Rows > 0 ? std::clamp<int64_t>(Data.NrOfColumns() - LoCol + 1, C.AIn, M) : C.AIn;
  if (C.AIn > 0 || C.AEnd < M) C.Zeros.assign(static_cast<std::size_t>(C.Rows), 0.0);
  C.X.assign(static_cast<std::size_t>(M), C.Zeros.data());
  for (int64_t A = C.AIn; A < C.AEnd; ++A)
    C.X[static_cast<std::size_t>(A)] = Data.Mat[static_cast<std::size_t>(LoCol + A - 1)].data() + (R0 - 1);
  if (MustCopy) {
    C.Copy.resize(static_cast<std::size_t>((C.AEnd - C.AIn) * C.Rows));
    for (int64_t A = C.AIn; A < C.AEnd; ++A) {
      std::copy_n(C.X[static_cast<std::size_t>(A)], C.Rows, C.Copied(A));
      C.X[static_cast<std::size_t>(A)] = C.Copied(A);
    }
  }
  return C;
}

// What the fill needs of each column beside its centred values; 0 for the
// columns outside Data and when not centred.
struct TColumnStats {
  explicit TColumnStats(int64_t M)
      : Var(static_cast<std::size_t>(M), 0.0), OutsideDev(static_cast<std::size_t>(M), 0.0) {}
  std::vector<double> Var;         // variance (0 where rounding makes it negative)
  std::vector<double> OutsideDev;  // deviation of a row outside Data: 0 - mean
};

// Centres the copied columns. The sums run over the values shifted by the
// column's first value: unshifted, the one-pass variance of a column that
// varies little beside its size cancels to nothing (1e8, 1e8, 1e8 + 1.5e-8
// gives 0 or less), and correlations divided by it run far beyond 1. Shifted,
// a constant column has sums and deviations of exactly 0.
TColumnStats Centre(TColumns& C) {
  TColumnStats St(C.M);
  const auto Nd = static_cast<double>(C.N);
  const auto Outside = static_cast<double>(C.Outside());
  for (int64_t A = C.AIn; A < C.AEnd; ++A) {
    double* Col = C.Copied(A);
    const double Shift = Col[0];
    double Sum = 0.0, SumSq = 0.0;
    for (int64_t R = 0; R < C.Rows; ++R) {
      const double D = Col[R] - Shift;
      Sum += D;
      SumSq += D * D;
    }
    if (Outside > 0) {  // the rows outside read 0, shifted -Shift
      Sum -= Outside * Shift;
      SumSq += Outside * (Shift * Shift);
    }
    // Sum * mean, not Sum^2 / n: the square may overflow where the sum of
    // squares, which is at least as large as the product, does not.
    const double ShiftedMean = Sum / Nd;
    const double V = (SumSq - Sum * ShiftedMean) / (Nd - 1.0);
    St.Var[static_cast<std::size_t>(A)] = V < 0.0 ? 0.0 : V;  // NaN stays
    St.OutsideDev[static_cast<std::size_t>(A)] = -Shift - ShiftedMean;
    for (int64_t R = 0; R < C.Rows; ++R) Col[R] = (Col[R] - Shift) - ShiftedMean;
  }
  return St;
}

// The value of cell (a, b) from the sum Sab of its column pair.
double CellValue(int32_t Scaling, double Sab, double VarA, double VarB, double N1, bool Diagonal) {
  if (!IsKnown(Scaling)) return 0.0;
  if (!IsCorrelation(Scaling)) return Sab / N1;
  if (Scaling == csCorrelation && Diagonal) return 1.0;
  double F = detail::RootOfProduct(VarA, VarB);
  if (F == 0.0) F = 1e-38;
  // An overflowed sum would turn into a plausible 0 or +-1 below.
  if (!std::isfinite(Sab) || !std::isfinite(F)) return std::numeric_limits<double>::quiet_NaN();
  // The variances and the cross sum round apart, which may take r a little
  // beyond +-1.
  const double R = std::clamp(Sab / F / N1, -1.0, 1.0);
  return Scaling == csSquaredCorrelation ? R * R : R;
}

// Row a of Covar, computed four rows at a time, written when its turn comes.
void Fill(const TColumns& C, const TColumnStats& St, TMatrix& Covar, int32_t Scaling) {
  detail::TPassCounter Passes;
  const auto N1 = static_cast<double>(C.N - 1);
  const bool Centred = IsCentred(Scaling);
  // Straight into the cells when nothing can watch the writes or resize Covar.
  const bool Direct = !Covar.OnChange && !MathFeedBackProc;
  std::vector<double> Sums(static_cast<std::size_t>(4 * C.M), 0.0);
  for (int64_t A = 0; A < C.M; ++A) {
    if (AbortMathProc) break;
    if (IsKnown(Scaling) && A % 4 == 0)
      CrossSums(C.X.data(), C.M, C.Rows, A, Scaling == csSquaredDistance, Sums.data());
    const double* S = Sums.data() + (A % 4) * C.M;
    for (int64_t B = 0; B <= A; ++B) {
      Passes.Pass(static_cast<double>(C.N));
      const auto Ia = static_cast<std::size_t>(A), Ib = static_cast<std::size_t>(B);
      double Sab = S[B];
      if (Centred && C.Outside() > 0)
        Sab += static_cast<double>(C.Outside()) * (St.OutsideDev[Ia] * St.OutsideDev[Ib]);
      const double V = CellValue(Scaling, Sab, St.Var[Ia], St.Var[Ib], N1, A == B);
      if (Direct) {
        Covar.Mat[Ib][Ia] = V;
        Covar.Mat[Ia][Ib] = V;
      } else {
        Covar.SetVal(static_cast<int32_t>(B + 1), static_cast<int32_t>(A + 1), V);
        Covar.SetVal(static_cast<int32_t>(A + 1), static_cast<int32_t>(B + 1), V);
      }
    }
    Passes.Flush();
  }
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

  // Covar's writes may reach Data (the same matrix, or a handler of Covar or
  // the progress hook that changes it): then the sums read a copy. The
  // centred scalings centre a copy anyway.
  const bool MustCopy =
      IsKnown(Scaling) && (IsCentred(Scaling) || Covar == Data || Covar->OnChange || MathFeedBackProc);
  TColumns Columns = Gather(*Data, LoCol, M, LoRow, N, MustCopy);
  const TColumnStats Stats = IsCentred(Scaling) ? Centre(Columns) : TColumnStats(M);
  if (Scaling > 0) {
    detail::TPassCounter Passes;
    for (int64_t R = 0; R < N; ++R) Passes.Pass();
  }
  Fill(Columns, Stats, *Covar, Scaling);
  return !AbortMathProc;
}

}  // namespace orv
