#include "engine/foundation/lexer/Lexer.h"

#include "engine/foundation/VTRVariant.h"
#include "engine/foundation/lexer/Tokenizer.h"

TVTRLexer::TVTRLexer(std::string_view sql, const TVTRSQLParams* params) : sql_(sql), params_(params) {
  TVTRTokenizer(*this).Run();
  for (TSQLCommand& command : commands_) command.cursor = 0;
  current_command_ = -1;
}

TVTRLexer::~TVTRLexer() = default;

bool TVTRLexer::NextCommand() {
  if (current_command_ < CommandCount()) ++current_command_;
  return current_command_ < CommandCount();
}

TSQLCommand* TVTRLexer::CurrentCommand() {
  if (current_command_ < 0 || current_command_ >= CommandCount()) return nullptr;
  return &commands_[current_command_];
}

const TSQLCommand* TVTRLexer::CurrentCommand() const {
  return const_cast<TVTRLexer*>(this)->CurrentCommand();
}

bool TVTRLexer::ReadToken(int32_t index, TToken& token) const {
  const TSQLCommand* command = CurrentCommand();
  if (command == nullptr || index < 0 || index >= static_cast<int32_t>(command->tokens.size())) {
    token.kind = tktNone;
    return false;
  }
  token = command->tokens[index];
  return true;
}

bool TVTRLexer::GetCurrentToken(TToken& token) const {
  return ReadToken(GetCurrentTokenNo(), token);
}

bool TVTRLexer::LookAheadToken(TToken& token) const {
  return ReadToken(GetCurrentTokenNo() + 1, token);
}

bool TVTRLexer::GetNextToken(TToken& token) {
  const bool found = LookAheadToken(token);
  if (TSQLCommand* command = CurrentCommand()) ++command->cursor;
  return found;
}

int32_t TVTRLexer::GetCurrentTokenNo() const {
  const TSQLCommand* command = CurrentCommand();
  return command ? command->cursor : 0;
}

bool TVTRLexer::SetCurrentTokenNo(int32_t n) {
  TSQLCommand* command = CurrentCommand();
  if (command == nullptr) return false;
  command->cursor = n;
  return n >= 0 && n < static_cast<int32_t>(command->tokens.size());
}

bool TVTRLexer::GotoToken(int32_t n, TToken& token) {
  SetCurrentTokenNo(n);
  return GetCurrentToken(token);
}

void TVTRLexer::AddCommand() {
  commands_.emplace_back();
  current_command_ = CommandCount() - 1;
}

void TVTRLexer::AddToken(const TToken& token) {
  TSQLCommand* command = CurrentCommand();
  if (command == nullptr) {
    AddCommand();
    command = &commands_.back();
  }
  command->tokens.push_back(token);
  command->cursor = static_cast<int32_t>(command->tokens.size()) - 1;
}
