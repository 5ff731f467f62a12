#include "tests/platform/ui/support/User.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "platform/ui/ComboBox.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menus.h"
#include "platform/ui/RadioGroup.h"
#include "platform/ui/internal/CalendarPopup.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/MenuImpl.h"
#include "platform/ui/internal/QtSupport.h"
#include "tests/platform/ui/support/Grab.h"

void QuietPlatformWarnings() {
  static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (previous != nullptr) previous(type, context, message);
  });
}

namespace user {
namespace {

QWidget* FocusTarget() {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) ADD_FAILURE() << "No widget has the focus to take the key";
  return focus;
}

void SendKey(Qt::Key key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (QWidget* focus = FocusTarget()) {
    QTest::sendKeyEvent(QTest::Press, focus, key, text, modifiers);
    if (QWidget* again = QApplication::focusWidget())
      QTest::sendKeyEvent(QTest::Release, again, key, text, modifiers);
  }
  ProcessEvents();
}

void CloseMenus() {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

}  // namespace

void ProcessEvents() {
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
}

void Click(const TControl& control) {
  QWidget* widget = control.Native().Widget();
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
  ProcessEvents();
}

void ActivateWindow(const TForm& form) {
  QWidget* window = form.FormNative().Frame()->window();
  window->raise();
  window->activateWindow();
  ProcessEvents();
}

void CloseWindow(const TForm& form) {
  form.FormNative().Window()->close();
  ProcessEvents();
}

void RestoreWindow(const TForm& form) {
  form.FormNative().Frame()->showNormal();
  ProcessEvents();
}

void ClickCloseBox(const TForm& child) {
  QMdiSubWindow* sub_window = child.FormNative().SubWindow();
  ASSERT_NE(sub_window, nullptr) << "the form is no MDI child";
  const QRect box = TitleBarPart(child, QStyle::SC_TitleBarCloseButton);
  ASSERT_FALSE(box.isEmpty()) << "the title bar has no close box";
  // The sub-window presses the box the mouse is over; the move is sent straight
  // to it, as a real pointer may not be where a test wants it.
  QMouseEvent move(QEvent::MouseMove, box.center(), sub_window->mapToGlobal(box.center()), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(sub_window, &move);
  QTest::mouseClick(sub_window, Qt::LeftButton, Qt::NoModifier, box.center());
  ProcessEvents();
}

void ClickItem(const TRadioGroup& group, int index) {
  auto* buttons = static_cast<QGroupBox*>(group.Native().Widget())->findChild<QButtonGroup*>();
  QAbstractButton* button = buttons->button(index);
  ASSERT_NE(button, nullptr) << "no item " << index;
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
  ProcessEvents();
}

void ClickFile(const TFileListBox& list, const std::string& name) {
  auto* view = static_cast<QListWidget*>(list.Native().Widget());
  const auto found = view->findItems(QString::fromStdString(name), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << "the list shows '" << name << "' " << found.size() << " times";
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualItemRect(found[0]).center());
  ProcessEvents();
}

bool SavePhoto(const std::string& jpeg_file) {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::darkGreen);
  return image.save(QString::fromStdString(jpeg_file), "JPG");
}

namespace {

// The middle of a shown cell of the grid in its viewport.
bool CellPoint(const TDBGrid& grid, int row, int column, QTableView*& view, QPoint& at) {
  view = static_cast<QTableView*>(grid.Native().FocusWidget());
  const QRect place = view->visualRect(view->model()->index(row, column));
  if (place.isEmpty()) {
    ADD_FAILURE() << "no cell at row " << row << ", column " << column;
    return false;
  }
  at = place.center();
  return true;
}

}  // namespace

void ClickCell(const TDBGrid& grid, int row, int column) {
  QTableView* view = nullptr;
  QPoint at;
  if (!CellPoint(grid, row, column, view, at)) return;
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  ProcessEvents();
}

void DoubleClickCell(const TDBGrid& grid, int row, int column) {
  QTableView* view = nullptr;
  QPoint at;
  if (!CellPoint(grid, row, column, view, at)) return;
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  ProcessEvents();
}

void ClickButton(const TDBNavigator& navigator, TNavigateBtn button) {
  static const char* const kNames[] = {"First", "Prior", "Next", "Last"};
  auto* widget = navigator.Native().Widget()->findChild<QToolButton*>(QString::fromLatin1(kNames[button]));
  ASSERT_NE(widget, nullptr) << "no navigator button " << kNames[button];
  QTest::mouseClick(widget, Qt::LeftButton);
  ProcessEvents();
}

void Type(const std::string& text) {
  for (char32_t code : ToQString(text).toUcs4()) {
    const QString character = QString::fromUcs4(&code, 1);
    const auto key = static_cast<Qt::Key>(code < 128 ? QChar(code).toUpper().unicode() : code);
    SendKey(key, character);
  }
}

void PressEnter() {
  SendKey(Qt::Key_Return, QStringLiteral("\r"));
}
void PressKeypadEnter() {
  SendKey(Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier);
}
void PressTab() {
  SendKey(Qt::Key_Tab, QStringLiteral("\t"));
}
void PressEscape() {
  SendKey(Qt::Key_Escape, QStringLiteral("\x1b"));
}

void Press(Key key) {
  switch (key) {
    case Key::kUp:
      return SendKey(Qt::Key_Up);
    case Key::kDown:
      return SendKey(Qt::Key_Down);
    case Key::kPageUp:
      return SendKey(Qt::Key_PageUp);
    case Key::kPageDown:
      return SendKey(Qt::Key_PageDown);
    case Key::kHome:
      return SendKey(Qt::Key_Home);
    case Key::kEnd:
      return SendKey(Qt::Key_End);
  }
}

void PressAlt(char letter) {
  if (QWidget* window = QApplication::activeWindow()) {
    QTest::keyClick(window, letter, Qt::AltModifier);
  }
  ProcessEvents();
}

bool ChooseMenu(const TMenuItem& item) {
  std::vector<const TMenuItem*> path;
  for (const TMenuItem* step = &item; step->Parent() != nullptr; step = step->Parent())
    path.insert(path.begin(), step);
  const TMenuItem* root = path.empty() ? nullptr : path.front()->Parent();
  QMenuBar* bar = root != nullptr ? root->Native().MenuBar() : nullptr;
  if (bar == nullptr) {
    ADD_FAILURE() << "The item is on no menu bar";
    return false;
  }
  QWidget* shown_in = bar;
  for (const TMenuItem* step : path) {
    QAction* action = step->Native().Action();
    QRect place =
        shown_in == bar ? bar->actionGeometry(action) : static_cast<QMenu*>(shown_in)->actionGeometry(action);
    if (shown_in == nullptr || !shown_in->isVisible() || !action->isVisible() || !action->isEnabled() ||
        place.isEmpty()) {
      CloseMenus();
      return false;
    }
    auto* menu = qobject_cast<QMenu*>(shown_in);
    if (menu != nullptr && action->menu() != nullptr) {
      // A sub-menu opens by the keyboard at once (the mouse opens it after a delay).
      menu->setActiveAction(action);
      QTest::keyClick(menu, Qt::Key_Right);
    } else {
      QTest::mouseClick(shown_in, Qt::LeftButton, Qt::NoModifier, place.center());
    }
    ProcessEvents();
    shown_in = action->menu();
  }
  CloseMenus();
  return true;
}

void ChooseComboItem(const TComboBox& combo, int index) {
  auto* box = static_cast<QComboBox*>(combo.Native().Widget());
  box->showPopup();
  ProcessEvents();
  QAbstractItemView* view = box->view();
  const QRect place = view->visualRect(view->model()->index(index, 0));
  ASSERT_FALSE(place.isEmpty()) << "no item " << index;
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
  ProcessEvents();
}

void PickDay(const TDateTimePicker& picker, int day) {
  auto* arrow = picker.Native().Widget()->findChild<QToolButton*>();
  QTest::mouseClick(arrow, Qt::LeftButton);
  ProcessEvents();
  ASSERT_TRUE(picker.DroppedDown()) << "the calendar did not open";
  QToolButton* button = picker.Calendar().DayButton(day);
  ASSERT_NE(button, nullptr) << "no day " << day;
  QTest::mouseClick(button, Qt::LeftButton);
  ProcessEvents();
}

bool Grab(const TControl& control, const std::string& png_file) {
  return control.Native().Widget()->grab().save(ToQString(png_file), "PNG");
}

}  // namespace user
