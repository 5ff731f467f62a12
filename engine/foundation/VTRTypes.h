#pragma once
// Unit VTRTypes: data type codes and their table, value buffers, the 80-bit
// extended float and the engine's date and time representation.
#include "engine/foundation/DataTypes.h"
#include "engine/foundation/DateConversion.h"
#include "engine/foundation/ExtendedFloat.h"
#include "engine/foundation/ValueBuffer.h"
