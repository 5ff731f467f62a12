#pragma once
// Unit VTRDiskEngine, as far as it is built: the database file and its
// header, the disk page manager and the free-space maps.
#include "engine/storage/DatabaseFile.h"
#include "engine/storage/DatabaseHeader.h"
#include "engine/storage/DiskPageManager.h"
#include "engine/storage/FreeSpaceManager.h"
#include "engine/storage/Password.h"
