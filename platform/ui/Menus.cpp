#include "platform/ui/Menus.h"

#include <algorithm>

#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/MenuImpl.h"
#include "platform/ui/internal/PictureImpl.h"
#include "platform/ui/internal/QtSupport.h"

TMenuItemImpl::TMenuItemImpl(TMenuItem& item) : item_(item), action_(new QAction) {
  connect(action_, &QAction::triggered, this, [this] { Guarded(&item_, [this] { item_.Click(); }); });
}

TMenuItemImpl::~TMenuItemImpl() {
  delete action_;
  delete sub_menu_.data();
  delete menu_bar_.data();
}

QMenu* TMenuItemImpl::SubMenu() {
  if (menu_bar_) return nullptr;
  if (!sub_menu_) {
    sub_menu_ = new QMenu;
    sub_menu_->setTitle(action_->text());
    action_->setMenu(sub_menu_.data());
  }
  return sub_menu_;
}

void TMenuItemImpl::MakeMenuBar() {
  menu_bar_ = new QMenuBar;
}

QWidget* TMenuItemImpl::ItemContainer() {
  if (menu_bar_) return menu_bar_;
  return SubMenu();
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), impl_(std::make_unique<TMenuItemImpl>(*this)) {}

TMenuItem::~TMenuItem() {
  Destroying();
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  if (parent_ != nullptr) std::erase(parent_->items_, this);
}

void TMenuItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  impl_->Action()->setSeparator(IsLine());
  impl_->Action()->setText(ToQString(caption));
  if (QMenu* menu = impl_->ExistingSubMenu()) menu->setTitle(ToQString(caption));
}

void TMenuItem::SetVisible(bool visible) {
  visible_ = visible;
  impl_->Action()->setVisible(visible);
}

void TMenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  impl_->Action()->setEnabled(enabled);
}

void TMenuItem::SetHint(const std::string& hint) {
  hint_ = hint;
  impl_->Action()->setStatusTip(ToQString(hint));
  impl_->Action()->setToolTip(ToQString(hint));
}

void TMenuItem::SetBitmap(const TPicture& picture) {
  impl_->Action()->setIcon(QIcon(QPixmap::fromImage(picture.Native().image)));
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  item->parent_ = this;
  items_.push_back(item);
  impl_->ItemContainer()->addAction(item->impl_->Action());
}

void TMenuItem::Remove(TMenuItem* item) {
  if (item->parent_ != this) return;
  std::erase(items_, item);
  item->parent_ = nullptr;
  impl_->ItemContainer()->removeAction(item->impl_->Action());
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->Native().MakeMenuBar();
}

TMainMenu::~TMainMenu() {
  Destroying();
}
