#include "engine/storage/pager/SortedPageList.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"

TVTRSortedPageList::~TVTRSortedPageList() {
  Clear();
}

void TVTRSortedPageList::Add(std::unique_ptr<TVTRPage> page) {
  VTR_ASSERT(page->list_ == nullptr);
  TVTRPage& added = *page;
  // A damaged free-space map can hand out a page that a list holds already.
  if (!pages_.try_emplace(added.PageNo(), std::move(page)).second)
    throw EVTRException::CreateFmt(30425, "Page: %d already used", added.PageNo());
  added.list_ = this;
  Link(added);
}

std::unique_ptr<TVTRPage> TVTRSortedPageList::Delete(int32_t page_no) {
  if (pages_.empty()) throw EVTRException(20165, "TSortedPageList.Delete - no elements in array!");
  const auto it = pages_.find(page_no);
  if (it == pages_.end()) {
    throw EVTRException::CreateFmt(
        20166, "TSortedPageList.Delete - element not found, key = %d, itemCount = %d", page_no, Count());
  }
  std::unique_ptr<TVTRPage> page = std::move(it->second);
  pages_.erase(it);
  Unlink(*page);
  page->list_ = nullptr;
  return page;
}

void TVTRSortedPageList::Touch(TVTRPage& page) {
  if (page.list_ != this) throw EVTRException(20167, "Page not found");
  if (newest_ == &page) return;
  Unlink(page);
  Link(page);
}

TVTRPage* TVTRSortedPageList::LeastRecentUnused() const {
  for (TVTRPage* page = oldest_; page != nullptr; page = page->newer_) {
    if (page->UseCount() == 0) return page;
  }
  return nullptr;
}

std::vector<TVTRPage*> TVTRSortedPageList::OldestFirst() const {
  std::vector<TVTRPage*> pages;
  pages.reserve(pages_.size());
  for (TVTRPage* page = oldest_; page != nullptr; page = page->newer_) pages.push_back(page);
  return pages;
}

std::vector<TVTRPage*> TVTRSortedPageList::SortedPages() const {
  std::vector<TVTRPage*> sorted;
  sorted.reserve(pages_.size());
  for (const auto& [page_no, page] : pages_) sorted.push_back(page.get());
  std::sort(sorted.begin(), sorted.end(),
            [](const TVTRPage* a, const TVTRPage* b) { return a->PageNo() < b->PageNo(); });
  return sorted;
}

void TVTRSortedPageList::Clear() {
  // Pages give their buffers back to their manager as they go.
  pages_.clear();
  oldest_ = newest_ = nullptr;
}

void TVTRSortedPageList::Link(TVTRPage& page) {
  page.older_ = newest_;
  page.newer_ = nullptr;
  if (newest_ != nullptr) newest_->newer_ = &page;
  newest_ = &page;
  if (oldest_ == nullptr) oldest_ = &page;
}

void TVTRSortedPageList::Unlink(TVTRPage& page) {
  (page.older_ != nullptr ? page.older_->newer_ : oldest_) = page.newer_;
  (page.newer_ != nullptr ? page.newer_->older_ : newest_) = page.older_;
  page.older_ = page.newer_ = nullptr;
}
