#pragma once
// Tdata_hotel_tools: repair and compaction of the database file from the
// programs' menus. The window's own connection and query are closed while the
// operation runs and opened again afterwards, whatever happened, so the
// office name shows once an operation has run. The engine refuses to replace
// a file that another connection holds open; that refusal is shown to the user
// and the file stays as it was.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/core/WindowQuery.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/Form.h"

class TVTRDatabase;

// The engine's maintenance of the file of a closed database.
struct DatabaseMaintenance {
  // Repairs the file; `log` (UTF-8) lists what could not be copied whole and
  // is empty when all was.
  std::function<void(TVTRDatabase& database, std::string& log)> repair;
  // Compacts the file; a failure raises the engine's error.
  std::function<void(TVTRDatabase& database)> compact;
};

// The database component's own repair and compaction, which refuse a file
// that another connection holds open.
DatabaseMaintenance EngineMaintenance();

inline constexpr std::string_view kToolsCaption = " Quill Data Tools";
inline constexpr std::string_view kToolsDoneMessage = "เสร็จแล้ว ...";
inline constexpr std::string_view kOfficeNameStatement = "Select of_name from tresksys";

class Tdata_hotel_tools : public TForm {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> query_;
  DatabaseMaintenance maintenance_;

 public:
  Tdata_hotel_tools(TComponent* owner, const WindowQueryFactory& make_query,
                    DatabaseMaintenance maintenance = EngineMaintenance());
  // The programs' window, on the SQL engine and the engine's maintenance.
  explicit Tdata_hotel_tools(TComponent* owner);
  ~Tdata_hotel_tools() override;

  TVTRDatabase& Db;
  WindowQuery& Query1;
  TDataSource& DataSource1;
  TDBEdit& DBEdit1;
  TButton& Button2;  // repair
  TButton& Button3;  // compact
  TButton& Button1;  // quit

 private:
  void Button2Click(TObject* sender);
  void Button3Click(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  // Connects Db, disables both buttons, then closes Db for `operation`;
  // afterwards Db and Query1 are opened again in every case.
  void RunOnClosedDatabase(const std::function<void()>& operation);
  void EnableOperations(bool enabled);
  void Reopen();
};
