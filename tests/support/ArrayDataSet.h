#pragma once
// A complete dataset over rows kept in memory, for the tests of the dataset
// layer and of the data-aware controls. Each row has a lasting id, which is its
// bookmark (4 bytes). Records are copies of rows with their calculated area; the
// cursor is a row index from -1 (before the first) to the row count (after the
// last).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/DB.h"

struct ArrayFieldDef {
  std::string name;
  TFieldType type;
  int size = 0;
  bool required = false;
};

// A stream over a byte string it does not own; writing past the end grows it.
class BytesStream : public TStream {
 public:
  explicit BytesStream(std::string& bytes) : bytes_(bytes) {}
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  std::string& bytes_;
  int64_t position_ = 0;
};

class TArrayDataSet : public TDataSet {
 public:
  TArrayDataSet(TComponent* owner, std::vector<ArrayFieldDef> defs);
  ~TArrayDataSet() override;

  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  void SetCodec(const TTextCodec* codec) { codec_ = codec; }
  const TTextCodec& TextCodec() const override { return codec_ != nullptr ? *codec_ : TDataSet::TextCodec(); }

  // The stored native bytes of a row's field (nullopt: null).
  const std::optional<std::string>& Stored(int row, int field_index) const {
    return rows_.at(row).values.at(field_index);
  }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Gives every row a new id, as a statement run again gives its rows new
  // bookmarks: bookmarks taken before no longer lead to them.
  void Renumber() {
    for (Row& row : rows_) row.id = next_id_++;
  }

  // Hooks that tests use to make the writing operations fail.
  std::function<void()> on_internal_edit;
  std::function<void()> on_internal_post;
  std::function<void()> on_internal_delete;
  int internal_post_calls = 0;
  int records_fetched = 0;

  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  bool GetFieldData(TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;
  bool BookmarkValid(const TBookmark& bookmark) override;
  int CompareBookmarks(const TBookmark& a, const TBookmark& b) override;
  void SetRecNo(int value) override;
  // Compares the fields' texts with the values' texts.
  bool Locate(const std::string& key_fields, const Variant& key_values, TLocateOptions options) override;

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return open_; }
  void InternalInitFieldDefs() override;
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  int GetRecordSize() override { return 0; }
  void InternalInitRecord(TRecordBuffer buffer) override;
  void ClearCalcFields(TRecordBuffer buffer) override;
  void GetBookmarkData(TRecordBuffer buffer, TBookmark& data) override;
  void SetBookmarkData(TRecordBuffer buffer, const TBookmark& data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool do_check) override;
  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override { cursor_ = RowCount(); }
  void InternalGotoBookmark(const TBookmark& bookmark) override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  int GetRecordCount() override { return Active() ? RowCount() : 0; }
  int GetRecNo() override;
  bool GetCanModify() override { return !read_only_; }
  void InternalEdit() override;
  void InternalPost() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;

 private:
  struct Row {
    int32_t id;
    std::vector<std::optional<std::string>> values;
  };
  struct Record;

  Record* StateRecord() const;
  bool RowMatches(int row, const std::vector<TField*>& fields, const std::vector<Variant>& values,
                  TLocateOptions options);
  int RowIndex(int32_t id) const;
  void StoreRecord(const Record& record, bool append);

  std::vector<ArrayFieldDef> defs_;
  std::vector<Row> rows_;
  int32_t next_id_ = 1;
  int cursor_ = -1;
  // The record that fields read in the filter state (Locate's comparisons).
  Record* filter_record_ = nullptr;
  bool open_ = false;
  bool read_only_ = false;
  const TTextCodec* codec_ = nullptr;
};
