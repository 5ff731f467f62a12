#include "platform/ui/FieldDataLink.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Application.h"
#include "platform/ui/Control.h"

void TFieldDataLink::SetFieldName(const std::string& name) {
  if (name == field_name_) return;
  field_name_ = name;
  UpdateField();
}

bool TFieldDataLink::CanModify() const {
  return !ReadOnly() && field_ != nullptr && !field_->ReadOnly() && DataSet()->CanModify();
}

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return Editing();
}

void TFieldDataLink::EditingChanged() {
  if (on_editing_change) on_editing_change();
}

void TFieldDataLink::RecordChanged(TField* field) {
  if (field != nullptr && field != field_) return;
  if (on_data_change) on_data_change();
  modified_ = false;
}

void TFieldDataLink::UpdateData() {
  if (!modified_) return;
  if (field_ != nullptr && on_update_data) on_update_data();
  modified_ = false;
}

void TFieldDataLink::FocusControl(TField** field) {
  if (*field == nullptr || *field != field_ || !control_.CanFocus()) return;
  *field = nullptr;
  control_.SetFocus();
}

void TFieldDataLink::UpdateField() {
  field_ = nullptr;
  if (Active() && !field_name_.empty()) {
    // Raising here would leave the links after this one unaware of the new state.
    try {
      field_ = DataSet()->FieldByName(field_name_);
    } catch (...) {
      Application().HandleException(&control_);
    }
  }
  EditingChanged();
  RecordChanged(nullptr);
}
