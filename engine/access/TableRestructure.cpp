// Restructuring a table: it moves aside under a scratch name, a new table
// takes its name with the restructure definitions, the records are copied
// field by field through the fields' object IDs, and the old table goes.
// Any failure or a stop puts the old table back, so that a table is never
// left half converted.
#include <memory>

#include "engine/access/Database.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/UniqueName.h"
#include "platform/rtl/Format.h"

namespace {

constexpr int32_t kInTransaction = 20180;
constexpr int32_t kCreateInTransaction = 20182;

}  // namespace

bool TVTRTable::RestructureTable(std::string& log) {
  CheckInactive();
  CheckTableName();
  const std::string saved_name = table_name_;
  std::string old_name;
  // Refused before anything moves: inside a transaction the rename would be
  // refused too, and the table must stay as it is.
  WithDBFlag(dbfStructure, [&] {
    CheckNoTransaction(kInTransaction, "RestructureTable");
    old_name = MakeUniqueName("OLD_" + saved_name + "_",
                              [this](const std::string& name) { return Database()->TableExists(name); });
  });
  RenameTable(old_name);

  auto rebuilt = std::make_unique<TVTRTable>(Owner());
  rebuilt->SetSessionName(SessionName());
  rebuilt->SetTableName(saved_name);
  rebuilt->SetInMemory(InMemory());
  if (Temporary()) rebuilt->SetTemporary(true);
  rebuilt->SetDatabaseName(DatabaseName());
  rebuilt->AdvFieldDefs().Assign(RestructureAdvFieldDefs());
  rebuilt->AdvIndexDefs().Assign(RestructureAdvIndexDefs(), false);
  // The old table back under its name, the new one gone.
  const auto undo = [&] {
    rebuilt->Close();
    Close();
    if (table_name_ == saved_name) return;
    if (rebuilt->Exists()) rebuilt->DeleteTable();
    RenameTable(saved_name);
  };

  try {
    try {
      rebuilt->CreateTable();
    } catch (const std::exception& error) {
      log += Format("Error restructuring table. Cannot create table due to error: %s\r\n",
                    ExceptionMessageUtf8(error));
      const auto* engine_error = dynamic_cast<const EVTRException*>(&error);
      const bool in_transaction = engine_error != nullptr && engine_error->NativeError() == kCreateInTransaction;
      undo();
      if (in_transaction)
        throw EVTRException::CreateFmt(kInTransaction, "Cannot perform '%s' operation on a database in transaction",
                                       "RestructureTable");
      return false;
    }
    rebuilt->Open();
    TVTRAdvFieldDefs target;
    target.Assign(RestructureAdvFieldDefs());
    Open();
    RestructureAdvFieldDefs().Assign(target);
    TVTRProgressEvents events(this, BeforeRestructure, OnRestructureProgress, AfterRestructure,
                              "Restructure Table...", Database()->SilentMode);
    events.Before();
    bool copied;
    try {
      bool go_on = true;
      copied = BatchCopy(*this, *rebuilt, log, go_on, false, true, events.Progress(), 0, 99);
    } catch (...) {
      CleaningUp([&] { events.After(); });
      throw;
    }
    events.After();
    rebuilt->Close();
    Close();
    if (!copied) {
      undo();
      return false;
    }
  } catch (...) {
    CleaningUp(undo);
    throw;
  }
  bool answer = true;
  try {
    DeleteTable();
  } catch (const std::exception& error) {
    log += Format("Error restructuring table. Cannot delete table due to error: %s\r\n", ExceptionMessageUtf8(error));
    answer = false;
  }
  table_name_ = saved_name;
  return answer;
}
