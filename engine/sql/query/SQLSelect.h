#pragma once
// TVTRSQLSelect: one SELECT (the set operations around it are the query
// expression's, SQLUnion.h) and the operator tree it builds: table nodes for
// the FROM items, joins for JOIN clauses and comma lists, a projection where
// expressions are computed, the select list with DISTINCT, ORDER BY, and the
// conditions pushed down to the lowest nodes that can test them.
//
// The parts: SQLSelect.cpp (the grammar of SELECT), TableReference.cpp (FROM
// items and joins), SelectBuild.cpp (BuildAO).
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sql/query/CursorCommand.h"
#include "engine/sql/query/TableReference.h"

class TVTRSQLSelect : public TVTRSQLCursorCommand {
 public:
  explicit TVTRSQLSelect(TVTRLexer& lexer);
  // Frees the select-list expressions no node has taken over.
  ~TVTRSQLSelect() override;

  // SELECT [ALL | DISTINCT] [TOP n [, first]] list [INTO ...] FROM refs
  // [WHERE c] [GROUP BY fields] [HAVING c] [ORDER BY items], from the
  // current SELECT on; the lexer is left on the token after it.
  void Parse() override;
  bool ConditionsApplied() const override;
  // The tree in its ordered steps: FROM items and joins, projection, WHERE
  // pushed down, [grouping], [TOP], the select list, HAVING, ORDER BY, the
  // conditions left over (30144), and a projection over a lone table unless
  // a live result is asked for. HAVING without grouping raises 20244
  // instead of being ignored.
  TVTRAOPtr BuildAO(const TVTRQueryContext& query, bool request_live, TVTRAO* outer_ao,
                    TVTRCursor* outer_cursor, bool allow_unapplied) override;

  bool Distinct = false;
  int32_t TopCount = -1;
  int32_t TopFirstRow = -1;
  bool SelectAll = false;
  // An expression item owns its expression until the select list is applied.
  std::vector<TVTRSelectListItem> Items;
  std::vector<std::unique_ptr<TVTRTableReference>> TableRefs;
  std::unique_ptr<TVTRSQLExpression> Where;
  TVTRFields GroupBy;
  std::unique_ptr<TVTRSQLExpression> Having;
  bool SubqueryConditionsLeft = false;

 private:
  void ParseSelectList();
  void ParseSelectItem();
  void ParseInto();
  void ParseFrom();
  // A condition from the current token on, select-list aliases resolved
  // unless the list is "*".
  std::unique_ptr<TVTRSQLExpression> ParseCondition();

  // ---- FROM items (TableReference.cpp).
  std::unique_ptr<TVTRTableReference> ParseTableReference();
  std::unique_ptr<TVTRTableReference> ParseTableItem();
  std::unique_ptr<TVTRTableReference> ParseParenthesizedReference();
  // Whether the current token starts a join; reads its words into `join`.
  bool ParseJoinWords(TVTRTableReference& join);
  void ParseJoinCondition(TVTRTableReference& join);

  // ---- Building (SelectBuild.cpp).
  TVTRAOPtr BuildFrom(const TVTRQueryContext& query, TVTRAO* outer_ao, TVTRCursor* outer_cursor,
                      bool allow_unapplied);
  TVTRAOPtr BuildReference(TVTRTableReference& reference, const TVTRQueryContext& query, TVTRAO* outer_ao,
                           TVTRCursor* outer_cursor, bool allow_unapplied);
  TVTRAOPtr BuildJoin(TVTRTableReference& reference, const TVTRQueryContext& query, TVTRAO* outer_ao,
                      TVTRCursor* outer_cursor, bool allow_unapplied);
  // Whether the statement groups: GROUP BY, or an aggregate in the list.
  bool Groups() const;
  // Whether an expression item is neither a plain field nor an aggregate.
  bool ComputesExpressions() const;
  // Whether GROUP BY names the alias of such an item.
  bool GroupsByComputedItem() const;
};
