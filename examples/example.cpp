// The typical request: principal components of a data set (the usage text
// below says what it does and takes).
//
// It refuses, with the reason and a nonzero exit, what it cannot analyse
// soundly: lines over 16 MiB or with NUL bytes (no CSV text), more columns
// than CalcPrincComp takes (MaxEigenSize), and values so far apart that the
// sums of their squared deviations overflow.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <orvcalckit/orvcalckit.h>

#include "example_support.h"

namespace {

using example::MaxLineBytes;
using example::ReadLine;
using example::SplitFields;
using example::TLine;

const char* const Usage =
    "Usage: orvcalckit_example [FILE.csv [FIRST-COLUMN LAST-COLUMN]]\n"
    "\n"
    "Principal components of a table of measurements. The table is loaded into a\n"
    "TMatrix (one column per variable, one row per object) and CalcPrincComp\n"
    "analyses the chosen columns with the correlation scaling, so that variables\n"
    "of different units weigh alike. Printed: the eigenvalues with their share of\n"
    "the total variance and the loadings of the first three components; progress\n"
    "goes to stderr on the way (a line every few seconds when it is no terminal).\n"
    "\n"
    "  (no argument)  the data the project carries: data/wine.csv, 178 wines from\n"
    "                 three cultivars of one region of Italy, 13 chemical\n"
    "                 measurements each (Forina et al., UCI Machine Learning\n"
    "                 Repository); columns 1..13\n"
    "  FILE.csv       a CSV file of numbers, with or without a header row of\n"
    "                 column names; all its columns\n"
    "  FIRST-COLUMN LAST-COLUMN\n"
    "                 only these columns of FILE.csv, counted from 1\n"
    "  -h, --help     this text\n"
    "\n"
    "Exit status: 0 done; 1 the data cannot be analysed; 2 wrong arguments or\n"
    "columns. The reason of a failure goes to stderr.\n";


// The columns to analyse, 1-based; all of them when AllColumns.
struct TChoice {
  int32_t First = 1, Last = 13;
  bool AllColumns = false;
};

struct TTable {
  std::vector<std::string> Names;  // every column of the file
  int32_t First = 0, Last = 0;     // the columns kept
  std::vector<double> Values;      // of the columns kept, row by row
  int64_t Rows = 0;
  std::vector<int64_t> TextLine;   // per column kept: first line with a field that is not a number, or 0
  int32_t Kept() const { return Last - First + 1; }
  double At(int64_t Row, int32_t Col) const { return Values[static_cast<std::size_t>(Row * Kept() + Col)]; }
};

// A failure to report: the message and the exit code.
struct TFailure {
  std::string Message;
  int Code = 1;
};

// The columns to keep, once the number of columns is known.
bool ChooseColumns(const TChoice& Choice, TTable& Table, TFailure& Failure) {
  const auto NCols = static_cast<int64_t>(Table.Names.size());
  const int64_t First = Choice.AllColumns ? 1 : Choice.First, Last = Choice.AllColumns ? NCols : Choice.Last;
  if (First < 1 || Last > NCols || Last <= First) {
    Failure = {"columns " + std::to_string(First) + ".." + std::to_string(Last) + ": the table has columns 1.." +
                   std::to_string(NCols) + "; at least two are needed",
               2};
    return false;
  }
  if (Last - First + 1 > orv::MaxEigenSize) {
    Failure = {"columns " + std::to_string(First) + ".." + std::to_string(Last) + ": " +
                   std::to_string(Last - First + 1) + " variables, but CalcPrincComp analyses at most " +
                   std::to_string(orv::MaxEigenSize) + " (MaxEigenSize); choose fewer with FIRST-COLUMN LAST-COLUMN",
               2};
    return false;
  }
  Table.First = static_cast<int32_t>(First);
  Table.Last = static_cast<int32_t>(Last);
  Table.TextLine.assign(static_cast<std::size_t>(Table.Kept()), 0);
  return true;
}

// Reads a CSV table: a header row of names (or none, when the first row is
// numbers), then rows of as many fields each. Fields that are not numbers
// (labels) are noted per column; only the columns analysed must be numbers,
// and only they are kept.
bool ReadCsv(const std::string& FileName, const TChoice& Choice, TTable& Table, TFailure& Failure) {
  std::ifstream In(FileName, std::ios::binary);
  if (!In) {
    Failure = {"cannot open " + FileName};
    return false;
  }
  std::string Line;
  int64_t LineNo = 0;
  for (;;) {
    const TLine Got = ReadLine(*In.rdbuf(), Line);
    if (Got == TLine::End) break;
    ++LineNo;
    const std::string Where = FileName + ", line " + std::to_string(LineNo) + ": ";
    if (Got == TLine::Nul) {
      Failure = {Where + "holds a NUL byte; this is no text file"};
      return false;
    }
    if (Got == TLine::TooLong) {
      Failure = {Where + "longer than " + std::to_string(MaxLineBytes) +
                 " bytes, the most this program reads as one row (is it a CSV text file?)"};
      return false;
    }
    if (Line.find_first_not_of(" \t\r") == std::string::npos) continue;
    const std::vector<std::string> Fields = SplitFields(Line);
    bool Numeric = true;
    for (std::size_t I = 0; I < Fields.size() && Numeric; ++I) {
      double X = 0.0;
      Numeric = orv::TryStrToFloat(Fields[I], X);
    }
    if (Table.Names.empty()) {
      if (Numeric) {
        for (std::size_t I = 0; I < Fields.size(); ++I) Table.Names.push_back("column " + std::to_string(I + 1));
      } else {
        Table.Names = Fields;
      }
      if (!ChooseColumns(Choice, Table, Failure)) return false;
      if (!Numeric) continue;
    }
    if (Fields.size() != Table.Names.size()) {
      Failure = {Where + std::to_string(Fields.size()) + " fields where the header has " +
                 std::to_string(Table.Names.size())};
      return false;
    }
    if (Table.Rows == INT32_MAX) {
      Failure = {Where + "more rows than a TMatrix holds"};
      return false;
    }
    for (int32_t K = 0; K < Table.Kept(); ++K) {
      const auto I = static_cast<std::size_t>(Table.First - 1 + K);
      double X = 0.0;
      if (!orv::TryStrToFloat(Fields[I], X) && Table.TextLine[K] == 0) Table.TextLine[K] = LineNo;
      Table.Values.push_back(X);
    }
    ++Table.Rows;
  }
  if (Table.Rows < 2) {
    Failure = {FileName + ": fewer than two rows of numbers"};
    return false;
  }
  return true;
}

// The correlations divide sums of squared deviations; where those overflow
// the double range there is nothing sound to print.
bool SumsStayInRange(const std::string& FileName, const TTable& Table, TFailure& Failure) {
  for (int32_t C = 0; C < Table.Kept(); ++C) {
    const double Shift = Table.At(0, C);
    double Sum = 0.0, SumSq = 0.0;
    for (int64_t R = 0; R < Table.Rows; ++R) {
      const double D = Table.At(R, C) - Shift;
      Sum += D;
      SumSq += D * D;
    }
    const double Mean = Sum / static_cast<double>(Table.Rows);
    double Dev = 0.0;
    for (int64_t R = 0; R < Table.Rows; ++R) {
      const double D = (Table.At(R, C) - Shift) - Mean;
      Dev += D * D;
    }
    if (!std::isfinite(SumSq) || !std::isfinite(Dev)) {
      const int32_t Col = Table.First + C;
      Failure = {FileName + ": column " + std::to_string(Col) + " (" + Table.Names[static_cast<std::size_t>(Col - 1)] +
                 ") spreads so wide that the sums of its squared deviations overflow the double range; "
                 "scale it down before the analysis"};
      return false;
    }
  }
  return true;
}

// Progress on stderr: a line that updates itself on a terminal, else a line
// every few seconds, naming the stage the passes have reached.
class TProgress {
 public:
  TProgress(int64_t Rows, int64_t M)
      : FLive(isatty(fileno(stderr)) != 0),
        FCovarPasses(static_cast<double>(Rows) * (1 + static_cast<double>(M) * static_cast<double>(M + 1) / 2)),
        FSweepPasses(1 + static_cast<double>(M) * static_cast<double>(M - 1) / 2),
        FStart(orv::ProcStat),
        FClockStart(std::chrono::steady_clock::now()),
        FLast(FClockStart) {}

  int64_t Reports() const { return FReports; }

  void Report(double Passes) {
    if (++FReports % 256 != 0) return;
    const auto Now = std::chrono::steady_clock::now();
    if (Now - FLast < (FLive ? std::chrono::milliseconds(200) : std::chrono::milliseconds(5000))) return;
    FLast = Now;
    const double Done = Passes - FStart;
    std::string Stage;
    if (Done < FCovarPasses) {
      Stage = "correlation matrix " + orv::strff(100 * Done / FCovarPasses, 0, 0) + " %";
    } else {
      const double Sweeps = (Done - FCovarPasses) / FSweepPasses;
      Stage = "Jacobi sweep " + orv::strff(std::floor(Sweeps) + 1, 0, 0) + " (at most 100), " +
              orv::strff(100 * (Sweeps - std::floor(Sweeps)), 0, 0) + " %";
    }
    const auto Seconds = std::chrono::duration_cast<std::chrono::seconds>(Now - FClockStart).count();
    std::fprintf(stderr, FLive ? "\r  working: %s, %lld s   " : "working: %s, %lld s\n", Stage.c_str(),
                 static_cast<long long>(Seconds));
    FShown = true;
  }

  void Done() const {
    if (FLive && FShown) std::fprintf(stderr, "\r%60s\r", "");
  }

 private:
  bool FLive;
  double FCovarPasses, FSweepPasses, FStart;
  std::chrono::steady_clock::time_point FClockStart, FLast;
  int64_t FReports = 0;
  bool FShown = false;
};

std::string Padded(const std::string& S, std::size_t Width) {
  return S.size() >= Width ? S.substr(0, Width) : S + std::string(Width - S.size(), ' ');
}

}  // namespace

int main(int argc, char** argv) {
  if (example::AnswerHelp(argc, argv, Usage)) return 0;
  std::string FileName = example::DataFile("wine.csv");
  TChoice Choice;
  if (argc == 2 || argc == 4) {
    FileName = argv[1];
    Choice.AllColumns = argc == 2;
    if (argc == 4 && !(orv::TryStrToInt(argv[2], Choice.First) && orv::TryStrToInt(argv[3], Choice.Last))) {
      std::fprintf(stderr, "%s %s: column numbers expected\n", argv[2], argv[3]);
      return 2;
    }
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [FILE.csv [FIRST-COLUMN LAST-COLUMN]]; %s --help tells more\n", argv[0], argv[0]);
    return 2;
  }

  TTable Table;
  TFailure Failure;
  if (!ReadCsv(FileName, Choice, Table, Failure) || !SumsStayInRange(FileName, Table, Failure)) {
    std::fprintf(stderr, "%s\n", Failure.Message.c_str());
    return Failure.Code;
  }
  const auto NCols = static_cast<int32_t>(Table.Names.size());
  const auto NRows = static_cast<int32_t>(Table.Rows);
  const int32_t First = Table.First, Last = Table.Last, Kept = Table.Kept();
  for (int32_t C = 0; C < Kept; ++C)
    if (Table.TextLine[C] != 0) {
      std::fprintf(stderr, "%s, line %lld: column %d (%s) holds a field that is not a number; choose the columns "
                   "with FIRST-COLUMN LAST-COLUMN\n", FileName.c_str(), static_cast<long long>(Table.TextLine[C]),
                   First + C, Table.Names[First + C - 1].c_str());
      return 1;
    }

  orv::TMatrix Data(nullptr);
  Data.Resize(Kept, NRows);
  for (int32_t R = 0; R < NRows; ++R)
    for (int32_t C = 0; C < Kept; ++C) Data.SetVal(C + 1, R + 1, Table.At(R, C));
  Table.Values = {};

  // The Jacobi method's work grows with the cube of the matrix size.
  if (Kept >= 500)
    std::fprintf(stderr, "%d variables: a %d x %d correlation matrix and eigenproblem, which may take long; "
                 "progress follows\n", Kept, Kept, Kept);
  TProgress Progress(NRows, Kept);
  orv::MathFeedBackProc = [&](double Passes) { Progress.Report(Passes); };
  const double Start = orv::ProcStat;
  const bool Ok = orv::CalcPrincComp(&Data, 1, Kept, 0, 0, orv::csCorrelation, false);
  orv::MathFeedBackProc = nullptr;
  Progress.Done();
  if (!Ok) {
    std::fprintf(stderr, "CalcPrincComp failed: the Jacobi method did not converge within 100 sweeps\n");
    return 1;
  }
  const int64_t Reports = Progress.Reports();

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
