// The internal files of a disk table and what they hold.
//
// Metadata file: transacted, page type 8, stored compressed (zlib, mode 1).
//   1  the field definitions' image
//   2  the index definitions' image, temporary indexes left out
//   3  the constraint definitions' image
//   4  i32 root page of the record-page map
//   5  i32 root page of the BLOB page map (-1 without BLOB fields)
//
// Counters file (most-updated file): transacted, page type 9, uncompressed.
//   0       4      i32 N, the number of autoincrement counters (one per field)
//   4       8 × N  the counters, i64, in field order
//   4 + 8N  4      i32 the record store's ChangeCount
//   8 + 8N  4      i32 RecordCount, the low 32 bits; read back sign-extended
#include <vector>

#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRMemoryStream.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/records/DiskRecordManager.h"

namespace {

constexpr uint8_t kMetadataCompressionMode = 1;

}  // namespace

void TVTRDiskTableData::CreateInternalFiles() {
  TVTRDiskPageManager& pages = *DiskDatabase().DiskPageManager();
  LocksFile = std::make_unique<TVTRTableLocksFile>(pages);
  LocksFile->CreateFile(DiskDatabase().MaxConnections);
  MetadataFile = std::make_unique<TVTRInternalDBTransactedAccessFile>(pages, ptTableMetaData);
  MetadataFile->CreateFile(kSystemSessionID);
  MostUpdatedFile = std::make_unique<TVTRInternalDBTransactedAccessFile>(pages, ptTableMostUpdated);
  MostUpdatedFile->CreateFile(kSystemSessionID);
}

void TVTRDiskTableData::OpenInternalFiles(int32_t metadata_start, int32_t most_updated_start,
                                          int32_t locks_start) {
  TVTRDiskPageManager& pages = *DiskDatabase().DiskPageManager();
  LocksFile = std::make_unique<TVTRTableLocksFile>(pages);
  LocksFile->OpenFile(locks_start);
  MetadataFile = std::make_unique<TVTRInternalDBTransactedAccessFile>(pages, ptTableMetaData);
  MetadataFile->OpenFile(metadata_start);
  MostUpdatedFile = std::make_unique<TVTRInternalDBTransactedAccessFile>(pages, ptTableMostUpdated);
  MostUpdatedFile->OpenFile(most_updated_start);
}

void TVTRDiskTableData::DeleteInternalFiles() {
  LocksFile->DeleteFile();
  MetadataFile->DeleteFile(kSystemSessionID);
  MostUpdatedFile->DeleteFile(kSystemSessionID);
}

void TVTRDiskTableData::FreeInternalFiles() {
  LocksFile.reset();
  MetadataFile.reset();
  MostUpdatedFile.reset();
}

void TVTRDiskTableData::SaveMetadata(int32_t session_id) {
  TVTRMemoryStream image;
  FieldManager->SaveMetadata(image);
  IndexManager->SaveMetadata(image);
  ConstraintManager->SaveMetadata(image);
  DiskRecords().SaveMetadata(image);
  BlobManager->SaveMetadata(image);
  MetadataFile->WriteFile(session_id, image.Memory(), kMetadataCompressionMode, cmZlib,
                          static_cast<int32_t>(image.Size()));
}

void TVTRDiskTableData::LoadMetadata(int32_t session_id) {
  const std::vector<uint8_t> bytes = MetadataFile->ReadContent(session_id);
  TVTRMemoryStream image;
  image.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  image.SetPosition(0);
  FieldManager->LoadMetadata(image);
  IndexManager->LoadMetadata(image);
  ConstraintManager->LoadMetadata(image);
  DiskRecords().LoadMetadata(image);
  BlobManager->LoadMetadata(image);
}

namespace {

// Bytes of the counters file of a table with these counters.
int32_t MostUpdatedSize(const TVTRBaseFieldManager& fields) {
  return fields.GetAutoincValuesSize() + kRecordCountersSize;
}

}  // namespace

void TVTRDiskTableData::SaveMostUpdated(int32_t session_id) {
  std::vector<uint8_t> image(static_cast<size_t>(MostUpdatedSize(*FieldManager)));
  int32_t offset = 0;
  FieldManager->SaveAutoincValues(image, offset);
  DiskRecords().SaveCounters(image, offset);
  MostUpdatedFile->WriteFile(session_id, image.data(), 0, cmNone, offset);
}

void TVTRDiskTableData::LoadMostUpdated(int32_t session_id) {
  if (!MostUpdatedFile) throw EVTRException(20176, "Pointer is nil");
  const int32_t size = MostUpdatedFile->GetUncompressedSize(session_id);
  // Checked before the buffer is made; the readers refuse what is too short.
  if (size < 0 || size > MostUpdatedSize(*FieldManager))
    throw EVTRException(20164, "Invalid table header data");
  std::vector<uint8_t> image(static_cast<size_t>(size));
  MostUpdatedFile->ReadFile(session_id, image.data(), size);
  int32_t offset = 0;
  FieldManager->LoadAutoincValues(image, offset);
  DiskRecords().LoadCounters(image, offset);
}
