#pragma once
// Constraint definitions: PRIMARY KEY and UNIQUE (enforced by an index), NOT
// NULL, and CHECK (a closed range of one field's values).
//
// Every image starts with the base image of MetaObjectDef.h, then three i32
// IDs (SpareID, TableID, TargetID) and three names (SpareName, TableName,
// TargetName), each name as a prefixed short string (DefImage.h):
//   NOT NULL   IDs 10240..10242 / 10249..10251, names prefixed8
//              10243,10244 10245,10246 10247,10248 / 10252,10253 10254,10255 10256,10257
//   CHECK      IDs 10227..10229 / 10230..10232, names prefixed8
//              10221,10222 10223,10224 10225,10226 / 10233,10234 10235,10236 10237,10238
//              then MinValue and MaxValue as value images
//   UNIQUE and IDs 30313 30314 30318 / 30303 30304 30317, names prefixed32
//   PRIMARY    30315,30316 30317,30318 30323,30324 / 30305,30306 30307,30308 30321,30322
//              then i32 key column count K (30319 / 30309) and K times
//              i32 field object ID (30320 / 30310), prefixed32 field name
//              (30321,30322 / 30311,30312)
// List image: i32 count (10158 / 10159), then per constraint a type byte
// (10219 / 10220) and the constraint's image.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/VTRVariant.h"
#include "engine/storage/meta/DefImage.h"
#include "engine/storage/meta/MetaObjectDef.h"

enum TVTRConstraintType : uint8_t {
  ctPrimaryKey = 0,
  ctUnique = 2,
  ctNotNull = 3,
  ctCheck = 4,
};

// Codes of the six stored target fields, for one direction.
struct TVTRConstraintTargetCodes {
  int32_t spare_id, table_id, target_id;
  TVTRImageCodes spare_name, table_name, target_name;
};

class TVTRConstraintDef : public TVTRMetaObjectDef {
 public:
  // Copies the name, the IDs and the target names; the type is the class's.
  void Assign(const TVTRMetaObjectDef& source) override;

  const TVTRConstraintType ConstraintType;
  std::string SpareName;
  int32_t SpareID = 0;
  std::string TableName;  // set when a table takes the constraint list
  int32_t TableID = 0;
  std::string TargetName;  // the constrained field, or the enforcing index
  int32_t TargetID = 0;

 protected:
  explicit TVTRConstraintDef(TVTRConstraintType type) : ConstraintType(type) {}

  void SaveTarget(TStream& stream, const TVTRConstraintTargetCodes& codes, bool wide_prefix) const;
  void LoadTarget(TStream& stream, const TVTRConstraintTargetCodes& codes, bool wide_prefix);
};

class TVTRConstraintDefNotNull : public TVTRConstraintDef {
 public:
  TVTRConstraintDefNotNull() : TVTRConstraintDef(ctNotNull) {}
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
};

class TVTRConstraintDefCheck : public TVTRConstraintDef {
 public:
  TVTRConstraintDefCheck() : TVTRConstraintDef(ctCheck) {}
  void Assign(const TVTRMetaObjectDef& source) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  TVTRVariant MinValue;  // NULL: no bound
  TVTRVariant MaxValue;
};

struct TVTRConstraintKeyColumn {
  std::string FieldName;
  int32_t FieldID = 0;
};

class TVTRConstraintDefUnique : public TVTRConstraintDef {
 public:
  TVTRConstraintDefUnique() : TVTRConstraintDef(ctUnique) {}
  void Assign(const TVTRMetaObjectDef& source) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  std::vector<TVTRConstraintKeyColumn> KeyColumns;

 protected:
  explicit TVTRConstraintDefUnique(TVTRConstraintType type) : TVTRConstraintDef(type) {}
};

class TVTRConstraintDefPrimary : public TVTRConstraintDefUnique {
 public:
  TVTRConstraintDefPrimary() : TVTRConstraintDefUnique(ctPrimaryKey) {}
};

class TVTRConstraintDefs : public TVTRMetaObjectDefs {
 public:
  // A type byte other than 0, 2, 3 and 4 raises 30316.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Clears, then copies each source constraint into one of its type (names
  // may repeat).
  void Assign(const TVTRMetaObjectDefs& source) override;

  TVTRConstraintDefNotNull& AddNotNull();
  TVTRConstraintDefCheck& AddCheck();
  TVTRConstraintDefPrimary& AddPrimaryKey();
  TVTRConstraintDefUnique& AddUnique();
  TVTRConstraintDef& GetConstraintDef(int32_t index) const {
    return static_cast<TVTRConstraintDef&>(GetItem(index));
  }

 protected:
  std::string_view ClassName() const override { return "TVTRConstraintDefs"; }
  bool Holds(const TVTRMetaObjectDef& def) const override;

 private:
  // A new constraint of the type; nullptr for a type that is not made.
  static std::unique_ptr<TVTRConstraintDef> CreateOfType(uint8_t type);
  template <typename Def>
  Def& AddNew();
};
