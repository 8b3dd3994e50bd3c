// ORV_openarrays: InvertArray of a TDouble2DArray, TransposeArray,
// TraceOfArray. The inverse is the Crout kernel of core/crout.h, which
// TMatrix::Invert runs as well.
#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "arrays/convert.h"
#include "arrays/shape.h"
#include "core/crout.h"
#include "core/storage_guard.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {

using detail::Ix;

namespace {

using detail::TCroutOutcome;

template <class T>
int32_t Transpose(std::vector<std::vector<T>>& A) {
  const auto S = detail::Shape(A);
  if (S.Empty()) return -1;
  const int64_t N = S.Ext[0], M = S.Ext[1];
  std::vector<std::vector<T>> Out(Ix(M), std::vector<T>(Ix(N)));
  // A block of source columns at a time, so that the cells read along a
  // source column and written across the new columns stay in cache.
  constexpr int64_t Block = 16;
  for (int64_t C0 = 0; C0 < N; C0 += Block) {
    const int64_t C1 = std::min(N, C0 + Block);
    for (int64_t R = 0; R < M; ++R)
      for (int64_t C = C0; C < C1; ++C) Out[Ix(R)][Ix(C)] = A[Ix(C)][Ix(R)];
  }
  A = std::move(Out);
  return 0;
}

template <class T>
int32_t TraceOf(const std::vector<std::vector<T>>& A, T& Result) {
  Result = 0;
  const auto S = detail::Shape(A);
  if (S.Empty()) return -1;
  if (S.Ext[0] != S.Ext[1]) return -2;
  T Sum = 0;
  for (std::size_t I = 0; I < A.size(); ++I) Sum = detail::WrapAdd(Sum, A[I][I]);
  Result = Sum;
  return 0;
}

}  // namespace

int32_t InvertArray(TDouble2DArray& A) {
  const auto S = detail::Shape(A);
  if (S.Empty() || S.Ext[0] != S.Ext[1]) return -1;
  const int64_t N = S.Ext[0];
  detail::TCroutWork W;
  std::vector<double*> Cols;
  // Stopped, too, when a progress handler resizes or moves the caller's array.
  std::optional<detail::TStorageGuard<const TDouble2DArray*>> Storage;
  try {
    W.Allocate(N, true);
    Cols.resize(Ix(N));
    Storage.emplace(A);
  } catch (const std::bad_alloc&) {
    return -2;
  } catch (const std::length_error&) {
    return -2;
  }
  for (int64_t C = 0; C < N; ++C) Cols[Ix(C)] = A[Ix(C)].data();
  detail::TCroutHostHooks H{*Storage};
  switch (detail::CroutInvert(Cols.data(), N, W, H)) {
    case TCroutOutcome::Done:
      return 0;
    case TCroutOutcome::NotFinite:
      return -2;
    default:
      return -3;  // Singular, Stopped
  }
}

int32_t TransposeArray(TDouble2DArray& A) { return Transpose(A); }
int32_t TransposeArray(TInt2DArray& A) { return Transpose(A); }
int32_t TransposeArray(TBool2DArray& A) { return Transpose(A); }

int32_t TraceOfArray(const TDouble2DArray& A, double& Trace) { return TraceOf(A, Trace); }
int32_t TraceOfArray(const TInt2DArray& A, int32_t& Trace) { return TraceOf(A, Trace); }

}  // namespace orv
