#include "engine/sql/nodes/ExprNodeSystem.h"

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/CodePage874.h"

TVTRExprNodeSystem::TVTRExprNodeSystem(TVTRExprOperator op) : TVTRExprNode(op) {}

TVTRExprNodeSystem::TVTRExprNodeSystem(TVTRLastAutoincSource source)
    : TVTRExprNode(eoLastAutoinc), source_(std::move(source)) {}

TVTRExprNodeSystem::~TVTRExprNodeSystem() = default;

void TVTRExprNodeSystem::OpenTable() {
  std::unique_ptr<TVTRTable> table =
      source_.Query.NewTable(source_.Query.DatabaseName, source_.TableName, source_.InMemory);
  table->SetReadOnly(true);
  table->Open();
  const TField* field = table->FindField(Cp874ToUtf8(source_.FieldName));
  if (field == nullptr) throw EVTRException::CreateFmt(30337, "Field '%s' not found", source_.FieldName);
  field_position_ = table->Fields().IndexOf(field);
  table_ = std::move(table);
}

TVTRVariant& TVTRExprNodeSystem::GetValue() {
  switch (Operator()) {
    case eoRowNum:
      result_.SetAsInteger(++row_number_);
      return result_;
    case eoLastAutoinc:
      if (!table_) OpenTable();
      result_.SetAsLargeInt(table_->GetLastAutoincValue(field_position_));
      return result_;
    default:
      throw EVTRException::CreateFmt(30338, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
}

TVTRAdvancedDataType TVTRExprNodeSystem::GetDataType() {
  return Operator() == eoLastAutoinc ? adtLargeInt : adtInteger;
}
