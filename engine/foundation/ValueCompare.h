#pragma once
// Ordering of two raw values of possibly different base types.
#include <cstdint>

#include "engine/foundation/DataTypes.h"

// One side of a comparison: a raw value in the storage format of its type.
// `size` is the number of bytes at `data` (-1: unknown, text is then read up
// to its terminator); reads never go past a known size.
struct TVTRValueRef {
  const void* data = nullptr;
  int32_t size = -1;
  TVTRBaseDataType type = bdtUnknown;
  bool is_null = false;
};

struct TVTRCompareOptions {
  bool case_insensitive = false;
  // Text sides count at most this many characters; -1 = all of them.
  int32_t length = -1;
};

// Result codes of CompareValueBuffers.
enum TVTRCompareResult : uint8_t {
  crEqual = 0,
  crLess = 1,        // first < second
  crGreater = 2,     // first > second
  crFirstNull = 3,   // only the first is NULL
  crSecondNull = 4,  // only the second is NULL
  crBothNull = 5,
};

// Compares in the common type of both sides (dates preferred): 30044 when
// there is none, 30140 when a side has no data, 30047 for a type without
// order; conversion failures raise as ConvertValueBuffer does. Text compares
// in the engine's collation: equal only for equal bytes (after ASCII case
// folding when case-insensitive).
TVTRCompareResult CompareValueBuffers(const TVTRValueRef& first, const TVTRValueRef& second,
                                      const TVTRCompareOptions& options);
// Two non-null values of one type, read in place without allocating (wide
// texts longer than 256 characters aside); sizes and errors as above.
TVTRCompareResult CompareSameType(const void* a, int32_t size_a, const void* b, int32_t size_b,
                                  TVTRBaseDataType type, const TVTRCompareOptions& options);
// -1, 0 or 1; a NULL sorts before every value and two NULLs are equal.
int CompareValueBuffersSign(const TVTRValueRef& first, const TVTRValueRef& second,
                            const TVTRCompareOptions& options);
