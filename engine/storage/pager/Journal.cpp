#include "engine/storage/pager/Journal.h"

#include <algorithm>
#include <array>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "engine/storage/pager/PageHeader.h"
#include "platform/os/FileSystem.h"
#include "platform/os/OSError.h"

namespace {

// Native codes of the journal's own failures.
constexpr int32_t kJournalWriteError = 30493;
constexpr int32_t kJournalReadError = 30494;
constexpr int32_t kJournalCreateError = 30495;
constexpr int32_t kJournalDeleteError = 30496;
constexpr int32_t kJournalFolderError = 30498;

bool IsPlausible(const JournalHeader& header) {
  return header.PageSize > kPageHeaderSize && header.PageSize <= INT16_MAX && header.HeaderOffset >= 0 &&
         header.PageCount >= 0 && header.FileSize >= 0;
}

// Whether an entry's head fits the journal; the first entry is the file header's.
bool IsPlausible(const JournalEntryHead& head, const JournalHeader& header, bool first) {
  if (first) return head.PageNo == kJournalFileHeaderEntry && head.Length == kFileHeaderSize;
  return head.PageNo >= 0 && head.Length > 0 && head.Length <= header.PageSize;
}

}  // namespace

void TVTRJournal::OpenFile(uint32_t permissions) {
  if (file_.IsOpen() && !file_.IsUnlinked()) return;
  Close();
  if (!file_.OpenOrCreateFile(file_name_, permissions, kJournalCreateError)) return;
  // The new name must last as long as the journal it holds.
  try {
    SyncFolderOf(file_name_);
  } catch (const EOSError& e) {
    throw EVTRException::CreateFmt(kJournalFolderError,
                                   "Cannot flush the folder of file: '%s'. ErrorCode:%d. ErrorMessage: %s",
                                   file_name_, e.ErrorCode(), SysErrorMessage(e.ErrorCode()));
  }
}

void TVTRJournal::Start(const JournalHeader& header, uint32_t permissions) {
  active_ = false;
  OpenFile(permissions);
  header_ = header;
  covered_.clear();
  pending_.assign(kJournalHeaderSize, 0);
  pending_entries_.clear();
  write_position_ = 0;
  header_written_ = false;
  active_ = true;
}

bool TVTRJournal::Covers(int32_t page_no) const {
  return std::binary_search(covered_.begin(), covered_.end(), page_no);
}

void TVTRJournal::CoverWithoutImage(int32_t page_no) {
  covered_.insert(std::upper_bound(covered_.begin(), covered_.end(), page_no), page_no);
}

uint8_t* TVTRJournal::Add(int32_t page_no, int32_t length) {
  CoverWithoutImage(page_no);
  const size_t start = pending_.size();
  pending_entries_.push_back(static_cast<int64_t>(start));
  pending_.resize(start + kJournalEntryHeadSize + static_cast<size_t>(length) + kJournalEntryTrailerSize);
  uint8_t* entry = pending_.data() + start;
  EncodeJournalEntryHead(JournalEntryHead{page_no, length},
                         std::span<uint8_t, kJournalEntryHeadSize>(entry, kJournalEntryHeadSize));
  return entry + kJournalEntryHeadSize;
}

void TVTRJournal::Write(bool sync) {
  if (header_written_ && pending_.empty()) return;
  if (!header_written_)
    EncodeJournalHeader(header_, std::span<uint8_t, kJournalHeaderSize>(pending_.data(), kJournalHeaderSize));
  for (const int64_t start : pending_entries_) SealJournalEntry(header_.Salt, pending_.data() + start);
  file_.WriteBuffer(pending_.data(), kJournalWriteError, write_position_, static_cast<int64_t>(pending_.size()));
  header_written_ = true;
  write_position_ += static_cast<int64_t>(pending_.size());
  pending_.clear();
  pending_entries_.clear();
  if (sync) file_.FlushFileBuffers();
}

void TVTRJournal::Invalidate(bool sync) {
  active_ = false;
  if (!header_written_) return;
  const std::array<uint8_t, kJournalHeaderSize> cleared{};
  file_.WriteBuffer(cleared.data(), kJournalWriteError, 0, kJournalHeaderSize);
  header_written_ = false;
  if (sync) file_.FlushFileBuffers();
}

std::optional<JournalContents> TVTRJournal::Read() {
  Close();
  // Only holders of the header lock create the file, so it cannot appear meanwhile.
  if (!FileExists(file_name_)) return std::nullopt;
  file_.OpenOrCreateFile(file_name_, 0600, kJournalCreateError);
  std::array<uint8_t, kJournalHeaderSize> header_image{};
  file_.ReadBufferChecked(header_image.data(), kJournalReadError, 0, kJournalHeaderSize);
  const std::optional<JournalHeader> header = DecodeJournalHeader(header_image);
  if (!header || !IsPlausible(*header)) return std::nullopt;
  JournalContents contents{*header, {}};
  const int64_t size = file_.GetSize();
  std::vector<uint8_t> entry;
  for (int64_t position = kJournalHeaderSize; size - position >= kJournalEntryHeadSize;) {
    entry.resize(kJournalEntryHeadSize);
    file_.ReadBufferChecked(entry.data(), kJournalReadError, position, kJournalEntryHeadSize);
    const JournalEntryHead head = DecodeJournalEntryHead(
        std::span<const uint8_t, kJournalEntryHeadSize>(entry.data(), kJournalEntryHeadSize));
    if (!IsPlausible(head, *header, contents.Entries.empty())) break;
    const int64_t entry_size = int64_t{kJournalEntryHeadSize} + head.Length + kJournalEntryTrailerSize;
    if (size - position < entry_size) break;
    entry.resize(static_cast<size_t>(entry_size));
    file_.ReadBufferChecked(entry.data(), kJournalReadError, position, entry_size);
    if (!IsJournalEntryIntact(header->Salt, entry.data(), head.Length)) break;
    contents.Entries.push_back({head.PageNo, head.Length, position + kJournalEntryHeadSize});
    position += entry_size;
  }
  if (contents.Entries.empty()) return std::nullopt;
  return contents;
}

void TVTRJournal::ReadImage(const JournalEntryPlace& entry, uint8_t* image) {
  file_.ReadBufferChecked(image, kJournalReadError, entry.ImagePosition, entry.Length);
}

void TVTRJournal::Remove() {
  active_ = false;
  if (file_.IsOpen()) {
    const std::array<uint8_t, kJournalHeaderSize> cleared{};
    file_.WriteBuffer(cleared.data(), kJournalWriteError, 0, kJournalHeaderSize);
  }
  Close();
  try {
    DeleteFileIfPresent(file_name_);
  } catch (const EOSError& e) {
    throw EVTRException::CreateFmt(kJournalDeleteError, "Cannot delete file: '%s'. ErrorCode:%d. ErrorMessage: %s",
                                   file_name_, e.ErrorCode(), SysErrorMessage(e.ErrorCode()));
  }
}

void TVTRJournal::Close() {
  header_written_ = false;
  if (file_.IsOpen()) file_.CloseFile();
}
