#include "engine/sql/nodes/ExprNodeStringFunction.h"

#include <algorithm>
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ExprNodeCast.h"
#include "engine/sql/nodes/TextValues.h"
#include "platform/rtl/TextCase.h"

namespace {

char16_t FoldWide(char16_t c, bool upper) {
  if (upper && c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (!upper && c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  return c;
}

bool IsBlank(char16_t c) {
  return c <= u' ';
}

// The part of `text` from the 1-based `start`, at most `length` characters;
// a start below 1 counts as 1, one past the end or a negative length gives
// nothing.
template <typename Text>
Text Slice(const Text& text, int64_t start, int64_t length) {
  const int64_t from = std::max<int64_t>(start, 1) - 1;
  const auto size = static_cast<int64_t>(text.size());
  if (from >= size || length <= 0) return Text();
  return text.substr(static_cast<size_t>(from), static_cast<size_t>(std::min(length, size - from)));
}

std::u16string WideChanged(std::u16string text, TVTRExprOperator op) {
  switch (op) {
    case eoUpper:
    case eoLower:
      for (char16_t& c : text) c = FoldWide(c, op == eoUpper);
      return text;
    default: {
      size_t first = 0, end = text.size();
      if (op != eoRTrim)
        while (first < end && IsBlank(text[first])) ++first;
      if (op != eoLTrim)
        while (end > first && IsBlank(text[end - 1])) --end;
      return text.substr(first, end - first);
    }
  }
}

std::string AnsiChanged(std::string_view text, TVTRExprOperator op) {
  switch (op) {
    case eoUpper:
      return UpperCase(text);
    case eoLower:
      return LowerCase(text);
    case eoTrim:
      return Trim(text);
    case eoLTrim:
      return TrimLeft(text);
    default:
      return TrimRight(text);
  }
}

}  // namespace

TVTRVariant& TVTRExprNodeStringFunction::GetValue() {
  switch (Operator()) {
    case eoConcat:
      TakeText(0);
      for (int32_t i = 1; i < OperandCount(); ++i) result_.Add(Operand(i).GetValue());
      break;
    case eoUpper:
    case eoLower:
    case eoTrim:
    case eoLTrim:
    case eoRTrim:
      TakeText(0);
      if (result_.IsNull()) break;
      if (result_.IsWideString())
        SetWideTextValue(result_, WideChanged(result_.GetAsWideString(), Operator()), result_.DataType());
      else
        SetTextValue(result_, AnsiChanged(AnsiTextOf(result_), Operator()), result_.DataType());
      break;
    case eoLength: {
      TakeText(0);
      const int32_t length = std::max(TextLengthOf(result_), 0);
      result_.Clear(bdtInteger);
      result_.SetAsInteger(length);
      break;
    }
    case eoPosition:
      Position();
      break;
    case eoSubstring:
      Substring();
      break;
    default:
      throw EVTRException::CreateFmt(30131, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
  return result_;
}

void TVTRExprNodeStringFunction::TakeText(int32_t operand) {
  result_.Assign(Operand(operand).GetValue(), true);
  if (!result_.IsString()) result_.CastTo(bdtString);
}

void TVTRExprNodeStringFunction::Position() {
  TVTRVariant substring(Operand(0).GetValue());
  TakeText(1);
  result_.CheckNotNull();
  substring.CheckNotNull();
  size_t found;
  if (result_.IsWideString()) {
    found = result_.GetAsWideString().find(substring.GetAsWideString());
  } else {
    if (!substring.IsString() || substring.IsWideString()) substring.CastTo(bdtString);
    found = AnsiTextOf(result_).find(AnsiTextOf(substring));
  }
  result_.Clear(bdtInteger);
  result_.SetAsInteger(found == std::string::npos ? 0 : static_cast<int32_t>(found) + 1);
}

void TVTRExprNodeStringFunction::Substring() {
  const int32_t start = Operand(1).GetValue().GetAsInteger();
  TakeText(0);
  const int32_t length = OperandCount() > 2 ? Operand(2).GetValue().GetAsInteger() : TextLengthOf(result_);
  if (result_.IsNull()) return;
  if (result_.IsWideString())
    SetWideTextValue(result_, Slice(result_.GetAsWideString(), start, length), result_.DataType());
  else
    SetTextValue(result_, Slice(AnsiTextOf(result_), start, length), result_.DataType());
}

TVTRAdvancedDataType TVTRExprNodeStringFunction::GetDataType() {
  switch (Operator()) {
    case eoLength:
    case eoPosition:
      return adtInteger;
    case eoConcat:
      return TVTRExprNode::GetDataType();
    case eoUpper:
    case eoLower:
    case eoTrim:
    case eoLTrim:
    case eoRTrim:
    case eoSubstring: {
      const TVTRAdvancedDataType type = Operand(0).GetDataType();
      if (IsStringAdvancedType(type)) return type;
      if (type == adtMemo || type == adtFormattedMemo) return adtString;
      return type == adtWideMemo ? adtWideString : type;
    }
    default:
      throw EVTRException::CreateFmt(30131, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
}

int32_t TVTRExprNodeStringFunction::GetDataSize() {
  switch (Operator()) {
    case eoConcat: {
      const TVTRAdvancedDataType type = GetDataType();
      int32_t size = 0;
      for (int32_t i = 0; i < OperandCount(); ++i) {
        CastOperandTo(i, type);
        size += Operand(i).GetDataSize();
      }
      return size;
    }
    case eoUpper:
    case eoLower:
    case eoTrim:
    case eoLTrim:
    case eoRTrim:
      return Operand(0).GetDataSize();
    case eoSubstring: {
      const int32_t size = Operand(0).GetDataSize();
      if (size != 0 || !IsStringAdvancedType(GetDataType())) return size;
      return OperandCount() > 2 ? std::max(Operand(2).GetValue().GetAsInteger(), 0) : kDefaultCastTextSize;
    }
    default:
      return 0;
  }
}
