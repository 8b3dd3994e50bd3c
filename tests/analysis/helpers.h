// Shared by the tests of the analysis routines.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::test {

// Fills M (resized) from rows written as in the text: one row per object.
inline void FillRows(TMatrix& M, std::initializer_list<std::initializer_list<double>> Rows) {
  const auto NR = static_cast<int32_t>(Rows.size());
  const auto NC = static_cast<int32_t>(Rows.begin()->size());
  M.Resize(NC, NR);
  int32_t R = 1;
  for (const auto& Row : Rows) {
    int32_t C = 1;
    for (double V : Row) M.SetVal(C++, R, V);
    ++R;
  }
}

// Restores the progress hook and the abort flag when the test ends.
struct TProgressGuard {
  TMathFeedBackProc Saved = MathFeedBackProc;
  ~TProgressGuard() {
    MathFeedBackProc = Saved;
    AbortMathProc = false;
  }
};

}  // namespace orv::test
