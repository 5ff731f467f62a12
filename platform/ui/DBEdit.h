#pragma once
// An edit box bound to a field of the current record. It shows the field's
// display text, and its editing text while it has the focus, as FieldText.h
// says (dates with their Buddhist-era year). Typing puts the
// dataset into edit when the data source's AutoEdit allows; otherwise a
// browsing dataset cannot be changed through the box. The typed text reaches
// the field when the focus leaves and before the record is posted; Esc shows
// the field's text again.
#include <string>

#include "platform/ui/Edit.h"
#include "platform/ui/FieldDataLink.h"

class TDataSource;

class TDBEdit : public TEdit {
 public:
  explicit TDBEdit(TComponent* owner);

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source);
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(const std::string& name) { link_.SetFieldName(name); }
  TField* Field() const { return link_.Field(); }
  // A read-only box never changes its field.
  void SetReadOnly(bool read_only) override;
  // 0 takes the size of a text field as the limit.
  void SetMaxLength(int length) override;

 protected:
  char32_t KeyPress(char32_t key) override;
  void Change() override;
  void DoEnter() override;
  void DoExit() override;

 private:
  void DataChange();
  void UpdateData();
  // The box takes typing only while its link edits.
  void ApplyEditing();
  void ApplyMaxLength();

  TFieldDataLink link_{*this};
  bool focused_ = false;
};
