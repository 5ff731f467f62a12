#include "engine/foundation/cipher/CipherClassList.h"

#include "engine/foundation/cipher/CipherRijndael.h"

namespace {

std::vector<TCipherClassEntry>& Entries() {
  static std::vector<TCipherClassEntry> entries{{"Rijndael=", TCipher_Rijndael::Class()}};
  return entries;
}

}  // namespace

const std::vector<TCipherClassEntry>& CipherClassList() {
  return Entries();
}

void RegisterCipherClass(TCipherClass cipher_class, std::string_view name, std::string_view description) {
  std::string text(name);
  if (text.empty()) {
    std::string_view class_name = cipher_class->class_name;
    if (class_name.starts_with('T')) class_name.remove_prefix(1);
    const size_t underscore = class_name.find('_');
    if (underscore != std::string_view::npos) class_name.remove_prefix(underscore + 1);
    text = class_name;
  }
  text += '=';
  text += description;
  for (TCipherClassEntry& entry : Entries()) {
    if (entry.cipher_class == cipher_class) {
      entry.text = std::move(text);
      return;
    }
  }
  Entries().push_back({std::move(text), cipher_class});
}
