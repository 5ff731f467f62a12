// Fetching and positioning of TVTRDataSet: records read into the dataset
// layer's buffers, record numbers and bookmarks.
#include <cstring>

#include "engine/access/DataSet.h"
#include "engine/access/EngineError.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/ResultCodes.h"

namespace {

constexpr const char* kNilPointer = "Nil pointer occured";

TVTRFetchMode FetchMode(TGetMode mode) {
  switch (mode) {
    case gmNext:
      return fmNext;
    case gmPrior:
      return fmPrior;
    default:
      return fmCurrent;
  }
}

// Raises the failure of a fetch the cursor could not answer.
[[noreturn]] void RaiseFetchError(const TVTRCursor& cursor) {
  if (cursor.LastResult != kResultOK) throw EVTREngineError(cursor.LastResult, cursor.LastErrorText);
  if (cursor.IndexName.empty())
    throw EVTRException::CreateFmt(10026, "Cannot retreive record of table '%s'", cursor.TableName);
  throw EVTRException::CreateFmt(10026, "Cannot retreive record of table '%s' in the order of index '%s'",
                                 cursor.TableName, cursor.IndexName);
}

}  // namespace

TRecordBuffer TVTRDataSet::CurrentRecordBuffer() const {
  switch (State()) {
    case dsBrowse:
      return IsEmpty() ? nullptr : ActiveBuffer();
    case dsEdit:
    case dsInsert:
      return ActiveBuffer();
    case dsSetKey:
      return key_buffer_;
    case dsCalcFields:
      return CalcBuffer();
    case dsFilter:
      return filter_buffer_;
    default:
      return nullptr;
  }
}

TGetResult TVTRDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool do_check) {
  TVTRCursor& cursor = CheckedCursor(10041);
  cursor.CurrentRecord = buffer;
  cursor.LastResult = kResultOK;
  const TGetResult result = cursor.GetRecord(FetchMode(mode));
  switch (result) {
    case grOK:
      GetCalcFields(buffer);
      StoreRecordID(buffer + cursor.RecordSize, cursor.CurrentRecordID);
      buffer[cursor.RecordSize + kRecordIDSize] = bfCurrent;
      return grOK;
    case grBOF:
    case grEOF:
      return result;
    default:
      if (do_check) RaiseFetchError(cursor);
      return grError;
  }
}

void TVTRDataSet::InternalFirst() {
  CheckedCursor(10044).First();
}

void TVTRDataSet::InternalLast() {
  CheckedCursor(10045).Last();
}

void TVTRDataSet::InternalGotoBookmark(const TBookmark& bookmark) {
  if (bookmark.size() < kRecordIDSize) throw EVTRException(10037, kNilPointer);
  TVTRCursor& cursor = CheckedCursor(10038);
  cursor.CurrentRecordID = LoadRecordID(reinterpret_cast<const uint8_t*>(bookmark.data()));
  cursor.Bof = false;
  cursor.Eof = false;
}

void TVTRDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  TVTRCursor& cursor = CheckedCursor(10046);
  if (buffer == nullptr) throw EVTRException(10047, kNilPointer);
  cursor.CurrentRecordID = LoadRecordID(buffer + cursor.RecordSize);
  cursor.Bof = false;
  cursor.Eof = false;
}

int TVTRDataSet::GetRecordCount() {
  if (!Active()) return 0;
  return static_cast<int>(CheckedCursor(10056).GetRecordCount());
}

int TVTRDataSet::GetRecNo() {
  if (State() == dsInsert) return -1;
  TVTRCursor& cursor = CheckedCursor(10043);
  const TRecordBuffer buffer = CurrentRecordBuffer();
  cursor.CurrentRecord = buffer;
  if (buffer == nullptr) return -1;
  const TVTRCursorPosition position = cursor.SavePosition();
  int64_t rec_no;
  try {
    cursor.CurrentRecordID = LoadRecordID(buffer + cursor.RecordSize);
    cursor.Bof = false;
    cursor.Eof = false;
    rec_no = cursor.GetRecNo();
  } catch (...) {
    cursor.RestorePosition(position);
    throw;
  }
  cursor.RestorePosition(position);
  return static_cast<int32_t>(rec_no);
}

void TVTRDataSet::SetRecNo(int value) {
  TVTRCursor& cursor = CheckedCursor(10042);
  if (BeforeScroll) BeforeScroll(this);
  cursor.SetRecNo(value);
  Resync({rmCenter});
  if (AfterScroll) AfterScroll(this);
}

template <typename Read>
auto TVTRDataSet::WithScratchRecord(const TBookmark& bookmark, Read&& read) {
  TVTRCursor& cursor = *cursor_;
  const TVTRCursorPosition position = cursor.SavePosition();
  uint8_t* const current = cursor.CurrentRecord;
  uint8_t* scratch = cursor.AllocRecordBuffer();
  const auto restore = [&] {
    cursor.FreeRecordBuffer(scratch);
    cursor.CurrentRecord = current;
    cursor.RestorePosition(position);
  };
  try {
    cursor.CurrentRecord = scratch;
    cursor.CurrentRecordID = LoadRecordID(reinterpret_cast<const uint8_t*>(bookmark.data()));
    cursor.Bof = false;
    cursor.Eof = false;
    auto answer = read(cursor);
    restore();
    return answer;
  } catch (...) {
    restore();
    throw;
  }
}

int TVTRDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  CheckedCursor(10063);
  const bool a_missing = a.size() < kRecordIDSize;
  const bool b_missing = b.size() < kRecordIDSize;
  if (a_missing || b_missing) return a_missing == b_missing ? 0 : (a_missing ? 1 : -1);
  const auto number_of = [this](const TBookmark& bookmark) {
    return WithScratchRecord(bookmark, [](TVTRCursor& cursor) -> int64_t {
      return cursor.GetRecord(fmCurrent) == grOK ? cursor.GetRecNo() : -1;
    });
  };
  const int64_t first = number_of(a);
  const int64_t second = number_of(b);
  return first == second ? 0 : (first > second ? 1 : -1);
}

bool TVTRDataSet::BookmarkValid(const TBookmark& bookmark) {
  CheckedCursor(10064);
  if (bookmark.size() < kRecordIDSize) return false;
  return WithScratchRecord(bookmark, [](TVTRCursor& cursor) { return cursor.GetRecord(fmCurrent) == grOK; });
}

bool TVTRDataSet::GetCurrentRecord(TRecordBuffer buffer) {
  if (!cursor_ || IsEmpty() || GetBookmarkFlag(ActiveBuffer()) != bfCurrent) return false;
  UpdateCursorPos();
  TVTRCursor& cursor = *cursor_;
  uint8_t* const current = cursor.CurrentRecord;
  cursor.CurrentRecord = buffer;
  bool read;
  try {
    read = cursor.GetRecord(fmCurrent) == grOK;
  } catch (...) {
    cursor.CurrentRecord = current;
    throw;
  }
  cursor.CurrentRecord = current;
  return read;
}
