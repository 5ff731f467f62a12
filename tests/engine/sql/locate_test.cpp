// Locate, SearchByFieldValue and partial comparisons through the local cursor.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/engine/sql/ExpressionTable.h"
#include "tests/support/EngineErrors.h"

namespace {

using Rows = std::vector<std::string>;

class Names : public ::testing::Test {
 protected:
  // NAME is no wider than its longest name: a longer key must still not match.
  ExpressionTable table_{{{"NAME", adtString, 4}, {"CITY", adtString, 20}},
                         {{Text("John"), Text("Lampang")},
                          {Text("Joe"), Text("Nan")},
                          {Text("J"), Null()},
                          {Text("Ann"), Text("Nan")},
                          {Null(), Text("Phrae")}}};
};

TEST_F(Names, APartialFilterValueIsAPrefixOfTheName) {
  EXPECT_EQ(table_.Filtered("NAME = 'Jo*'", false, true), Rows({"John", "Joe"}));
  EXPECT_EQ(table_.Filtered("'Jo*' = NAME", false, true), Rows({"John", "Joe"}));
  EXPECT_EQ(table_.Filtered("NAME = 'Jo*' AND CITY = 'Nan*'", false, true), Rows({"Joe"}));
  EXPECT_EQ(table_.Filtered("UPPER(NAME) = 'JO*'", false, true), Rows({"John", "Joe"}));
  EXPECT_EQ(table_.Filtered("NAME = 'Johnson*'", false, true), Rows());
  // Without the option the "*" is a character.
  EXPECT_EQ(table_.Filtered("NAME = 'Jo*'"), Rows());
}

TEST_F(Names, APartialKeyIsAPrefixOfTheField) {
  EXPECT_EQ(table_.Located("NAME", Variant("Jo"), false, true), "John");
  EXPECT_EQ(table_.Located("NAME", Variant("Johnson"), false, true), std::nullopt);
  EXPECT_EQ(table_.Located("NAME", Variant("Joe"), false, false), "Joe");
  EXPECT_EQ(table_.Located("NAME", Variant("Jo"), false, false), std::nullopt);
}

// The seam passes the filter's options as (partial, case-insensitive) and
// Locate's as (case-insensitive, partial): each is set alone here.
TEST_F(Names, EachComparisonOptionWorksAlone) {
  struct FilterCase {
    const char* filter;
    bool case_insensitive;
    bool partial_compare;
    Rows rows;
  };
  const FilterCase filters[] = {
      {"NAME = 'jo*'", false, false, {}},
      {"NAME = 'JOHN'", true, false, {"John"}},
      {"NAME = 'Jo*'", false, true, {"John", "Joe"}},
      {"NAME = 'jo*'", false, true, {}},
      {"NAME = 'jo*'", true, true, {"John", "Joe"}},
  };
  for (const FilterCase& c : filters)
    EXPECT_EQ(table_.Filtered(c.filter, c.case_insensitive, c.partial_compare), c.rows)
        << c.filter << " " << c.case_insensitive << c.partial_compare;

  struct LocateCase {
    const char* key;
    bool case_insensitive;
    bool partial_key;
    std::optional<std::string> found;
  };
  const LocateCase locates[] = {
      {"jo", false, false, std::nullopt}, {"JOHN", true, false, "John"}, {"Jo", false, true, "John"},
      {"jo", false, true, std::nullopt},  {"jo", true, true, "John"},
  };
  for (const LocateCase& c : locates)
    EXPECT_EQ(table_.Located("NAME", Variant(c.key), c.case_insensitive, c.partial_key), c.found)
        << c.key << " " << c.case_insensitive << c.partial_key;
}

TEST_F(Names, LocateFindsNullKeysAndMatchesEveryField) {
  EXPECT_EQ(table_.Located("NAME", Variant::Null()), "NULL");
  EXPECT_EQ(table_.Located("CITY", Variant::Null()), "J");
  EXPECT_EQ(table_.Located(" name ; city ", Variant::Array({Variant("Ann"), Variant("Nan")})), "Ann");
  EXPECT_EQ(table_.Located("NAME;CITY", Variant::Array({Variant("Ann"), Variant("Lampang")})), std::nullopt);
  EXPECT_EQ(table_.Located("NAME", Variant(std::u16string(u"Ann"))), "Ann");
  EXPECT_EQ(EngineErrorMessageOf([&] {
              table_.Located("NAME;CITY", Variant::Array({Variant("Ann"), Variant("Nan"), Variant("x")}));
            }),
            "Count of FieldNames (2) not equal counts of KeyValues (3) - Native error: 30112");
}

TEST_F(Names, SearchByFieldValueComparesWithNullBeforeEveryValue) {
  TVTRLocalCursor& cursor = table_.Cursor();
  cursor.First();
  ASSERT_TRUE(cursor.SearchByFieldValue("NAME", eoGreater, Text("Jo")));
  EXPECT_EQ(table_.CurrentText(0), "John");
  cursor.First();
  ASSERT_TRUE(cursor.SearchByFieldValue("CITY", eoLess, Text("Lampang")));
  EXPECT_EQ(table_.CurrentText(0), "J");
  cursor.First();
  EXPECT_FALSE(cursor.SearchByFieldValue("NAME", eoEqual, Text("Bob")));
}

}  // namespace
