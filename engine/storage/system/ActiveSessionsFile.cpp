#include "engine/storage/system/ActiveSessionsFile.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/system/OwnLockScope.h"

namespace {

using SlotFileLock = OwnLockScope<TVTRInternalDBDirectAccessFile>;

EVTRException SessionsFileLocked(int32_t native_error) {
  return EVTRException(native_error, "Cannot unlock sessions file");
}

}  // namespace

TVTRActiveSessionsFile::TVTRActiveSessionsFile(TVTRDiskPageManager& manager)
    : manager_(manager), file_(manager, ptActiveSessionList) {}

int32_t TVTRActiveSessionsFile::CreateFile(int32_t slot_count) {
  TVTRInternalDBDirectAccessFile created(manager_, ptActiveSessionList);
  created.CreateFile(slot_count);
  return created.StartPage();
}

void TVTRActiveSessionsFile::OpenFile(int32_t start_page) {
  file_.OpenFile(start_page);
  slot_count_ = std::min(file_.GetSize(), file_.Size());
}

void TVTRActiveSessionsFile::CloseFile() {
  file_.CloseFile();
  slot_count_ = 0;
}

int32_t TVTRActiveSessionsFile::Connect() {
  if (!manager_.MultiUser()) return 0;
  SlotFileLock lock(file_, kByteLockRetry);
  if (!lock.Held()) throw SessionsFileLocked(20093);
  int32_t slot = 0;
  while (slot < slot_count_ && !file_.LockByte(slot)) ++slot;
  if (slot == slot_count_) {
    throw EVTRException(
        20094,
        "Cannot connect session. Maximum connections quantity exceeded or database is open in "
        "single-user mode");
  }
  if (!lock.Release()) {
    file_.UnlockByte(slot);
    throw SessionsFileLocked(20093);
  }
  return slot;
}

void TVTRActiveSessionsFile::Disconnect(int32_t session_id) {
  if (!manager_.MultiUser()) return;
  SlotFileLock lock(file_, kByteLockRetry);
  if (!lock.Held()) throw SessionsFileLocked(20096);
  if (session_id < 0 || session_id >= slot_count_ || !file_.UnlockByte(session_id))
    throw EVTRException(20095, "Cannot disconnect session");
  if (!lock.Release()) throw SessionsFileLocked(20096);
}

bool TVTRActiveSessionsFile::LockAllSlots() {
  SlotFileLock lock(file_, kByteLockRetry);
  if (!lock.Held()) throw SessionsFileLocked(20240);
  const bool all_free = !file_.IsRegionLocked(0, slot_count_);
  int32_t taken = 0;
  while (all_free && taken < slot_count_ && file_.LockByte(taken)) ++taken;
  const bool locked = all_free && taken == slot_count_;
  // A slot taken behind the probe's back (or a failed release) gives back what was taken.
  const bool released = lock.Release();
  if (!locked || !released) {
    while (taken > 0) file_.UnlockByte(--taken);
  }
  if (!released) throw SessionsFileLocked(20240);
  return locked;
}

void TVTRActiveSessionsFile::UnlockAllSlots() {
  SlotFileLock lock(file_, kByteLockRetry);
  if (!lock.Held()) throw SessionsFileLocked(20241);
  for (int32_t slot = 0; slot < slot_count_; ++slot) file_.UnlockByte(slot);
  if (!lock.Release()) throw SessionsFileLocked(20241);
}
