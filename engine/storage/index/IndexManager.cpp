#include "engine/storage/index/IndexManager.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/storage/index/RecordIndex.h"
#include "platform/rtl/TextCase.h"
#include "platform/rtl/ScopeExit.h"

TVTRBaseIndexManager::TVTRBaseIndexManager(TVTRIndexTable& table_data,
                                           TVTRPageManager* temporary_page_manager)
    : TableData(table_data),
      PageManager(table_data.GetPageManager()),
      TemporaryPageManager(temporary_page_manager) {}

TVTRPageManager& TVTRBaseIndexManager::GetIndexPageManager(const TVTRIndex& index) {
  return index.Def.Temporary && TemporaryPageManager != nullptr ? *TemporaryPageManager : PageManager;
}

TVTRIndexDef& TVTRBaseIndexManager::DefinitionOf(int32_t id) {
  const int32_t position = IndexDefs.IndexOfObjectID(id);
  if (position < 0) throw EVTRException(20018, "Index not found");
  return IndexDefs.GetIndexDef(position);
}

TVTRIndex& TVTRBaseIndexManager::GetIndexByID(int32_t id) {
  for (const std::unique_ptr<TVTRIndex>& index : OpenIndexes) {
    if (index->Def.ObjectID == id) return *index;
  }
  return OpenIndex(id);
}

TVTRIndex& TVTRBaseIndexManager::OpenIndex(int32_t id) {
  const TVTRIndexDef& def = DefinitionOf(id);
  auto index = std::make_unique<TVTRBTreeRecordIndex>(*this);
  index->OpenIndex(def);
  OpenIndexes.push_back(std::move(index));
  return *OpenIndexes.back();
}

void TVTRBaseIndexManager::CloseIndex(int32_t id) {
  std::erase_if(OpenIndexes,
                [id](const std::unique_ptr<TVTRIndex>& index) { return index->Def.ObjectID == id; });
}

int32_t TVTRBaseIndexManager::AddIndex(TVTRCursor* cursor, TVTRIndexDef& def) {
  def.ObjectID = TableData.GetNextObjectID();
  TVTRIndexDef& listed = IndexDefs.AddIndexDef();
  listed.Assign(def);
  CreateIndexStorage(cursor, def);
  return def.ObjectID;
}

void TVTRBaseIndexManager::CreateIndexStorage(TVTRCursor* cursor, TVTRIndexDef& def) {
  const int32_t id = def.ObjectID;
  try {
    TVTRBTreeRecordIndex index(*this);
    index.CreateIndex(cursor, def);
    DefinitionOf(id).Assign(def);
  } catch (...) {
    const int32_t position = IndexDefs.IndexOfObjectID(id);
    if (position >= 0) IndexDefs.Delete(position);
    throw;
  }
}

void TVTRBaseIndexManager::CreateAllIndexes(TVTRCursor* cursor) {
  // Each definition is created from a copy, since a failure removes it from the list.
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i) {
    TVTRIndexDef def;
    def.Assign(IndexDefs.GetIndexDef(i));
    CreateIndexStorage(cursor, def);
  }
}

void TVTRBaseIndexManager::DropIndex(int32_t session_id, int32_t id) {
  GetIndexByID(id).DropIndex(session_id);
  CloseIndex(id);
  IndexDefs.Delete(IndexDefs.IndexOfObjectID(id));
}

void TVTRBaseIndexManager::EmptyIndex(int32_t session_id, int32_t id) {
  GetIndexByID(id).EmptyIndex(session_id);
  CloseIndex(id);
}

void TVTRBaseIndexManager::EmptyAllIndexes(int32_t session_id) {
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i)
    EmptyIndex(session_id, IndexDefs.GetIndexDef(i).ObjectID);
}

int32_t TVTRBaseIndexManager::FindIndex(const TStringList* field_names, const TStringList* directions,
                                        const TVTRFieldDefs& field_defs, int32_t session_id,
                                        const TStringList* case_flags) const {
  return IndexDefs.FindIndex(field_names, directions, field_defs, session_id, case_flags);
}

int32_t TVTRBaseIndexManager::CreateTemporaryIndex(TVTRCursor& cursor, const TStringList& field_names,
                                                   const TStringList& case_flags,
                                                   const TStringList& directions) {
  TVTRIndexDef def;
  def.Name = MakeUniqueName("TEMPORARY_INDEX_",
                            [this](const std::string& name) { return IndexDefs.IndexOf(name) >= 0; });
  def.Temporary = true;
  def.Kind = 0;
  def.Unique = false;
  def.Primary = false;
  def.SetColumnsFromLists(field_names, directions, case_flags);
  def.OwnerSessionID = SessionOf(&cursor);
  def.ChangeStamp = TableData.GetChangeCount();
  return AddIndex(&cursor, def);
}

int32_t TVTRBaseIndexManager::FindOrCreateTemporaryIndex(TVTRCursor& cursor, const TStringList& field_names,
                                                         const TStringList& case_flags,
                                                         const TStringList& directions) {
  const int32_t id =
      FindIndex(&field_names, &directions, cursor.TableFieldDefs, SessionOf(&cursor), &case_flags);
  return id != -1 ? id : CreateTemporaryIndex(cursor, field_names, case_flags, directions);
}

void TVTRBaseIndexManager::InsertKeys(TVTRCursor& cursor) {
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i) {
    TVTRIndexDef& def = IndexDefs.GetIndexDef(i);
    TVTRIndex& index = GetIndexByID(def.ObjectID);
    index.InsertKey(cursor);
    ++def.ChangeStamp;
    def.RootPage = index.Def.RootPage;
  }
}

void TVTRBaseIndexManager::UpdateKeys(TVTRCursor& cursor) {
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i) {
    TVTRIndexDef& def = IndexDefs.GetIndexDef(i);
    GetIndexByID(def.ObjectID).UpdateKey(cursor);
    ++def.ChangeStamp;
  }
}

void TVTRBaseIndexManager::DeleteKeys(TVTRCursor& cursor) {
  NavigationRequest request;
  request.Direction = fmCurrent;
  request.RecordID = cursor.CurrentRecordID;
  request.Buffer = cursor.CurrentRecord;
  TableData.GetRecord(SessionOf(&cursor), request);
  if (request.Result == grError) return;
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i) {
    TVTRIndexDef& def = IndexDefs.GetIndexDef(i);
    GetIndexByID(def.ObjectID).DeleteKey(cursor);
    ++def.ChangeStamp;
  }
}

void TVTRBaseIndexManager::RebuildTemporaryIndexes(TVTRCursor& cursor) {
  if (Rebuilding) return;
  const int32_t change_count = TableData.GetChangeCount();
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i) {
    TVTRIndexDef& def = IndexDefs.GetIndexDef(i);
    if (!def.Temporary || def.ChangeStamp == change_count) continue;
    {
      Rebuilding = true;
      const ScopeExit rebuilt([this]() noexcept { Rebuilding = false; });
      TVTRIndex& index = GetIndexByID(def.ObjectID);
      index.RebuildIndex(cursor);
      // The rebuilt tree has a new root; an index opened again from the list must find it.
      def.RootPage = index.Def.RootPage;
    }
    def.ChangeStamp = change_count;
  }
}

void TVTRBaseIndexManager::GetRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                                     TVTRIndexPositionCache* cache) {
  if (!request.Bof && !request.Eof) {
    NavigationRequest current = request;
    current.Direction = fmCurrent;
    TableData.GetRecord(session_id, current);
    if (current.Result == grError) return;
  }
  GetIndexByID(request.IndexID).GetRecord(session_id, request, change_count, cache);
}

void TVTRBaseIndexManager::RenameFieldInIndexes(std::string_view old_name, std::string_view new_name) {
  for (int32_t i = 0; i < IndexDefs.GetCount(); ++i) {
    for (TVTRIndexColumn& column : IndexDefs.GetIndexDef(i).Columns) {
      if (SameText(column.FieldName, old_name)) column.FieldName = new_name;
    }
  }
}

bool TVTRBaseIndexManager::IsDuplicateKey(int32_t session_id, int32_t index_id, const TVTRRecordID& id,
                                          bool is_insert, const uint8_t* old_record,
                                          const uint8_t* new_record) {
  if (TableData.GetRecordCount() == 0) return false;
  TVTRIndex& index = GetIndexByID(index_id);
  return is_insert ? !index.IsKeyFree(session_id, new_record)
                   : !index.IsKeyFreeForUpdate(session_id, old_record, new_record);
}
