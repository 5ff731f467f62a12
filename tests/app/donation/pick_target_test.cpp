// The write-back of a picked party into the window that opened the register,
// by the caller code the opener set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/donation/PickTarget.h"
#include "tests/app/donation/support/PartyPicker.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ArrayDataSet.h"

namespace {

using Texts = std::vector<std::string>;

const std::vector<std::string> kColumns{"CUST_NO",  "CUST_NAME", "CUST_ADD1", "CUST_ADD2", "CUST_ADD4",
                                        "CUST_ZIP", "CUST_TEL",  "CUST_FAX",  "COUNTRY",   "CUST_BIRTH"};
const Texts kDonor{"ABCD000007", "คุณสมศรี", "1 ถนนสุขุมวิท", "แขวงคลองเตย", "กรุงเทพฯ",
                   "10110",      "021234567", "021234568", "ไทย",        "31/12/2500"};

class PickTargetWriteBack : public UiTest {
 protected:
  // The party list as a register shows it: no row, or the one donor.
  TDataSet& PartyList(bool with_donor) {
    std::vector<ArrayFieldDef> defs;
    for (const std::string& column : kColumns) defs.push_back({column, ftString, 100});
    auto* list = new TArrayDataSet(&Application(), defs);
    list->Open();
    if (with_donor) {
      list->Append();
      for (size_t i = 0; i < kColumns.size(); ++i) list->FieldByName(kColumns[i])->SetAsString(kDonor[i]);
      list->Post();
    }
    return *list;
  }

};

TEST_F(PickTargetWriteBack, EachCallerGetsItsOwnBoxesFilled) {
  struct Case {
    std::string caller;
    bool with_donor;
    Texts written;  // number text, Edit1, Edit2, Edit3, Edit21 ... Edit25, Edit13, Edit12, credit term
  };
  const std::vector<Case> cases{
      {"1", true,
       {"ABCD000007", "", "คุณสมศรี", "1 ถนนสุขุมวิท", "แขวงคลองเตย", "กรุงเทพฯ", "10110", "021234567",
        "021234568", "ไทย", "31/12/2500", kOtherTerm}},
      {"2", true,
       {"unchanged", "ABCD000007", "คุณสมศรี", "1 ถนนสุขุมวิท", "แขวงคลองเตย", "กรุงเทพฯ", "10110", "021234567",
        "021234568", "", "", kCashTerm}},
      {"0", true, kNothingWritten},
      {"", true, kNothingWritten},
      {"1", false, {"", "", "", "", "", "", "", "", "", "", "", kOtherTerm}},
      {"2", false, {"unchanged", "", "", "", "", "", "", "", "", "", "", kCashTerm}},
  };
  for (const Case& c : cases) {
    TPartyPicker& picker = *new TPartyPicker(&Application());
    WritePickedParty(picker, c.caller, PartyList(c.with_donor));
    EXPECT_EQ(picker.Written(), c.written) << "caller \"" << c.caller << "\", donor " << c.with_donor;
  }
}

TEST_F(PickTargetWriteBack, BoxesTheTargetLeavesOutAreNotWritten) {
  struct NameOnly : TPartyPicker {
    using TPartyPicker::TPartyPicker;
    PartyBoxes PickBoxes() override { return {.name = Edit2}; }
  };
  auto& picker = *new NameOnly(&Application());
  WritePickedParty(picker, "2", PartyList(true));
  EXPECT_EQ(picker.Written(), (Texts{"unchanged", "", "คุณสมศรี", "", "", "", "", "", "", "", "", kOtherTerm}));
}

}  // namespace
