#include "app/core/LockedRead.h"

#include "engine/access/EngineError.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/ResultCodes.h"

namespace {

constexpr int32_t kSqlTableLocked = 20225;

}  // namespace

bool IsTableLockError(const std::exception& error) {
  if (const auto* engine = dynamic_cast<const EVTRException*>(&error)) return engine->NativeError() == kSqlTableLocked;
  if (const auto* table = dynamic_cast<const EVTREngineError*>(&error)) return table->ErrorCode == kResultTableLocked;
  return false;
}

bool ReadPastTableLocks(const RetryPolicy& policy, const std::function<void()>& read) {
  return policy.Run([&read] {
    try {
      read();
      return true;
    } catch (const std::exception& error) {
      if (!IsTableLockError(error)) throw;
      return false;
    }
  });
}
