#pragma once
// Amounts in Thai words, as receipts, certificates, sale documents and usage
// vouchers print them: " หนึ่งพัน ห้าร้อยบาทถ้วน" for 1500, "สองล้าน บาท ห้าสิบสตางค์ "
// for 2000000.50. The spacing between the groups is the documents' own.
#include <string>
#include <string_view>

// Raised (EConvertError) for an amount of one million million baht or more.
inline constexpr std::string_view kAmountTooLargeMessage =
    "จำนวนเงิน %s ตั้งแต่หนึ่งล้านล้านบาทขึ้นไป เขียนเป็นตัวอักษรไม่ได้";

// The amount (a decimal number text, rounded to satang) in baht and satang;
// "ศูนย์บาทถ้วน" for 0 and below. Bad number text raises EConvertError.
std::string BahtToText(std::string_view amount);

// The group routines take a three-digit text ("021"); anything else raises
// EConvertError.
// Units group: "ร้อย" and the words of the last two digits.
std::string HundredsToText(std::string_view group);
// Millions group: the same words as the units group.
std::string MillionsToText(std::string_view group);
// Thousands group: each digit not 0 with "แสน", "หมื่น" or "พัน".
std::string ThousandsToText(std::string_view group);
// Satang "0" to "99": the words followed by "สตางค์ ", empty for 0.
std::string SatangToText(std::string_view satang);
