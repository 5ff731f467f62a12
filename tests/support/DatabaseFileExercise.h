#pragma once
// Test support: opens a database file that may be damaged anywhere and reads
// everything it can reach: header, free-space maps and every page, system
// directory, connection slots, table list, and per table through its table
// object and a cursor, as the local cursor reads it: definitions, counters,
// lock area, records and their BLOB values in storage order and in the order
// of every index, both ways, record numbers, the integrity of every B-tree,
// and seeks by stored keys. Every page that looks like a B-tree page is also
// read as the root of a page map. Engine errors are the accepted answer to
// damage; anything else escapes. Shared by the deterministic damage test and
// the libFuzzer target.
//
// Input: one option byte, then
//   bit 7 clear: the database file itself;
//   bit 7 set:   damage to a seed database: patches of 4 bytes each
//                (u8 unit, u16 offset, u8 value); unit 0 is the 380 bytes
//                before the pages, unit u > 0 page (u - 1) mod page count.
//                The value is xored into the byte at the offset, or with
//                bit 15 of the offset set, written there as an i32 page
//                number (255 standing for -1), as a damaged link would be.
//   bit 0 multi-user, bit 1 the encrypted seed (damage mode), bit 2 also
//   insert, update and delete a record in every table after reading it.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/VTRLocalEngine.h"
#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "engine/storage/index/RecordIndex.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "platform/os/RetryPolicy.h"
#include "tests/support/TableDefinitions.h"

inline constexpr int32_t kExercisePageSize = 512;
inline constexpr int32_t kExerciseSlots = 16;
inline constexpr int32_t kExerciseRecords = 260;
inline constexpr uint8_t kExerciseDamageMode = 0x80;
inline constexpr uint8_t kExerciseMultiUser = 0x01;
inline constexpr uint8_t kExerciseEncrypted = 0x02;
inline constexpr uint8_t kExerciseWrite = 0x04;
inline constexpr char kExercisePassword[] = "wat-merit";

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
  if (encrypted) password.Password = kExercisePassword;
  return password;
}

// BLOB values of every size a BLOB page holds: none, on shared pages, in
// page sequences.
inline std::vector<uint8_t> BlobValue(int32_t i) {
  const std::string text = "Merit for the ordination hall, gift " + std::to_string(i) + ". ";
  std::vector<uint8_t> note;
  const size_t size = i % 4 == 0 ? 0 : i % 4 == 1 ? 40 : i % 4 == 2 ? 700 : 1200 + i;
  for (size_t n = 0; note.size() < size; ++n)
    note.push_back(static_cast<uint8_t>(text[n % text.size()] + n / 611));
  return note;
}

// A cursor of the local engine on one table with the record buffers a
// dataset gives it.
class ExerciseCursor {
 public:
  ExerciseCursor(TVTRLocalSession& session, std::string table_name) {
    cursor_.Session = &session;
    cursor_.TableName = std::move(table_name);
  }
  ~ExerciseCursor() {
    try {
      cursor_.FreeBlobStreams(false);
      cursor_.CloseTable();
    } catch (const EVTRException&) {
      // A damaged table may refuse to let go of its lock; the file closes anyway.
    }
  }
  ExerciseCursor(const ExerciseCursor&) = delete;
  ExerciseCursor& operator=(const ExerciseCursor&) = delete;

  TVTRLocalCursor* operator->() { return &cursor_; }
  // The disk table object the open cursor works on.
  TVTRDiskTableData& Table() { return *static_cast<TVTRDiskTableData*>(cursor_.TableData); }

  void Create(const TVTRFieldDefs& fields, const TVTRIndexDefs& indexes) {
    cursor_.CreateTable(fields, indexes, TVTRConstraintDefs());
  }
  void Open() {
    cursor_.OpenTable(nullptr, nullptr, nullptr);
    cursor_.InitFieldDefs();
    record_.assign(static_cast<size_t>(cursor_.RecordBufferSize), 0);
    old_record_.assign(record_.size(), 0);
    cursor_.CurrentRecord = record_.data();
  }

  // A new record of values made from `seed` in whatever fields the table
  // has, posted; whether it stands.
  bool InsertRecord(int32_t seed) {
    cursor_.InitRecord(record_.data(), true);
    FillRecord(seed, true);
    cursor_.Post(true);
    return cursor_.LastResult == kResultOK;
  }
  // The current record edited to values made from `seed` and posted.
  bool UpdateRecord(int32_t seed) {
    cursor_.Edit();
    if (cursor_.LastResult != kResultOK) return false;
    old_record_ = record_;
    cursor_.OldRecord = old_record_.data();
    FillRecord(seed, false);
    cursor_.Post(false);
    cursor_.OldRecord = nullptr;
    return cursor_.LastResult == kResultOK;
  }
  bool DeleteRecord() {
    cursor_.Delete();
    return cursor_.LastResult == kResultOK;
  }
  // The BLOB values of the current record, each read to its end or up to
  // `limit` bytes; how many bytes they gave.
  int64_t ReadBlobs(int64_t limit) {
    int64_t total = 0;
    for (int32_t field_no = 0; field_no < cursor_.FieldDefs.GetCount(); ++field_no) {
      if (!IsBlobBaseType(cursor_.FieldDefs.GetFieldDef(field_no).BaseType)) continue;
      TVTRStream* stream = cursor_.OpenBlob(false, false, field_no, bomRead);
      if (stream == nullptr) continue;
      std::vector<uint8_t> bytes(4096);
      for (int32_t n, read = 0; read < limit && (n = stream->Read(bytes.data(), 4096)) > 0; read += n)
        total += n;
    }
    cursor_.FreeBlobStreams(false);
    return total;
  }

 private:
  // Numbers and text from the seed, so that text keys share prefixes in
  // groups; a BLOB value of a size that depends on it; autoincrement fields
  // of a new record stay null for the post to number.
  void FillRecord(int32_t seed, bool is_insert) {
    const std::string text =
        "Donor " + std::to_string(seed % 37) + " of the temple family " + std::to_string(seed % 5);
    for (int32_t field_no = 0; field_no < cursor_.FieldDefs.GetCount(); ++field_no) {
      const TVTRFieldDef& field = cursor_.FieldDefs.GetFieldDef(field_no);
      if (IsAutoincAdvancedType(field.DataType)) continue;
      if (IsBlobBaseType(field.BaseType)) {
        const std::vector<uint8_t> value = BlobValue(seed);
        if (value.empty()) continue;
        TVTRStream* stream = cursor_.OpenBlob(is_insert, !is_insert, field_no, bomWrite);
        if (stream == nullptr) continue;
        stream->WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
        cursor_.CloseBlob(field_no);
        continue;
      }
      uint8_t* at = record_.data() + field.MemoryOffset;
      std::fill_n(at, field.MemoryDataSize, 0);
      if (IsStringBaseType(field.BaseType)) {
        std::copy_n(text.begin(), std::min<int64_t>(text.size(), field.MemoryDataSize - 1), at);
      } else {
        const uint64_t number = static_cast<uint64_t>(seed % 91) * 12500;
        std::copy_n(reinterpret_cast<const uint8_t*>(&number), std::min(field.MemoryDataSize, 8), at);
      }
      SetBufferBit(false, field_no, record_.data());
    }
  }

  TVTRLocalCursor cursor_;
  std::vector<uint8_t> record_;
  std::vector<uint8_t> old_record_;
};

// Donations: an autoincrement key, a text index whose keys keep only the
// first 20 bytes (so equal prefixes are settled by reading records) over a
// descending money column, and a note stored compressed in small blocks.
inline void DefineDonations(TVTRFieldDefs& fields, TVTRIndexDefs& indexes) {
  AddField(fields, "ID", adtAutoIncInteger);
  AddField(fields, "DONOR", adtString, 40);
  AddField(fields, "AMOUNT", adtCurrency);
  TVTRFieldDef& note = AddField(fields, "NOTE", adtMemo);
  note.BlobCompressionAlgorithm = cmZlib;
  note.BlobCompressionMode = 6;
  note.BlobBlockSize = 700;
  TVTRIndexDef& primary = indexes.AddIndexDef();
  primary.Name = "PK";
  primary.Unique = primary.Primary = true;
  primary.Columns = {TVTRIndexColumn{"ID"}};
  TVTRIndexDef& by_donor = indexes.AddIndexDef();
  by_donor.Name = "BY_DONOR";
  by_donor.Columns = {TVTRIndexColumn{"DONOR", false, true}, TVTRIndexColumn{"AMOUNT", true}};
}

// A database of one filled table and one empty one, with deleted records
// (pages of the record store freed again) and a B-tree index of three levels.
inline void BuildSeed(const std::filesystem::path& file, bool encrypted) {
  std::filesystem::remove(file);
  TVTRLocalSession session;
  session.DatabaseFileName = file.string();
  session.PageSize = kExercisePageSize;
  session.PagesPerExtent = 4;
  session.MaxConnections = kExerciseSlots;
  session.Password = ExercisePassword(encrypted);
  session.CreateDatabase();
  session.SetConnected(true);
  for (const char* name : {"DONATIONS", "EMPTY"}) {
    TVTRFieldDefs fields;
    TVTRIndexDefs indexes;
    DefineDonations(fields, indexes);
    ExerciseCursor(session, name).Create(fields, indexes);
  }
  ExerciseCursor donations(session, "DONATIONS");
  donations.Open();
  for (int32_t i = 0; i < kExerciseRecords; ++i) {
    if (!donations.InsertRecord((i * 97) % kExerciseRecords))
      throw EVTRException(0, "the seed's insert failed");
  }
  // Every third record in storage order goes.
  std::vector<TVTRRecordID> ids;
  for (donations->First(); donations->GetRecord(fmNext) == grOK;) ids.push_back(donations->CurrentRecordID);
  for (size_t i = 0; i < ids.size(); i += 3) {
    donations->CurrentRecordID = ids[i];
    if (donations->GetRecord(fmCurrent) != grOK || !donations.DeleteRecord())
      throw EVTRException(0, "the seed's delete failed");
  }
}

// The seed files, built once per process in the file `scratch` for a moment.
inline const std::vector<uint8_t>& Seed(bool encrypted, const std::filesystem::path& scratch) {
  static std::map<bool, std::vector<uint8_t>> seeds;
  auto it = seeds.find(encrypted);
  if (it == seeds.end()) {
    BuildSeed(scratch, encrypted);
    it = seeds.emplace(encrypted, ReadFileBytes(scratch)).first;
    std::filesystem::remove(scratch);
  }
  return it->second;
}

// Applies the patches of a damage-mode input to a copy of the seed.
inline std::vector<uint8_t> Damaged(std::vector<uint8_t> file, const uint8_t* patches, size_t size) {
  const size_t page_count = (file.size() - kPagesOffset) / kExercisePageSize;
  for (size_t i = 0; i + 4 <= size; i += 4) {
    const size_t offset = patches[i + 1] | (patches[i + 2] & 0x7F) << 8;
    const size_t at = patches[i] == 0 ? offset % kPagesOffset
                                      : kPagesOffset + (patches[i] - 1) % page_count * kExercisePageSize +
                                            offset % kExercisePageSize;
    const uint8_t value = patches[i + 3];
    if (patches[i + 2] & 0x80) {
      if (at + 4 <= file.size()) StoreI32(file.data() + at, value == 0xFF ? -1 : value);
    } else {
      file[at] ^= value;
    }
  }
  return file;
}

// What a walk found: the first broken promise (empty when none), and how
// much it read.
struct WalkReport {
  std::string fault;
  int32_t tables = 0;
  int64_t records = 0;        // in storage order
  int64_t index_entries = 0;  // over all indexes, in index order
  int64_t blob_bytes = 0;     // of the BLOB values read in storage order
};

// Every walk must end; the report says what it read.
class Walker {
 public:
  // Record numbers, seeks and BLOB values are taken for every so many
  // records: each costs a walk of its own.
  static constexpr int kSampleEvery = 8;

  Walker(TVTRLocalSession& session, TVTRDiskPageManager& pages, int64_t file_pages, bool write)
      : session_(session),
        pages_(pages),
        file_pages_(file_pages),
        // Every entry the file could hold: page maps have the smallest, 6 bytes.
        step_limit_(file_pages * (pages.PageDataSize() / 6 + 1)),
        write_(write) {}

  WalkReport WalkEverything() {
    Quietly([&] { WalkPages(); });
    TStringList names;
    Quietly([&] { session_.GetTableNames(names); });
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

  // Counts one step of a walk; false, with the fault noted, once the walk
  // has gone further than the file could lead it.
  bool Step(int64_t& steps, const char* walk) {
    if (++steps <= step_limit_) return true;
    if (report_.fault.empty()) report_.fault = std::string(walk) + " did not end";
    return false;
  }

  void CheckTree(TVTRBTreeKeyRef& key_ref, int32_t root) {
    Quietly([&] {
      TVTRKeyPath path;
      if (root != -1)
        WithTreeRoot(pages_, key_ref, Session(), root,
                     [&](TVTRBTreePage& page) { page.CheckIntegrity(Session(), path); });
    });
  }

  // Every page of the file through the cache, and every page that looks like
  // a B-tree page as the root of a page map.
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
    CheckTree(key_ref, root);
    std::vector<int32_t> listed;
    Quietly([&] {
      TVTRKeyPath path;
      int64_t steps = 0;
      for (bool found = map.First(Session(), path); found && Step(steps, "page map walk");
           found = map.Next(Session(), path)) {
        listed.push_back(map.GetKey(Session(), path));
        map.GetValue(Session(), path);
      }
    });
    Quietly([&] {
      TVTRKeyPath path;
      int64_t steps = 0;
      for (bool found = map.Last(Session(), path); found && Step(steps, "page map walk back");
           found = map.Prior(Session(), path)) {
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
    ExerciseCursor cursor(session_, name);
    cursor.Open();
    ++report_.tables;
    Quietly([&] { cursor->GetRecordCount(); });
    Quietly([&] {
      if (cursor->LockTable(tltRead, 1, 0)) cursor->UnlockTable(tltRead, true);
    });
    TVTRDiskTableData& table = cursor.Table();
    TVTRPageKeyRef page_key_ref;
    CheckTree(page_key_ref, table.DiskRecords().RecordPageIndex.Root());
    CheckTree(page_key_ref, table.BlobManager->BlobPageIndex.Root());
    const std::vector<TVTRRecordID> ids = WalkOrder(cursor, "", "storage order walk");
    for (int32_t i = 0; i < table.IndexManager->IndexDefs.GetCount() && report_.fault.empty(); ++i) {
      const TVTRIndexDef& def = table.IndexManager->IndexDefs.GetIndexDef(i);
      Quietly([&] { WalkOrder(cursor, def.Name, "index walk"); });
      Quietly([&] { Seek(table, def.ObjectID, ids); });
    }
    if (write_) Write(cursor);
  }

  // Changes as a dataset posts them outside a transaction: two new records,
  // an update of the last one and a delete of the first.
  void Write(ExerciseCursor& cursor) {
    cursor->SetIndexName("");
    Quietly([&] { cursor.InsertRecord(7); });
    Quietly([&] { cursor.InsertRecord(1002); });
    Quietly([&] {
      cursor->Last();
      if (cursor->GetRecord(fmPrior) == grOK) cursor.UpdateRecord(11);
    });
    Quietly([&] {
      cursor->First();
      if (cursor->GetRecord(fmNext) == grOK) cursor.DeleteRecord();
    });
  }

  // The records in one order, both ways, with record numbers forth and back
  // and the BLOB values of stored records.
  std::vector<TVTRRecordID> WalkOrder(ExerciseCursor& cursor, const std::string& index, const char* walk) {
    cursor->SetIndexName(index);
    const bool storage_order = index.empty();
    std::vector<TVTRRecordID> ids;
    Quietly([&] {
      int64_t steps = 0;
      for (cursor->First(); Step(steps, walk) && cursor->GetRecord(fmNext) == grOK;) {
        ids.push_back(cursor->CurrentRecordID);
        ++(storage_order ? report_.records : report_.index_entries);
        if (steps % kSampleEvery != 1) continue;
        Quietly([&] { cursor->GetRecNo(); });
        if (storage_order) Quietly([&] { report_.blob_bytes += cursor.ReadBlobs(step_limit_); });
      }
    });
    Quietly([&] {
      int64_t steps = 0;
      for (cursor->Last(); Step(steps, walk) && cursor->GetRecord(fmPrior) == grOK;) {
      }
    });
    const auto count = static_cast<int64_t>(ids.size());
    for (const int64_t rec_no : {int64_t{1}, count / 2 + 1, count + 1})
      Quietly([&] { cursor->SetRecNo(rec_no); });
    return ids;
  }

  // The integrity check of an index, seeks of stored records' keys, and the
  // index's own record numbers along its leaf links.
  void Seek(TVTRDiskTableData& table, int32_t index_id, const std::vector<TVTRRecordID>& ids) {
    auto& index = static_cast<TVTRBTreeRecordIndex&>(table.IndexManager->GetIndexByID(index_id));
    Quietly([&] { index.CheckIntegrity(Session()); });
    std::vector<uint8_t> record(static_cast<size_t>(table.GetRecordBufferSize()));
    for (size_t i = 0; i < ids.size(); i += kSampleEvery) {
      Quietly([&] {
        if (!table.ReadRecord(Session(), ids[i], record.data())) return;
        TVTRKeyPath path;
        index.FindRecordKey(Session(), ids[i], path, record.data());
        index.IsKeyFree(Session(), record.data());
        index.GetRecNo(Session(), ids[i], record.data());
        table.ReleaseRecordBlobs(record.data());
      });
    }
    const auto count = static_cast<int64_t>(ids.size());
    for (const int64_t rec_no : {int64_t{1}, count / 2 + 1, count + 1}) {
      Quietly([&] {
        TVTRRecordID id;
        index.SetRecNo(Session(), id, rec_no);
      });
    }
  }

  TVTRLocalSession& session_;
  TVTRDiskPageManager& pages_;
  int64_t file_pages_;
  int64_t step_limit_;
  bool write_;
  WalkReport report_;
};

// Opens the file through a local session and walks it.
inline WalkReport WalkDatabaseFile(const std::filesystem::path& file, bool multi_user, bool write = false) {
  // Byte locks that a damaged file makes collide within the process fail at once.
  ScopedRetryCaps no_waits(RetryCaps{1, 0});
  const auto file_size = static_cast<int64_t>(std::filesystem::file_size(file));
  TVTRLocalSession session;
  session.DatabaseFileName = file.string();
  session.Password = ExercisePassword(true);
  session.MultiUser = multi_user;
  try {
    session.SetConnected(true);
  } catch (const EVTRException&) {
    return {};
  }
  TVTRDiskPageManager& pages = *static_cast<TVTRDiskDatabaseData*>(session.DatabaseData)->DiskPageManager();
  WalkReport report = Walker(session, pages, file_size / pages.PageSize() + 1, write).WalkEverything();
  try {
    session.SetConnected(false);
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
  const std::string fault =
      WalkDatabaseFile(file, options & kExerciseMultiUser, options & kExerciseWrite).fault;
  std::filesystem::remove(file);
  return fault;
}
