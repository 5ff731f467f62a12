#include "engine/sql/nodes/ExprNodeCase.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueConversion.h"

TVTRExprNodeCase::TVTRExprNodeCase(TVTRExprNodePtr input, std::vector<Branch> branches,
                                   TVTRExprNodePtr else_value)
    : TVTRExprNode(eoNone),
      has_input_(input != nullptr),
      branch_count_(static_cast<int32_t>(branches.size())),
      has_else_(else_value != nullptr) {
  if (input) AppendOperand(std::move(input));
  for (Branch& branch : branches) {
    AppendOperand(std::move(branch.first));
    AppendOperand(std::move(branch.second));
  }
  if (else_value) AppendOperand(std::move(else_value));
}

TVTRVariant& TVTRExprNodeCase::GetValue() {
  result_.Clear();
  const TVTRVariant* input = has_input_ ? &Operand(0).GetValue() : nullptr;
  for (int32_t when = FirstBranch(); when < BranchEnd(); when += 2) {
    const TVTRVariant& tested = Operand(when).GetValue();
    const bool match = input ? input->Compare(tested, {.case_insensitive = CaseInsensitive()}) == crEqual
                             : !tested.IsNull() && tested.GetAsLogical();
    if (match) {
      result_.Assign(Operand(when + 1).GetValue(), false);
      return result_;
    }
  }
  if (has_else_) result_.Assign(Operand(BranchEnd()).GetValue(), false);
  return result_;
}

TVTRAdvancedDataType TVTRExprNodeCase::GetDataType() {
  TVTRAdvancedDataType type = adtUnknown;
  bool first = true;
  for (const int32_t index : ResultOperands()) {
    const TVTRAdvancedDataType next = Operand(index).GetDataType();
    type = first ? next : ChooseResultDataType(type, next, false);
    first = false;
  }
  if (type == adtUnknown) throw EVTRException(30283, "Cannot determine expression type");
  return type;
}

int32_t TVTRExprNodeCase::GetDataSize() {
  const TVTRAdvancedDataType type = GetDataType();
  int32_t size = 0;
  for (const int32_t index : ResultOperands()) {
    CastOperandTo(index, type);
    size = std::max(size, Operand(index).GetDataSize());
  }
  return size;
}

std::vector<int32_t> TVTRExprNodeCase::ResultOperands() const {
  std::vector<int32_t> indexes;
  for (int32_t then = FirstBranch() + 1; then < BranchEnd(); then += 2) indexes.push_back(then);
  if (has_else_) indexes.push_back(BranchEnd());
  return indexes;
}
