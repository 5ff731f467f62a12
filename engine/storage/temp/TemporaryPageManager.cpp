#include "engine/storage/temp/TemporaryPageManager.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRStreamChecks.h"

namespace {

constexpr const char* kNotAllocatedMessage = "Not released page is allocated";

int64_t FileOffset(int32_t page_no) {
  return int64_t{page_no} * TVTRTemporaryPageManager::kPageSize;
}

}  // namespace

TVTRTemporaryPageManager::TVTRTemporaryPageManager(bool keep_in_memory, int64_t memory_budget)
    : TVTRPageManager(kPageSize, 0),
      memory_page_limit_(static_cast<int32_t>(std::clamp<int64_t>(memory_budget / kPageSize, 0, INT32_MAX))),
      keep_in_memory_(keep_in_memory) {}

TVTRFileStream& TVTRTemporaryPageManager::SpillFile() {
  if (!spill_)
    spill_ = std::make_unique<TVTRFileStream>(GetTemporaryFileName(), TVTRFileStream::fmCreate, true);
  return *spill_;
}

void TVTRTemporaryPageManager::MarkUsed(int32_t page_no) {
  if (page_no >= page_numbers_) {
    page_numbers_ = page_no + 1;
    if (used_pages_.Size() < page_numbers_) used_pages_.SetSize(page_numbers_);
  }
  used_pages_.SetBit(page_no, true);
  SetPageCountField(GetPageCount() + 1);
}

void TVTRTemporaryPageManager::AllocatePage(TVTRPage& page) {
  if (keep_in_memory_ || page_numbers_ < memory_page_limit_ ||
      (memory_pages_ && memory_pages_->HasFreedPage())) {
    if (!memory_pages_) memory_pages_ = std::make_unique<TVTRMemoryPageManager>();
    memory_pages_->AllocatePage(page);
    MarkUsed(page.PageNo());
    return;
  }
  const bool reuse = !free_file_pages_.empty();
  const int32_t page_no = reuse ? free_file_pages_.back() : page_numbers_;
  if (!reuse) {
    TVTRFileStream& file = SpillFile();
    const int64_t needed = FileOffset(page_no + 1);
    if (file.Size() < needed) file.SetSize(needed * 3 / 2);
  }
  page.AllocBuffer();
  page.SetPageNo(page_no);
  MarkUsed(page_no);
  if (reuse) free_file_pages_.pop_back();
}

void TVTRTemporaryPageManager::FreePage(int32_t page_no) {
  if (page_no < 0 || page_no >= page_numbers_ || !used_pages_.GetBit(page_no)) return;
  if (InMemory(page_no))
    memory_pages_->FreePage(page_no);
  else
    free_file_pages_.push_back(page_no);
  used_pages_.SetBit(page_no, false);
  SetPageCountField(GetPageCount() - 1);
}

bool TVTRTemporaryPageManager::ReadPage(TVTRPage& page) {
  const int32_t page_no = page.PageNo();
  if (page_no < 0 || page_no >= page_numbers_ || !used_pages_.GetBit(page_no))
    throw EVTRException(10396, kNotAllocatedMessage);
  if (InMemory(page_no)) return memory_pages_->ReadPage(page);
  VTR_ASSERT(spill_);  // made with the first file page
  if (!page.OwnsBuffer()) page.AllocBuffer();
  spill_->SetPosition(FileOffset(page_no));
  return spill_->Position() == FileOffset(page_no) && spill_->Read(page.Buffer(), kPageSize) == kPageSize;
}

void TVTRTemporaryPageManager::WritePage(TVTRPage& page) {
  const int32_t page_no = page.PageNo();
  if (page_no < 0 || page_no >= page_numbers_ || !used_pages_.GetBit(page_no))
    throw EVTRException(10397, kNotAllocatedMessage);
  if (InMemory(page_no)) {
    memory_pages_->WritePage(page);
    return;
  }
  TVTRFileStream& file = SpillFile();
  file.SetPosition(FileOffset(page_no));
  if (file.Write(page.Buffer(), kPageSize) != kPageSize)
    throw EVTRException(10125, "Error writing to stream");
}
