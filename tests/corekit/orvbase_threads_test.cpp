// Progress globals used from worker threads.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "orvcorekit/Orv_orvbase.h"

namespace {

TEST(Progress, AdditionsFromWorkerThreadsAreNotLost) {
  orv::ProcStat = 0.0;
  std::vector<std::thread> Workers;
  for (int t = 0; t < 8; ++t)
    Workers.emplace_back([] {
      for (int i = 0; i < 20000; ++i) orv::IncProcStat(0.5, false);
    });
  for (auto& W : Workers) W.join();
  EXPECT_EQ(orv::ProcStat.load(), 80000.0);
}

}  // namespace
