#pragma once
// A window query over rows that the test serves. Each run is recorded and
// opens the served rows that its period selects: with "mBegin" and "mEnd"
// given, the rows whose `date_field` lies from the first through the last of
// those days, as the period statements' condition selects them against stored
// dates; without them, every row. The rows dataset belongs to the window.
#include <memory>
#include <string_view>
#include <utility>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/WindowQuery.h"
#include "tests/support/ArrayDataSet.h"

class ServedQuery : public WindowQuery {
 public:
  ServedQuery(TComponent& owner, std::vector<ArrayFieldDef> defs, std::string date_field)
      : rows_(new TArrayDataSet(&owner, std::move(defs))), date_field_(std::move(date_field)) {
    rows_->SetReadOnly(true);
  }

  // Each row: the values of the fields in their order (null: no value).
  std::vector<std::vector<Variant>> served;
  std::vector<QueryStatement> runs;
  // Raised by the next run instead of opening, as a failing statement would.
  std::string fail_next;

  TDataSet& Rows() override { return *rows_; }

  void Open(const QueryStatement& statement) override {
    rows_->Close();
    runs.push_back(statement);
    if (!fail_next.empty()) throw std::runtime_error(std::exchange(fail_next, {}));
    const Variant* begin = Parameter(statement, "mBegin");
    const Variant* end = Parameter(statement, "mEnd");
    rows_->SetReadOnly(false);
    rows_->Open();
    while (!rows_->IsEmpty()) rows_->Delete();
    const int date_index = date_field_.empty() ? -1 : rows_->FieldByName(date_field_)->Index();
    for (const auto& row : served) {
      if (begin != nullptr && date_index >= 0) {
        const TDateTime date = row.at(date_index).AsDateTime();
        if (date < begin->AsDateTime() || date > end->AsDateTime()) continue;
      }
      rows_->Append();
      for (size_t i = 0; i < row.size(); ++i) rows_->Fields()[static_cast<int>(i)]->SetValue(row[i]);
      rows_->Post();
    }
    rows_->SetReadOnly(true);
    rows_->First();
  }

  static const Variant* Parameter(const QueryStatement& statement, std::string_view name) {
    for (const QueryParameter& parameter : statement.parameters) {
      if (parameter.name == name) return &parameter.value;
    }
    return nullptr;
  }

 private:
  TArrayDataSet* rows_;
  std::string date_field_;
};
