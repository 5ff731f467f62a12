#include "engine/sql/nodes/ExprNodeCast.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/TextValues.h"

namespace {

bool IsCastTextType(TVTRAdvancedDataType type) {
  return (type >= adtChar && type <= adtWideString) || type == adtGuid;
}

// Characters of the widest text a value of the type converts to.
int32_t TextWidthOf(TVTRAdvancedDataType type, int32_t own_size) {
  switch (type) {
    case adtChar:
    case adtString:
    case adtWideChar:
    case adtWideString:
    case adtBytes:
    case adtVarBytes:
    case adtBlob:
    case adtGraphic:
      return own_size;
    case adtShortInt:
    case adtAutoIncShortInt:
      return 4;
    case adtSmallInt:
    case adtAutoIncSmallInt:
      return 6;
    case adtInteger:
    case adtAutoInc:
    case adtAutoIncInteger:
      return 11;
    case adtLargeInt:
    case adtAutoIncLargeInt:
      return 20;
    case adtByte:
    case adtAutoIncByte:
      return 3;
    case adtWord:
    case adtAutoIncWord:
      return 5;
    case adtCardinal:
    case adtAutoIncCardinal:
      return 10;
    case adtSingle:
    case adtFloat:
    case adtExtended:
    case adtDate:
    case adtTime:
    case adtDateTime:
    case adtTimeStamp:
      return 26;
    case adtLogical:
      return 5;
    case adtCurrency:
      return 21;
    case adtMemo:
    case adtFormattedMemo:
    case adtWideMemo:
      return kDefaultCastTextSize;
    case adtGuid:
      return 38;
    default:
      throw EVTRException::CreateFmt(30466, "Unsupported data type '%s'", GetAdvancedTypeName(type));
  }
}

}  // namespace

TVTRExprNodeCast::TVTRExprNodeCast(TVTRAdvancedDataType target, TVTRExprNodePtr value, TVTRExprNodePtr size)
    : TVTRExprNode(eoCast), target_(target), has_size_(size != nullptr) {
  AppendOperand(std::move(value));
  if (size) AppendOperand(std::move(size));
}

TVTRVariant& TVTRExprNodeCast::GetValue() {
  result_.Assign(Operand(0).GetValue(), true);
  result_.CastTo(AdvancedTypeToBaseType(target_));
  if (!IsCastTextType(target_) || result_.IsNull()) return result_;
  const auto limit = static_cast<size_t>(has_size_ ? SizeValue() : kDefaultCastTextSize);
  if (result_.IsWideString()) {
    const std::u16string text = result_.GetAsWideString();
    if (text.size() > limit)
      SetWideTextValue(result_, std::u16string_view(text).substr(0, limit), result_.DataType());
  } else {
    const std::string_view text = AnsiTextOf(result_);
    if (text.size() > limit) SetTextValue(result_, text.substr(0, limit), result_.DataType());
  }
  return result_;
}

int32_t TVTRExprNodeCast::GetDataSize() {
  if (has_size_) return SizeValue();
  if (!IsCastTextType(target_)) return 0;
  return TextWidthOf(Operand(0).GetDataType(), Operand(0).GetDataSize());
}

int32_t TVTRExprNodeCast::SizeValue() {
  return std::max(Operand(1).GetValue().GetAsInteger(), 0);
}
