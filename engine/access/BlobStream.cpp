#include "engine/access/BlobStream.h"

#include <algorithm>

#include "engine/access/DataSet.h"
#include "engine/access/ErrorMessage.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/blob/LocalBlobStream.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"
#include "platform/rtl/Format.h"

namespace {

constexpr const char* kReadOnly = "Dataset is in read only mode";
constexpr const char* kBlobNotWritable =
    "Cannot write field '%s': its record cannot be read now; the table may be locked by another user";

TVTRBlobOpenMode EngineMode(TBlobStreamMode mode) {
  switch (mode) {
    case bmRead:
      return bomRead;
    case bmWrite:
      return bomWrite;
    default:
      return bomReadWrite;
  }
}

}  // namespace

TVTRBLOBStream::TVTRBLOBStream(TField* field, TBlobStreamMode mode) {
  auto* dataset = dynamic_cast<TVTRDataSet*>(field->DataSet());
  if (dataset == nullptr) DatabaseError(Format("Field '%s' has no dataset", field->DisplayName()));
  if (mode != bmRead && dataset->ReadOnly()) throw EVTRException(10106, kReadOnly);
  TField* same = dataset->FindField(field->FieldName());
  if (same == nullptr) same = field;
  engine_ = dataset->OpenEngineBlob(same, mode);
  if (engine_ == nullptr) return;
  SetBlockSize(engine_->BlockSize());
  if (auto* local = dynamic_cast<TVTRLocalBLOBStream*>(engine_)) local->Owner = this;
  field_ = same;
  dataset_ = dataset;
  if (mode == bmWrite) Truncate();
}

TVTRBLOBStream::~TVTRBLOBStream() {
  TVTRStream* engine = Engine();
  if (engine == nullptr) return;
  SetModified(engine->Modified());
  if (auto* local = dynamic_cast<TVTRLocalBLOBStream*>(engine)) local->Owner = nullptr;
  ShowingEngineErrors(dataset_, [this] { dataset_->CloseBlob(field_); });
  if (Modified()) ShowingEngineErrors(dataset_, [this] { dataset_->BlobFieldChanged(field_); });
}

TVTRStream* TVTRBLOBStream::Engine() const {
  if (engine_ == nullptr || dataset_ == nullptr || dataset_->Handle() == nullptr) return nullptr;
  const auto& open = dataset_->Handle()->BlobStreams;
  const bool alive = std::ranges::any_of(open, [this](const auto& stream) {
    const auto* local = dynamic_cast<const TVTRLocalBLOBStream*>(stream.get());
    return stream.get() == engine_ && (local == nullptr || local->Owner == this);
  });
  return alive ? engine_ : nullptr;
}

int32_t TVTRBLOBStream::Read(void* buffer, int32_t count) {
  TVTRStream* engine = Engine();
  return engine != nullptr ? engine->Read(buffer, count) : 0;
}

int32_t TVTRBLOBStream::Write(const void* buffer, int32_t count) {
  TVTRStream* engine = Engine();
  if (engine == nullptr) return 0;
  const int32_t written = engine->Write(buffer, count);
  if (written > 0) engine->SetModified(true);
  return written;
}

int64_t TVTRBLOBStream::Seek(int64_t offset, TSeekOrigin origin) {
  TVTRStream* engine = Engine();
  return engine != nullptr ? engine->Seek(offset, origin) : 0;
}

int64_t TVTRBLOBStream::GetSize() {
  TVTRStream* engine = Engine();
  return engine != nullptr ? engine->GetSize() : 0;
}

void TVTRBLOBStream::SetSize(int64_t new_size) {
  TVTRStream* engine = Engine();
  if (engine == nullptr) return;
  engine->SetSize(new_size);
  if (engine->GetSize() == new_size) engine->SetModified(true);
}

TVTRStream* TVTRDataSet::OpenEngineBlob(TField* field, TBlobStreamMode mode) {
  TVTRCursor& cursor = CheckedCursor(10108);
  if (mode != bmRead && !IsEditState(State()))
    throw EVTRException(10111, "Dataset not in edit or insert mode");
  const TRecordBuffer record = CurrentRecordBuffer();
  const int32_t field_no = field->FieldNo() - 1;
  cursor.CurrentRecord = record;
  if (record == nullptr) return cursor.OpenBlob(true, false, field_no, EngineMode(mode));
  const TVTRCursorPosition position = cursor.SavePosition();
  TVTRStream* stream;
  try {
    cursor.CurrentRecordID = LoadRecordID(record + cursor.RecordSize);
    stream = cursor.OpenBlob(State() == dsInsert, State() == dsEdit, field_no, EngineMode(mode));
  } catch (...) {
    cursor.RestorePosition(position);
    throw;
  }
  cursor.RestorePosition(position);
  return stream;
}

std::unique_ptr<TStream> TVTRDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  if (mode != bmRead && read_only_) throw EVTRException(10107, kReadOnly);
  auto stream = std::make_unique<TVTRBLOBStream>(field, mode);
  if (stream->HasEngineStream()) return stream;
  // Write modes come here in edit or insert state only: a refresh would post
  // or cancel the pending record in the middle of the assignment.
  if (mode != bmRead) DatabaseError(Format(kBlobNotWritable, field->DisplayName()), this);
  if (State() == dsBrowse && !refreshing_for_blob_) {
    refreshing_for_blob_ = true;
    try {
      Refresh();
    } catch (...) {
      refreshing_for_blob_ = false;
      throw;
    }
    refreshing_for_blob_ = false;
  }
  return stream;
}

void TVTRDataSet::CloseBlob(TField* field) {
  TVTRCursor& cursor = CheckedCursor(10108);
  cursor.CurrentRecord = CurrentRecordBuffer();
  cursor.CloseBlob(field->FieldNo() - 1);
}

void TVTRDataSet::BlobFieldChanged(TField* field) {
  SetFieldModified(field);
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}
