// The engine's prompts in the program's windows: the password dialog, the
// questions and messages, the layouts drawn as forms, and the installation
// with its exception handler.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/access/Database.h"
#include "engine/access/EngineError.h"
#include "engine/access/PasswordDialog.h"
#include "engine/access/WaitWindow.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/db/Utf8Char.h"
#include "platform/rtl/CodePage874.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FormsApplication.h"
#include "platform/ui/Label.h"
#include "tests/app/core/support/EngineUiTest.h"

namespace {

using EnginePrompts = EngineUiTest;

TEST_F(EnginePrompts, EachLayoutIsDrawnWithItsTextsPlacesAndSizes) {
  for (const TWindowLayout* layout : {&kPassDialogLayout, &kWaitWindowLayout}) {
    SCOPED_TRACE(std::string(layout->Caption));
    TLayoutForm form(nullptr, *layout);
    form.Show();
    user::ProcessEvents();
    EXPECT_EQ(seen::Caption(form), layout->Caption);
    EXPECT_EQ(form.ClientWidth(), layout->ClientWidth);
    EXPECT_EQ(form.ClientHeight(), layout->ClientHeight);
    for (const TLayoutControl& placed : layout->Controls) {
      if (placed.Kind == lckTimer) continue;
      SCOPED_TRACE(std::string(placed.Name));
      const auto& control = form.Control<TControl>(placed.Name);
      EXPECT_TRUE(seen::Visible(control));
      EXPECT_EQ(control.Left(), placed.Left);
      EXPECT_EQ(control.Top(), placed.Top);
      if (placed.Width != 0) {
        EXPECT_EQ(control.Width(), placed.Width);
      }
      if (placed.Height != 0) {
        EXPECT_EQ(control.Height(), placed.Height);
      }
      if (placed.Kind != lckProgressBar) {
        EXPECT_EQ(seen::Text(control), placed.Text);
      }
    }
  }
}

struct PasswordCase {
  const char* how;
  const char* name;  // what the database component passes for lbName
  const char* typed;
  std::function<void(TLayoutForm& dialog)> close;
  bool ok;
};

TEST_F(EnginePrompts, ThePasswordDialogGivesTheTypedPasswordOnOkAndNothingOnCancel) {
  const std::vector<PasswordCase> cases = {
      {"OK clicked", "", "sesame", [](TLayoutForm& d) { user::Click(d.Control<TButton>("cbOk")); }, true},
      {"OK clicked, a name shown", "dat_temple.vtr", "ศาลา 9",
       [](TLayoutForm& d) { user::Click(d.Control<TButton>("cbOk")); }, true},
      {"Cancel clicked", "", "sesame", [](TLayoutForm& d) { user::Click(d.Control<TButton>("cbCancel")); },
       false},
      {"closed by its title bar", "", "sesame", [](TLayoutForm& d) { user::CloseWindow(d); },
       false},
  };
  for (const PasswordCase& c : cases) {
    SCOPED_TRACE(c.how);
    TVTRDatabase database(nullptr);
    database.Password = "before";
    OnModalForm([&c](TLayoutForm& dialog) {
      EXPECT_EQ(dialog.Caption(), "Database authentication");
      EXPECT_EQ(seen::Text(dialog.Control<TLabel>("Label1")), "Password:");
      EXPECT_EQ(seen::Text(dialog.Control<TLabel>("lbName")), c.name);
      EXPECT_EQ(seen::Text(dialog.Control<TButton>("cbOk")), "OK");
      EXPECT_EQ(seen::Text(dialog.Control<TButton>("cbCancel")), "Cancel");
      auto& pass = dialog.Control<TEdit>("Pass");
      EXPECT_EQ(seen::Text(pass), "");
      EXPECT_TRUE(seen::HasFocus(pass));
      user::Type(c.typed);
      EXPECT_EQ(seen::Text(pass), std::string(Utf8CharCount(c.typed), '*'));
      c.close(dialog);
    });
    EXPECT_EQ(ShowPasswordDialog(database, c.name), c.ok);
    EXPECT_EQ(database.Password, c.ok ? c.typed : "before");
  }
}

struct QuestionCase {
  const char* what;
  std::function<bool(EngineUi& ui)> ask;  // the answer, where there is one
  TModalResult button;
  TMsgDlgType type;
  TMsgDlgButtons buttons;
  bool answer;
};

TEST_F(EnginePrompts, QuestionsAndMessagesGoThroughTheDialogService) {
  const char* repair = "Database file was not correctly closed last time. Do you want to repair it?";
  const std::vector<QuestionCase> cases = {
      {"confirmed", [&](EngineUi& ui) { return ui.Confirm(repair); }, mrYes, mtConfirmation, mbYesNo, true},
      {"declined", [&](EngineUi& ui) { return ui.Confirm(repair); }, mrNo, mtConfirmation, mbYesNo, false},
      {"information", [&](EngineUi& ui) { return ui.Inform(repair), false; }, mrOk, mtInformation, mbOKOnly,
       false},
      {"warning", [&](EngineUi& ui) { return ui.Warn(repair), false; }, mrOk, mtWarning, mbOKOnly, false},
  };
  for (const QuestionCase& c : cases) {
    SCOPED_TRACE(c.what);
    Dialogs().Clear();
    Dialogs().Answer(c.button);
    EXPECT_EQ(c.ask(EngineRuntime().Ui()), c.answer);
    ASSERT_EQ(Dialogs().Transcript().size(), 1u);
    const DialogRecord& box = Dialogs().Transcript()[0];
    EXPECT_EQ(box.text, repair);
    EXPECT_EQ(box.type, c.type);
    EXPECT_EQ(box.buttons, c.buttons);
  }
}

// A form with a button whose click raises `error`, as a program's handler may.
class TFailingForm : public TForm {
 public:
  TFailingForm(TComponent* owner, std::function<void()> raise) : TForm(owner), Button1(new TButton(this)) {
    SetBounds(0, 0, 300, 200);
    Button1->SetBounds(10, 10, 100, 25);
    Button1->OnClick = [raise = std::move(raise)](TObject*) { raise(); };
  }
  TButton* Button1;
};

const std::string kThaiMessage = "ไม่สามารถเปิดแฟ้มข้อมูล dat_temple.vtr ได้";

struct ErrorCase {
  const char* what;
  std::function<void()> raise;
  std::string shown;
};

TEST_F(EnginePrompts, AnErrorThatNoHandlerCaughtShowsItsMessageInThai) {
  Application().SetTitle("Orvane20");
  const std::vector<ErrorCase> cases = {
      {"an engine exception", [] { throw EVTRException(10204, Utf8ToCp874(kThaiMessage)); },
       kThaiMessage + " - Native error: 10204"},
      {"an engine record error", [] { throw EVTREngineError(-8, Utf8ToCp874("ค่ารวมต้องไม่ติดลบ")); },
       "Vantor Engine Error # -8 ค่ารวมต้องไม่ติดลบ"},
      {"an error of the program", [] { throw Exception(kThaiMessage); }, kThaiMessage},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto* form = FormsApplication().CreateForm<TFailingForm>(c.raise);
    form->Show();
    Dialogs().Clear();
    Dialogs().Answer(mrOk);
    user::Click(*form->Button1);
    ASSERT_EQ(Dialogs().Transcript().size(), 1u);
    const DialogRecord& box = Dialogs().Transcript()[0];
    EXPECT_EQ(box.text, c.shown);
    EXPECT_EQ(box.caption, "Orvane20");
    EXPECT_EQ(box.type, mtError);
    EXPECT_EQ(box.buttons, mbOKOnly);
    delete form;
  }
  Application().SetTitle("");
}

TEST_F(EnginePrompts, TheInstallationRunsTheEngineWithTheseWindowsUntilItEnds) {
  EXPECT_EQ(&EngineRuntime().Ui(), &Ui());
  EXPECT_THROW(InstallEngineUi(), std::logic_error) << "one engine runtime at a time";

  installed_.reset();
  EXPECT_THROW(EngineRuntime(), EVTRException);
  auto* form = FormsApplication().CreateForm<TFailingForm>(
      [] { throw EVTRException(10204, Utf8ToCp874(kThaiMessage)); });
  form->Show();
  Dialogs().Answer(mrOk);
  user::Click(*form->Button1);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, Utf8ToCp874(kThaiMessage) + " - Native error: 10204")
      << "the toolkit's own box, which shows the message as it is, is back";
}

}  // namespace
