#include "app/core/ProgramSettings.h"

#include "app/core/myVar.h"
#include "engine/access/Table.h"
#include "platform/db/Field.h"

void ReadProgramSettings(TVTRDatabase& database) {
  TVTRTable sys_sys(nullptr);
  sys_sys.SetDatabaseName(database.DatabaseName());
  sys_sys.SetTableName("sys_sys");
  sys_sys.SetReadOnly(true);
  sys_sys.Open();
  myVar.BusinessType = sys_sys.FieldByName("type_business")->AsString();
  myVar.SkinName = sys_sys.FieldByName("skin")->AsString();
  sys_sys.Close();
  database.Close();
}
