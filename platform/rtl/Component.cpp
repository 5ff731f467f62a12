#include "platform/rtl/Component.h"

#include <algorithm>

#include "platform/rtl/Application.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

bool IsValidIdent(const std::string& name) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

void Erase(std::vector<TComponent*>& list, TComponent* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!free_notifies_.empty()) {
    TComponent* partner = free_notifies_.back();
    free_notifies_.pop_back();
    Erase(partner->free_notifies_, this);
    ShowingErrors([&] { partner->Notification(this, opRemove); });
  }
  DestroyComponents();
  if (owner_ != nullptr) ShowingErrors([&] { owner_->RemoveComponent(this); });
}

void TComponent::ShowingErrors(const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    Application().HandleException(this);
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) {
    throw EComponentError(Format("'%s' is not a valid component name", name));
  }
  if (owner_ != nullptr) owner_->ValidateRename(this, name_, name);
  name_ = name;
}

void TComponent::ValidateRename(const TComponent* component, const std::string& current,
                                const std::string& next) const {
  if (!next.empty() && !SameText(current, next) && FindComponent(next) != nullptr) {
    throw EComponentError(Format("A component named %s already exists", next));
  }
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& siblings = owner_->components_;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_) {
    if (SameText(component->name_, name)) return component;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  ValidateRename(component, "", component->name_);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Erase(components_, component);
  component->owner_ = nullptr;
  Notification(component, opRemove);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* component = components_.back();
    components_.pop_back();
    component->owner_ = nullptr;
    delete component;
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  // Components of one owner already hear of each other through the owner.
  if (owner_ != nullptr && component->owner_ == owner_) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), component) != free_notifies_.end()) return;
  free_notifies_.push_back(component);
  component->free_notifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  Erase(free_notifies_, component);
  Erase(component->free_notifies_, this);
}

void TComponent::DetachFreeNotification(TComponent* component) {
  Erase(free_notifies_, component);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) DetachFreeNotification(component);
  // A notified component may free others; walk by index and re-check the bounds.
  for (size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    if (components_[i] != component) components_[i]->Notification(component, operation);
  }
}

void TComponent::Destroying() {
  state_.Include(csDestroying);
}

void TComponent::SetDesigning(bool designing, bool set_children) {
  designing ? state_.Include(csDesigning) : state_.Exclude(csDesigning);
  if (set_children) {
    for (TComponent* component : components_) component->SetDesigning(designing, true);
  }
}

void TComponent::BeginLoading() {
  state_.Include(csLoading).Include(csReading);
  for (TComponent* component : components_) component->BeginLoading();
}

void TComponent::EndLoading() {
  ClearReading();
  CallLoaded();
}

void TComponent::ClearReading() {
  state_.Exclude(csReading);
  for (TComponent* component : components_) component->ClearReading();
}

void TComponent::CallLoaded() {
  Loaded();
  for (size_t i = 0; i < components_.size(); ++i) components_[i]->CallLoaded();
}

void TComponent::Loaded() {
  state_.Exclude(csLoading);
}
