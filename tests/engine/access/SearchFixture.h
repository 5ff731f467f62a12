#pragma once
// Table components searched through the engine, with the fake expression
// standing in for the SQL engine's filters and Locate conditions.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/storage/base/Expression.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/base/FakeExpression.h"

class SearchTest : public TableTest {
 protected:
  SearchTest() {
    RegisterExpressionFactory([] { return std::make_unique<FakeExpression>(); });
  }
  ~SearchTest() override { RegisterExpressionFactory(nullptr); }

  // The IDs of the records the dataset shows, from its first.
  static std::vector<int32_t> Shown(TVTRTable& table) {
    table.First();
    return IdsFromHere(table);
  }

  // The table "Line" (MASTER_ID, LINE, TEXT) with the index ByMaster on
  // (MASTER_ID, LINE) and ByMasterText on (MASTER_ID, TEXT); the IDs of the
  // rows are MASTER_ID * 10 + LINE in the field ID.
  void CreateLines(const std::vector<std::vector<int32_t>>& lines) {
    auto table = Table("Line");
    table->FieldDefs().Add("ID", ftInteger);
    table->FieldDefs().Add("MASTER_ID", ftInteger);
    table->FieldDefs().Add("LINE", ftInteger);
    table->FieldDefs().Add("TEXT", ftString, 10);
    table->IndexDefs().Add("ByMaster", "MASTER_ID;LINE", TIndexOptions{ixUnique});
    table->IndexDefs().Add("ByMasterText", "MASTER_ID;TEXT");
    table->CreateTable();
    table->Open();
    for (const std::vector<int32_t>& line : lines) {
      table->Append();
      table->FieldByName("ID")->SetAsInteger(line[0] * 10 + line[1]);
      table->FieldByName("MASTER_ID")->SetAsInteger(line[0]);
      table->FieldByName("LINE")->SetAsInteger(line[1]);
      table->FieldByName("TEXT")->SetAsString("t" + std::to_string(line[1]));
      table->Post();
    }
  }
};
