#pragma once
// Unit VTRDecUtil: protection objects, text formats and byte routines.
#include "engine/foundation/cipher/ByteUtil.h"
#include "engine/foundation/cipher/Protection.h"
#include "engine/foundation/cipher/StringFormat.h"
#include "engine/foundation/cipher/StringFormatHex.h"
#include "engine/foundation/cipher/StringFormatUU.h"
