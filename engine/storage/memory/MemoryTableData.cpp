#include "engine/storage/memory/MemoryTableData.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "engine/foundation/stream/VTRStreamMessages.h"
#include "engine/foundation/stream/VTRTemporaryStream.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/blob/LocalBlobStream.h"
#include "engine/storage/fields/FieldManager.h"

namespace {

[[noreturn]] void RaiseNilPointer(int32_t native_error) {
  throw EVTRException(native_error, "Nil pointer occured");
}

}  // namespace

TVTRMemoryTableData::TVTRMemoryTableData(TVTRDatabaseData& database)
    : TVTRProcessTableData(database, std::make_unique<TVTRMemoryPageManager>()) {
  KeepInMemory = true;
}

void TVTRMemoryTableData::CreateRecordManager() {
  RecordManager =
      std::make_unique<TVTRMemoryRecordManager>(GetRecordBufferSize(), TVTRMemoryRecordManager::kGrowthStep);
  blob_fields_ = BlobFieldNumbers();
}

int64_t TVTRMemoryTableData::GetPositionCount() {
  return RecordManager ? MemoryRecords().PositionCount() : 0;
}

TVTRRecordID TVTRMemoryTableData::PositionToRecordID(int64_t position) {
  return {static_cast<int32_t>(position), 0};
}

void TVTRMemoryTableData::SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) {
  TVTRDatabaseDataGuard guard(Database);
  if (!RecordManager) RaiseNilPointer(10074);
  const int32_t slot = MemoryRecords().SlotOfRecordNo(rec_no);
  if (slot >= 0) cursor.CurrentRecordID = {slot, 0};
}

int64_t TVTRMemoryTableData::GetNaturalRecNo(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(Database);
  if (!RecordManager) RaiseNilPointer(10033);
  return MemoryRecords().RecordNoOfSlot(cursor.CurrentRecordID.PageNo);
}

int64_t TVTRMemoryTableData::GetTableRecordCount(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(Database);
  if (!RecordManager) RaiseNilPointer(10009);
  return RecordManager->RecordCount;
}

int64_t TVTRMemoryTableData::GetLastAutoincValue(int32_t session_id, int32_t field_no) {
  TVTRDatabaseDataGuard guard(Database);
  const std::vector<int64_t>& counters = FieldManager->AutoincValues;
  if (field_no < 0 || field_no >= static_cast<int32_t>(counters.size()))
    throw EVTRException::CreateFmt(30402, "Field #%d not found", field_no);
  return counters[static_cast<size_t>(field_no)];
}

void TVTRMemoryTableData::EmptyStorage() {
  blobs_.Clear();
  adopted_blobs_.clear();
  if (RecordManager) RecordManager->EmptyTable(kSystemSessionID);
}

void TVTRMemoryTableData::CommitSession(int32_t session_id) {
  TVTRProcessTableData::CommitSession(session_id);
  if (!RecordManager) return;
  TVTRMemoryRecordManager::ReplacedRecordVisitor release;
  if (!blob_fields_.empty())
    release = [this](int32_t slot, const uint8_t* image) { ReleaseReplaced(slot, image); };
  MemoryRecords().CommitChanges(session_id, release);
  const auto adopted = adopted_blobs_.find(session_id);
  if (adopted != adopted_blobs_.end()) adopted->second.clear();
  adopted_at_mark_.erase(session_id);
}

void TVTRMemoryTableData::AfterRollback(int32_t session_id) {
  TVTRProcessTableData::AfterRollback(session_id);
  adopted_at_mark_.erase(session_id);
  if (!RecordManager) return;
  MemoryRecords().RollbackChanges(session_id);
  DisownAdoptedBlobs(session_id, 0);
}

void TVTRMemoryTableData::MarkSession(int32_t session_id) {
  TVTRProcessTableData::MarkSession(session_id);
  if (!RecordManager) return;
  MemoryRecords().MarkChanges(session_id);
  const auto adopted = adopted_blobs_.find(session_id);
  adopted_at_mark_[session_id] = adopted == adopted_blobs_.end() ? 0 : adopted->second.size();
}

void TVTRMemoryTableData::RollbackToMark(int32_t session_id) {
  TVTRProcessTableData::RollbackToMark(session_id);
  const auto mark = adopted_at_mark_.find(session_id);
  if (!RecordManager || mark == adopted_at_mark_.end()) return;
  MemoryRecords().RollbackToMark(session_id);
  DisownAdoptedBlobs(session_id, mark->second);
  adopted_at_mark_.erase(mark);
}

void TVTRMemoryTableData::DisownAdoptedBlobs(int32_t session_id, size_t kept) {
  // Values written with a record that is gone again belong to no record; the
  // cursor that saved them may still hold them.
  const auto adopted = adopted_blobs_.find(session_id);
  if (adopted == adopted_blobs_.end() || adopted->second.size() <= kept) return;
  for (size_t i = kept; i < adopted->second.size(); ++i)
    if (TVTRMemoryBlobBlock* block = blobs_.Find(adopted->second[i])) block->OwnerSlot = -1;
  adopted->second.resize(kept);
}

uint8_t* TVTRMemoryTableData::BlobField(uint8_t* record, int32_t field_no) const {
  return record + FieldManager->FieldDefs.GetFieldDef(field_no).MemoryOffset;
}

TVTRMemoryBlobBlock& TVTRMemoryTableData::BlockOf(uint8_t* record, int32_t field_no) {
  TVTRMemoryBlobBlock* block = blobs_.Find(LoadBlobHandle(BlobField(record, field_no)));
  if (block == nullptr) RaiseNilPointer(10112);
  return *block;
}

void TVTRMemoryTableData::ReleaseReplaced(int32_t slot, const uint8_t* image) {
  uint8_t* live = MemoryRecords().LiveRecord(slot);
  const auto still_held = [&](uint32_t handle) {
    return live != nullptr && std::ranges::any_of(blob_fields_, [&](int32_t field_no) {
             return !GetBufferBit(field_no, live) && LoadBlobHandle(BlobField(live, field_no)) == handle;
           });
  };
  for (const int32_t field_no : blob_fields_) {
    if (GetBufferBit(field_no, image)) continue;
    const uint32_t handle = LoadBlobHandle(BlobField(const_cast<uint8_t*>(image), field_no));
    const TVTRMemoryBlobBlock* block = blobs_.Find(handle);
    if (block != nullptr && block->OwnerSlot == slot && !still_held(handle)) blobs_.Remove(handle);
  }
}

void TVTRMemoryTableData::SaveRecordBlobs(TVTRCursor& cursor) {
  // The values an update keeps are the record's own; an insert owns none yet.
  const int32_t target =
      write_operation_ == TVTRRecordOperation::kUpdate ? cursor.CurrentRecordID.PageNo : -1;
  for (const int32_t field_no : blob_fields_) {
    uint8_t* record = cursor.CurrentRecord;
    if (GetBufferBit(field_no, record)) continue;
    const TVTRMemoryBlobBlock& block = BlockOf(record, field_no);
    if (block.OwnerSlot < 0 || block.OwnerSlot == target) continue;
    TVTRMemoryBlobBlock copy{block.BlockCount, block.UncompressedSize, block.Data, -1};
    StoreBlobHandle(BlobField(record, field_no), blobs_.Add(std::move(copy)));
  }
}

void TVTRMemoryTableData::AfterRecordWrite(TVTRCursor& cursor) {
  const int32_t slot = cursor.CurrentRecordID.PageNo;
  uint8_t* stored = MemoryRecords().LiveRecord(slot);
  if (stored == nullptr || blob_fields_.empty()) return;
  std::vector<uint32_t>& adopted = adopted_blobs_[SessionOf(&cursor)];
  for (const int32_t field_no : blob_fields_) {
    if (GetBufferBit(field_no, stored)) continue;
    TVTRMemoryBlobBlock& block = BlockOf(stored, field_no);
    if (block.OwnerSlot >= 0) continue;
    adopted.push_back(LoadBlobHandle(BlobField(stored, field_no)));
    block.OwnerSlot = slot;
  }
}

void TVTRMemoryTableData::SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) {
  TVTRDatabaseDataGuard guard(Database);
  if (!blob.Modified()) return;
  uint8_t* record = cursor.CurrentRecord;
  ReleaseBlob(record, field_no);
  if (blob.Size() == 0) return;
  VTR_ASSERT(dynamic_cast<TVTRLocalBLOBStream*>(&blob) != nullptr);
  auto& local = static_cast<TVTRLocalBLOBStream&>(blob);
  TVTRStream& stored = local.Stored();
  const int64_t size = stored.Size();
  if (size > INT32_MAX) throw EVTRException::CreateFmt(10117, kReadFailedFormat, 0, size, size, 0);
  TVTRMemoryBlobBlock block;
  block.Data.resize(static_cast<size_t>(size));
  stored.SetPosition(0);
  ReadStreamChecked(block.Data.data(), static_cast<int32_t>(size), stored, 10117);
  const TVTRBLOBDescriptor descriptor = local.Value().Descriptor();
  block.BlockCount = static_cast<int32_t>(descriptor.block_count);
  block.UncompressedSize = descriptor.uncompressed_size;
  StoreBlobHandle(BlobField(record, field_no), blobs_.Add(std::move(block)));
  SetBufferBit(false, field_no, record);
}

void TVTRMemoryTableData::ReleaseBlob(uint8_t* record, int32_t field_no) {
  TVTRDatabaseDataGuard guard(Database);
  if (blob_fields_.empty() || GetBufferBit(field_no, record)) return;
  uint8_t* field = BlobField(record, field_no);
  const uint32_t handle = LoadBlobHandle(field);
  if (handle == 0) RaiseNilPointer(10118);
  const TVTRMemoryBlobBlock* block = blobs_.Find(handle);
  if (block != nullptr && block->OwnerSlot < 0) blobs_.Remove(handle);
  StoreBlobHandle(field, 0);
  SetBufferBit(true, field_no, record);
}

std::unique_ptr<TVTRStream> TVTRMemoryTableData::OpenBlob(TVTRCursor& cursor, bool, int32_t field_no,
                                                          TVTRBlobOpenMode mode) {
  TVTRDatabaseDataGuard guard(Database);
  const TVTRFieldDef& field = FieldManager->FieldDefs.GetFieldDef(field_no);
  if (field.BlobBlockSize == 0) throw EVTRException(10420, kBlockSizeZeroMessage);
  TVTRBLOBDescriptor descriptor;
  descriptor.block_size = field.BlobBlockSize;
  descriptor.algorithm = static_cast<TVTRCompressionMethod>(field.BlobCompressionAlgorithm);
  descriptor.mode = field.BlobCompressionMode;
  auto stored = std::make_unique<TVTRTemporaryStream>(true);
  uint8_t* record = cursor.CurrentRecord;
  if (mode == bomWrite || record == nullptr || GetBufferBit(field_no, record))
    return std::make_unique<TVTRLocalBLOBStream>(std::move(stored), descriptor, true, &cursor, mode,
                                                 field_no);
  const TVTRMemoryBlobBlock& block = BlockOf(record, field_no);
  if (!block.Data.empty()) stored->WriteBuffer(block.Data.data(), static_cast<int32_t>(block.Data.size()));
  stored->SetPosition(0);
  descriptor.block_count = block.BlockCount;
  descriptor.uncompressed_size = block.UncompressedSize;
  return std::make_unique<TVTRLocalBLOBStream>(std::move(stored), descriptor, false, &cursor, mode, field_no);
}
