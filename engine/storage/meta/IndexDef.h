#pragma once
// Index definitions: the key columns of one index, and the list of a table's
// indexes. Temporary indexes (made for one session's cursor) are never stored.
//
// Index definition image (after the base image of MetaObjectDef.h):
//   u8   Kind             (write 10344 / read 10349)
//   u8   Unique           (10345 / 10350)
//   u8   Primary          (10346 / 10351)
//   i32  column count C   (10347 / 10352)
//   i32  RootPage         (10348 / 10353)
//   per column, C times:
//   u8   length L of FieldName  (10354 / 10358)
//   L    characters             (10355 / 10359)
//   u8   Descending             (10356 / 10360)
//   u8   CaseInsensitive        (10357 / 10361)
//   i32  MaxIndexedSize         (20169 / 20168)
// List image: i32 count of the stored (not temporary) definitions (10343 /
// 10159), then their images in list order.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/MetaObjectDef.h"
#include "platform/rtl/StringList.h"

inline constexpr int32_t kDefaultMaxIndexedSize = 20;

struct TVTRIndexColumn {
  std::string FieldName;
  bool Descending = false;
  bool CaseInsensitive = false;  // honoured by string columns only
  // A string field whose MemoryDataSize is larger keeps this many leading
  // bytes of its value in the key.
  int32_t MaxIndexedSize = kDefaultMaxIndexedSize;
};

class TVTRIndexDef : public TVTRMetaObjectDef {
 public:
  void Assign(const TVTRMetaObjectDef& source) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  TVTRIndexColumn& GetColumn(int32_t index) { return Columns.at(index); }
  const TVTRIndexColumn& GetColumn(int32_t index) const { return Columns.at(index); }
  int32_t GetColumnCount() const { return static_cast<int32_t>(Columns.size()); }
  // Growing appends empty columns; shrinking drops the columns from n on.
  // A negative n raises std::invalid_argument.
  void SetColumnCount(int32_t n);
  // One column per name: descending where the direction is exactly "DESC",
  // case-insensitive where the flag is exactly "NO_CASE". Lists of another
  // length than the names raise 10278 (directions) or 10279 (case flags).
  void SetColumnsFromLists(const TStringList& field_names, const TStringList& directions,
                           const TStringList& case_flags);

  uint8_t Kind = 0;
  std::vector<TVTRIndexColumn> Columns;
  bool Unique = false;
  bool Primary = false;
  int32_t RootPage = -1;  // -1 while the B-tree has no page
  bool Temporary = false;
  int32_t OwnerSessionID = -1;
  // Key changes counted; a temporary index keeps the record-change count it
  // was built at.
  int32_t ChangeStamp = 0;
};

class TVTRIndexDefs : public TVTRMetaObjectDefs {
 public:
  void SaveToStream(TStream& stream) const override;

  TVTRIndexDef& AddIndexDef();
  TVTRIndexDef& GetIndexDef(int32_t index) const { return static_cast<TVTRIndexDef&>(GetItem(index)); }
  void SetIndexDef(int32_t index, std::unique_ptr<TVTRIndexDef> def) { SetItem(index, std::move(def)); }
  TVTRIndexDef* GetIndexDefByName(std::string_view name) const {
    return static_cast<TVTRIndexDef*>(FindByName(name));
  }

  // The object ID of the first index whose leading columns serve the field
  // names with the given directions ("ASC", "DESC") and case flags ("CASE",
  // "NO_CASE"; other texts place no demand), or -1. Temporary indexes of
  // other sessions are passed over. Nil lists raise 10389, 10390, 10391;
  // lists of another length than the names 10276 and 10277.
  int32_t FindIndex(const TStringList* field_names, const TStringList* directions,
                    const TVTRFieldDefs& field_defs, int32_t session_id, const TStringList* case_flags) const;

 protected:
  std::string_view ClassName() const override { return "TVTRIndexDefs"; }
  std::unique_ptr<TVTRMetaObjectDef> CreateDef() const override;
  bool Holds(const TVTRMetaObjectDef& def) const override;
};
