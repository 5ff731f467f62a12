#pragma once
// TVTRDiskPageManager: the page cache over a database file. It creates and
// opens the file with its header, crypto header and password check, reads and
// writes pages at their offsets (data areas enciphered with a CRC in an
// encrypted file), keeps cached pages current with the file in multi-user
// mode, holds the byte locks of the file with bounded retries, numbers
// objects, grows and shrinks the file for the free-space maps, and commits
// all or nothing with the state byte, the change counter and a journal:
//
//   header lock; re-read header (a commit cut short is rolled back first)
//   journal: the header's and every overwritten page's before-image
//   state 1; write header
//   write the session's pages, then free its deleted pages
//   change counter + 1; state 2 (kept at 1 when it was found at 1); write header
//   invalidate the journal; unlock
//
// A flushed commit syncs the journal, the header with state 1, the pages and
// the final header, each before what follows, so state 2 never stands over
// pages that did not reach the disk and no page reaches it before its
// before-image. A commit that fails puts the file back from its journal
// before it reports the error; one cut short by a kill or a power loss is put
// back by the next process that takes the header lock with write access (the
// journal and what it covers: DiskCommit.cpp, JournalFormat.h). Allocations
// outside a commit are not journaled; see FreeSpaceManager.h. Allocations
// held in memory (single-user or exclusive) are written under the header
// lock before the commit's journal starts; those that no commit or other map
// operation followed are dropped at close, leaving their pages free.
//
// Callers serialise all calls (the database object's critical section).
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/storage/pager/ByteLockScope.h"
#include "engine/storage/pager/DatabaseFile.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "engine/storage/pager/Journal.h"
#include "engine/storage/pager/PageCipher.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/pager/Password.h"
#include "platform/os/RetryPolicy.h"

class TVTRDatabaseFreeSpaceManager;
class TVTRDiskPageManager;

// Every byte lock the engine must have: 4500 tries 20 ms apart.
inline constexpr RetryPolicy kByteLockRetry{4500, 20};

struct HeaderUnlock {
  TVTRDiskPageManager* manager;
  bool operator()() const;
};

// Holds the (nested) header lock for a scope. Raises "Database is locked"
// with native_error when it cannot be had within the tries given.
class HeaderLockScope {
 public:
  HeaderLockScope(TVTRDiskPageManager& manager, int32_t native_error, RetryPolicy retry = kByteLockRetry);

 private:
  ByteLockScope<HeaderUnlock> lock_;
};

class TVTRDiskPageManager : public TVTRPageManager {
 public:
  TVTRDiskPageManager();
  // Closes an open file without reporting errors.
  ~TVTRDiskPageManager() override;

  // Takes the header lock once (20236 when it is held elsewhere) and answers
  // the page count of the file.
  int32_t GetPageCount() override;
  void AllocatePage(TVTRPage& page) override;
  void FreePage(int32_t page_no) override;
  bool ReadPage(TVTRPage& page) override;
  void WritePage(TVTRPage& page) override;
  // Both refuse a free-space map page with 30434.
  void DeletePage(int32_t session_id, int32_t page_no) override;
  TVTRPage* GetPage(int32_t session_id, int32_t page_no, uint16_t expected_type) override;
  void Commit(int32_t session_id) override { Commit(session_id, false); }
  // Raises 20213 when the header lock cannot be had, and the journal's errors
  // when it cannot be written; nothing is written then. Any later failure
  // puts the file back as it was before it is reported, and the session
  // keeps its changes for a retry or a rollback.
  void Commit(int32_t session_id, bool flush);
  bool RefreshPage(TVTRPage& page) override;
  bool MayWriteEarly() const override { return true; }

  void CreateDatabase(const std::string& file_name, const TVTRPassword& password, int32_t page_size,
                      int32_t pages_per_extent);
  // multi_user and read_only go in as asked and come out as opened;
  // needs_repair says the file was left mid-commit without a journal that
  // puts it back, or is of an old format. With write access, a commit cut
  // short is rolled back first and the free-space maps are brought into
  // line with the header.
  void OpenDatabase(const std::string& file_name, const TVTRPassword& password, bool& multi_user,
                    bool exclusive, bool& needs_repair, bool& read_only);
  void CloseDatabase();
  bool IsOpen() const { return file_.IsOpen(); }

  const DatabaseFileHeader& GetDatabaseHeader() const { return header_; }
  // The header copy that the free-space maps change before WriteHeader.
  DatabaseFileHeader& HeaderCopy() { return header_; }
  const TVTRPassword& GetPassword() const { return password_; }
  bool Exclusive() const { return exclusive_; }
  bool Encrypted() const { return header_.Encrypted; }
  int64_t HeaderOffset() const { return header_offset_; }
  TVTRDatabaseFile& DatabaseFile() { return file_; }
  TVTRDatabaseFreeSpaceManager& FreeSpaceManager();

  // Under the header lock (and with write access, outside a commit): a file
  // left at state 1 is rolled back from its journal first.
  void ReadHeader();
  void WriteHeader();
  void ReadCryptoHeader();
  void WriteCryptoHeader();
  // Reads only the size field: the other bytes are lock bytes.
  void ReadLockBlock();
  void WriteLockBlock();

  int64_t GetPageOffset(int32_t page_no) const;
  // Whole pages the file holds, whatever its header claims.
  int64_t PagesInFile();
  // A byte range of one page straight from or to the file, past the cache.
  void ReadPageBytes(void* buffer, int32_t page_no, int32_t count, int32_t offset);
  void WritePageBytes(const void* buffer, int32_t page_no, int32_t count, int32_t offset);
  // The version of the page on disk; kFreedPageVersion when it cannot be read
  // or outside multi-user mode.
  int32_t ReadPageVersion(int32_t page_no);
  void WritePageVersion(int32_t page_no, int32_t version);

  // Nested: only the outermost pair locks and unlocks the byte.
  bool LockHeader();
  bool UnlockHeader();
  bool LockTables();
  bool UnlockTables();
  bool LockNextObjectID();
  bool UnlockNextObjectID();
  bool LockPageByte(int32_t page_no, int32_t offset);
  bool UnlockPageByte(int32_t page_no, int32_t offset);
  bool IsPageByteLocked(int32_t page_no, int32_t offset);
  bool IsPageRegionLocked(int32_t page_no, int32_t offset, int32_t length);

  // The next database-wide object number (a read-only file only guesses one).
  int32_t GetNextObjectID();

  // Adds n pages to the file and to PageCount in the header copy; the caller writes the header.
  void GrowFile(int32_t n);
  // Cuts n pages off the file and writes the header.
  void ShrinkFile(int32_t n);
  // Cuts the free pages after the last used page off the file.
  void TruncateFreeTail();

 protected:
  // Reads the counter and the state byte without the header lock: a commit
  // raises the counter with the same write that sets state 2 again.
  std::optional<int32_t> ReadCommittedCounter() override;

 private:
  void CheckPageBytes(int32_t count, int32_t offset, int32_t native_error) const;
  void MakePasswordCheck();
  void CheckPassword();
  // Whether the page's data area is enciphered on disk.
  bool IsEncipheredPage(const TVTRPage& page) const;
  void CheckStoredLayout() const;
  void ResetLayout();
  int64_t HeaderLockByte() const { return lock_block_offset_ + kHeaderLockByteInBlock; }
  // The header bytes as stored, kept for the journal.
  void LoadHeader();

  // The commit's journal and the rollback (DiskCommit.cpp).
  void StartJournal(int32_t session_id, bool flush);
  // The page's before-image into the journal, unless it is there or the page
  // lay past the end of the file.
  void AddBeforeImage(int32_t page_no);
  // Inside a commit: the page's before-image reaches the journal (synced for
  // a flushed commit) before the page is overwritten.
  void CoverBeforeWrite(int32_t page_no);
  // Inside a commit: the map pages that cutting the file to page_count pages
  // would lose go to the journal first. Free pages come back zero-filled.
  void CoverCutPages(int32_t page_count);
  void FinishJournal();
  void UndoFailedCommit(int32_t session_id, std::vector<int32_t> deleted) noexcept;
  bool MayRollBack() const;
  // Rolls back the commit the journal describes, when it describes one of
  // this file; removes the journal either way. True when it rolled back.
  bool RollBackCutCommit();
  bool DescribesThisFile(const JournalContents& journal) const;
  void RollBack(const JournalContents& journal);
  // At open with write access: a commit cut short is rolled back, any other
  // journal removed.
  void RecoverAtOpen();
  int64_t TablesLockByte() const { return lock_block_offset_ + kTablesLockByteInBlock; }

  std::unique_ptr<TVTRDatabaseFreeSpaceManager> free_space_;
  TVTRDatabaseFile file_;
  DatabaseFileHeader header_;
  DatabaseCryptoHeader crypto_header_;
  TVTRPassword password_;
  std::unique_ptr<TVTRPageCipher> cipher_;  // in an encrypted database only
  std::vector<uint8_t> scratch_;            // the enciphered image of the page being written
  int16_t lock_block_size_ = kLockBlockSize;
  int32_t header_lock_depth_ = 0;
  int64_t header_lock_byte_ = 0;  // the byte the outermost LockHeader took
  bool exclusive_ = false;
  int64_t header_offset_ = 0;
  int64_t crypto_offset_ = kCryptoHeaderOffset;
  int64_t lock_block_offset_ = kLockBlockOffset;
  int64_t next_object_id_offset_ = kNextObjectIDOffset;
  int64_t pages_offset_ = kPagesOffset;
  std::array<uint8_t, kFileHeaderSize> header_image_{};
  std::unique_ptr<TVTRJournal> journal_;  // while the file is open
  bool commit_flush_ = false;             // the commit in progress syncs
};
