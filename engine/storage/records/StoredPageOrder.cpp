// The order in which a walk in storage order visits the record pages of a
// table: the pages its record-page map lists, in page order, and in repair
// mode after them the table's record pages that the map does not list.
#include <algorithm>
#include <array>
#include <unordered_set>

#include "engine/storage/btree/PathMoves.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/records/DiskRecordManager.h"

bool TVTRDiskRecordManager::RepairMode() const {
  return PageManager.FreeSpaceManager().RepairMode();
}

const std::vector<int32_t>& TVTRDiskRecordManager::UnlistedPages(int32_t session_id) {
  static const std::vector<int32_t> kNone;
  if (!RepairMode()) return kNone;
  if (unlisted_pages_) return *unlisted_pages_;
  std::unordered_set<int32_t> listed;
  TVTRKeyPath path;
  if (RecordPageIndex.First(session_id, path)) {
    TVTRPathWalk walk(path);
    listed.insert(RecordPageIndex.GetKey(session_id, path));
    while (RecordPageIndex.Next(session_id, path)) {
      walk.Moved(path);
      listed.insert(RecordPageIndex.GetKey(session_id, path));
    }
  }
  std::vector<int32_t> unlisted;
  std::array<uint8_t, kPageHeaderSize> bytes;
  // Headers are never enciphered: the file's own bytes tell type and owner.
  for (const int32_t page_no : PageManager.FreeSpaceManager().UsedDataPages()) {
    if (listed.contains(page_no)) continue;
    bytes.fill(0);
    PageManager.ReadPageBytes(bytes.data(), page_no, kPageHeaderSize, 0);
    const PageHeader header = DecodePageHeader(bytes);
    if (IsOwnLiveRecordPage(header.Version, header.PageType, header.Owner)) unlisted.push_back(page_no);
  }
  unlisted_pages_ = std::move(unlisted);
  return *unlisted_pages_;
}

bool TVTRDiskRecordManager::IsUnlisted(int32_t session_id, int32_t page_no) {
  const std::vector<int32_t>& unlisted = UnlistedPages(session_id);
  return std::binary_search(unlisted.begin(), unlisted.end(), page_no);
}

bool TVTRDiskRecordManager::FirstStoredPage(int32_t session_id, int32_t& page_no) {
  if (RecordPageIndex.FirstPage(session_id, page_no)) return true;
  const std::vector<int32_t>& unlisted = UnlistedPages(session_id);
  if (unlisted.empty()) return false;
  page_no = unlisted.front();
  return true;
}

bool TVTRDiskRecordManager::LastStoredPage(int32_t session_id, int32_t& page_no) {
  const std::vector<int32_t>& unlisted = UnlistedPages(session_id);
  if (unlisted.empty()) return RecordPageIndex.LastPage(session_id, page_no);
  page_no = unlisted.back();
  return true;
}

bool TVTRDiskRecordManager::NextStoredPage(int32_t session_id, int32_t page_no, int32_t& next_page_no) {
  const std::vector<int32_t>& unlisted = UnlistedPages(session_id);
  if (!IsUnlisted(session_id, page_no)) {
    if (RecordPageIndex.NextPage(session_id, page_no, next_page_no)) return true;
    if (unlisted.empty()) return false;
    next_page_no = unlisted.front();
    return true;
  }
  const auto next = std::upper_bound(unlisted.begin(), unlisted.end(), page_no);
  if (next == unlisted.end()) return false;
  next_page_no = *next;
  return true;
}

bool TVTRDiskRecordManager::PriorStoredPage(int32_t session_id, int32_t page_no, int32_t& prior_page_no) {
  if (!IsUnlisted(session_id, page_no)) return RecordPageIndex.PriorPage(session_id, page_no, prior_page_no);
  const std::vector<int32_t>& unlisted = UnlistedPages(session_id);
  const auto at = std::lower_bound(unlisted.begin(), unlisted.end(), page_no);
  if (at != unlisted.begin()) {
    prior_page_no = *std::prev(at);
    return true;
  }
  return RecordPageIndex.LastPage(session_id, prior_page_no);
}
