#include "engine/sql/ddl/AlterTable.h"

#include "engine/access/DefConversions.h"
#include "engine/access/Table.h"
#include "engine/sql/processor/StatementWords.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/TextCase.h"

using namespace statement_words;

namespace {

constexpr const char* kActionExpected =
    "ADD, DROP or MODIFY keyword expected, but '%s' found at line %d, column %d";

// Whether the index sorts by any of the columns.
bool IndexUsesAny(const TVTRAdvIndexDef& index, const std::vector<std::string>& columns) {
  TStringList fields;
  SplitFieldNames(&fields, index.Fields);
  for (int i = 0; i < fields.Count(); ++i)
    for (const std::string& column : columns)
      if (SameText(fields[i], column)) return true;
  return false;
}

// An index cannot outlive a column it sorts by: the indexes over dropped
// columns go with them.
void DropIndexesOver(TVTRAdvIndexDefs& indexes, const std::vector<std::string>& columns) {
  TVTRAdvIndexDefs kept;
  for (int32_t i = 0; i < indexes.GetCount(); ++i)
    if (!IndexUsesAny(indexes.GetItem(i), columns)) kept.AddIndexDef().Assign(indexes.GetItem(i));
  indexes.Assign(kept, false);
}

}  // namespace

void TVTRDDLAlterTable::Parse() {
  if (!NextToken()) RaiseBlank(30261);
  ParseTableName();
  if (Token.kind != tktReservedWord) RaiseAtToken(30253, kActionExpected);
  if (AtWord(rwAdd) || AtWord(rwModify)) {
    AlterType = AtWord(rwAdd) ? TVTRAlterType::Add : TVTRAlterType::Modify;
    NextToken();
    ParseColumnDefinitions();
  } else if (AtWord(rwDrop)) {
    AlterType = TVTRAlterType::Drop;
    NextToken();
    NextToken();
    ReadNameList(DropNames);
  } else if (AtWord(rwRename)) {
    ParseRename();
  } else {
    RaiseAtToken(30252, kActionExpected);
  }
}

void TVTRDDLAlterTable::ParseRename() {
  NextToken();
  if (AtWord(rwTo)) {
    AlterType = TVTRAlterType::RenameTable;
    NewTableName = ReadNewName();
    return;
  }
  AlterType = TVTRAlterType::RenameColumn;
  if (AtWord(rwColumn)) NextToken();
  OldNames.push_back(Token.text);
  NextToken();
  if (!AtWord(rwTo)) RaiseTokenExpected(30352, "TO");
  NewNames.push_back(ReadNewName());
  NextToken();
}

std::string TVTRDDLAlterTable::ReadNewName() {
  ExpectNextToken(kAnyToken, 30161, {});
  return Token.text;
}

void TVTRDDLAlterTable::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  TVTRStatementTable made = MakeTable(query, false);
  TVTRTable& table = *made.Table;
  WithFailureAs(30265, "Error altering table: '%s'", [&] {
    table.Open();
    table.Close();
    switch (AlterType) {
      case TVTRAlterType::Add:
      case TVTRAlterType::Drop:
      case TVTRAlterType::Modify: {
        ChangeDefinitions(table);
        std::string log;
        if (!table.RestructureTable(log))
          throw EVTRException::CreateFmt(30347, "Restructure table error: '%s'", log);
        break;
      }
      case TVTRAlterType::RenameColumn:
        for (std::size_t i = 0; i < OldNames.size(); ++i) table.RenameField(OldNames[i], NewNames[i]);
        break;
      case TVTRAlterType::RenameTable:
        table.RenameTable(Cp874ToUtf8(NewTableName));
        break;
    }
  });
}

void TVTRDDLAlterTable::ChangeDefinitions(TVTRTable& table) const {
  TVTRAdvFieldDefs& columns = table.RestructureAdvFieldDefs();
  if (AlterType == TVTRAlterType::Drop) {
    for (const std::string& name : DropNames) columns.Delete(name);
    DropIndexesOver(table.RestructureAdvIndexDefs(), DropNames);
    return;
  }
  for (int32_t i = 0; i < FieldDefs.Count(); ++i) {
    const TSQLFieldDef& def = FieldDefs.Items(i);
    TVTRAdvFieldDef* existing = columns.Find(def.Name);
    if (AlterType == TVTRAlterType::Modify) {
      if (existing == nullptr) throw EVTRException::CreateFmt(30259, "Field '%s' not found", def.Name);
      CopyFieldAttributes(*existing, def);
    } else if (existing == nullptr) {
      CopyFieldAttributes(columns.AddFieldDef(), def);
    } else if (!def.IfNotExists) {
      throw EVTRException::CreateFmt(30351, "Field by name '%s' already exists", def.Name);
    }
  }
  BuildIndexDefs(table);
}

void TVTRDDLRenameTable::Parse() {
  if (AtEnd()) RaiseBlank(30354);
  AlterType = TVTRAlterType::RenameTable;
  ParseTableName();
  if (!AtWord(rwTo)) RaiseTokenExpected(30355, "TO");
  NewTableName = ReadNewName();
}
