#pragma once
// PartyRegister: what the donor and supplier registers share on top of the
// register window. Both are modal windows over a list query; the program
// numbers their new rows (the number box is read-only), and when a window
// opened one to pick a party, closing it (quit button or close box) writes
// the party shown into that window.
//
// A new row's number is computed at every save, so a save that the engine
// refused because another user stored the same number meanwhile shows the
// engine's message, stays in "add", and numbers again at the next save.
#include <string>

#include "app/core/RegisterWindow.h"
#include "app/core/SqlWindowQuery.h"
#include "app/donation/PickTarget.h"

class PartyRegister : public RegisterWindow {
 public:
  void FormClose(TObject* sender, TCloseAction& action);

 protected:
  // `opener` is the window to write into (null: opened by the menu);
  // `list_statement` the list's text. The definition's guard box is the
  // number box.
  PartyRegister(TComponent* owner, const std::string& alias, PickTarget* opener, const std::string& list_statement);

  // The number of the next new row; raises ERunningNumberRefused.
  virtual std::string NextNumber() = 0;
  // The write-back the opener asked for, as WritePickedParty takes it.
  virtual std::string PickCaller() const = 0;

  // The quit button says whether closing hands the party back.
  void ShowQuitCaption(bool picking);

  bool EntryAccepted() override;
  std::string InsertRow() override;
  // The number box stays read-only.
  void SetBoxesReadOnly(bool read_only) override;

  SqlWindowQuery& List() { return list_; }
  SqlWindowQuery& QueryTemp() { return query_temp_; }

 private:
  PickTarget* opener_;
  SqlWindowQuery list_;
  SqlWindowQuery query_temp_;
  std::string new_number_;
};
