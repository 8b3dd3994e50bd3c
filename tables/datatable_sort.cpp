// TDataTable: sorting rows and columns by values (through the matrix), by
// names and by attributes, every exchange carrying the states and headers.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/combsort.h"
#include "linalg/grid_sort.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::InAxis;
using detail::Ix1;

// The name and attribute sorts: the library's comb sort over keys taken at
// the call, which travel with their lines (a handler that renames a line
// during the sort cannot make it run on).
struct TDataTable::TSorting {
  // Exchanges lines I and J (rows when ByRows): headers, then the values
  // and states of the cross range CrossLo..CrossHi.
  template <bool ByRows>
  static void ExchangeLines(TDataTable& T, int32_t I, int32_t J, int32_t CrossLo, int32_t CrossHi) {
    if (!InAxis(I, ByRows ? T.FNrOfRows : T.FNrOfCols) || !InAxis(J, ByRows ? T.FNrOfRows : T.FNrOfCols)) return;
    ExchangeHeaders<ByRows>(T, I, J);
    TMatrix& M = *T.NumericData;
    const bool Direct = !T.OnChange && M.NrOfColumns() == T.FNrOfCols && M.NrOfRows() == T.FNrOfRows;
    const int32_t Hi = std::min(CrossHi, ByRows ? T.FNrOfCols : T.FNrOfRows);
    if (Direct) {
      for (int32_t X = CrossLo; X <= Hi; ++X) {
        if constexpr (ByRows) {
          std::swap(M.Mat[Ix1(X)][Ix1(I)], M.Mat[Ix1(X)][Ix1(J)]);
          std::swap(T.FCState[Ix1(X)][Ix1(I)], T.FCState[Ix1(X)][Ix1(J)]);
        } else {
          std::swap(M.Mat[Ix1(I)][Ix1(X)], M.Mat[Ix1(J)][Ix1(X)]);
          std::swap(T.FCState[Ix1(I)][Ix1(X)], T.FCState[Ix1(J)][Ix1(X)]);
        }
      }
      return;
    }
    // Each write reaches OnChange through the matrix, whose handler may
    // resize the table: every index is checked again.
    for (int32_t X = CrossLo; X <= CrossHi; ++X) {
      const int32_t CI = ByRows ? X : I, RI = ByRows ? I : X, CJ = ByRows ? X : J, RJ = ByRows ? J : X;
      const double A = T.NumericData->GetVal(CI, RI), B = T.NumericData->GetVal(CJ, RJ);
      T.NumericData->SetVal(CI, RI, B);
      T.NumericData->SetVal(CJ, RJ, A);
      if (T.ValidCell(CI, RI) && T.ValidCell(CJ, RJ))
        std::swap(T.FCState[Ix1(CI)][Ix1(RI)], T.FCState[Ix1(CJ)][Ix1(RJ)]);
    }
  }

  // Names and attributes; of columns also the scales and identifiers.
  template <bool ByRows>
  static void ExchangeHeaders(TDataTable& T, int32_t I, int32_t J) {
    if constexpr (ByRows) {
      std::swap(T.FRowName[Ix1(I)], T.FRowName[Ix1(J)]);
      std::swap(T.FRowAtt[Ix1(I)], T.FRowAtt[Ix1(J)]);
    } else {
      std::swap(T.FColName[Ix1(I)], T.FColName[Ix1(J)]);
      std::swap(T.FColAtt[Ix1(I)], T.FColAtt[Ix1(J)]);
      std::swap(T.FVType[Ix1(I)], T.FVType[Ix1(J)]);
    }
  }

  // A sort of the matrix by line KeyIx, lines Lo..Hi across CrossLo..CrossHi
  // (the table's bounds; clamped here as the matrix clamps them), whose
  // exchanges the states and headers follow. With an OnSortExchange handler
  // they reach ExchangeDuringSort one by one. Without one nothing can look
  // at the table between two exchanges, and swapping the state bytes of
  // every cross line at each exchange doubles the memory streams of the
  // sort, which then runs several times slower than the matrix's. So:
  // - where no exchange can change a state or header (uniform states, no
  //   headers), ExchangeDuringSort would do nothing: the matrix sorts alone;
  // - otherwise the matrix's sort keeps an order of the lines in step
  //   (inline: an event per exchange would cost half the sort's speed), and
  //   the states and headers follow it once at the end, as the exchanges one
  //   by one would have left them.
  template <bool ByRows>
  static void ByValues(TDataTable& T, int32_t KeyIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                       int32_t HighCol, int32_t HighRow) {
    TMatrix& M = *T.NumericData;
    if (T.OnSortExchange || M.NrOfColumns() != T.FNrOfCols || M.NrOfRows() != T.FNrOfRows) {
      // A handler that makes the table adopt another matrix ends the sort:
      // the matrix let go sorts on without events (the states stay as the
      // exchanges reported so far left them) and is freed at the end.
      const TMatrixInUse InUse(T);
      if constexpr (ByRows)
        M.SortRows(KeyIx, Ascending, LowCol, LowRow, HighCol, HighRow);
      else
        M.SortCols(KeyIx, Ascending, LowCol, LowRow, HighCol, HighRow);
      return;
    }
    const int32_t Lo0 = LowCol, Hi0 = HighCol, Lo1 = LowRow, Hi1 = HighRow;  // as the caller gave them
    M.MakeValidColRange(LowCol, HighCol);
    M.MakeValidRowRange(LowRow, HighRow);
    const int32_t Lo = ByRows ? LowRow : LowCol, Hi = ByRows ? HighRow : HighCol;
    const int32_t CrossLo = ByRows ? LowCol : LowRow, CrossHi = ByRows ? HighCol : HighRow;
    const int32_t N = ByRows ? T.FNrOfRows : T.FNrOfCols;
    // Fewer than two lines (a table without rows, say): nothing to follow.
    const bool Alone = Hi - Lo <= 0 || (!T.FSortIncludeHd && UniformStates<ByRows>(T, Lo, Hi, CrossLo, CrossHi));
    // Everything the permutation needs is had before the sort: afterwards
    // nothing may fail between the values and their states.
    struct TWork {
      std::vector<int32_t> Order;  // line i holds the line that stood at Order[i - 1]
      std::vector<uint8_t> States;
      std::vector<TDTNameStr> Names;
      TIntArray Att;
      std::vector<TVTypeSpec> VType;
    };
    const auto Rows = detail::Ix(std::max(CrossHi - CrossLo + 1, 0));
    TWork W = detail::GuardAlloc<EORVDataTableError>(T, detail::NoHeap, [&] {
      TWork Work;
      if (Alone) return Work;
      Work.Order.resize(detail::Ix(N));
      Work.States.resize(detail::Ix(N) * (ByRows ? 1 : Rows));
      if (T.FSortIncludeHd) {
        Work.Names.reserve(detail::Ix(N));
        Work.Att.reserve(detail::Ix(N));
        if (!ByRows) Work.VType.reserve(detail::Ix(N));
      }
      return Work;
    });
    std::vector<int32_t>& Order = W.Order;
    std::iota(Order.begin(), Order.end(), 1);
    // No handler of the host runs until the states have followed: the
    // matrix's OnChange at the end of its sort is held back and fired after.
    bool Sorted = false;
    {
      detail::TSilence Quiet(M.OnChange, M.OnSortExchange);
      M.OnChange = [&Sorted](TObject*) { Sorted = true; };
      if (Alone)
        detail::SortGridLines<ByRows>(M, KeyIx, Ascending, Lo0, Lo1, Hi0, Hi1);
      else
        detail::SortGridLines<ByRows>(M, KeyIx, Ascending, Lo0, Lo1, Hi0, Hi1,
                                      [&Order](int32_t I, int32_t J) { std::swap(Order[Ix1(I)], Order[Ix1(J)]); });
    }
    if (!Alone) {
      const auto From = [&](int32_t I) { return detail::Ix1(Order[Ix1(I)]); };
      if constexpr (ByRows) {
        for (int32_t C = CrossLo; C <= CrossHi; ++C) {
          auto& S = T.FCState[Ix1(C)];
          for (int32_t R = 1; R <= N; ++R) W.States[Ix1(R)] = S[From(R)];
          S.swap(W.States);
        }
        if (T.FSortIncludeHd) {
          Permute(T.FRowName, W.Names, From);
          Permute(T.FRowAtt, W.Att, From);
        }
      } else {
        for (int32_t C = 1; C <= N; ++C)
          std::copy_n(T.FCState[From(C)].begin() + (CrossLo - 1), Rows, W.States.begin() + Ix1(C) * Rows);
        for (int32_t C = 1; C <= N; ++C)
          std::copy_n(W.States.begin() + Ix1(C) * Rows, Rows, T.FCState[Ix1(C)].begin() + (CrossLo - 1));
        if (T.FSortIncludeHd) {
          Permute(T.FColName, W.Names, From);
          Permute(T.FColAtt, W.Att, From);
          Permute(T.FVType, W.VType, From);
        }
      }
    }
    if (Sorted) M.Changed();
  }

  // Whether exchanging two lines of Lo..Hi leaves every state byte of the
  // cross range as it was.
  template <bool ByRows>
  static bool UniformStates(const TDataTable& T, int32_t Lo, int32_t Hi, int32_t CrossLo, int32_t CrossHi) {
    const auto& S = T.FCState;
    if constexpr (ByRows) {
      for (int32_t C = CrossLo; C <= CrossHi; ++C) {
        const auto First = S[Ix1(C)].begin() + (Lo - 1), Last = S[Ix1(C)].begin() + Hi;
        if (std::find_if(First, Last, [B = *First](uint8_t X) { return X != B; }) != Last) return false;
      }
    } else {
      for (int32_t C = Lo + 1; C <= Hi; ++C)
        if (!std::equal(S[Ix1(C)].begin() + (CrossLo - 1), S[Ix1(C)].begin() + CrossHi,
                        S[Ix1(Lo)].begin() + (CrossLo - 1)))
          return false;
    }
    return true;
  }

  // Items[i] := the old Items[From(i + 1)] (0-based i), through Spare, which
  // has the room and takes the old array.
  template <class V, class FromFn>
  static void Permute(V& Items, V& Spare, FromFn&& From) {
    for (int32_t I = 1; I <= std::ssize(Items); ++I) Spare.push_back(std::move(Items[From(I)]));
    Items.swap(Spare);
  }

  // Lines Lo..Hi ordered by Keys[line - Lo]; false when there was nothing
  // to sort (a single line), and then nothing fires.
  template <bool ByRows, class K>
  static bool Lines(TDataTable& T, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow, K&& KeyOf) {
    T.MakeValidColRange(LowCol, HighCol);
    T.MakeValidRowRange(LowRow, HighRow);
    const int32_t Lo = ByRows ? LowRow : LowCol, Hi = ByRows ? HighRow : HighCol;
    const int32_t CrossLo = ByRows ? LowCol : LowRow, CrossHi = ByRows ? HighCol : HighRow;
    if (Hi - Lo <= 0) return false;
    using TKey = decltype(KeyOf(Lo));
    std::vector<TKey> Keys = detail::GuardAlloc<EORVDataTableError>(T, detail::NoHeap, [&] {
      std::vector<TKey> V;
      V.reserve(detail::Ix(Hi - Lo + 1));
      for (int32_t I = Lo; I <= Hi; ++I) V.push_back(KeyOf(I));
      return V;
    });
    // Every exchange reaches host code (OnSortExchange, and OnChange per
    // value moved through the matrix) that may resize the table or make it
    // adopt another matrix: the bounds then no longer hold.
    const TMatrixInUse InUse(T);
    const detail::TStorageGuard Shape(detail::ShapeOf(T));
    bool Resized = false;
    const auto Key = [&](int32_t I) {
      if constexpr (std::is_same_v<TKey, std::string>)
        return std::string_view(Keys[detail::Ix(I - Lo)]);
      else
        return Keys[detail::Ix(I - Lo)];
    };
    detail::CombSortByKey(
        Lo, Hi, int64_t{Hi} - Lo, Ascending, Key,
        [&](int32_t I, int32_t J) {
          if (Resized) return false;  // the rest of the pass exchanges nothing
          std::swap(Keys[detail::Ix(I - Lo)], Keys[detail::Ix(J - Lo)]);
          ExchangeLines<ByRows>(T, I, J, CrossLo, CrossHi);
          detail::Fire(T.OnSortExchange, &T, uint8_t{ByRows ? 2 : 1}, I, J, CrossLo, CrossHi);
          Resized = !Shape.Intact();
          return true;
        },
        [&] { return !Resized; });
    return true;
  }
};

namespace {

// ASCII letters folded to lower case; other bytes stay.
std::string FoldedCase(std::string S) {
  for (char& Ch : S)
    if (Ch >= 'A' && Ch <= 'Z') Ch = static_cast<char>(Ch - 'A' + 'a');
  return S;
}

}  // namespace

// ---- by values, through the matrix ----

void TDataTable::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                          int32_t HighRow, bool IncludeHeaders) {
  FSortIncludeHd = IncludeHeaders;
  TSorting::ByValues<true>(*this, SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow);
  if (IncludeHeaders) {
    ChangedNames();
    ChangedAttrib();
  }
}

void TDataTable::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                          int32_t HighRow, bool IncludeHeaders) {
  FSortIncludeHd = IncludeHeaders;
  TSorting::ByValues<false>(*this, SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow);
  if (IncludeHeaders) {
    ChangedNames();
    ChangedAttrib();
  }
}

// The matrix has exchanged two of its columns (Kind 1) or rows: the states
// of the cross range Lo..Hi follow, and the headers when the sort takes them.
void TDataTable::ExchangeDuringSort(TObject*, uint8_t Kind, int32_t I1, int32_t I2, int32_t Lo, int32_t Hi) {
  const bool Cols = Kind == 1;
  if (InAxis(I1, Cols ? FNrOfCols : FNrOfRows) && InAxis(I2, Cols ? FNrOfCols : FNrOfRows)) {
    const int32_t First = std::max(Lo, 1), Last = std::min(Hi, Cols ? FNrOfRows : FNrOfCols);
    if (Cols) {
      auto& A = FCState[Ix1(I1)];
      auto& B = FCState[Ix1(I2)];
      for (int32_t R = First; R <= Last; ++R) std::swap(A[Ix1(R)], B[Ix1(R)]);
      if (FSortIncludeHd) TSorting::ExchangeHeaders<false>(*this, I1, I2);
    } else {
      for (int32_t C = First; C <= Last; ++C) std::swap(FCState[Ix1(C)][Ix1(I1)], FCState[Ix1(C)][Ix1(I2)]);
      if (FSortIncludeHd) TSorting::ExchangeHeaders<true>(*this, I1, I2);
    }
  }
  detail::Fire(OnSortExchange, this, Kind, I1, I2, Lo, Hi);
}

// ---- by names and attributes ----

void TDataTable::SortRowNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) {
  const auto Key = [&](int32_t R) { return IgnoreCase ? FoldedCase(FRowName[Ix1(R)]) : FRowName[Ix1(R)]; };
  if (!TSorting::Lines<true>(*this, Ascending, LowCol, LowRow, HighCol, HighRow, Key)) return;
  ChangedData();
  ChangedNames();
}

void TDataTable::SortColNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) {
  const auto Key = [&](int32_t C) { return IgnoreCase ? FoldedCase(FColName[Ix1(C)]) : FColName[Ix1(C)]; };
  if (!TSorting::Lines<false>(*this, Ascending, LowCol, LowRow, HighCol, HighRow, Key)) return;
  ChangedData();
  ChangedNames();
}

void TDataTable::SortRowAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                   int32_t HighRow) {
  const auto Key = [&](int32_t R) { return FRowAtt[Ix1(R)]; };
  if (!TSorting::Lines<true>(*this, Ascending, LowCol, LowRow, HighCol, HighRow, Key)) return;
  ChangedData();
  ChangedAttrib();
}

void TDataTable::SortColAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                   int32_t HighRow) {
  const auto Key = [&](int32_t C) { return FColAtt[Ix1(C)]; };
  if (!TSorting::Lines<false>(*this, Ascending, LowCol, LowRow, HighCol, HighRow, Key)) return;
  ChangedData();
  ChangedAttrib();
}

}  // namespace orv
