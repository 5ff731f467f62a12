#pragma once
// TVTRDatabase: the database component through which a form reaches one
// database file. It names the database by an alias (DatabaseName) and a file
// (DatabaseFileName), belongs to a session component, and while connected
// owns one engine session (or shares another component's, HandleShared).
// Datasets attach to it by alias; it runs the session's transactions, asks
// for a password when the file's password check fails and offers repair when
// the file was not closed cleanly or is of an old format.
//
// Its texts (alias, file name, password, table names) are UTF-8; the engine
// session gets the password and table names in code page 874. Misuse raises
// the dataset layer's EDatabaseError with fixed texts; engine failures arrive
// as EVTRException and leave the component disconnected, without an engine
// session.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/access/ProgressEvents.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"

class TVTRLocalSession;
class TVTRSession;
class TVTRSessionDataSet;

// Sender, var Continue: set Continue (and Password) to try again.
using TVTRPasswordEvent = std::function<void(TObject* sender, bool& continue_)>;
// Sender, var DoRepair.
using TVTRNeedRepairEvent = std::function<void(TObject* sender, bool& do_repair)>;

class TVTRDatabase : public TComponent {
 public:
  // Bound to the owner when it is a session component, else to the session
  // of the owner that names its sessions automatically, else to the default
  // session.
  explicit TVTRDatabase(TComponent* owner);
  // Closes (failures go to the application object) and leaves the session.
  ~TVTRDatabase() override;

  // Connects (nothing when connected): the file must exist unless the
  // database is temporary; 30445 (wrong password) asks for the password and
  // tries again while the answer is yes; a file that needs repair asks first
  // unless SilentMode or the design flag is set.
  void Open();
  // Disconnects every attached dataset (queries first), then frees or
  // forgets the engine session. Nothing when disconnected.
  void Close();
  bool Connected() const { return engine_session_ != nullptr; }
  void SetConnected(bool value);

  void StartTransaction();
  // `flush` writes the changed pages through to the disk; the programs pass true.
  void Commit(bool flush);
  void Rollback();
  bool InTransaction() const;
  // Connects for the time of the call when needed; failures are swallowed,
  // the list keeping what was added.
  void GetTableNames(TStringList& names);
  // Connects when needed and stays connected.
  bool TableExists(std::string_view table_name);

  // The datasets attached to the database; each adds and removes itself.
  void AddDataSet(TVTRSessionDataSet* dataset);
  void RemoveDataSet(TVTRSessionDataSet* dataset);
  const std::vector<TVTRSessionDataSet*>& DataSets() const { return datasets_; }
  // Disconnects every attached dataset: the queries first, then the rest,
  // the last attached first.
  void CloseDataSets();

  // Binds to the session that SessionName names; with `activate` the session
  // must exist (20002) and becomes active.
  void BindSession(bool activate);
  // "Database name missing" without an alias, unless temporary.
  void CheckDatabaseName() const;
  // "Cannot perform this operation on a closed database".
  void CheckActive() const;
  // Connected: disconnects in design state, else "Cannot perform this
  // operation on an open database".
  void CheckInactive();
  // Connected: "Cannot perform this operation on an open database".
  void CheckClosed() const;

  // ---- File maintenance (DatabaseMaintenance.cpp, DatabaseCopy.cpp,
  // DatabaseRepair.cpp). Each needs an alias (unless temporary), binds to
  // its session and needs the component disconnected. A file is never
  // deleted or replaced while another connection (a component of this
  // process or another process) has it open: that raises 20239, the file
  // untouched.

  // Writes a new file with Password, CipherAlgorithm, PageSize,
  // PagesPerExtent and MaxConnections; stays disconnected.
  void CreateDatabase();
  // Deletes the file; a failure raises.
  void DeleteDatabase();
  // Cuts the free pages off the end of the file.
  void TruncateDatabase();
  // Rebuilds the database table by table into `file_name` with the file's
  // settings and cipher: the first table that cannot be copied whole raises
  // 20199 naming it, a stop through the progress event raises 30456; every
  // failure deletes the new file.
  bool CompactDatabaseTo(const std::string& file_name);
  // CompactDatabaseTo a ".tmp" beside the file, which then replaces it in
  // one rename; the original stays whenever anything fails.
  bool CompactDatabase();
  // Rescues what can be read (in repair mode a scan also reaches record pages
  // that a table's page map lost) into `file_name`: tables that cannot be
  // copied whole are named in `error_text` (UTF-8), the others follow. False
  // when the new file could not be made or the copy was stopped.
  bool RepairDatabaseTo(const std::string& file_name, std::string& error_text);
  // RepairDatabaseTo a ".tmp" that then replaces the file; when
  // `error_text` names a table, the original is kept as "<file>.bak" and
  // named there too. False ("Unknown error" when nothing else is known)
  // leaves the file as it was. Open calls it when the user agrees to a
  // repair; any failure or a false result then raises 20238.
  virtual bool RepairDatabase(std::string& error_text);

  // Always "4.81 ".
  static std::string CurrentVersion();
  const std::string& DatabaseName() const { return database_name_; }
  // Refused while connected; no other database of the session with the same
  // owner (or, without owner, another without owner) may have the alias
  // unless both share their handle; databases of other owners may. An unused
  // temporary database of that alias is freed.
  void SetDatabaseName(const std::string& name);
  const std::string& DatabaseFileName() const { return database_file_name_; }
  // Disconnects first when the name changes.
  void SetDatabaseFileName(const std::string& file_name);
  bool KeepConnection() const { return keep_connection_; }
  // False while no dataset uses the database disconnects it.
  void SetKeepConnection(bool value);
  const std::string& SessionName() const { return session_name_; }
  // Refused while connected; binds to the named session without activating it.
  void SetSessionName(const std::string& name);
  TVTRSession* Session() const { return session_; }
  // Nullptr while disconnected.
  TVTRLocalSession* EngineSession() const { return engine_session_; }
  bool SessionShared() const { return session_shared_; }

  // Settings handed to the engine session; connecting takes ReadOnly,
  // CipherAlgorithm, PageSize, PagesPerExtent and MaxConnections back from it.
  std::string Password;
  uint8_t CipherAlgorithm = 0;
  int32_t PageSize = 4096;
  int32_t PagesPerExtent = 8;
  int32_t MaxConnections = 500;
  bool ReadOnly = false;
  bool Exclusive = false;
  bool MultiUser = false;
  bool HandleShared = false;  // may share the engine session of a database of the same alias
  bool SilentMode = false;    // no questions and no wait window
  bool DisableTempFiles = false;
  // Created by a session for an alias that no component had.
  bool Temporary = false;
  // Datasets using the database through their session.
  int32_t RefCount = 0;
  // A repair started by opening is running: no questions meanwhile.
  bool InRepair = false;

  TVTRPasswordEvent OnPassword;
  TVTRNeedRepairEvent OnNeedRepair;
  // Progress of repair and compaction; each one unassigned falls back to the
  // wait window unless SilentMode.
  TDatasetNotifyEvent BeforeRepair, AfterRepair, BeforeCompact, AfterCompact;
  TVTRProgressEvent OnRepairProgress, OnCompactProgress;
  // Stored for forms that set them; no operation raises them.
  TDatasetNotifyEvent BeforeChangePassword, AfterChangePassword, BeforeChangeDatabaseSettings,
      AfterChangeDatabaseSettings;
  TVTRProgressEvent OnChangePasswordProgress, OnChangeDatabaseSettingsProgress;

 protected:
  void Loaded() override;

 private:
  friend class TVTRSession;

  // Called by CopyDatabaseData once the copy is complete, while the source
  // is still held exclusively; the error text tells what was not copied
  // whole, and the call may add to it.
  using TReplaceSource = std::function<void(std::string& error_text)>;

  void Connect();
  // The table-by-table copy of compaction and repair into a new file (see
  // DatabaseCopy.cpp); `replace` (may be empty) runs after a copy that
  // succeeded, before the source is let go.
  bool CopyDatabaseData(const std::string& target_file, std::string& error_text, TVTRProgressEvents& events,
                        bool repair, const TReplaceSource& replace);
  bool CompactInto(const std::string& file_name, const TReplaceSource& replace);
  bool RepairInto(const std::string& file_name, std::string& error_text, const TReplaceSource& replace);
  // 20239 while a connection other than this component's has the file open.
  void CheckNotInUse(const char* operation) const;
  // The maintenance preconditions: an alias, the session bound, disconnected.
  void PrepareMaintenance();
  void RepairAtOpen();
  void CreateSession();
  // An engine session with this component's alias, file and settings.
  std::unique_ptr<TVTRLocalSession> NewEngineSession() const;
  void FreeSession();
  // Frees an engine session that failed to connect, keeping the failure.
  void DiscardSession();
  bool AskPassword();
  bool AskRepair();
  bool AskConvertOldFormat();
  // The alias check of SetDatabaseName for `name` in the current session.
  void CheckAliasFree(const std::string& name);
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  // The session goes away: disconnect and fall back to the default session.
  void SessionFreed(bool was_default);

  std::vector<TVTRSessionDataSet*> datasets_;
  bool keep_connection_ = true;
  bool streamed_connected_ = false;
  bool session_shared_ = false;
  TVTRLocalSession* engine_session_ = nullptr;
  std::unique_ptr<TVTRLocalSession> own_session_;
  TVTRSession* session_ = nullptr;
  std::string session_name_;
  std::string database_name_;
  std::string database_file_name_;
};
