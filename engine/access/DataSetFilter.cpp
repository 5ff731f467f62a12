// The filter of TVTRDataSet as the cursor applies it: the Filter text
// (parsed by the engine in code page 874) and OnFilterRecord, which the
// cursor asks for every record it would show; FindFirst and its kin, for
// which the Filter text acts even while the dataset is not Filtered.
#include "engine/access/DataSet.h"
#include "engine/access/ErrorMessage.h"
#include "platform/rtl/CodePage874.h"

void TVTRDataSet::HandFilterToCursor() {
  TVTRCursor& cursor = CheckedCursor(10269);
  if (Filter().empty()) {
    cursor.ClearFilter();
  } else {
    const TFilterOptions options = FilterOptions();
    cursor.SetFilterText(Utf8ToCp874(Filter()), options.Contains(foCaseInsensitive),
                         !options.Contains(foNoPartialCompare));
  }
  if (OnFilterRecord())
    cursor.OnFilterRecord = [this](const uint8_t* record) { return AcceptRecord(record); };
  else
    cursor.OnFilterRecord = nullptr;
}

void TVTRDataSet::ClearCursorFilter() {
  TVTRCursor& cursor = CheckedCursor(10270);
  cursor.ClearFilter();
  cursor.OnFilterRecord = nullptr;
}

void TVTRDataSet::ApplyCursorFilter() {
  Filtered() ? HandFilterToCursor() : ClearCursorFilter();
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

void TVTRDataSet::SetFilterText(const std::string& text) {
  SetFilterData(text, FilterOptions());
}

void TVTRDataSet::SetFilterOptions(TFilterOptions options) {
  SetFilterData(Filter(), options);
}

// A text the cursor refuses stays stored, as the dataset layer keeps it.
void TVTRDataSet::SetFilterData(const std::string& text, TFilterOptions options) {
  if (Active()) {
    CheckedCursor(10266);
    CheckBrowseMode();
  }
  TDataSet::SetFilterText(text);
  TDataSet::SetFilterOptions(options);
  if (Active() && Filtered()) {
    HandFilterToCursor();
    First();
  }
}

void TVTRDataSet::SetFiltered(bool value) {
  if (!Active()) return TDataSet::SetFiltered(value);
  CheckBrowseMode();
  CheckedCursor(10267);
  if (value != Filtered()) {
    value ? HandFilterToCursor() : ClearCursorFilter();
    TDataSet::SetFiltered(value);
  }
  First();
}

void TVTRDataSet::SetOnFilterRecord(TFilterRecordEvent handler) {
  if (!Active()) return TDataSet::SetOnFilterRecord(std::move(handler));
  TVTRCursor& cursor = CheckedCursor(10275);
  CheckBrowseMode();
  const bool had_handler = static_cast<bool>(OnFilterRecord());
  TDataSet::SetOnFilterRecord(std::move(handler));
  if (had_handler != static_cast<bool>(OnFilterRecord())) {
    Filtered() ? HandFilterToCursor() : ClearCursorFilter();
  } else if (Filtered()) {
    // The cursor keeps the records it has let through: the new handler
    // decides them anew.
    cursor.ClearRecordBitmap();
  }
  if (Filtered()) First();
}

bool TVTRDataSet::FindRecord(bool restart, bool go_forward) {
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(this);
  SetFound(false);
  TVTRCursor& cursor = CheckedCursor(10268);
  UpdateCursorPos();
  CursorPosChanged();
  const bool filter_for_search = !Filtered();
  if (filter_for_search) HandFilterToCursor();
  TRecordBuffer scratch = cursor.AllocRecordBuffer();
  const auto release = [&] {
    cursor.FreeRecordBuffer(scratch);
    if (filter_for_search) ClearCursorFilter();
  };
  TGetResult result;
  try {
    if (restart) go_forward ? cursor.First() : cursor.Last();
    result = GetRecord(scratch, go_forward ? gmNext : gmPrior, false);
  } catch (...) {
    release();
    throw;
  }
  release();
  if (result != grOK) return false;
  Resync({rmExact, rmCenter});
  SetFound(true);
  if (AfterScroll) AfterScroll(this);
  return true;
}

void TVTRDataSet::SetFilterExpression(TVTRExpression* expression, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  CheckedCursor(10300).SetFilterExpression(expression, outer_ao, outer_cursor);
}
