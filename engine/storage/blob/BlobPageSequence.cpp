#include "engine/storage/blob/BlobPageSequence.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/LinkCycleGuard.h"
#include "engine/storage/pager/PageHeader.h"

namespace {

constexpr int32_t kListEntrySize = 4;

[[noreturn]] void RaiseUnreadable() {
  throw EVTRException(20162, "Cannot read BLOB field value");
}

// Deletes the pages a failed store added, unless the store completed.
class AddedPages {
 public:
  AddedPages(TVTRPageManager& pages, int32_t session_id) : pages_(pages), session_id_(session_id) {}
  ~AddedPages() {
    if (kept_) return;
    for (const int32_t page_no : added_) {
      try {
        pages_.DeletePage(session_id_, page_no);
      } catch (...) {
        // The session's rollback gives the page back.
      }
    }
  }
  AddedPages(const AddedPages&) = delete;
  AddedPages& operator=(const AddedPages&) = delete;

  HeldPage Add() {
    HeldPage page(pages_.AddPage(session_id_, ptTableBlob));
    added_.push_back(page->PageNo());
    return page;
  }
  const std::vector<int32_t>& Numbers() const { return added_; }
  void Keep() { kept_ = true; }

 private:
  TVTRPageManager& pages_;
  int32_t session_id_;
  std::vector<int32_t> added_;
  bool kept_ = false;
};

// Writes the list of the data pages from `offset` of `page` on, adding list
// pages as needed; answers its locator.
BlobPageListLocator WritePageList(AddedPages& added, HeldPage page, int32_t offset,
                                  const std::vector<int32_t>& data_pages) {
  const int32_t data_size = page->DataSize();
  if (data_size - offset < kListEntrySize) {
    page = added.Add();
    offset = 0;
  }
  const BlobPageListLocator locator{page->PageNo(), static_cast<uint16_t>(offset),
                                    static_cast<int32_t>(data_pages.size())};
  for (const int32_t page_no : data_pages) {
    if (data_size - offset < kListEntrySize) {
      HeldPage next = added.Add();
      page->SetNextPage(next->PageNo());
      page->SetDirty(true);
      page = std::move(next);
      offset = 0;
    }
    StoreI32(page->Data() + offset, page_no);
    offset += kListEntrySize;
  }
  page->SetDirty(true);
  return locator;
}

}  // namespace

int64_t TVTRBlobPageSequence::DataPageCount(int64_t stored_size, int32_t data_size) {
  const int64_t beyond_first = std::max<int64_t>(stored_size - (data_size - kSequenceDataAt), 0);
  // Rounded up without a sum that a damaged size could overflow.
  return 1 + beyond_first / data_size + (beyond_first % data_size != 0 ? 1 : 0);
}

int32_t TVTRBlobPageSequence::Store(const CachedBlobValue& value) {
  const int32_t data_size = pages_.PageDataSize();
  const int64_t stored_size = value.DataSize;
  AddedPages added(pages_, session_id_);
  HeldPage first = added.Add();
  const int32_t first_page = first->PageNo();
  const BlobValueHeader header{0, value.BlockCount, stored_size, value.UncompressedSize};
  EncodeBlobValueHeader(header,
                        std::span<uint8_t, kBlobValueHeaderSize>(first->Data(), kBlobValueHeaderSize));

  int64_t done = std::min<int64_t>(stored_size, data_size - kSequenceDataAt);
  if (done > 0) std::memcpy(first->Data() + kSequenceDataAt, value.Bytes(), done);
  int32_t used = kSequenceDataAt + static_cast<int32_t>(done);
  HeldPage last;
  while (done < stored_size) {
    last = added.Add();
    const auto count = static_cast<int32_t>(std::min<int64_t>(stored_size - done, data_size));
    std::memcpy(last->Data(), value.Bytes() + done, count);
    done += count;
    used = count;
  }

  const std::vector<int32_t> data_pages = added.Numbers();
  if (last.get() == nullptr) {
    // The list follows on the first page itself: a second hold of it for WritePageList.
    last = HeldPage(pages_.GetPage(session_id_, first_page, ptTableBlob));
  }
  const BlobPageListLocator locator = WritePageList(added, std::move(last), used, data_pages);
  EncodeBlobPageListLocator(locator, std::span<uint8_t, kBlobPageListLocatorSize>(
                                         first->Data() + kBlobValueHeaderSize, kBlobPageListLocatorSize));
  added.Keep();
  return first_page;
}

TVTRBlobPageSequence::FirstPage TVTRBlobPageSequence::ReadFirstPage(int32_t first_page) {
  HeldPage page(pages_.GetPage(session_id_, first_page, ptTableBlob));
  const uint8_t* data = page->Data();
  return FirstPage{
      DecodeBlobValueHeader(std::span<const uint8_t, kBlobValueHeaderSize>(data, kBlobValueHeaderSize)),
      DecodeBlobPageListLocator(std::span<const uint8_t, kBlobPageListLocatorSize>(
          data + kBlobValueHeaderSize, kBlobPageListLocatorSize))};
}

void TVTRBlobPageSequence::ReadPageList(int32_t first_page, const FirstPage& first,
                                        std::vector<int32_t>& data_pages, std::vector<int32_t>& list_pages) {
  const int32_t data_size = pages_.PageDataSize();
  const int32_t count = first.Locator.EntryCount;
  if (first.Header.StoredSize < 0 || count != DataPageCount(first.Header.StoredSize, data_size) ||
      first.Locator.Offset > data_size) {
    RaiseUnreadable();
  }
  // The lists grow with the pages read: a damaged count claims nothing the
  // list pages do not hold, and their links may not come back to a page.
  data_pages.clear();
  list_pages.clear();
  int32_t page_no = first.Locator.PageNo;
  int32_t offset = first.Locator.Offset;
  LinkCycleGuard walk(page_no);
  while (static_cast<int32_t>(data_pages.size()) < count) {
    if (page_no == -1 || (!list_pages.empty() && walk.Returns(page_no))) RaiseUnreadable();
    HeldPage page(pages_.GetPage(session_id_, page_no, ptTableBlob));
    list_pages.push_back(page_no);
    for (; offset + kListEntrySize <= data_size && static_cast<int32_t>(data_pages.size()) < count;
         offset += kListEntrySize) {
      data_pages.push_back(LoadI32(page->Data() + offset));
    }
    page_no = page->NextPage();
    offset = 0;
  }
  if (data_pages.front() != first_page) RaiseUnreadable();
}

void TVTRBlobPageSequence::Read(int32_t first_page, CachedBlobValue& value) {
  const int32_t data_size = pages_.PageDataSize();
  const FirstPage first = ReadFirstPage(first_page);
  std::vector<int32_t> data_pages;
  std::vector<int32_t> list_pages;
  ReadPageList(first_page, first, data_pages, list_pages);

  uint8_t* data = value.Allocate(first.Header.StoredSize);
  const int64_t stored_size = first.Header.StoredSize;
  int64_t done = 0;
  for (size_t i = 0; i < data_pages.size(); ++i) {
    const int32_t from = i == 0 ? kSequenceDataAt : 0;
    const int64_t count = std::min<int64_t>(stored_size - done, data_size - from);
    HeldPage page(pages_.GetPage(session_id_, data_pages[i], ptTableBlob));
    std::memcpy(data + done, page->Data() + from, count);
    done += count;
  }
  value.BlockCount = first.Header.BlockCount;
  value.UncompressedSize = first.Header.UncompressedSize;
  value.Modified = false;
}

void TVTRBlobPageSequence::Delete(int32_t first_page) {
  std::vector<int32_t> data_pages;
  std::vector<int32_t> list_pages;
  ReadPageList(first_page, ReadFirstPage(first_page), data_pages, list_pages);
  for (const int32_t page_no : data_pages) pages_.DeletePage(session_id_, page_no);
  for (const int32_t page_no : list_pages) {
    if (page_no != data_pages.back()) pages_.DeletePage(session_id_, page_no);
  }
}

bool TVTRBlobPageSequence::IsSequence(int32_t first_page) {
  try {
    const FirstPage first = ReadFirstPage(first_page);
    const int64_t data_size = pages_.PageDataSize();
    const int64_t entries = first.Locator.EntryCount;
    return (entries - 2) * data_size < first.Header.StoredSize &&
           first.Header.StoredSize < entries * data_size;
  } catch (const Exception&) {
    return false;
  }
}
