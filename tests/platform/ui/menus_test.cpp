// Menus chosen through the menu bar as a user does, and the items a user
// cannot reach.
#include "platform/ui/Menus.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <string>
#include <vector>

#include "platform/ui/Form.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/MenuImpl.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

class TMainWindow : public TForm {
 public:
  explicit TMainWindow(TComponent* owner) : TForm(owner), MainMenu1(new TMainMenu(this)) {
    SetBounds(0, 0, 640, 480);
    Serv = Item(MainMenu1->Items(), "");
    m_main = Item(MainMenu1->Items(), "รายการ");
    mm_cash = Item(m_main, "เปิดลิ้นชักเก็บเงิน");
    N20 = Item(m_main, "***สั่งจองวัตถุมงคล");
    N28 = Item(m_main, "-");
    mm_exit = Item(m_main, "เ&ลิกการทำงาน ( EXIT )");
    m_ref = Item(MainMenu1->Items(), "&Ref");
    N26 = Item(m_ref, "ตารางคำนำหน้า");
    m_report = Item(MainMenu1->Items(), "รายงาน");
    N1 = Item(Item(m_report, "บริจาค"), "ค้นหารายชื่อผู้บริจาค");
    SetMenu(MainMenu1);
  }

  TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->OnClick = [this, caption](TObject*) { chosen.push_back(caption); };
    parent->Add(item);
    return item;
  }

  TMainMenu* MainMenu1;
  TMenuItem *Serv, *m_main, *mm_cash, *N20, *N28, *mm_exit, *m_ref, *N26, *m_report, *N1;
  std::vector<std::string> chosen;
};

class MenusTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = FormsApplication().CreateForm<TMainWindow>();
    form_->Show();
    user::ProcessEvents();
  }
  TMainWindow* form_ = nullptr;
};

TEST_F(MenusTest, ItemsAreChosenThroughTheMenuBar) {
  ASSERT_TRUE(user::ChooseMenu(*form_->mm_exit));
  ASSERT_TRUE(user::ChooseMenu(*form_->N1));
  EXPECT_EQ(form_->chosen, (std::vector<std::string>{"เ&ลิกการทำงาน ( EXIT )", "ค้นหารายชื่อผู้บริจาค"}));
}

TEST_F(MenusTest, APictureOnlyItemIsChosenFromTheBar) {
  TPicture picture;
  form_->Serv->SetBitmap(picture);
  ASSERT_TRUE(user::ChooseMenu(*form_->Serv));
  EXPECT_EQ(form_->chosen, std::vector<std::string>{""});
}

TEST_F(MenusTest, HiddenAndDisabledItemsCannotBeReached) {
  form_->mm_cash->SetEnabled(false);
  form_->N20->SetVisible(false);
  form_->m_ref->SetEnabled(false);
  EXPECT_FALSE(user::ChooseMenu(*form_->mm_cash));
  EXPECT_FALSE(user::ChooseMenu(*form_->N20));
  // The item itself is enabled; the disabled menu above it closes the way.
  EXPECT_FALSE(user::ChooseMenu(*form_->N26));
  user::PressAlt('r');
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_TRUE(form_->chosen.empty());
  form_->m_ref->SetEnabled(true);
  user::PressAlt('r');
  EXPECT_NE(QApplication::activePopupWidget(), nullptr);
  user::PressEscape();
  EXPECT_TRUE(user::ChooseMenu(*form_->N26));
  EXPECT_EQ(form_->chosen, std::vector<std::string>{"ตารางคำนำหน้า"});
}

TEST_F(MenusTest, ItemsKnowTheirPlace) {
  EXPECT_TRUE(form_->N28->IsLine());
  EXPECT_EQ(form_->m_main->Count(), 4);
  EXPECT_EQ(form_->m_main->Items(3), form_->mm_exit);
  EXPECT_EQ(form_->mm_exit->Parent(), form_->m_main);
  delete form_->N20;
  EXPECT_EQ(form_->m_main->Count(), 3);
  form_->m_report->Add(form_->mm_exit);
  EXPECT_EQ(form_->m_main->Count(), 2);
  EXPECT_EQ(form_->mm_exit->Parent(), form_->m_report);
}

TEST_F(MenusTest, AColouredFramePaintsItsClientAreaButNotTheMenuBar) {
  const TColor teal = RGBColor(0, 64, 64);
  form_->SetFormStyle(fsMDIForm);
  form_->SetColor(teal);
  user::ProcessEvents();
  QWidget* window = form_->FormNative().Window();
  const QImage grab = window->grab().toImage();
  const QMenuBar* bar = MenuBarOf(*form_->MainMenu1);
  // The bar's right end holds no item; the middle of the window is the MDI area.
  const QColor bar_background = grab.pixelColor(window->width() - 4, bar->height() / 2);
  const QColor client = grab.pixelColor(window->width() / 2, window->height() / 2);
  EXPECT_EQ(client, QColor(0, 64, 64));
  EXPECT_NE(bar_background, client);
  EXPECT_EQ(bar_background, QApplication::palette().color(QPalette::Window));
}

}  // namespace
