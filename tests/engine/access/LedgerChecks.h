#pragma once
// What a reader checks in a ledger table (LedgerTable.h) after other
// processes changed it or died while changing it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/RecordIndex.h"
#include "tests/engine/access/LedgerTable.h"

// The rows of the table by ID, as a scan in storage order finds them.
inline std::map<int32_t, LedgerRow> ScannedRows(TVTRLocalSession& session, const std::string& table) {
  LedgerCursor cursor(session, table);
  std::map<int32_t, LedgerRow> rows;
  for (const auto& [where, row] : cursor.All("")) EXPECT_TRUE(rows.emplace(row.id, row).second) << row.id;
  return rows;
}

// Checks that the table is whole: every index passes CheckIntegrity and
// lists exactly the records that a scan in storage order finds (the unique
// one in strictly rising IDs), no ID is stored twice, and the record count
// agrees. Answers the rows by ID.
inline std::map<int32_t, LedgerRow> CheckedRows(TVTRLocalSession& session, const std::string& table) {
  LedgerCursor cursor(session, table);
  const auto stored = cursor.All("");
  EXPECT_EQ(cursor.Cursor().GetRecordCount(), static_cast<int64_t>(stored.size())) << table;
  std::map<std::pair<int32_t, uint16_t>, LedgerRow> by_place;
  std::map<int32_t, LedgerRow> rows;
  for (const auto& [where, row] : stored) {
    by_place.emplace(std::make_pair(where.PageNo, where.SlotNo), row);
    EXPECT_TRUE(rows.emplace(row.id, row).second) << table << ": ID " << row.id << " stored twice";
  }
  TVTRTableData& data = *cursor.Cursor().TableData;
  for (int32_t i = 0; i < data.IndexManager->IndexDefs.GetCount(); ++i) {
    const TVTRIndexDef& def = data.IndexManager->IndexDefs.GetIndexDef(i);
    auto& index = dynamic_cast<TVTRBTreeRecordIndex&>(data.IndexManager->GetIndexByID(def.ObjectID));
    EXPECT_NO_THROW(index.CheckIntegrity(session.SessionID)) << table << "." << def.Name;
    const auto listed = cursor.All(def.Name);
    EXPECT_EQ(listed.size(), stored.size()) << table << "." << def.Name;
    int32_t previous_id = INT32_MIN;
    for (const auto& [where, row] : listed) {
      const auto found = by_place.find({where.PageNo, where.SlotNo});
      EXPECT_TRUE(found != by_place.end() && found->second == row)
          << table << "." << def.Name << " lists a record that is not stored: ID " << row.id;
      if (def.Name == "ByID") {
        EXPECT_LT(previous_id, row.id) << table << ".ByID out of order";
        previous_id = row.id;
      }
    }
  }
  cursor.Cursor().SetIndexName("");
  return rows;
}
