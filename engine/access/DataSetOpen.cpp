// Attaching to a database component, opening and closing, record buffers
// and bookmarks of TVTRDataSet.
#include <cstring>
#include <utility>

#include "engine/access/DataSet.h"
#include "engine/access/Database.h"
#include "engine/access/DefConversions.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kNilPointer = "Nil pointer occured";
constexpr const char* kMemoryAlias = "MEMORY";
constexpr int32_t kBookmarkSize = kRecordIDSize + 1;

}  // namespace

TVTRDataSet::TVTRDataSet(TComponent* owner) : TDataSet(owner), index_defs_(this) {
  if (const TVTRSession* session = TVTRSession::AutoNamingSessionOf(owner)) session_name_ = session->SessionName();
  if (owner != nullptr && owner->ComponentState().Contains(csDesigning)) SetDesignModeFlag();
}

TVTRDataSet::~TVTRDataSet() {
  Destroying();
  ShowingEngineErrors(this, [this] { Close(); });
  ShowingEngineErrors(this, [this] { Detach(); });
}

std::string TVTRDataSet::CurrentVersion() {
  return TVTRDatabase::CurrentVersion();
}

const TTextCodec& TVTRDataSet::TextCodec() const {
  return CodePage874Codec();
}

void TVTRDataSet::SetDatabaseName(const std::string& name) {
  if (ComponentState().Contains(csReading)) {
    database_name_ = name;
    in_memory_ = SameText(name, kMemoryAlias);
    return;
  }
  if (name == database_name_) return;
  CheckInactive();
  if (database_ != nullptr) DatabaseError("Cannot perform this operation on an open database");
  database_name_ = name;
  in_memory_ = SameText(name, kMemoryAlias);
  DataEvent(dePropertyChange, 0);
}

void TVTRDataSet::SetSessionName(const std::string& name) {
  CheckInactive();
  session_name_ = name;
  DataEvent(dePropertyChange, 0);
}

void TVTRDataSet::SetInMemory(bool value) {
  CheckInactive();
  in_memory_ = value;
  if (value) database_name_ = kMemoryAlias;
}

TVTRDatabase* TVTRDataSet::OpenSessionDatabase() {
  TVTRSessionList& sessions = SessionList();
  if (!session_name_.empty() && !database_name_.empty()) {
    // A database component of the alias that sits in the default session
    // while the named session has none belongs to the named session.
    const TVTRSession* named = sessions.FindSession(session_name_);
    TVTRDatabase* in_default = DefaultSession().FindDatabaseForOwner(database_name_, Owner());
    if (named != nullptr && named->FindDatabaseForOwner(database_name_, Owner()) == nullptr && in_default != nullptr)
      in_default->BindSession(true);
  }
  return sessions.GetSession(session_name_).OpenDatabase(database_name_, Owner());
}

void TVTRDataSet::Attach() {
  database_ = OpenSessionDatabase();
  database_->AddDataSet(this);
}

void TVTRDataSet::Detach() {
  db_flags_.reset();
  TVTRDatabase* database = std::exchange(database_, nullptr);
  if (database == nullptr) return;
  database->RemoveDataSet(this);
  database->Session()->ReleaseDatabase(database);
}

void TVTRDataSet::SetDBFlag(TVTRDBFlag flag, bool value) {
  if (value) {
    if (db_flags_.test(flag)) return;
    if (db_flags_.none()) Attach();
    db_flags_.set(flag);
    return;
  }
  if (!db_flags_.test(flag)) return;
  db_flags_.reset(flag);
  if (db_flags_.none()) Detach();
}

void TVTRDataSet::ClearDBFlagQuietly(TVTRDBFlag flag) {
  try {
    SetDBFlag(flag, false);
  } catch (...) {
    // The failure of the work is the one the caller hears about.
  }
}

TVTRCursor& TVTRDataSet::CheckedCursor(int32_t native_error) const {
  if (!cursor_) throw EVTRException(native_error, kNilPointer);
  return *cursor_;
}

void TVTRDataSet::SetActive(bool active) {
  if (!active && IsEditState(State())) InternalCancel();
  TDataSet::SetActive(active);
}

void TVTRDataSet::OpenCursor(bool info_query) {
  if (database_name_.empty()) DatabaseError("DatabaseName property is blank", this);
  SetDBFlag(dbfOpen, true);
  if (!cursor_) cursor_ = std::move(kept_cursor_);
  if (!cursor_) CreateHandle();
  if (!cursor_) throw EVTRException(20001, "Error creating table handle");
  TDataSet::OpenCursor(info_query);
}

void TVTRDataSet::InternalOpen() {
  if (!cursor_) return;
  SetBookmarkSize(kBookmarkSize);
  if (!field_defs_read_from_cursor_ || !FieldDefs().Updated()) {
    FieldDefs().SetUpdated(false);
    FieldDefs().Update();
  }
  ReadIndexFieldList();
  old_record_.clear();
  for (int i = 0; i < FieldDefs().Count(); ++i) {
    TFieldDef* def = FieldDefs()[i];
    if (def->DataType() == ftGuid) def->SetSize(38);
  }
  if (DefaultFields()) CreateFields();
  BindFields(true);
  if (CalcFieldsSize() > 0) cursor_->RecordBufferSize += CalcFieldsSize();
  ApplyCursorFilter();
  for (uint8_t*& key : key_buffers_) {
    key = cursor_->AllocKeyBuffer();
    InitKeyBuffer(key);
  }
  ResetCursorRange();
  PrepareCursor();
}

void TVTRDataSet::CloseCursor() {
  TDataSet::CloseCursor();
  if (cursor_) DestroyHandle();
  SetDBFlag(dbfOpen, false);
}

void TVTRDataSet::InternalClose() {
  if (cursor_) {
    old_record_.clear();
    FreeKeyBuffers();
  }
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  adv_field_defs_.Clear();
  adv_index_defs_.Clear();
  engine_field_defs_.Clear();
  engine_index_defs_.Clear();
  index_fields_.clear();
}

void TVTRDataSet::DestroyHandle() {
  field_defs_read_from_cursor_ = false;
  if (cursor_.get() == projection_cursor_)
    kept_cursor_ = std::move(cursor_);
  else
    cursor_.reset();
}

void TVTRDataSet::InternalInitFieldDefs() {
  FieldDefs().Clear();
  if (!cursor_) return;
  ReadFieldDefs(*cursor_);
  field_defs_read_from_cursor_ = true;
}

void TVTRDataSet::ReadFieldDefs(TVTRCursor& cursor) {
  cursor.DesignMode = DesignModeFlag();
  cursor.InitFieldDefs();
  engine_field_defs_.Assign(cursor.FieldDefs);
  EngineDefsToFieldDefs(cursor.FieldDefs, cursor.ConstraintDefs, FieldDefs());
  EngineDefsToAdvFieldDefs(cursor.FieldDefs, cursor.TableFieldDefs, cursor.ConstraintDefs, adv_field_defs_);
  restructure_adv_field_defs_.Assign(adv_field_defs_);
}

TRecordBuffer TVTRDataSet::AllocRecordBuffer() {
  return CheckedCursor(10052).AllocRecordBuffer();
}

void TVTRDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  CheckedCursor(10053).FreeRecordBuffer(buffer);
}

int TVTRDataSet::GetRecordSize() {
  return CheckedCursor(10055).RecordCompareSize;
}

void TVTRDataSet::InternalInitRecord(TRecordBuffer buffer) {
  CheckedCursor(10054).InitRecord(buffer, true);
}

void TVTRDataSet::InitRecord(TRecordBuffer buffer) {
  TDataSet::InitRecord(buffer);
  // A new record is nowhere yet: page -1, slot 65535.
  std::memset(buffer + RecordSize(), 0xFF, kRecordIDSize);
}

void TVTRDataSet::ClearCalcFields(TRecordBuffer buffer) {
  if (buffer == nullptr) throw EVTRException(10039, kNilPointer);
  const TVTRCursor& cursor = CheckedCursor(10040);
  if (CalcFieldsSize() > 0) std::memset(buffer + cursor.CalcFieldsOffset, 0, CalcFieldsSize());
}

void TVTRDataSet::GetBookmarkData(TRecordBuffer buffer, TBookmark& data) {
  if (buffer == nullptr) throw EVTRException(10034, kNilPointer);
  CheckedCursor(10036);
  data.assign(reinterpret_cast<const char*>(buffer + RecordSize()), kRecordIDSize);
}

void TVTRDataSet::SetBookmarkData(TRecordBuffer buffer, const TBookmark& data) {
  CheckedCursor(10058);
  if (buffer == nullptr) throw EVTRException(10061, kNilPointer);
  if (data.size() >= kRecordIDSize) std::memcpy(buffer + RecordSize(), data.data(), kRecordIDSize);
}

TBookmarkFlag TVTRDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  if (buffer == nullptr) throw EVTRException(10059, kNilPointer);
  const uint8_t flag = buffer[CheckedCursor(10060).RecordSize + kRecordIDSize];
  return flag >= bfBOF && flag <= bfInserted ? static_cast<TBookmarkFlag>(flag) : bfCurrent;
}

void TVTRDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) {
  const TVTRCursor& cursor = CheckedCursor(10057);
  if (flag <= bfInserted) buffer[cursor.RecordSize + kRecordIDSize] = flag;
}
