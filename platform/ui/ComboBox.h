#pragma once
// A drop-down list, with a free text box (csDropDown) or without (csDropDownList).
// Choosing an item from the list closes it (OnCloseUp, the item already chosen)
// and runs OnClick and then OnChange; typing runs OnChange. Setting the item
// index or the text in code runs nothing.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

enum TComboBoxStyle : uint8_t { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  void ClearItems() { SetItems({}); }
  // -1 when no item is chosen.
  int ItemIndex() const;
  void SetItemIndex(int index);
  std::string Text() const;
  void SetText(const std::string& text);

  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;

 protected:
  void ApplyColor(TColor color) override;

 private:
  TComboBoxStyle style_ = csDropDown;
  std::vector<std::string> items_;
};
