#include "platform/ui/DBRadioGroup.h"

#include "platform/db/Field.h"

TDBRadioGroup::TDBRadioGroup(TComponent* owner) : TRadioGroup(owner) {
  link_.on_data_change = [this] { DataChange(); };
  link_.on_update_data = [this] { Field()->SetText(value_); };
}

void TDBRadioGroup::SetDataSource(TDataSource* source) {
  link_.SetDataSource(source);
}

void TDBRadioGroup::SetValues(const std::vector<std::string>& values) {
  values_ = values;
  DataChange();
}

std::string TDBRadioGroup::ItemValue(int index) const {
  if (index < static_cast<int>(values_.size()) && !values_[index].empty()) return values_[index];
  return Items()[index];
}

void TDBRadioGroup::DataChange() {
  value_ = Field() != nullptr ? Field()->Text() : std::string();
  int chosen = -1;
  for (int i = 0; i < static_cast<int>(Items().size()) && Field() != nullptr; ++i) {
    if (ItemValue(i) == value_) {
      chosen = i;
      break;
    }
  }
  showing_ = true;
  SetItemIndex(chosen);
  showing_ = false;
}

void TDBRadioGroup::Click() {
  if (showing_) return;
  if (ItemIndex() >= 0) value_ = ItemValue(ItemIndex());
  if (link_.Editing()) {
    link_.Modified();
    try {
      link_.UpdateRecord();
    } catch (...) {
      link_.Reset();
      throw;
    }
  }
  TRadioGroup::Click();
}
