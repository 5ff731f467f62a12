#include "platform/ui/PageControl.h"

#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QTabBar* TabBarOf(const TControl& control) {
  return control.Native().Widget()->findChild<QTabBar*>();
}
QStackedWidget* StackOf(const TControl& control) {
  return static_cast<QStackedWidget*>(control.Native().Container());
}

}  // namespace

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  auto* page = new QWidget;
  page->setFocusPolicy(Qt::NoFocus);
  // A sheet is placed by its page control, never on its owner.
  Native().Attach(page);
  SetParent(nullptr);
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (page_control_ != nullptr) page_control_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* page_control) {
  if (page_control == page_control_) return;
  if (page_control_ != nullptr) page_control_->RemovePage(this);
  page_control_ = page_control;
  SetParent(page_control);
  if (page_control != nullptr) page_control->InsertPage(this);
}

void TTabSheet::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (page_control_ != nullptr) page_control_->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool visible) {
  tab_visible_ = visible;
  if (page_control_ != nullptr) page_control_->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (page_control_ == nullptr) return -1;
  const auto& pages = page_control_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  auto* frame = new QWidget;
  frame->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QTabBar(frame);
  bar->setDrawBase(true);
  auto* stack = new QStackedWidget(frame);
  stack->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(bar);
  layout->addWidget(stack, 1);
  Native().Attach(frame, stack);
  QObject::connect(bar, &QTabBar::currentChanged, &Native(), [this](int tab) { TabChosen(tab); });
  SetBounds(0, 0, 289, 193);
  UpdateTabs();
}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* page : pages_) page->page_control_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  StackOf(*this)->addWidget(page->Native().Widget());
  if (active_ == nullptr) {
    SetActivePage(page);
  } else {
    StackOf(*this)->setCurrentWidget(active_->Native().Widget());
  }
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  std::erase(pages_, page);
  if (QWidget* widget = page->Native().Widget()) StackOf(*this)->removeWidget(widget);
  if (active_ == page) active_ = pages_.empty() ? nullptr : pages_.front();
  if (!ComponentState().Contains(csDestroying)) UpdateTabs();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && page->page_control_ != this) return;
  active_ = page;
  if (page != nullptr) StackOf(*this)->setCurrentWidget(page->Native().Widget());
  UpdateTabs();
}

int TPageControl::ActivePageIndex() const {
  return active_ == nullptr ? -1 : active_->PageIndex();
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

void TPageControl::UpdateTabs() {
  QTabBar* bar = TabBarOf(*this);
  const QSignalBlocker blocker(bar);
  while (bar->count() > 0) bar->removeTab(0);
  tabs_.clear();
  for (TTabSheet* page : pages_) {
    if (!page->tab_visible_) continue;
    tabs_.push_back(page);
    bar->addTab(ToQString(page->caption_));
  }
  const auto current = std::find(tabs_.begin(), tabs_.end(), active_);
  bar->setCurrentIndex(current == tabs_.end() ? -1 : static_cast<int>(current - tabs_.begin()));
  bar->setVisible(!tabs_.empty());
}

void TPageControl::TabChosen(int tab) {
  if (tab < 0 || tab >= static_cast<int>(tabs_.size()) || tabs_[tab] == active_) return;
  active_ = tabs_[tab];
  StackOf(*this)->setCurrentWidget(active_->Native().Widget());
  Guarded(this, [this] {
    if (OnChange) OnChange(this);
  });
}
