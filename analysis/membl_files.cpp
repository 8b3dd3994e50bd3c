// TMemBasedLearner: the binary and the XML model files.
//
// Both readers build the model table aside and replace ModelData only when
// the whole file was read, so a failed read leaves the learner as it was.
// Every count of a binary file is checked against the bytes left in it
// before anything is sized from it.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "linalg/matrix_xml.h"
#include "orvcalckit/ORV_membl.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

constexpr std::string_view Signature = "TMemBasedLearner/Kovrant";
constexpr std::string_view TagNames[] = {"membasedlearner", "comment", "modelname", "modeldata", "distmode",
                                         "scaling",         "locmodel", "numnnb",   "$invalidtag$"};

// Any failure of a binary file that is no stream error.
struct TBadModelFile {};

std::string LowerAscii(std::string_view S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return R;
}

// Runs of items of one kind, moved through the stream a block at a time:
// the bytes WriteDouble and WriteByte (little-endian) would move one by one.
class TItemBlock {
 public:
  explicit TItemBlock(TStream& S) : FS(S), FBuf(BlockBytes) {}
  void Double(double X) {
    if (FLen + 8 > BlockBytes) Flush();
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&FBuf[FLen], &X, 8);
    } else {
      const auto U = std::bit_cast<uint64_t>(X);
      for (size_t B = 0; B < 8; ++B) FBuf[FLen + B] = static_cast<uint8_t>(U >> (8 * B));
    }
    FLen += 8;
  }
  void Byte(uint8_t X) {
    if (FLen == BlockBytes) Flush();
    FBuf[FLen++] = X;
  }
  void Integer(int32_t X) {
    for (int B = 0; B < 4; ++B) Byte(static_cast<uint8_t>(static_cast<uint32_t>(X) >> (8 * B)));
  }
  // A counted line: its length, then the line as WriteLn writes it.
  void Counted(std::string_view S) {
    const auto Len = static_cast<int32_t>(std::min<size_t>(S.size(), INT32_MAX));
    Integer(Len);
    Integer(Len);
    for (size_t I = 0; I < static_cast<size_t>(Len); ++I) Byte(static_cast<uint8_t>(S[I]));
  }
  void Flush() {
    FS.WriteBuffer(FBuf.data(), static_cast<int64_t>(FLen));
    FLen = 0;
  }
  // Count items of Size bytes, handed to Take(bytes) in order; the stream
  // raises when it holds fewer.
  template <class F>
  void Read(int64_t Count, int Size, F&& Take) {
    const int64_t PerBlock = static_cast<int64_t>(BlockBytes) / Size;
    for (int64_t Done = 0; Done < Count;) {
      const int64_t N = std::min(PerBlock, Count - Done);
      FS.ReadBuffer(FBuf.data(), N * Size);
      for (int64_t I = 0; I < N; ++I) Take(FBuf.data() + I * Size);
      Done += N;
    }
  }

 private:
  static constexpr size_t BlockBytes = 1 << 16;
  TStream& FS;
  std::vector<uint8_t> FBuf;
  size_t FLen = 0;
};

double DoubleOf(const uint8_t* P) {
  if constexpr (std::endian::native == std::endian::little) {
    double X;
    std::memcpy(&X, P, 8);
    return X;
  }
  uint64_t U = 0;
  for (int B = 7; B >= 0; --B) U = (U << 8) | P[B];
  return std::bit_cast<double>(U);
}

// The value of attribute Name, unescaped; false when there is none.
bool XmlAttribute(std::string_view A, std::string_view Name, std::string& Value) {
  const int32_t P = detail::FindXmlAttribute(A, Name);
  if (P == 0) return false;
  const auto From = Ix(P - 1);
  const size_t End = std::min(A.find(A[From - 1], From), A.size());
  Value = UnescapeXml(A.substr(From, End - From));
  return true;
}

bool XmlIntAttribute(std::string_view A, std::string_view Name, int32_t& Value) {
  std::string T;
  return XmlAttribute(A, Name, T) && TryStrToInt(T, Value);
}

// A value as the table's XML form writes it (10 significant digits, "nan",
// "inf"); what no double can hold saturates, anything else reads 0.0.
double XmlNumber(std::string_view T) {
  double V = 0.0;
  const auto R = std::from_chars(T.data(), T.data() + T.size(), V);
  if (R.ec == std::errc::result_out_of_range) {
    const size_t E = T.find_first_of("eE");
    const bool Tiny = E != std::string_view::npos && E + 1 < T.size() && T[E + 1] == '-';
    const bool Neg = !T.empty() && T[0] == '-';
    return Tiny ? (Neg ? -0.0 : 0.0) : (Neg ? -uc_MaxDouble : uc_MaxDouble);
  }
  return R.ec == std::errc() ? V : 0.0;
}

// Fn(index, word) for the blank-separated words of S.
template <class F>
void ForEachWord(std::string_view S, F&& Fn) {
  const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
  int32_t N = 0;
  for (size_t I = 0; I < S.size();) {
    while (I < S.size() && Blank(S[I])) ++I;
    size_t J = I;
    while (J < S.size() && !Blank(S[J])) ++J;
    if (J > I && !Fn(N++, S.substr(I, J - I))) return;
    I = J;
  }
}

// The model table's XML form (docs/DESIGN.md, "Memory-based learner files").
void WriteTableXml(TTextFile& F, const TDataTable& T) {
  const int32_t C = T.NrOfColumns(), R = T.NrOfRows();
  const auto I = [](int32_t X) { return std::to_string(X); };
  F.WriteLn("<datatable id=\"MBLModel\" cols=\"" + I(C) + "\" rows=\"" + I(R) + "\">");
  F.WriteLn("<dtcomment>" + EscapeXml(T.Comment()) + "</dtcomment>");
  for (int32_t Col = 1; Col <= C; ++Col)
    F.WriteLn("<column ix=\"" + I(Col) + "\" scale=\"" + I(T.MScaleType(Col)) + "\" attrib=\"" +
              I(T.ColAttrib(Col)) + "\">" + EscapeXml(StripLTBlanks(T.ColName(Col))) + "</column>");
  for (int32_t Col = 1; Col <= C; ++Col)
    for (int32_t Slot = 1; Slot <= MaxNominalIDs; ++Slot)
      if (const std::string Id = T.NominalID(Col, Slot); !Id.empty())
        F.WriteLn("<nomid col=\"" + I(Col) + "\" slot=\"" + I(Slot) + "\">" + EscapeXml(Id) + "</nomid>");
  for (int32_t Row = 1; Row <= R; ++Row)
    F.WriteLn("<row ix=\"" + I(Row) + "\" attrib=\"" + I(T.RowAttrib(Row)) + "\">" + EscapeXml(StripLTBlanks(T.RowName(Row))) +
              "</row>");
  std::string Line;
  char Buf[64];
  for (int32_t Row = 1; Row <= R; ++Row) {
    Line = "<values row=\"" + I(Row) + "\">";
    for (int32_t Col = 1; Col <= C; ++Col) {
      const auto Res = std::to_chars(Buf, Buf + sizeof Buf, T.Elem(Col, Row), std::chars_format::general, 10);
      if (Col > 1) Line += ' ';
      Line.append(Buf, Res.ptr);
    }
    F.WriteLn(Line + "</values>");
    Line = "<states row=\"" + I(Row) + "\">";
    for (int32_t Col = 1; Col <= C; ++Col) Line += (Col > 1 ? " " : "") + I(T.CellState(Col, Row));
    F.WriteLn(Line + "</states>");
  }
  F.WriteLn("</datatable>");
}

// Reads the table's XML form into T; false when it has no datatable
// element with its end, or sizes its text cannot hold.
bool ReadTableXml(const std::string& X, TDataTable& T) {
  const auto Len = static_cast<int64_t>(X.size());
  int64_t Pos = 1;
  TXmlTag Tag;
  bool Started = false;
  int32_t C = 0, R = 0;
  while (ReadNextTagInString(X, Pos, Tag)) {
    const std::string& Name = Tag.Name;
    if (Name == "datatable") {
      if (Tag.Kind == xtEnd) return Started;
      if (Started) continue;
      // The written form takes 40 characters a column, 30 a row and two a
      // cell at least: sizes beyond what the text could hold are no table
      // (a column costs the table its 150 identifier slots).
      if (!XmlIntAttribute(Tag.Attributes, "cols", C) || !XmlIntAttribute(Tag.Attributes, "rows", R) || C < 0 ||
          R < 0 || C > Len / 40 || R > Len / 30 || int64_t{C} * R > Len / 2)
        return false;
      T.Resize(C, R);
      Started = true;
      if (Tag.Kind == xtEmpty) return true;
      continue;
    }
    if (!Started || Tag.Kind == xtEnd) continue;
    int32_t Ix = 0, Slot = 0, Att = 0, Scale = 0;
    if (Name == "dtcomment") {
      T.SetComment(Tag.Content);
    } else if (Name == "column" && XmlIntAttribute(Tag.Attributes, "ix", Ix)) {
      if (XmlIntAttribute(Tag.Attributes, "scale", Scale) && Scale >= stUnknown && Scale <= stRatio)
        T.SetMScaleType(Ix, static_cast<TMScaleType>(Scale));
      if (XmlIntAttribute(Tag.Attributes, "attrib", Att)) T.SetColAttrib(Ix, Att);
      T.SetColName(Ix, Tag.Content);
    } else if (Name == "nomid" && XmlIntAttribute(Tag.Attributes, "col", Ix) &&
               XmlIntAttribute(Tag.Attributes, "slot", Slot)) {
      T.SetNominalID(Ix, Slot, Tag.Content);
    } else if (Name == "row" && XmlIntAttribute(Tag.Attributes, "ix", Ix)) {
      if (XmlIntAttribute(Tag.Attributes, "attrib", Att)) T.SetRowAttrib(Ix, Att);
      T.SetRowName(Ix, Tag.Content);
    } else if (Name == "values" && XmlIntAttribute(Tag.Attributes, "row", Ix) && detail::InAxis(Ix, R)) {
      ForEachWord(Tag.Content, [&](int32_t N, std::string_view W) {
        if (N >= C) return false;
        T.SetElem(N + 1, Ix, XmlNumber(W));
        return true;
      });
    } else if (Name == "states" && XmlIntAttribute(Tag.Attributes, "row", Ix) && detail::InAxis(Ix, R)) {
      ForEachWord(Tag.Content, [&](int32_t N, std::string_view W) {
        int32_t S = 0;
        if (N >= C) return false;
        if (TryStrToInt(W, S) && S >= 0 && S <= 255) T.SetCellState(N + 1, Ix, static_cast<uint8_t>(S));
        return true;
      });
    }
  }
  return false;
}

}  // namespace

std::string_view MBLxmlTagName(TMBLxmlTags Tag) {
  const auto I = static_cast<size_t>(Tag);
  return I < std::size(TagNames) ? TagNames[I] : TagNames[std::size(TagNames) - 1];
}

struct TMemBasedLearner::TFiles {
  // ModelData := Fresh with ModelData's own handlers; then OnResize (when
  // the size changed) and the setup, name, attribute and state events once
  // each. A failure leaves ModelData as it was.
  static void Commit(TMemBasedLearner& L, TDataTable& Fresh) {
    TDataTable& M = *L.ModelData;
    Fresh.OnChange = M.OnChange;
    Fresh.OnChangeSetup = M.OnChangeSetup;
    Fresh.OnChangeNames = M.OnChangeNames;
    Fresh.OnChangeCellState = M.OnChangeCellState;
    Fresh.OnChangeAttrib = M.OnChangeAttrib;
    Fresh.OnPercentDone = M.OnPercentDone;
    Fresh.OnResize = M.OnResize;
    Fresh.OnSortExchange = M.OnSortExchange;
    const int32_t OldC = M.NrOfColumns(), OldR = M.NrOfRows();
    M.Assign(&Fresh);
    L.DataTableChanged(&M);
    if ((OldC != M.NrOfColumns() || OldR != M.NrOfRows()) && M.OnResize)
      M.OnResize(&M, OldC, OldR, M.NrOfColumns(), M.NrOfRows());
    M.ChangedSetup();
    M.ChangedNames();
    M.ChangedAttrib();
    M.ChangedCellStates();
  }

  static int32_t LoadBin(TMemBasedLearner& L, const std::string& FName, std::string& DataId) {
    std::unique_ptr<TMixedFStream> File;
    try {
      File = std::make_unique<TMixedFStream>(FName, fmOpenRead);
    } catch (const std::exception&) {
      return -2;
    }
    TMixedFStream& S = *File;
    // The length in front of a counted line is not needed: the line has its own.
    const auto Counted = [&S] {
      S.ReadInteger();
      return S.ReadLn(4);
    };
    const auto Left = [&S] { return S.Size() - S.Position(); };
    const auto Ordinal = [&S](int32_t High) {
      const int32_t V = S.ReadInteger();
      if (V < 0 || V > High) throw TBadModelFile();
      return V;
    };
    try {
      if (Counted() != Signature) return -1;
      Counted();  // the version, not checked
      std::string Id = Counted();
      if (const size_t At = LowerAscii(Id).find("dataid="); At != std::string::npos) Id.erase(At, 7);
      std::string Comment = Counted();
      std::string ModelName = Counted();
      const int32_t K = S.ReadInteger();
      const auto Dist = static_cast<TMBLDistMode>(Ordinal(mblDistMahalanobis));
      const auto Scaling = static_cast<TMBLScalingMode>(Ordinal(mblStandardized));
      const auto Local = static_cast<TMBLLocalModel>(Ordinal(mblLMRegress));
      const std::string TableComment = Counted();
      const int32_t C = S.ReadInteger(), R = S.ReadInteger(), Slots = S.ReadInteger();
      if (C < 0 || R < 0 || Slots < 0) return -2;
      // The least a column takes (scale, counted name, attribute), a row
      // (counted name, attribute) and a cell (value, state).
      const int64_t Room = Left();
      if (C > 0 && R > Room / 9 / C) return -2;
      if (16 * int64_t{C} + 12 * int64_t{R} + 9 * int64_t{C} * R > Room) return -2;

      TDataTable T(nullptr);
      T.Resize(C, R);
      T.SetComment(TableComment);
      for (int32_t Col = 1; Col <= C; ++Col) {
        const auto Scale = static_cast<TMScaleType>(Ordinal(stRatio));
        T.SetMScaleType(Col, Scale);
        if (!detail::IsCategorical(Scale)) continue;
        if (4 * int64_t{Slots} > Left()) return -2;
        for (int32_t Slot = 1; Slot <= Slots; ++Slot) {
          const std::string Line = S.ReadLn(4);
          if (Slot <= MaxNominalIDs) T.SetNominalID(Col, Slot, Line);
        }
      }
      for (int32_t Col = 1; Col <= C; ++Col) T.SetColName(Col, Counted());
      for (int32_t Row = 1; Row <= R; ++Row) T.SetRowName(Row, Counted());
      for (int32_t Col = 1; Col <= C; ++Col) T.SetColAttrib(Col, S.ReadInteger());
      for (int32_t Row = 1; Row <= R; ++Row) T.SetRowAttrib(Row, S.ReadInteger());
      // Cells row by row; (Col, Row) follows the items.
      TItemBlock Block(S);
      const int64_t Cells = int64_t{C} * R;
      int32_t Col = 1, Row = 1;
      const auto Next = [&] {
        if (++Col > C) {
          Col = 1;
          ++Row;
        }
      };
      Block.Read(Cells, 8, [&](const uint8_t* P) {
        T.SetElem(Col, Row, DoubleOf(P));
        Next();
      });
      Col = Row = 1;
      Block.Read(Cells, 1, [&](const uint8_t* P) {
        if (*P != 0) T.SetCellState(Col, Row, *P);  // a new table's states are 0
        Next();
      });

      Commit(L, T);
      L.FComment = std::move(Comment);
      L.FModelName = std::move(ModelName);
      L.FNumNearestNb = K;
      L.FDistMode = Dist;
      L.FScalingMode = Scaling;
      L.FLocModel = Local;
      DataId = std::move(Id);
      return 0;
    } catch (const TBadModelFile&) {
      return -2;
    } catch (const std::exception&) {
      return -2;
    }
  }
};

namespace {

// Runs Write on a new file; a failure removes what was written and raises.
template <class F>
void WriteNewFile(const std::string& FName, F&& Write) {
  bool Created = false;
  try {
    Write(Created);
  } catch (...) {
    if (Created) std::remove(FName.c_str());
    throw;
  }
}

}  // namespace

void TMemBasedLearner::StoreModelBin(const std::string& FName, const std::string& DataID) {
  const TDataTable& T = *ModelData;
  WriteNewFile(FName, [&](bool& Created) {
    TMixedFStream S(FName, fmCreate);
    Created = true;
    const auto Counted = [&S](const std::string& Line) {
      S.WriteInteger(static_cast<int32_t>(std::min<size_t>(Line.size(), INT32_MAX)));
      S.WriteLn(Line);
    };
    Counted(std::string(Signature));
    Counted("vers=1.000");
    Counted("DataID=" + DataID);
    Counted(FComment);
    Counted(FModelName);
    S.WriteInteger(FNumNearestNb);
    S.WriteInteger(FDistMode);
    S.WriteInteger(FScalingMode);
    S.WriteInteger(FLocModel);
    Counted(T.Comment());
    const int32_t C = T.NrOfColumns(), R = T.NrOfRows();
    S.WriteInteger(C);
    S.WriteInteger(R);
    S.WriteInteger(MaxNominalIDs);
    for (int32_t Col = 1; Col <= C; ++Col) {
      S.WriteInteger(T.MScaleType(Col));
      if (detail::IsCategorical(T.MScaleType(Col)))
        for (int32_t Slot = 1; Slot <= MaxNominalIDs; ++Slot) S.WriteLn(T.NominalID(Col, Slot));
    }
    TItemBlock Block(S);
    for (int32_t Col = 1; Col <= C; ++Col) Block.Counted(StripLTBlanks(T.ColName(Col)));
    for (int32_t Row = 1; Row <= R; ++Row) Block.Counted(StripLTBlanks(T.RowName(Row)));
    for (int32_t Col = 1; Col <= C; ++Col) Block.Integer(T.ColAttrib(Col));
    for (int32_t Row = 1; Row <= R; ++Row) Block.Integer(T.RowAttrib(Row));
    // As Elem reads them; a host may have resized an adopted matrix.
    const bool Direct = T.NumericData->NrOfColumns() >= C && T.NumericData->NrOfRows() >= R;
    std::vector<const double*> Cells;
    std::vector<char> Round;
    for (int32_t Col = 1; Direct && Col <= C; ++Col) {
      Cells.push_back(T.NumericData->Mat[Ix1(Col)].data());
      Round.push_back(detail::IsCategorical(T.MScaleType(Col)));
    }
    for (int32_t Row = 1; Row <= R; ++Row)
      for (int32_t Col = 1; Col <= C; ++Col) {
        if (!Direct) {
          Block.Double(T.Elem(Col, Row));
          continue;
        }
        const double V = Cells[Ix1(Col)][Ix1(Row)];
        Block.Double(Round[Ix1(Col)] ? RoundHalfEven(V) : V);
      }
    for (int32_t Row = 1; Row <= R; ++Row)
      for (int32_t Col = 1; Col <= C; ++Col) Block.Byte(T.CellState(Col, Row));
    Block.Flush();
    S.Flush();
  });
}

int32_t TMemBasedLearner::LoadModelBin(const std::string& FName, std::string& DataId) {
  return TFiles::LoadBin(*this, FName, DataId);
}

void TMemBasedLearner::StoreModelXML(const std::string& FName, const std::string& DataID) {
  WriteNewFile(FName, [&](bool& Created) {
    TTextFile F;
    F.Rewrite(FName);
    Created = true;
    const auto Element = [&F](TMBLxmlTags Tag, std::string_view Text) {
      const std::string Name(MBLxmlTagName(Tag));
      F.WriteLn("<" + Name + ">" + EscapeXml(Text) + "</" + Name + ">");
    };
    F.WriteLn("<?xml version=\"1.0\"?>");
    F.WriteLn("<membasedlearner sig=\"Veltrax\" vers=\"1.000\" id=\"" + EscapeXml(DataID, true) + "\">");
    F.WriteLn("<!-- TMemBasedLearner / Kovrant -->");
    Element(TMBLxmlTags::xmlComment, FComment);
    Element(TMBLxmlTags::xmlModelName, FModelName);
    Element(TMBLxmlTags::xmlNumNNb, std::to_string(FNumNearestNb));
    Element(TMBLxmlTags::xmlDistMode, LowerAscii(MBLDistModeText(FDistMode)));
    Element(TMBLxmlTags::xmlSclMode, LowerAscii(MBLScalingModeText(FScalingMode)));
    Element(TMBLxmlTags::xmlLocalModel, LowerAscii(MBLLocalModelText(FLocModel)));
    F.WriteLn("<modeldata>");
    WriteTableXml(F, *ModelData);
    F.WriteLn("</modeldata>");
    F.WriteLn("</membasedlearner>");
    F.Close();
  });
}

int32_t TMemBasedLearner::ProcessXmlTag(TMBLxmlTags Tag, std::string_view, std::string_view Content) {
  const auto Pick = [Content](auto Text, auto High, auto& Field) {
    for (int I = 0; I <= High; ++I) {
      const auto M = static_cast<std::remove_reference_t<decltype(Field)>>(I);
      if (SameText(Content, Text(M))) Field = M;
    }
  };
  switch (Tag) {
    case TMBLxmlTags::xmlMBLId: return 0;
    case TMBLxmlTags::xmlComment: FComment = Content; return 0;
    case TMBLxmlTags::xmlModelName: FModelName = Content; return 0;
    case TMBLxmlTags::xmlNumNNb: FNumNearestNb = StrToInt(Content); return 0;
    case TMBLxmlTags::xmlDistMode: Pick(MBLDistModeText, int{mblDistMahalanobis}, FDistMode); return 0;
    case TMBLxmlTags::xmlSclMode: Pick(MBLScalingModeText, int{mblStandardized}, FScalingMode); return 0;
    case TMBLxmlTags::xmlLocalModel: Pick(MBLLocalModelText, int{mblLMRegress}, FLocModel); return 0;
    case TMBLxmlTags::xmlModelData: {
      TDataTable T(nullptr);
      if (!ReadTableXml(std::string(Content), T)) return -1;
      TFiles::Commit(*this, T);
      return 0;
    }
    default: return -1;
  }
}

int32_t TMemBasedLearner::LoadModelXML(const std::string& FName, std::string& DataId) {
  DataId.clear();
  std::string S;
  {
    TFileStream F(FName, fmOpenRead);
    S.resize(Ix(F.Size()));
    F.ReadBuffer(S.data(), static_cast<int64_t>(S.size()));
  }
  // The first line (the XML declaration) is skipped.
  const size_t Eol = S.find('\n');
  int64_t Pos = Eol == std::string::npos ? static_cast<int64_t>(S.size()) + 1 : static_cast<int64_t>(Eol) + 2;
  TXmlTag Tag;
  while (ReadNextTagInString(S, Pos, Tag)) {
    if (Tag.Kind == xtEnd) continue;
    auto Kind = TMBLxmlTags::xmlInvalid;
    for (size_t I = 0; I + 1 < std::size(TagNames); ++I)
      if (Tag.Name == TagNames[I]) Kind = static_cast<TMBLxmlTags>(I);
    if (Kind == TMBLxmlTags::xmlMBLId) {
      XmlAttribute(Tag.Attributes, "id", DataId);
      continue;
    }
    if (Kind == TMBLxmlTags::xmlModelData) {
      // The element's raw text, from its first inner tag to its end tag.
      const size_t From = Tag.Kind == xtEmpty ? S.size() : std::min(Ix(Pos - 1), S.size());
      const size_t End = std::min(S.find("</modeldata>", From), S.size());
      return ProcessXmlTag(Kind, Tag.Attributes, std::string_view(S).substr(From, End - From)) == 0 ? 0 : -1;
    }
    if (ProcessXmlTag(Kind, Tag.Attributes, Tag.Content) < 0) break;
  }
  return -1;
}

}  // namespace orv
