#pragma once
// Reading and writing one field of a record buffer in the form the dataset
// exchanges with the cursor. The exchange form differs from the stored one
// for some column types:
//   SHORTINT, BYTE                    1 byte  <-> 16-bit integer
//   CARDINAL                          4 bytes <-> 64-bit integer
//   AUTOINC of 1 and 2 bytes          <-> 32-bit integer
//   SINGLE, EXTENDED                  <-> double
// Every other type is exchanged as stored. Text is exchanged zero-terminated.
// Field numbers count the given definitions.
#include <cstdint>

#include "engine/storage/meta/FieldDef.h"

// False when the field is null (the destination is left alone); true without
// copying when there is no destination or the field is a BLOB (its data goes
// through the BLOB streams). A field number outside the list raises 10000.
bool ReadFieldFromRecord(int32_t field_no, const TVTRFieldDefs& defs, void* destination,
                         const uint8_t* record);
// A nil source, or an empty text, makes the field null. Text is copied up to
// its terminator, at most the field's characters, and the rest of the field
// zeroed, so a stored text always ends inside its field. A field number outside the
// list raises 10004.
void WriteFieldToRecord(int32_t field_no, const TVTRFieldDefs& defs, const void* source, uint8_t* record);
// The first `length` bytes are equal. A nil first buffer raises 10122, a nil
// second one 10123.
bool BuffersEqual(const void* a, const void* b, int32_t length);
