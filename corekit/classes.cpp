// Platform layer: the component model.
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

}  // namespace orv
