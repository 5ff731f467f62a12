#include "platform/ui/DateTimePicker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>

#include "platform/ui/ThaiDate.h"
#include "platform/ui/internal/CalendarPopup.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QLineEdit* EditOf(const TControl& control) {
  return static_cast<QLineEdit*>(control.Native().FocusWidget());
}

QDate ToQDate(TDateTime value) {
  int year = 0;
  int month = 0;
  int day = 0;
  DecodeDate(value, year, month, day);
  return QDate(year, month, day);
}

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner)
    : TWinControl(owner), value_(::Date()), calendar_(std::make_unique<CalendarPopup>()) {
  auto* frame = new QFrame;
  auto* edit = new QLineEdit(frame);
  auto* button = new QToolButton(frame);
  button->setArrowType(Qt::DownArrow);
  button->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QHBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit, 1);
  layout->addWidget(button);
  Native().Attach(frame);
  Native().SetFocusWidget(edit);
  QObject::connect(button, &QToolButton::clicked, &Native(),
                   [this] { Guarded(this, [this] { DropDown(); }); });
  QObject::connect(edit, &QLineEdit::editingFinished, &Native(),
                   [this] { Guarded(this, [this] { TextEdited(); }); });
  calendar_->on_chosen = [this](QDate chosen) {
    Guarded(this, [this, chosen] { UserDate(EncodeDate(chosen.year(), chosen.month(), chosen.day())); });
  };
  calendar_->on_closed = [this] {
    Guarded(this, [this] {
      if (OnCloseUp) OnCloseUp(this);
    });
  };
  SetColor(clWindow);
  SetBounds(0, 0, 186, 21);
  ShowValue();
}

TDateTimePicker::~TDateTimePicker() {
  calendar_->on_chosen = nullptr;
  calendar_->on_closed = nullptr;
}

void TDateTimePicker::SetDateTime(TDateTime value) {
  value_ = value;
  ShowValue();
}

TDateTime TDateTimePicker::Date() const {
  return std::trunc(value_);
}

void TDateTimePicker::SetDate(TDateTime date) {
  SetDateTime(ComposeDateTime(std::trunc(date), Time()));
}

TDateTime TDateTimePicker::Time() const {
  return std::fabs(value_ - std::trunc(value_));
}

void TDateTimePicker::SetTime(TDateTime time) {
  SetDateTime(ComposeDateTime(Date(), time));
}

void TDateTimePicker::DropDown() {
  calendar_->Open(Native().Widget(), ToQDate(value_));
}

bool TDateTimePicker::DroppedDown() const {
  return calendar_->isVisible();
}

void TDateTimePicker::ShowValue() {
  EditOf(*this)->setText(ToQString(BuddhistDateText(value_)));
}

void TDateTimePicker::UserDate(TDateTime date) {
  const TDateTime value = ComposeDateTime(date, Time());
  if (value == value_) {
    ShowValue();
    return;
  }
  value_ = value;
  ShowValue();
  if (OnChange) OnChange(this);
}

void TDateTimePicker::TextEdited() {
  TDateTime date = 0;
  if (TryParseBuddhistDate(FromQString(EditOf(*this)->text()), date)) {
    UserDate(date);
  } else {
    ShowValue();
  }
}

void TDateTimePicker::ApplyColor(TColor color) {
  QLineEdit* edit = EditOf(*this);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  edit->setPalette(palette);
}
