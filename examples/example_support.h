// What the example programs share: the answer to -h and --help, the data
// files the project carries, and a careful reader of CSV lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <orvcalckit/orvcalckit.h>

#ifndef ORV_EXAMPLE_DATA_DIR
#define ORV_EXAMPLE_DATA_DIR "data"
#endif

namespace example {

// True, with the usage text on stdout, when the first argument asks for it.
inline bool AnswerHelp(int argc, char** argv, const char* Usage) {
  if (argc < 2 || (std::strcmp(argv[1], "-h") != 0 && std::strcmp(argv[1], "--help") != 0)) return false;
  std::fputs(Usage, stdout);
  return true;
}

// Before any work: -1 to go on, else the exit code, 0 after the usage text
// or 2 after more than MaxArgs arguments.
inline int CheckArguments(int argc, char** argv, const char* Usage, int MaxArgs) {
  if (AnswerHelp(argc, argv, Usage)) return 0;
  if (argc - 1 <= MaxArgs) return -1;
  std::fprintf(stderr, "%s: at most %d argument%s; %s --help tells more\n", argv[0], MaxArgs, MaxArgs == 1 ? "" : "s",
               argv[0]);
  return 2;
}

// data/<Name> of the project: from the repository root (tools/run-example),
// else from the source tree the program was built from.
inline std::string DataFile(const std::string& Name) {
  const std::string Local = "data/" + Name;
  if (std::ifstream(Local)) return Local;
  return std::string(ORV_EXAMPLE_DATA_DIR) + "/" + Name;
}

// The most one line may hold: far more than a row of MaxEigenSize numbers
// needs, and what keeps a file without line breaks from being read whole.
constexpr int64_t MaxLineBytes = int64_t{1} << 24;

enum class TLine { Read, End, TooLong, Nul };

// The next line without its line break, at most MaxLineBytes long.
inline TLine ReadLine(std::streambuf& In, std::string& Line) {
  Line.clear();
  bool Any = false;
  for (int C = In.sbumpc(); C != std::char_traits<char>::eof(); C = In.sbumpc()) {
    Any = true;
    if (C == '\n') return TLine::Read;
    if (C == 0) return TLine::Nul;
    if (static_cast<int64_t>(Line.size()) == MaxLineBytes) return TLine::TooLong;
    Line += static_cast<char>(C);
  }
  return Any ? TLine::Read : TLine::End;
}

// The fields of a CSV line, quotes dropped and blanks around them stripped.
inline std::vector<std::string> SplitFields(const std::string& Line) {
  std::vector<std::string> Fields(1);
  for (char Ch : Line) {
    if (Ch == ',')
      Fields.emplace_back();
    else if (Ch != '"')
      Fields.back() += Ch;
  }
  for (auto& F : Fields) F = orv::StripLTBlanks(F);
  return Fields;
}

// A table the project carries: a header row of names, then rows of Numbers
// numbers each, followed by a label when Labelled.
struct TTable {
  std::vector<std::string> Names;
  std::vector<std::vector<double>> Rows;
  std::vector<std::string> Labels;
};

// Reads FileName into Table; false, with the reason on stderr, when it cannot.
inline bool ReadTable(const std::string& FileName, std::size_t Numbers, bool Labelled, TTable& Table) {
  const auto Fail = [](const std::string& Why) {
    std::fprintf(stderr, "%s\n", Why.c_str());
    return false;
  };
  std::ifstream In(FileName, std::ios::binary);
  if (!In) return Fail("cannot open " + FileName);
  const std::size_t Width = Numbers + (Labelled ? 1 : 0);
  std::string Line;
  for (int64_t LineNo = 1;; ++LineNo) {
    const TLine Got = ReadLine(*In.rdbuf(), Line);
    if (Got == TLine::End) break;
    const std::string Where = FileName + ", line " + std::to_string(LineNo) + ": ";
    if (Got != TLine::Read) return Fail(Where + "no line of CSV text");
    if (Line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::vector<std::string> Fields = SplitFields(Line);
    if (Fields.size() != Width)
      return Fail(Where + std::to_string(Fields.size()) + " fields where " + std::to_string(Width) + " are expected");
    if (Table.Names.empty()) {
      Table.Names = Fields;
      continue;
    }
    std::vector<double> Row(Numbers);
    for (std::size_t I = 0; I < Numbers; ++I)
      if (!orv::TryStrToFloat(Fields[I], Row[I]))
        return Fail(Where + "field " + std::to_string(I + 1) + " is not a number");
    Table.Rows.push_back(std::move(Row));
    if (Labelled) Table.Labels.push_back(Fields[Numbers]);
  }
  if (Table.Rows.empty()) return Fail(FileName + ": no rows of numbers");
  return true;
}

// The numbers of Table in a matrix: one column per variable, one row per object.
inline void FillMatrix(const TTable& Table, orv::TMatrix& M) {
  const auto Cols = static_cast<int32_t>(Table.Rows[0].size()), Rows = static_cast<int32_t>(Table.Rows.size());
  M.Resize(Cols, Rows);
  for (int32_t R = 1; R <= Rows; ++R)
    for (int32_t C = 1; C <= Cols; ++C)
      M.SetVal(C, R, Table.Rows[static_cast<std::size_t>(R - 1)][static_cast<std::size_t>(C - 1)]);
}

}  // namespace example
