#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/storage/memory/MemoryDatabaseData.h"
#include "engine/storage/temp/TemporaryDatabaseData.h"
#include "engine/storage/temp/TemporaryMemoryBudget.h"
#include "tests/engine/storage/common/TableCursor.h"
#include "tests/engine/storage/common/TestSession.h"
#include "tests/support/ScratchFolder.h"

namespace {

// Makes a folder the working folder for the scope's lifetime.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~ScopedWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

// A table of an integer field A, indexed, and a BLOB field M, filled with
// enough records and values to spill a temporary table.
void FillTable(TVTRDatabaseData& database, TVTRBaseSession& session) {
  TVTRFieldDefs fields;
  AddIntegerFields(fields, {"A"});
  TVTRFieldDef& blob = fields.AddFieldDef();
  blob.Name = "M";
  blob.SetDataType(adtBlob, 0);
  TVTRIndexDefs indexes;
  AddIndexDefs(indexes, {{"IA", {"A"}}});
  TVTRConstraintDefs constraints;
  TestCursor creator;
  creator.TableName = "SCRATCH";
  creator.Session = &session;
  TVTRTableData* table = database.CreateTableData(creator);
  table->CreateTable(creator, fields, indexes, constraints);
  TableCursor cursor(*table, session);
  const std::string value(3000, 'v');
  for (int32_t a = 0; a < 20000; ++a) {
    cursor.SetValues({a});
    if (a % 100 == 0) {
      std::unique_ptr<TVTRStream> stream = table->OpenBlob(*cursor, true, 1, bomWrite);
      stream->WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
      table->SaveBlob(*cursor, 1, *stream);
    }
    ASSERT_TRUE(table->InsertRecord(*cursor));
  }
  EXPECT_EQ(cursor.WalkValues().size(), 20000u);
}

TEST(ProcessDatabases, NeverMakeAFileInTheWorkingFolder) {
  ScratchFolder working;
  ScratchFolder temporary;
  {
    ScopedTemporaryFolder temporary_scope(temporary.Path());
    ScopedWorkingFolder working_scope(working.Path());
    SetTemporaryMemoryBudget(4096);
    TestSession session;
    {
      TVTRTemporaryDatabaseData temp;
      TVTRMemoryDatabaseData memory;
      FillTable(temp, session);
      FillTable(memory, session);
      EXPECT_FALSE(temporary.Files().empty()) << "the temporary table spilled";
    }
    SetTemporaryMemoryBudget(0);
  }
  EXPECT_EQ(working.Files(), std::vector<std::string>{});
  EXPECT_EQ(temporary.Files(), std::vector<std::string>{}) << "spill files go with their tables";
}

}  // namespace
