#pragma once
// DocumentNumber: the 11-character number of a document (donation, goods
// document, usage voucher): a 4-character series prefix from the settings, a
// kind digit, and a 6-digit running number. The first five characters are the
// series head. A new number is one more than the highest well-formed number of
// its head; the first number of a head is asked from the user.
//
// The numbering runs before the save's transaction and takes no lock: two
// copies saving in one series at once can make the same number. The unique
// index on the number column refuses the second insert, whose transaction then
// rolls back, so the caller stays in "add" and numbers again on the next save.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class WindowQuery;

inline constexpr int kDocumentNumberLength = 11;
inline constexpr int kSeriesPrefixLength = 4;
inline constexpr int kSeriesHeadLength = 5;
inline constexpr int kRunningNumberDigits = 6;

inline constexpr std::string_view kFirstNumberCaption = "กำหนดเลขที่ใบสำคัญครั้งแรก";
inline constexpr std::string_view kFirstNumberPrompt = "เลขจำนวน 6 หลัก เช่น 001007 ค่าโดยปริยาย 000001";
inline constexpr std::string_view kFirstNumberDefault = "000001";
inline constexpr std::string_view kFirstNumberNotDigitsMessage = "ต้องเป็นตัวเลข จำนวน 6 หลัก ยกเลิกแล้วเริ่มต้นใหม่ นะ.";
inline constexpr std::string_view kFirstNumberLengthMessage = "ไม่ครบ 6 หลัก ยกเลิกแล้วเริ่มต้นใหม่ นะ.";
inline constexpr std::string_view kShortPrefixMessage = "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก...";
inline constexpr std::string_view kSeriesFullMessage =
    "เลขที่ใบสำคัญของรหัสนำหน้านี้ครบ 999999 แล้ว ต้องเปลี่ยนรหัสนำหน้าในระบบการทำงานก่อน";
inline constexpr std::string_view kNumberingFailedMessage =
    " ยังไม่สามารถกำหนดเลขที่ใบสำคัญตอนนี้ได้ ... รอสักครู่ และดำเนินการใหม่อีกครั้ง";

// Whether `number` has the document number's form: 11 characters whose last
// six are digits.
bool IsWellFormedDocumentNumber(std::string_view number);

// The series head (characters 1 to 5) and the running number (6 to 11) of a
// number, cut at its end.
std::string SeriesHeadOf(std::string_view number);
std::string RunningNumberOf(std::string_view number);

// "ABCD1000123" as "ABCD-1-000123": prefix, kind digit and running number.
// A number of another length is split as far as it reaches.
std::string SplitDocumentNumber(std::string_view number);

// The statement that lists the stored numbers of a series, ordered by number,
// with the head as parameter "head_bill"; the first column is the number.
struct NumberingStatement {
  std::vector<std::string> lines;
};

// The next number of the series `prefix` + `kind_digit`: `numbers` runs the
// statement; the highest well-formed stored number of the head gives the next
// running number, and a head without one asks the user for the first through
// the dialog service. Every refusal is shown to the user and gives no number:
// a prefix that is not four characters, a first number that is not exactly
// six digits, a series past 999999, and a statement that fails.
std::optional<std::string> NextDocumentNumber(WindowQuery& numbers, const NumberingStatement& statement,
                                              std::string_view prefix, char kind_digit = '1');
