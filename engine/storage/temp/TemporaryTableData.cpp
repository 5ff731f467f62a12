#include "engine/storage/temp/TemporaryTableData.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/foundation/stream/VTRMemoryStream.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "engine/foundation/stream/VTRStreamMessages.h"
#include "engine/foundation/stream/VTRTemporaryStream.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/blob/LocalBlobStream.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/temp/TemporaryMemoryBudget.h"

namespace {

[[noreturn]] void RaiseNilPointer(int32_t native_error) {
  throw EVTRException(native_error, "Nil pointer occured");
}

}  // namespace

TVTRTemporaryTableData::TVTRTemporaryTableData(TVTRDatabaseData& database)
    : TVTRProcessTableData(database, nullptr) {}

void TVTRTemporaryTableData::PrepareCreate(TVTRCursor& cursor) {
  KeepInMemory = cursor.KeepTempInMemory;
  ReplacePageManager(std::make_unique<TVTRTemporaryPageManager>(KeepInMemory, TemporaryMemoryBudget()));
  blob_stream_.reset();
  committed_count_ = 0;
}

void TVTRTemporaryTableData::CreateRecordManager() {
  const int32_t record_size = GetRecordBufferSize();
  RecordManager = std::make_unique<TVTRTemporaryRecordManager>(
      record_size, KeepInMemory, TVTRTemporaryRecordManager::kGrowthStep,
      std::max(kRecordsPerBlock, kMinBlockBytes / record_size), TemporaryMemoryBudget());
}

void TVTRTemporaryTableData::FinishCreate() {
  if (!BlobFieldNumbers().empty()) NewBlobStream();
}

void TVTRTemporaryTableData::NewBlobStream() {
  if (KeepInMemory)
    blob_stream_ = std::make_unique<TVTRMemoryStream>();
  else
    blob_stream_ = std::make_unique<TVTRTemporaryStream>(false);
}

void TVTRTemporaryTableData::EmptyStorage() {
  if (RecordManager) RecordManager->EmptyTable(kSystemSessionID);
  committed_count_ = 0;
  if (blob_stream_) NewBlobStream();
}

void TVTRTemporaryTableData::CommitSession(int32_t session_id) {
  TVTRProcessTableData::CommitSession(session_id);
  if (RecordManager) committed_count_ = RecordManager->RecordCount;
}

void TVTRTemporaryTableData::AfterRollback(int32_t session_id) {
  TVTRProcessTableData::AfterRollback(session_id);
  if (RecordManager) TemporaryRecords().Truncate(committed_count_);
}

void TVTRTemporaryTableData::SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) {
  if (!RecordManager) RaiseNilPointer(10136);
  cursor.CurrentRecordID = TVTRTemporaryRecordManager::RecordIDOf(rec_no < 2 ? 0 : rec_no - 1);
}

int64_t TVTRTemporaryTableData::GetNaturalRecNo(TVTRCursor& cursor) {
  if (!RecordManager) RaiseNilPointer(10137);
  return TVTRTemporaryRecordManager::NumberOf(cursor.CurrentRecordID) + 1;
}

int64_t TVTRTemporaryTableData::GetTableRecordCount(TVTRCursor& cursor) {
  if (!RecordManager) RaiseNilPointer(10133);
  return RecordManager->RecordCount;
}

void TVTRTemporaryTableData::SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) {
  if (!blob_stream_) RaiseNilPointer(10144);
  if (!blob.Modified()) return;
  uint8_t* record = cursor.CurrentRecord;
  if (blob.Size() == 0) {
    SetBufferBit(true, field_no, record);
    return;
  }
  VTR_ASSERT(dynamic_cast<TVTRLocalBLOBStream*>(&blob) != nullptr);
  auto& local = static_cast<TVTRLocalBLOBStream&>(blob);
  TVTRStream& stored = local.Stored();
  const TVTRBLOBDescriptor descriptor = local.Value().Descriptor();
  const int64_t offset = blob_stream_->Size();
  SeekStreamChecked(*blob_stream_, 10422, offset);
  uint8_t header[kBlobEntryHeaderSize];
  StoreU32(header, static_cast<uint32_t>(descriptor.block_count));
  StoreU64(header + 4, static_cast<uint64_t>(descriptor.uncompressed_size));
  StoreU64(header + 12, static_cast<uint64_t>(stored.Size()));
  WriteStreamChecked(header, kBlobEntryHeaderSize, *blob_stream_, 10145);
  stored.SaveToStream(*blob_stream_);
  StoreU64(record + FieldManager->FieldDefs.GetFieldDef(field_no).MemoryOffset,
           static_cast<uint64_t>(offset));
  SetBufferBit(false, field_no, record);
}

std::unique_ptr<TVTRStream> TVTRTemporaryTableData::OpenBlob(TVTRCursor& cursor, bool, int32_t field_no,
                                                             TVTRBlobOpenMode mode) {
  if (!blob_stream_) RaiseNilPointer(10140);
  const TVTRFieldDef& field = FieldManager->FieldDefs.GetFieldDef(field_no);
  TVTRBLOBDescriptor descriptor;
  descriptor.block_size = field.BlobBlockSize;
  descriptor.algorithm = static_cast<TVTRCompressionMethod>(field.BlobCompressionAlgorithm);
  descriptor.mode = field.BlobCompressionMode;
  auto stored = std::make_unique<TVTRTemporaryStream>(KeepInMemory);
  // The null bit, not the insert flag, tells a new value: a value saved into
  // a record not yet inserted reads back.
  const uint8_t* record = cursor.CurrentRecord;
  if (mode == bomWrite || record == nullptr || GetBufferBit(field_no, record))
    return std::make_unique<TVTRLocalBLOBStream>(std::move(stored), descriptor, true, &cursor, mode,
                                                 field_no);
  const auto offset = static_cast<int64_t>(LoadU64(record + field.MemoryOffset));
  SeekStreamChecked(*blob_stream_, 10141, offset);
  uint8_t header[kBlobEntryHeaderSize];
  ReadStreamChecked(header, kBlobEntryHeaderSize, *blob_stream_, 10142);
  const auto length = static_cast<int64_t>(LoadU64(header + 12));
  const int64_t available = blob_stream_->Size() - blob_stream_->Position();
  if (length < 0 || length > available)
    throw EVTRException::CreateFmt(10142, kReadFailedFormat, blob_stream_->Position(), blob_stream_->Size(),
                                   length, available);
  stored->CopyBlocksFrom(*blob_stream_, offset + kBlobEntryHeaderSize, length);
  descriptor.block_count = LoadU32(header);
  descriptor.uncompressed_size = static_cast<int64_t>(LoadU64(header + 4));
  return std::make_unique<TVTRLocalBLOBStream>(std::move(stored), descriptor, false, &cursor, mode, field_no);
}
