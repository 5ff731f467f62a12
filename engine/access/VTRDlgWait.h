#pragma once
// Unit VTRDlgWait: the wait window of long engine operations.
#include "engine/access/WaitWindow.h"
