// The donation program's settings window over the real sys_sys row: what it
// shows, the edit and save cycle with its prefix check, and what closing does.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/Ref_H_Sys.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kSettingColumns{"prefix5", "prefix6", "prefix7", "prefix_donate", "prn_top", "skin"};

class SettingsWindow : public TempleWindowTest {
 protected:
  TRef_H_Sys& Open() {
    auto* window = FormsApplication().CreateForm<TRef_H_Sys>();
    user::ProcessEvents();
    return *window;
  }

  // Replaces the box's text by typing, as a user who selects it all does.
  static void Retype(TDBEdit& box, const std::string& text) {
    box.SetFocus();
    box.SelectAll();
    user::Type(text);
  }

  Rows StoredSettings() { return Stored("sys_sys", kSettingColumns); }
};

const Rows kStartingSettings{{"DONA", "PURC", "SALE", "DONR", "0", "0"}};

TEST_F(SettingsWindow, OpensOnTheSettingsRowReadyToEdit) {
  TRef_H_Sys& w = Open();
  EXPECT_EQ(seen::Caption(w), " ข้อมูลอ้างอิง ระบบการทำงาน");
  EXPECT_EQ(w.Left(), 0);
  EXPECT_EQ(w.Top(), 0);
  EXPECT_EQ(seen::Text(*w.DBEdit9), "DONA");
  EXPECT_EQ(seen::Text(*w.DBEdit10), "PURC");
  EXPECT_EQ(seen::Text(*w.DBEdit1), "SALE");
  EXPECT_EQ(seen::Text(*w.DBEdit5), "DONR");
  EXPECT_EQ(w.DBRadioGroup8->ItemIndex(), 0);
  EXPECT_EQ(w.DBRadioGroup1->ItemIndex(), 0);
  EXPECT_TRUE(w.SpeedButton3->Enabled());
  EXPECT_TRUE(w.SpeedButton2->Enabled());
  EXPECT_TRUE(w.SpeedButton11->Enabled());
  EXPECT_FALSE(w.SpeedButton6->Enabled());
  EXPECT_FALSE(w.SpeedButton8->Enabled());
  for (const TControl* hidden : std::vector<const TControl*>{w.SpeedButton1, w.SpeedButton4, w.DBNavigator1})
    EXPECT_FALSE(seen::Visible(*hidden)) << hidden->Name();
}

TEST_F(SettingsWindow, APrefixOfOtherThanFourCharactersIsRefusedAndNothingPosted) {
  TRef_H_Sys& w = Open();
  struct Case {
    TDBEdit* box;
    const char* typed;
    const char* stored;
  };
  for (const Case& c : {Case{w.DBEdit1, "SAL", "SALE"}, Case{w.DBEdit1, "    ", "SALE"}, Case{w.DBEdit9, "DO", "DONA"},
                        Case{w.DBEdit10, "P", "PURC"}, Case{w.DBEdit5, "DON", "DONR"}}) {
    SCOPED_TRACE(c.box->Name() + " '" + c.typed + "'");
    user::Click(*w.SpeedButton3);
    Retype(*c.box, c.typed);
    Dialogs().Clear();
    Dialogs().Answer(mrOk);
    user::Click(*w.SpeedButton8);
    ASSERT_EQ(Dialogs().Transcript().size(), 1u);
    EXPECT_EQ(Dialogs().Transcript()[0].text, kShortPrefix);
    EXPECT_EQ(w.Table4->State(), dsEdit) << "the row stays in edit";
    EXPECT_TRUE(w.SpeedButton8->Enabled());
    EXPECT_TRUE(w.SpeedButton6->Enabled());
    EXPECT_EQ(StoredSettings(), kStartingSettings);
    user::Click(*w.SpeedButton6);
    EXPECT_EQ(seen::Text(*c.box), c.stored) << "cancel shows the stored prefix again";
  }
}

TEST_F(SettingsWindow, SaveStoresEveryChangeAndTakesTheSkinAtOnce) {
  TRef_H_Sys& w = Open();
  user::Click(*w.SpeedButton3);
  EXPECT_FALSE(w.SpeedButton3->Enabled());
  EXPECT_FALSE(w.SpeedButton2->Enabled());
  Retype(*w.DBEdit2, "99");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.DBEdit3));
  Retype(*w.DBEdit1, "ขายก");
  user::ClickItem(*w.DBRadioGroup8, 1);
  user::Click(*w.SpeedButton8);
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(myVar.SkinName, "1");
  EXPECT_EQ(StoredSettings(), (Rows{{"DONA", "PURC", "ขายก", "DONR", "99", "1"}}))
      << "an offset beyond the label's range is stored";
  EXPECT_TRUE(w.SpeedButton3->Enabled());
  EXPECT_FALSE(w.SpeedButton8->Enabled());
  EXPECT_FALSE(w.SpeedButton6->Enabled());

  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton2);
  user::ProcessEvents();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, kRestartToApply);
  EXPECT_EQ(FormsApplication().Newest<TRef_H_Sys>(), nullptr);
}

TEST_F(SettingsWindow, AClickWhileBrowsingChangesOnlyTheBufferUntilEditAndSave) {
  TRef_H_Sys& w = Open();
  user::ClickItem(*w.DBRadioGroup5, 1);
  EXPECT_EQ(w.Table4->State(), dsEdit) << "automatic editing";
  EXPECT_FALSE(w.SpeedButton8->Enabled());
  EXPECT_EQ(Stored("sys_sys", {"prn_logo"}), Rows{{"0"}});
  user::Click(*w.SpeedButton3);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("sys_sys", {"prn_logo"}), Rows{{"1"}});
}

// Runs a step of the test while a message box is shown, before it is answered.
class DialogsDuringMessage : public ScriptedDialogs {
 public:
  std::function<void()> while_shown;
  void ShowMessage(const std::string& text) override {
    if (while_shown) while_shown();
    ScriptedDialogs::ShowMessage(text);
  }
};

TEST_F(SettingsWindow, ClosingInEditDropsTheChangeAndReleasesTheRowBeforeTheRestartMessage) {
  TRef_H_Sys& w = Open();
  user::Click(*w.SpeedButton3);
  Retype(*w.DBEdit9, "XXXX");

  auto dialogs = std::make_unique<DialogsDuringMessage>();
  DialogsDuringMessage& during = *dialogs;
  std::unique_ptr<TDialogService> previous = SetDialogService(std::move(dialogs));
  during.while_shown = [this] {
    TVTRTable& other = OtherUser("sys_sys");
    other.Open();
    other.Edit();
    other.FieldByName("prefix6")->SetAsString("OTHR");
    other.Post();
    other.Close();
  };
  during.Answer(mrOk);
  user::ClickCloseBox(w);
  user::ProcessEvents();
  ASSERT_EQ(during.Transcript().size(), 1u);
  EXPECT_EQ(during.Transcript()[0].text, kRestartToApply);
  SetDialogService(std::move(previous));
  EXPECT_EQ(StoredSettings(), (Rows{{"DONA", "OTHR", "SALE", "DONR", "0", "0"}}))
      << "the other user's change is stored, the unposted one is not";
}

}  // namespace
