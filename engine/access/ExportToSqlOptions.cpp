#include "engine/access/ExportToSqlOptions.h"

void TVTRExportToSqlOptions::Assign(const TPersistent* source) {
  const auto* options = dynamic_cast<const TVTRExportToSqlOptions*>(source);
  if (options == nullptr) return TPersistent::Assign(source);
  Structure = options->Structure;
  AddDropTable = options->AddDropTable;
  BlobSettings = options->BlobSettings;
  Data = options->Data;
  FieldNamesInInserts = options->FieldNamesInInserts;
  QuotedNames = options->QuotedNames;
}
