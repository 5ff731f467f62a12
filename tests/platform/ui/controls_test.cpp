// The events of the standard controls: which changes run which handler, from
// the user and from code.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/ui/Buttons.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/RadioGroup.h"
#include "platform/ui/Timer.h"
#include "platform/ui/internal/CalendarPopup.h"
#include "platform/ui/internal/ControlImpl.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

class ControlsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = FormsApplication().CreateForm<TForm>();
    form_->SetBounds(0, 0, 500, 400);
    form_->Show();
    user::ProcessEvents();
  }

  // Counts the calls of a handler under its name.
  TNotifyEvent Counter(const std::string& name) {
    return [this, name](TObject*) { log_.push_back(name); };
  }

  TForm* form_ = nullptr;
  std::vector<std::string> log_;
};

TEST_F(ControlsTest, RadioGroupClicksOnEveryChangeOfItsItem) {
  auto* group = new TRadioGroup(form_);
  group->SetCaption("  ค้นหาโดย  ");
  group->SetItems({"รหัส", "ชื่อ"});
  group->SetItemIndex(0);
  group->OnClick = Counter("click");
  group->SetItemIndex(1);
  EXPECT_EQ(log_.size(), 1u);
  group->SetItemIndex(1);
  EXPECT_EQ(log_.size(), 1u);
  user::ClickItem(*group, 0);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(log_.size(), 2u);
  user::ClickItem(*group, 0);
  EXPECT_EQ(log_.size(), 2u);
  group->SetItemIndex(-1);
  EXPECT_EQ(log_.size(), 3u);
}

TEST_F(ControlsTest, RadioGroupBreaksItemLinesAndFillsColumnsDownFirst) {
  auto* group = new TRadioGroup(form_);
  group->SetColumns(2);
  group->SetItems({"เฉพาะชื่อ", "ชื่อ\rและที่อยู่", "ก", "ข"});
  const QList<QWidget*> buttons =
      group->Native().Widget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  std::vector<QAbstractButton*> items;
  for (QWidget* widget : buttons) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) items.push_back(button);
  }
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[1]->text(), QString::fromUtf8("ชื่อ\nและที่อยู่"));
  user::ProcessEvents();
  EXPECT_EQ(items[0]->x(), items[1]->x());
  EXPECT_LT(items[1]->x(), items[2]->x());
}

TEST_F(ControlsTest, CheckBoxClicksOnEveryChangeOfItsState) {
  auto* box = new TCheckBox(form_);
  box->SetCaption("รับของที่ระลึกแล้ว");
  box->OnClick = Counter("click");
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(log_.size(), 1u);
  user::Click(*box);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(log_.size(), 2u);
}

TEST_F(ControlsTest, ComboBoxRunsNothingWhenCodeChoosesAnItem) {
  auto* combo = new TComboBox(form_);
  combo->SetStyle(csDropDownList);
  combo->SetItems({"บริจาค", "จำหน่าย", "นำเข้า"});
  combo->OnClick = Counter("click");
  combo->OnChange = Counter("change");
  combo->OnCloseUp = Counter("close-up");
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), "จำหน่าย");
  EXPECT_TRUE(log_.empty());
  user::ChooseComboItem(*combo, 2);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(log_, (std::vector<std::string>{"close-up", "click", "change"}));
}

TEST_F(ControlsTest, ComboBoxWithFreeTextReportsTyping) {
  auto* combo = new TComboBox(form_);
  combo->SetItems({"นาย", "นาง"});
  combo->OnChange = Counter("change");
  combo->SetText("นาง");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_TRUE(log_.empty());
  combo->SetFocus();
  user::Type("สาว");
  EXPECT_EQ(combo->Text(), "นางสาว");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(log_.size(), 3u);
}

TEST_F(ControlsTest, PickerShowsBuddhistEraAndKeepsTheTimeOfDay) {
  auto* picker = new TDateTimePicker(form_);
  picker->OnChange = Counter("change");
  picker->OnCloseUp = Counter("close-up");
  picker->SetDateTime(EncodeDate(2024, 3, 5) + EncodeTime(8, 30, 0, 0));
  const auto* edit = static_cast<const QWidget*>(picker->Native().FocusWidget());
  EXPECT_EQ(edit->property("text").toString(), "05/03/2567");
  EXPECT_TRUE(log_.empty());
  user::PickDay(*picker, 6);
  EXPECT_EQ(picker->DateTime(), EncodeDate(2024, 3, 6) + EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(edit->property("text").toString(), "06/03/2567");
  EXPECT_EQ(log_, (std::vector<std::string>{"change", "close-up"}));
}

TEST_F(ControlsTest, PickerCalendarTurnsToOtherMonths) {
  auto* picker = new TDateTimePicker(form_);
  picker->SetDateTime(EncodeDate(2024, 12, 30) + EncodeTime(17, 0, 0, 0));
  picker->DropDown();
  QTest::mouseClick(picker->Calendar().NextButton(), Qt::LeftButton);
  QToolButton* day = picker->Calendar().DayButton(2);
  ASSERT_NE(day, nullptr);
  QTest::mouseClick(day, Qt::LeftButton);
  EXPECT_EQ(picker->DateTime(), EncodeDate(2025, 1, 2) + EncodeTime(17, 0, 0, 0));
  EXPECT_FALSE(picker->DroppedDown());
  picker->DropDown();
  QTest::mouseClick(picker->Calendar().PreviousButton(), Qt::LeftButton);
  QTest::mouseClick(picker->Calendar().PreviousButton(), Qt::LeftButton);
  ASSERT_NE(picker->Calendar().DayButton(30), nullptr);
  EXPECT_EQ(picker->Calendar().DayButton(31), nullptr);  // November
  QTest::mouseClick(picker->Calendar().DayButton(30), Qt::LeftButton);
  EXPECT_EQ(picker->DateTime(), EncodeDate(2024, 11, 30) + EncodeTime(17, 0, 0, 0));
}

TEST_F(ControlsTest, PickerTakesATypedBuddhistEraDate) {
  auto* picker = new TDateTimePicker(form_);
  picker->OnChange = Counter("change");
  EXPECT_EQ(picker->Time(), 0.0);
  picker->SetFocus();
  auto* edit = static_cast<QLineEdit*>(picker->Native().FocusWidget());
  edit->selectAll();
  user::Type("31/12/2566");
  user::PressEnter();
  EXPECT_EQ(picker->DateTime(), EncodeDate(2023, 12, 31));
  EXPECT_EQ(log_.size(), 1u);
  edit->selectAll();
  user::Type("32/12/2566");
  user::PressEnter();
  EXPECT_EQ(edit->text(), "31/12/2566");
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(ControlsTest, PageControlSwitchesHiddenTabsByCode) {
  auto* pages = new TPageControl(form_);
  auto* entry = new TTabSheet(form_);
  auto* search = new TTabSheet(form_);
  entry->SetPageControl(pages);
  search->SetPageControl(pages);
  entry->SetTabVisible(false);
  search->SetTabVisible(false);
  auto* label = new TLabel(search);
  label->SetCaption("รหัสที่ต้องการค้นหา");
  pages->OnChange = Counter("change");
  EXPECT_EQ(pages->ActivePage(), entry);
  pages->SetActivePage(search);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_TRUE(label->Native().Widget()->isVisible());
  EXPECT_FALSE(entry->Native().Widget()->isVisible());
  EXPECT_TRUE(log_.empty());
  const auto* bar = pages->Native().Widget()->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->isVisible());
}

TEST_F(ControlsTest, LabelSizesItselfToItsCaption) {
  auto* label = new TLabel(form_);
  label->SetCaption("&ลบ");
  const int short_width = label->Width();
  label->SetCaption("ทะเบียนพระ - นักบวช");
  EXPECT_GT(label->Width(), short_width);
  label->SetAutoSize(false);
  label->SetWidth(40);
  label->SetCaption("ใบอนุโมทนาบัตร");
  EXPECT_EQ(label->Width(), 40);
  int moves = 0;
  label->OnMouseMove = [&moves](TObject*, TShiftState, int, int) { ++moves; };
  label->OnClick = Counter("click");
  QTest::mouseMove(label->Native().Widget(), QPoint(3, 3));
  user::Click(*label);
  EXPECT_GT(moves, 0);
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(ControlsTest, SpeedButtonsLeaveTheFocusWhereItIsAndShowTheirHint) {
  auto* edit = new TEdit(form_);
  auto* save = new TSpeedButton(form_);
  save->SetBounds(200, 8, 60, 24);
  save->SetCaption("&บันทึก");
  save->SetHint("บันทึก");
  save->OnClick = Counter("save");
  edit->SetFocus();
  user::Click(*save);
  EXPECT_EQ(log_.size(), 1u);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(save->Native().Widget()->toolTip(), QString::fromUtf8("บันทึก"));
  save->SetEnabled(false);
  user::Click(*save);
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(ControlsTest, ProgressBarStaysWithinItsRange) {
  auto* bar = new TProgressBar(form_);
  bar->SetStep(1);
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetPosition(49);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ControlsTest, TimerRunsOnlyWhileEnabled) {
  auto* timer = new TTimer(form_);
  timer->SetEnabled(false);
  timer->SetInterval(1);
  timer->SetOnTimer([timer, this](TObject*) {
    log_.push_back("tick");
    timer->SetEnabled(false);
  });
  QTest::qWait(20);
  EXPECT_TRUE(log_.empty());
  timer->SetEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !log_.empty(); }, 1000));
  QTest::qWait(10);
  EXPECT_EQ(log_.size(), 1u);
}

}  // namespace
