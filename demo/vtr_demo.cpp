// A demonstration of the database engine, run by the README's first command
// until the two programs exist: it starts the engine runtime (with prompts
// answered without windows), creates a database file, opens it through a
// database component by its alias, creates a table with an index, fills it
// and reads it back through the component's engine session and a local
// cursor. Usage: vtr_demo [FILE] (default: demo.vtr in the temporary folder).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/access/HeadlessUi.h"
#include "engine/access/VTRLocalEngine.h"
#include "engine/access/VTRMain.h"

namespace {

struct Donation {
  const char* donor;
  double amount;
};

constexpr Donation kDonations[] = {
    {"Somchai", 500}, {"Anan", 1200}, {"Malee", 300}, {"Wichai", 2500}, {"Busaba", 750},
};

// Donate: ID autoincrement, Donor text, Amount; the index ByDonor.
void DefineDonate(TVTRFieldDefs& fields, TVTRIndexDefs& indexes) {
  const auto add = [&fields](const char* name, TVTRAdvancedDataType type, int32_t size) {
    TVTRFieldDef& field = fields.AddFieldDef();
    field.Name = name;
    field.SetDataType(type, size);
  };
  add("ID", adtAutoIncInteger, 0);
  add("Donor", adtString, 30);
  add("Amount", adtFloat, 0);
  TVTRIndexDef& by_donor = indexes.AddIndexDef();
  by_donor.Name = "ByDonor";
  by_donor.SetColumnCount(1);
  by_donor.GetColumn(0).FieldName = "Donor";
}

void CreateFile(const std::string& file_name) {
  TVTRLocalSession creator;
  creator.DatabaseFileName = file_name;
  creator.PageSize = 4096;
  creator.PagesPerExtent = 8;
  creator.MaxConnections = 16;
  creator.CreateDatabase();
}

void Run(const std::string& file_name) {
  CreateFile(file_name);
  TVTRDatabase database(nullptr);
  database.SetDatabaseName("d_demo");
  database.SetDatabaseFileName(file_name);
  database.MultiUser = true;
  database.Open();
  std::printf("Created database file %s and opened it as d_demo (pages of %d bytes, %d connection slots)\n",
              file_name.c_str(), database.PageSize, database.MaxConnections);

  TVTRLocalCursor cursor;
  cursor.Session = database.EngineSession();
  cursor.TableName = "Donate";
  TVTRFieldDefs fields;
  TVTRIndexDefs indexes;
  DefineDonate(fields, indexes);
  cursor.CreateTable(fields, indexes, TVTRConstraintDefs());
  std::printf("Created table Donate (ID autoincrement, Donor text, Amount) with the index ByDonor\n");

  cursor.OpenTable(nullptr, nullptr, nullptr);
  cursor.InitFieldDefs();
  std::vector<uint8_t> record(static_cast<size_t>(cursor.RecordBufferSize));
  cursor.CurrentRecord = record.data();
  for (const Donation& donation : kDonations) {
    cursor.InitRecord(record.data(), true);
    TVTRVariant donor;
    donor.SetAsString(donation.donor);
    cursor.SetFieldValue(donor, 1, true, nullptr);
    TVTRVariant amount;
    amount.SetAsDouble(donation.amount);
    cursor.SetFieldValue(amount, 2, true, nullptr);
    cursor.Post(true);
    if (cursor.LastResult != kResultOK) throw EVTREngineError(cursor.LastResult, cursor.LastErrorText);
  }
  std::printf("Inserted %lld donations, each committed as it was posted\n",
              static_cast<long long>(cursor.GetRecordCount()));

  cursor.SetIndexName("ByDonor");
  std::printf("Read back in the order of ByDonor:\n");
  double total = 0;
  cursor.First();
  while (cursor.GetRecord(fmNext) == grOK) {
    TVTRVariant id;
    cursor.GetFieldValue(id, 0, true);
    TVTRVariant donor;
    cursor.GetFieldValue(donor, 1, true);
    TVTRVariant amount;
    cursor.GetFieldValue(amount, 2, true);
    total += amount.GetAsDouble();
    std::printf("  %3d  %-10s %10.2f\n", id.GetAsInteger(), donor.GetAsString().c_str(),
                amount.GetAsDouble());
  }
  std::printf("  total           %10.2f\n", total);
  cursor.CloseTable();
  database.Close();
  std::printf("Closed the database\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string file_name =
      argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "demo.vtr").string();
  std::puts("Temple database engine demonstration");
  TVTRHeadlessUi ui;
  try {
    TVTREngineRuntime runtime(ui);
    Run(file_name);
  } catch (const std::exception& e) {
    std::printf("error: %s\n", ExceptionMessageUtf8(e).c_str());
    return 1;
  }
  return 0;
}
