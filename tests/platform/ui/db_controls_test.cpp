// The navigator, the data-bound edit and the data-bound radio group on a
// dataset: what they show, and when the user's input reaches the record.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QToolButton>
#include <array>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/DBRadioGroup.h"
#include "platform/ui/Form.h"
#include "platform/ui/internal/ControlImpl.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"

namespace {

// A form over a settings row (SKIN "1", PREFIX7 "SALE", NAME "วัดป่า",
// required, PRN_TOP 1234.5) and a list of thirty numbered rows.
class DBControlsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    settings_.SetName("Table4");
    settings_.Open();
    settings_.Append();
    settings_.FieldByName("SKIN")->SetAsString("1");
    settings_.FieldByName("PREFIX7")->SetAsString("SALE");
    settings_.FieldByName("NAME")->SetAsString("วัดป่า");
    settings_.FieldByName("PRN_TOP")->SetAsFloat(1234.5);
    settings_.Post();
    settings_source_.SetDataSet(&settings_);
    list_.Open();
    for (int i = 1; i <= 30; ++i) {
      list_.Append();
      list_.FieldByName("ID")->SetAsInteger(i);
      list_.Post();
    }
    list_.First();
    list_source_.SetDataSet(&list_);

    form_ = FormsApplication().CreateForm<TForm>();
    form_->SetBounds(0, 0, 500, 400);
    form_->Show();
    user::ProcessEvents();
  }

  TField* Settings(const char* name) { return settings_.FieldByName(name); }

  TDBEdit* NewEdit(const char* field, int top) {
    auto* edit = new TDBEdit(form_);
    edit->SetBounds(8, top, 150, 21);
    edit->SetDataSource(&settings_source_);
    edit->SetDataField(field);
    return edit;
  }

  TArrayDataSet settings_{
      nullptr,
      {{"SKIN", ftString, 1}, {"PREFIX7", ftString, 4}, {"NAME", ftString, 20, true}, {"PRN_TOP", ftFloat}}};
  TDataSource settings_source_{nullptr};
  TArrayDataSet list_{nullptr, {{"ID", ftInteger}}};
  TDataSource list_source_{nullptr};
  TForm* form_ = nullptr;
};

// ---------------------------------------------------------------------------
// The navigator

std::array<bool, 4> ButtonsEnabled(const TDBNavigator& navigator) {
  std::array<bool, 4> enabled{};
  const char* names[] = {"First", "Prior", "Next", "Last"};
  for (int i = 0; i < 4; ++i) {
    enabled[i] = navigator.Native().Widget()->findChild<QToolButton*>(names[i])->isEnabled();
  }
  return enabled;
}

constexpr std::array<bool, 4> kAtFirst{false, false, true, true};
constexpr std::array<bool, 4> kAtLast{true, true, false, false};
constexpr std::array<bool, 4> kBetween{true, true, true, true};
constexpr std::array<bool, 4> kNone{false, false, false, false};

TEST_F(DBControlsTest, NavigatorButtonsMoveTheDatasetAndFollowItsPosition) {
  auto* navigator = new TDBNavigator(form_);
  navigator->SetDataSource(&list_source_);
  struct Step {
    const char* what;
    std::function<void()> run;
    int record;
    std::array<bool, 4> enabled;
  };
  const std::vector<Step> steps = {
      {"opened", [] {}, 1, kAtFirst},
      {"last", [&] { user::ClickButton(*navigator, nbLast); }, 30, kAtLast},
      {"prior", [&] { user::ClickButton(*navigator, nbPrior); }, 29, kBetween},
      {"next", [&] { user::ClickButton(*navigator, nbNext); }, 30, kAtLast},
      {"first", [&] { user::ClickButton(*navigator, nbFirst); }, 1, kAtFirst},
      {"next and back to the first row",
       [&] {
         user::ClickButton(*navigator, nbNext);
         user::ClickButton(*navigator, nbPrior);
       },
       1, kAtFirst},
      {"navigator disabled", [&] { navigator->SetEnabled(false); }, 1, kNone},
      {"navigator enabled", [&] { navigator->SetEnabled(true); }, 1, kAtFirst},
      {"source disabled", [&] { list_source_.SetEnabled(false); }, 1, kNone},
      {"source enabled", [&] { list_source_.SetEnabled(true); }, 1, kAtFirst},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.run();
    EXPECT_EQ(list_.RecNo(), step.record);
    EXPECT_EQ(ButtonsEnabled(*navigator), step.enabled);
  }
}

TEST_F(DBControlsTest, NavigatorShowsItsVisibleButtonsAndNeedsAnOpenDatasetWithRows) {
  auto* navigator = new TDBNavigator(form_);
  navigator->SetVisibleButtons({nbPrior, nbNext});
  user::ProcessEvents();
  std::vector<bool> shown;
  for (const char* name : {"First", "Prior", "Next", "Last"}) {
    shown.push_back(navigator->Native().Widget()->findChild<QToolButton*>(name)->isVisible());
  }
  EXPECT_EQ(shown, (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(ButtonsEnabled(*navigator), kNone);  // no data source yet
  TArrayDataSet empty(nullptr, {{"ID", ftInteger}});
  empty.Open();
  TDataSource source(nullptr);
  source.SetDataSet(&empty);
  navigator->SetDataSource(&source);
  EXPECT_EQ(ButtonsEnabled(*navigator), kNone);
  navigator->SetDataSource(&list_source_);
  EXPECT_EQ(ButtonsEnabled(*navigator), kAtFirst);
}

// ---------------------------------------------------------------------------
// The radio group

QAbstractButton* RadioButton(const TDBRadioGroup& group, int index) {
  return group.Native().Widget()->findChild<QButtonGroup*>()->button(index);
}

TEST_F(DBControlsTest, RadioGroupShowsTheItemWhoseValueTheFieldHolds) {
  auto* skin = new TDBRadioGroup(form_);
  skin->SetItems({"ปกติ", "โทนสีเหลือง"});
  skin->SetValues({"0", "1"});
  skin->SetDataSource(&settings_source_);
  skin->SetDataField("SKIN");
  EXPECT_EQ(skin->ItemIndex(), 1);
  EXPECT_EQ(skin->Value(), "1");
  auto* by_text = new TDBRadioGroup(form_);
  by_text->SetItems({"0", "1"});
  by_text->SetDataSource(&settings_source_);
  by_text->SetDataField("SKIN");
  EXPECT_EQ(by_text->ItemIndex(), 1);

  settings_.Edit();
  Settings("SKIN")->SetAsString("7");
  EXPECT_EQ(skin->ItemIndex(), -1);
  EXPECT_FALSE(RadioButton(*skin, 0)->isChecked() || RadioButton(*skin, 1)->isChecked());
  settings_.Cancel();
  EXPECT_EQ(skin->ItemIndex(), 1);
  settings_source_.SetEnabled(false);
  EXPECT_EQ(skin->ItemIndex(), -1);
  settings_source_.SetEnabled(true);
  EXPECT_EQ(skin->ItemIndex(), 1);
}

TEST_F(DBControlsTest, RadioGroupClickWritesTheRowOnlyWhenItCanEditIt) {
  struct Case {
    const char* what;
    bool auto_edit;
    bool editing;
    TDataSetState state;
    std::string field;
    int item;
  };
  const Case cases[] = {
      {"AutoEdit on", true, false, dsEdit, "0", 0},
      {"AutoEdit off", false, false, dsBrowse, "1", 1},
      {"AutoEdit off, row in edit", false, true, dsEdit, "0", 0},
  };
  auto* skin = new TDBRadioGroup(form_);
  skin->SetItems({"ปกติ", "โทนสีเหลือง"});
  skin->SetValues({"0", "1"});
  skin->SetDataSource(&settings_source_);
  skin->SetDataField("SKIN");
  int clicks = 0;
  skin->OnClick = [&](TObject*) { ++clicks; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clicks = 0;
    settings_source_.SetAutoEdit(c.auto_edit);
    if (c.editing) settings_.Edit();
    user::ClickItem(*skin, 0);
    EXPECT_EQ(settings_.State(), c.state);
    EXPECT_EQ(Settings("SKIN")->AsString(), c.field);
    EXPECT_EQ(skin->ItemIndex(), c.item);
    EXPECT_TRUE(RadioButton(*skin, c.item)->isChecked());
    EXPECT_EQ(clicks, c.item == 0 ? 1 : 0);
    settings_.Cancel();
    EXPECT_EQ(Settings("SKIN")->AsString(), "1");
    EXPECT_EQ(skin->ItemIndex(), 1);
  }
}

// ---------------------------------------------------------------------------
// The edit

QLineEdit& LineEdit(const TDBEdit& edit) {
  return *static_cast<QLineEdit*>(edit.Native().Widget());
}

TEST_F(DBControlsTest, EditTakesAtMostItsMaxLengthAndPostTakesTheTypedText) {
  TDBEdit* name = NewEdit("NAME", 8);
  name->SetMaxLength(5);
  name->SetFocus();
  name->SelectAll();
  user::Type("ศาลาการเปรียญ");
  EXPECT_EQ(name->Text(), "ศาลาก");
  EXPECT_EQ(settings_.State(), dsEdit);
  EXPECT_EQ(Settings("NAME")->AsString(), "วัดป่า");  // not yet
  settings_.Post();
  EXPECT_EQ(settings_.State(), dsBrowse);
  EXPECT_EQ(Settings("NAME")->AsString(), "ศาลาก");
  EXPECT_EQ(name->Text(), "ศาลาก");
}

TEST_F(DBControlsTest, EditWithoutAutoEditCannotChangeABrowsingRow) {
  settings_source_.SetAutoEdit(false);
  TDBEdit* name = NewEdit("NAME", 8);
  name->SetFocus();
  user::Type("x");
  EXPECT_EQ(name->Text(), "วัดป่า");
  EXPECT_EQ(settings_.State(), dsBrowse);
  settings_.Edit();
  user::Type("x");
  EXPECT_EQ(name->Text(), "วัดป่าx");
}

TEST_F(DBControlsTest, EditWritesTheFieldWhenTheFocusLeavesAndEscShowsItAgain) {
  TDBEdit* prefix = NewEdit("PREFIX7", 8);
  TDBEdit* name = NewEdit("NAME", 40);
  prefix->OnKeyPress = [&](TObject*, char32_t& key) {
    if (key == 13) name->SetFocus();
  };
  prefix->SetFocus();
  prefix->SelectAll();
  user::Type("ABCDEFG");
  EXPECT_EQ(prefix->Text(), "ABCD");  // the field's size is the limit
  EXPECT_EQ(Settings("PREFIX7")->AsString(), "SALE");
  user::PressEnter();
  ASSERT_TRUE(name->Focused());
  EXPECT_EQ(Settings("PREFIX7")->AsString(), "ABCD");
  EXPECT_EQ(settings_.State(), dsEdit);
  user::Type("ๆ");
  user::PressEscape();
  EXPECT_EQ(name->Text(), "วัดป่า");
  prefix->SetFocus();
  EXPECT_EQ(Settings("NAME")->AsString(), "วัดป่า");
}

TEST_F(DBControlsTest, EditShowsTheDisplayTextAndTheEditTextWhileFocused) {
  auto* top = static_cast<TFloatField*>(Settings("PRN_TOP"));
  top->SetDisplayFormat("#,##0.00");
  top->SetEditFormat("0.##");
  TDBEdit* edit = NewEdit("PRN_TOP", 8);
  TDBEdit* name = NewEdit("NAME", 40);
  EXPECT_EQ(edit->Text(), "1,234.50");
  edit->SetFocus();
  EXPECT_EQ(edit->Text(), "1234.5");
  name->SetFocus();
  EXPECT_EQ(edit->Text(), "1,234.50");
  settings_source_.SetEnabled(false);
  EXPECT_EQ(edit->Text(), "");
  EXPECT_TRUE(LineEdit(*edit).isReadOnly());
  settings_source_.SetEnabled(true);
  EXPECT_EQ(edit->Text(), "1,234.50");
}

TEST_F(DBControlsTest, AMissingRequiredValueFocusesItsEdit) {
  TDBEdit* prefix = NewEdit("PREFIX7", 8);
  TDBEdit* name = NewEdit("NAME", 40);
  prefix->SetFocus();
  settings_.Edit();
  Settings("NAME")->Clear();
  EXPECT_THROW(settings_.Post(), EDatabaseError);
  EXPECT_TRUE(name->Focused());
}

TEST_F(DBControlsTest, AFieldTheDatasetLacksIsShownAsItsError) {
  Dialogs().Answer(mrOk);
  TDBEdit* edit = NewEdit("PREFIX9", 8);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "Table4: Field 'PREFIX9' not found");
  EXPECT_EQ(edit->Field(), nullptr);
  EXPECT_EQ(edit->Text(), "");
}

}  // namespace
