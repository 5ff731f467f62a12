#pragma once
// The engine's streams: the base with block copies, the memory, file and
// temporary streams, and the verifying transfers.
#include "engine/foundation/stream/VTRFileStream.h"
#include "engine/foundation/stream/VTRMemoryStream.h"
#include "engine/foundation/stream/VTRStream.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "engine/foundation/stream/VTRTemporaryStream.h"
