#pragma once
// The export of a query's rows to a CSV file that a spreadsheet opens: code
// page 874, CR LF line ends, every value between single quotes (a quote inside
// doubled), the field names on the first line.
#include <string>
#include <string_view>

class TDataSet;

inline constexpr std::string_view kCsvNoRowsMessage = "ไม่มีรายการ...";
// The file name as the caller gave it goes between the two.
inline constexpr std::string_view kCsvSavedMessagePrefix = "บันทึกลงแฟ้ม  ";
inline constexpr std::string_view kCsvSavedMessageSuffix = " สำเร็จ...";
inline constexpr std::string_view kCsvFailedMessage = "ไม่สามารถดำเนิการได้...";

// Writes every row of the dataset, from its first, to `file_name`, a name
// relative to the working folder as the windows write it ("CSV\รายการบริจาค.csv"),
// and tells the user how it went. Returns whether the file was written. No rows
// write nothing. A failure to write, or a text that code page 874 cannot hold,
// leaves the file as it was. The dataset is left after its last row; errors of
// the dataset itself pass to the caller.
bool ExportQueryToCsv(const std::string& file_name, TDataSet& dataset);
