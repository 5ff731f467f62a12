#include "engine/storage/pager/Page.h"

#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/pager/PageManager.h"
#include "platform/rtl/ScopeExit.h"

TVTRPage::TVTRPage(TVTRPageManager& manager, int32_t page_no, int32_t session_id)
    : manager_(manager), page_no_(page_no), session_id_(session_id) {}

TVTRPage::~TVTRPage() {
  FreeBuffer();
}

uint8_t* TVTRPage::Data() {
  return buffer_ + manager_.PageHeaderSize();
}

const uint8_t* TVTRPage::Data() const {
  return buffer_ + manager_.PageHeaderSize();
}

int32_t TVTRPage::PageSize() const {
  return manager_.PageSize();
}

int32_t TVTRPage::DataSize() const {
  return manager_.PageDataSize();
}

void TVTRPage::AllocBuffer() {
  FreeBuffer();
  owned_ = manager_.AcquirePageBuffer();
  buffer_ = owned_.get();
  buffer_size_ = manager_.PageSize();
  std::memset(buffer_, 0, static_cast<size_t>(buffer_size_));
  InitHeader();
}

void TVTRPage::FreeBuffer() {
  if (owned_ != nullptr) manager_.RecyclePageBuffer(std::move(owned_), buffer_size_);
  owned_.reset();
  buffer_ = nullptr;
  buffer_size_ = 0;
}

void TVTRPage::UseBuffer(uint8_t* stored) {
  FreeBuffer();
  buffer_ = stored;
  buffer_size_ = manager_.PageSize();
}

void TVTRPage::ResizeBuffer(int32_t size) {
  if (buffer_ == nullptr) throw EVTRException(20038, "Invalid page buffer. Buffer is Nil");
  if (size < manager_.PageSize()) throw EVTRException(20039, "Invalid page modification");
  if (owned_ != nullptr) {
    void* block = owned_.release();
    const ScopeExit own([this, &block]() noexcept { owned_.reset(static_cast<uint8_t*>(block)); });
    EngineMemoryManager().ReallocMem(block, size, true);
  } else {
    PageBuffer copy(static_cast<uint8_t*>(EngineMemoryManager().AllocMem(size)));
    std::memcpy(copy.get(), buffer_, static_cast<size_t>(manager_.PageSize()));
    owned_ = std::move(copy);
  }
  buffer_ = owned_.get();
  buffer_size_ = size;
}

void TVTRPage::InitHeader() {
  if (manager_.PageHeaderSize() < kPageHeaderSize) return;
  EncodePageHeader(PageHeader{}, std::span<uint8_t, kPageHeaderSize>(buffer_, kPageHeaderSize));
}

void TVTRPage::Refresh() {
  manager_.RefreshPage(*this);
}

uint16_t TVTRPage::PageType() const {
  return PageTypeOf(buffer_);
}

void TVTRPage::SetPageType(uint16_t type) {
  SetPageTypeOf(buffer_, type);
}

int32_t TVTRPage::Version() const {
  return PageVersionOf(buffer_);
}

void TVTRPage::SetVersion(int32_t version) {
  SetPageVersionOf(buffer_, version);
}

int32_t TVTRPage::NextPage() const {
  return NextPageOf(buffer_);
}

void TVTRPage::SetNextPage(int32_t next_page) {
  SetNextPageOf(buffer_, next_page);
}
