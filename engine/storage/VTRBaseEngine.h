#pragma once
// Unit VTRBaseEngine: the field manager with the record layouts, the record
// field routines the cursor uses, record bitmaps, the database object, and the
// index and constraint managers.
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "engine/storage/base/RecordBitmap.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/base/RecordFields.h"
#include "engine/storage/index/IndexManager.h"
