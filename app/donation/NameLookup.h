#pragma once
// NameLookup: the name that belongs to a number (a customer's, a room's, a
// member's), read by a statement of one bound parameter on a window's query,
// for the calculated fields of a report's rows. Each number is read once until
// Forget, as a report asks again for every row it shows or prints.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/core/WindowQuery.h"

class NameLookup {
 public:
  // `lines` name the number as `parameter`; the name is the field at
  // `name_index` of the first row found.
  NameLookup(WindowQuery& query, std::vector<std::string> lines, std::string parameter, int name_index);

  // The name, or empty when no row is found.
  const std::string& Find(const std::string& number);
  // Reads every number again from the next Find (a new run).
  void Forget() { names_.clear(); }

 private:
  WindowQuery& query_;
  QueryStatement statement_;
  int name_index_;
  std::map<std::string, std::string, std::less<>> names_;
};
