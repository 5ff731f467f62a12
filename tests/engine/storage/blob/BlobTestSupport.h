#pragma once
// BLOB test support: a table of an integer and two BLOB fields, record
// buffers for it, stored values of given bytes, and a page cache that can be
// told to fail its next page allocation.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/foundation/VTRStreams.h"
#include "engine/storage/blob/BlobPageSequence.h"
#include "engine/storage/blob/DiskBlobManager.h"
#include "engine/storage/blob/SmallBlobPage.h"
#include "tests/engine/storage/btree/BTreeTestSupport.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

inline constexpr int32_t kBlobSession = 0;
inline constexpr int32_t kPictureField = 1;
inline constexpr int32_t kNoteField = 2;

// Bytes that do not compress.
inline Bytes Noise(size_t count, uint32_t seed) {
  Bytes bytes(count);
  for (uint8_t& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
  return bytes;
}

// A value whose stored bytes are `bytes`, as a cursor's stream would leave it.
inline CachedBlobValue StoredValue(const Bytes& bytes, int32_t block_count = 1) {
  CachedBlobValue value;
  uint8_t* data = value.Allocate(static_cast<int64_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  value.BlockCount = block_count;
  value.UncompressedSize = static_cast<int64_t>(bytes.size()) * 3;
  value.Modified = true;
  return value;
}

inline Bytes BytesOf(const CachedBlobValue& value) {
  return Bytes(value.Bytes(), value.Bytes() + value.DataSize);
}

// Fails the next allocation when armed, as a full disk would.
class FailingPageManager : public MemoryPageManager {
 public:
  void AllocatePage(TVTRPage& page) override {
    if (fail_after_ == 0) throw EVTRException(30015, "GetMem error: disk full");
    if (fail_after_ > 0) --fail_after_;
    MemoryPageManager::AllocatePage(page);
  }
  // Allocations that still succeed before one fails; -1: none fails.
  void FailAfter(int32_t allocations) { fail_after_ = allocations; }
  TVTRPage* GetPage(int32_t session_id, int32_t page_no, uint16_t expected_type) override {
    ++page_gets_;
    return MemoryPageManager::GetPage(session_id, page_no, expected_type);
  }
  // GetPage calls so far: how far a read went.
  int64_t PageGets() const { return page_gets_; }

 private:
  int32_t fail_after_ = -1;
  int64_t page_gets_ = 0;
};

// Record buffers kept in memory in the order they came, as a record store
// hands them out: the cache handles of their BLOB fields read 0.
class MemoryRecordStore : public TVTRBaseRecordManager {
 public:
  void EmptyTable(int32_t) override { records_.clear(); }
  bool InsertRecord(int32_t, const uint8_t* record, TVTRRecordID& id) override {
    id = {1, static_cast<uint16_t>(records_.size())};
    records_.emplace_back(record, record + RecordSize);
    return true;
  }
  bool UpdateRecord(int32_t, const uint8_t*, const TVTRRecordID&) override { return false; }
  bool DeleteRecord(int32_t, const TVTRRecordID&) override { return false; }
  void GetRecord(int32_t, NavigationRequest& request) override {
    const size_t next = request.Bof ? 0 : size_t{request.RecordID.SlotNo} + 1;
    if (request.Direction != fmNext || next >= records_.size()) {
      request.Result = grEOF;
      return;
    }
    std::memcpy(request.Buffer, records_[next].data(), records_[next].size());
    request.RecordID = {1, static_cast<uint16_t>(next)};
    request.Bof = request.Eof = false;
    request.Result = grOK;
  }
  int CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) override {
    return a.SlotNo < b.SlotNo ? -1 : a.SlotNo > b.SlotNo;
  }
  int64_t EstimateRecordNo(int32_t, const TVTRRecordID& id) override { return id.SlotNo; }

 private:
  std::vector<std::vector<uint8_t>> records_;
};

// ID integer, PICTURE BLOB, NOTE memo.
class BlobTable {
 public:
  BlobTable() : fields(nullptr) {
    TVTRFieldDefs defs;
    AddField(defs, "ID", adtInteger);
    AddField(defs, "PICTURE", adtBlob);
    AddField(defs, "NOTE", adtMemo);
    fields.DefineFields(defs);
    records.RecordSize = fields.FieldDefs.GetRecordBufferSize();
  }

  // All fields null, as a new record starts.
  std::vector<uint8_t> NewRecord() const {
    std::vector<uint8_t> record(static_cast<size_t>(fields.FieldDefs.GetRecordBufferSize()), 0);
    std::memset(record.data(), 0xFF, fields.FieldDefs.GetNullFlagsSize());
    return record;
  }

  TVTRBaseFieldManager fields;
  MemoryRecordStore records;

 private:
  static void AddField(TVTRFieldDefs& defs, const char* name, TVTRAdvancedDataType type) {
    TVTRFieldDef& field = defs.AddFieldDef();
    field.Name = name;
    field.ObjectID = defs.GetCount();
    field.SetDataType(type, 0);
    field.BlobCompressionAlgorithm = cmZlib;
    field.BlobCompressionMode = 6;
    field.BlobBlockSize = 4096;
  }
};

// A cursor's BLOB stream over a field of the table, new and empty; without
// keep_in_memory its stored bytes move to a temporary file past the threshold.
inline std::unique_ptr<TVTRLocalBLOBStream> NewBlobStream(const BlobTable& table, int32_t field_no,
                                                          bool keep_in_memory = true) {
  const TVTRFieldDef& field = table.fields.FieldDefs.GetFieldDef(field_no);
  TVTRBLOBDescriptor descriptor;
  descriptor.block_size = field.BlobBlockSize;
  descriptor.algorithm = static_cast<TVTRCompressionMethod>(field.BlobCompressionAlgorithm);
  descriptor.mode = field.BlobCompressionMode;
  return std::make_unique<TVTRLocalBLOBStream>(std::make_unique<TVTRTemporaryStream>(keep_in_memory), descriptor, true,
                                               nullptr, bomWrite, field_no);
}
