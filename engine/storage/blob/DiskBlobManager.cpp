#include "engine/storage/blob/DiskBlobManager.h"

#include <utility>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/blob/BlobPageSequence.h"
#include "engine/storage/blob/SmallBlobPage.h"

namespace {

[[noreturn]] void RaiseUnreadable() {
  throw EVTRException(20162, "Cannot read BLOB field value");
}

}  // namespace

TVTRRecordBlobWrite::TVTRRecordBlobWrite(TVTRRecordBlobWrite&& other) noexcept
    : manager_(other.manager_),
      session_id_(other.session_id_),
      record_(other.record_),
      changes_(std::move(other.changes_)) {
  other.changes_.clear();
}

void TVTRRecordBlobWrite::DeleteReplaced() {
  for (Change& change : changes_) {
    TVTRBlobReference old = change.Old;
    if (!old.HasStoredValue() || change.OldDeleted) continue;
    manager_->DeleteBlobValue(session_id_, old);
    change.OldDeleted = true;
  }
}

void TVTRRecordBlobWrite::Finish() noexcept {
  for (const Change& change : changes_) manager_->ReleaseBlob(record_, change.FieldNo, true);
  changes_.clear();
}

void TVTRRecordBlobWrite::Undo() noexcept {
  for (const Change& change : changes_) {
    TVTRBlobReference stored = change.New;
    if (!stored.HasStoredValue()) continue;
    try {
      manager_->DeleteBlobValue(session_id_, stored);
    } catch (...) {
      // The value's pages stay unreferenced until the session rolls back.
    }
  }
  RestoreReferences();
}

void TVTRRecordBlobWrite::RestoreReferences() noexcept {
  for (const Change& change : changes_) manager_->SetBlobRef(record_, change.FieldNo, change.Old);
  changes_.clear();
}

TVTRDiskBlobManager::TVTRDiskBlobManager(TVTRPageManager& page_manager, TVTRBaseFieldManager& field_manager,
                                         TVTRBaseRecordManager& record_manager)
    : BlobPageIndex(page_manager),
      page_manager_(page_manager),
      field_manager_(field_manager),
      record_manager_(record_manager) {}

void TVTRDiskBlobManager::CreateStorage() {
  BlobPageIndex.CreateTree(kSystemSessionID);
}

void TVTRDiskBlobManager::DropStorage(int32_t session_id) {
  if (field_manager_.HasBlobFields()) EmptyAll(session_id);
  BlobPageIndex.DropTree(session_id);
}

void TVTRDiskBlobManager::EmptyAll(int32_t session_id) {
  if (!field_manager_.HasBlobFields()) return;
  // Reading a stored record leaves the cache handles 0, so no cache entry is touched.
  std::vector<uint8_t> record(static_cast<size_t>(field_manager_.FieldDefs.GetRecordBufferSize()), 0);
  NavigationRequest request;
  request.Direction = fmNext;
  request.Bof = true;
  request.Buffer = record.data();
  for (;;) {
    request.Result = grError;
    record_manager_.GetRecord(session_id, request);
    if (request.Result != grOK) break;
    DeleteRecordBlobs(session_id, record.data());
  }
  BlobPageIndex.EmptyTree(session_id);
}

void TVTRDiskBlobManager::LoadMetadata(TStream& stream) {
  uint8_t image[kBlobManagerMetadataSize];
  stream.ReadBuffer(image, kBlobManagerMetadataSize);
  BlobPageIndex.SetRoot(LoadI32(image));
}

void TVTRDiskBlobManager::SaveMetadata(TStream& stream) const {
  uint8_t image[kBlobManagerMetadataSize];
  StoreI32(image, BlobPageIndex.Root());
  stream.WriteBuffer(image, kBlobManagerMetadataSize);
}

bool TVTRDiskBlobManager::IsBlobField(int32_t field_no) const {
  return IsBlobBaseType(field_manager_.FieldDefs.GetFieldDef(field_no).BaseType);
}

uint8_t* TVTRDiskBlobManager::FieldOf(uint8_t* record, int32_t field_no) const {
  VTR_ASSERT(IsBlobField(field_no));
  return record + field_manager_.FieldDefs.GetFieldDef(field_no).MemoryOffset;
}

const uint8_t* TVTRDiskBlobManager::FieldOf(const uint8_t* record, int32_t field_no) const {
  VTR_ASSERT(IsBlobField(field_no));
  return record + field_manager_.FieldDefs.GetFieldDef(field_no).MemoryOffset;
}

bool TVTRDiskBlobManager::IsNull(const uint8_t* record, int32_t field_no) const {
  return GetBufferBit(field_no, record);
}

TVTRBlobReference TVTRDiskBlobManager::GetBlobRef(const uint8_t* record, int32_t field_no,
                                                  CachedBlobValue*& cache) {
  const uint8_t* field = FieldOf(record, field_no);
  cache = cache_.Find(LoadBlobCacheHandle(field));
  return LoadBlobReference(field);
}

void TVTRDiskBlobManager::SetBlobRef(uint8_t* record, int32_t field_no,
                                     const TVTRBlobReference& reference) const {
  StoreBlobReference(FieldOf(record, field_no), reference);
}

CachedBlobValue& TVTRDiskBlobManager::NewCachedValue(uint8_t* record, int32_t field_no) {
  uint8_t* field = FieldOf(record, field_no);
  const uint32_t handle = cache_.Add();
  StoreBlobCacheHandle(field, handle);
  return *cache_.Find(handle);
}

void TVTRDiskBlobManager::ReleaseBlob(uint8_t* record, int32_t field_no, bool force) {
  if (record == nullptr) return;
  uint8_t* field = FieldOf(record, field_no);
  const uint32_t handle = LoadBlobCacheHandle(field);
  const CachedBlobValue* entry = cache_.Find(handle);
  if (entry == nullptr || (entry->Modified && !force)) return;
  cache_.Remove(handle);
  StoreBlobCacheHandle(field, 0);
}

void TVTRDiskBlobManager::SaveBlob(uint8_t* record, int32_t field_no, TVTRLocalBLOBStream& stream) {
  if (!stream.Modified()) return;
  ReleaseBlob(record, field_no, true);
  // Every block holds at least its header, so a value that fits memory has
  // fewer blocks than an i32 counts.
  const TVTRBLOBDescriptor descriptor = stream.Value().Descriptor();
  const bool empty = stream.Size() == 0;
  CachedBlobValue value;
  value.BlockCount = static_cast<int32_t>(descriptor.block_count);
  value.UncompressedSize = descriptor.uncompressed_size;
  value.Modified = true;
  TVTRTemporaryStream& stored = stream.Stored();
  if (stored.InMemory()) {
    // The stream is being closed: its block becomes the value as it is, and
    // the value's only copy is the one into its pages.
    value.DataSize = static_cast<int32_t>(stored.Size());
    value.Data.reset(static_cast<uint8_t*>(stored.TakeMemory()));
  } else if (uint8_t* data = value.Allocate(stored.Size()); value.DataSize > 0) {
    stored.SetPosition(0);
    stored.ReadBuffer(data, value.DataSize);
  }
  NewCachedValue(record, field_no) = std::move(value);
  SetBufferBit(empty, field_no, record);
}

void TVTRDiskBlobManager::LoadBlob(int32_t session_id, uint8_t* record, int32_t field_no) {
  CachedBlobValue* entry = nullptr;
  const TVTRBlobReference reference = GetBlobRef(record, field_no, entry);
  if (entry != nullptr || !reference.HasStoredValue()) return;
  CachedBlobValue value;
  ReadBlobValue(session_id, value, reference);
  NewCachedValue(record, field_no) = std::move(value);
}

void TVTRDiskBlobManager::ReadBlob(int32_t session_id, uint8_t* record, TStream& destination,
                                   TVTRBLOBDescriptor& descriptor, int32_t field_no) {
  if (IsNull(record, field_no)) {
    descriptor.block_count = 0;
    descriptor.uncompressed_size = 0;
    return;
  }
  LoadBlob(session_id, record, field_no);
  CachedBlobValue* entry = nullptr;
  GetBlobRef(record, field_no, entry);
  if (entry == nullptr) RaiseUnreadable();
  if (entry->DataSize > 0) destination.WriteBuffer(entry->Bytes(), entry->DataSize);
  descriptor.block_count = entry->BlockCount;
  descriptor.uncompressed_size = entry->UncompressedSize;
}

TVTRRecordBlobWrite TVTRDiskBlobManager::SaveRecordBlobs(int32_t session_id, uint8_t* record, bool update) {
  TVTRRecordBlobWrite write(*this, session_id, record);
  const int32_t field_count = field_manager_.FieldDefs.GetCount();
  try {
    for (int32_t field_no = 0; field_no < field_count; ++field_no) {
      if (!IsBlobField(field_no)) continue;
      CachedBlobValue* entry = nullptr;
      const TVTRBlobReference old = GetBlobRef(record, field_no, entry);
      const bool modified = entry != nullptr && entry->Modified;
      if (!modified && !(IsNull(record, field_no) && old.HasStoredValue())) continue;
      // Room for every change before the first value is stored, so none is stored unlisted.
      if (write.changes_.empty()) write.changes_.reserve(field_count);
      if (!modified) {
        // Set to null through its value: the stored record names the value
        // until the update stands. A new record never owns a value it did
        // not store, so an insert only drops the reference.
        write.changes_.push_back({field_no, old, kNoBlobValue, !update});
        SetBlobRef(record, field_no, kNoBlobValue);
        continue;
      }
      const TVTRBlobReference stored =
          entry->UncompressedSize > 0 ? StoreBlobValue(session_id, *entry) : kNoBlobValue;
      write.changes_.push_back({field_no, old, stored, false});
      SetBlobRef(record, field_no, stored);
    }
  } catch (...) {
    write.Undo();
    throw;
  }
  return write;
}

void TVTRDiskBlobManager::DeleteRecordBlobs(int32_t session_id, uint8_t* record) {
  const int32_t field_count = field_manager_.FieldDefs.GetCount();
  for (int32_t field_no = 0; field_no < field_count; ++field_no) {
    if (IsBlobField(field_no)) DeleteBlobField(session_id, record, field_no);
  }
}

void TVTRDiskBlobManager::DeleteBlobField(int32_t session_id, uint8_t* record, int32_t field_no) {
  // A null field may still name a value: one set to null through its value
  // by an update that left the value stored.
  CachedBlobValue* entry = nullptr;
  TVTRBlobReference reference = GetBlobRef(record, field_no, entry);
  if (reference.HasStoredValue()) {
    DeleteBlobValue(session_id, reference);
    SetBlobRef(record, field_no, reference);
  }
  if (entry != nullptr) entry->Modified = false;
}

TVTRBlobReference TVTRDiskBlobManager::StoreBlobValue(int32_t session_id, const CachedBlobValue& value) {
  if (FitsSharedPage(value.DataSize, page_manager_.PageDataSize())) return StoreShared(session_id, value);
  return {TVTRBlobPageSequence(page_manager_, session_id).Store(value), kSequenceBlobID};
}

TVTRBlobReference TVTRDiskBlobManager::StoreShared(int32_t session_id, const CachedBlobValue& value) {
  const int32_t amount = kBlobValueHeaderSize + value.DataSize;
  int32_t page_no = -1;
  const bool found = BlobPageIndex.FindPageWithRoom(session_id, amount, page_no);
  HeldPage page(found ? page_manager_.GetPage(session_id, page_no, ptTableBlob)
                      : page_manager_.AddPage(session_id, ptTableBlob));
  page_no = page->PageNo();
  TVTRSmallBlobPage shared(*page);
  try {
    const TVTRBlobReference reference = shared.AddBlob(value);
    try {
      BlobPageIndex.AddAmount(session_id, amount, page_no);
    } catch (...) {
      shared.DeleteBlob(reference);
      throw;
    }
    return reference;
  } catch (...) {
    if (!found) page_manager_.DeletePage(session_id, page_no);
    throw;
  }
}

template <typename Sequence, typename Shared>
void TVTRDiskBlobManager::ByKind(int32_t session_id, const TVTRBlobReference& reference, Sequence&& sequence,
                                 Shared&& shared) {
  if (reference.BlobID == kSequenceBlobID) return sequence();
  if (reference.BlobID != kUnknownBlobID) return shared();
  const bool large = IsLargeBlob(session_id, reference);
  try {
    large ? sequence() : shared();
  } catch (const Exception&) {
    large ? shared() : sequence();
  }
}

void TVTRDiskBlobManager::ReadBlobValue(int32_t session_id, CachedBlobValue& value,
                                        const TVTRBlobReference& reference) {
  ByKind(
      session_id, reference,
      [&] { TVTRBlobPageSequence(page_manager_, session_id).Read(reference.PageNo, value); },
      [&] { ReadShared(session_id, value, reference); });
}

void TVTRDiskBlobManager::ReadShared(int32_t session_id, CachedBlobValue& value,
                                     const TVTRBlobReference& reference) {
  HeldPage page(page_manager_.GetPage(session_id, reference.PageNo, ptTableBlob));
  if (!TVTRSmallBlobPage(*page).ReadBlob(value, reference)) RaiseUnreadable();
}

void TVTRDiskBlobManager::DeleteBlobValue(int32_t session_id, TVTRBlobReference& reference) {
  ByKind(
      session_id, reference,
      [&] { TVTRBlobPageSequence(page_manager_, session_id).Delete(reference.PageNo); },
      [&] { DeleteShared(session_id, reference); });
  reference = kNoBlobValue;
}

void TVTRDiskBlobManager::DeleteShared(int32_t session_id, const TVTRBlobReference& reference) {
  HeldPage page(page_manager_.GetPage(session_id, reference.PageNo, ptTableBlob));
  TVTRSmallBlobPage shared(*page);
  const int32_t freed = shared.DeleteBlob(reference);
  const bool emptied = shared.GetCount() == 0;
  page.Release();
  if (emptied) page_manager_.DeletePage(session_id, reference.PageNo);
  BlobPageIndex.SubtractAmount(session_id, freed, reference.PageNo);
}

bool TVTRDiskBlobManager::IsLargeBlob(int32_t session_id, const TVTRBlobReference& reference) {
  return TVTRBlobPageSequence(page_manager_, session_id).IsSequence(reference.PageNo);
}
