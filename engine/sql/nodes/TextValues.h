#pragma once
// Text held in values, read in place and written without the value's rule
// that an empty text is NULL: SQL text results ('' included) are values.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/foundation/VTRVariant.h"

// A value of the ANSI (or wide) text type holding exactly `text`, an empty one too.
void SetTextValue(TVTRVariant& value, std::string_view text, TVTRBaseDataType type = bdtString);
void SetWideTextValue(TVTRVariant& value, std::u16string_view text, TVTRBaseDataType type = bdtWideString);

// The bytes of an ANSI text value (base types 1 and 3) up to its terminator,
// where the value keeps them. Requires a value that is not NULL.
std::string_view AnsiTextOf(const TVTRVariant& value);
// Characters of a text value up to its terminator; -1 for NULL or another type.
int32_t TextLengthOf(const TVTRVariant& value);

// The value as the foundation's comparison reads it.
TVTRValueRef ValueRefOf(const TVTRVariant& value);
