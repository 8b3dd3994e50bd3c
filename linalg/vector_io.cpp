// The external forms of TVector and TIntVector: the binary stream form, the
// ASC file and the plain text file. One template serves both classes; they
// differ only in how a number is written and read (TNumbers below). Every
// count of values read from an input is checked against the bytes left in
// it before the vector is sized from it.
#include <cstdint>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>
#include <string>

#include "core/extent.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_filesys.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

namespace {

template <class V>
struct TNumbers;

template <>
struct TNumbers<TVector> {
  static constexpr int64_t StreamBytes = 10;
  static constexpr const char* ClassText = "TVector";
  static void Write(TStream* S, double X) { WriteExtendedToStream(S, X); }
  static bool ReadIndex(TStream* S, int32_t& I) {
    double X;
    if (!ReadExtendedFromStream(S, X)) return false;
    I = RoundInt(X);
    return true;
  }
  static bool ReadValue(TStream* S, double& X) { return ReadExtendedFromStream(S, X); }
  static double FromReal(double X) { return X; }
};

template <>
struct TNumbers<TIntVector> {
  static constexpr int64_t StreamBytes = 4;
  static constexpr const char* ClassText = "TIntVector";
  static void Write(TStream* S, int32_t X) { WriteLongintToStream(S, X); }
  static bool ReadIndex(TStream* S, int32_t& I) { return ReadLongintFromStream(S, I); }
  static bool ReadValue(TStream* S, int32_t& X) { return ReadLongintFromStream(S, X); }
  static int32_t FromReal(double X) { return RoundInt(X); }
};

// Elements Low..High; none when Low > High.
int64_t RangeCount(int32_t Low, int32_t High) { return High >= Low ? int64_t{High} - Low + 1 : 0; }

// Whether AdjustVectorSize may size the vector to High: any size the word
// size can address. The elements below Low take no bytes of the input, so a
// range saved away from element 1 (95..100 of 100) sizes the vector from its
// high index alone, as the format says; a non-positive High is Resize's to
// refuse.
template <class V>
bool SizeAddressable(int32_t High) {
  return High <= 0 || detail::Addressable(High, sizeof(decltype(std::declval<V&>().GetVal(1))));
}

template <class V>
void SaveTo(const V& Vec, TStream* S, int32_t Low, int32_t High) {
  using N = TNumbers<V>;
  if (S == nullptr) return;
  Vec.MakeValidElemRange(Low, High);
  N::Write(S, Low);
  N::Write(S, High);
  for (int32_t I = Low; I <= High; ++I) N::Write(S, Vec.GetVal(I));
}

template <class V>
bool LoadFrom(V& Vec, TStream* S, bool Adjust) {
  using N = TNumbers<V>;
  int32_t Low, High;
  if (S == nullptr || !N::ReadIndex(S, Low) || !N::ReadIndex(S, High)) return false;
  // Each value takes StreamBytes: a range the rest cannot hold is refused
  // before it can size the vector.
  if (RangeCount(Low, High) > (S->Size() - S->Position()) / N::StreamBytes) return false;
  if (Adjust && !SizeAddressable<V>(High)) return false;
  if (Adjust) Vec.Resize(High);
  if (Vec.NrOfElem() < High) return false;
  bool Ok = true;
  for (int64_t I = Low; I <= High; ++I) {
    decltype(Vec.GetVal(1)) X;
    if (N::ReadValue(S, X))
      Vec.SetVal(static_cast<int32_t>(I), X);
    else
      Ok = false;
  }
  if (Vec.OnChange) Vec.OnChange(&Vec);
  return Ok;
}

template <class V>
int32_t ExportASC(const V& Vec, const std::string& FName, const std::string& Comment, auto&& Format) {
  TTextFile F;
  try {
    F.Rewrite(FName);
  } catch (const EInOutError&) {
    return -1;
  }
  // Past this point write errors reach the caller; F's destructor closes the file.
  const std::string Head = Comment.empty()
                               ? std::string("Exported by ORV ") + TNumbers<V>::ClassText + " component: " + FName
                               : ReplaceCharInString(Comment, '\n', ' ');
  F.WriteLn(Head);
  F.WriteLn("1\t;nr. of columns");
  F.WriteLn(std::to_string(Vec.NrOfElem()) + "\t;nr. of rows");
  F.WriteLn("FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal variables");
  for (int32_t I = 1; I <= Vec.NrOfElem(); ++I) F.WriteLn(Format(Vec.GetVal(I)));
  F.Close();
  return 0;
}

// Feeds characters to ParseQuotedName until it completes a name or the file ends.
void SkipQuotedName(TTextFile& F) {
  std::string Name;
  TQuotedStrState State = qsWaiting;
  char Ch;
  while (F.ReadChar(Ch))
    if (ParseQuotedName(Ch, '"', Name, State)) return;
}

template <class V>
int32_t ImportASCInto(V& Vec, const std::string& FName, std::string& Comment) {
  std::error_code Ec;
  if (!std::filesystem::exists(FName, Ec)) return -8;
  int32_t Cols = 0, Rows = 0;
  bool RowAttr = false, ColNames = false, RowNames = false, Nominal = false;
  const int32_t Code = ReadHeaderOfASC(FName, Comment, Cols, Rows, RowAttr, ColNames, RowNames, Nominal);
  if (Code == 0 && Cols > 1) return -7;
  if (Code != 0) return Code;
  if (Rows <= 0) return ascBadCounts;  // nothing to read into a vector of at least one element
  TTextFile F;
  try {
    F.Reset(FName);
    std::string Line;
    for (int K = 0; K < 4; ++K) F.ReadLn(Line);
  } catch (const EInOutError&) {
    return ascNoFile;
  }
  Vec.Resize(Rows);
  if (ColNames) SkipQuotedName(F);  // one column
  int32_t Result = 0, I = 1;
  for (; I <= Rows && Result == 0; ++I) {
    if (RowAttr) {
      double Attr;
      if (!F.ReadReal(Attr)) {
        Result = -5;
        break;
      }
    }
    if (RowNames) SkipQuotedName(F);
    std::string Word;
    double X = 0;
    if (!ReadNextWordInTextFile(F, Word)) {
      Result = -6;
      break;
    }
    Word = StripLTBlanks(Word);
    if (Word != "NAN" && Word != "###" && !TryStrToFloat(Word, X)) {
      Result = -6;
      break;
    }
    Vec.SetVal(I, TNumbers<V>::FromReal(X));
  }
  if (Result != 0) Vec.Resize(I);
  F.Close();
  return Result;
}

template <class V>
bool StoreOn(const V& Vec, int32_t First, int32_t Last, const std::string& FileName, auto&& Format) {
  try {
    TTextFile F;
    F.Rewrite(FileName);
    F.WriteLn(std::to_string(First) + " " + std::to_string(Last));
    for (int64_t I = First; I <= Last; ++I) F.WriteLn(Format(Vec.GetVal(static_cast<int32_t>(I))));
    F.Close();  // flushes: a full disk shows here
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

template <class V>
bool LoadFromText(V& Vec, const std::string& FileName, bool Adjust) {
  try {
    TTextFile F;
    F.Reset(FileName);
    int32_t Low, High;
    if (!F.ReadInteger(Low) || !F.ReadInteger(High)) return false;
    // Each value is a word and a separator: a range the rest cannot hold is
    // refused before it can size the vector.
    if (RangeCount(Low, High) > (F.Size() - F.Position() + 1) / 2) return false;
    if (Adjust && !SizeAddressable<V>(High)) return false;
    bool Ok = false;
    if (Adjust) Vec.Resize(High);
    if (Vec.NrOfElem() >= High) {
      Ok = true;
      for (int64_t I = Low; I <= High; ++I) {
        double X;
        if (F.ReadReal(X)) Vec.SetVal(static_cast<int32_t>(I), TNumbers<V>::FromReal(X));
      }
    }
    F.Close();
    if (Vec.OnChange) Vec.OnChange(&Vec);
    return Ok;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

// ---- TVector ----

void TVector::SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const {
  if (OutStream == nullptr) OutStream = new TMemoryStream;
  SaveTo(*this, OutStream, LowElem, HighElem);
}
void TVector::SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const {
  SaveTo(*this, OutStream, LowElem, HighElem);
}
bool TVector::LoadFromStream(TStream* InStream, bool AdjustVectorSize) {
  return LoadFrom(*this, InStream, AdjustVectorSize);
}

int32_t TVector::ExportAsASC(const std::string& FName, int32_t Precision, const std::string& Comment) const {
  return ExportASC(*this, FName, Comment, [Precision](double X) { return strff(X, 12, Precision); });
}
int32_t TVector::ImportASC(const std::string& FName, std::string& Comment) {
  return ImportASCInto(*this, FName, Comment);
}

bool TVector::StoreOnFile(int32_t FirstElem, int32_t LastElem, int32_t Precision, const std::string& FileName) const {
  if (Precision < -2) Precision = 2;
  if (Precision > 20) Precision = 20;
  const int32_t Width = Precision >= 0 ? 1 : Precision == -1 ? 13 : 26;
  if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
  MakeValidElemRange(FirstElem, LastElem);
  return StoreOn(*this, FirstElem, LastElem, FileName,
                 [Width, Precision](double X) { return Str(X, Width, Precision); });
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  return LoadFromText(*this, FileName, AdjustVectorSize);
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect) {
  if (!AutoDetect) return LoadFromText(*this, FileName, AdjustVectorSize);
  try {
    TTextFile F;
    F.Reset(FileName);
    int32_t N = 0;
    std::string Line;
    while (F.ReadLn(Line))
      if (!Line.empty() && StringContains(Line, "//dig") && N < INT32_MAX) ++N;
    F.Close();
    if (AdjustVectorSize) Resize(N);
    F.Reset(FileName);
    for (int32_t I = 1; I <= NrOfElem(); ++I) {
      double X;
      if (F.ReadReal(X)) SetVal(I, X);
    }
    F.Close();
    if (OnChange) OnChange(this);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// ---- TIntVector ----

void TIntVector::SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const {
  if (OutStream == nullptr) OutStream = new TMemoryStream;
  SaveTo(*this, OutStream, LowElem, HighElem);
}
void TIntVector::SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const {
  SaveTo(*this, OutStream, LowElem, HighElem);
}
bool TIntVector::LoadFromStream(TStream* InStream, bool AdjustVectorSize) {
  return LoadFrom(*this, InStream, AdjustVectorSize);
}

int32_t TIntVector::ExportAsASC(const std::string& FName, const std::string& Comment) const {
  return ExportASC(*this, FName, Comment, [](int32_t X) { return std::to_string(X); });
}
int32_t TIntVector::ImportASC(const std::string& FName, std::string& Comment) {
  return ImportASCInto(*this, FName, Comment);
}

bool TIntVector::StoreOnFile(int32_t FirstElem, int32_t LastElem, const std::string& FileName) const {
  if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
  if (FirstElem < 1) FirstElem = 1;
  if (LastElem > NrOfElem()) LastElem = NrOfElem();
  return StoreOn(*this, FirstElem, LastElem, FileName, [](int32_t X) { return std::to_string(X); });
}

bool TIntVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  return LoadFromText(*this, FileName, AdjustVectorSize);
}

}  // namespace orv
