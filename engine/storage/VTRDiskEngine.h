#pragma once
// Unit VTRDiskEngine, as far as it is built: the database file and its
// header, the disk page manager, the free-space maps, the internal files, the
// system directory, table list and connection slots, the table and record
// locks, BLOB pages and the BLOB manager, the table object of a disk table,
// and the database object of a file.
#include "engine/storage/pager/DatabaseFile.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/Password.h"
#include "engine/storage/blob/BlobPageSequence.h"
#include "engine/storage/blob/DiskBlobManager.h"
#include "engine/storage/blob/SmallBlobPage.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/locks/LockCompatibility.h"
#include "engine/storage/locks/TableLockList.h"
#include "engine/storage/locks/TableLockManager.h"
#include "engine/storage/locks/TableLocksFile.h"
#include "engine/storage/system/ActiveSessionsFile.h"
#include "engine/storage/system/DirectFile.h"
#include "engine/storage/system/SystemDirectory.h"
#include "engine/storage/system/TableListFile.h"
#include "engine/storage/system/TransactedFile.h"
