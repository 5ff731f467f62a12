#pragma once
// Unit VTRBase: the table definitions (fields, indexes, constraints) and the
// abstract cursor and session through which everything above reaches a table.
#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/Expression.h"
#include "engine/storage/base/SQLProcessor.h"
#include "engine/storage/base/ScanSearchCondition.h"
#include "engine/storage/base/Session.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"
#include "engine/storage/meta/MetaObjectDef.h"
