#pragma once
// The one way the data-changing statements write a computed value into a
// field of the record a table component is editing or inserting.
#include <cstdint>

#include "engine/foundation/VTRVariant.h"

class TVTRDataSet;

// Writes `value` into the visible field `field_index` of the dataset's
// pending record: nil raises 30359 "Value is Null"; NULL clears the field;
// a BLOB field takes the value's bytes as they are, a memo field a text's
// characters without the terminator, every other field the value converted
// to its type (the conversion errors of TVTRVariant).
void AssignValueToField(const TVTRVariant* value, TVTRDataSet& dataset, int32_t field_index);
