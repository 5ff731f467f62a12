// The MDI frame and its children: what a child shows, activation, the
// newest-instance look-up and closing.
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormsApplication.h"
#include "platform/ui/Label.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/QtDialogService.h"
#include "tests/platform/ui/support/Grab.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"
#include "tests/support/ScratchFolder.h"

namespace {

class TFrame : public TForm {
 public:
  explicit TFrame(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIForm);
    SetBounds(0, 0, 800, 600);
  }
};

class TPicker : public TForm {
 public:
  explicit TPicker(TComponent* owner) : TForm(owner) {}
};

// A register window whose delete button asks first and whose search button
// opens a modal picker that closes itself once it runs; it sits at `top` on the
// left of the frame.
class TRegister : public TForm {
 public:
  explicit TRegister(TComponent* owner, int top = 10)
      : TForm(owner), SpeedButton4(new TSpeedButton(this)), SpeedButton5(new TSpeedButton(this)) {
    SetFormStyle(fsMDIChild);
    SpeedButton4->SetBounds(0, 0, 40, 24);
    SpeedButton5->SetBounds(50, 0, 40, 24);
    SpeedButton4->OnClick = Bind(this, &TRegister::SpeedButton4Click);
    SpeedButton5->OnClick = Bind(this, &TRegister::SpeedButton5Click);
    SetBounds(10, top, 300, 200);
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu, biMinimize});
    OnActivate = Bind(this, &TRegister::FormActivate);
    OnClose = Bind(this, &TRegister::FormClose);
  }
  void FormActivate(TObject*) { ++activations; }
  void FormClose(TObject*, TCloseAction& action) { action = caFree; }
  void SpeedButton4Click(TObject*) { answer = MessageDlg("ต้องการลบข้อมูลนี้ ?", mtConfirmation, mbYesNo); }
  void SpeedButton5Click(TObject*) {
    auto* picker = FormsApplication().CreateForm<TPicker>();
    QTimer::singleShot(0, [picker] { picker->SetModalResult(mrOk); });
    answer = picker->ShowModal();
  }

  TSpeedButton* SpeedButton4;
  TSpeedButton* SpeedButton5;
  int activations = 0;
  TModalResult answer = mrNone;
};

// An entry window with a caption, two edit boxes and a grid over two donors, at
// `top` on the right of the frame; it logs the OnEnter and OnExit of its boxes
// and grid where the log outlives it.
class TEntry : public TForm {
 public:
  explicit TEntry(TComponent* owner, int top = 10)
      : TForm(owner),
        Label1(new TLabel(this)),
        Edit1(new TEdit(this)),
        Edit2(new TEdit(this)),
        DBGrid1(new TDBGrid(this)) {
    SetFormStyle(fsMDIChild);
    SetBounds(320, top, 420, 260);
    SetColor(clWhite);
    Label1->SetBounds(10, 10, 0, 0);
    Label1->SetCaption("ชื่อผู้บริจาค");
    Edit1->SetBounds(10, 40, 200, 24);
    Edit1->SetText("สมชาย ใจบุญ");
    Edit2->SetBounds(220, 40, 100, 24);
    donors_.Open();
    for (const char* name : {"นายสมชาย", "นางสมศรี"}) {
      donors_.Append();
      donors_.FieldByName("NAME")->SetAsString(name);
      donors_.Post();
    }
    source_.SetDataSet(&donors_);
    DBGrid1->SetBounds(10, 80, 380, 150);
    DBGrid1->SetDataSource(&source_);
    for (auto [control, name] : {std::pair<TWinControl*, std::string>{Edit1, "Edit1"}, {Edit2, "Edit2"}, {DBGrid1, "DBGrid1"}}) {
      control->OnEnter = [log = focus_log, name](TObject*) { log->push_back("enter " + name); };
      control->OnExit = [log = focus_log, name](TObject*) { log->push_back("exit " + name); };
    }
    OnActivate = [this](TObject*) { ++activations; };
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  }

  TLabel* Label1;
  TEdit* Edit1;
  TEdit* Edit2;
  TDBGrid* DBGrid1;
  int activations = 0;
  std::shared_ptr<std::vector<std::string>> focus_log = std::make_shared<std::vector<std::string>>();

 private:
  TArrayDataSet donors_{this, {{"NAME", ftString, 30}}};
  TDataSource source_{this};
};

class MdiTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    frame_ = FormsApplication().CreateForm<TFrame>();
    frame_->Show();
    first_ = FormsApplication().CreateForm<TRegister>();
    user::ProcessEvents();
    second_ = FormsApplication().CreateForm<TRegister>(220);
    user::ProcessEvents();
  }

  // Clicks a child's window, as a user switching to it does.
  void SwitchTo(TRegister* child) {
    user::Click(*child);
    ASSERT_EQ(frame_->ActiveMDIChild(), child);
  }

  TFrame* frame_ = nullptr;
  TRegister* first_ = nullptr;
  TRegister* second_ = nullptr;
};

TEST_F(MdiTest, AChildShowsItsControlsAndItsCloseBoxFreesIt) {
  auto* entry = FormsApplication().CreateForm<TEntry>();
  user::ProcessEvents();
  ASSERT_EQ(frame_->ActiveMDIChild(), entry);
  const QImage grab = frame_->FormNative().Window()->grab().toImage();
  const std::string artefact = "mdi_child_" + QGuiApplication::platformName().toStdString() + ".png";
  EXPECT_TRUE(grab.save(QString::fromStdString(artefact), "PNG"));
  // Where the child's client area is on the frame, below its title bar.
  const QWidget* sub_window = entry->FormNative().SubWindow();
  const QPoint client = sub_window->mapTo(frame_->FormNative().Window(), sub_window->contentsRect().topLeft());
  for (const TControl* control : std::initializer_list<const TControl*>{entry->Label1, entry->Edit1, entry->DBGrid1}) {
    EXPECT_TRUE(control->Native().Widget()->isVisible()) << control->ClassName();
    // Inside the borders, where an empty window shows its background only.
    const QRect area = QRect(client + QPoint(control->Left(), control->Top()), QSize(control->Width(), control->Height()))
                           .adjusted(3, 3, -3, -3);
    EXPECT_GT(InkedPixels(grab, area), 30) << control->ClassName();
  }

  user::ClickCloseBox(*entry);
  EXPECT_EQ(FormsApplication().Newest<TEntry>(), nullptr);
  EXPECT_EQ(frame_->MDIChildCount(), 2);
  EXPECT_EQ(frame_->ActiveMDIChild(), second_);
  EXPECT_EQ(second_->activations, 2);
}

TEST_F(MdiTest, AClosingChildRunsNoHandlersOfItsControls) {
  auto* entry = FormsApplication().CreateForm<TEntry>();
  user::Click(*entry->Edit1);
  ASSERT_TRUE(entry->Edit1->Focused());
  const std::shared_ptr<std::vector<std::string>> log = entry->focus_log;
  log->clear();
  user::ClickCloseBox(*entry);
  ASSERT_EQ(FormsApplication().Newest<TEntry>(), nullptr);
  EXPECT_EQ(*log, std::vector<std::string>{});
}

TEST_F(MdiTest, SwitchingBetweenWindowsMovesNoFocusInsideThem) {
  auto* entry = FormsApplication().CreateForm<TEntry>();
  auto* other = FormsApplication().CreateForm<TEntry>(280);
  user::Click(*other->Edit1);
  user::Click(*entry->Edit1);
  entry->focus_log->clear();
  other->focus_log->clear();
  // Each window keeps its focused control while the user goes from one to the other.
  for (TEntry* child : {other, entry, other, entry}) {
    user::Click(*child->Edit1);
    ASSERT_EQ(frame_->ActiveMDIChild(), child);
  }
  SwitchTo(first_);
  user::Click(*entry->Label1);
  ASSERT_TRUE(entry->Edit1->Focused());
  EXPECT_EQ(*entry->focus_log, std::vector<std::string>{});
  EXPECT_EQ(*other->focus_log, std::vector<std::string>{});
  user::ClickCell(*entry->DBGrid1, 0, 0);
  EXPECT_EQ(*entry->focus_log, (std::vector<std::string>{"exit Edit1", "enter DBGrid1"}));
}

TEST_F(MdiTest, AChildWithoutBoundsTakesTheFormsDefaultSize) {
  class TPlain : public TForm {
   public:
    explicit TPlain(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
  };
  auto* plain = FormsApplication().CreateForm<TPlain>();
  user::ProcessEvents();
  EXPECT_EQ(plain->FormNative().SubWindow()->size(), QSize(400, 300));
  EXPECT_GT(plain->ClientHeight(), 250);
  EXPECT_GT(plain->ClientWidth(), 380);
}

// The pixels of the icon that are not transparent.
int IconInk(const QIcon& icon) {
  const QImage image = icon.pixmap(16, 16).toImage();
  int inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
  }
  return inked;
}

TEST_F(MdiTest, TitleBarsShowTheProgramsIconOrNone) {
  const QWidget* frame_window = frame_->FormNative().Window();
  auto child_icon = [this] {
    const QImage title = second_->FormNative().SubWindow()->grab().toImage();
    const QRect icon = TitleBarPart(*second_, QStyle::SC_TitleBarSysMenu);
    EXPECT_FALSE(icon.isEmpty());
    return title.copy(icon);
  };
  EXPECT_EQ(InkedPixels(child_icon(), child_icon().rect()), 0);
  EXPECT_EQ(IconInk(frame_window->windowIcon()), 0);

  ScratchFolder folder;
  QImage red(16, 16, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(folder.File("temple.png"))));
  TPicture icon;
  icon.LoadFromFile(folder.File("temple.png"));
  FormsApplication().SetIcon(icon);
  auto* later = FormsApplication().CreateForm<TRegister>(430);
  user::ProcessEvents();
  for (const QImage& shown : {child_icon(), later->FormNative().SubWindow()->grab().toImage().copy(
                                                 TitleBarPart(*later, QStyle::SC_TitleBarSysMenu))}) {
    EXPECT_EQ(shown.pixelColor(shown.rect().center()), QColor(Qt::red));
  }
  EXPECT_GT(IconInk(frame_window->windowIcon()), 0);
  FormsApplication().SetIcon(TPicture());
}

TEST_F(MdiTest, ChildrenAreShownAndActivatedOnceOnFirstShow) {
  EXPECT_TRUE(first_->Showing());
  EXPECT_TRUE(second_->FormNative().SubWindow()->isVisible());
  EXPECT_EQ(first_->activations, 1);
  EXPECT_EQ(second_->activations, 1);
  EXPECT_EQ(frame_->ActiveMDIChild(), second_);
  EXPECT_EQ(frame_->MDIChildCount(), 2);
  const QWidget* sub_window = first_->FormNative().SubWindow();
  EXPECT_EQ(sub_window->minimumSize(), sub_window->maximumSize());
  EXPECT_TRUE(sub_window->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(sub_window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(first_->Left(), 10);
}

TEST_F(MdiTest, NewestInstanceIsTheLastLiveOne) {
  EXPECT_EQ(FormsApplication().Newest<TRegister>(), second_);
  EXPECT_EQ(FormsApplication().Newest<TFrame>(), frame_);
  EXPECT_EQ(FormsApplication().Newest<TPicker>(), nullptr);
  second_->Close();
  // Doomed but not yet freed: the look-up no longer gives it.
  EXPECT_EQ(FormsApplication().Newest<TRegister>(), first_);
  user::ProcessEvents();
  EXPECT_EQ(FormsApplication().Newest<TRegister>(), first_);
  EXPECT_EQ(frame_->MDIChildCount(), 1);
}

TEST_F(MdiTest, SwitchingBetweenChildrenActivatesEachOnce) {
  SwitchTo(first_);
  EXPECT_EQ(first_->activations, 2);
  EXPECT_EQ(second_->activations, 1);
  SwitchTo(second_);
  EXPECT_EQ(first_->activations, 2);
  EXPECT_EQ(second_->activations, 2);
  // Clicking the child that is already active is no switch.
  SwitchTo(second_);
  EXPECT_EQ(second_->activations, 2);
}

TEST_F(MdiTest, DialogsAndModalFormsDoNotActivateAgain) {
  Dialogs().Answer(mrYes);
  user::Click(*second_->SpeedButton4);
  EXPECT_EQ(second_->answer, mrYes);

  // A real message box, closed with Yes as soon as it runs its loop.
  QtDialogService on_screen;
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(on_screen.MessageDlg("Confirm", "ต้องการลบข้อมูลนี้ ?", mtConfirmation, mbYesNo), mrYes);
  user::ActivateWindow(*frame_);

  second_->answer = mrNone;
  user::Click(*second_->SpeedButton5);
  EXPECT_EQ(second_->answer, mrOk);
  user::ActivateWindow(*frame_);

  EXPECT_EQ(second_->activations, 1);
  EXPECT_EQ(first_->activations, 1);
  EXPECT_EQ(frame_->ActiveMDIChild(), second_);
}

TEST_F(MdiTest, TheFrameLosingAndRegainingTheFocusActivatesNothing) {
  auto* other = FormsApplication().CreateForm<TPicker>();
  other->Show();
  user::ProcessEvents();
  ASSERT_EQ(QApplication::activeWindow(), other->FormNative().Window());
  user::ActivateWindow(*frame_);
  // The area's own report of such a round trip: no active child, then the same again.
  QMdiArea* area = frame_->FormNative().MdiArea();
  QMdiSubWindow* active = area->activeSubWindow();
  area->setActiveSubWindow(nullptr);
  area->setActiveSubWindow(active);
  user::ProcessEvents();
  EXPECT_EQ(second_->activations, 1);
  EXPECT_EQ(first_->activations, 1);
}

TEST_F(MdiTest, ClosingTheActiveChildActivatesTheOther) {
  second_->Close();
  EXPECT_EQ(first_->activations, 2);
  EXPECT_EQ(frame_->ActiveMDIChild(), first_);
  user::ProcessEvents();
  EXPECT_EQ(first_->activations, 2);
}

TEST_F(MdiTest, ClosingTheFrameFreesEveryChild) {
  frame_->Close();
  EXPECT_TRUE(FormsApplication().Terminated());
  user::ProcessEvents();
  EXPECT_EQ(FormsApplication().Newest<TRegister>(), nullptr);
  EXPECT_EQ(frame_->MDIChildCount(), 0);
}

using MdiFrameTest = UiTest;

TEST_F(MdiFrameTest, AChildNeedsAnMdiFrame) {
  FormsApplication().CreateForm<TPicker>()->Show();
  EXPECT_THROW(FormsApplication().CreateForm<TRegister>(), EInvalidOperation);
  EXPECT_EQ(FormsApplication().Newest<TRegister>(), nullptr);
}

}  // namespace
