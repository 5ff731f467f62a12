#pragma once
// How data-bound controls and printed fields show and take a field's value:
// as the field's own texts, except that date and date-time fields show and take
// their year in the Buddhist era ("05/03/2567"; a display format applies with
// its year so). The field's AsString and everything the engine stores or parses
// stay Gregorian.
#include <string>

class TField;

// The text a grid cell, a data-bound edit without the focus or a printed field
// shows; `date_format` (a FormatDateTime format) replaces the display format of
// a date or time field when it is not empty. A null field shows "".
std::string FieldDisplayText(const TField& field, const std::string& date_format = {});
// The text a data-bound edit edits.
std::string FieldEditText(const TField& field);
// Stores a text the user typed; "" clears the field. A date or date-time field
// refuses a text that is no day/month/Buddhist-era year (with a time of day for
// a date-time) with EConvertError "'%s' is not a valid date" ("... date and
// time") and keeps its value.
void SetFieldEditText(TField& field, const std::string& text);
