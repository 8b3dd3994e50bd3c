// TCurveFit: export and import of the pairs as an ASC text file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "linalg/component.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_filesys.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

std::string TCurveFit::ExportAsASC(const std::string& FName, const std::string& Comment, int32_t Precision) const {
  TTextFile F;
  try {
    F.Rewrite(FName);
  } catch (const EInOutError& E) {
    return E.what();
  }
  // A line break inside the comment would end the header's first line early.
  std::string Head = Comment.empty() ? "Exported by ORV TCurveFit component: " + FName : Comment;
  std::replace(Head.begin(), Head.end(), '\n', ' ');
  std::replace(Head.begin(), Head.end(), '\r', ' ');
  F.WriteLn(Head);
  F.WriteLn("2\t;nr. of columns");
  F.WriteLn(std::to_string(FNumData) + "\t;nr. of rows");
  F.WriteLn("FALSE TRUE FALSE\t;row attributes, column names, row names");
  F.WriteLn("x   y");
  for (int32_t I = 1; I <= FNumData; ++I) F.WriteLn(strff(DataX(I), 1, Precision) + "\t" + strff(DataY(I), 1, Precision));
  F.Close();
  return {};
}

namespace {

// Feeds characters to ParseQuotedName until it completes a name; false when
// the file ends first.
bool SkipName(TTextFile& F) {
  std::string Name;
  TQuotedStrState State = qsWaiting;
  char Ch;
  while (F.ReadChar(Ch))
    if (ParseQuotedName(Ch, '"', Name, State)) return true;
  // A name written without quotes also ends with the file.
  return State == qsInWord;
}

// The next word as a number; also the words Str writes for NaN and the
// infinities, so that every exported pair reads back.
bool ReadValue(TTextFile& F, double& X) {
  std::string W;
  if (!F.ReadWord(W)) return false;
  if (W == "NAN") X = std::numeric_limits<double>::quiet_NaN();
  else if (W == "+INF") X = std::numeric_limits<double>::infinity();
  else if (W == "-INF") X = -std::numeric_limits<double>::infinity();
  else return TryStrToFloat(W, X);
  return true;
}

}  // namespace

// The pairs are read aside and replace the old ones only when the whole file
// has been read: a failure leaves the fitter as it was.
int32_t TCurveFit::ImportASC(const std::string& FName) {
  Invalidate();
  std::string Comment;
  int32_t Cols = 0, Rows = 0;
  bool RowAttr = false, ColNames = false, RowNames = false, Nominal = false;
  const int32_t Code = ReadHeaderOfASC(FName, Comment, Cols, Rows, RowAttr, ColNames, RowNames, Nominal);
  if (Code != 0) return Code;
  if (Nominal) return -7;
  if (Cols != 2)
    throw EORVMath2Error("TCurveFit.ImportASC: number of columns must be 2 (is actually " + std::to_string(Cols) +
                         ").");
  std::vector<double> X, Y;
  int32_t Result = 0;
  try {
    TTextFile F;
    F.Reset(FName);
    std::string Line;
    for (int K = 0; K < 4; ++K) F.ReadLn(Line);
    if (ColNames)
      for (int K = 0; K < 2; ++K) SkipName(F);
    // The header's count is checked against the file's size; the vectors grow
    // as values arrive all the same, so a lying count costs nothing.
    const std::size_t Ahead = std::min<std::size_t>(detail::Ix(Rows), 1u << 16);
    detail::GuardAlloc<EORVMath2Error>(*this, "not enough memory on heap", [&] {
      X.reserve(Ahead);
      Y.reserve(Ahead);
    });
    for (int32_t I = 0; I < Rows && Result == 0; ++I) {
      double Attr = 0, Vx = 0, Vy = 0;
      if (RowAttr && !F.ReadReal(Attr)) {
        Result = -5;
        break;
      }
      if (RowNames) SkipName(F);
      if (!ReadValue(F, Vx) || !ReadValue(F, Vy)) {
        Result = -6;
        break;
      }
      detail::GuardAlloc<EORVMath2Error>(*this, "not enough memory on heap", [&] {
        X.push_back(Vx);
        Y.push_back(Vy);
      });
    }
    F.Close();
  } catch (const EInOutError&) {
    return ascNoFile;  // the file went away or could not be read after its header
  }
  if (Result != 0) return Result;
  if (Rows > FData.NrOfRows())
    detail::GuardAlloc<EORVMath2Error>(*this, "not enough memory on heap", [&] { FData.Resize(2, Rows); });
  // Nothing below can fail.
  Init();
  std::copy(X.begin(), X.end(), FData.Mat[0].begin());
  std::copy(Y.begin(), Y.end(), FData.Mat[1].begin());
  for (std::size_t I = 0; I < X.size(); ++I) AdjustSums<true>(X[I], Y[I]);
  FNumData = Rows;
  return 0;
}

}  // namespace orv
