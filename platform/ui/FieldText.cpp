#include "platform/ui/FieldText.h"

#include "platform/db/DateTimeFields.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/ui/ThaiDate.h"

namespace {

const TDateTimeField* DatedField(const TField& field) {
  return dynamic_cast<const TDateTimeField*>(&field);
}

}  // namespace

std::string FieldDisplayText(const TField& field, const std::string& date_format) {
  const TDateTimeField* dated = DatedField(field);
  if (dated == nullptr) return field.DisplayText();
  if (field.IsNull()) return {};
  const std::string format = date_format.empty() ? dated->TextFormat(true) : date_format;
  return BuddhistDateTimeText(format, dated->AsDateTime());
}

std::string FieldEditText(const TField& field) {
  const TDateTimeField* dated = DatedField(field);
  if (dated == nullptr) return field.Text();
  if (field.IsNull()) return {};
  return BuddhistDateTimeText(dated->TextFormat(false), dated->AsDateTime());
}

void SetFieldEditText(TField& field, const std::string& text) {
  // Times of day hold no year: they take their text as it is.
  if (DatedField(field) == nullptr || field.DataType() == ftTime || text.empty()) return field.SetText(text);
  const bool date_only = field.DataType() == ftDate;
  TDateTime value = 0;
  if (!(date_only ? TryParseBuddhistDate(text, value) : TryParseBuddhistDateTime(text, value))) {
    throw EConvertError(Format(date_only ? "'%s' is not a valid date" : "'%s' is not a valid date and time", text));
  }
  field.SetAsDateTime(value);
}
