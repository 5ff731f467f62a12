// Usage: table_helper FILE
// A second process on a database file made by CreateDonateDatabase, working
// through the components as a window does: a multi-user database component
// and a table component on "Donate" in the order of ByID. It prints "ready"
// (or "error CODE" and ends), then answers each line of standard input with
// one line:
//   insert ID DONOR AMOUNT   appends and posts: "0"
//   update ID AMOUNT         edits and posts the record: "0", or "missing"
//   amount ID                the record's amount as the table shows it now
//   edit ID                  puts the record into edit mode, which holds its
//                            record lock: "0", or "missing"
//   cancel                   leaves edit mode: "ok"
//   lock, unlock             holds or gives back the table's write lock, as
//                            a post in progress does: "ok" or "refused"
//   start, commit            the database's transaction: "ok"
//   close, open              the table: "ok"
// A refused change prints "error CODE" with the result code, an engine
// error its native code. Waits are capped short.
#include <sstream>
#include <string>

#include "engine/access/HeadlessUi.h"
#include "engine/access/VTRMain.h"
#include "platform/db/DB.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/access/helpers/LineServer.h"

namespace {

bool Find(TVTRTable& table, int32_t id) {
  table.Refresh();
  for (table.First(); !table.Eof(); table.Next())
    if (table.FieldByName("ID")->AsInteger() == id) return true;
  return false;
}

std::string Answer(TVTRDatabase& database, TVTRTable& table, const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "insert") {
    int32_t id = 0;
    std::string donor;
    double amount = 0;
    words >> id >> donor >> amount;
    table.Append();
    table.FieldByName("ID")->SetAsInteger(id);
    table.FieldByName("Donor")->SetAsString(donor);
    table.FieldByName("Amount")->SetAsFloat(amount);
    table.Post();
    return "0";
  }
  if (command == "update" || command == "amount" || command == "edit") {
    int32_t id = 0;
    words >> id;
    if (!Find(table, id)) return "missing";
    if (command == "amount") return table.FieldByName("Amount")->AsString();
    table.Edit();
    if (command == "edit") return "0";
    double amount = 0;
    words >> amount;
    table.FieldByName("Amount")->SetAsFloat(amount);
    table.Post();
    return "0";
  }
  if (command == "lock") return table.Handle()->LockTable(tltWrite, 1, 0) ? "ok" : "refused";
  if (command == "unlock") table.Handle()->UnlockTable(tltWrite, false);
  if (command == "start") database.StartTransaction();
  if (command == "commit") database.Commit(true);
  if (command == "cancel") table.Cancel();
  if (command == "close") table.Close();
  if (command == "open") table.Open();
  return "ok";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  SetRetryCaps({50, 2});
  TVTRHeadlessUi ui;
  TVTREngineRuntime runtime(ui);
  TVTRDatabase database(nullptr);
  TVTRTable table(nullptr);
  return ServeLines([&] {
    database.SetDatabaseName("d_main");
    database.SetDatabaseFileName(argv[1]);
    database.MultiUser = true;
    table.SetDatabaseName("d_main");
    table.SetTableName("Donate");
    table.SetIndexName("ByID");
    table.Open();
    return [&](const std::string& line) -> std::string {
      try {
        return Answer(database, table, line);
      } catch (const EVTREngineError& e) {
        table.Cancel();
        return "error " + std::to_string(e.ErrorCode);
      }
    };
  });
}
