// Correlation of 2-D arrays with a square kernel; compass and Kirsch kernels.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/storage_guard.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

using detail::Ix;

// Kernel d, element [i][j], i the outer index.
const TKernel3x3Set CompassKernels = {{
    {{{-1, -1, -1}, {1, -2, 1}, {1, 1, 1}}},
    {{{1, -1, -1}, {1, -2, -1}, {1, 1, 1}}},
    {{{1, 1, -1}, {1, -2, -1}, {1, 1, -1}}},
    {{{1, 1, 1}, {1, -2, -1}, {1, -1, -1}}},
    {{{1, 1, 1}, {1, -2, 1}, {-1, -1, -1}}},
    {{{1, 1, 1}, {-1, -2, 1}, {-1, -1, 1}}},
    {{{-1, 1, 1}, {-1, -2, 1}, {-1, 1, 1}}},
    {{{-1, -1, 1}, {-1, -2, 1}, {1, 1, 1}}},
}};

// R. A. Kirsch, "Computer determination of the constituent structure of
// biological images", Computers and Biomedical Research 4(3), 1971.
const TKernel3x3Set KirschKernels = {{
    {{{-3, -3, -3}, {-3, 0, -3}, {5, 5, 5}}},
    {{{-3, -3, -3}, {5, 0, -3}, {5, 5, -3}}},
    {{{5, -3, -3}, {5, 0, -3}, {5, -3, -3}}},
    {{{5, 5, -3}, {5, 0, -3}, {-3, -3, -3}}},
    {{{5, 5, 5}, {-3, 0, -3}, {-3, -3, -3}}},
    {{{-3, 5, 5}, {-3, 0, 5}, {-3, -3, -3}}},
    {{{-3, -3, 5}, {-3, 0, 5}, {-3, -3, 5}}},
    {{{-3, -3, -3}, {-3, 0, 5}, {-3, 5, 5}}},
}};

namespace {

int32_t KernelCode(const TDouble2DArray& Kernel) {
  const auto M = static_cast<int64_t>(Kernel.size());
  int32_t Res = 0;
  for (const TDoubleArray& Col : Kernel)
    if (static_cast<int64_t>(Col.size()) != M) Res = -1;
  if (M % 2 == 0) Res = -2;
  if (M < 3) Res = -3;
  return Res;
}

bool EmptyOrRagged(const TDouble2DArray& Data) {
  if (Data.empty() || Data[0].empty()) return true;
  const std::size_t Rows = Data[0].size();
  return std::any_of(Data.begin(), Data.end(), [Rows](const TDoubleArray& C) { return C.size() != Rows; });
}

class TConvolution {
 public:
  TConvolution(const TDouble2DArray& Kernel, const TDouble2DArray& Data, TDouble2DArray& Result)
      : FK(Kernel),
        FD(Data),
        FR(Result),
        FM(static_cast<int64_t>(Kernel.size())),
        FH(FM / 2),
        FNc(static_cast<int64_t>(Data.size())),
        FNr(static_cast<int64_t>(Data[0].size())) {}

  // Rows Lo..Hi - 1 of the interior column I. Each cell's sum runs p outer,
  // q inner from +0.0, as the cell-by-cell loop does, but for a whole run of
  // rows at a time: the run's sums stay in the result column and every
  // (p, q) term is one pass over contiguous cells, which vectorises.
  void Interior(int64_t I, int64_t Lo, int64_t Hi) const {
    const int64_t N = Hi - Lo;
    if (N <= 0) return;  // no interior rows: Lo - H may lie before the column
    double* const Acc = FR[Ix(I)].data() + Lo;
    for (int64_t P = 0; P < FM; ++P) {
      const double* const Src = FD[Ix(I + P - FH)].data() + (Lo - FH);
      const double* const Ker = FK[Ix(P)].data();
      for (int64_t Q = 0; Q < FM; ++Q) {
        const double Kq = Ker[Q];
        const double* const S = Src + Q;
        for (int64_t J = 0; J < N; ++J) Acc[J] += S[J] * Kq;
      }
    }
  }

  // Cell (I, J) with every data index clamped into the array.
  void Clamped(int64_t I, int64_t J) const {
    double S = 0.0;
    for (int64_t P = 0; P < FM; ++P) {
      const TDoubleArray& Col = FD[Ix(std::clamp<int64_t>(I + P - FH, 0, FNc - 1))];
      const TDoubleArray& Ker = FK[Ix(P)];
      for (int64_t Q = 0; Q < FM; ++Q) S += Col[Ix(std::clamp<int64_t>(J + Q - FH, 0, FNr - 1))] * Ker[Ix(Q)];
    }
    FR[Ix(I)][Ix(J)] = S;
  }

  // False, the result unfinished, when Progress changed the extents or the
  // storage of the kernel or the data.
  bool Run(const TOnPercentDoneEvent& Progress) const {
    // The interior spans columns and rows H..N - H - 1; the border bands
    // around it are cut so that, where the data is narrower than the
    // kernel, they cover every cell once and nothing outside.
    const int64_t ColLo = std::min(FH, FNc), ColHi = std::max(FNc - FH, ColLo);
    const int64_t RowLo = std::min(FH, FNr), RowHi = std::max(FNr - FH, RowLo);
    const int64_t Step = std::max<int64_t>(1, (FNc - FM) * (FNr - FM) / 100);
    std::optional<detail::TStorageGuard<const TDouble2DArray*, const TDouble2DArray*>> Inputs;
    if (Progress) Inputs.emplace(FK, FD);
    int64_t Counter = 0;
    for (int64_t I = ColLo; I < ColHi; ++I) {
      Interior(I, RowLo, RowHi);
      if (!Progress) continue;
      const int64_t Next = Counter + (RowHi - RowLo);
      for (int64_t K = (Counter / Step + 1) * Step; K <= Next; K += Step) {
        Progress(nullptr, RoundInt(static_cast<double>(K / Step)));
        if (!Inputs->Intact()) return false;
      }
      Counter = Next;
    }
    for (int64_t I = 0; I < ColLo; ++I)
      for (int64_t J = 0; J < FNr; ++J) Clamped(I, J);
    for (int64_t I = ColHi; I < FNc; ++I)
      for (int64_t J = 0; J < FNr; ++J) Clamped(I, J);
    for (int64_t I = ColLo; I < ColHi; ++I) {
      for (int64_t J = 0; J < RowLo; ++J) Clamped(I, J);
      for (int64_t J = RowHi; J < FNr; ++J) Clamped(I, J);
    }
    return true;
  }

 private:
  const TDouble2DArray& FK;
  const TDouble2DArray& FD;
  TDouble2DArray& FR;
  int64_t FM, FH, FNc, FNr;
};

int32_t ApplyTableKernel(const TKernel3x3Set& Table, int32_t Direction, const TDouble2DArray& Data,
                         TDouble2DArray& Result, const TOnPercentDoneEvent& Progress) {
  if (Direction < 0 || Direction > 7) return -1;
  const auto& T = Table[Ix(Direction)];
  TDouble2DArray Kernel(3, TDoubleArray(3));
  for (std::size_t I = 0; I < 3; ++I) std::copy(T[I].begin(), T[I].end(), Kernel[I].begin());
  return KernelConvolve(Kernel, Data, Result, Progress);
}

}  // namespace

int32_t KernelConvolve(const TDouble2DArray& Kernel, const TDouble2DArray& Data, TDouble2DArray& Result,
                       const TOnPercentDoneEvent& Progress) {
  if (const int32_t Code = KernelCode(Kernel); Code != 0) return Code;
  if (EmptyOrRagged(Data)) return -4;
  TDouble2DArray R(Data.size(), TDoubleArray(Data[0].size()));
  // Progress changed Kernel or Data: the whole once more on them as they now are.
  if (!TConvolution(Kernel, Data, R).Run(Progress)) return KernelConvolve(Kernel, Data, Result, nullptr);
  Result = std::move(R);
  return 0;
}

int32_t ApplyCompassKernel(int32_t Direction, const TDouble2DArray& Data, TDouble2DArray& Result,
                           const TOnPercentDoneEvent& Progress) {
  return ApplyTableKernel(CompassKernels, Direction, Data, Result, Progress);
}

int32_t ApplyKirschKernel(int32_t Direction, const TDouble2DArray& Data, TDouble2DArray& Result,
                          const TOnPercentDoneEvent& Progress) {
  return ApplyTableKernel(KirschKernels, Direction, Data, Result, Progress);
}

}  // namespace orv
