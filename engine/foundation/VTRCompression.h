#pragma once
// Unit VTRCompression: whole-buffer compression dispatch and the engine's CRC-32.
#include "engine/foundation/CRC32.h"
#include "engine/foundation/Compression.h"
