// The provider operations of TVTRTable: its name as the command text, its
// index definitions and key fields, and parameters as a range on the active
// index.
#include <algorithm>

#include "engine/access/KeyBuffer.h"
#include "engine/access/Table.h"
#include "platform/db/Field.h"
#include "platform/db/FieldNames.h"
#include "platform/db/Params.h"

namespace {

bool AllFieldsExist(const TDataSet& dataset, const TIndexDef& index) {
  const std::vector<std::string> names = SplitFieldNameList(index.Fields());
  return std::all_of(names.begin(), names.end(),
                     [&](const std::string& name) { return dataset.FindField(name) != nullptr; });
}

// The first definition with the option whose fields all exist in the dataset.
const TIndexDef* FirstIndexWith(const TDataSet& dataset, const TIndexDefs& defs, TIndexOption option) {
  for (int i = 0; i < defs.Count(); ++i) {
    if (defs[i]->Options().Contains(option) && AllFieldsExist(dataset, *defs[i])) return defs[i];
  }
  return nullptr;
}

}  // namespace

void TVTRTable::PSSetCommandText(const std::string& text) {
  if (!text.empty()) SetTableName(text);
}

std::unique_ptr<TIndexDefs> TVTRTable::PSGetIndexDefs(TIndexOptions types) {
  auto selected = std::make_unique<TIndexDefs>(nullptr);
  for (int i = 0; i < IndexDefs().Count(); ++i) {
    const TIndexDef& def = *IndexDefs()[i];
    if (types.Empty() || !(def.Options() & types).Empty())
      selected->Add(def.Name(), def.Fields(), def.Options())->Assign(&def);
  }
  return selected;
}

const TIndexDef* TVTRTable::ActiveIndexDef() {
  try {
    const TIndexDef* def = nullptr;
    if (!IndexName().empty())
      def = IndexDefs().Find(IndexName());
    else if (!IndexFieldNames().empty())
      def = IndexDefs().GetIndexForFields(IndexFieldNames(), false);
    return def != nullptr && AllFieldsExist(*this, *def) ? def : nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::unique_ptr<TIndexDef> TVTRTable::PSGetDefaultOrder() {
  IndexDefs().Update();
  const TIndexDef* found = ActiveIndexDef();
  if (found == nullptr) found = FirstIndexWith(*this, IndexDefs(), ixPrimary);
  if (found == nullptr) found = FirstIndexWith(*this, IndexDefs(), ixUnique);
  if (found == nullptr) return nullptr;
  auto copy = std::make_unique<TIndexDef>(nullptr, found->Name(), found->Fields(), found->Options());
  copy->Assign(found);
  return copy;
}

std::string TVTRTable::PSGetKeyFields() {
  std::string keys = TVTRDataSet::PSGetKeyFields();
  if (!keys.empty()) return keys;
  if (Exists()) {
    IndexDefs().Update();
    if (const TIndexDef* unique = FirstIndexWith(*this, IndexDefs(), ixUnique)) return unique->Fields();
  }
  for (const TField* field : Fields()) {
    if (!keys.empty()) keys += ';';
    keys += field->FieldName();
  }
  return keys;
}

void TVTRTable::PSSetParams(TParams* params) {
  if (params == nullptr || params->Count() == 0) {
    if (Active()) CancelRange();
    PSReset();
    return;
  }
  Open();
  // A reset reopens the table, and an open clears every range: the new
  // range is set on the reopened table.
  PSReset();
  for (const TVTRKeyIndex bound : {kiRangeStart, kiRangeEnd}) {
    EditKeyBuffer(bound, true);
    try {
      for (int i = 0; i < params->Count(); ++i) {
        const TParam& param = *(*params)[i];
        TField* field = param.Name().empty() ? IndexField(i) : FieldByName(param.Name());
        field->AssignValue(param.Value());
      }
    } catch (...) {
      EndKeyEditing(false);
      throw;
    }
    Post();
    // Fewer values than index fields bound the leading fields, as FindKey
    // searches them.
    uint8_t* key = KeyBuffer(bound);
    TVTRKeyInfo info = ReadKeyInfo(key, Handle()->RecordSize);
    info.FieldCount = params->Count();
    WriteKeyInfo(info, key, Handle()->RecordSize);
  }
  ApplyRange();
}
