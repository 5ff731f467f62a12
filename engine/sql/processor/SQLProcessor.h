#pragma once
// TVTRLocalSQLProcessor: the SQL engine behind a query component. Each run
// lexes the whole text, parses every statement into a command before the
// first one runs (a syntax error anywhere runs nothing), runs the commands
// in order and keeps the last one, which owns the result behind the cursor
// it hands back. A failed run leaves the processor ready for the next.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/VTRLexer.h"
#include "engine/sql/processor/QueryContext.h"
#include "engine/sql/processor/SQLCommand.h"
#include "engine/storage/base/SQLProcessor.h"

class TVTRLocalSQLProcessor final : public TVTRSQLProcessor {
 public:
  // `query` describes the running query at each run (its InMemory is the
  // processor's own setting, filled in here).
  explicit TVTRLocalSQLProcessor(std::function<TVTRQueryContext()> query);
  ~TVTRLocalSQLProcessor() override;

  TVTRSQLParams& GetParams() override { return Params; }
  void SetRequestLive(bool value) override { RequestLive = value; }
  void SetInMemory(bool value) override { InMemory = value; }
  void SetSQLText(std::string_view text) override { SQLText = text; }
  // Blank text: 30145. A statement that cannot be parsed: its syntax error,
  // and no statement of the text runs.
  std::unique_ptr<TVTRCursor> Execute() override;
  void ExecSQL() override;
  int64_t GetRowCount() const override { return RowsAffected; }
  bool GetReadOnly() const override { return ReadOnlyResult; }

  bool ReadOnlyResult = false;
  bool RequestLive = false;
  bool InMemory = false;
  int64_t RowsAffected = 0;
  std::string SQLText;
  TVTRSQLParams Params;

 private:
  // One command per command of the lexer, each parsed for the query.
  void ParseCommands(const TVTRQueryContext& query);

  std::function<TVTRQueryContext()> query_;
  // Declared before the commands, which refer to it, so that it goes after them.
  std::unique_ptr<TVTRLexer> lexer_;
  std::vector<TVTRSQLCommandPtr> commands_;
};

// The command for the lexer's current command, chosen by its first words
// and parsed. 30146 for a command without tokens; 30147 to 30154 and 30353
// for first words that start no statement.
TVTRSQLCommandPtr CreateSQLCommand(TVTRLexer& lexer, const TVTRQueryContext& query);
