#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRLexer.h"

namespace {

struct Lexed {
  TVTRTokenKind kind;
  std::string text;
  bool operator==(const Lexed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Lexed& t) {
  return out << int(t.kind) << ":\"" << t.text << '"';
}

// Every token of every command, in order. Parameter values live as long as the lexer.
std::vector<std::vector<TToken>> AllTokens(TVTRLexer& lexer) {
  std::vector<std::vector<TToken>> commands;
  while (lexer.NextCommand()) {
    commands.emplace_back();
    TToken token;
    for (bool found = lexer.GetCurrentToken(token); found; found = lexer.GetNextToken(token))
      commands.back().push_back(token);
  }
  return commands;
}

std::vector<std::vector<TToken>> Commands(std::string_view sql) {
  TVTRLexer lexer(sql, nullptr);
  return AllTokens(lexer);
}

std::vector<Lexed> Kinds(std::string_view sql) {
  std::vector<Lexed> result;
  for (const auto& command : Commands(sql))
    for (const TToken& token : command) result.push_back({token.kind, token.text});
  return result;
}

// The message and code of the error the text raises.
std::pair<std::string, int32_t> LexError(std::string_view sql, const TVTRSQLParams* params = nullptr) {
  try {
    TVTRLexer lexer(sql, params);
  } catch (const EVTRException& e) {
    return {e.Message(), e.NativeError()};
  }
  return {"no error", 0};
}

TEST(Lexer, WordsAreReservedInAnyCaseExceptAbsolute) {
  const auto commands = Commands("SeLeCt absolute `from` [select] select_ \"select\"");
  ASSERT_EQ(1u, commands.size());
  const auto& t = commands[0];
  ASSERT_EQ(6u, t.size());
  EXPECT_TRUE(IsReservedWordToken(t[0], ReservedWordNo("SELECT")));
  EXPECT_TRUE(IsReservedWordToken(t[0], kAnyReservedWord));
  EXPECT_FALSE(IsReservedWordToken(t[0], ReservedWordNo("FROM")));
  EXPECT_EQ(tktString, t[1].kind);
  EXPECT_EQ(kNotReservedWord, t[1].reserved_word);
  // A back-quoted keyword is some keyword, but none in particular.
  EXPECT_EQ(tktReservedWord, t[2].kind);
  EXPECT_EQ(kNotReservedWord, t[2].reserved_word);
  EXPECT_TRUE(IsReservedWordToken(t[2], kAnyReservedWord));
  EXPECT_FALSE(IsReservedWordToken(t[2], ReservedWordNo("FROM")));
  EXPECT_EQ(tktBracketedString, t[3].kind);
  EXPECT_EQ(kNotReservedWord, t[3].reserved_word);
  EXPECT_EQ(tktString, t[4].kind);
  EXPECT_EQ(tktQuotedString, t[5].kind);
  EXPECT_FALSE(IsReservedWordToken(t[5], kAnyReservedWord));
}

TEST(Lexer, SplitsTextIntoTokens) {
  const struct {
    std::string_view sql;
    std::vector<Lexed> tokens;
  } cases[] = {
      {"12.5 1e+5 .5 7", {{tktFloat, "12.5"}, {tktFloat, "1e+5"}, {tktFloat, ".5"}, {tktInt, "7"}}},
      {"1+2", {{tktInt, "1"}, {tktString, "+"}, {tktInt, "2"}}},
      {"1E-2-3", {{tktFloat, "1E-2"}, {tktString, "-"}, {tktInt, "3"}}},
      {"a.b", {{tktString, "a"}, {tktDot, "."}, {tktString, "b"}}},
      {"t.*", {{tktString, "t"}, {tktDot, "."}, {tktString, "*"}}},
      {"a-b", {{tktString, "a"}, {tktString, "-"}, {tktString, "b"}}},
      {"x<>y", {{tktString, "x"}, {tktString, "<>"}, {tktString, "y"}}},
      {"x<=y", {{tktString, "x"}, {tktString, "<="}, {tktString, "y"}}},
      {"x>=y", {{tktString, "x"}, {tktString, ">="}, {tktString, "y"}}},
      {"x||y", {{tktString, "x"}, {tktString, "||"}, {tktString, "y"}}},
      {"x<y>z", {{tktString, "x"}, {tktString, "<"}, {tktString, "y"}, {tktString, ">"}, {tktString, "z"}}},
      {"x!=y", {{tktString, "x!"}, {tktString, "="}, {tktString, "y"}}},
      {"x != y", {{tktString, "x"}, {tktString, "!"}, {tktString, "="}, {tktString, "y"}}},
      {"(a,b)",
       {{tktLeftParenthesis, "("},
        {tktString, "a"},
        {tktComma, ","},
        {tktString, "b"},
        {tktRightParenthesis, ")"}}},
      {"'it''s' \"say \"\"hi\"\"\"", {{tktQuotedString, "it's"}, {tktQuotedString, "say \"hi\""}}},
      {"'a\"b' \"a'b\"", {{tktQuotedString, "a\"b"}, {tktQuotedString, "a'b"}}},
      {"[my name] [a]]b]", {{tktBracketedString, "my name"}, {tktBracketedString, "a]b"}}},
      {"`a\\`b` `c``d`", {{tktString, "a`b"}, {tktString, "c`d"}}},
      {"''", {{tktQuotedString, ""}}},
      {"'a--b' 'a/*b*/c' [a--b] `a--b`",
       {{tktQuotedString, "a--b"},
        {tktQuotedString, "a/*b*/c"},
        {tktBracketedString, "a--b"},
        {tktString, "a--b"}}},
      {"a -- note ; b\nc /* x; y */ d", {{tktString, "a"}, {tktString, "c"}, {tktString, "d"}}},
      {"ab/*c*/de", {{tktString, "abde"}}},
      {"a--end", {{tktString, "a"}}},
      {"n'x'", {{tktString, "n'x'"}}},
      {"\xA1\xD2\xC3 = '\xA1'", {{tktString, "\xA1\xD2\xC3"}, {tktString, "="}, {tktQuotedString, "\xA1"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.tokens, Kinds(c.sql)) << c.sql;
}

TEST(Lexer, SemicolonsSeparateCommandsAndEmptyOnesVanish) {
  const auto commands = Commands(";select 1;;select 2;");
  ASSERT_EQ(2u, commands.size());
  for (const auto& command : commands) {
    ASSERT_EQ(2u, command.size());
    EXPECT_TRUE(IsReservedWordToken(command[0], 179));
    EXPECT_EQ(tktInt, command[1].kind);
  }
  EXPECT_EQ("2", commands[1][1].text);
  for (std::string_view empty : {"", " ; ;\n", "-- only a comment", "/* open comment", "; /* a */ -- b\n;"}) {
    TVTRLexer lexer(empty, nullptr);
    EXPECT_EQ(0, lexer.CommandCount()) << empty;
    EXPECT_FALSE(lexer.NextCommand()) << empty;
  }
}

TEST(Lexer, RecordsWhereEachTokenStarts) {
  const auto commands = Commands("select\ta,\r\n  'x\ny' z -- c\n/* a\nb */ `q\\`r` w");
  ASSERT_EQ(1u, commands.size());
  const struct {
    std::string_view text;
    int32_t line, column;
  } expected[] = {{"select", 1, 1}, {"a", 1, 8},   {",", 1, 9}, {"x\ny", 2, 3},
                  {"z", 3, 4},      {"q`r", 5, 6}, {"w", 5, 12}};
  const auto& tokens = commands[0];
  ASSERT_EQ(std::size(expected), tokens.size());
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    EXPECT_EQ(expected[i].text, tokens[i].text);
    EXPECT_EQ(expected[i].line, tokens[i].line) << expected[i].text;
    EXPECT_EQ(expected[i].column, tokens[i].column) << expected[i].text;
  }
}

TEST(Lexer, ReportsLexicalErrorsWithTheirPositions) {
  const struct {
    std::string_view sql;
    int32_t code;
    std::string_view message;
  } cases[] = {
      {"12abc", 30062, "Invalid numeric symbol 'a' at line 1, column 3"},
      {"select\n  1.5x", 30062, "Invalid numeric symbol 'x' at line 2, column 6"},
      {"((a)", 30059, "Missing symbol ')' at line 1, column 2"},
      {"(a) (\nb; select 1", 30059, "Missing symbol ')' at line 1, column 5"},
      {"(a))", 30060, "Unexpected symbol ')' found at line 1, column 4"},
      {"select 'abc", 30061, "Unterminated string at line 1, column 8"},
      {"a\n[b", 30061, "Unterminated string at line 2, column 1"},
      {"`b\\", 30061, "Unterminated string at line 1, column 1"},
      {"('abc", 30059, "Missing symbol ')' at line 1, column 1"},
  };
  for (const auto& c : cases) {
    const auto [message, code] = LexError(c.sql);
    EXPECT_EQ(c.code, code) << c.sql;
    EXPECT_EQ(std::string(c.message) + " - Native error: " + std::to_string(c.code), message) << c.sql;
  }
}

TEST(Lexer, CursorWalksTheCurrentCommand) {
  TVTRLexer lexer("a b c; d", nullptr);
  TToken token;
  EXPECT_FALSE(lexer.GetCurrentToken(token)) << "no command is current before NextCommand";
  EXPECT_FALSE(lexer.SetCurrentTokenNo(0));
  ASSERT_TRUE(lexer.NextCommand());
  EXPECT_EQ(0, lexer.GetCurrentTokenNo());
  ASSERT_TRUE(lexer.GetCurrentToken(token));
  EXPECT_EQ("a", token.text);
  ASSERT_TRUE(lexer.LookAheadToken(token));
  EXPECT_EQ("b", token.text);
  EXPECT_EQ(0, lexer.GetCurrentTokenNo());
  ASSERT_TRUE(lexer.GetNextToken(token));
  EXPECT_EQ("b", token.text);
  EXPECT_EQ(1, lexer.GetCurrentTokenNo());
  ASSERT_TRUE(lexer.GetNextToken(token));
  EXPECT_EQ("c", token.text);
  EXPECT_FALSE(lexer.LookAheadToken(token));

  // Past the end only the kind changes, so the last token's position stays at hand.
  EXPECT_FALSE(lexer.GetNextToken(token));
  EXPECT_EQ(tktNone, token.kind);
  EXPECT_EQ("c", token.text);
  EXPECT_EQ(5, token.column);
  EXPECT_EQ(3, lexer.GetCurrentTokenNo());
  EXPECT_FALSE(lexer.GetCurrentToken(token));

  EXPECT_TRUE(lexer.GotoToken(0, token));
  EXPECT_EQ("a", token.text);
  EXPECT_FALSE(lexer.SetCurrentTokenNo(-1));
  EXPECT_FALSE(lexer.GetCurrentToken(token));
  EXPECT_TRUE(lexer.SetCurrentTokenNo(2));

  // Each command keeps its own cursor.
  ASSERT_TRUE(lexer.NextCommand());
  EXPECT_EQ(1, lexer.GetCurrentCommandNo());
  ASSERT_TRUE(lexer.GetCurrentToken(token));
  EXPECT_EQ("d", token.text);
  lexer.SetCurrentCommandNo(0);
  EXPECT_EQ(2, lexer.GetCurrentTokenNo());
  lexer.SetCurrentCommandNo(1);
  EXPECT_FALSE(lexer.NextCommand());
  EXPECT_FALSE(lexer.NextCommand());
  EXPECT_EQ(2, lexer.GetCurrentCommandNo());
}

TEST(Lexer, AddTokenAppendsToTheCurrentCommand) {
  TVTRLexer lexer("a", nullptr);
  lexer.AddCommand();
  EXPECT_EQ(2, lexer.CommandCount());
  EXPECT_EQ(1, lexer.GetCurrentCommandNo());
  TToken token;
  token.kind = tktInt;
  token.text = "5";
  lexer.AddToken(token);
  token.text = "6";
  lexer.AddToken(token);
  EXPECT_EQ(1, lexer.GetCurrentTokenNo());
  TToken read;
  ASSERT_TRUE(lexer.GotoToken(0, read));
  EXPECT_EQ("5", read.text);
}

// Parameters named A, b and C holding 1, 2 and 3.
class LexerParameters : public ::testing::Test {
 protected:
  LexerParameters() {
    int32_t value = 1;
    for (const char* name : {"A", "b", "C"}) {
      TVTRSQLParam& param = params_.AddParam();
      param.SetName(name);
      param.SetAsInteger(value++);
    }
  }
  TVTRSQLParams params_;
};

TEST_F(LexerParameters, NamedMarkersBindACopyOfTheirValueInAnyCase) {
  TVTRLexer lexer("select :a, :B from t where x = :c", &params_);
  params_.Items(0).SetAsInteger(10);  // the lexer took its copies already
  const auto commands = AllTokens(lexer);
  ASSERT_EQ(1u, commands.size());
  std::vector<TToken> markers;
  for (const TToken& token : commands[0])
    if (token.kind == tktParameter) markers.push_back(token);
  ASSERT_EQ(3u, markers.size());
  const struct {
    std::string_view text;
    int32_t value;
    int32_t column;
  } expected[] = {{"a", 1, 8}, {"B", 2, 12}, {"c", 3, 32}};
  for (std::size_t i = 0; i < markers.size(); ++i) {
    EXPECT_EQ(expected[i].text, markers[i].text);
    EXPECT_EQ(kNotReservedWord, markers[i].reserved_word);
    EXPECT_EQ(expected[i].column, markers[i].column);
    ASSERT_NE(nullptr, markers[i].value);
    EXPECT_EQ(expected[i].value, markers[i].value->GetAsInteger());
    EXPECT_FALSE(markers[i].value->IsBorrowed());
  }
}

TEST_F(LexerParameters, QuestionMarksBindByPositionAcrossCommands) {
  TVTRLexer lexer("insert into t values (?, ?); delete from t where x = ?", &params_);
  const auto commands = AllTokens(lexer);
  ASSERT_EQ(2u, commands.size());
  std::vector<TToken> markers;
  for (const auto& command : commands)
    for (const TToken& token : command)
      if (token.kind == tktParameter) markers.push_back(token);
  ASSERT_EQ(3u, markers.size());
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ("Param" + std::to_string(i + 1), markers[i].text);
    EXPECT_EQ(i + 1, markers[i].value->GetAsInteger());
  }
}

TEST_F(LexerParameters, MarkerWithoutAValueFails) {
  params_.Items(2).SetName("other");
  const struct {
    std::string_view sql;
    std::string_view message;
  } cases[] = {
      {"select ?, ?, ?, ?", "Value for parameter 'Param4' not found"},
      {"select :c", "Value for parameter 'c' not found"},
      {"select :", "Value for parameter '' not found"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::pair(std::string(c.message) + " - Native error: 30358", 30358), LexError(c.sql, &params_))
        << c.sql;

  TVTRSQLParams two;
  two.AddParam().SetName("p1");
  two.AddParam().SetName("p2");
  EXPECT_EQ(30358, LexError("select ?, ?, ?", &two).second);
  EXPECT_EQ(30358, LexError("select :a", nullptr).second);
}

TEST_F(LexerParameters, QuotedTextIsNeverAMarker) {
  EXPECT_EQ((std::vector<Lexed>{{tktQuotedString, ":a"}, {tktBracketedString, "?"}, {tktString, ":zz"}}),
            Kinds("':a' [?] `:zz`"));
}

TEST(SQLParams, FindsByNameIgnoringCaseAndClears) {
  TVTRSQLParams params;
  EXPECT_EQ(nullptr, params.FindParam("x"));
  TVTRSQLParam& first = params.AddParam();
  EXPECT_TRUE(first.IsNull());
  EXPECT_EQ(bdtUnknown, first.DataType());
  first.SetName("Amount");
  params.AddParam().SetName("AMOUNT");
  params.AddParam().SetName("\xA1\xD2");
  EXPECT_EQ(3, params.Count());
  EXPECT_EQ(&params.Items(0), params.FindParam("aMoUnT"));
  EXPECT_EQ(&params.Items(2), params.FindParam("\xA1\xD2"));
  EXPECT_EQ(nullptr, params.FindParam("Amoun"));
  params.Clear();
  EXPECT_EQ(0, params.Count());
  EXPECT_EQ(nullptr, params.FindParam("Amount"));
}

}  // namespace
