#pragma once
// TVTRTable: the dataset over one stored table, opened by name with an
// active index chosen by name (IndexName) or by fields (IndexFieldNames).
// Temporary tables live in "TEMP" and in-memory ones in "MEMORY", made from
// the component's own definitions. The structure operations (create,
// delete, empty, rename, rename a field, add and delete an index) work
// through a short-lived maintenance cursor or the table's own, and are
// refused inside a transaction of the session, except emptying.
//
// Names (TableName, index and field names) are UTF-8 above the engine, like
// the database component's; the table name goes to the engine in code page
// 874.
//
// The parts: Table.cpp (properties, the cursor, definitions, the active
// index), TableStructure.cpp (the structure operations), TableKeys.cpp (key
// search and ranges), TableMasterLink.cpp (the master-detail link),
// TableCopy.cpp (import and copy) and TableRestructure.cpp.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/access/DataSet.h"
#include "engine/access/ExportToSqlOptions.h"
#include "engine/access/LocalCursor.h"
#include "platform/db/MasterDataLink.h"
#include "platform/rtl/StringList.h"


class TVTRTable : public TVTRDataSet {
 public:
  explicit TVTRTable(TComponent* owner);
  ~TVTRTable() override;

  const std::string& TableName() const { return table_name_; }
  // Inactive only.
  void SetTableName(const std::string& name);
  // The active index by name; empty when it is chosen by fields.
  std::string IndexName() const { return index_by_fields_ ? std::string() : index_text_; }
  // The active index by its fields (";"-separated); empty when chosen by name.
  std::string IndexFieldNames() const { return index_by_fields_ ? index_text_ : std::string(); }
  // On an open table the pending record is posted or cancelled first, the
  // range cleared and the current record kept. An unknown name raises at
  // open (10325); fields no index covers raise "No index for fields '%s'".
  void SetIndexName(const std::string& name);
  // Empty means no index.
  void SetIndexFieldNames(const std::string& names);
  void SetIndexDefs(const TIndexDefs& defs) { IndexDefs().Assign(&defs); }
  // FieldDefs and IndexDefs go into a form's resource only when set; a
  // program's change of the definitions sets it.
  bool StoreDefs() const { return store_defs_; }
  void SetStoreDefs(bool value) { store_defs_ = value; }
  bool Exclusive() const { return exclusive_; }
  void SetExclusive(bool value) { exclusive_ = value; }
  // Whether the database holds the table; false on any failure, never raising.
  bool Exists();
  bool Temporary() const { return temporary_; }
  // Inactive only; true also sets DatabaseName to "TEMP".
  void SetTemporary(bool value);
  // Temporary results kept in memory instead of files (set by the SQL engine).
  bool DisableTempFiles = false;

  TMasterDataLink& MasterLink() { return master_link_; }
  TDataSource* GetDataSource() const override { return master_link_.DataSource(); }
  // While the master is open, the table shows the records whose leading
  // index fields equal the master's fields named in MasterFields (";"-
  // separated, in index order); a source that leads back to the table
  // raises "Circular datalinks are not allowed".
  TDataSource* MasterSource() const { return master_link_.DataSource(); }
  void SetMasterSource(TDataSource* source);
  const std::string& MasterFields() const { return master_link_.FieldNames(); }
  void SetMasterFields(const std::string& names) { master_link_.SetFieldNames(names); }
  TVTRExportToSqlOptions& ExportToSqlOptions() { return export_options_; }

  // The dataset field of the i-th field of the active index (0-based).
  TField* IndexField(int index);
  int IndexFieldCount() const { return static_cast<int>(IndexFieldNumbers().size()); }

  // The three lists run in parallel: field names, "ASC" or "DESC", "CASE" or
  // "NO_CASE". For the SQL engine; the table must be open (10311 / 10319).
  void CreateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                            const TStringList& case_options, std::string& index_name);
  // The new index becomes the active one, showing distinct records.
  void ActivateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                              const TStringList& case_options);
  // ---- Key search (TableKeys.cpp).
  // Searches the active index for the values, in index order (fewer values
  // search its leading fields; text as a field takes it); true with the
  // record current when found, else the table stays where it was. Without an
  // active index "No index currently active".
  bool FindKey(const std::vector<Variant>& values);
  // The same search for the values of the lookup key buffer.
  bool GotoKey();
  // Also ends the editing of a key buffer, keeping what was assigned.
  void Post() override;

  // ---- Provider operations (TableProvider.cpp). No program uses them.
  std::string PSGetTableName() override { return TableName(); }
  // A non-empty text becomes TableName.
  void PSSetCommandText(const std::string& text) override;
  // The index definitions with one of the options (all for none).
  std::unique_ptr<TIndexDefs> PSGetIndexDefs(TIndexOptions types) override;
  // A copy of the active index's definition, else of the first primary,
  // else of the first unique index whose fields the table shows; nullptr
  // when there is none.
  std::unique_ptr<TIndexDef> PSGetDefaultOrder() override;
  // The fields flagged as key fields, else those of the first unique index
  // whose fields the table shows, else every field (";"-separated).
  std::string PSGetKeyFields() override;
  // The values (by field name, or unnamed in index order) become both ends
  // of a range on the opened table; no values cancel the range.
  void PSSetParams(TParams* params) override;

  // The last value issued for an autoincrement field of the open table.
  int64_t GetLastAutoincValue(std::string_view field_name);
  int64_t GetLastAutoincValue(int32_t field_position);

  // ---- Structure (TableStructure.cpp).
  // From FieldDefs and IndexDefs, or from the extended definitions when a
  // program (the SQL engine) filled those. Inactive only; 20182 inside a
  // transaction; nothing is created when a definition is refused.
  void CreateTable();
  // Closes the table first; 20183 inside a transaction.
  void DeleteTable();
  // Inactive only; also inside a transaction.
  void EmptyTable();
  // Inactive only; 20181 inside a transaction.
  void RenameTable(const std::string& new_name);
  // Inactive only; opens the table exclusively for the change; 20179 inside
  // a transaction.
  void RenameField(const std::string& old_name, const std::string& new_name);
  // Also on an open table. Needs the table exclusively: 20228 when another
  // session or process has it open after 50 tries 100 ms apart; 20175
  // inside a transaction.
  void AddIndex(const std::string& name, const std::string& fields, TIndexOptions options,
                const std::string& desc_fields = {}, const std::string& case_ins_fields = {});
  // Also on an open table; 20177 inside a transaction.
  void DeleteIndex(const std::string& name);

  // ---- Copies (TableCopy.cpp, TableRestructure.cpp). Logs are UTF-8, a
  // line ending "\r\n" per problem; progress goes to the operation's events
  // or, unassigned and not silent, to the wait window.
  // Creates the table (inactive) with the structure of `source` and copies
  // its records by field name, each record that fails logged and left out.
  // An index of `source_index_defs` without fields is logged and skipped;
  // the first unnamed one becomes "idxPrimaryKey". True when nothing was
  // logged.
  bool ImportTable(TDataSet& source, std::string& log, const TIndexDefs* source_index_defs = nullptr);
  // Copies the table's records into `new_table_name` of its own database
  // (empty `database_file_name`), of "MEMORY", or of the named file, the
  // target created from the table's restructure definitions (and indexes
  // with `copy_indexes`), an existing one first deleted with `overwrite`.
  // A copy onto itself (30447), an existing target (30448) and a target
  // that cannot be created (30450) are logged with `ignore_errors`, else
  // raised. True when the records were copied (the batch copy may have
  // logged some or been stopped). The table is left open on its record, or
  // closed, as it was found.
  bool CopyTable(const std::string& new_table_name, std::string& log, bool& continue_,
                 const std::string& database_file_name, const std::string& password, bool ignore_errors,
                 bool overwrite, bool copy_indexes, int32_t min_percent, int32_t max_percent);
  // Rebuilds the (inactive) table with its restructure definitions: a field
  // keeps its values through its object ID whatever its new name or place,
  // a dropped field is lost, an added one gets its default. The first
  // failure, or a stop, puts the old table back under its name. 20180
  // inside a transaction. True when the table now has the new structure
  // with all its data.
  bool RestructureTable(std::string& log);

  void DataEvent(TDataEvent event, intptr_t info) override;

  TDatasetNotifyEvent BeforeCopy, AfterCopy, BeforeImport, AfterImport, BeforeRestructure, AfterRestructure;
  TDatasetNotifyEvent BeforeExport, AfterExport, BeforeBatchMove, AfterBatchMove;
  TVTRProgressEvent OnCopyProgress, OnImportProgress, OnRestructureProgress, OnExportProgress,
      OnBatchMoveProgress;

 protected:
  // A new cursor opened on the table with the component's settings (a
  // temporary or in-memory table is created from the definitions where the
  // engine allows). The dataset must be attached.
  std::unique_ptr<TVTRLocalCursor> OpenTableCursor();
  void CreateHandle() override;
  void InitFieldDefs() override;
  void UpdateIndexDefs() override;
  void DefChanged(TDefCollection* defs) override;
  // The master range, set at every open and index change without moving.
  void PrepareCursor() override;
  // A new record starts with the master's link values.
  void DoOnNewRecord() override;

 private:
  // "Missing TableName property" for a blank name.
  void CheckTableName() const;
  // A cursor on the table with the session and the open options of the
  // component, not yet opened.
  std::unique_ptr<TVTRLocalCursor> NewCursor();
  // The exclusive, writable cursor of a structure operation, not opened.
  std::unique_ptr<TVTRLocalCursor> MaintenanceCursor();
  // 'Cannot perform '%s' operation on a database in transaction'.
  void CheckNoTransaction(int32_t native_error, const char* operation) const;
  // A definition for every persistent data field that FieldDefs lacks.
  void AddPersistentFieldDefs();
  // The engine definitions a temporary or in-memory table is created from.
  void PrepareTemporaryDefs();
  void SetIndex(const std::string& text, bool by_fields);
  std::string ResolveIndexName(const std::string& text, bool by_fields);

  // Key buffers (TableKeys.cpp). A fresh key buffer filled in set-key state:
  // index field i goes through `assign` for i below `count`; the buffer is
  // marked modified when `modified` or an assignment changed a field.
  void FillKeyBuffer(TVTRKeyIndex index, size_t count, bool modified,
                     const std::function<void(TField* field, size_t i)>& assign);
  void SetKeyFields(TVTRKeyIndex index, const std::vector<Variant>& values);
  // Set-key state on a key buffer (emptied first when `clear`) until Post
  // commits it or a cancelled end restores it.
  void EditKeyBuffer(TVTRKeyIndex index, bool clear);
  void EndKeyEditing(bool commit);
  // Hands the cursor the range-start and range-end buffers when they differ
  // from its range; true when they did.
  bool SetCursorRange();
  // Goes to the first record when the range changed.
  void ApplyRange();
  void CancelRange();
  // The range-start and range-end buffers both hold the master's values.
  void SetLinkRanges(const std::vector<TField*>& master_fields);

  // The index of IndexName or IndexFieldNames when the table shows all its
  // fields; nullptr otherwise and on any failure.
  const TIndexDef* ActiveIndexDef();

  // The master-detail link (TableMasterLink.cpp).
  bool MasterLinked() const;
  void MasterChanged();
  void MasterDisabled();
  // 30453 for a text or byte column without size, 20257 for a compressed
  // BLOB column without a mode of 1 to 9.
  void CheckExtendedFieldDefs();
  void NormaliseExtendedFieldDefs();

  std::string table_name_;
  bool exclusive_ = false;
  bool temporary_ = false;
  std::string index_text_;
  bool index_by_fields_ = false;
  bool store_defs_ = false;
  TMasterDataLink master_link_{this};
  TVTRExportToSqlOptions export_options_;
};
