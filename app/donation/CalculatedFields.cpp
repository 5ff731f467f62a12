#include "app/donation/CalculatedFields.h"

#include "app/core/ReportWindow.h"

#include "platform/db/FieldDefs.h"
#include "platform/db/NumericFields.h"
#include "platform/db/StringFields.h"

bool HasPersistentFields(const TDataSet& rows) {
  return !rows.DefaultFields();
}

void MakeFieldsPersistent(TDataSet& rows, TComponent& owner) {
  TFieldDefs columns(nullptr);
  columns.Assign(&rows.FieldDefs());
  rows.Close();
  for (int i = 0; i < columns.Count(); ++i) columns[i]->CreateField(&owner, &rows);
}

TField& AddCalculatedField(TDataSet& rows, TComponent& owner, const std::string& name, int characters) {
  TField* field = nullptr;
  if (characters > 0) {
    auto* text = new TStringField(&owner);
    // A calculated text is held as UTF-8, three bytes to a Thai character.
    text->SetSize(characters * 3);
    field = text;
  } else {
    field = new TFloatField(&owner);
  }
  field->SetFieldName(name);
  field->SetFieldKind(fkCalculated);
  field->SetDataSet(&rows);
  return *field;
}

bool AddCalculatedFieldsAtFirstRun(ReportWindow& window, const std::function<void(TDataSet& rows)>& add_fields) {
  TDataSet& rows = window.Query1.Rows();
  if (HasPersistentFields(rows)) return false;
  MakeFieldsPersistent(rows, window);
  add_fields(rows);
  window.Run();
  return true;
}
