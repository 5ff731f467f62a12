#pragma once
// The conversions between the three forms of a table's structure: the
// dataset layer's TFieldDefs and TIndexDefs, the extended definitions
// (AdvFieldDefs.h, AdvIndexDefs.h) and the engine's TVTRFieldDefs,
// TVTRIndexDefs and TVTRConstraintDefs. Each clears its target first; a
// failure leaves in the target what was added before it. Names longer than
// 255 characters are cut to 255 in engine definitions.
#include <string_view>

#include "engine/access/AdvFieldDefs.h"
#include "engine/access/AdvIndexDefs.h"
#include "engine/storage/constraints/IndexConstraint.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/IndexDefs.h"
#include "platform/rtl/StringList.h"

// Name, type and size of each field; Required is not carried.
void FieldDefsToEngineFieldDefs(const TFieldDefs& field_defs, TVTRFieldDefs& engine_fields);
// Name, type, size and Required; the rest as a new item has it.
void FieldDefsToAdvFieldDefs(const TFieldDefs& field_defs, TVTRAdvFieldDefs& items);
void AdvFieldDefsToFieldDefs(const TVTRAdvFieldDefs& items, TFieldDefs& field_defs);
// One engine field per item; unless `temporary`, a NOT NULL constraint per
// required item and a CHECK constraint per item with a bound; then the
// constraint of every primary or unique engine index.
void AdvFieldDefsToEngineDefs(const TVTRAdvFieldDefs& items, TVTRFieldDefs& engine_fields,
                              const TVTRIndexDefs& engine_indexes, TVTRConstraintDefs& constraints,
                              bool temporary);
// Items of the visible fields, with Required and the CHECK bounds from the
// constraints (30032 / 30031 "Field #%d not found" for a constraint on a
// field the table lacks; 30039 "Not implemented yet" for a constraint of
// another kind).
void EngineDefsToAdvFieldDefs(const TVTRFieldDefs& visible, const TVTRFieldDefs& table_fields,
                              const TVTRConstraintDefs& constraints, TVTRAdvFieldDefs& items);
// Definitions of the visible fields; NOT NULL makes a field required unless
// it is an autoincrement field.
void EngineDefsToFieldDefs(const TVTRFieldDefs& visible, const TVTRConstraintDefs& constraints,
                           TFieldDefs& field_defs);

void IndexDefsToAdvIndexDefs(const TIndexDefs& index_defs, TVTRAdvIndexDefs& items);
void AdvIndexDefsToIndexDefs(const TVTRAdvIndexDefs& items, TIndexDefs& index_defs);
// One engine index per item, its columns checked against `field_defs`:
// 20048 "Invalid index name '%s'" without a name, 20049 "Cannot find index
// field '%s'" without fields, 20050 for a field that `field_defs` lacks; a
// size entry that is not a number raises EConvertError.
void AdvIndexDefsToEngineIndexDefs(const TVTRAdvIndexDefs& items, TVTRIndexDefs& engine_indexes,
                                   const TFieldDefs& field_defs);
void EngineIndexDefsToAdvIndexDefs(const TVTRIndexDefs& engine_indexes, TVTRAdvIndexDefs& items);

// Clears `list` (nothing happens when it is nullptr) and fills it with the
// names of `text`, separated by ";" or ",", as the dataset layer extracts
// them (blanks trimmed, an empty entry kept as empty).
void SplitFieldNames(TStringList* list, std::string_view text);
// Whether a field definition has the name, ignoring case.
bool FieldDefsContain(const TFieldDefs& field_defs, std::string_view name);
