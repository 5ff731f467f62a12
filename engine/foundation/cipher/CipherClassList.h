#pragma once
// The process-wide list of registered cipher classes, as "Name=Description"
// entries. Start-up registers TCipher_Rijndael as "Rijndael"; the engine picks
// its ciphers by algorithm number and never consults the list. Registration
// happens at start-up only; the list is not locked.
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/cipher/Cipher.h"

struct TCipherClassEntry {
  std::string text;  // "Name=Description"
  TCipherClass cipher_class;
};

const std::vector<TCipherClassEntry>& CipherClassList();

// An empty name becomes the class name without its leading "T" and without
// everything up to and including its first "_". An entry of the same class
// is replaced, otherwise one is added.
void RegisterCipherClass(TCipherClass cipher_class, std::string_view name, std::string_view description);
