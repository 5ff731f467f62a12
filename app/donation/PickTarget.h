#pragma once
// PickTarget: a window that opens a party register (donors and customers,
// suppliers) to pick a party. When the register closes, by its quit button
// or its close box, it writes the party it shows into the window that opened
// it (never into another window of the same class) before the opener's
// modal call returns. Which boxes it fills follows the caller code the
// opener set in myVar before opening the register (PickCaller for donors,
// SupplyPickCaller for suppliers):
//   "1" the donation window: number, name, address lines, zip, telephone,
//       fax, country and birth date;
//   "2" the goods window: number, name, address lines, zip, telephone and
//       fax, and the credit term back to its first item ("สด");
//   any other code: nothing.
// Boxes the target leaves null are not written. An empty register writes
// empty texts.
//
// An entry window implements it by handing over its own boxes:
//
//   class TDonationWindow : public TForm, public PickTarget {
//     PartyBoxes PickBoxes() override {
//       return {.number_text = &DonationCustNo, .name = Edit2, .address1 = Edit3,
//               .address2 = Edit21, .province = Edit22, .zip = Edit23,
//               .telephone = Edit24, .fax = Edit25, .country = Edit13, .birth_date = Edit12};
//     }
//   };
//
// and opens the register with itself as the target:
//
//   myVar.PickCaller = "1";
//   FormsApplication().CreateForm<TRef_Cust>(static_cast<PickTarget*>(this))->ShowModal();
//
// The goods window hands `.number = Edit1` and `.credit_term = ComboBox2`
// instead of the number text, country and birth date.
#include <string>
#include <string_view>

class TComboBox;
class TDataSet;
class TEdit;

// The opener's boxes, by what they hold.
struct PartyBoxes {
  std::string* number_text = nullptr;  // a number held without a box
  TEdit* number = nullptr;
  TEdit* name = nullptr;
  TEdit* address1 = nullptr;
  TEdit* address2 = nullptr;
  TEdit* province = nullptr;
  TEdit* zip = nullptr;
  TEdit* telephone = nullptr;
  TEdit* fax = nullptr;
  TEdit* country = nullptr;
  TEdit* birth_date = nullptr;
  TComboBox* credit_term = nullptr;  // set to its first item
};

class PickTarget {
 public:
  virtual ~PickTarget() = default;
  virtual PartyBoxes PickBoxes() = 0;
};

// Writes the current row of `party` (a list of `customer` or `supply` rows)
// into the target's boxes as the caller code says (above).
void WritePickedParty(PickTarget& target, std::string_view caller, TDataSet& party);
