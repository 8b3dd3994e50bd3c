// Platform layer: the component model (TObject -> TPersistent -> TComponent),
// the plain notification event, the integer point and rectangle, and the
// worker thread TThread.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Orv_export.h"

namespace orv {

class ORVCORE_API TObject {
 public:
  virtual ~TObject();
  // The class name as the messages of the library print it ("TMatrix").
  virtual std::string ClassName() const;
};

// Copying between objects. Assign(Source) lets Source copy itself into this
// object (Source->AssignTo(this)); a class that can copy from a source
// overrides Assign, one that can copy into a target overrides AssignTo. When no
// class knows the pair, EConvertError "Cannot assign a TX to a TY" is raised.
class ORVCORE_API TPersistent : public TObject {
 public:
  std::string ClassName() const override;
  virtual void Assign(TPersistent* Source);
  virtual void AssignTo(TPersistent* Dest);
};

// A component may have an owner. The owner deletes the components it owns when
// it is destroyed; a component destroyed first leaves its owner's list. A
// component with an owner must therefore live on the heap (new); one without
// may live on the stack or in a std::unique_ptr. Components are not copyable.
class ORVCORE_API TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string ClassName() const override;
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TComponent* Owner() const { return FOwner; }
  int32_t ComponentCount() const { return static_cast<int32_t>(FComponents.size()); }
  TComponent* Components(int32_t Index) const;  // nullptr outside 0..ComponentCount-1

 private:
  TComponent* FOwner;
  std::string FName;
  std::vector<TComponent*> FComponents;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// A worker thread: a derived class overrides Execute, sets its fields while
// the thread is suspended (as it is created) and calls Start once. Execute
// runs on a thread of its own; an exception leaving it is kept in
// FatalException instead of ending the process. Finished() turns true after
// Execute has returned or raised, and then OnTerminate, when assigned, runs
// on the worker thread itself (there is no main loop to hand it to). The
// thread never frees itself (FreeOnTerminate is always false): the owner
// calls WaitFor, or deletes it, which waits for the end. A derived class
// whose Execute reads its own fields must see the thread ended before its
// part is destroyed: its owner calls WaitFor before delete.
class ORVCORE_API TThread : public TObject {
 public:
  TThread();
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;
  std::string ClassName() const override;

  // Runs Execute on a new thread; a second call does nothing. A thread that
  // cannot be had raises std::system_error.
  void Start();
  // Sets Terminated; what Execute makes of it is its own business.
  void Terminate() { FTerminated.store(true, std::memory_order_release); }
  bool Terminated() const { return FTerminated.load(std::memory_order_acquire); }
  bool Finished() const { return FFinished.load(std::memory_order_acquire); }
  bool FreeOnTerminate() const { return false; }
  // Blocks until Execute has ended (at once for a thread never started).
  void WaitFor();
  // What left Execute by an exception; read it after WaitFor.
  std::exception_ptr FatalException() const { return FFatal; }

  // The processors of the machine, at least 1.
  static int32_t ProcessorCount();

  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;

 private:
  void Run();

  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::exception_ptr FFatal;
  std::thread FThread;
};

namespace detail {
// Makes TThread::ProcessorCount give Count (0: the machine's count again),
// so that the threaded paths of the library are tested on any machine.
ORVCORE_API void OverrideProcessorCount(int32_t Count);
}  // namespace detail

}  // namespace orv
