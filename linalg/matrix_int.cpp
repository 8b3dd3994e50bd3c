// TIntMatrix core: life cycle, both storages and the switches between them,
// size, cells, fills, transposition, cloning and the XML step.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/combsort.h"
#include "linalg/component.h"
#include "linalg/matrix_ops.h"
#include "linalg/matrix_xml.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

using Ops = detail::TMatrixOps<TIntMatrix>;
using TSpList = std::vector<TSpMatElemInt>;

// The list's order as one number: column, then row. Stored positions and the
// positions searched for are >= 1 (or 0 for a bound), so the halves never
// carry a sign.
constexpr uint64_t KeyOf(int32_t Col, int32_t Row) {
  return (uint64_t{static_cast<uint32_t>(Col)} << 32) | static_cast<uint32_t>(Row);
}
constexpr uint64_t KeyOf(const TSpMatElemInt& E) { return KeyOf(E.colidx, E.rowidx); }

// The first entry not before Key (L.size() when every entry is): the
// insertion point and, when its key equals Key, the stored cell. Branch-free
// halving, so that the search costs its memory reads and no mispredictions
// (Khuong and Morin, "Array layouts for comparison-based searching", ACM J.
// Exp. Algorithmics 22, 2017).
std::size_t LowerBound(const TSpList& L, uint64_t Key) {
  std::size_t N = L.size();
  if (N == 0) return 0;
  const TSpMatElemInt* Base = L.data();
  while (N > 1) {
    const std::size_t Half = N / 2;
    Base = KeyOf(Base[Half]) < Key ? Base + Half : Base;
    N -= Half;
  }
  return static_cast<std::size_t>(Base - L.data()) + (KeyOf(*Base) < Key);
}

// The same within the entries Lo..Hi - 1 of one column, by row.
std::size_t RowLowerBound(const TSpList& L, int32_t Lo, int32_t Hi, int32_t Row) {
  std::size_t N = Ix(Hi - Lo);
  if (N == 0) return Ix(Lo);
  const TSpMatElemInt* Base = L.data() + Lo;
  while (N > 1) {
    const std::size_t Half = N / 2;
    Base = Base[Half].rowidx < Row ? Base + Half : Base;
    N -= Half;
  }
  return static_cast<std::size_t>(Base - L.data()) + (Base->rowidx < Row);
}

// The column starts are kept for a span of columns up to about twice the
// stored cells: then they take less memory than the list itself.
bool StartsFit(int64_t Span, std::size_t Cells) { return Span >= 1 && Span <= 2 * static_cast<int64_t>(Cells) + 1024; }

}  // namespace

TIntMatrix::TIntMatrix(TComponent* AOwner) : TComponent(AOwner) {
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { Mat.assign(1, TIntArray(1, 0)); });
}

TIntMatrix::TIntMatrix(TComponent* AOwner, int32_t AllocBy)
    : TComponent(AOwner), FNCol(0), FNRow(0), FIsSparse(true), FAllocBy(std::max(AllocBy, 1)) {}

TIntMatrix::~TIntMatrix() = default;

std::string TIntMatrix::ClassName() const { return "TIntMatrix"; }

void TIntMatrix::ResetSparseBounds() {
  FSparseLowCol = FSparseLowRow = INT32_MAX;
  FSparseHighCol = FSparseHighRow = 1;
}

// ---- the sparse list ----------------------------------------------------------------------
// The column starts only speed up the search: where they cannot be had (too
// many columns, no memory) the whole list is searched.

void TIntMatrix::BuildColumnStarts() noexcept {
  FColStart.clear();
  const int64_t Span = int64_t{FSparseHighCol} - FSparseLowCol + 1;
  if (SpMat.empty() || !StartsFit(Span, SpMat.size())) return;
  try {
    FColStart.resize(Ix(Span + 1));
  } catch (const std::exception&) {
    FColStart.clear();
    return;
  }
  std::size_t I = 0;
  for (int64_t K = 0; K <= Span; ++K) {
    while (I < SpMat.size() && SpMat[I].colidx < FSparseLowCol + K) ++I;
    FColStart[Ix(K)] = static_cast<int32_t>(I);
  }
}

// After a cell of column Nc was inserted and the bounds widened from
// OldLow..OldHigh: new columns start where the list began or ended, and
// every column behind Nc starts one entry later.
void TIntMatrix::ColumnStartsAfterInsert(int32_t Nc, int32_t OldLow, int32_t OldHigh) noexcept {
  const int64_t Span = int64_t{FSparseHighCol} - FSparseLowCol + 1;
  if (FColStart.empty() || !StartsFit(Span, SpMat.size())) {
    BuildColumnStarts();
    return;
  }
  try {
    if (FSparseLowCol < OldLow) FColStart.insert(FColStart.begin(), Ix(OldLow - FSparseLowCol), 0);
    if (FSparseHighCol > OldHigh)
      FColStart.insert(FColStart.end(), Ix(FSparseHighCol - OldHigh), static_cast<int32_t>(SpMat.size() - 1));
  } catch (const std::exception&) {
    FColStart.clear();
    return;
  }
  for (std::size_t K = Ix(Nc - FSparseLowCol) + 1; K < FColStart.size(); ++K) ++FColStart[K];
}

std::size_t TIntMatrix::SparseFind(int32_t Nc, int32_t Nr) const {
  if (!FColStart.empty() && Nc >= FSparseLowCol && Nc <= FSparseHighCol) {
    const std::size_t K = Ix(Nc - FSparseLowCol);
    return RowLowerBound(SpMat, FColStart[K], FColStart[K + 1], Nr);
  }
  return LowerBound(SpMat, KeyOf(Nc, Nr));
}

int32_t TIntMatrix::SparseGet(int32_t Nc, int32_t Nr) const {
  if (Nc < FSparseLowCol || Nc > FSparseHighCol || Nr < FSparseLowRow || Nr > FSparseHighRow || Nc < 1 || Nr < 1)
    return 0;
  const std::size_t I = SparseFind(Nc, Nr);
  return I < SpMat.size() && SpMat[I].colidx == Nc && SpMat[I].rowidx == Nr ? SpMat[I].value : 0;
}

void TIntMatrix::SparseSet(int32_t Nc, int32_t Nr, int32_t Value) {
  if (Nc < 1 || Nr < 1) return;
  const std::size_t I = SparseFind(Nc, Nr);
  if (I < SpMat.size() && SpMat[I].colidx == Nc && SpMat[I].rowidx == Nr) {
    SpMat[I].value = Value;  // a 0 stays stored
  } else {
    // The count is an Integer; the vector grows geometrically and leaves
    // the list as it was when it cannot.
    detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
      if (SpMat.size() >= static_cast<std::size_t>(INT32_MAX)) throw std::bad_alloc();
      SpMat.insert(SpMat.begin() + static_cast<std::ptrdiff_t>(I), TSpMatElemInt{Nc, Nr, Value});
    });
    const int32_t OldLow = FSparseLowCol, OldHigh = FSparseHighCol;
    FSparseLowCol = std::min(FSparseLowCol, Nc);
    FSparseHighCol = std::max(FSparseHighCol, Nc);
    FSparseLowRow = std::min(FSparseLowRow, Nr);
    FSparseHighRow = std::max(FSparseHighRow, Nr);
    ColumnStartsAfterInsert(Nc, OldLow, OldHigh);
    FNCol = FSparseHighCol;
    FNRow = FSparseHighRow;
  }
  Changed();
}

// ---- storage switches -------------------------------------------------------------------

void TIntMatrix::SparseToArray() {
  if (!FIsSparse) return;
  // The bounds may be 0 after a Resize to 0: the storage keeps one cell.
  const int32_t NC = FSparseHighCol, NR = FSparseHighRow;
  TInt2DArray G = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    const int32_t SC = std::max(NC, 1), SR = std::max(NR, 1);
    detail::CheckExtent(int64_t{SC} * SR, sizeof(int32_t));
    detail::CheckExtent(SC, sizeof(TIntArray));
    TInt2DArray New(Ix(SC));
    for (TIntArray& Col : New) Col.resize(Ix(SR));
    for (const TSpMatElemInt& E : SpMat) New[Ix1(E.colidx)][Ix1(E.rowidx)] = E.value;
    return New;
  });
  Mat.swap(G);
  TSpList().swap(SpMat);
  std::vector<int32_t>().swap(FColStart);
  FIsSparse = false;
  FNCol = NC;
  FNRow = NR;
  ResetSparseBounds();
}

void TIntMatrix::ArrayToSparse(int32_t AllocBy) {
  if (FIsSparse) return;
  int32_t LowCol = INT32_MAX, HighCol = 1, LowRow = INT32_MAX, HighRow = 1;
  TSpList L = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    TSpList New;
    for (int32_t C = 1; C <= FNCol; ++C) {
      const int32_t* Col = Mat[Ix1(C)].data();
      const std::size_t Before = New.size();
      for (int32_t R = 1; R <= FNRow; ++R)
        if (Col[R - 1] != 0) New.push_back(TSpMatElemInt{C, R, Col[R - 1]});
      if (New.size() == Before) continue;
      if (New.size() > static_cast<std::size_t>(INT32_MAX)) throw std::bad_alloc();
      LowCol = std::min(LowCol, C);
      HighCol = C;
      LowRow = std::min(LowRow, New[Before].rowidx);
      HighRow = std::max(HighRow, New.back().rowidx);
    }
    return New;
  });
  SpMat.swap(L);
  TInt2DArray().swap(Mat);
  FIsSparse = true;
  FAllocBy = std::max(AllocBy, 1);
  FSparseLowCol = LowCol;
  FSparseHighCol = HighCol;
  FSparseLowRow = LowRow;
  FSparseHighRow = HighRow;
  BuildColumnStarts();
}

void TIntMatrix::Clone(const TIntMatrix* MatSource) {
  if (MatSource == nullptr || MatSource->FIsSparse != FIsSparse) return;
  if (!FIsSparse) {
    Ops::Clone(*this, *MatSource);
    return;
  }
  TSpList L = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return MatSource->SpMat; });
  SpMat.swap(L);
  FNCol = MatSource->FNCol;
  FNRow = MatSource->FNRow;
  FAllocBy = MatSource->FAllocBy;
  FSparseLowCol = MatSource->FSparseLowCol;
  FSparseHighCol = MatSource->FSparseHighCol;
  FSparseLowRow = MatSource->FSparseLowRow;
  FSparseHighRow = MatSource->FSparseHighRow;
  BuildColumnStarts();
  Changed();
}

// ---- size -------------------------------------------------------------------------------

void TIntMatrix::SetNrOfColumns(int32_t Value) { Resize(std::max(Value, 0), FNRow); }

void TIntMatrix::SetNrOfRows(int32_t Value) { Resize(FNCol, std::max(Value, 0)); }

bool TIntMatrix::Resize(int32_t Nc, int32_t Nr) {
  if (Nc == FNCol && Nr == FNRow) return false;
  Nc = std::max(Nc, 0);
  Nr = std::max(Nr, 0);
  if (FIsSparse) {
    FNCol = Nc;
    FNRow = Nr;
    FSparseHighCol = std::min(FSparseHighCol, Nc);
    FSparseHighRow = std::min(FSparseHighRow, Nr);
    if (FSparseHighCol < FSparseLowCol) FSparseLowCol = FSparseHighCol;
    if (FSparseHighRow < FSparseLowRow) FSparseLowRow = FSparseHighRow;
    std::erase_if(SpMat, [Nc, Nr](const TSpMatElemInt& E) { return E.colidx > Nc || E.rowidx > Nr; });
    BuildColumnStarts();
    return false;
  }
  Ops::ResizeCells(*this, Nc, Nr);
  return true;
}

bool TIntMatrix::ResizeAndClear(int32_t Nc, int32_t Nr) {
  const bool Result = Resize(Nc, Nr);
  if (Result) Fill(0);
  return Result;
}

void TIntMatrix::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  detail::MakeValidRange(LowCol, HighCol, FNCol);
}

void TIntMatrix::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  detail::MakeValidRange(LowRow, HighRow, FNRow);
}

// ---- fill and transposition ------------------------------------------------------------------

void TIntMatrix::Fill(int32_t Value) {
  if (!FIsSparse) {
    for (int32_t C = 0; C < FNCol; ++C) std::fill_n(Mat[Ix(C)].begin(), FNRow, Value);
  } else if (Value != 0) {
    for (TSpMatElemInt& E : SpMat) E.value = Value;
  } else {
    TSpList().swap(SpMat);
    std::vector<int32_t>().swap(FColStart);
    ResetSparseBounds();
  }
  Changed();
}

bool TIntMatrix::Transpose() {
  if (!FIsSparse) {
    Ops::TransposeDense(*this);
    return true;
  }
  for (TSpMatElemInt& E : SpMat) std::swap(E.colidx, E.rowidx);
  std::swap(FSparseLowCol, FSparseLowRow);
  std::swap(FSparseHighCol, FSparseHighRow);
  std::swap(FNCol, FNRow);
  // The positions are unique, so the (column, row) order is the one result
  // of any sort; the library's comb sort, from the gap n, restores it.
  const int64_t N = std::ssize(SpMat);
  detail::CombSort(
      int64_t{0}, N - 1, N, [this](int64_t I, int64_t J) { return KeyOf(SpMat[Ix(I)]) > KeyOf(SpMat[Ix(J)]); },
      [this](int64_t I, int64_t J) { std::swap(SpMat[Ix(I)], SpMat[Ix(J)]); }, detail::CombNoReport);
  BuildColumnStarts();
  Changed();
  return true;
}

// ---- XML ---------------------------------------------------------------------------------------

int32_t TIntMatrix::ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content) {
  static constexpr detail::TXmlAxes<2> Axes{{xmlMatNumCols, xmlMatNumRows}, {"ix", "iy"}, 0};
  return detail::XmlStep(
      Axes, FXmlAnnounced, FirstCell, XmlCellLimit, {FNCol, FNRow}, Tag, Attributes, Content,
      [this](const std::array<int32_t, 2>& N) { Resize(N[0], N[1]); },
      [this](const std::array<int32_t, 2>& I, std::string_view Text) {
        SetVal(I[0], I[1], detail::XmlIntegerValue(Text));
      });
}

void TIntMatrix::PercDone(TObject*, int32_t Percent) { detail::Fire(OnPercentDone, this, Percent); }

}  // namespace orv
