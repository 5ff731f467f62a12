// TVTRQuery: its text and parameters, preparing and unpreparing, and the
// link to a master data source.
#include "engine/access/Query.h"

#include <utility>

#include "engine/access/ErrorMessage.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSource.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"
#include "platform/rtl/CodePage874.h"

namespace {

constexpr const char* kLineBreak = "\r\n";

// A colon between two double quotes is text, never a parameter's marker.
constexpr std::string_view kQuotedColon = "\":\"";
constexpr std::string_view kColonMarker = "\"<cut colon>\"";

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

// ---- TVTRQuerySQL

std::string TVTRQuerySQL::Text() const {
  std::string text;
  for (int i = 0; i < lines_.Count(); ++i) {
    if (i > 0) text += kLineBreak;
    text += lines_[i];
  }
  return text;
}

void TVTRQuerySQL::Add(std::string line) {
  lines_.Add(std::move(line));
  Changed();
}

void TVTRQuerySQL::Clear() {
  lines_.Clear();
  Changed();
}

void TVTRQuerySQL::SetText(std::string_view text) {
  TStringList lines;
  lines.SetText(text);
  Assign(lines);
}

void TVTRQuerySQL::Assign(const TStringList& lines) {
  if (lines.Text() == lines_.Text()) return;
  query_.Disconnect();
  lines_.Clear();
  lines_.AddStrings(lines);
  Changed();
}

void TVTRQuerySQL::Changed() {
  query_.SQLChanged();
}

// ---- TVTRQueryDataLink

TDataSet* TVTRQueryDataLink::DetailDataSet() const {
  return &query_;
}

void TVTRQueryDataLink::ActiveChanged() {
  if (Active() && query_.Active()) query_.RefreshParams();
}

void TVTRQueryDataLink::RecordChanged(TField* field) {
  if (field == nullptr && query_.Active()) query_.RefreshParams();
}

void TVTRQueryDataLink::CheckBrowseMode() {
  if (query_.Active()) query_.CheckBrowseMode();
}

// ---- TVTRQuery

TVTRQuery::TVTRQuery(TComponent* owner) : TVTRDataSet(owner) {}

TVTRQuery::~TVTRQuery() {
  Destroying();
  ShowingEngineErrors(this, [this] { Disconnect(); });
}

void TVTRQuery::SQLChanged() {
  const std::string text = sql_.Text();
  if (ComponentState().Contains(csReading)) {
    params_.ParseSQL(text, false);
    text_ = text;
    return;
  }
  Disconnect();
  data_block_.reset();
  if (param_check_ || ComponentState().Contains(csDesigning)) {
    TParams parsed;
    parsed.ParseSQL(ReplaceAll(text, kQuotedColon, kColonMarker), true);
    parsed.AssignValues(params_);
    params_.Assign(&parsed);
  }
  text_ = text;
  DataEvent(dePropertyChange, 0);
}

void TVTRQuery::Disconnect() {
  Close();
  UnPrepare();
}

void TVTRQuery::SetDBFlag(TVTRDBFlag flag, bool value) {
  if (!value && DBFlag(flag) && !OtherDBFlagSet(flag)) SetPrepared(false);
  TVTRDataSet::SetDBFlag(flag, value);
}

void TVTRQuery::Prepare() {
  SetDBFlag(dbfPrepared, true);
  try {
    SetPrepared(true);
  } catch (...) {
    ClearDBFlagQuietly(dbfPrepared);
    throw;
  }
}

void TVTRQuery::UnPrepare() {
  SetPrepared(false);
  SetDBFlag(dbfPrepared, false);
}

void TVTRQuery::SetPrepared(bool value) {
  if (Handle() != nullptr) {
    if (value) throw EVTRException(30141, "Cannot perform this operation on an open dataset");
    Close();
  }
  if (value == prepared_) return;
  if (value) {
    last_rows_affected_ = -1;
    no_result_cursor_ = true;
    if (text_.size() < 2) throw EVTRException(30142, "No SQL statement available");
    CreateProcessor(text_);
  } else {
    if (no_result_cursor_ && processor_) last_rows_affected_ = static_cast<int32_t>(processor_->GetRowCount());
    processor_.reset();
  }
  prepared_ = value;
}

void TVTRQuery::CreateProcessor(const std::string& text) {
  const std::string engine_text = Utf8ToCp874(text);
  std::unique_ptr<TVTRSQLProcessor> processor = CreateSQLProcessor(*this);
  processor->SetRequestLive(request_live_);
  processor->SetInMemory(InMemory());
  processor->SetSQLText(engine_text);
  processor_ = std::move(processor);
}

void TVTRQuery::ExecSQL() {
  CheckInactive();
  WithDBFlag(dbfExecuting, [this] { ExecuteQuery(false); });
}

int32_t TVTRQuery::RowsAffected() const {
  if (prepared_ && processor_) return static_cast<int32_t>(processor_->GetRowCount());
  return last_rows_affected_;
}

void TVTRQuery::SetDataSource(TDataSource* source) {
  if (IsLinkedTo(source)) DatabaseError(SCircularDataLink, this);
  data_link_.SetDataSource(source);
}

void TVTRQuery::GetDetailLinkFields(std::vector<TField*>& master_fields,
                                    std::vector<TField*>& detail_fields) const {
  master_fields.clear();
  detail_fields.clear();
  const TDataSet* master = data_link_.DataSet();
  if (master == nullptr) return;
  for (int i = 0; i < params_.Count(); ++i) {
    TField* master_field = master->FindField(params_[i]->Name());
    if (master_field == nullptr) continue;
    master_fields.push_back(master_field);
    if (TField* own = FindField(params_[i]->Name())) detail_fields.push_back(own);
  }
}

void TVTRQuery::RefreshParams() {
  const TDataSet* master = data_link_.DataSet();
  if (master == nullptr || !master->Active() || master->State() == dsSetKey) return;
  DisableControls();
  try {
    Close();
    Open();
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
}

void TVTRQuery::InternalRefresh() {
  if (Active() && ReadOnly()) {
    Close();
    Open();
    return;
  }
  TVTRDataSet::InternalRefresh();
}
