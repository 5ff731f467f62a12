#include "app/core/DocumentAddress.h"

#include "platform/rtl/TextCase.h"

std::string JoinAddressParts(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (std::string_view part : parts) {
    const std::string trimmed = Trim(part);
    if (trimmed.empty()) continue;
    if (!joined.empty()) joined += ' ';
    joined += trimmed;
  }
  return joined;
}

std::string OrganisationAddressLine(std::initializer_list<std::string_view> parts) {
  std::string line;
  for (std::string_view part : parts) line += Trim(part) + ' ';
  return line;
}

std::string ContactLine(std::string_view tel, std::string_view fax, std::string_view email) {
  std::string line;
  const auto append = [&line](std::string_view caption, std::string_view value) {
    const std::string trimmed = Trim(value);
    if (!trimmed.empty()) line += std::string(caption) + trimmed;
  };
  append("Tel. ", tel);
  append(" Fax. ", fax);
  append(" Email : ", email);
  return line;
}
