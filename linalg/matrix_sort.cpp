// Sorting the rows and columns of a TMatrix block.
#include "linalg/grid_sort.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

void TMatrix::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                       int32_t HighRow) {
  detail::SortGridLines<true>(*this, SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TMatrix::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                       int32_t HighRow) {
  detail::SortGridLines<false>(*this, SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

}  // namespace orv
