#pragma once
// Unit VTRCipher: the block ciphers behind the engine's encryption algorithms
// and the registry of cipher classes.
#include "engine/foundation/cipher/Cipher.h"
#include "engine/foundation/cipher/CipherBlowfish.h"
#include "engine/foundation/cipher/CipherClassList.h"
#include "engine/foundation/cipher/CipherDES.h"
#include "engine/foundation/cipher/CipherRijndael.h"
#include "engine/foundation/cipher/CipherSquare.h"
#include "engine/foundation/cipher/CipherTwofish.h"
