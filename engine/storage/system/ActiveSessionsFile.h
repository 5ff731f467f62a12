#pragma once
// TVTRActiveSessionsFile: the connection slots of a database, a direct
// internal file of page type 5 whose stored size is the slot count N. Content
// byte i is slot i: never read or written, only locked for as long as the
// session numbered i is connected. A process that ends loses its locks, so
// its slots become free. The file's own lock keeps two processes from
// scanning the slots at once.
//
// When the file's own lock cannot be had within its wait, every operation
// gives up before it touches a slot and raises its "Cannot unlock sessions
// file" error; the own lock is given back on every exit.
#include <cstdint>

#include "engine/storage/system/DirectFile.h"

class TVTRDiskPageManager;

class TVTRActiveSessionsFile {
 public:
  explicit TVTRActiveSessionsFile(TVTRDiskPageManager& manager);

  bool IsOpen() const { return file_.IsOpen(); }
  int32_t SlotCount() const { return slot_count_; }

  // The start page of a new file of slot_count slots, created in the system
  // session; the object stays closed.
  int32_t CreateFile(int32_t slot_count);
  void OpenFile(int32_t start_page);
  void CloseFile();

  // The first free slot, now held, as the session ID (0 outside multi-user
  // mode, where nothing is locked). 20094 when every slot is taken, 20093
  // when the file's lock cannot be had or given back.
  int32_t Connect();
  // Gives the slot back (multi-user mode only): 20095 when it was not held,
  // 20096 when the file's lock cannot be had or given back.
  void Disconnect(int32_t session_id);
  // For a single-user open: true with every slot now held when none was
  // held; false otherwise. 20240 when the file's lock cannot be had or given back.
  bool LockAllSlots();
  // Gives every slot back, ignoring slots not held; 20241 when the file's
  // lock cannot be had or given back.
  void UnlockAllSlots();

 private:
  TVTRDiskPageManager& manager_;
  TVTRInternalDBDirectAccessFile file_;
  int32_t slot_count_ = 0;
};
