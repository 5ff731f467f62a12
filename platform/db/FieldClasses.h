#pragma once
// The field class of each field type, and the type names messages use.
#include "platform/rtl/Component.h"
#include "platform/rtl/FieldType.h"

class TField;

// A new field of the class that holds `type`, or null for a type without one.
TField* CreateFieldOfType(TFieldType type, TComponent* owner);
// "String", "Integer", "DateTime"...
const char* FieldTypeName(TFieldType type);
// True when the declared size shapes the native form (text and byte fields).
bool IsSizedFieldType(TFieldType type);
