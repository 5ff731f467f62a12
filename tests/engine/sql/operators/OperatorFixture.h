#pragma once
// Operator trees over real tables: a database file in a scratch folder with
// tables made through table components, table nodes on them, and the rows
// a node gives once executed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/Database.h"
#include "engine/access/HeadlessUi.h"
#include "engine/access/Table.h"
#include "engine/access/VTRLocalEngine.h"
#include "engine/access/VTRMain.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/db/DB.h"
#include "engine/sql/operators/AOJoin.h"
#include "engine/sql/operators/AOTable.h"
#include "engine/sql/operators/AOTableExpr.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TableDefinitions.h"

struct ColumnSpec {
  std::string name;
  TVTRAdvancedDataType type;
  int32_t size = 0;
};

// Values as text, "NULL" for none; each is converted to its column's type.
using Row = std::vector<std::string>;
using Rows = std::vector<std::string>;

// A condition parsed as a statement parses WHERE and ON.
inline std::unique_ptr<TVTRSQLExpression> Condition(std::string_view text, const TVTRSQLParams* params = nullptr) {
  TVTRLexer lexer(text, params);
  lexer.NextCommand();
  auto condition = std::make_unique<TVTRSQLExpression>();
  condition->ParseSearchCondition(nullptr, lexer);
  return condition;
}

// Select-list items naming fields ("t.a" or "a").
inline std::vector<TVTRSelectListItem> Items(const std::vector<std::string>& names) {
  std::vector<TVTRSelectListItem> items;
  for (const std::string& name : names) {
    TVTRSelectListItem& item = items.emplace_back();
    const size_t dot = name.find('.');
    item.TableName = dot == std::string::npos ? "" : name.substr(0, dot);
    item.FieldName = dot == std::string::npos ? name : name.substr(dot + 1);
  }
  return items;
}

// A select list written as text: each entry is a field ("a", "t.a") or an
// expression, either with " AS alias". Expression items own their
// expression until a node takes it over.
class SelectList {
 public:
  SelectList(std::initializer_list<std::string_view> entries) {
    for (const std::string_view entry : entries) {
      TVTRSelectListItem& item = items.emplace_back();
      const size_t as = entry.find(" AS ");
      const std::string_view value = entry.substr(0, as);
      if (as != std::string_view::npos) item.Alias = entry.substr(as + 4);
      if (value.find_first_not_of("abcdefghijklmnopqrstuvwxyz_.0123456789") == std::string_view::npos &&
          !std::isdigit(static_cast<unsigned char>(value.front()))) {
        const size_t dot = value.find('.');
        item.TableName = dot == std::string_view::npos ? "" : value.substr(0, dot);
        item.FieldName = dot == std::string_view::npos ? value : value.substr(dot + 1);
        continue;
      }
      TVTRLexer& lexer = *lexers_.emplace_back(std::make_unique<TVTRLexer>(value, nullptr));
      lexer.NextCommand();
      auto expression = std::make_unique<TVTRSQLExpression>();
      expression->ParseValueExpression(nullptr, lexer);
      item.IsExpression = true;
      item.Expression = expression.release();
    }
  }
  ~SelectList() {
    for (TVTRSelectListItem& item : items) delete static_cast<TVTRSQLExpression*>(item.Expression);
  }
  SelectList(const SelectList&) = delete;
  SelectList& operator=(const SelectList&) = delete;

  std::vector<TVTRSelectListItem> items;

 private:
  std::vector<std::unique_ptr<TVTRLexer>> lexers_;
};

inline TVTRFields Fields(const std::vector<std::string>& names) {
  TVTRFields fields;
  for (const TVTRSelectListItem& item : Items(names)) fields.Add(item);
  return fields;
}

class OperatorTest : public ::testing::Test {
 protected:
  OperatorTest() {
    InitializeSQLEngine();
    CreateDatabaseFile(file_);
    database_.SetDatabaseName("d_main");
    database_.SetDatabaseFileName(file_);
    database_.Open();
  }

  static void CreateDatabaseFile(const std::string& file_name) {
    TVTRLocalSession session;
    session.DatabaseFileName = file_name;
    session.PageSize = 4096;
    session.PagesPerExtent = 8;
    session.CreateDatabase();
  }

  // A table with the columns and rows; `indexes` are (name, fields, options,
  // descending fields, case-insensitive fields).
  void CreateTable(const std::string& name, const std::vector<ColumnSpec>& columns, const std::vector<Row>& rows,
                   const std::vector<TVTRAdvIndexDef>& indexes = {}, const std::string& alias = "d_main") {
    TVTRTable table(&form_);
    table.SetDatabaseName(alias);
    table.SetTableName(name);
    for (const ColumnSpec& column : columns) {
      TVTRAdvFieldDef& field = table.AdvFieldDefs().AddFieldDef();
      field.Name = column.name;
      field.DataType = column.type;
      field.Size = column.size;
    }
    for (const TVTRAdvIndexDef& index : indexes) table.AdvIndexDefs().AddIndexDef().Assign(index);
    table.CreateTable();
    table.Open();
    for (const Row& row : rows) {
      table.Append();
      for (size_t i = 0; i < row.size(); ++i)
        if (row[i] != "NULL") table.Fields()[static_cast<int>(i)]->SetAsString(row[i]);
      table.Post();
    }
  }

  static TVTRAdvIndexDef Index(std::string name, std::string fields, uint8_t options = 0,
                               std::string desc_fields = {}, std::string case_ins_fields = {}) {
    TVTRAdvIndexDef index;
    index.Name = std::move(name);
    index.Fields = std::move(fields);
    index.Options = options;
    index.DescFields = std::move(desc_fields);
    index.CaseInsFields = std::move(case_ins_fields);
    return index;
  }

  std::unique_ptr<TVTRAOTable> Node(const std::string& table, const std::string& alias = {}) {
    return std::make_unique<TVTRAOTable>(table, "", false, false, "", "", "d_main", alias);
  }

  // t1 and t2 of the join cases, keyed on id.
  void CreateJoinTables() {
    CreateTable("t1", {{"id", adtInteger}, {"x", adtString, 10}},
                {{"1", "a"}, {"1", "b"}, {"2", "c"}, {"NULL", "d"}});
    CreateTable("t2", {{"id", adtInteger}, {"y", adtString, 10}},
                {{"1", "p"}, {"1", "q"}, {"3", "r"}, {"NULL", "s"}});
  }

  // The selected (else visible) columns of every row the node gives, joined
  // by "-", in the order read.
  static Rows Read(TVTRAO& node) {
    std::vector<int32_t> columns = node.SelectedColumns;
    if (columns.empty())
      for (int32_t i = 0; i < node.ColumnCount(); ++i)
        if (!node.Column(i).Hidden) columns.push_back(i);
    Rows rows;
    TVTRVariant value;
    for (node.FirstResult(); !node.EofResult(); node.NextResult()) {
      std::string row;
      for (const int32_t column : columns) {
        node.GetColumnValue(value, column, false);
        if (!row.empty()) row += '-';
        row += value.IsNull() ? "NULL" : value.GetAsString();
      }
      rows.push_back(row);
    }
    return rows;
  }

  static Rows Sorted(Rows rows) {
    std::ranges::sort(rows);
    return rows;
  }

  // The names of the tables in "TEMP" that begin with "TEMPORARY_".
  std::vector<std::string> TemporaryTables() {
    TVTRTable probe(nullptr);
    probe.SetTemporary(true);
    probe.SetDBFlag(dbfFieldDefs, true);
    TStringList names;
    probe.Database()->GetTableNames(names);
    probe.SetDBFlag(dbfFieldDefs, false);
    std::vector<std::string> temporary;
    for (int i = 0; i < names.Count(); ++i)
      if (names[i].starts_with("TEMPORARY_")) temporary.push_back(names[i]);
    return temporary;
  }

  TVTRHeadlessUi ui_;
  TVTREngineRuntime runtime_{ui_};
  ScratchFolder folder_;
  std::string file_ = folder_.File("dat_temple.vtr");
  TComponent form_{nullptr};
  TVTRDatabase database_{&form_};
};
