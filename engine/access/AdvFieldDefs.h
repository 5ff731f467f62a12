#pragma once
// Extended field definitions: everything the engine knows about a column
// (defaults, CHECK bounds, autoincrement and BLOB settings) in one flat list,
// between the dataset layer's TFieldDefs and the engine's TVTRFieldDefs and
// TVTRConstraintDefs (DefConversions.h). Datasets keep them; the SQL engine
// edits them for CREATE TABLE and ALTER TABLE.
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRVariant.h"
#include "engine/storage/meta/FieldDef.h"

class TVTRAdvFieldDef {
 public:
  // Copies every field, the values as copies of their own.
  void Assign(const TVTRAdvFieldDef& source) { *this = source; }

  std::string Name;
  // The stored field's object ID, kept through a restructure so that a field
  // whose name or position changes keeps its data; -1 for a new field.
  int32_t ObjectID = -1;
  TVTRAdvancedDataType DataType = adtUnknown;
  bool Required = false;  // a NOT NULL constraint
  int32_t Size = 0;
  TVTRVariant DefaultValue;
  TVTRVariant MinValue;  // CHECK bounds; null: no bound
  TVTRVariant MaxValue;
  int64_t AutoincIncrement = 1;
  int64_t AutoincInitialValue = 0;
  int64_t AutoincMinValue = 0;
  int64_t AutoincMaxValue = std::numeric_limits<int64_t>::max();
  bool AutoincCycled = false;
  uint8_t BlobCompressionAlgorithm = 0;  // 0 none, 1 to 3
  uint8_t BlobCompressionMode = 0;       // 1 to 9 when compressed
  int32_t BlobBlockSize = kDefaultBlobBlockSize;
};

class TVTRAdvFieldDefs {
 public:
  // Clear, then a copy of every item of the source.
  void Assign(const TVTRAdvFieldDefs& source);
  int32_t GetCount() const { return static_cast<int32_t>(items_.size()); }
  // Positions 0 .. GetCount() - 1; others raise std::out_of_range.
  TVTRAdvFieldDef& GetItem(int32_t index) const { return *items_.at(index); }
  // A new item appended.
  TVTRAdvFieldDef& AddFieldDef();
  // Frees the first item of that name (ignoring case); none raises
  // EVTRException 30349 "Field '%s' not found".
  void Delete(std::string_view name);
  // The first item of that name (ignoring case), or nullptr.
  TVTRAdvFieldDef* Find(std::string_view name) const;
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TVTRAdvFieldDef>> items_;
};
