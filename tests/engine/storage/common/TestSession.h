#pragma once
// A session that only keeps its named objects: enough for the parts of the
// storage engine that remember per-session values. Connecting and
// transactions belong to the local engine and are not used here.
#include <stdexcept>

#include "engine/storage/base/Session.h"

class TestSession : public TVTRBaseSession {
 public:
  explicit TestSession(int32_t session_id = 0) { SessionID = session_id; }

  bool GetConnected() override { return SessionID != -1; }
  void SetConnected(bool value) override { Unused(); }
  bool GetRepairMode() override { return false; }
  void SetRepairMode(bool value) override { Unused(); }
  void CreateDatabase() override { Unused(); }
  void GetTableNames(TStringList& names) override { Unused(); }
  bool TableExists(std::string_view table_name) override { Unused(); }
  void StartTransaction() override { InTransaction = true; }
  void Commit(bool flush) override { InTransaction = false; }
  void Rollback() override { InTransaction = false; }
  void FlushBuffers() override {}
  void MarkStatement() override { Unused(); }
  void RollbackToStatementMark() override { Unused(); }
  void ReleaseStatementMark() override { Unused(); }

 private:
  [[noreturn]] static void Unused() { throw std::logic_error("not part of the test session"); }
};
