#include "app/donation/PartyRegister.h"

#include <utility>

#include "app/donation/RunningNumber.h"
#include "engine/access/Query.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kQuitCaption = "เลิก";
constexpr const char* kPickQuitCaption = "กลับใช้ข้อมูลนี้";
constexpr const char* kCashTerm = "สด";

}  // namespace

PartyRegister::PartyRegister(TComponent* owner, const std::string& alias, PickTarget* opener,
                             const std::string& list_statement, std::string new_group)
    : RegisterWindow(owner, alias, fsNormal),
      ComboBox1(new TComboBox(Customer)),
      Edit10(new TEdit(Customer)),
      new_group_(std::move(new_group)),
      opener_(opener),
      list_(*this, alias),
      query_temp_(*this, alias) {
  ComboBox1->SetItems({kCashTerm});
  for (TWinControl* hidden : std::initializer_list<TWinControl*>{ComboBox1, Edit10}) {
    hidden->Hide();
    hidden->SetEnabled(false);
  }
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

void PartyRegister::AddDefaults() {
  ComboBox1->SetText(kCashTerm);
  Edit10->SetText(new_group_);
}

void PartyRegister::LoadRow() {
  RegisterWindow::LoadRow();
  const bool empty = Table1->IsEmpty();
  ComboBox1->SetText(empty ? std::string() : Table1->FieldByName("cust_cre")->AsString());
  Edit10->SetText(empty ? std::string() : Table1->FieldByName("cust_group")->AsString());
}

RowValues PartyRegister::BoxValues() const {
  RowValues values = RegisterWindow::BoxValues();
  values.push_back({"cust_cre", ComboBox1->Text()});
  values.push_back({"cust_group", Edit10->Text()});
  return values;
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
