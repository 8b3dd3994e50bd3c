// The XML steps of TMatrix, TMat3D, TIntMatrix and TMat4D and the number
// scanners on arbitrary texts. Every line of the input is one step: its first
// byte chooses the tag kind (low four bits; 8 and up are ordinals outside the
// enumeration), the component (bits 7 and 6: TMat4D; bit 7 alone: an integer
// matrix, of the one made dense or the one made sparse by bit 4; else bit 4:
// TMatrix or TMat3D) and whether the reader sets FirstCell first (bit 5); the
// rest up to a TAB is the attribute text, the rest after it the content. For
// an integer matrix kind 15 switches its storage instead, when the dense form
// stays small.
// After each step the result code is the documented one, only a cell tag
// changes a size (and a sparse matrix's counts only grow to its cells); a
// model of the announced counts, recorded whatever FirstCell is (so a reader
// may set it just before the first cell) and dropped by the tags that drop
// them, gives the size a dense component takes at the first cell, or the
// refusal of a negative count or of more cells than the limit; every
// cell inside the counts of a dense component can be read and written, and a
// sparse list stays sorted, inside the counts, and readable; counts whose
// cells TMat4D cannot address raise its memory error and change nothing.
// Both scanners run on every attribute and content text from every position,
// 0 and one past the end included, on a buffer of exactly the text's size:
// ParseIntegerAt agrees with from_chars on the text it consumed, ParseRealAt
// with a plain reading of the documented state machine that converts with strtod.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

using namespace orv;

// Small enough to visit every cell after every step.
constexpr int64_t CellLimit = 1024;

// ParseRealAt as its contract words it: the number text built character by
// character, converted with strtod (the fuzz program runs in the C locale).
double PlainParseReal(std::string_view T, bool AllowExp, int32_t Mode, int32_t& Pos) {
  int64_t P = std::max(Pos, 1);
  const int64_t Len = static_cast<int64_t>(T.size());
  std::string Num;
  std::string ExpDigits;
  int State = 1;
  bool Error = false;
  for (;;) {
    char C = P <= Len ? T[static_cast<size_t>(P - 1)] : 'Z';
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
    ++P;
    const bool Sep = (Mode == 1 && C == '.') || (Mode == 2 && C == ',') || (Mode == 3 && (C == '.' || C == ','));
    const bool Digit = C >= '0' && C <= '9';
    int Next = 0;  // 0 error, 9 end
    if (Sep) {
      Next = State <= 3 ? 4 : State == 8 ? 9 : 0;
    } else if (C == ' ') {
      Next = State == 1 ? 1 : (State >= 3 && State <= 5) || State == 8 ? 9 : 0;
    } else if (C == '+' || C == '-') {
      Next = State == 1 ? 2 : State == 6 ? 7 : (State >= 3 && State <= 5) || State == 8 ? 9 : 0;
    } else if (Digit) {
      Next = State <= 3 ? 3 : State <= 5 ? 5 : 8;
    } else if (C == 'E') {
      Next = State <= 2 || State == 6 || State == 7 ? 0 : State == 8 ? 9 : AllowExp ? 6 : 9;
    } else {
      Next = State <= 2 ? 0 : 9;
    }
    if (Next == 0) {
      Error = true;
      break;
    }
    if (Next == 9) break;
    if (Next == 8) ExpDigits += C;
    int64_t E = 0;
    for (char D : ExpDigits) E = std::min<int64_t>(E * 10 + (D - '0'), 1000000);
    if (E <= 4200) Num += Sep ? '.' : C;
    State = Next;
  }
  Pos = static_cast<int32_t>(P - 1);
  if (Error) return 0.0;
  if (!Num.empty() && Num.back() == '.') Num += '0';
  while (!Num.empty() && (Num.back() == 'E' || Num.back() == '+' || Num.back() == '-')) {
    if (Num.back() == 'E') {
      Num.pop_back();
      break;
    }
    Num.pop_back();
  }
  // A mantissa without digits ("-.E5") is a zero of its sign, as "-." is.
  char* End = nullptr;
  double V = std::strtod(Num.c_str(), &End);
  if (End == Num.c_str()) V = Num.find('-') < Num.find_first_of(".,") ? -0.0 : 0.0;
  return std::fmax(-uc_MaxDouble, std::fmin(V, uc_MaxDouble));
}

void CheckScanners(std::string_view Source) {
  // A buffer of exactly the text's size: a read past it is an ASan report.
  const size_t N = Source.size();
  std::unique_ptr<char[]> Buf(new char[N == 0 ? 1 : N]);
  if (N) std::memcpy(Buf.get(), Source.data(), N);
  const std::string_view T(Buf.get(), N);
  const int32_t Len = static_cast<int32_t>(N);
  for (int32_t From = 0; From <= Len + 1; ++From) {
    const int32_t Start = std::max(From, 1);

    int32_t P = From;
    const int32_t I = ParseIntegerAt(T, P);
    if (N == 0 || From > Len) {
      ORV_FUZZ_CHECK(P == From && I == 0);
    } else {
      ORV_FUZZ_CHECK(P >= Start && P <= Len + 1);
      std::string_view Used = T.substr(static_cast<size_t>(Start - 1), static_cast<size_t>(P - Start));
      while (!Used.empty() && Used.front() == ' ') Used.remove_prefix(1);
      const bool Neg = !Used.empty() && Used.front() == '-';
      if (!Used.empty() && (Used.front() == '-' || Used.front() == '+')) Used.remove_prefix(1);
      int64_t Want = 0;
      if (!Used.empty()) {
        uint64_t U = 0;
        const auto R = std::from_chars(Used.data(), Used.data() + Used.size(), U);
        ORV_FUZZ_CHECK(R.ptr == Used.data() + Used.size());  // the rest are digits
        Want = R.ec == std::errc() && U < (uint64_t{1} << 31) ? static_cast<int64_t>(U) : int64_t{1} << 31;
      }
      Want = Neg ? -Want : std::min<int64_t>(Want, INT32_MAX);
      ORV_FUZZ_CHECK(I == Want);
    }

    const int32_t Mode = From % 4;
    const bool AllowExp = From % 8 < 4;
    int32_t Q = From, QPlain = From;
    const double V = ParseRealAt(T, AllowExp, Mode, Q);
    const double Plain = PlainParseReal(T, AllowExp, Mode, QPlain);
    ORV_FUZZ_CHECK(Q == QPlain);
    ORV_FUZZ_CHECK(std::memcmp(&V, &Plain, sizeof V) == 0);
    ORV_FUZZ_CHECK(std::isfinite(V));
    ORV_FUZZ_CHECK(Q >= std::min(Start, Len + 1) && Q <= std::max(Len + 1, From));
  }
}

template <class M>
bool Sparse(const M& A) {
  if constexpr (std::is_same_v<M, TIntMatrix>)
    return A.IsSparse();
  else
    return false;
}

// The cells a component holds: its dense storage, or the stored cells of a list.
template <class M>
int64_t Cells(const M& A) {
  if constexpr (std::is_same_v<M, TMat4D>)
    return int64_t{A.NrOfColumns()} * A.NrOfRows() * A.NrOfLayers() * A.NrOfTimeSlots();
  else if constexpr (std::is_same_v<M, TMat3D>)
    return int64_t{A.NrOfColumns()} * A.NrOfRows() * A.NrOfLayers();
  if constexpr (std::is_same_v<M, TIntMatrix>)
    if (A.IsSparse()) return A.SparseNumElem();
  return int64_t{std::max(A.NrOfColumns(), 1)} * std::max(A.NrOfRows(), 1);
}

// Every cell inside the counts reads and writes; just outside reads 0.
template <class M>
void CheckCells(M& A) {
  ORV_FUZZ_CHECK(A.NrOfColumns() >= 0 && A.NrOfRows() >= 0);
  if (Sparse(A)) {
    if constexpr (std::is_same_v<M, TIntMatrix>) {
      ORV_FUZZ_CHECK(A.Mat.empty());
      const TSpMatElemInt* Prev = nullptr;
      for (const TSpMatElemInt& E : A.SpMat) {
        ORV_FUZZ_CHECK(E.colidx >= 1 && E.colidx <= A.NrOfColumns() && E.rowidx >= 1 && E.rowidx <= A.NrOfRows());
        ORV_FUZZ_CHECK(Prev == nullptr || Prev->colidx < E.colidx ||
                       (Prev->colidx == E.colidx && Prev->rowidx < E.rowidx));
        ORV_FUZZ_CHECK(A.GetVal(E.colidx, E.rowidx) == E.value);
        // The position just above a stored cell holds the previous entry or nothing.
        if (E.rowidx > 1) {
          const bool Above = Prev != nullptr && Prev->colidx == E.colidx && Prev->rowidx == E.rowidx - 1;
          ORV_FUZZ_CHECK(A.GetVal(E.colidx, E.rowidx - 1) == (Above ? Prev->value : 0));
        }
        Prev = &E;
      }
    }
    return;
  }
  ORV_FUZZ_CHECK(A.Mat.size() == static_cast<size_t>(std::max(A.NrOfColumns(), 1)));
  for (const auto& Col : A.Mat) ORV_FUZZ_CHECK(Col.size() == static_cast<size_t>(std::max(A.NrOfRows(), 1)));
  for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= A.NrOfRows(); ++R) {
      const auto V = A.GetVal(C, R);
      ORV_FUZZ_CHECK(std::isfinite(V));
      A.SetVal(C, R, V);
    }
  ORV_FUZZ_CHECK(A.GetVal(A.NrOfColumns() + 1, 1) == 0 && A.GetVal(1, A.NrOfRows() + 1) == 0);
}

void CheckCells(TMat3D& A) {
  ORV_FUZZ_CHECK(A.NrOfColumns() >= 1 && A.NrOfRows() >= 1 && A.NrOfLayers() >= 1);
  for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= A.NrOfRows(); ++R) {
      ORV_FUZZ_CHECK(A.LayerRun(C, R).size() == static_cast<size_t>(A.NrOfLayers()));
      for (int32_t L = 1; L <= A.NrOfLayers(); ++L) {
        const double V = A.GetVal(C, R, L);
        ORV_FUZZ_CHECK(std::isfinite(V));
        A.SetVal(C, R, L, V);
      }
    }
  ORV_FUZZ_CHECK(A.GetVal(1, 1, A.NrOfLayers() + 1) == 0.0);
}

void CheckCells(TMat4D& A) {
  ORV_FUZZ_CHECK(A.NrOfColumns() >= 1 && A.NrOfRows() >= 1 && A.NrOfLayers() >= 1 && A.NrOfTimeSlots() >= 1);
  for (int32_t T = 1; T <= A.NrOfTimeSlots(); ++T)
    for (int32_t L = 1; L <= A.NrOfLayers(); ++L)
      for (int32_t R = 1; R <= A.NrOfRows(); ++R) {
        ORV_FUZZ_CHECK(A.ColumnRun(R, L, T).size() == static_cast<size_t>(A.NrOfColumns()));
        for (int32_t C = 1; C <= A.NrOfColumns(); ++C) {
          const double V = A.GetVal(C, R, L, T);
          ORV_FUZZ_CHECK(std::isfinite(V));
          A.SetVal(C, R, L, T, V);
        }
      }
  ORV_FUZZ_CHECK(A.GetVal(1, 1, 1, A.NrOfTimeSlots() + 1) == 0.0);
}

// The counts a component has announced since they were last applied or dropped.
struct TAnnounced {
  std::array<bool, 4> Given{};
  std::array<int32_t, 4> Count{};
};

// The axes a component's XML step reads and what an announced 0 becomes.
template <class M>
constexpr int NAxes = std::is_same_v<M, TMat4D> ? 4 : std::is_same_v<M, TMat3D> ? 3 : 2;
template <class M>
constexpr int32_t MinCount = NAxes<M> > 2 ? 1 : 0;

template <class M>
void Step(M& A, TAnnounced& Model, uint8_t Op, std::string_view Attributes, std::string_view Content) {
  const uint8_t Kind = Op & 0x0F;
  const auto Tag = static_cast<TMatXmlTag>(Kind < 8 ? Kind : Kind * 16);
  if (Op & 0x20) A.FirstCell = true;
  const bool Armed = A.FirstCell;
  const int64_t Before = Cells(A);
  const auto Counts = [&A] {
    if constexpr (std::is_same_v<M, TMat4D>)
      return std::array{A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), A.NrOfTimeSlots()};
    else if constexpr (std::is_same_v<M, TMat3D>)
      return std::array{A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), 0};
    else
      return std::array{A.NrOfColumns(), A.NrOfRows(), 0, 0};
  };
  const auto Was = Counts();
  // What an armed cell does by the model: refuse, or size to Want.
  std::array<int32_t, 4> Want = Was;
  bool Refuse = false;
  int64_t Stored = 1;
  for (int K = 0; K < NAxes<M>; ++K) {
    const size_t k = static_cast<size_t>(K);
    Refuse |= Model.Given[k] && Model.Count[k] < 0;
    if (Model.Given[k]) Want[k] = std::max(Model.Count[k], MinCount<M>);
    Stored = std::min<int64_t>(Stored * std::max(Want[k], 1), CellLimit + 1);
  }
  Refuse |= Stored > CellLimit;
  int32_t Result = 0;
  try {
    Result = A.ProcessXmlTag(Tag, Attributes, Content);
  } catch (const EORVMatrixError& E) {
    ORV_FUZZ_CHECK((std::is_same_v<M, TMat4D>) && Tag == xmlMatCell && Armed && A.FirstCell && Refuse);
    ORV_FUZZ_CHECK(std::string_view(E.what()) == "Component \"\": not enough memory on heap");
    ORV_FUZZ_CHECK(Counts() == Was);
    CheckCells(A);
    return;
  }
  switch (Tag) {
    case xmlMatEnd:
      ORV_FUZZ_CHECK(Result == 1);
      Model = {};
      break;
    case xmlInvalid:
      ORV_FUZZ_CHECK(Result == -1);
      Model = {};
      break;
    case xmlMatCell:
      ORV_FUZZ_CHECK(Result == 0 || (Result == -1 && Armed && A.FirstCell && Counts() == Was));
      if (!Armed && !Sparse(A)) ORV_FUZZ_CHECK(Counts() == Was);
      if (Armed) {
        ORV_FUZZ_CHECK(Result == (Refuse ? -1 : 0));
        // A sparse matrix's counts follow its stored cells after the resize.
        if (!Refuse && !Sparse(A)) ORV_FUZZ_CHECK(Counts() == Want);
        if (!Refuse) Model = {};
      }
      break;
    default:
      ORV_FUZZ_CHECK(Result == 0 && Counts() == Was);
      if (static_cast<int>(Tag) < NAxes<M>) {
        int32_t Pos = 1;
        Model.Count[static_cast<size_t>(Tag)] = ParseIntegerAt(Content, Pos);
        Model.Given[static_cast<size_t>(Tag)] = true;
      }
      break;
  }
  // A list holds at most one cell more; a dense storage stays within the limit.
  ORV_FUZZ_CHECK(Sparse(A) ? Cells(A) <= Before + 1 : Cells(A) <= std::max(CellLimit, Before));
  CheckCells(A);
}

// Switches the storage of an integer matrix when the dense form stays within
// the limit; the cells read the same before and after.
void Switch(TIntMatrix& A) {
  if (!A.IsSparse()) {
    const std::vector<std::vector<int32_t>> Was(A.Mat);
    A.ArrayToSparse(1);
    for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
      for (int32_t R = 1; R <= A.NrOfRows(); ++R) ORV_FUZZ_CHECK(A.GetVal(C, R) == Was[C - 1][R - 1]);
    return;
  }
  // The dense form takes the high bounds of the list, never above max(count, 1).
  if (int64_t{std::max(A.NrOfColumns(), 1)} * std::max(A.NrOfRows(), 1) > CellLimit) return;
  const std::vector<TSpMatElemInt> Was(A.SpMat);
  A.SparseToArray();
  ORV_FUZZ_CHECK(!A.IsSparse());
  for (const TSpMatElemInt& E : Was) ORV_FUZZ_CHECK(A.GetVal(E.colidx, E.rowidx) == E.value);
  CheckCells(A);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string_view In(reinterpret_cast<const char*>(Data), Size);
  TMatrix M(nullptr);
  TMat3D A(nullptr);
  TIntMatrix D(nullptr), S(nullptr, 1);
  TMat4D Q(nullptr);
  TAnnounced ForM, ForA, ForD, ForS, ForQ;
  M.XmlCellLimit = CellLimit;
  A.XmlCellLimit = CellLimit;
  D.XmlCellLimit = CellLimit;
  S.XmlCellLimit = CellLimit;
  Q.XmlCellLimit = CellLimit;
  size_t From = 0;
  while (From < In.size()) {
    const size_t Eol = std::min(In.find('\n', From), In.size());
    const std::string_view Line = In.substr(From, Eol - From);
    From = Eol + 1;
    if (Line.empty()) continue;
    const auto Op = static_cast<uint8_t>(Line[0]);
    const std::string_view Rest = Line.substr(1);
    const size_t Tab = std::min(Rest.find('\t'), Rest.size());
    const std::string_view Attributes = Rest.substr(0, Tab);
    const std::string_view Content = Rest.substr(std::min(Tab + 1, Rest.size()));
    if ((Op & 0xC0) == 0xC0) {
      Step(Q, ForQ, Op, Attributes, Content);
    } else if (Op & 0x80) {
      TIntMatrix& I = Op & 0x10 ? S : D;
      if ((Op & 0x0F) == 15)
        Switch(I);
      else
        Step(I, Op & 0x10 ? ForS : ForD, Op, Attributes, Content);
    } else if (Op & 0x10) {
      Step(A, ForA, Op, Attributes, Content);
    } else {
      Step(M, ForM, Op, Attributes, Content);
    }
    CheckScanners(Attributes);
    CheckScanners(Content);
  }
  return 0;
}
