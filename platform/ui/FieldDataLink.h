#pragma once
// The link of a control that shows and edits one field of the current record
// (data-bound edits and radio groups). The control tells the link when its
// content changed; the link asks the control to show the field again, to write
// its content into the field, and to follow the editing state.
#include <functional>
#include <string>

#include "platform/db/DataLink.h"

class TField;
class TWinControl;

class TFieldDataLink : public TDataLink {
 public:
  explicit TFieldDataLink(TWinControl& control) : control_(control) {}

  const std::string& FieldName() const { return field_name_; }
  // Binds the field of that name while the link is active; a name the dataset
  // lacks is shown as the dataset's error and leaves the control unbound.
  void SetFieldName(const std::string& name);
  // The bound field, or null.
  TField* Field() const { return field_; }
  // The field may be written: the link is not read-only, and neither the field
  // nor its dataset refuses.
  bool CanModify() const;
  // Puts the dataset into edit (AutoEdit permitting) when the field may be
  // written; answers whether the control may now change the field.
  bool Edit() override;
  // The control's content no longer matches the field; UpdateData writes it.
  void Modified() { modified_ = true; }
  // Shows the field again, dropping a change of the control.
  void Reset() { RecordChanged(nullptr); }

  // Show the field's value (Field() null: show nothing).
  std::function<void()> on_data_change;
  // Write the control's content into Field().
  std::function<void()> on_update_data;
  std::function<void()> on_editing_change;

 protected:
  void ActiveChanged() override { UpdateField(); }
  void LayoutChanged() override { UpdateField(); }
  void EditingChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;
  void FocusControl(TField** field) override;

 private:
  void UpdateField();

  TWinControl& control_;
  std::string field_name_;
  TField* field_ = nullptr;
  bool modified_ = false;
};
