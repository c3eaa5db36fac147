#include "database/access/component.h"

#include <algorithm>

namespace database::access {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) {
    owner_->components_.push_back(this);
  }
}

TComponent::~TComponent() {
  if (owner_ != nullptr) {
    std::erase(owner_->components_, this);
  }
  for (TComponent* component : components_) {
    component->owner_ = nullptr;
  }
}

void TComponent::Loaded() {
  loading_ = false;
  DoLoaded();
}

}  // namespace database::access
