#pragma once
// Class library values on their way into the engine, whose text is code
// page 874: UTF-8 text (also inside an array of values) is converted, and a
// character the code page lacks raises EConvertError; every other value
// passes unchanged.
#include "platform/rtl/Variant.h"

Variant EngineTextValue(const Variant& value);
