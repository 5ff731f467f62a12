// The record index's life (create, open, drop, empty, rebuild) and its key
// upkeep and key tests.
#include "engine/storage/index/RecordIndex.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/RecordIndexSupport.h"

namespace {

// A node must take two entries for splits to end, and so must a leaf.
constexpr int32_t kMinEntriesPerPage = 2;

}  // namespace

TVTRBTreeRecordIndex::TVTRBTreeRecordIndex(TVTRBaseIndexManager& manager) : TVTRIndex(manager) {}

TVTRIndexTable& TVTRBTreeRecordIndex::Table() {
  return Manager.TableData;
}

TVTRPageManager& TVTRBTreeRecordIndex::Pages() {
  return Manager.GetIndexPageManager(*this);
}

void TVTRBTreeRecordIndex::CheckRoot(int32_t native_error) const {
  if (Def.RootPage == -1) throw EVTRException(native_error, "Invalid page number");
}

void TVTRBTreeRecordIndex::MakeKeyRef() {
  auto key_ref = std::make_unique<TVTRRecordKeyRef>(&Table());
  key_ref->Init(Def, Table().GetFieldDefs());
  const int32_t largest_entry = key_ref->KeyLength + std::max<int32_t>(kRecordIDValueSize, kNodeValueSize);
  if (key_ref->KeyLength > UINT16_MAX ||
      kMinEntriesPerPage * largest_entry + kBTreePageHeaderSize > Pages().PageDataSize()) {
    throw EVTRException(
        20026,
        "Cannot create index. Key is too large to fit in current database page. Please increase "
        "page size of database file or decrease key size");
  }
  key_ref_ = std::move(key_ref);
  checked_key_.clear();
}

void TVTRBTreeRecordIndex::CreateIndex(TVTRCursor* cursor, TVTRIndexDef& def) {
  TVTRIndex::CreateIndex(cursor, def);
  MakeKeyRef();
  {
    TVTRBTreePage root(Pages(), *key_ref_);
    root.NewPage(SessionOf(cursor));
    root.InitRootLeaf();
    root.SetDirty();
    def.RootPage = Def.RootPage = root.PageNo();
  }
  if (cursor != nullptr) Table().ScanRecords(*cursor, [this](TVTRCursor& reader) { InsertKey(reader); });
}

void TVTRBTreeRecordIndex::OpenIndex(const TVTRIndexDef& def) {
  TVTRIndex::OpenIndex(def);
  MakeKeyRef();
}

void TVTRBTreeRecordIndex::DropIndex(int32_t session_id) {
  CheckRoot(20119);
  WithRoot(session_id, [&](TVTRBTreePage& root) { root.FreePages(session_id, false); });
}

void TVTRBTreeRecordIndex::EmptyIndex(int32_t session_id) {
  CheckRoot(20120);
  WithRoot(session_id, [&](TVTRBTreePage& root) {
    root.FreePages(session_id, true);
    root.InitRootLeaf();
    root.SetDirty();
  });
}

void TVTRBTreeRecordIndex::RebuildIndex(TVTRCursor& cursor) {
  DropIndex(SessionOf(&cursor));
  CreateIndex(&cursor, Def);
}

void TVTRBTreeRecordIndex::CheckIntegrity(int32_t session_id) {
  TVTRKeyPath path;
  WithRoot(session_id, [&](TVTRBTreePage& root) { root.CheckIntegrity(session_id, path); });
}

bool TVTRBTreeRecordIndex::IsKeyFree(int32_t session_id, const uint8_t* record) {
  CheckRoot(20126);
  if (!Def.Unique && !Def.Primary) return true;
  BuiltKey key(*key_ref_, record);
  return ProbeFreeKey(session_id, key.Get());
}

bool TVTRBTreeRecordIndex::ProbeFreeKey(int32_t session_id, uint8_t* key) {
  checked_key_.clear();
  return WithRoot(session_id, [&](TVTRBTreePage& root) {
    switch (ProbeKey(root, session_id, key, checked_place_)) {
      case TVTRKeyProbe::kAbsent:
        checked_key_.assign(key, key + key_ref_->KeyLength);
        return true;
      case TVTRKeyProbe::kPresent:
        return false;
      case TVTRKeyProbe::kUndecided:
        break;
    }
    TVTRKeyPath path;
    return !root.FindKey(session_id, true, path, scEqual, key);
  });
}

bool TVTRBTreeRecordIndex::InsertAtCheckedPlace(int32_t session_id, uint8_t* key, const uint8_t* record_id) {
  if (checked_key_.empty()) return false;
  const bool same_key = std::equal(checked_key_.begin(), checked_key_.end(), key);
  checked_key_.clear();
  return same_key && WithRoot(session_id, [&](TVTRBTreePage& root) {
           return InsertAtPlace(root, session_id, key, record_id, checked_place_);
         });
}

bool TVTRBTreeRecordIndex::IsKeyFreeForUpdate(int32_t session_id, const uint8_t* old_record,
                                              const uint8_t* new_record) {
  if (CompareRecordKeys(old_record, new_record, key_ref_->ColumnCount()) == 0) return true;
  return IsKeyFree(session_id, new_record);
}

int TVTRBTreeRecordIndex::CompareRecordKeys(const uint8_t* record1, const uint8_t* record2,
                                            int32_t column_count) {
  VTRBufferPtr full1 = key_ref_->AllocFullKey(), full2 = key_ref_->AllocFullKey();
  key_ref_->BuildFullKey(record1, full1.get());
  key_ref_->BuildFullKey(record2, full2.get());
  ComparedColumnsScope compared(*key_ref_, column_count);
  return key_ref_->CompareFullKeys(full1.get(), full2.get());
}

void TVTRBTreeRecordIndex::InsertKey(TVTRCursor& cursor) {
  CheckRoot(20127);
  const int32_t session_id = SessionOf(&cursor);
  BuiltKey key(*key_ref_, cursor.CurrentRecord, cursor.CurrentRecordID);
  uint8_t value[kRecordIDSize];
  StoreRecordID(value, cursor.CurrentRecordID);
  if (InsertAtCheckedPlace(session_id, key.Get(), value)) return;
  TVTRKeyPath path;
  WithRoot(session_id, [&](TVTRBTreePage& root) { root.Insert(session_id, key.Get(), path, value); });
}

void TVTRBTreeRecordIndex::DeleteKey(TVTRCursor& cursor) {
  const int32_t session_id = SessionOf(&cursor);
  BuiltKey key(*key_ref_, cursor.CurrentRecord, cursor.CurrentRecordID);
  uint8_t value[kRecordIDSize];
  StoreRecordID(value, cursor.CurrentRecordID);
  TVTRKeyPath path;
  if (!WithRoot(session_id,
                [&](TVTRBTreePage& root) { return root.Delete(session_id, key.Get(), path, value); })) {
    throw EVTRException(20027, "Index error: cannot delete entry. Entry not found");
  }
}

void TVTRBTreeRecordIndex::UpdateKey(TVTRCursor& cursor) {
  if (CompareRecordKeys(cursor.OldRecord, cursor.CurrentRecord, key_ref_->ColumnCount()) == 0) return;
  const int32_t session_id = SessionOf(&cursor);
  uint8_t value[kRecordIDSize];
  StoreRecordID(value, cursor.CurrentRecordID);
  TVTRKeyPath path;
  {
    BuiltKey old_key(*key_ref_, cursor.OldRecord, cursor.CurrentRecordID);
    if (!WithRoot(session_id,
                  [&](TVTRBTreePage& root) { return root.Delete(session_id, old_key.Get(), path, value); })) {
      throw EVTRException(20250, "Index error: cannot delete entry. Entry not found");
    }
  }
  path.Clear();
  BuiltKey new_key(*key_ref_, cursor.CurrentRecord, cursor.CurrentRecordID);
  WithRoot(session_id, [&](TVTRBTreePage& root) { root.Insert(session_id, new_key.Get(), path, value); });
}

int32_t TVTRBTreeRecordIndex::GetFanOut() {
  return Pages().PageDataSize() / (key_ref_->KeyLength + kNodeValueSize);
}

int32_t TVTRBTreeRecordIndex::GetEntrySize() {
  return key_ref_->KeyLength + key_ref_->ValueSize;
}
