#pragma once
// Database files with the tables "Ledger" and "Stock" (ID integer with a
// unique index and its constraint, DONOR text with an index, AMOUNT integer, NOTE text), worked
// through the local session and cursor as a dataset would: one record
// buffer, its old copy while editing, records found through the unique
// index. Shared by the multi-process tests and their worker program.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/VTRLocalEngine.h"
#include "tests/engine/access/DatasetCursor.h"
#include "tests/support/TableDefinitions.h"

inline const std::vector<std::string> kLedgerTables = {"Ledger", "Stock"};
inline constexpr int32_t kLedgerID = 0;
inline constexpr int32_t kLedgerDonor = 1;
inline constexpr int32_t kLedgerAmount = 2;
inline constexpr int32_t kLedgerNote = 3;
inline constexpr int32_t kLedgerDonorChars = 20;
inline constexpr int32_t kLedgerNoteChars = 40;

struct LedgerRow {
  int32_t id = 0;
  std::string donor;
  int32_t amount = 0;

  friend bool operator==(const LedgerRow&, const LedgerRow&) = default;
};

// The donor name of a row: few distinct names, so the DONOR index holds runs of equal keys.
inline std::string LedgerDonor(int32_t id, int32_t amount) {
  return "donor" + std::to_string((id + amount) % 13);
}

inline std::unique_ptr<TVTRLocalSession> LedgerSession(const std::string& file_name, bool multi_user = true) {
  auto session = std::make_unique<TVTRLocalSession>();
  session->DatabaseName = "ledger";
  session->DatabaseFileName = file_name;
  session->MaxConnections = 16;
  session->PageSize = 4096;
  session->PagesPerExtent = 8;
  session->MultiUser = multi_user;
  return session;
}

// Creates the file with both tables, empty. A wider NOTE makes each record
// take more of a record page (the note written stays short).
inline void CreateLedgerDatabase(const std::string& file_name, int32_t note_chars = kLedgerNoteChars) {
  auto session = LedgerSession(file_name);
  session->CreateDatabase();
  session->SetConnected(true);
  TVTRFieldDefs fields;
  AddField(fields, "ID", adtInteger);
  AddField(fields, "DONOR", adtString, kLedgerDonorChars);
  AddField(fields, "AMOUNT", adtInteger);
  AddField(fields, "NOTE", adtString, note_chars);
  TVTRIndexDefs indexes;
  AddIndex(indexes, "ByID", "ID", true);
  AddIndex(indexes, "ByDonor", "DONOR");
  // The table component gives a unique index its constraint, which is what
  // refuses a duplicate.
  TVTRConstraintDefs constraints;
  AddUniqueConstraint(constraints, "ByID", "ID");
  for (const std::string& table : kLedgerTables) {
    TVTRLocalCursor cursor;
    cursor.Session = session.get();
    cursor.TableName = table;
    cursor.CreateTable(fields, indexes, constraints);
  }
}

// One open cursor on a ledger table with the buffers a dataset gives it.
class LedgerCursor : public DatasetCursor {
 public:
  LedgerCursor(TVTRLocalSession& session, const std::string& table) : DatasetCursor(session, table) {}

  int32_t Insert(const LedgerRow& row) {
    cursor_.InitRecord(record_.data(), true);
    cursor_.SetFieldData(kLedgerID, &row.id, record_.data());
    cursor_.SetFieldData(kLedgerDonor, row.donor.c_str(), record_.data());
    cursor_.SetFieldData(kLedgerAmount, &row.amount, record_.data());
    const std::string note = "entry " + std::to_string(row.id) + " of " + row.donor;
    cursor_.SetFieldData(kLedgerNote, note.c_str(), record_.data());
    cursor_.Post(true);
    return cursor_.LastResult;
  }

  // Moves onto the record with that ID through the unique index; false when
  // there is none.
  bool Find(int32_t id) { return SeekInteger("ByID", kLedgerID, id) && Current().id == id; }

  // Posts the edited record with a new amount (and the donor that goes with it).
  int32_t Post(int32_t amount) {
    const LedgerRow row = Current();
    cursor_.SetFieldData(kLedgerAmount, &amount, record_.data());
    cursor_.SetFieldData(kLedgerDonor, LedgerDonor(row.id, amount).c_str(), record_.data());
    return PostEdit();
  }

  LedgerRow Current() const {
    LedgerRow row;
    char donor[kLedgerDonorChars + 1] = {};
    cursor_.GetFieldData(kLedgerID, &row.id, record_.data());
    if (cursor_.GetFieldData(kLedgerDonor, donor, record_.data())) row.donor = donor;
    cursor_.GetFieldData(kLedgerAmount, &row.amount, record_.data());
    return row;
  }
  TVTRRecordID CurrentID() const { return LoadRecordID(record_.data() + cursor_.RecordSize); }

  // Every record in the order of the index (storage order for ""), with
  // where each one is stored.
  std::vector<std::pair<TVTRRecordID, LedgerRow>> All(const std::string& index_name) {
    cursor_.SetIndexName(index_name);
    std::vector<std::pair<TVTRRecordID, LedgerRow>> all;
    cursor_.First();
    while (cursor_.GetRecord(fmNext) == grOK) all.emplace_back(CurrentID(), Current());
    return all;
  }
};
