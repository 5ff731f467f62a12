#pragma once
// A table in a real database file, opened through the local session and
// cursor as a dataset opens it, for expressions to be evaluated on: filters
// and Locate through the cursor, parsed expressions on its rows.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/access/VTRLocalEngine.h"
#include "engine/sql/SQLEngineStartup.h"
#include "engine/sql/VTRExpressions.h"
#include "engine/storage/base/ResultCodes.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TableDefinitions.h"

struct Column {
  std::string name;
  TVTRAdvancedDataType type;
  int32_t size = 0;
};

// One value per column; a NULL value leaves the field NULL.
using Row = std::vector<TVTRVariant>;

inline TVTRVariant Text(std::string_view text) {
  TVTRVariant value;
  value.SetAsString(text);
  return value;
}

inline TVTRVariant Integer(int32_t number) {
  TVTRVariant value;
  value.SetAsInteger(number);
  return value;
}

inline TVTRVariant Null() {
  return TVTRVariant();
}

class ExpressionTable {
 public:
  ExpressionTable(const std::vector<Column>& columns, const std::vector<Row>& rows) {
    InitializeSQLEngine();
    session_.DatabaseName = "d_main";
    session_.DatabaseFileName = folder_.File("dat_temple.vtr");
    session_.MaxConnections = 4;
    session_.PageSize = 4096;
    session_.PagesPerExtent = 8;
    session_.CreateDatabase();
    session_.SetConnected(true);
    TVTRFieldDefs fields;
    for (const Column& column : columns) AddField(fields, column.name, column.type, column.size);
    cursor_.Session = &session_;
    cursor_.TableName = "T";
    cursor_.CreateTable(fields, TVTRIndexDefs(), TVTRConstraintDefs());
    cursor_.OpenTable(nullptr, nullptr, nullptr);
    cursor_.InitFieldDefs();
    record_.assign(static_cast<size_t>(cursor_.RecordBufferSize), 0);
    cursor_.CurrentRecord = record_.data();
    for (const Row& row : rows) Insert(row);
  }

  TVTRLocalCursor& Cursor() { return cursor_; }
  uint8_t* Record() { return record_.data(); }

  // The text of the column in every row the filter lets through ("NULL" for NULL).
  std::vector<std::string> Filtered(std::string_view filter, bool case_insensitive = false,
                                    bool partial_compare = false, int32_t column = 0) {
    cursor_.SetFilterText(filter, case_insensitive, partial_compare);
    std::vector<std::string> shown;
    cursor_.First();
    while (cursor_.GetRecord(fmNext) == grOK) shown.push_back(CurrentText(column));
    cursor_.ClearFilter();
    return shown;
  }

  // The text of the column in the row Locate finds, nullopt when it finds none.
  std::optional<std::string> Located(std::string_view fields, const Variant& values,
                                     bool case_insensitive = false, bool partial_key = false,
                                     int32_t column = 0) {
    cursor_.First();
    if (!cursor_.Locate(fields, values, case_insensitive, partial_key)) return std::nullopt;
    return CurrentText(column);
  }

  // Moves onto the row with that position (from 0).
  void ReadRow(int32_t position) {
    cursor_.First();
    for (int32_t i = 0; i <= position; ++i) ASSERT_EQ(cursor_.GetRecord(fmNext), grOK);
  }

  std::string CurrentText(int32_t column) {
    TVTRVariant value;
    cursor_.GetFieldValue(value, column, true);
    return value.IsNull() ? "NULL" : value.GetAsString();
  }

 private:
  void Insert(const Row& row) {
    cursor_.InitRecord(record_.data(), true);
    for (int32_t i = 0; i < static_cast<int32_t>(row.size()); ++i) {
      TVTRVariant value = row[i];
      if (IsBlobBaseType(cursor_.TableFieldDefs.GetFieldDef(i).BaseType) && !value.IsNull()) {
        const std::string text = value.GetAsString();
        TVTRStream* blob = cursor_.OpenBlob(true, false, i, bomWrite);
        blob->WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
        cursor_.CloseBlob(i);
      } else {
        cursor_.SetFieldValue(value, i, true, nullptr);
      }
    }
    cursor_.Post(true);
    ASSERT_EQ(cursor_.LastResult, kResultOK) << cursor_.LastErrorText;
  }

  ScratchFolder folder_;
  TVTRLocalSession session_;
  TVTRLocalCursor cursor_;
  std::vector<uint8_t> record_;
};

// An expression parsed from text, as the statements parse their values and
// conditions, with the lexer (and parameters) it was read from.
class ParsedExpression {
 public:
  // `params` may be nil.
  explicit ParsedExpression(std::string_view text, const TVTRSQLParams* params = nullptr)
      : lexer_(text, params) {
    lexer_.NextCommand();
  }

  TVTRSQLExpression& Value() {
    expression_.ParseValueExpression(nullptr, lexer_);
    return expression_;
  }
  TVTRSQLExpression& Condition() {
    expression_.ParseSearchCondition(nullptr, lexer_);
    return expression_;
  }
  TVTRLexer& Lexer() { return lexer_; }

 private:
  TVTRLexer lexer_;
  TVTRSQLExpression expression_;
};
