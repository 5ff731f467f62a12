#include "platform/db/TextCodec.h"

const TTextCodec& IdentityCodec() {
  static const TIdentityCodec codec;
  return codec;
}
