#include "engine/storage/disk/MemoryPageStore.h"

#include <cstring>

void TVTRMemoryPageStore::AllocatePage(TVTRPage& page) {
  int32_t page_no = next_page_;
  if (free_.empty()) {
    ++next_page_;
  } else {
    page_no = free_.back();
    free_.pop_back();
  }
  page.SetPageNo(page_no);
  page.AllocBuffer();
}

void TVTRMemoryPageStore::FreePage(int32_t page_no) {
  stored_.erase(page_no);
  free_.push_back(page_no);
}

bool TVTRMemoryPageStore::ReadPage(TVTRPage& page) {
  const auto it = stored_.find(page.PageNo());
  if (it == stored_.end()) return false;
  std::memcpy(page.Buffer(), it->second.data(), it->second.size());
  return true;
}

void TVTRMemoryPageStore::WritePage(TVTRPage& page) {
  stored_[page.PageNo()].assign(page.Buffer(), page.Buffer() + PageSize());
}
