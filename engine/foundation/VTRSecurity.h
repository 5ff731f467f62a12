#pragma once
// Unit VTRSecurity: the message digests that turn passwords into keys, and the
// engine's encryption algorithms with the cipher the page manager enciphers
// data areas with.
#include "engine/foundation/cipher/EngineCipher.h"
#include "engine/foundation/cipher/Hash.h"
#include "engine/foundation/cipher/HashMD4.h"
#include "engine/foundation/cipher/HashRipeMD.h"
