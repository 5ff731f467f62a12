#include "app/donation/PrintSettings.h"

#include <string>
#include <vector>

#include "app/core/WindowQuery.h"
#include "app/core/myVar.h"
#include "platform/db/DB.h"

namespace {

const std::vector<std::string> kPrintSettings{" select * from sys_sys "};

}  // namespace

void ReadPrintSettings(WindowQuery& settings_query) {
  settings_query.Open({kPrintSettings, {}});
  TDataSet& settings = settings_query.Rows();
  if (!settings.IsEmpty()) {
    const auto text = [&settings](const char* column) { return settings.FieldByName(column)->AsString(); };
    const auto number = [&settings](const char* column) { return settings.FieldByName(column)->AsFloat(); };
    myVar.TaxRate = number("TAX_RATE");
    myVar.TaxStatus = text("TAX_STATUS");
    myVar.PrintLogo = text("PRN_LOGO");
    myVar.PrintPreview = text("PRN_PREVIEW");
    myVar.PrintView1 = text("VIEW1");
    myVar.PrintView2 = text("VIEW2");
    myVar.PrintView3 = text("VIEW3");
    myVar.PrintView4 = text("VIEW4");
    myVar.PrintView5 = text("VIEW5");
    myVar.PrintView6 = text("VIEW6");
    myVar.PrintView7 = text("VIEW7");
    myVar.PrintTop = number("PRN_TOP");
    myVar.PrintLeft = number("PRN_LEFT");
    myVar.ComPort = text("COM_PORT");
  }
  settings.Close();
  myVar.PrintDocKind = myVar.PrintRequestKind;
}
