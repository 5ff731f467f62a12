#pragma once
// Unit VTRTempEngine: the "TEMP" database, its append-only tables with their
// record store and BLOB stream, the temporary page manager, and the memory
// budget beyond which they spill to temporary files.
#include "engine/storage/temp/TemporaryDatabaseData.h"
#include "engine/storage/temp/TemporaryMemoryBudget.h"
#include "engine/storage/temp/TemporaryPageManager.h"
#include "engine/storage/temp/TemporaryRecordManager.h"
#include "engine/storage/temp/TemporaryTableData.h"
