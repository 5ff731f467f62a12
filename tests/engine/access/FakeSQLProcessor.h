#pragma once
// A stand-in for the SQL engine's statement processor that keeps its
// contract with the query component: it takes the text and the parameter
// list, remembers what each run received, reports the row count and the
// read-only answer a test scripts, and answers a text that begins with
// SELECT with a cursor over a real table of the "TEMP" database: one column
// per engine parameter (named and typed after it; "N" when there is none)
// and one row of their values. The result tables live until the next run or
// until the processor is freed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/Query.h"
#include "engine/access/Table.h"
#include "engine/foundation/lexer/SQLParams.h"
#include "engine/storage/base/SQLProcessor.h"

class FakeSQLProcessor : public TVTRSQLProcessor {
 public:
  // What one run received.
  struct Run {
    std::string text;  // engine text, as handed over
    std::vector<TVTRSQLParam> params;
    bool request_live = false;
    bool in_memory = false;
    bool exec_sql = false;  // ExecSQL rather than Execute
    bool silent = false;    // the query's database had SilentMode set
  };
  // What the next runs report.
  struct Script {
    int64_t rows_affected = 0;
    bool read_only = false;
  };

  // Registers the factory with an empty history and a default script;
  // Unregister leaves no SQL engine.
  static void Register();
  static void Unregister();
  static Script& NextScript();
  static const std::vector<Run>& Runs();

  explicit FakeSQLProcessor(TVTRQuery& owner) : owner_(owner) {}
  ~FakeSQLProcessor() override;

  TVTRSQLParams& GetParams() override { return params_; }
  void SetRequestLive(bool value) override { request_live_ = value; }
  void SetInMemory(bool value) override { in_memory_ = value; }
  void SetSQLText(std::string_view text) override { text_ = text; }
  std::unique_ptr<TVTRCursor> Execute() override;
  void ExecSQL() override;
  int64_t GetRowCount() const override { return row_count_; }
  bool GetReadOnly() const override { return read_only_; }

 private:
  void Record(bool exec_sql);
  std::unique_ptr<TVTRCursor> MakeResult();
  void DropResult();

  TVTRQuery& owner_;
  TVTRSQLParams params_;
  std::string text_;
  bool request_live_ = false;
  bool in_memory_ = false;
  int64_t row_count_ = 0;
  bool read_only_ = false;
  std::unique_ptr<TVTRTable> result_;
};
