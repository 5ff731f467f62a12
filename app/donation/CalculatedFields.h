#pragma once
// Calculated fields on the rows of a window's query. The class library makes
// default fields only for a dataset without persistent fields, and computes
// calculated fields only beside persistent ones; a query whose columns come
// from its statement therefore gets its persistent fields from the columns of
// an open: MakeFieldsPersistent closes the rows and gives each of those
// columns a persistent field, to which calculated fields can then be added.
// The next open binds them by name.
#include <functional>
#include <string>

#include "platform/db/DB.h"

class ReportWindow;

// True when the open rows have persistent fields (made here or before).
bool HasPersistentFields(const TDataSet& rows);
// Requires the rows open with default fields; leaves them closed.
void MakeFieldsPersistent(TDataSet& rows, TComponent& owner);
// A calculated float, or a text of up to `characters` Thai characters when
// `characters` > 0.
TField& AddCalculatedField(TDataSet& rows, TComponent& owner, const std::string& name, int characters = 0);

// For the end of a report window's run: at the first run, whose rows have
// default fields, makes them persistent, lets `add_fields` add the calculated
// fields (and bind OnCalcFields) and runs the report again. Returns true when
// it did, and the run that called it has nothing more to do.
bool AddCalculatedFieldsAtFirstRun(ReportWindow& window, const std::function<void(TDataSet& rows)>& add_fields);
