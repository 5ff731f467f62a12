#include "tests/engine/access/FakeSQLProcessor.h"

#include <algorithm>

#include "engine/access/Database.h"
#include "engine/access/LocalCursor.h"
#include "engine/access/LocalSession.h"
#include "engine/foundation/DataTypes.h"
#include "platform/db/Field.h"
#include "platform/rtl/TextCase.h"

namespace {

FakeSQLProcessor::Script& CurrentScript() {
  static FakeSQLProcessor::Script script;
  return script;
}

std::vector<FakeSQLProcessor::Run>& History() {
  static std::vector<FakeSQLProcessor::Run> runs;
  return runs;
}

bool IsSelect(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && SameText(text.substr(start, 6), "SELECT");
}

// The column a parameter's value fits: its own type, text wide enough for
// it, an untyped one as text.
void AddColumn(TFieldDefs& defs, const TVTRSQLParam& param) {
  const TFieldType type = AdvancedTypeToFieldType(BaseTypeToAdvancedType(param.DataType()));
  if (type == ftUnknown || type == ftString) {
    defs.Add(param.Name(), ftString, std::max(param.IsNull() ? 1 : param.GetStringLength(), 1));
    return;
  }
  defs.Add(param.Name(), type);
}

}  // namespace

void FakeSQLProcessor::Register() {
  History().clear();
  CurrentScript() = {};
  RegisterSQLProcessorFactory([](TVTRQuery& owner) { return std::make_unique<FakeSQLProcessor>(owner); });
}

void FakeSQLProcessor::Unregister() {
  RegisterSQLProcessorFactory(nullptr);
}

FakeSQLProcessor::Script& FakeSQLProcessor::NextScript() {
  return CurrentScript();
}

const std::vector<FakeSQLProcessor::Run>& FakeSQLProcessor::Runs() {
  return History();
}

FakeSQLProcessor::~FakeSQLProcessor() {
  try {
    DropResult();
  } catch (...) {
    // A result table left behind lives only as long as the TEMP database.
  }
}

void FakeSQLProcessor::Record(bool exec_sql) {
  DropResult();
  Run& run = History().emplace_back();
  run.text = text_;
  for (int32_t i = 0; i < params_.Count(); ++i) run.params.push_back(params_.Items(i));
  run.request_live = request_live_;
  run.in_memory = in_memory_;
  run.exec_sql = exec_sql;
  run.silent = owner_.Database() != nullptr && owner_.Database()->SilentMode;
  row_count_ = CurrentScript().rows_affected;
  read_only_ = CurrentScript().read_only;
}

std::unique_ptr<TVTRCursor> FakeSQLProcessor::Execute() {
  Record(false);
  return IsSelect(text_) ? MakeResult() : nullptr;
}

void FakeSQLProcessor::ExecSQL() {
  Record(true);
}

std::unique_ptr<TVTRCursor> FakeSQLProcessor::MakeResult() {
  static int result_number = 0;
  result_ = std::make_unique<TVTRTable>(nullptr);
  result_->SetSessionName(owner_.SessionName());
  result_->SetTemporary(true);
  result_->SetTableName("FAKE_RESULT_" + std::to_string(++result_number));
  TFieldDefs& defs = result_->FieldDefs();
  for (int32_t i = 0; i < params_.Count(); ++i) AddColumn(defs, params_.Items(i));
  if (params_.Count() == 0) defs.Add("N", ftInteger);
  result_->CreateTable();
  result_->Open();
  result_->Append();
  for (int32_t i = 0; i < params_.Count(); ++i) {
    TVTRVariant value = params_.Items(i);
    if (!value.IsNull()) result_->SetFieldVariant(value, i, false);
  }
  if (params_.Count() == 0) result_->FieldByName("N")->SetAsInteger(1);
  result_->Post();

  auto cursor = std::make_unique<TVTRLocalCursor>();
  cursor->Session = result_->Database()->EngineSession();
  cursor->TableName = result_->TableName();
  cursor->Temporary = true;
  cursor->OpenTable(nullptr, nullptr, nullptr);
  cursor->InitFieldDefs();
  return cursor;
}

void FakeSQLProcessor::DropResult() {
  if (!result_) return;
  result_->Close();
  result_->DeleteTable();
  result_.reset();
}
