// Base unit Orv_filesys: ASC headers and words of text files.
#pragma once

#include <cstdint>
#include <string>

#include "Orv_export.h"
#include "Orv_streams.h"

namespace orv {

// The next word of F (TTextFile::ReadWord): blanks, TABs and line breaks
// separate words. False when none is left.
ORVCORE_API bool ReadNextWordInTextFile(TTextFile& F, std::string& Word);

// Codes of ReadHeaderOfASC. They lie apart from the callers' own codes (-5 to -8).
inline constexpr int32_t ascNoFile = -1;         // the file cannot be opened or read
inline constexpr int32_t ascShortHeader = -2;    // fewer than four lines
inline constexpr int32_t ascBadCounts = -3;      // column or row count not valid
inline constexpr int32_t ascBadFlags = -4;       // the flag line not valid

// Reads the four header lines of an ASC file:
//   1  the comment (the whole line)
//   2  the number of columns, then optionally ";" and a remark
//   3  the number of rows, likewise
//   4  three or four flags TRUE or FALSE (either case), separated by blanks
//      or TABs, then optionally ";" and a remark: each row begins with a row
//      attribute; a line of column names follows the header; each row begins
//      with a row name; there are nominal variables. With three flags (the
//      curve fitter's form) the fourth is false.
// A count is a decimal integer alone before the remark; there must be at
// least one column, no negative number of rows, and no more values
// (columns x rows) than the rest of the file has bytes, so a caller may size
// its storage from them. Returns 0 with every output set, or one of the asc
// codes above with the outputs unchanged.
ORVCORE_API int32_t ReadHeaderOfASC(const std::string& FileName, std::string& Comment, int32_t& NrOfColumns,
                                    int32_t& NrOfRows, bool& RowAttributes, bool& ColumnNames, bool& RowNames,
                                    bool& NominalVars);

}  // namespace orv
