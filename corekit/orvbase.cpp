// Base unit Orv_orvbase: the progress and abort globals.
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

std::atomic<double> ProcStat{0.0};
TMathFeedBackProc MathFeedBackProc;
std::atomic<bool> AbortMathProc{false};

double IncProcStat(double Delta, bool Report) {
  const double Now = ProcStat.fetch_add(Delta, std::memory_order_relaxed) + Delta;
  if (Report && MathFeedBackProc) MathFeedBackProc(Now);
  return Now;
}

}  // namespace orv
