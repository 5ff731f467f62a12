#pragma once
// Unit VTRTypes: data type codes and their table, value buffers, the 80-bit
// extended float, the engine's date and time representation, and the small
// containers the storage and SQL engines share.
#include "engine/foundation/DataTypes.h"
#include "engine/foundation/DateConversion.h"
#include "engine/foundation/ExtendedFloat.h"
#include "engine/foundation/ValueBuffer.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/foundation/containers/VTRBitsArray.h"
#include "engine/foundation/containers/VTRIntegerArray.h"
