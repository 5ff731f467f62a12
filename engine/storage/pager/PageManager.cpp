#include "engine/storage/pager/PageManager.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/PageHeader.h"
#include "platform/os/Random.h"

namespace {

// Enough to take back the buffers of one batch of early writes.
constexpr size_t kMaxSpareBuffers = 512;
// The changed pages a session keeps before it writes new ones early.
constexpr int32_t kEarlyWriteBytes = 4 << 20;
constexpr int32_t kLeastEarlyWritePages = 64;

int32_t DefaultEarlyWriteBound(int32_t page_size) {
  return std::max(kLeastEarlyWritePages, kEarlyWriteBytes / std::max(page_size, 1));
}

void MarkNew(std::vector<bool>& pages, int32_t page_no) {
  const auto index = static_cast<size_t>(page_no);
  if (pages.size() <= index) pages.resize(index + 1);
  pages[index] = true;
}

bool IsNew(const std::vector<bool>& pages, int32_t page_no) {
  const auto index = static_cast<size_t>(page_no);
  return index < pages.size() && pages[index];
}

}  // namespace

TVTRPageManager::TVTRPageManager(int32_t page_size, int32_t page_header_size)
    : page_size_(page_size),
      page_header_size_(page_header_size),
      cache_capacity_(std::min(kMaxCacheCapacity, EngineMemoryManager().GetFreeMemorySize() / 65536)),
      early_write_bound_(DefaultEarlyWriteBound(page_size)) {
  shared_pages_.Reserve(cache_capacity_ + 1);
}

TVTRPageManager::~TVTRPageManager() = default;

void TVTRPageManager::SetPageGeometry(int32_t page_size, int32_t page_header_size) {
  VTR_ASSERT(shared_pages_.Empty() && sessions_.empty());
  page_size_ = page_size;
  page_header_size_ = page_header_size;
  early_write_bound_ = DefaultEarlyWriteBound(page_size);
  spare_buffers_.clear();
}

PageBuffer TVTRPageManager::AcquirePageBuffer() {
  if (!spare_buffers_.empty()) {
    PageBuffer buffer = std::move(spare_buffers_.back());
    spare_buffers_.pop_back();
    return buffer;
  }
  return PageBuffer(static_cast<uint8_t*>(EngineMemoryManager().GetMem(page_size_)));
}

void TVTRPageManager::RecyclePageBuffer(PageBuffer buffer, int32_t size) noexcept {
  if (size != page_size_ || spare_buffers_.size() >= kMaxSpareBuffers) return;
  try {
    spare_buffers_.push_back(std::move(buffer));
  } catch (...) {
    // The buffer is freed instead.
  }
}

SessionPageSet* TVTRPageManager::FindSessionSet(int32_t session_id) {
  const auto it = sessions_.find(session_id);
  return it == sessions_.end() ? nullptr : &it->second;
}

SessionPageSet& TVTRPageManager::SessionSet(int32_t session_id) {
  if (session_id == kInvalidSessionID) throw EVTRException(20186, "Invalid Session ID");
  return sessions_.try_emplace(session_id, session_id).first->second;
}

void TVTRPageManager::TakeInUse(TVTRPage& page, SessionPageSet& set) {
  if (page.use_count_ > 0 && page.session_id_ != set.SessionID) {
    throw EVTRException(20090, "Page is used by other session");
  }
  if (page.use_count_ == 0) {
    page.session_id_ = set.SessionID;
    ++set.PagesInUse;
  }
  ++page.use_count_;
}

TVTRPage* TVTRPageManager::GetPage(int32_t session_id, int32_t page_no, uint16_t expected_type) {
  SessionPageSet& set = SessionSet(session_id);
  TVTRPage* page = set.DirtyPages.Find(page_no);
  if (page != nullptr && set.Mark) {
    KeepBeforeImage(*set.Mark, *page);
  } else if (page == nullptr) {
    page = shared_pages_.Find(page_no);
    if (page == nullptr) {
      page = LoadSharedPage(session_id, page_no, expected_type);
    } else if (page->use_count_ == 0) {
      RefreshShared(*page, expected_type);
    }
  }
  TakeInUse(*page, set);
  return page;
}

TVTRPage* TVTRPageManager::LoadSharedPage(int32_t session_id, int32_t page_no, uint16_t expected_type) {
  auto loaded = std::make_unique<TVTRPage>(*this, page_no, session_id);
  loaded->AllocBuffer();
  TVTRPage& page = *loaded;
  if (!ReadPage(page)) throw EVTRException::CreateFmt(10474, "Cannot read page. PageNo: %d", page_no);
  CheckLoadedType(page, expected_type);
  page.checked_epoch_ = check_epoch_;
  shared_pages_.Add(std::move(loaded));
  return &page;
}

void TVTRPageManager::CheckLoadedType(const TVTRPage& page, uint16_t expected_type) const {
  if (page_header_size_ > 0 && expected_type != kAnyPageType && page.PageType() != expected_type) {
    throw EVTRException::CreateFmt(
        20153, "Invalid page type. Possibly data is corrupted. Expected type %d, but found %d", expected_type,
        page.PageType());
  }
}

void TVTRPageManager::RefreshShared(TVTRPage& page, uint16_t expected_type) {
  if (counter_trusted_ && page.checked_epoch_ == check_epoch_) return;
  // A page that cannot be read again, or that another process reused for
  // something else, leaves the cache rather than be served stale.
  try {
    if (RefreshPage(page)) CheckLoadedType(page, expected_type);
  } catch (...) {
    shared_pages_.Delete(page.PageNo());
    throw;
  }
  page.checked_epoch_ = check_epoch_;
}

void TVTRPageManager::BeginCheckedRead() {
  const std::optional<int32_t> counter = ReadCommittedCounter();
  // The counter only grows (a rolled-back commit raises it too), so an
  // unchanged one means nothing was committed since the pages were checked.
  if (!counter || counter != known_counter_) ForgetCheckedPages();
  known_counter_ = counter;
  counter_trusted_ = counter.has_value();
  ++checked_reads_;
}

void TVTRPageManager::EndCheckedRead() noexcept {
  VTR_ASSERT(checked_reads_ > 0);
  if (--checked_reads_ == 0) counter_trusted_ = false;
}

void TVTRPageManager::NoteOwnCommit(int32_t before, int32_t after) {
  if (known_counter_ == before) known_counter_ = after;
}

void TVTRPageManager::ForgetCheckedPages() {
  known_counter_.reset();
  counter_trusted_ = false;
  ++check_epoch_;
}

TVTRPage* TVTRPageManager::AddPage(int32_t session_id, uint16_t page_type) {
  SessionPageSet& set = SessionSet(session_id);
  auto added = std::make_unique<TVTRPage>(*this, -1, session_id);
  AllocatePage(*added);
  if (added->PageNo() == -1) throw EVTRException(20064, "Invalid page number");
  // A damaged map may call a page free that this session holds changed.
  if (set.DirtyPages.Find(added->PageNo()) != nullptr)
    throw EVTRException::CreateFmt(30425, "Page: %d already used", added->PageNo());
  TVTRPage& page = *added;
  page.dirty_ = true;
  if (page_header_size_ > 0) {
    page.SetPageType(page_type);
    page.SetVersion(static_cast<int32_t>(DefaultRandom().Below(kInitialVersionLimit)));
  }
  // A copy left from before the number was freed must not be served again.
  RetireSharedPage(page.PageNo());
  AddDirtyPage(set, std::move(added));
  set.AddedPages.push_back(page.PageNo());
  MarkNew(set.NewPages, page.PageNo());
  if (set.Mark) MarkNew(set.Mark->NewPages, page.PageNo());
  TakeInUse(page, set);
  return &page;
}

void TVTRPageManager::DeletePage(int32_t session_id, int32_t page_no) {
  SessionSet(session_id).DeletedPages.push_back(page_no);
}

void TVTRPageManager::RetireSharedPage(int32_t page_no) {
  TVTRPage* stale = shared_pages_.Find(page_no);
  if (stale == nullptr) return;
  std::unique_ptr<TVTRPage> page = shared_pages_.Delete(page_no);
  if (page->use_count_ > 0) retired_pages_.emplace(page.get(), std::move(page));
}

void TVTRPageManager::ReleasePage(TVTRPage* page) {
  VTR_ASSERT(page != nullptr && page->use_count_ > 0);
  if (--page->use_count_ > 0) return;
  SessionPageSet& set = SessionSet(page->session_id_);
  --set.PagesInUse;
  VTR_ASSERT(set.PagesInUse >= 0);
  if (page->list_ == &shared_pages_) {
    if (!page->dirty_) {
      shared_pages_.Touch(*page);
      EvictToCapacity();
      return;
    }
    AddDirtyPage(set, shared_pages_.Delete(page->PageNo()));
  } else if (page->list_ == nullptr) {
    const auto it = retired_pages_.find(page);
    VTR_ASSERT(it != retired_pages_.end());
    std::unique_ptr<TVTRPage> retired = std::move(it->second);
    retired_pages_.erase(it);
    // A change made to a stale copy still belongs to its session; locks
    // above the cache keep two sessions from changing one page.
    if (!retired->dirty_) return;
    AddDirtyPage(set, std::move(retired));
  }
  WriteEarlyPastBound(set);
}

void TVTRPageManager::WriteEarlyPastBound(SessionPageSet& set) {
  const int32_t bound = early_write_bound_;
  if (!MayWriteEarly() || set.DirtyPages.Count() <= std::max(bound, set.EarlyWriteAt)) return;
  const std::vector<bool>& allocated = set.Mark ? set.Mark->NewPages : set.NewPages;
  std::vector<TVTRPage*> early;
  for (TVTRPage* page : set.DirtyPages.OldestFirst()) {
    if (static_cast<int32_t>(early.size()) >= bound / 2) break;
    if (page->use_count_ == 0 && IsNew(allocated, page->PageNo())) early.push_back(page);
  }
  std::sort(early.begin(), early.end(), [](const TVTRPage* a, const TVTRPage* b) { return a->PageNo() < b->PageNo(); });
  for (TVTRPage* page : early) {
    WritePage(*page);
    std::unique_ptr<TVTRPage> written = set.DirtyPages.Delete(page->PageNo());
    written->dirty_ = false;
    // Another session may have read the free page's old content meanwhile.
    RetireSharedPage(written->PageNo());
    if (shared_pages_.Count() < cache_capacity_) shared_pages_.Add(std::move(written));
  }
  // Pages that may not go early are not looked at again before the list grows by half the bound.
  set.EarlyWriteAt = set.DirtyPages.Count() + bound / 2;
}

void TVTRPageManager::AddDirtyPage(SessionPageSet& set, std::unique_ptr<TVTRPage> page) {
  page->dirty_since_ = set.Generation;
  set.DirtyPages.Add(std::move(page));
}

void TVTRPageManager::KeepBeforeImage(SessionPageMark& mark, const TVTRPage& page) {
  if (page.dirty_since_ >= mark.Generation) return;
  const auto [image, added] = mark.BeforeImages.try_emplace(page.PageNo());
  if (added) image->second.assign(page.buffer_, page.buffer_ + page.buffer_size_);
}

void TVTRPageManager::MarkSession(int32_t session_id) {
  SessionPageSet& set = SessionSet(session_id);
  set.Mark.emplace();
  set.Mark->Generation = ++set.Generation;
  set.Mark->AddedCount = set.AddedPages.size();
  set.Mark->DeletedCount = set.DeletedPages.size();
  // A page held across the mark may be changed without being taken again.
  if (set.PagesInUse == 0) return;
  set.DirtyPages.ForEach([&set](const TVTRPage& page) {
    if (page.UseCount() > 0) KeepBeforeImage(*set.Mark, page);
  });
}

void TVTRPageManager::RollbackToMark(int32_t session_id) {
  SessionPageSet* set = FindSessionSet(session_id);
  if (set == nullptr || !set->Mark) return;
  set->DirtyPages.ForEach([](const TVTRPage& page) {
    if (page.UseCount() > 0) throw EVTRException(20088, "Cannot remove used page");
  });
  SessionPageMark mark = std::move(*set->Mark);
  set->Mark.reset();
  std::vector<int32_t> joined;
  set->DirtyPages.ForEach([&](const TVTRPage& page) {
    if (page.dirty_since_ >= mark.Generation) joined.push_back(page.PageNo());
  });
  for (const int32_t page_no : joined) set->DirtyPages.Delete(page_no);
  for (auto& [page_no, image] : mark.BeforeImages) {
    TVTRPage* page = set->DirtyPages.Find(page_no);
    VTR_ASSERT(page != nullptr);
    if (page->buffer_size_ != static_cast<int32_t>(image.size())) page->ResizeBuffer(static_cast<int32_t>(image.size()));
    std::copy(image.begin(), image.end(), page->buffer_);
  }
  while (set->AddedPages.size() > mark.AddedCount) GiveBackLastAdded(*set);
  set->DeletedPages.resize(mark.DeletedCount);
}

void TVTRPageManager::GiveBackLastAdded(SessionPageSet& set) {
  const int32_t page_no = set.AddedPages.back();
  FreePage(page_no);
  set.AddedPages.pop_back();
  set.NewPages[static_cast<size_t>(page_no)] = false;
  // A copy written early is no page of anyone now.
  RetireSharedPage(page_no);
}

void TVTRPageManager::ReleaseMark(int32_t session_id) {
  if (SessionPageSet* set = FindSessionSet(session_id)) set->Mark.reset();
}

void TVTRPageManager::EvictToCapacity() {
  while (shared_pages_.Count() > cache_capacity_) {
    TVTRPage* victim = shared_pages_.LeastRecentUnused();
    if (victim == nullptr) return;
    shared_pages_.Delete(victim->PageNo());
  }
}

void TVTRPageManager::CheckReleased(const SessionPageSet& set) const {
  if (set.PagesInUse == 0) return;
  set.DirtyPages.ForEach([](const TVTRPage& page) {
    if (page.UseCount() > 0) throw EVTRException(20086, "Cannot write used page");
  });
  throw EVTRException(20152, "Some session pages are not released");
}

void TVTRPageManager::Commit(int32_t session_id) {
  SessionPageSet* set = FindSessionSet(session_id);
  if (set == nullptr) return;
  CheckReleased(*set);
  std::vector<TVTRPage*> dirty = set->DirtyPages.SortedPages();
  for (const TVTRPage* page : dirty) {
    if (!page->dirty_) throw EVTRException(20085, "Invalid dirty page");
  }
  // Pages this session allocated go out first, then the changed ones, each
  // group in page order. Nothing stored refers to a new page until a changed
  // page does, so a commit cut short after its new pages leaves the previous
  // structure whole (a B-tree root split keeps its old root until the end).
  std::vector<int32_t> added = set->AddedPages;
  std::sort(added.begin(), added.end());
  std::stable_partition(dirty.begin(), dirty.end(), [&added](const TVTRPage* page) {
    return std::binary_search(added.begin(), added.end(), page->PageNo());
  });
  std::vector<int32_t> deleted = set->DeletedPages;
  std::sort(deleted.begin(), deleted.end());
  const auto is_deleted = [&deleted](int32_t page_no) {
    return std::binary_search(deleted.begin(), deleted.end(), page_no);
  };
  // Pages first, then the deleted pages are given back: an I/O error on the
  // way leaves nothing that points at a freed page. The lists shrink only by
  // what is done, so the commit can be repeated or rolled back.
  std::vector<int32_t> written;
  written.reserve(dirty.size());
  for (TVTRPage* page : dirty) {
    if (is_deleted(page->PageNo())) continue;
    WritePage(*page);
    written.push_back(page->PageNo());
  }
  std::vector<int32_t>& to_free = set->DeletedPages;
  size_t freed = 0;
  try {
    for (; freed < to_free.size(); ++freed) {
      const int32_t page_no = to_free[freed];
      FreePage(page_no);
      if (set->DirtyPages.Find(page_no) != nullptr) set->DirtyPages.Delete(page_no);
      RetireSharedPage(page_no);
    }
  } catch (...) {
    to_free.erase(to_free.begin(), to_free.begin() + static_cast<ptrdiff_t>(freed));
    throw;
  }
  to_free.clear();
  set->AddedPages.clear();
  set->NewPages.clear();
  set->EarlyWriteAt = 0;
  set->Mark.reset();
  for (const int32_t page_no : written) {
    std::unique_ptr<TVTRPage> page = set->DirtyPages.Delete(page_no);
    page->dirty_ = false;
    page->checked_epoch_ = check_epoch_;
    // Another session may have read the page before this commit: its copy is stale now.
    RetireSharedPage(page_no);
    if (shared_pages_.Count() < cache_capacity_) shared_pages_.Add(std::move(page));
  }
}

void TVTRPageManager::Rollback(int32_t session_id) {
  SessionPageSet* set = FindSessionSet(session_id);
  if (set == nullptr) return;
  set->DirtyPages.ForEach([](const TVTRPage& page) {
    if (!page.Dirty()) throw EVTRException(20087, "Invalid index page");
    if (page.UseCount() > 0) throw EVTRException(20088, "Cannot remove used page");
  });
  set->DirtyPages.Clear();
  set->Mark.reset();
  while (!set->AddedPages.empty()) GiveBackLastAdded(*set);
  set->NewPages.clear();
  set->DeletedPages.clear();
  set->EarlyWriteAt = 0;
}

const SessionPageSet* TVTRPageManager::PendingChanges(int32_t session_id) const {
  const auto it = sessions_.find(session_id);
  return it == sessions_.end() ? nullptr : &it->second;
}

void TVTRPageManager::RestoreDeletedPages(int32_t session_id, std::vector<int32_t> deleted) {
  SessionSet(session_id).DeletedPages = std::move(deleted);
}

bool TVTRPageManager::HasSessionChanges(int32_t session_id) const {
  const auto it = sessions_.find(session_id);
  return it != sessions_.end() && !it->second.Empty();
}

bool TVTRPageManager::HasUncommittedPages() const {
  return std::any_of(sessions_.begin(), sessions_.end(),
                     [](const auto& entry) { return !entry.second.DirtyPages.Empty(); });
}

void TVTRPageManager::CheckAllCommitted() const {
  if (HasUncommittedPages()) throw EVTRException(20097, "Cannot free not commited pages");
}

HeldPage& HeldPage::operator=(HeldPage&& other) noexcept {
  if (this != &other) {
    try {
      Release();
    } catch (...) {
      // Moving must not throw; the release error is lost as in the destructor.
    }
    page_ = other.page_;
    other.page_ = nullptr;
  }
  return *this;
}

HeldPage::~HeldPage() {
  try {
    Release();
  } catch (...) {
    // A destructor reports nothing; Release reports.
  }
}

void HeldPage::Release() {
  if (page_ == nullptr) return;
  TVTRPage* page = page_;
  page_ = nullptr;
  page->Manager().ReleasePage(page);
}
