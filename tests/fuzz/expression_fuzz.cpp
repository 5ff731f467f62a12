// libFuzzer target of the expression parser and nodes. Any text either parses or fails with an error of
// the class library's kind (syntax, conversion, arithmetic); a value without fields then evaluates,
// with its type and size, or fails the same way. Anything else (a crash, a hang, an overrun, a
// standard exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/sql/VTRExpressions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const bool condition : {false, true}) {
    try {
      TVTRLexer lexer(text, nullptr);
      if (!lexer.NextCommand()) return 0;
      TVTRSQLExpression expression;
      if (condition)
        expression.ParseSearchCondition(nullptr, lexer);
      else
        expression.ParseValueExpression(nullptr, lexer);
      expression.GetValue(true);
      expression.GetDataType();
      expression.GetDataSize();
    } catch (const Exception&) {
      // A refusal with a message is what bad input must get.
    }
  }
  return 0;
}
