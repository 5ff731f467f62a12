#pragma once
// TVTRSQLUnion: a query expression, one or more SELECTs combined with UNION,
// EXCEPT (or MINUS) and INTERSECT, with its own ORDER BY. The processor runs
// every statement that starts with SELECT or "(" through it; INSERT ...
// SELECT and the subqueries create one the same way (see CursorCommand.h).
//
//   query-expression := term {(UNION | EXCEPT | MINUS) [ALL] [CORRESPONDING [BY (names)]] term}
//   term             := operand {INTERSECT [ALL] [CORRESPONDING [BY (names)]] operand}
//   operand          := "(" query-expression ")" | SELECT ...
//
// Each SELECT reads its own ORDER BY, so an ORDER BY after the last SELECT
// of a set operation belongs to that SELECT; one for the whole expression
// follows a parenthesised expression.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/query/CursorCommand.h"

class TVTRSQLSelect;

enum TVTRQueryOperation : uint8_t { qoSelect = 0, qoUnion = 1, qoExcept = 2, qoIntersect = 3 };

struct TVTRQueryExprNode {
  TVTRQueryExprNode();
  ~TVTRQueryExprNode();
  TVTRQueryExprNode(const TVTRQueryExprNode&) = delete;
  TVTRQueryExprNode& operator=(const TVTRQueryExprNode&) = delete;

  TVTRQueryOperation Operation = qoSelect;
  std::unique_ptr<TVTRQueryExprNode> Left, Right;
  bool All = false;
  bool Corresponding = false;
  // The names after CORRESPONDING BY; nil without BY.
  std::unique_ptr<std::vector<std::string>> CorrespondingList;
  std::unique_ptr<TVTRSQLSelect> Select;  // a leaf's SELECT
};

class TVTRSQLUnion : public TVTRSQLCursorCommand {
 public:
  explicit TVTRSQLUnion(TVTRLexer& lexer);
  ~TVTRSQLUnion() override;

  // From the current SELECT or "(" on; the lexer is left on the first token
  // after the expression and its ORDER BY. An expression of one SELECT takes
  // over that SELECT's INTO target.
  void Parse() override;
  // True when every SELECT of the expression reports it.
  bool ConditionsApplied() const override;
  // A leaf builds its SELECT's tree; a set operation joins its two
  // operands' trees (built live) in a TVTRAOUnion; then ORDER BY.
  TVTRAOPtr BuildAO(const TVTRQueryContext& query, bool request_live, TVTRAO* outer_ao,
                    TVTRCursor* outer_cursor, bool allow_unapplied) override;

  std::unique_ptr<TVTRQueryExprNode> Expression;

 private:
  std::unique_ptr<TVTRQueryExprNode> ParseQueryExpression();
  std::unique_ptr<TVTRQueryExprNode> ParseTerm();
  std::unique_ptr<TVTRQueryExprNode> ParseOperand();
  // The operation word's ALL and CORRESPONDING [BY (names)], then the right
  // operand, combined with what was read so far.
  std::unique_ptr<TVTRQueryExprNode> Combine(std::unique_ptr<TVTRQueryExprNode> left,
                                             TVTRQueryOperation operation, bool term);
  TVTRAOPtr BuildNode(TVTRQueryExprNode& node, const TVTRQueryContext& query, bool request_live,
                      TVTRAO* outer_ao, TVTRCursor* outer_cursor, bool allow_unapplied);
};
