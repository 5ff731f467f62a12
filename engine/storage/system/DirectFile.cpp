#include "engine/storage/system/DirectFile.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/PageHeader.h"

namespace {

// The page list grows by doubling steps up to this many entries at a time.
constexpr int32_t kPageListMaxStep = 256;

}  // namespace

TVTRInternalDBDirectAccessFile::TVTRInternalDBDirectAccessFile(TVTRDiskPageManager& manager,
                                                               uint16_t page_type)
    : manager_(manager), page_type_(page_type), page_list_(0, kPageListMaxStep, 4) {}

void TVTRInternalDBDirectAccessFile::CheckOpen(const char* operation) const {
  if (!IsOpen())
    throw EVTRException::CreateFmt(20156, "Cannot perform this operation (%s) on closed internal file",
                                   operation);
}

int32_t TVTRInternalDBDirectAccessFile::DataSize() const {
  return InternalFileDataSize(manager_.PageDataSize());
}

void TVTRInternalDBDirectAccessFile::CreateFile(int32_t size) {
  if (IsOpen())
    throw EVTRException::CreateFmt(20157, "Cannot create Internal file. File already exists. StartPageNo=%d",
                                   start_page_);
  VTR_ASSERT(size >= 0);
  const int32_t pages = InternalFilePageCount(size, DataSize());
  page_list_.SetSize(0);
  HeldPage previous;
  for (int32_t i = 0; i < pages; ++i) {
    HeldPage page(manager_.AddPage(kSystemSessionID, page_type_));
    page->SetMayEncipher(false);
    if (i == 0) {
      SetHeaderOfPage(*page, InternalFileHeader{size, 0, 0});
    } else {
      previous->SetNextPage(page->PageNo());
      previous->SetDirty(true);
    }
    page_list_.Append(page->PageNo());
    previous = std::move(page);
  }
  start_page_ = page_list_[0];
  size_ = size;
}

void TVTRInternalDBDirectAccessFile::DeleteFile(int32_t start_page) {
  const int32_t first_page = start_page == -1 ? start_page_ : start_page;
  if (first_page == -1) CheckOpen("DeleteFile");
  const int32_t pages = InternalFilePageCount(ReadStoredSize(first_page), DataSize());
  int32_t page_no = first_page;
  std::unordered_set<int32_t> deleted;
  for (int32_t i = 0; i < pages && page_no != -1 && deleted.insert(page_no).second; ++i) {
    const int32_t next = ReadLinkHeader(page_no).NextPage;
    manager_.DeletePage(kSystemSessionID, page_no);
    page_no = next;
  }
  CloseFile();
}

void TVTRInternalDBDirectAccessFile::CloseFile() {
  start_page_ = -1;
  size_ = 0;
  page_list_.SetSize(0);
}

int32_t TVTRInternalDBDirectAccessFile::ReadStoredSize(int32_t start_page) {
  std::array<uint8_t, kInternalFileHeaderSize> image{};
  manager_.ReadPageBytes(image.data(), start_page, kInternalFileHeaderSize, kPageHeaderSize);
  return DecodeInternalFileHeader(image).StoredSize;
}

TVTRInternalDBDirectAccessFile::LinkHeader TVTRInternalDBDirectAccessFile::ReadLinkHeader(int32_t page_no) {
  std::array<uint8_t, kPageHeaderSize> image{};
  manager_.ReadPageBytes(image.data() + 1, page_no, kPageHeaderSize - 1, 1);
  const uint16_t type = PageTypeOf(image.data());
  if (type != page_type_)
    throw EVTRException::CreateFmt(20155, "Invalid PageType found: %d but wanted: %d", type, page_type_);
  return LinkHeader{type, NextPageOf(image.data())};
}

void TVTRInternalDBDirectAccessFile::OpenFile(int32_t start_page) {
  CloseFile();
  if (start_page == -1) return;
  const int32_t data_size = DataSize();
  const int32_t stored_size = ReadStoredSize(start_page);
  const int32_t pages = InternalFilePageCount(stored_size, data_size);
  int32_t page_no = start_page;
  // Links that come back to a page end the file there, as a link to no page does.
  std::unordered_set<int32_t> listed;
  for (int32_t i = 0; i < pages && page_no != -1 && listed.insert(page_no).second; ++i) {
    const LinkHeader header = ReadLinkHeader(page_no);
    page_list_.Append(page_no);
    page_no = header.NextPage;
  }
  // Positions never go past what the linked pages hold; a file of one page
  // offers the whole page.
  const int32_t room = page_list_.Count() * data_size - kInternalFileHeaderSize;
  size_ = page_list_.Count() == 1 ? room : std::min(stored_size, room);
  start_page_ = start_page;
}

int32_t TVTRInternalDBDirectAccessFile::GetSize() {
  CheckOpen("GetSize");
  return ReadStoredSize(start_page_);
}

TVTRInternalDBDirectAccessFile::BytePlace TVTRInternalDBDirectAccessFile::PlaceOf(int64_t position) const {
  const ContentPlace place =
      position >= 0 && position <= size_ ? PlaceOfContent(position, DataSize()) : ContentPlace{-1, 0};
  if (place.PageIndex < 0 || place.PageIndex >= page_list_.Count()) {
    throw EVTRException::CreateFmt(20159, "Seek position bigger then file size. FileSize=%d. Position=%d",
                                   size_, position);
  }
  const auto index = static_cast<int32_t>(place.PageIndex);
  return BytePlace{index, page_list_[index], kPageHeaderSize + place.DataOffset};
}

template <typename Move>
int32_t TVTRInternalDBDirectAccessFile::Transfer(int32_t count, int32_t position, Move&& move) {
  VTR_ASSERT(count >= 0);
  if (count == 0) return 0;
  const BytePlace place = PlaceOf(position);
  int32_t page_no = place.PageNo;
  int32_t offset = place.PageOffset;
  int32_t done = 0;
  while (true) {
    const int32_t next = ReadLinkHeader(page_no).NextPage;
    const int32_t length = std::min(manager_.PageSize() - offset, count - done);
    move(page_no, offset, done, length);
    done += length;
    if (done == count || next == -1) return done;
    page_no = next;
    offset = kPageHeaderSize;
  }
}

void TVTRInternalDBDirectAccessFile::DirectReadBuffer(void* buffer, int32_t count, int32_t position) {
  CheckOpen("DirectReadBuffer");
  auto* bytes = static_cast<uint8_t*>(buffer);
  Transfer(count, position, [this, bytes](int32_t page_no, int32_t offset, int32_t done, int32_t length) {
    manager_.ReadPageBytes(bytes + done, page_no, length, offset);
  });
}

void TVTRInternalDBDirectAccessFile::DirectWriteBuffer(const void* buffer, int32_t count, int32_t position) {
  CheckOpen("DirectWriteBuffer");
  const int32_t stored_size = GetSize();
  const auto past_end = [&] {
    return EVTRException::CreateFmt(20158,
                                    "Cannot write after end of file. FileSize=%d. Position=%d, Count=%d",
                                    stored_size, position, count);
  };
  if (position < 0 || int64_t{position} + count > stored_size) throw past_end();
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  const int32_t written =
      Transfer(count, position, [this, bytes](int32_t page_no, int32_t offset, int32_t done, int32_t length) {
        manager_.WritePageBytes(bytes + done, page_no, length, offset);
      });
  if (written < count) throw past_end();
}

bool TVTRInternalDBDirectAccessFile::LockFile() {
  CheckOpen("LockFile");
  return manager_.LockPageByte(start_page_, 0);
}

bool TVTRInternalDBDirectAccessFile::UnlockFile() {
  CheckOpen("UnlockFile");
  return manager_.UnlockPageByte(start_page_, 0);
}

bool TVTRInternalDBDirectAccessFile::LockByte(int32_t position) {
  CheckOpen("LockByte");
  const BytePlace place = PlaceOf(position);
  return manager_.LockPageByte(place.PageNo, place.PageOffset);
}

bool TVTRInternalDBDirectAccessFile::UnlockByte(int32_t position) {
  CheckOpen("UnlockByte");
  const BytePlace place = PlaceOf(position);
  return manager_.UnlockPageByte(place.PageNo, place.PageOffset);
}

bool TVTRInternalDBDirectAccessFile::IsByteLocked(int32_t position) {
  CheckOpen("IsByteLocked");
  const BytePlace place = PlaceOf(position);
  return manager_.IsPageByteLocked(place.PageNo, place.PageOffset);
}

bool TVTRInternalDBDirectAccessFile::IsRegionLocked(int32_t position, int32_t count) {
  CheckOpen("IsRegionLocked");
  if (count <= 0) return false;
  const BytePlace first = PlaceOf(position);
  const BytePlace last = PlaceOf(int64_t{position} + count - 1);
  if (first.PageIndex == last.PageIndex)
    return manager_.IsPageRegionLocked(first.PageNo, first.PageOffset, count);
  const int32_t page_size = manager_.PageSize();
  for (int32_t index = first.PageIndex; index <= last.PageIndex; ++index) {
    const int32_t from = index == first.PageIndex ? first.PageOffset : kPageHeaderSize;
    const int32_t to = index == last.PageIndex ? last.PageOffset + 1 : page_size;
    if (manager_.IsPageRegionLocked(page_list_[index], from, to - from)) return true;
  }
  return false;
}
