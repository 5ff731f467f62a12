// The structure operations of TVTRTable. Each runs with a usage flag set, so
// the table is attached to its database for the time of the operation, and
// works through a short-lived cursor or the table's own.
#include "engine/access/Database.h"
#include "engine/access/DefConversions.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Table.h"
#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/db/Field.h"
#include "platform/os/RetryPolicy.h"
#include "platform/rtl/CodePage874.h"

namespace {

constexpr RetryPolicy kAddIndexLockRetry{50, 100};
constexpr int32_t kGuidSize = 38;

}  // namespace

std::unique_ptr<TVTRLocalCursor> TVTRTable::MaintenanceCursor() {
  std::unique_ptr<TVTRLocalCursor> cursor = NewCursor();
  cursor->ReadOnly = false;
  cursor->Exclusive = true;
  return cursor;
}

void TVTRTable::CheckNoTransaction(int32_t native_error, const char* operation) const {
  if (Database()->InTransaction())
    throw EVTRException::CreateFmt(native_error, "Cannot perform '%s' operation on a database in transaction",
                                   operation);
}

void TVTRTable::NormaliseExtendedFieldDefs() {
  for (int32_t i = 0; i < AdvFieldDefs().GetCount(); ++i) {
    TVTRAdvFieldDef& item = AdvFieldDefs().GetItem(i);
    const TVTRBaseDataType base = AdvancedTypeToBaseType(item.DataType);
    for (TVTRVariant* value : {&item.DefaultValue, &item.MinValue, &item.MaxValue}) {
      if (value->IsNull()) continue;
      if (value->GetAsString().empty())
        value->SetNull();
      else
        value->CastTo(base);
    }
    if (item.Size != 0 && !IsStringBaseType(base) && base != bdtBytes && base != bdtVarBytes) item.Size = 0;
    if (item.DataType == adtGuid) item.Size = kGuidSize;
  }
}

void TVTRTable::CheckExtendedFieldDefs() {
  const TVTRAdvFieldDefs& items = AdvFieldDefs();
  const std::string table = Utf8ToCp874(table_name_);
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    const TVTRAdvFieldDef& item = items.GetItem(i);
    if (IsStringOrBytesAdvancedType(item.DataType) && item.Size == 0) {
      throw EVTRException::CreateFmt(30453, "Cannot create table '%s' with field: %s %s(%d)", table, item.Name,
                                     std::string(GetBaseTypeName(AdvancedTypeToBaseType(item.DataType))),
                                     item.Size);
    }
    if (IsBlobAdvancedType(item.DataType) && item.BlobCompressionAlgorithm != 0 &&
        (item.BlobCompressionMode == 0 || item.BlobCompressionMode > 9)) {
      throw EVTRException::CreateFmt(
          20257, "Invalid BlobCompressionMode (must be in 1..9 range) for blob field '%s'. Cannot create table '%s'",
          item.Name, table);
    }
  }
}

void TVTRTable::CreateTable() {
  CheckInactive();
  CheckTableName();
  WithDBFlag(dbfStructure, [this] {
    const std::unique_ptr<TVTRLocalCursor> cursor = MaintenanceCursor();
    AddPersistentFieldDefs();
    if (AdvFieldDefs().GetCount() == 0) {
      for (int i = 0; i < FieldDefs().Count(); ++i) {
        if (FieldDefs()[i]->DataType() == ftGuid) FieldDefs()[i]->SetSize(kGuidSize);
      }
      FieldDefsToAdvFieldDefs(FieldDefs(), AdvFieldDefs());
    } else {
      NormaliseExtendedFieldDefs();
      AdvFieldDefsToFieldDefs(AdvFieldDefs(), FieldDefs());
    }
    CheckExtendedFieldDefs();
    if (AdvIndexDefs().GetCount() == 0)
      IndexDefsToAdvIndexDefs(IndexDefs(), AdvIndexDefs());
    else
      AdvIndexDefsToIndexDefs(AdvIndexDefs(), IndexDefs());
    AdvIndexDefsToEngineIndexDefs(AdvIndexDefs(), EngineIndexDefs(), FieldDefs());
    AdvFieldDefsToEngineDefs(AdvFieldDefs(), EngineFieldDefs(), EngineIndexDefs(), ConstraintDefs(), Temporary());
    CheckNoTransaction(20182, "CreateTable");
    cursor->CreateTable(EngineFieldDefs(), EngineIndexDefs(), ConstraintDefs());
  });
}

void TVTRTable::DeleteTable() {
  Close();
  CheckTableName();
  WithDBFlag(dbfStructure, [this] {
    const std::unique_ptr<TVTRLocalCursor> cursor = MaintenanceCursor();
    CheckNoTransaction(20183, "DeleteTable");
    cursor->DeleteTable();
  });
}

void TVTRTable::EmptyTable() {
  CheckInactive();
  WithDBFlag(dbfStructure, [this] { MaintenanceCursor()->EmptyTable(); });
}

void TVTRTable::RenameTable(const std::string& new_name) {
  CheckInactive();
  CheckTableName();
  WithDBFlag(dbfStructure, [&] {
    const std::unique_ptr<TVTRLocalCursor> cursor = MaintenanceCursor();
    CheckNoTransaction(20181, "RenameTable");
    cursor->RenameTable(Utf8ToCp874(new_name));
  });
  table_name_ = new_name;
}

void TVTRTable::RenameField(const std::string& old_name, const std::string& new_name) {
  CheckInactive();
  const bool was_exclusive = exclusive_;
  exclusive_ = true;
  try {
    Open();
    CheckNoTransaction(20179, "RenameField");
    Handle()->RenameField(old_name, new_name);
  } catch (...) {
    exclusive_ = was_exclusive;
    Close();
    throw;
  }
  exclusive_ = was_exclusive;
  Close();
}

void TVTRTable::AddIndex(const std::string& name, const std::string& fields, TIndexOptions options,
                         const std::string& desc_fields, const std::string& case_ins_fields) {
  if (!FieldDefs().Updated()) FieldDefs().Update();
  WithDBFlag(dbfIndexDefs, [&] {
    std::unique_ptr<TVTRLocalCursor> temporary;
    TVTRCursor* cursor = Handle();
    if (cursor != nullptr) {
      CheckBrowseMode();
      CursorPosChanged();
    } else {
      temporary = OpenTableCursor();
      cursor = temporary.get();
    }
    if (name.empty()) throw EVTRException::CreateFmt(20046, "Invalid index name '%s'", "");
    if (fields.empty()) throw EVTRException::CreateFmt(20047, "Cannot find index field '%s'", "");
    CheckNoTransaction(20175, "AddIndex");
    TVTRAdvIndexDefs items;
    items.AppendIndexDef(name, fields, static_cast<uint8_t>(options.Bits()), false, desc_fields, case_ins_fields,
                         "");
    TVTRIndexDefs index;
    AdvIndexDefsToEngineIndexDefs(items, index, FieldDefs());
    cursor->InitFieldDefs();
    if (!cursor->LockTable(tltExclusive, kAddIndexLockRetry.tries, kAddIndexLockRetry.delay_ms)) {
      throw EVTRException::CreateFmt(
          20228, "Cannot access table '%s' in exclusive mode. Probably the table is open by another user",
          cursor->TableName);
    }
    // Only the lock taken above is given back: a lock that did not come is
    // not the lock manager's to release.
    try {
      cursor->AddIndex(index.GetIndexDef(0));
    } catch (...) {
      try {
        cursor->UnlockTable(tltExclusive, false);
      } catch (...) {
        // The failure of the build is the one to report.
      }
      throw;
    }
    cursor->UnlockTable(tltExclusive, false);
  });
  IndexDefs().SetUpdated(false);
}

void TVTRTable::DeleteIndex(const std::string& name) {
  WithDBFlag(dbfIndexDefs, [&] {
    std::unique_ptr<TVTRLocalCursor> temporary;
    TVTRCursor* cursor = Handle();
    if (cursor != nullptr) {
      CheckBrowseMode();
    } else {
      temporary = OpenTableCursor();
      cursor = temporary.get();
    }
    CheckNoTransaction(20177, "DeleteIndex");
    cursor->InitFieldDefs();
    cursor->DeleteIndex(name);
  });
  IndexDefs().SetUpdated(false);
}
