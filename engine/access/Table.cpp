#include "engine/access/Table.h"

#include "engine/access/Database.h"
#include "engine/access/DefConversions.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Session.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kNilPointer = "Nil pointer occured";

}  // namespace

TVTRTable::TVTRTable(TComponent* owner) : TVTRDataSet(owner) {
  master_link_.OnMasterChange = [this] { MasterChanged(); };
  master_link_.OnMasterDisable = [this] { MasterDisabled(); };
}

TVTRTable::~TVTRTable() {
  Destroying();
  ShowingEngineErrors(this, [this] { Close(); });
}

void TVTRTable::SetTableName(const std::string& name) {
  if (ComponentState().Contains(csReading)) {
    table_name_ = name;
    return;
  }
  if (name == table_name_) return;
  CheckInactive();
  table_name_ = name;
  DataEvent(dePropertyChange, 0);
}

void TVTRTable::SetTemporary(bool value) {
  CheckInactive();
  temporary_ = value;
  if (value) SetDatabaseName("TEMP");
}

void TVTRTable::CheckTableName() const {
  if (Trim(table_name_).empty()) DatabaseError("Missing TableName property", this);
}

std::unique_ptr<TVTRLocalCursor> TVTRTable::NewCursor() {
  TVTRDatabase* database = Database();
  auto cursor = std::make_unique<TVTRLocalCursor>();
  cursor->Session = database->EngineSession();
  cursor->TableName = Utf8ToCp874(table_name_);
  cursor->InMemory = InMemory();
  cursor->Temporary = temporary_;
  cursor->KeepTempInMemory = InMemory() || (database->Temporary ? DisableTempFiles : database->DisableTempFiles);
  cursor->DesignMode = DesignModeFlag();
  return cursor;
}

std::unique_ptr<TVTRLocalCursor> TVTRTable::OpenTableCursor() {
  std::unique_ptr<TVTRLocalCursor> cursor = NewCursor();
  cursor->Exclusive = exclusive_;
  cursor->ReadOnly = ReadOnly() || Database()->ReadOnly;
  AddPersistentFieldDefs();
  if (temporary_ || InMemory()) PrepareTemporaryDefs();
  cursor->OpenTable(&EngineFieldDefs(), &EngineIndexDefs(), &ConstraintDefs());
  SetReadOnly(cursor->ReadOnly);
  return cursor;
}

void TVTRTable::AddPersistentFieldDefs() {
  for (TField* field : Fields()) {
    if (field->FieldKind() != fkData || FieldDefs().IndexOf(field->FieldName()) >= 0) continue;
    FieldDefs().Add(field->FieldName(), field->DataType(), field->Size(), field->Required());
  }
}

void TVTRTable::PrepareTemporaryDefs() {
  if (FieldDefs().Count() == 0)
    AdvFieldDefsToFieldDefs(AdvFieldDefs(), FieldDefs());
  else
    FieldDefsToEngineFieldDefs(FieldDefs(), EngineFieldDefs());
  if (IndexDefs().Count() == 0) return;
  IndexDefsToAdvIndexDefs(IndexDefs(), AdvIndexDefs());
  AdvIndexDefsToEngineIndexDefs(AdvIndexDefs(), EngineIndexDefs(), FieldDefs());
}

void TVTRTable::CreateHandle() {
  CheckTableName();
  IndexDefs().SetUpdated(false);
  SetHandle(OpenTableCursor());
  IndexDefs().Update();
  const std::string index_name = ResolveIndexName(index_text_, index_by_fields_);
  if (!index_name.empty()) Handle()->SetIndexName(index_name);
}

void TVTRTable::InitFieldDefs() {
  if (Handle() != nullptr) return InternalInitFieldDefs();
  WithDBFlag(dbfFieldDefs, [this] {
    CheckTableName();
    const std::unique_ptr<TVTRLocalCursor> cursor = OpenTableCursor();
    FieldDefs().Clear();
    ReadFieldDefs(*cursor);
  });
}

void TVTRTable::UpdateIndexDefs() {
  if (IndexDefs().Updated()) return;
  WithDBFlag(dbfIndexDefs, [this] {
    if (!FieldDefs().Updated()) FieldDefs().Update();
    std::unique_ptr<TVTRLocalCursor> temporary;
    TVTRCursor* cursor = Handle();
    if (cursor == nullptr) {
      temporary = OpenTableCursor();
      cursor = temporary.get();
    }
    EngineIndexDefsToAdvIndexDefs(cursor->GetIndexDefs(), AdvIndexDefs());
    AdvIndexDefsToIndexDefs(AdvIndexDefs(), IndexDefs());
    RestructureAdvIndexDefs().Assign(AdvIndexDefs(), false);
  });
}

void TVTRTable::DataEvent(TDataEvent event, intptr_t info) {
  if (event == dePropertyChange) IndexDefs().SetUpdated(false);
  TVTRDataSet::DataEvent(event, info);
}

void TVTRTable::DefChanged(TDefCollection* defs) {
  store_defs_ = true;
}

std::string TVTRTable::ResolveIndexName(const std::string& text, bool by_fields) {
  if (text.empty()) return {};
  IndexDefs().SetUpdated(false);
  IndexDefs().Update();
  return by_fields ? IndexDefs().FindIndexForFields(text)->Name() : text;
}

void TVTRTable::SetIndexName(const std::string& name) {
  SetIndex(name, false);
}

void TVTRTable::SetIndexFieldNames(const std::string& names) {
  SetIndex(names, !names.empty());
}

void TVTRTable::SetIndex(const std::string& text, bool by_fields) {
  if (Active()) CheckBrowseMode();
  if (text != index_text_ || by_fields != index_by_fields_) {
    if (Active()) {
      const std::string index_name = ResolveIndexName(text, by_fields);
      ResetCursorRange();
      UpdateCursorPos();
      Handle()->SetIndexName(index_name);
      ReadIndexFieldList();
      PrepareCursor();
    }
  }
  index_text_ = text;
  index_by_fields_ = by_fields;
  if (Active()) Resync({});
}

bool TVTRTable::Exists() {
  if (DatabaseName().empty()) return false;
  try {
    if (Database() != nullptr) return Database()->TableExists(table_name_);
    TVTRDatabase* database = OpenSessionDatabase();
    bool exists;
    try {
      exists = database->TableExists(table_name_);
    } catch (...) {
      database->Session()->ReleaseDatabase(database);
      throw;
    }
    database->Session()->ReleaseDatabase(database);
    return exists;
  } catch (...) {
    return false;
  }
}

TField* TVTRTable::IndexField(int index) {
  if (index < 0 || index >= IndexFieldCount()) DatabaseError("Field index out of range", this);
  const int field_no = IndexFieldNumbers()[index];
  TField* field = Fields().FieldByNumber(field_no);
  if (field == nullptr) {
    const std::string name = field_no >= 1 && field_no <= FieldDefs().Count() ? FieldDefs()[field_no - 1]->Name() : "";
    DatabaseError(Format("Cannot access index field '%s'", name), this);
  }
  return field;
}

void TVTRTable::CreateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                                     const TStringList& case_options, std::string& index_name) {
  if (Handle() == nullptr) throw EVTRException(10311, kNilPointer);
  Handle()->CreateTemporaryIndex(field_names, directions, case_options, index_name);
}

void TVTRTable::ActivateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                                       const TStringList& case_options) {
  if (Handle() == nullptr) throw EVTRException(10319, kNilPointer);
  Handle()->ActivateTemporaryIndex(field_names, directions, case_options);
  SetIndexName(Handle()->IndexName);
}

int64_t TVTRTable::GetLastAutoincValue(std::string_view field_name) {
  return GetLastAutoincValue(static_cast<int32_t>(Fields().IndexOf(FieldByName(field_name))));
}

int64_t TVTRTable::GetLastAutoincValue(int32_t field_position) {
  CheckActive();
  return Handle()->GetLastAutoincValue(field_position);
}
