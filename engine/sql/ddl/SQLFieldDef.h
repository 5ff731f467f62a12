#pragma once
// The column and index definitions a table definition statement parsed,
// before they become the extended definitions of a table component. A
// column value is copied only when the statement gave it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRVariant.h"

struct TSQLFieldDef {
  std::string Name;
  bool IfNotExists = false;  // ALTER TABLE ADD passes over an existing column
  std::optional<TVTRAdvancedDataType> DataType;
  std::optional<int32_t> Size;
  std::optional<bool> Required;
  std::optional<int64_t> Increment;
  std::optional<int64_t> InitialValue;
  std::optional<int64_t> AutoincMin;
  std::optional<int64_t> AutoincMax;
  std::optional<bool> Cycled;
  std::optional<int32_t> BlobBlockSize;
  std::optional<uint8_t> CompressionAlgorithm;
  std::optional<uint8_t> CompressionMode;
  std::optional<TVTRVariant> DefaultValue;  // a NULL value for DEFAULT NULL
  std::optional<TVTRVariant> MinValue;      // a NULL value for NOMINVALUE
  std::optional<TVTRVariant> MaxValue;
};

class TSQLFieldDefs {
 public:
  // A new empty definition appended.
  TSQLFieldDef& Add() { return *items_.emplace_back(std::make_unique<TSQLFieldDef>()); }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  TSQLFieldDef& Items(int32_t index) const { return *items_.at(index); }

 private:
  std::vector<std::unique_ptr<TSQLFieldDef>> items_;
};

// One column of an index clause or of CREATE INDEX.
struct TVTRSQLIndexField {
  std::string Name;
  bool Descending = false;
  bool CaseInsensitive = false;
};

// An index clause of CREATE TABLE or ALTER TABLE.
struct TVTRSQLIndex {
  std::string Name;  // empty when none was written
  bool Unique = false;
  bool IsPK = false;
  std::vector<TVTRSQLIndexField> Fields;
};

// The refusal of a PASSWORD without its quoted text in the index statements.
inline constexpr const char* kQuotedPasswordExpected =
    "Quoted password expected (for PASSWORD \"passwordData\"), but '%s' found at line %d, column %d";

// The names of the columns that pass `test` (every column without one),
// joined with `separator`.
std::string JoinColumnNames(const std::vector<TVTRSQLIndexField>& columns, char separator,
                            bool (*test)(const TVTRSQLIndexField&) = nullptr);

inline bool IsDescending(const TVTRSQLIndexField& column) {
  return column.Descending;
}
inline bool IsCaseInsensitive(const TVTRSQLIndexField& column) {
  return column.CaseInsensitive;
}
