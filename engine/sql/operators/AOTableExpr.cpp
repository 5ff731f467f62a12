#include "engine/sql/operators/AOTableExpr.h"

TVTRAOTableExpr::TVTRAOTableExpr(TVTRAOPtr child) : TVTRAO(std::move(child), nullptr, "", "") {
  IsMaterialized = false;
  const auto add = [this](int32_t child_column) {
    const TVTRFieldLink& source = Left->Column(child_column);
    TVTRFieldLink& column = Columns.emplace_back();
    column.Name = Left->HasProjection ? source.DisplayName : source.Name;
    column.CopyShape(source);
    column.Hidden = true;
    column.SourceNode = Left.get();
    column.SourceFieldNo = child_column;
  };
  if (Left->HasProjection) {
    for (const int32_t selected : Left->SelectedColumns) add(selected);
  } else {
    for (int32_t i = 0; i < Left->ColumnCount(); ++i) add(i);
  }
}
