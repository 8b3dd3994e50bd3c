// CalcRanks: mid-ranks of the elements of a vector.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "core/combsort.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

using detail::Ix;

double CalcRanks(const TVector* Src, TVector* Dst) {
  if (Src == nullptr || Dst == nullptr) return 0.0;
  const int32_t N = Src->NrOfElem();
  std::vector<double> Value(Ix(N));
  for (int32_t I = 0; I < N; ++I) Value[Ix(I)] = Src->GetVal(I + 1);
  // Positions in ascending order of their values; NaN last, in input order.
  std::vector<int32_t> Order(Ix(N));
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(), [&](int32_t L, int32_t R) {
    return detail::SortsAfterAscending(Value[Ix(R)], Value[Ix(L)]);
  });
  std::vector<double> Rank(Ix(N));
  double Ties = 0.0;
  for (int32_t First = 0; First < N;) {
    const double V = Value[Ix(Order[Ix(First)])];
    int32_t Last = First;
    while (Last + 1 < N && Value[Ix(Order[Ix(Last + 1)])] == V) ++Last;
    const double T = Last - First + 1;
    const double Mid = (static_cast<double>(First + 1) + static_cast<double>(Last + 1)) / 2.0;
    for (int32_t K = First; K <= Last; ++K) Rank[Ix(Order[Ix(K)])] = Mid;
    if (T >= 2.0) Ties += T * (T * T - 1.0);
    First = Last + 1;
  }
  Dst->Resize(N);
  for (int32_t I = 0; I < N; ++I) Dst->SetVal(I + 1, Rank[Ix(I)]);
  return Ties;
}

}  // namespace orv
