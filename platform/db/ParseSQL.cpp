// Finding ":name" parameter markers the way the engine's SQL lexer tokenizes:
// comments are skipped first (even inside a word, which they do not end),
// strings, bracketed and back-quoted names are read whole, and a ":" always
// starts a new word whose name runs to the next blank or delimiter.
#include "platform/db/Params.h"
#include "platform/rtl/TextCase.h"

namespace {

enum class Open { kNone, kWord, kNumber, kDot };

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsDelimiter(char c) {
  for (const char d : std::string_view("><=(),/*:?|;")) {
    if (c == d) return true;
  }
  return false;
}

class MarkerScanner {
 public:
  explicit MarkerScanner(std::string_view sql) : sql_(sql) {}

  std::vector<std::string> Names() {
    while (pos_ < sql_.size()) Step();
    EndToken();
    return names_;
  }

 private:
  char At(size_t pos) const { return pos < sql_.size() ? sql_[pos] : '\0'; }

  void Step() {
    const char c = sql_[pos_];
    if (c == '-' && At(pos_ + 1) == '-') {
      const size_t end = sql_.find('\n', pos_);
      pos_ = end == std::string_view::npos ? sql_.size() : end + 1;
      return;
    }
    if (c == '/' && At(pos_ + 1) == '*') {
      const size_t end = sql_.find("*/", pos_ + 2);
      pos_ = end == std::string_view::npos ? sql_.size() : end + 2;
      return;
    }
    if (c == ';' || IsBlank(c)) {
      EndToken();
      Advance();
      return;
    }
    if (!StartsToken(c)) {
      if (open_ == Open::kDot) open_ = Open::kNumber;
      text_ += c;
      Advance();
      return;
    }
    EndToken();
    StartToken(c);
  }

  bool StartsToken(char c) const {
    switch (open_) {
      case Open::kNone:
        return true;
      case Open::kWord:
        return IsDelimiter(c) || c == '.' || c == '+' || c == '-';
      case Open::kDot:
        return IsDelimiter(c) || !IsDigit(c);
      case Open::kNumber:
        return IsDelimiter(c) || ((c == '+' || c == '-') && text_.back() != 'E' && text_.back() != 'e');
    }
    return true;
  }

  void StartToken(char c) {
    const char next = At(pos_ + 1);
    switch (c) {
      case '\'':
      case '"':
        return SkipQuoted(c);
      case '[':
        return SkipQuoted(']');
      case '`':
        return SkipQuoted('`');
      case '(':
      case ')':
      case ',':
      case '-':
      case '+':
      case '*':
      case '/':
      case '=':
        return Advance();
      case '|':
        if (next == '|') Advance();
        return Advance();
      case '<':
        if (next == '=' || next == '>') Advance();
        return Advance();
      case '>':
        if (next == '=') Advance();
        return Advance();
      default:
        break;
    }
    open_ = c == '.' ? Open::kDot : IsDigit(c) ? Open::kNumber : Open::kWord;
    text_.assign(1, c);
    Advance();
  }

  // A quoted text ends at its closing character; a doubled one stands for itself,
  // and in a back-quoted name a backslash takes the next character literally.
  void SkipQuoted(char closing) {
    const bool back_quoted = closing == '`';
    Advance();
    while (pos_ < sql_.size()) {
      const char c = sql_[pos_];
      if (back_quoted && c == '\\') {
        Advance();
      } else if (c == closing) {
        if (At(pos_ + 1) != closing) break;
        Advance();
      }
      Advance();
    }
    Advance();
  }

  void EndToken() {
    if (open_ == Open::kWord && text_.size() > 1 && text_[0] == ':') AddName(text_.substr(1));
    open_ = Open::kNone;
    text_.clear();
  }

  void AddName(const std::string& name) {
    for (const std::string& known : names_) {
      if (SameText(known, name)) return;
    }
    names_.push_back(name);
  }

  void Advance() { ++pos_; }

  std::string_view sql_;
  size_t pos_ = 0;
  Open open_ = Open::kNone;
  std::string text_;
  std::vector<std::string> names_;
};

}  // namespace

std::vector<std::string> TParams::ParseSQL(std::string_view sql, bool create) {
  std::vector<std::string> names = MarkerScanner(sql).Names();
  if (create) {
    for (const std::string& name : names) {
      if (FindParam(name) == nullptr) CreateParam(ftUnknown, name, ptInput);
    }
  }
  return names;
}
