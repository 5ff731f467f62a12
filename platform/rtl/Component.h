#pragma once
// The class library's component: a named object with an owner. An owner frees
// the components it owns when it is freed (the last created first), and
// components tell each other when one of them goes away.
//
// C++ note: a component's destructor runs after its descendants' destructors, so
// an owner's own Notification override is not called for the components it frees
// while it dies; its base notification still reaches the components it owns.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/EnumSet.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Persistent.h"

enum TComponentStateFlag : uint8_t { csLoading, csReading, csDestroying, csDesigning };
using TComponentState = EnumSet<TComponentStateFlag>;

enum TOperation : uint8_t { opInsert, opRemove };

class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Raises EComponentError for a name that is not an identifier or that another
  // component of the same owner already has (names compare ignoring case).
  virtual void SetName(const std::string& name);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index); }
  // Position in the owner's list, -1 without owner.
  int ComponentIndex() const;
  // The owned component of that name (ignoring case), or null.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, the last created first.
  void DestroyComponents();

  // Asks for a Notification(this-partner, opRemove) when `component` is freed, and
  // the other way round.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  TComponentState ComponentState() const { return state_; }
  // Marks the component as being freed; descendants call it first in their
  // destructor when their teardown must know it.
  void Destroying();
  void SetDesigning(bool designing, bool set_children = true);
  // Property loading as a form reader does it: BeginLoading flags this component
  // and all it owns as loading and reading; EndLoading clears reading and calls
  // Loaded on this component and then on those it owns, in creation order.
  void BeginLoading();
  void EndLoading();

 protected:
  // Tells the component that `component` was inserted into or removed from its
  // owner, or was freed while it had asked for a free notification. The base
  // passes the notification on to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);
  // Called after loading; the base clears csLoading.
  virtual void Loaded();
  // Runs a step of a destructor: destructors never throw, so a failure is shown
  // through the application object and destruction goes on.
  void ShowingErrors(const std::function<void()>& step);

 private:
  void ValidateRename(const TComponent* component, const std::string& current, const std::string& next) const;
  void DetachFreeNotification(TComponent* component);
  void ClearReading();
  void CallLoaded();

  TComponent* owner_ = nullptr;
  std::string name_;
  intptr_t tag_ = 0;
  TComponentState state_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
};
