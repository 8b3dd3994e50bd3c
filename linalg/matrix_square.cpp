// TMatrix: the cross-product matrix of the columns, serial or over worker
// threads (TMatSq1ColThread).
#include <algorithm>
#include <memory>
#include <vector>

#include "core/matmul.h"
#include "linalg/column_workers.h"
#include "linalg/component.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// Column I of the result: the products with the columns I..n. Each cell is
// one chain over the rows in increasing order from +0.0 (MatTVecKernel
// keeps that order and takes eight cells side by side), so a worker and
// the serial loop give the same bits.
void SquareColumn(const TMatrix& Src, TMatrix& Res, int32_t I, double Norm) {
  const int32_t N = Src.NrOfColumns();
  std::vector<const double*> Cols;
  Cols.reserve(Ix(N - I + 1));
  for (int32_t J = I; J <= N; ++J) Cols.push_back(Src.Mat[Ix1(J)].data());
  std::vector<double> Sums(Cols.size());
  detail::MatTVecKernel(static_cast<int64_t>(Cols.size()), Src.NrOfRows(), Cols.data(), Cols[0], Sums.data());
  for (int32_t J = I; J <= N; ++J) {
    const double V = Sums[Ix(J - I)] / Norm;
    Res.Mat[Ix1(I)][Ix1(J)] = V;
    Res.Mat[Ix1(J)][Ix1(I)] = V;
  }
}

}  // namespace

std::string TMatSq1ColThread::ClassName() const { return "TMatSq1ColThread"; }

void TMatSq1ColThread::Execute() {
  SquareColumn(*SrcMat, *ResMat, Column, Norm);
  IncProcStat(1.0, false);
  Terminate();
}

bool TMatrix::Square(TMatrix* MatRes, double Norm) { return Square(MatRes, Norm, TThread::ProcessorCount()); }

bool TMatrix::Square(TMatrix* MatRes, double Norm, int32_t NThreads) {
  if (MatRes == nullptr) return false;
  const int32_t N = FNCol;
  // Into Self: computed aside, since resizing Self would pull the source
  // from under the workers.
  std::unique_ptr<TMatrix> Aside;
  TMatrix* Res = MatRes;
  if (MatRes == this) {
    Aside = std::make_unique<TMatrix>(nullptr);
    Res = Aside.get();
  }
  // Host code (Res's OnChange, MathFeedBackProc) may resize either matrix;
  // a column takes its pointers afresh, so their sizes are what must hold
  // on the calling thread.
  const detail::TStorageGuard Source(detail::ShapeOf(*this));
  Res->Resize(N, N);
  if (!Source.Intact() || Res->FNCol != N || Res->FNRow != N) return false;
  const detail::TStorageGuard Shapes(detail::ShapeOf(*this), detail::ShapeOf(*Res));
  bool Result = true;
  detail::GuardAlloc<EORVMatrixError>(*this, "not enough memory on heap", [&] {
    if (NThreads <= 1) {
      for (int32_t I = 1; I <= N; ++I) {
        if (AbortMathProc) {
          Result = false;
          break;
        }
        IncProcStat();
        if (!Shapes.Intact()) {
          Result = false;
          break;
        }
        SquareColumn(*this, *Res, I, Norm);
      }
      return;
    }
    const auto Run = [&](const TMatrix* Src, TMatrix* Into) {
      return detail::RunColumnWorkers(1, N, 1, NThreads, true, [&](int32_t Col) {
        auto W = std::make_unique<TMatSq1ColThread>();
        W->Column = Col;
        W->Norm = Norm;
        W->SrcMat = Src;
        W->ResMat = Into;
        return W;
      });
    };
    if (!MathFeedBackProc) {
      Result = Run(this, Res);
      return;
    }
    // MathFeedBackProc runs beside the workers and may change either
    // matrix while they read and write it: they work on copies (the source
    // as it was at the call), and the result's cells take Res's place when
    // they are done. Waiting for them at every pass instead would cost
    // the time of a column per pass.
    TMatrix Source(nullptr), Into(nullptr);
    Source.Mat = Mat;
    Source.FNCol = FNCol;
    Source.FNRow = FNRow;
    Into.Mat = Res->Mat;
    Into.FNCol = Into.FNRow = N;
    Result = Run(&Source, &Into);
    Res->Mat.swap(Into.Mat);
    Res->Resize(N, N);  // an event only where host code resized Res meanwhile
  });
  if (Aside) {
    // The cells first, then the count and OnChange: a handler sees Self whole.
    Mat.swap(Aside->Mat);
    Resize(N, N);
  }
  return Result;
}

}  // namespace orv
