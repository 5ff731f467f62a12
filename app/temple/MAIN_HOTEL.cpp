#include "app/temple/MAIN_HOTEL.h"

#include "app/core/AboutMe.h"
#include "app/core/DatabaseToolsWindow.h"
#include "app/core/Poke.h"
#include "app/core/ProgramSettings.h"
#include "app/core/Ref_Member.h"
#include "app/core/Ref_Office.h"
#include "app/core/Ref_Person.h"
#include "app/core/Rep_Person.h"
#include "app/core/WindowDatabase.h"
#include "app/core/myVar.h"
#include "app/temple/ItemRegisters.h"
#include "app/temple/passwd.h"

namespace {

constexpr const char* kAlias = "d_main";
constexpr const char* kLoginHint = "User Name - admin  ;  Password = 8052";
constexpr int kFontHeight = 13;
// The staff number of the logged-out window.
constexpr const char* kLoggedOutStaffNo = "007";

// A logout leaves mm_office as the last login set it; at start it is closed.
const MenuStates kLoggedOutMenus{{"m_login", "m_main", "mm_use_room", "mm_use_land", "mm_cash", "mm_data_tools",
                                  "m_ref", "mm_office", "m_report", "m_help"},
                                 "1100010-01"};

}  // namespace

// The menu items whose windows exist; the others stay disabled.
WindowFactories TempleWindowFactories() {
  return {
      {"Login1", ChildWindow<Tpasswd>()},
      {"mm_cash", ChildWindow<TPoke>()},
      {"mm_data_tools", ChildWindow<Tdata_hotel_tools>()},
      {"mm_person", ChildWindow<TRef_Person>()},
      {"mm_customer", ChildWindow<TRef_Member>()},
      {"mm_room", ChildWindow<TRef_Room>()},
      {"mm_public", ChildWindow<TRef_Public>()},
      {"mm_accessory", ChildWindow<TRef_Accessory>()},
      {"N35", ChildWindow<TRef_Land>()},
      {"mm_office", ChildWindow<TRef_Office>()},
      {"N53", ChildWindow<TRep_Person>()},
      {"QUILLMARK1", ChildWindow<TAboutMe>()},
  };
}

TMAIN_HOTEL* StartTempleProgram() {
  Application().SetTitle(kTempleTitle);
  return FormsApplication().CreateForm<TMAIN_HOTEL>();
}

TMAIN_HOTEL::TMAIN_HOTEL(TComponent* owner, WindowFactories factories)
    : TMdiFrame(owner, {std::move(factories), kLoggedOutMenus, kTempleHelpFile}),
      Database1(new TVTRDatabase(this)),
      sys_sys(new TVTRQuery(this)),
      DataSource1(new TDataSource(this)) {
  SetCaption(kTempleCaption);
  SetColor(RGBColor(0, 64, 64));
  TFont font = Font();
  font.SetName("MS Sans Serif");
  font.SetHeight(kFontHeight);
  SetFont(font);
  SetPosition(poScreenCenter);
  SetWindowState(wsMaximized);

  SetUpWindowDatabase(*Database1, kAlias, /*keep_connection=*/false);
  SetUpSettingsQuery(*sys_sys, kAlias);

  m_login = Item(nullptr, "m_login", "Login");
  m_login->SetHint(kLoginHint);
  Login1 = WindowItem(m_login, "Login1", "Login", Bind(this, &TMAIN_HOTEL::Login1Click));
  BuildMainMenu();
  BuildReferenceMenu();
  BuildReportMenu();
  BuildHelpMenu();
  OnCreate = Bind(this, &TMAIN_HOTEL::FormCreate);
}

void TMAIN_HOTEL::BuildMainMenu() {
  m_main = Item(nullptr, "m_main", "รายการ");
  mm_book_stock = Item(m_main, "mm_book_stock", "***จองศาลา - อาคาร - ที่ดิน");
  mm_cont = Item(m_main, "mm_cont", "***ทำสัญญาเช่า / รับมัดจำ");
  mm_cancel = Item(m_main, "mm_cancel", "***ยกเลิกสัญญาเช่า / คืนมัดจำ");
  // Hidden, yet enabled by every login (see kTempleLevelMenus).
  mm_work_stock = Item(m_main, "mm_work_stock", "***ให้เช่าที่ดิน ที่ธรณีสงฆ์");
  mm_work_stock->SetVisible(false);
  mm_work_stock->SetEnabled(false);
  N25 = Item(m_main, "N25", "***แก้ไขรายการให้เช่าที่ดิน ที่ธรณีสงฆ์");
  Line(m_main);
  mm_use_room = WindowItem(m_main, "mm_use_room", "การใช้งานศาลา อาคาร ", Bind(this, &TMAIN_HOTEL::mm_use_roomClick));
  mm_use_land =
      WindowItem(m_main, "mm_use_land", "การใช้งานทีดิน (ที่ธรณีสงฆ์)", Bind(this, &TMAIN_HOTEL::mm_use_landClick));
  Line(m_main);
  mm_cash = WindowItem(m_main, "mm_cash", "เปิดลิ้นชักเก็บเงิน", Bind(this, &TMAIN_HOTEL::mm_cashClick));
  Line(m_main);
  mm_data_tools =
      WindowItem(m_main, "mm_data_tools", "จัดการฐานข้อมูล", Bind(this, &TMAIN_HOTEL::mm_data_toolsClick));
  Line(m_main);
  EXIT = Item(m_main, "EXIT", "เ&ลิกการทำงาน ( EXIT )", Bind(this, &TMAIN_HOTEL::EXITClick));
  Line(m_main);
  N4 = Item(m_main, "N4", "***** ลบข้อมูล");
  HideItems({mm_book_stock, mm_cont, mm_cancel, N25, N4});
}

void TMAIN_HOTEL::BuildReferenceMenu() {
  m_ref = Item(nullptr, "m_ref", "อ้างอิง");
  mm_person = WindowItem(m_ref, "mm_person", "ทะเบียนพระ - นักบวช", Bind(this, &TMAIN_HOTEL::mm_personClick));
  Line(m_ref);
  mm_customer = WindowItem(m_ref, "mm_customer", "ทะเบียนผู้ใช้งาน ศาลา - อาคาร",
                           Bind(this, &TMAIN_HOTEL::mm_customerClick));
  N26 = WindowItem(m_ref, "N26", "ทะเบียนผู้ใช้งาน ที่ดิน (ที่ธรณีสงฆ์)", Bind(this, &TMAIN_HOTEL::N26Click));
  Line(m_ref);
  mm_room = WindowItem(m_ref, "mm_room", "ทะเบียนศาลา - อาคาร", Bind(this, &TMAIN_HOTEL::mm_roomClick));
  mm_public = WindowItem(m_ref, "mm_public", "ทะเบียนค่าสาธารณูปโภค", Bind(this, &TMAIN_HOTEL::mm_publicClick));
  mm_accessory = WindowItem(m_ref, "mm_accessory", "ทะเบียนเครื่องประกอบพิธี - บริการ",
                            Bind(this, &TMAIN_HOTEL::mm_accessoryClick));
  N35 = WindowItem(m_ref, "N35", "ทะเบียนที่ดิน (ที่ธรณีสงฆ์)", Bind(this, &TMAIN_HOTEL::N35Click));
  Line(m_ref);
  mm_office = WindowItem(m_ref, "mm_office", "วัด - ศาสนสถาน", Bind(this, &TMAIN_HOTEL::mm_officeClick));
  mm_system = WindowItem(m_ref, "mm_system", "ระบบการทำงาน", Bind(this, &TMAIN_HOTEL::mm_systemClick));
}

void TMAIN_HOTEL::BuildReportMenu() {
  m_report = Item(nullptr, "m_report", "รายงาน");
  N12 = WindowItem(m_report, "N12", "ทะเบียนศาลา - อาคาร", Bind(this, &TMAIN_HOTEL::N12Click));
  N37 = WindowItem(m_report, "N37", "การใช้งานศาลา - อาคาร", Bind(this, &TMAIN_HOTEL::N37Click));
  N39 = WindowItem(m_report, "N39", "การใช้งานศาลา - อาคาร  และอื่น ๆ", Bind(this, &TMAIN_HOTEL::N39Click));
  N27 = Item(m_report, "N27", "***สถานะศาลา - อาคาร");
  Item(N27, "N32", "ว่าง");
  Item(N27, "N31", "ใช้งาน");
  Line(m_report);
  N11 = WindowItem(m_report, "N11", "ทะเบียนที่ดิน (ที่ธรณีสงฆ์)", Bind(this, &TMAIN_HOTEL::N11Click));
  N38 = WindowItem(m_report, "N38", "การใช้งานที่ดิน (ที่ธรณีสงฆ์)", Bind(this, &TMAIN_HOTEL::N38Click));
  N40 = WindowItem(m_report, "N40", "การใช้งานที่ดิน (ที่ธรณีสงฆ์) และอื่น ๆ", Bind(this, &TMAIN_HOTEL::N40Click));
  Line(m_report);
  N46 = WindowItem(m_report, "N46", "เครื่องประกอบพิธี - บริการ", Bind(this, &TMAIN_HOTEL::N46Click));
  Line(m_report);
  N7 = Item(m_report, "N7", "ฆราวาส - ผู้เช่าใช้งาน");
  N24 = WindowItem(N7, "N24", "ผู้เข้าใช้ศาลา อาคาร", Bind(this, &TMAIN_HOTEL::N24Click));
  N15 = WindowItem(N7, "N15", "ผู้เข้าใช้ที่ดิน (ที่ธรณีสงฆ์) ", Bind(this, &TMAIN_HOTEL::N15Click));
  mm_cust_label = Item(N7, "mm_cust_label", "***จ่าหน้าซองจดหมาย");
  N50 = Item(m_report, "N50", "พระ - นักบวช - เจ้าหน้าที่");
  N53 = WindowItem(N50, "N53", "ทะเบียนเจ้าหน้าที่", Bind(this, &TMAIN_HOTEL::N53Click));
  N56 = Item(N50, "N56", "//ผลงาน ค่าคอมมิสชั่น");
  Line(m_report);
  m_rep_buy = Item(m_report, "m_rep_buy", "รายจ่าย - นำเข้า / ซื้อ");
  m_rep_sale = Item(m_report, "m_rep_sale", "รายรับ - ใช้งาน / ให้เช่า");
  N20 = WindowItem(m_rep_sale, "N20", "ศาลา - อาคาร - ที่ดิน", Bind(this, &TMAIN_HOTEL::N20Click));
  N21 = WindowItem(m_rep_sale, "N21", "ค่าสาธารณูปโภค", Bind(this, &TMAIN_HOTEL::N21Click));
  N23 = WindowItem(m_rep_sale, "N23", "เครื่องอัฐบริขาร - เครื่องประกอบพิธี", Bind(this, &TMAIN_HOTEL::N23Click));
  Line(m_report);
  N5 = Item(m_report, "N5", "รายรับ - รายจ่าย");
  HideItems({N27, mm_cust_label, N56, m_rep_buy, N5});
}

void TMAIN_HOTEL::BuildHelpMenu() {
  m_help = Item(nullptr, "m_help", "Help");
  N19 = Item(m_help, "N19", "วิธีใช้งาน", Bind(this, &TMAIN_HOTEL::N19Click));
  QUILLMARK1 = WindowItem(m_help, "QUILLMARK1", "เกี่ยวกับโปรแกรม", Bind(this, &TMAIN_HOTEL::QUILLMARK1Click));
  Line(m_help);
  N16 = Item(m_help, "N16", "เวปไซต์  Quillmark", Bind(this, &TMAIN_HOTEL::N16Click));
}

void TMAIN_HOTEL::FormCreate(TObject*) {
  // Logged out before anything can fail: a window whose settings cannot be
  // read must not leave its menus open without a login.
  myVar.CurrentStaffNo = kLoggedOutStaffNo;
  ShowLoggedOut();
  mm_office->SetEnabled(false);
  EnableSpeedButtons(kSpeedButtons, {7});
  ReadProgramSettings(*sys_sys, *Database1);
}

void TMAIN_HOTEL::Login1Click(TObject*) {
  OpenWindow(*Login1);
}

void TMAIN_HOTEL::mm_use_roomClick(TObject*) {
  myVar.BusinessType = "1";
  OpenWindow(*mm_use_room);
}

void TMAIN_HOTEL::mm_use_landClick(TObject*) {
  myVar.BusinessType = "2";
  OpenWindow(*mm_use_land);
}

void TMAIN_HOTEL::mm_cashClick(TObject*) {
  OpenWindow(*mm_cash);
}

void TMAIN_HOTEL::mm_data_toolsClick(TObject*) {
  OpenWindow(*mm_data_tools);
}

void TMAIN_HOTEL::EXITClick(TObject*) {
  Close();
  FormsApplication().Terminate();
}

void TMAIN_HOTEL::mm_personClick(TObject*) {
  OpenWindow(*mm_person);
}

void TMAIN_HOTEL::mm_customerClick(TObject*) {
  myVar.MemberRegisterMode = 1;
  OpenWindow(*mm_customer);
}

void TMAIN_HOTEL::N26Click(TObject*) {
  myVar.MemberRegisterMode = 1;
  OpenWindow(*N26);
}

void TMAIN_HOTEL::mm_roomClick(TObject*) {
  OpenWindow(*mm_room);
}

void TMAIN_HOTEL::mm_publicClick(TObject*) {
  OpenWindow(*mm_public);
}

void TMAIN_HOTEL::mm_accessoryClick(TObject*) {
  OpenWindow(*mm_accessory);
}

void TMAIN_HOTEL::N35Click(TObject*) {
  OpenWindow(*N35);
}

void TMAIN_HOTEL::mm_officeClick(TObject*) {
  OpenWindow(*mm_office);
}

void TMAIN_HOTEL::mm_systemClick(TObject*) {
  OpenWindow(*mm_system);
}

void TMAIN_HOTEL::N12Click(TObject*) {
  OpenWindow(*N12);
}

void TMAIN_HOTEL::N37Click(TObject*) {
  myVar.UseLandReportMode = 1;
  OpenWindow(*N37);
}

void TMAIN_HOTEL::N39Click(TObject*) {
  myVar.UseAllReportMode = 1;
  OpenWindow(*N39);
}

void TMAIN_HOTEL::N11Click(TObject*) {
  OpenWindow(*N11);
}

void TMAIN_HOTEL::N38Click(TObject*) {
  myVar.UseLandReportMode = 2;
  OpenWindow(*N38);
}

void TMAIN_HOTEL::N40Click(TObject*) {
  myVar.UseAllReportMode = 2;
  OpenWindow(*N40);
}

void TMAIN_HOTEL::N46Click(TObject*) {
  OpenWindow(*N46);
}

void TMAIN_HOTEL::N24Click(TObject*) {
  OpenWindow(*N24);
}

void TMAIN_HOTEL::N15Click(TObject*) {
  OpenWindow(*N15);
}

void TMAIN_HOTEL::N53Click(TObject*) {
  OpenWindow(*N53);
}

void TMAIN_HOTEL::OpenSaleReport(const char* type, const TMenuItem& item) {
  myVar.SaleReportType = type;
  OpenWindow(item);
}

void TMAIN_HOTEL::N20Click(TObject*) {
  OpenSaleReport("0", *N20);
}

void TMAIN_HOTEL::N21Click(TObject*) {
  OpenSaleReport("1", *N21);
}

void TMAIN_HOTEL::N23Click(TObject*) {
  OpenSaleReport("2", *N23);
}

void TMAIN_HOTEL::N19Click(TObject*) {
  OpenHelpFile();
}

void TMAIN_HOTEL::QUILLMARK1Click(TObject*) {
  OpenWindow(*QUILLMARK1);
}

void TMAIN_HOTEL::N16Click(TObject*) {
  OpenWebSite();
}
