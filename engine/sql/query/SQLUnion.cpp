#include "engine/sql/query/SQLUnion.h"

#include "engine/sql/operators/AOUnion.h"
#include "engine/sql/processor/StatementWords.h"
#include "engine/sql/query/SQLSelect.h"

using namespace statement_words;

namespace {

TVTRUnionType UnionTypeOf(TVTRQueryOperation operation) {
  switch (operation) {
    case qoIntersect:
      return utIntersect;
    case qoExcept:
      return utExcept;
    default:
      return utUnion;
  }
}

}  // namespace

TVTRQueryExprNode::TVTRQueryExprNode() = default;
TVTRQueryExprNode::~TVTRQueryExprNode() = default;

TVTRSQLUnion::TVTRSQLUnion(TVTRLexer& lexer) : TVTRSQLCursorCommand(lexer) {}

TVTRSQLUnion::~TVTRSQLUnion() = default;

void TVTRSQLUnion::Parse() {
  Expression = ParseQueryExpression();
  ParseOrderBy();
  if (Expression->Operation == qoSelect) TakeIntoTarget(*Expression->Select);
}

std::unique_ptr<TVTRQueryExprNode> TVTRSQLUnion::ParseQueryExpression() {
  std::unique_ptr<TVTRQueryExprNode> node = ParseTerm();
  for (;;) {
    if (AtWord(rwUnion))
      node = Combine(std::move(node), qoUnion, false);
    else if (AtWord(rwExcept) || AtWord(rwMinus))
      node = Combine(std::move(node), qoExcept, false);
    else
      return node;
  }
}

std::unique_ptr<TVTRQueryExprNode> TVTRSQLUnion::ParseTerm() {
  std::unique_ptr<TVTRQueryExprNode> node = ParseOperand();
  while (AtWord(rwIntersect)) node = Combine(std::move(node), qoIntersect, true);
  return node;
}

std::unique_ptr<TVTRQueryExprNode> TVTRSQLUnion::ParseOperand() {
  auto node = std::make_unique<TVTRQueryExprNode>();
  if (Token.kind == tktLeftParenthesis) {
    NextToken();
    node = ParseQueryExpression();
    if (Token.kind == tktRightParenthesis) NextToken();
    return node;
  }
  if (!AtWord(rwSelect)) RaiseTokenExpected(30194, "SELECT");
  node->Select = std::make_unique<TVTRSQLSelect>(Lexer);
  node->Select->Query = Query;
  node->Select->Parse();
  GetCurrentToken();
  return node;
}

std::unique_ptr<TVTRQueryExprNode> TVTRSQLUnion::Combine(std::unique_ptr<TVTRQueryExprNode> left,
                                                         TVTRQueryOperation operation, bool term) {
  auto node = std::make_unique<TVTRQueryExprNode>();
  node->Operation = operation;
  NextToken();
  if (AtWord(rwAll)) {
    node->All = true;
    NextToken();
  }
  if (AtWord(rwCorresponding)) {
    node->Corresponding = true;
    NextToken();
    if (AtWord(rwBy)) {
      NextToken();
      if (Token.kind != tktLeftParenthesis) RaiseTokenExpected(30193, "(");
      NextToken();
      node->CorrespondingList = std::make_unique<std::vector<std::string>>();
      ReadNameList(*node->CorrespondingList);
      if (Token.kind == tktRightParenthesis) NextToken();
    }
  }
  node->Left = std::move(left);
  node->Right = term ? ParseOperand() : ParseTerm();
  return node;
}

bool TVTRSQLUnion::ConditionsApplied() const {
  const auto applied = [](const auto& self, const TVTRQueryExprNode& node) -> bool {
    if (node.Operation == qoSelect) return node.Select->ConditionsApplied();
    return self(self, *node.Left) && self(self, *node.Right);
  };
  return applied(applied, *Expression);
}

TVTRAOPtr TVTRSQLUnion::BuildAO(const TVTRQueryContext& query, bool request_live, TVTRAO* outer_ao,
                                TVTRCursor* outer_cursor, bool allow_unapplied) {
  Query = query;
  TVTRAOPtr root = BuildNode(*Expression, query, request_live, outer_ao, outer_cursor, allow_unapplied);
  ApplyOrderBy(*root);
  return root;
}

TVTRAOPtr TVTRSQLUnion::BuildNode(TVTRQueryExprNode& node, const TVTRQueryContext& query, bool request_live,
                                  TVTRAO* outer_ao, TVTRCursor* outer_cursor, bool allow_unapplied) {
  if (node.Operation == qoSelect)
    return node.Select->BuildAO(query, request_live, outer_ao, outer_cursor, allow_unapplied);
  TVTRAOPtr left = BuildNode(*node.Left, query, true, outer_ao, outer_cursor, allow_unapplied);
  TVTRAOPtr right = BuildNode(*node.Right, query, true, outer_ao, outer_cursor, allow_unapplied);
  TVTRFields names;
  TVTRSelectListItem name;
  if (node.CorrespondingList) {
    for (const std::string& field : *node.CorrespondingList) {
      name.FieldName = field;
      names.Add(name);
    }
  }
  return std::make_unique<TVTRAOUnion>(std::move(left), node.CorrespondingList ? &names : nullptr, !node.All,
                                       node.Corresponding, UnionTypeOf(node.Operation), std::move(right));
}
