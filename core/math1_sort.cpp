// ORV_math1: sorting, selection and exchange in plain arrays.
#include "core/combsort.h"
#include "orvcalckit/ORV_math1.h"

namespace orv {

namespace {

// Calls Fn with a value of the element type that Kind names; false for an
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

template <class T>
void SortSpan(std::span<T> Data, bool Ascending) {
  detail::CombSortValues(Data.data(), static_cast<int64_t>(Data.size()), Ascending, detail::CombReportPass);
}

}  // namespace

void SortArray(void* Data, int32_t N, TVarKind Kind, bool Ascending) {
  if (Data == nullptr || N <= 1) return;
  WithKind(Kind, [&](auto Tag) {
    using T = decltype(Tag);
    SortSpan(std::span<T>(static_cast<T*>(Data), static_cast<size_t>(N)), Ascending);
  });
}

void SortArray(std::span<double> Data, bool Ascending) { SortSpan(Data, Ascending); }
void SortArray(std::span<int32_t> Data, bool Ascending) { SortSpan(Data, Ascending); }
void SortArray(std::span<float> Data, bool Ascending) { SortSpan(Data, Ascending); }

}  // namespace orv
