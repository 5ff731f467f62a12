#pragma once
// B-tree test support: a page manager that keeps its pages in memory, and a
// tree driven from its root page the way the indexes drive theirs.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/VTRBTree.h"
#include "engine/storage/VTRPage.h"

class MemoryPageManager : public TVTRPageManager {
 public:
  explicit MemoryPageManager(int32_t page_size = 4096, int32_t page_header_size = kPageHeaderSize)
      : TVTRPageManager(page_size, page_header_size) {}

  void AllocatePage(TVTRPage& page) override {
    if (full) throw EVTRException(20064, "Invalid page number");
    int32_t page_no = next_page_;
    if (free_.empty()) {
      ++next_page_;
    } else {
      page_no = *free_.begin();
      free_.erase(free_.begin());
    }
    page.SetPageNo(page_no);
    page.AllocBuffer();
    ++allocations_;
  }
  void FreePage(int32_t page_no) override {
    if (!free_.insert(page_no).second)
      throw EVTRException::CreateFmt(30427, "Page: %d already free", page_no);
    store_.erase(page_no);
    ++frees_;
  }
  bool ReadPage(TVTRPage& page) override {
    const auto it = store_.find(page.PageNo());
    if (it == store_.end()) return false;
    std::memcpy(page.Buffer(), it->second.data(), it->second.size());
    return true;
  }
  void WritePage(TVTRPage& page) override {
    store_[page.PageNo()].assign(page.Buffer(), page.Buffer() + PageSize());
  }
  void DeletePage(int32_t session_id, int32_t page_no) override {
    TVTRPageManager::DeletePage(session_id, page_no);
    ++deletions_;
  }

  bool full = false;  // no page can be allocated, as on a full disk

  // Pages in use: allocated and neither freed nor waiting to be freed at commit.
  int32_t LivePages() const {
    return next_page_ - static_cast<int32_t>(free_.size()) - (deletions_ - frees_);
  }
  // Changes whenever a page is added or deleted: a structural change of a tree.
  int64_t StructureStamp() const { return allocations_ + deletions_; }

 private:
  std::map<int32_t, std::vector<uint8_t>> store_;
  std::set<int32_t> free_;
  int32_t next_page_ = 0;
  int64_t allocations_ = 0;
  int64_t deletions_ = 0;
  int64_t frees_ = 0;
};

// Record buffers of a test table: null flags, then the fields one after the
// other. Integers are stored in their size, text zero-terminated.
class TestLayout {
 public:
  struct Field {
    TVTRBaseDataType type;
    int32_t size;  // bytes in the record buffer
  };
  struct Column {
    int32_t field;
    bool descending = false;
    bool case_insensitive = false;
    int32_t max_indexed_size = 1 << 20;
  };
  using Value = std::optional<std::variant<int64_t, std::string>>;

  explicit TestLayout(std::vector<Field> fields) : fields_(std::move(fields)) {
    int32_t offset = (static_cast<int32_t>(fields_.size()) + 7) / 8;
    for (const Field& field : fields_) {
      offsets_.push_back(offset);
      offset += field.size;
    }
    record_size_ = offset;
  }

  int32_t RecordSize() const { return record_size_; }

  void AddColumns(TVTRRecordKeyRef& key_ref, const std::vector<Column>& columns) const {
    for (const Column& column : columns) {
      const Field& field = fields_[static_cast<size_t>(column.field)];
      key_ref.AddColumn(static_cast<uint32_t>(column.field), offsets_[static_cast<size_t>(column.field)],
                        field.size, field.type, column.max_indexed_size, column.descending,
                        column.case_insensitive);
    }
    key_ref.ValueSize = kRecordIDValueSize;
  }

  std::vector<uint8_t> Record(const std::vector<Value>& values) const {
    std::vector<uint8_t> record(static_cast<size_t>(record_size_), 0);
    for (size_t i = 0; i < values.size(); ++i) {
      uint8_t* at = record.data() + offsets_[i];
      if (!values[i]) {
        SetBufferBit(true, static_cast<int32_t>(i), record.data());
      } else if (const auto* text = std::get_if<std::string>(&*values[i])) {
        std::memcpy(at, text->data(), std::min(text->size(), static_cast<size_t>(fields_[i].size - 1)));
      } else {
        const int64_t number = std::get<int64_t>(*values[i]);
        for (int32_t b = 0; b < fields_[i].size; ++b) at[b] = static_cast<uint8_t>(number >> (8 * b));
      }
    }
    return record;
  }

 private:
  std::vector<Field> fields_;
  std::vector<int32_t> offsets_;
  int32_t record_size_ = 0;
};

// Stored records by RecordID, counting the reads that settle prefix ties.
class TestRecordSource : public TVTRKeyRecordSource {
 public:
  explicit TestRecordSource(int32_t record_size) : record_size_(record_size) {}
  int32_t RecordBufferSize() override { return record_size_; }
  bool ReadRecord(int32_t, const TVTRRecordID& id, uint8_t* record) override {
    ++reads;
    const auto it = records.find({id.PageNo, id.SlotNo});
    if (it == records.end()) return false;
    std::memcpy(record, it->second.data(), it->second.size());
    return true;
  }

  std::map<std::pair<int32_t, uint16_t>, std::vector<uint8_t>> records;
  int reads = 0;

 private:
  int32_t record_size_;
};

inline std::vector<uint8_t> RecordIDBytes(TVTRRecordID id) {
  std::vector<uint8_t> bytes(kRecordIDSize);
  StoreRecordID(bytes.data(), id);
  return bytes;
}

// A tree of one session, started from its root page for every operation.
class TestTree {
 public:
  TestTree(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t session_id = 0)
      : manager_(manager), key_ref_(key_ref), session_(session_id) {
    TVTRBTreePage root(manager_, key_ref_);
    root.NewPage(session_);
    root.InitRootLeaf();
    root.SetDirty();
    root_ = root.PageNo();
  }

  int32_t Root() const { return root_; }
  int32_t Session() const { return session_; }

  // Runs an operation on the root page object.
  template <typename Operation>
  auto WithRoot(Operation operation) {
    TVTRBTreePage root(manager_, key_ref_);
    root.GetPage(session_, root_);
    return operation(root);
  }

  void Insert(uint8_t* key, const uint8_t* value) {
    TVTRKeyPath path;
    WithRoot([&](TVTRBTreePage& root) { root.Insert(session_, key, path, value); });
  }
  bool Delete(uint8_t* key, const uint8_t* value) {
    TVTRKeyPath path;
    return WithRoot([&](TVTRBTreePage& root) { return root.Delete(session_, key, path, value); });
  }
  bool FindEntry(uint8_t* key, const uint8_t* value, TVTRKeyPath& path) {
    path.Clear();
    return WithRoot([&](TVTRBTreePage& root) { return root.FindEntry(session_, key, path, value); });
  }
  bool FindKey(bool forward, TVTRScanComparison mode, uint8_t* key, TVTRKeyPath& path) {
    path.Clear();
    return WithRoot([&](TVTRBTreePage& root) { return root.FindKey(session_, forward, path, mode, key); });
  }
  bool First(TVTRKeyPath& path) {
    path.Clear();
    return WithRoot([&](TVTRBTreePage& root) { return root.First(session_, path); });
  }
  void CheckIntegrity() {
    TVTRKeyPath path;
    WithRoot([&](TVTRBTreePage& root) { root.CheckIntegrity(session_, path); });
  }
  // The value of the leaf entry a path ends at.
  std::vector<uint8_t> ValueAt(const TVTRKeyPath& path) {
    TVTRBTreePage leaf(manager_, key_ref_);
    leaf.GetPage(session_, path.Deepest().PageNo);
    const uint8_t* value = leaf.EntryValue(path.Deepest().Position);
    return {value, value + leaf.ValueSize()};
  }
  // Every leaf value from the first leaf along the next-page links.
  std::vector<std::vector<uint8_t>> Values() {
    std::vector<std::vector<uint8_t>> values;
    TVTRKeyPath path;
    if (!First(path)) return values;
    for (int32_t page_no = path.Deepest().PageNo; page_no != -1;) {
      TVTRBTreePage leaf(manager_, key_ref_);
      leaf.GetPage(session_, page_no);
      for (int32_t i = 0; i < leaf.Count(); ++i) {
        values.emplace_back(leaf.EntryValue(i), leaf.EntryValue(i) + leaf.ValueSize());
      }
      page_no = leaf.NextPage();
    }
    return values;
  }
  int32_t Depth() {
    TVTRKeyPath path;
    First(path);
    return path.Depth();
  }

 private:
  TVTRPageManager& manager_;
  TVTRBTreeKeyRef& key_ref_;
  int32_t session_;
  int32_t root_ = -1;
};
