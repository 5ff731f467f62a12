#pragma once
// The Qt side of menu items: each item is an action; an item with items under it
// carries a sub-menu; the root item of a main menu stands for the menu bar.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPointer>

#include "platform/ui/Menus.h"

class TMenuItemImpl : public QObject {
 public:
  explicit TMenuItemImpl(TMenuItem& item);
  ~TMenuItemImpl() override;

  QAction* Action() const { return action_; }
  // The sub-menu, made on first use; null for the root of a main menu.
  QMenu* SubMenu();
  QMenu* ExistingSubMenu() const { return sub_menu_; }
  QMenuBar* MenuBar() const { return menu_bar_; }
  void MakeMenuBar();
  // Where the items under this one are shown: the menu bar or the sub-menu.
  QWidget* ItemContainer();

 private:
  TMenuItem& item_;
  QAction* action_;
  QPointer<QMenu> sub_menu_;
  QPointer<QMenuBar> menu_bar_;
};

inline QMenuBar* MenuBarOf(const TMainMenu& menu) {
  return menu.Items()->Native().MenuBar();
}
