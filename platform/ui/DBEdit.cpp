#include "platform/ui/DBEdit.h"

#include <QLineEdit>

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/ui/FieldText.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QLineEdit* LineEditOf(const TControl& control) {
  return static_cast<QLineEdit*>(control.Native().Widget());
}

bool IsTextField(const TField* field) {
  const TFieldType type = field->DataType();
  return type == ftString || type == ftFixedChar || type == ftWideString;
}

}  // namespace

TDBEdit::TDBEdit(TComponent* owner) : TEdit(owner) {
  link_.on_data_change = [this] { DataChange(); };
  link_.on_update_data = [this] { UpdateData(); };
  link_.on_editing_change = [this] { ApplyEditing(); };
  ApplyEditing();
}

void TDBEdit::SetDataSource(TDataSource* source) {
  link_.SetDataSource(source);
}

void TDBEdit::SetReadOnly(bool read_only) {
  TEdit::SetReadOnly(read_only);
  link_.SetReadOnly(read_only);
  ApplyEditing();
}

void TDBEdit::SetMaxLength(int length) {
  TEdit::SetMaxLength(length);
  ApplyMaxLength();
}

void TDBEdit::ApplyEditing() {
  LineEditOf(*this)->setReadOnly(ReadOnly() || !link_.Editing());
}

void TDBEdit::ApplyMaxLength() {
  int limit = MaxLength();
  if (limit == 0 && Field() != nullptr && IsTextField(Field())) limit = Field()->Size();
  LimitTyping(limit);
}

void TDBEdit::DataChange() {
  ApplyMaxLength();
  const TField* field = Field();
  if (field == nullptr) {
    SetText({});
  } else {
    SetText(focused_ && link_.CanModify() ? FieldEditText(*field) : FieldDisplayText(*field));
  }
}

void TDBEdit::UpdateData() {
  SetFieldEditText(*Field(), Text());
}

char32_t TDBEdit::KeyPress(char32_t key) {
  key = TEdit::KeyPress(key);
  if (key == 27) {
    link_.Reset();
    SelectAll();
    return 0;
  }
  if (key == 8 || key >= 32) link_.Edit();
  return key;
}

void TDBEdit::Change() {
  link_.Modified();
  TEdit::Change();
}

void TDBEdit::DoEnter() {
  focused_ = true;
  link_.Reset();
  TEdit::DoEnter();
}

void TDBEdit::DoExit() {
  if (link_.Editing()) {
    try {
      link_.UpdateRecord();
    } catch (...) {
      // The focus has gone; the refused text stays in the box to be corrected.
      focused_ = false;
      SelectAll();
      throw;
    }
  }
  focused_ = false;
  link_.Reset();
  TEdit::DoExit();
}
