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

TEST(Thread, SuspendedUntilStartedAndFailuresKeptForTheOwner) {
  TProbe Idle;  // never started: nothing runs, freeing does not wait
  EXPECT_FALSE(Idle.Finished());
  Idle.WaitFor();
  EXPECT_EQ(Idle.Runs, 0);

  std::atomic<int> Ended{0};
  TProbe Good, Bad;
  Bad.Raise = true;
  for (TProbe* P : {&Good, &Bad}) {
    P->OnTerminate = [&](TObject*) { ++Ended; };
    P->Start();
    P->Start();  // once only
  }
  Good.WaitFor();
  Bad.WaitFor();
  EXPECT_EQ(Good.Runs + Bad.Runs, 2);
  EXPECT_TRUE(Good.Terminated() && Good.Finished() && !Good.FatalException());
  EXPECT_TRUE(!Bad.Terminated() && Bad.Finished());
  EXPECT_THROW(std::rethrow_exception(Bad.FatalException()), std::runtime_error);
  EXPECT_EQ(Ended.load(), 2);
  EXPECT_FALSE(Good.FreeOnTerminate());
}

TEST(Thread, ProcessorCountAtLeastOneAndOverridable) {
  EXPECT_GE(TThread::ProcessorCount(), 1);
  detail::OverrideProcessorCount(3);
  EXPECT_EQ(TThread::ProcessorCount(), 3);
  detail::OverrideProcessorCount(0);
  EXPECT_GE(TThread::ProcessorCount(), 1);
}

}  // namespace
}  // namespace orv
