// ORV_math1: sorting, selection and exchange in plain arrays.
#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/combsort.h"
#include "core/combsort_lanes.h"
#include "orvcalckit/ORV_math1.h"

namespace orv {

namespace {

// Calls F with a value of the element type that Kind names; false for an
// unknown kind.
template <class Fn>
bool WithKind(TVarKind Kind, Fn&& F) {
  switch (Kind) {
    case vkDouble:
    case vkReal:
      F(double{});
      return true;
    case vkSingle:
      F(float{});
      return true;
    case vkInteger:
    case vkLongInt:
      F(int32_t{});
      return true;
  }
  return false;
}

// Comb sort from gap N, NaN last, one progress report per pass.
template <class T>
void SortValues(T* A, int64_t N, bool Ascending) {
  detail::CombSortValues(A, nullptr, N, N, Ascending, detail::CombReportPass);
}

// Writes Value at Index of a full array, moving the rest up; the last element
// drops out. Nothing happens outside 0..N-1.
template <class T>
void InsertInto(T* A, int64_t N, T Value, int64_t Index) {
  if (Index < 0 || Index >= N) return;
  std::copy_backward(A + Index, A + N - 1, A + N);
  A[Index] = Value;
}

// Ordered insertion: the 0-based index of the new value, or -1.
template <class T>
int64_t SortInto(T* A, int64_t N, T Value, bool Ascending, bool AllowEqual) {
  if (N <= 0) return -1;
  const int64_t High = N - 1;
  int64_t i = 0;
  if (Ascending)
    while (i < High && !(A[i] >= Value)) ++i;
  else
    while (i < High && !(A[i] <= Value)) ++i;
  const bool RightSide = Ascending ? A[i] >= Value : A[i] <= Value;
  if (!RightSide || (!AllowEqual && A[i] == Value)) return -1;
  InsertInto(A, N, Value, i);
  return i;
}

template <class T>
int32_t SortIntoSpan(std::span<T> Data, T Value, bool Ascending, bool AllowEqual) {
  return SatInt32(SortInto(Data.data(), static_cast<int64_t>(Data.size()), Value, Ascending, AllowEqual));
}

template <class T>
void InsertIntoSpan(std::span<T> Data, T Value, int32_t Index) {
  InsertInto(Data.data(), static_cast<int64_t>(Data.size()), Value, Index);
}

// Lomuto partition of A[Low+1..High] around V: every element below V is
// exchanged, in index order, with the first element of the right part.
// Returns the last index of the left part (Low when it is empty). Written
// without a branch on the comparison (random data would mispredict half of
// them); the exchanges are exactly those of the plain loop.
int64_t PartitionBelow(double* A, int64_t Low, int64_t High, double V) {
  double* First = A + Low + 1;  // the first element of the right part
  for (double* R = A + Low + 1; R <= A + High; ++R) {
    const double X = *R;
    const std::ptrdiff_t Smaller = -static_cast<std::ptrdiff_t>(X < V);
    const std::ptrdiff_t Delta = Smaller & (R - First);
    First[Delta] = *First;
    R[-Delta] = X;
    First -= Smaller;
  }
  return (First - A) - 1;
}

// Moves the cells of A[From..High] that tie with V (equal to it; NaN when V
// is NaN) to the front of that range, each exchanged in index order with the
// first cell that does not tie. Returns the index behind them.
int64_t GatherTies(double* A, int64_t From, int64_t High, double V) {
  const bool NaN = V != V;
  int64_t Next = From;
  for (int64_t R = From; R <= High; ++R)
    if (A[R] == V || (NaN && A[R] != A[R])) std::swap(A[Next++], A[R]);
  return Next;
}

}  // namespace

void SortArray(void* Data, int32_t N, TVarKind Kind, bool Ascending) {
  if (Data == nullptr || N <= 1) return;
  WithKind(Kind, [&](auto Tag) { SortValues(static_cast<decltype(Tag)*>(Data), N, Ascending); });
}

void SortArray(std::span<double> Data, bool Ascending) { SortValues(Data.data(), std::ssize(Data), Ascending); }
void SortArray(std::span<int32_t> Data, bool Ascending) { SortValues(Data.data(), std::ssize(Data), Ascending); }
void SortArray(std::span<float> Data, bool Ascending) { SortValues(Data.data(), std::ssize(Data), Ascending); }

int32_t SortIntoArray(void* Data, int32_t N, TVarKind Kind, const void* Value, bool Ascending,
                      bool AllowEqual) {
  if (Data == nullptr || Value == nullptr) return 0;
  int64_t Ix = -1;
  WithKind(Kind, [&](auto Tag) {
    using T = decltype(Tag);
    Ix = SortInto(static_cast<T*>(Data), N, *static_cast<const T*>(Value), Ascending, AllowEqual);
  });
  return static_cast<int32_t>(Ix + 1);
}

int32_t SortIntoArray(std::span<double> Data, double Value, bool Ascending, bool AllowEqual) {
  return SortIntoSpan(Data, Value, Ascending, AllowEqual);
}
int32_t SortIntoArray(std::span<float> Data, float Value, bool Ascending, bool AllowEqual) {
  return SortIntoSpan(Data, Value, Ascending, AllowEqual);
}
int32_t SortIntoArray(std::span<int32_t> Data, int32_t Value, bool Ascending, bool AllowEqual) {
  return SortIntoSpan(Data, Value, Ascending, AllowEqual);
}

void InsertIntoArray(void* Data, int32_t N, TVarKind Kind, const void* Value, int32_t Position) {
  if (Data == nullptr || Value == nullptr) return;
  WithKind(Kind, [&](auto Tag) {
    using T = decltype(Tag);
    InsertInto(static_cast<T*>(Data), N, *static_cast<const T*>(Value), int64_t{Position} - 1);
  });
}

void InsertIntoArray(std::span<double> Data, double Value, int32_t Index) { InsertIntoSpan(Data, Value, Index); }
void InsertIntoArray(std::span<float> Data, float Value, int32_t Index) { InsertIntoSpan(Data, Value, Index); }
void InsertIntoArray(std::span<int32_t> Data, int32_t Value, int32_t Index) { InsertIntoSpan(Data, Value, Index); }

// Hoare, "Algorithm 65: Find", CACM 4(7), 1961, with Lomuto's partition
// (Bentley, "Programming Pearls", 1986).
double QuickSelect(std::span<double> Data, int32_t K, int32_t Low, int32_t High) {
  if (High < Low || K < Low || K > High || Low < 0 || High >= static_cast<int64_t>(Data.size())) return 0;
  double* A = Data.data();
  const double First = A[Low];
  int64_t L = Low, H = High;
  int64_t i = L + 1;
  while (i <= H && A[i] == First) ++i;
  if (i > H) return First;  // all equal: nothing moves
  // The middle pivot costs about 3 (H - L + 1) cells on any but contrived
  // orders (7 at the 99.9th percentile of random data), but it degrades to
  // quadratic time on some orders that measured data has, such as a single
  // peak (ascending, then descending). Beyond this many partitioned cells the
  // rest of the range is selected by introselect, whose worst case is
  // O(n log n); the value is the same, only the order left behind differs.
  int64_t Budget = 16 * (H - L + 1) + 256;
  for (;;) {
    Budget -= H - L + 1;
    if (Budget < 0) {
      std::nth_element(A + L, A + K, A + H + 1, [](double X, double Y) { return detail::SortsAfterAscending(Y, X); });
      return A[K];
    }
    const int64_t P = (L + H) / 2;
    const double V = A[P];
    std::swap(A[P], A[L]);
    const int64_t M = PartitionBelow(A, L, H, V);
    A[L] = A[M];
    A[M] = V;
    if (K < M) {
      H = M;
    } else if (K > M) {
      const bool NoneBelow = M == L;
      L = M + 1;
      // V is the least of the range (or NaN). Its ties would leave the range
      // one per pass, quadratic in their number (an array of zeros with a
      // few other values); they go behind it at once. Without ties nothing
      // moves here, so the exchanges are those of the plain method.
      if (NoneBelow) {
        L = GatherTies(A, L, H, V);
        if (K < L) return A[K];
      }
      if (L > H) return First;
    } else {
      return A[K];
    }
  }
}

bool SortSwap(double& A, double& B, bool Ascending) {
  const bool Swap = Ascending ? A >= B : A < B;
  if (Swap) std::swap(A, B);
  return Swap;
}

void ExChange(void* A, void* B, uint16_t Size) {
  if (A == nullptr || B == nullptr) return;
  auto* X = static_cast<unsigned char*>(A);
  auto* Y = static_cast<unsigned char*>(B);
  for (uint16_t k = 0; k < Size; ++k) std::swap(X[k], Y[k]);
}

void ExChange(int32_t& A, int32_t& B) { std::swap(A, B); }
void ExChange(uint8_t& A, uint8_t& B) { std::swap(A, B); }
void ExChange(float& A, float& B) { std::swap(A, B); }
void ExChange(double& A, double& B) { std::swap(A, B); }
#if ORV_HAS_EXTENDED
void ExChange(Extended& A, Extended& B) { std::swap(A, B); }
#endif
void ExChange(std::string& A, std::string& B) { std::swap(A, B); }
void ExChange(bool& A, bool& B) { std::swap(A, B); }
void ExChange(char& A, char& B) { std::swap(A, B); }
void ExChange(uint16_t& A, uint16_t& B) { std::swap(A, B); }
void ExChange(int8_t& A, int8_t& B) { std::swap(A, B); }
void ExChange(uint32_t& A, uint32_t& B) { std::swap(A, B); }
void ExChange(int64_t& A, int64_t& B) { std::swap(A, B); }

}  // namespace orv
