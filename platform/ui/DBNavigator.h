#pragma once
// Buttons that move a data source's dataset to its first, prior, next and last
// record. Each button is enabled by the position: first and prior are off on
// the first record, next and last on the last; all are off while the data
// source shows no open dataset.
#include <functional>
#include <memory>

#include "platform/ui/Control.h"

class TDataSource;

enum TNavigateBtn : uint8_t { nbFirst, nbPrior, nbNext, nbLast };
using TNavButtonSet = EnumSet<TNavigateBtn>;

class TDBNavigator : public TWinControl {
 public:
  explicit TDBNavigator(TComponent* owner);
  ~TDBNavigator() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TNavButtonSet VisibleButtons() const { return visible_buttons_; }
  void SetVisibleButtons(TNavButtonSet buttons);
  // Moves the dataset as a press of the button does.
  void BtnClick(TNavigateBtn button);

 private:
  class Link;
  void UpdateButtons();

  std::unique_ptr<Link> link_;
  TNavButtonSet visible_buttons_{nbFirst, nbPrior, nbNext, nbLast};
};
