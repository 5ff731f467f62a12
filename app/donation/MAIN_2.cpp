#include "app/donation/MAIN_2.h"

#include "app/core/AboutMe.h"
#include "app/core/DatabaseToolsWindow.h"
#include "app/core/Poke.h"
#include "app/core/ProfitWindow.h"
#include "app/core/ProgramSettings.h"
#include "app/core/Ref_Office.h"
#include "app/core/Ref_Person.h"
#include "app/core/Rep_Person.h"
#include "app/core/WindowDatabase.h"
#include "app/core/myVar.h"
#include "app/donation/Find_Donate.h"
#include "app/donation/Ref_Attn.h"
#include "app/donation/Ref_Cust.h"
#include "app/donation/Ref_Donate.h"
#include "app/donation/Ref_H_Sys.h"
#include "app/donation/Ref_Part_Pict.h"
#include "app/donation/Ref_Supply.h"
#include "app/donation/Rep_Cust.h"
#include "app/donation/Rep_Donate.h"
#include "app/donation/Rep_Donate_Filter.h"
#include "app/donation/cdonate.h"
#include "app/donation/password_donate.h"
#include "app/donation/rbuy_sale.h"
#include "app/donation/rsale_gift.h"
#include "engine/access/Table.h"
#include "platform/db/Field.h"

namespace {

constexpr const char* kAlias = "d_main";
constexpr const char* kLoginHint = "User Name - admin  ;  Password = 8052";
constexpr int kFontHeight = 19;

const MenuStates kLoggedOutMenus{{"m_login", "m_main", "mm_data_tools", "m_help", "mm_donate", "mm_fill",
                                  "mm_sale", "mm_cash", "m_ref", "m_report"},
                                 "1111000000"};

// A party register opened by the menu: modal, with no window to write a pick into.
template <typename T>
WindowFactory PartyRegisterFromMenu() {
  return {true, [](TMdiFrame&) -> TForm* { return FormsApplication().CreateForm<T>(static_cast<PickTarget*>(nullptr)); }};
}

}  // namespace

// The menu items whose windows exist; the others stay disabled.
WindowFactories DonationWindowFactories() {
  return {
      {"Login1", ChildWindow<Tpassword_donate>()},
      {"mm_donate", ChildWindow<Tdonate>()},
      {"mm_cash", ChildWindow<TPoke>()},
      {"mm_data_tools", ChildWindow<Tdata_hotel_tools>()},
      {"mm_person", ChildWindow<TRef_Person>()},
      {"mm_office", ChildWindow<TRef_Office>()},
      {"mm_system", ChildWindow<TRef_H_Sys>()},
      {"N1", ChildWindow<TFind_Donate>()},
      {"N110", ChildWindow<TRep_Donate>()},
      {"N15", ChildWindow<TRep_Donate_Filter>()},
      {"N24", ChildWindow<TRep_Cust>()},
      {"N29", ChildWindow<Trsale_gift>()},
      {"m_rep_buy", ChildWindow<Trbuy_sale>()},
      {"m_rep_sale", ChildWindow<Trbuy_sale>()},
      {"N53", ChildWindow<TRep_Person>()},
      {"N5", ChildWindow<Tprofit>()},
      {"QUILLMARK1", ChildWindow<TAboutMe>()},
      {"N26", ChildWindow<TRef_Attn>()},
      {"mm_ref_donate", ChildWindow<TRef_Donate>()},
      {"N10", ChildWindow<TRef_Part_Pict>()},
      {"mm_customer", PartyRegisterFromMenu<TRef_Cust>()},
      {"mm_supply", PartyRegisterFromMenu<TRef_Supply>()},
  };
}

TMAIN_2* StartDonationProgram() {
  Application().SetTitle(kDonationTitle);
  return FormsApplication().CreateForm<TMAIN_2>();
}

TMAIN_2::TMAIN_2(TComponent* owner, WindowFactories factories)
    : TMdiFrame(owner, {std::move(factories), kLoggedOutMenus, kDonationHelpFile}),
      Database1(new TVTRDatabase(this)),
      sys_sys(new TVTRQuery(this)),
      DataSource1(new TDataSource(this)) {
  SetCaption(kDonationCaption);
  SetColor(RGBColor(0, 64, 64));
  TFont font = Font();
  font.SetName("CordiaUPC");
  font.SetHeight(kFontHeight);
  SetFont(font);
  SetPosition(poScreenCenter);
  SetWindowState(wsMaximized);

  SetUpWindowDatabase(*Database1, kAlias, /*keep_connection=*/false);
  SetUpSettingsQuery(*sys_sys, kAlias);
  DataSource1->SetAutoEdit(false);
  DataSource1->SetDataSet(sys_sys);

  BuildMenu();
  OnCreate = Bind(this, &TMAIN_2::FormCreate);
}

void TMAIN_2::BuildMenu() {
  m_login = Item(nullptr, "m_login", "Login");
  m_login->SetHint(kLoginHint);
  Login1 = WindowItem(m_login, "Login1", "Login", Bind(this, &TMAIN_2::Login1Click));

  m_main = Item(nullptr, "m_main", "รายการ");
  mm_donate = WindowItem(m_main, "mm_donate", "บริจาค", Bind(this, &TMAIN_2::mm_donateClick));
  Line(m_main);
  mm_fill = WindowItem(m_main, "mm_fill", "นำเข้าวัตถุมงคล สินค้า อื่น ๆ", Bind(this, &TMAIN_2::mm_fillClick));
  mm_sale = WindowItem(m_main, "mm_sale", "จำหน่ายวัตถุมงคล สินค้า อื่น ๆ", Bind(this, &TMAIN_2::mm_saleClick));
  N20 = Item(m_main, "N20", "***สั่งจองวัตถุมงคล");
  Line(m_main);
  mm_cash = WindowItem(m_main, "mm_cash", "เปิดลิ้นชักเก็บเงิน", Bind(this, &TMAIN_2::mm_cashClick));
  Line(m_main);
  mm_data_tools =
      WindowItem(m_main, "mm_data_tools", "จัดการฐานข้อมูล", Bind(this, &TMAIN_2::mm_data_toolsClick));
  Line(m_main);
  mm_exit = Item(m_main, "mm_exit", "เ&ลิกการทำงาน ( EXIT )", Bind(this, &TMAIN_2::mm_exitClick));
  Line(m_main);
  N14 = Item(m_main, "N14", "ลบข้อมูล");

  m_ref = Item(nullptr, "m_ref", "อ้างอิง");
  N26 = WindowItem(m_ref, "N26", "ตารางคำนำหน้า", Bind(this, &TMAIN_2::N26Click));
  mm_ref_donate =
      WindowItem(m_ref, "mm_ref_donate", "ทะเบียนวัตถุประสงค์การบริจาค", Bind(this, &TMAIN_2::mm_ref_donateClick));
  N10 = WindowItem(m_ref, "N10", "ทะเบียน วัตถุมงคล - สินค้า อื่น ๆ", Bind(this, &TMAIN_2::N10Click));
  Line(m_ref);
  mm_customer =
      WindowItem(m_ref, "mm_customer", "ทะเบียนฆราวาส - ผู้บริจาค", Bind(this, &TMAIN_2::mm_customerClick));
  mm_supply = WindowItem(m_ref, "mm_supply", "ทะเบียนผู้ขาย (Supply)", Bind(this, &TMAIN_2::mm_supplyClick));
  mm_person = WindowItem(m_ref, "mm_person", "ทะเบียนพระ - นักบวช", Bind(this, &TMAIN_2::mm_personClick));
  Line(m_ref);
  mm_office = WindowItem(m_ref, "mm_office", "วัด - ศาสนสถาน", Bind(this, &TMAIN_2::mm_officeClick));
  mm_system = WindowItem(m_ref, "mm_system", "ระบบการทำงาน", Bind(this, &TMAIN_2::mm_systemClick));

  m_report = Item(nullptr, "m_report", "รายงาน");
  TMenuItem* donations = Item(m_report, "", "บริจาค");
  N1 = WindowItem(donations, "N1", "ค้นหารายชื่อผู้บริจาค", Bind(this, &TMAIN_2::N1Click));
  N110 = WindowItem(donations, "N110", "รายงานการบริจาค", Bind(this, &TMAIN_2::N110Click));
  N15 = WindowItem(donations, "N15", "รายงานการบริจาค แยกตามวัตถุประสงค์", Bind(this, &TMAIN_2::N15Click));
  TMenuItem* goods = Item(m_report, "", "วัตถุมงคล - สินค้า");
  N59 = WindowItem(goods, "N59", "ทะเบียนวัตถุมงคล - สินค้า", Bind(this, &TMAIN_2::N59Click));
  N25 = Item(goods, "N25", "***สั่งจองวัตถุมงคล");
  TMenuItem* laity = Item(m_report, "", "ฆราวาส - ผู้เช่า");
  N24 = WindowItem(laity, "N24", "ทะเบียนฆราวาส - ผู้บริจาค", Bind(this, &TMAIN_2::N24Click));
  TMenuItem* staff = Item(m_report, "", "เจ้าหน้าที่ พระ - นักบวช");
  N53 = WindowItem(staff, "N53", "ทะเบียนเจ้าหน้าที่ พระ - นักบวช", Bind(this, &TMAIN_2::N53Click));
  Line(m_report);
  N29 = WindowItem(m_report, "N29", "จำหน่าย และการรับของที่ระลึก", Bind(this, &TMAIN_2::N29Click));
  m_rep_buy = WindowItem(m_report, "m_rep_buy", "รายจ่าย - นำเข้า / ซื้อ", Bind(this, &TMAIN_2::m_rep_buyClick));
  m_rep_sale =
      WindowItem(m_report, "m_rep_sale", "รายรับ - ใช้งาน / ขาย", Bind(this, &TMAIN_2::m_rep_saleClick));
  Line(m_report);
  N5 = WindowItem(m_report, "N5", "รายรับ - รายจ่าย", Bind(this, &TMAIN_2::N5Click));

  m_help = Item(nullptr, "m_help", "Help");
  N19 = Item(m_help, "N19", "วิธีใช้งาน", Bind(this, &TMAIN_2::N19Click));
  QUILLMARK1 = WindowItem(m_help, "QUILLMARK1", "เกี่ยวกับโปรแกรม", Bind(this, &TMAIN_2::QUILLMARK1Click));
  Line(m_help);
  N16 = Item(m_help, "N16", "เวปไซต์  Quillmark", Bind(this, &TMAIN_2::N16Click));

  HideItems({N20, N14, N25, N5});
}

void TMAIN_2::FormCreate(TObject*) {
  // Logged out before anything can fail: a window whose settings cannot be
  // read must not leave its menus open without a login.
  myVar.CurrentStaffNo = kLoggedOutStaffNo;
  ShowLoggedOut();
  // At start button 7 stays usable, and 10, which no login changes.
  EnableSpeedButtons(kSpeedButtons, {7, 10});
  ReadProgramSettings(*sys_sys, *Database1);
}

void TMAIN_2::Login1Click(TObject*) {
  OpenWindow(*Login1);
}

void TMAIN_2::mm_donateClick(TObject*) {
  myVar.WorkMode = "5";
  OpenWindow(*mm_donate);
}

void TMAIN_2::mm_fillClick(TObject*) {
  myVar.WorkMode = "3";
  OpenWindow(*mm_fill);
}

void TMAIN_2::mm_saleClick(TObject*) {
  myVar.WorkMode = "1";
  OpenWindow(*mm_sale);
}

void TMAIN_2::mm_cashClick(TObject*) {
  OpenWindow(*mm_cash);
}

void TMAIN_2::mm_data_toolsClick(TObject*) {
  OpenWindow(*mm_data_tools);
}

void TMAIN_2::mm_exitClick(TObject*) {
  Close();
  FormsApplication().Terminate();
}

void TMAIN_2::N26Click(TObject*) {
  OpenWindow(*N26);
}

void TMAIN_2::mm_ref_donateClick(TObject*) {
  OpenWindow(*mm_ref_donate);
}

void TMAIN_2::N10Click(TObject*) {
  myVar.PickCaller = "0";
  OpenWindow(*N10);
}

void TMAIN_2::mm_customerClick(TObject*) {
  myVar.MemberRegisterMode = 1;
  myVar.PickCaller = "0";
  OpenWindow(*mm_customer);
}

void TMAIN_2::mm_supplyClick(TObject*) {
  myVar.SupplyPickCaller = "1";
  OpenWindow(*mm_supply);
}

void TMAIN_2::mm_personClick(TObject*) {
  OpenWindow(*mm_person);
}

void TMAIN_2::mm_officeClick(TObject*) {
  OpenWindow(*mm_office);
}

void TMAIN_2::mm_systemClick(TObject*) {
  OpenWindow(*mm_system);
}

void TMAIN_2::N1Click(TObject*) {
  OpenWindow(*N1);
}

void TMAIN_2::N110Click(TObject*) {
  OpenWindow(*N110);
}

void TMAIN_2::N15Click(TObject*) {
  OpenWindow(*N15);
}

void TMAIN_2::N59Click(TObject*) {
  OpenWindow(*N59);
}

void TMAIN_2::N24Click(TObject*) {
  OpenWindow(*N24);
}

void TMAIN_2::N53Click(TObject*) {
  OpenWindow(*N53);
}

void TMAIN_2::N29Click(TObject*) {
  OpenWindow(*N29);
}

void TMAIN_2::m_rep_buyClick(TObject*) {
  myVar.BuySaleReportKind = "0";
  OpenWindow(*m_rep_buy);
}

void TMAIN_2::m_rep_saleClick(TObject*) {
  myVar.BuySaleReportKind = "1";
  OpenWindow(*m_rep_sale);
}

void TMAIN_2::N5Click(TObject*) {
  OpenWindow(*N5);
}

void TMAIN_2::N19Click(TObject*) {
  OpenHelpFile();
}

void TMAIN_2::QUILLMARK1Click(TObject*) {
  OpenWindow(*QUILLMARK1);
}

void TMAIN_2::N16Click(TObject*) {
  OpenWebSite();
}
