// Column definitions of CREATE TABLE and ALTER TABLE: names, types with
// their sizes and autoincrement options, column options and index clauses.
#include <charconv>
#include <limits>

#include "engine/foundation/Compression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/ddl/TableManipulation.h"
#include "engine/sql/processor/StatementWords.h"

using namespace statement_words;

namespace {

constexpr const char* kIntegerExpected = "Integer expected, but '%s' found at line %d, column %d";
constexpr const char* kOptionSeparatorExpected =
    "')' or ',' symbol expected, but '%s' found at line %d, column %d";
constexpr const char* kUnexpectedToken = "Unexpected token '%s' found at line %d, column %d";

// Whether the whole text is a decimal integer that fits the value's type.
template <typename Integer>
bool ReadWhole(const std::string& text, Integer& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// The autoincrement type of the width a plain AUTOINC column names; adtUnknown
// for a type that gives no width.
TVTRAdvancedDataType AutoincOfWidth(TVTRAdvancedDataType type) {
  switch (type) {
    case adtShortInt:
      return adtAutoIncShortInt;
    case adtSmallInt:
      return adtAutoIncSmallInt;
    case adtInteger:
      return adtAutoInc;
    case adtLargeInt:
      return adtAutoIncLargeInt;
    case adtByte:
      return adtAutoIncByte;
    case adtWord:
      return adtAutoIncWord;
    case adtCardinal:
      return adtAutoIncCardinal;
    default:
      return IsAutoincAdvancedType(type) ? type : adtUnknown;
  }
}

// A value of the token's text: NULL for the word NULL, LARGEINT for an
// integer, DOUBLE for a decimal, the text otherwise.
TVTRVariant ValueOfToken(const TToken& token) {
  TVTRVariant value;
  if (IsReservedWordToken(token, rwNull)) return value;
  value.SetAsString(token.text);
  if (token.kind == tktInt) value.CastTo(bdtLargeInt);
  if (token.kind == tktFloat) value.CastTo(bdtDouble);
  return value;
}

TVTRVariant LargeIntOfToken(const TToken& token) {
  TVTRVariant value;
  value.SetAsString(token.text);
  value.CastTo(bdtLargeInt);
  return value;
}

}  // namespace

void TVTRDDLTableManipulation::ParseColumnDefinitions() {
  if (Token.kind != tktLeftParenthesis) RaiseTokenExpected(30226, "(");
  while (Token.kind != tktRightParenthesis && !AtEnd()) {
    ExpectNextToken(kNameOrKeyword, 30227, "Field name expected, but '%s' found at line %d, column %d");
    if (AtWord(rwPrimary) || AtWord(rwUnique) || AtWord(rwIndex))
      ParseIndexClause();
    else
      ParseColumnDefinition();
  }
}

void TVTRDDLTableManipulation::ParseColumnDefinition() {
  TSQLFieldDef& def = FieldDefs.Add();
  if (AtWord(rwIf)) {
    ExpectNextToken(kAnyToken, 30488, {});
    if (!AtWord(rwNot)) RaiseTokenExpected(30488, "NOT");
    ExpectNextToken(kAnyToken, 30489, {});
    if (!AtWord(rwExists)) RaiseTokenExpected(30489, "EXISTS");
    ExpectNextToken(kNameOrKeyword, 30227, "Field name expected, but '%s' found at line %d, column %d");
    def.IfNotExists = true;
  }
  def.Name = Token.text;
  ExpectNextToken(kTypeName, 30228, "Field type expected, but '%s' found at line %d, column %d");
  ParseFieldType(def);
  ParseColumnOptions(def);
}

void TVTRDDLTableManipulation::ParseFieldType(TSQLFieldDef& def) {
  const TVTRDataTypeName* type = FindDataTypeName(Token.text);
  if (type == nullptr) RaiseAtToken(30232, "Unknown field type '%s' at line %d, column %d");
  def.DataType = type->advanced_type;
  def.Size = 0;
  if (IsStringOrBytesAdvancedType(type->advanced_type)) {
    ExpectNextToken(kLeftParenthesis, 30233, "'(' symbol expected, but '%s' found at line %d, column %d");
    ExpectNextToken(kInteger, 30235, "Decimal constant expected, but '%s' found at line %d, column %d");
    int32_t size = 0;
    if (!ReadWhole(Token.text, size))
      RaiseAtToken(30235, "Decimal constant expected, but '%s' found at line %d, column %d");
    def.Size = size;
    ExpectNextToken(kRightParenthesis, 30236, kOptionSeparatorExpected);
    NextToken();
    return;
  }
  NextToken();
  if (IsAutoincAdvancedType(type->advanced_type) && Token.kind == tktLeftParenthesis)
    ParseAutoincOptions(def);
}

void TVTRDDLTableManipulation::ParseAutoincOptions(TSQLFieldDef& def) {
  bool width_given = def.DataType != adtAutoInc;
  const auto step = [&] {
    if (!NextToken()) RaiseUnexpectedEnd(30290);
  };
  do {
    step();
    if (AtWord(rwIncrement)) {
      def.Increment = ReadInteger();
    } else if (AtWord(rwInitialValue)) {
      def.InitialValue = ReadInteger();
    } else if (AtWord(rwMinValue)) {
      def.AutoincMin = ReadInteger();
    } else if (AtWord(rwMaxValue)) {
      def.AutoincMax = ReadInteger();
    } else if (AtWord(rwNoMinValue)) {
      def.AutoincMin = 0;
    } else if (AtWord(rwNoMaxValue)) {
      def.AutoincMax = std::numeric_limits<int64_t>::max();
    } else if (AtWord(rwCycled) || AtWord(rwNoCycled)) {
      def.Cycled = AtWord(rwCycled);
    } else {
      const TVTRDataTypeName* type = InKinds(kTypeName, Token.kind) ? FindDataTypeName(Token.text) : nullptr;
      if (type == nullptr || width_given) RaiseAtToken(30294, kUnexpectedToken);
      const TVTRAdvancedDataType autoinc = AutoincOfWidth(type->advanced_type);
      if (autoinc == adtUnknown)
        RaiseAtToken(30295, "Unsupported Autoinc DataType (%s) found at line %d, column %d");
      def.DataType = autoinc;
      width_given = true;
    }
    step();
    if (Token.kind != tktComma && Token.kind != tktRightParenthesis) RaiseAtToken(30294, kUnexpectedToken);
  } while (Token.kind == tktComma);
  NextToken();
}

int64_t TVTRDDLTableManipulation::ReadInteger() {
  ExpectNextToken(kInteger, 30292, kIntegerExpected);
  int64_t value = 0;
  if (!ReadWhole(Token.text, value)) RaiseAtToken(30291, kIntegerExpected);
  return value;
}

TToken TVTRDDLTableManipulation::ReadOptionValue() {
  ExpectNextToken(kAnyToken, 30161, {});
  TToken value = Token;
  TToken number;
  const bool signed_number = Token.kind == tktString && (Token.text == "-" || Token.text == "+") &&
                             Lexer.LookAheadToken(number) &&
                             (number.kind == tktInt || number.kind == tktFloat);
  if (!signed_number) return value;
  NextToken();
  number.text.insert(0, value.text == "-" ? "-" : "");
  return number;
}

void TVTRDDLTableManipulation::ParseColumnOptions(TSQLFieldDef& def) {
  const auto step_to_option = [&] { ExpectNextToken(kColumnOption, 30229, kOptionSeparatorExpected); };
  while (!AtEnd() && Token.kind != tktRightParenthesis && Token.kind != tktComma) {
    if (AtWord(rwNot)) {
      ExpectNextToken(kAnyToken, 30161, {});
      if (!AtWord(rwNull))
        RaiseAtToken(2011, "'NULL' expected (for NOT NULL), but '%s' found at line %d, column %d");
      def.Required = true;
      step_to_option();
    } else if (AtWord(rwNull)) {
      def.Required = false;
      step_to_option();
    } else if (AtWord(rwBlobBlockSize)) {
      def.BlobBlockSize = static_cast<int32_t>(ReadInteger());
      step_to_option();
    } else if (AtWord(rwBlobCompressionMode)) {
      def.CompressionMode = static_cast<uint8_t>(ReadInteger());
      step_to_option();
    } else if (AtWord(rwBlobCompressionAlgorithm)) {
      ExpectNextToken(kAnyToken, 30161, {});
      def.CompressionAlgorithm = CompressionAlgorithmFromName(Token.text);
      step_to_option();
    } else if (AtWord(rwDefault)) {
      if (def.DefaultValue)
        throw EVTRException::CreateFmt(30299, "default value for column '%s' declared twice", def.Name);
      def.DefaultValue = ValueOfToken(ReadOptionValue());
      NextToken();
    } else if (AtWord(rwMinValue) || AtWord(rwMaxValue)) {
      std::optional<TVTRVariant>& bound = AtWord(rwMinValue) ? def.MinValue : def.MaxValue;
      bound = LargeIntOfToken(ReadOptionValue());
      NextToken();
    } else if (AtWord(rwNoMinValue) || AtWord(rwNoMaxValue)) {
      (AtWord(rwNoMinValue) ? def.MinValue : def.MaxValue) = TVTRVariant();
      NextToken();
    } else if (AtWord(rwPrimary) || AtWord(rwUnique)) {
      const bool primary = AtWord(rwPrimary);
      Indexes.push_back({.Name = {}, .Unique = !primary, .IsPK = primary, .Fields = {{def.Name}}});
      NextToken();
      if (primary && AtWord(rwKey)) NextToken();
    } else {
      step_to_option();
    }
  }
}

void TVTRDDLTableManipulation::ParseIndexClause() {
  TVTRSQLIndex index;
  if (AtWord(rwPrimary)) {
    index.IsPK = true;
    NextToken();
    if (AtWord(rwKey)) NextToken();
    if (!AtEnd() && Token.kind != tktLeftParenthesis) {
      index.Name = Token.text;
      NextToken();
    }
  } else {
    if (AtWord(rwUnique)) {
      index.Unique = true;
      ExpectNextToken(kKeyword, 30267, "'INDEX' keyword expected, but '%s' found at line %d, column %d");
      if (!AtWord(rwIndex))
        RaiseAtToken(30268, "'INDEX' keyword expected, but '%s' found at line %d, column %d");
    }
    ExpectNextToken(kNameKeywordOrParenthesis, 30269,
                    "index name expected, but '%s' found at line %d, column %d");
    if (Token.kind != tktLeftParenthesis) {
      index.Name = Token.text;
      NextToken();
    }
  }
  if (Token.kind != tktLeftParenthesis) RaiseTokenExpected(30226, "(");
  ReadIndexColumns(index.Fields, nullptr);
  Indexes.push_back(std::move(index));
}
