#pragma once
// TMAIN_2: the main window of the donation and sales program, from start to
// end. It starts logged out, reads the business type and skin of the settings
// at creation, and opens every window of the program from its menu; the login
// window sets its menus by the user's level.
#include "app/core/MdiFrame.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DataSource.h"

inline constexpr const char* kDonationTitle = "Quill Orvane2.02 <DONATE>";
inline constexpr const char* kDonationCaption =
    " Quill Orvane 2.02  โปรแกรมบริหารวัดและศาสนสถาน  (บริจาค-จำหน่าย)  Quillmark. 089-5550123";
inline constexpr const char* kDonationHelpFile = "HB_Belcrest.html";
// The staff number of the logged-out window.
inline constexpr const char* kLoggedOutStaffNo = "007";

// The windows the menu opens, by item name.
WindowFactories DonationWindowFactories();

class TMAIN_2 : public TMdiFrame {
 public:
  explicit TMAIN_2(TComponent* owner, WindowFactories factories = DonationWindowFactories());

  TVTRDatabase* Database1;
  // The settings the program reads at start: type_business and skin.
  TVTRQuery* sys_sys;
  TDataSource* DataSource1;

  TMenuItem* m_login;
  TMenuItem* Login1;
  TMenuItem* m_main;
  TMenuItem* mm_donate;
  TMenuItem* mm_fill;
  TMenuItem* mm_sale;
  TMenuItem* N20;
  TMenuItem* mm_cash;
  TMenuItem* mm_data_tools;
  TMenuItem* mm_exit;
  TMenuItem* N14;
  TMenuItem* m_ref;
  TMenuItem* N26;
  TMenuItem* mm_ref_donate;
  TMenuItem* N10;
  TMenuItem* mm_customer;
  TMenuItem* mm_supply;
  TMenuItem* mm_person;
  TMenuItem* mm_office;
  TMenuItem* mm_system;
  TMenuItem* m_report;
  TMenuItem* N1;
  TMenuItem* N110;
  TMenuItem* N15;
  TMenuItem* N59;
  TMenuItem* N25;
  TMenuItem* N24;
  TMenuItem* N53;
  TMenuItem* N29;
  TMenuItem* m_rep_buy;
  TMenuItem* m_rep_sale;
  TMenuItem* N5;
  TMenuItem* m_help;
  TMenuItem* N19;
  TMenuItem* QUILLMARK1;
  TMenuItem* N16;

  void FormCreate(TObject* sender);
  void Login1Click(TObject* sender);
  void mm_donateClick(TObject* sender);
  void mm_fillClick(TObject* sender);
  void mm_saleClick(TObject* sender);
  void mm_cashClick(TObject* sender);
  void mm_data_toolsClick(TObject* sender);
  void mm_exitClick(TObject* sender);
  void N26Click(TObject* sender);
  void mm_ref_donateClick(TObject* sender);
  void N10Click(TObject* sender);
  void mm_customerClick(TObject* sender);
  void mm_supplyClick(TObject* sender);
  void mm_personClick(TObject* sender);
  void mm_officeClick(TObject* sender);
  void mm_systemClick(TObject* sender);
  void N1Click(TObject* sender);
  void N110Click(TObject* sender);
  void N15Click(TObject* sender);
  void N59Click(TObject* sender);
  void N24Click(TObject* sender);
  void N53Click(TObject* sender);
  void N29Click(TObject* sender);
  void m_rep_buyClick(TObject* sender);
  void m_rep_saleClick(TObject* sender);
  void N5Click(TObject* sender);
  void N19Click(TObject* sender);
  void QUILLMARK1Click(TObject* sender);
  void N16Click(TObject* sender);

 private:
  void BuildMenu();
};

// Sets the application's title and creates the main window, the first form of
// the program. Requires the window application and the engine's installation.
TMAIN_2* StartDonationProgram();
