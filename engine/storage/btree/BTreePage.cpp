#include "engine/storage/btree/BTreePage.h"

#include <cstring>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/btree/KeyPath.h"

namespace {

[[noreturn]] void RaiseDamaged(int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(20028, "Index integrity violated. PageNo=%d EntryNo=%d", page_no, entry_no);
}

}  // namespace

void RaiseBrokenLink(int32_t native_error, int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(
      native_error, "Index integrity violated. Invlaid leaf link. PageNo=%d EntryNo=%d", page_no, entry_no);
}

void RaiseCircularLinks(int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(20032, "Index integrity violated. Circular links. PageNo=%d EntryNo=%d",
                                 page_no, entry_no);
}

void EncodeBTreePageHeader(const TVTRBTreePageHeader& header, uint8_t* data) {
  using namespace btree_field;
  data[kRoot] = header.Root ? 1 : 0;
  data[kLeaf] = header.Leaf ? 1 : 0;
  StoreI32(data + kPrev, header.PrevPage);
  StoreI32(data + kNext, header.NextPage);
  data[kTreeMark] = header.TreeMark;
  data[kRecordIDFlag] = header.RecordIDFlag;
  StoreU16(data + kKeyLength, header.KeyLength);
  StoreU16(data + kCount, header.Count);
  StoreI16(data + kExtra, header.ExtraSize);
}

TVTRBTreePageHeader DecodeBTreePageHeader(const uint8_t* data) {
  using namespace btree_field;
  TVTRBTreePageHeader header;
  header.Root = data[kRoot] != 0;
  header.Leaf = data[kLeaf] != 0;
  header.PrevPage = LoadI32(data + kPrev);
  header.NextPage = LoadI32(data + kNext);
  header.TreeMark = data[kTreeMark];
  header.RecordIDFlag = data[kRecordIDFlag];
  header.KeyLength = LoadU16(data + kKeyLength);
  header.Count = LoadU16(data + kCount);
  header.ExtraSize = LoadI16(data + kExtra);
  return header;
}

TVTRBTreePage::TVTRBTreePage(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t depth,
                             TVTRPageVisits* visits)
    : manager_(manager), key_ref_(key_ref), depth_(depth), visits_(visits), leaf_(*this), node_(*this) {}

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
  if (depth_ >= kMaxKeyPathLevels) RaiseCircularLinks(page_no, 0);
  if (page_no < 0) RaiseDamaged(page_no, 0);
  Attach(manager_.GetPage(session_id, page_no, ptTableIndex));
  CheckLayout();
}

void TVTRBTreePage::StepToLeaf(int32_t session_id, int32_t page_no, LinkCycleGuard& walk) {
  if (walk.Returns(page_no)) RaiseCircularLinks(page_no, 0);
  GetPage(session_id, page_no);
  if (!Leaf()) RaiseDamaged(page_no, 0);
}

void TVTRBTreePage::ReleasePage() {
  SetPage(nullptr);
  held_.Release();
}

void TVTRBTreePage::CheckLayout() const {
  const TVTRBTreePageHeader header = DecodeBTreePageHeader(Data());
  const int32_t value_size = header.Leaf ? key_ref_.ValueSize : kNodeValueSize;
  const int64_t entry_size =
      header.KeyLength + value_size + (header.RecordIDFlag == 1 ? kEntryRecordIDSize : 0);
  const int64_t entries_end = int64_t{kBTreePageHeaderSize} + header.ExtraSize + header.Count * entry_size;
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

void TVTRBTreePage::CopyEntries(const TVTRBTreePage& source, int32_t start, int32_t n) {
  std::memcpy(Data(), source.Data(), static_cast<size_t>(source.HeaderSize()));
  VTR_ASSERT(HeaderSize() + n * EntrySize() <= DataSize());
  std::memcpy(Entry(0), source.Entry(start), static_cast<size_t>(n * EntrySize()));
  SetCount(n);
}

void TVTRBTreePage::AppendEntries(const TVTRBTreePage& source, int32_t start, int32_t n) {
  const int32_t count = Count();
  VTR_ASSERT(HeaderSize() + (count + n) * EntrySize() <= DataSize());
  std::memcpy(Entry(count), source.Entry(start), static_cast<size_t>(n * EntrySize()));
  SetCount(count + n);
}

void TVTRBTreePage::PrependEntries(const TVTRBTreePage& source, int32_t start, int32_t n) {
  const int32_t count = Count();
  VTR_ASSERT(HeaderSize() + (count + n) * EntrySize() <= DataSize());
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
