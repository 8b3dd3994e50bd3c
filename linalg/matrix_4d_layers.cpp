// TMat4D: the mean, maximum, minimum and standard deviation over the layers
// and time slots of a block, into a TMatrix, serial or over worker threads.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#include "linalg/column_workers.h"
#include "linalg/matrix_4d.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;
using detail::Ix1;
using detail::TBlock4D;
using detail::TMat4DAccess;

namespace {

enum class TStat { Mean, Max, Min, StdDev };

// Columns reduced side by side, at most. A row of one layer and time slot
// lies a row's length away from the next, often a page: the wider the run,
// the more of each page it reads in one visit (a run of 8 columns of a
// 512-column array takes 4 times as long as one of 512). The accumulators
// of a chunk of rows stay in the first-level cache.
constexpr int32_t RunColumns = 512;
constexpr int64_t ChunkCells = 4096;

// Out[j * rows + i] := the statistic of column C + j, row R0 + i of the
// block, j < W. Each cell is its own chain over layer (outer) and time slot
// (inner), whatever W and the chunking, so every path gives the same bits;
// the W columns of a row are read side by side.
template <TStat S>
void ReduceColumns(const TMat4D& M, const TBlock4D& B, int32_t C, int32_t W, int64_t NTotal,
                   std::vector<double>& Out) {
  const auto Ext = TMat4DAccess::Extents(M);
  const std::size_t RowStride = Ix(Ext[0]), LayerStride = RowStride * Ix(Ext[1]),
                    SlotStride = LayerStride * Ix(Ext[2]);
  const double* P = TMat4DAccess::Cells(M).data();
  const int64_t Rows = B.Rows();
  const auto Wd = Ix(W);
  const double N = static_cast<double>(NTotal);
  Out.assign(Wd * Ix(Rows), 0.0);
  constexpr bool Moments = S == TStat::StdDev;
  const int64_t RowChunk = std::max<int64_t>(ChunkCells / W, 1);
  std::vector<double> Acc(Ix(RowChunk) * Wd), Sq(Moments ? Acc.size() : 0), Shift(Sq.size());
  for (int64_t R = 0; R < Rows; R += RowChunk) {
    const int64_t NR = std::min(RowChunk, Rows - R);
    const std::size_t Cells = Ix(NR) * Wd;
    const auto At = [&](int32_t L, int32_t T) {
      return P + Ix1(T) * SlotStride + Ix1(L) * LayerStride + Ix(B.R0 - 1 + R) * RowStride + Ix1(C);
    };
    const double Start = S == TStat::Max ? -uc_MaxReal : S == TStat::Min ? uc_MaxReal : 0.0;
    std::fill_n(Acc.begin(), Cells, Start);
    if constexpr (Moments) {
      // Shifted by the position's first cell: a mean far from 0 keeps the
      // digits of the spread.
      const double* F = At(B.L0, B.T0);
      for (std::size_t I = 0; I < Ix(NR); ++I)
        for (std::size_t J = 0; J < Wd; ++J) Shift[I * Wd + J] = F[I * RowStride + J];
      std::fill_n(Sq.begin(), Cells, 0.0);
    }
    for (int32_t L = B.L0; L <= B.L1; ++L)
      for (int32_t T = B.T0; T <= B.T1; ++T) {
        const double* Q = At(L, T);
        for (std::size_t I = 0; I < Ix(NR); ++I) {
          const double* X = Q + I * RowStride;
          double* A = Acc.data() + I * Wd;
          for (std::size_t J = 0; J < Wd; ++J) {
            if constexpr (S == TStat::Mean) {
              A[J] += X[J];
            } else if constexpr (S == TStat::Max) {
              if (X[J] > A[J]) A[J] = X[J];
            } else if constexpr (S == TStat::Min) {
              if (X[J] < A[J]) A[J] = X[J];
            } else {
              const double D = X[J] - Shift[I * Wd + J];
              A[J] += D;
              Sq[I * Wd + J] += D * D;
            }
          }
        }
      }
    for (std::size_t I = 0; I < Ix(NR); ++I)
      for (std::size_t J = 0; J < Wd; ++J) {
        const std::size_t K = I * Wd + J;
        double V = Acc[K];
        if constexpr (S == TStat::Mean) {
          V /= N;
        } else if constexpr (Moments) {
          const double Mean = V / N;
          V = Sq[K] / N - Mean * Mean;
          V = V < 0.0 ? 0.0 : std::sqrt(V);
        }
        Out[J * Ix(Rows) + Ix(R) + I] = V;
      }
  }
}

// A worker's columns; with a gate (host code runs beside the workers) the
// array is read under it, and nothing is read or written once host code
// changed the array's size.
template <TStat S>
void RunWorker(TLayerStatThread& W, int64_t NTotal, detail::TWorkerGate* Gate) {
  const TBlock4D B{W.LowCol, W.HighCol, W.LowRow, W.HighRow, W.LowLayer, W.HighLayer, W.LowTimeSlot, W.HighTimeSlot};
  std::vector<double> Out;
  const auto Open = [Gate] { return Gate == nullptr || Gate->Open(); };
  if (Gate == nullptr) {
    ReduceColumns<S>(*W.Mat, B, W.Column, W.ColumnCount, NTotal, Out);
  } else {
    const auto Shared = Gate->Share();
    if (Gate->Open()) ReduceColumns<S>(*W.Mat, B, W.Column, W.ColumnCount, NTotal, Out);
  }
  const double Share = 100.0 / static_cast<double>(B.Cols());
  const bool Watched = static_cast<bool>(W.DestMat->OnChange);
  for (int32_t J = 0; J < W.ColumnCount && Open(); ++J) {
    const int32_t Col = W.Column + J - W.LowCol + 1;
    const double* V = Out.data() + Ix(J) * Ix(B.Rows());
    const auto Put = [&](int32_t R) { W.DestMat->SetVal(Col, R, V[Ix1(R)]); };
    if (Gate != nullptr && Watched) {
      // The handlers of a column run alone, no worker reading the array;
      // one that resized it closes the gate (the column's cells, computed
      // before, still go through SetVal).
      Gate->Host([&] {
        for (int32_t R = 1; R <= B.Rows(); ++R) Put(R);
      });
    } else if (Gate != nullptr) {
      const auto Shared = Gate->Share();  // MathFeedBackProc may resize DestMat meanwhile
      for (int32_t R = 1; R <= B.Rows(); ++R) Put(R);
    } else {
      for (int32_t R = 1; R <= B.Rows(); ++R) {
        // The handler may be called from several workers: one at a time.
        if (Watched) {
          std::lock_guard<std::mutex> L(*W.Lock);
          Put(R);
        } else {
          Put(R);
        }
      }
    }
    std::lock_guard<std::mutex> L(*W.Lock);
    IncProcStat(Share, false);
  }
  W.Terminate();
}

template <class W>
int64_t TotalOf(const W& Worker) {
  if constexpr (requires { Worker.NTotal; })
    return Worker.NTotal;
  else
    return 1;
}

// The worker of a call whose host code (DestMat's OnChange, MathFeedBackProc)
// runs beside the workers.
template <TStat S, class Worker>
class TGatedLayerThread : public Worker {
 public:
  detail::TWorkerGate* Gate = nullptr;

 protected:
  void Execute() override { RunWorker<S>(*this, TotalOf(*this), Gate); }
};

template <TStat S, class Worker>
void LayerStatistic(const TMat4D& M, TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                    int32_t HighRow, int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                    int32_t NThreads) {
  if (DestMat == nullptr) return;
  const TBlock4D B =
      TMat4DAccess::Block(M, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot);
  NThreads = std::clamp(NThreads, 1, TThread::ProcessorCount());
  const int64_t NTotal = B.PositionCells();
  const auto Cols = static_cast<int32_t>(B.Cols()), Rows = static_cast<int32_t>(B.Rows());
  // A handler that resizes the array takes the block away: the work ends
  // there. DestMat is written through SetVal, which its new size cannot lead astray.
  const detail::TStorageGuard Shape(detail::ShapeOf(M));
  DestMat->Resize(Cols, Rows);
  DestMat->Fill(0.0);
  std::vector<double> Out;
  if (NThreads == 1) {
    detail::TStepProgress Progress = detail::PositionProgress(B.Positions());
    for (int32_t C = B.C0; C <= B.C1; C += RunColumns) {
      if (!Shape.Intact()) return;
      const int32_t W = std::min(RunColumns, B.C1 - C + 1);
      ReduceColumns<S>(M, B, C, W, NTotal, Out);
      for (int32_t J = 0; J < W; ++J)
        for (int32_t R = 1; R <= Rows; ++R) {
          Progress.Enter();
          DestMat->SetVal(C + J - B.C0 + 1, R, Out[Ix(J) * Ix(Rows) + Ix1(R)]);
        }
    }
    return;
  }
  if (!Shape.Intact()) return;
  // Runs of adjacent columns, narrower when the columns are few, so that
  // every slot gets work.
  const int32_t Width = std::clamp(Cols / std::min(NThreads, Cols), 1, RunColumns);
  std::mutex LayerThreadLock;
  const auto Make = [&]<class W>(std::unique_ptr<W> P, int32_t Col) {
    P->Column = Col;
    P->ColumnCount = std::min(Width, B.C1 - Col + 1);
    P->DestMat = DestMat;
    P->Mat = &M;
    P->LowCol = B.C0;
    P->HighCol = B.C1;
    P->LowRow = B.R0;
    P->HighRow = B.R1;
    P->LowLayer = B.L0;
    P->HighLayer = B.L1;
    P->LowTimeSlot = B.T0;
    P->HighTimeSlot = B.T1;
    P->Lock = &LayerThreadLock;
    if constexpr (requires { P->NTotal; }) P->NTotal = NTotal;
    return P;
  };
  if (!DestMat->OnChange && !MathFeedBackProc) {
    detail::RunColumnWorkers(B.C0, B.C1, Width, NThreads, false,
                             [&](int32_t Col) { return Make(std::make_unique<Worker>(), Col); });
    return;
  }
  detail::TWorkerGate Gate([&] { return Shape.Intact(); });
  detail::RunColumnWorkers(
      B.C0, B.C1, Width, NThreads, false,
      [&](int32_t Col) {
        auto W = Make(std::make_unique<TGatedLayerThread<S, Worker>>(), Col);
        W->Gate = &Gate;
        return W;
      },
      Gate);
}

}  // namespace

std::string TMeanOfLayersThread::ClassName() const { return "TMeanOfLayersThread"; }
std::string TMaximumOfLayersThread::ClassName() const { return "TMaximumOfLayersThread"; }
std::string TMinimumOfLayersThread::ClassName() const { return "TMinimumOfLayersThread"; }
std::string TStdDevOfLayersThread::ClassName() const { return "TStdDevOfLayersThread"; }

void TMeanOfLayersThread::Execute() { RunWorker<TStat::Mean>(*this, NTotal, nullptr); }
void TMaximumOfLayersThread::Execute() { RunWorker<TStat::Max>(*this, 1, nullptr); }
void TMinimumOfLayersThread::Execute() { RunWorker<TStat::Min>(*this, 1, nullptr); }
void TStdDevOfLayersThread::Execute() { RunWorker<TStat::StdDev>(*this, NTotal, nullptr); }

// The overloads; the one without NThreads takes the processor count.
#define ORV_LAYER_STATISTIC(Name, Stat, Worker)                                                                      \
  void TMat4D::Name(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,             \
                    int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,                  \
                    int32_t NThreads) {                                                                              \
    LayerStatistic<Stat, Worker>(*this, DestMat, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,             \
                                 LowTimeSlot, HighTimeSlot, NThreads);                                               \
  }                                                                                                                  \
  void TMat4D::Name(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,             \
                    int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) {                \
    Name(DestMat, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeSlot, HighTimeSlot,                  \
         TThread::ProcessorCount());                                                                                 \
  }

ORV_LAYER_STATISTIC(MeanOfLayersToMatrix, TStat::Mean, TMeanOfLayersThread)
ORV_LAYER_STATISTIC(MaximumOfLayersToMatrix, TStat::Max, TMaximumOfLayersThread)
ORV_LAYER_STATISTIC(MinimumOfLayersToMatrix, TStat::Min, TMinimumOfLayersThread)
ORV_LAYER_STATISTIC(StdDevOfLayersToMatrix, TStat::StdDev, TStdDevOfLayersThread)
#undef ORV_LAYER_STATISTIC

}  // namespace orv
