// The progress and abort globals around a test. Test support.
#pragma once

#include <vector>

#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::test {

// Restores the progress hook and clears the abort flag when the test ends.
struct TProgressGuard {
  TMathFeedBackProc Saved = MathFeedBackProc;
  ~TProgressGuard() {
    MathFeedBackProc = Saved;
    AbortMathProc = false;
  }
};

// Counts the passes a routine reports: ProcStat starts at 100 and every value
// handed to MathFeedBackProc is kept in Seen.
class TPassCounter : TProgressGuard {
 public:
  TPassCounter() {
    ProcStat = 100.0;
    MathFeedBackProc = [this](double V) { Seen.push_back(V); };
  }
  double Passes() const { return ProcStat.load() - 100.0; }
  std::vector<double> Seen;
};

// TThread::ProcessorCount gives N while it lives, so that the threaded paths
// run (and the clamps show) on a machine of any size.
struct TProcessorCount {
  explicit TProcessorCount(int32_t N) { detail::OverrideProcessorCount(N); }
  ~TProcessorCount() { detail::OverrideProcessorCount(0); }
  TProcessorCount(const TProcessorCount&) = delete;
  TProcessorCount& operator=(const TProcessorCount&) = delete;
};

}  // namespace orv::test
