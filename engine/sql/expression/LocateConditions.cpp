// The conditions of Locate and of searches for a field value.
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/expression/FieldList.h"
#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/sql/nodes/ExprNodeComparison.h"
#include "engine/sql/nodes/ExprNodeConst.h"
#include "engine/sql/nodes/ExprNodeField.h"

namespace {

TVTRExprNodePtr FieldComparison(TVTRCursor* cursor, std::string_view field_name, TVTRExprOperator op,
                                TVTRVariant value, const TVTRComparisonOptions& options) {
  return std::make_unique<TVTRExprNodeComparison>(
      op, options, std::make_unique<TVTRExprNodeField>(std::string(), std::string(field_name), cursor),
      std::make_unique<TVTRExprNodeConst>(std::move(value)));
}

TVTRVariant ValueOf(const Variant& key) {
  TVTRVariant value;
  value.SetAsVariant(key);
  return value;
}

}  // namespace

void TVTRSQLExpression::BuildLocateCondition(TVTRCursor& cursor, std::string_view key_fields,
                                             const Variant& key_values, bool case_insensitive,
                                             bool partial_key) {
  Restart(&cursor, {.case_insensitive = case_insensitive, .raw_null = false});
  TStringList names;
  SplitFieldList(names, key_fields);
  const int32_t value_count = key_values.IsArray() ? static_cast<int32_t>(key_values.Elements().size()) : 1;
  if (names.Count() != value_count)
    throw EVTRException::CreateFmt(30112, "Count of FieldNames (%d) not equal counts of KeyValues (%d)",
                                   names.Count(), value_count);
  // The key value is a prefix of the field's text with a partial key.
  const TVTRComparisonOptions options{
      .case_insensitive = case_insensitive,
      .raw_null = false,
      .prefix = partial_key ? TVTRPrefixOperand::Right : TVTRPrefixOperand::None,
  };
  const auto key = [&](int32_t i) {
    return FieldComparison(&cursor, names[i], eoEqual,
                           ValueOf(key_values.IsArray() ? key_values.Elements()[i] : key_values), options);
  };
  if (value_count == 1) {
    root_ = key(0);
  } else {
    auto conjunction = std::make_unique<TVTRExprNodeBoolean>(eoAnd);
    for (int32_t i = 0; i < value_count; ++i) conjunction->AppendOperand(key(i));
    root_ = std::move(conjunction);
  }
  root_->Prepare();
}

void TVTRSQLExpression::BuildFieldComparison(TVTRCursor* cursor, std::string_view field_name,
                                             const TVTRVariant& value, uint8_t comparison_operator) {
  Restart(cursor, {.raw_null = false});
  root_ = FieldComparison(cursor, field_name, static_cast<TVTRExprOperator>(comparison_operator), value,
                          {.raw_null = false});
  if (cursor) root_->Prepare();
}
