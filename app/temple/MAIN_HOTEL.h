#pragma once
// TMAIN_HOTEL: the main window of the temple program, from start to end. It
// starts logged out, reads the business type and skin of the settings at
// creation, and opens every window of the program from its menu, after
// setting the program-wide variables the window reads when it opens; the
// login window sets its menus by the user's level.
#include "app/core/MdiFrame.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DataSource.h"

inline constexpr const char* kTempleTitle = "Quill Orvane 2.02 (Temple)";
inline constexpr const char* kTempleCaption =
    " Quill Orvane 2.02  โปรแกรมบริหารวัดและศาสนสถาน  ( ศาลา อาคาร ที่ดิน )    Quillmark.  Tel. 089-5550123";
inline constexpr const char* kTempleHelpFile = "HB_Orvane.html";

// The windows the menu opens, by item name.
WindowFactories TempleWindowFactories();

class TMAIN_HOTEL : public TMdiFrame {
 public:
  explicit TMAIN_HOTEL(TComponent* owner, WindowFactories factories = TempleWindowFactories());

  TVTRDatabase* Database1;
  // The settings the program reads at start: type_business and skin.
  TVTRQuery* sys_sys;
  TDataSource* DataSource1;

  TMenuItem* m_login;
  TMenuItem* Login1;
  TMenuItem* m_main;
  TMenuItem* mm_book_stock;
  TMenuItem* mm_cont;
  TMenuItem* mm_cancel;
  TMenuItem* mm_work_stock;
  TMenuItem* N25;
  TMenuItem* mm_use_room;
  TMenuItem* mm_use_land;
  TMenuItem* mm_cash;
  TMenuItem* mm_data_tools;
  TMenuItem* EXIT;
  TMenuItem* N4;
  TMenuItem* m_ref;
  TMenuItem* mm_person;
  TMenuItem* mm_customer;
  TMenuItem* N26;
  TMenuItem* mm_room;
  TMenuItem* mm_public;
  TMenuItem* mm_accessory;
  TMenuItem* N35;
  TMenuItem* mm_office;
  TMenuItem* mm_system;
  TMenuItem* m_report;
  TMenuItem* N12;
  TMenuItem* N37;
  TMenuItem* N39;
  TMenuItem* N27;
  TMenuItem* N11;
  TMenuItem* N38;
  TMenuItem* N40;
  TMenuItem* N46;
  TMenuItem* N7;
  TMenuItem* N24;
  TMenuItem* N15;
  TMenuItem* mm_cust_label;
  TMenuItem* N50;
  TMenuItem* N53;
  TMenuItem* N56;
  TMenuItem* m_rep_buy;
  TMenuItem* m_rep_sale;
  TMenuItem* N20;
  TMenuItem* N21;
  TMenuItem* N23;
  TMenuItem* N5;
  TMenuItem* m_help;
  TMenuItem* N19;
  TMenuItem* QUILLMARK1;
  TMenuItem* N16;

  void FormCreate(TObject* sender);
  void Login1Click(TObject* sender);
  void mm_use_roomClick(TObject* sender);
  void mm_use_landClick(TObject* sender);
  void mm_cashClick(TObject* sender);
  void mm_data_toolsClick(TObject* sender);
  void EXITClick(TObject* sender);
  void mm_personClick(TObject* sender);
  void mm_customerClick(TObject* sender);
  void N26Click(TObject* sender);
  void mm_roomClick(TObject* sender);
  void mm_publicClick(TObject* sender);
  void mm_accessoryClick(TObject* sender);
  void N35Click(TObject* sender);
  void mm_officeClick(TObject* sender);
  void mm_systemClick(TObject* sender);
  void N12Click(TObject* sender);
  void N37Click(TObject* sender);
  void N39Click(TObject* sender);
  void N11Click(TObject* sender);
  void N38Click(TObject* sender);
  void N40Click(TObject* sender);
  void N46Click(TObject* sender);
  void N24Click(TObject* sender);
  void N15Click(TObject* sender);
  void N53Click(TObject* sender);
  void N20Click(TObject* sender);
  void N21Click(TObject* sender);
  void N23Click(TObject* sender);
  void N19Click(TObject* sender);
  void QUILLMARK1Click(TObject* sender);
  void N16Click(TObject* sender);

 private:
  void BuildMainMenu();
  void BuildReferenceMenu();
  void BuildReportMenu();
  void BuildHelpMenu();
  void OpenSaleReport(const char* type, const TMenuItem& item);
};

// Sets the application's title and creates the main window, the first form of
// the program. Requires the window application and the engine's installation.
TMAIN_HOTEL* StartTempleProgram();
