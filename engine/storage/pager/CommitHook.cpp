#include "engine/storage/pager/CommitHook.h"

#include <atomic>

namespace {
std::atomic<CommitTestHook> commit_test_hook{nullptr};
}  // namespace

void SetCommitTestHook(CommitTestHook hook) {
  commit_test_hook.store(hook);
}

CommitTestHook GetCommitTestHook() {
  return commit_test_hook.load(std::memory_order_relaxed);
}
