// The parsing services every statement parser uses: name lists, field
// lists and aliases, read from the lexer of a one-statement text.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/processor/SQLCommand.h"
#include "tests/support/EngineErrors.h"

namespace {

// A statement that is nothing but one parsing service, run from its first token.
class ServiceCommand final : public TVTRSQLCommand {
 public:
  ServiceCommand(TVTRLexer& lexer, std::function<void(ServiceCommand&)> service)
      : TVTRSQLCommand(lexer), service_(std::move(service)) {}
  void Parse() override { service_(*this); }
  void Execute(const TVTRQueryContext&, bool, bool, bool&, TVTRAO*, TVTRCursor*) override {}

  using TVTRSQLCommand::ReadAlias;
  using TVTRSQLCommand::ReadFieldList;
  using TVTRSQLCommand::ReadNameList;
  using TVTRSQLCommand::Token;

 private:
  std::function<void(ServiceCommand&)> service_;
};

class ParsingBase : public ::testing::Test {
 protected:
  // Parses the text with the service; the token current afterwards.
  TToken Parse(const std::string& sql, const std::function<void(ServiceCommand&)>& service) {
    lexer_ = std::make_unique<TVTRLexer>(sql, nullptr);
    lexer_->NextCommand();
    ServiceCommand command(*lexer_, service);
    command.Parse();
    return command.Token;
  }

  std::unique_ptr<TVTRLexer> lexer_;
};

TEST_F(ParsingBase, ANameListStopsOnTheTokenAfterTheLastName) {
  std::vector<std::string> names;
  const TToken after = Parse("a, [b c], 'd' x", [&](ServiceCommand& c) { c.ReadNameList(names); });
  EXPECT_EQ(names, std::vector<std::string>({"a", "b c", "d"}));
  EXPECT_EQ(after.text, "x");
}

TEST_F(ParsingBase, FieldListsTakePlainFieldsWithTheirQualifiers) {
  TVTRFields fields;
  Parse("t.a, b", [&](ServiceCommand& c) { c.ReadFieldList(fields); });
  ASSERT_EQ(fields.Count(), 2);
  EXPECT_EQ(fields.Item(0).TableName, "t");
  EXPECT_EQ(fields.Item(0).FieldName, "a");
  EXPECT_EQ(fields.Item(1).TableName, "");
  EXPECT_EQ(fields.Item(1).FieldName, "b");
}

TEST_F(ParsingBase, ListsThatBreakOffRaiseTheirCodes) {
  struct Case {
    const char* sql;
    bool field_list;
    const char* message;
  };
  const Case cases[] = {
      {"a, b,", false, "Unexpected end of SQL command found at line 1, column 5 - Native error: 30161"},
      {"a, 5", false, "Unexpected token '5' found at line 1, column 4 - Native error: 10406"},
      {"5, a", false, "Field name expected, but '5' found at line 1, column 1 - Native error: 10408"},
      {"a + 1, b", true, "Field name expected, but ',' found at line 1, column 6 - Native error: 10409"},
      {"a, 5", true, "Unexpected token '5' found at line 1, column 4 - Native error: 10410"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> names;
    TVTRFields fields;
    EXPECT_EQ(EngineErrorMessageOf([&] {
                Parse(c.sql, [&](ServiceCommand& command) {
                  if (c.field_list)
                    command.ReadFieldList(fields);
                  else
                    command.ReadNameList(names);
                });
              }),
              c.message)
        << c.sql;
  }
}

TEST_F(ParsingBase, AQuotedTextIsAnAliasOnlyAfterAs) {
  struct Case {
    const char* sql;
    bool read;
    const char* alias;
    TVTRTokenKind current_after;
  };
  const Case cases[] = {
      {"AS 'x' y", true, "x", tktString},    {"AS [x y] y", true, "x y", tktString},
      {"x y", true, "x", tktString},         {"[x] y", true, "x", tktString},
      {"'x' y", false, "", tktQuotedString}, {"FROM y", false, "", tktReservedWord},
  };
  for (const Case& c : cases) {
    std::string alias;
    bool read = false;
    const TToken after = Parse(c.sql, [&](ServiceCommand& command) { read = command.ReadAlias(alias); });
    EXPECT_EQ(read, c.read) << c.sql;
    EXPECT_EQ(alias, c.alias) << c.sql;
    EXPECT_EQ(after.kind, c.current_after) << c.sql;
  }
  EXPECT_EQ(EngineErrorMessageOf([&] {
              Parse("AS 5", [](ServiceCommand& command) {
                std::string alias;
                command.ReadAlias(alias);
              });
            }),
            "Field pseudonym expected, but '5' found at line 1, column 4 - Native error: 30177");
}

}  // namespace
