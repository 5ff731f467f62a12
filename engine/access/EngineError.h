#pragma once
// EVTREngineError: a refused record change of a cursor (its result code, -1
// to -13) as the components raise it. It is a database error of the dataset
// layer, so the dataset's error events see it; EVTRException is not.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/db/DatabaseError.h"

class EVTREngineError : public EDatabaseError {
 public:
  // ErrorText is the code's own text; for -8 (kResultFailure) it is `text`,
  // for a code without a text it is empty. Message: "Vantor Engine Error # ",
  // the code, one blank, ErrorText.
  explicit EVTREngineError(int32_t error_code, std::string_view text = {});

  int32_t ErrorCode;
  std::string ErrorText;
};
