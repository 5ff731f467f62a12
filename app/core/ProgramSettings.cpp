#include "app/core/ProgramSettings.h"

#include "app/core/myVar.h"
#include "platform/db/Field.h"

void SetUpSettingsQuery(TVTRQuery& sys_sys, const std::string& alias) {
  sys_sys.SetDatabaseName(alias);
  sys_sys.SetReadOnly(true);
  sys_sys.SQL().SetText("select type_business, skin from sys_sys");
}

void ReadProgramSettings(TVTRQuery& sys_sys, TVTRDatabase& database) {
  sys_sys.Open();
  myVar.BusinessType = sys_sys.FieldByName("type_business")->AsString();
  myVar.SkinName = sys_sys.FieldByName("skin")->AsString();
  sys_sys.Close();
  database.Close();
}
