#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/rtl/FileErrors.h"
#include "platform/rtl/StringList.h"

namespace {

std::vector<std::string> Items(const TStringList& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

using Strings = std::vector<std::string>;

TEST(StringList, EditsByIndexAndRefusesBadIndexes) {
  TStringList list;
  int tag = 0;
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.AddObject("d", &tag), 1);
  list.Insert(0, "a");
  list.Insert(2, "c");
  EXPECT_EQ(Items(list), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Objects(3), &tag);
  EXPECT_EQ(list.IndexOfObject(&tag), 3);
  list.Delete(1);
  list.Put(0, "A");
  EXPECT_EQ(Items(list), (Strings{"A", "c", "d"}));
  try {
    list.Get(3);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(5, "x"), EStringListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, IndexOfIgnoresAsciiCaseUnlessCaseSensitive) {
  TStringList list;
  list.SetText("Alpha\nBETA\n");
  EXPECT_EQ(list.IndexOf("beta"), 1);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("beta"), -1);
  EXPECT_EQ(list.IndexOf("BETA"), 1);
}

TEST(StringList, SortedListsKeepOrderAndApplyTheDuplicatesRule) {
  struct Case {
    TDuplicates rule;
    Strings expected;
  };
  for (const Case& c : {Case{TDuplicates::dupIgnore, {"apple", "Mango", "pear"}},
                        Case{TDuplicates::dupAccept, {"apple", "mango", "Mango", "pear"}},
                        Case{TDuplicates::dupError, {"apple", "Mango", "pear"}}}) {
    TStringList list;
    list.SetDuplicates(c.rule);
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Mango");
    list.Add("apple");
    if (c.rule == TDuplicates::dupError) {
      try {
        list.Add("mango");
        FAIL();
      } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
      }
    } else {
      EXPECT_EQ(list.Add("mango"), 1);
    }
    EXPECT_EQ(Items(list), c.expected);
    int index = -1;
    EXPECT_TRUE(list.Find("MANGO", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("banana", index));
    EXPECT_EQ(index, 1) << "where banana would go";
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    EXPECT_THROW(list.Put(0, "x"), EStringListError);
  }
}

TEST(StringList, SortingCarriesTheObjectsAlong) {
  TStringList list;
  int one = 1, two = 2, three = 3;
  list.AddObject("c", &three);
  list.AddObject("a", &one);
  list.AddObject("B", &two);
  list.Sort();
  EXPECT_EQ(Items(list), (Strings{"a", "B", "c"}));
  EXPECT_EQ(list.Objects(0), &one);
  EXPECT_EQ(list.Objects(1), &two);
  EXPECT_EQ(list.Objects(2), &three);
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText("Alias=d_main\nPath=dat_temple.vtr\nplain\nEmpty=\n");
  EXPECT_EQ(list.Names(0), "Alias");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.ValueFromIndex(1), "dat_temple.vtr");
  EXPECT_EQ(list.Values("PATH"), "dat_temple.vtr");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.IndexOfName("empty"), 3);
  list.SetValue("alias", "x=y");
  EXPECT_EQ(list[0], "alias=x=y");
  EXPECT_EQ(list.Values("Alias"), "x=y");
  list.SetValue("New", "1");
  EXPECT_EQ(list[4], "New=1");
  list.SetValue("Path", "");
  EXPECT_EQ(list.IndexOfName("Path"), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, TextSplitsAtEveryKindOfLineBreak) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour\n\nsix");
  EXPECT_EQ(Items(list), (Strings{"one", "two", "three", "four", "", "six"}));
  list.SetText("a\r\n");
  EXPECT_EQ(Items(list), (Strings{"a"}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("x\ny");
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
  list.LineBreak = "\n";
  EXPECT_EQ(list.Text(), "x\ny\n");
}

TEST(StringList, CommaTextQuotesWhatNeedsItAndParsesItBack) {
  TStringList list;
  for (const char* s : {"a", "b c", "", "x\"y", "p,q", "\xA1\xA2"}) list.Add(s);
  const std::string text = list.CommaText();
  EXPECT_EQ(text, "a,\"b c\",,\"x\"\"y\",\"p,q\",\xA1\xA2");
  TStringList back;
  back.SetCommaText(text);
  EXPECT_EQ(Items(back), Items(list));

  TStringList single;
  single.Add("");
  EXPECT_EQ(single.CommaText(), "\"\"");
}

TEST(StringList, DelimitedTextParsing) {
  struct Case {
    const char* text;
    char delimiter;
    char quote;
    bool strict;
    Strings expected;
  };
  for (const Case& c : {
           Case{"a,b c,\"d,e\",\"f\"\"g\"", ',', '"', false, {"a", "b", "c", "d,e", "f\"g"}},
           Case{"  a , b  ", ',', '"', false, {"a", "b"}},
           Case{"a,,b", ',', '"', false, {"a", "", "b"}},
           Case{"a,", ',', '"', false, {"a", ""}},
           Case{"", ',', '"', false, {}},
           Case{"\"", ',', '"', false, {""}},
           Case{"\"open end", ',', '"', false, {"open end"}},
           Case{"a b;'c;d';", ';', '\'', true, {"a b", "c;d", ""}},
           Case{" x ;y", ';', '"', true, {" x ", "y"}},
       }) {
    TStringList list;
    list.Delimiter = c.delimiter;
    list.QuoteChar = c.quote;
    list.StrictDelimiter = c.strict;
    list.SetDelimitedText(c.text);
    EXPECT_EQ(Items(list), c.expected) << c.text;
  }
  TStringList list;
  list.Delimiter = ';';
  list.QuoteChar = '\'';
  list.StrictDelimiter = true;
  for (const char* s : {"a b", "c;d", "e'f"}) list.Add(s);
  EXPECT_EQ(list.DelimitedText(), "a b;'c;d';'e''f'");
}

TEST(StringList, FilesKeepTheirBytes) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::string name = (folder / ("vtr-list-" + std::to_string(::getpid()) + ".txt")).string();
  {
    std::ofstream out(name, std::ios::binary);
    out << "\xA1\xA2\r\nline two\nlast";
  }
  TStringList list;
  list.LoadFromFile(name);
  EXPECT_EQ(Items(list), (Strings{"\xA1\xA2", "line two", "last"}));
  list.SaveToFile(name);
  std::ifstream in(name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), "\xA1\xA2\r\nline two\r\nlast\r\n");
  std::filesystem::remove(name);
  EXPECT_THROW(list.LoadFromFile(name), EFOpenError);
  EXPECT_THROW(list.SaveToFile((folder / "no-such-folder" / "x.txt").string()), EFCreateError);
}

}  // namespace
