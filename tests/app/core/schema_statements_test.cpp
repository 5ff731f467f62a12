// The statement that makes a table of the schema, run through the SQL engine
// on a file of the test: compound and plain indexes, which the temple's own
// tables do not have, reach the file as defined.
#include <gtest/gtest.h>

#include <memory>

#include "app/core/FileConnection.h"
#include "app/core/SchemaStatements.h"
#include "engine/access/AdvIndexDefs.h"
#include "engine/access/Query.h"
#include "engine/access/Table.h"
#include "tests/app/core/support/TempleDatabaseTest.h"

namespace {

using SchemaStatement = TempleDatabaseTest;

TEST_F(SchemaStatement, MakesCompoundAndPlainIndexesAsDefined) {
  const TableDefinition definition{"offering",
                                   {{"bill_no", adtString, 11}, {"line_no", adtInteger}, {"given", adtDate}},
                                   {{"bill_line", "bill_no;line_no", kIndexUniqueBit}, {"given", "given", 0}}};
  FileConnection connection(database_file_);
  {
    const std::unique_ptr<TVTRQuery> query = connection.Query();
    query->SQL().SetText(CreateTableStatement(definition));
    query->ExecSQL();
  }
  const std::unique_ptr<TVTRTable> table = connection.Table("offering");
  table->Open();
  const TIndexDefs& indexes = table->IndexDefs();
  ASSERT_EQ(indexes.Count(), 2);
  const int compound = indexes.IndexOf("bill_line");
  ASSERT_GE(compound, 0);
  EXPECT_EQ(indexes[compound]->Fields(), "bill_no;line_no");
  EXPECT_TRUE(indexes[compound]->Options().Contains(ixUnique));
  const int plain = indexes.IndexOf("given");
  ASSERT_GE(plain, 0);
  EXPECT_EQ(indexes[plain]->Fields(), "given");
  EXPECT_FALSE(indexes[plain]->Options().Contains(ixUnique));
}

}  // namespace
