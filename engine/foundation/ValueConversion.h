#pragma once
// Mixing base data types: the type two operands are promoted to, and the
// conversion of a raw value (storage format of its base type) into another
// base type.
#include <cstdint>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/ValueBuffer.h"

// The base type two operands meet in; 0 when they cannot meet. With
// `prefer_date` a text meets a date, time or date-time in the date type
// (comparisons), without it in the text type (concatenation).
TVTRBaseDataType GetCommonDataType(TVTRBaseDataType a, TVTRBaseDataType b, bool prefer_date);

// The column type of a result: a or b when its base type is the common one,
// else the first column type of the common base type.
TVTRAdvancedDataType ChooseResultDataType(TVTRAdvancedDataType a, TVTRAdvancedDataType b, bool prefer_date);

// Converts a raw value into a new buffer of the target type. `source_size` is
// the number of bytes at `source` (-1: unknown; text is then read up to its
// terminator); every read stays within a known size. Raises 30051 when the
// conversion fails (bad text, overflow) and 30052 when no rule converts the
// pair.
TVTRValueBuffer ConvertValueBuffer(const void* source, int32_t source_size, TVTRBaseDataType source_type,
                                   TVTRBaseDataType target_type);
VTRBufferPtr ConvertValueBufferTo(const void* source, int32_t source_size, TVTRBaseDataType source_type,
                                  TVTRBaseDataType target_type);
