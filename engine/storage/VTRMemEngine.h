#pragma once
// Unit VTRMemEngine: the "MEMORY" database, its tables with their record
// store and BLOB blocks, and the memory page manager (which the temporary
// engine uses too).
#include "engine/storage/memory/MemoryBlobBlocks.h"
#include "engine/storage/memory/MemoryDatabaseData.h"
#include "engine/storage/memory/MemoryPageManager.h"
#include "engine/storage/memory/MemoryRecordManager.h"
#include "engine/storage/memory/MemoryTableData.h"
#include "engine/storage/memory/ProcessDatabaseData.h"
#include "engine/storage/memory/ProcessTableData.h"
