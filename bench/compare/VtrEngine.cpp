#include "bench/compare/VtrEngine.h"

#include "bench/compare/VtrSqlSide.h"
#include "bench/compare/VtrDonationLines.h"

#include <cstring>
#include <stdexcept>

namespace {

enum RowField : int32_t {
  kID,
  kDonor,
  kAmount,
  kDonatedOn,
  kReceipt,
  kCategory,
  kQuantity,
  kNote,
  kVerified,
  kReference
};
enum PictureField : int32_t { kPictureID, kPictureData };

constexpr int32_t kPageSize = 4096;
constexpr int32_t kPagesPerExtent = 8;

void AddField(TVTRFieldDefs& fields, const char* name, TVTRAdvancedDataType type, int32_t size) {
  TVTRFieldDef& field = fields.AddFieldDef();
  field.Name = name;
  field.SetDataType(type, size);
}

void AddIndex(TVTRIndexDefs& indexes, const std::string& name, const char* field, bool unique) {
  TVTRIndexDef& index = indexes.AddIndexDef();
  index.Name = name;
  index.SetColumnCount(1);
  index.GetColumn(0).FieldName = field;
  index.Unique = unique;
}

void CreateRowTable(TVTRLocalSession& session, const std::string& name) {
  TVTRFieldDefs fields;
  AddField(fields, "ID", adtInteger, 0);
  AddField(fields, "DONOR", adtString, kDonorChars);
  AddField(fields, "AMOUNT", adtFloat, 0);
  AddField(fields, "DONATED_ON", adtDate, 0);
  AddField(fields, "RECEIPT", adtInteger, 0);
  AddField(fields, "CATEGORY", adtString, kCategoryChars);
  AddField(fields, "QUANTITY", adtSmallInt, 0);
  AddField(fields, "NOTE", adtString, kNoteChars);
  AddField(fields, "VERIFIED", adtLogical, 0);
  AddField(fields, "REFERENCE", adtLargeInt, 0);
  TVTRIndexDefs indexes;
  AddIndex(indexes, name + "ByID", "ID", true);
  AddIndex(indexes, name + "ByDonor", "DONOR", false);
  // As the table component does, the unique index gets the constraint that
  // refuses duplicates, so both engines check uniqueness on every insert.
  TVTRConstraintDefs constraints;
  TVTRConstraintDefUnique& unique = constraints.AddUnique();
  unique.Name = "C_Unique$ID";
  unique.TargetName = name + "ByID";
  unique.KeyColumns = {{"ID", 0}};
  TVTRLocalCursor cursor;
  cursor.Session = &session;
  cursor.TableName = name;
  cursor.CreateTable(fields, indexes, constraints);
}

void CreatePictureTable(TVTRLocalSession& session) {
  TVTRFieldDefs fields;
  AddField(fields, "ID", adtInteger, 0);
  AddField(fields, "DATA", adtBlob, 0);
  TVTRLocalCursor cursor;
  cursor.Session = &session;
  cursor.TableName = "Picture";
  cursor.CreateTable(fields, TVTRIndexDefs{}, TVTRConstraintDefs{});
}

}  // namespace

class VtrEngine::Table {
 public:
  Table(TVTRLocalSession& session, const std::string& name) {
    cursor_.Session = &session;
    cursor_.TableName = name;
    cursor_.OpenTable(nullptr, nullptr, nullptr);
    cursor_.InitFieldDefs();
    record_.assign(static_cast<size_t>(cursor_.RecordBufferSize), 0);
    key_.assign(static_cast<size_t>(cursor_.KeyBufferSize), 0);
    cursor_.CurrentRecord = record_.data();
  }

  TVTRLocalCursor& Cursor() { return cursor_; }

  void Insert(const DonationRow& row) {
    cursor_.InitRecord(record_.data(), true);
    uint8_t* record = record_.data();
    const int16_t verified = row.verified ? -1 : 0;
    cursor_.SetFieldData(kID, &row.id, record);
    cursor_.SetFieldData(kDonor, row.donor.c_str(), record);
    cursor_.SetFieldData(kAmount, &row.amount, record);
    cursor_.SetFieldData(kDonatedOn, &row.donated_on, record);
    cursor_.SetFieldData(kReceipt, &row.receipt, record);
    cursor_.SetFieldData(kCategory, row.category.c_str(), record);
    cursor_.SetFieldData(kQuantity, &row.quantity, record);
    cursor_.SetFieldData(kNote, row.note.c_str(), record);
    cursor_.SetFieldData(kVerified, &verified, record);
    cursor_.SetFieldData(kReference, &row.reference, record);
    Post();
  }

  void Post() {
    cursor_.Post(true);
    if (cursor_.LastResult != 0)
      throw std::runtime_error("post of " + cursor_.TableName + " ended with " +
                               std::to_string(cursor_.LastResult));
  }

  // Reads every field of the current record, as a dataset showing it would.
  void ReadRow(Checksum& sum) {
    const uint8_t* record = record_.data();
    DonationRow row;
    char text[kNoteChars + 1];
    int16_t verified = 0;
    cursor_.GetFieldData(kID, &row.id, record);
    row.donor = cursor_.GetFieldData(kDonor, text, record) ? text : "";
    cursor_.GetFieldData(kAmount, &row.amount, record);
    cursor_.GetFieldData(kDonatedOn, &row.donated_on, record);
    cursor_.GetFieldData(kReceipt, &row.receipt, record);
    row.category = cursor_.GetFieldData(kCategory, text, record) ? text : "";
    cursor_.GetFieldData(kQuantity, &row.quantity, record);
    row.note = cursor_.GetFieldData(kNote, text, record) ? text : "";
    cursor_.GetFieldData(kVerified, &verified, record);
    row.verified = verified != 0;
    cursor_.GetFieldData(kReference, &row.reference, record);
    sum.Add(row.amount, static_cast<int64_t>(row.donor.size() + row.category.size() + row.note.size()));
  }

  // Positions on the record with that ID through the unique index.
  bool Find(int32_t id) {
    cursor_.InitRecordBuffer(key_.data());
    cursor_.SetFieldData(kID, &id, key_.data());
    cursor_.SearchKey = key_.data();
    cursor_.SearchKeyFieldCount = 1;
    return cursor_.GotoKey(true) && cursor_.GetRecord(fmCurrent) == grOK;
  }

 private:
  TVTRLocalCursor cursor_;
  std::vector<uint8_t> record_;
  std::vector<uint8_t> key_;
};

VtrEngine::VtrEngine() = default;

VtrEngine::~VtrEngine() {
  try {
    sql_.reset();
    Disconnect();
    lines_.reset();
  } catch (...) {
  }
}

std::vector<std::string> VtrEngine::Settings() const {
  return {
      "page size 4096, 8 pages per extent, page cache of at most 1000 pages",
      "flushed commits: the session's Commit(flush), fdatasync before and after the pages are written "
      "and after the header; commits without a flush: the automatic commit of a Post outside a transaction",
      "single-user for the one-transaction steps, look-ups and scan; multi-user for the single commits",
      "SQL work: a query component on a multi-user database component, the statements as the windows "
      "write them",
      "donation lines: the window's statement texts through a query component on a multi-user database "
      "component of their own file, parameters set by name before every run (each run lexes and parses)"};
}

void VtrEngine::NewSession(bool multi_user) {
  session_ = std::make_unique<TVTRLocalSession>();
  session_->DatabaseName = "bench";
  session_->DatabaseFileName = file_;
  session_->MaxConnections = 8;
  session_->PageSize = kPageSize;
  session_->PagesPerExtent = kPagesPerExtent;
  session_->MultiUser = multi_user;
  multi_user_ = multi_user;
}

void VtrEngine::Disconnect() {
  donation_.reset();
  if (session_) session_->SetConnected(false);
  session_.reset();
}

void VtrEngine::Create(const std::string& folder) {
  file_ = folder + "/bench.vtr";
  NewSession(false);
  session_->CreateDatabase();
  session_->SetConnected(true);
  CreateRowTable(*session_, "Donation");
  CreateRowTable(*session_, "Ledger");
  CreatePictureTable(*session_);
  donation_ = std::make_unique<Table>(*session_, "Donation");
}

void VtrEngine::BulkInsert(int64_t rows) {
  session_->StartTransaction();
  for (int64_t id = 1; id <= rows; ++id) donation_->Insert(MakeRow(static_cast<int32_t>(id)));
  session_->Commit(true);
}

Checksum VtrEngine::LookUp(const std::vector<int32_t>& ids) {
  donation_->Cursor().SetIndexName("DonationByID");
  Checksum sum;
  for (const int32_t id : ids) {
    if (!donation_->Find(id)) throw std::runtime_error("ID " + std::to_string(id) + " not found");
    donation_->ReadRow(sum);
  }
  donation_->Cursor().SetIndexName("");
  return sum;
}

Checksum VtrEngine::Scan() {
  TVTRLocalCursor& cursor = donation_->Cursor();
  Checksum sum;
  cursor.First();
  while (cursor.GetRecord(fmNext) == grOK) donation_->ReadRow(sum);
  return sum;
}

void VtrEngine::WriteBlobs(int64_t count, int32_t bytes) {
  Table pictures(*session_, "Picture");
  TVTRLocalCursor& cursor = pictures.Cursor();
  std::vector<uint8_t> value(static_cast<size_t>(bytes));
  session_->StartTransaction();
  for (int64_t n = 0; n < count; ++n) {
    FillBlob(n, value);
    cursor.InitRecord(cursor.CurrentRecord, true);
    const int32_t id = static_cast<int32_t>(n);
    cursor.SetFieldData(kPictureID, &id, cursor.CurrentRecord);
    TVTRStream* stream = cursor.OpenBlob(true, false, kPictureData, bomWrite);
    if (!stream) throw std::runtime_error("cannot open a BLOB to write");
    stream->WriteBuffer(value.data(), bytes);
    cursor.CloseBlob(kPictureData);
    pictures.Post();
  }
  session_->Commit(true);
}

Checksum VtrEngine::ReadBlobs(int64_t count, int32_t bytes) {
  Table pictures(*session_, "Picture");
  TVTRLocalCursor& cursor = pictures.Cursor();
  std::vector<uint8_t> value(static_cast<size_t>(bytes));
  std::vector<uint8_t> expected(static_cast<size_t>(bytes));
  Checksum sum;
  cursor.First();
  while (cursor.GetRecord(fmNext) == grOK) {
    int32_t id = 0;
    cursor.GetFieldData(kPictureID, &id, cursor.CurrentRecord);
    TVTRStream* stream = cursor.OpenBlob(false, false, kPictureData, bomRead);
    if (!stream) throw std::runtime_error("cannot open a BLOB to read");
    const int64_t size = stream->Size();
    if (size == bytes) stream->ReadBuffer(value.data(), bytes);
    cursor.CloseBlob(kPictureData);
    FillBlob(id, expected);
    if (size != bytes || value != expected)
      throw std::runtime_error("BLOB " + std::to_string(id) + " read back different");
    sum.Add(0, size);
  }
  if (sum.rows != count) throw std::runtime_error("BLOB values missing");
  return sum;
}

void VtrEngine::SingleCommits(int32_t first_id, int64_t count, bool flushed) {
  if (!multi_user_) {
    Disconnect();
    NewSession(true);
    session_->SetConnected(true);
  }
  Table ledger(*session_, "Ledger");
  for (int64_t i = 0; i < count; ++i) {
    const DonationRow row = MakeRow(first_id + static_cast<int32_t>(i));
    if (flushed) {
      session_->StartTransaction();
      ledger.Insert(row);
      session_->Commit(true);
    } else {
      ledger.Insert(row);
    }
  }
}

void VtrEngine::Close() {
  sql_.reset();
  Disconnect();
  // The engine runtime of the components goes last.
  lines_.reset();
}
