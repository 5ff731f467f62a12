#include "app/donation/NameLookup.h"

#include <utility>

#include "platform/db/DB.h"

NameLookup::NameLookup(WindowQuery& query, std::vector<std::string> lines, std::string parameter, int name_index)
    : query_(query), statement_{std::move(lines), {{std::move(parameter), Variant()}}}, name_index_(name_index) {}

const std::string& NameLookup::Find(const std::string& number) {
  if (auto known = names_.find(number); known != names_.end()) return known->second;
  statement_.parameters[0].value = Variant(number);
  query_.Open(statement_);
  TDataSet& found = query_.Rows();
  std::string name = found.IsEmpty() ? std::string() : found.Fields()[name_index_]->AsString();
  return names_.emplace(number, std::move(name)).first->second;
}
