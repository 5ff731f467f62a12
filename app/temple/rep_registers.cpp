#include "app/temple/rep_registers.h"

#include <string>

#include "app/core/DocumentAddress.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "app/temple/ReportColumns.h"
#include "platform/db/DB.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr int kAddressBandHeight = 60;
constexpr int kNameBandHeight = 26;

const RegisterListTexts kRoomList{" รายงานทะเบียนศาลา อาคาร ที่ดิน",
                                  "d_rep_room",
                                  "g_room",
                                  " รายงานทะเบียนศาลา อาคาร ที่ดิน",
                                  "ชื่อศาลา อาคาร ที่ดิน",
                                  {{"ราคา", "price_1"}, {"โซน", "zone"}},
                                  true};
const RegisterListTexts kLandList{" รายงานทะเบียนที่ดิน (ที่ธรณีสงฆ์)",
                                  "d_rep_land",
                                  "g_land",
                                  " รายงานทะเบียนที่ดิน (ที่ธรณีสงฆ์)",
                                  " ชื่อที่ดิน (ที่ธรณีสงฆ์)",
                                  {{"ราคา", "price_1"}, {"โซน", "zone"}},
                                  true};
const RegisterListTexts kArticleList{" รายงานทะเบียนสินค้า - บริการ",
                                     "d_rep_room",
                                     "g_accessory",
                                     "รายงานทะเบียนสินค้า - บริการ",
                                     "ชื่อสินค้า - บริการ",
                                     {{"จำนวนที่มี", "qty"}, {"หน่วยนับ", "unit"}},
                                     false};

ReportLayout RegisterListLayout(const RegisterListTexts& texts) {
  ReportLayout layout;
  layout.shape = ReportShape::BrowseAndPrint;
  layout.alias = texts.alias;
  layout.caption = texts.caption;
  layout.title = texts.title;
  layout.top = 1;
  layout.left = 1;
  layout.statement = {std::string("select * from ") + texts.table + " "};
  layout.name_field = "accessory_name";
  layout.name_condition = " where accessory_name like:mspr_name ";
  layout.name_parameter = "mspr_name";
  layout.print_buttons = {{"พิมพ์", "1"}};
  layout.run_at_setup = texts.opens_listed;
  return layout;
}

ReportLayout MemberListLayout(bool land) {
  ReportLayout layout;
  layout.shape = ReportShape::List;
  layout.alias = "d_rep_h_member";
  layout.caption = land ? " รายงานทะเบียนผู้ใช้งานที่ดิน" : " รายงานทะเบียนผู้ใช้งานศาลา อาคาร";
  layout.title = land ? " รายงานทะเบียนผู้ใช้งานที่ดิน" : "ทะเบียนผู้ใช้งานศาลา อาคาร";
  layout.sort_caption = " เรียงลำดับโดย";
  layout.sort_items = {"รหัส", "ชื่อ"};
  const std::string table = land ? "g_member_land" : "g_member";
  layout.statement = {"select * from " + table};
  layout.order_lines = {" order by mem_no ", " order by mem_name "};
  layout.print_buttons = {{"รายงาน", "1"}};
  return layout;
}

}  // namespace

TRegisterListReport::TRegisterListReport(TComponent* owner, const WindowQueryFactory& make_query,
                                         const RegisterListTexts& texts)
    : ReportWindow(owner, RegisterListLayout(texts), make_query) {
  PrintedColumn(*this, "รหัส", "accessory_no", 0);
  PrintedColumn(*this, texts.name_title, "accessory_name", 100);
  int left = 400;
  for (const auto& [title, field] : texts.more_columns) {
    PrintedColumn(*this, title, field, left);
    left += 120;
  }
}

Trep_room::Trep_room(TComponent* owner) : Trep_room(owner, SqlQueries()) {}
Trep_room::Trep_room(TComponent* owner, const WindowQueryFactory& make_query)
    : TRegisterListReport(owner, make_query, kRoomList) {}

Trep_land::Trep_land(TComponent* owner) : Trep_land(owner, SqlQueries()) {}
Trep_land::Trep_land(TComponent* owner, const WindowQueryFactory& make_query)
    : TRegisterListReport(owner, make_query, kLandList) {}

Trep_h_accessory::Trep_h_accessory(TComponent* owner) : Trep_h_accessory(owner, SqlQueries()) {}
Trep_h_accessory::Trep_h_accessory(TComponent* owner, const WindowQueryFactory& make_query)
    : TRegisterListReport(owner, make_query, kArticleList) {}

void Trep_h_accessory::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>&) {
  if (lines.back() != Layout().name_condition) lines.push_back(" where accessory_type <> \"01\" ");
}

TRep_H_Member::TRep_H_Member(TComponent* owner) : TRep_H_Member(owner, SqlQueries()) {}
TRep_H_Member::TRep_H_Member(TComponent* owner, const WindowQueryFactory& make_query)
    : TRep_H_Member(owner, make_query, false) {}

TRep_H_Member::TRep_H_Member(TComponent* owner, const WindowQueryFactory& make_query, bool land)
    : ReportWindow(owner, MemberListLayout(land), make_query),
      RadioGroup2(&MakeControl<TRadioGroup>(*this, "RadioGroup2", 180, 2, 160, 88, &Panel1)),
      QRLabel7(new TQRLabel(&DetailBand)),
      QRLabel8(new TQRLabel(&DetailBand)) {
  RadioGroup2->SetCaption(" การแสดงผล");
  RadioGroup2->SetItems({"เฉพาะชื่อ", "ชื่อ และที่อยู่"});
  RadioGroup2->SetItemIndex(0);
  PrintedColumn(*this, "รหัส", "mem_no", 0);
  PrintedColumn(*this, land ? "ชื่อผู้ใช้งาน" : "ชื่อฆราวาส", "mem_name", 100);
  QRLabel7->SetName("QRLabel7");
  QRLabel7->SetBounds(100, 24, 60, 17);
  QRLabel8->SetName("QRLabel8");
  QRLabel8->SetBounds(160, 24, 500, 17);
  DetailBand.BeforePrint = Bind(this, &TRep_H_Member::DetailBand1BeforePrint);
}

void TRep_H_Member::DetailBand1BeforePrint(TQRBand*, bool&) {
  const bool with_address = RadioGroup2->ItemIndex() == 1;
  DetailBand.SetHeight(with_address ? kAddressBandHeight : kNameBandHeight);
  QRLabel7->SetEnabled(with_address);
  QRLabel8->SetEnabled(with_address);
  if (!with_address) {
    QRLabel7->SetCaption("");
    QRLabel8->SetCaption("");
    return;
  }
  TDataSet& rows = Query1.Rows();
  const auto text = [&rows](const char* column) { return rows.FieldByName(column)->AsString(); };
  std::string line = JoinAddressParts({text("mem_add1"), text("mem_add2"), text("mem_add4"), text("mem_zip")});
  const std::string tel = Trim(text("mem_tel"));
  if (!tel.empty()) line += " Tel. " + tel;
  QRLabel7->SetCaption("ที่อยู่");
  QRLabel8->SetCaption(line);
}

TRep_H_Member_Land::TRep_H_Member_Land(TComponent* owner) : TRep_H_Member_Land(owner, SqlQueries()) {}
TRep_H_Member_Land::TRep_H_Member_Land(TComponent* owner, const WindowQueryFactory& make_query)
    : TRep_H_Member(owner, make_query, true) {}
