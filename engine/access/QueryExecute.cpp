// Running the text of TVTRQuery: the parameters become the processor's
// engine values (text in code page 874) and the result cursor the query's.
#include <utility>

#include "engine/access/Database.h"
#include "engine/access/EngineText.h"
#include "engine/access/Query.h"
#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/lexer/SQLParams.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/rtl/CodePage874.h"

namespace {

// A typed parameter's value in the engine's form: a time keeps its time of
// day, a BLOB its bytes as they are, text goes to code page 874.
void SetEngineValue(TVTRSQLParam& engine, const TParam& param) {
  engine.Clear(AdvancedTypeToBaseType(FieldTypeToAdvancedType(param.DataType())));
  if (param.IsNull()) return;
  switch (param.DataType()) {
    case ftTime:
      engine.SetAsTime(param.AsDateTime());
      break;
    case ftBlob: {
      const std::string bytes = param.Value().AsString();
      engine.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), bdtBlob, TVTRBufferMode::Copy);
      break;
    }
    default:
      engine.SetAsVariant(EngineTextValue(param.Value()));
  }
}

}  // namespace

void TVTRQuery::CreateHandle() {
  TVTRDatabase& database = *Database();
  const bool silent = std::exchange(database.SilentMode, true);
  try {
    SetHandle(ExecuteQuery(true));
  } catch (...) {
    database.SilentMode = silent;
    throw;
  }
  database.SilentMode = silent;
}

std::unique_ptr<TVTRCursor> TVTRQuery::ExecuteQuery(bool open_result) {
  if (sql_.Count() == 0) throw EVTRException(20034, "No SQL statement available");
  SetPrepared(true);
  TakeMasterValues();
  HandParamsToProcessor();
  std::unique_ptr<TVTRCursor> result;
  if (open_result) {
    result = processor_->Execute();
    if (result) result->ProjectionSet = true;
    SetReadOnly(processor_->GetReadOnly() || Database()->ReadOnly);
  } else {
    processor_->ExecSQL();
  }
  no_result_cursor_ = result == nullptr;
  return result;
}

void TVTRQuery::TakeMasterValues() {
  const TDataSet* master = data_link_.DataSet();
  if (master == nullptr) return;
  for (int i = 0; i < params_.Count(); ++i) {
    TParam& param = *params_[i];
    if (param.Bound()) continue;
    param.AssignField(master->FieldByName(param.Name()));
    param.SetBound(false);
  }
}

// Every value is converted before the processor's list changes, so a text
// the code page cannot hold leaves the processor as it was.
void TVTRQuery::HandParamsToProcessor() {
  if (params_.Count() == 0) return;
  std::vector<TVTRSQLParam> values;
  values.reserve(static_cast<size_t>(params_.Count()));
  for (int i = 0; i < params_.Count(); ++i) {
    const TParam& param = *params_[i];
    TVTRSQLParam& value = values.emplace_back();
    value.SetName(Utf8ToCp874(param.Name()));
    if (param.DataType() != ftUnknown) SetEngineValue(value, param);
  }
  TVTRSQLParams& engine_params = processor_->GetParams();
  engine_params.Clear();
  for (TVTRSQLParam& value : values) {
    TVTRSQLParam& added = engine_params.AddParam();
    added.SetName(value.Name());
    added.Assign(value, true);
  }
}
