// Base unit Orv_filesys: ASC headers and words of text files.
#include "orvcorekit/Orv_filesys.h"

#include <array>

#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

bool ReadNextWordInTextFile(TTextFile& F, std::string& Word) { return F.ReadWord(Word); }

namespace {

// The text of a header line before its remark.
std::string ValuePart(const std::string& Line) { return StripLTBlanks(Line.substr(0, Line.find(';'))); }

}  // namespace

int32_t ReadHeaderOfASC(const std::string& FileName, std::string& Comment, int32_t& NrOfColumns, int32_t& NrOfRows,
                        bool& RowAttributes, bool& ColumnNames, bool& RowNames, bool& NominalVars) {
  std::array<std::string, 4> Lines;
  int64_t Rest = 0;
  try {
    TTextFile F;
    F.Reset(FileName);
    for (std::string& L : Lines)
      if (!F.ReadLn(L)) return ascShortHeader;
    Rest = F.Size() - F.Position();
  } catch (const EInOutError&) {
    return ascNoFile;
  }
  int32_t Cols = 0, Rows = 0;
  if (!TryStrToInt(ValuePart(Lines[1]), Cols) || !TryStrToInt(ValuePart(Lines[2]), Rows) || Cols < 1 || Rows < 0 ||
      static_cast<int64_t>(Cols) * Rows > Rest)
    return ascBadCounts;
  std::vector<std::string> Words;
  const int32_t NFlags = Tokenize(ValuePart(Lines[3]), Words);
  if (NFlags < 3 || NFlags > 4) return ascBadFlags;
  static constexpr std::array<std::string_view, 2> FlagWords{"FALSE", "TRUE"};
  std::array<bool, 4> Flags{};
  for (int32_t i = 0; i < NFlags; ++i) {
    const int32_t Ix = StringIx(Words[static_cast<size_t>(i)], true, FlagWords);
    if (Ix == 0) return ascBadFlags;
    Flags[static_cast<size_t>(i)] = Ix == 2;
  }
  Comment = Lines[0];
  NrOfColumns = Cols;
  NrOfRows = Rows;
  RowAttributes = Flags[0];
  ColumnNames = Flags[1];
  RowNames = Flags[2];
  NominalVars = Flags[3];
  return 0;
}

}  // namespace orv
