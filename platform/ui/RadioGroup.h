#pragma once
// A framed group of radio buttons in one or more columns (filled top to bottom,
// then left to right). A change of the chosen item, by the user or by code, runs
// OnClick; choosing the item that is already chosen runs nothing. A click that
// the group refuses (CanModify) leaves the chosen item as it was.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class TRadioGroup : public TWinControl {
 public:
  explicit TRadioGroup(TComponent* owner);

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  const std::vector<std::string>& Items() const { return items_; }
  // A CR in an item breaks its line.
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  // -1 when no item is chosen.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);

 protected:
  // Asked before the user's click changes the chosen item.
  virtual bool CanModify() { return true; }
  // The items were replaced or added to.
  virtual void ItemsChanged() {}

 private:
  void Rebuild();
  void ItemChosen(int index);
  void CheckButton(int index);

  std::vector<std::string> items_;
  int item_index_ = -1;
  int columns_ = 1;
};
