#pragma once
// TVTRSQLExpression: the SQL engine's expression: a tree of expression
// nodes with the lexer it was read from, the query that owns it, the cursor
// it is bound to and the options its comparisons were built with. Dataset
// filters, Locate and searches reach it through the storage engine's
// TVTRExpression; the SQL statements use the rest.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/foundation/VTRLexer.h"
#include "engine/sql/SelectListItem.h"
#include "engine/sql/expression/ExpressionOptions.h"
#include "engine/sql/nodes/ExprNode.h"
#include "engine/storage/base/Expression.h"

struct TVTRQueryContext;

class TVTRSQLExpression final : public TVTRExpression {
 public:
  TVTRSQLExpression() = default;
  // Takes over an existing tree (conjuncts handed to an operator node).
  explicit TVTRSQLExpression(TVTRExprNodePtr root);
  ~TVTRSQLExpression() override;

  // Binds the cursor, keeps the two options and parses the text as a
  // condition. A text without tokens raises 30119; tokens left after the
  // condition raise 20260, since they are no part of any filter.
  void ParseFilter(TVTRCursor& cursor, std::string_view text, bool partial_compare,
                   bool case_insensitive) override;
  // "=" comparisons, NULL equal to NULL, of the named fields with the key
  // value or the values of an array, joined by AND when there are several;
  // a partial key is a prefix of the field's text.
  void BuildLocateCondition(TVTRCursor& cursor, std::string_view key_fields, const Variant& key_values,
                            bool case_insensitive, bool partial_key) override;
  void BuildFieldComparison(TVTRCursor* cursor, std::string_view field_name, const TVTRVariant& value,
                            uint8_t comparison_operator) override;
  void AssignCursor(TVTRCursor& cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  // Allocates nothing: field references read the record in place.
  void AssignRecordBuffer(const uint8_t* record, int32_t outer_side) override;
  bool GetBooleanValue() override;
  bool IsEmpty() const override;
  // Each comparison or IS [NOT] NULL test at the root, or under root AND
  // nodes, is offered every index; a node that can use one adds a condition.
  void CollectScanConditions(const TVTRIndexDefs& index_defs, TVTRScanSearchConditionArray& conditions,
                             int32_t session_id) override;
  bool CanUseIndex(TVTRScanSearchCondition& condition, const TVTRIndexDef& index_def) override;
  void RemoveScanConditionNode(const TVTRScanSearchConditionArray& conditions, int32_t first,
                               int32_t second) override;
  // Takes ownership of the node.
  void AppendConjunct(TVTRExprNode* node) override;

  // Parses a condition from the lexer's current token on (none: 30118) and
  // flattens it; the lexer is left on the first token after it. Prepared
  // when a cursor is bound. `query` is the context of the statement the
  // expression belongs to, which its subqueries run in: it must outlive the
  // expression and be filled in before the statement runs. Without one a
  // subquery is refused (30199), as in dataset filters, and LASTAUTOINC
  // likewise.
  void ParseSearchCondition(const TVTRQueryContext* query, TVTRLexer& lexer);
  // Parses a value expression (no current token: 30136); when nothing can
  // be read the expression stays empty for the caller to report.
  void ParseValueExpression(const TVTRQueryContext* query, TVTRLexer& lexer);

  // The root's value, owned by the root until its next evaluation; nil
  // without a root. Unless keep_null, a NULL becomes False in place.
  TVTRVariant* GetValue(bool keep_null);
  bool IsAggregated() const;
  void ResetAggregates();
  void Accumulate();
  // 0 without a root.
  TVTRAdvancedDataType GetDataType();
  int32_t GetDataSize();
  int32_t GetPrecision() const { return 0; }
  bool IsField() const;
  // Another root raises 30198.
  void GetFieldName(std::string& table_name, std::string& field_name) const;

  // A root AND node takes the operands of the AND nodes among its operands
  // in their place (appended at its end).
  void FlattenConjunction();
  void MatchSelectList(std::span<const TVTRSelectListItem> items);

  // ---- The operator tree (OperatorBinding.cpp).
  // Field references bind to the columns of `ao`, else of `outer_ao`;
  // correlated ones to `outer_cursor`. A field found nowhere raises 30197.
  void AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // Gives every conjunct to the deepest node of the tree under `ao` that
  // supplies all its fields; the inputs of an outer join receive nothing.
  // What no node can take stays here.
  void PushDown(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // Takes out the "=" conjuncts between a field of each input, appending
  // their first operands' fields to `first_fields` and their second
  // operands' to `second_fields`; returns how many were taken. A field found
  // more than once in the two inputs raises 10404 or 10405.
  int32_t ExtractJoinFields(TVTRAO* left_ao, TVTRAO* right_ao, TVTRFields& first_fields,
                            TVTRFields& second_fields);

  TVTRExprNode* Root() const { return root_.get(); }
  // Hands the tree over; the expression is empty afterwards.
  TVTRExprNodePtr TakeRoot() { return std::move(root_); }
  const TVTRQueryContext* OwningQuery() const { return query_; }

 private:
  // Frees the tree and binds the cursor, for a new condition of its fields.
  void Restart(TVTRCursor* cursor, const TVTRExpressionOptions& options);
  void ReadCurrentToken(const TVTRQueryContext* query, TVTRLexer& lexer, int32_t missing_code);
  // The comparison or IS [NOT] NULL nodes at the root or under root AND nodes.
  std::vector<TVTRExprNode*> IndexCandidates() const;

  TVTRLexer* lexer_ = nullptr;  // not owned; nil once a filter's own lexer is gone
  TToken token_;
  TVTRCursor* cursor_ = nullptr;
  const TVTRQueryContext* query_ = nullptr;
  TVTRExprNodePtr root_;
  TVTRExpressionOptions options_;
};
