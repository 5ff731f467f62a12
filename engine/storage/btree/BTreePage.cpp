#include "engine/storage/btree/BTreePage.h"

#include <cassert>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/ByteOrder.h"
#include "engine/storage/PageHeader.h"
#include "engine/storage/btree/KeyPath.h"

namespace {

constexpr int32_t kRootOffset = 0;
constexpr int32_t kLeafOffset = 1;
constexpr int32_t kPrevOffset = 2;
constexpr int32_t kNextOffset = 6;
constexpr int32_t kTreeMarkOffset = 10;
constexpr int32_t kRecordIDFlagOffset = 11;
constexpr int32_t kKeyLengthOffset = 12;
constexpr int32_t kCountOffset = 14;
constexpr int32_t kExtraOffset = 16;

[[noreturn]] void RaiseDamaged(int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(20028, "Index integrity violated. PageNo=%d EntryNo=%d", page_no, entry_no);
}

}  // namespace

void EncodeBTreePageHeader(const TVTRBTreePageHeader& header, uint8_t* data) {
  data[kRootOffset] = header.Root ? 1 : 0;
  data[kLeafOffset] = header.Leaf ? 1 : 0;
  StoreI32(data + kPrevOffset, header.PrevPage);
  StoreI32(data + kNextOffset, header.NextPage);
  data[kTreeMarkOffset] = header.TreeMark;
  data[kRecordIDFlagOffset] = header.RecordIDFlag;
  StoreU16(data + kKeyLengthOffset, header.KeyLength);
  StoreU16(data + kCountOffset, header.Count);
  StoreI16(data + kExtraOffset, header.ExtraSize);
}

TVTRBTreePageHeader DecodeBTreePageHeader(const uint8_t* data) {
  TVTRBTreePageHeader header;
  header.Root = data[kRootOffset] != 0;
  header.Leaf = data[kLeafOffset] != 0;
  header.PrevPage = LoadI32(data + kPrevOffset);
  header.NextPage = LoadI32(data + kNextOffset);
  header.TreeMark = data[kTreeMarkOffset];
  header.RecordIDFlag = data[kRecordIDFlagOffset];
  header.KeyLength = LoadU16(data + kKeyLengthOffset);
  header.Count = LoadU16(data + kCountOffset);
  header.ExtraSize = LoadI16(data + kExtraOffset);
  return header;
}

TVTRBTreePage::TVTRBTreePage(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t depth)
    : manager_(manager), key_ref_(key_ref), depth_(depth), leaf_(*this), node_(*this) {}

TVTRBTreePage::~TVTRBTreePage() = default;

void TVTRBTreePage::Attach(TVTRPage* page) {
  held_ = HeldPage(page);
  SetPage(page);
}

void TVTRBTreePage::NewPage(int32_t session_id) {
  Attach(manager_.AddPage(session_id, ptTableIndex));
  ClearHeader();
}

void TVTRBTreePage::GetPage(int32_t session_id, int32_t page_no) {
  if (depth_ >= kMaxKeyPathLevels) {
    throw EVTRException::CreateFmt(20032, "Index integrity violated. Circular links. PageNo=%d EntryNo=%d",
                                   page_no, 0);
  }
  if (page_no < 0) RaiseDamaged(page_no, 0);
  Attach(manager_.GetPage(session_id, page_no, ptTableIndex));
  CheckLayout();
}

void TVTRBTreePage::ReleasePage() {
  SetPage(nullptr);
  held_.Release();
}

void TVTRBTreePage::CheckLayout() const {
  const TVTRBTreePageHeader header = DecodeBTreePageHeader(Data());
  const int64_t entries_end =
      int64_t{kBTreePageHeaderSize} + header.ExtraSize + int64_t{header.Count} * EntrySize();
  if (header.KeyLength != key_ref_.KeyLength || header.RecordIDFlag > 1 || header.ExtraSize < 0 ||
      entries_end > DataSize() || (!header.Leaf && header.Count == 0)) {
    RaiseDamaged(PageNo(), header.Count);
  }
}

void TVTRBTreePage::ClearHeader() {
  EncodeBTreePageHeader(TVTRBTreePageHeader{}, Data());
}

void TVTRBTreePage::InitRootLeaf() {
  TVTRBTreePageHeader header;
  header.Root = true;
  header.Leaf = true;
  header.TreeMark = 1;
  header.KeyLength = static_cast<uint16_t>(key_ref_.KeyLength);
  EncodeBTreePageHeader(header, Data());
}

int32_t TVTRBTreePage::PrevPage() const {
  return LoadI32(Data() + kPrevOffset);
}

void TVTRBTreePage::SetPrevPage(int32_t page_no) {
  StoreI32(Data() + kPrevOffset, page_no);
}

int32_t TVTRBTreePage::NextPage() const {
  return LoadI32(Data() + kNextOffset);
}

void TVTRBTreePage::SetNextPage(int32_t page_no) {
  StoreI32(Data() + kNextOffset, page_no);
}

int32_t TVTRBTreePage::KeyLength() const {
  return LoadU16(Data() + kKeyLengthOffset);
}

int32_t TVTRBTreePage::Count() const {
  return LoadU16(Data() + kCountOffset);
}

void TVTRBTreePage::SetCount(int32_t count) {
  StoreU16(Data() + kCountOffset, static_cast<uint16_t>(count));
}

int32_t TVTRBTreePage::ExtraSize() const {
  return LoadI16(Data() + kExtraOffset);
}

void TVTRBTreePage::SetEntryKey(int32_t i, const uint8_t* key) {
  std::memcpy(EntryKey(i), key, static_cast<size_t>(KeyLength()));
}

void TVTRBTreePage::SetEntryValue(int32_t i, const uint8_t* value) {
  std::memcpy(EntryValue(i), value, static_cast<size_t>(ValueSize()));
}

int32_t TVTRBTreePage::ChildPage(int32_t i) const {
  return LoadI32(EntryValue(i));
}

void TVTRBTreePage::CopyEntries(const TVTRBTreePage& source, int32_t start, int32_t n) {
  std::memcpy(Data(), source.Data(), static_cast<size_t>(source.HeaderSize()));
  assert(HeaderSize() + n * EntrySize() <= DataSize());
  std::memcpy(Entry(0), source.Entry(start), static_cast<size_t>(n * EntrySize()));
  SetCount(n);
}

void TVTRBTreePage::AppendEntries(const TVTRBTreePage& source, int32_t start, int32_t n) {
  const int32_t count = Count();
  assert(HeaderSize() + (count + n) * EntrySize() <= DataSize());
  std::memcpy(Entry(count), source.Entry(start), static_cast<size_t>(n * EntrySize()));
  SetCount(count + n);
}

void TVTRBTreePage::PrependEntries(const TVTRBTreePage& source, int32_t start, int32_t n) {
  const int32_t count = Count();
  assert(HeaderSize() + (count + n) * EntrySize() <= DataSize());
  std::memmove(Entry(n), Entry(0), static_cast<size_t>(count * EntrySize()));
  std::memcpy(Entry(0), source.Entry(start), static_cast<size_t>(n * EntrySize()));
  SetCount(count + n);
}

void TVTRBTreePage::InsertChild(int32_t session_id, const uint8_t* key, TVTRKeyPath& path,
                                int32_t child_page_no) {
  if (Leaf()) throw EVTRException(20020, "Internal index error");
  node_.InsertChild(session_id, key, path, child_page_no);
}

void TVTRBTreePage::RemoveChild(int32_t session_id, TVTRKeyPath& path, bool merged_into_prior,
                                int32_t receiver_page_no) {
  if (Leaf()) throw EVTRException(20024, "Internal index error");
  node_.RemoveChild(session_id, path, merged_into_prior, receiver_page_no);
}
