#include "app/donation/PickTarget.h"

#include "platform/db/DB.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

namespace {

constexpr std::string_view kDonationCaller = "1";
constexpr std::string_view kGoodsCaller = "2";

// The column of the current row; empty for an empty list.
std::string ColumnText(TDataSet& party, std::string_view column) {
  return party.IsEmpty() ? std::string() : party.FieldByName(column)->AsString();
}

void Write(TEdit* box, TDataSet& party, std::string_view column) {
  if (box != nullptr) box->SetText(ColumnText(party, column));
}

}  // namespace

void WritePickedParty(PickTarget& target, std::string_view caller, TDataSet& party) {
  const bool donation = caller == kDonationCaller;
  if (!donation && caller != kGoodsCaller) return;
  const PartyBoxes boxes = target.PickBoxes();
  if (donation) {
    if (boxes.number_text != nullptr) *boxes.number_text = ColumnText(party, "CUST_NO");
  } else {
    Write(boxes.number, party, "CUST_NO");
  }
  Write(boxes.name, party, "CUST_NAME");
  Write(boxes.address1, party, "CUST_ADD1");
  Write(boxes.address2, party, "CUST_ADD2");
  Write(boxes.province, party, "CUST_ADD4");
  Write(boxes.zip, party, "CUST_ZIP");
  Write(boxes.telephone, party, "CUST_TEL");
  Write(boxes.fax, party, "CUST_FAX");
  if (donation) {
    Write(boxes.country, party, "COUNTRY");
    Write(boxes.birth_date, party, "CUST_BIRTH");
  } else if (boxes.credit_term != nullptr && !boxes.credit_term->Items().empty()) {
    boxes.credit_term->SetItemIndex(0);
  }
}
