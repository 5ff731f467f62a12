#include "engine/sql/operators/ConvertedColumn.h"

#include "engine/foundation/ValueConversion.h"
#include "engine/sql/nodes/ExprNodeCast.h"
#include "engine/sql/nodes/ExprNodeField.h"
#include "engine/sql/nodes/ScanKeys.h"
#include "engine/sql/operators/AOTableExpr.h"

TVTRAdvancedDataType CommonKeyType(TVTRAdvancedDataType first, TVTRAdvancedDataType second) {
  if (SameTypeFamily(AdvancedTypeToBaseType(first), AdvancedTypeToBaseType(second))) return adtUnknown;
  return ChooseResultDataType(first, second, false);
}

int32_t ProjectedColumn(const TVTRAO& projection, int32_t child_column) {
  for (int32_t i = 0; i < projection.ColumnCount(); ++i)
    if (projection.Column(i).SourceFieldNo == child_column) return i;
  return -1;
}

int32_t AddConvertedColumn(TVTRAOPtr& input, int32_t child_column, TVTRAdvancedDataType type) {
  TVTRAO* child = input.get();
  auto projection = std::make_unique<TVTRAOTableExpr>(std::move(input));
  for (int32_t i = 0; i < projection->ColumnCount(); ++i)
    projection->Columns[i].Hidden = child->Column(projection->Column(i).SourceFieldNo).Hidden;
  const TVTRFieldLink& source = projection->Column(ProjectedColumn(*projection, child_column));
  auto converted = std::make_unique<TVTRSQLExpression>(std::make_unique<TVTRExprNodeCast>(
      type, std::make_unique<TVTRExprNodeField>("", source.Name, nullptr), nullptr));
  converted->AssignAO(projection.get(), nullptr, nullptr);
  TVTRFieldLink& column = projection->Columns.emplace_back();
  column.Name = projection->NewExpressionName();
  column.DataType = type;
  column.Size = converted->GetDataSize();
  column.SourceNode = projection.get();
  column.Expression = std::move(converted);
  input = std::move(projection);
  return input->ColumnCount() - 1;
}
