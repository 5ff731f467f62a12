#include "engine/storage/memory/MemoryPageManager.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "engine/foundation/stream/VTRStreamMessages.h"
#include "engine/storage/pager/ByteOrder.h"

namespace {

constexpr int32_t kImageHeaderSize = 20;
constexpr const char* kNotAllocatedMessage = "Not released page is allocated";
constexpr const char* kInvalidImageFormat =
    "Invalid memory page image. Page slots = %d, Max page = %d, Page size = %d, Header size = %d, "
    "Allocated = %d";

}  // namespace

TVTRMemoryPageManager::TVTRMemoryPageManager() : TVTRPageManager(kPageSize, 0) {}

bool TVTRMemoryPageManager::IsAllocated(int32_t page_no) const {
  return page_no >= 0 && page_no < page_slots_ && used_pages_.GetBit(page_no);
}

uint8_t* TVTRMemoryPageManager::StoredPage(int32_t page_no) {
  PageBuffer& stored = store_[static_cast<size_t>(page_no)];
  if (!stored) stored.reset(static_cast<uint8_t*>(EngineMemoryManager().AllocMem(PageSize())));
  return stored.get();
}

void TVTRMemoryPageManager::AllocatePage(TVTRPage& page) {
  int32_t page_no;
  if (!used_pages_.FindFirst(false, page_no)) {
    // The store grows first: the bitmap never names a number the store lacks.
    page_no = page_slots_;
    store_.resize(static_cast<size_t>(page_slots_ + growth_step_));
    used_pages_.SetSize(page_slots_ + growth_step_);
    page_slots_ += growth_step_;
  }
  page.AllocBuffer();
  used_pages_.SetBit(page_no, true);
  max_page_ = std::max(max_page_, page_no);
  SetPageCountField(GetPageCount() + 1);
  page.SetPageNo(page_no);
}

void TVTRMemoryPageManager::FreePage(int32_t page_no) {
  if (!IsAllocated(page_no)) return;
  used_pages_.SetBit(page_no, false);
  SetPageCountField(GetPageCount() - 1);
}

bool TVTRMemoryPageManager::ReadPage(TVTRPage& page) {
  if (!IsAllocated(page.PageNo())) throw EVTRException(10392, kNotAllocatedMessage);
  if (!page.OwnsBuffer()) page.AllocBuffer();
  std::memcpy(page.Buffer(), StoredPage(page.PageNo()), static_cast<size_t>(PageSize()));
  return true;
}

void TVTRMemoryPageManager::WritePage(TVTRPage& page) {
  if (!IsAllocated(page.PageNo())) throw EVTRException(10393, kNotAllocatedMessage);
  std::memcpy(StoredPage(page.PageNo()), page.Buffer(), static_cast<size_t>(PageSize()));
}

void TVTRMemoryPageManager::SaveToStream(TStream& stream) {
  uint8_t field[4];
  StoreI32(field, page_slots_);
  WriteStreamChecked(field, 4, stream, 10362);
  StoreI32(field, max_page_);
  WriteStreamChecked(field, 4, stream, 10363);
  StoreI32(field, growth_step_);
  WriteStreamChecked(field, 4, stream, 10364);
  StoreU16(field, static_cast<uint16_t>(PageSize()));
  WriteStreamChecked(field, 2, stream, 10365);
  StoreU16(field, static_cast<uint16_t>(PageHeaderSize()));
  WriteStreamChecked(field, 2, stream, 10366);
  StoreI32(field, GetPageCount());
  WriteStreamChecked(field, 4, stream, 10367);
  used_pages_.SaveToStream(stream);
  const std::vector<uint8_t> unused(static_cast<size_t>(PageSize()), 0);
  for (int32_t page_no = 0; page_no < page_slots_; ++page_no) {
    const PageBuffer& stored = store_[static_cast<size_t>(page_no)];
    WriteStreamChecked(stored ? stored.get() : unused.data(), PageSize(), stream, 10368);
  }
}

void TVTRMemoryPageManager::LoadFromStream(TStream& stream) {
  // Cached copies would outlive the pages they copy.
  CheckAllCommitted();
  uint8_t header[kImageHeaderSize];
  ReadStreamChecked(header, 4, stream, 10369);
  ReadStreamChecked(header + 4, 4, stream, 10370);
  ReadStreamChecked(header + 8, 4, stream, 10371);
  ReadStreamChecked(header + 12, 2, stream, 10372);
  ReadStreamChecked(header + 14, 2, stream, 10373);
  ReadStreamChecked(header + 16, 4, stream, 10374);
  const int32_t page_slots = LoadI32(header);
  const int32_t max_page = LoadI32(header + 4);
  const int32_t growth_step = LoadI32(header + 8);
  const int32_t page_size = LoadU16(header + 12);
  const int32_t header_size = LoadU16(header + 14);
  const int32_t allocated = LoadI32(header + 16);
  TVTRBitsArray used;
  used.LoadFromStream(stream);
  const bool consistent = page_slots >= 0 && growth_step > 0 && page_size == kPageSize && header_size == 0 &&
                          max_page >= 0 && (page_slots == 0 ? max_page == 0 : max_page < page_slots) &&
                          used.Size() == page_slots && allocated == used.SetBitsCount();
  if (!consistent)
    throw EVTRException::CreateFmt(10369, kInvalidImageFormat, page_slots, max_page, page_size, header_size,
                                   allocated);
  const int64_t position = stream.Position();
  const int64_t needed = int64_t{page_slots} * kPageSize;
  if (stream.Size() - position < needed)
    throw EVTRException::CreateFmt(10375, kReadFailedFormat, position, stream.Size(), needed,
                                   std::max<int64_t>(stream.Size() - position, 0));
  std::vector<PageBuffer> store(static_cast<size_t>(page_slots));
  for (PageBuffer& stored : store) {
    stored.reset(static_cast<uint8_t*>(EngineMemoryManager().GetMem(kPageSize)));
    ReadStreamChecked(stored.get(), kPageSize, stream, 10375);
  }
  for (int32_t page_no = 0; page_no < page_slots_; ++page_no) RetireSharedPage(page_no);
  used_pages_.SetSize(0);
  used_pages_.SetSize(page_slots);
  for (int32_t page_no = 0; page_no < page_slots; ++page_no)
    used_pages_.SetBit(page_no, used.GetBit(page_no));
  store_ = std::move(store);
  page_slots_ = page_slots;
  max_page_ = max_page;
  growth_step_ = growth_step;
  SetPageCountField(allocated);
}
