// TThread: the worker thread of the platform layer.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "orvcorekit/Orv_classes.h"

namespace orv {
namespace {

class TProbe : public TThread {
 public:
  bool Raise = false;
  int Runs = 0;

 protected:
  void Execute() override {
    ++Runs;
    if (Raise) throw std::runtime_error("in the worker");
    Terminate();
  }
};

TEST(Thread, SuspendedUntilStartedFailuresKeptProcessorsOverridable) {
  TProbe Idle, Good, Bad;  // Idle is never started: nothing runs, freeing does not wait
  Bad.Raise = true;
  std::atomic<int> Ended{0};
  for (TProbe* P : {&Good, &Bad}) {
    P->OnTerminate = [&](TObject*) { ++Ended; };
    P->Start();
    P->Start();  // once only
    P->WaitFor();
  }
  EXPECT_EQ(Idle.Runs + Good.Runs + Bad.Runs, 2);
  EXPECT_TRUE(Good.Terminated() && Good.Finished() && !Good.FatalException());
  EXPECT_TRUE(!Bad.Terminated() && Bad.Finished() && !Idle.Finished());
  EXPECT_THROW(std::rethrow_exception(Bad.FatalException()), std::runtime_error);
  EXPECT_EQ(Ended.load(), 2);
  detail::OverrideProcessorCount(3);
  EXPECT_EQ(TThread::ProcessorCount(), 3);
  detail::OverrideProcessorCount(0);
  EXPECT_GE(TThread::ProcessorCount(), 1);
}

}  // namespace
}  // namespace orv
