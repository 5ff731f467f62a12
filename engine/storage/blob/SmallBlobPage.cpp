#include "engine/storage/blob/SmallBlobPage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"

namespace {

constexpr int32_t kFirstEntryAt = kSmallBlobPageCountSize;

[[noreturn]] void RaiseNotFound() {
  throw EVTRException(20171, "Cannot find blob field");
}

[[noreturn]] void RaisePageFull() {
  throw EVTRException(20173, "Cannot add blob. Page is full");
}

int32_t EntrySize(const BlobValueHeader& header) {
  return kBlobValueHeaderSize + static_cast<int32_t>(header.StoredSize);
}

}  // namespace

uint16_t TVTRSmallBlobPage::GetCount() const {
  return LoadU16(page_.Data());
}

void TVTRSmallBlobPage::SetCount(uint16_t count) {
  StoreU16(page_.Data(), count);
  page_.SetDirty(true);
}

bool TVTRSmallBlobPage::EntryAt(int32_t position, Entry& entry) const {
  const int32_t data_size = page_.DataSize();
  if (position < kFirstEntryAt || position > data_size - kBlobValueHeaderSize) return false;
  entry.Position = position;
  entry.Header = DecodeBlobValueHeader(
      std::span<const uint8_t, kBlobValueHeaderSize>(page_.Data() + position, kBlobValueHeaderSize));
  return entry.Header.StoredSize >= 0 &&
         entry.Header.StoredSize <= data_size - position - kBlobValueHeaderSize;
}

int32_t TVTRSmallBlobPage::GetEntry(int32_t index) const {
  if (index < 0 || index >= GetCount()) RaiseNotFound();
  int32_t position = kFirstEntryAt;
  Entry entry;
  for (int32_t i = 0; i < index; ++i) {
    if (!EntryAt(position, entry)) RaiseNotFound();
    position += EntrySize(entry.Header);
  }
  return position;
}

bool TVTRSmallBlobPage::FindEntry(uint16_t id, Entry& entry) const {
  const uint16_t count = GetCount();
  int32_t position = kFirstEntryAt;
  for (uint16_t i = 0; i < count; ++i) {
    if (!EntryAt(position, entry)) return false;
    if (entry.Header.BlobID == id) return true;
    position += EntrySize(entry.Header);
  }
  return false;
}

int32_t TVTRSmallBlobPage::EndOfEntries() const {
  const uint16_t count = GetCount();
  int32_t position = kFirstEntryAt;
  Entry entry;
  for (uint16_t i = 0; i < count; ++i) {
    if (!EntryAt(position, entry)) return -1;
    position += EntrySize(entry.Header);
  }
  return position;
}

uint16_t TVTRSmallBlobPage::NewBlobID() const {
  const uint16_t count = GetCount();
  if (count > kMaxSharedBlobID) throw EVTRException(20172, "Invalid blob field ID");
  std::vector<uint16_t> taken;
  taken.reserve(count);
  int32_t position = kFirstEntryAt;
  Entry entry;
  for (uint16_t i = 0; i < count && EntryAt(position, entry); ++i) {
    taken.push_back(entry.Header.BlobID);
    position += EntrySize(entry.Header);
  }
  std::sort(taken.begin(), taken.end());
  // Fewer ids are taken than there are candidates, so the search ends.
  uint16_t candidate = count;
  while (std::binary_search(taken.begin(), taken.end(), candidate)) {
    candidate = candidate == kMaxSharedBlobID ? 0 : static_cast<uint16_t>(candidate + 1);
  }
  return candidate;
}

TVTRBlobReference TVTRSmallBlobPage::AddBlob(const CachedBlobValue& value) {
  const int32_t position = EndOfEntries();
  if (position < 0 || int64_t{position} + kBlobValueHeaderSize + value.DataSize > page_.DataSize())
    RaisePageFull();
  const BlobValueHeader header{NewBlobID(), value.BlockCount, value.DataSize, value.UncompressedSize};
  uint8_t* at = page_.Data() + position;
  EncodeBlobValueHeader(header, std::span<uint8_t, kBlobValueHeaderSize>(at, kBlobValueHeaderSize));
  if (value.DataSize > 0) std::memcpy(at + kBlobValueHeaderSize, value.Bytes(), value.DataSize);
  SetCount(static_cast<uint16_t>(GetCount() + 1));
  return {page_.PageNo(), static_cast<int16_t>(header.BlobID)};
}

int32_t TVTRSmallBlobPage::DeleteBlob(const TVTRBlobReference& reference) {
  Entry entry;
  if (!FindEntry(static_cast<uint16_t>(reference.BlobID), entry)) RaiseNotFound();
  const int32_t freed = EntrySize(entry.Header);
  uint8_t* at = page_.Data() + entry.Position;
  std::memmove(at, at + freed, page_.DataSize() - entry.Position - freed);
  SetCount(static_cast<uint16_t>(GetCount() - 1));
  return freed;
}

bool TVTRSmallBlobPage::ReadBlob(CachedBlobValue& value, const TVTRBlobReference& reference) const {
  Entry entry;
  if (!FindEntry(static_cast<uint16_t>(reference.BlobID), entry)) return false;
  uint8_t* data = value.Allocate(entry.Header.StoredSize);
  if (value.DataSize > 0)
    std::memcpy(data, page_.Data() + entry.Position + kBlobValueHeaderSize, value.DataSize);
  value.BlockCount = entry.Header.BlockCount;
  value.UncompressedSize = entry.Header.UncompressedSize;
  value.Modified = false;
  return true;
}
