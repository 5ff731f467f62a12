#pragma once
// TVTRBaseIndexManager: a table's index definitions and the index objects
// opened for them (at most one each, kept open until the index is dropped or
// emptied). It creates, drops and empties indexes, keeps every index in step
// with record inserts, updates and deletes, makes the temporary indexes a
// session asks for to sort or search by columns no stored index covers, and
// rebuilds temporary indexes that missed changes made by another process.
//
// No lock of its own: callers hold the database's critical section.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/index/Index.h"
#include "engine/storage/index/IndexTable.h"
#include "engine/storage/meta/IndexDef.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/StringList.h"

class TVTRBaseIndexManager {
 public:
  // Temporary indexes live in temporary_page_manager, or with the stored
  // ones when it is nullptr.
  TVTRBaseIndexManager(TVTRIndexTable& table_data, TVTRPageManager* temporary_page_manager);
  virtual ~TVTRBaseIndexManager() = default;
  TVTRBaseIndexManager(const TVTRBaseIndexManager&) = delete;
  TVTRBaseIndexManager& operator=(const TVTRBaseIndexManager&) = delete;

  // Temporary definitions are never saved.
  virtual void LoadMetadata(TStream& stream) { IndexDefs.LoadFromStream(stream); }
  virtual void SaveMetadata(TStream& stream) { IndexDefs.SaveToStream(stream); }
  virtual void AssignIndexDefs(const TVTRIndexDefs& defs) { IndexDefs.Assign(defs); }

  TVTRPageManager& GetIndexPageManager(const TVTRIndex& index);
  // The open index of that object ID, opened now when needed (20018 when no
  // definition has the ID).
  TVTRIndex& GetIndexByID(int32_t id);
  TVTRIndex& OpenIndex(int32_t id);
  void CloseIndex(int32_t id);

  // Gives the definition a new object ID, keeps a copy and creates the
  // index, filled from the table's records when a cursor is given. Returns
  // the ID.
  int32_t AddIndex(TVTRCursor* cursor, TVTRIndexDef& def);
  // Creates the storage of a listed index and records its root page. A
  // failure removes the definition and goes on to the caller.
  void CreateIndexStorage(TVTRCursor* cursor, TVTRIndexDef& def);
  void CreateAllIndexes(TVTRCursor* cursor);
  void DropIndex(int32_t session_id, int32_t id);
  void EmptyIndex(int32_t session_id, int32_t id);
  void EmptyAllIndexes(int32_t session_id);

  // The object ID of an index whose leading columns serve the fields, or -1.
  int32_t FindIndex(const TStringList* field_names, const TStringList* directions,
                    const TVTRFieldDefs& field_defs, int32_t session_id, const TStringList* case_flags) const;
  // A temporary index of the cursor's session, built at once.
  int32_t CreateTemporaryIndex(TVTRCursor& cursor, const TStringList& field_names,
                               const TStringList& case_flags, const TStringList& directions);
  int32_t FindOrCreateTemporaryIndex(TVTRCursor& cursor, const TStringList& field_names,
                                     const TStringList& case_flags, const TStringList& directions);

  // Key upkeep after the record is stored (insert, update) or before it is
  // removed (delete).
  void InsertKeys(TVTRCursor& cursor);
  void UpdateKeys(TVTRCursor& cursor);
  void DeleteKeys(TVTRCursor& cursor);
  // Rebuilds every temporary index whose ChangeStamp is not the table's change count.
  void RebuildTemporaryIndexes(TVTRCursor& cursor);
  // Navigation in the order of the request's IndexID.
  void GetRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                 TVTRIndexPositionCache* cache);
  void RenameFieldInIndexes(std::string_view old_name, std::string_view new_name);
  // Whether a unique or primary index already holds the key a record gets:
  // for an insert its key, for an update its key when it changed. False on
  // an empty table.
  bool IsDuplicateKey(int32_t session_id, int32_t index_id, const TVTRRecordID& id, bool is_insert,
                      const uint8_t* old_record, const uint8_t* new_record);

  TVTRIndexTable& TableData;
  TVTRIndexDefs IndexDefs;
  std::vector<std::unique_ptr<TVTRIndex>> OpenIndexes;
  TVTRPageManager& PageManager;
  TVTRPageManager* TemporaryPageManager;
  bool Rebuilding = false;

 private:
  // The listed definition of an object ID (20018 when there is none).
  TVTRIndexDef& DefinitionOf(int32_t id);
};
