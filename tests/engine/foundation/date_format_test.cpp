#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/dateformat/DateFormatTokens.h"

namespace {

struct Element {
  TDateFormatType kind;
  std::string text;
  bool operator==(const Element&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Element& e) {
  return out << int(e.kind) << ":\"" << e.text << '"';
}

std::vector<Element> Elements(std::string_view format) {
  std::vector<Element> result;
  for (const TDateFormatToken& token : ParseDateFormat(format)) result.push_back({token.kind, token.text});
  return result;
}

TEST(DateFormatElements, LongestWordWinsAndTheRestIsLiteral) {
  const struct {
    std::string_view format;
    std::vector<Element> elements;
  } cases[] = {
      {"DD/MM/YYYY", {{dftDD, "DD"}, {dftLiteral, "/"}, {dftMM, "MM"}, {dftLiteral, "/"}, {dftYYYY, "YYYY"}}},
      {"dd-mon-yy", {{dftDD, "dd"}, {dftLiteral, "-"}, {dftMON, "mon"}, {dftLiteral, "-"}, {dftYY, "yy"}}},
      {"MONDAY", {{dftMON, "MON"}, {dftDAY, "DAY"}}},
      {"Month Year", {{dftMONTH, "Month"}, {dftLiteral, " "}, {dftYEAR, "Year"}}},
      {"HH24:NN:SS AMPM",
       {{dftHH24, "HH24"},
        {dftLiteral, ":"},
        {dftNN, "NN"},
        {dftLiteral, ":"},
        {dftSS, "SS"},
        {dftLiteral, " "},
        {dftAMPM, "AMPM"}}},
      {"HH12 H12 H24 HH H",
       {{dftHH12, "HH12"},
        {dftLiteral, " "},
        {dftH12, "H12"},
        {dftLiteral, " "},
        {dftH24, "H24"},
        {dftLiteral, " "},
        {dftHH, "HH"},
        {dftLiteral, " "},
        {dftH, "H"}}},
      {"DDD DY DW D Q RM M N S",
       {{dftDDD, "DDD"},
        {dftLiteral, " "},
        {dftDY, "DY"},
        {dftLiteral, " "},
        {dftDW, "DW"},
        {dftLiteral, " "},
        {dftD, "D"},
        {dftLiteral, " "},
        {dftQ, "Q"},
        {dftLiteral, " "},
        {dftRM, "RM"},
        {dftLiteral, " "},
        {dftM, "M"},
        {dftLiteral, " "},
        {dftN, "N"},
        {dftLiteral, " "},
        {dftS, "S"}}},
      // Unquoted letters of ordinary words are taken as format words.
      {"Date", {{dftD, "D"}, {dftLiteral, "ate"}}},
      {"'Date' DD", {{dftLiteral, "Date"}, {dftLiteral, " "}, {dftDD, "DD"}}},
      {"x\"it's\"y", {{dftLiteral, "x"}, {dftLiteral, "it's"}, {dftLiteral, "y"}}},
      {"'open", {{dftLiteral, "open"}}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.elements, Elements(c.format)) << c.format;
}

}  // namespace
