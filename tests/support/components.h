// Filling and reading data components, and recording their events. Test
// support; written for any component with the accessors of TVector or TMatrix.
#pragma once

#include <cstdint>
#include <tuple>
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

// M := the rows as written in the text, one row per object (M resized).
template <class M>
void FillRows(M& Mat, const std::vector<std::vector<double>>& Rows) {
  const auto NR = static_cast<int32_t>(Rows.size());
  const auto NC = static_cast<int32_t>(Rows.front().size());
  Mat.Resize(NC, NR);
  for (int32_t R = 1; R <= NR; ++R)
    for (int32_t C = 1; C <= NC; ++C) Mat.SetVal(C, R, Rows[detail::Ix1(R)][detail::Ix1(C)]);
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

// Counts the OnChange calls of a component from Attach on.
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

}  // namespace orv::test
