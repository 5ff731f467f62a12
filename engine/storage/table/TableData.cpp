#include "engine/storage/table/TableData.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/meta/DefImage.h"
#include "platform/rtl/ScopeExit.h"

namespace {

std::string ShortString(std::string_view text) {
  return std::string(text.substr(0, kMaxShortStringLength));
}

}  // namespace

TVTRTableData::TVTRTableData(TVTRDatabaseData& database) : Database(database) {}

TVTRTableData::~TVTRTableData() {
  // The constraint manager refers to the index manager.
  ConstraintManager.reset();
  IndexManager.reset();
  FieldManager.reset();
  RecordManager.reset();
}

void TVTRTableData::AssignObjectIDs(TVTRMetaObjectDefs& defs) {
  for (int32_t i = 0; i < defs.GetCount(); ++i) defs.GetItem(i).ObjectID = Database.GetNextObjectID();
}

int32_t TVTRTableData::GetRecordBufferSize() const {
  if (!FieldManager || FieldManager->FieldDefs.GetCount() == 0)
    throw EVTRException(10131, "Error creating table - no fields were specified");
  return FieldManager->FieldDefs.GetRecordBufferSize();
}

void TVTRTableData::CreateFields(TVTRFieldDefs& field_defs) {
  AssignObjectIDs(field_defs);
  if (!FieldManager) FieldManager = std::make_unique<TVTRBaseFieldManager>(this);
  FieldManager->DefineFields(field_defs);
}

void TVTRTableData::CreateIndexes(TVTRIndexDefs& index_defs) {
  AssignObjectIDs(index_defs);
  if (!IndexManager) IndexManager = std::make_unique<TVTRBaseIndexManager>(*this, nullptr);
  IndexManager->AssignIndexDefs(index_defs);
}

void TVTRTableData::CreateConstraints(TVTRConstraintDefs& constraint_defs) {
  AssignObjectIDs(constraint_defs);
  // The list holds primary key, unique, not null and check constraints only.
  for (int32_t i = 0; i < constraint_defs.GetCount(); ++i)
    constraint_defs.GetConstraintDef(i).TableName = ShortString(TableName);
  if (!ConstraintManager)
    ConstraintManager = std::make_unique<TVTRBaseConstraintManager>(*this, *IndexManager);
  ConstraintManager->ConstraintDefs.Assign(constraint_defs);
  ConstraintManager->ResolveAll();
  ConstraintManager->NameUnnamedConstraints();
}

void TVTRTableData::InitCursorSizes(TVTRCursor& cursor) {
  const TVTRFieldDefs* fields = GetFieldDefs();
  cursor.NullFlagsSize =
      fields != nullptr && fields->GetCount() > 0 ? fields->GetFieldDef(0).MemoryOffset : 0;
  cursor.RecordCompareSize = GetRecordBufferSize();
}

void TVTRTableData::AutoCommit(int32_t session_id, bool in_transaction) {
  if (!in_transaction && PageManager != nullptr) PageManager->Commit(session_id);
}

void TVTRTableData::AutoRollback(int32_t session_id, bool in_transaction) {
  if (!in_transaction && PageManager != nullptr) PageManager->Rollback(session_id);
}

void TVTRTableData::DeleteTable(TVTRCursor* cursor, bool force) {
  if (!force && !Cursors.empty())
    throw EVTRException::CreateFmt(20017, "Cannot delete table '%s'. Table is open by another dataset",
                                   TableName);
}

void TVTRTableData::EmptyTable(TVTRCursor* cursor) {
  if (FieldManager) FieldManager->InitAutoincValues();
  EmptyIndexes(SessionOf(cursor));
}

void TVTRTableData::RenameTable(std::string_view new_name, TVTRCursor* cursor) {
  if (!Cursors.empty())
    throw EVTRException::CreateFmt(10150, "Cannot rename table '%s'. Table is open by another dataset",
                                   TableName);
  TableName = new_name;
}

void TVTRTableData::OpenTable(TVTRCursor& cursor) {
  Cursors.push_back(&cursor);
}

void TVTRTableData::CloseTable(TVTRCursor& cursor) {
  std::erase(Cursors, &cursor);
}

void TVTRTableData::RenameField(std::string_view old_name, std::string_view new_name) {
  TVTRFieldDef* field = FieldManager ? FieldManager->FieldDefs.GetFieldDefByName(old_name) : nullptr;
  if (field == nullptr) throw EVTRException::CreateFmt(30343, "Field '%s' not found", old_name);
  if (FieldManager->FieldDefs.GetFieldDefByName(new_name) != nullptr)
    throw EVTRException::CreateFmt(30344, "Cannot rename field '%s'. Field '%s' already exists", old_name,
                                   new_name);
  field->Name = ShortString(new_name);
  if (IndexManager) IndexManager->RenameFieldInIndexes(old_name, field->Name);
}

void TVTRTableData::AddIndex(TVTRIndexDef& index_def, TVTRCursor& cursor) {
  const TVTRCursorPosition position = cursor.SavePosition();
  const ScopeExit restore([&cursor, position]() noexcept { cursor.RestorePosition(position); });
  IndexManager->AddIndex(&cursor, index_def);
  if (!index_def.Temporary && !cursor.Temporary && ConstraintManager)
    ConstraintManager->AddIndexConstraint(index_def);
}

void TVTRTableData::DeleteIndex(int32_t index_id, TVTRCursor* cursor) {
  if (cursor != nullptr && !cursor->Temporary && ConstraintManager) {
    const auto* def = static_cast<const TVTRIndexDef*>(IndexManager->IndexDefs.GetDefByObjectID(index_id));
    if (def != nullptr && !def->Temporary) ConstraintManager->DropIndexConstraint(index_id);
  }
  IndexManager->DropIndex(SessionOf(cursor), index_id);
}

std::string TVTRTableData::CreateTemporaryIndex(TVTRCursor& cursor, const TStringList& field_names,
                                                const TStringList& directions,
                                                const TStringList& case_flags) {
  TVTRDatabaseDataGuard lock(Database);
  const TVTRCursorPosition position = cursor.SavePosition();
  const int32_t session_id = SessionOf(&cursor);
  std::string name;
  try {
    const int32_t id = IndexManager->FindOrCreateTemporaryIndex(cursor, field_names, case_flags, directions);
    const TVTRMetaObjectDef* def = IndexManager->IndexDefs.GetDefByObjectID(id);
    if (def == nullptr) throw EVTRException::CreateFmt(10324, "Cannot find index by ID = %d", id);
    name = def->Name;
    AutoCommit(session_id, SessionInTransaction(cursor));
  } catch (...) {
    AutoRollback(session_id, SessionInTransaction(cursor));
    cursor.RestorePosition(position);
    throw;
  }
  cursor.RestorePosition(position);
  return name;
}

void TVTRTableData::ReleaseRecordBlobs(uint8_t* record) {
  if (!FieldManager || !FieldManager->HasBlobFields()) return;
  const TVTRFieldDefs& fields = FieldManager->FieldDefs;
  for (int32_t i = 0; i < fields.GetCount(); ++i)
    if (IsBlobBaseType(fields.GetFieldDef(i).BaseType)) ReleaseBlob(record, i);
}

void TVTRTableData::DropAllIndexes(TVTRCursor* cursor) {
  if (!IndexManager) return;
  while (IndexManager->IndexDefs.GetCount() > 0)
    DeleteIndex(IndexManager->IndexDefs.GetIndexDef(0).ObjectID, cursor);
}

void TVTRTableData::EmptyIndexes(int32_t session_id) {
  if (IndexManager) IndexManager->EmptyAllIndexes(session_id);
}

bool TVTRTableData::IsDuplicateKey(int32_t session_id, int32_t index_id, const TVTRRecordID& id,
                                   bool is_insert, const uint8_t* old_record, const uint8_t* new_record) {
  return IndexManager->IsDuplicateKey(session_id, index_id, id, is_insert, old_record, new_record);
}

TVTRIndex& TVTRTableData::CursorIndex(const TVTRCursor& cursor) {
  return IndexManager->GetIndexByID(cursor.IndexID);
}

const TVTRFieldDefs* TVTRTableData::GetFieldDefs() {
  return FieldManager ? &FieldManager->FieldDefs : nullptr;
}

TVTRPageManager& TVTRTableData::GetPageManager() {
  VTR_ASSERT(PageManager != nullptr);  // the engine sets it before it makes any manager
  return *PageManager;
}

int64_t TVTRTableData::GetRecordCount() {
  return RecordManager ? RecordManager->RecordCount : 0;
}

int32_t TVTRTableData::GetChangeCount() {
  return RecordManager ? RecordManager->ChangeCount : 0;
}

int32_t TVTRTableData::GetNextObjectID() {
  return Database.GetNextObjectID();
}

void TVTRTableData::GetRecord(int32_t session_id, NavigationRequest& request) {
  if (!RecordManager) throw EVTRException(10015, "Nil pointer occured");
  RecordManager->GetRecord(session_id, request);
}

void TVTRTableData::ScanRecords(TVTRCursor& cursor, const std::function<void(TVTRCursor&)>& visit) {
  const TVTRCursorPosition position = cursor.SavePosition();
  uint8_t* const record = cursor.CurrentRecord;
  std::vector<uint8_t> buffer(static_cast<size_t>(GetRecordBufferSize()));
  const ScopeExit give_back([&cursor, record, position]() noexcept {
    cursor.CurrentRecord = record;
    cursor.RestorePosition(position);
  });
  NavigationRequest request;
  request.Direction = fmNext;
  request.Bof = true;
  request.Buffer = buffer.data();
  while (true) {
    request.Result = grError;
    GetRecord(SessionOf(&cursor), request);
    if (request.Result != grOK) break;
    cursor.CurrentRecord = buffer.data();
    cursor.CurrentRecordID = request.RecordID;
    visit(cursor);
  }
}
