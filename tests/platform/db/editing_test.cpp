#include <gtest/gtest.h>

#include "platform/rtl/Application.h"
#include "tests/platform/db/TestSupport.h"

namespace {

std::vector<std::string> Names(TDataSet& dataset) {
  std::vector<std::string> names;
  for (dataset.First(); !dataset.Eof(); dataset.Next())
    names.push_back(dataset.FieldByName("NAME")->AsString());
  return names;
}

TEST(Editing, InsertPlacesTheRecordBeforeTheActiveOneAppendAtTheEnd) {
  auto dataset = People(3);
  dataset->Next();
  dataset->Insert();
  EXPECT_EQ(dsInsert, dataset->State());
  EXPECT_EQ(-1, dataset->RecNo());
  dataset->FieldByName("NAME")->SetAsString("before P2");
  dataset->Post();
  EXPECT_EQ("before P2", dataset->FieldByName("NAME")->AsString());
  EXPECT_EQ(2, dataset->RecNo());
  dataset->Append();
  dataset->FieldByName("NAME")->SetAsString("last");
  dataset->Post();
  EXPECT_EQ((std::vector<std::string>{"P1", "before P2", "P2", "P3", "last"}), Names(*dataset));
}

TEST(Editing, CancelDropsTheChangeAndReturnsToTheRecord) {
  auto dataset = People(3);
  dataset->Next();
  dataset->Edit();
  dataset->FieldByName("NAME")->SetAsString("changed");
  dataset->Cancel();
  EXPECT_EQ("P2", dataset->FieldByName("NAME")->AsString());
  dataset->Insert();
  dataset->Cancel();
  EXPECT_EQ("P2", dataset->FieldByName("NAME")->AsString());
  EXPECT_EQ(3, dataset->RecordCount());
}

TEST(Editing, CheckBrowseModePostsAChangedRecordAndCancelsAnUnchangedOne) {
  auto dataset = People(2);
  int posts = 0, cancels = 0;
  dataset->BeforePost = [&](TDataSet*) { ++posts; };
  dataset->BeforeCancel = [&](TDataSet*) { ++cancels; };
  dataset->Edit();
  dataset->FieldByName("NAME")->SetAsString("kept");
  EXPECT_TRUE(dataset->Modified());
  EXPECT_TRUE(dataset->FieldByName("NAME")->Modified());
  dataset->CheckBrowseMode();
  EXPECT_EQ(dsBrowse, dataset->State());
  EXPECT_EQ(1, posts);
  EXPECT_EQ("kept", dataset->FieldByName("NAME")->AsString());
  EXPECT_FALSE(dataset->FieldByName("NAME")->Modified());
  dataset->Edit();
  dataset->CheckBrowseMode();
  EXPECT_EQ(1, posts);
  EXPECT_EQ(1, cancels);
}

TEST(Editing, AReadOnlyDatasetRefusesEveryChange) {
  auto dataset = People(1);
  dataset->SetReadOnly(true);
  for (auto operation : {&TDataSet::Edit, &TDataSet::Insert, &TDataSet::Append, &TDataSet::Delete}) {
    try {
      ((*dataset).*operation)();
      FAIL() << "a read-only dataset accepted a change";
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ("Cannot modify a read-only dataset", e.what());
    }
    EXPECT_EQ(dsBrowse, dataset->State());
  }
}

TEST(Editing, PostRefusesARequiredFieldWithoutAValue) {
  TArrayDataSet dataset(nullptr, {{"ID", ftInteger, 0, true}, {"NAME", ftString, 10}});
  dataset.Open();
  dataset.Append();
  dataset.FieldByName("NAME")->SetAsString("x");
  try {
    dataset.Post();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Field 'ID' must have a value", e.what());
  }
  EXPECT_EQ(dsInsert, dataset.State());
  dataset.FieldByName("ID")->SetAsInteger(7);
  dataset.Post();
  EXPECT_EQ(1, dataset.RecordCount());
}

TEST(Editing, EventsOfAnInsertRunInOrderAndOnNewRecordFillsDefaults) {
  auto dataset = People(1);
  std::vector<std::string> events;
  dataset->BeforeInsert = [&](TDataSet*) { events.push_back("BeforeInsert"); };
  dataset->OnNewRecord = [&](TDataSet* ds) {
    events.push_back("OnNewRecord");
    ds->FieldByName("NAME")->SetAsString("new");
  };
  dataset->AfterInsert = [&](TDataSet*) { events.push_back("AfterInsert"); };
  dataset->BeforePost = [&](TDataSet*) { events.push_back("BeforePost"); };
  dataset->AfterPost = [&](TDataSet*) { events.push_back("AfterPost"); };
  dataset->Append();
  EXPECT_FALSE(dataset->Modified());  // defaults alone are no change
  dataset->Post();
  EXPECT_EQ(
      (std::vector<std::string>{"BeforeInsert", "OnNewRecord", "AfterInsert", "BeforePost", "AfterPost"}),
      events);
  EXPECT_EQ("new", dataset->FieldByName("NAME")->AsString());
}

TEST(Editing, ClosingWhileEditingDiscardsTheChange) {
  auto dataset = People(1);
  dataset->Edit();
  dataset->FieldByName("NAME")->SetAsString("lost");
  dataset->Close();
  dataset->Open();
  EXPECT_EQ("P1", dataset->FieldByName("NAME")->AsString());
}

TEST(Editing, RefreshPostsAPendingChangeAndStaysOnTheRecord) {
  auto dataset = People(3);
  dataset->Next();
  std::vector<std::string> events;
  dataset->BeforeRefresh = [&](TDataSet*) { events.push_back("BeforeRefresh"); };
  dataset->AfterPost = [&](TDataSet*) { events.push_back("AfterPost"); };
  dataset->AfterRefresh = [&](TDataSet*) { events.push_back("AfterRefresh"); };
  dataset->Edit();
  dataset->FieldByName("NAME")->SetAsString("saved");
  dataset->Refresh();
  EXPECT_EQ((std::vector<std::string>{"BeforeRefresh", "AfterPost", "AfterRefresh"}), events);
  EXPECT_EQ(dsBrowse, dataset->State());
  EXPECT_EQ(2, dataset->RecNo());
  EXPECT_EQ("saved", dataset->FieldByName("NAME")->AsString());
}

TEST(Editing, WritingOutsideEditStateIsRefused) {
  auto dataset = People(1);
  EXPECT_THROW(dataset->FieldByName("NAME")->SetAsString("x"), EDatabaseError);
  EXPECT_THROW(dataset->Post(), EDatabaseError);
  EXPECT_EQ("P1", dataset->FieldByName("NAME")->AsString());
}

class OperationGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataset = People(2);
    Application().OnException = [this](TObject*, const std::exception& e) { shown.push_back(e.what()); };
  }
  void TearDown() override { Application().OnException = nullptr; }

  std::unique_ptr<TArrayDataSet> dataset;
  std::vector<std::string> shown;
};

TEST_F(OperationGuardTest, RetryRunsThePostAgainAndEndsInBrowse) {
  int failures = 1;
  dataset->internal_post_calls = 0;
  dataset->on_internal_post = [&] {
    if (failures-- > 0) throw EDatabaseError("Table is locked");
  };
  std::vector<std::string> seen;
  dataset->OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
    seen.push_back(error.what());
    EXPECT_EQ(daFail, action);
    action = daRetry;
  };
  dataset->Edit();
  dataset->FieldByName("NAME")->SetAsString("retried");
  dataset->Post();
  EXPECT_EQ(2, dataset->internal_post_calls);
  EXPECT_EQ((std::vector<std::string>{"Table is locked"}), seen);
  EXPECT_EQ(dsBrowse, dataset->State());
  EXPECT_EQ("retried", dataset->FieldByName("NAME")->AsString());
}

TEST_F(OperationGuardTest, AbortRaisesASilentAbortAndKeepsTheEdit) {
  dataset->on_internal_post = [] { throw EDatabaseError("Record is locked"); };
  dataset->OnPostError = [](TDataSet*, EDatabaseError&, TDataAction& action) { action = daAbort; };
  dataset->Edit();
  dataset->FieldByName("NAME")->SetAsString("pending");
  try {
    dataset->Post();
    FAIL() << "the abort did not leave Post";
  } catch (const EAbort&) {
    Application().HandleException(dataset.get());
  }
  EXPECT_EQ(dsEdit, dataset->State());
  EXPECT_EQ("pending", dataset->FieldByName("NAME")->AsString());
  EXPECT_TRUE(shown.empty());
}

TEST_F(OperationGuardTest, FailRaisesTheErrorAgainUnchanged) {
  struct ELocked : EDatabaseError {
    ELocked() : EDatabaseError("locked") {}
  };
  dataset->on_internal_delete = [] { throw ELocked(); };
  int calls = 0;
  dataset->OnDeleteError = [&](TDataSet*, EDatabaseError&, TDataAction&) { ++calls; };
  EXPECT_THROW(dataset->Delete(), ELocked);
  EXPECT_EQ(1, calls);
  EXPECT_EQ(2, dataset->RecordCount());
}

TEST_F(OperationGuardTest, OtherExceptionsPassTheHandlerBy) {
  dataset->on_internal_edit = [] { throw Exception("engine fault"); };
  int calls = 0;
  dataset->OnEditError = [&](TDataSet*, EDatabaseError&, TDataAction& action) {
    ++calls;
    action = daRetry;
  };
  EXPECT_THROW(dataset->Edit(), Exception);
  EXPECT_EQ(0, calls);
  EXPECT_EQ(dsBrowse, dataset->State());
}

}  // namespace

namespace {

class ShowingDataSet : public TArrayDataSet {
 public:
  using TArrayDataSet::TArrayDataSet;
  void ShowCurrentException() { InternalHandleException(); }
};

TEST(Lifecycle, ActiveSetWhileLoadingOpensWhenLoaded) {
  TComponent form(nullptr);
  auto* dataset = new TArrayDataSet(&form, {{"ID", ftInteger}});
  form.BeginLoading();
  dataset->SetActive(true);
  EXPECT_FALSE(dataset->Active());
  form.EndLoading();
  EXPECT_TRUE(dataset->Active());
}

TEST(Lifecycle, ExceptionsOfADatasetAreShownWithTheDatasetAsSender) {
  ShowingDataSet dataset(nullptr, {{"ID", ftInteger}});
  TObject* sender = nullptr;
  std::string message;
  Application().OnException = [&](TObject* s, const std::exception& e) {
    sender = s;
    message = e.what();
  };
  try {
    throw EDatabaseError("Table is locked");
  } catch (...) {
    dataset.ShowCurrentException();
  }
  Application().OnException = nullptr;
  EXPECT_EQ(&dataset, sender);
  EXPECT_EQ("Table is locked", message);
}

}  // namespace
