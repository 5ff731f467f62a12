// The BLOB streams of the local cursor. Each open stream is a
// TVTRLocalBLOBStream of one table field, kept in BlobStreams until its field
// is closed; a field has at most one stream that writes.
#include <algorithm>

#include "engine/access/LocalCursor.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/blob/LocalBlobStream.h"
#include "engine/storage/disk/DiskTableData.h"

namespace {

TVTRLocalBLOBStream& LocalStream(const std::unique_ptr<TVTRStream>& stream) {
  return static_cast<TVTRLocalBLOBStream&>(*stream);
}

bool Writes(TVTRBlobOpenMode mode) {
  return mode != bomRead;
}

}  // namespace

int32_t TVTRLocalCursor::TableFieldOf(int32_t field_no, int32_t invalid_code) const {
  if (field_no < 0 || field_no >= FieldDefs.GetCount()) {
    throw EVTRException::CreateFmt(invalid_code, "Invalid field number - FieldNo = %d, FieldCount = %d",
                                   field_no, FieldDefs.GetCount());
  }
  return FieldDefs.GetFieldDef(field_no).FieldNo;
}

TVTRStream* TVTRLocalCursor::OpenBlob(bool is_insert, bool is_edit, int32_t field_no, TVTRBlobOpenMode mode) {
  TVTRTableData& table = OpenedTable(10113, "Nil pointer occured");
  TVTRDatabaseDataGuard guard(table.Database);
  if (!MultiUserDisk()) return OpenBlobStream(is_insert, field_no, mode);
  if (!LockTable(tltRead, kBlobTableLockRetry.tries, kBlobTableLockRetry.delay_ms)) return nullptr;
  TVTRStream* stream = nullptr;
  try {
    bool readable = true;
    if (!is_insert && !is_edit) {
      // A browsed record may have changed since it was read: take the
      // value the file holds now.
      const TVTRCursorPosition position = SavePosition();
      Bof = false;
      Eof = false;
      readable = GetRecord(fmCurrent) == grOK;
      RestorePosition(position);
    }
    if (readable) stream = OpenBlobStream(is_insert, field_no, mode);
  } catch (...) {
    UnlockTable(tltRead, false);
    throw;
  }
  UnlockTable(tltRead, false);
  return stream;
}

TVTRStream* TVTRLocalCursor::OpenBlobStream(bool is_insert, int32_t field_no, TVTRBlobOpenMode mode) {
  const int32_t table_field = TableFieldOf(field_no, 10110);
  if (!TableOpened) throw EVTRException(10113, "Nil pointer occured");
  if (Writes(mode) && std::ranges::any_of(BlobStreams, [table_field](const auto& open) {
        return LocalStream(open).FieldNo() == table_field && Writes(LocalStream(open).Mode());
      })) {
    throw EVTRException::CreateFmt(10115, "BLOB field already opened. FieldNo = %d, FieldName = %s", field_no,
                                   FieldDefs.GetFieldDef(field_no).Name);
  }
  std::unique_ptr<TVTRStream> stream = TableData->OpenBlob(*this, is_insert, table_field, mode);
  if (!stream) return nullptr;
  BlobStreams.push_back(std::move(stream));
  return BlobStreams.back().get();
}

void TVTRLocalCursor::CloseBlob(int32_t field_no) {
  const int32_t table_field = TableFieldOf(field_no, 10118);
  TVTRTableData& table = OpenedTable(10119, "Nil pointer occured");
  TVTRDatabaseDataGuard guard(table.Database);
  CloseTableFieldBlobs(table_field);
}

void TVTRLocalCursor::CloseTableFieldBlobs(int32_t table_field) {
  for (auto it = BlobStreams.begin(); it != BlobStreams.end();) {
    if (LocalStream(*it).FieldNo() != table_field) {
      ++it;
      continue;
    }
    // Out of the list first, so that a failed store does not leave it behind.
    std::unique_ptr<TVTRStream> stream = std::move(*it);
    it = BlobStreams.erase(it);
    TVTRLocalBLOBStream& local = LocalStream(stream);
    local.Owner = nullptr;
    if (Writes(local.Mode())) TableData->SaveBlob(*this, table_field, local);
    if (!local.Modified() && disk_table_) TableData->ReleaseBlob(CurrentRecord, table_field);
  }
}

void TVTRLocalCursor::FreeBlobStreams(bool write_modes_only) {
  if (!TableData) {
    BlobStreams.clear();
    return;
  }
  TVTRDatabaseDataGuard guard(TableData->Database);
  for (;;) {
    const auto next = std::ranges::find_if(BlobStreams, [write_modes_only](const auto& open) {
      return !write_modes_only || Writes(LocalStream(open).Mode());
    });
    if (next == BlobStreams.end()) return;
    CloseTableFieldBlobs(LocalStream(*next).FieldNo());
  }
}
