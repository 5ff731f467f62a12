#pragma once
// TVTRBaseSession: one connection of one database component to one database,
// as everything above the storage engine sees it. The local engine implements
// the abstract operations; the base keeps the session's named objects.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/StringList.h"

// An object that lives in one session, identified by ObjectID or, when that
// is -1, by Name.
class TVTRSessionNamedObject {
 public:
  virtual ~TVTRSessionNamedObject() = default;

  int32_t ObjectID = -1;
  std::string Name;  // at most 255 characters
};

// The last value this session drew from a sequence (an autoincrement field,
// identified by the field's object ID).
class TVTRSessionNamedObjectSequenceValue : public TVTRSessionNamedObject {
 public:
  int64_t LastValue = 0;
};

class TVTRBaseSession {
 public:
  TVTRBaseSession() = default;
  virtual ~TVTRBaseSession() = default;
  TVTRBaseSession(const TVTRBaseSession&) = delete;
  TVTRBaseSession& operator=(const TVTRBaseSession&) = delete;

  virtual bool GetConnected() = 0;
  // Connecting sets SessionID (and may change ReadOnly, MultiUser and
  // NeedsRepair from the database); disconnecting returns it to -1.
  virtual void SetConnected(bool value) = 0;
  virtual bool GetRepairMode() = 0;
  virtual void SetRepairMode(bool value) = 0;
  virtual void CreateDatabase() = 0;
  virtual void GetTableNames(TStringList& names) = 0;
  virtual bool TableExists(std::string_view table_name) = 0;
  // Takes the object and replaces the one of the same ID (or, for ID -1, of
  // the same name ignoring case), so the session holds at most one of each.
  virtual void AddNamedObject(std::unique_ptr<TVTRSessionNamedObject> object);
  // The first object whose name equals `name` ignoring case, or nullptr.
  virtual TVTRSessionNamedObject* FindNamedObject(std::string_view name) const;
  virtual TVTRSessionNamedObject* FindNamedObjectByID(int32_t id) const;
  // InTransaction is set by StartTransaction and cleared by Commit and Rollback.
  virtual void StartTransaction() = 0;
  virtual void Commit(bool flush) = 0;
  virtual void Rollback() = 0;
  virtual void FlushBuffers() = 0;
  // A statement's savepoint inside the transaction: RollbackToStatementMark
  // undoes what the session changed since MarkStatement and keeps what it
  // changed before; both end the mark, as do Commit and Rollback.
  virtual void MarkStatement() = 0;
  virtual void RollbackToStatementMark() = 0;
  virtual void ReleaseStatementMark() = 0;

  const std::vector<std::unique_ptr<TVTRSessionNamedObject>>& NamedObjects() const { return named_objects_; }

  // "MEMORY" and "TEMP" name the process's in-memory and temporary databases.
  std::string DatabaseName;
  std::string DatabaseFileName;
  // -1 until connected; then the connection slot (multi-user) or 0.
  int32_t SessionID = -1;
  bool InTransaction = false;
  bool ReadOnly = false;
  bool Exclusive = false;
  int32_t MaxConnections = 0;
  bool NeedsRepair = false;  // the file was not closed cleanly
  bool MultiUser = false;

 private:
  std::vector<std::unique_ptr<TVTRSessionNamedObject>> named_objects_;
};
