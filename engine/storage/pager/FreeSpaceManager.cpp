#include "engine/storage/pager/FreeSpaceManager.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "platform/os/Random.h"
#include "platform/rtl/ScopeExit.h"

namespace {

// Extent entries of an EAM page.
constexpr uint8_t kExtentHasRoom = 1;
constexpr uint8_t kExtentFull = 3;
constexpr uint8_t kFirstRoomlessEntry = 2;  // 0 and 1 have room, 2 and 3 do not

constexpr int32_t kFirstGrowStep = 6;

// The index of the first byte of a map page's data that is not 0xFF (a
// full run of pages or extents), or `size` when all are. Allocation scans
// a whole PFS page from its start each time, so the full bytes are passed
// eight at a time.
int32_t FirstNotFullByte(const uint8_t* bytes, int32_t size) {
  int32_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    if (word != ~uint64_t{0}) break;
  }
  while (i < size && bytes[i] == 0xFF) ++i;
  return i;
}

EVTRException NotAddressable(int32_t native_error, int32_t page_no, int32_t page_count) {
  return EVTRException::CreateFmt(native_error, "Page: %d cannot be addressed. TotalPageCount=%d", page_no,
                                  page_count);
}

}  // namespace

// The map pages that one operation, or a run of held allocations, has read
// or changed. The header lock (or an open that no other process can allocate
// in) keeps other processes away from them meanwhile. A changed page reaches
// the file only through WriteChanged, so each is written once per operation.
class TVTRDatabaseFreeSpaceManager::MapPages {
 public:
  explicit MapPages(TVTRDiskPageManager& manager) : manager_(manager) {}

  // The map page, or nullptr when it holds no page of that type: a map page
  // past the last used page exists only once a growth has made it.
  TVTRPage* ReadIfWritten(int64_t page_no, uint16_t type) {
    if (MapPage* held = Find(page_no)) return held->page->PageType() == type ? held->page.get() : nullptr;
    std::unique_ptr<TVTRPage> page = NewPage(page_no);
    if (!manager_.ReadPage(*page) || page->PageType() != type) return nullptr;
    return Keep(std::move(page), false);
  }

  TVTRPage& Read(int64_t page_no, uint16_t type, int32_t native_error) {
    if (MapPage* held = Find(page_no)) {
      CheckPageType(held->page->PageType(), type, native_error);
      return *held->page;
    }
    std::unique_ptr<TVTRPage> page = NewPage(page_no);
    if (!manager_.ReadPage(*page))
      throw EVTRException::CreateFmt(10474, "Cannot read page. PageNo: %d", page_no);
    CheckPageType(page->PageType(), type, native_error);
    return *Keep(std::move(page), false);
  }

  // A new map page with only its first entry set.
  TVTRPage& Create(int64_t page_no, uint16_t type) {
    std::erase_if(pages_, [page_no](const MapPage& held) { return held.page->PageNo() == page_no; });
    std::unique_ptr<TVTRPage> page = NewPage(page_no);
    page->SetPageType(type);
    page->Data()[0] = 1;
    return *Keep(std::move(page), true);
  }

  void Changed(const TVTRPage& page) { Find(page.PageNo())->changed = true; }
  bool AnyChanged() const {
    return std::any_of(pages_.begin(), pages_.end(), [](const MapPage& held) { return held.changed; });
  }
  // Writes the changed pages in page order; one that fails stays changed.
  void WriteChanged() {
    std::sort(pages_.begin(), pages_.end(),
              [](const MapPage& a, const MapPage& b) { return a.page->PageNo() < b.page->PageNo(); });
    for (MapPage& held : pages_) {
      if (!held.changed) continue;
      manager_.WritePage(*held.page);
      held.changed = false;
    }
  }
  // Forgets the pages at or past the end of a file cut to page_count pages.
  void DropFrom(int32_t page_count) {
    std::erase_if(pages_, [page_count](const MapPage& held) { return held.page->PageNo() >= page_count; });
  }
  void Clear() { pages_.clear(); }

 private:
  struct MapPage {
    std::unique_ptr<TVTRPage> page;
    bool changed = false;
  };

  MapPage* Find(int64_t page_no) {
    for (MapPage& held : pages_) {
      if (held.page->PageNo() == page_no) return &held;
    }
    return nullptr;
  }
  std::unique_ptr<TVTRPage> NewPage(int64_t page_no) {
    auto page = std::make_unique<TVTRPage>(manager_, static_cast<int32_t>(page_no), kSystemSessionID);
    page->AllocBuffer();
    return page;
  }
  TVTRPage* Keep(std::unique_ptr<TVTRPage> page, bool changed) {
    pages_.push_back({std::move(page), changed});
    return pages_.back().page.get();
  }

  TVTRDiskPageManager& manager_;
  std::vector<MapPage> pages_;
};

// One public operation. Outside held allocations: the header lock, the
// header re-read first, the changed map pages and then the header written
// at the end, the map pages dropped. A held allocation continues from
// memory and leaves its changes there. When an error passes, the changes
// are written as the operation left them (save_on_error), or dropped: an
// allocation that failed has given out no page.
class TVTRDatabaseFreeSpaceManager::Operation {
 public:
  Operation(TVTRDatabaseFreeSpaceManager& maps, int32_t native_error, bool save_on_error)
      : maps_(maps), save_on_error_(save_on_error) {
    if (maps_.held_) {
      maps_.ApplyHeldHeader();
    } else {
      lock_.emplace(maps_.manager_, native_error);
      maps_.ReloadHeader();
    }
    start_last_used_page_ = maps_.last_used_page_;
    start_page_count_ = maps_.page_count_;
  }
  ~Operation() {
    if (finished_) return;
    if (!save_on_error_) {
      maps_.last_used_page_ = start_last_used_page_;
      maps_.page_count_ = start_page_count_;
    }
    if (maps_.held_) {
      // Map changes of a failed held allocation stay: at worst a page marked
      // used that nobody holds, or a mark past PageCount.
      maps_.ApplyHeldHeader();
      return;
    }
    try {
      if (save_on_error_) maps_.map_pages_->WriteChanged();
      maps_.SaveHeader();
    } catch (...) {
      // The error that ended the operation is the one reported.
    }
    maps_.map_pages_->Clear();
  }
  // Ends the operation; an allocation where the file may be held keeps its
  // changes in memory.
  void Finish(bool may_hold = false) {
    finished_ = true;
    if (may_hold && maps_.may_hold_) {
      maps_.held_ = true;
      maps_.ApplyHeldHeader();
      return;
    }
    const ScopeExit clear([this]() noexcept { maps_.map_pages_->Clear(); });
    maps_.map_pages_->WriteChanged();
    maps_.SaveHeader();
  }

 private:
  TVTRDatabaseFreeSpaceManager& maps_;
  std::optional<HeaderLockScope> lock_;
  bool save_on_error_;
  bool finished_ = false;
  int32_t start_last_used_page_ = -1;
  int32_t start_page_count_ = 0;
};

TVTRDatabaseFreeSpaceManager::TVTRDatabaseFreeSpaceManager(TVTRDiskPageManager& manager)
    : manager_(manager),
      pages_per_extent_(manager.GetDatabaseHeader().PagesPerExtent),
      pfs_span_(8 * int64_t{manager.PageDataSize()}),
      eam_extents_(4 * int64_t{manager.PageDataSize()}),
      eam_span_(eam_extents_ * pages_per_extent_),
      last_used_page_(manager.GetDatabaseHeader().LastUsedPage),
      page_count_(manager.GetDatabaseHeader().PageCount),
      may_hold_(!manager.MultiUser() && manager.DatabaseFile().IsWritable()),
      map_pages_(std::make_unique<MapPages>(manager)) {}

TVTRDatabaseFreeSpaceManager::~TVTRDatabaseFreeSpaceManager() = default;

bool TVTRDatabaseFreeSpaceManager::IsMapPage(int32_t page_no) const {
  if (page_no < 0) return false;
  if (page_no % pfs_span_ == 0 || page_no % eam_span_ == 0) return true;
  const int64_t before = page_no - 1;
  return before >= 0 && before % pfs_span_ == 0 && before % eam_span_ == 0;
}

std::array<int32_t, 2> TVTRDatabaseFreeSpaceManager::MapPagesOf(int32_t page_no) const {
  return {static_cast<int32_t>(page_no / pfs_span_ * pfs_span_), EAMPageNo(page_no / eam_span_)};
}

void TVTRDatabaseFreeSpaceManager::CheckNotMapPage(int32_t page_no) const {
  if (IsMapPage(page_no))
    throw EVTRException::CreateFmt(30434, "Cannot delete PFS or EAM page. PageNo=%d", page_no);
}

int32_t TVTRDatabaseFreeSpaceManager::EAMPageNo(int64_t index) const {
  const int64_t page_no = index * eam_span_;
  return static_cast<int32_t>(page_no % pfs_span_ == 0 ? page_no + 1 : page_no);
}

int32_t TVTRDatabaseFreeSpaceManager::GetGrowStep() const {
  if (page_count_ == 0) return kFirstGrowStep;
  return static_cast<int32_t>(std::max<int64_t>(page_count_ / 10, pages_per_extent_));
}

void TVTRDatabaseFreeSpaceManager::ReloadHeader() {
  manager_.ReadHeader();
  const DatabaseFileHeader& header = manager_.GetDatabaseHeader();
  if (header.PageCount < 0 || header.LastUsedPage < -1 || header.LastUsedPage >= header.PageCount) {
    throw EVTRException(20237, "Invalid database format");
  }
  last_used_page_ = loaded_last_used_page_ = header.LastUsedPage;
  page_count_ = loaded_page_count_ = header.PageCount;
}

void TVTRDatabaseFreeSpaceManager::ApplyHeldHeader() {
  DatabaseFileHeader& header = manager_.HeaderCopy();
  header.LastUsedPage = last_used_page_;
  header.PageCount = page_count_;
}

void TVTRDatabaseFreeSpaceManager::WriteHeldAllocations() {
  if (!held_) return;
  HeaderLockScope lock(manager_, 20231);
  // The header as on disk but for the values the held allocations changed.
  const int32_t last_used_page = last_used_page_;
  const int32_t page_count = page_count_;
  manager_.ReadHeader();
  last_used_page_ = last_used_page;
  page_count_ = page_count;
  map_pages_->WriteChanged();
  SaveHeader();
  held_ = false;
  map_pages_->Clear();
}

void TVTRDatabaseFreeSpaceManager::SaveHeader() {
  DatabaseFileHeader& header = manager_.HeaderCopy();
  header.LastUsedPage = last_used_page_;
  header.PageCount = page_count_;
  if (last_used_page_ == loaded_last_used_page_ && page_count_ == loaded_page_count_) return;
  manager_.WriteHeader();
  loaded_last_used_page_ = last_used_page_;
  loaded_page_count_ = page_count_;
}

int32_t TVTRDatabaseFreeSpaceManager::AllocatePage() {
  Operation operation(*this, 20231, false);
  int32_t page_no = FindFreePage();
  if (page_no == -1) page_no = Grow();
  last_used_page_ = std::max(last_used_page_, page_no);
  operation.Finish(true);
  return page_no;
}

void TVTRDatabaseFreeSpaceManager::FreePage(int32_t page_no) {
  CheckNotMapPage(page_no);
  WriteHeldAllocations();
  Operation operation(*this, 20232, true);
  SetPageUsed(page_no, false);
  // Cached copies in other processes see the mark and are not trusted again.
  manager_.WritePageVersion(page_no, kFreedPageVersion);
  last_used_page_ = FindLastUsedPage();
  TrimTail();
  operation.Finish();
}

int32_t TVTRDatabaseFreeSpaceManager::FindFreePage() {
  if (last_used_page_ == -1) return -1;
  const int64_t last_eam = last_used_page_ / eam_span_;
  int32_t page_no = SearchExtents(last_eam);
  if (page_no == -1 && last_eam > 0) {
    const int64_t earlier = DefaultRandom().Below(static_cast<int32_t>(std::max<int64_t>(last_eam - 1, 1)));
    page_no = SearchExtents(earlier);
  }
  if (page_no != -1) SetPageUsed(page_no, true);
  return page_no;
}

int32_t TVTRDatabaseFreeSpaceManager::SearchExtents(int64_t eam_index) {
  const TVTRPage& eam = map_pages_->Read(EAMPageNo(eam_index), ptEAM, 30423);
  const uint8_t* entries = eam.Data();
  const int32_t size = eam.DataSize();
  int64_t extent = -1;
  for (int32_t i = FirstNotFullByte(entries, size); i < size && extent < 0;
       i += 1 + FirstNotFullByte(entries + i + 1, size - i - 1)) {
    for (int j = 0; j < 4; ++j) {
      if (((entries[i] >> (2 * j)) & 3) < kFirstRoomlessEntry) {
        extent = eam_index * eam_extents_ + 4 * i + j;
        break;
      }
    }
  }
  if (extent < 0) return -1;
  const int64_t first_pfs = extent * pages_per_extent_ / pfs_span_;
  const int64_t last_pfs = ((extent + 1) * pages_per_extent_ - 1) / pfs_span_;
  for (int64_t pfs = first_pfs; pfs <= last_pfs && pfs * pfs_span_ < last_used_page_; ++pfs) {
    const TVTRPage& map = map_pages_->Read(pfs * pfs_span_, ptPFS, 30423);
    const uint8_t* bits = map.Data();
    const int32_t i = FirstNotFullByte(bits, map.DataSize());
    if (i < map.DataSize()) {
      const int64_t page_no = pfs * pfs_span_ + 8 * i + std::countr_one(bits[i]);
      return page_no < page_count_ ? static_cast<int32_t>(page_no) : -1;
    }
  }
  return -1;
}

void TVTRDatabaseFreeSpaceManager::CorrectLastUsedPage() {
  WriteHeldAllocations();
  Operation operation(*this, 20231, true);
  last_used_page_ = std::max(last_used_page_, FindLastUsedPage());
  operation.Finish();
}

int32_t TVTRDatabaseFreeSpaceManager::Grow() {
  // An allocation cut short between its map and header writes leaves a page
  // marked used above the header's last used page; it is not handed out again.
  last_used_page_ = std::max(last_used_page_, FindLastUsedPage());
  const bool was_empty = last_used_page_ == -1;
  const int64_t old_pfs = was_empty ? -1 : last_used_page_ / pfs_span_;
  const int64_t old_eam = was_empty ? -1 : last_used_page_ / eam_span_;
  int64_t next = int64_t{last_used_page_} + 1;
  while (next < INT32_MAX && IsMapPage(static_cast<int32_t>(next))) ++next;
  // With tiny extents one growth step may not reach past the map pages.
  const int64_t step = std::max<int64_t>(GetGrowStep(), next + 1 - page_count_);
  // Page numbers are i32, and a damaged header may claim nearly all of them.
  if (next >= INT32_MAX || page_count_ + step > INT32_MAX)
    throw NotAddressable(30431, INT32_MAX, page_count_);
  const auto result = static_cast<int32_t>(next);
  const int32_t old_page_count = page_count_;
  // First, so that a disk without room fails the growth before anything changed.
  manager_.GrowFile(static_cast<int32_t>(step));
  page_count_ = manager_.GetDatabaseHeader().PageCount;
  last_used_page_ = result;
  // Pages past the old end did not exist: marks that a growth which failed
  // or was cut short left on them in the last PFS page go.
  ClearPFSBits(old_page_count, static_cast<int32_t>(std::min<int64_t>(page_count_, (old_pfs + 1) * pfs_span_)));

  std::vector<int32_t> new_pfs;
  std::vector<int32_t> new_eam;
  for (int64_t index = old_pfs + 1; index <= result / pfs_span_; ++index) {
    new_pfs.push_back(static_cast<int32_t>(index * pfs_span_));
    map_pages_->Create(new_pfs.back(), ptPFS);
  }
  for (int64_t index = old_eam + 1; index <= result / eam_span_; ++index) {
    new_eam.push_back(EAMPageNo(index));
    map_pages_->Create(new_eam.back(), ptEAM);
  }
  int32_t highest = result;
  for (const int32_t page_no : new_pfs) highest = std::max(highest, page_no);
  for (const int32_t page_no : new_eam) highest = std::max(highest, page_no);
  last_used_page_ = highest;
  while (IsMapPage(last_used_page_)) ++last_used_page_;

  for (const int32_t page_no : new_eam) SetPFSBit(page_no, true);
  for (const int32_t page_no : new_pfs) UpdateExtentEntry(page_no);
  SetPageUsed(result, true);
  return result;
}

void TVTRDatabaseFreeSpaceManager::SetPageUsed(int32_t page_no, bool used) {
  SetPFSBit(page_no, used);
  UpdateExtentEntry(page_no);
}

void TVTRDatabaseFreeSpaceManager::SetPFSBit(int32_t page_no, bool used) {
  if (page_no < 0 || page_no >= page_count_) throw NotAddressable(30430, page_no, page_count_);
  const int64_t first = page_no / pfs_span_ * pfs_span_;
  TVTRPage& map = map_pages_->Read(first, ptPFS, 30424);
  const int64_t offset = page_no - first;
  uint8_t& byte = map.Data()[offset / 8];
  const uint8_t mask = static_cast<uint8_t>(1u << (offset % 8));
  if (used && (byte & mask) != 0) throw EVTRException::CreateFmt(30425, "Page: %d already used", page_no);
  if (!used && (byte & mask) == 0) throw EVTRException::CreateFmt(30427, "Page: %d already free", page_no);
  byte ^= mask;
  map_pages_->Changed(map);
}

void TVTRDatabaseFreeSpaceManager::ClearPFSBits(int32_t first, int32_t end) {
  if (first >= end) return;
  const int64_t start = first / pfs_span_ * pfs_span_;
  TVTRPage& map = map_pages_->Read(start, ptPFS, 30424);
  bool changed = false;
  for (int64_t n = first - start; n < end - start; ++n) {
    uint8_t& byte = map.Data()[n / 8];
    const auto mask = static_cast<uint8_t>(1u << (n % 8));
    if ((byte & mask) == 0) continue;
    byte &= static_cast<uint8_t>(~mask);
    changed = true;
  }
  if (changed) map_pages_->Changed(map);
}

bool TVTRDatabaseFreeSpaceManager::IsPageUsed(int32_t page_no, int32_t native_error) {
  const int64_t first = page_no / pfs_span_ * pfs_span_;
  // A PFS page past the last used page may not exist yet: all its pages are free.
  if (first > last_used_page_) return false;
  const TVTRPage& map = map_pages_->Read(first, ptPFS, native_error);
  const int64_t offset = page_no - first;
  return (map.Data()[offset / 8] >> (offset % 8) & 1) != 0;
}

void TVTRDatabaseFreeSpaceManager::UpdateExtentEntry(int32_t page_no) {
  if (page_no < 0 || page_no >= page_count_) throw NotAddressable(30431, page_no, page_count_);
  TVTRPage& eam = map_pages_->Read(EAMPageNo(page_no / eam_span_), ptEAM, 30428);
  const int64_t extent = page_no / pages_per_extent_;
  bool seen_used = false;
  bool seen_free = false;
  for (int64_t n = extent * pages_per_extent_; n < (extent + 1) * pages_per_extent_; ++n) {
    (IsPageUsed(static_cast<int32_t>(n), 30430) ? seen_used : seen_free) = true;
    if (seen_used && seen_free) break;
  }
  const uint8_t entry = seen_used && !seen_free ? kExtentFull : kExtentHasRoom;
  const int64_t index = extent % eam_extents_;
  uint8_t& byte = eam.Data()[index / 4];
  const int shift = static_cast<int>(2 * (index % 4));
  const uint8_t updated = static_cast<uint8_t>((byte & ~(3u << shift)) | entry << shift);
  if (updated == byte) return;
  byte = updated;
  map_pages_->Changed(eam);
}

int32_t TVTRDatabaseFreeSpaceManager::FindLastUsedPage() {
  if (page_count_ == 0) return -1;
  const int64_t covering = last_used_page_ == -1 ? -1 : last_used_page_ / pfs_span_;
  // A damaged header may claim far more pages than the file holds.
  const int64_t pages_in_file = manager_.PagesInFile();
  for (int64_t pfs = (std::min<int64_t>(page_count_, pages_in_file) - 1) / pfs_span_; pfs >= 0; --pfs) {
    const int64_t start = pfs * pfs_span_;
    const TVTRPage* map =
        pfs > covering ? map_pages_->ReadIfWritten(start, ptPFS) : &map_pages_->Read(start, ptPFS, 30432);
    if (map == nullptr) continue;
    const uint8_t* bits = map->Data();
    // Bits of pages past the end of the file mean nothing.
    const int64_t last = std::min<int64_t>(page_count_ - 1 - start, int64_t{8} * map->DataSize() - 1);
    for (int64_t i = last / 8; i >= 0; --i) {
      for (int bit = i == last / 8 ? static_cast<int>(last % 8) : 7; bit >= 0 && bits[i] != 0; --bit) {
        if ((bits[i] >> bit & 1) == 0) continue;
        const int64_t page_no = start + 8 * i + bit;
        if (!IsMapPage(static_cast<int32_t>(page_no))) return static_cast<int32_t>(page_no);
      }
    }
  }
  return -1;
}

std::vector<int32_t> TVTRDatabaseFreeSpaceManager::UsedDataPages() {
  WriteHeldAllocations();
  Operation operation(*this, 20231, false);
  std::vector<int32_t> used;
  const int64_t end = std::min<int64_t>(page_count_, manager_.PagesInFile());
  const int64_t covering = last_used_page_ == -1 ? -1 : last_used_page_ / pfs_span_;
  for (int64_t start = 0; start < end; start += pfs_span_) {
    const TVTRPage* map = start / pfs_span_ > covering ? map_pages_->ReadIfWritten(start, ptPFS)
                                                       : &map_pages_->Read(start, ptPFS, 30432);
    if (map == nullptr) continue;
    const uint8_t* bits = map->Data();
    const int64_t count = std::min<int64_t>(end - start, int64_t{8} * map->DataSize());
    for (int64_t i = 0; i < count; ++i) {
      const auto page_no = static_cast<int32_t>(start + i);
      if ((bits[i / 8] >> (i % 8) & 1) != 0 && !IsMapPage(page_no)) used.push_back(page_no);
    }
  }
  operation.Finish();
  return used;
}

void TVTRDatabaseFreeSpaceManager::TrimTail() {
  const int32_t step = GetGrowStep();
  const int32_t free_at_end = page_count_ - last_used_page_ - 1;
  if (free_at_end < step) return;
  // The header ShrinkFile writes must carry the new last used page too.
  manager_.HeaderCopy().LastUsedPage = last_used_page_;
  // Map pages before the cut: one written after it would lengthen the file again.
  map_pages_->WriteChanged();
  manager_.ShrinkFile(free_at_end / step * step);
  page_count_ = manager_.GetDatabaseHeader().PageCount;
  map_pages_->DropFrom(page_count_);
  loaded_last_used_page_ = last_used_page_;
  loaded_page_count_ = page_count_;
}
