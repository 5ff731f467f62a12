#pragma once
// The drop-down calendar of the date picker: one month at a time, its title in
// Thai with the Buddhist-era year, a button per day.
#include <QDate>
#include <QFrame>
#include <array>
#include <functional>

class QLabel;
class QToolButton;

class CalendarPopup : public QFrame {
 public:
  CalendarPopup();

  // Opens below `anchor` on the month of `selected`.
  void Open(QWidget* anchor, QDate selected);
  // The button of a day of the month shown, or null.
  QToolButton* DayButton(int day) const;
  QToolButton* PreviousButton() const { return previous_; }
  QToolButton* NextButton() const { return next_; }

  std::function<void(QDate)> on_chosen;
  std::function<void()> on_closed;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowMonth(QDate first);

  QDate month_;
  QDate selected_;
  QLabel* title_;
  QToolButton* previous_;
  QToolButton* next_;
  std::array<QToolButton*, 42> days_{};
};
