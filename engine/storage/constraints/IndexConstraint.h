#pragma once
// The PRIMARY KEY or UNIQUE constraint that comes with a primary or unique
// index. The one routine that builds it: the constraint manager uses it when
// an index is added to a table, the data-access layer when it turns extended
// definitions into engine definitions.
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/IndexDef.h"

// Appends to `constraints` the constraint of a primary index (PRIMARY KEY) or
// else of a unique one (UNIQUE) and returns it; nullptr for any other index.
// Its target is the index (name and object ID), its key columns the index
// columns' field names in order, and its name "C_PK" or "C_Unique" followed
// by "$" and each column's field name, cut to 255 characters. The key
// columns' field IDs are left for the table to resolve.
TVTRConstraintDefUnique* CreateConstraintFromIndexDef(const TVTRIndexDef& index_def,
                                                      TVTRConstraintDefs& constraints);
