// The master-detail link of TVTRTable: while the master is open, the detail
// shows the records whose leading index fields equal the master's link
// fields, and a new detail record starts with those values.
#include "engine/access/Table.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"

void TVTRTable::SetMasterSource(TDataSource* source) {
  if (IsLinkedTo(source)) DatabaseError(SCircularDataLink, this);
  master_link_.SetDataSource(source);
}

bool TVTRTable::MasterLinked() const {
  return master_link_.Active() && !master_link_.Fields().empty();
}

void TVTRTable::MasterChanged() {
  CheckBrowseMode();
  SetLinkRanges(master_link_.Fields());
  ApplyRange();
}

void TVTRTable::MasterDisabled() {
  CancelRange();
}

void TVTRTable::PrepareCursor() {
  if (!MasterLinked()) return;
  SetLinkRanges(master_link_.Fields());
  SetCursorRange();
}

void TVTRTable::DoOnNewRecord() {
  if (MasterLinked()) {
    const std::vector<TField*>& master_fields = master_link_.Fields();
    for (size_t i = 0; i < master_fields.size(); ++i) IndexField(static_cast<int>(i))->Assign(master_fields[i]);
  }
  TVTRDataSet::DoOnNewRecord();
}
