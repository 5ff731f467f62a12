#include <gtest/gtest.h>

#include "tests/platform/db/TestSupport.h"

namespace {

std::vector<int> Ids(TDataSet& dataset) {
  std::vector<int> ids;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) ids.push_back(dataset.FieldByName("ID")->AsInteger());
  return ids;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataset = People(5);
    source.SetDataSet(dataset.get());
    link.SetBufferCount(3);
    link.SetDataSource(&source);
  }
  int ActiveId() { return dataset->FieldByName("ID")->AsInteger(); }

  std::unique_ptr<TArrayDataSet> dataset;
  TDataSource source{nullptr};
  CountingLink link;
};

TEST_F(WindowTest, MovesOverEveryRecordAndStopsAtBothEnds) {
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), Ids(*dataset));
  EXPECT_TRUE(dataset->Eof());
  EXPECT_EQ(5, ActiveId());
  dataset->Last();
  EXPECT_TRUE(dataset->Eof());
  EXPECT_EQ(-4, dataset->MoveBy(-10));
  EXPECT_TRUE(dataset->Bof());
  EXPECT_EQ(1, ActiveId());
  EXPECT_EQ(2, dataset->MoveBy(2));
  EXPECT_EQ(3, ActiveId());
  EXPECT_EQ(3, dataset->RecNo());
  EXPECT_EQ(5, dataset->RecordCount());
  EXPECT_FALSE(dataset->Bof() || dataset->Eof());
}

TEST_F(WindowTest, TheLinkSeesAWindowOfItsBufferCountAroundTheActiveRecord) {
  EXPECT_EQ(3, dataset->BufferCount());
  EXPECT_EQ(3, link.RecordCount());
  dataset->MoveBy(3);  // record 4: the window scrolls, the active record is its last row
  EXPECT_EQ(2, link.ActiveRecord());
  link.SetActiveRecord(0);
  EXPECT_EQ(2, ActiveId());
  link.SetActiveRecord(2);
  EXPECT_EQ(4, ActiveId());
}

TEST_F(WindowTest, ASmallerWindowKeepsTheActiveRecord) {
  dataset->MoveBy(2);
  ASSERT_EQ(2, link.ActiveRecord());
  link.SetBufferCount(1);
  EXPECT_EQ(1, dataset->BufferCount());
  EXPECT_EQ(3, ActiveId());
  EXPECT_EQ(0, link.ActiveRecord());
  dataset->Next();
  EXPECT_EQ(4, ActiveId());
}

TEST_F(WindowTest, AWindowGrownOnTheLastRecordFillsWithTheRecordsBeforeIt) {
  dataset->Last();
  link.SetBufferCount(1);
  link.SetBufferCount(4);
  EXPECT_EQ(4, link.RecordCount());
  EXPECT_EQ(3, link.ActiveRecord());
  EXPECT_EQ(5, ActiveId());
  link.SetActiveRecord(0);
  EXPECT_EQ(2, ActiveId());
}

TEST_F(WindowTest, DeletingTheActiveMiddleRowLeavesItsSuccessorActiveWithTheSameRecNo) {
  dataset->MoveBy(2);
  ASSERT_EQ(3, dataset->RecNo());
  dataset->Delete();
  EXPECT_EQ(4, ActiveId());
  EXPECT_EQ(3, dataset->RecNo());
  EXPECT_EQ((std::vector<int>{1, 2, 4, 5}), Ids(*dataset));
  dataset->Last();
  dataset->Delete();  // the last row: its predecessor becomes active
  EXPECT_EQ(4, ActiveId());
  EXPECT_EQ(3, dataset->RecordCount());
}

TEST_F(WindowTest, GotoBookmarkOfTheRowShownStillGivesOneDataChange) {
  dataset->Next();
  const TBookmark bookmark = dataset->GetBookmark();
  int changes = 0;
  source.OnDataChange = [&](TObject*, TField*) { ++changes; };
  dataset->GotoBookmark(bookmark);
  EXPECT_EQ(1, changes);
  EXPECT_EQ(2, ActiveId());
}

TEST_F(WindowTest, GotoBookmarkReturnsToARowOutsideTheWindow) {
  dataset->Last();
  const TBookmark last = dataset->GetBookmark();
  dataset->First();
  const TBookmark first = dataset->GetBookmark();
  dataset->GotoBookmark(last);
  EXPECT_EQ(5, ActiveId());
  EXPECT_TRUE(dataset->BookmarkValid(last));
  EXPECT_EQ(0, dataset->CompareBookmarks(dataset->GetBookmark(), last));
  EXPECT_LT(dataset->CompareBookmarks(first, last), 0);
  dataset->Delete();
  EXPECT_FALSE(dataset->BookmarkValid(last));
}

TEST_F(WindowTest, DisableControlsAroundTenMovesGivesOneDataSetChange) {
  link.dataset_changes = link.scrolls = link.record_changes = 0;
  int data_changes = 0;
  source.OnDataChange = [&](TObject*, TField*) { ++data_changes; };
  dataset->DisableControls();
  for (int i = 0; i < 10; ++i) i % 2 ? dataset->Prior() : dataset->Next();
  dataset->Last();
  EXPECT_EQ(0, link.dataset_changes + link.scrolls + link.record_changes);
  dataset->EnableControls();
  EXPECT_EQ(1, link.dataset_changes);
  EXPECT_EQ(0, link.scrolls);
  EXPECT_EQ(1, data_changes);
}

TEST_F(WindowTest, ScrollsTellTheLinkAndPlainMovesInsideTheWindowToo) {
  link.dataset_changes = link.scrolls = 0;
  dataset->Next();  // inside the window of three
  dataset->Next();
  dataset->Next();  // the window scrolls by one
  EXPECT_EQ(3, link.scrolls);
  EXPECT_EQ(0, link.dataset_changes);
  dataset->First();
  EXPECT_EQ(1, link.dataset_changes);
}

TEST_F(WindowTest, ClosingAndReopeningTellsTheLinkAndFreesItsWindow) {
  link.active_changes = 0;
  dataset->Close();
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(0, link.RecordCount());
  EXPECT_EQ(0, dataset->RecordCount());
  dataset->Open();
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(2, link.active_changes);
  EXPECT_EQ(3, link.RecordCount());
  EXPECT_EQ(1, ActiveId());
}

TEST(DataSet, AnEmptyDatasetIsAtBothEnds) {
  auto dataset = People(0);
  EXPECT_TRUE(dataset->IsEmpty());
  EXPECT_TRUE(dataset->Bof());
  EXPECT_TRUE(dataset->Eof());
  EXPECT_EQ(0, dataset->MoveBy(1));
  EXPECT_TRUE(dataset->GetBookmark().empty());
  EXPECT_TRUE(dataset->FieldByName("ID")->IsNull());
  EXPECT_THROW(dataset->Delete(), EDatabaseError);
}

TEST(DataSet, ScrollEventsSurroundEveryMove) {
  auto dataset = People(3);
  std::vector<std::string> events;
  dataset->BeforeScroll = [&](TDataSet*) { events.push_back("before"); };
  dataset->AfterScroll = [&](TDataSet* ds) { events.push_back(ds->FieldByName("NAME")->AsString()); };
  dataset->Next();
  dataset->Last();
  EXPECT_EQ((std::vector<std::string>{"before", "P2", "before", "P3"}), events);
}

}  // namespace
