// Crout's LU decomposition with implicit row scaling and partial pivoting,
// and the inverse built on it, over an n x n matrix given as an array of
// column pointers, A[c][r] = a(r, c), each column of N cells (internal,
// layer-neutral: TMatrix and the 2-D array routines run this one copy).
// P. D. Crout, "A short method for evaluating determinants and solving
// systems of linear equations with real or complex coefficients", Trans.
// AIEE 60, 1941; the scaled pivot choice as in Forsythe and Moler,
// "Computer Solution of Linear Algebraic Systems", Prentice-Hall, 1967.
//
// Every bit is fixed by the order of operations of the method:
// - Row scaling: Scale[r] := 1 / (largest |a(r, c)|, from 0, a larger value
//   replacing it); a row of zeros makes the matrix singular, the remaining
//   rows are still scanned, and no elimination follows.
// - Elimination, column j = 0, 1, ...: each cell a(i, j) loses its products
//   a(i, k) * a(k, j) one by one for k = 0 .. min(i, j) - 1, in increasing k,
//   starting from its own value; the pivot is the row i >= j with the largest
//   Scale[i] * |a(i, j)|, the last of equal ones (>=); rows are exchanged
//   over all columns, Scale following; a pivot below 1e-100 in magnitude is
//   set to 1e-100 and makes the matrix singular while elimination goes on;
//   the cells below the pivot are divided by it.
// - Inverse: for each identity column, forward substitution with the
//   recorded exchanges, the products starting at its first nonzero entry
//   (the leading zeros skipped), then back substitution, each cell again
//   from its own value in increasing k.
// The speed comes from the order of the loops, never of the arithmetic: the
// elimination subtracts the factor columns left of a panel of columns from
// all of them at once, through the product kernel of core/matmul.h fed with
// negated factors (x + a * (-b) is x - a * b to the bit); the substitutions
// solve a block of identity columns side by side. A test compares the
// results with the textbook loops bit for bit.
//
// Values that are not finite are the platform's arithmetic faults, which C++
// does not trap, so the method tests for them and ends in NotFinite (the
// caller's arithmetic failure): an input cell that is infinite or NaN, found
// by the scaling before anything is written; a column of the factors that
// is not finite after its elimination step (an overflow; the elimination
// goes on); a solution that overflows. A column whose candidates are all
// NaN has no pivot row: the pivot row stays the diagonal's, never an index
// outside the matrix. So the factors of a decomposition that succeeds, and
// the inverse, are finite.
//
// Use:
//     TCroutWork W;  W.Allocate(N, true);                // std::bad_alloc on failure
//     TCroutOutcome R = CroutInvert(Cols, N, W, Hooks);
// or W.Allocate(N, false) and CroutDecompose(Cols, N, W, Sign, Hooks).
// Hooks has bool Continue(), asked before each row of the scaling, and bool
// Pass(), asked before each column of the elimination and of the solution
// (count and report the pass there); false from either stops the work.
// After a stop, bool Intact() tells whether A's columns are still the
// storage the kernel was given (host code that ran in Pass may have
// resized the matrix); only then does the kernel write A again: the cells
// of the panel that the stopped elimination had not reached, or the
// factors after a stop in the solution.
// After CroutInvert:
//   Done      A holds the inverse;
//   Singular  after a zero row A is unchanged; else it holds the
//             row-exchanged factors (multipliers below the diagonal, a tiny
//             pivot replaced by 1e-100);
//   NotFinite A unchanged when the scaling found the cell; after an
//             overflow in the elimination or the solution, the factors as
//             after a tiny pivot;
//   Stopped   A holds what was reached: unchanged during the scaling, the
//             factors so far during the elimination (the later columns with
//             the rows exchanged so far, as the column-by-column method
//             leaves them), the complete factors during the solution.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/extent.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

inline constexpr double CroutPivotFloor = 1e-100;

enum class TCroutOutcome : uint8_t { Done, Singular, NotFinite, Stopped };

// Columns per panel of the elimination, identity columns per block of the
// solution.
inline constexpr int64_t CroutPanel = 24;
inline constexpr int64_t CroutSolveWidth = 32;

// All working storage, obtained before the work starts: pivot rows, row
// scales, the panel and the packed factors of the product kernel; for the
// inverse also the factors row by row, the identity column solved at each
// position and one block of solutions.
struct TCroutWork {
  std::vector<int64_t> Perm;
  std::vector<double> Scale;
  int64_t LD = 0;  // rows of the panel: N rounded up to the kernel's row block
  std::vector<double> Panel, PanelSaved, Ap, Bp;
  std::vector<const double*> PanelCols;
  std::vector<double> Rows, Solved;
  std::vector<int64_t> Target;
  void Allocate(int64_t N, bool ForInverse);
};

// ---- kernels (core/crout.cpp) ---------------------------------------------------------
// Columns J0 .. J0 + Width - 1 lose the products of the factor columns
// 0 .. J0 - 1, each cell (i, j) those with k < i, in increasing k.
void CroutPanelUpdate(double* const* A, int64_t N, int64_t J0, int64_t Width, TCroutWork& W);
// After a stop before column J of the panel J0 .. J1 - 1 (J > J0): columns
// J .. J1 - 1 get back their cells from before the panel's update, with the
// row exchanges of columns J0 .. J - 1, as if untouched by the elimination
// (in the first panel, J0 = 0, they have never been touched).
void CroutPanelRestore(double* const* A, int64_t N, int64_t J0, int64_t J, int64_t J1, const TCroutWork& W);
// Column J loses the products of factor columns K0 .. J - 1, in increasing k.
void CroutColumnUpdate(double* const* A, int64_t N, int64_t J, int64_t K0);
// The identity columns that the exchanges carry to positions Q0 ..
// Q0 + Width - 1, solved with the row-major factors F into A's columns
// Target[Q0], ...; false, with nothing written, when a solution is not
// finite (an overflow).
bool CroutSolveBlock(int64_t N, int64_t Q0, int64_t Width, TCroutWork& W, double* const* A);

// No cell of P[0..N-1] is infinite or NaN.
inline bool AllFinite(const double* P, int64_t N) {
  bool Finite = true;
  for (int64_t I = 0; I < N; ++I) Finite &= std::fabs(P[I]) <= DBL_MAX;
  return Finite;
}

// The hooks of an inversion that the host watches: AbortMathProc before
// each row, and before each column ProcStat + 1 with MathFeedBackProc, then
// AbortMathProc. The host code in MathFeedBackProc may resize the matrix
// under the work: Storage, a TStorageGuard (core/storage_guard.h) over what
// holds the n columns, made when the column pointers were taken, stops it
// then; it is asked only while a MathFeedBackProc is assigned.
template <class Guard>
struct TCroutHostHooks {
  const Guard& Storage;
  bool Watch = static_cast<bool>(MathFeedBackProc);
  bool Continue() { return !AbortMathProc; }
  bool Pass() {
    IncProcStat();
    if (AbortMathProc) return false;
    return !Watch || Storage.Intact();
  }
  bool Intact() { return Storage.Intact(); }
};
template <class Guard>
TCroutHostHooks(const Guard&) -> TCroutHostHooks<Guard>;

template <class Hooks>
TCroutOutcome CroutScaleRows(const double* const* A, int64_t N, double* Scale, Hooks& H) {
  constexpr int64_t Block = 256;  // rows scanned together, column by column
  bool Singular = false;
  for (int64_t R0 = 0; R0 < N; R0 += Block) {
    const int64_t R1 = std::min(N, R0 + Block);
    for (int64_t R = R0; R < R1; ++R) {
      if (!H.Continue()) return TCroutOutcome::Stopped;
      Scale[R] = 0.0;
    }
    bool Finite = true;
    for (int64_t C = 0; C < N; ++C) {
      const double* Col = A[C];
      for (int64_t R = R0; R < R1; ++R) {
        const double X = std::fabs(Col[R]);
        Finite &= X <= DBL_MAX;
        if (X > Scale[R]) Scale[R] = X;
      }
    }
    if (!Finite) return TCroutOutcome::NotFinite;
    for (int64_t R = R0; R < R1; ++R) {
      if (Scale[R] == 0.0)
        Singular = true;
      else
        Scale[R] = 1.0 / Scale[R];
    }
  }
  return Singular ? TCroutOutcome::Singular : TCroutOutcome::Done;
}

// Scaling and elimination in place; Perm[j] := the pivot row of column j,
// Sign := +1 or -1 by the number of exchanges.
template <class Hooks>
TCroutOutcome CroutDecompose(double* const* A, int64_t N, TCroutWork& W, int32_t& Sign, Hooks& H) {
  Sign = 1;
  double* Scale = W.Scale.data();
  int64_t* Perm = W.Perm.data();
  const TCroutOutcome Scaled = CroutScaleRows(A, N, Scale, H);
  if (Scaled != TCroutOutcome::Done) return Scaled;
  bool Singular = false, NotFinite = false;
  for (int64_t J0 = 0; J0 < N; J0 += CroutPanel) {
    const int64_t J1 = std::min(N, J0 + CroutPanel);
    for (int64_t J = J0; J < J1; ++J) {
      if (!H.Pass()) {
        if (J > J0 && H.Intact()) CroutPanelRestore(A, N, J0, J, J1, W);
        return TCroutOutcome::Stopped;
      }
      if (J == J0)
        CroutPanelUpdate(A, N, J0, J1 - J0, W);
      else
        CroutColumnUpdate(A, N, J, J0);
      double* Cj = A[J];
      double Big = 0.0;
      int64_t IMax = -1;
      for (int64_t I = J; I < N; ++I) {
        const double Cand = Scale[I] * std::fabs(Cj[I]);
        if (Cand >= Big) {
          Big = Cand;
          IMax = I;
        }
      }
      if (IMax < 0) {
        NotFinite = true;
        IMax = J;
      }
      if (IMax != J) {
        for (int64_t C = 0; C < N; ++C) std::swap(A[C][IMax], A[C][J]);
        Sign = -Sign;
        Scale[IMax] = Scale[J];
      }
      Perm[J] = IMax;
      if (std::fabs(Cj[J]) < CroutPivotFloor) {
        Cj[J] = CroutPivotFloor;
        Singular = true;
      }
      const double Pivot = Cj[J];
      for (int64_t I = J + 1; I < N; ++I) Cj[I] /= Pivot;
      NotFinite |= !AllFinite(Cj, N);
    }
  }
  return NotFinite ? TCroutOutcome::NotFinite : Singular ? TCroutOutcome::Singular : TCroutOutcome::Done;
}

// Replaces A by its inverse. W must be allocated for N.
template <class Hooks>
TCroutOutcome CroutInvert(double* const* A, int64_t N, TCroutWork& W, Hooks& H) {
  int32_t Sign = 1;
  const TCroutOutcome Decomposed = CroutDecompose(A, N, W, Sign, H);
  if (Decomposed != TCroutOutcome::Done) return Decomposed;
  // The factors row by row; A's cells then take the inverse block by block
  // and get the factors back when the solution is stopped.
  double* F = W.Rows.data();
  for (int64_t C = 0; C < N; ++C)
    for (int64_t R = 0; R < N; ++R) F[R * N + C] = A[C][R];
  // Target[q]: the identity column whose 1 the exchanges move to position q
  // (the exchanges applied to the column labels).
  int64_t* Target = W.Target.data();
  for (int64_t J = 0; J < N; ++J) Target[J] = J;
  for (int64_t I = 0; I < N; ++I) std::swap(Target[I], Target[W.Perm[Ix(I)]]);
  const auto Restore = [&] {
    for (int64_t C = 0; C < N; ++C)
      for (int64_t R = 0; R < N; ++R) A[C][R] = F[R * N + C];
  };
  for (int64_t Q0 = 0; Q0 < N; Q0 += CroutSolveWidth) {
    const int64_t Width = std::min(CroutSolveWidth, N - Q0);
    for (int64_t B = 0; B < Width; ++B)
      if (!H.Pass()) {
        // Host code may have released A's storage: then it is no longer ours to write.
        if (H.Intact()) Restore();
        return TCroutOutcome::Stopped;
      }
    if (!CroutSolveBlock(N, Q0, Width, W, A)) {
      Restore();
      return TCroutOutcome::NotFinite;
    }
  }
  return TCroutOutcome::Done;
}

}  // namespace orv::detail
