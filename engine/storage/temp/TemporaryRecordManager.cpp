#include "engine/storage/temp/TemporaryRecordManager.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRStreamChecks.h"

namespace {

constexpr int64_t kMaxRecordNumber = (int64_t{1} << 47) - 1;

int32_t CheckedRecordSize(int32_t record_size) {
  if (record_size <= 0) throw EVTRException::CreateFmt(10124, "Invalid record size = %d", record_size);
  return record_size;
}

}  // namespace

TVTRTemporaryRecordManager::TVTRTemporaryRecordManager(int32_t record_size, bool keep_in_memory,
                                                       int32_t growth_step, int32_t records_per_block,
                                                       int64_t memory_budget)
    : memory_(CheckedRecordSize(record_size), growth_step),
      memory_record_limit_(std::max<int64_t>(memory_budget, 0) / record_size),
      keep_in_memory_(keep_in_memory),
      records_per_block_(std::clamp(records_per_block, 1, std::max(1, INT32_MAX / record_size))) {
  RecordSize = record_size;
}

TVTRRecordID TVTRTemporaryRecordManager::RecordIDOf(int64_t number) {
  const auto bits = static_cast<uint64_t>(number);
  return {static_cast<int32_t>(static_cast<uint32_t>(bits)), static_cast<uint16_t>(bits >> 32)};
}

int64_t TVTRTemporaryRecordManager::NumberOf(const TVTRRecordID& id) {
  const uint64_t bits = uint64_t{id.SlotNo} << 32 | static_cast<uint32_t>(id.PageNo);
  // 48 bits, sign-extended.
  return static_cast<int64_t>(bits << 16) >> 16;
}

void TVTRTemporaryRecordManager::EmptyTable(int32_t session_id) {
  memory_.Clear();
  spill_.reset();
  write_buffer_ = {};
  read_buffer_ = {};
  buffered_ = 0;
  read_count_ = 0;
  RecordCount = 0;
  ++ChangeCount;
}

bool TVTRTemporaryRecordManager::InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) {
  try {
    const int64_t number = RecordCount;
    if (number >= kMaxRecordNumber) return false;
    if (InMemory(number)) {
      if (number >= memory_.Capacity()) memory_.Grow();
      std::memcpy(memory_.At(number), record, static_cast<size_t>(RecordSize));
    } else {
      if (write_buffer_.empty()) write_buffer_.resize(static_cast<size_t>(records_per_block_) * RecordSize);
      if (buffered_ == records_per_block_) WriteOut();
      std::memcpy(write_buffer_.data() + static_cast<size_t>(buffered_) * RecordSize, record,
                  static_cast<size_t>(RecordSize));
      ++buffered_;
    }
    id = RecordIDOf(number);
    ++RecordCount;
    ++ChangeCount;
    return true;
  } catch (...) {
    // Memory or a spill file that cannot take the record refuses it, and
    // RecordCount stays: the write ends with a result code.
    return false;
  }
}

void TVTRTemporaryRecordManager::WriteOut() {
  if (buffered_ == 0) return;
  if (!spill_)
    spill_ = std::make_unique<TVTRFileStream>(GetTemporaryFileName(), TVTRFileStream::fmCreate, true);
  const int64_t first = RecordCount - buffered_ - memory_record_limit_;
  SeekStreamChecked(*spill_, 10128, first * RecordSize);
  const int32_t bytes = buffered_ * RecordSize;
  if (spill_->Write(write_buffer_.data(), bytes) != bytes)
    throw EVTRException(10125, "Error writing to stream");
  buffered_ = 0;
}

void TVTRTemporaryRecordManager::ReadRecord(int64_t number, uint8_t* buffer) {
  const auto size = static_cast<size_t>(RecordSize);
  if (InMemory(number)) {
    std::memcpy(buffer, memory_.At(number), size);
    return;
  }
  const int64_t first_buffered = RecordCount - buffered_;
  if (number >= first_buffered) {
    std::memcpy(buffer, write_buffer_.data() + static_cast<size_t>(number - first_buffered) * size, size);
    return;
  }
  const int64_t spilled = number - memory_record_limit_;
  if (spilled < read_first_ || spilled >= read_first_ + read_count_) {
    // Whole blocks, so that reading in either direction reads each block once.
    const int64_t start = spilled / records_per_block_ * records_per_block_;
    const auto count = static_cast<int32_t>(
        std::min<int64_t>(records_per_block_, first_buffered - memory_record_limit_ - start));
    if (read_buffer_.empty()) read_buffer_.resize(static_cast<size_t>(records_per_block_) * size);
    read_count_ = 0;
    SeekStreamChecked(*spill_, 10129, start * RecordSize);
    ReadStreamChecked(read_buffer_.data(), count * RecordSize, *spill_, 10130);
    read_first_ = start;
    read_count_ = count;
  }
  std::memcpy(buffer, read_buffer_.data() + static_cast<size_t>(spilled - read_first_) * size, size);
}

void TVTRTemporaryRecordManager::GetRecord(int32_t session_id, NavigationRequest& request) {
  request.Result = grError;
  if (RecordCount == 0) {
    request.Result = grEOF;
    return;
  }
  int64_t number;
  if (request.Bof || request.Eof) {
    const bool from_start = request.Bof;
    if (request.Direction != (from_start ? fmNext : fmPrior)) {
      if (request.Direction != fmCurrent) request.Result = from_start ? grBOF : grEOF;
      return;
    }
    number = from_start ? 0 : RecordCount - 1;
  } else {
    const int64_t from = NumberOf(request.RecordID);
    switch (request.Direction) {
      case fmCurrent:
        if (from < 0 || from >= RecordCount) return;
        number = from;
        break;
      case fmNext:
        if (from >= RecordCount - 1) {
          request.Result = grEOF;
          return;
        }
        number = std::max<int64_t>(from + 1, 0);
        break;
      default:
        if (from < 1) {
          request.Result = grBOF;
          return;
        }
        number = std::min(from - 1, RecordCount - 1);
        break;
    }
  }
  if (request.Buffer != nullptr) ReadRecord(number, request.Buffer);
  request.RecordID = RecordIDOf(number);
  request.Result = grOK;
  request.Bof = false;
  request.Eof = false;
}

int TVTRTemporaryRecordManager::CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) {
  const int64_t x = NumberOf(a);
  const int64_t y = NumberOf(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

int64_t TVTRTemporaryRecordManager::EstimateRecordNo(int32_t session_id, const TVTRRecordID& id) {
  const int64_t number = NumberOf(id);
  return number >= 0 && number < RecordCount ? number + 1 : -1;
}

void TVTRTemporaryRecordManager::Truncate(int64_t count) {
  if (count < 0 || count >= RecordCount) return;
  // Records past the count that reached the file are overwritten by later appends.
  buffered_ = static_cast<int32_t>(std::max<int64_t>(count - (RecordCount - buffered_), 0));
  read_count_ = 0;
  RecordCount = count;
  ++ChangeCount;
}
