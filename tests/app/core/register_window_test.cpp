// A register window built on RegisterWindow over a small table of a real
// database file, driven as a user drives it, with another user's connection
// changing the table meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/core/RegisterSearchPanel.h"
#include "app/core/RegisterWindow.h"
#include "app/core/SqlRegisterRows.h"
#include "tests/app/core/support/RegisterDatabase.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/support/ArrayDataSet.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kNoName = "ไม่มีชื่อ";

RegisterSql PersonSql() {
  RegisterSql sql;
  sql.table = "h_person";
  sql.key_column = "per_no";
  sql.insert = {" insert into h_person (per_no, per_name, per_tel) ", " values (:pper_no, :pper_name, :pper_tel) "};
  sql.update = {{" update h_person set per_name=:pper_name, per_tel=:pper_tel ", " where per_no =:pper_no "}, "pper_no"};
  sql.remove = {{" delete from h_person ", " where per_no =:pper_no "}, "pper_no"};
  sql.params = {{"pper_no", "per_no"}, {"pper_name", "per_name"}, {"pper_tel", "per_tel"}};
  return sql;
}

// A register of people: number (typed by the user), name, telephone.
class TPersonRegister : public RegisterWindow {
 public:
  // `list` and `rows` stand in for the stored table where a test needs
  // datasets of its own.
  explicit TPersonRegister(TComponent* owner, TDataSet* list = nullptr, std::unique_ptr<RegisterRows> rows = {})
      : RegisterWindow(owner, "d_per"), Edit1(Box(8)), Edit2(Box(36)), Edit3(Box(64)) {
    auto* table = new TVTRTable(this);
    table->SetDatabaseName("d_per");
    table->SetTableName("h_person");
    table->SetIndexFieldNames("per_no");
    table->SetReadOnly(true);
    RegisterDefinition definition;
    definition.caption = "ทะเบียนบุคคล";
    definition.top = 5;
    definition.left = 5;
    definition.list = list != nullptr ? list : table;
    definition.rows = rows ? std::move(rows) : std::make_unique<SqlRegisterRows>(this, "d_per", PersonSql());
    definition.columns = {{"per_no", Edit1}, {"per_name", Edit2}, {"per_tel", Edit3}};
    definition.key_column = "per_no";
    definition.key_box = Edit1;
    definition.name_box = Edit2;
    definition.enter_order = {Edit1, Edit2, Edit3};
    definition.guard_box = Edit2;
    definition.guard_message = kNoName;
    definition.guard_focus = Edit2;
    Define(std::move(definition));
    AddSearch("per_no", "per_name", "ไม่พบรายการนี้...");
    BitBtn1->SetBounds(300, 8, 24, 24);
  }

  TEdit* Edit1;
  TEdit* Edit2;
  TEdit* Edit3;

 private:
  TEdit* Box(int top) {
    auto* box = new TEdit(Customer);
    box->SetBounds(8, top, 200, 22);
    return box;
  }
};

// Rows kept in a dataset in memory, which is also the window's list.
class ArrayRows : public RegisterRows {
 public:
  explicit ArrayRows(TArrayDataSet& people) : people_(people) {}

  bool HasKey(const std::string& key, bool prefix) override {
    for (people_.First(); !people_.Eof(); people_.Next()) {
      const std::string stored = people_.FieldByName("per_no")->AsString();
      if (prefix ? stored.starts_with(key) : stored == key) return true;
    }
    return false;
  }
  void Insert(const RowValues& values) override {
    people_.Append();
    Assign(values);
    people_.Post();
  }
  int Update(const std::string& key, const RowValues& values) override {
    if (before_update) before_update();
    if (!HasKey(key, false)) return 0;
    people_.Edit();
    Assign(values);
    people_.Post();
    return 1;
  }
  int Delete(const std::string& key) override {
    if (!HasKey(key, false)) return 0;
    people_.Delete();
    return 1;
  }

  // Runs as the update starts: what other users did meanwhile.
  std::function<void()> before_update;

 private:
  void Assign(const RowValues& values) {
    for (const ColumnValue& value : values) people_.FieldByName(value.column)->SetAsString(value.text);
  }

  TArrayDataSet& people_;
};

class RegisterWindowTest : public RegisterDatabaseTest {
 protected:
  void SetUp() override {
    RegisterDatabaseTest::SetUp();
    CreateTable("h_person", {{"per_no", 5}, {"per_name", 40}, {"per_tel", 20}});
    Store("h_person", {{"00001", "สมชาย", "111"}, {"00003", "สมศรี", "333"}});
  }

  TPersonRegister& Open() {
    window_ = FormsApplication().CreateForm<TPersonRegister>();
    user::ProcessEvents();
    return *window_;
  }

  // The row the window's list stands on, by number.
  std::string ListRow() const { return window_->Table1->FieldByName("per_no")->AsString(); }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const DialogRecord& record : const_cast<RegisterWindowTest*>(this)->Dialogs().Transcript())
      texts.push_back(record.text);
    return texts;
  }

  TPersonRegister* window_ = nullptr;
};

TEST_F(RegisterWindowTest, OpensOnTheLastRowWithTheNormalButtons) {
  TPersonRegister& w = Open();
  EXPECT_EQ(seen::Caption(w), "ทะเบียนบุคคล");
  EXPECT_EQ(seen::Text(*w.Edit1), "00003");
  EXPECT_EQ(seen::Text(*w.Edit2), "สมศรี");
  for (TSpeedButton* button : {w.SpeedButton1, w.SpeedButton3, w.SpeedButton4, w.SpeedButton2}) {
    EXPECT_TRUE(button->Enabled()) << seen::Text(*button);
  }
  EXPECT_FALSE(w.SpeedButton8->Enabled());
  EXPECT_EQ(seen::Text(*w.SpeedButton1), "เ&พิ่ม");
  EXPECT_TRUE(w.Edit2->ReadOnly());
}

TEST_F(RegisterWindowTest, AddTypedThroughTheEnterOrderIsStoredAndTheListStandsOnIt) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  EXPECT_TRUE(seen::HasFocus(*w.Edit1));
  EXPECT_EQ(seen::Text(*w.Edit2), "");
  user::Type("00004");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
  user::Type("สมหญิง");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  user::Type("444");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.Edit1)) << "Enter in the last box leads back to the first";
  user::Click(*w.SpeedButton8);

  EXPECT_EQ(Stored("h_person"),
            (Rows{{"00001", "สมชาย", "111"}, {"00003", "สมศรี", "333"}, {"00004", "สมหญิง", "444"}}));
  EXPECT_EQ(ListRow(), "00004");
  EXPECT_EQ(w.EditState, "normal");
  EXPECT_TRUE(w.SpeedButton1->Enabled());
  EXPECT_TRUE(w.Edit2->ReadOnly());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegisterWindowTest, ANumberThatExistsIsRefusedAtSaveKeepingTheTypedInput) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("00001");  // no Enter: the save must check
  user::Click(*w.Edit2);
  user::Type("ซ้ำ");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);

  EXPECT_EQ(Messages(), std::vector<std::string>{kDuplicateNumber});
  EXPECT_EQ(Stored("h_person"), (Rows{{"00001", "สมชาย", "111"}, {"00003", "สมศรี", "333"}}));
  EXPECT_EQ(w.EditState, "add");
  EXPECT_TRUE(w.SpeedButton8->Enabled());
  EXPECT_EQ(seen::Text(*w.Edit2), "ซ้ำ");
  EXPECT_TRUE(seen::HasFocus(*w.Edit1));
}

TEST_F(RegisterWindowTest, ANumberStoredByAnotherUserAfterTheEnterCheckIsRefusedAtSave) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("00007");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.Edit2)) << "a free number passes the Enter check";
  user::Type("สมปอง");
  Store("h_person", {{"00007", "ผู้อื่น", ""}});
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Messages(), std::vector<std::string>{kDuplicateNumber});
  EXPECT_EQ(Stored("h_person").back(), (std::vector<std::string>{"00007", "ผู้อื่น", ""}));
  EXPECT_EQ(w.EditState, "add");
}

TEST_F(RegisterWindowTest, TheEnterCheckRefusesANumberThatBeginsAStoredOne) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("0000");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  EXPECT_EQ(Messages(), std::vector<std::string>{kDuplicateNumber});
  EXPECT_TRUE(seen::HasFocus(*w.Edit1));
}

TEST_F(RegisterWindowTest, SavingWithoutTheGuardFieldShowsTheWindowsMessageAndWritesNothing) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("00009");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Messages(), std::vector<std::string>{kNoName});
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
  EXPECT_EQ(Stored("h_person").size(), 2u);
  EXPECT_EQ(w.EditState, "add");
}

TEST_F(RegisterWindowTest, DeleteAnsweredNoChangesNothingAndYesDeletesTheShownRow) {
  TPersonRegister& w = Open();
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(seen::Text(*w.Edit1), "00001");
  Dialogs().Answer(mrNo);
  user::Click(*w.SpeedButton4);
  EXPECT_EQ(Stored("h_person").size(), 2u);
  EXPECT_EQ(ListRow(), "00001");

  Dialogs().Answer(mrYes);
  user::Click(*w.SpeedButton4);
  EXPECT_EQ(Stored("h_person"), (Rows{{"00003", "สมศรี", "333"}}));
  EXPECT_EQ(ListRow(), "00003");
  EXPECT_EQ(seen::Text(*w.Edit2), "สมศรี");
  ASSERT_EQ(Dialogs().Transcript().size(), 2u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, kConfirmDelete);
  EXPECT_EQ(Dialogs().Transcript()[0].type, mtConfirmation);
}

TEST_F(RegisterWindowTest, ADeleteOfARowAnotherUserDeletedIsReported) {
  TPersonRegister& w = Open();
  TVTRTable& other = OtherUser("h_person");
  other.Open();
  other.Last();
  other.Delete();
  other.Close();
  Dialogs().Answer(mrYes);
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton4);
  EXPECT_EQ(Messages(), (std::vector<std::string>{kConfirmDelete, kRowNotFound}));
  EXPECT_EQ(ListRow(), "00001");
  EXPECT_EQ(seen::Text(*w.Edit1), "00001");
}

TEST_F(RegisterWindowTest, AnEditSavedAfterOthersInsertedRowsReturnsToTheEditedRow) {
  TPersonRegister& w = Open();
  user::ClickButton(*w.DBNavigator1, nbFirst);
  user::ClickButton(*w.DBNavigator1, nbNext);
  EXPECT_EQ(seen::Text(*w.Edit1), "00003");
  user::Click(*w.SpeedButton3);
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
  EXPECT_TRUE(w.Edit1->ReadOnly()) << "the key of an edited row stays";
  user::Type("ใหม่");
  Store("h_person", {{"00000", "ก่อน", ""}, {"00002", "กลาง", ""}});
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(ListRow(), "00003");
  const Rows stored = Stored("h_person");
  EXPECT_NE(std::find(stored.begin(), stored.end(), std::vector<std::string>{"00003", "สมศรีใหม่", "333"}),
            stored.end());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegisterWindowTest, AnEditOfARowAnotherUserDeletedIsReportedAndTheEditGoesOn) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton3);
  user::Type("ใหม่");
  TVTRTable& other = OtherUser("h_person");
  other.Open();
  other.Last();
  other.Delete();
  other.Close();
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Messages(), std::vector<std::string>{kRowNotFound});
  EXPECT_EQ(w.EditState, "edit");
  EXPECT_TRUE(w.SpeedButton8->Enabled());
  EXPECT_EQ(seen::Text(*w.Edit2), "สมศรีใหม่");
  EXPECT_EQ(Stored("h_person"), (Rows{{"00001", "สมชาย", "111"}}));
  EXPECT_EQ(ListRow(), "00001") << "the list was refreshed";
}

TEST_F(RegisterWindowTest, CancelDuringAddShowsTheCurrentRowAgain) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("00005");
  user::Click(*w.SpeedButton6);
  EXPECT_EQ(seen::Text(*w.Edit1), "00003");
  EXPECT_EQ(seen::Text(*w.Edit2), "สมศรี");
  EXPECT_EQ(w.EditState, "normal");
  EXPECT_TRUE(w.Edit1->ReadOnly());
  EXPECT_EQ(Stored("h_person").size(), 2u);
}

TEST_F(RegisterWindowTest, SwitchingToAnotherWindowAndBackDuringAddKeepsTheTypedName) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("00005");
  user::PressEnter();
  user::Type("สมหมาย");
  auto* other = FormsApplication().CreateForm<OtherWindow>();
  user::ProcessEvents();
  SwitchTo(*other);
  SwitchTo(w);
  EXPECT_EQ(seen::Text(*w.Edit2), "สมหมาย");
  EXPECT_EQ(w.EditState, "add");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("h_person").back(), (std::vector<std::string>{"00005", "สมหมาย", ""}));
}

TEST_F(RegisterWindowTest, ClosingTheWindowFreesItAndItsConnection) {
  TPersonRegister& w = Open();
  user::Click(*w.SpeedButton2);
  user::ProcessEvents();
  EXPECT_EQ(FormsApplication().Newest<TPersonRegister>(), nullptr);
}

// A window whose list is a dataset in memory, as a read-only result whose
// bookmarks are positions in the rows of its last run.
class InMemoryListTest : public RegisterWindowTest {
 protected:
  TPersonRegister& OpenOverMemory() {
    auto* people = new TArrayDataSet(nullptr, {{"per_no", ftString, 5}, {"per_name", ftString, 40},
                                              {"per_tel", ftString, 20}});
    people_.reset(people);
    people->Open();
    for (const auto& [no, name] : {std::pair{"00001", "สมชาย"}, {"00003", "สมศรี"}, {"00004", "มานี"}}) {
      people->Append();
      people->FieldByName("per_no")->SetAsString(no);
      people->FieldByName("per_name")->SetAsString(name);
      people->Post();
    }
    people->Close();
    auto rows = std::make_unique<ArrayRows>(*people);
    rows_ = rows.get();
    window_ = FormsApplication().CreateForm<TPersonRegister>(people, std::move(rows));
    user::ProcessEvents();
    return *window_;
  }

  std::unique_ptr<TArrayDataSet> people_;
  ArrayRows* rows_ = nullptr;
};

TEST_F(InMemoryListTest, AnEditSavedAfterTheListWasRunAgainReturnsToTheEditedRowByItsKey) {
  TPersonRegister& w = OpenOverMemory();
  user::ClickButton(*w.DBNavigator1, nbPrior);
  EXPECT_EQ(seen::Text(*w.Edit1), "00003");
  user::Click(*w.SpeedButton3);
  user::Type("ใหม่");
  rows_->before_update = [this] {
    people_->First();
    people_->Insert();
    people_->FieldByName("per_no")->SetAsString("00000");
    people_->Post();
    people_->Renumber();
  };
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(ListRow(), "00003");
  EXPECT_EQ(seen::Text(*w.Edit2), "สมศรีใหม่");
}

TEST_F(InMemoryListTest, TheSearchPanelFindsByTheStartOfTheNumberOrTheName) {
  TPersonRegister& w = OpenOverMemory();
  TRegisterSearchPanel& search = *w.Panel3;
  EXPECT_FALSE(seen::Visible(search));
  user::Click(*w.BitBtn1);
  EXPECT_TRUE(seen::Visible(search));
  EXPECT_TRUE(seen::HasFocus(*search.Edit1));
  EXPECT_EQ(seen::Text(*search.Label45), "รหัสที่ต้องการค้นหา");
  user::Type("00001");
  user::PressEnter();
  EXPECT_EQ(ListRow(), "00001");
  EXPECT_TRUE(seen::HasFocus(*search.Button1));

  user::ClickItem(*search.RadioGroup1, 1);
  EXPECT_EQ(seen::Text(*search.Label45), "ชื่อที่ต้องการค้นหา");
  EXPECT_TRUE(seen::HasFocus(*search.Edit1));
  search.Edit1->Clear();
  user::Type("สมศ");
  user::PressEnter();
  EXPECT_EQ(ListRow(), "00003");

  user::Click(*search.Edit1);
  search.Edit1->Clear();
  user::Type("ไม่มี");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  EXPECT_EQ(ListRow(), "00003") << "a search that finds nothing leaves the row";
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, kRowNotFound);

  user::ClickCell(*search.DBGrid1, 2, 0);
  EXPECT_EQ(seen::Text(*search.Edit1), "มานี") << "a click on a row copies its name";

  user::Click(*search.Button1);
  EXPECT_FALSE(seen::Visible(search));
  EXPECT_EQ(seen::Text(*w.Edit1), "00004");
  EXPECT_TRUE(w.SpeedButton1->Enabled());
}

}  // namespace
