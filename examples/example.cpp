// The typical request: principal components of a data set.
//
//   orvcalckit_example                         the wine data carried by the project
//                                              (data/wine.csv, its 13 measurements)
//   orvcalckit_example FILE.csv [FIRST LAST]   columns FIRST..LAST (from 1) of a CSV
//                                              file of numbers, all columns by default
//
// The table is loaded into a TMatrix (one column per variable, one row per
// object) and CalcPrincComp runs on the chosen columns with the correlation
// scaling, so that variables of different units weigh alike. The program
// prints the eigenvalues with their share of the total variance and the
// loadings of the first components, and reports progress on the way.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <orvcalckit/orvcalckit.h>

namespace {

#ifndef ORV_EXAMPLE_DATA_DIR
#define ORV_EXAMPLE_DATA_DIR "data"
#endif

struct TTable {
  std::vector<std::string> Names;
  std::vector<std::vector<double>> Rows;
  std::vector<int64_t> TextLine;  // per column: first line with a field that is not a number, or 0
};

// The fields of a CSV line, quotes dropped and blanks around them stripped.
std::vector<std::string> SplitFields(const std::string& Line) {
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

// Reads a CSV table: a header row of names (or none, when the first row is
// numbers), then rows of as many fields each. Fields that are not numbers
// (labels) are noted per column; only the columns analysed must be numbers.
bool ReadCsv(const std::string& FileName, TTable& Table, std::string& Error) {
  std::ifstream In(FileName);
  if (!In) {
    Error = "cannot open " + FileName;
    return false;
  }
  std::string Line;
  int64_t LineNo = 0;
  while (std::getline(In, Line)) {
    ++LineNo;
    if (Line.find_first_not_of(" \t\r") == std::string::npos) continue;
    const std::vector<std::string> Fields = SplitFields(Line);
    std::vector<double> Row(Fields.size(), 0.0);
    bool Numeric = true;
    for (std::size_t I = 0; I < Fields.size() && Numeric; ++I) Numeric = orv::TryStrToFloat(Fields[I], Row[I]);
    if (Table.Names.empty()) {
      if (Numeric) {
        for (std::size_t I = 0; I < Fields.size(); ++I) Table.Names.push_back("column " + std::to_string(I + 1));
      } else {
        Table.Names = Fields;
        continue;
      }
    }
    if (Fields.size() != Table.Names.size()) {
      Error = FileName + ", line " + std::to_string(LineNo) + ": " + std::to_string(Fields.size()) +
              " fields where the header has " + std::to_string(Table.Names.size());
      return false;
    }
    Table.TextLine.resize(Fields.size(), 0);
    for (std::size_t I = 0; I < Fields.size(); ++I)
      if (!orv::TryStrToFloat(Fields[I], Row[I]) && Table.TextLine[I] == 0) Table.TextLine[I] = LineNo;
    Table.Rows.push_back(std::move(Row));
  }
  if (Table.Rows.size() < 2) {
    Error = FileName + ": fewer than two rows of numbers";
    return false;
  }
  return true;
}

std::string DefaultDataFile() {
  // From the repository root (tools/run-example), else from the source tree.
  const std::string Local = "data/wine.csv";
  if (std::ifstream(Local)) return Local;
  return std::string(ORV_EXAMPLE_DATA_DIR) + "/wine.csv";
}

std::string Padded(const std::string& S, std::size_t Width) {
  return S.size() >= Width ? S.substr(0, Width) : S + std::string(Width - S.size(), ' ');
}

}  // namespace

int main(int argc, char** argv) {
  std::string FileName = DefaultDataFile();
  int32_t First = 1, Last = 13;
  bool AllColumns = false;
  if (argc == 2 || argc == 4) {
    FileName = argv[1];
    AllColumns = argc == 2;
    if (argc == 4 && !(orv::TryStrToInt(argv[2], First) && orv::TryStrToInt(argv[3], Last))) {
      std::fprintf(stderr, "%s %s: column numbers expected\n", argv[2], argv[3]);
      return 2;
    }
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [FILE.csv [FIRST-COLUMN LAST-COLUMN]]\n", argv[0]);
    return 2;
  }

  TTable Table;
  std::string Error;
  if (!ReadCsv(FileName, Table, Error)) {
    std::fprintf(stderr, "%s\n", Error.c_str());
    return 1;
  }
  const auto NCols = static_cast<int32_t>(Table.Names.size());
  const auto NRows = static_cast<int32_t>(Table.Rows.size());
  if (AllColumns) {
    First = 1;
    Last = NCols;
  }
  if (First < 1 || Last > NCols || Last <= First) {
    std::fprintf(stderr, "columns %d..%d: the table has columns 1..%d; at least two are needed\n", First, Last,
                 NCols);
    return 2;
  }
  for (int32_t C = First; C <= Last; ++C)
    if (Table.TextLine[C - 1] != 0) {
      std::fprintf(stderr, "%s, line %lld: column %d (%s) holds a field that is not a number; choose the columns "
                   "with FIRST-COLUMN LAST-COLUMN\n", FileName.c_str(), static_cast<long long>(Table.TextLine[C - 1]),
                   C, Table.Names[C - 1].c_str());
      return 1;
    }

  orv::TMatrix Data(nullptr);
  Data.Resize(NCols, NRows);
  for (int32_t R = 0; R < NRows; ++R)
    for (int32_t C = 0; C < NCols; ++C) Data.SetVal(C + 1, R + 1, Table.Rows[R][C]);

  const bool Live = isatty(fileno(stderr));
  int64_t Reports = 0;
  orv::MathFeedBackProc = [&](double Passes) {
    if (++Reports % 500 == 0 && Live) std::fprintf(stderr, "\r  working: %s passes", orv::strff(Passes, 0, 0).c_str());
  };
  const double Start = orv::ProcStat;
  const bool Ok = orv::CalcPrincComp(&Data, First, Last, 0, 0, 2, false);
  orv::MathFeedBackProc = nullptr;
  if (Live && Reports >= 500) std::fprintf(stderr, "\r%40s\r", "");
  if (!Ok) {
    std::fprintf(stderr, "CalcPrincComp failed\n");
    return 1;
  }

  const int32_t M = orv::GetEigenSize();
  std::printf("Principal components of %s\n", FileName.c_str());
  std::printf("%d objects, variables %d..%d of %d, correlation scaling\n", NRows, First, Last, NCols);
  std::printf("progress: %lld reports through MathFeedBackProc, %s passes\n\n", static_cast<long long>(Reports),
              orv::strff(orv::ProcStat - Start, 0, 0).c_str());

  double Total = 0;
  for (int32_t I = 1; I <= M; ++I) Total += orv::GetEigenResult(I, 0);
  std::printf("component  eigenvalue  share %%  cumulative %%\n");
  double Cumulative = 0;
  for (int32_t I = 1; I <= M; ++I) {
    const double L = orv::GetEigenResult(I, 0);
    Cumulative += L;
    std::printf("%9d %11s %8s %13s\n", I, orv::strff(L, 0, 4).c_str(), orv::strff(100 * L / Total, 0, 2).c_str(),
                orv::strff(100 * Cumulative / Total, 0, 2).c_str());
  }

  const int32_t Shown = M < 3 ? M : 3;
  std::printf("\nloadings (eigenvector coefficients) of the first %d components\n", Shown);
  std::printf("%s", Padded("variable", 22).c_str());
  for (int32_t I = 1; I <= Shown; ++I) std::printf("%9s", ("PC" + std::to_string(I)).c_str());
  std::printf("\n");
  for (int32_t K = 1; K <= M; ++K) {
    std::printf("%s", Padded(Table.Names[First + K - 2], 22).c_str());
    for (int32_t I = 1; I <= Shown; ++I) std::printf("%9s", orv::strff(orv::GetEigenResult(I, K), 0, 4).c_str());
    std::printf("\n");
  }
  orv::RemoveEigenMatrix();
  return 0;
}
