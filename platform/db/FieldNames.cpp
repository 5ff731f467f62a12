#include "platform/db/FieldNames.h"

#include <algorithm>

namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string ExtractFieldName(std::string_view fields, size_t& pos) {
  const size_t end = std::min(fields.find(';', pos), fields.size());
  std::string name(Trim(fields.substr(pos, end - pos)));
  pos = end < fields.size() ? end + 1 : end;
  return name;
}

std::vector<std::string> SplitFieldNameList(std::string_view fields) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < fields.size()) {
    std::string name = ExtractFieldName(fields, pos);
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}
