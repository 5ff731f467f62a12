#pragma once
// PartyRegister: what the donor and supplier registers share on top of the
// register window. Both are modal windows over a list query; the program
// numbers their new rows (the number box is read-only), and when a window
// opened one to pick a party, closing it (quit button or close box) writes
// the party shown into that window.
//
// Both keep a party's credit term and group in hidden boxes: a new party
// pays cash ("สด") and gets the register's group.
//
// A new row's number is computed at every save, so a save that the engine
// refused because another user stored the same number meanwhile shows the
// engine's message, stays in "add", and numbers again at the next save.
#include <string>

#include "app/core/RegisterWindow.h"
#include "app/core/SqlWindowQuery.h"
#include "app/donation/PickTarget.h"
#include "platform/ui/ComboBox.h"

class PartyRegister : public RegisterWindow {
 public:
  TComboBox* ComboBox1;  // cust_cre, hidden
  TEdit* Edit10;         // cust_group, hidden

  void FormClose(TObject* sender, TCloseAction& action);

 protected:
  // `opener` is the window to write into (null: opened by the menu);
  // `list_statement` the list's text; `new_group` the group of new parties.
  // The definition's guard box is the number box.
  PartyRegister(TComponent* owner, const std::string& alias, PickTarget* opener, const std::string& list_statement,
                std::string new_group);

  // The number of the next new row; raises ERunningNumberRefused.
  virtual std::string NextNumber() = 0;
  // The write-back the opener asked for, as WritePickedParty takes it.
  virtual std::string PickCaller() const = 0;

  // The quit button says whether closing hands the party back.
  void ShowQuitCaption(bool picking);

  void AddDefaults() override;
  void LoadRow() override;
  RowValues BoxValues() const override;
  bool EntryAccepted() override;
  std::string InsertRow() override;
  // The number box stays read-only.
  void SetBoxesReadOnly(bool read_only) override;

  SqlWindowQuery& List() { return list_; }
  SqlWindowQuery& QueryTemp() { return query_temp_; }

 private:
  std::string new_group_;
  PickTarget* opener_;
  SqlWindowQuery list_;
  SqlWindowQuery query_temp_;
  std::string new_number_;
};
