#pragma once
// TVTRQuery: the dataset that runs SQL text. The statement is held as lines
// (UTF-8; the lines joined by "\r\n" reach the SQL engine in code page 874),
// its colon-prefixed names as Params; a processor of the SQL engine
// (CreateSQLProcessor) runs it and the last statement's result cursor
// becomes the query's cursor, which the query owns.
//
// Usage flags: Prepare holds dbfPrepared, ExecSQL dbfExecuting for its run
// and an open query dbfOpen; the processor lives while the query is prepared
// and is freed, keeping its row count, when the last flag goes.
//
// The parts: Query.cpp (text, parameters, preparing, the master link) and
// QueryExecute.cpp (running the text and handing over the parameters).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/access/DataSet.h"
#include "engine/storage/base/SQLProcessor.h"
#include "platform/db/DataLink.h"
#include "platform/db/Params.h"
#include "platform/rtl/StringList.h"

class TVTRQuery;

// The query's link to a master data source: a master that opens or moves
// reopens an open query with the master's values.
class TVTRQueryDataLink : public TDetailDataLink {
 public:
  explicit TVTRQueryDataLink(TVTRQuery& query) : query_(query) {}
  TDataSet* DetailDataSet() const override;

 protected:
  void ActiveChanged() override;
  void RecordChanged(TField* field) override;
  void CheckBrowseMode() override;

 private:
  TVTRQuery& query_;
};

// The statement's lines. Every change goes to the query at once: an open
// query closes and is unprepared, and Params are parsed anew.
class TVTRQuerySQL {
 public:
  explicit TVTRQuerySQL(TVTRQuery& query) : query_(query) {}

  int Count() const { return lines_.Count(); }
  const std::string& operator[](int index) const { return lines_[index]; }
  const TStringList& Lines() const { return lines_; }
  // The lines joined by "\r\n".
  std::string Text() const;

  void Add(std::string line);
  void Clear();
  // Replaces the lines with those of `text` (split at line breaks); the same
  // text again changes nothing.
  void SetText(std::string_view text);
  void Assign(const TStringList& lines);

 private:
  void Changed();

  TVTRQuery& query_;
  TStringList lines_;
};

class TVTRQuery : public TVTRDataSet {
 public:
  explicit TVTRQuery(TComponent* owner);
  // Closes and unprepares; failures go to the application object.
  ~TVTRQuery() override;

  TVTRQuerySQL& SQL() { return sql_; }
  const TVTRQuerySQL& SQL() const { return sql_; }
  // The same text again leaves an open query open.
  void SetSQL(const TStringList& lines) { sql_.Assign(lines); }
  // The text as handed to the processor, markers kept.
  const std::string& Text() const { return text_; }

  TParams& Params() { return params_; }
  // Copies the values of the parameters of equal names.
  void SetParams(const TParams& params) { params_.AssignValues(params); }
  // "Parameter '%s' not found" for an unknown name.
  TParam* ParamByName(std::string_view name) const { return params_.ParamByName(name); }
  // Parse ":name" markers into Params when the text changes.
  bool ParamCheck() const { return param_check_; }
  void SetParamCheck(bool value) { param_check_ = value; }
  bool RequestLive() const { return request_live_; }
  void SetRequestLive(bool value) { request_live_ = value; }

  // The master whose current record gives unbound parameters their values;
  // a source that leads back to the query raises "Circular datalinks are
  // not allowed".
  TDataSource* DataSource() const { return data_link_.DataSource(); }
  void SetDataSource(TDataSource* source);
  TDataSource* GetDataSource() const override { return data_link_.DataSource(); }
  // For every parameter named like a master field: that field, and the
  // query's own field of the name when it has one.
  void GetDetailLinkFields(std::vector<TField*>& master_fields, std::vector<TField*>& detail_fields) const;

  // Attaches the database and creates the processor for the text: 30141 on
  // an open query, 30142 "No SQL statement available" for a text shorter
  // than two characters.
  void Prepare();
  void UnPrepare();
  bool Prepared() const { return prepared_; }
  // Runs a statement without result on a closed query; an empty SQL raises
  // 20034 "No SQL statement available".
  void ExecSQL();
  // The last execution's row count (low 32 bits); kept after UnPrepare;
  // -1 until known.
  int32_t RowsAffected() const;

  // The "Data" block of a form (dropped whenever the SQL changes) and
  // "ParamData", the parameters as a form streams them.
  const std::optional<std::string>& Data() const { return data_block_; }
  void SetData(std::string block) { data_block_ = std::move(block); }
  TParams& ParamData() { return params_; }

  bool IsQuery() const override { return true; }
  // Closes, then unprepares.
  void Disconnect() override;
  // Clearing the last flag unprepares first.
  void SetDBFlag(TVTRDBFlag flag, bool value) override;

  // The master opened or moved: an open query runs again with its values,
  // unless the master is in set-key state.
  void RefreshParams();

 protected:
  // The database keeps SilentMode while the text runs.
  void CreateHandle() override;
  // A read-only result is run again; a live one re-reads its records.
  void InternalRefresh() override;

 private:
  friend class TVTRQuerySQL;

  void SQLChanged();
  void SetPrepared(bool value);
  void CreateProcessor(const std::string& text);
  // Runs the text: with `open_result` the result cursor (nil for a
  // statement), else nil.
  std::unique_ptr<TVTRCursor> ExecuteQuery(bool open_result);
  void TakeMasterValues();
  void HandParamsToProcessor();

  std::unique_ptr<TVTRSQLProcessor> processor_;
  TVTRQuerySQL sql_{*this};
  bool prepared_ = false;
  TParams params_;
  std::string text_;
  TVTRQueryDataLink data_link_{*this};
  int32_t last_rows_affected_ = -1;
  bool request_live_ = false;
  std::optional<std::string> data_block_;
  bool param_check_ = true;
  bool no_result_cursor_ = false;
};
