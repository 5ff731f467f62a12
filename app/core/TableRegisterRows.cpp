#include "app/core/TableRegisterRows.h"

#include <utility>

#include "platform/db/DB.h"

TTableRegisterRows::TTableRegisterRows(TVTRTable& table, std::string key_column)
    : table_(table), key_column_(std::move(key_column)) {}

template <typename Work>
auto TTableRegisterRows::WithOpenTable(Work&& work) {
  table_.Open();
  try {
    auto result = work();
    table_.Close();
    return result;
  } catch (...) {
    // Closing cancels a refused insert or edit.
    table_.Close();
    throw;
  }
}

bool TTableRegisterRows::Seek(const std::string& key, bool prefix) {
  TField* field = table_.FieldByName(key_column_);
  for (table_.First(); !table_.Eof(); table_.Next()) {
    const std::string stored = field->AsString();
    if (prefix ? stored.starts_with(key) : stored == key) return true;
  }
  return false;
}

void TTableRegisterRows::Assign(const RowValues& values) {
  for (const ColumnValue& value : values) table_.FieldByName(value.column)->SetAsString(value.text);
}

bool TTableRegisterRows::HasKey(const std::string& key, bool prefix) {
  return WithOpenTable([&] { return Seek(key, prefix); });
}

void TTableRegisterRows::Insert(const RowValues& values) {
  WithOpenTable([&] {
    table_.Append();
    Assign(values);
    table_.Post();
    return true;
  });
}

int TTableRegisterRows::Update(const std::string& key, const RowValues& values) {
  return WithOpenTable([&] {
    if (!Seek(key, false)) return 0;
    table_.Edit();
    Assign(values);
    table_.Post();
    return 1;
  });
}

int TTableRegisterRows::Delete(const std::string& key) {
  return WithOpenTable([&] {
    if (!Seek(key, false)) return 0;
    table_.Delete();
    return 1;
  });
}
