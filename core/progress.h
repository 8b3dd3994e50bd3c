// Progress counting for loops whose passes are too short for a call each
// (internal). See docs/DESIGN.md, rule 12.
#pragma once

#include <cstdint>

#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// Counts the passes of one routine. With MathFeedBackProc assigned every pass
// is reported at once, as IncProcStat does. Without it nobody is told of a
// single pass, so the passes are kept here and added to ProcStat by Flush (and
// at the end of the scope), one by one, so that ProcStat ends on exactly the
// value the passes one at a time would give. A host thread that polls
// ProcStat sees it advance in steps.
class TPassCounter {
 public:
  TPassCounter() : FReport(static_cast<bool>(MathFeedBackProc)) {}
  ~TPassCounter() { Flush(); }
  TPassCounter(const TPassCounter&) = delete;
  TPassCounter& operator=(const TPassCounter&) = delete;

  // One pass that adds Delta (1 for most loops).
  void Pass(double Delta = 1.0) {
    if (FReport) {
      IncProcStat(Delta);
      return;
    }
    if (FPending != 0 && Delta != FDelta) Flush();
    FDelta = Delta;
    ++FPending;
  }
  void Flush() {
    if (FPending == 0) return;
    double Old = ProcStat.load(std::memory_order_relaxed);
    double New;
    do {
      New = Old;
      for (int64_t I = 0; I < FPending; ++I) New += FDelta;
    } while (!ProcStat.compare_exchange_weak(Old, New, std::memory_order_relaxed));
    FPending = 0;
  }

 private:
  bool FReport;
  double FDelta = 1.0;
  int64_t FPending = 0;
};

}  // namespace orv::detail
