// The usage voucher window's header save: the voucher number of a new
// header, and the header written by number.
#include <optional>
#include <string>
#include <vector>

#include "app/core/DocumentNumber.h"
#include "app/core/ThaiDateText.h"
#include "app/core/myVar.h"
#include "app/temple/add_edit.h"
#include "platform/ui/Dialogs.h"

namespace {

const NumberingStatement kVoucherNumbers{
    {" select distinct(work_no) from g_temple_2 ", " where substring(work_no from 1 for 5) =:head_bill ",
     " order by work_no "}};

const std::vector<const char*> kInsertHeader{" insert into g_temple_2 ", " (work_no,work_date, ", " work_room,mem_no) ",
                                             " values ", " (:pwork_no,:pwork_date, ", " :pwork_room,:pmem_no) "};
// The number names the row and is never changed.
const std::vector<const char*> kUpdateHeader{" update g_temple_2 ", " set ", " work_no=:pwork_no,work_date=:pwork_date, ",
                                             " work_room=:pwork_room,mem_no=:pmem_no ", " where work_no =:pwork_no "};

}  // namespace

void Tadd_edit::Button10Click(TObject*) {
  Panel2->Hide();
  if (!EnteringHeader()) return;
  if (HeaderState == kVoucherAdd && MemberNo.empty()) {
    ShowMessage(kNoMemberPicked);
    return;
  }
  const std::optional<TDateTime> date = ReadThaiDate(Edit12->Text());
  if (!date) return;
  std::string number = VoucherNumber;
  if (HeaderState == kVoucherAdd) {
    const std::optional<std::string> next =
        NextDocumentNumber(q_run_bill, kVoucherNumbers, Prefixes[kind_.prefix_number - 1], kind_.kind_digit);
    if (!next) return;
    number = *next;
  }
  Edit11->SetText(number);
  try {
    WriteHeader(number, *date);
  } catch (const std::exception&) {
    // Another user holds the rows, or stored the same number first: the next
    // save numbers again.
    ShowMessage(kHeaderSaveLocked);
    return;
  }
  VoucherNumber = number;
  HeaderState = kVoucherNormal;
  LoadSiteVouchers();
  q_master.Rows().Locate("work_no", Variant(number), TLocateOptions{});
  SetHeaderBrowseState();
  Button12->SetEnabled(true);
  DataSource2->SetEnabled(true);
  PageControl1->SetActivePage(main);
  Panel2->SetVisible(!q_master.Rows().IsEmpty());
  myVar.PickedMemberNo.clear();
  myVar.PickedMemberName.clear();
  Edit7->Clear();
  Edit1->SetFocus();
}

void Tadd_edit::WriteHeader(const std::string& number, TDateTime date) {
  q_master_edit->Close();
  q_master_edit->SQL().Clear();
  for (const char* line : HeaderState == kVoucherAdd ? kInsertHeader : kUpdateHeader)
    q_master_edit->SQL().Add(line);
  q_master_edit->Prepare();
  q_master_edit->ParamByName("pwork_no")->SetValue(Variant(number));
  q_master_edit->ParamByName("pwork_date")->SetValue(Variant::Date(date));
  q_master_edit->ParamByName("pwork_room")->SetValue(Variant(SiteCode));
  q_master_edit->ParamByName("pmem_no")->SetValue(Variant(MemberNo));
  q_master_edit->ExecSQL();
  q_master_edit->Close();
}
