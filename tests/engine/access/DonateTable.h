#pragma once
// A database file with the table "Donate" (ID integer, Donor text, Amount
// float; a unique index on ID and an index on Donor), worked through the
// local session and cursor as a dataset would: one record buffer, its old
// copy while editing, positions found by scanning. Shared by the tests and
// the access helper program.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/access/VTRLocalEngine.h"
#include "tests/engine/access/DatasetCursor.h"
#include "tests/support/TableDefinitions.h"

inline constexpr int32_t kDonateID = 0;
inline constexpr int32_t kDonateDonor = 1;
inline constexpr int32_t kDonateAmount = 2;

// The definitions of "Donate".
struct DonateDefinitions {
  DonateDefinitions() {
    AddField(fields, "ID", adtInteger);
    AddField(fields, "Donor", adtString, 20);
    AddField(fields, "Amount", adtFloat);
    AddIndex(indexes, "ByID", "ID", true);
    AddIndex(indexes, "ByDonor", "Donor");
  }

  TVTRFieldDefs fields;
  TVTRIndexDefs indexes;
  TVTRConstraintDefs constraints;
};

inline std::unique_ptr<TVTRLocalSession> DonateSession(const std::string& file_name, bool multi_user = true) {
  auto session = std::make_unique<TVTRLocalSession>();
  session->DatabaseName = "d_main";
  session->DatabaseFileName = file_name;
  session->MaxConnections = 8;
  session->PageSize = 4096;
  session->PagesPerExtent = 8;
  session->MultiUser = multi_user;
  return session;
}

// Creates the file and the table in it; a password makes the file encrypted
// with cipher algorithm 1.
inline void CreateDonateDatabase(const std::string& file_name, const std::string& password = {}) {
  auto session = DonateSession(file_name);
  if (!password.empty()) session->Password = {password, 1};
  session->CreateDatabase();
  session->SetConnected(true);
  TVTRLocalCursor cursor;
  cursor.Session = session.get();
  cursor.TableName = "Donate";
  const DonateDefinitions definitions;
  cursor.CreateTable(definitions.fields, definitions.indexes, definitions.constraints);
}

struct Donation {
  int32_t id = 0;
  std::string donor;
  double amount = 0;
};

// One open cursor on "Donate" with the buffers a dataset gives it.
class DonateCursor : public DatasetCursor {
 public:
  explicit DonateCursor(TVTRLocalSession& session, bool exclusive = false)
      : DatasetCursor(session, "Donate", exclusive) {}

  int32_t Insert(const Donation& donation) {
    cursor_.InitRecord(record_.data(), true);
    Put(donation);
    cursor_.Post(true);
    return cursor_.LastResult;
  }

  // Moves onto the record with that ID; false when there is none.
  bool Find(int32_t id) {
    cursor_.First();
    while (cursor_.GetRecord(fmNext) == grOK)
      if (Current().id == id) return true;
    return false;
  }

  int32_t Post(double amount) {
    SetAmount(amount);
    return PostEdit();
  }

  void SetAmount(double amount) {
    TVTRVariant value;
    value.SetAsDouble(amount);
    cursor_.SetFieldValue(value, kDonateAmount, true, nullptr);
  }

  Donation Current() {
    Donation donation;
    TVTRVariant id;
    cursor_.GetFieldValue(id, kDonateID, true);
    donation.id = id.GetAsInteger();
    TVTRVariant donor;
    cursor_.GetFieldValue(donor, kDonateDonor, true);
    donation.donor = donor.IsNull() ? "" : donor.GetAsString();
    TVTRVariant amount;
    cursor_.GetFieldValue(amount, kDonateAmount, true);
    donation.amount = amount.GetAsDouble();
    return donation;
  }

  // Every record in the order of the active index (storage order without one).
  std::vector<Donation> All() {
    std::vector<Donation> all;
    cursor_.First();
    while (cursor_.GetRecord(fmNext) == grOK) all.push_back(Current());
    return all;
  }

 private:
  void Put(const Donation& donation) {
    TVTRVariant id;
    id.SetAsInteger(donation.id);
    cursor_.SetFieldValue(id, kDonateID, true, nullptr);
    TVTRVariant donor;
    donor.SetAsString(donation.donor);
    cursor_.SetFieldValue(donor, kDonateDonor, true, nullptr);
    SetAmount(donation.amount);
  }
};
