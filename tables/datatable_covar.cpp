// TDataTable::CalcCovar: covariance, correlation and distance matrices of a
// block of columns over the rows where both cells of a pair are numeric.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/matmul.h"
#include "core/moments.h"
#include "core/storage_guard.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// The cells CalcCovar reads, taken at the call: for each column of the
// block its values as Elem reads them and whether each is numeric, over the
// rows of the range inside the table. A column outside the table has no
// block: it reads 0.0 everywhere, all numeric. The rows of the range above
// row 1 and below the last row read the same and are only counted.
struct TCovarCells {
  int64_t N = 0;                  // columns
  int64_t In = 0;                 // rows inside the table
  int64_t Before = 0, After = 0;  // rows of the range outside it, above and below
  std::vector<double> Values;     // In values per column with a block
  std::vector<uint8_t> Numeric;
  std::vector<int64_t> Block;  // the column's block, -1 outside the table
  std::vector<uint8_t> Full;   // every cell of the range numeric
  std::vector<double> Zeros;   // In zeros, the values of a column outside

  const double* X(int64_t A) const { return Block[Ix(A)] < 0 ? Zeros.data() : Values.data() + Block[Ix(A)] * In; }
  const uint8_t* Ok(int64_t A) const { return Numeric.data() + Block[Ix(A)] * In; }
  int64_t Outside() const { return Before + After; }
};

// The sums of one pair (x, y) over its usable rows (m of them): S for the
// modes 0, 1 and 4; for the correlations the sums of d = x - x0, e = y - y0
// with (x0, y0) the first usable pair, and whether an x or a y was NaN (its
// sum of squares then is no number above 0, and the correlation is 0.0).
struct TPairSums {
  int64_t M = 0;
  double S = 0.0;
  double Sd = 0.0, Se = 0.0, Sdd = 0.0, See = 0.0, Sde = 0.0;
  bool NaN = false;
};

bool IsCorrelation(int32_t Mode) { return Mode == 2 || Mode == 3; }

// Over the rows inside the table where Usable(r); the rows outside added
// at once. The plain loop's order: each sum from 0.0, rows ascending.
template <class UsableFn>
TPairSums PairSums(int32_t Mode, const TCovarCells& D, const double* X, const double* Y, UsableFn&& Usable,
                   double MeanX, double MeanY) {
  TPairSums P;
  const int64_t In = D.In;
  const auto Out = static_cast<double>(D.Outside());
  switch (Mode) {
    case 0:
      for (int64_t R = 0; R < In; ++R)
        if (Usable(R)) {
          ++P.M;
          P.S += X[R] * Y[R];
        }
      break;
    case 1:
      for (int64_t R = 0; R < In; ++R)
        if (Usable(R)) {
          ++P.M;
          P.S += (X[R] - MeanX) * (Y[R] - MeanY);
        }
      if (Out > 0) P.S += Out * (MeanX * MeanY);  // (0 - mean x)(0 - mean y)
      break;
    case 4:
      for (int64_t R = 0; R < In; ++R)
        if (Usable(R)) {
          ++P.M;
          const double Dxy = X[R] - Y[R];
          P.S += Dxy * Dxy;
        }
      break;
    default: {  // the correlations
      double X0 = 0.0, Y0 = 0.0;  // a row above the table comes first and reads 0
      bool Shifted = D.Before > 0;
      for (int64_t R = 0; R < In; ++R) {
        if (!Usable(R)) continue;
        if (!Shifted) {
          X0 = X[R];
          Y0 = Y[R];
          Shifted = true;
        }
        ++P.M;
        if (std::isnan(X[R]) || std::isnan(Y[R])) P.NaN = true;
        const double Dx = X[R] - X0, Ey = Y[R] - Y0;
        P.Sd += Dx;
        P.Se += Ey;
        P.Sdd += Dx * Dx;
        P.See += Ey * Ey;
        P.Sde += Dx * Ey;
      }
      if (D.After > 0) {  // d = -x0, e = -y0 in each of them
        const auto A = static_cast<double>(D.After);
        P.Sd += A * -X0;
        P.Se += A * -Y0;
        P.Sdd += A * (X0 * X0);
        P.See += A * (Y0 * Y0);
        P.Sde += A * (X0 * Y0);
      }
    }
  }
  P.M += D.Outside();
  return P;
}

// The entry of the matrix from the sums of its pair.
double Entry(int32_t Mode, const TPairSums& P, bool Diagonal) {
  switch (Mode) {
    case 0:
    case 1:
    case 4:
      return P.M < 2 ? 0.0 : P.S / static_cast<double>(P.M - 1);
    case 2:
    case 3: {
      if (Diagonal) return 1.0;
      if (P.M <= 2 || P.NaN) return 0.0;
      const auto M = static_cast<double>(P.M);
      const double Sxx = P.Sdd - P.Sd * P.Sd / M;
      const double Syy = P.See - P.Se * P.Se / M;
      if (Sxx == 0.0 || Syy == 0.0) return 0.0;
      const double R = detail::CorrelationOfSums(P.Sde - P.Sd * P.Se / M, Sxx, Syy);
      return Mode == 3 ? R * R : R;
    }
    default:
      return 0.0;
  }
}

// The sums of the pairs of columns that are numeric throughout, all at once
// as a product D'D of their columns (core/matmul.h keeps the plain loop's
// order, so these are the bits PairSums gives): for Mode 0 the values, for
// Mode 1 the values less the column's mean, for the correlations the values
// less the column's first value.
struct TFullSums {
  std::vector<int64_t> Index;  // the column's place among them, -1 for the others
  std::vector<double> First;   // x0 of the correlations
  std::vector<double> Sd, Sdd;
  std::vector<uint8_t> NaN;    // a value of the column is NaN
  detail::TProduct<double> Cross;

  TFullSums(int32_t Mode, const TCovarCells& D, const std::vector<double>& Means) : Index(Ix(D.N), -1) {
    if (Mode < 0 || Mode > 3) return;
    std::vector<int64_t> Cols;
    for (int64_t A = 0; A < D.N; ++A)
      if (D.Full[Ix(A)]) {
        Index[Ix(A)] = std::ssize(Cols);
        Cols.push_back(A);
      }
    const int64_t NF = std::ssize(Cols), In = D.In;
    std::vector<const double*> Ptr(Ix(NF));
    std::vector<double> Moved;  // the columns less their means or first values
    if (Mode != 0) {
      detail::CheckExtent(NF * In, sizeof(double));
      Moved.resize(Ix(NF * In));
      First.assign(Ix(NF), 0.0);
      NaN.assign(Ix(NF), 0);
      Sd.assign(Ix(NF), 0.0);
      Sdd.assign(Ix(NF), 0.0);
    }
    for (int64_t F = 0; F < NF; ++F) {
      const double* X = D.X(Cols[Ix(F)]);
      if (Mode == 0) {
        Ptr[Ix(F)] = X;
        continue;
      }
      double* Y = Moved.data() + F * In;
      Ptr[Ix(F)] = Y;
      if (Mode == 1) {
        const double Mean = Means[Ix(Cols[Ix(F)])];
        for (int64_t R = 0; R < In; ++R) Y[R] = X[R] - Mean;
        continue;
      }
      const double X0 = D.Before > 0 || In == 0 ? 0.0 : X[0];
      double S = 0.0, SS = 0.0;
      bool HasNaN = false;
      for (int64_t R = 0; R < In; ++R) {
        Y[R] = X[R] - X0;
        S += Y[R];
        SS += Y[R] * Y[R];
        HasNaN |= std::isnan(X[R]);
      }
      NaN[Ix(F)] = HasNaN ? 1 : 0;
      if (D.After > 0) {
        const auto A = static_cast<double>(D.After);
        S += A * -X0;
        SS += A * (X0 * X0);
      }
      First[Ix(F)] = X0;
      Sd[Ix(F)] = S;
      Sdd[Ix(F)] = SS;
    }
    Cross = detail::MatMul<double>(NF, NF, In, {Ptr.data(), true}, {Ptr.data(), false});
  }

  bool Has(int64_t A, int64_t B) const { return Index[Ix(A)] >= 0 && Index[Ix(B)] >= 0; }

  TPairSums Of(int32_t Mode, const TCovarCells& D, int64_t A, int64_t B, double MeanA, double MeanB) const {
    const int64_t FA = Index[Ix(A)], FB = Index[Ix(B)];
    TPairSums P;
    P.M = D.In + D.Outside();
    const double C = Cross.At(FB, FA);
    if (Mode == 0) {
      P.S = C;
    } else if (Mode == 1) {
      P.S = C;
      if (D.Outside() > 0) P.S += static_cast<double>(D.Outside()) * (MeanA * MeanB);
    } else {
      P.Sd = Sd[Ix(FA)];
      P.Se = Sd[Ix(FB)];
      P.Sdd = Sdd[Ix(FA)];
      P.See = Sdd[Ix(FB)];
      P.Sde = C;
      P.NaN = NaN[Ix(FA)] != 0 || NaN[Ix(FB)] != 0;
      if (D.After > 0) P.Sde += static_cast<double>(D.After) * (First[Ix(FA)] * First[Ix(FB)]);
    }
    return P;
  }
};

}  // namespace

bool TDataTable::CalcCovar(TMatrix* CovarMat, int32_t LoC, int32_t HiC, int32_t LoR, int32_t HiR,
                           int32_t Mode) const {
  AbortMathProc = false;
  if (CovarMat == nullptr) return false;
  const int64_t N = int64_t{HiC} - LoC + 1;
  if (CovarMat->NrOfColumns() < N || CovarMat->NrOfRows() < N) return false;
  if (N <= 0) return true;
  // Host code (MathFeedBackProc, CovarMat's OnChange) may resize CovarMat
  // while the entries are made (some may be lost): the result is then
  // false. Should CovarMat be the table's own matrix, a handler's adoption
  // keeps it alive.
  const TMatrixInUse InUse(*this);
  const detail::TStorageGuard Kept(detail::ShapeOf(*CovarMat));
  const auto InTable = [&](int64_t A) { return detail::InAxis(static_cast<int32_t>(LoC + A), FNrOfCols); };

  // The means of MeanVarOfNumCells over the columns (its sum, its count:
  // the same bits without the variance's sums). A column outside the table
  // reads 0.0, so its mean is 0.0 (the range rule would take another
  // column's). MathFeedBackProc, called between them, may resize the table
  // or make it adopt another matrix: then they are taken once more, without
  // reports, from the table as the cells below will be.
  std::vector<double> Means(Ix(N), 0.0);
  const auto TakeMeans = [&](bool Report) {
    for (int64_t A = 0; A < N; ++A) {
      if (InTable(A)) {
        int32_t Count = 0;
        const auto C = static_cast<int32_t>(LoC + A);
        const double Sum = SumOfNumCells(C, LoR, C, HiR, Count);
        Means[Ix(A)] = Count > 0 ? Sum / Count : 0.0;
      } else {
        Means[Ix(A)] = 0.0;
      }
      if (Report) IncProcStat();
    }
  };
  if (Mode > 0) {
    const detail::TStorageGuard Shape(detail::ShapeOf(*this));
    TakeMeans(true);
    if (!Shape.Intact()) TakeMeans(false);
  }

  const auto [D, Full] = detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
    TCovarCells Cells;
    Cells.N = N;
    const int64_t R0 = std::max<int64_t>(LoR, 1), R1 = std::min<int64_t>(HiR, FNrOfRows);
    Cells.In = std::max<int64_t>(R1 - R0 + 1, 0);
    Cells.Before = std::max<int64_t>(std::min<int64_t>(HiR, 0) - LoR + 1, 0);
    Cells.After = std::max<int64_t>(HiR - std::max<int64_t>(LoR, int64_t{FNrOfRows} + 1) + 1, 0);
    int64_t Blocks = 0;
    for (int64_t A = 0; A < N; ++A) Blocks += InTable(A) ? 1 : 0;
    detail::CheckExtent(Blocks * Cells.In, sizeof(double) + 1);
    Cells.Values.resize(Ix(Blocks * Cells.In));
    Cells.Numeric.resize(Ix(Blocks * Cells.In));
    Cells.Block.assign(Ix(N), -1);
    Cells.Full.assign(Ix(N), 1);
    Cells.Zeros.assign(Ix(Cells.In), 0.0);
    int64_t B = 0;
    for (int64_t A = 0; A < N; ++A) {
      if (!InTable(A)) continue;
      const auto C = static_cast<int32_t>(LoC + A);
      const bool Round = detail::IsCategorical(FVType[Ix1(C)].MScaleType);
      double* X = Cells.Values.data() + B * Cells.In;
      uint8_t* Ok = Cells.Numeric.data() + B * Cells.In;
      const uint8_t* St = FCState[Ix1(C)].data() + (R0 - 1);
      // Rows beyond an adopted matrix that its host made smaller read 0.0.
      const TMatrix& Data = *NumericData;
      const int64_t InData = C <= Data.NrOfColumns() ? std::clamp<int64_t>(Data.NrOfRows() - R0 + 1, 0, Cells.In) : 0;
      const double* Src = InData > 0 ? Data.Mat[Ix1(C)].data() + (R0 - 1) : nullptr;
      for (int64_t R = 0; R < Cells.In; ++R) {
        const double V = R < InData ? Src[R] : 0.0;
        X[R] = Round ? RoundHalfEven(V) : V;
        Ok[R] = detail::IsNumericState(St[R]) ? 1 : 0;
        if (!Ok[R]) Cells.Full[Ix(A)] = 0;
      }
      Cells.Block[Ix(A)] = B++;
    }
    TFullSums Sums(Mode, Cells, Means);
    return std::pair{std::move(Cells), std::move(Sums)};
  });

  // Straight into the cells when nothing can watch the writes or resize
  // CovarMat.
  const bool Direct = !CovarMat->OnChange && !MathFeedBackProc;
  bool Resized = !Kept.Intact();
  for (int64_t A = 0; A < N; ++A) {
    if (AbortMathProc) break;
    IncProcStat();
    for (int64_t B = 0; B <= A; ++B) {
      TPairSums P;
      if (Mode < 0 || Mode > 4 || (IsCorrelation(Mode) && A == B)) {
        // no sums needed
      } else if (Full.Has(A, B)) {
        P = Full.Of(Mode, D, A, B, Means[Ix(A)], Means[Ix(B)]);
      } else {
        const double *X = D.X(A), *Y = D.X(B);
        const uint8_t* OkX = D.Block[Ix(A)] < 0 ? nullptr : D.Ok(A);
        const uint8_t* OkY = D.Block[Ix(B)] < 0 ? nullptr : D.Ok(B);
        const auto Usable = [&](int64_t R) { return (OkX == nullptr || OkX[R]) && (OkY == nullptr || OkY[R]); };
        P = PairSums(Mode, D, X, Y, Usable, Means[Ix(A)], Means[Ix(B)]);
      }
      const double V = Entry(Mode, P, A == B);
      const auto I = static_cast<int32_t>(A + 1), K = static_cast<int32_t>(B + 1);
      if (Direct) {
        CovarMat->Mat[Ix1(K)][Ix1(I)] = V;
        CovarMat->Mat[Ix1(I)][Ix1(K)] = V;
      } else {
        Resized = Resized || !Kept.Intact();
        CovarMat->SetVal(K, I, V);
        Resized = Resized || !Kept.Intact();
        CovarMat->SetVal(I, K, V);
      }
    }
  }
  return !AbortMathProc && !Resized && Kept.Intact();
}

}  // namespace orv
