#include "engine/foundation/lexer/Tokenizer.h"

#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/lexer/SQLParams.h"

namespace {

bool IsWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNumberChar(char c) {
  return IsDigit(c) || c == '.' || c == 'E' || c == 'e' || c == '+' || c == '-';
}
bool IsDelimiter(char c) {
  return std::string_view("><=(),/*:?|").find(c) != std::string_view::npos;
}

}  // namespace

void TVTRTokenizer::Run() {
  while (pos_ < sql_.size()) {
    const char c = sql_[pos_];
    if (c == '-' && Peek(1) == '-') {
      SkipLineComment();
    } else if (c == '/' && Peek(1) == '*') {
      SkipBlockComment();
    } else if (IsWhitespace(c)) {
      EndToken();
      Consume();
    } else if (c == ';') {
      EndCommand();
      Consume();
    } else if (token_open_ && !StartsNewToken(c)) {
      AppendToOpenToken(c);
    } else {
      EndToken();
      StartToken(c);
    }
  }
  EndCommand();
  if (unterminated_)
    throw EVTRException::CreateFmt(30061, "Unterminated string at line %d, column %d", unterminated_at_.line,
                                   unterminated_at_.column);
}

void TVTRTokenizer::Consume() {
  if (sql_[pos_] == '\n') {
    ++at_.line;
    at_.column = 1;
  } else if (sql_[pos_] != '\r') {
    ++at_.column;
  }
  ++pos_;
}

void TVTRTokenizer::SkipLineComment() {
  ++at_.line;
  at_.column = 1;
  const std::size_t end = sql_.find('\n', pos_);
  pos_ = end == std::string_view::npos ? sql_.size() : end + 1;
}

void TVTRTokenizer::SkipBlockComment() {
  Consume();
  Consume();
  while (pos_ < sql_.size()) {
    if (sql_[pos_] == '*' && Peek(1) == '/') {
      Consume();
      Consume();
      return;
    }
    Consume();
  }
}

bool TVTRTokenizer::StartsNewToken(char c) const {
  if (IsDelimiter(c)) return true;
  switch (token_.kind) {
    case tktInt:
      return (c == '+' || c == '-') && token_.text.back() != 'E' && token_.text.back() != 'e';
    case tktDot:
      return !IsDigit(c);
    default:  // a word
      return c == '.' || c == '+' || c == '-';
  }
}

void TVTRTokenizer::AppendToOpenToken(char c) {
  if (token_.kind == tktInt && !IsNumberChar(c))
    throw EVTRException::CreateFmt(30062, "Invalid numeric symbol '%s' at line %d, column %d",
                                   std::string(1, c), at_.line, at_.column);
  if (token_.kind == tktDot) token_.kind = tktInt;
  token_.text += c;
  Consume();
}

void TVTRTokenizer::StartToken(char c) {
  if (!command_open_) {
    lexer_.AddCommand();
    command_open_ = true;
    depth_ = 0;
  }
  switch (c) {
    case '\'':
    case '"':
      ReadQuoted(tktQuotedString, c, false);
      break;
    case '[':
      ReadQuoted(tktBracketedString, ']', false);
      break;
    case '`':
      ReadQuoted(tktString, '`', true);
      break;
    case '(':
      ++depth_;
      last_left_parenthesis_ = at_;
      EmitToken(tktLeftParenthesis, 1);
      break;
    case ')':
      --depth_;
      last_right_parenthesis_ = at_;
      EmitToken(tktRightParenthesis, 1);
      break;
    case ',':
      EmitToken(tktComma, 1);
      break;
    case '.':
      OpenToken(tktDot);
      break;
    case '-':
    case '+':
    case '*':
    case '/':
    case '=':
      EmitToken(tktString, 1);
      break;
    case '|':
      EmitToken(tktString, Peek(1) == '|' ? 2 : 1);
      break;
    case '<':
      EmitToken(tktString, Peek(1) == '=' || Peek(1) == '>' ? 2 : 1);
      break;
    case '>':
      EmitToken(tktString, Peek(1) == '=' ? 2 : 1);
      break;
    default:
      OpenToken(IsDigit(c) ? tktInt : tktString);
  }
}

void TVTRTokenizer::OpenToken(TVTRTokenKind kind) {
  token_ = TToken{};
  token_.kind = kind;
  token_.line = at_.line;
  token_.column = at_.column;
  token_open_ = true;
  back_quoted_ = false;
  token_.text = sql_[pos_];
  Consume();
}

void TVTRTokenizer::EmitToken(TVTRTokenKind kind, std::size_t length) {
  OpenToken(kind);
  for (std::size_t i = 1; i < length; ++i) {
    token_.text += sql_[pos_];
    Consume();
  }
  EndToken();
}

void TVTRTokenizer::ReadQuoted(TVTRTokenKind kind, char closing, bool backslash_escapes) {
  OpenToken(kind);
  token_.text.clear();
  back_quoted_ = backslash_escapes;
  while (pos_ < sql_.size()) {
    const char c = sql_[pos_];
    if (backslash_escapes && c == '\\' && pos_ + 1 < sql_.size()) {
      // The backslash and the character it escapes take one column together.
      ++pos_;
      token_.text += sql_[pos_];
      Consume();
    } else if (c == closing && Peek(1) == closing) {
      token_.text += c;
      Consume();
      Consume();
    } else if (c == closing) {
      Consume();
      EndToken();
      return;
    } else {
      token_.text += c;
      Consume();
    }
  }
  unterminated_ = true;
  unterminated_at_ = {token_.line, token_.column};
  EndToken();
}

void TVTRTokenizer::EndToken() {
  if (!token_open_) return;
  token_open_ = false;
  if (token_.kind == tktInt && token_.text.find_first_of(".eE") != std::string::npos) token_.kind = tktFloat;
  if (token_.kind == tktString) ClassifyWord();
  lexer_.AddToken(token_);
}

void TVTRTokenizer::ClassifyWord() {
  if (back_quoted_) {
    // A quoted name is never a parameter marker; one that spells a reserved word
    // stays recognisable as a keyword but matches no particular word.
    if (FindReservedWord(token_.text) != kNotReservedWord) token_.kind = tktReservedWord;
    return;
  }
  if (!token_.text.empty() && (token_.text[0] == ':' || token_.text[0] == '?')) {
    BindParameter();
    return;
  }
  const int16_t n = FindReservedWord(token_.text);
  // Word 0 (ABSOLUTE) is deliberately never reserved.
  if (n > 0 && n < kReservedWordCount) {
    token_.kind = tktReservedWord;
    token_.reserved_word = n;
  }
}

void TVTRTokenizer::EndCommand() {
  EndToken();
  if (!command_open_) return;
  command_open_ = false;
  if (depth_ > 0)
    throw EVTRException::CreateFmt(30059, "Missing symbol ')' at line %d, column %d",
                                   last_left_parenthesis_.line, last_left_parenthesis_.column);
  if (depth_ < 0)
    throw EVTRException::CreateFmt(30060, "Unexpected symbol ')' found at line %d, column %d",
                                   last_right_parenthesis_.line, last_right_parenthesis_.column);
}

void TVTRTokenizer::BindParameter() {
  const TVTRSQLParams* params = lexer_.params_;
  const TVTRSQLParam* param = nullptr;
  if (token_.text[0] == ':') {
    token_.text.erase(0, 1);
    if (params != nullptr) param = params->FindParam(token_.text);
  } else {
    ++question_marks_;
    token_.text = "Param" + std::to_string(question_marks_);
    if (params != nullptr && question_marks_ <= params->Count()) param = &params->Items(question_marks_ - 1);
  }
  if (param == nullptr)
    throw EVTRException::CreateFmt(30358, "Value for parameter '%s' not found", token_.text);
  auto value = std::make_unique<TVTRVariant>();
  value->Assign(*param, true);
  token_.kind = tktParameter;
  token_.value = value.get();
  lexer_.values_.push_back(std::move(value));
}
