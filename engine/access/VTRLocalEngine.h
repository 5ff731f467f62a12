#pragma once
// Unit VTRLocalEngine: the local session and local cursor that carry the
// components' operations into the storage engine, and the result codes of
// the cursor's record changes.
#include "engine/access/LocalCursor.h"
#include "engine/access/LocalSession.h"
#include "engine/storage/base/ResultCodes.h"
