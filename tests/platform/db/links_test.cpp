#include <gtest/gtest.h>

#include "platform/rtl/Application.h"
#include "tests/platform/db/TestSupport.h"

namespace {

// A detail dataset that names its master's data source.
class DetailDataSet : public TArrayDataSet {
 public:
  explicit DetailDataSet(TDataSource* master)
      : TArrayDataSet(nullptr, {{"ID", ftInteger}}), master_(master), link(this) {
    link.SetDataSource(master);
  }
  TDataSource* GetDataSource() const override { return master_; }

  TDataSource* master_;
  TMasterDataLink link;
};

TEST(DatabaseError, PutsANamedComponentInFront) {
  TComponent table(nullptr);
  table.SetName("Table1");
  TComponent unnamed(nullptr);
  const struct {
    const TComponent* component;
    const char* message;
  } cases[] = {{&table, "Table1: x"}, {&unnamed, "x"}, {nullptr, "x"}};
  for (const auto& c : cases) {
    try {
      DatabaseError("x", c.component);
      FAIL();
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(c.message, e.what());
    }
  }
}

class MasterLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master = People(3);
    source.SetDataSet(master.get());
    detail.Open();
    detail.link.OnMasterChange = [this] { ++changes; };
    detail.link.OnMasterDisable = [this] { ++disables; };
    detail.link.SetFieldNames("ID");
    changes = 0;
  }

  std::unique_ptr<TArrayDataSet> master;
  TDataSource source{nullptr};
  DetailDataSet detail{&source};
  int changes = 0;
  int disables = 0;
};

TEST_F(MasterLinkTest, EachMasterScrollFiresOneMasterChange) {
  ASSERT_EQ(1u, detail.link.Fields().size());
  EXPECT_EQ(master->FieldByName("ID"), detail.link.Fields()[0]);
  master->Next();
  EXPECT_EQ(1, changes);
  master->Next();
  master->Last();
  EXPECT_EQ(3, changes);
  master->Edit();
  changes = 0;
  master->FieldByName("NAME")->SetAsString("not a link field");
  EXPECT_EQ(0, changes);
  master->FieldByName("ID")->SetAsInteger(9);
  EXPECT_EQ(1, changes);
  master->Cancel();
}

TEST_F(MasterLinkTest, ClosingTheMasterOrCuttingTheLinkFiresMasterDisable) {
  master->Close();
  EXPECT_EQ(1, disables);
  EXPECT_TRUE(detail.link.Fields().empty());
  master->Open();
  EXPECT_EQ(1, changes);
  detail.link.SetDataSource(nullptr);
  EXPECT_EQ(2, disables);
}

TEST_F(MasterLinkTest, AFieldTheMasterLacksIsRefusedWhenTheMasterOpens) {
  master->Close();
  detail.link.SetFieldNames("X");
  try {
    master->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Field 'X' not found", e.what());
  }
}

TEST_F(MasterLinkTest, ASourceThatLeadsBackIsACircularLink) {
  EXPECT_TRUE(master->IsLinkedTo(&source));
  EXPECT_FALSE(detail.IsLinkedTo(&source));
  try {
    source.SetDataSet(&detail);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ("Circular datalinks are not allowed", e.what());
  }
  EXPECT_EQ(master.get(), source.DataSet());
  EXPECT_TRUE(source.IsLinkedTo(&detail));
}

TEST(DataSource, FollowsTheStateAndEditsWhenAllowed) {
  auto dataset = People(2);
  TDataSource source(nullptr);
  std::vector<TDataSetState> states;
  int data_changes = 0;
  source.OnStateChange = [&](TObject*) { states.push_back(source.State()); };
  source.OnDataChange = [&](TObject*, TField*) { ++data_changes; };
  source.SetDataSet(dataset.get());
  EXPECT_EQ(1, data_changes);  // becoming active shows the record
  source.Edit();
  EXPECT_EQ(dsEdit, dataset->State());
  dataset->Cancel();
  source.SetAutoEdit(false);
  source.Edit();
  EXPECT_EQ(dsBrowse, dataset->State());
  source.SetEnabled(false);
  EXPECT_EQ((std::vector<TDataSetState>{dsBrowse, dsEdit, dsBrowse, dsInactive}), states);
}

// A control's link: it writes its text into the field when the dataset asks.
class EditLink : public CountingLink {
 public:
  TField* field = nullptr;
  std::string text;
  TField* focused = nullptr;

 protected:
  void UpdateData() override { field->SetAsString(text); }
  void FocusControl(TField** wanted) override {
    focused = *wanted;
    *wanted = nullptr;
  }
};

TEST(DataLink, PostCollectsPendingEditsAndEditingFollowsTheState) {
  auto dataset = People(1);
  TDataSource source(nullptr);
  source.SetDataSet(dataset.get());
  EditLink link;
  link.field = dataset->FieldByName("NAME");
  link.SetDataSource(&source);
  EXPECT_TRUE(link.Active());
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(1, link.editing_changes);
  link.text = "typed";
  int updates = 0;
  source.OnUpdateData = [&](TObject*) { ++updates; };
  dataset->Post();
  EXPECT_EQ("typed", dataset->FieldByName("NAME")->AsString());
  EXPECT_EQ(1, updates);
  EXPECT_FALSE(link.Editing());
  link.SetReadOnly(true);
  EXPECT_FALSE(link.Edit());
  EXPECT_EQ(dsBrowse, dataset->State());
}

TEST(DataLink, AMissingRequiredValueFocusesItsControl) {
  TArrayDataSet dataset(nullptr, {{"ID", ftInteger, 0, true}});
  dataset.Open();
  TDataSource source(nullptr);
  source.SetDataSet(&dataset);
  EditLink link;
  link.SetDataSource(&source);
  link.field = dataset.FieldByName("ID");
  dataset.Append();
  link.text = "";
  EXPECT_THROW(dataset.Post(), EDatabaseError);
  EXPECT_EQ(dataset.FieldByName("ID"), link.focused);
}

TEST(DataLink, PartnersThatGoAwayLeaveNothingBehind) {
  auto dataset = People(3);
  auto source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(dataset.get());
  auto grid = std::make_unique<CountingLink>();
  grid->SetBufferCount(3);
  grid->SetDataSource(source.get());
  EXPECT_EQ(3, dataset->BufferCount());
  grid.reset();
  EXPECT_EQ(1, dataset->BufferCount());
  CountingLink edit;
  edit.SetDataSource(source.get());
  dataset.reset();
  EXPECT_EQ(nullptr, source->DataSet());
  EXPECT_FALSE(edit.Active());
  source.reset();
  EXPECT_EQ(nullptr, edit.DataSource());
}

}  // namespace

namespace {

class ThrowingLink : public TDataLink {
 protected:
  void ActiveChanged() override {
    if (!Active()) throw EDatabaseError("cannot let go");
  }
};

TEST(DataLink, AFailureWhileASourceIsFreedIsShownNotThrown) {
  auto dataset = People(1);
  auto source = std::make_unique<TDataSource>(nullptr);
  source->SetDataSet(dataset.get());
  ThrowingLink link;
  link.SetDataSource(source.get());
  std::vector<std::string> shown;
  Application().OnException = [&](TObject*, const std::exception& e) { shown.push_back(e.what()); };
  source.reset();
  Application().OnException = nullptr;
  EXPECT_EQ((std::vector<std::string>{"cannot let go"}), shown);
  EXPECT_EQ(nullptr, link.DataSource());
}

}  // namespace
