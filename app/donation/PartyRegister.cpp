#include "app/donation/PartyRegister.h"

#include "app/donation/RunningNumber.h"
#include "engine/access/Query.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kQuitCaption = "เลิก";
constexpr const char* kPickQuitCaption = "กลับใช้ข้อมูลนี้";

}  // namespace

PartyRegister::PartyRegister(TComponent* owner, const std::string& alias, PickTarget* opener,
                             const std::string& list_statement)
    : RegisterWindow(owner, alias, fsNormal), opener_(opener), list_(*this, alias), query_temp_(*this, alias) {
  list_.Query().SQL().Add(list_statement);
  OnClose = Bind(this, &PartyRegister::FormClose);
}

void PartyRegister::FormClose(TObject* sender, TCloseAction& action) {
  if (opener_ != nullptr) WritePickedParty(*opener_, PickCaller(), *Table1);
  RegisterWindow::FormClose(sender, action);
}

void PartyRegister::ShowQuitCaption(bool picking) {
  SpeedButton2->SetCaption(picking ? kPickQuitCaption : kQuitCaption);
}

bool PartyRegister::EntryAccepted() {
  if (EditState != kStateAdd) return true;
  try {
    new_number_ = NextNumber();
  } catch (const ERunningNumberRefused& refusal) {
    ShowMessage(refusal.Message());
    return false;
  }
  return true;
}

std::string PartyRegister::InsertRow() {
  TEdit* number_box = Definition().guard_box;
  number_box->SetText(new_number_);
  Definition().rows->Insert(BoxValues());
  return new_number_;
}

void PartyRegister::SetBoxesReadOnly(bool read_only) {
  RegisterWindow::SetBoxesReadOnly(read_only);
  Definition().guard_box->SetReadOnly(true);
}
