#pragma once
// TVTRSortedPageList: the pages of the shared cache or of one session's dirty
// set, found by page number in constant time, ordered by recency of use for
// eviction and by page number on demand (a commit writes in ascending order).
// The list owns its pages; Delete hands one back.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/storage/pager/Page.h"

class TVTRSortedPageList {
 public:
  TVTRSortedPageList() = default;
  ~TVTRSortedPageList();
  TVTRSortedPageList(const TVTRSortedPageList&) = delete;
  TVTRSortedPageList& operator=(const TVTRSortedPageList&) = delete;

  int32_t Count() const { return static_cast<int32_t>(pages_.size()); }
  bool Empty() const { return pages_.empty(); }
  void Reserve(int32_t count) { pages_.reserve(static_cast<size_t>(count)); }

  // Adds a page as the most recently used; a page number the list holds
  // already raises 30425.
  void Add(std::unique_ptr<TVTRPage> page);
  // Takes the page out without freeing it (20165 when empty, 20166 when absent).
  std::unique_ptr<TVTRPage> Delete(int32_t page_no);
  TVTRPage* Find(int32_t page_no) const {
    const auto it = pages_.find(page_no);
    return it == pages_.end() ? nullptr : it->second.get();
  }
  // Makes the page the most recently used (20167 when it is not in the list).
  void Touch(TVTRPage& page);
  // The least recently used page that nobody uses, or null.
  TVTRPage* LeastRecentUnused() const;
  // The pages, least recently used first.
  std::vector<TVTRPage*> OldestFirst() const;
  // The pages in ascending page number.
  std::vector<TVTRPage*> SortedPages() const;
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const auto& [page_no, page] : pages_) visit(*page);
  }
  // Frees every page.
  void Clear();

 private:
  void Link(TVTRPage& page);
  void Unlink(TVTRPage& page);

  std::unordered_map<int32_t, std::unique_ptr<TVTRPage>> pages_;
  TVTRPage* oldest_ = nullptr;
  TVTRPage* newest_ = nullptr;
};
