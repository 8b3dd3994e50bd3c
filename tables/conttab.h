// Contingency tables with margins, as TDataTable::CreateContingencyTable
// builds them and the statistics of ORV_statis read them. Internal.
//
// A TInt2DArray indexed [column][row], like every 2-D array of the library.
// Its first Cols() columns and Rows() rows hold the counts; one more column
// (the last, T[Cols()]) holds the row totals, one more row (the last entry of
// every column, T[c][Rows()]) the column totals, and the last cell the grand
// total:
//
//              column 0 .. Cols()-1    column Cols()
//   row j      Cell(c, j)              RowTotal(j)
//   row Rows() ColTotal(c)             GrandTotal()
//
// From TDataTable the columns are the categories of the first data column
// and the rows those of the second. (The method's own description calls the
// last column "column sums": sums over the first column's categories.)
#pragma once

#include <cstdint>

#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// A view of a contingency table with margins; Grid is TInt2DArray or const
// TInt2DArray. The table must be Shaped().
template <class Grid>
class TContTabRef {
 public:
  explicit TContTabRef(Grid& T) : FT(T) {}

  // At least one cell, and every column as long as the first.
  static bool Shaped(const TInt2DArray& T) {
    if (T.empty() || T.front().empty()) return false;
    for (const TIntArray& C : T)
      if (C.size() != T.front().size()) return false;
    return true;
  }

  int32_t Cols() const { return static_cast<int32_t>(FT.size()) - 1; }
  int32_t Rows() const { return static_cast<int32_t>(FT.front().size()) - 1; }
  auto& Cell(int32_t Col, int32_t Row) const { return FT[Ix(Col)][Ix(Row)]; }
  auto& RowTotal(int32_t Row) const { return FT.back()[Ix(Row)]; }
  auto& ColTotal(int32_t Col) const { return FT[Ix(Col)].back(); }
  auto& GrandTotal() const { return FT.back().back(); }

 private:
  Grid& FT;
};

}  // namespace orv::detail
