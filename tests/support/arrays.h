// Dynamic arrays for the tests of ORV_openarrays. Test support.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::test {

// An array of the given extents (dimension 1 first) whose cells, in scan
// order, are Fn(0), Fn(1), ...: the layout of NumPy's
// np.array([Fn(k) for k in range(n)]).reshape(extents), so a reference
// computed there indexes the same cells.
template <class T, class F, class... E>
auto ScanArray(F Fn, int32_t First, E... Rest) {
  int64_t K = 0;
  auto Build = [&](auto& Self, int32_t N, auto... Inner) {
    if constexpr (sizeof...(Inner) == 0) {
      std::vector<T> V;
      for (int32_t I = 0; I < N; ++I) V.push_back(static_cast<T>(Fn(K++)));
      return V;
    } else {
      std::vector<decltype(Self(Self, Inner...))> V;
      for (int32_t I = 0; I < N; ++I) V.push_back(Self(Self, Inner...));
      return V;
    }
  };
  return Build(Build, First, Rest...);
}

// The cells of an array in scan order, as NumPy's ravel() lists them.
template <class T>
std::vector<T> ScanCells(const std::vector<T>& X) {
  return X;
}
template <class T>
auto ScanCells(const std::vector<std::vector<T>>& X) {
  decltype(ScanCells(X.front())) Cells;
  for (const auto& Sub : X) {
    const auto Part = ScanCells(Sub);
    Cells.insert(Cells.end(), Part.begin(), Part.end());
  }
  return Cells;
}

}  // namespace orv::test
