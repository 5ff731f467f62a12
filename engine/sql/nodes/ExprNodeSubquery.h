#pragma once
// TVTRExprNodeSubquery: a SELECT inside an expression: a scalar subquery,
// the list of IN, the rows of EXISTS or the values a quantified comparison
// (ANY, SOME, ALL) tests.
//
// The node keeps no parsed statement between runs: it remembers where its
// SELECT stands in the lexer and parses the text again whenever it needs the
// statement, because a built statement is consumed by building its tree.
//
// A subquery is correlated (it reads the outer row) until CanEvaluateOn
// proves otherwise. A correlated subquery runs for every reading and its
// statement and result are freed after it; an uncorrelated one runs once
// and keeps its result until the node is freed with its expression. So no
// result of a subquery outlives the query in "TEMP".
#include <cstdint>
#include <memory>

#include "engine/sql/nodes/ExprNodeComparison.h"

class TVTRLexer;
class TVTRSQLUnion;
class TVTRTable;
struct TVTRQueryContext;

class TVTRExprNodeSubquery : public TVTRExprNode {
 public:
  // At the SELECT token: reads the subquery once, only to move the lexer
  // past it (its syntax errors pass through). The context is the statement's
  // and must be filled in before the subquery runs.
  TVTRExprNodeSubquery(const TVTRQueryContext& query, TVTRLexer& lexer, bool one_column, bool one_row);
  ~TVTRExprNodeSubquery() override;

  // The scalar value: the first field of the only row.
  TVTRVariant& GetValue() override;
  void AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  // The cursor's current record becomes the outer row.
  void AssignCursor(TVTRCursor* cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  void AssignRecordBuffer(const uint8_t* buffer, int32_t outer_side) override;
  // The first selected column's type and size, from a tree built and freed.
  TVTRAdvancedDataType GetDataType() override;
  int32_t GetDataSize() override;
  // Whether every condition of the subquery finds a node with `ao` as its
  // outer input; when it does without any outer input too, the subquery is
  // uncorrelated from then on. Never a stored table's node: its filter runs
  // inside the storage engine, where the subquery could not run.
  bool CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  // EXISTS: the result has a row.
  bool HasRows();
  // IN: a row's first field equals the value (exactly, case-sensitively).
  // The value is never NULL: IN gives NULL for a NULL value without asking,
  // and a NULL row matches nothing. An uncorrelated subquery answers a
  // repeated probe from the last answer and searches through an index.
  bool Contains(const TVTRVariant& value);
  // value OP ANY / ALL (rows): an empty result gives false for both.
  bool QuantifiedTest(TVTRExprOperator op, TVTRQuantifier quantifier, const TVTRVariant& value);

  bool Correlated() const { return correlated_; }
  // How many times subqueries have run in this process (a test hook).
  static int64_t RunCount();

 private:
  class Reading;
  // A new statement parsed from the remembered position; the lexer's own
  // position is kept.
  std::unique_ptr<TVTRSQLUnion> Reread();
  // Runs the subquery unless its kept result answers; checks its shape
  // (20246, 20249, 20247).
  TVTRTable& Result();
  // A tree of the subquery with the outer input; whether every condition found a node.
  bool BuildsWith(TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  void CheckShape(TVTRTable& result) const;
  // Whether a row's first field stands in the relation to the value (NULL
  // equal to NULL and before every value; case-sensitive).
  static bool Search(TVTRTable& result, TVTRExprOperator op, const TVTRVariant& value);

  bool one_column_;
  bool one_row_;
  const TVTRQueryContext& query_;
  TVTRLexer& lexer_;
  TVTRAO* outer_ao_ = nullptr;
  TVTRCursor* outer_cursor_ = nullptr;
  const uint8_t* outer_buffer_ = nullptr;
  int32_t command_no_;
  int32_t token_no_;
  std::unique_ptr<TVTRSQLUnion> statement_;  // the run whose result is kept
  bool indexed_ = false;                     // the kept result has an index on its first field
  bool cache_valid_ = false;
  bool cached_answer_ = false;
  TVTRVariant last_probe_;
  bool correlated_ = true;
};
