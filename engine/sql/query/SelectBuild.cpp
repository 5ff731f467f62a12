// The operator tree of one SELECT.
#include "engine/access/Database.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/operators/AOGroupBy.h"
#include "engine/sql/operators/AOJoin.h"
#include "engine/sql/operators/AOTable.h"
#include "engine/sql/operators/AOTableExpr.h"
#include "engine/sql/operators/AOTopRowCount.h"
#include "engine/sql/query/SQLSelect.h"
#include "engine/sql/query/SQLUnion.h"
#include "platform/rtl/TextCase.h"

namespace {

bool HasConjuncts(const std::unique_ptr<TVTRSQLExpression>& condition) {
  return condition && !condition->IsEmpty();
}

[[noreturn]] void RaiseHavingNotApplicable() {
  throw EVTRException(20244, "Having condition is not applicable");
}

[[noreturn]] void RaiseNotApplicable() {
  throw EVTRException(30144, "Search condition is not applicable");
}

}  // namespace

TVTRAOPtr TVTRSQLSelect::BuildAO(const TVTRQueryContext& query, bool request_live, TVTRAO* outer_ao,
                                 TVTRCursor* outer_cursor, bool allow_unapplied) {
  Query = query;
  const bool grouping = Groups();
  // HAVING filters groups: without grouping it would be silently ignored.
  if (HasConjuncts(Having) && !grouping) RaiseHavingNotApplicable();

  TVTRAOPtr tree = BuildFrom(query, outer_ao, outer_cursor, allow_unapplied);
  const std::span<TVTRSelectListItem> items = SelectAll ? std::span<TVTRSelectListItem>() : std::span(Items);
  if (grouping ? GroupsByComputedItem() : tree->IsBaseTable && ComputesExpressions()) {
    tree = std::make_unique<TVTRAOTableExpr>(std::move(tree));
    // The projection computes the key the grouping groups by.
    if (grouping) tree->ApplySelectList(items, false);
  }
  if (Where) {
    Where->PushDown(tree.get(), outer_ao, outer_cursor);
    // A lone stored table cannot test a subquery: a projection over it does.
    if (HasConjuncts(Where) && tree->IsBaseTable) {
      tree = std::make_unique<TVTRAOTableExpr>(std::move(tree));
      Where->PushDown(tree.get(), outer_ao, outer_cursor);
    }
  }
  if (grouping) {
    tree = std::make_unique<TVTRAOGroupBy>(std::move(tree), items, &GroupBy);
    if (Having) Having->PushDown(tree.get(), outer_ao, outer_cursor);
  }
  if (tree->HasProjection) tree = std::make_unique<TVTRAOTableExpr>(std::move(tree));
  // TOP takes the rows of the finished result: the node it wraps applies the
  // select list, so that aggregates and computed columns are there to keep.
  if (TopCount >= 0) {
    tree = std::make_unique<TVTRAOSQLTopRowCount>(std::move(tree));
    tree->SetTopRowCount(TopFirstRow, TopCount);
  }
  tree->ApplySelectList(items, Distinct);
  if (grouping && Having) {
    Having->PushDown(tree.get(), outer_ao, outer_cursor);
    if (HasConjuncts(Having) && !allow_unapplied) RaiseHavingNotApplicable();
  }
  ApplyOrderBy(*tree);
  if (Where) {
    Where->PushDown(tree.get(), outer_ao, outer_cursor);
    if (HasConjuncts(Where) && !allow_unapplied) RaiseNotApplicable();
  }
  if (!request_live && tree->IsBaseTable) {
    // The table node already gives distinct rows through its ordered index.
    Distinct = false;
    tree = std::make_unique<TVTRAOTableExpr>(std::move(tree));
    tree->ApplySelectList(items, false);
  }
  return tree;
}

TVTRAOPtr TVTRSQLSelect::BuildFrom(const TVTRQueryContext& query, TVTRAO* outer_ao, TVTRCursor* outer_cursor,
                                   bool allow_unapplied) {
  SubqueryConditionsLeft = false;
  TVTRAOPtr tree = BuildReference(*TableRefs.front(), query, outer_ao, outer_cursor, allow_unapplied);
  for (size_t i = 1; i < TableRefs.size(); ++i) {
    TVTRAOPtr node = BuildReference(*TableRefs[i], query, outer_ao, outer_cursor, allow_unapplied);
    TVTRFields first, second;
    const int32_t pairs = Where ? Where->ExtractJoinFields(tree.get(), node.get(), first, second) : 0;
    tree = std::make_unique<TVTRAOJoin>(std::move(tree), nullptr, &first, &second, false,
                                        pairs > 0 ? jtInner : jtCross, std::move(node));
  }
  return tree;
}

TVTRAOPtr TVTRSQLSelect::BuildReference(TVTRTableReference& reference, const TVTRQueryContext& query,
                                        TVTRAO* outer_ao, TVTRCursor* outer_cursor, bool allow_unapplied) {
  switch (reference.Kind) {
    case trkTable: {
      const TVTRDatabase* database = query.FindDatabase();
      return std::make_unique<TVTRAOTable>(reference.TableName, reference.Password,
                                           reference.InMemory || query.InMemory,
                                           database != nullptr && database->DisableTempFiles, query.SessionName,
                                           reference.ExternalFile, query.DatabaseName, reference.Alias);
    }
    case trkSubquery: {
      TVTRAOPtr node = reference.Subquery->BuildAO(query, true, outer_ao, outer_cursor, allow_unapplied);
      SubqueryConditionsLeft = SubqueryConditionsLeft || !reference.Subquery->ConditionsApplied();
      node->Alias = reference.Alias;
      return node;
    }
    case trkJoin:
      return BuildJoin(reference, query, outer_ao, outer_cursor, allow_unapplied);
  }
  throw EVTRException(10302, "Invalid table reference");
}

TVTRAOPtr TVTRSQLSelect::BuildJoin(TVTRTableReference& reference, const TVTRQueryContext& query,
                                   TVTRAO* outer_ao, TVTRCursor* outer_cursor, bool allow_unapplied) {
  TVTRAOPtr left = BuildReference(*reference.Left, query, outer_ao, outer_cursor, allow_unapplied);
  TVTRAOPtr right = BuildReference(*reference.Right, query, outer_ao, outer_cursor, allow_unapplied);
  TVTRJoinType type = reference.JoinType;
  const bool outer = type == jtLeft || type == jtRight || type == jtFull;
  TVTRFields first, second;
  if (!reference.Natural && type != jtCross) {
    if (!reference.UsingList.empty()) {
      TVTRSelectListItem pair;
      for (const std::string& name : reference.UsingList) {
        pair.FieldName = name;
        pair.TableName = reference.Left->TableName;
        first.Add(pair);
        pair.TableName = reference.Right->TableName;
        second.Add(pair);
      }
    } else if (reference.OnCondition) {
      reference.OnCondition->ExtractJoinFields(left.get(), right.get(), first, second);
    }
    if (type == jtInner && Where) Where->ExtractJoinFields(left.get(), right.get(), first, second);
    // An inner join without an equality pairs every row and filters.
    if (type == jtInner && first.Count() == 0) type = jtCross;
  }
  std::unique_ptr<TVTRSQLExpression> on_condition;
  if (outer && HasConjuncts(reference.OnCondition)) on_condition = std::move(reference.OnCondition);
  auto join = std::make_unique<TVTRAOJoin>(std::move(left), std::move(on_condition), &first, &second,
                                           reference.Natural, type, std::move(right));
  if (!outer && HasConjuncts(reference.OnCondition)) {
    reference.OnCondition->PushDown(join.get(), nullptr, nullptr);
    // A condition of the join that no node of it can test would be lost.
    if (HasConjuncts(reference.OnCondition) && !allow_unapplied) RaiseNotApplicable();
  }
  return join;
}

bool TVTRSQLSelect::Groups() const {
  if (GroupBy.Count() > 0) return true;
  if (SelectAll) return false;
  for (const TVTRSelectListItem& item : Items)
    if (item.IsExpression && item.Expression && static_cast<TVTRSQLExpression*>(item.Expression)->IsAggregated())
      return true;
  return false;
}

bool TVTRSQLSelect::GroupsByComputedItem() const {
  for (const TVTRSelectListItem& item : Items) {
    if (!item.IsExpression || !item.Expression || static_cast<TVTRSQLExpression*>(item.Expression)->IsAggregated())
      continue;
    for (const TVTRSelectListItem& entry : GroupBy.Items())
      if (SameText(item.Alias, entry.FieldName)) return true;
  }
  return false;
}

bool TVTRSQLSelect::ComputesExpressions() const {
  for (const TVTRSelectListItem& item : Items)
    if (item.IsExpression && item.Expression && !static_cast<TVTRSQLExpression*>(item.Expression)->IsAggregated())
      return true;
  return false;
}
