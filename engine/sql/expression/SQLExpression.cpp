// Parsing, binding and evaluation of an expression.
#include "engine/sql/expression/SQLExpression.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/sql/nodes/ExprNodeField.h"
#include "engine/sql/parser/ExpressionParser.h"

TVTRSQLExpression::TVTRSQLExpression(TVTRExprNodePtr root) : root_(std::move(root)) {}

TVTRSQLExpression::~TVTRSQLExpression() = default;

void TVTRSQLExpression::Restart(TVTRCursor* cursor, const TVTRExpressionOptions& options) {
  root_.reset();
  cursor_ = cursor;
  options_ = options;
}

void TVTRSQLExpression::ParseFilter(TVTRCursor& cursor, std::string_view text, bool partial_compare,
                                    bool case_insensitive) {
  Restart(&cursor, {.case_insensitive = case_insensitive, .partial_compare = partial_compare});
  TVTRLexer lexer(text, nullptr);
  if (!lexer.NextCommand()) throw EVTRException(30119, "Blank SQL command");
  // The lexer goes with this call; nothing may keep reading it.
  struct LexerScope {
    TVTRLexer*& lexer;
    ~LexerScope() { lexer = nullptr; }
  } scope{lexer_};
  ParseSearchCondition(nullptr, lexer);
  // A filter is one condition: a token after it, in its command or in a
  // command after a ";", is a mistake in the text.
  if (token_.kind != tktNone || lexer.NextCommand()) {
    lexer.GetCurrentToken(token_);
    throw EVTRException::CreateFmt(20260, "End of SQL command expected, but '%s' found at line %d, column %d",
                                   token_.text, token_.line, token_.column);
  }
}

void TVTRSQLExpression::ReadCurrentToken(const TVTRQueryContext* query, TVTRLexer& lexer, int32_t missing_code) {
  query_ = query;
  lexer_ = &lexer;
  if (!lexer.GetCurrentToken(token_))
    throw EVTRException::CreateFmt(missing_code, "Unexpected end of SQL command found at line %d, column %d",
                                   token_.line, token_.column);
}

void TVTRSQLExpression::ParseSearchCondition(const TVTRQueryContext* query, TVTRLexer& lexer) {
  root_.reset();
  ReadCurrentToken(query, lexer, 30118);
  root_ = TVTRExpressionParser(lexer, token_, cursor_, options_, query_).ParseCondition();
  FlattenConjunction();
  if (cursor_) root_->Prepare();
}

void TVTRSQLExpression::ParseValueExpression(const TVTRQueryContext* query, TVTRLexer& lexer) {
  root_.reset();
  ReadCurrentToken(query, lexer, 30136);
  root_ = TVTRExpressionParser(lexer, token_, cursor_, options_, query_).ParseValue();
}

void TVTRSQLExpression::AssignCursor(TVTRCursor& cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  if (!root_) return;
  root_->AssignCursor(&cursor, outer_ao, outer_cursor);
  root_->Prepare();
}

void TVTRSQLExpression::AssignRecordBuffer(const uint8_t* record, int32_t outer_side) {
  // Preparing depends on types only, which a new record does not change.
  if (root_) root_->AssignRecordBuffer(record, outer_side);
}

TVTRVariant* TVTRSQLExpression::GetValue(bool keep_null) {
  if (!root_) return nullptr;
  TVTRVariant& value = root_->GetValue();
  if (value.IsNull() && !keep_null) {
    if (value.DataType() != bdtLogical) value.Clear(bdtLogical);
    value.SetAsLogical(false);
  }
  return &value;
}

bool TVTRSQLExpression::GetBooleanValue() {
  if (!root_) throw EVTRException(30110, "Value is Null");
  return GetValue(false)->GetAsLogical();
}

bool TVTRSQLExpression::IsEmpty() const {
  return !root_ || (AsAnd(*root_) && root_->OperandCount() == 0);
}

bool TVTRSQLExpression::IsAggregated() const {
  return root_ && root_->IsAggregated();
}

void TVTRSQLExpression::ResetAggregates() {
  if (root_) root_->ResetAggregate();
}

void TVTRSQLExpression::Accumulate() {
  if (root_) root_->Accumulate();
}

TVTRAdvancedDataType TVTRSQLExpression::GetDataType() {
  return root_ ? root_->GetDataType() : adtUnknown;
}

int32_t TVTRSQLExpression::GetDataSize() {
  return root_ ? root_->GetDataSize() : 0;
}

bool TVTRSQLExpression::IsField() const {
  return root_ && AsField(*root_);
}

void TVTRSQLExpression::GetFieldName(std::string& table_name, std::string& field_name) const {
  const TVTRExprNodeField* field = root_ ? AsField(*root_) : nullptr;
  if (!field) throw EVTRException(30198, "Node is not field");
  table_name = field->TableName();
  field_name = field->FieldName();
}
