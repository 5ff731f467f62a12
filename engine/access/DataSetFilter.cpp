// The filter of TVTRDataSet as the cursor applies it: the Filter text
// (parsed by the engine in code page 874) and OnFilterRecord, which the
// cursor asks for every record it would show.
#include "engine/access/DataSet.h"
#include "engine/access/ErrorMessage.h"
#include "platform/rtl/CodePage874.h"

void TVTRDataSet::ApplyCursorFilter() {
  TVTRCursor& cursor = CheckedCursor(Filtered() ? 10269 : 10270);
  if (!Filtered() || Filter().empty()) {
    cursor.ClearFilter();
  } else {
    const TFilterOptions options = FilterOptions();
    cursor.SetFilterText(Utf8ToCp874(Filter()), options.Contains(foCaseInsensitive),
                         !options.Contains(foNoPartialCompare));
  }
  if (Filtered() && OnFilterRecord())
    cursor.OnFilterRecord = [this](const uint8_t* record) { return AcceptRecord(record); };
  else
    cursor.OnFilterRecord = nullptr;
}

bool TVTRDataSet::AcceptRecord(const uint8_t* record) {
  if (!Filtered() || !OnFilterRecord()) return true;
  const TRecordBuffer saved_buffer = filter_buffer_;
  const TDataSetState saved_state = SetTempState(dsFilter);
  // The cursor hands its own record; fields only read it in filter state.
  filter_buffer_ = const_cast<TRecordBuffer>(record);
  bool accept = true;
  try {
    OnFilterRecord()(this, accept);
  } catch (...) {
    HandleEngineException(this);
  }
  filter_buffer_ = saved_buffer;
  RestoreState(saved_state);
  return accept;
}
