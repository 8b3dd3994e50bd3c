// Work space and errors of the ORV_math2 routines (internal).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/distance.h"
#include "core/extent.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/math2/common.h"
#include "orvcorekit/Orv_sysutils.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orv::detail {

[[noreturn]] inline void RaiseMath2(const char* Text) { throw EORVMath2Error(Text); }

// Count zeros of work space for the routine Name; EORVMath2Error
// "<Name>: not enough memory" when they cannot be had.
template <class T = double>
std::vector<T> Math2WorkArray(std::string_view Name, int64_t Count) {
  return GuardAllocation(
      [&] {
        CheckExtent(Count, sizeof(T));
        return std::vector<T>(Ix(Count));
      },
      [&] { return EORVMath2Error(std::string(Name) + ": not enough memory"); });
}

// The measure Mode between two rows of P cells held in one piece each.
template <TDistMode Mode>
double RowMeasure(const double* A, const double* B, int32_t P) {
  return Measure<Mode>(P, [A](int64_t C) { return A[C]; }, [B](int64_t C) { return B[C]; });
}

// Count doubles, not initialised (the caller writes every cell it reads),
// for an array read across its rows as well as along them (the n x n
// distances of AgglomClustering). Such a walk meets a new page at every
// step, so where the system gives huge pages on request a large array asks
// for them: the column walks then stay in the TLB.
//
// A huge page backs only a whole aligned block of its size, so an array asks
// for them from one block's worth on (512 objects of the clustering), its
// size rounded up to whole blocks: less than one block more, never more than
// the array itself. A smaller array walks few pages anyway and comes from
// the heap as it is; rounded up, the 72 bytes of three objects would take a
// block of 2 MiB, zeroed by the system on first touch.
constexpr std::size_t HugePageBytes = std::size_t{1} << 21;
struct TBigWorkSize {
  std::size_t Bytes;
  bool Huge;  // aligned to HugePageBytes, with huge pages requested
};
inline TBigWorkSize BigWorkSize(int64_t Count) {
  CheckExtent(Count, sizeof(double));
  const std::size_t Bytes = Ix(Count) * sizeof(double);
  if (Bytes < HugePageBytes) return {Bytes, false};
  return {(Bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes, true};
}

struct TFreeWork {
  void operator()(double* P) const { std::free(P); }
};
using TBigWork = std::unique_ptr<double[], TFreeWork>;
inline TBigWork Math2BigWork(std::string_view Name, int64_t Count) {
  return GuardAllocation(
      [&] {
        const TBigWorkSize Size = BigWorkSize(Count);
        auto* P = static_cast<double*>(Size.Huge ? std::aligned_alloc(HugePageBytes, Size.Bytes)
                                                 : std::malloc(std::max<std::size_t>(Size.Bytes, 1)));
        if (P == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (Size.Huge) madvise(P, Size.Bytes, MADV_HUGEPAGE);  // advice only: failure changes nothing
#endif
        return TBigWork(P);
      },
      [&] { return EORVMath2Error(std::string(Name) + ": not enough memory"); });
}

// Rows First..First + Count - 1 (1-based, inside Data) of all columns,
// row-major: the row distances of the clustering and neighbour routines
// read each row in one piece.
inline std::vector<double> RowMajorCopy(std::string_view Name, const TMatrix& Data, int32_t First, int32_t Count) {
  const int32_t P = Data.NrOfColumns();
  std::vector<double> R = Math2WorkArray(Name, int64_t{Count} * P);
  for (int32_t C = 0; C < P; ++C) {
    const double* Col = Data.Mat[Ix(C)].data() + (First - 1);
    for (int32_t I = 0; I < Count; ++I) R[Ix(int64_t{I} * P + C)] = Col[I];
  }
  return R;
}

}  // namespace orv::detail
