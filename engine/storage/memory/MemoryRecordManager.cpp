#include "engine/storage/memory/MemoryRecordManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/foundation/VTRExcept.h"

namespace {

int32_t CheckedRecordSize(int32_t record_size) {
  if (record_size <= 0) throw EVTRException::CreateFmt(10011, "Invalid record size = %d", record_size);
  return record_size;
}

}  // namespace

TVTRMemoryRecordManager::TVTRMemoryRecordManager(int32_t record_size, int32_t growth_step)
    : store_(CheckedRecordSize(record_size), growth_step) {
  RecordSize = record_size;
}

void TVTRMemoryRecordManager::EmptyTable(int32_t session_id) {
  store_.Clear();
  live_.SetSize(0);
  logs_.clear();
  RecordCount = 0;
  min_slot_ = 0;
  max_slot_ = 0;
  ++ChangeCount;
}

void TVTRMemoryRecordManager::LogChange(int32_t session_id, ChangeKind kind, int32_t slot) {
  ChangeLog& log = logs_[session_id];
  size_t image = log.images.size();
  if (kind != ChangeKind::kInsert) {
    const uint8_t* record = store_.At(slot);
    log.images.insert(log.images.end(), record, record + RecordSize);
  }
  try {
    log.changes.push_back({kind, slot, image});
  } catch (...) {
    log.images.resize(image);
    throw;
  }
}

void TVTRMemoryRecordManager::SetLive(int32_t slot, bool live) {
  live_.SetBit(slot, live);
  RecordCount += live ? 1 : -1;
}

bool TVTRMemoryRecordManager::InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) {
  try {
    const int64_t slot = RecordCount > 0 ? int64_t{max_slot_} + 1 : 0;
    if (slot > INT32_MAX) return false;
    if (slot >= store_.Capacity()) {
      store_.Grow();
      live_.SetSize(static_cast<int32_t>(std::min<int64_t>(store_.Capacity(), INT32_MAX)));
    }
    const auto s = static_cast<int32_t>(slot);
    LogChange(session_id, ChangeKind::kInsert, s);
    std::memcpy(store_.At(s), record, static_cast<size_t>(RecordSize));
    SetLive(s, true);
    if (RecordCount == 1) min_slot_ = s;
    max_slot_ = s;
    ++ChangeCount;
    id = {s, 0};
    return true;
  } catch (...) {
    // A store that cannot grow refuses the record: the write ends with a result code.
    return false;
  }
}

bool TVTRMemoryRecordManager::UpdateRecord(int32_t session_id, const uint8_t* record,
                                           const TVTRRecordID& id) {
  if (!IsLive(id.PageNo)) return false;
  try {
    LogChange(session_id, ChangeKind::kUpdate, id.PageNo);
  } catch (...) {
    // Without room in the change log the change could not be rolled back: refused.
    return false;
  }
  std::memcpy(store_.At(id.PageNo), record, static_cast<size_t>(RecordSize));
  ++ChangeCount;
  return true;
}

bool TVTRMemoryRecordManager::DeleteRecord(int32_t session_id, const TVTRRecordID& id) {
  const int32_t slot = id.PageNo;
  if (!IsLive(slot)) return false;
  try {
    LogChange(session_id, ChangeKind::kDelete, slot);
  } catch (...) {
    // Without room in the change log the change could not be rolled back: refused.
    return false;
  }
  SetLive(slot, false);
  if (RecordCount == 0) {
    min_slot_ = 0;
    max_slot_ = 0;
  } else if (slot == min_slot_) {
    live_.FindNext(false, true, min_slot_, slot);
  } else if (slot == max_slot_) {
    live_.FindNext(false, false, max_slot_, slot);
  }
  ++ChangeCount;
  return true;
}

void TVTRMemoryRecordManager::TakeRecord(int32_t slot, NavigationRequest& request) {
  if (request.Buffer != nullptr)
    std::memcpy(request.Buffer, store_.At(slot), static_cast<size_t>(RecordSize));
  request.RecordID = {slot, 0};
  request.Result = grOK;
  request.Bof = false;
  request.Eof = false;
}

void TVTRMemoryRecordManager::GetRecord(int32_t session_id, NavigationRequest& request) {
  request.Result = grError;
  if (RecordCount == 0) {
    request.Result = grEOF;
    return;
  }
  if (request.Bof || request.Eof) {
    const bool from_start = request.Bof;
    if (request.Direction == (from_start ? fmNext : fmPrior))
      TakeRecord(from_start ? min_slot_ : max_slot_, request);
    else if (request.Direction != fmCurrent)
      request.Result = from_start ? grBOF : grEOF;
    return;
  }
  const int32_t slot = request.RecordID.PageNo;
  if (request.Direction == fmCurrent) {
    if (IsLive(slot)) TakeRecord(slot, request);
    return;
  }
  const bool forward = request.Direction == fmNext;
  int32_t found;
  if (live_.FindNext(false, forward, found, slot))
    TakeRecord(found, request);
  else
    request.Result = forward ? grEOF : grBOF;
}

int TVTRMemoryRecordManager::CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) {
  return a.PageNo < b.PageNo ? -1 : (a.PageNo > b.PageNo ? 1 : 0);
}

int64_t TVTRMemoryRecordManager::EstimateRecordNo(int32_t session_id, const TVTRRecordID& id) {
  const int32_t slot = id.PageNo;
  if (RecordCount == 0 || slot < min_slot_ || slot > max_slot_) return -1;
  if (RecordCount == 1) return 1;
  // Deleted slots spread evenly: the first live slot is record 1, the last RecordCount.
  const double share = static_cast<double>(slot - min_slot_) / static_cast<double>(max_slot_ - min_slot_);
  return std::llround(share * static_cast<double>(RecordCount - 1)) + 1;
}

int32_t TVTRMemoryRecordManager::SlotOfRecordNo(int64_t rec_no) const {
  if (rec_no < 1 || rec_no > RecordCount) return -1;
  if (Contiguous()) return static_cast<int32_t>(rec_no - 1);
  return live_.SetBitPosition(static_cast<int32_t>(rec_no - 1));
}

int64_t TVTRMemoryRecordManager::RecordNoOfSlot(int32_t slot) const {
  if (!IsLive(slot)) return -1;
  if (Contiguous()) return int64_t{slot} + 1;
  return int64_t{live_.SetBitOrdinal(slot)} + 1;
}

uint8_t* TVTRMemoryRecordManager::LiveRecord(int32_t slot) {
  return IsLive(slot) ? store_.At(slot) : nullptr;
}

void TVTRMemoryRecordManager::CommitChanges(int32_t session_id, const ReplacedRecordVisitor& replaced) {
  const auto it = logs_.find(session_id);
  if (it == logs_.end()) return;
  ChangeLog& log = it->second;
  if (replaced) {
    for (const Change& change : log.changes)
      if (change.kind != ChangeKind::kInsert) replaced(change.slot, log.images.data() + change.image);
  }
  log.changes.clear();
  log.images.clear();
  log.mark.reset();
}

void TVTRMemoryRecordManager::RollbackChanges(int32_t session_id) {
  const auto it = logs_.find(session_id);
  if (it == logs_.end()) return;
  it->second.mark.reset();
  UndoChanges(it->second, 0, 0);
}

void TVTRMemoryRecordManager::MarkChanges(int32_t session_id) {
  ChangeLog& log = logs_[session_id];
  log.mark.emplace(log.changes.size(), log.images.size());
}

void TVTRMemoryRecordManager::RollbackToMark(int32_t session_id) {
  const auto it = logs_.find(session_id);
  if (it == logs_.end() || !it->second.mark) return;
  const auto [changes_kept, images_kept] = *it->second.mark;
  it->second.mark.reset();
  UndoChanges(it->second, changes_kept, images_kept);
}

void TVTRMemoryRecordManager::UndoChanges(ChangeLog& log, size_t changes_kept, size_t images_kept) {
  if (log.changes.size() <= changes_kept) return;
  for (size_t i = log.changes.size(); i-- > changes_kept;) {
    const Change& change = log.changes[i];
    if (change.kind == ChangeKind::kInsert) {
      SetLive(change.slot, false);
      continue;
    }
    std::memcpy(store_.At(change.slot), log.images.data() + change.image, static_cast<size_t>(RecordSize));
    if (change.kind == ChangeKind::kDelete) SetLive(change.slot, true);
  }
  log.changes.resize(changes_kept);
  log.images.resize(images_kept);
  FindBounds();
  ++ChangeCount;
}

void TVTRMemoryRecordManager::FindBounds() {
  min_slot_ = 0;
  max_slot_ = 0;
  if (RecordCount == 0) return;
  live_.FindNext(true, true, min_slot_, 0);
  live_.FindNext(true, false, max_slot_, 0);
}
