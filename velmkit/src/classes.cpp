#include "velmkit/classes.h"

#include <algorithm>

namespace velmkit {

TObject::~TObject() = default;
TItemClass::~TItemClass() = default;
TFormClass::~TFormClass() = default;

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Newest first, the way owned components were built on one another.
  while (!FComponents.empty()) {
    TComponent* child = FComponents.back();
    FComponents.pop_back();
    child->FOwner = nullptr;
    delete child;
  }
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) return nullptr;
  return FComponents[static_cast<size_t>(index)];
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component == this || component->FOwner == this) return;
  if (component->FOwner != nullptr) component->FOwner->RemoveComponent(component);
  component->FOwner = this;
  FComponents.push_back(component);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  component->FOwner = nullptr;
}

}  // namespace velmkit
