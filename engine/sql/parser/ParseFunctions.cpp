// Functions: numeric (POSITION, LENGTH, ROWNUM, ABS to SQRT), text (UPPER to
// RTRIM, SUBSTRING, TOSTRING), date (NOW and the like, TODATE) and MIMETOBIN.
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ExprNodeArithmetic.h"
#include "engine/sql/nodes/ExprNodeBlob.h"
#include "engine/sql/nodes/ExprNodeConst.h"
#include "engine/sql/nodes/ExprNodeDateFunction.h"
#include "engine/sql/nodes/ExprNodeStringFunction.h"
#include "engine/sql/nodes/ExprNodeSystem.h"
#include "engine/sql/nodes/TextValues.h"
#include "engine/sql/parser/ExpressionParser.h"
#include "engine/sql/parser/ParserWords.h"

namespace {

TVTRExprNodePtr Function(TVTRExprNodePtr node, TVTRExprNodePtr first, TVTRExprNodePtr second = nullptr) {
  node->AppendOperand(std::move(first));
  if (second) node->AppendOperand(std::move(second));
  return node;
}

}  // namespace

TVTRExprNodePtr TVTRExpressionParser::RequireArgument(Parse parse, int32_t code, std::string_view function) {
  const Mark start = Here();
  TVTRExprNodePtr argument = (this->*parse)();
  if (argument) return argument;
  Back(start);
  RaiseArgumentExpected(code, function);
}

TVTRExprNodePtr TVTRExpressionParser::ParseNumericFunction() {
  if (AtWord(rwPosition) || AtWord(rwPos)) return ParsePosition();
  if (AtWord(rwLength)) return ParseLength();
  if (AtWord(rwRowNum)) {
    Next();
    return std::make_unique<TVTRExprNodeSystem>(eoRowNum);
  }
  if (AtWord(rwLastAutoinc)) return ParseLastAutoinc();
  if (AtWord(rwPower)) return ParsePower();
  if (token_.kind == tktReservedWord && token_.reserved_word >= rwAbs && token_.reserved_word <= rwSqrt)
    return ParseMathFunction();
  return nullptr;
}

TVTRExprNodePtr TVTRExpressionParser::ParsePosition() {
  Next();
  Expect(tktLeftParenthesis, 30078, "(");
  TVTRExprNodePtr substring = RequireArgument(&TVTRExpressionParser::ParseTextArgument, 30079, "POS");
  if (!AtKind(tktComma) && !AtWord(rwIn)) RaiseTokenExpected(30080, ",' or 'IN");
  Next();
  TVTRExprNodePtr text = RequireArgument(&TVTRExpressionParser::ParseTextArgument, 30081, "POS");
  Expect(tktRightParenthesis, 30082, ")");
  return Function(std::make_unique<TVTRExprNodeStringFunction>(eoPosition), std::move(substring),
                  std::move(text));
}

TVTRExprNodePtr TVTRExpressionParser::ParseLength() {
  Next();
  Expect(tktLeftParenthesis, 30083, "(");
  TVTRExprNodePtr text = RequireArgument(&TVTRExpressionParser::ParseTextArgument, 30085, "LENGTH");
  Expect(tktRightParenthesis, 30084, ")");
  return Function(std::make_unique<TVTRExprNodeStringFunction>(eoLength), std::move(text));
}

TVTRExprNodePtr TVTRExpressionParser::ParseLastAutoinc() {
  // A filter's or Locate's lexer and cursor are gone before the condition
  // is evaluated, and there is no query whose table the function could open.
  if (query_ == nullptr)
    throw EVTRException::CreateFmt(30335,
                                   "Function '%s' cannot be used outside an SQL statement (line %d, column %d)",
                                   "LASTAUTOINC", token_.line, token_.column);
  Next();
  Expect(tktLeftParenthesis, 30086, "(");
  TVTRLastAutoincSource source{.Query = *query_, .InMemory = query_->InMemory};
  source.TableName = token_.text;
  Next();
  if (AtWord(rwMemory)) {
    source.InMemory = true;
    Next();
  }
  Expect(tktComma, 30334, ",");
  source.FieldName = token_.text;
  Next();
  Expect(tktRightParenthesis, 30089, ")");
  return std::make_unique<TVTRExprNodeSystem>(std::move(source));
}

TVTRExprNodePtr TVTRExpressionParser::ParseMathFunction() {
  const auto op = static_cast<TVTRExprOperator>(token_.reserved_word - kMathFunctionWordOffset);
  const std::string_view name = ReservedWordTable[token_.reserved_word];
  Next();
  Expect(tktLeftParenthesis, 20261, "(");
  TVTRExprNodePtr argument = RequireArgument(&TVTRExpressionParser::ParseAdditive, 20262, name);
  Expect(tktRightParenthesis, 20263, ")");
  return Function(std::make_unique<TVTRExprNodeArithmetic>(op), std::move(argument));
}

TVTRExprNodePtr TVTRExpressionParser::ParsePower() {
  Next();
  Expect(tktLeftParenthesis, 20264, "(");
  TVTRExprNodePtr base = RequireArgument(&TVTRExpressionParser::ParseAdditive, 20265, "POWER");
  if (!AtKind(tktComma))
    throw EVTRException::CreateFmt(20267, "comma (\",\") expected but not found at line %d, column %d",
                                   token_.line, token_.column);
  Next();
  TVTRExprNodePtr exponent = RequireArgument(&TVTRExpressionParser::ParseAdditive, 20268, "POWER");
  Expect(tktRightParenthesis, 20266, ")");
  return Function(std::make_unique<TVTRExprNodeArithmetic>(eoPower), std::move(base), std::move(exponent));
}

TVTRExprNodePtr TVTRExpressionParser::ParseTextFunction() {
  if (AtWord(rwSubstring)) return ParseSubstring();
  if (AtWord(rwToString)) return ParseToString();
  const TVTRExprOperator op = WordOperator(
      {{rwUpper, eoUpper}, {rwLower, eoLower}, {rwTrim, eoTrim}, {rwLTrim, eoLTrim}, {rwRTrim, eoRTrim}});
  if (op == eoNone) return nullptr;
  Next();
  Expect(tktLeftParenthesis, 30090, "(");
  TVTRExprNodePtr text = ParseTextArgument();
  if (!text) RaiseStringArgumentExpected(30092, GetOperatorName(op));
  Expect(tktRightParenthesis, 30091, ")");
  return Function(std::make_unique<TVTRExprNodeStringFunction>(op), std::move(text));
}

TVTRExprNodePtr TVTRExpressionParser::ParseSubstring() {
  Next();
  Expect(tktLeftParenthesis, 30098, "(");
  auto node = std::make_unique<TVTRExprNodeStringFunction>(eoSubstring);
  node->AppendOperand(RequireArgument(&TVTRExpressionParser::ParseTextArgument, 30099, "SUBSTRING"));
  if (!AtKind(tktComma) && !AtWord(rwFrom)) RaiseTokenExpected(30100, ",' or 'from");
  Next();
  node->AppendOperand(RequireArgument(&TVTRExpressionParser::ParseAdditive, 30101, "SUBSTRING"));
  if (AtKind(tktComma) || AtWord(rwFor)) {
    Next();
    node->AppendOperand(RequireArgument(&TVTRExpressionParser::ParseAdditive, 30101, "SUBSTRING"));
    Expect(tktRightParenthesis, 30104, ")");
  } else {
    Expect(tktRightParenthesis, 30103, ")' or ',' or 'FOR");
  }
  return node;
}

TVTRExprNodePtr TVTRExpressionParser::ParseToString() {
  Next();
  Expect(tktLeftParenthesis, 30093, "(");
  TVTRExprNodePtr value = RequireArgument(&TVTRExpressionParser::ParseValue, 30094, "ToString");
  if (!AtKind(tktComma) && !AtWord(rwFrom)) RaiseTokenExpected(30095, ",' or 'FROM");
  Next();
  const std::string format = ReadFormat(30096);
  Expect(tktRightParenthesis, 30097, ")");
  return std::make_unique<TVTRExprNodeDateFunction>(eoToString, std::move(value), format);
}

TVTRExprNodePtr TVTRExpressionParser::ParseDateFunction() {
  if (AtWord(rwToDate)) return ParseToDate();
  const TVTRExprOperator op = WordOperator({{rwNow, eoNow},
                                            {rwSysDate, eoNow},
                                            {rwCurrentTimestamp, eoNow},
                                            {rwCurrentDate, eoCurrentDate},
                                            {rwCurrentTime, eoCurrentTime}});
  if (op == eoNone) return nullptr;
  // No parentheses: in NOW() the "(" ends the expression.
  Next();
  return std::make_unique<TVTRExprNodeDateFunction>(op);
}

TVTRExprNodePtr TVTRExpressionParser::ParseToDate() {
  Next();
  Expect(tktLeftParenthesis, 30105, "(");
  TVTRExprNodePtr text = RequireArgument(&TVTRExpressionParser::ParseTextArgument, 30107, "ToDate");
  Expect(tktComma, 30108, ",");
  const std::string format = ReadFormat(30109);
  Expect(tktRightParenthesis, 30106, ")");
  return std::make_unique<TVTRExprNodeDateFunction>(eoToDate, std::move(text), format);
}

TVTRExprNodePtr TVTRExpressionParser::ParseMimeToBin() {
  if (!AtWord(rwMimeToBin)) return nullptr;
  Next();
  Expect(tktLeftParenthesis, 30479, "(");
  if (!AtKind(tktQuotedString)) RaiseStringArgumentExpected(30480, "MimeToBin()");
  TVTRVariant text;
  SetTextValue(text, token_.text);
  Next();
  Expect(tktRightParenthesis, 30481, ")");
  return std::make_unique<TVTRExprNodeBlob>(std::make_unique<TVTRExprNodeConst>(std::move(text)));
}

std::string TVTRExpressionParser::ReadFormat(int32_t code) {
  if (!AtKind(tktQuotedString)) RaiseFound(code, "Const DateFormat string");
  std::string format = token_.text;
  Next();
  return format;
}
