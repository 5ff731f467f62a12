// Forms: creation, closing with each action, modal results, deferred freeing,
// the exception guard and what the application object does for windows.
#include <gtest/gtest-spi.h>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <string>

#include "platform/ui/Buttons.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/QtDialogService.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

// A form that records its life in a log the test owns.
class TLoggedForm : public TForm {
 public:
  TLoggedForm(TComponent* owner, std::vector<std::string>* log)
      : TForm(owner), log_(log), Button1(new TButton(this)) {
    SetBounds(0, 0, 300, 200);
    Button1->SetCaption("OK");
    OnCreate = [this](TObject*) {
      log_->push_back(std::string("create, visible ") + (Showing() ? "1" : "0"));
    };
    OnActivate = [this](TObject*) { log_->push_back("activate"); };
    OnClose = [this](TObject*, TCloseAction& action) {
      log_->push_back("close");
      chosen = "P0001";
      action = close_action;
    };
  }
  ~TLoggedForm() override { log_->push_back("free"); }

  TCloseAction close_action = caHide;
  std::string chosen;
  std::vector<std::string>* log_;
  TButton* Button1;
};

class FormsTest : public UiTest {
 protected:
  // Outlives the forms, which the fixture frees after the test body.
  std::vector<std::string> log;
};

TEST_F(FormsTest, CreateFormRunsFormCreateBeforeTheFirstShow) {
  auto* form = FormsApplication().CreateForm<TLoggedForm>(&log);
  EXPECT_EQ(FormsApplication().MainForm(), form);
  EXPECT_FALSE(form->Showing());
  form->Show();
  user::ProcessEvents();
  form->Hide();
  form->Show();
  EXPECT_EQ(log, (std::vector<std::string>{"create, visible 0", "activate", "activate"}));
}

TEST_F(FormsTest, CloseDoesWhatTheActionSays) {
  struct Case {
    TCloseAction action;
    bool visible;
    bool freed;
  };
  for (const Case& c : {Case{caHide, false, false}, Case{caFree, false, true}, Case{caNone, true, false}}) {
    SCOPED_TRACE(static_cast<int>(c.action));
    FormsApplication().CreateForm<TForm>()->Show();  // the main form
    auto* form = FormsApplication().CreateForm<TLoggedForm>(&log);
    form->close_action = c.action;
    form->Show();
    form->Close();
    EXPECT_EQ(form->Showing(), c.visible);
    EXPECT_EQ(log.back(), "close");  // a freed form lives on until the event loop runs
    user::ProcessEvents();
    EXPECT_EQ(log.back() == "free", c.freed);
    EXPECT_EQ(FormsApplication().Newest<TLoggedForm>() == nullptr, c.freed);
    Application().DestroyComponents();
  }
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheRun) {
  auto* form = FormsApplication().CreateForm<TLoggedForm>(&log);
  form->Show();
  form->Close();
  EXPECT_TRUE(FormsApplication().Terminated());
  form->close_action = caNone;
}

TEST_F(FormsTest, ShowModalReturnsTheResultAfterFormCloseRan) {
  FormsApplication().CreateForm<TForm>()->Show();
  auto* picker = FormsApplication().CreateForm<TLoggedForm>(&log);
  picker->close_action = caFree;
  picker->Button1->SetModalResult(mrOk);
  QTimer::singleShot(0, [picker] { user::Click(*picker->Button1); });
  EXPECT_EQ(picker->ShowModal(), mrOk);
  // The form is freed only when control is back in the event loop: the caller
  // still reads what FormClose wrote.
  EXPECT_EQ(picker->chosen, "P0001");
  EXPECT_EQ(log, (std::vector<std::string>{"create, visible 0", "activate", "close"}));
  user::ProcessEvents();
  EXPECT_EQ(log.back(), "free");
}

TEST_F(FormsTest, ClosingAModalFormCancelsAndOnCloseMayRefuse) {
  FormsApplication().CreateForm<TForm>()->Show();
  auto* picker = FormsApplication().CreateForm<TLoggedForm>(&log);
  picker->close_action = caNone;
  QTimer::singleShot(0, [picker] {
    picker->Close();
    QTimer::singleShot(0, [picker] {
      EXPECT_TRUE(picker->Showing());
      picker->close_action = caHide;
      picker->Close();
    });
  });
  EXPECT_EQ(picker->ShowModal(), mrCancel);
  EXPECT_FALSE(picker->Showing());
  EXPECT_EQ(std::count(log.begin(), log.end(), "close"), 2);
  EXPECT_THROW(
      {
        picker->Show();
        picker->ShowModal();
      },
      EInvalidOperation);
}

TEST_F(FormsTest, AFormReleasedInItsOwnHandlerOutlivesTheHandler) {
  FormsApplication().CreateForm<TForm>()->Show();
  auto* form = FormsApplication().CreateForm<TLoggedForm>(&log);
  form->Show();
  form->Button1->OnClick = [form](TObject*) {
    form->Release();
    form->chosen = "still here";
    form->log_->push_back(form->chosen);
  };
  user::Click(*form->Button1);
  EXPECT_EQ(log, (std::vector<std::string>{"create, visible 0", "activate", "still here", "free"}));
}

TEST_F(FormsTest, AnExceptionInAHandlerIsShownAndTheFormStillAnswers) {
  auto* form = FormsApplication().CreateForm<TLoggedForm>(&log);
  form->Show();
  int clicks = 0;
  form->Button1->OnClick = [&clicks](TObject*) {
    if (++clicks == 1) throw Exception("ไม่สามารถบันทึกข้อมูลได้");
    if (clicks == 2) throw EAbort();
  };
  Dialogs().Answer(mrOk);
  user::Click(*form->Button1);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ไม่สามารถบันทึกข้อมูลได้");
  EXPECT_EQ(Dialogs().Transcript()[0].type, mtError);
  user::Click(*form->Button1);  // the silent abort shows nothing
  user::Click(*form->Button1);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_TRUE(form->Showing());
}

TEST_F(FormsTest, AnExceptionInFormCreateIsShownAndTheFormIsStillMade) {
  class TBroken : public TForm {
   public:
    explicit TBroken(TComponent* owner) : TForm(owner) {
      OnCreate = [](TObject*) { throw Exception("Database file dat_temple.vtr not found"); };
    }
  };
  Dialogs().Answer(mrOk);
  TBroken* form = FormsApplication().CreateForm<TBroken>();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(FormsApplication().Newest<TBroken>(), form);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "Database file dat_temple.vtr not found");
}

TEST_F(FormsTest, ChildrenTakeTheFormsColourAndFont) {
  auto* form = FormsApplication().CreateForm<TForm>();
  auto* panel = new TPanel(form);
  auto* label = new TLabel(panel);
  auto* edit = new TEdit(panel);
  TFont font;
  font.SetName("CordiaUPC");
  font.SetHeight(19);
  form->SetFont(font);
  form->SetColor(4210688);
  EXPECT_EQ(label->Color(), 4210688);
  EXPECT_EQ(label->Font(), font);
  EXPECT_EQ(edit->Color(), clWindow);
  const QWidget* label_widget = label->Native().Widget();
  EXPECT_EQ(label_widget->palette().color(QPalette::Window), QColor(0, 64, 64));
  EXPECT_EQ(label_widget->font().family(), "Umpush");
  EXPECT_EQ(label_widget->font().pixelSize(), 12);
  label->SetColor(clYellow);
  EXPECT_EQ(label->Color(), clYellow);
  EXPECT_EQ(label_widget->palette().color(QPalette::Window), QColor(255, 255, 0));
}

TEST_F(FormsTest, DisablingAPanelDisablesWhatIsOnIt) {
  auto* form = FormsApplication().CreateForm<TForm>();
  auto* panel = new TPanel(form);
  auto* edit = new TEdit(panel);
  form->Show();
  panel->SetEnabled(false);
  EXPECT_FALSE(edit->Native().Widget()->isEnabled());
  EXPECT_FALSE(edit->CanFocus());
  panel->SetEnabled(true);
  EXPECT_TRUE(edit->Native().Widget()->isEnabled());
}

TEST_F(FormsTest, AlignedControlsShareTheClientArea) {
  auto* form = FormsApplication().CreateForm<TForm>();
  form->SetBounds(0, 0, 400, 300);
  auto* top = new TPanel(form);
  auto* bottom = new TPanel(form);
  auto* client = new TPanel(form);
  top->SetHeight(40);
  top->SetAlign(alTop);
  bottom->SetHeight(30);
  bottom->SetAlign(alBottom);
  client->SetAlign(alClient);
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(client->Top(), 40);
  EXPECT_EQ(client->Height(), 300 - 40 - 30);
  EXPECT_EQ(bottom->Top(), 270);
  top->Hide();
  EXPECT_EQ(client->Top(), 0);
}

TEST_F(FormsTest, ASingleBorderFixesTheSizeAndPositionsApply) {
  auto* form = FormsApplication().CreateForm<TForm>();
  form->SetBounds(0, 0, 312, 118);
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons({});
  form->SetPosition(poScreenCenter);
  form->Show();
  const QWidget* window = form->FormNative().Window();
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const QRect screen = QApplication::primaryScreen()->availableGeometry();
  EXPECT_NEAR(form->Left() + form->Width() / 2, screen.center().x(), 1);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(FormsTest, AClientSizeSetBeforeTheFirstShowIsTheClientAreaShown) {
  auto* form = FormsApplication().CreateForm<TForm>();
  form->SetClientWidth(312);
  form->SetClientHeight(118);
  form->Show();
  user::ProcessEvents();
  EXPECT_EQ(form->FormNative().Client()->width(), 312);
  EXPECT_EQ(form->FormNative().Client()->height(), 118);
}

TEST_F(FormsTest, ShowPlacesTheFormAndFocusesItsActiveControl) {
  auto* main = FormsApplication().CreateForm<TForm>();
  main->SetCaption("ทะเบียนพระ - นักบวช");
  main->SetBounds(100, 100, 600, 400);
  main->Show();
  auto* dialog = FormsApplication().CreateForm<TForm>();
  dialog->SetBounds(0, 0, 216, 118);
  dialog->SetPosition(poMainFormCenter);
  auto* first = new TEdit(dialog);
  auto* second = new TEdit(dialog);
  dialog->SetActiveControl(second);
  dialog->Show();
  user::ProcessEvents();
  EXPECT_EQ(main->Caption(), "ทะเบียนพระ - นักบวช");
  EXPECT_NEAR(dialog->Left() + dialog->Width() / 2, 400, 1);
  EXPECT_NEAR(dialog->Top() + dialog->Height() / 2, 300, 1);
  EXPECT_TRUE(second->Focused());
  EXPECT_FALSE(first->Focused());
  EXPECT_EQ(dialog->ActiveControl(), second);

  auto* maximised = FormsApplication().CreateForm<TForm>();
  maximised->SetWindowState(wsMaximized);
  EXPECT_EQ(maximised->WindowState(), wsMaximized);
  maximised->Show();
  EXPECT_EQ(maximised->WindowState(), wsMaximized);
  EXPECT_TRUE(maximised->FormNative().Window()->isMaximized());
}

TEST_F(FormsTest, TheWaitWindowCanDisableTheOtherWindowsAndMinimiseTheApplication) {
  auto* main = FormsApplication().CreateForm<TForm>();
  auto* other = FormsApplication().CreateForm<TForm>();
  auto* wait = FormsApplication().CreateForm<TForm>();
  main->Show();
  other->Show();
  wait->Show();
  const TTaskWindowList disabled = FormsApplication().DisableTaskWindows(wait);
  EXPECT_FALSE(main->FormNative().Window()->isEnabled());
  EXPECT_FALSE(other->FormNative().Window()->isEnabled());
  EXPECT_TRUE(wait->FormNative().Window()->isEnabled());
  delete other;
  FormsApplication().EnableTaskWindows(disabled);
  EXPECT_TRUE(main->FormNative().Window()->isEnabled());

  int restored = 0;
  FormsApplication().OnRestore = [&restored](TObject*) { ++restored; };
  FormsApplication().Minimize();
  EXPECT_TRUE(FormsApplication().Minimized());
  FormsApplication().Restore();
  EXPECT_FALSE(FormsApplication().Minimized());
  EXPECT_EQ(restored, 1);
  FormsApplication().OnRestore = nullptr;

  FormsApplication().SetCursor(crHourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  FormsApplication().SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormsTest, TheActiveFormIsTheWindowTheUserActivatedLast) {
  auto* main = FormsApplication().CreateForm<TForm>();
  auto* other = FormsApplication().CreateForm<TForm>();
  main->Show();
  other->Show();
  user::ActivateWindow(*main);
  EXPECT_EQ(FormsApplication().ActiveForm(), main);
  user::ActivateWindow(*other);
  EXPECT_EQ(FormsApplication().ActiveForm(), other);
  EXPECT_EQ(FormsApplication().FormBySerial(other->Serial()), other);
  EXPECT_NE(main->Serial(), other->Serial());
}

TEST_F(FormsTest, ARestoreHandlerMayReplaceItselfWhileItRuns) {
  auto* main = FormsApplication().CreateForm<TForm>();
  main->Show();
  std::vector<std::string> ran;
  const std::string first = "the handler that replaced itself";
  FormsApplication().OnRestore = [&ran, first](TObject*) {
    FormsApplication().OnRestore = [&ran](TObject*) { ran.push_back("its successor"); };
    ran.push_back(first);  // the replaced handler's own state, still there
  };
  FormsApplication().Minimize();
  FormsApplication().Restore();
  FormsApplication().Minimize();
  FormsApplication().Restore();
  EXPECT_EQ(ran, (std::vector<std::string>{first, "its successor"}));
  FormsApplication().OnRestore = nullptr;
}

TEST_F(FormsTest, ApplicationProcessMessagesRunsTheQtLoop) {
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  Application().ProcessMessages();
  EXPECT_TRUE(ran);
}

TEST_F(FormsTest, ScriptedDialogsAnswerAndRecord) {
  Dialogs().Answer(mrNo);
  EXPECT_EQ(MessageDlg("ต้องการลบข้อมูลนี้ ?", mtConfirmation, mbYesNo), mrNo);
  Dialogs().CancelInput();
  EXPECT_EQ(InputBox("ค้นหา", "เลขที่เอกสาร", "000001"), "000001");
  Dialogs().AnswerInput("000123");
  EXPECT_EQ(InputBox("ค้นหา", "เลขที่เอกสาร", "000001"), "000123");
  Dialogs().Answer(mrOk);
  ShowMessage("User Name = admin\rPassword = 8052");
  OpenWithSystem("HB_Orvane.html");

  const auto& transcript = Dialogs().Transcript();
  ASSERT_EQ(transcript.size(), 4u);
  EXPECT_EQ(transcript[0].kind, DialogRecord::Kind::MessageDlg);
  EXPECT_EQ(transcript[0].text, "ต้องการลบข้อมูลนี้ ?");
  EXPECT_EQ(transcript[0].caption, "Confirm");
  EXPECT_EQ(transcript[0].buttons, mbYesNo);
  EXPECT_EQ(transcript[0].result, mrNo);
  EXPECT_EQ(transcript[1].result, mrCancel);
  EXPECT_EQ(transcript[2].input, "000123");
  EXPECT_EQ(transcript[3].text, "User Name = admin\rPassword = 8052");
  EXPECT_EQ(Dialogs().Opened(), std::vector<std::string>{"HB_Orvane.html"});
}

TEST_F(FormsTest, MessageBoxesOnScreenBreakLinesAtCrAndReturnTheButton) {
  QtDialogService on_screen;
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(on_screen.MessageDlg("Confirm", "หลังจากปิดโปรแกรมนี้แล้ว\r\rอ่านวิธีสำรองข้อมูลได้ที่ Help", mtConfirmation,
                                 mbYesNoCancel),
            mrNo);
  EXPECT_EQ(shown, QString::fromUtf8("หลังจากปิดโปรแกรมนี้แล้ว\n\nอ่านวิธีสำรองข้อมูลได้ที่ Help"));

  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->reject();
  });
  std::string value = "000001";
  EXPECT_FALSE(on_screen.InputQuery("ค้นหา", "เลขที่", value));
  EXPECT_EQ(value, "000001");
}

TEST_F(FormsTest, ADialogWithoutAQueuedAnswerFailsTheTestNamingIt) {
  EXPECT_NONFATAL_FAILURE(MessageDlg("ไม่พบรายการนี้...", mtInformation, mbOKOnly), "ไม่พบรายการนี้...");
  EXPECT_NONFATAL_FAILURE(InputBox("x", "เลขที่เอกสาร", "1"), "เลขที่เอกสาร");
}

}  // namespace
