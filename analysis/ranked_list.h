// Ranked list of the nearest objects (internal): the k smallest distances
// seen so far, ascending, each with its object number.
//
// Use: TRankedList L(101); for each object b: L.Insert(dist(b), b);
// then L.Dist(r) / L.Obj(r) for r = 0 .. k-1. Unfilled entries hold
// uc_MaxReal and object 0, which some callers report as they stand.
//
// Insertion rule of the ordered-insertion routines (ascending, equal
// values allowed): a distance goes in front of the first stored one that
// is >= it and the last entry drops out; a distance above the last entry,
// or NaN, is not inserted. So a distance equal to the last entry is
// inserted, and among equal distances the object seen last comes first.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv::detail {

class TRankedList {
 public:
  explicit TRankedList(int32_t Capacity)
      : Dist_(Ix(std::max<int32_t>(Capacity, 1)), uc_MaxReal), Obj_(Dist_.size(), 0) {}

  int32_t Capacity() const { return static_cast<int32_t>(Dist_.size()); }

  void Reset() {
    std::fill(Dist_.begin(), Dist_.end(), uc_MaxReal);
    std::fill(Obj_.begin(), Obj_.end(), 0);
  }

  // The 0-based place taken, or -1 when not inserted.
  int32_t Insert(double Dist, int32_t Obj) {
    if (!(Dist <= Dist_.back())) return -1;  // also rejects NaN
    const auto At = std::lower_bound(Dist_.begin(), Dist_.end(), Dist);
    const auto I = At - Dist_.begin();
    std::move_backward(At, Dist_.end() - 1, Dist_.end());
    std::move_backward(Obj_.begin() + I, Obj_.end() - 1, Obj_.end());
    *At = Dist;
    Obj_[Ix(I)] = Obj;
    return static_cast<int32_t>(I);
  }

  double Dist(int32_t R) const { return Dist_[Ix(R)]; }
  int32_t Obj(int32_t R) const { return Obj_[Ix(R)]; }

 private:
  std::vector<double> Dist_;
  std::vector<int32_t> Obj_;
};

}  // namespace orv::detail
