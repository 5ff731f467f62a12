#pragma once
// A small window that opens party registers to pick a party, as the entry
// windows do: the boxes of both entry windows' party blocks, the donation
// window's number held without a box, and a credit term list.
#include <string>

#include "app/donation/PickTarget.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"

inline constexpr const char* kCashTerm = "สด";
inline constexpr const char* kOtherTerm = "30 วัน";

class TPartyPicker : public TForm, public PickTarget {
 public:
  explicit TPartyPicker(TComponent* owner) : TForm(owner) {
    ComboBox2->SetItems({kCashTerm, kOtherTerm});
    ComboBox2->SetItemIndex(1);
  }

  std::string DonationCustNo = "unchanged";
  TEdit* Edit1 = new TEdit(this);
  TEdit* Edit2 = new TEdit(this);
  TEdit* Edit3 = new TEdit(this);
  TEdit* Edit21 = new TEdit(this);
  TEdit* Edit22 = new TEdit(this);
  TEdit* Edit23 = new TEdit(this);
  TEdit* Edit24 = new TEdit(this);
  TEdit* Edit25 = new TEdit(this);
  TEdit* Edit13 = new TEdit(this);
  TEdit* Edit12 = new TEdit(this);
  TComboBox* ComboBox2 = new TComboBox(this);

  PartyBoxes PickBoxes() override {
    return {.number_text = &DonationCustNo, .number = Edit1, .name = Edit2, .address1 = Edit3,
            .address2 = Edit21, .province = Edit22, .zip = Edit23, .telephone = Edit24, .fax = Edit25,
            .country = Edit13, .birth_date = Edit12, .credit_term = ComboBox2};
  }

  // The texts the write-back fills, in the order of PartyBoxes; kNothingWritten
  // before any.
  std::vector<std::string> Written() const {
    return {DonationCustNo, Edit1->Text(),  Edit2->Text(),  Edit3->Text(),  Edit21->Text(), Edit22->Text(),
            Edit23->Text(), Edit24->Text(), Edit25->Text(), Edit13->Text(), Edit12->Text(), ComboBox2->Text()};
  }
};

inline const std::vector<std::string> kNothingWritten{"unchanged", "", "", "", "", "", "", "", "", "", "", kOtherTerm};
