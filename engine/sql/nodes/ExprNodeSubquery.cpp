#include "engine/sql/nodes/ExprNodeSubquery.h"

#include <atomic>

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRLexer.h"
#include "engine/sql/operators/AO.h"
#include "engine/sql/operators/ResultWriting.h"
#include "engine/sql/query/SQLUnion.h"
#include "platform/rtl/StringList.h"

namespace {

std::atomic<int64_t> subquery_runs{0};

// value OP row  ==  row MIRRORED(OP) value.
TVTRExprOperator Mirrored(TVTRExprOperator op) {
  switch (op) {
    case eoGreater:
      return eoLess;
    case eoLess:
      return eoGreater;
    case eoGreaterOrEqual:
      return eoLessOrEqual;
    case eoLessOrEqual:
      return eoGreaterOrEqual;
    default:
      return op;
  }
}

TVTRExprOperator Negated(TVTRExprOperator op) {
  switch (op) {
    case eoEqual:
      return eoNotEqual;
    case eoNotEqual:
      return eoEqual;
    case eoGreater:
      return eoLessOrEqual;
    case eoLessOrEqual:
      return eoGreater;
    case eoLess:
      return eoGreaterOrEqual;
    default:
      return eoLess;  // the negation of ">="
  }
}

// Errors of a name the subquery cannot reach from the outer input tried.
bool IsUnreachableName(const EVTRException& error) {
  const int32_t code = error.NativeError();
  return code == 10305 || code == 30197 || code == 30327;
}

// While the subquery runs, the outer cursor shows the outer row the node
// was given; its own record comes back however the run ends.
class OuterRow {
 public:
  OuterRow(TVTRCursor* cursor, const uint8_t* row) : cursor_(cursor), saved_(cursor ? cursor->CurrentRecord : nullptr) {
    if (cursor_ && row) cursor_->CurrentRecord = const_cast<uint8_t*>(row);
  }
  ~OuterRow() {
    if (cursor_) cursor_->CurrentRecord = saved_;
  }
  OuterRow(const OuterRow&) = delete;
  OuterRow& operator=(const OuterRow&) = delete;

 private:
  TVTRCursor* cursor_;
  uint8_t* saved_;
};

}  // namespace

// One reading of the result; a correlated subquery's statement goes with it.
class TVTRExprNodeSubquery::Reading {
 public:
  explicit Reading(TVTRExprNodeSubquery& node) : node_(node), result(node.Result()) {}
  ~Reading() {
    if (node_.correlated_) node_.statement_.reset();
  }
  Reading(const Reading&) = delete;
  Reading& operator=(const Reading&) = delete;

 private:
  TVTRExprNodeSubquery& node_;

 public:
  TVTRTable& result;
};

TVTRExprNodeSubquery::TVTRExprNodeSubquery(const TVTRQueryContext& query, TVTRLexer& lexer, bool one_column,
                                           bool one_row)
    : TVTRExprNode(eoNone),
      one_column_(one_column),
      one_row_(one_row),
      query_(query),
      lexer_(lexer),
      command_no_(lexer.GetCurrentCommandNo()),
      token_no_(lexer.GetCurrentTokenNo()) {
  TVTRSQLUnion(lexer).Parse();
}

TVTRExprNodeSubquery::~TVTRExprNodeSubquery() = default;

int64_t TVTRExprNodeSubquery::RunCount() {
  return subquery_runs.load();
}

std::unique_ptr<TVTRSQLUnion> TVTRExprNodeSubquery::Reread() {
  struct LexerPosition {
    TVTRLexer& lexer;
    const int32_t command = lexer.GetCurrentCommandNo();
    const int32_t token = lexer.GetCurrentTokenNo();
    ~LexerPosition() {
      lexer.SetCurrentCommandNo(command);
      lexer.SetCurrentTokenNo(token);
    }
  } kept{lexer_};
  lexer_.SetCurrentCommandNo(command_no_);
  lexer_.SetCurrentTokenNo(token_no_);
  auto statement = std::make_unique<TVTRSQLUnion>(lexer_);
  statement->Parse();
  return statement;
}

TVTRTable& TVTRExprNodeSubquery::Result() {
  if (statement_) return *statement_->GetResultDataSet();
  std::unique_ptr<TVTRSQLUnion> statement = Reread();
  {
    const OuterRow outer(outer_cursor_, outer_buffer_);
    bool read_only = true;
    statement->Execute(query_, false, true, read_only, outer_ao_, outer_cursor_);
  }
  ++subquery_runs;
  TVTRTable& result = *statement->GetResultDataSet();
  CheckShape(result);
  statement_ = std::move(statement);
  indexed_ = false;
  cache_valid_ = false;
  return result;
}

void TVTRExprNodeSubquery::CheckShape(TVTRTable& result) const {
  if (one_column_ && result.FieldCount() != 1)
    throw EVTRException::CreateFmt(20246, "Subquery must have only one result field, but subquery's FieldCount=%d",
                                   result.FieldCount());
  if (!one_row_) return;
  result.First();
  if (result.Eof()) throw EVTRException(20249, "Subquery must have one row, but it contains 0 rows");
  result.Next();
  if (!result.Eof()) throw EVTRException(20247, "Subquery must have only one row");
}

bool TVTRExprNodeSubquery::Search(TVTRTable& result, TVTRExprOperator op, const TVTRVariant& value) {
  TVTRCursor& cursor = *result.Handle();
  const TVTRRecordBuffer record(cursor);
  uint8_t* const shown = cursor.CurrentRecord;
  cursor.CurrentRecord = record.get();
  bool found;
  try {
    found = cursor.SearchByFieldValue(cursor.FieldDefs.GetFieldDef(0).Name, op, value);
  } catch (...) {
    cursor.CurrentRecord = shown;
    throw;
  }
  cursor.CurrentRecord = shown;
  return found;
}

TVTRVariant& TVTRExprNodeSubquery::GetValue() {
  const Reading reading(*this);
  reading.result.First();
  TVTRVariant value;
  reading.result.GetFieldVariant(value, 0, false);
  // The result may go with the reading: keep a copy.
  result_.Assign(value, true);
  return result_;
}

bool TVTRExprNodeSubquery::HasRows() {
  const Reading reading(*this);
  reading.result.First();
  return !reading.result.Eof();
}

bool TVTRExprNodeSubquery::Contains(const TVTRVariant& value) {
  if (!correlated_ && cache_valid_ && value.Compare(last_probe_, {}) == crEqual) return cached_answer_;
  const Reading reading(*this);
  if (!correlated_ && !indexed_) {
    // A kept result is searched once per probe: through an index on its first field.
    TStringList fields, directions, cases;
    fields.Add(reading.result.Handle()->FieldDefs.GetFieldDef(0).Name);
    directions.Add("ASC");
    cases.Add("CASE");
    std::string index_name;
    reading.result.CreateTemporaryIndex(fields, directions, cases, index_name);
    indexed_ = true;
  }
  const bool found = Search(reading.result, eoEqual, value);
  if (!correlated_) {
    cached_answer_ = found;
    last_probe_.Assign(value, true);
    cache_valid_ = true;
  }
  return found;
}

bool TVTRExprNodeSubquery::QuantifiedTest(TVTRExprOperator op, TVTRQuantifier quantifier,
                                          const TVTRVariant& value) {
  const Reading reading(*this);
  reading.result.First();
  if (reading.result.Eof()) return false;
  // A row that holds for ANY; for ALL, a row that breaks it.
  TVTRExprOperator probe = Mirrored(op);
  if (quantifier == qnAll) probe = Negated(probe);
  const bool found = Search(reading.result, probe, value);
  return quantifier == qnAll ? !found : found;
}

void TVTRExprNodeSubquery::AssignAO(TVTRAO* ao, TVTRAO*, TVTRCursor* outer_cursor) {
  outer_ao_ = ao;
  outer_cursor_ = outer_cursor;
  outer_buffer_ = nullptr;
}

void TVTRExprNodeSubquery::AssignCursor(TVTRCursor* cursor, TVTRAO* outer_ao, TVTRCursor*) {
  outer_ao_ = outer_ao;
  outer_cursor_ = cursor;
  outer_buffer_ = cursor ? cursor->CurrentRecord : nullptr;
}

void TVTRExprNodeSubquery::AssignRecordBuffer(const uint8_t* buffer, int32_t) {
  outer_buffer_ = buffer;
}

TVTRAdvancedDataType TVTRExprNodeSubquery::GetDataType() {
  const std::unique_ptr<TVTRSQLUnion> statement = Reread();
  const TVTRAOPtr tree = statement->BuildAO(query_, true, outer_ao_, outer_cursor_, true);
  return tree->GetColumnDataType(tree->GetSelectedColumn(0));
}

int32_t TVTRExprNodeSubquery::GetDataSize() {
  const std::unique_ptr<TVTRSQLUnion> statement = Reread();
  const TVTRAOPtr tree = statement->BuildAO(query_, true, outer_ao_, outer_cursor_, true);
  return tree->GetColumnSize(tree->GetSelectedColumn(0));
}

bool TVTRExprNodeSubquery::BuildsWith(TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  const std::unique_ptr<TVTRSQLUnion> statement = Reread();
  try {
    const TVTRAOPtr tree = statement->BuildAO(query_, true, outer_ao, outer_cursor, true);
  } catch (const EVTRException& error) {
    if (IsUnreachableName(error)) return false;
    throw;
  }
  return statement->ConditionsApplied();
}

bool TVTRExprNodeSubquery::CanEvaluateOn(TVTRAO* ao, TVTRAO*, TVTRCursor* outer_cursor) {
  // A stored table tests its filter inside the storage engine, where no
  // other query may open or create tables.
  if (ao && ao->IsBaseTable) return false;
  if (!BuildsWith(ao, outer_cursor)) return false;
  if (ao && correlated_ && BuildsWith(nullptr, nullptr)) correlated_ = false;
  return true;
}
