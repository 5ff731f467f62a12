#include "app/core/DatabaseToolsWindow.h"

#include <exception>

#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "engine/access/Database.h"
#include "engine/access/ErrorMessage.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Label.h"

namespace {

const std::string kToolsAlias = "d_h_tools";

TButton& MakeButton(TForm& form, const std::string& name, std::string_view caption, int top) {
  auto& button = MakeControl<TButton>(form, name, 16, top, 100, 28);
  button.SetCaption(std::string(caption));
  return button;
}

}  // namespace

DatabaseMaintenance EngineMaintenance() {
  // A repair that fails names the failure in the log; a compaction that fails raises.
  return {[](TVTRDatabase& database, std::string& log) { database.RepairDatabase(log); },
          [](TVTRDatabase& database) { database.CompactDatabase(); }};
}

Tdata_hotel_tools::Tdata_hotel_tools(TComponent* owner, const WindowQueryFactory& make_query,
                                     DatabaseMaintenance maintenance)
    : TForm(owner),
      query_(make_query(*this, kToolsAlias)),
      maintenance_(std::move(maintenance)),
      Db(MakeWindowDatabase(*this, "Db", kToolsAlias)),
      Query1(*query_),
      DataSource1(*new TDataSource(this)),
      DBEdit1(MakeControl<TDBEdit>(*this, "DBEdit1", 110, 16, 340, 24)),
      Button2(MakeButton(*this, "Button2", "Repair", 56)),
      Button3(MakeButton(*this, "Button3", "Compact", 96)),
      Button1(MakeButton(*this, "Button1", "เลิก", 136)) {
  SetFormStyle(fsMDIChild);
  SetPosition(poMainFormCenter);
  SetCaption(std::string(kToolsCaption));
  SetClientWidth(470);
  SetClientHeight(176);
  MakeLabel(*this, "Label1", "สถานประกอบการ", 16, 20, 340);
  MakeLabel(*this, "Label2", "สำหรับแก้ไขฐานข้อมูลที่มีปัญหา Index ไม่สามารถค้นหาข้อมูลได้", 124, 62, 340);
  MakeLabel(*this, "Label3", "สำหรับแก้ไขฐานข้อมูลที่มีขนาดโตผิดปกติ", 124, 102, 340);
  DataSource1.SetDataSet(&Query1.Rows());
  DBEdit1.SetDataSource(&DataSource1);
  DBEdit1.SetDataField("of_name");
  DBEdit1.SetReadOnly(true);
  Button2.OnClick = Bind(this, &Tdata_hotel_tools::Button2Click);
  Button3.OnClick = Bind(this, &Tdata_hotel_tools::Button3Click);
  Button1.OnClick = [this](TObject*) { Close(); };
  SetActiveControl(&Button3);
  OnClose = Bind(this, &Tdata_hotel_tools::FormClose);
}

Tdata_hotel_tools::Tdata_hotel_tools(TComponent* owner) : Tdata_hotel_tools(owner, SqlQueries()) {}

Tdata_hotel_tools::~Tdata_hotel_tools() = default;

void Tdata_hotel_tools::Button2Click(TObject*) {
  RunOnClosedDatabase([this] {
    std::string log;
    maintenance_.repair(Db, log);
    if (log.empty()) {
      ShowMessage(std::string(kToolsDoneMessage));
    } else {
      MessageDlg(log, mtError, {mbOK});
      ShowMessage(log);
    }
    EnableOperations(true);
  });
}

void Tdata_hotel_tools::Button3Click(TObject*) {
  RunOnClosedDatabase([this] {
    try {
      maintenance_.compact(Db);
    } catch (const std::exception& error) {
      ShowMessage(ExceptionMessageUtf8(error));
      throw;
    }
    ShowMessage(std::string(kToolsDoneMessage));
    EnableOperations(true);
  });
}

void Tdata_hotel_tools::RunOnClosedDatabase(const std::function<void()>& operation) {
  try {
    Db.Open();
    EnableOperations(false);
    Db.Close();
    operation();
  } catch (...) {
    // The operation's error is the one the user must see; a failing reopen
    // after it adds nothing.
    try {
      Reopen();
    } catch (...) {
    }
    throw;
  }
  Reopen();
}

void Tdata_hotel_tools::EnableOperations(bool enabled) {
  Button2.SetEnabled(enabled);
  Button3.SetEnabled(enabled);
}

void Tdata_hotel_tools::Reopen() {
  Db.Open();
  Query1.Open({{std::string(kOfficeNameStatement)}, {}});
}

void Tdata_hotel_tools::FormClose(TObject*, TCloseAction& action) {
  Db.Close();
  action = caFree;
}
