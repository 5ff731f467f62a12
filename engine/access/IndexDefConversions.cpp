#include "engine/access/DefConversions.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/meta/DefImage.h"
#include "platform/db/FieldNames.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"

namespace {

bool Listed(const TStringList& names, std::string_view name) {
  for (int i = 0; i < names.Count(); ++i)
    if (SameText(names[i], name)) return true;
  return false;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "" : ";") + parts[i];
  return text;
}

}  // namespace

void IndexDefsToAdvIndexDefs(const TIndexDefs& index_defs, TVTRAdvIndexDefs& items) {
  items.Clear();
  for (int i = 0; i < index_defs.Count(); ++i) {
    const TIndexDef& def = *index_defs[i];
    items.AppendIndexDef(def.Name(), def.Fields(), static_cast<uint8_t>(def.Options().Bits()), false,
                         def.DescFields(), def.CaseInsFields(), "");
  }
}

void AdvIndexDefsToIndexDefs(const TVTRAdvIndexDefs& items, TIndexDefs& index_defs) {
  index_defs.Clear();
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    const TVTRAdvIndexDef& item = items.GetItem(i);
    TIndexDef* def = index_defs.Add(item.Name, item.Fields, TIndexOptions::FromBits(item.Options));
    def->SetDescFields(item.DescFields);
    def->SetCaseInsFields(item.CaseInsFields);
  }
}

void AdvIndexDefsToEngineIndexDefs(const TVTRAdvIndexDefs& items, TVTRIndexDefs& engine_indexes,
                                   const TFieldDefs& field_defs) {
  engine_indexes.Clear();
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    const TVTRAdvIndexDef& item = items.GetItem(i);
    if (item.Name.empty()) throw EVTRException::CreateFmt(20048, "Invalid index name '%s'", "");
    if (item.Fields.empty()) throw EVTRException::CreateFmt(20049, "Cannot find index field '%s'", "");
    TVTRIndexDef& index = engine_indexes.AddIndexDef();
    index.Name = item.Name.substr(0, kMaxShortStringLength);
    index.Kind = 0;
    index.Unique = (item.Options & kIndexUniqueBit) != 0;
    index.Primary = (item.Options & kIndexPrimaryBit) != 0;
    index.Temporary = item.Temporary;
    TStringList fields, desc_fields, case_ins_fields, sizes;
    SplitFieldNames(&fields, item.Fields);
    SplitFieldNames(&desc_fields, item.DescFields);
    SplitFieldNames(&case_ins_fields, item.CaseInsFields);
    SplitFieldNames(&sizes, item.MaxIndexedSizes);
    index.SetColumnCount(fields.Count());
    for (int column_no = 0; column_no < fields.Count(); ++column_no) {
      const std::string& name = fields[column_no];
      if (!FieldDefsContain(field_defs, name))
        throw EVTRException::CreateFmt(20050, "Cannot find index field '%s'", name);
      TVTRIndexColumn& column = index.GetColumn(column_no);
      column.FieldName = name;
      column.Descending = Listed(desc_fields, name) || (item.Options & kIndexDescendingBit) != 0;
      column.CaseInsensitive = Listed(case_ins_fields, name) || (item.Options & kIndexCaseInsensitiveBit) != 0;
      const bool sized = column_no < sizes.Count() && !sizes[column_no].empty();
      column.MaxIndexedSize = sized ? StrToInt(sizes[column_no]) : kDefaultMaxIndexedSize;
    }
  }
}

void EngineIndexDefsToAdvIndexDefs(const TVTRIndexDefs& engine_indexes, TVTRAdvIndexDefs& items) {
  items.Clear();
  for (int32_t i = 0; i < engine_indexes.GetCount(); ++i) {
    const TVTRIndexDef& index = engine_indexes.GetIndexDef(i);
    std::vector<std::string> fields, desc_fields, case_ins_fields, sizes;
    for (const TVTRIndexColumn& column : index.Columns) {
      fields.push_back(column.FieldName);
      if (column.Descending) desc_fields.push_back(column.FieldName);
      if (column.CaseInsensitive) case_ins_fields.push_back(column.FieldName);
      sizes.push_back(std::to_string(column.MaxIndexedSize));
    }
    const uint8_t options = (index.Unique ? kIndexUniqueBit : 0) | (index.Primary ? kIndexPrimaryBit : 0);
    items.AppendIndexDef(index.Name, Join(fields), options, index.Temporary, Join(desc_fields),
                         Join(case_ins_fields), Join(sizes));
  }
}

void SplitFieldNames(TStringList* list, std::string_view text) {
  if (list == nullptr) return;
  std::string names(text);
  std::ranges::replace(names, ',', ';');
  list->Clear();
  size_t position = 0;
  while (position < names.size()) list->Add(ExtractFieldName(names, position));
}

bool FieldDefsContain(const TFieldDefs& field_defs, std::string_view name) {
  return field_defs.IndexOf(name) >= 0;
}
