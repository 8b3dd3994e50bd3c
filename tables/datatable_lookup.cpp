// TDataTable: queries on the row and column attributes, and finding a row or
// column by its name.
#include <algorithm>
#include <functional>
#include <string_view>

#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

using detail::Ix1;

namespace {

// The attribute of Lo..Hi that Better prefers to all others, and the first
// position holding it; an empty range gives 0 at position 0.
template <class Better>
int32_t ExtremeAttrib(const TIntArray& Att, int32_t Lo, int32_t Hi, int32_t& Pos, Better B) {
  Pos = 0;
  if (Lo > Hi) return 0;
  Pos = Lo;
  for (int32_t I = Lo + 1; I <= Hi; ++I)
    if (B(Att[Ix1(I)], Att[Ix1(Pos)])) Pos = I;
  return Att[Ix1(Pos)];
}

int32_t DistinctValues(TIntArray Att) {
  std::sort(Att.begin(), Att.end());
  return static_cast<int32_t>(std::unique(Att.begin(), Att.end()) - Att.begin());
}

// Without leading and trailing blanks (character 32 only).
std::string_view TrimBlanks(std::string_view S) {
  const auto First = S.find_first_not_of(' ');
  if (First == std::string_view::npos) return {};
  return S.substr(First, S.find_last_not_of(' ') - First + 1);
}

int32_t FindName(const std::vector<TDTNameStr>& Names, std::string_view ID) {
  const std::string_view Key = TrimBlanks(ID);
  for (std::size_t I = 0; I < Names.size(); ++I)
    if (SameText(TrimBlanks(Names[I]), Key)) return static_cast<int32_t>(I) + 1;
  return 0;
}

}  // namespace

int32_t TDataTable::MaxRowAttrib(int32_t FirstRow, int32_t LastRow, int32_t& Row) const {
  MakeValidRowRange(FirstRow, LastRow);
  return ExtremeAttrib(FRowAtt, FirstRow, LastRow, Row, std::greater<int32_t>());
}

int32_t TDataTable::MinRowAttrib(int32_t FirstRow, int32_t LastRow, int32_t& Row) const {
  MakeValidRowRange(FirstRow, LastRow);
  return ExtremeAttrib(FRowAtt, FirstRow, LastRow, Row, std::less<int32_t>());
}

int32_t TDataTable::MaxColAttrib(int32_t FirstCol, int32_t LastCol, int32_t& Col) const {
  MakeValidColRange(FirstCol, LastCol);
  return ExtremeAttrib(FColAtt, FirstCol, LastCol, Col, std::greater<int32_t>());
}

int32_t TDataTable::MinColAttrib(int32_t FirstCol, int32_t LastCol, int32_t& Col) const {
  MakeValidColRange(FirstCol, LastCol);
  return ExtremeAttrib(FColAtt, FirstCol, LastCol, Col, std::less<int32_t>());
}

int32_t TDataTable::RowAttribLevels() const { return DistinctValues(FRowAtt); }
int32_t TDataTable::ColAttribLevels() const { return DistinctValues(FColAtt); }

int32_t TDataTable::FindColIndex(const TDTNameStr& ColID) const { return FindName(FColName, ColID); }
int32_t TDataTable::FindRowIndex(const TDTNameStr& RowID) const { return FindName(FRowName, RowID); }

}  // namespace orv
