#pragma once
// Test support: opens a database file that may be damaged anywhere and reads
// everything it can reach: header, free-space maps and every page, system
// directory, connection slots, table list, and per table its definitions,
// counters, lock area, records in storage order with their record numbers,
// the record-page map, and every index in index order both ways, with seeks,
// record numbers and the integrity check. Every page that looks like a
// B-tree page is also read as the root of a page map. Engine errors are the
// accepted answer to damage; anything else escapes. Shared by the
// deterministic damage test and the libFuzzer target.
//
// Input: one option byte, then
//   bit 7 clear: the database file itself;
//   bit 7 set:   damage to a seed database: patches of 4 bytes each
//                (u8 unit, u16 offset, u8 xor mask); unit 0 is the 380 bytes
//                before the pages, unit u > 0 page (u - 1) mod page count.
//   bit 0 multi-user, bit 1 the encrypted seed (damage mode).
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/DiskPageManager.h"
#include "engine/storage/FreeSpaceManager.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/diskdb/DiskDatabaseData.h"
#include "engine/storage/index/RecordIndex.h"
#include "engine/storage/locks/TableLockManager.h"
#include "platform/os/RetryPolicy.h"
#include "tests/support/DatabaseExerciseTable.h"

inline constexpr int32_t kExercisePageSize = 512;
inline constexpr int32_t kExerciseSlots = 16;
inline constexpr int32_t kExerciseRecords = 260;
inline constexpr uint8_t kExerciseDamageMode = 0x80;
inline constexpr uint8_t kExerciseMultiUser = 0x01;
inline constexpr uint8_t kExerciseEncrypted = 0x02;
inline constexpr char kExercisePassword[] = "wat-merit";
inline constexpr char kExerciseTable[] = "DONATIONS";

namespace database_exercise {

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& file, const uint8_t* data, size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline TVTRPassword ExercisePassword(bool encrypted) {
  TVTRPassword password;
  if (encrypted) {
    password.Password = kExercisePassword;
    password.Algorithm = 0;
  }
  return password;
}

// Donations: a primary key, a text index whose keys keep only the first 20
// bytes (so equal prefixes are settled by reading records), a money field.
inline void DefineDonations(TVTRFieldDefs& fields, TVTRIndexDefs& indexes) {
  TVTRFieldDef& id = fields.AddFieldDef();
  id.Name = "ID";
  id.SetDataType(adtInteger, 0);
  TVTRFieldDef& name = fields.AddFieldDef();
  name.Name = "DONOR";
  name.SetDataType(adtString, 40);
  TVTRFieldDef& amount = fields.AddFieldDef();
  amount.Name = "AMOUNT";
  amount.SetDataType(adtCurrency, 0);
  for (int32_t i = 0; i < fields.GetCount(); ++i) fields.GetFieldDef(i).ObjectID = 100 + i;
  TVTRIndexDef& primary = indexes.AddIndexDef();
  primary.Name = "PK";
  primary.ObjectID = 200;
  primary.Unique = primary.Primary = true;
  primary.Columns = {TVTRIndexColumn{"ID"}};
  TVTRIndexDef& by_donor = indexes.AddIndexDef();
  by_donor.Name = "BY_DONOR";
  by_donor.ObjectID = 201;
  by_donor.Columns = {TVTRIndexColumn{"DONOR", false, true}, TVTRIndexColumn{"AMOUNT", true}};
}

inline void SetDonation(const ExerciseTable& table, std::vector<uint8_t>& record, int32_t id) {
  const TVTRFieldDefs& fields = table.Fields.FieldDefs;
  record.assign(record.size(), 0);
  StoreI32(record.data() + fields.GetFieldDef(0).MemoryOffset, id);
  // Donors share their first 20 bytes in groups, so some keys tie on them.
  const std::string donor =
      "Donor " + std::to_string(id % 37) + " of the temple family " + std::to_string(id % 5);
  std::copy(donor.begin(), donor.end(), record.begin() + fields.GetFieldDef(1).MemoryOffset);
  StoreU64(record.data() + fields.GetFieldDef(2).MemoryOffset, static_cast<uint64_t>(id % 91) * 12500);
}

// A database of one filled table and one empty one, with deleted records
// (pages of the record store freed again) and a B-tree index of three levels.
inline void BuildSeed(const std::filesystem::path& file, bool encrypted) {
  std::filesystem::remove(file);
  TVTRDiskDatabaseData database(file.string());
  database.PageSize = kExercisePageSize;
  database.PagesPerExtent = 4;
  database.MaxConnections = kExerciseSlots;
  database.Password = ExercisePassword(encrypted);
  database.CreateDatabase();
  TestSession session;
  database.ConnectSession(session);
  TVTRDiskPageManager& pages = *database.DiskPageManager();
  const auto create = [&](const std::string& name) {
    TVTRFieldDefs fields;
    TVTRIndexDefs indexes;
    DefineDonations(fields, indexes);
    auto table = std::make_unique<ExerciseTable>(pages, database.GetNextObjectID());
    database.LockTableDirectory();
    const TableListEntry entry = table->Create(name, fields, indexes, database.MaxConnections);
    database.AddTableEntry(entry.TableID, entry.Name, entry.LocksStart, entry.MostUpdatedStart,
                           entry.MetadataStart);
    database.Commit(kSystemSessionID, false);
    database.UnlockTableDirectory();
    return table;
  };
  std::unique_ptr<ExerciseTable> donations = create(kExerciseTable);
  create("EMPTY");
  std::vector<uint8_t> record = donations->EmptyRecord();
  std::vector<TVTRRecordID> ids;
  for (int32_t i = 0; i < kExerciseRecords; ++i) {
    SetDonation(*donations, record, (i * 97) % kExerciseRecords);
    TVTRRecordID id;
    if (!donations->Insert(session, record, id)) throw EVTRException(0, "seed insert failed");
    ids.push_back(id);
  }
  donations->SaveCounters(session.SessionID);
  database.Commit(session.SessionID, false);
  for (size_t i = 0; i < ids.size(); i += 3) {
    if (!donations->Delete(session, ids[i])) throw EVTRException(0, "seed delete failed");
  }
  donations->SaveCounters(session.SessionID);
  database.Commit(session.SessionID, false);
  database.DisconnectSession(session);
}

// The seed files, built once per process in the file `scratch` for a moment.
inline const std::vector<uint8_t>& Seed(bool encrypted, const std::filesystem::path& scratch) {
  static std::map<bool, std::vector<uint8_t>> seeds;
  auto it = seeds.find(encrypted);
  if (it == seeds.end()) {
    const std::filesystem::path& file = scratch;
    BuildSeed(file, encrypted);
    it = seeds.emplace(encrypted, ReadFileBytes(file)).first;
    std::filesystem::remove(file);
  }
  return it->second;
}

// Applies the patches of a damage-mode input to a copy of the seed.
inline std::vector<uint8_t> Damaged(std::vector<uint8_t> file, const uint8_t* patches, size_t size) {
  const size_t page_count = (file.size() - kPagesOffset) / kExercisePageSize;
  for (size_t i = 0; i + 4 <= size; i += 4) {
    const size_t offset = patches[i + 1] | patches[i + 2] << 8;
    const size_t at = patches[i] == 0 ? offset % kPagesOffset
                                      : kPagesOffset + (patches[i] - 1) % page_count * kExercisePageSize +
                                            offset % kExercisePageSize;
    file[at] ^= patches[i + 3];
  }
  return file;
}

// How far a walk may go: every entry a file of this size could hold. A walk
// that goes further runs in a circle.
struct WalkLimit {
  int64_t steps;
  bool Exceeded(int64_t taken) const { return taken > steps; }
};

// What a walk found: the first broken promise (empty when none), and how
// much it read.
struct WalkReport {
  std::string fault;
  int32_t tables = 0;
  int64_t records = 0;        // in storage order
  int64_t index_entries = 0;  // over all indexes, in index order
};

// Every walk must end; the report says what it read.
class Walker {
 public:
  // Record numbers and seeks are taken for every so many records: each
  // costs a walk of its own.
  static constexpr int kSampleEvery = 8;

  Walker(TVTRDiskDatabaseData& database, TVTRBaseSession& session, int64_t file_pages)
      : database_(database),
        pages_(*database.DiskPageManager()),
        session_(session),
        file_pages_(file_pages),
        // Page maps have the smallest entries, 6 bytes.
        limit_{file_pages * (database.PageSize / 6 + 1)} {}

  WalkReport WalkEverything() {
    Quietly([&] { WalkPages(); });
    TStringList names;
    Quietly([&] { database_.GetTableNames(names); });
    for (int32_t i = 0; i < std::min(names.Count(), 4) && report_.fault.empty(); ++i)
      Quietly([&] { WalkTable(names[i]); });
    return report_;
  }

 private:
  int32_t Session() const { return session_.SessionID; }

  // Runs a part of the walk; an engine error ends that part only.
  template <typename Part>
  void Quietly(Part&& part) {
    try {
      part();
    } catch (const EVTRException&) {
    }
  }

  // Every page through the cache, and every page that looks like a B-tree
  // page as the root of a page map.
  void WalkPages() {
    const auto page_count = static_cast<int32_t>(std::min<int64_t>(pages_.GetPageCount(), file_pages_));
    for (int32_t page_no = 0; page_no < page_count && report_.fault.empty(); ++page_no) {
      if (pages_.FreeSpaceManager().IsMapPage(page_no)) continue;
      uint16_t type = 0;
      Quietly([&] {
        HeldPage page(pages_.GetPage(Session(), page_no, kAnyPageType));
        type = page->PageType();
      });
      if (type == ptTableIndex) WalkPageMap(page_no);
    }
  }

  void WalkPageMap(int32_t root) {
    TVTRBTreeRecordPageIndex map(pages_);
    map.SetRoot(root);
    map.Capacity = 9;
    TVTRPageKeyRef key_ref;
    Quietly([&] {
      TVTRKeyPath path;
      WithTreeRoot(pages_, key_ref, Session(), root,
                   [&](TVTRBTreePage& page) { page.CheckIntegrity(Session(), path); });
    });
    std::vector<int32_t> listed;
    Quietly([&] {
      TVTRKeyPath path;
      int64_t steps = 0;
      for (bool found = map.First(Session(), path); found; found = map.Next(Session(), path)) {
        if (limit_.Exceeded(++steps)) return Fail("page map walk did not end");
        listed.push_back(map.GetKey(Session(), path));
        map.GetValue(Session(), path);
      }
    });
    Quietly([&] {
      TVTRKeyPath path;
      int64_t steps = 0;
      for (bool found = map.Last(Session(), path); found; found = map.Prior(Session(), path)) {
        if (limit_.Exceeded(++steps)) return Fail("page map walk back did not end");
      }
    });
    for (const int32_t page_no : listed) {
      Quietly([&] {
        int64_t number;
        map.GetRecordNo(Session(), page_no, number, 0);
        int32_t located_page, ordinal;
        map.LocateRecordNo(Session(), located_page, ordinal, number);
      });
      Quietly([&] {
        int32_t next;
        map.NextPage(Session(), page_no, next);
      });
    }
    Quietly([&] {
      int32_t page_no;
      map.FindPageWithRoom(Session(), page_no);
    });
  }

  void WalkTable(const std::string& name) {
    const TableListEntry entry = database_.FindTableEntry(name);
    ExerciseTable table(pages_, entry.TableID);
    table.Open(entry, Session());
    ++report_.tables;
    Quietly([&] { WalkLocks(table); });
    const std::vector<TVTRRecordID> ids = WalkStorageOrder(table);
    Quietly([&] {
      TVTRKeyPath path;
      TVTRPageKeyRef key_ref;
      const int32_t root = table.Records->RecordPageIndex.Root();
      if (root != -1)
        WithTreeRoot(pages_, key_ref, Session(), root,
                     [&](TVTRBTreePage& page) { page.CheckIntegrity(Session(), path); });
    });
    for (int32_t i = 0; i < table.Indexes->IndexDefs.GetCount() && report_.fault.empty(); ++i)
      Quietly([&] { WalkIndex(table, table.Indexes->IndexDefs.GetIndexDef(i).ObjectID, ids); });
  }

  void WalkLocks(ExerciseTable& table) {
    TVTRTableLocksFile& locks = table.Locks();
    if (database_.MultiUser) {
      TVTRDatabaseTableLockManager& manager = *database_.TableLockManager;
      if (manager.LockTable(locks, Session(), tltOpen, 1, 0))
        manager.UnlockTable(locks, Session(), tltOpen, false, true);
      if (manager.LockRecord(locks, Session(), {1, 0}, 1, 0)) manager.UnlockRecord(locks, Session(), {1, 0});
      return;
    }
    if (locks.LockType(Session(), tltRead)) locks.UnlockType(Session(), tltRead);
    locks.IsTypeLockedByOthers(Session(), tltWrite);
    if (locks.LockRecord(Session(), {1, 0})) locks.UnlockRecord(Session());
  }

  // Storage order both ways, record numbers of each record and records by number.
  std::vector<TVTRRecordID> WalkStorageOrder(ExerciseTable& table) {
    std::vector<uint8_t> record = table.EmptyRecord();
    std::vector<TVTRRecordID> ids;
    Quietly([&] {
      for (const bool forward : {true, false}) {
        NavigationRequest request;
        request.Direction = forward ? fmNext : fmPrior;
        request.Bof = forward;
        request.Eof = !forward;
        request.Buffer = record.data();
        int64_t steps = 0;
        for (table.GetRecord(Session(), request); request.Result == grOK;
             table.GetRecord(Session(), request)) {
          if (limit_.Exceeded(++steps)) return Fail("storage order walk did not end");
          if (forward) {
            ids.push_back(request.RecordID);
            ++report_.records;
          }
        }
      }
    });
    for (size_t i = 0; i < ids.size(); i += kSampleEvery)
      Quietly([&] { table.Records->GetRecNo(Session(), ids[i]); });
    for (const int64_t rec_no : {int64_t{1}, table.Records->RecordCount / 2, table.Records->RecordCount + 1})
      Quietly([&] { table.Records->GetRecordIDByRecNo(Session(), rec_no); });
    return ids;
  }

  void WalkIndex(ExerciseTable& table, int32_t index_id, const std::vector<TVTRRecordID>& ids) {
    auto& index = static_cast<TVTRBTreeRecordIndex&>(table.Indexes->GetIndexByID(index_id));
    Quietly([&] { index.CheckIntegrity(Session()); });
    std::vector<uint8_t> record = table.EmptyRecord();
    Quietly([&] {
      TVTRKeyPath path;
      int64_t steps = 0;
      for (bool found = index.First(Session(), path); found; found = index.Next(Session(), path)) {
        if (limit_.Exceeded(++steps)) return Fail("index walk did not end");
        ++report_.index_entries;
        TVTRRecordID id;
        index.GetValueAtPath(Session(), path, id);
        if (steps % kSampleEvery == 1 && table.ReadRecord(Session(), id, record.data()))
          index.GetRecNo(Session(), id, record.data());
      }
    });
    Quietly([&] {
      TVTRKeyPath path;
      int64_t steps = 0;
      for (bool found = index.Last(Session(), path); found; found = index.Prior(Session(), path)) {
        if (limit_.Exceeded(++steps)) return Fail("index walk back did not end");
      }
    });
    // Index order through the index manager, as a cursor reads it.
    Quietly([&] {
      TVTRIndexPositionCache cache;
      NavigationRequest request;
      request.Direction = fmNext;
      request.IndexID = index_id;
      request.Bof = true;
      request.Buffer = record.data();
      int64_t steps = 0;
      do {
        if (limit_.Exceeded(++steps)) return Fail("index navigation did not end");
        table.Indexes->GetRecord(Session(), request, table.GetChangeCount(), &cache);
      } while (request.Result == grOK);
    });
    const auto count = static_cast<int64_t>(ids.size());
    for (const int64_t rec_no : {int64_t{1}, count / 2 + 1, count + 1}) {
      Quietly([&] {
        TVTRRecordID id;
        index.SetRecNo(Session(), id, rec_no);
      });
    }
    // Seeks: stored records' own keys.
    for (size_t i = 0; i < ids.size(); i += kSampleEvery) {
      const TVTRRecordID& id = ids[i];
      Quietly([&] {
        if (!table.ReadRecord(Session(), id, record.data())) return;
        TVTRKeyPath path;
        index.FindRecordKey(Session(), id, path, record.data());
        index.IsKeyFree(Session(), record.data());
      });
    }
  }

  void Fail(const std::string& fault) {
    if (report_.fault.empty()) report_.fault = fault;
  }

  TVTRDiskDatabaseData& database_;
  TVTRDiskPageManager& pages_;
  TVTRBaseSession& session_;
  int64_t file_pages_;
  WalkLimit limit_;
  WalkReport report_;
};

// Opens the file and walks it.
inline WalkReport WalkDatabaseFile(const std::filesystem::path& file, bool multi_user) {
  // Byte locks that a damaged file makes collide within the process fail at once.
  ScopedRetryCaps no_waits(RetryCaps{1, 0});
  const auto file_size = static_cast<int64_t>(std::filesystem::file_size(file));
  TVTRDiskDatabaseData database(file.string());
  database.Password = ExercisePassword(true);
  TestSession session;
  session.MultiUser = multi_user;
  try {
    database.ConnectSession(session);
  } catch (const EVTRException&) {
    return {};
  }
  Walker walker(database, session, file_size / database.PageSize + 1);
  const WalkReport report = walker.WalkEverything();
  try {
    database.Rollback(session.SessionID);
    database.DisconnectSession(session);
  } catch (const EVTRException&) {
  }
  return report;
}

}  // namespace database_exercise

// Writes the database file an input describes to `file` (where the seeds are
// built too), walks it and removes it; the first broken promise, empty when none.
inline std::string ExerciseDatabaseInput(const uint8_t* data, size_t size,
                                         const std::filesystem::path& file) {
  using namespace database_exercise;
  if (size == 0) return {};
  const uint8_t options = data[0];
  if (options & kExerciseDamageMode) {
    const std::vector<uint8_t> damaged =
        Damaged(Seed(options & kExerciseEncrypted, file), data + 1, size - 1);
    WriteFileBytes(file, damaged.data(), damaged.size());
  } else {
    WriteFileBytes(file, data + 1, size - 1);
  }
  const std::string fault = WalkDatabaseFile(file, options & kExerciseMultiUser).fault;
  std::filesystem::remove(file);
  return fault;
}
