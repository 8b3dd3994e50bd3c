// ORV_openarrays: FindInArray, FindInSortedArray, CountValues.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "arrays/shape.h"
#include "arrays/visit.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

namespace {

constexpr char LowerAZ(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

// Finds S inside cells in time linear in the lengths of S and of the cell,
// where a plain search can take their product (a long run of one letter).
// Knuth, Morris, Pratt, "Fast pattern matching in strings", SIAM J. Comput.
// 6(2), 1977.
class TPartialMatch {
 public:
  TPartialMatch(std::string_view S, bool IgnoreCase) : FPattern(S), FBorder(S.size()), FIgnoreCase(IgnoreCase) {
    if (IgnoreCase) std::transform(FPattern.begin(), FPattern.end(), FPattern.begin(), LowerAZ);
    // FBorder[I]: the length of the longest proper border of FPattern[0..I].
    std::size_t K = 0;
    for (std::size_t I = 1; I < FPattern.size(); ++I) {
      while (K > 0 && FPattern[I] != FPattern[K]) K = FBorder[K - 1];
      if (FPattern[I] == FPattern[K]) ++K;
      FBorder[I] = K;
    }
  }

  // S is not empty.
  bool In(std::string_view Cell) const {
    std::size_t K = 0;
    for (char C : Cell) {
      if (FIgnoreCase) C = LowerAZ(C);
      while (K > 0 && FPattern[K] != C) K = FBorder[K - 1];
      if (FPattern[K] == C && ++K == FPattern.size()) return true;
    }
    return false;
  }

 private:
  std::string FPattern;
  std::vector<std::size_t> FBorder;
  bool FIgnoreCase;
};

template <bool Ascending>
constexpr bool Beyond(double X, double Cell) {
  if constexpr (Ascending)
    return X > Cell;
  else
    return X < Cell;
}

template <bool Ascending>
int32_t Bisect(double X, const TDoubleArray& A) {
  int64_t Lo = 0, Hi = std::ssize(A) - 1;
  if (Beyond<Ascending>(A[detail::Ix(Lo)], X) || Beyond<Ascending>(X, A[detail::Ix(Hi)])) return -2;
  while (Hi - Lo > 1) {
    const int64_t Mid = (Lo + Hi) / 2;
    const double M = A[detail::Ix(Mid)];
    if (M == X) return static_cast<int32_t>(Mid);
    if (Beyond<Ascending>(X, M))
      Lo = Mid;
    else
      Hi = Mid;
  }
  const double L = A[detail::Ix(Lo)], H = A[detail::Ix(Hi)];
  // An infinite X is 0 away from an equal cell only by this test: inf - inf is NaN.
  if (H == X) return static_cast<int32_t>(Hi);
  if (L == X) return static_cast<int32_t>(Lo);
  return static_cast<int32_t>(std::fabs(L - X) >= std::fabs(H - X) ? Hi : Lo);
}

template <class A, class T>
int32_t Count(const A& X, int Levels, const detail::TBox<detail::Rank<A>>& B, T LowVal, T HighVal) {
  const auto S = detail::Shape(X);
  if (S.Empty(Levels)) return -1;
  if (B.Fit(S) != detail::bfInside || LowVal > HighVal) return -2;
  int64_t C = 0;
  detail::ForEachRunInBox(X, B, [&](auto Run, const auto&) {
    // Both tests every time: on data that straddles a bound, branches would be mispredicted.
    for (const T V : Run) C += static_cast<int>(LowVal <= V) & static_cast<int>(V <= HighVal);
  });
  return SatInt32(C);
}

}  // namespace

int32_t FindInArray(int32_t Key, const TIntArray& A) {
  if (A.empty() || !detail::Shape(A).Indexable()) return -1;
  const auto It = std::find(A.begin(), A.end(), Key);
  return It == A.end() ? -2 : static_cast<int32_t>(It - A.begin());
}

int32_t FindInArray(std::string_view S, const TStrArray& A, bool IgnoreCase, bool Partial) {
  if (A.empty() || !detail::Shape(A).Indexable()) return -1;
  if (Partial && S.empty()) return -2;
  const auto Same = [](char X, char Y) { return LowerAZ(X) == LowerAZ(Y); };
  const TPartialMatch Inside(Partial ? S : std::string_view(), IgnoreCase);
  for (std::size_t I = 0; I < A.size(); ++I) {
    const std::string_view Cell = A[I];
    const bool Match = Partial       ? Inside.In(Cell)
                       : IgnoreCase ? std::equal(Cell.begin(), Cell.end(), S.begin(), S.end(), Same)
                                    : Cell == S;
    if (Match) return static_cast<int32_t>(I);
  }
  return -2;
}

int32_t FindInSortedArray(double X, const TDoubleArray& A, bool Ascending) {
  if (A.empty() || !detail::Shape(A).Indexable()) return -1;
  if (std::isnan(X)) return -2;  // passes every range test, since every comparison with it is false
  return Ascending ? Bisect<true>(X, A) : Bisect<false>(X, A);
}

int32_t CountValues(const TDoubleArray& A, int32_t Lo, int32_t Hi, double LowVal, double HighVal) {
  return Count(A, 1, detail::PairBox(Lo, Hi), LowVal, HighVal);
}
int32_t CountValues(const TDouble2DArray& A, int32_t ColLo, int32_t ColHi, int32_t RowLo, int32_t RowHi,
                    double LowVal, double HighVal) {
  return Count(A, 2, detail::PairBox(ColLo, ColHi, RowLo, RowHi), LowVal, HighVal);
}
int32_t CountValues(const TDouble3DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2, int32_t Lo3,
                    int32_t Hi3, double LowVal, double HighVal) {
  return Count(A, 3, detail::PairBox(Lo1, Hi1, Lo2, Hi2, Lo3, Hi3), LowVal, HighVal);
}
int32_t CountValues(const TDouble4DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2, int32_t Lo3,
                    int32_t Hi3, int32_t Lo4, int32_t Hi4, double LowVal, double HighVal) {
  return Count(A, 3, detail::PairBox(Lo1, Hi1, Lo2, Hi2, Lo3, Hi3, Lo4, Hi4), LowVal, HighVal);
}
int32_t CountValues(const TIntArray& A, int32_t Lo, int32_t Hi, int32_t LowVal, int32_t HighVal) {
  return Count(A, 1, detail::PairBox(Lo, Hi), LowVal, HighVal);
}
int32_t CountValues(const TInt2DArray& A, int32_t ColLo, int32_t ColHi, int32_t RowLo, int32_t RowHi, int32_t LowVal,
                    int32_t HighVal) {
  return Count(A, 2, detail::PairBox(ColLo, ColHi, RowLo, RowHi), LowVal, HighVal);
}
int32_t CountValues(const TInt3DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2, int32_t Lo3,
                    int32_t Hi3, int32_t LowVal, int32_t HighVal) {
  return Count(A, 3, detail::PairBox(Lo1, Hi1, Lo2, Hi2, Lo3, Hi3), LowVal, HighVal);
}
int32_t CountValues(const TInt4DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2, int32_t Lo3,
                    int32_t Hi3, int32_t Lo4, int32_t Hi4, int32_t LowVal, int32_t HighVal) {
  return Count(A, 3, detail::PairBox(Lo1, Hi1, Lo2, Hi2, Lo3, Hi3, Lo4, Hi4), LowVal, HighVal);
}

}  // namespace orv
