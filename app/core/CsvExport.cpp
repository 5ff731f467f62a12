#include "app/core/CsvExport.h"

#include "app/core/WorkingFolder.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr char kQuote = '\'';
constexpr char kSeparator = ',';
constexpr std::string_view kLineBreak = "\r\n";

void AppendQuoted(std::string& text, std::string_view value) {
  text += kQuote;
  for (const char c : value) {
    if (c == kQuote) text += kQuote;
    text += c;
  }
  text += kQuote;
}

// One line: the value of every field, quoted, separated by commas.
template <typename ValueOf>
void AppendLine(std::string& text, TDataSet& dataset, ValueOf value_of) {
  for (int i = 0; i < dataset.FieldCount(); ++i) {
    if (i > 0) text += kSeparator;
    AppendQuoted(text, value_of(*dataset.Fields()[i]));
  }
  text += kLineBreak;
}

}  // namespace

bool ExportQueryToCsv(const std::string& file_name, TDataSet& dataset) {
  dataset.First();
  if (dataset.Eof()) {
    ShowMessage(std::string(kCsvNoRowsMessage));
    return false;
  }
  std::string text;
  AppendLine(text, dataset, [](const TField& field) { return field.FieldName(); });
  for (; !dataset.Eof(); dataset.Next())
    AppendLine(text, dataset, [](const TField& field) { return field.AsString(); });
  try {
    WriteWholeFile(WorkingPath(file_name), Utf8ToCp874(text));
  } catch (const Exception&) {
    ShowMessage(std::string(kCsvFailedMessage));
    return false;
  }
  ShowMessage(std::string(kCsvSavedMessagePrefix) + file_name + std::string(kCsvSavedMessageSuffix));
  return true;
}
