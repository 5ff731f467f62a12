#include "platform/ui/DBNavigator.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QWidget>
#include <array>

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"

namespace {

struct ButtonLook {
  const char* name;
  const char* hint;
};
// In the order of TNavigateBtn; tests find the buttons by these names.
constexpr std::array<ButtonLook, 4> kButtons{{
    {"First", "First record"},
    {"Prior", "Prior record"},
    {"Next", "Next record"},
    {"Last", "Last record"},
}};

QToolButton* ButtonOf(const TControl& control, TNavigateBtn button) {
  return control.Native().Widget()->findChild<QToolButton*>(kButtons[button].name);
}

}  // namespace

class TDBNavigator::Link final : public TDataLink {
 public:
  explicit Link(TDBNavigator& navigator) : navigator_(navigator) {}

 protected:
  void ActiveChanged() override { navigator_.UpdateButtons(); }
  void DataSetChanged() override { navigator_.UpdateButtons(); }
  void EditingChanged() override { navigator_.UpdateButtons(); }

 private:
  TDBNavigator& navigator_;
};

TDBNavigator::TDBNavigator(TComponent* owner) : TWinControl(owner), link_(std::make_unique<Link>(*this)) {
  auto* panel = new QWidget;
  panel->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int i = 0; i < static_cast<int>(kButtons.size()); ++i) {
    const auto which = static_cast<TNavigateBtn>(i);
    auto* button = new QToolButton(panel);
    button->setObjectName(QString::fromLatin1(kButtons[i].name));
    button->setToolTip(QString::fromLatin1(kButtons[i].hint));
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    switch (which) {
      case nbFirst:
        button->setIcon(button->style()->standardIcon(QStyle::SP_MediaSkipBackward));
        break;
      case nbPrior:
        button->setArrowType(Qt::LeftArrow);
        break;
      case nbNext:
        button->setArrowType(Qt::RightArrow);
        break;
      case nbLast:
        button->setIcon(button->style()->standardIcon(QStyle::SP_MediaSkipForward));
        break;
    }
    layout->addWidget(button);
    QObject::connect(button, &QToolButton::clicked, &Native(),
                     [this, which] { Guarded(this, [&] { BtnClick(which); }); });
  }
  Native().Attach(panel);
  Native().SetClickOnMouse(false);
  SetBounds(0, 0, 100, 25);
  UpdateButtons();
}

TDBNavigator::~TDBNavigator() = default;

TDataSource* TDBNavigator::DataSource() const {
  return link_->DataSource();
}

void TDBNavigator::SetDataSource(TDataSource* source) {
  link_->SetDataSource(source);
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  visible_buttons_ = buttons;
  for (int i = 0; i < static_cast<int>(kButtons.size()); ++i) {
    const auto which = static_cast<TNavigateBtn>(i);
    ButtonOf(*this, which)->setVisible(buttons.Contains(which));
  }
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
  if (!link_->Active()) return;
  TDataSet* dataset = link_->DataSet();
  switch (button) {
    case nbFirst:
      dataset->First();
      break;
    case nbPrior:
      dataset->Prior();
      break;
    case nbNext:
      dataset->Next();
      break;
    case nbLast:
      dataset->Last();
      break;
  }
}

void TDBNavigator::UpdateButtons() {
  bool backward = false;
  bool forward = false;
  if (link_->Active() && !link_->DataSet()->IsEmpty()) {
    TDataSet* dataset = link_->DataSet();
    // Bof and Eof only hold after a move tried to pass an end; the record
    // number tells a dataset that numbers its records where it stands.
    const int number = dataset->RecNo();
    backward = !dataset->Bof() && number != 1;
    forward = !dataset->Eof() && !(number > 0 && number == dataset->RecordCount());
  }
  ButtonOf(*this, nbFirst)->setEnabled(backward);
  ButtonOf(*this, nbPrior)->setEnabled(backward);
  ButtonOf(*this, nbNext)->setEnabled(forward);
  ButtonOf(*this, nbLast)->setEnabled(forward);
}
