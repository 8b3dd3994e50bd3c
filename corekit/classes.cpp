// Platform layer: the component model and the worker thread.
#include <algorithm>

#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

TObject::~TObject() = default;
std::string TObject::ClassName() const { return "TObject"; }

std::string TPersistent::ClassName() const { return "TPersistent"; }

void TPersistent::Assign(TPersistent* Source) {
  if (Source == nullptr) throw EConvertError("Cannot assign a nil to a " + ClassName());
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + (Dest ? Dest->ClassName() : "nil"));
}

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
  // Last created first; each child's own destructor would otherwise search our list.
  while (!FComponents.empty()) {
    TComponent* Child = FComponents.back();
    FComponents.pop_back();
    Child->FOwner = nullptr;
    delete Child;
  }
  if (FOwner) {
    auto& Siblings = FOwner->FComponents;
    Siblings.erase(std::find(Siblings.begin(), Siblings.end(), this));
  }
}

std::string TComponent::ClassName() const { return "TComponent"; }

TComponent* TComponent::Components(int32_t Index) const {
  if (Index < 0 || Index >= ComponentCount()) return nullptr;
  return FComponents[static_cast<size_t>(Index)];
}

TThread::TThread() = default;

TThread::~TThread() { WaitFor(); }

std::string TThread::ClassName() const { return "TThread"; }

void TThread::Start() {
  if (FThread.joinable() || Finished()) return;
  FThread = std::thread([this] { Run(); });
}

void TThread::Run() {
  try {
    Execute();
  } catch (...) {
    FFatal = std::current_exception();
  }
  FFinished.store(true, std::memory_order_release);
  if (OnTerminate) OnTerminate(this);
}

void TThread::WaitFor() {
  if (FThread.joinable()) FThread.join();
}

namespace {
constinit std::atomic<int32_t> ProcessorOverride{0};
}

int32_t TThread::ProcessorCount() {
  if (const int32_t N = ProcessorOverride.load(std::memory_order_relaxed); N > 0) return N;
  const unsigned N = std::thread::hardware_concurrency();
  return N == 0 ? 1 : static_cast<int32_t>(std::min<unsigned>(N, 0x7FFFFFFF));
}

void detail::OverrideProcessorCount(int32_t Count) {
  ProcessorOverride.store(std::max(Count, 0), std::memory_order_relaxed);
}

}  // namespace orv
