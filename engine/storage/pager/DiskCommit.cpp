// The commit of a disk page manager with its journal, and the rollback of a
// commit cut short.
//
// What the journal holds: the file header's before-image, and the
// before-image of every page of the file that the commit overwrites in
// place: the session's changed pages, the pages it gives back (their freed
// mark), the free-space map pages that giving them back rewrites, and the map
// pages that a cut of the file's end would lose. Most are known before the
// commit begins and reach the journal in one write; a page found later
// reaches it before it is overwritten. Pages the session allocated need no
// before-image: they were free before, the maps keep them allocated whatever
// becomes of the commit, and nothing the rollback brings back refers to
// them. Pages past the file's old end need none either: the rollback cuts
// the file back to its old size.
//
// The journal is ours alone; the database file's bytes are those the
// specified commit writes. A journal applies only to the file it was written
// for: same device and inode, header offset, page size and change counter
// (which the commit raises only with its last write), so a journal left
// beside a file that was since replaced, copied or committed to is never
// applied.
#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "platform/os/Random.h"

namespace {

// Native codes of failures of the commit's journal work on the database file.
constexpr int32_t kExamineError = 30492;
constexpr int32_t kBeforeImageReadError = 30497;
constexpr int32_t kRollbackReadError = 30499;

uint32_t NewSalt() {
  uint32_t salt = 0;
  while (salt == 0) salt = DefaultRandom().NextUInt32();
  return salt;
}

// A version for a page the rollback writes back: none that a cached copy of
// the page before, during or after the cut commit may carry, nor the next
// one its own writer would give it.
int32_t RollbackVersion(int32_t before, int32_t cut) {
  const int32_t taken[] = {before, NextPageVersion(before), NextPageVersion(NextPageVersion(before)), cut,
                           NextPageVersion(cut)};
  for (;;) {
    const int32_t version = DefaultRandom().Below(kInitialVersionLimit);
    if (std::find(std::begin(taken), std::end(taken), version) == std::end(taken)) return version;
  }
}

}  // namespace

void TVTRDiskPageManager::Commit(int32_t session_id, bool flush) {
  if (!HasSessionChanges(session_id)) return;
  HeaderLockScope lock(*this, 20213);
  // Held allocations reach the file as allocations outside the commit do:
  // the maps keep the session's new pages allocated whatever becomes of it.
  FreeSpaceManager().WriteHeldAllocations();
  ReadHeader();
  // A file left mid-commit without a journal stays marked for repair.
  const uint8_t found_state = header_.DatabaseState;  // 2, or 1 after a crash
  const int32_t counter_before = header_.ChangeCounter;
  std::vector<int32_t> deleted = PendingChanges(session_id)->DeletedPages;
  try {
    StartJournal(session_id, flush);
    header_.DatabaseState = dsCommitting;
    WriteHeader();
    if (flush) file_.FlushFileBuffers();
    TVTRPageManager::Commit(session_id);
    if (flush) file_.FlushFileBuffers();
    header_.ChangeCounter = static_cast<int32_t>(static_cast<uint32_t>(header_.ChangeCounter) + 1);
    header_.DatabaseState = found_state;
    WriteHeader();
    if (flush) file_.FlushFileBuffers();
  } catch (...) {
    UndoFailedCommit(session_id, std::move(deleted));
    throw;
  }
  NoteOwnCommit(counter_before, header_.ChangeCounter);
  FinishJournal();
}

void TVTRDiskPageManager::StartJournal(int32_t session_id, bool flush) {
  commit_flush_ = flush;
  // A file this process cannot write fails at its first write, as before.
  if (!file_.IsWritable()) return;
  const JournalHeader header{NewSalt(),           PageSize(),          header_offset_,  file_.Identity(),
                             header_.ChangeCounter, header_.PageCount, file_.GetSize()};
  journal_->Start(header, file_.Permissions(kExamineError));
  std::copy(header_image_.begin(), header_image_.end(), journal_->Add(kJournalFileHeaderEntry, kFileHeaderSize));
  const SessionPageSet& changes = *PendingChanges(session_id);
  std::vector<int32_t> added = changes.AddedPages;
  std::sort(added.begin(), added.end());
  for (const int32_t page_no : added) journal_->CoverWithoutImage(page_no);
  changes.DirtyPages.ForEach([&](const TVTRPage& page) {
    if (!std::binary_search(added.begin(), added.end(), page.PageNo())) AddBeforeImage(page.PageNo());
  });
  for (const int32_t page_no : changes.DeletedPages) {
    AddBeforeImage(page_no);
    for (const int32_t map_page : FreeSpaceManager().MapPagesOf(page_no)) AddBeforeImage(map_page);
  }
  journal_->Write(flush);
}

void TVTRDiskPageManager::AddBeforeImage(int32_t page_no) {
  if (journal_->Covers(page_no)) return;
  const int64_t offset = GetPageOffset(page_no);
  const int64_t old_size = journal_->Header().FileSize;
  if (offset >= old_size) {
    journal_->CoverWithoutImage(page_no);
    return;
  }
  const auto length = static_cast<int32_t>(std::min<int64_t>(PageSize(), old_size - offset));
  file_.ReadBufferChecked(journal_->Add(page_no, length), kBeforeImageReadError, offset, length);
}

void TVTRDiskPageManager::CoverBeforeWrite(int32_t page_no) {
  if (journal_ == nullptr || !journal_->Active() || journal_->Covers(page_no)) return;
  AddBeforeImage(page_no);
  journal_->Write(commit_flush_);
}

void TVTRDiskPageManager::CoverCutPages(int32_t page_count) {
  if (journal_ == nullptr || !journal_->Active()) return;
  const int64_t pages = PagesInFile();
  for (int64_t page_no = page_count; page_no < pages; ++page_no) {
    if (FreeSpaceManager().IsMapPage(static_cast<int32_t>(page_no))) AddBeforeImage(static_cast<int32_t>(page_no));
  }
  journal_->Write(commit_flush_);
}

void TVTRDiskPageManager::FinishJournal() {
  if (!journal_->Active()) return;
  try {
    // Not synced: the raised change counter already keeps this journal from
    // ever applying to the file again.
    journal_->Invalidate(false);
  } catch (const EVTRException&) {
    // The commit is whole; the journal stays behind, describing nothing.
  }
}

void TVTRDiskPageManager::UndoFailedCommit(int32_t session_id, std::vector<int32_t> deleted) noexcept {
  if (!journal_->Active()) return;
  journal_->Abandon();
  try {
    // This process's own journal: whatever the header now says, it describes this file.
    if (const std::optional<JournalContents> contents = journal_->Read()) RollBack(*contents);
    journal_->Remove();
    LoadHeader();
    RestoreDeletedPages(session_id, std::move(deleted));
  } catch (...) {
    // The journal stays for the next holder of the header lock; the error
    // that failed the commit is the one reported.
  }
}

bool TVTRDiskPageManager::MayRollBack() const {
  // Where the file system cannot lock, a committer at work cannot be told
  // from a dead one: its journal is left alone and the file needs repair.
  return header_lock_depth_ > 0 && free_space_ != nullptr && journal_ != nullptr && !journal_->Active() &&
         file_.IsWritable() && !file_.LockingUnsupported();
}

bool TVTRDiskPageManager::RollBackCutCommit() {
  const std::optional<JournalContents> contents = journal_->Read();
  const bool ours = contents && DescribesThisFile(*contents);
  if (ours) RollBack(*contents);
  journal_->Remove();
  return ours;
}

bool TVTRDiskPageManager::DescribesThisFile(const JournalContents& journal) const {
  const JournalHeader& header = journal.Header;
  if (header.PageSize != PageSize() || header.HeaderOffset != header_offset_ ||
      !(header.Database == file_.Identity()) || header.ChangeCounter != header_.ChangeCounter ||
      header.FileSize < pages_offset_) {
    return false;
  }
  return std::all_of(journal.Entries.begin(), journal.Entries.end(), [&](const JournalEntryPlace& entry) {
    const int64_t offset = entry.PageNo == kJournalFileHeaderEntry ? header_offset_ : GetPageOffset(entry.PageNo);
    return offset + entry.Length <= header.FileSize;
  });
}

void TVTRDiskPageManager::RollBack(const JournalContents& journal) {
  const JournalHeader& header = journal.Header;
  if (file_.GetSize() != header.FileSize) file_.SetSize(header.FileSize);
  const size_t room = static_cast<size_t>(std::max(header.PageSize, kFileHeaderSize));
  std::vector<uint8_t> before(room);
  std::vector<uint8_t> now(room);
  // The file header last: until it is back, the file still says state 1.
  const JournalEntryPlace* file_header = nullptr;
  for (const JournalEntryPlace& entry : journal.Entries) {
    if (entry.PageNo == kJournalFileHeaderEntry) {
      file_header = &entry;
      continue;
    }
    const int64_t offset = GetPageOffset(entry.PageNo);
    journal_->ReadImage(entry, before.data());
    file_.ReadBufferChecked(now.data(), kRollbackReadError, offset, entry.Length);
    // A page that differs only in its version field is written back too: the
    // freed mark that giving the page back put there is such a change.
    if (std::equal(before.begin(), before.begin() + entry.Length, now.begin())) continue;
    const int32_t version = entry.Length >= kPageHeaderSize ? PageVersionOf(before.data()) : kFreedPageVersion;
    // A cached copy of what the cut commit wrote must never match again.
    if (version != kFreedPageVersion) SetPageVersionOf(before.data(), RollbackVersion(version, PageVersionOf(now.data())));
    file_.WriteBuffer(before.data(), 10469, offset, entry.Length);
  }
  if (file_header != nullptr) {
    journal_->ReadImage(*file_header, before.data());
    // The counter goes two past the cut commit's start, past the value its
    // own last header write may have shown (a sync after it can fail): a
    // reader that served pages the cut commit wrote checks them again.
    uint8_t* counter = before.data() + kChangeCounterOffset;
    StoreI32(counter, static_cast<int32_t>(static_cast<uint32_t>(LoadI32(counter)) + 2));
    file_.WriteBuffer(before.data(), 10462, header_offset_, kFileHeaderSize);
  }
  // This process's cached pages may hold what the cut commit wrote.
  ForgetCheckedPages();
  file_.FlushFileBuffers();
}

void TVTRDiskPageManager::RecoverAtOpen() {
  HeaderLockScope lock(*this, 20230);
  ReadHeader();
  if (header_.DatabaseState != dsConsistent || !MayRollBack()) return;
  // At state 2 a journal describes no commit cut short: its commit never
  // wrote state 1, or finished.
  journal_->Remove();
  // An allocation cut short between its map and header writes left a page
  // marked used above LastUsedPage; the header learns of it now. Maps that
  // cannot be read fail the first operation that needs them, not the open.
  try {
    FreeSpaceManager().CorrectLastUsedPage();
  } catch (const EVTRException&) {
  }
}
