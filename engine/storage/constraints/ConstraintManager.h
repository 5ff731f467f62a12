#pragma once
// TVTRBaseConstraintManager: a table's constraints. It binds them to the
// table's fields and indexes by object ID, names the unnamed ones, adds and
// drops the PRIMARY KEY and UNIQUE constraints that come with primary and
// unique indexes, and tests a record against every constraint before the
// local cursor posts it. Uniqueness is the index's to tell; the manager asks.
//
// Names: an index's constraint is "C_PK" or "C_Unique" followed by "$" and
// each key field's name; an unnamed NOT NULL or CHECK constraint becomes
// "$C_NotNull$" (or "$C_Check$") + table + "$" + field, with a random number
// below 65535 appended while the name is taken. Names keep 255 characters.
//
// No lock of its own: callers hold the database's critical section.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/RecordID.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/IndexTable.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "platform/os/Random.h"
#include "platform/rtl/Stream.h"

class TVTRBaseConstraintManager {
 public:
  // `random` draws the numbers that make constraint names unique.
  TVTRBaseConstraintManager(TVTRIndexTable& table_data, TVTRBaseIndexManager& index_manager,
                            RandomSource& random = DefaultRandom());
  TVTRBaseConstraintManager(const TVTRBaseConstraintManager&) = delete;
  TVTRBaseConstraintManager& operator=(const TVTRBaseConstraintManager&) = delete;

  // The stored IDs and names are taken as they are.
  void LoadMetadata(TStream& stream) { ConstraintDefs.LoadFromStream(stream); }
  void SaveMetadata(TStream& stream) const { ConstraintDefs.SaveToStream(stream); }

  // Fills the target and key-column IDs from their names.
  void ResolveConstraint(TVTRConstraintDef& def);
  void ResolveAll();
  void NameUnnamedConstraints();
  // The PRIMARY KEY or UNIQUE constraint of a primary or unique index, with a
  // new object ID; nothing for an ordinary index.
  void AddIndexConstraint(const TVTRIndexDef& index_def);
  // Drops the first PRIMARY KEY or UNIQUE constraint the index enforces.
  void DropIndexConstraint(int32_t index_id);
  // Whether the record satisfies every constraint. The first violation
  // raises its message with raise_errors, else gives false. `id` and
  // `old_record` describe the stored record of an update.
  bool CheckRecord(int32_t session_id, const uint8_t* record, bool raise_errors, const TVTRRecordID& id,
                   bool is_insert, const uint8_t* old_record);

  TVTRConstraintDefs ConstraintDefs;
  TVTRIndexTable& TableData;

 private:
  // The violation of one constraint by the record, if any. Errors of the
  // definitions themselves (a field gone, an unknown kind) are raised.
  std::optional<EVTRException> Violation(const TVTRConstraintDef& def, int32_t session_id,
                                         const uint8_t* record, const TVTRRecordID& id, bool is_insert,
                                         const uint8_t* old_record);
  // The field of an object ID and whether it is null in the record
  // (`native_error` "Field #%d not found" when the field is gone).
  std::pair<const TVTRFieldDef*, bool> FieldOf(int32_t id, int32_t native_error, const uint8_t* record);
  // The base name, or the base with a random number while the base is taken.
  std::string FreeName(const std::string& base);

  TVTRBaseIndexManager& index_manager_;
  RandomSource& random_;
};
