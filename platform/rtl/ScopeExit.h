#pragma once
// Runs an action when its scope ends, however it ends: the undo of a
// temporary change (a flag, a saved position, a borrowed buffer) that must
// happen on the error path as on the normal one. The action is declared
// noexcept, since it runs while an exception may be passing; an undo that
// can fail belongs in a try/catch that says what becomes of its failure.
#include <type_traits>
#include <utility>

template <typename Action>
class ScopeExit {
  static_assert(std::is_nothrow_invocable_v<Action&>, "a scope-exit action must be noexcept");

 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() {
    if (active_) action_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // The action will not run.
  void Dismiss() { active_ = false; }

 private:
  Action action_;
  bool active_ = true;
};
