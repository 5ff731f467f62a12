#include "engine/sql/operators/AOTopRowCount.h"

TVTRAOSQLTopRowCount::TVTRAOSQLTopRowCount(TVTRAOPtr child) : TVTRAO(std::move(child), nullptr, "", "") {
  IsMaterialized = false;
  MirrorChildColumns();
}

void TVTRAOSQLTopRowCount::MirrorChildColumns() {
  Columns.clear();
  for (int32_t i = 0; i < Left->ColumnCount(); ++i) {
    const TVTRFieldLink& source = Left->Column(i);
    TVTRFieldLink& column = Columns.emplace_back();
    column.Name = source.Name;
    column.DisplayName = source.DisplayName;
    column.CopyShape(source);
    column.Hidden = source.Hidden;
    column.SourceNode = Left.get();
    column.SourceFieldNo = i;
  }
}

void TVTRAOSQLTopRowCount::ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) {
  Left->ApplySelectList(items, distinct);
  MirrorChildColumns();
  SelectedColumns = Left->SelectedColumns;
  HasProjection = true;
}
