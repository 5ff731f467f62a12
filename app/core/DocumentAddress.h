#pragma once
// The address lines of printed documents (receipts, certificates, sale
// documents, usage vouchers, envelopes), built from the stored columns.
#include <initializer_list>
#include <string>
#include <string_view>

// A party's address: the trimmed parts that are not blank, joined by one blank.
std::string JoinAddressParts(std::initializer_list<std::string_view> parts);

// The organisation's address line: every part trimmed and followed by one
// blank, blank parts too ("1 ถนนวัด  50000 ").
std::string OrganisationAddressLine(std::initializer_list<std::string_view> parts);

// The organisation's contact line: "Tel. " + phone, " Fax. " + fax and
// " Email : " + e-mail, each trimmed and each only when not blank.
std::string ContactLine(std::string_view tel, std::string_view fax, std::string_view email);
