// Keys as the windows rely on them: OnKeyPress before the control applies the
// key, Enter moving the focus and pressing buttons, swallowed keys, read-only
// boxes and Tab.
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Buttons.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Memo.h"
#include "platform/ui/internal/ControlImpl.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

// Edit2 -> Edit3 -> Memo1 -> Edit2 on Enter, as the register windows chain their fields.
class TEntryForm : public TForm {
 public:
  explicit TEntryForm(TComponent* owner)
      : TForm(owner), Edit2(new TEdit(this)), Edit3(new TEdit(this)), Memo1(new TMemo(this)) {
    SetBounds(0, 0, 400, 300);
    Edit2->SetBounds(8, 8, 120, 21);
    Edit3->SetBounds(8, 40, 120, 21);
    Memo1->SetBounds(8, 72, 200, 80);
    Edit2->OnKeyPress = Bind(this, &TEntryForm::Edit2KeyPress);
    Edit3->OnKeyPress = Bind(this, &TEntryForm::Edit3KeyPress);
    Memo1->OnKeyPress = Bind(this, &TEntryForm::Memo1KeyPress);
  }

  void Edit2KeyPress(TObject*, char32_t& key) {
    if (key == 13) Edit3->SetFocus();
  }
  void Edit3KeyPress(TObject*, char32_t& key) {
    if (key == U'5') text_before_five = Edit3->Text();
    if (key == 13) Memo1->SetFocus();
  }
  void Memo1KeyPress(TObject*, char32_t& key) {
    if (key == 13) Edit2->SetFocus();
  }

  TEdit* Edit2;
  TEdit* Edit3;
  TMemo* Memo1;
  std::string text_before_five;
};

class KeysTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = FormsApplication().CreateForm<TEntryForm>();
    form_->Show();
    user::ProcessEvents();
  }
  TEntryForm* form_ = nullptr;
};

TEST_F(KeysTest, EnterMovesTheFocusAlongTheChainAndNeverIntoTheMemo) {
  user::Click(*form_->Edit2);
  ASSERT_TRUE(form_->Edit2->Focused());
  user::Type("ทะเบียน12");
  user::PressEnter();
  EXPECT_TRUE(form_->Edit3->Focused());
  user::Type("34");
  user::Type("5");
  EXPECT_EQ(form_->text_before_five, "34");
  EXPECT_EQ(form_->Edit3->Text(), "345");
  user::PressKeypadEnter();
  EXPECT_TRUE(form_->Memo1->Focused());
  user::Type("วัด");
  user::PressEnter();
  EXPECT_TRUE(form_->Edit2->Focused());
  EXPECT_EQ(form_->Edit2->Text(), "ทะเบียน12");
  EXPECT_EQ(form_->Memo1->Text(), "วัด");
  EXPECT_EQ(form_->ActiveControl(), form_->Edit2);
}

TEST_F(KeysTest, EnterThatNoHandlerAnswersStartsANewMemoLine) {
  form_->Memo1->OnKeyPress = nullptr;
  form_->Memo1->SetFocus();
  user::Type("a");
  user::PressEnter();
  user::Type("b");
  EXPECT_EQ(form_->Memo1->Lines().ToVector(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(form_->Memo1->Text(), "a\r\nb");
}

TEST_F(KeysTest, AHandlerSwallowsOrReplacesTheKey) {
  form_->Memo1->OnKeyPress = [](TObject*, char32_t& key) {
    if (key == 13 || key == U'x') key = 0;
    if (key == U'a') key = U'ก';
  };
  form_->Memo1->SetFocus();
  user::Type("xa");
  user::PressEnter();
  user::Type("b");
  EXPECT_EQ(form_->Memo1->Text(), "กb");
  EXPECT_TRUE(form_->Memo1->Focused());
}

TEST_F(KeysTest, ReadOnlyBoxesStillReportTheirKeys) {
  std::vector<char32_t> keys;
  form_->Edit3->SetReadOnly(true);
  form_->Edit3->SetText("0001");
  form_->Edit3->OnKeyPress = [&keys](TObject*, char32_t& key) { keys.push_back(key); };
  form_->Edit3->SetFocus();
  user::Type("z");
  user::PressEnter();
  EXPECT_EQ(keys, (std::vector<char32_t>{U'z', 13}));
  EXPECT_EQ(form_->Edit3->Text(), "0001");
}

TEST_F(KeysTest, TabFollowsTheTabOrder) {
  form_->Memo1->SetTabOrder(0);
  ASSERT_EQ(form_->Edit2->TabOrder(), 1);
  form_->Memo1->SetFocus();
  user::PressTab();
  EXPECT_TRUE(form_->Edit2->Focused());
  user::PressTab();
  EXPECT_TRUE(form_->Edit3->Focused());
  form_->Edit2->SetTabStop(false);
  form_->Memo1->SetFocus();
  user::PressTab();
  EXPECT_TRUE(form_->Edit3->Focused());
}

TEST_F(KeysTest, EditLimitsAndHidesWhatIsTyped) {
  form_->Edit2->SetMaxLength(5);
  form_->Edit2->SetFocus();
  user::Type("กขคงจฉ");
  EXPECT_EQ(form_->Edit2->Text(), "กขคงจ");
  form_->Edit2->SetText("กขคงจฉช");  // text from code is kept whole
  user::Type("ซ");
  EXPECT_EQ(form_->Edit2->Text(), "กขคงจฉช");
  form_->Edit3->SetPasswordChar(U'*');
  form_->Edit3->SetFocus();
  user::Type("8052");
  EXPECT_EQ(form_->Edit3->Text(), "8052");
}

TEST_F(KeysTest, EnterAndExitFollowTheFocus) {
  std::vector<std::string> log;
  form_->Memo1->SetFocus();
  form_->Edit2->OnEnter = [&log](TObject*) { log.push_back("enter 2"); };
  form_->Edit2->OnExit = [&log](TObject*) { log.push_back("exit 2"); };
  form_->Edit3->OnEnter = [&log](TObject*) { log.push_back("enter 3"); };
  user::Click(*form_->Edit2);
  user::PressEnter();
  EXPECT_EQ(log, (std::vector<std::string>{"enter 2", "exit 2", "enter 3"}));
}

TEST_F(KeysTest, AControlMadeOfSeveralWidgetsOffersEachKeyOnce) {
  auto* picker = new TDateTimePicker(form_);
  picker->SetBounds(8, 160, 120, 21);
  std::vector<char32_t> keys;
  picker->OnKeyPress = [&](TObject*, char32_t& key) { keys.push_back(key); };
  picker->SetFocus();
  user::PressEnter();
  EXPECT_EQ(keys, (std::vector<char32_t>{13}));
}

TEST_F(KeysTest, FocusingAHiddenControlIsRefused) {
  form_->Edit3->Hide();
  EXPECT_THROW(form_->Edit3->SetFocus(), EInvalidOperation);
  form_->Edit3->Show();
  form_->Edit3->SetEnabled(false);
  EXPECT_FALSE(form_->Edit3->CanFocus());
}

// A search box whose Enter moves to the search button, as the pickers have it;
// the next Enter is meant to press the button.
class TSearchForm : public TForm {
 public:
  explicit TSearchForm(TComponent* owner)
      : TForm(owner), Edit2(new TEdit(this)), Button1(new TButton(this)), BitBtn1(new TBitBtn(this)) {
    SetBounds(0, 0, 300, 120);
    Edit2->SetBounds(8, 8, 120, 21);
    Button1->SetBounds(8, 40, 75, 25);
    Button1->SetCaption("ค้นหา");
    BitBtn1->SetBounds(100, 40, 75, 25);
    BitBtn1->SetCaption("กลับ");
    Edit2->OnKeyPress = Bind(this, &TSearchForm::Edit2KeyPress);
    Button1->OnClick = Bind(this, &TSearchForm::Button1Click);
    BitBtn1->OnClick = Bind(this, &TSearchForm::BitBtn1Click);
  }

  void Edit2KeyPress(TObject*, char32_t& key) {
    if (key == 13) Button1->SetFocus();
  }
  void Button1Click(TObject*) { ++button_clicks; }
  void BitBtn1Click(TObject*) { ++bit_button_clicks; }

  TEdit* Edit2;
  TButton* Button1;
  TBitBtn* BitBtn1;
  int button_clicks = 0;
  int bit_button_clicks = 0;
};

class ButtonKeysTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = FormsApplication().CreateForm<TSearchForm>();
    form_->Show();
    user::ProcessEvents();
  }
  TSearchForm* form_ = nullptr;
};

TEST_F(ButtonKeysTest, EnterOnAFocusedButtonPressesItOnce) {
  struct Case {
    const char* key;
    std::function<void()> press;
  };
  for (const Case& c : {Case{"Return", user::PressEnter}, Case{"keypad Enter", user::PressKeypadEnter},
                        Case{"Space", [] { user::Type(" "); }}}) {
    form_->button_clicks = 0;
    form_->Edit2->SetFocus();
    user::Type("วัด");
    user::PressEnter();
    ASSERT_TRUE(form_->Button1->Focused()) << c.key;
    EXPECT_EQ(form_->button_clicks, 0) << c.key << ": the Enter that moved the focus pressed the button";
    c.press();
    EXPECT_EQ(form_->button_clicks, 1) << c.key;
    EXPECT_TRUE(form_->Button1->Focused()) << c.key;

    form_->bit_button_clicks = 0;
    form_->BitBtn1->SetFocus();
    c.press();
    EXPECT_EQ(form_->bit_button_clicks, 1) << c.key;
  }
}

TEST_F(ButtonKeysTest, AButtonFocusedByCodeShowsTheFocusCue) {
  QWidget* button = form_->Button1->Native().Widget();
  form_->Edit2->SetFocus();
  const QImage unfocused = button->grab().toImage();
  form_->Button1->SetFocus();
  user::ProcessEvents();
  const QImage by_code = button->grab().toImage();
  EXPECT_NE(by_code, unfocused);
  form_->Edit2->SetFocus();
  user::PressTab();
  ASSERT_TRUE(form_->Button1->Focused());
  EXPECT_EQ(button->grab().toImage(), by_code);
}

}  // namespace
