#include "platform/ui/internal/CalendarPopup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/ui/ThaiDate.h"
#include "platform/ui/internal/QtSupport.h"

CalendarPopup::CalendarPopup()
    : QFrame(nullptr, Qt::Popup), title_(new QLabel), previous_(new QToolButton), next_(new QToolButton) {
  setFrameShape(QFrame::Box);
  auto* layout = new QVBoxLayout(this);
  auto* header = new QHBoxLayout;
  previous_->setText(QStringLiteral("<"));
  next_->setText(QStringLiteral(">"));
  title_->setAlignment(Qt::AlignCenter);
  header->addWidget(previous_);
  header->addWidget(title_, 1);
  header->addWidget(next_);
  layout->addLayout(header);
  auto* grid = new QGridLayout;
  static const std::array<const char*, 7> kWeekDays{"อา", "จ", "อ", "พ", "พฤ", "ศ", "ส"};
  for (int column = 0; column < 7; ++column) {
    auto* name = new QLabel(QString::fromUtf8(kWeekDays[column]));
    name->setAlignment(Qt::AlignCenter);
    grid->addWidget(name, 0, column);
  }
  for (int i = 0; i < 42; ++i) {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setCheckable(true);
    connect(button, &QToolButton::clicked, this, [this, i] {
      const QDate chosen = month_.addDays(i - month_.dayOfWeek() % 7);
      selected_ = chosen;
      if (on_chosen) on_chosen(chosen);
      hide();
    });
    days_[i] = button;
    grid->addWidget(button, 1 + i / 7, i % 7);
  }
  layout->addLayout(grid);
  connect(previous_, &QToolButton::clicked, this, [this] { ShowMonth(month_.addMonths(-1)); });
  connect(next_, &QToolButton::clicked, this, [this] { ShowMonth(month_.addMonths(1)); });
}

void CalendarPopup::Open(QWidget* anchor, QDate selected) {
  selected_ = selected;
  ShowMonth(QDate(selected.year(), selected.month(), 1));
  adjustSize();
  move(anchor->mapToGlobal(QPoint(0, anchor->height())));
  show();
}

void CalendarPopup::ShowMonth(QDate first) {
  month_ = first;
  title_->setText(ToQString(ThaiMonthName(first.month())) + QLatin1Char(' ') +
                  QString::number(first.year() + kBuddhistEraOffset));
  // Sunday starts the week; dayOfWeek() is 7 for Sunday.
  const int offset = first.dayOfWeek() % 7;
  for (int i = 0; i < 42; ++i) {
    const QDate day = first.addDays(i - offset);
    QToolButton* button = days_[i];
    const bool in_month = day.month() == first.month();
    button->setVisible(in_month);
    button->setText(QString::number(day.day()));
    button->setChecked(day == selected_);
  }
}

QToolButton* CalendarPopup::DayButton(int day) const {
  const int index = month_.dayOfWeek() % 7 + day - 1;
  if (day < 1 || day > month_.daysInMonth()) return nullptr;
  return days_[index];
}

void CalendarPopup::hideEvent(QHideEvent* event) {
  QFrame::hideEvent(event);
  if (on_closed) on_closed();
}
