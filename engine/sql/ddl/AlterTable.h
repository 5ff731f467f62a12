#pragma once
// ALTER TABLE and RENAME TABLE: columns added, dropped or changed through
// one restructure of the table, a column or the table renamed. Every
// failure while the statement runs is reported as 30265 with the message
// of the failure.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/sql/ddl/TableManipulation.h"

enum class TVTRAlterType : uint8_t { Add = 0, Drop = 1, Modify = 2, RenameColumn = 3, RenameTable = 4 };

// ALTER TABLE [MEMORY] [file.]table ADD ( definitions ) | DROP [COLUMN|(] names
// | MODIFY ( definitions ) | RENAME [COLUMN] old TO new | RENAME TO newname.
class TVTRDDLAlterTable : public TVTRDDLTableManipulation {
 public:
  using TVTRDDLTableManipulation::TVTRDDLTableManipulation;
  void Parse() override;
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  TVTRAlterType AlterType = TVTRAlterType::Add;
  std::vector<std::string> DropNames;
  std::vector<std::string> OldNames;  // the column RENAME COLUMN changes
  std::vector<std::string> NewNames;  // its new name, at the same position
  std::string NewTableName;

 protected:
  // The token after TO, which must be there (30161): a new name.
  std::string ReadNewName();

 private:
  void ParseRename();
  // The changes of ADD, DROP and MODIFY on the open-and-closed table's
  // restructure definitions.
  void ChangeDefinitions(TVTRTable& table) const;
};

// RENAME [TABLE] [MEMORY] [file.]table TO newname; the processor has passed
// RENAME and TABLE.
class TVTRDDLRenameTable final : public TVTRDDLAlterTable {
 public:
  using TVTRDDLAlterTable::TVTRDDLAlterTable;
  void Parse() override;
};
