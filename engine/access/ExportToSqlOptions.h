#pragma once
// TVTRExportToSqlOptions: what exporting a table as SQL would include. The
// table component keeps them as a property; no operation of the engine
// reads them.
#include "platform/rtl/Persistent.h"

class TVTRExportToSqlOptions : public TPersistent {
 public:
  // From another TVTRExportToSqlOptions the six values; anything else is
  // refused as TPersistent refuses it.
  void Assign(const TPersistent* source) override;

  bool Structure = true;
  bool AddDropTable = true;
  bool BlobSettings = false;
  bool Data = false;
  bool FieldNamesInInserts = false;
  bool QuotedNames = false;
};
