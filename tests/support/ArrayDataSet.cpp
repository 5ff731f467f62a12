#include "tests/support/ArrayDataSet.h"

#include <algorithm>
#include <cstring>

struct TArrayDataSet::Record {
  int32_t id = -1;
  TBookmarkFlag flag = bfInserted;
  std::vector<std::optional<std::string>> values;
  std::vector<uint8_t> calc;
};

namespace {

TBookmark IdBookmark(int32_t id) {
  return TBookmark(reinterpret_cast<const char*>(&id), sizeof id);
}

int32_t BookmarkId(const TBookmark& bookmark) {
  int32_t id = -1;
  if (bookmark.size() == sizeof id) std::memcpy(&id, bookmark.data(), sizeof id);
  return id;
}

}  // namespace

int32_t BytesStream::Read(void* buffer, int32_t count) {
  const int64_t available = std::max<int64_t>(0, static_cast<int64_t>(bytes_.size()) - position_);
  const auto n = static_cast<int32_t>(std::min<int64_t>(count, available));
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

int32_t BytesStream::Write(const void* buffer, int32_t count) {
  if (static_cast<int64_t>(bytes_.size()) < position_ + count) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

int64_t BytesStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t size = static_cast<int64_t>(bytes_.size());
  position_ = offset + (origin == TSeekOrigin::soBeginning ? 0
                        : origin == TSeekOrigin::soCurrent ? position_
                                                           : size);
  return position_;
}

TArrayDataSet::TArrayDataSet(TComponent* owner, std::vector<ArrayFieldDef> defs)
    : TDataSet(owner), defs_(std::move(defs)) {}

TArrayDataSet::~TArrayDataSet() {
  try {
    Close();
  } catch (...) {
  }
}

void TArrayDataSet::InternalInitFieldDefs() {
  FieldDefs().Clear();
  for (const ArrayFieldDef& def : defs_) FieldDefs().Add(def.name, def.type, def.size, def.required);
}

void TArrayDataSet::InternalOpen() {
  open_ = true;
  FieldDefs().Update();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  SetBookmarkSize(sizeof(int32_t));
}

void TArrayDataSet::InternalClose() {
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  open_ = false;
}

TRecordBuffer TArrayDataSet::AllocRecordBuffer() {
  auto* record = new Record;
  record->values.resize(defs_.size());
  record->calc.resize(CalcFieldsSize());
  return reinterpret_cast<TRecordBuffer>(record);
}

void TArrayDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  delete reinterpret_cast<Record*>(buffer);
  buffer = nullptr;
}

void TArrayDataSet::InternalInitRecord(TRecordBuffer buffer) {
  auto* record = reinterpret_cast<Record*>(buffer);
  std::fill(record->values.begin(), record->values.end(), std::nullopt);
}

void TArrayDataSet::ClearCalcFields(TRecordBuffer buffer) {
  auto* record = reinterpret_cast<Record*>(buffer);
  std::fill(record->calc.begin(), record->calc.end(), 0);
}

void TArrayDataSet::GetBookmarkData(TRecordBuffer buffer, TBookmark& data) {
  data = IdBookmark(reinterpret_cast<Record*>(buffer)->id);
}

void TArrayDataSet::SetBookmarkData(TRecordBuffer buffer, const TBookmark& data) {
  reinterpret_cast<Record*>(buffer)->id = BookmarkId(data);
}

TBookmarkFlag TArrayDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  return reinterpret_cast<Record*>(buffer)->flag;
}

void TArrayDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) {
  reinterpret_cast<Record*>(buffer)->flag = flag;
}

TGetResult TArrayDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool do_check) {
  if (mode == gmNext && cursor_ < RowCount()) ++cursor_;
  if (mode == gmPrior && cursor_ >= 0) --cursor_;
  if (cursor_ < 0) return grBOF;
  if (cursor_ >= RowCount()) return grEOF;
  auto* record = reinterpret_cast<Record*>(buffer);
  record->id = rows_[cursor_].id;
  record->flag = bfCurrent;
  record->values = rows_[cursor_].values;
  ++records_fetched;
  GetCalcFields(buffer);
  return grOK;
}

int TArrayDataSet::RowIndex(int32_t id) const {
  const auto found = std::find_if(rows_.begin(), rows_.end(), [id](const Row& row) { return row.id == id; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void TArrayDataSet::InternalGotoBookmark(const TBookmark& bookmark) {
  const int index = RowIndex(BookmarkId(bookmark));
  if (index >= 0) cursor_ = index;
}

void TArrayDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  InternalGotoBookmark(IdBookmark(reinterpret_cast<Record*>(buffer)->id));
}

bool TArrayDataSet::BookmarkValid(const TBookmark& bookmark) {
  return RowIndex(BookmarkId(bookmark)) >= 0;
}

int TArrayDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  if (a.empty() || b.empty()) return a.empty() - b.empty();
  const int left = RowIndex(BookmarkId(a));
  const int right = RowIndex(BookmarkId(b));
  return (left > right) - (left < right);
}

int TArrayDataSet::GetRecNo() {
  if (State() == dsInsert || IsEmpty()) return -1;
  return RowIndex(reinterpret_cast<Record*>(ActiveBuffer())->id) + 1;
}

void TArrayDataSet::SetRecNo(int value) {
  CheckBrowseMode();
  cursor_ = std::clamp(value - 1, 0, RowCount() - 1);
  Resync({rmCenter});
}

TArrayDataSet::Record* TArrayDataSet::StateRecord() const {
  if (State() == dsFilter) return filter_record_;
  return reinterpret_cast<Record*>(StateRecordBuffer());
}

bool TArrayDataSet::RowMatches(int row, const std::vector<TField*>& fields,
                               const std::vector<Variant>& values, TLocateOptions options) {
  Record record;
  record.id = rows_[row].id;
  record.flag = bfCurrent;
  record.values = rows_[row].values;
  record.calc.resize(CalcFieldsSize());
  filter_record_ = &record;
  const TDataSetState saved = SetTempState(dsFilter);
  auto fold = [&options](std::string text) {
    if (options.Contains(loCaseInsensitive)) {
      for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
  };
  bool match = true;
  try {
    for (size_t i = 0; i < fields.size() && match; ++i) {
      if (values[i].IsNull() || fields[i]->IsNull()) {
        match = values[i].IsNull() && fields[i]->IsNull();
        continue;
      }
      const std::string text = fold(fields[i]->AsString());
      const std::string wanted = fold(values[i].AsString());
      match = options.Contains(loPartialKey) ? text.starts_with(wanted) : text == wanted;
    }
  } catch (...) {
    RestoreState(saved);
    filter_record_ = nullptr;
    throw;
  }
  RestoreState(saved);
  filter_record_ = nullptr;
  return match;
}

bool TArrayDataSet::Locate(const std::string& key_fields, const Variant& key_values, TLocateOptions options) {
  CheckBrowseMode();
  const std::vector<TField*> fields = GetFieldList(key_fields);
  const std::vector<Variant> values = key_values.IsArray() ? key_values.Elements() : std::vector{key_values};
  if (values.size() != fields.size()) return false;
  for (int row = 0; row < RowCount(); ++row) {
    if (!RowMatches(row, fields, values, options)) continue;
    if (BeforeScroll) BeforeScroll(this);
    cursor_ = row;
    Resync({rmExact, rmCenter});
    if (AfterScroll) AfterScroll(this);
    return true;
  }
  return false;
}

bool TArrayDataSet::GetFieldData(TField* field, void* buffer) {
  Record* record = StateRecord();
  if (record == nullptr) return false;
  if (field->FieldNo() < 0) return GetCalcFieldData(field, record->calc.data(), buffer);
  const std::optional<std::string>& value = record->values[field->FieldNo() - 1];
  if (!value) return false;
  if (buffer != nullptr) std::memcpy(buffer, value->data(), field->DataSize());
  return true;
}

void TArrayDataSet::SetFieldData(TField* field, const void* buffer) {
  const bool calculating = State() == dsCalcFields;
  if (!IsEditState(State()) && !(calculating && field->FieldNo() < 0)) DatabaseError(SNotEditing, this);
  Record* record = StateRecord();
  if (field->FieldNo() < 0) {
    SetCalcFieldData(field, record->calc.data(), buffer);
  } else {
    field->Validate(buffer);
    auto& value = record->values[field->FieldNo() - 1];
    if (buffer == nullptr) {
      value.reset();
    } else {
      value = std::string(static_cast<const char*>(buffer), field->DataSize());
    }
  }
  if (!calculating) DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}

std::unique_ptr<TStream> TArrayDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  Record* record = StateRecord();
  if (record == nullptr) return nullptr;
  auto& value = record->values[field->FieldNo() - 1];
  if (mode != bmRead) {
    if (!IsEditState(State())) DatabaseError(SNotEditing, this);
    if (mode == bmWrite || !value) value = std::string();
    SetModified(true);
  }
  if (!value) value = std::string();
  return std::make_unique<BytesStream>(*value);
}

void TArrayDataSet::InternalEdit() {
  if (on_internal_edit) on_internal_edit();
}

void TArrayDataSet::StoreRecord(const Record& record, bool append) {
  Row row{next_id_++, record.values};
  int index = append ? RowCount() : RowIndex(record.id);
  if (record.flag == bfBOF) index = 0;
  if (index < 0) index = RowCount();
  rows_.insert(rows_.begin() + index, std::move(row));
  cursor_ = index;
}

void TArrayDataSet::InternalPost() {
  ++internal_post_calls;
  if (on_internal_post) on_internal_post();
  TDataSet::InternalPost();
  auto* record = reinterpret_cast<Record*>(ActiveBuffer());
  if (State() == dsInsert) {
    StoreRecord(*record, record->flag == bfEOF);
    record->id = rows_[cursor_].id;
  } else {
    cursor_ = RowIndex(record->id);
    rows_[cursor_].values = record->values;
  }
}

void TArrayDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  StoreRecord(*reinterpret_cast<Record*>(buffer), append);
}

void TArrayDataSet::InternalDelete() {
  if (on_internal_delete) on_internal_delete();
  const int index = RowIndex(reinterpret_cast<Record*>(ActiveBuffer())->id);
  rows_.erase(rows_.begin() + index);
  cursor_ = index;
}
