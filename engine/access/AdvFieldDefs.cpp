#include "engine/access/AdvFieldDefs.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/TextCase.h"

void TVTRAdvFieldDefs::Assign(const TVTRAdvFieldDefs& source) {
  std::vector<std::unique_ptr<TVTRAdvFieldDef>> copies;
  for (const auto& item : source.items_) copies.push_back(std::make_unique<TVTRAdvFieldDef>(*item));
  items_ = std::move(copies);
}

TVTRAdvFieldDef& TVTRAdvFieldDefs::AddFieldDef() {
  return *items_.emplace_back(std::make_unique<TVTRAdvFieldDef>());
}

void TVTRAdvFieldDefs::Delete(std::string_view name) {
  const auto found = std::ranges::find_if(items_, [name](const auto& item) { return SameText(item->Name, name); });
  if (found == items_.end()) throw EVTRException::CreateFmt(30349, "Field '%s' not found", name);
  items_.erase(found);
}

TVTRAdvFieldDef* TVTRAdvFieldDefs::Find(std::string_view name) const {
  const auto found = std::ranges::find_if(items_, [name](const auto& item) { return SameText(item->Name, name); });
  return found == items_.end() ? nullptr : found->get();
}
