// Worker threads over the columns of a computation (internal): the slot
// protocol of TMatrix.Square and of the layer statistics of TMat4D.
//
// How to use
// ----------
//     bool Done = RunColumnWorkers(First, Last, Width, NThreads, TestAbort,
//                                  [&](int32_t Col) { auto W = std::make_unique<TMyThread>(); ...; return W; });
// Make(Col) returns a worker (a TThread) for the columns Col .. Col + Width
// - 1 (fewer at the end), its fields set, not started. The protocol:
// k = min(NThreads, items) slots; items handed out in increasing order, the
// first k created and then started in slot order; then passes on the
// calling thread, each calling MathFeedBackProc(ProcStat) when assigned,
// testing AbortMathProc when TestAbort, and refilling the finished slots in
// slot order while items remain, until every slot's worker has finished.
// Then the workers are freed in slot order and MathFeedBackProc is called
// once more. Between passes the caller sleeps until a worker finishes, so
// a pass follows every finishing worker instead of a spin.
//
// A worker that ended by an exception stops the handing out; the running
// ones finish, every one is joined, and the first exception seen is raised
// on the calling thread. On an abort the result is false after the running
// workers have finished (their columns are complete). No worker outlives
// the call, whatever leaves it (a raising MathFeedBackProc included).
//
// Host code and the workers
// -------------------------
// Host code (MathFeedBackProc on the calling thread, an event a worker
// fires) may change the storage the workers use, and a check after the
// call would come too late for a worker reading it meanwhile. A routine
// that calls host code while its workers run passes a TWorkerGate as the
// last argument: workers use the storage only under Share() and only while
// Open(); host code runs under Host(Call), alone, after which the gate's
// check (a storage guard's Intact, core/storage_guard.h) closes it when the
// storage is no longer the one the workers were given. A closed gate hands
// out no more items; the routine then stops with its failure. The feedback
// call then waits for the running workers' use of the storage: passes
// become fewer, never the results different. That suits few long items
// (the layer statistics); where a pass follows every short item (a column
// of Square) the wait would cost the time of an item per pass, and the
// workers use copies instead (rule (a) of DESIGN.md). Without host code
// (no handler, no MathFeedBackProc) a routine passes no gate and nothing
// waits.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv::detail {

// See "Host code and the workers" above.
class TWorkerGate {
 public:
  explicit TWorkerGate(std::function<bool()> Check) : FCheck(std::move(Check)) {}
  // A worker holds this while it uses the storage, and then uses it only
  // while Open().
  std::shared_lock<std::shared_mutex> Share() { return std::shared_lock<std::shared_mutex>(FMutex); }
  bool Open() const { return !FClosed.load(std::memory_order_acquire); }
  // Call alone, no worker in; the check closes the gate when the storage changed.
  template <class F>
  void Host(F&& Call) {
    std::unique_lock<std::shared_mutex> L(FMutex);
    Call();
    if (!FCheck()) FClosed.store(true, std::memory_order_release);
  }

 private:
  std::shared_mutex FMutex;
  std::atomic<bool> FClosed{false};
  std::function<bool()> FCheck;
};

// The gate of routines whose workers run beside no host code.
struct TNoWorkerGate {
  template <class F>
  void Host(F&& Call) {
    Call();
  }
  bool Open() const { return true; }
};

// Counts finished workers; the poller sleeps until the count moves.
class TWorkerWakeUp {
 public:
  void Signal() {
    {
      std::lock_guard<std::mutex> L(FMutex);
      ++FCount;
    }
    FChanged.notify_one();
  }
  uint64_t Count() {
    std::lock_guard<std::mutex> L(FMutex);
    return FCount;
  }
  void WaitPast(uint64_t Seen) {
    std::unique_lock<std::mutex> L(FMutex);
    FChanged.wait(L, [&] { return FCount != Seen; });
  }

 private:
  std::mutex FMutex;
  std::condition_variable FChanged;
  uint64_t FCount = 0;
};

// The slots; whatever happens, each worker is waited for before it goes.
template <class W>
class TWorkerSlots {
 public:
  explicit TWorkerSlots(std::size_t K) : FSlots(K) {}
  ~TWorkerSlots() { FreeAll(); }
  TWorkerSlots(const TWorkerSlots&) = delete;
  TWorkerSlots& operator=(const TWorkerSlots&) = delete;

  std::vector<std::unique_ptr<W>>& Slots() { return FSlots; }
  static void Free(std::unique_ptr<W>& Slot) {
    if (!Slot) return;
    Slot->WaitFor();
    Slot.reset();
  }
  void FreeAll() {
    for (auto& S : FSlots) Free(S);
  }

 private:
  std::vector<std::unique_ptr<W>> FSlots;
};

template <class MakeFn, class GateT>
bool RunColumnWorkers(int32_t First, int32_t Last, int32_t Width, int32_t NThreads, bool TestAbort, MakeFn&& Make,
                      GateT& Gate) {
  using W = typename std::invoke_result_t<MakeFn&, int32_t>::element_type;
  static_assert(std::is_base_of_v<TThread, W>);
  const int64_t Items = Last < First ? 0 : (int64_t{Last} - First) / Width + 1;
  TWorkerWakeUp Wake;  // outlives the slots, which join their workers
  TWorkerSlots<W> Pool(static_cast<std::size_t>(std::clamp<int64_t>(NThreads, 0, Items)));
  int64_t Next = First;
  auto Create = [&](std::unique_ptr<W>& Slot) {
    Slot = Make(static_cast<int32_t>(Next));
    Slot->OnTerminate = [&Wake](TObject*) { Wake.Signal(); };
    Next += Width;
  };
  for (auto& S : Pool.Slots()) Create(S);
  for (auto& S : Pool.Slots()) S->Start();

  bool Result = true;
  std::exception_ptr Failure;
  for (;;) {
    const uint64_t Seen = Wake.Count();
    if (MathFeedBackProc) Gate.Host([] { MathFeedBackProc(ProcStat); });
    if (TestAbort && AbortMathProc) {
      Result = false;
      break;
    }
    bool AllDone = true;
    for (auto& S : Pool.Slots()) {
      if (S->Finished() && !Failure) Failure = S->FatalException();
      if (S->Finished() && !Failure && Next <= Last && Gate.Open()) {
        TWorkerSlots<W>::Free(S);
        Create(S);
        S->Start();
      }
      AllDone = AllDone && S->Finished();
    }
    // A worker started in this walk may already have ended: then the next
    // pass hands out the rest at once.
    if (AllDone && (Failure || Next > Last || !Gate.Open())) break;
    if (!AllDone) Wake.WaitPast(Seen);
  }
  for (auto& S : Pool.Slots()) {
    S->WaitFor();
    if (!Failure) Failure = S->FatalException();
  }
  Pool.FreeAll();
  if (Failure) std::rethrow_exception(Failure);
  if (Result && MathFeedBackProc) MathFeedBackProc(ProcStat);
  return Result;
}

template <class MakeFn>
bool RunColumnWorkers(int32_t First, int32_t Last, int32_t Width, int32_t NThreads, bool TestAbort, MakeFn&& Make) {
  TNoWorkerGate Gate;
  return RunColumnWorkers(First, Last, Width, NThreads, TestAbort, std::forward<MakeFn>(Make), Gate);
}

}  // namespace orv::detail
