#include "app/core/SqlRegisterRows.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "app/core/ThaiDateText.h"
#include "engine/access/Query.h"
#include "platform/db/Field.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kKeyParam = "q_key";

TVTRQuery* WindowQuery(TComponent* owner, const std::string& alias) {
  auto* query = new TVTRQuery(owner);
  query->SetDatabaseName(alias);
  return query;
}

void SetLines(TVTRQuery& query, const std::vector<std::string>& lines) {
  query.Close();
  query.SQL().Clear();
  for (const std::string& line : lines) query.SQL().Add(line);
}

const std::string& ValueOf(const RowValues& values, const std::string& column) {
  const auto value = std::ranges::find(values, column, &ColumnValue::column);
  if (value == values.end()) throw std::logic_error("no value for the column " + column);
  return value->text;
}

// Null, yet given: the engine writes the column empty.
void SetNull(TParam& param) {
  param.Clear();
  param.SetBound(true);
}

}  // namespace

void SetParamFromText(TParam& param, ParamKind kind, const std::string& text) {
  switch (kind) {
    case ParamKind::kText:
      param.SetAsString(text);
      return;
    case ParamKind::kNumber:
      if (Trim(text).empty()) break;
      param.SetAsFloat(StrToFloat(text));
      return;
    case ParamKind::kInteger:
      if (Trim(text).empty()) break;
      param.SetAsInteger(StrToInt(Trim(text)));
      return;
    case ParamKind::kDate: {
      if (IsBlankDateText(text)) break;
      const std::optional<TDateTime> date = ParseThaiDate(text);
      if (!date) throw EConvertError(std::string(kWrongDateMessage));
      param.SetAsDate(*date);
      return;
    }
  }
  SetNull(param);
}

SqlRegisterRows::SqlRegisterRows(TComponent* owner, const std::string& alias, RegisterSql sql)
    : sql_(std::move(sql)), add_edit_(WindowQuery(owner, alias)), query_temp_(WindowQuery(owner, alias)) {}

bool SqlRegisterRows::HasKey(const std::string& key, bool prefix) {
  // A like pattern finds every key that begins with the text, and more where
  // the text holds "%" or "_"; the prefix is confirmed on the keys found.
  SetLines(*query_temp_, {"select " + sql_.key_column + " from " + sql_.table,
                          " where " + sql_.key_column + (prefix ? " like :" : " =:") + kKeyParam});
  SetParamFromText(*query_temp_->ParamByName(kKeyParam), prefix ? ParamKind::kText : sql_.key_kind,
                   prefix ? key + "%" : key);
  query_temp_->Open();
  bool found = false;
  for (; !found && !query_temp_->Eof(); query_temp_->Next())
    found = !prefix || query_temp_->Fields()[0]->AsString().starts_with(key);
  query_temp_->Close();
  return found;
}

void SqlRegisterRows::Insert(const RowValues& values) {
  Execute(sql_.insert, {}, {}, values);
}

int SqlRegisterRows::Update(const std::string& key, const RowValues& values) {
  return Execute(sql_.update.lines, sql_.update.key_param, key, values);
}

int SqlRegisterRows::Delete(const std::string& key) {
  return Execute(sql_.remove.lines, sql_.remove.key_param, key, {});
}

int SqlRegisterRows::Execute(const std::vector<std::string>& lines, const std::string& key_param,
                             const std::string& key, const RowValues& values) {
  SetLines(*add_edit_, lines);
  TParams& params = add_edit_->Params();
  for (int i = 0; i < params.Count(); ++i) {
    TParam& param = *params[i];
    if (param.Name() == key_param) {
      SetParamFromText(param, sql_.key_kind, key);
      continue;
    }
    const auto source = std::ranges::find(sql_.params, param.Name(), &RegisterParam::name);
    if (source == sql_.params.end()) throw std::logic_error("no value for the parameter " + param.Name());
    Fill(param, *source, values);
  }
  add_edit_->ExecSQL();
  return add_edit_->RowsAffected();
}

void SqlRegisterRows::Fill(TParam& param, const RegisterParam& source, const RowValues& values) const {
  if (source.column.empty()) {
    SetNull(param);
    return;
  }
  SetParamFromText(param, source.kind, ValueOf(values, source.column));
}
