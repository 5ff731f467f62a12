#include "engine/access/AdvIndexDefs.h"

#include "platform/rtl/TextCase.h"

TVTRAdvIndexDef& TVTRAdvIndexDefs::AddIndexDef() {
  return *items_.emplace_back(std::make_unique<TVTRAdvIndexDef>());
}

TVTRAdvIndexDef& TVTRAdvIndexDefs::AppendIndexDef(std::string name, std::string fields, uint8_t options,
                                                  bool temporary, std::string desc_fields,
                                                  std::string case_ins_fields, std::string max_indexed_sizes) {
  TVTRAdvIndexDef& def = AddIndexDef();
  def.Name = std::move(name);
  def.Fields = std::move(fields);
  def.Options = options;
  def.Temporary = temporary;
  def.DescFields = std::move(desc_fields);
  def.CaseInsFields = std::move(case_ins_fields);
  def.MaxIndexedSizes = std::move(max_indexed_sizes);
  return def;
}

void TVTRAdvIndexDefs::Assign(const TVTRAdvIndexDefs& source, bool skip_temporary) {
  std::vector<std::unique_ptr<TVTRAdvIndexDef>> copies;
  for (const auto& item : source.items_) {
    if (skip_temporary && (item->Temporary || UpperCase(item->Name).find("TEMPORARY") != std::string::npos))
      continue;
    copies.push_back(std::make_unique<TVTRAdvIndexDef>(*item));
  }
  items_ = std::move(copies);
}
