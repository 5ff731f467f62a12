#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/VTRDateFormat.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/ArithmeticError.h"
#include "platform/rtl/Exception.h"

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

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, 0));
}

TEST(DateFormater, FormatsEveryElement) {
  const TDateTime value = At(2007, 3, 5, 14, 7, 9);  // a Monday
  const struct {
    std::string_view format;
    std::string_view text;
  } cases[] = {
      {"DD/MM/YYYY", "05/03/2007"},           {"dd-mon-yy", "05-Mar-07"},
      {"D/M/YEAR Q", "5/3/2007 1"},           {"MONTH RM", "March III"},
      {"DDD DAY DY DW", "Mon Monday 64 1"},   {"HH24:NN:SS H24:N:S", "14:07:09 14:7:9"},
      {"HH12 HH H12 H AMPM", "02 02 2 2 PM"}, {"'Day' DD \"of\" MONTH", "Day 05 of March"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, TDateFormater(c.format).FormatDateTime(value)) << c.format;

  const TDateFormater edges("RM DY DW HH12 AMPM");
  EXPECT_EQ("XII 366 7 00 AM", edges.FormatDateTime(At(2000, 12, 31)));
  EXPECT_EQ("VIII 214 2 00 PM", edges.FormatDateTime(At(2005, 8, 2, 12, 0)));
}

TEST(DateFormater, ParsesWhatTheElementsRead) {
  const struct {
    std::string_view format;
    std::string_view text;
    TDateTime value;
  } cases[] = {
      {"DD/MM/YYYY", "05/03/2007", At(2007, 3, 5)},
      {"D/M/YYYY", "7/3/2007", At(2007, 3, 7)},
      {"D/M/YYYY", "17/12/2007", At(2007, 12, 17)},
      {"DD.MM.YY", "01.02.29", At(2029, 2, 1)},
      {"DD.MM.YY", "01.02.30", At(1930, 2, 1)},
      {"Q DD YYYY", "2 15 2007", At(2007, 4, 15)},
      {"Q", "3", 0},
      {"HH24:NN:SS", "23:59:58", At(1899, 12, 30, 23, 59, 58)},
      {"H24:N:S", "7:5:3", At(1899, 12, 30, 7, 5, 3)},
      {"H:NN AMPM", "7:05 PM", At(1899, 12, 30, 19, 5)},
      {"H12:NN AMPM", "11:05 AM", At(1899, 12, 30, 11, 5)},
      {"HH:NN AMPM", "02:30 PM", At(1899, 12, 30, 14, 30)},
      {"HH:NN AMPM", "02:30 am", At(1899, 12, 30, 2, 30)},
      {"HH:NN AMPM", "12:30 PM", At(1899, 12, 30, 12, 30)},
      {"HH:NN AMPM", "12:30 AM", At(1899, 12, 30, 0, 30)},
      {"AMPM HH:NN", "PM 03:15", At(1899, 12, 30, 15, 15)},
      // Names, Roman months, day numbers and literals are skipped by their length.
      {"DAY DD/MM MONTH YYYY", "Mon 05/03 March 2007", At(2007, 3, 5)},
      {"'on' DD/MM/YYYY", "at 05/03/2007", At(2007, 3, 5)},
      {"DD/MM/YYYY HH24:NN", "25/12/2004 18:45", At(2004, 12, 25, 18, 45)},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(c.value, TDateFormater(c.format).ParseDateTime(c.text)) << c.format << " " << c.text;
}

TEST(DateFormater, RoundTripsItsOwnText) {
  const TDateTime value = At(2007, 3, 5, 16, 45, 30);
  for (std::string_view format : {"DD/MM/YYYY HH24:NN:SS", "YYYY-MM-DD HH:NN:SS AMPM", "D.M.YY H24.N.S"}) {
    const TDateFormater formater(format);
    EXPECT_DOUBLE_EQ(value, formater.ParseDateTime(formater.FormatDateTime(value))) << format;
  }
}

TEST(DateFormater, RejectsTextThatDoesNotFit) {
  EXPECT_THROW(TDateFormater("DD/MM/YYYY").ParseDateTime("7/3/2007"), EConvertError);
  EXPECT_THROW(TDateFormater("DD/MM/YYYY").ParseDateTime("31/02/2007"), EConvertError);
  EXPECT_THROW(TDateFormater("DD/MM/YYYY").ParseDateTime("05/03"), EConvertError);
  EXPECT_THROW(TDateFormater("HH24:NN").ParseDateTime("24:00"), EConvertError);
  EXPECT_THROW(TDateFormater("HH24:NN").ParseDateTime("-1:00"), ERangeError);
  try {
    TDateFormater("HH:NN AMPM").ParseDateTime("02:30 XM");
    ADD_FAILURE() << "no error";
  } catch (const EVTRException& e) {
    EXPECT_EQ(30129, e.NativeError());
    EXPECT_EQ("AM/PM word expected, but 'XM' found - Native error: 30129", e.Message());
  }
}

TEST(DateFormater, TellsResultLengthAndType) {
  const struct {
    std::string_view format;
    int32_t length;
    TVTRAdvancedDataType type;
  } cases[] = {
      {"DD MONTH YYYY", 17, adtDate},
      {"HH24:NN", 5, adtTime},
      {"DD", 2, adtDate},
      {"'at noon'", 7, adtDateTime},
      {"YYYY-MM-DD HH24:NN:SS", 19, adtDateTime},
      {"DAY DDD MON Q", 12 + 1 + 3 + 1 + 3 + 1 + 1, adtDate},
      // The longest texts: day 366 of a year and month VIII.
      {"DY RM", 3 + 1 + 4, adtDate},
      {"AMPM", 2, adtTime},
  };
  for (const auto& c : cases) {
    const TDateFormater formater(c.format);
    EXPECT_EQ(c.length, formater.GetResultLength()) << c.format;
    EXPECT_EQ(c.type, formater.GetResultDataType()) << c.format;
  }
}

}  // namespace
