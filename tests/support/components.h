// Filling and reading data components, and recording their events. Test
// support; written for any component with the accessors of TVector or TMatrix.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_classes.h"

namespace orv::test {

// Elements 1..n of V := X (V resized to n).
template <class V>
void FillValues(V& Vec, const std::vector<double>& X) {
  const auto N = static_cast<int32_t>(X.size());
  Vec.Resize(N);
  for (int32_t I = 1; I <= N; ++I) Vec.SetVal(I, X[detail::Ix1(I)]);
}

template <class V>
auto Values(const V& Vec) {
  std::vector<decltype(Vec.GetVal(1))> R;
  for (int32_t I = 1; I <= Vec.NrOfElem(); ++I) R.push_back(Vec.GetVal(I));
  return R;
}

// A value that names the cell (c, r, l, t) of a 4-D array: 1000 c + 100 r +
// 10 l + t, its digits while every index stays below 10.
inline double Named4D(int32_t C, int32_t R, int32_t L, int32_t T) { return 1000.0 * C + 100 * R + 10 * L + T; }

// A resized to Nc x Nr x Nl x Nt, cell (c, r, l, t) := Named4D(c, r, l, t).
template <class A4>
void FillNamed4D(A4& A, int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt) {
  A.Resize(Nc, Nr, Nl, Nt);
  for (int32_t C = 1; C <= Nc; ++C)
    for (int32_t R = 1; R <= Nr; ++R)
      for (int32_t L = 1; L <= Nl; ++L)
        for (int32_t T = 1; T <= Nt; ++T) A.SetVal(C, R, L, T, Named4D(C, R, L, T));
}

// The cells of row R of layer L and time slot T of a 4-D array.
template <class A4>
std::vector<double> Row4D(const A4& A, int32_t R, int32_t L, int32_t T) {
  const auto S = A.ColumnRun(R, L, T);
  return {S.begin(), S.end()};
}

// M := the rows as written in the text, one row per object (M resized).
template <class M>
void FillRows(M& Mat, const std::vector<std::vector<double>>& Rows) {
  const auto NR = static_cast<int32_t>(Rows.size());
  const auto NC = static_cast<int32_t>(Rows.front().size());
  Mat.Resize(NC, NR);
  for (int32_t R = 1; R <= NR; ++R)
    for (int32_t C = 1; C <= NC; ++C) Mat.SetVal(C, R, Rows[detail::Ix1(R)][detail::Ix1(C)]);
}

// M := NC x NR cells of Value(C, R) (M resized).
template <class M, class F>
void FillBy(M& Mat, int32_t NC, int32_t NR, F&& Value) {
  Mat.Resize(NC, NR);
  for (int32_t C = 1; C <= NC; ++C)
    for (int32_t R = 1; R <= NR; ++R) Mat.SetVal(C, R, Value(C, R));
}

template <class M>
auto Column(const M& Mat, int32_t C) {
  std::vector<decltype(Mat.GetVal(1, 1))> V;
  for (int32_t R = 1; R <= Mat.NrOfRows(); ++R) V.push_back(Mat.GetVal(C, R));
  return V;
}

template <class M>
auto Row(const M& Mat, int32_t R) {
  std::vector<decltype(Mat.GetVal(1, 1))> V;
  for (int32_t C = 1; C <= Mat.NrOfColumns(); ++C) V.push_back(Mat.GetVal(C, R));
  return V;
}

// All rows of a matrix as written in the text (what FillRows takes).
template <class M>
auto AllRows(const M& Mat) {
  std::vector<decltype(Row(Mat, 1))> V;
  for (int32_t R = 1; R <= Mat.NrOfRows(); ++R) V.push_back(Row(Mat, R));
  return V;
}

// The products of a matrix component by form: 0 Multiply, 1
// MultiplyTransposed, 2 TransposeAndMultiply (into Res), 3 and 4 Multiply and
// TransposeAndMultiply of the vector X (into Y). TransA, TransB and Vec say
// how the form reads its operands.
struct TProductForm {
  int Form;
  bool TransA() const { return Form == 2 || Form == 4; }
  bool TransB() const { return Form == 1; }
  bool Vec() const { return Form >= 3; }
  template <class M, class V>
  bool Run(M& A, const M& B, M& Res, const V& X, V& Y) const {
    switch (Form) {
      case 0: return A.Multiply(&B, &Res);
      case 1: return A.MultiplyTransposed(&B, &Res);
      case 2: return A.TransposeAndMultiply(&B, &Res);
      case 3: return A.Multiply(&X, &Y);
      default: return A.TransposeAndMultiply(&X, &Y);
    }
  }
};

// Every weight of a self-organising map (GetWeight, in data units) in the
// order x, y, variable.
template <class K>
std::vector<double> MapWeights(const K& Map) {
  std::vector<double> W;
  for (int32_t X = 1; X <= Map.SizeX(); ++X)
    for (int32_t Y = 1; Y <= Map.SizeY(); ++Y)
      for (int32_t V = 1; V <= Map.NrOfInSens(); ++V) W.push_back(Map.GetWeight(X, Y, V));
  return W;
}

// Counts the OnChange calls of a component from Attach on.
// Same size and every cell the same bits (NaN and -0.0 included).
template <class M>
bool SameBits(const M& X, const M& Y) {
  if (X.NrOfColumns() != Y.NrOfColumns() || X.NrOfRows() != Y.NrOfRows()) return false;
  for (int32_t C = 1; C <= X.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= X.NrOfRows(); ++R) {
      const auto A = X.Elem(C, R), B = Y.Elem(C, R);
      if (std::memcmp(&A, &B, sizeof A) != 0) return false;
    }
  return true;
}

struct TChangeCounter {
  int Count = 0;
  template <class TComp>
  void Attach(TComp& Component) {
    Component.OnChange = [this](TObject*) { ++Count; };
  }
};

// Records every OnSortExchange (kind, I1, I2, I3, I4) and counts OnChange.
struct TSortRecorder {
  using TExchange = std::tuple<int, int, int, int, int>;
  std::vector<TExchange> Exchanges;
  int Changes = 0;
  template <class TComp>
  void Attach(TComp& Component) {
    Component.OnSortExchange = [this](TObject*, uint8_t K, int32_t A, int32_t B, int32_t C, int32_t D) {
      Exchanges.emplace_back(K, A, B, C, D);
    };
    Component.OnChange = [this](TObject*) { ++Changes; };
  }
};

// A TDataTable as one text: "name/attribute/scale" per column, "|",
// "name/attribute" per row, "|", then the cells column by column (columns
// separated by ";"), each value as %g with "@" and its state in hex when
// that is not 0. Example: "C-1/0/3 b/0/4 | R-1/0 R-2/9 | 0 0 ; 0 4@40".
template <class TTable>
std::string TableText(const TTable& T) {
  char B[64];
  std::string S;
  for (int32_t C = 1; C <= T.NrOfColumns(); ++C)
    S.append(T.ColName(C)).append("/").append(std::to_string(T.ColAttrib(C))).append("/")
        .append(std::to_string(int(T.MScaleType(C)))).append(" ");
  S += "|";
  for (int32_t R = 1; R <= T.NrOfRows(); ++R)
    S.append(" ").append(T.RowName(R)).append("/").append(std::to_string(T.RowAttrib(R)));
  S += " |";
  for (int32_t C = 1; C <= T.NrOfColumns(); ++C) {
    if (C > 1) S += " ;";
    for (int32_t R = 1; R <= T.NrOfRows(); ++R) {
      std::snprintf(B, sizeof B, " %g", T.NumericData->GetVal(C, R));
      S += B;
      if (T.CellState(C, R) != 0) {
        std::snprintf(B, sizeof B, "@%X", unsigned(T.CellState(C, R)));
        S += B;
      }
    }
  }
  return S;
}

// Records the events of a TDataTable in order, as one text: "Change",
// "Setup", "Names", "Attrib", "CellState", "Resize(c,r>c,r)" and
// "Exchange(kind,i1,i2,lo,hi)", separated by blanks. Sender must be the table.
struct TTableEventLog {
  std::string Text;
  template <class TTable>
  void Attach(TTable& T) {
    auto Named = [this, &T](const char* Name) {
      return [this, &T, Name](TObject* Sender) { Add(Sender == &T ? Name : "WrongSender"); };
    };
    T.OnChange = Named("Change");
    T.OnChangeSetup = Named("Setup");
    T.OnChangeNames = Named("Names");
    T.OnChangeAttrib = Named("Attrib");
    T.OnChangeCellState = Named("CellState");
    T.OnResize = [this](TObject*, int32_t OC, int32_t OR, int32_t NC, int32_t NR) {
      Add("Resize(" + std::to_string(OC) + "," + std::to_string(OR) + ">" + std::to_string(NC) + "," +
          std::to_string(NR) + ")");
    };
    T.OnSortExchange = [this](TObject*, uint8_t K, int32_t A, int32_t B, int32_t Lo, int32_t Hi) {
      Add("Exchange(" + std::to_string(K) + "," + std::to_string(A) + "," + std::to_string(B) + "," +
          std::to_string(Lo) + "," + std::to_string(Hi) + ")");
    };
  }
  // The text so far, and start afresh.
  std::string Take() { return std::exchange(Text, std::string()); }

 private:
  void Add(const std::string& E) { Text += Text.empty() ? E : " " + E; }
};

}  // namespace orv::test
