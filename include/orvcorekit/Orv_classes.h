// Platform layer: the component model (TObject -> TPersistent -> TComponent),
// the plain notification event and the integer point and rectangle.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
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

}  // namespace orv
