#pragma once
// The read statements of the donation window and its printouts, answered from
// rows that the test keeps per table: a statement reads the table named after
// its "from", keeps the rows that its parameters select (a series head by the
// first five characters of bill_no, a number, a purpose code, a staff number) and
// orders them by the column after "order by". Every run is recorded. The rows
// dataset of a query has the columns of all the tables it may read, and
// belongs to the window.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/TableRows.h"
#include "app/core/WindowQuery.h"
#include "platform/rtl/TextCase.h"
#include "tests/support/ArrayDataSet.h"

inline const std::vector<ArrayFieldDef> kServedColumns{
    {"bill_no", ftString, 11},      {"bill_date", ftDate},          {"cust_no", ftString, 20},
    {"cust_name", ftString, 60},    {"cust_birth", ftString, 20},   {"cust_add1", ftString, 60},
    {"cust_add2", ftString, 60},    {"cust_add4", ftString, 60},    {"cust_zip", ftString, 10},
    {"cust_tel", ftString, 30},     {"cust_fax", ftString, 30},     {"country", ftString, 30},
    {"sale_no", ftString, 10},      {"total", ftFloat},             {"grand_total", ftFloat},
    {"app_for", ftString, 100},     {"bill_id", ftInteger},         {"accessory_no", ftString, 20},
    {"accessory_name", ftString, 60}, {"accessory_type", ftString, 5}, {"accessory_sn", ftString, 20},
    {"accessory_unit", ftString, 20}, {"proj_no", ftString, 10},    {"proj_type", ftString, 5},
    {"qty", ftFloat},               {"unit_name", ftString, 20},    {"price", ftFloat},
    {"price_1", ftFloat},           {"disc_rate", ftFloat},         {"tax_rate", ftFloat},
    {"tax_status", ftString, 1},    {"cut_stock", ftString, 1},     {"prefix1", ftString, 4},
    {"prefix2", ftString, 4},       {"prefix3", ftString, 4},       {"prefix4", ftString, 4},
    {"prefix5", ftString, 4},       {"prefix6", ftString, 4},       {"prn_logo", ftString, 1},
    {"prn_preview", ftString, 1},   {"view1", ftString, 1},         {"view2", ftString, 1},
    {"view3", ftString, 1},         {"view4", ftString, 1},         {"view5", ftString, 1},
    {"view6", ftString, 1},         {"view7", ftString, 1},         {"prn_top", ftFloat},
    {"prn_left", ftFloat},
    {"com_port", ftString, 1},      {"per_no", ftString, 10},       {"per_name", ftString, 60},
    {"of_name", ftString, 60},      {"of_add1", ftString, 60},      {"of_add2", ftString, 60},
    {"of_add4", ftString, 60},      {"of_zip", ftString, 10},       {"of_tel", ftString, 30},
    {"of_fax", ftString, 30},       {"of_email", ftString, 40}};

class TableQuery : public WindowQuery {
 public:
  // Each run is appended to `runs`, which outlives the window.
  TableQuery(TComponent& owner, const std::vector<TableRow>& tables, std::vector<QueryStatement>& runs)
      : rows_(new TArrayDataSet(&owner, kServedColumns)), tables_(tables), runs_(runs) {
    rows_->SetReadOnly(true);
  }

  TDataSet& Rows() override { return *rows_; }

  void Open(const QueryStatement& statement) override {
    rows_->Close();
    runs_.push_back(statement);
    std::string text;
    for (const std::string& line : statement.lines) text += LowerCase(line) + ' ';
    const std::string table = WordAfter(text, "from ");
    std::vector<const TableRow*> selected;
    for (const TableRow& row : tables_) {
      if (row.Table == table && Selected(row, statement)) selected.push_back(&row);
    }
    const std::string order = WordAfter(text, "order by ");
    if (!order.empty()) {
      std::stable_sort(selected.begin(), selected.end(), [&order](const TableRow* a, const TableRow* b) {
        return Value(*a, order) < Value(*b, order);
      });
    }
    rows_->SetReadOnly(false);
    rows_->Open();
    while (!rows_->IsEmpty()) rows_->Delete();
    for (const TableRow* row : selected) {
      rows_->Append();
      for (const TableColumnValue& value : row->Values) rows_->FieldByName(value.Column)->SetAsString(value.Value);
      rows_->Post();
    }
    rows_->SetReadOnly(true);
    rows_->First();
  }

  static std::string Value(const TableRow& row, std::string_view column) {
    for (const TableColumnValue& value : row.Values) {
      if (LowerCase(value.Column) == column) return value.Value;
    }
    return {};
  }

 private:
  static std::string WordAfter(const std::string& text, std::string_view keyword) {
    size_t at = text.find(keyword);
    if (at == std::string::npos) return {};
    at = text.find_first_not_of(' ', at + keyword.size());
    return text.substr(at, text.find_first_of(" ,(", at) - at);
  }

  static bool Selected(const TableRow& row, const QueryStatement& statement) {
    for (const QueryParameter& parameter : statement.parameters) {
      const std::string name = LowerCase(parameter.name);
      const std::string wanted = parameter.value.AsString();
      if (name == "qprefix" || name == "head_bill") {
        if (Value(row, "bill_no").substr(0, 5) != wanted) return false;
      } else if (name == "qbill_no" || name == "p_post_inv_no" || name == "minv_no" || name == "mbill_no") {
        if (Value(row, "bill_no") != wanted) return false;
      } else if (name == "qaccessory_no") {
        if (Value(row, "accessory_no") != wanted) return false;
      } else if (name == "qper_no") {
        if (Value(row, "per_no") != wanted) return false;
      }
    }
    return true;
  }

  TArrayDataSet* rows_;
  const std::vector<TableRow>& tables_;
  std::vector<QueryStatement>& runs_;
};

// The factory that a window takes: each query it makes reads `tables` and
// records its runs in `runs`.
inline WindowQueryFactory ServeTables(const std::vector<TableRow>& tables, std::vector<QueryStatement>& runs) {
  return [&tables, &runs](TComponent& owner, const std::string&) {
    return std::make_unique<TableQuery>(owner, tables, runs);
  };
}
