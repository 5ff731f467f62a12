// One seeded workload run through the local cursor against a table of each
// variant (a database file, "MEMORY", "TEMP") and a model of what the table
// must hold: inserts, updates and deletes with memo values of every size (on
// shared BLOB pages, in page sequences, emptied through their stream or set
// to null through their value), duplicate keys refused, seeks through the
// unique index and walks in storage order and in the order of both indexes,
// both ways. Every record read is compared with the model. Temporary tables
// take inserts only, and check no constraints: their updates and deletes must
// be refused and change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/access/VTRLocalEngine.h"
#include "engine/storage/VTRMemEngine.h"
#include "engine/storage/VTRTempEngine.h"
#include "engine/storage/base/ResultCodes.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "tests/engine/access/DatasetCursor.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TableDefinitions.h"

namespace {

constexpr int32_t kID = 0;
constexpr int32_t kName = 1;
constexpr int32_t kAmount = 2;
constexpr int32_t kNote = 3;
constexpr int32_t kNameChars = 20;
constexpr int kSteps = 700;
constexpr int32_t kKeys = 150;

enum class Variant { kDisk, kMemory, kTemporary };

// A record as the model keeps it; an empty note is a null memo.
struct Row {
  int32_t id = 0;
  std::string name;
  int32_t amount = 0;
  std::string note;

  friend bool operator==(const Row&, const Row&) = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.id << ", " << row.name << ", " << row.amount << ", note of " << row.note.size() << "}";
}

// Creates table "Gifts": ID with a unique index and its constraint, NAME
// with an index, AMOUNT, NOTE a memo.
void CreateGifts(TVTRLocalSession& session) {
  TVTRFieldDefs fields;
  AddField(fields, "ID", adtInteger);
  AddField(fields, "NAME", adtString, kNameChars);
  AddField(fields, "AMOUNT", adtInteger);
  AddField(fields, "NOTE", adtMemo);
  TVTRIndexDefs indexes;
  AddIndex(indexes, "ByID", "ID", true);
  AddIndex(indexes, "ByName", "NAME");
  TVTRConstraintDefs constraints;
  AddUniqueConstraint(constraints, "ByID", "ID");
  TVTRLocalCursor cursor;
  cursor.Session = &session;
  cursor.TableName = "Gifts";
  cursor.CreateTable(fields, indexes, constraints);
}

// A cursor on "Gifts" as a dataset drives it.
class GiftCursor : public DatasetCursor {
 public:
  explicit GiftCursor(TVTRLocalSession& session) : DatasetCursor(session, "Gifts") {}
  ~GiftCursor() { cursor_.FreeBlobStreams(false); }

  int32_t Insert(const Row& row) {
    cursor_.InitRecord(record_.data(), true);
    cursor_.SetFieldData(kID, &row.id, record_.data());
    cursor_.SetFieldData(kName, row.name.c_str(), record_.data());
    cursor_.SetFieldData(kAmount, &row.amount, record_.data());
    if (!row.note.empty()) WriteNote(true, row.note);
    cursor_.Post(true);
    return cursor_.LastResult;
  }
  void SetAmount(int32_t amount) { cursor_.SetFieldData(kAmount, &amount, record_.data()); }
  void SetName(const std::string& name) { cursor_.SetFieldData(kName, name.c_str(), record_.data()); }
  // Through the field's stream; an empty note empties the value.
  void WriteNote(bool is_insert, const std::string& note) {
    TVTRStream* stream = cursor_.OpenBlob(is_insert, !is_insert, kNote, bomWrite);
    ASSERT_NE(stream, nullptr);
    if (!note.empty()) stream->WriteBuffer(note.data(), static_cast<int32_t>(note.size()));
    stream->SetSize(static_cast<int64_t>(note.size()));
    cursor_.CloseBlob(kNote);
  }
  // Through the field's value, as a dataset clears a field.
  void ClearNote() { cursor_.SetFieldData(kNote, nullptr, record_.data()); }
  // Moves onto the record with that ID through the unique index.
  bool Seek(int32_t id) { return SeekInteger("ByID", kID, id) && Current().id == id; }
  // Every record in the index's order ("" for storage order), read back to
  // front when not forward, with its note.
  std::vector<Row> All(const std::string& index_name, bool forward) {
    cursor_.SetIndexName(index_name);
    forward ? cursor_.First() : cursor_.Last();
    std::vector<Row> rows;
    while (cursor_.GetRecord(forward ? fmNext : fmPrior) == grOK) rows.push_back(Current());
    return rows;
  }
  Row Current() {
    Row row;
    char name[kNameChars + 1] = {};
    cursor_.GetFieldData(kID, &row.id, record_.data());
    if (cursor_.GetFieldData(kName, name, record_.data())) row.name = name;
    cursor_.GetFieldData(kAmount, &row.amount, record_.data());
    TVTRStream* stream = cursor_.OpenBlob(false, false, kNote, bomRead);
    if (stream == nullptr) {
      ADD_FAILURE() << "the note of " << row.id << " could not be opened";
      return row;
    }
    row.note.resize(static_cast<size_t>(stream->Size()));
    if (!row.note.empty()) stream->ReadBuffer(row.note.data(), static_cast<int32_t>(row.note.size()));
    cursor_.CloseBlob(kNote);
    return row;
  }
};

// The session of the variant's database, and that database's set-up.
class VariantSession {
 public:
  explicit VariantSession(Variant variant) {
    if (variant == Variant::kMemory) {
      process_database_ = DatabaseDataList().Add(std::make_unique<TVTRMemoryDatabaseData>());
      session_.DatabaseName = "MEMORY";
    } else if (variant == Variant::kTemporary) {
      process_database_ = DatabaseDataList().Add(std::make_unique<TVTRTemporaryDatabaseData>());
      session_.DatabaseName = "TEMP";
    } else {
      session_.DatabaseName = "gifts";
      session_.DatabaseFileName = folder_.File("dat_temple.vtr");
      session_.MaxConnections = 4;
      session_.PageSize = 4096;
      session_.PagesPerExtent = 8;
      session_.MultiUser = true;
      session_.CreateDatabase();
    }
    session_.SetConnected(true);
  }
  ~VariantSession() {
    session_.SetConnected(false);
    if (process_database_ != nullptr) DatabaseDataList().Free(process_database_);
  }

  TVTRLocalSession& Session() { return session_; }

 private:
  ScratchFolder folder_;
  TVTRLocalSession session_;
  TVTRDatabaseData* process_database_ = nullptr;
};

class Workload : public ::testing::TestWithParam<Variant> {
 protected:
  // A note of one of the sizes that land in different places: none, a
  // shared BLOB page, a sequence of pages.
  std::string Note() {
    static constexpr size_t kSizes[] = {0, 0, 30, 700, 3000, 9000};
    const size_t size = kSizes[random_() % std::size(kSizes)];
    std::string note;
    note.reserve(size);
    while (note.size() < size) note += "merit " + std::to_string(random_() % 100000) + "; ";
    note.resize(size);
    return note;
  }
  std::string Name() { return "donor" + std::to_string(random_() % 17); }
  int32_t Key() { return static_cast<int32_t>(random_() % kKeys) + 1; }

  // The model's rows in the order of an index, or as a set for storage order.
  std::vector<Row> Expected(const std::string& index_name, bool forward) const {
    std::vector<Row> rows;
    for (const auto& [id, row] : model_) rows.push_back(row);
    if (index_name == "ByName")
      std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.name < b.name; });
    if (!forward) std::reverse(rows.begin(), rows.end());
    return rows;
  }
  void CheckWalks(GiftCursor& cursor) {
    for (const bool forward : {true, false}) {
      SCOPED_TRACE(forward ? "forward" : "backward");
      EXPECT_EQ(cursor.All("ByID", forward), Expected("ByID", forward));
      // Equal names may stand in any order among themselves, and storage
      // order is the engine's: those walks are compared as sets of rows, the
      // names also by their order.
      std::vector<Row> by_name = cursor.All("ByName", forward);
      std::vector<std::string> names;
      for (const Row& row : by_name) names.push_back(row.name);
      EXPECT_TRUE(forward ? std::is_sorted(names.begin(), names.end())
                          : std::is_sorted(names.rbegin(), names.rend()));
      const auto by_id = [](const Row& a, const Row& b) { return a.id < b.id; };
      std::sort(by_name.begin(), by_name.end(), by_id);
      EXPECT_EQ(by_name, Expected("ByID", true)) << "the name index";
      std::vector<Row> stored = cursor.All("", forward);
      std::sort(stored.begin(), stored.end(), by_id);
      EXPECT_EQ(stored, Expected("ByID", true)) << "storage order";
    }
  }

  std::mt19937 random_{static_cast<uint32_t>(2475 + static_cast<int>(GetParam()))};
  std::map<int32_t, Row> model_;
};

TEST_P(Workload, EveryReadAgreesWithTheModel) {
  const bool temporary = GetParam() == Variant::kTemporary;
  VariantSession variant(GetParam());
  CreateGifts(variant.Session());
  GiftCursor cursor(variant.Session());
  for (int step = 0; step < kSteps; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    if (step % 100 == 99) CheckWalks(cursor);
    const int32_t id = Key();
    const auto found = model_.find(id);
    const unsigned action = random_() % 10;
    // Temporary tables check no constraints, so they get no duplicate ID.
    if (found == model_.end() || (action < 3 && !temporary)) {
      // An insert; over a taken ID the unique constraint refuses it.
      const Row row{id, Name(), static_cast<int32_t>(random_() % 100000), Note()};
      const int32_t result = cursor.Insert(row);
      if (found != model_.end()) {
        EXPECT_EQ(result, kResultFailure) << "a duplicate ID was taken";
        continue;
      }
      ASSERT_EQ(result, kResultOK);
      model_[id] = row;
      ASSERT_TRUE(cursor.Seek(id));
      EXPECT_EQ(cursor.Current(), row);
      continue;
    }
    ASSERT_TRUE(cursor.Seek(id));
    ASSERT_EQ(cursor.Current(), found->second);
    if (action < 8) {
      if (cursor.Edit() != kResultOK) {
        EXPECT_TRUE(temporary) << "the edit was refused";
        EXPECT_EQ(cursor.Cancel(), kResultOK);
        continue;
      }
      Row row = found->second;
      row.amount = static_cast<int32_t>(random_() % 100000);
      cursor.SetAmount(row.amount);
      if (random_() % 2 == 0) {
        row.name = Name();
        cursor.SetName(row.name);
      }
      switch (random_() % 4) {
        case 0:  // kept
          break;
        case 1:  // set to null through its value
          row.note.clear();
          cursor.ClearNote();
          break;
        default:  // written through its stream, maybe empty
          row.note = Note();
          cursor.WriteNote(false, row.note);
      }
      ASSERT_EQ(cursor.PostEdit(), kResultOK);
      found->second = row;
      ASSERT_TRUE(cursor.Seek(id));
      EXPECT_EQ(cursor.Current(), row);
    } else {
      const int32_t result = cursor.Delete();
      if (temporary) {
        EXPECT_EQ(result, kResultTemporaryDelete);
        continue;
      }
      ASSERT_EQ(result, kResultOK);
      model_.erase(found);
      EXPECT_FALSE(cursor.Seek(id));
    }
  }
  CheckWalks(cursor);
  ASSERT_GT(model_.size(), 20u) << "the workload left too little to read";
}

INSTANTIATE_TEST_SUITE_P(Variants, Workload,
                         ::testing::Values(Variant::kDisk, Variant::kMemory, Variant::kTemporary),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                           switch (info.param) {
                             case Variant::kDisk:
                               return "DiskFile";
                             case Variant::kMemory:
                               return "Memory";
                             case Variant::kTemporary:
                               return "Temporary";
                           }
                           return "";
                         });

}  // namespace
