#pragma once
// A date box with a drop-down calendar. It holds a date-time: the calendar and
// typing change the date only, the time of day stays what code set (00:00 unless
// set). The date shows as day/month/Buddhist-era year. OnChange runs when the
// user changes the date, OnCloseUp when the calendar closes; code runs neither.
#include <memory>

#include "platform/rtl/DateTime.h"
#include "platform/ui/Control.h"

class CalendarPopup;

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* owner);
  ~TDateTimePicker() override;

  TDateTime DateTime() const { return value_; }
  void SetDateTime(TDateTime value);
  // The whole day of the value.
  TDateTime Date() const;
  // Keeps the time of day.
  void SetDate(TDateTime date);
  TDateTime Time() const;
  void SetTime(TDateTime time);
  // Opens the calendar as the drop-down button does.
  void DropDown();
  bool DroppedDown() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;

  CalendarPopup& Calendar() const { return *calendar_; }

 protected:
  void ApplyColor(TColor color) override;

 private:
  void ShowValue();
  // Takes a date the user chose and runs OnChange when it differs.
  void UserDate(TDateTime date);
  void TextEdited();

  TDateTime value_ = 0;
  std::unique_ptr<CalendarPopup> calendar_;
};
