#pragma once
// TVTRSQLProcessor: runs the SQL text of a query component. The SQL engine
// implements it and registers a factory; the query owns its processor.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

class TVTRCursor;
class TVTRQuery;
class TVTRSQLParams;

class TVTRSQLProcessor {
 public:
  virtual ~TVTRSQLProcessor() = default;

  // The parameters the text's markers bind to, by name.
  virtual TVTRSQLParams& GetParams() = 0;
  // Whether an editable result is asked for, and whether results are held in memory.
  virtual void SetRequestLive(bool value) = 0;
  virtual void SetInMemory(bool value) = 0;
  // Kept for the next execution; not checked here.
  virtual void SetSQLText(std::string_view text) = 0;
  // Runs every command of the text in order, freeing the previous run's
  // commands. Returns the last command's result cursor, before its first
  // record, for the caller to own; nil for a statement without result.
  // Failures raise EVTRException with the SQL engine's codes.
  virtual std::unique_ptr<TVTRCursor> Execute() = 0;
  // Execute, for statements; a result is dropped.
  virtual void ExecSQL() = 0;
  // Rows the last execution's commands affected, summed.
  virtual int64_t GetRowCount() const = 0;
  // Whether the last result cannot be edited.
  virtual bool GetReadOnly() const = 0;
};

using TVTRSQLProcessorFactory = std::function<std::unique_ptr<TVTRSQLProcessor>(TVTRQuery& owner)>;

// The SQL engine registers its processor once at start-up.
void RegisterSQLProcessorFactory(TVTRSQLProcessorFactory factory);
// A processor for the query, with no parameters, command or text. Raises
// std::logic_error while no SQL engine is registered.
std::unique_ptr<TVTRSQLProcessor> CreateSQLProcessor(TVTRQuery& owner);
