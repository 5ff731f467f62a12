#include "engine/sql/processor/SQLProcessor.h"

#include <utility>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/Cursor.h"

TVTRLocalSQLProcessor::TVTRLocalSQLProcessor(std::function<TVTRQueryContext()> query)
    : query_(std::move(query)) {}

TVTRLocalSQLProcessor::~TVTRLocalSQLProcessor() = default;

void TVTRLocalSQLProcessor::ParseCommands(const TVTRQueryContext& query) {
  if (lexer_->CommandCount() == 0) throw EVTRException(30145, "Blank SQL command");
  while (lexer_->NextCommand()) commands_.push_back(CreateSQLCommand(*lexer_, query));
}

std::unique_ptr<TVTRCursor> TVTRLocalSQLProcessor::Execute() {
  RowsAffected = 0;
  commands_.clear();
  lexer_.reset();
  lexer_ = std::make_unique<TVTRLexer>(SQLText, &Params);
  TVTRQueryContext query = query_();
  query.InMemory = InMemory;
  ParseCommands(query);

  for (std::size_t i = 0; i < commands_.size(); ++i) {
    TVTRSQLCommand& command = *commands_[i];
    command.Execute(query, true, RequestLive, ReadOnlyResult, nullptr, nullptr);
    RowsAffected += command.RowsAffected;
    if (i + 1 < commands_.size()) commands_[i].reset();
  }
  std::unique_ptr<TVTRCursor> cursor = commands_.back()->GetResultCursor();
  if (cursor) cursor->First();
  return cursor;
}

void TVTRLocalSQLProcessor::ExecSQL() {
  Execute();
}
