// The bulk operations of the matrix components, written once over the
// component (fills, block copies, copies to and from dynamic arrays and
// vectors, removing, exchanging and mirroring lines, transposing, element-wise
// arithmetic and the products). Internal.
//
// Instantiating them for another matrix component M (TIntMatrix has steps 1
// and 2; its products need step 3):
// 1. Specialise TMatrixKind<M> beside TMatrixKind<TMatrix> below: the cell
//    type, the type the products compute in (uint32_t for 32-bit integers, so
//    that sums and products wrap around instead of overflowing), the vector
//    component and its element type, the error class, Dense(m) (false while a
//    sparse matrix has no dense Mat) and Add, Sub, Mul of two cells (wrapping
//    through uint32_t for integers).
// 2. Declare `template <class> friend struct detail::TMatrixOps;` in M (only
//    ResizeCells and TransposeDense set the counts FNCol and FNRow directly).
// 3. Give the entry points of core/matmul.h a TCalc instance (core/matmul.cpp).
// 4. Let each method of M call its member here: `Ops::MirrorRows(*this)`.
// M must offer NrOfColumns, NrOfRows, the column array Mat ([column][row],
// at least max(count, 1) of each), GetVal, SetVal, Resize, Changed,
// MakeValidColRange, MakeValidRowRange, OnChange and its TComponent name.
// CopyFrom takes any source with NrOfColumns, NrOfRows and GetVal(c, r):
// TMatrix.CopyFrom of a TIntMatrix passes it as it is; of one layer of a
// TMat3D, a small view of that layer (clamped into 1..layers first).
//
// Storage kinds: every member that reads or writes Mat checks Dense first and
// then does nothing (or returns false); what a sparse matrix can do instead
// (Add with a sparse MatB, the copies through GetVal and SetVal) belongs to
// the component. Members that write through SetVal (PutCells, WriteResult,
// CopyLineToVec's reads through GetVal) serve sparse matrices as they are.
//
// Events follow one rule: with no OnChange handler (and dense storage) cells
// are written straight into Mat, where nothing can watch the order; with one,
// each write goes through SetVal, in column by column, row by row order, and
// its values were all read before the first write, so that a handler which
// changes a matrix never changes what is written.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/intwrap.h"
#include "core/matmul.h"
#include "linalg/component.h"
#include "linalg/vector_ops.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

template <class M>
struct TMatrixKind;

template <>
struct TMatrixKind<TMatrix> {
  using TElem = double;
  using TCalc = double;
  using TVec = TVector;
  using TError = EORVMatrixError;
  static bool Dense(const TMatrix&) { return true; }
  static double Add(double A, double B) { return A + B; }
  static double Sub(double A, double B) { return A - B; }
  static double Mul(double A, double B) { return A * B; }
};

template <>
struct TMatrixKind<TIntMatrix> {
  using TElem = int32_t;
  using TCalc = uint32_t;
  using TVec = TIntVector;
  using TError = EORVMatrixError;
  static bool Dense(const TIntMatrix& M) { return !M.IsSparse(); }
  static int32_t Add(int32_t A, int32_t B) { return WrapAdd(A, B); }
  static int32_t Sub(int32_t A, int32_t B) { return WrapSub(A, B); }
  static int32_t Mul(int32_t A, int32_t B) { return WrapMul(A, B); }
};

template <class M>
struct TMatrixOps {
  using K = TMatrixKind<M>;
  using T = typename K::TElem;
  using TCalc = typename K::TCalc;
  using TVec = typename K::TVec;
  using TError = typename K::TError;
  using TGrid = decltype(M::Mat);

  // ---- fills -----------------------------------------------------------------------
  // Block cells := Next(), column by column, row by row (bounds by the range
  // rule); one OnChange.
  template <class Gen>
  static void FillBlock(M& S, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, Gen&& Next) {
    if (!K::Dense(S)) return;
    S.MakeValidColRange(LowCol, HighCol);
    S.MakeValidRowRange(LowRow, HighRow);
    for (int32_t C = LowCol; C <= HighCol; ++C) {
      auto& Col = S.Mat[Ix1(C)];
      for (int32_t R = LowRow; R <= HighRow; ++R) Col[Ix1(R)] = Next();
    }
    S.Changed();
  }

  static void FillDiag(M& S, T Value) {
    if (!K::Dense(S)) return;
    const int32_t N = std::min(S.NrOfColumns(), S.NrOfRows());
    for (int32_t I = 0; I < N; ++I) S.Mat[Ix(I)][Ix(I)] = Value;
    S.Changed();
  }

  // ---- size ------------------------------------------------------------------------------
  // The dense storage to max(Nc, 1) x max(Nr, 1) cells, the overlap kept and
  // new cells 0, then the counts Nc, Nr (both >= 0) and OnChange. When the
  // storage cannot be had, the component's error and nothing changed.
  static void ResizeCells(M& S, int32_t Nc, int32_t Nr) {
    GuardAlloc<TError>(S, NoHeap, [&] { ResizeGrid(S.Mat, std::max(Nc, 1), std::max(Nr, 1)); });
    S.FNCol = Nc;
    S.FNRow = Nr;
    S.Changed();
  }

  // ---- cloning -------------------------------------------------------------------------
  // Size and cells of Source through Resize and SetVal: OnChange per cell
  // (and in Resize) and once more at the end. Without a handler nothing can
  // observe the order, and the columns are copied as they are.
  static void Clone(M& S, const M& Source) {
    S.Resize(Source.NrOfColumns(), Source.NrOfRows());
    if (!S.OnChange && &Source != &S && K::Dense(S) && K::Dense(Source)) {
      const int32_t NR = Source.NrOfRows();
      for (int32_t C = 0; C < Source.NrOfColumns(); ++C)
        std::copy_n(Source.Mat[Ix(C)].begin(), NR, S.Mat[Ix(C)].begin());
    } else {
      // A handler may resize either matrix, so every access is checked again.
      for (int32_t C = 1; C <= Source.NrOfColumns(); ++C)
        for (int32_t R = 1; R <= Source.NrOfRows(); ++R) S.SetVal(C, R, Source.GetVal(C, R));
    }
    S.Changed();
  }

  // ---- writing blocks of values ------------------------------------------------------
  // Value(i, j) goes to cell (Col + i, Row + j) for i < Cols, j < Rows(i),
  // column by column, row by row, as SetVal would take it: positions outside
  // the matrix are skipped, and with a handler each written cell fires.
  template <class RowsOf, class ValueAt>
  static void PutCells(M& S, int64_t Col, int64_t Row, int64_t Cols, RowsOf&& Rows, ValueAt&& Value) {
    if (!S.OnChange && K::Dense(S)) {
      const int64_t I1 = std::min<int64_t>(Cols, S.NrOfColumns() - Col + 1);
      const int64_t J0 = std::max<int64_t>(0, 1 - Row);
      for (int64_t I = std::max<int64_t>(0, 1 - Col); I < I1; ++I) {
        auto& Dst = S.Mat[Ix(Col + I - 1)];
        const int64_t J1 = std::min<int64_t>(Rows(I), S.NrOfRows() - Row + 1);
        for (int64_t J = J0; J < J1; ++J) Dst[Ix(Row + J - 1)] = Value(I, J);
      }
      return;
    }
    for (int64_t I = 0; I < Cols; ++I) {
      const int64_t C = Col + I;
      if (C < 1 || C > INT32_MAX) continue;
      const int64_t N = Rows(I);
      for (int64_t J = 0; J < N; ++J)
        if (const int64_t R = Row + J; R >= 1 && R <= INT32_MAX)
          S.SetVal(static_cast<int32_t>(C), static_cast<int32_t>(R), Value(I, J));
    }
  }

  // A result of NC x NR cells Cell(c, r) (0-based) into Res, sized with
  // Resize first. Cell may read Res itself only at the cell it computes.
  template <class CellAt>
  static void WriteResult(M& Res, int32_t NC, int32_t NR, CellAt&& Cell) {
    if (!Res.OnChange && K::Dense(Res)) {
      Res.Resize(NC, NR);
      for (int32_t C = 0; C < NC; ++C) {
        auto& Col = Res.Mat[Ix(C)];
        for (int32_t R = 0; R < NR; ++R) Col[Ix(R)] = Cell(C, R);
      }
      return;
    }
    const std::vector<T> Cells = GuardAlloc<TError>(Res, NoHeap, [&] {
      CheckExtent(int64_t{NC} * NR, sizeof(T));
      std::vector<T> V(Ix(int64_t{NC} * NR));
      for (int32_t C = 0; C < NC; ++C)
        for (int32_t R = 0; R < NR; ++R) V[Ix(int64_t{C} * NR + R)] = Cell(C, R);
      return V;
    });
    Res.Resize(NC, NR);
    for (int32_t C = 0; C < NC; ++C)
      for (int32_t R = 0; R < NR; ++R) Res.SetVal(C + 1, R + 1, Cells[Ix(int64_t{C} * NR + R)]);
  }

  // ---- copies between matrices, vectors and arrays ------------------------------------------
  // Row Line (ByRow) or column Line into Dest: the cross range First..Last
  // (range rule), cut to Dest's length; Dest := 0 first, never resized. Line
  // is clamped into the matrix; without a line there is nothing but zeros.
  template <bool ByRow>
  static void CopyLineToVec(const M& S, TVec* Dest, int32_t Line, int32_t First, int32_t Last) {
    if (Dest == nullptr) return;
    const int32_t NLine = ByRow ? S.NrOfRows() : S.NrOfColumns();
    Line = std::clamp(Line, 1, std::max(NLine, 1));
    MakeValidRange(First, Last, ByRow ? S.NrOfColumns() : S.NrOfRows());
    const int32_t Count = NLine == 0 ? 0 : std::min(Last - First + 1, Dest->NrOfElem());
    // Read before Dest's handler runs.
    const std::vector<T> Values = GuardAlloc<TError>(S, NoHeap, [&] {
      std::vector<T> V(Ix(Count));
      for (int32_t I = 0; I < Count; ++I) V[Ix(I)] = ByRow ? S.GetVal(First + I, Line) : S.GetVal(Line, First + I);
      return V;
    });
    Dest->Fill(T{});
    TVectorOps<TVec>::Put(*Dest, Values.data(), Count, 1);
  }

  // Source block (ColLo..ColHi, RowLo..RowHi), each bound clamped into the
  // source without the whole-axis rule and exchanged when reversed, to
  // (DestCol, DestRow) through PutCells; OnChange once more at the end. Src
  // may be any component with NrOfColumns, NrOfRows and GetVal, also this
  // one with an overlapping block: the block is read as it was at the call.
  template <class Src>
  static void CopyFrom(M& S, const Src* Source, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                       int32_t DestCol, int32_t DestRow) {
    if (Source == nullptr) return;
    const int32_t NC = Source->NrOfColumns(), NR = Source->NrOfRows();
    if (NC > 0 && NR > 0) {  // else there is no source cell at all
      ColLo = std::clamp(ColLo, 1, NC);
      ColHi = std::clamp(ColHi, 1, NC);
      RowLo = std::clamp(RowLo, 1, NR);
      RowHi = std::clamp(RowHi, 1, NR);
      if (ColHi < ColLo) std::swap(ColLo, ColHi);
      if (RowHi < RowLo) std::swap(RowLo, RowHi);
      const int64_t W = ColHi - ColLo + 1, H = RowHi - RowLo + 1;
      const auto Height = [H](int64_t) { return H; };
      bool Direct = false;
      if constexpr (std::is_same_v<Src, M>) {
        Direct = Source != &S && !S.OnChange && K::Dense(S) && K::Dense(*Source);
        if (Direct)
          PutCells(S, DestCol, DestRow, W, Height,
                   [&](int64_t I, int64_t J) { return Source->Mat[Ix(ColLo - 1 + I)][Ix(RowLo - 1 + J)]; });
      }
      if (!Direct) {
        const std::vector<T> Block = GuardAlloc<TError>(S, NoHeap, [&] {
          CheckExtent(W * H, sizeof(T));
          std::vector<T> B(Ix(W * H));
          for (int64_t I = 0; I < W; ++I)
            for (int64_t J = 0; J < H; ++J)
              B[Ix(I * H + J)] = static_cast<T>(
                  Source->GetVal(static_cast<int32_t>(ColLo + I), static_cast<int32_t>(RowLo + J)));
          return B;
        });
        PutCells(S, DestCol, DestRow, W, Height, [&](int64_t I, int64_t J) { return Block[Ix(I * H + J)]; });
      }
    }
    S.Changed();
  }

  // A cell as an entry of a dynamic array of element type E: doubles into
  // integers round half to even and saturate (NaN gives 0).
  template <class E>
  static E ToEntry(T X) {
    if constexpr (std::is_integral_v<E> && std::is_floating_point_v<T>)
      return RoundInt(X);
    else
      return static_cast<E>(X);
  }

  // Dest := the block (range rule), Dest[c - LowCol][r - LowRow]. No event.
  template <class A>
  static void CopyToArray(const M& S, A& Dest, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow) {
    if (!K::Dense(S)) return;
    using E = typename A::value_type::value_type;
    S.MakeValidColRange(LowCol, HighCol);
    S.MakeValidRowRange(LowRow, HighRow);
    A Out = GuardAlloc<TError>(S, NoHeap, [&] {
      A O(Ix(HighCol - LowCol + 1));
      for (int32_t C = LowCol; C <= HighCol; ++C) {
        const auto& Src = S.Mat[Ix1(C)];
        auto& Col = O[Ix(C - LowCol)];
        Col.resize(Ix(HighRow - LowRow + 1));
        std::transform(Src.begin() + (LowRow - 1), Src.begin() + HighRow, Col.begin(), ToEntry<E>);
      }
      return O;
    });
    Dest = std::move(Out);
  }

  // Entry [i][j] to cell (Col + i, Row + j) through PutCells (no final
  // event); column i gives as many rows as it has, at most as many as the
  // first column. The cells come from a copy taken first when Src is Mat
  // (read as they were, not as the copy leaves them) and when a handler
  // runs between the writes (it may change Src, the caller's array).
  template <class A>
  static void CopyFromArray(M& S, const A& Src, int32_t Col, int32_t Row) {
    if (Src.empty()) return;
    bool Aliased = false;
    if constexpr (std::is_same_v<A, TGrid>) Aliased = &Src == &S.Mat;
    if (Aliased || S.OnChange) {
      const A Copy = GuardAlloc<TError>(S, NoHeap, [&] { return Src; });
      PutArray(S, Copy, Col, Row);
    } else {
      PutArray(S, Src, Col, Row);
    }
  }
  template <class A>
  static void PutArray(M& S, const A& Src, int32_t Col, int32_t Row) {
    const auto First = static_cast<int64_t>(Src[0].size());
    PutCells(
        S, Col, Row, static_cast<int64_t>(Src.size()),
        [&](int64_t I) { return std::min(static_cast<int64_t>(Src[Ix(I)].size()), First); },
        [&](int64_t I, int64_t J) { return static_cast<T>(Src[Ix(I)][Ix(J)]); });
  }

  // ---- rearranging -----------------------------------------------------------------------
  static bool RemoveColumn(M& S, int32_t Col) {
    if (!K::Dense(S) || !InAxis(Col, S.NrOfColumns()) || S.NrOfColumns() <= 1) return false;
    // Mat then has the shape Resize asks for, so Resize only sets the count and fires.
    S.Mat.erase(S.Mat.begin() + static_cast<std::ptrdiff_t>(Ix1(Col)));
    S.Resize(S.NrOfColumns() - 1, S.NrOfRows());
    return true;
  }

  static bool RemoveRow(M& S, int32_t Row) {
    if (!K::Dense(S) || !InAxis(Row, S.NrOfRows()) || S.NrOfRows() <= 1) return false;
    for (auto& Col : S.Mat) Col.erase(Col.begin() + static_cast<std::ptrdiff_t>(Ix1(Row)));
    S.Resize(S.NrOfColumns(), S.NrOfRows() - 1);
    return true;
  }

  // Indices outside the matrix change nothing and fire nothing.
  static void ExchangeColumns(M& S, int32_t C1, int32_t C2) {
    if (!K::Dense(S) || !InAxis(C1, S.NrOfColumns()) || !InAxis(C2, S.NrOfColumns())) return;
    S.Mat[Ix1(C1)].swap(S.Mat[Ix1(C2)]);  // columns are of one length
    S.Changed();
  }

  static void ExchangeRows(M& S, int32_t R1, int32_t R2) {
    if (!K::Dense(S) || !InAxis(R1, S.NrOfRows()) || !InAxis(R2, S.NrOfRows())) return;
    const int32_t NC = S.NrOfColumns();
    for (int32_t C = 0; C < NC; ++C) std::swap(S.Mat[Ix(C)][Ix1(R1)], S.Mat[Ix(C)][Ix1(R2)]);
    S.Changed();
  }

  static void MirrorColumns(M& S) {
    if (!K::Dense(S)) return;
    std::reverse(S.Mat.begin(), S.Mat.begin() + S.NrOfColumns());
    S.Changed();
  }

  static void MirrorRows(M& S) {
    if (!K::Dense(S)) return;
    const int32_t NC = S.NrOfColumns(), NR = S.NrOfRows();
    for (int32_t C = 0; C < NC; ++C) std::reverse(S.Mat[Ix(C)].begin(), S.Mat[Ix(C)].begin() + NR);
    S.Changed();
  }

  // Columns become rows; one OnChange. A square matrix is transposed in
  // place, any other built aside and swapped in; both run in tiles that stay
  // in the cache on both sides.
  static void TransposeDense(M& S) {
    if (!K::Dense(S)) return;
    const int32_t NC = S.FNCol, NR = S.FNRow;
    constexpr int32_t Tile = 64;
    if (NC == NR) {
      for (int32_t C0 = 0; C0 < NC; C0 += Tile)
        for (int32_t R0 = C0; R0 < NR; R0 += Tile)
          for (int32_t C = C0; C < std::min(C0 + Tile, NC); ++C)
            for (int32_t R = std::max(R0, C + 1); R < std::min(R0 + Tile, NR); ++R)
              std::swap(S.Mat[Ix(C)][Ix(R)], S.Mat[Ix(R)][Ix(C)]);
    } else {
      TGrid New = GuardAlloc<TError>(S, NoHeap, [&] {
        CheckExtent(int64_t{std::max(NC, 1)} * std::max(NR, 1), sizeof(T));
        TGrid G(Ix(std::max(NR, 1)), typename TGrid::value_type(Ix(std::max(NC, 1))));
        for (int32_t C0 = 0; C0 < NC; C0 += Tile)
          for (int32_t R0 = 0; R0 < NR; R0 += Tile)
            for (int32_t C = C0; C < std::min(C0 + Tile, NC); ++C) {
              const T* Src = S.Mat[Ix(C)].data();
              for (int32_t R = R0; R < std::min(R0 + Tile, NR); ++R) G[Ix(R)][Ix(C)] = Src[R];
            }
        return G;
      });
      S.Mat.swap(New);
      std::swap(S.FNCol, S.FNRow);
    }
    S.Changed();
  }

  // ---- arithmetic ---------------------------------------------------------------------------
  // Every cell := Op(cell); one OnChange.
  template <class F>
  static void Transform(M& S, F&& Op) {
    if (!K::Dense(S)) return;
    const int32_t NC = S.NrOfColumns(), NR = S.NrOfRows();
    for (int32_t C = 0; C < NC; ++C) {
      T* Col = S.Mat[Ix(C)].data();
      for (int32_t R = 0; R < NR; ++R) Col[R] = Op(Col[R]);
    }
    S.Changed();
  }

  static bool SameSize(const M& A, const M& B) {
    return A.NrOfColumns() == B.NrOfColumns() && A.NrOfRows() == B.NrOfRows();
  }

  // Self := Op(Self, B) cell by cell (Add, Subtract); one OnChange. B may be Self.
  template <class F>
  static bool Combine(M& S, const M* B, F&& Op) {
    if (B == nullptr || !SameSize(S, *B) || !K::Dense(S) || !K::Dense(*B)) return false;
    const int32_t NC = S.NrOfColumns(), NR = S.NrOfRows();
    for (int32_t C = 0; C < NC; ++C) {
      T* Col = S.Mat[Ix(C)].data();
      const T* Other = B->Mat[Ix(C)].data();
      for (int32_t R = 0; R < NR; ++R) Col[R] = Op(Col[R], Other[R]);
    }
    S.Changed();
    return true;
  }

  static bool EMult(M& S, const M* B, M* Res) {
    if (B == nullptr || Res == nullptr || !SameSize(S, *B) || !K::Dense(S) || !K::Dense(*B)) return false;
    WriteResult(*Res, S.NrOfColumns(), S.NrOfRows(),
                [&](int32_t C, int32_t R) { return K::Mul(S.Mat[Ix(C)][Ix(R)], B->Mat[Ix(C)][Ix(R)]); });
    S.Changed();
    return true;
  }

  // ---- products ---------------------------------------------------------------------------
  static std::vector<const TCalc*> Columns(const M& S) {
    std::vector<const TCalc*> P(Ix(S.NrOfColumns()));
    for (std::size_t C = 0; C < P.size(); ++C) P[C] = reinterpret_cast<const TCalc*>(S.Mat[C].data());
    return P;
  }

  // Res := op(Self) x op(B), op transposing where asked: Multiply (false,
  // false), MultiplyTransposed (false, true), TransposeAndMultiply (true,
  // false). Computed aside, then written; Self's OnChange at the end.
  static bool Product(M& S, const M* B, M* Res, bool TransA, bool TransB) {
    if (B == nullptr || Res == nullptr || !K::Dense(S) || !K::Dense(*B)) return false;
    const int32_t Rows = TransA ? S.NrOfColumns() : S.NrOfRows();
    const int32_t Inner = TransA ? S.NrOfRows() : S.NrOfColumns();
    const int32_t Cols = TransB ? B->NrOfRows() : B->NrOfColumns();
    if ((TransB ? B->NrOfColumns() : B->NrOfRows()) != Inner) return false;
    const TProduct<TCalc> P = GuardAlloc<TError>(*Res, NoHeap, [&] {
      const std::vector<const TCalc*> ACols = Columns(S), BCols = Columns(*B);
      return MatMul<TCalc>(Rows, Cols, Inner, {ACols.data(), TransA}, {BCols.data(), TransB});
    });
    WriteResult(*Res, Cols, Rows, [&P](int32_t C, int32_t R) { return static_cast<T>(P.At(C, R)); });
    S.Changed();
    return true;
  }

  // Y := Self x X (Trans false) or Self transposed x X, sized through
  // NrOfElem and written as SetVal does; Self's OnChange at the end.
  static bool VecProduct(M& S, const TVec* X, TVec* Y, bool Trans) {
    if (X == nullptr || Y == nullptr || !K::Dense(S)) return false;
    const int32_t N = Trans ? S.NrOfColumns() : S.NrOfRows();
    const int32_t Inner = Trans ? S.NrOfRows() : S.NrOfColumns();
    if (X->NrOfElem() != Inner) return false;
    const std::vector<T> Result = GuardAlloc<TError>(S, NoHeap, [&] {
      std::vector<TCalc> Xs(Ix(Inner)), Ys(Ix(N));
      for (int32_t I = 0; I < Inner; ++I) Xs[Ix(I)] = static_cast<TCalc>(X->GetVal(I + 1));
      const std::vector<const TCalc*> Cols = Columns(S);
      if (Trans)
        MatTVecKernel(N, Inner, Cols.data(), Xs.data(), Ys.data());
      else
        MatVecKernel(N, Inner, Cols.data(), Xs.data(), Ys.data());
      if constexpr (std::is_same_v<T, TCalc>)
        return Ys;
      else
        return std::vector<T>(Ys.begin(), Ys.end());
    });
    Y->SetNrOfElem(N);
    TVectorOps<TVec>::Put(*Y, Result.data(), N, 1);
    S.Changed();
    return true;
  }
};

}  // namespace orv::detail
