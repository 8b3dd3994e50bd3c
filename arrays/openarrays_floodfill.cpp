// ORV_openarrays: FloodFillArray, EdgeVector.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "arrays/shape.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

struct TRegion {
  int64_t Count = 0;
  int32_t MinCol, MaxCol, MinRow, MaxRow;
};

// Whether the seed lies in A, which must be rectangular and indexable by Integers.
template <class T>
bool SeedInside(const std::vector<std::vector<T>>& A, int32_t X, int32_t Y) {
  const auto S = detail::Shape(A);
  return !S.Empty() && S.Indexable() && X >= 0 && X < S.Ext[0] && Y >= 0 && Y < S.Ext[1];
}

// Fills the four-connected region of cells that Match around (X, Y), whose
// cell matches: Heckbert's scan-line fill with an explicit stack (Heckbert,
// "A seed fill algorithm", Graphics Gems, Academic Press, 1990), its runs
// along a column's rows, where the cells lie side by side. A pending entry
// names rows Lo .. Hi of column Col, beside a filled run of column Col - Dir;
// every run of matching cells of Col that meets those rows is filled whole and
// passes its own rows on to column Col + Dir, and the parts of it beyond Lo ..
// Hi back to Col - Dir, which was not looked at there. Marked: NewValue
// matches too, so the filled cells are told apart by a map; otherwise a
// filled cell matches no more.
template <bool Marked, class T, class FMatch>
TRegion FillRegion(std::vector<std::vector<T>>& A, int32_t X, int32_t Y, T NewValue, FMatch Match) {
  struct TPending {
    int32_t Col, Lo, Hi, Dir;
  };
  const int32_t NC = static_cast<int32_t>(A.size()), NR = static_cast<int32_t>(A[0].size());
  std::vector<uint8_t> Filled(Marked ? detail::Ix(int64_t{NC} * NR) : 0);
  std::vector<TPending> Pending;
  const auto Push = [&](int32_t Col, int32_t Lo, int32_t Hi, int32_t Dir) {
    if (Col >= 0 && Col < NC) Pending.push_back({Col, Lo, Hi, Dir});
  };
  // The seed's column first, then the seed's row of the column before it,
  // which no run of the seed's column passes back.
  Push(X - 1, Y, Y, -1);
  Push(X, Y, Y, 1);
  TRegion G{0, X, X, Y, Y};
  while (!Pending.empty()) {
    const TPending P = Pending.back();
    Pending.pop_back();
    T* Cells = A[detail::Ix(P.Col)].data();
    uint8_t* Done = Marked ? Filled.data() + int64_t{P.Col} * NR : nullptr;
    const auto Take = [&](int32_t R) {
      if constexpr (Marked)
        return Match(Cells[R]) && !Done[R];
      else
        return Match(Cells[R]);
    };
    // R in 64 bits: it steps past the last row, which may be 2147483646.
    for (int64_t R = P.Lo; R <= P.Hi; ++R) {
      if (!Take(static_cast<int32_t>(R))) continue;
      int32_t Top = static_cast<int32_t>(R), Bottom = Top;
      if (R == P.Lo)  // only the first run can reach above Lo
        while (Top > 0 && Take(Top - 1)) --Top;
      while (Bottom + 1 < NR && Take(Bottom + 1)) ++Bottom;
      std::fill(Cells + Top, Cells + Bottom + 1, NewValue);
      if constexpr (Marked) std::fill(Done + Top, Done + Bottom + 1, uint8_t{1});
      G.Count += Bottom - Top + 1;
      G.MinCol = std::min(G.MinCol, P.Col);
      G.MaxCol = std::max(G.MaxCol, P.Col);
      G.MinRow = std::min(G.MinRow, Top);
      G.MaxRow = std::max(G.MaxRow, Bottom);
      Push(P.Col + P.Dir, Top, Bottom, P.Dir);
      if (Top < P.Lo) Push(P.Col - P.Dir, Top, P.Lo - 1, -P.Dir);
      if (Bottom > P.Hi) Push(P.Col - P.Dir, P.Hi + 1, Bottom, -P.Dir);
      R = Bottom + 1;  // does not match; the loop steps past it
    }
  }
  return G;
}

int32_t Report(const TRegion& G, int32_t& MaxRow, int32_t& MinRow, int32_t& MinCol, int32_t& MaxCol) {
  MaxRow = G.MaxRow;
  MinRow = G.MinRow;
  MinCol = G.MinCol;
  MaxCol = G.MaxCol;
  return SatInt32(G.Count);
}

template <TEdgeOp Op>
void Reduce(double& Acc, double X) {
  if constexpr (Op == eoMinimum) {
    if (X < Acc) Acc = X;
  } else if constexpr (Op == eoMaximum) {
    if (X > Acc) Acc = X;
  } else {
    Acc += X;
  }
}

// One value per row: every row's accumulator takes the columns in turn, which
// keeps each row's order of cells and reads the columns front to back.
template <TEdgeOp Op, class T>
TDoubleArray EdgeOf(const std::vector<std::vector<T>>& A, bool PerRow, double Start) {
  if (PerRow) {
    TDoubleArray V(A[0].size(), Start);
    for (const auto& Col : A)
      for (std::size_t R = 0; R < V.size(); ++R) Reduce<Op>(V[R], Col[R]);
    return V;
  }
  TDoubleArray V(A.size());
  for (std::size_t C = 0; C < V.size(); ++C) {
    double Acc = Start;
    for (const T X : A[C]) Reduce<Op>(Acc, X);
    V[C] = Acc;
  }
  return V;
}

template <class T>
int32_t Edge(const std::vector<std::vector<T>>& A, TOrientation Orient, TEdgeOp Op, TDoubleArray& V) {
  if (detail::Shape(A).Empty()) return -1;
  const bool PerRow = Orient == orRows;
  TDoubleArray R;
  switch (Op) {
    case eoMinimum:
      R = EdgeOf<eoMinimum>(A, PerRow, uc_MaxDouble);
      break;
    case eoMaximum:
      R = EdgeOf<eoMaximum>(A, PerRow, -uc_MaxDouble);
      break;
    case eoSum:
    case eoMean:
      R = EdgeOf<eoSum>(A, PerRow, 0);
      break;
    default:
      return -2;
  }
  if (Op == eoMean) {
    const double N = static_cast<double>(PerRow ? A.size() : A[0].size());
    for (double& X : R) X /= N;
  }
  V = std::move(R);
  return 0;
}

}  // namespace

int32_t FloodFillArray(int32_t X, int32_t Y, int32_t NewValue, TInt2DArray& A, int32_t& MaxRow, int32_t& MinRow,
                       int32_t& MinCol, int32_t& MaxCol) {
  if (!SeedInside(A, X, Y)) return -1;
  const int32_t Old = A[detail::Ix(X)][detail::Ix(Y)];
  if (Old == NewValue) return -2;
  const auto G = FillRegion<false>(A, X, Y, NewValue, [Old](int32_t C) { return C == Old; });
  return Report(G, MaxRow, MinRow, MinCol, MaxCol);
}

int32_t FloodFillArray(int32_t X, int32_t Y, double Tol, double NewValue, TDouble2DArray& A, int32_t& MaxRow,
                       int32_t& MinRow, int32_t& MinCol, int32_t& MaxCol) {
  if (!SeedInside(A, X, Y)) return -1;
  const double Old = A[detail::Ix(X)][detail::Ix(Y)];
  Tol = std::fabs(Tol);
  const double Lo = Old - Tol, Hi = Old + Tol;
  const auto Match = [Lo, Hi](double C) { return (Lo <= C) & (C <= Hi); };  // one branch, not two
  if (!Match(Old)) return 0;  // NaN in the seed or the range: nothing matches
  const auto G = Match(NewValue) ? FillRegion<true>(A, X, Y, NewValue, Match)
                                 : FillRegion<false>(A, X, Y, NewValue, Match);
  return Report(G, MaxRow, MinRow, MinCol, MaxCol);
}

int32_t EdgeVector(const TInt2DArray& A, TOrientation Orient, TEdgeOp Op, TDoubleArray& V) {
  return Edge(A, Orient, Op, V);
}
int32_t EdgeVector(const TDouble2DArray& A, TOrientation Orient, TEdgeOp Op, TDoubleArray& V) {
  return Edge(A, Orient, Op, V);
}

}  // namespace orv
