#pragma once
// Unit VTRBase: the table definitions (fields, indexes, constraints) and the
// abstract cursor and session through which everything above reaches a table.
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"
#include "engine/storage/meta/MetaObjectDef.h"
