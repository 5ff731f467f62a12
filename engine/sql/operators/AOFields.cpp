// Column names, the select list and the resolution of field names.
#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/sql/operators/AO.h"
#include "platform/rtl/TextCase.h"

namespace {

bool NamedBefore(const std::vector<TVTRFieldLink>& columns, size_t before, const std::string& name) {
  for (size_t i = 0; i < before; ++i)
    if (SameText(columns[i].Name, name)) return true;
  return false;
}

bool QualifierNames(std::string_view qualifier, const TVTRAO& node) {
  return SameText(qualifier, node.TableName) || SameText(qualifier, node.Alias);
}

}  // namespace

std::string TVTRAO::NewExpressionName() const {
  return MakeUniqueName("Expr", [this](const std::string& name) { return NamedBefore(Columns, Columns.size(), name); });
}

void TVTRAO::MakeFieldNames() {
  for (int32_t i = 0; i < ColumnCount(); ++i) {
    Columns[i].Name = GetColumnFieldName(i, false);
    if (Columns[i].Name.empty()) Columns[i].Name = NewExpressionName();
  }
  MakeNamesUnique();
}

void TVTRAO::MakeNamesUnique() {
  for (size_t i = 1; i < Columns.size(); ++i) {
    std::string& name = Columns[i].Name;
    for (int counter = 1; NamedBefore(Columns, i, name); ++counter)
      name += counter == 1 ? "_1" : std::to_string(counter);
  }
}

int32_t TVTRAO::FindFields(std::string_view name, std::string_view qualifier, bool keep_hidden,
                           std::vector<int32_t>* columns, bool unhide) {
  if (IsBaseTable && !qualifier.empty() && !QualifierNames(qualifier, *this)) return 0;
  std::vector<int32_t> matches;
  const auto count = [&](int32_t column_no) {
    if (std::ranges::find(matches, column_no) != matches.end()) return;
    matches.push_back(column_no);
    if (columns) columns->push_back(column_no);
    if (unhide && !keep_hidden) Columns[column_no].Hidden = false;
  };
  const auto count_links = [&](TVTRAO* child, std::string_view child_name) {
    if (!child) return;
    std::vector<int32_t> found;
    child->FindFields(child_name, qualifier, keep_hidden, &found, unhide);
    for (int32_t i = 0; i < ColumnCount(); ++i)
      if (LinksTo(Columns[i], child) && std::ranges::find(found, Columns[i].SourceFieldNo) != found.end()) count(i);
  };
  if (name != "*") {
    count_links(Left.get(), name);
    count_links(Right.get(), name);
    for (int32_t i = 0; i < ColumnCount(); ++i) {
      const TVTRFieldLink& column = Columns[i];
      if (!SameText(column.Name, name) && !SameText(column.DisplayName, name)) continue;
      if (!qualifier.empty() && !QualifierNames(qualifier, *this)) continue;
      count(i);
      break;
    }
  } else if (IsBaseTable) {
    for (int32_t i = 0; i < ColumnCount(); ++i) count(i);
  } else {
    const bool show = !IsGrouping;
    const bool saved_unhide = unhide;
    unhide = unhide && show;
    count_links(Left.get(), "*");
    if (SameText(qualifier, TableName))
      for (int32_t i = 0; i < ColumnCount(); ++i)
        if (Columns[i].OwnsExpression()) count(i);
    count_links(Right.get(), "*");
    unhide = saved_unhide;
  }
  return static_cast<int32_t>(matches.size());
}

void TVTRAO::ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) {
  if (items.empty()) FindFields("*", "", false, &SelectedColumns, true);
  for (TVTRSelectListItem& item : items) {
    auto* expression = static_cast<TVTRSQLExpression*>(item.Expression);
    if (item.IsExpression && expression && (!expression->IsAggregated() || IsGrouping)) {
      AddComputedColumn(item);
      continue;
    }
    if (item.IsExpression) continue;
    const std::string name = item.AllFields ? "*" : item.FieldName;
    const size_t before = SelectedColumns.size();
    const int32_t n = FindFields(name, item.TableName, false, &SelectedColumns, true);
    if (n == 0) throw EVTRException::CreateFmt(10305, "Cannot find field %s", name);
    if (n > 1 && name != "*") SelectedColumns.resize(before + 1);
    if (SelectedColumns.size() == before + 1 && name != "*")
      Columns[SelectedColumns.back()].DisplayName = item.Alias.empty() ? item.FieldName : item.Alias;
  }
  std::string distinct_list;
  for (const int32_t column_no : SelectedColumns) {
    TVTRFieldLink& column = Columns[column_no];
    if (column.DisplayName.empty()) column.DisplayName = column.Name;
    if (!distinct_list.empty()) distinct_list += ';';
    distinct_list += column.Name;
  }
  if (distinct) SetDistinct(distinct_list);
  HasProjection = true;
}

void TVTRAO::AddComputedColumn(TVTRSelectListItem& item) {
  std::unique_ptr<TVTRSQLExpression> expression(static_cast<TVTRSQLExpression*>(item.Expression));
  item.Expression = nullptr;
  expression->AssignAO(this, nullptr, nullptr);
  TVTRFieldLink column;
  column.Name = item.Alias.empty() ? NewExpressionName() : item.Alias;
  column.DisplayName = column.Name;
  column.DataType = expression->GetDataType();
  column.Size = expression->GetDataSize();
  column.Precision = expression->GetPrecision();
  column.SourceNode = this;
  column.IsAggregated = expression->IsAggregated();
  column.Expression = std::move(expression);
  Columns.push_back(std::move(column));
  HasExpressionColumns = true;
  SelectedColumns.push_back(ColumnCount() - 1);
  if (IsGrouping) return;
  item.IsExpression = false;
  item.FieldName = Columns.back().Name;
}
