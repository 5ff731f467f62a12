#pragma once
// Unit VTRCompression: whole-buffer compression dispatch, the engine's CRC-32
// and the compressed BLOB stream.
#include "engine/foundation/CRC32.h"
#include "engine/foundation/Compression.h"
#include "engine/foundation/blob/VTRBLOBDescriptor.h"
#include "engine/foundation/blob/VTRCompressedBLOBStream.h"
