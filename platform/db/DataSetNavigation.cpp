// The record window of a dataset and the moves over it.
//
// buffers_ holds buffer_count_ + 1 record buffers. The first record_count_ hold
// consecutive records of the dataset, active_record_ indexes the current one,
// and buffers_[record_count_] is the spare that fetches read into.
// current_record_ is the buffer whose record the descendant's cursor stands on
// (-1: unknown).
#include <algorithm>

#include "platform/db/DBConsts.h"
#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

void TDataSet::ClearBuffers() {
  record_count_ = 0;
  active_record_ = 0;
  current_record_ = -1;
  bof_ = true;
  eof_ = true;
}

void TDataSet::ActivateBuffers() {
  record_count_ = 1;
  active_record_ = 0;
  current_record_ = 0;
  bof_ = false;
  eof_ = false;
}

void TDataSet::MoveBuffer(int from, int to) {
  if (from == to) return;
  TRecordBuffer buffer = buffers_[from];
  buffers_.erase(buffers_.begin() + from);
  buffers_.insert(buffers_.begin() + to, buffer);
}

void TDataSet::SetCurrentRecord(int index) {
  if (current_record_ == index) return;
  TRecordBuffer buffer = buffers_[index];
  switch (GetBookmarkFlag(buffer)) {
    case bfCurrent:
    case bfInserted:
      InternalSetToRecord(buffer);
      break;
    case bfBOF:
      InternalFirst();
      break;
    case bfEOF:
      InternalLast();
      break;
  }
  current_record_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (record_count_ > 0) SetCurrentRecord(active_record_);
}

bool TDataSet::GetNextRecord() {
  if (record_count_ > 0) SetCurrentRecord(record_count_ - 1);
  if (GetRecord(buffers_[record_count_], gmNext, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (record_count_ == 0) {
    ActivateBuffers();
  } else if (record_count_ < buffer_count_) {
    ++record_count_;
  } else {
    MoveBuffer(0, record_count_);
  }
  current_record_ = record_count_ - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (record_count_ > 0) SetCurrentRecord(0);
  if (GetRecord(buffers_[record_count_], gmPrior, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (record_count_ == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(record_count_, 0);
    if (record_count_ < buffer_count_) {
      ++record_count_;
      ++active_record_;
    }
  }
  current_record_ = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int fetched = 0;
  while (record_count_ < buffer_count_ && GetNextRecord()) ++fetched;
  return fetched;
}

int TDataSet::GetPriorRecords() {
  int fetched = 0;
  while (record_count_ < buffer_count_ && GetPriorRecord()) ++fetched;
  return fetched;
}

void TDataSet::SetBufferCount(int count) {
  if (count == buffer_count_) return;
  int dropped = 0;
  if (count < record_count_) {
    // Keep the active record inside the smaller window: drop records before it first.
    dropped = std::max(0, active_record_ - (count - 1));
    std::rotate(buffers_.begin(), buffers_.begin() + dropped, buffers_.end());
    record_count_ = std::min(record_count_ - dropped, count);
    active_record_ -= dropped;
    CursorPosChanged();
  }
  while (static_cast<int>(buffers_.size()) > count + 1) {
    FreeRecordBuffer(buffers_.back());
    buffers_.pop_back();
  }
  while (static_cast<int>(buffers_.size()) < count + 1) buffers_.push_back(AllocRecordBuffer());
  buffer_count_ = count;
  GetNextRecords();
  // A window that grew at the end of the records fills up with those before it,
  // so that a grid enlarged on the last row shows its rows.
  if (state_ == dsBrowse) GetPriorRecords();
  for (TDataSource* source : data_sources_) {
    for (TDataLink* link : source->links_) {
      if (!link->active_) continue;
      link->first_record_ = std::max(0, link->first_record_ - dropped);
      link->UpdateRange();
    }
  }
}

void TDataSet::UpdateBufferCount() {
  if (IsCursorOpen()) SetBufferCount(MaxLinkBufferCount());
}

void TDataSet::FreeBuffers() {
  for (TRecordBuffer& buffer : buffers_) FreeRecordBuffer(buffer);
  buffers_.clear();
  buffer_count_ = 0;
  calc_buffer_ = nullptr;
  ClearBuffers();
}

void TDataSet::First() {
  CheckBrowseMode();
  Fire(BeforeScroll, this);
  ClearBuffers();
  try {
    InternalFirst();
    GetNextRecord();
    GetNextRecords();
  } catch (...) {
    bof_ = true;
    DataEvent(deDataSetChange, 0);
    throw;
  }
  bof_ = true;
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll, this);
}

void TDataSet::Last() {
  CheckBrowseMode();
  Fire(BeforeScroll, this);
  ClearBuffers();
  try {
    InternalLast();
    GetPriorRecord();
    GetPriorRecords();
  } catch (...) {
    eof_ = true;
    DataEvent(deDataSetChange, 0);
    throw;
  }
  eof_ = true;
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll, this);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  int moved = 0;
  Fire(BeforeScroll, this);
  if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
    bof_ = false;
    eof_ = false;
    const int old_record_count = record_count_;
    // How far the window's contents shifted: -1 per record pushed out at the top.
    int scrolled = 0;
    auto notify = [&] {
      if (record_count_ != old_record_count) {
        DataEvent(deDataSetChange, 0);
      } else {
        DataEvent(deDataSetScroll, scrolled);
      }
    };
    try {
      for (; distance > 0; --distance, ++moved) {
        if (active_record_ < record_count_ - 1) {
          ++active_record_;
          continue;
        }
        const bool full = record_count_ == buffer_count_;
        if (!GetNextRecord()) {
          eof_ = true;
          break;
        }
        if (full) --scrolled;
        active_record_ = record_count_ - 1;
      }
      for (; distance < 0; ++distance, --moved) {
        if (active_record_ > 0) {
          --active_record_;
          continue;
        }
        const bool full = record_count_ == buffer_count_;
        if (!GetPriorRecord()) {
          bof_ = true;
          break;
        }
        if (full) ++scrolled;
        active_record_ = 0;
      }
    } catch (...) {
      notify();
      throw;
    }
    notify();
    Fire(AfterScroll, this);
  }
  return moved;
}

void TDataSet::Resync(TResyncMode mode) {
  TRecordBuffer spare = buffers_[record_count_];
  if (mode.Contains(rmExact)) {
    CursorPosChanged();
    if (GetRecord(spare, gmCurrent, true) != grOK) DatabaseError(SRecordNotFound, this);
  } else if (GetRecord(spare, gmCurrent, false) != grOK && GetRecord(spare, gmNext, false) != grOK &&
             GetRecord(spare, gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  int before = mode.Contains(rmCenter) ? (buffer_count_ - 1) / 2 : active_record_;
  MoveBuffer(record_count_, 0);
  ActivateBuffers();
  try {
    while (before > 0 && GetPriorRecord()) --before;
    GetNextRecords();
    GetPriorRecords();
  } catch (...) {
    DataEvent(deDataSetChange, 0);
    throw;
  }
  DataEvent(deDataSetChange, 0);
}

TBookmark TDataSet::GetBookmark() {
  TBookmark bookmark;
  if (Active() && !IsEmpty() && GetBookmarkFlag(ActiveBuffer()) == bfCurrent) {
    GetBookmarkData(ActiveBuffer(), bookmark);
  }
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  CheckBrowseMode();
  Fire(BeforeScroll, this);
  InternalGotoBookmark(bookmark);
  Resync({rmExact, rmCenter});
  Fire(AfterScroll, this);
}
