// Filters, FindFirst and its kin, Locate and Lookup of the dataset component
// on a real table, with the engine doing the filtering and searching.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "platform/rtl/Application.h"
#include "platform/rtl/CodePage874.h"
#include "tests/engine/access/SearchFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

using Ids = std::vector<int32_t>;

class Searches : public SearchTest {
 protected:
  void SetUp() override {
    CreateMembers({{1, "Anan"}, {2, "Bua"}, {3, "Chai"}, {4, "bua"}, {5, "Buakaew"}, {6, "สมชาย"}});
    members_->Open();
  }

  int32_t CurrentId() const { return members_->FieldByName("ID")->AsInteger(); }

  std::unique_ptr<TVTRTable> members_ = Table("Member", "ByID");
};

TEST_F(Searches, FilterTextsCompareTextWithTheCaseAndPartialOptions) {
  struct Case {
    const char* filter;
    TFilterOptions options;
    Ids shown;
  };
  const Case cases[] = {
      {"NAME = 'Bua'", {}, {2}},
      {"NAME = 'Bua'", {foCaseInsensitive}, {2, 4}},
      {"NAME = 'Bua*'", {}, {2, 5}},
      {"NAME = 'Bua*'", {foNoPartialCompare}, {}},
      {"NAME = 'bua*'", {foCaseInsensitive}, {2, 4, 5}},
      {"NAME = 'สมชาย'", {}, {6}},
      {"ID >= 5", {}, {5, 6}},
      {"", {}, {1, 2, 3, 4, 5, 6}},
  };
  members_->SetFiltered(true);
  for (const Case& c : cases) {
    members_->SetFilterOptions(c.options);
    members_->SetFilter(c.filter);
    EXPECT_EQ(Shown(*members_), c.shown) << c.filter;
    EXPECT_EQ(members_->RecordCount(), static_cast<int>(c.shown.size())) << c.filter;
  }
}

TEST_F(Searches, FindFirstUsesTheFilterTextWithoutFilteringTheTable) {
  members_->SetFilter("NAME = 'Bua*'");
  ASSERT_FALSE(members_->Filtered());
  EXPECT_TRUE(members_->FindFirst());
  EXPECT_EQ(CurrentId(), 2);
  EXPECT_TRUE(members_->Found());
  EXPECT_EQ(members_->RecordCount(), 6) << "the table stays unfiltered";
  EXPECT_TRUE(members_->FindNext());
  EXPECT_EQ(CurrentId(), 5);
  EXPECT_FALSE(members_->FindNext());
  EXPECT_FALSE(members_->Found());
  EXPECT_EQ(CurrentId(), 5) << "a search that finds nothing does not move";
  EXPECT_TRUE(members_->FindPrior());
  EXPECT_EQ(CurrentId(), 2);
  EXPECT_TRUE(members_->FindLast());
  EXPECT_EQ(CurrentId(), 5);
  members_->Next();
  EXPECT_EQ(CurrentId(), 6) << "moving on walks every record";
  EXPECT_EQ(Shown(*members_), (Ids{1, 2, 3, 4, 5, 6}));
}

TEST_F(Searches, SettingFilteredToItsValueStillGoesToTheFirstRecord) {
  members_->Last();
  members_->SetFiltered(false);
  EXPECT_EQ(CurrentId(), 1);
  members_->SetFilter("ID >= 3");
  members_->SetFiltered(true);
  members_->Last();
  members_->SetFiltered(true);
  EXPECT_EQ(CurrentId(), 3);
}

TEST_F(Searches, AnOnFilterRecordHandlerFiltersAtOnceBesideTheFilterText) {
  members_->SetFilter("NAME = 'bua*'");
  members_->SetFilterOptions({foCaseInsensitive});
  members_->SetFiltered(true);
  ASSERT_EQ(Shown(*members_), (Ids{2, 4, 5}));
  members_->Last();
  members_->SetOnFilterRecord([](TDataSet* dataset, bool& accept) {
    accept = dataset->FieldByName("ID")->AsInteger() > 2;
  });
  EXPECT_EQ(CurrentId(), 4) << "the table went to its first record";
  EXPECT_EQ(Shown(*members_), (Ids{4, 5}));
  EXPECT_EQ(members_->RecordCount(), 2);
  members_->SetOnFilterRecord([](TDataSet* dataset, bool& accept) {
    accept = dataset->FieldByName("ID")->AsInteger() < 5;
  });
  EXPECT_EQ(Shown(*members_), (Ids{2, 4})) << "a new handler decides anew";
  EXPECT_EQ(members_->RecordCount(), 2);
  members_->SetOnFilterRecord(nullptr);
  EXPECT_EQ(Shown(*members_), (Ids{2, 4, 5}));
}

TEST_F(Searches, AnOnFilterRecordHandlerActsOnlyWhileFiltered) {
  members_->SetOnFilterRecord([](TDataSet* dataset, bool& accept) {
    accept = dataset->FieldByName("ID")->AsInteger() % 2 == 0;
  });
  EXPECT_EQ(Shown(*members_), (Ids{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(members_->FindFirst());
  EXPECT_EQ(CurrentId(), 1);
  members_->SetFiltered(true);
  EXPECT_EQ(Shown(*members_), (Ids{2, 4, 6}));
  members_->Close();
  members_->Open();
  EXPECT_EQ(Shown(*members_), (Ids{2, 4, 6})) << "an open hands the filter to the new cursor";
}

TEST_F(Searches, AFailingOnFilterRecordIsShownAndTheScanGoesOn) {
  std::vector<std::string> shown_errors;
  Application().OnException = [&](TObject*, const std::exception& error) { shown_errors.push_back(error.what()); };
  members_->SetOnFilterRecord([](TDataSet* dataset, bool& accept) {
    const int32_t id = dataset->FieldByName("ID")->AsInteger();
    accept = id != 3;
    if (id == 2 || id == 3) throw EDatabaseError("no decision for " + std::to_string(id));
  });
  members_->SetFiltered(true);
  EXPECT_EQ(Shown(*members_), (Ids{1, 2, 4, 5, 6})) << "each record keeps the Accept its handler left";
  Application().OnException = nullptr;
  ASSERT_FALSE(shown_errors.empty());
  EXPECT_EQ(shown_errors.front(), "no decision for 2");
}

TEST_F(Searches, FilterTextsTheCodePageCannotHoldAreRefusedBeforeAnySearch) {
  members_->Next();
  members_->SetFilter("NAME = '中'");
  EXPECT_THROW(members_->FindFirst(), EConvertError);
  EXPECT_EQ(CurrentId(), 2) << "nothing was searched";
  EXPECT_EQ(members_->RecordCount(), 6);
  members_->SetFilter("NAME = 'Chai'");
  members_->SetFiltered(true);
  EXPECT_THROW(members_->SetFilter("NAME = '中'"), EConvertError);
  EXPECT_EQ(members_->Filter(), "NAME = '中'") << "the dataset layer keeps the text";
}

TEST_F(Searches, LocateFindsTheFirstRecordWithTheKeyValuesOrStaysWhereItWas) {
  struct Case {
    const char* fields;
    Variant values;
    TLocateOptions options;
    int32_t found;  // 0: not found
  };
  const Case cases[] = {
      {"NAME", Variant("bua"), {}, 4},
      {"NAME", Variant("BUA"), {loCaseInsensitive}, 2},
      {"NAME", Variant("Buak"), {loPartialKey}, 5},
      {"NAME", Variant("Buakaewdee"), {loPartialKey}, 0},
      {"NAME", Variant("สมชาย"), {}, 6},
      {"ID;NAME", Variant::Array({Variant(5), Variant("Buakaew")}), {}, 5},
      {"ID;NAME", Variant::Array({Variant(4), Variant("Buakaew")}), {}, 0},
      {"ID", Variant(3), {}, 3},
  };
  for (const Case& c : cases) {
    members_->Last();
    int scrolls = 0;
    members_->AfterScroll = [&](TDataSet*) { ++scrolls; };
    EXPECT_EQ(members_->Locate(c.fields, c.values, c.options), c.found != 0) << c.fields;
    EXPECT_EQ(CurrentId(), c.found != 0 ? c.found : 6) << c.fields;
    EXPECT_EQ(scrolls, c.found != 0 ? 1 : 0) << c.fields;
    members_->AfterScroll = nullptr;
  }
  EXPECT_ENGINE_ERROR(members_->Locate("ID;NAME", Variant(5), {}), 30112,
                      "Count of FieldNames (2) not equal counts of KeyValues (1)");
  EXPECT_THROW(members_->Locate("NAME", Variant("中"), {}), EConvertError);
  EXPECT_EQ(CurrentId(), 3) << "where the last Locate left it";
}

TEST_F(Searches, LocateSeesOnlyWhatTheFilterLetsThrough) {
  members_->SetFilter("ID >= 3");
  members_->SetFiltered(true);
  EXPECT_FALSE(members_->Locate("NAME", Variant("Bua"), {}));
  EXPECT_TRUE(members_->Locate("NAME", Variant("bua"), {loCaseInsensitive}));
  EXPECT_EQ(CurrentId(), 4);
}

TEST_F(Searches, LookupAnswersTheResultFieldsWithoutMoving) {
  members_->Next();
  EXPECT_EQ(members_->Lookup("ID", Variant(6), "NAME"), Variant("สมชาย"));
  EXPECT_EQ(members_->Lookup("NAME", Variant("Chai"), "ID;NAME"), Variant::Array({Variant(3), Variant("Chai")}));
  EXPECT_TRUE(members_->Lookup("ID", Variant(99), "NAME").IsNull());
  EXPECT_EQ(CurrentId(), 2);
  members_->Next();
  EXPECT_EQ(CurrentId(), 3) << "the dataset goes on from where it stood";
}

TEST_F(Searches, OperationsOnAClosedTableThatNeedTheCursorRaiseTheirOwnCodes) {
  members_->Close();
  TStringList names;
  names.Add("ID");
  FakeExpression condition;
  struct Case {
    std::function<void()> action;
    int32_t code;
  };
  const Case cases[] = {
      {[&] { members_->Locate("ID", Variant(1), {}); }, 10271},
      {[&] { members_->Lookup("ID", Variant(1), "NAME"); }, 10271},
      {[&] { members_->SetFilterExpression(&condition, nullptr, nullptr); }, 10300},
      {[&] { members_->SetProjection(names, names); }, 10320},
      {[&] { members_->GotoKey(); }, 10290},
  };
  for (const Case& c : cases) EXPECT_ENGINE_ERROR(c.action(), c.code, "Nil pointer occured");
}

TEST_F(Searches, TheSqlEnginesConditionNarrowsTheCursorBesideTheFilter) {
  members_->SetFilter("ID <= 5");
  members_->SetFiltered(true);
  FakeExpression condition;
  condition.ParseFilter(*members_->Handle(), "ID >= 3", false, false);
  members_->SetFilterExpression(&condition, nullptr, nullptr);
  EXPECT_EQ(condition.BoundCursor(), members_->Handle());
  EXPECT_EQ(Shown(*members_), (Ids{3, 4, 5}));
  members_->SetFilterExpression(nullptr, nullptr, nullptr);
  EXPECT_EQ(Shown(*members_), (Ids{1, 2, 3, 4, 5}));
}

}  // namespace
