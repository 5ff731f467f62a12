#pragma once
// TVTRProcessTableData: the table data of the process's own databases,
// "MEMORY" and "TEMP" (the memory and temporary engines derive from it). Such
// a table keeps its pages in a page manager of its own, is created from the
// definitions a cursor brings, frees itself when it is dropped, and keeps
// every change of a session pending, pages and what the engine holds beside
// them, until its database commits or rolls the session back.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/table/TableData.h"

class TVTRProcessTableData : public TVTRTableData {
 public:
  // An engine that makes its page manager when the table is created passes nullptr.
  TVTRProcessTableData(TVTRDatabaseData& database, std::unique_ptr<TVTRPageManager> page_manager);
  ~TVTRProcessTableData() override;

  // Without field definitions raises the engine's "Error creating table - no
  // fields were specified". Replaces every manager; the new indexes are
  // committed at once outside a transaction.
  void CreateTable(TVTRCursor& cursor, TVTRFieldDefs& field_defs, TVTRIndexDefs& index_defs,
                   TVTRConstraintDefs& constraint_defs) override;
  // After the base check (20017) the table data frees itself, unless force
  // is set while cursors still have it open. The object is gone afterwards.
  void DeleteTable(TVTRCursor* cursor, bool force) override;
  // Emptying cannot be undone: it commits the session's pending changes of
  // the table with it, even inside a transaction.
  void EmptyTable(TVTRCursor* cursor) override;
  void AddIndex(TVTRIndexDef& index_def, TVTRCursor& cursor) override;
  void DeleteIndex(int32_t index_id, TVTRCursor* cursor) override;
  void AutoCommit(int32_t session_id, bool in_transaction) override;
  // Drops the session's pending changes.
  void AfterRollback(int32_t session_id) override;
  // The table's own pages take part in the session's savepoint.
  void MarkSession(int32_t session_id) override;
  void RollbackToMark(int32_t session_id) override;
  void ReleaseMark(int32_t session_id) override;
  // Makes the session's pending changes stand; the database calls it for
  // every table when the session commits.
  virtual void CommitSession(int32_t session_id);

 protected:
  virtual int32_t NoFieldsError() const = 0;
  // Engine steps of CreateTable: before the managers are made, and once
  // they stand.
  virtual void PrepareCreate(TVTRCursor& cursor) {}
  virtual void FinishCreate() {}
  // Empties what the engine keeps beside the indexes.
  virtual void EmptyStorage() = 0;
  void ReplacePageManager(std::unique_ptr<TVTRPageManager> page_manager);
  // The numbers of the fields of a BLOB base type.
  std::vector<int32_t> BlobFieldNumbers() const;

 private:
  std::unique_ptr<TVTRPageManager> page_manager_;
};
