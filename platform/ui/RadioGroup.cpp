#include "platform/ui/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QGroupBox* GroupOf(const TControl& control) {
  return static_cast<QGroupBox*>(control.Native().Widget());
}
QButtonGroup* ButtonsOf(const TControl& control) {
  return GroupOf(control)->findChild<QButtonGroup*>();
}

}  // namespace

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner) {
  auto* group = new QGroupBox;
  group->setFocusPolicy(Qt::NoFocus);
  auto* buttons = new QButtonGroup(group);
  new QGridLayout(group);
  Native().Attach(group);
  Native().SetClickOnMouse(false);
  QObject::connect(buttons, &QButtonGroup::idClicked, &Native(), [this](int id) { ItemChosen(id); });
  SetBounds(0, 0, 185, 105);
}

std::string TRadioGroup::Caption() const {
  return FromQString(GroupOf(*this)->title());
}
void TRadioGroup::SetCaption(const std::string& caption) {
  GroupOf(*this)->setTitle(ToQString(caption));
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  if (item_index_ >= static_cast<int>(items_.size())) item_index_ = -1;
  Rebuild();
  ItemsChanged();
}

void TRadioGroup::AddItem(const std::string& item) {
  items_.push_back(item);
  Rebuild();
  ItemsChanged();
}

void TRadioGroup::SetColumns(int columns) {
  columns_ = std::max(columns, 1);
  Rebuild();
}

void TRadioGroup::Rebuild() {
  QGroupBox* group = GroupOf(*this);
  QButtonGroup* buttons = ButtonsOf(*this);
  for (QAbstractButton* button : buttons->buttons()) delete button;
  auto* grid = static_cast<QGridLayout*>(group->layout());
  const int count = static_cast<int>(items_.size());
  const int rows = (count + columns_ - 1) / columns_;
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(WithLineBreaks(items_[i]), group);
    buttons->addButton(button, i);
    grid->addWidget(button, i % rows, i / rows);
    button->setChecked(i == item_index_);
    Native().Watch(button);
  }
  if (QAbstractButton* focus = buttons->button(std::max(item_index_, 0))) Native().SetFocusWidget(focus);
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == item_index_) return;
  item_index_ = index;
  CheckButton(index);
  Click();
}

void TRadioGroup::CheckButton(int index) {
  QButtonGroup* buttons = ButtonsOf(*this);
  const QSignalBlocker blocker(buttons);
  if (index < 0) {
    buttons->setExclusive(false);
    for (QAbstractButton* button : buttons->buttons()) button->setChecked(false);
    buttons->setExclusive(true);
  } else {
    buttons->button(index)->setChecked(true);
  }
}

void TRadioGroup::ItemChosen(int index) {
  if (index == item_index_) return;
  bool allowed = false;
  Guarded(this, [&] { allowed = CanModify(); });
  if (!allowed) {
    CheckButton(item_index_);
    return;
  }
  item_index_ = index;
  Guarded(this, [this] { Click(); });
}
